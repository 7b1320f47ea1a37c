#pragma once
// Messages: small value objects with an integer id and a payload, built by
// the sender (usually on its stack) and delivered at once by
// Core::SendMessage to every system registered for the id. The bus never
// copies, keeps or frees a message.
//
// Reading a message: `if (const auto* m = As<PlaySoundMessage>(message))`
// gives the payload, or null when the message is of another id. No RTTI is
// involved, and the cast inside As() is sound because:
//   - Message's constructor is protected: every message is an object of
//     one of the classes below, never a bare Message;
//   - every id belongs to exactly one class, whose constructor is the only
//     one that sets it (ids without payload have tiny classes too), and
//     `id` cannot be changed afterwards;
//   - ids that share one payload shape (the mouse buttons, the pad
//     buttons, the keys, the sticks, the perch alerts) have a shape class
//     with a static Is(id); As<Shape>() accepts any of them, so a handler
//     reads the shape once. A shape cannot be copied out of its message.
//
// The numbers in MessageId are the game's own and never change.
//
// Sections: the ids; Message and As(); one class per id, in id order,
// with SignalMessage for the ids without payload; the catalogue that
// checks at compile time that every id has exactly one class.

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>

#include "engine/InputCodes.h"
#include "engine/PostProcessParams.h"

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
// The sound effects' level, beside the music's (the options screen).
inline constexpr int32_t EffectsRaise = 66;
inline constexpr int32_t EffectsLower = 67;
// A level's way on (a gate, the end screen, the credits): the screen fades
// to black, the next route entry follows and fades back in.
inline constexpr int32_t FadeToNextLevel = 68;
} // namespace MessageId

class Message {
public:
    virtual ~Message() = default;
    Message& operator=(const Message&) = delete;

    const int32_t id;

protected:
    explicit Message(int32_t id_) : id(id_) {}
    Message(const Message&) = default;
};

// The message as an M, or null when its id is not M's (for a shape: none
// of the shape's ids). Null in, null out.
template <class M> const M* As(const Message& message) {
    static_assert(std::is_base_of_v<Message, M> && !std::is_same_v<Message, M>,
                  "As<M>() reads one of the message classes");
    bool matches;
    if constexpr (requires { M::kId; })
        matches = message.id == M::kId;
    else
        matches = M::Is(message.id);
    return matches ? static_cast<const M*>(&message) : nullptr;
}
template <class M> const M* As(const Message* message) {
    return message ? As<M>(*message) : nullptr;
}

// A message that carries only its id.
template <int32_t Id> struct SignalMessage final : Message {
    static constexpr int32_t kId = Id;
    SignalMessage() : Message(kId) {}
};

// 4: sent by the factory just before it destroys a queued object.
struct GODestructionNotifyMessage final : Message {
    static constexpr int32_t kId = MessageId::GODestructionNotify;
    explicit GODestructionNotifyMessage(GameObject* o) : Message(kId), object(o) {}
    GameObject* object;
};

// 5: text on screen; positions in pixels of the 800 x 600 layout. Filled
// by field name; unset fields draw black, unshadowed, and wrap nowhere.
struct DrawTextMessage final : Message {
    static constexpr int32_t kId = MessageId::DrawText;
    // A right or bottom edge that never limits the text.
    static constexpr int32_t kNoLimit = 9999;
    DrawTextMessage() : Message(kId) {}

    std::string text;
    int32_t left = 0, top = 0;
    std::string font;
    float red = 0.0f, green = 0.0f, blue = 0.0f, alpha = 255.0f; // 0-255
    bool shadow = false;
    int32_t right = kNoLimit, bottom = kNoLimit;
};

// 6
struct DebugSetColorMessage final : Message {
    static constexpr int32_t kId = MessageId::DebugSetColor;
    DebugSetColorMessage(float r, float g, float b, float a)
        : Message(kId), red(r), green(g), blue(b), alpha(a) {}
    float red, green, blue, alpha; // 0-255
};

// 7
struct DebugMoveToMessage final : Message {
    static constexpr int32_t kId = MessageId::DebugMoveTo;
    DebugMoveToMessage(float x_, float y_) : Message(kId), x(x_), y(y_) {}
    float x, y;
};

