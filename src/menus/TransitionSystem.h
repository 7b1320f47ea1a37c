#pragma once
// The TransitionSystem plays the way from the title menu into the game.
// On StartGameMessage (the title's "Play") a field of decorative objects
// (clouds, birds, houses, stars) is scattered at random depths around the
// view and fades in while the camera zooms far out; once the first phase
// has run its three seconds the level advances. In the new level the same
// objects stay for a moment and fade out, and each one is removed as soon
// as the zooming-in camera passes its depth.
//
// Driven by the core after the sound system. It takes StartGameMessage,
// and SetCameraMessage / MoveCameraMessage to thin the field out; those
// thin it only while "TransitionSpace" is inactive, that is after the
// level change (every level starts with only "GameSpace" active).
//
// Owns the transition objects: they are loaded unrecorded, so the
// factory's level change does not take them, and they go when the fade-out
// ends, when the camera passes them, on the next start, or at shutdown
// (ReleaseObjects). The camera target made at the start is a recorded
// object of the title level and goes with it.
//
// It also plays the plain way on from a level (FadeToNextLevelMessage: a
// gate, the end screen, the credits): the screen fades to black as it does
// before the player is put back after a fall, the next route entry
// follows, and the new level fades in from black.
//
// Times are on the game clock, so a fixed step or a replay sees exactly
// the same transition; positions and depths come from the game's one
// random generator.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/GameObject.h"
#include "engine/GameSystem.h"
#include "engine/TimerSet.h"

namespace Flurr {

struct TransitionSystemName {
    static constexpr const char* value = "TransitionSystem";
};

class TransitionSystem : public ISystem<TransitionSystem, TransitionSystemName> {
public:
    // Each phase, seconds of game time.
    static constexpr float kPhaseSeconds = 3.0f;
    // Every transition object is this big, world units (its own scale
    // still applies, so a file shapes its pictures with XSCALE / YSCALE).
    static constexpr int32_t kObjectWidth = 1500;
    static constexpr int32_t kObjectHeight = 1200;
    // Depths are spread over [0, kDeepest): up to just past the zoom the
    // camera heads for, kTargetZoom.
    static constexpr float kDeepest = 110.0f * 1.25f;
    static constexpr float kTargetZoom = 137.0f;
    // An object goes once the camera's zoom falls below its depth times this.
    static constexpr float kThinningShare = 0.25f;
    // The fade to the next level, each way, seconds.
    static constexpr float kLevelFadeSeconds = 0.5f;

    explicit TransitionSystem(std::string transitionFile);
    ~TransitionSystem() override;

    void Initialize() override;
    void SendMessage(Message* message) override;
    void Update(float dt) override;
    // A first phase cut short by another level change (a restart, a quit)
    // leaves nothing behind.
    void BeforeLevel() override;
    void ReleaseObjects() override;
    void Free() override;

    // The objects of the transition under way, for reading.
    std::vector<GameObject*> Objects() const;
    // The last transition has run to its end.
    bool Done() const { return done; }
    // The level has changed and the objects fade out.
    bool FadingOut() const { return fadingOut; }

    // A fade to the next level is under way (out, or in after the change).
    bool LevelFadeRunning() const { return levelFade != LevelFade::None; }

    // Seconds per phase: 5 until a transition starts, then kPhaseSeconds.
    float duration = 5.0f;

private:
    void Start();
    // Destroys the objects the camera has come nearer than.
    void Thin(float zoom);
    void DestroyObjects();
    void Finish();

    void StartLevelFade();
    void UpdateLevelFade(float dt);

    enum class LevelFade { None, Out, In };
    LevelFade levelFade = LevelFade::None;
    float levelFadeTime = 0.0f;

    std::string file;
    std::vector<std::unique_ptr<GameObject>> objects;
    TimerSet timers{TimerClock::Game};
    bool done = false;
    bool fadingOut = false;
    // The camera target of the last start, a recorded object (-1: none).
    int32_t cameraObjectId = -1;
};

} // namespace Flurr
