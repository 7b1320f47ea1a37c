#include "menus/PauseSystem.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "engine/Core.h"
#include "engine/GameObject.h"
#include "engine/Message.h"
#include "engine/Report.h"
#include "graphics/GraphicsComponent.h"
#include "graphics/GraphicsSystem.h"
#include "menus/MenuPointer.h"
#include "menus/PauseElement.h"
#include "serialization/Serializer.h"
#include "sound/SoundSystem.h"
#include "world/Factory.h"
#include "world/SpaceManager.h"

namespace Flurr {

namespace {

constexpr std::string_view kNextElement = "NextElement:";
constexpr std::string_view kFireCommand = "FireCommand:";
constexpr std::string_view kRebind = "Rebind:";

// The texts of the options and controls screens: world units from the
// screen's centre (x right, y up) of their top-left corners, as
// tools/levels/make-menus.py lays the screens out.
struct TextPlace {
    float x, y;
};
constexpr TextPlace kFullscreenText{-290.0f, -2.0f};
constexpr TextPlace kResolutionText{-290.0f, -32.0f};
constexpr TextPlace kMusicText{25.0f, 168.0f};
constexpr TextPlace kEffectsText{25.0f, 48.0f};
// The key of each rebindable action, right of its entry.
constexpr float kKeyTextX = 20.0f;
constexpr float kFirstKeyY = 168.0f;
constexpr float kKeyStep = 52.0f;
constexpr TextPlace kHintText{-250.0f, -160.0f};
// The cards' ink.
constexpr float kInk[3] = {59.0f, 42.0f, 34.0f};

std::string Percent(float volume) {
    return std::to_string(static_cast<int>(std::lround(std::clamp(volume, 0.0f, 1.0f) * 100.0f))) +
           " %";
}

std::string KeysText(const std::vector<uint8_t>& keys) {
    std::string text;
    for (uint8_t key : keys) {
        if (!text.empty())
            text += " or ";
        text += KeyName(key);
    }
    return text.empty() ? "-" : text;
}

// The menu keys in the order of PauseSystem::keyHeld.
constexpr Action kMenuKeys[4] = {Action::MenuUp, Action::MenuDown, Action::MenuLeft,
                                 Action::MenuRight};

void SetSpace(const char* name, bool active) {
    if (SpaceManager* spaces = SpaceManager::Instance())
        spaces->SetSpaceActive(name, active);
}

// The level is going on: no restart, advance or quit is asked for.
bool LevelRunning() {
    const Core* core = Core::Instance();
    return !core || core->RequestedState() == core->CurrentState();
}

} // namespace

PauseSystem::PauseSystem(std::string settingsFile_, PlayerSettings settings_)
    : settings(std::move(settings_)), settingsFile(std::move(settingsFile_)),
      timers(TimerClock::Game) {}

PauseSystem::~PauseSystem() {
    elements.ForEachAll([](PauseElement* element) { element->Detach(); });
}

void PauseSystem::Initialize() {
    if (SpaceManager* spaces = SpaceManager::Instance()) {
        spaces->GetOrCreateSpace(Spaces::Pause);
        spaces->SetSpaceActive(Spaces::Pause, false);
    }
    volume = 1.0f;
    if (Core* core = Core::Instance())
        for (int32_t id : {MessageId::MouseMoved, MessageId::MouseClicked, MessageId::ButtonInput,
                           MessageId::KeyTriggered, MessageId::KeyPressed, MessageId::KeyReleased,
                           MessageId::MoveCamera, MessageId::InitPauseScreen,
                           MessageId::XboxTriggered, MessageId::XboxLThumbMoved,
                           MessageId::SetAllVolume, MessageId::ScreenSize, MessageId::LevelChange})
            core->RegisterForMessage(this, id);
}

void PauseSystem::RegisterComponent(PauseElement* element, const std::string& space) {
    if (element)
        elements.Add(element, space);
}

void PauseSystem::UnregisterComponent(PauseElement* element) {
    elements.Remove(element);
    for (std::vector<Screen>* stack : {&screens, &screensToDestroy})
        for (Screen& screen : *stack)
            std::erase(screen.elements, element);
}

Vec2 PauseSystem::PointerWorld() const {
    return PointerToWorld(pointerX, pointerY, camX, camY);
}

PauseElement* PauseSystem::FindElement(uint32_t id) const {
    if (screens.empty())
        return nullptr;
    for (PauseElement* element : screens.back().elements)
        if (element->elementId == id)
            return element;
    return nullptr;
}

void PauseSystem::Select(uint32_t id) {
    PauseElement* element = FindElement(id);
    if (!element || !element->owner)
        return;
    selected = id;
    // Where the element stands this frame, even before its update has
    // placed it.
    int32_t px, py;
    WorldToPointer(static_cast<float>(element->baseX) + camX,
                   static_cast<float>(element->baseY) + camY, camX, camY, px, py);
    Core::Broadcast(MouseMovedMessage(px, py, false));
}

void PauseSystem::Navigate(const std::string& navigation) {
    const std::string_view text = navigation;
    if (text.starts_with(kNextElement)) {
        const std::string_view digits = text.substr(kNextElement.size());
        uint32_t id = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), id);
        if (error == std::errc() && end == digits.data() + digits.size())
            Select(id);
        else
            WarnOnce("pause menu: \"" + navigation + "\" names no element id");
    } else if (text.starts_with(kFireCommand)) {
        Core::Broadcast(ButtonInputMessage(std::string(text.substr(kFireCommand.size()))));
    }
}