// 8
struct DebugLineToMessage final : Message {
    static constexpr int32_t kId = MessageId::DebugLineTo;
    DebugLineToMessage(float x_, float y_) : Message(kId), x(x_), y(y_) {}
    float x, y;
};

// 9: asks the physics side to draw its outlines.
using DebugDrawMessage = SignalMessage<MessageId::DebugDraw>;

// 10
struct DebugRectMessage final : Message {
    static constexpr int32_t kId = MessageId::DebugRect;
    DebugRectMessage(float x_, float y_, float w, float h)
        : Message(kId), x(x_), y(y_), width(w), height(h) {}
    float x, y, width, height;
};

// 11
struct SetCameraMessage final : Message {
    static constexpr int32_t kId = MessageId::SetCamera;
    SetCameraMessage(float x_, float y_, float z) : Message(kId), x(x_), y(y_), zoom(z) {}
    float x, y, zoom;
};

// 12
struct MoveCameraMessage final : Message {
    static constexpr int32_t kId = MessageId::MoveCamera;
    MoveCameraMessage(float dx_, float dy_, float dz) : Message(kId), dx(dx_), dy(dy_), dzoom(dz) {}
    float dx, dy, dzoom;
};

// 13: the view rotation, radians.
struct SetViewRotationMessage final : Message {
    static constexpr int32_t kId = MessageId::SetViewRotation;
    explicit SetViewRotationMessage(float a) : Message(kId), angle(a) {}
    float angle;
};

// 14
struct SetCameraZoomMessage final : Message {
    static constexpr int32_t kId = MessageId::SetCameraZoom;
    explicit SetCameraZoomMessage(float z) : Message(kId), zoom(z) {}
    float zoom;
};

// 15: change the resolution, pixels.
struct SetResolutionMessage final : Message {
    static constexpr int32_t kId = MessageId::SetResolution;
    SetResolutionMessage(int32_t w, int32_t h) : Message(kId), width(w), height(h) {}
    int32_t width, height;
};

// 16, 17
using CycleResolutionMessage = SignalMessage<MessageId::CycleResolution>;
using ToggleFullscreenMessage = SignalMessage<MessageId::ToggleFullscreen>;

// 20: aim the screen's post-processing at a block, over a time.
struct PostProcessTransitionMessage final : Message {
    static constexpr int32_t kId = MessageId::PostProcessTransition;
    explicit PostProcessTransitionMessage(const PostProcessRecord& r) : Message(kId), record(r) {}
    PostProcessRecord record;
};

// 21
struct BasicTriggerMessage final : Message {
    static constexpr int32_t kId = MessageId::BasicTrigger;
    explicit BasicTriggerMessage(std::string n) : Message(kId), name(std::move(n)) {}
    std::string name;
};

// 23
struct CharacterTypedMessage final : Message {
    static constexpr int32_t kId = MessageId::CharacterTyped;
    explicit CharacterTypedMessage(char c) : Message(kId), character(c) {}
    char character;
};

// 24, 25, 26: one KeyCode.
struct KeyMessage : Message {
    static constexpr bool Is(int32_t id_) {
        return id_ == MessageId::KeyTriggered || id_ == MessageId::KeyReleased ||
               id_ == MessageId::KeyPressed;
    }
    uint8_t key;

protected:
    KeyMessage(int32_t id_, uint8_t k) : Message(id_), key(k) {
        assert(Is(id_) && "a key message carries a key id");
    }
    KeyMessage(const KeyMessage&) = default;
};
struct KeyTriggeredMessage final : KeyMessage {
    static constexpr int32_t kId = MessageId::KeyTriggered;
    explicit KeyTriggeredMessage(uint8_t k) : KeyMessage(kId, k) {}
};
struct KeyReleasedMessage final : KeyMessage {
    static constexpr int32_t kId = MessageId::KeyReleased;
    explicit KeyReleasedMessage(uint8_t k) : KeyMessage(kId, k) {}
};
struct KeyPressedMessage final : KeyMessage {
    static constexpr int32_t kId = MessageId::KeyPressed;
    explicit KeyPressedMessage(uint8_t k) : KeyMessage(kId, k) {}
};

// 27
struct MouseMovedMessage final : Message {
    static constexpr int32_t kId = MessageId::MouseMoved;
    MouseMovedMessage(int32_t x_, int32_t y_, bool left)
        : Message(kId), x(x_), y(y_), leftHeld(left) {}
    int32_t x, y;
    bool leftHeld;
};

