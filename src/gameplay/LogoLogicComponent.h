#pragma once
// The start-up logo sequence, run on the object of the logo level that
// shows the pictures: after a second the first picture fades out over two
// seconds; "TeamLogo" fades in over two more; then the controls screen
// ("XboxScreen") stays until a skip input starts the next level (without
// a picture to show, the next level starts after two seconds). After the first two seconds a skip
// input (a key of the Skip action released, a pad button of it going down, or a mouse click; Space,
// Esc, Enter, pad A and Start as bound today) jumps to the controls
// screen, and another one starts the game at once.
//
// It lives in "GameSpace" but only works while "LogoSpace" is active,
// which it makes so itself when it starts and undoes when it goes. Its
// timers run on game time, so the sequence is the same in a replay.

#include "engine/TimerSet.h"
#include "gameplay/LogicComponent.h"

namespace Flurr {

struct LogoLogicComponentName {
    static constexpr const char* value = "LogoLogicComponent";
};

class LogoLogicComponent : public LogicComponent<LogoLogicComponent, LogoLogicComponentName> {
public:
    LogoLogicComponent();
    void Initialize() override;
    void Update(float dt) override;
    void SendMessage(Message* message) override;
    void Free() override;
    void Serialize(ASerializer& serializer) override;

    float fadeTime = 2.0f;
    float delay = 1.0f;
    float holdTime = 2.0f;
    bool switched = false;
    bool done = false;

private:
    bool IsSkipInput(const Message* message) const;
    TimerSet timers;
};

} // namespace Flurr
