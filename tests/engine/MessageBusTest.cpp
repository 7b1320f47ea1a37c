// The message bus: immediate, depth-first delivery to registered systems,
// with two ids the core itself reacts to.

#include <initializer_list>
#include <type_traits>

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
    KeyPressedMessage held(32);
    core.SendMessage(&held);
    ScreenSizeMessage size(800, 600);
    core.SendMessage(&size);
    EXPECT_TRUE(order.empty());
    EXPECT_EQ(core.RequestedState(), Flurr::GameState::Restart);
}

// Nothing but a message class can make a message, and a shape cannot be
// copied out of its message: an id always tells the class behind it.
static_assert(!std::is_constructible_v<Message, int32_t>);
static_assert(!std::is_copy_constructible_v<Message>);
static_assert(!std::is_constructible_v<MouseButtonMessage, const MouseClickedMessage&>);
static_assert(!std::is_assignable_v<KeyPressedMessage&, const KeyPressedMessage&>);

TEST(MessageBus, AsReadsAMessageOnlyAsItsOwnClassOrShape) {
    const KeyReleasedMessage released(0x41);
    const Message& message = released;
    ASSERT_NE(As<KeyReleasedMessage>(message), nullptr);
    EXPECT_EQ(As<KeyReleasedMessage>(message)->key, 0x41);
    EXPECT_EQ(As<KeyPressedMessage>(message), nullptr);
    EXPECT_EQ(As<CharacterTypedMessage>(message), nullptr);
    ASSERT_NE(As<KeyMessage>(message), nullptr);
    EXPECT_EQ(As<KeyMessage>(message)->key, 0x41);
    EXPECT_EQ(As<KeyReleasedMessage>(static_cast<const Message*>(nullptr)), nullptr);

    // Every id of a shape reads as the shape, with the payload it was sent
    // with; no other id does.
    const MouseClickedMessage clicked(1, 2, MouseButton::Left);
    const MousePressedMessage pressed(3, 4, MouseButton::Right);
    const MouseReleasedMessage releasedButton(5, 6, MouseButton::Middle);
    const DoubleClickMessage doubled(7, 8, MouseButton::Left);
    int32_t sum = 0;
    for (const Message* m :
         std::initializer_list<const Message*>{&clicked, &pressed, &releasedButton, &doubled}) {
        const auto* button = As<MouseButtonMessage>(m);
        ASSERT_NE(button, nullptr) << m->id;
        sum += button->x + button->y;
    }
    EXPECT_EQ(sum, 36);
    EXPECT_EQ(As<MouseButtonMessage>(MouseMovedMessage(1, 2, true)), nullptr);
    EXPECT_EQ(As<MouseButtonMessage>(MouseScrolledMessage(true)), nullptr);

    EXPECT_NE(As<XboxButtonMessage>(XboxPressedMessage(0x1000)), nullptr);
    EXPECT_EQ(As<XboxButtonMessage>(XboxTriggerMoved(1, 0)), nullptr);
    EXPECT_NE(As<XboxThumbMessage>(XboxRThumbMoved(1, 0, 2)), nullptr);
    EXPECT_EQ(As<XboxLThumbMoved>(XboxRThumbMoved(1, 0, 2)), nullptr);
    const PerchAlertPerchMessage perch(10.0f, 20.0f);
    ASSERT_NE(As<PerchAlertMessage>(perch), nullptr);
    EXPECT_EQ(As<PerchAlertMessage>(perch)->y, 20.0f);
    EXPECT_EQ(As<PerchAlertPlayerMessage>(perch), nullptr);

    // Payloads travel by value: the sender's copy may change or go at once.
    PostProcessRecord block;
    block.target.blur = 3.0f;
    const PostProcessTransitionMessage transition(block);
    block.target.blur = 0.0f;
    EXPECT_EQ(As<PostProcessTransitionMessage>(transition)->record.target.blur, 3.0f);
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