void PauseSystem::PushScreen(const std::string& path) {
    Factory* factory = Factory::Instance();
    if (!factory)
        return;
    std::vector<GameObject*> loaded;
    factory->LoadObjects(path, loaded);
    if (loaded.empty()) {
        WarnOnce("pause menu: the screen " + NativePath(path) + " has no objects");
        return;
    }
    // The screen below goes out of sight while this one is up.
    if (!screens.empty())
        for (const Screen::Piece& piece : screens.back().pieces)
            if (GameObject* object = factory->FindObject(piece.id))
                if (GraphicsComponent* sprite = object->Get<GraphicsComponent>())
                    sprite->Opacity = 0.0f;
    Screen screen;
    screen.file = path;
    for (GameObject* object : loaded) {
        // The menu is the running game's, never the level's design.
        object->savedWithLevel = false;
        screen.pieces.push_back({object->id, object->x, object->y});
        object->x += camX;
        object->y += camY;
        // Flat on the screen: a menu drawn in front of the world must not
        // grow with its depth.
        if (GraphicsComponent* sprite = object->Get<GraphicsComponent>())
            sprite->orthographic = true;
        if (PauseElement* element = object->Get<PauseElement>())
            screen.elements.push_back(element);
    }
    savedSelections.push_back(selected);
    savedPointers.push_back({pointerX + screenValueX / 2, pointerY + screenValueY / 2});
    screens.push_back(std::move(screen));
    selected = 0;
    Select(0);
}

void PauseSystem::PopScreen() {
    if (screens.empty())
        return;
    rebinding = -1;
    screensToDestroy.push_back(std::move(screens.back()));
    screens.pop_back();
    if (!savedPointers.empty()) {
        pendingPointer = savedPointers.back();
        savedPointers.pop_back();
        pointerPending = true;
    }
    if (!savedSelections.empty()) {
        selected = savedSelections.back();
        savedSelections.pop_back();
    }
    if (Factory* factory = Factory::Instance(); factory && !screens.empty())
        for (const Screen::Piece& piece : screens.back().pieces)
            if (GameObject* object = factory->FindObject(piece.id))
                if (GraphicsComponent* sprite = object->Get<GraphicsComponent>())
                    sprite->Opacity = 1.0f;
}

void PauseSystem::OpenMenu() {
    if (IsOpen())
        return;
    SetSpace(Spaces::Game, false);
    SetSpace(Spaces::Pause, true);
    PushScreen(PauseScreens::Pause);
    if (!IsOpen()) {
        // Without its screen the menu would freeze the game behind nothing.
        SetSpace(Spaces::Pause, false);
        SetSpace(Spaces::Game, true);
        return;
    }
    Core::Broadcast(SetAllVolumeMessage(kMenuVolume));
    selected = 0;
    stickX = stickY = 0.0f;
    held = false;
    pointerPending = false;
}

