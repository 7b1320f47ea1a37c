// The message bus: immediate, depth-first delivery to registered systems,
// with two ids the core itself reacts to.

#include <initializer_list>
#include <type_traits>

#include "engine/EngineTestSupport.h"

namespace Flurr {
namespace {

using EngineTest::Recorder;
using Lines = std::vector<std::string>;

TEST(MessageBus, DeliveryFollowsRegistrationAndQuitIsNeverDelivered) {
    Core core;
    Recorder* a = Recorder::AddTo(core, {}, "a");
    Recorder* b = Recorder::AddTo(core, {MessageId::Quit}, "b");
    Lines order;
    a->onMessage = [&](Message*) { order.push_back("a"); };
    b->onMessage = [&](Message*) { order.push_back("b"); };
    core.RegisterForMessage(b, MessageId::KeyTriggered);
    core.RegisterForMessage(a, MessageId::KeyTriggered);
    core.RegisterForMessage(b, MessageId::KeyTriggered);
    core.BeginLevel();

    KeyTriggeredMessage key(32);
    core.SendMessage(&key);
    EXPECT_EQ(order, (Lines{"b", "a", "b"}));
    // Ids nobody registered for go nowhere.
    KeyPressedMessage held(32);
    core.SendMessage(&held);
    EXPECT_EQ(order.size(), 3u);

    MessageQuit quit;
    core.SendMessage(&quit);
    EXPECT_EQ(order.size(), 3u);
    EXPECT_EQ(core.RequestedState(), GameState::Quit);
    EXPECT_EQ(core.CurrentState(), GameState::Running);
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
    EXPECT_NE(As<XboxButtonMessage>(XboxPressedMessage(0x1000)), nullptr);
    EXPECT_EQ(As<XboxButtonMessage>(XboxTriggerMoved(1, 0)), nullptr);
    EXPECT_NE(As<XboxThumbMessage>(XboxRThumbMoved(1, 0, 2)), nullptr);
    EXPECT_EQ(As<XboxLThumbMoved>(XboxRThumbMoved(1, 0, 2)), nullptr);
    const PerchAlertPerchMessage perch(10.0f, 20.0f);
    EXPECT_EQ(As<PerchAlertMessage>(perch)->y, 20.0f);
    EXPECT_EQ(As<PerchAlertPlayerMessage>(perch), nullptr);

    // Payloads travel by value: the sender's copy may change or go at once.
    PostProcessRecord block;
    block.target.blur = 3.0f;
    const PostProcessTransitionMessage transition(block);
    block.target.blur = 0.0f;
    EXPECT_EQ(As<PostProcessTransitionMessage>(transition)->record.target.blur, 3.0f);
}

TEST(MessageBus, NestedSendsGoDepthFirstAndLateRegistrationsWaitForTheNextMessage) {
    Core core;
    Recorder* first = Recorder::AddTo(core, {MessageId::BasicTrigger});
    Recorder* second = Recorder::AddTo(core, {MessageId::BasicTrigger});
    Recorder* nested = Recorder::AddTo(core, {MessageId::CharacterTyped, MessageId::BasicTrigger});
    Lines order;
    first->onMessage = [&](Message*) {
        order.push_back("first");
        CharacterTypedMessage typed('x');
        core.SendMessage(&typed);
        order.push_back("first done");
    };
    second->onMessage = [&](Message*) { order.push_back("second"); };
    nested->onMessage = [&](Message* m) { order.push_back("nested " + Recorder::Describe(m)); };
    BasicTriggerMessage trigger("Door");
    core.SendMessage(&trigger);
    EXPECT_EQ(order,
              (Lines{"first", "nested Char 120", "first done", "second", "nested Event Door"}));

    // Growing the very list being delivered (enough to reallocate it).
    Recorder* registrar = Recorder::AddTo(core, {MessageId::LevelChange});
    Recorder* late = Recorder::AddTo(core);
    registrar->onMessage = [&](Message*) {
        for (int i = 0; i < 64; ++i)
            core.RegisterForMessage(late, MessageId::LevelChange);
    };
    LevelChangeMessage change;
    core.SendMessage(&change);
    EXPECT_EQ(registrar->ids.size(), 1u);
    EXPECT_TRUE(late->ids.empty());
    core.SendMessage(&change);
    EXPECT_EQ(registrar->ids.size(), 2u);
    EXPECT_EQ(late->ids.size(), 64u);
}

} // namespace
} // namespace Flurr