// 28, 29, 30, 32: one MouseButton.
struct MouseButtonMessage : Message {
    static constexpr bool Is(int32_t id_) {
        return id_ == MessageId::MouseClicked || id_ == MessageId::MousePressed ||
               id_ == MessageId::MouseReleased || id_ == MessageId::DoubleClick;
    }
    int32_t x, y;
    uint8_t button;

protected:
    MouseButtonMessage(int32_t id_, int32_t x_, int32_t y_, uint8_t b)
        : Message(id_), x(x_), y(y_), button(b) {
        assert(Is(id_) && "a mouse button message carries a mouse button id");
    }
    MouseButtonMessage(const MouseButtonMessage&) = default;
};
struct MouseClickedMessage final : MouseButtonMessage {
    static constexpr int32_t kId = MessageId::MouseClicked;
    MouseClickedMessage(int32_t x_, int32_t y_, uint8_t b) : MouseButtonMessage(kId, x_, y_, b) {}
};
struct MousePressedMessage final : MouseButtonMessage {
    static constexpr int32_t kId = MessageId::MousePressed;
    MousePressedMessage(int32_t x_, int32_t y_, uint8_t b) : MouseButtonMessage(kId, x_, y_, b) {}
};
struct MouseReleasedMessage final : MouseButtonMessage {
    static constexpr int32_t kId = MessageId::MouseReleased;
    MouseReleasedMessage(int32_t x_, int32_t y_, uint8_t b) : MouseButtonMessage(kId, x_, y_, b) {}
};
struct DoubleClickMessage final : MouseButtonMessage {
    static constexpr int32_t kId = MessageId::DoubleClick;
    DoubleClickMessage(int32_t x_, int32_t y_, uint8_t b) : MouseButtonMessage(kId, x_, y_, b) {}
};

// 31: up is true when the wheel turns away from the user.
struct MouseScrolledMessage final : Message {
    static constexpr int32_t kId = MessageId::MouseScrolled;
    explicit MouseScrolledMessage(bool u) : Message(kId), up(u) {}
    bool up;
};

// 33, 34, 35: one PadButton bit.
struct XboxButtonMessage : Message {
    static constexpr bool Is(int32_t id_) {
        return id_ == MessageId::XboxTriggered || id_ == MessageId::XboxReleased ||
               id_ == MessageId::XboxPressed;
    }
    uint16_t button;

protected:
    XboxButtonMessage(int32_t id_, uint16_t b) : Message(id_), button(b) {
        assert(Is(id_) && "a pad button message carries a pad button id");
    }
    XboxButtonMessage(const XboxButtonMessage&) = default;
};
struct XboxTriggeredMessage final : XboxButtonMessage {
    static constexpr int32_t kId = MessageId::XboxTriggered;
    explicit XboxTriggeredMessage(uint16_t b) : XboxButtonMessage(kId, b) {}
};
struct XboxReleasedMessage final : XboxButtonMessage {
    static constexpr int32_t kId = MessageId::XboxReleased;
    explicit XboxReleasedMessage(uint16_t b) : XboxButtonMessage(kId, b) {}
};
struct XboxPressedMessage final : XboxButtonMessage {
    static constexpr int32_t kId = MessageId::XboxPressed;
    explicit XboxPressedMessage(uint16_t b) : XboxButtonMessage(kId, b) {}
};

// 36, 37: stick direction as a unit vector, deflection level 0-2.
struct XboxThumbMessage : Message {
    static constexpr bool Is(int32_t id_) {
        return id_ == MessageId::XboxLThumbMoved || id_ == MessageId::XboxRThumbMoved;
    }
    float x, y;
    int32_t level;

protected:
    XboxThumbMessage(int32_t id_, float x_, float y_, int32_t l)
        : Message(id_), x(x_), y(y_), level(l) {
        assert(Is(id_) && "a stick message carries a stick id");
    }
    XboxThumbMessage(const XboxThumbMessage&) = default;
};
struct XboxLThumbMoved final : XboxThumbMessage {
    static constexpr int32_t kId = MessageId::XboxLThumbMoved;
    XboxLThumbMoved(float x_, float y_, int32_t l) : XboxThumbMessage(kId, x_, y_, l) {}
};
struct XboxRThumbMoved final : XboxThumbMessage {
    static constexpr int32_t kId = MessageId::XboxRThumbMoved;
    XboxRThumbMoved(float x_, float y_, int32_t l) : XboxThumbMessage(kId, x_, y_, l) {}
};

