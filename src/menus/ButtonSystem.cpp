#include "menus/ButtonSystem.h"

#include <algorithm>
#include <cmath>

#include "engine/Core.h"
#include "engine/GameObject.h"
#include "engine/Message.h"
#include "graphics/GraphicsSystem.h"
#include "jobs/JobSystem.h"
#include "menus/Button.h"
#include "menus/MenuPointer.h"
#include "menus/PauseSystem.h"
#include "world/Factory.h"
#include "world/SpaceManager.h"

namespace Flurr {

ButtonSystem::ButtonSystem() : timers(TimerClock::Game) {}

ButtonSystem::~ButtonSystem() {
    buttons.ForEachAll([](Button* button) { button->Detach(); });
}

void ButtonSystem::Initialize() {
    volume = 1.0f;
    if (Core* core = Core::Instance()) {
        for (int32_t id :
             {MessageId::MouseMoved, MessageId::MouseClicked, MessageId::ButtonInput,
              MessageId::KeyTriggered, MessageId::KeyPressed, MessageId::KeyReleased,
              MessageId::MoveCamera, MessageId::XboxLThumbMoved, MessageId::XboxTriggered,
              MessageId::SetAllVolume, MessageId::LevelChange})
            core->RegisterForMessage(this, id);
        // Every system exists by now.
        for (const IGameSystem* system : core->Systems())
            if (system->GetName() == "TransitionSystem")
                playAdvancesLevel = false;
    }
}

bool ButtonSystem::Live() {
    return SpaceManager::Active(Spaces::Game) && !SpaceManager::Active(Spaces::Transition);
}

void ButtonSystem::RegisterComponent(Button* button, const std::string& space) {
    if (!button)
        return;
    buttons.Add(button, space);
    selected = 0;
}

void ButtonSystem::UnregisterComponent(Button* button) {
    buttons.Remove(button);
    selected = 0;
}

Vec2 ButtonSystem::PointerWorld() const {
    return PointerToWorld(pointerX, pointerY, camX, camY);
}

Button* ButtonSystem::SelectedButton() const {
    const std::vector<Button*> all = buttons.Items();
    if (selected < 0 || static_cast<std::size_t>(selected) >= all.size())
        return nullptr;
    for (Button* button : all)
        if (button->elementId == static_cast<uint32_t>(selected))
            return button;
    return nullptr;
}

void ButtonSystem::Step(int32_t by) {
    const auto count = static_cast<int32_t>(Count());
    // One button has nowhere to go.
    if (count < 2 || selected < 0 || selected >= count)
        return;
    selected = (selected + by + count) % count;
    const Button* button = SelectedButton();
    if (!button || !button->owner)
        return;
    int32_t px, py;
    WorldToPointer(button->owner->x, button->owner->y, camX, camY, px, py);
    Core::Broadcast(MouseMovedMessage(px, py, false));
}

void ButtonSystem::ClickSelected() {
    const Button* button = SelectedButton();
    if (!button || !button->owner)
        return;
    int32_t px, py;
    WorldToPointer(button->owner->x, button->owner->y, camX, camY, px, py);
    Core::Broadcast(MouseClickedMessage(px, py, MouseButton::Left));
}

void ButtonSystem::OfferContinue() {
    continueChecked = true;
    if (const JobSystem* jobs = JobSystem::Instance(); jobs && jobs->CanContinue())
        return;
    std::vector<Button*> order;
    for (Button* button : buttons.Items())
        if (button->owner && button->elementId != Button::kNoId)
            order.push_back(button);
    std::sort(order.begin(), order.end(),
              [](const Button* a, const Button* b) { return a->elementId < b->elementId; });
    const auto gone = std::find_if(order.begin(), order.end(),
                                   [](const Button* b) { return b->command == "Continue"; });
    if (gone == order.end())
        return;
    // Each button after it takes the place and the number of the one
    // before, so the menu has no hole and the stick no dead stop.
    for (auto it = order.end() - 1; it != gone; --it) {
        (*it)->owner->x = (*(it - 1))->owner->x;
        (*it)->owner->y = (*(it - 1))->owner->y;
        (*it)->elementId = (*(it - 1))->elementId;
    }
    GameObject* object = (*gone)->owner;
    (*gone)->elementId = Button::kNoId;
    if (Factory* factory = Factory::Instance())
        factory->DestroyObject(object);
    selected = 0;
}

void ButtonSystem::Command(const std::string& command) {
    if (command == "Continue" || command == "NewGame") {
        if (JobSystem* jobs = JobSystem::Instance()) {
            if (command == "Continue")
                jobs->ContinueGame();
            else
                jobs->NewGame();
        }
        Command("Play");
    } else if (command == "Play") {
        Core::Broadcast(StartGameMessage());
        // The transition system moves on after its fade; without one the
        // game must still start.
        if (playAdvancesLevel)
            if (Core* core = Core::Instance())
                core->RequestState(GameState::NextLevel);
    } else if (command == "Options") {
        Core::Broadcast(InitPauseScreen());
    } else if (command == "Quit") {
        Core::Broadcast(InitPauseScreen());
        if (PauseSystem* pause = PauseSystem::Instance(); pause && pause->IsOpen())
            pause->PushScreen(PauseScreens::QuitConfirm);
    }
}

void ButtonSystem::SendMessage(Message* message) {
    if (message->id == MessageId::LevelChange) {
        continueChecked = false; // a new set of buttons
        return;
    }
    if (const auto* moved = As<MouseMovedMessage>(message)) {
        pointerX = moved->x;
        pointerY = moved->y;
        return;
    }
    if (const auto* level = As<SetAllVolumeMessage>(message)) {
        volume = level->volume;
        return;
    }
    if (const auto* stick = As<XboxLThumbMoved>(message)) {
        stickY = stick->y * static_cast<float>(stick->level);
        return;
    }
    if (message->id == MessageId::MoveCamera)
        return; // the camera is read from the renderer every update
    const InputActions& actions = Core::Actions();
    if (const auto* key = As<KeyMessage>(message)) {
        const bool down = message->id != MessageId::KeyReleased;
        bool changed = false;
        if (actions.IsKey(Action::MenuUp, key->key) && keyUp != down) {
            keyUp = down;
            changed = true;
        }
        if (actions.IsKey(Action::MenuDown, key->key) && keyDown != down) {
            keyDown = down;
            changed = true;
        }
        // The keys stand in for the stick, full over.
        if (changed)
            stickY = static_cast<float>(keyUp) - static_cast<float>(keyDown);
    }
    if (!Live() || !liveLastUpdate)
        return;
    if (const auto* input = As<ButtonInputMessage>(message)) {
        const std::string command = input->name;
        Command(command);
        return;
    }
    if (const auto* key = As<KeyTriggeredMessage>(message);
        key && actions.IsKey(Action::MenuSelect, key->key)) {
        ClickSelected();
        return;
    }
    if (const auto* pad = As<XboxTriggeredMessage>(message)) {
        if (actions.IsPadButton(Action::MenuSelect, pad->button)) {
            ClickSelected();
            return;
        }
        if (actions.IsPadButton(Action::MenuDown, pad->button)) {
            Step(1);
            return;
        }
        if (actions.IsPadButton(Action::MenuUp, pad->button)) {
            Step(-1);
            return;
        }
    }
    // A button's command may open the pause menu over the title: the
    // buttons then wait behind it.
    buttons.ForEachActive([message](Button* button) {
        if (Live())
            button->SendMessage(message);
    });
}

void ButtonSystem::RunStick() {
    const bool pushed = stickY <= -kStickThreshold || stickY >= kStickThreshold;
    if (StickRepeats(pushed, held, timers, kHoldDelay, kRepeatDelay))
        Step(stickY <= -kStickThreshold ? 1 : -1);
}

void ButtonSystem::Update(float dt) {
    if (const GraphicsSystem* graphics = GraphicsSystem::Instance()) {
        camX = graphics->Camera().x;
        camY = graphics->Camera().y;
    }
    if (SpaceManager::Active(Spaces::Game)) {
        if (!continueChecked && buttons.Size() > 0)
            OfferContinue();
        buttons.ForEachActive([dt](Button* button) { button->Update(dt); });
        if (!SpaceManager::Active(Spaces::Transition))
            RunStick();
    }
    liveLastUpdate = Live();
}

void ButtonSystem::Free() {
    buttons.ClearAll();
    selected = 0;
}

} // namespace Flurr