void PauseSystem::CloseMenu() {
    rebinding = -1;
    SetSpace(Spaces::Game, true);
    SetSpace(Spaces::Pause, false);
    Core::Broadcast(SetAllVolumeMessage(kGameVolume));
    // The element whose click closed the menu may still be running: the
    // screens go in the next update.
    for (Screen& screen : screens)
        screensToDestroy.push_back(std::move(screen));
    screens.clear();
    // The pointer goes back to where it was when the menu opened: the
    // first position saved, not the last.
    if (!savedPointers.empty()) {
        pendingPointer = savedPointers.front();
        pointerPending = true;
    }
    savedPointers.clear();
    savedSelections.clear();
    selected = 0;
    stickX = stickY = 0.0f;
    held = false;
}

void PauseSystem::Command(const std::string& command) {
    if (command == "Resume") {
        CloseMenu();
    } else if (command == "Back" || command == "ConfirmNo") {
        PopScreen();
    } else if (command == "OptionsPauseMenu") {
        PushScreen(PauseScreens::Options);
    } else if (command == "HowToPlay") {
        PushScreen(PauseScreens::HowToPlay);
    } else if (command == "Credits") {
        PushScreen(PauseScreens::Credits);
    } else if (command == "Quit") {
        PushScreen(PauseScreens::QuitConfirm);
    } else if (command == "Controls") {
        PushScreen(PauseScreens::Controls);
    } else if (command.starts_with(kRebind)) {
        const std::string_view name = std::string_view(command).substr(kRebind.size());
        rebinding = -1;
        for (std::size_t i = 0; i < std::size(kRebindableActions); ++i)
            if (RebindableName(kRebindableActions[i]) == name)
                rebinding = static_cast<int32_t>(i);
        if (rebinding < 0)
            WarnOnce("pause menu: \"" + command + "\" names no action that can be rebound");
    } else if (command == "Fullscreen") {
        Core::Broadcast(ToggleFullscreenMessage());
        settings.hasFullscreen = true;
        KeepSettings();
    } else if (command == "ChangeResolution") {
        Core::Broadcast(CycleResolutionMessage());
        settings.hasResolution = true;
        KeepSettings();
    } else if (command == "MuteMusic") {
        Core::Broadcast(MusicMute());
        KeepSettings();
    } else if (command == "RaiseMusic") {
        Core::Broadcast(MusicRaise());
        KeepSettings();
    } else if (command == "LowerMusic") {
        Core::Broadcast(MusicLower());
        KeepSettings();
    } else if (command == "RaiseEffects") {
        Core::Broadcast(EffectsRaise());
        KeepSettings();
    } else if (command == "LowerEffects") {
        Core::Broadcast(EffectsLower());
        KeepSettings();
    } else if (command == "Restart") {
        if (Core* core = Core::Instance())
            core->RequestState(GameState::Restart);
        // The level change destroys the screens' objects; until then they
        // wait with the others, out of the walk under way.
        for (Screen& screen : screens)
            screensToDestroy.push_back(std::move(screen));
        screens.clear();
        savedPointers.clear();
        savedSelections.clear();
        // The music that plays on would otherwise stay at the menu's level.
        Core::Broadcast(SetAllVolumeMessage(kGameVolume));
    } else if (command == "ConfirmYes") {
        if (Core* core = Core::Instance())
            core->RequestState(GameState::Quit);
    }
}

void PauseSystem::KeyNavigation(const Message* message) {
    const auto* key = As<KeyMessage>(message);
    if (!key)
        return;
    const bool down = message->id != MessageId::KeyReleased;
    const InputActions& actions = Core::Actions();
    bool changed = false;
    for (int i = 0; i < 4; ++i)
        if (actions.IsKey(kMenuKeys[i], key->key) && keyHeld[i] != down) {
            keyHeld[i] = down;
            changed = true;
        }
    if (!changed || !SpaceManager::Active(Spaces::Pause))
        return;
    // The keys stand in for the stick, full over.
    stickY = static_cast<float>(keyHeld[0]) - static_cast<float>(keyHeld[1]);
    stickX = static_cast<float>(keyHeld[3]) - static_cast<float>(keyHeld[2]);
}