// 38: right trigger level 0-2, left trigger level 0-4.
struct XboxTriggerMoved final : Message {
    static constexpr int32_t kId = MessageId::XboxTriggerMoved;
    XboxTriggerMoved(int32_t r, int32_t l) : Message(kId), rightLevel(r), leftLevel(l) {}
    int32_t rightLevel, leftLevel;
};

// 39: loops 0 plays once, -1 forever.
struct PlaySoundMessage final : Message {
    static constexpr int32_t kId = MessageId::PlaySound;
    PlaySoundMessage(std::string n, float v, int32_t l)
        : Message(kId), name(std::move(n)), volume(v), loops(l) {}
    std::string name;
    float volume;
    int32_t loops;
};

// 40
struct StopSoundMessage final : Message {
    static constexpr int32_t kId = MessageId::StopSound;
    explicit StopSoundMessage(std::string n) : Message(kId), name(std::move(n)) {}
    std::string name;
};

// 41
using StopAllSoundsMessage = SignalMessage<MessageId::StopAllSounds>;

// 42
struct SetAllVolumeMessage final : Message {
    static constexpr int32_t kId = MessageId::SetAllVolume;
    explicit SetAllVolumeMessage(float v) : Message(kId), volume(v) {}
    float volume;
};

// 43, 44, 45
using MusicRaise = SignalMessage<MessageId::MusicRaise>;
using MusicLower = SignalMessage<MessageId::MusicLower>;
using MusicMute = SignalMessage<MessageId::MusicMute>;

// 66, 67
using EffectsRaise = SignalMessage<MessageId::EffectsRaise>;
using EffectsLower = SignalMessage<MessageId::EffectsLower>;

// 46: a window message in Win32 numbering, translated at the platform edge.
struct WMMessage final : Message {
    static constexpr int32_t kId = MessageId::WM;
    WMMessage(int32_t c, int32_t w, int32_t l) : Message(kId), code(c), wParam(w), lParam(l) {}
    int32_t code, wParam, lParam;
};

// 47: "LoadLevel <file>", "UnloadLevel" (factory) or "SetRot" (physics component).
struct CommandMessage final : Message {
    static constexpr int32_t kId = MessageId::Command;
    explicit CommandMessage(std::string c) : Message(kId), command(std::move(c)) {}
    std::string command;
};

// 48
struct SetBackgroundMessage final : Message {
    static constexpr int32_t kId = MessageId::SetBackground;
    explicit SetBackgroundMessage(std::string p) : Message(kId), path(std::move(p)) {}
    std::string path;
};

// 51
struct ButtonInputMessage final : Message {
    static constexpr int32_t kId = MessageId::ButtonInput;
    explicit ButtonInputMessage(std::string n) : Message(kId), name(std::move(n)) {}
    std::string name;
};

// 52
using InitPauseScreen = SignalMessage<MessageId::InitPauseScreen>;

// 53: sent after every level load.
using LevelChangeMessage = SignalMessage<MessageId::LevelChange>;

// 54: consumed by the core; never delivered.
using MessageQuit = SignalMessage<MessageId::Quit>;

// 55 to 59: the save dialog's elements and its closing.
using SaveDialogBackgroundMessage = SignalMessage<MessageId::SaveDialogBackground>;
using SaveDialogSaveMessage = SignalMessage<MessageId::SaveDialogSave>;
using SaveDialogCancelMessage = SignalMessage<MessageId::SaveDialogCancel>;
using SaveDialogCloseWithoutSavingMessage = SignalMessage<MessageId::SaveDialogCloseWithoutSaving>;
using SaveDialogCloseMessage = SignalMessage<MessageId::SaveDialogClose>;

// 60
using StartGameMessage = SignalMessage<MessageId::StartGame>;

// 68: asks for the fade out to the next level; asking again while it runs
// changes nothing.
using FadeToNextLevelMessage = SignalMessage<MessageId::FadeToNextLevel>;

