#pragma once
// Messages: small value objects with an integer id and a payload, built by
// the sender (usually on its stack) and delivered at once by
// Core::SendMessage to every system registered for the id. The bus never
// copies, keeps or frees a message.
//
// Every id that carries a payload has its own class, so a handler can
// check what it was given: `if (auto* m = dynamic_cast<const X*>(msg))`.
// A bare Message with a payload id is then simply ignored instead of read
// past its end. Ids without payload may be sent as a plain Message.

#include <cstdint>
#include <string>

namespace Flurr {

class GameObject;

namespace MessageId {
inline constexpr int32_t GODestructionNotify = 4;
inline constexpr int32_t DrawText = 5;
inline constexpr int32_t DebugSetColor = 6;
inline constexpr int32_t DebugMoveTo = 7;
inline constexpr int32_t DebugLineTo = 8;
inline constexpr int32_t DebugDraw = 9;
inline constexpr int32_t DebugRect = 10;
inline constexpr int32_t SetCamera = 11;
inline constexpr int32_t MoveCamera = 12;
inline constexpr int32_t SetViewRotation = 13;
inline constexpr int32_t SetCameraZoom = 14;
inline constexpr int32_t SetResolution = 15;
inline constexpr int32_t CycleResolution = 16;
inline constexpr int32_t ToggleFullscreen = 17;
inline constexpr int32_t PostProcessTransition = 20;
inline constexpr int32_t BasicTrigger = 21;
inline constexpr int32_t CharacterTyped = 23;
inline constexpr int32_t KeyTriggered = 24;
inline constexpr int32_t KeyReleased = 25;
inline constexpr int32_t KeyPressed = 26;
inline constexpr int32_t MouseMoved = 27;
inline constexpr int32_t MouseClicked = 28;
inline constexpr int32_t MousePressed = 29;
inline constexpr int32_t MouseReleased = 30;
inline constexpr int32_t MouseScrolled = 31;
inline constexpr int32_t DoubleClick = 32;
inline constexpr int32_t XboxTriggered = 33;
inline constexpr int32_t XboxReleased = 34;
inline constexpr int32_t XboxPressed = 35;
inline constexpr int32_t XboxLThumbMoved = 36;
inline constexpr int32_t XboxRThumbMoved = 37;
inline constexpr int32_t XboxTriggerMoved = 38;
inline constexpr int32_t PlaySound = 39;
inline constexpr int32_t StopSound = 40;
inline constexpr int32_t StopAllSounds = 41;
inline constexpr int32_t SetAllVolume = 42;
inline constexpr int32_t MusicRaise = 43;
inline constexpr int32_t MusicLower = 44;
inline constexpr int32_t MusicMute = 45;
inline constexpr int32_t WM = 46;
inline constexpr int32_t Command = 47;
inline constexpr int32_t SetBackground = 48;
inline constexpr int32_t ButtonInput = 51;
inline constexpr int32_t InitPauseScreen = 52;
inline constexpr int32_t LevelChange = 53;
inline constexpr int32_t Quit = 54;
// One id per save-dialog element; 56 and 58 also reach the level editor.
inline constexpr int32_t SaveDialogBackground = 55;
inline constexpr int32_t SaveDialogSave = 56;
inline constexpr int32_t SaveDialogCancel = 57;
inline constexpr int32_t SaveDialogCloseWithoutSaving = 58;
// The level editor closing the save dialog after saving.
inline constexpr int32_t SaveDialogClose = 59;
inline constexpr int32_t StartGame = 60;
inline constexpr int32_t LogicSignal = 61;
inline constexpr int32_t PerchAlertPlayer = 62;
inline constexpr int32_t PerchAlertPerch = 63;
inline constexpr int32_t RotatorTrigger = 64;
inline constexpr int32_t ScreenSize = 65;
} // namespace MessageId

class Message {
public:
    explicit Message(int32_t id_) : id(id_) {}
    virtual ~Message() = default;
    int32_t id;
};

// 4: sent by the factory just before it destroys a queued object.
struct GODestructionNotifyMessage : Message {
    explicit GODestructionNotifyMessage(GameObject* o)
        : Message(MessageId::GODestructionNotify), object(o) {}
    GameObject* object;
};

// 5: text on screen; positions in pixels of the 800 x 600 layout.
struct DrawTextMessage : Message {
    DrawTextMessage(std::string text_, int32_t left_, int32_t top_, std::string font_, float r,
                    float g, float b, float a, bool shadow_, int32_t right_, int32_t bottom_)
        : Message(MessageId::DrawText), text(std::move(text_)), left(left_), top(top_),
          font(std::move(font_)), red(r), green(g), blue(b), alpha(a), shadow(shadow_),
          right(right_), bottom(bottom_) {}
    std::string text;
    int32_t left, top;
    std::string font;
    float red, green, blue, alpha; // 0-255
    bool shadow;
    int32_t right, bottom;
};

// 6
struct DebugSetColorMessage : Message {
    DebugSetColorMessage(float r, float g, float b, float a)
        : Message(MessageId::DebugSetColor), red(r), green(g), blue(b), alpha(a) {}
    float red, green, blue, alpha; // 0-255
};

// 7
struct DebugMoveToMessage : Message {
    DebugMoveToMessage(float x_, float y_) : Message(MessageId::DebugMoveTo), x(x_), y(y_) {}
    float x, y;
};

// 8
struct DebugLineToMessage : Message {
    DebugLineToMessage(float x_, float y_) : Message(MessageId::DebugLineTo), x(x_), y(y_) {}
    float x, y;
};

// 9: asks the physics side to draw its outlines.
struct DebugDrawMessage : Message {
    DebugDrawMessage() : Message(MessageId::DebugDraw) {}
};

// 10
struct DebugRectMessage : Message {
    DebugRectMessage(float x_, float y_, float w, float h)
        : Message(MessageId::DebugRect), x(x_), y(y_), width(w), height(h) {}
    float x, y, width, height;
};

// 11
struct SetCameraMessage : Message {
    SetCameraMessage(float x_, float y_, float z)
        : Message(MessageId::SetCamera), x(x_), y(y_), zoom(z) {}
    float x, y, zoom;
};

// 12
struct MoveCameraMessage : Message {
    MoveCameraMessage(float dx_, float dy_, float dz)
        : Message(MessageId::MoveCamera), dx(dx_), dy(dy_), dzoom(dz) {}
    float dx, dy, dzoom;
};

// 13: the view rotation, radians.
struct SetViewRotationMessage : Message {
    explicit SetViewRotationMessage(float a) : Message(MessageId::SetViewRotation), angle(a) {}
    float angle;
};

// 14
struct SetCameraZoomMessage : Message {
    explicit SetCameraZoomMessage(float z) : Message(MessageId::SetCameraZoom), zoom(z) {}
    float zoom;
};

// 15: change the resolution, pixels.
struct SetResolutionMessage : Message {
    SetResolutionMessage(int32_t w, int32_t h)
        : Message(MessageId::SetResolution), width(w), height(h) {}
    int32_t width, height;
};

// 16
struct CycleResolutionMessage : Message {
    CycleResolutionMessage() : Message(MessageId::CycleResolution) {}
};

// 17
struct ToggleFullscreenMessage : Message {
    ToggleFullscreenMessage() : Message(MessageId::ToggleFullscreen) {}
};

// 20: a block of 16 post-process parameters owned by the sender.
struct PostProcessTransitionMessage : Message {
    explicit PostProcessTransitionMessage(float* p)
        : Message(MessageId::PostProcessTransition), parameters(p) {}
    float* parameters;
};

// 21
struct BasicTriggerMessage : Message {
    explicit BasicTriggerMessage(std::string n)
        : Message(MessageId::BasicTrigger), name(std::move(n)) {}
    std::string name;
};

// 23
struct CharacterTypedMessage : Message {
    explicit CharacterTypedMessage(char c) : Message(MessageId::CharacterTyped), character(c) {}
    char character;
};

// 24, 25, 26: virtual-key codes.
struct KeyTriggeredMessage : Message {
    explicit KeyTriggeredMessage(uint8_t k) : Message(MessageId::KeyTriggered), key(k) {}
    uint8_t key;
};
struct KeyReleasedMessage : Message {
    explicit KeyReleasedMessage(uint8_t k) : Message(MessageId::KeyReleased), key(k) {}
    uint8_t key;
};
struct KeyPressedMessage : Message {
    explicit KeyPressedMessage(uint8_t k) : Message(MessageId::KeyPressed), key(k) {}
    uint8_t key;
};

// 27
struct MouseMovedMessage : Message {
    MouseMovedMessage(int32_t x_, int32_t y_, bool left)
        : Message(MessageId::MouseMoved), x(x_), y(y_), leftHeld(left) {}
    int32_t x, y;
    bool leftHeld;
};

// Mouse buttons in the click, press, release and double-click messages.
namespace MouseButton {
inline constexpr uint8_t Left = 1;
inline constexpr uint8_t Right = 2;
inline constexpr uint8_t Middle = 4;
} // namespace MouseButton

// 28, 29, 30, 32
struct MouseButtonMessage : Message {
    MouseButtonMessage(int32_t id_, int32_t x_, int32_t y_, uint8_t b)
        : Message(id_), x(x_), y(y_), button(b) {}
    int32_t x, y;
    uint8_t button;
};
struct MouseClickedMessage : MouseButtonMessage {
    MouseClickedMessage(int32_t x_, int32_t y_, uint8_t b)
        : MouseButtonMessage(MessageId::MouseClicked, x_, y_, b) {}
};
struct MousePressedMessage : MouseButtonMessage {
    MousePressedMessage(int32_t x_, int32_t y_, uint8_t b)
        : MouseButtonMessage(MessageId::MousePressed, x_, y_, b) {}
};
struct MouseReleasedMessage : MouseButtonMessage {
    MouseReleasedMessage(int32_t x_, int32_t y_, uint8_t b)
        : MouseButtonMessage(MessageId::MouseReleased, x_, y_, b) {}
};
struct DoubleClickMessage : MouseButtonMessage {
    DoubleClickMessage(int32_t x_, int32_t y_, uint8_t b)
        : MouseButtonMessage(MessageId::DoubleClick, x_, y_, b) {}
};

// 31: up is true when the wheel turns away from the user.
struct MouseScrolledMessage : Message {
    explicit MouseScrolledMessage(bool u) : Message(MessageId::MouseScrolled), up(u) {}
    bool up;
};

// 33, 34, 35: one XInput button bit.
struct XboxButtonMessage : Message {
    XboxButtonMessage(int32_t id_, uint16_t b) : Message(id_), button(b) {}
    uint16_t button;
};
struct XboxTriggeredMessage : XboxButtonMessage {
    explicit XboxTriggeredMessage(uint16_t b) : XboxButtonMessage(MessageId::XboxTriggered, b) {}
};
struct XboxReleasedMessage : XboxButtonMessage {
    explicit XboxReleasedMessage(uint16_t b) : XboxButtonMessage(MessageId::XboxReleased, b) {}
};
struct XboxPressedMessage : XboxButtonMessage {
    explicit XboxPressedMessage(uint16_t b) : XboxButtonMessage(MessageId::XboxPressed, b) {}
};

// 36, 37: stick direction as a unit vector, deflection level 0-2.
struct XboxThumbMessage : Message {
    XboxThumbMessage(int32_t id_, float x_, float y_, int32_t l)
        : Message(id_), x(x_), y(y_), level(l) {}
    float x, y;
    int32_t level;
};
struct XboxLThumbMoved : XboxThumbMessage {
    XboxLThumbMoved(float x_, float y_, int32_t l)
        : XboxThumbMessage(MessageId::XboxLThumbMoved, x_, y_, l) {}
};
struct XboxRThumbMoved : XboxThumbMessage {
    XboxRThumbMoved(float x_, float y_, int32_t l)
        : XboxThumbMessage(MessageId::XboxRThumbMoved, x_, y_, l) {}
};

// 38: right trigger level 0-2, left trigger level 0-4.
struct XboxTriggerMoved : Message {
    XboxTriggerMoved(int32_t r, int32_t l)
        : Message(MessageId::XboxTriggerMoved), rightLevel(r), leftLevel(l) {}
    int32_t rightLevel, leftLevel;
};

// 39: loops 0 plays once, -1 forever.
struct PlaySoundMessage : Message {
    PlaySoundMessage(std::string n, float v, int32_t l)
        : Message(MessageId::PlaySound), name(std::move(n)), volume(v), loops(l) {}
    std::string name;
    float volume;
    int32_t loops;
};

// 40
struct StopSoundMessage : Message {
    explicit StopSoundMessage(std::string n) : Message(MessageId::StopSound), name(std::move(n)) {}
    std::string name;
};

// 41
struct StopAllSoundsMessage : Message {
    StopAllSoundsMessage() : Message(MessageId::StopAllSounds) {}
};

// 42
struct SetAllVolumeMessage : Message {
    explicit SetAllVolumeMessage(float v) : Message(MessageId::SetAllVolume), volume(v) {}
    float volume;
};

// 43, 44, 45
struct MusicRaise : Message {
    MusicRaise() : Message(MessageId::MusicRaise) {}
};
struct MusicLower : Message {
    MusicLower() : Message(MessageId::MusicLower) {}
};
struct MusicMute : Message {
    MusicMute() : Message(MessageId::MusicMute) {}
};

// 46: a window message in Win32 numbering, translated at the platform edge.
struct WMMessage : Message {
    WMMessage(int32_t c, int32_t w, int32_t l)
        : Message(MessageId::WM), code(c), wParam(w), lParam(l) {}
    int32_t code, wParam, lParam;
};

// 47: "LoadLevel <file>", "UnloadLevel" (factory) or "SetRot" (physics component).
struct CommandMessage : Message {
    explicit CommandMessage(std::string c) : Message(MessageId::Command), command(std::move(c)) {}
    std::string command;
};

// 48
struct SetBackgroundMessage : Message {
    explicit SetBackgroundMessage(std::string p)
        : Message(MessageId::SetBackground), path(std::move(p)) {}
    std::string path;
};

// 51
struct ButtonInputMessage : Message {
    explicit ButtonInputMessage(std::string n)
        : Message(MessageId::ButtonInput), name(std::move(n)) {}
    std::string name;
};

// 52
struct InitPauseScreen : Message {
    InitPauseScreen() : Message(MessageId::InitPauseScreen) {}
};

// 53: sent after every level load.
struct LevelChangeMessage : Message {
    LevelChangeMessage() : Message(MessageId::LevelChange) {}
};

// 54: consumed by the core; never delivered.
struct MessageQuit : Message {
    MessageQuit() : Message(MessageId::Quit) {}
};

// 60
struct StartGameMessage : Message {
    StartGameMessage() : Message(MessageId::StartGame) {}
};

// 62 (from the player) and 63 (from a perch): the alarm point.
struct PerchAlertMessage : Message {
    PerchAlertMessage(int32_t id_, float x_, float y_) : Message(id_), x(x_), y(y_) {}
    float x, y;
};

// 65: two 32-bit values, the screen size in pixels.
struct ScreenSizeMessage : Message {
    ScreenSizeMessage(int32_t w, int32_t h) : Message(MessageId::ScreenSize), width(w), height(h) {}
    int32_t width, height;
};

} // namespace Flurr