void PauseSystem::PadButton(uint16_t button) {
    const InputActions& actions = Core::Actions();
    const bool open = SpaceManager::Active(Spaces::Pause);
    if (actions.IsPadButton(Action::Pause, button)) {
        if (open)
            CloseMenu();
        else if (SpaceManager::Active(Spaces::Game))
            OpenMenu();
        return;
    }
    if (!open)
        return;
    if (actions.IsPadButton(Action::MenuSelect, button)) {
        ClickSelected();
    } else if (actions.IsPadButton(Action::MenuBack, button)) {
        Back();
    } else {
        // The pad's cross: one step a press.
        for (Action direction : kMenuKeys)
            if (actions.IsPadButton(direction, button)) {
                const float x = direction == Action::MenuRight  ? 1.0f
                                : direction == Action::MenuLeft ? -1.0f
                                                                : 0.0f;
                const float y = direction == Action::MenuUp     ? 1.0f
                                : direction == Action::MenuDown ? -1.0f
                                                                : 0.0f;
                if (PauseElement* element = FindElement(selected)) {
                    const std::string navigation = element->NavigationFor(x, y);
                    Navigate(navigation);
                }
            }
    }
}

void PauseSystem::Back() {
    // Back from the only screen is leaving the menu.
    if (screens.size() == 1)
        Core::Broadcast(ButtonInputMessage("Resume"));
    else
        PopScreen();
}

void PauseSystem::ClickSelected() {
    PauseElement* element = FindElement(selected);
    if (!element)
        return;
    int32_t px, py;
    WorldToPointer(static_cast<float>(element->baseX) + camX,
                   static_cast<float>(element->baseY) + camY, camX, camY, px, py);
    Core::Broadcast(MouseClickedMessage(px, py, MouseButton::Left));
}

void PauseSystem::SendMessage(Message* message) {
    if (const auto* moved = As<MouseMovedMessage>(message)) {
        pointerX = moved->x;
        pointerY = moved->y;
        return;
    }
    if (const auto* level = As<SetAllVolumeMessage>(message)) {
        volume = level->volume;
        return;
    }
    if (const auto* size = As<ScreenSizeMessage>(message)) {
        screenValueX = size->width;
        screenValueY = size->height;
        return;
    }
    if (message->id == MessageId::LevelChange) {
        DropEverything();
        return;
    }
    if (message->id == MessageId::MoveCamera)
        return; // the camera is read from the renderer every update
    if (const auto* stick = As<XboxLThumbMoved>(message)) {
        stickX = stick->x * static_cast<float>(stick->level);
        stickY = stick->y * static_cast<float>(stick->level);
        return;
    }
    // The pictures at the start are not the game: no menu over them.
    if (SpaceManager::Active(Spaces::Logo))
        return;
    const bool open = SpaceManager::Active(Spaces::Pause);
    if (message->id == MessageId::InitPauseScreen) {
        OpenMenu();
        return;
    }
    if (const auto* pad = As<XboxTriggeredMessage>(message)) {
        // B gives up waiting for a key, and only that.
        if (open && rebinding >= 0 && Core::Actions().IsPadButton(Action::MenuBack, pad->button)) {
            rebinding = -1;
            return;
        }
        PadButton(pad->button);
        return;
    }
    if (As<KeyMessage>(message)) {
        if (open && RebindKey(message))
            return;
        const auto* key = As<KeyTriggeredMessage>(message);
        if (key && Core::Actions().IsKey(Action::Pause, key->key)) {
            if (open)
                CloseMenu();
            else if (SpaceManager::Active(Spaces::Game))
                OpenMenu();
            return;
        }
        if (key && open && Core::Actions().IsKey(Action::MenuSelect, key->key)) {
            ClickSelected();
            return;
        }
        if (key && open && Core::Actions().IsKey(Action::MenuBack, key->key)) {
            Back();
            return;
        }
        KeyNavigation(message);
        return;
    }
    if (!open)
        return;
    if (const auto* input = As<ButtonInputMessage>(message)) {
        const std::string command = input->name;
        Command(command);
        return;
    }
    // The rest (clicks) is the top screen's. A command may change the
    // screens on the way: the walk ends with the screen it began on.
    if (screens.empty())
        return;
    const std::vector<PauseElement*> walk = screens.back().elements;
    const std::size_t depth = screens.size();
    for (PauseElement* element : walk) {
        if (screens.size() != depth)
            break;
        const std::vector<PauseElement*>& now = screens.back().elements;
        if (std::find(now.begin(), now.end(), element) == now.end())
            continue;
        element->SendMessage(message);
    }
}

