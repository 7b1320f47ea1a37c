#pragma once
// The PlayerController keeps the player components by space, updates them
// once per frame while their space is active, and passes every input
// message to them. Keyboard with mouse and the pad are live together; the
// last message wins.
//
// A component registers itself for each space it lives in (the player:
// "GameSpace" and "Pause"). A component listed under two active spaces is
// still updated and told each message once per frame: counting a key press
// twice would change what the press does.
//
// The controller never owns components: their objects do. Freeing a space
// or the whole controller only forgets them.

#include <cstdint>
#include <functional>
#include <string>

#include "engine/GameSystem.h"
#include "world/SpaceLists.h"

namespace Flurr {

class PlayerComponent;

struct PlayerControllerName {
    static constexpr const char* value = "PlayerController";
};

class PlayerController : public ISystem<PlayerController, PlayerControllerName> {
public:
    PlayerController();
    ~PlayerController() override;

    void Initialize() override;
    void SendMessage(Message* message) override;
    void Update(float dt) override;
    void FreeSpace(const std::string& space) override;
    void Free() override;

    void RegisterComponent(PlayerComponent* component, const std::string& space);
    // Takes the component off every space's list.
    void UnregisterComponent(PlayerComponent* component);
    // The first registered player, or null.
    PlayerComponent* Player() const;

    // The camera zoom as last set by SetCameraMessage and moved by
    // MoveCameraMessage.
    float cameraZoom = 0.0f;
    // Developer unlocks: every player made afterwards starts with them.
    bool startWithFlight = false;
    bool startWithDash = false;
    // The same from the game being played (a continued game, jobs counted
    // done): kept apart so that a new game takes them back.
    bool earnedFlight = false;
    bool earnedDash = false;
    // Puts the mouse pointer at a window position (pixels); empty without
    // a window. Mouse aim keeps the pointer near the centre with it.
    std::function<void(int32_t, int32_t)> warpPointer;

private:
    SpaceLists<PlayerComponent> components;
};

} // namespace Flurr
