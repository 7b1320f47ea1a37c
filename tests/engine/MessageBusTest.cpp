// The message bus: immediate, depth-first delivery to registered systems,
// with two ids the core itself reacts to.

#include "engine/EngineTestSupport.h"

namespace Flurr {
namespace {

using EngineTest::Recorder;

// The systems belong to the core; these hand back a typed pointer.
Recorder* AddRecorder(Core& core, const std::string& label) {
    auto* r = new Recorder(label);
    core.AddSystem(r);
    return r;
}

TEST(MessageBus, QuitIsNeverDeliveredAndRequestsQuit) {
    Core core;
    Recorder* listener = AddRecorder(core, "quit listener");
    core.RegisterForMessage(listener, MessageId::Quit);
    core.BeginLevel();

    MessageQuit quit;
    core.SendMessage(&quit);

    EXPECT_TRUE(listener->ids.empty());
    EXPECT_EQ(core.RequestedState(), Flurr::GameState::Quit);
    EXPECT_EQ(core.CurrentState(), Flurr::GameState::Running);
}

TEST(MessageBus, PlayButtonStartsTheMusicBeforeAnyoneSeesTheButton) {
    Core core;
    // One system hears everything involved, so the relative order of the
    // sound messages and the button is visible in one log.
    Recorder* all = AddRecorder(core, "all");
    Recorder* sound = AddRecorder(core, "sound");
    Recorder* buttons = AddRecorder(core, "buttons");
    for (int32_t id : {MessageId::ButtonInput, MessageId::StopAllSounds, MessageId::PlaySound})
        core.RegisterForMessage(all, id);
    core.RegisterForMessage(sound, MessageId::StopAllSounds);
    core.RegisterForMessage(sound, MessageId::PlaySound);
    core.RegisterForMessage(buttons, MessageId::ButtonInput);

    bool soundsDoneBeforeButton = false;
    buttons->onMessage = [&](Message*) { soundsDoneBeforeButton = sound->ids.size() == 3; };

    ButtonInputMessage play("Play");
    core.SendMessage(&play);

    EXPECT_EQ(all->log, (std::vector<std::string>{"41", "39 Elation 1 -1",
                                                  "39 AmbientWindLoop 1 -1", "51 Play"}));
    EXPECT_EQ(sound->log,
              (std::vector<std::string>{"41", "39 Elation 1 -1", "39 AmbientWindLoop 1 -1"}));
    EXPECT_EQ(buttons->log, (std::vector<std::string>{"51 Play"}));
    EXPECT_TRUE(soundsDoneBeforeButton);

    // Only the exact name counts.
    for (const char* name : {"play", "Play ", "PlayAgain", "", " Play"}) {
        all->log.clear();
        sound->log.clear();
        ButtonInputMessage other(name);
        core.SendMessage(&other);
        EXPECT_EQ(all->log, (std::vector<std::string>{"51 " + std::string(name)})) << name;
        EXPECT_TRUE(sound->log.empty()) << name;
    }

    // A bare message that only carries the id has no name to compare.
    all->log.clear();
    Message bare(MessageId::ButtonInput);
    core.SendMessage(&bare);
    EXPECT_EQ(all->log, (std::vector<std::string>{"51"}));
}

TEST(MessageBus, DeliveryFollowsRegistrationIncludingDuplicates) {
    Core core;
    Recorder* a = AddRecorder(core, "a");
    Recorder* b = AddRecorder(core, "b");
    std::vector<std::string> order;
    a->onMessage = [&](Message*) { order.push_back("a"); };
    b->onMessage = [&](Message*) { order.push_back("b"); };
    core.RegisterForMessage(b, MessageId::KeyTriggered);
    core.RegisterForMessage(a, MessageId::KeyTriggered);
    core.RegisterForMessage(b, MessageId::KeyTriggered);

    KeyTriggeredMessage key(32);
    core.SendMessage(&key);
    EXPECT_EQ(order, (std::vector<std::string>{"b", "a", "b"}));

    // Ids nobody registered for go nowhere.
    order.clear();
    for (int32_t id : {0, 2, 18, 49, 1000, -1}) {
        Message m(id);
        core.SendMessage(&m);
    }
    EXPECT_TRUE(order.empty());
    EXPECT_EQ(core.RequestedState(), Flurr::GameState::Restart);
}

TEST(MessageBus, NestedSendsAreDeliveredDepthFirst) {
    Core core;
    Recorder* first = AddRecorder(core, "first");
    Recorder* second = AddRecorder(core, "second");
    Recorder* nested = AddRecorder(core, "nested");
    std::vector<std::string> order;
    core.RegisterForMessage(first, MessageId::BasicTrigger);
    core.RegisterForMessage(second, MessageId::BasicTrigger);
    core.RegisterForMessage(nested, MessageId::CharacterTyped);
    core.RegisterForMessage(nested, MessageId::BasicTrigger);

    first->onMessage = [&](Message*) {
        order.push_back("first");
        CharacterTypedMessage typed('x');
        core.SendMessage(&typed);
        order.push_back("first done");
    };
    second->onMessage = [&](Message*) { order.push_back("second"); };
    nested->onMessage = [&](Message* m) {
        order.push_back(m->id == MessageId::CharacterTyped ? "nested typed" : "nested trigger");
    };

    BasicTriggerMessage trigger("Door");
    core.SendMessage(&trigger);
    EXPECT_EQ(order, (std::vector<std::string>{"first", "nested typed", "first done", "second",
                                               "nested trigger"}));
}

TEST(MessageBus, RegistrationDuringDeliveryWaitsForTheNextMessage) {
    Core core;
    Recorder* registrar = AddRecorder(core, "registrar");
    Recorder* late = AddRecorder(core, "late");
    core.RegisterForMessage(registrar, MessageId::LevelChange);
    int registrations = 0;
    registrar->onMessage = [&](Message*) {
        // Grows the very list being delivered; with enough growth a
        // delivery walking the live list would also reallocate under it.
        for (int i = 0; i < 64; ++i)
            core.RegisterForMessage(late, MessageId::LevelChange);
        ++registrations;
    };

    LevelChangeMessage change;
    core.SendMessage(&change);
    EXPECT_EQ(registrations, 1);
    EXPECT_TRUE(late->ids.empty());

    core.SendMessage(&change);
    EXPECT_EQ(registrations, 2);
    EXPECT_EQ(late->ids.size(), 64u);
}

} // namespace
} // namespace Flurr