void PauseSystem::StickStep() {
    ++navigationSteps;
    if (PauseElement* element = FindElement(selected)) {
        const std::string navigation = element->NavigationFor(stickX, stickY);
        Navigate(navigation);
    }
}

void PauseSystem::RunStick() {
    const bool pushed = std::fabs(stickX) > kDeadZone || std::fabs(stickY) > kDeadZone;
    if (StickRepeats(pushed, held, timers, kHoldDelay, kRepeatDelay))
        StickStep();
}

void PauseSystem::DestroyScreen(Screen& screen) {
    Factory* factory = Factory::Instance();
    if (!factory)
        return;
    for (const Screen::Piece& piece : screen.pieces)
        if (GameObject* object = factory->FindObject(piece.id))
            factory->DestroyObject(object);
}

void PauseSystem::DestroyPending() {
    std::vector<Screen> going;
    going.swap(screensToDestroy);
    for (Screen& screen : going)
        DestroyScreen(screen);
}

void PauseSystem::DropEverything() {
    // The factory destroyed the objects (ids are never reused, so nothing
    // left here could reach another object); only forget them.
    screens.clear();
    screensToDestroy.clear();
    savedPointers.clear();
    savedSelections.clear();
    selected = 0;
    stickX = stickY = 0.0f;
    held = false;
    pointerPending = false;
    rebinding = -1;
    for (bool& key : keyHeld)
        key = false;
}

void PauseSystem::SendPendingPointer() {
    if (!pointerPending)
        return;
    pointerPending = false;
    Core::Broadcast(MouseMovedMessage(pendingPointer.x, pendingPointer.y, false));
}

void PauseSystem::Update(float dt) {
    DestroyPending();
    if (const GraphicsSystem* graphics = GraphicsSystem::Instance()) {
        camX = graphics->Camera().x;
        camY = graphics->Camera().y;
    }
    if (SpaceManager::Active(Spaces::Pause)) {
        // A menu with nothing on it (its last screen went back) shows the
        // first screen again rather than a frozen game.
        if (screens.empty() && LevelRunning())
            PushScreen(PauseScreens::Pause);
        if (!screens.empty()) {
            Factory* factory = Factory::Instance();
            for (const Screen::Piece& piece : screens.back().pieces)
                if (GameObject* object = factory ? factory->FindObject(piece.id) : nullptr) {
                    object->x = piece.x + camX;
                    object->y = piece.y + camY;
                }
            const std::vector<PauseElement*> walk = screens.back().elements;
            const std::size_t depth = screens.size();
            for (PauseElement* element : walk) {
                if (screens.size() != depth)
                    break;
                const std::vector<PauseElement*>& now = screens.back().elements;
                if (std::find(now.begin(), now.end(), element) != now.end())
                    element->Update(dt);
            }
        }
        RunStick();
        DrawScreenTexts();
    }
    SendPendingPointer();
}

bool PauseSystem::OnScreen(const char* file) const {
    return !screens.empty() && screens.back().file == file;
}

bool PauseSystem::RebindKey(const Message* message) {
    if (rebinding < 0)
        return false;
    // Every key waits with the rebinding: none moves the menu or closes it.
    const auto* key = As<KeyTriggeredMessage>(message);
    if (!key)
        return true;
    if (key->key == KeyCode::Escape) {
        rebinding = -1;
        return true;
    }
    const Action action = kRebindableActions[static_cast<std::size_t>(rebinding)];
    // A key the menus or the fixed actions need is refused; the wait goes
    // on (the controls screen says so).
    if (!Core::Instance() || !Core::Instance()->MutableActions().Rebind(action, key->key))
        return true;
    rebinding = -1;
    keysInTable = true;
    KeepSettings();
    return true;
}