// 61, 64: signals the logic system hands to its components.
using LogicSignalMessage = SignalMessage<MessageId::LogicSignal>;
using RotatorTriggerMessage = SignalMessage<MessageId::RotatorTrigger>;

// 62 (from the player) and 63 (from a perch): the alarm point.
struct PerchAlertMessage : Message {
    static constexpr bool Is(int32_t id_) {
        return id_ == MessageId::PerchAlertPlayer || id_ == MessageId::PerchAlertPerch;
    }
    float x, y;

protected:
    PerchAlertMessage(int32_t id_, float x_, float y_) : Message(id_), x(x_), y(y_) {
        assert(Is(id_) && "a perch alert carries a perch alert id");
    }
    PerchAlertMessage(const PerchAlertMessage&) = default;
};
struct PerchAlertPlayerMessage final : PerchAlertMessage {
    static constexpr int32_t kId = MessageId::PerchAlertPlayer;
    PerchAlertPlayerMessage(float x_, float y_) : PerchAlertMessage(kId, x_, y_) {}
};
struct PerchAlertPerchMessage final : PerchAlertMessage {
    static constexpr int32_t kId = MessageId::PerchAlertPerch;
    PerchAlertPerchMessage(float x_, float y_) : PerchAlertMessage(kId, x_, y_) {}
};

// 65: two 32-bit values, the screen size in pixels.
struct ScreenSizeMessage final : Message {
    static constexpr int32_t kId = MessageId::ScreenSize;
    ScreenSizeMessage(int32_t w, int32_t h) : Message(kId), width(w), height(h) {}
    int32_t width, height;
};

namespace MessageCatalogue {

template <class... M> struct List {};

// Every message class, one per id.
using All =
    List<GODestructionNotifyMessage, DrawTextMessage, DebugSetColorMessage, DebugMoveToMessage,
         DebugLineToMessage, DebugDrawMessage, DebugRectMessage, SetCameraMessage,
         MoveCameraMessage, SetViewRotationMessage, SetCameraZoomMessage, SetResolutionMessage,
         CycleResolutionMessage, ToggleFullscreenMessage, PostProcessTransitionMessage,
         BasicTriggerMessage, CharacterTypedMessage, KeyTriggeredMessage, KeyReleasedMessage,
         KeyPressedMessage, MouseMovedMessage, MouseClickedMessage, MousePressedMessage,
         MouseReleasedMessage, MouseScrolledMessage, DoubleClickMessage, XboxTriggeredMessage,
         XboxReleasedMessage, XboxPressedMessage, XboxLThumbMoved, XboxRThumbMoved,
         XboxTriggerMoved, PlaySoundMessage, StopSoundMessage, StopAllSoundsMessage,
         SetAllVolumeMessage, MusicRaise, MusicLower, MusicMute, WMMessage, CommandMessage,
         SetBackgroundMessage, ButtonInputMessage, InitPauseScreen, LevelChangeMessage, MessageQuit,
         SaveDialogBackgroundMessage, SaveDialogSaveMessage, SaveDialogCancelMessage,
         SaveDialogCloseWithoutSavingMessage, SaveDialogCloseMessage, StartGameMessage,
         LogicSignalMessage, PerchAlertPlayerMessage, PerchAlertPerchMessage, RotatorTriggerMessage,
         ScreenSizeMessage, EffectsRaise, EffectsLower, FadeToNextLevelMessage>;

template <class... M> constexpr int32_t Count(List<M...>) {
    return sizeof...(M);
}
template <class... M> constexpr bool IdsDistinct(List<M...>) {
    const int32_t ids[] = {M::kId...};
    for (std::size_t i = 0; i < sizeof...(M); ++i)
        for (std::size_t j = i + 1; j < sizeof...(M); ++j)
            if (ids[i] == ids[j])
                return false;
    return true;
}
template <class... M> constexpr bool AllFinal(List<M...>) {
    return (std::is_final_v<M> && ...);
}

// Each of the 60 ids has its class and no two classes share one, so a
// message's id alone tells its class.
static_assert(Count(All{}) == 60);
static_assert(IdsDistinct(All{}));
static_assert(AllFinal(All{}));

} // namespace MessageCatalogue

} // namespace Flurr