void PauseSystem::KeepSettings() {
    if (const GraphicsSystem* graphics = GraphicsSystem::Instance()) {
        if (settings.hasFullscreen)
            settings.fullscreen = graphics->Fullscreen();
        if (settings.hasResolution) {
            settings.width = graphics->BackBufferWidth();
            settings.height = graphics->BackBufferHeight();
        }
    }
    if (const SoundSystem* sound = SoundSystem::Instance()) {
        settings.musicVolume = std::clamp(sound->MasterVolume(), 0.0f, 1.0f);
        settings.effectsVolume = std::clamp(sound->EffectsVolume(), 0.0f, 1.0f);
        settings.musicMuted = sound->Muted();
    }
    if (keysInTable)
        settings.TakeKeys(Core::Actions());
    if (!settingsFile.empty())
        SaveSettings(settingsFile, settings);
}

std::vector<std::string> PauseSystem::ScreenTexts() const {
    std::vector<std::string> texts;
    if (OnScreen(PauseScreens::Options)) {
        const GraphicsSystem* graphics = GraphicsSystem::Instance();
        int32_t width, height;
        GraphicsSystem::ScreenSize(width, height);
        texts.push_back(std::string("Full screen: ") +
                        (graphics && graphics->Fullscreen() ? "on" : "off"));
        texts.push_back("Resolution: " + std::to_string(width) + " × " + std::to_string(height));
        const SoundSystem* sound = SoundSystem::Instance();
        const bool muted = sound && sound->Muted();
        texts.push_back("Music: " + (muted ? std::string("muted")
                                           : Percent(sound ? sound->MasterVolume() : 1.0f)));
        texts.push_back("Effects: " + (muted ? std::string("muted")
                                             : Percent(sound ? sound->EffectsVolume() : 1.0f)));
    } else if (OnScreen(PauseScreens::Controls)) {
        for (std::size_t i = 0; i < std::size(kRebindableActions); ++i)
            texts.push_back(static_cast<int32_t>(i) == rebinding
                                ? "press a key..."
                                : KeysText(Core::Actions().Keys(kRebindableActions[i])));
        texts.push_back(rebinding >= 0 ? "Escape keeps the key it had."
                                       : "Choose an action, then press its new key.");
    }
    return texts;
}

void PauseSystem::DrawScreenTexts() const {
    const std::vector<std::string> texts = ScreenTexts();
    if (texts.empty())
        return;
    int32_t width, height;
    GraphicsSystem::ScreenSize(width, height);
    const float toPixels = static_cast<float>(height) / 600.0f;
    const auto draw = [&](const std::string& text, TextPlace at) {
        DrawTextMessage m;
        m.text = text;
        m.left =
            static_cast<int32_t>(std::lround(static_cast<float>(width) / 2.0f + at.x * toPixels));
        m.top =
            static_cast<int32_t>(std::lround(static_cast<float>(height) / 2.0f - at.y * toPixels));
        m.font = "CardoRegular22";
        m.red = kInk[0];
        m.green = kInk[1];
        m.blue = kInk[2];
        m.alpha = 255.0f;
        Core::Broadcast(m);
    };
    if (OnScreen(PauseScreens::Options)) {
        const TextPlace places[4] = {kFullscreenText, kResolutionText, kMusicText, kEffectsText};
        for (std::size_t i = 0; i < 4 && i < texts.size(); ++i)
            draw(texts[i], places[i]);
        return;
    }
    for (std::size_t i = 0; i + 1 < texts.size(); ++i)
        draw(texts[i], {kKeyTextX, kFirstKeyY - static_cast<float>(i) * kKeyStep});
    draw(texts.back(), kHintText);
}

void PauseSystem::Free() {
    DropEverything();
    elements.ClearAll();
}

void PauseSystem::ReleaseObjects() {
    DropEverything();
}

} // namespace Flurr
