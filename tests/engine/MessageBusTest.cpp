// The message bus: immediate, depth-first delivery, and what the core hears.

#include <type_traits>

#include "engine/EngineTestSupport.h"

using namespace Flurr;
namespace {

using EngineTest::Recorder;
using Lines = std::vector<std::string>;

TEST(MessageBus, DeliveryFollowsRegistrationDepthFirstAndQuitIsNeverDelivered) {
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

    EngineTest::Send(core, KeyTriggeredMessage(32));
    EXPECT_EQ(order, (Lines{"b", "a", "b"}));
    EngineTest::Send(core, KeyPressedMessage(32));
    EXPECT_EQ(order.size(), 3u) << "ids nobody registered for go nowhere";

    EngineTest::Send(core, MessageQuit());
    EXPECT_EQ(order.size(), 3u);
    EXPECT_EQ(core.RequestedState(), GameState::Quit);
    EXPECT_EQ(core.CurrentState(), GameState::Running);

    // Nested sends are delivered depth first.
    Recorder* first = Recorder::AddTo(core, {MessageId::BasicTrigger});
    Recorder* second = Recorder::AddTo(core, {MessageId::BasicTrigger});
    Recorder* nested = Recorder::AddTo(core, {MessageId::CharacterTyped, MessageId::BasicTrigger});
    order.clear();
    first->onMessage = [&](Message*) {
        order.push_back("first");
        EngineTest::Send(core, CharacterTypedMessage('x'));
        order.push_back("first done");
    };
    second->onMessage = [&](Message*) { order.push_back("second"); };
    nested->onMessage = [&](Message* m) { order.push_back("nested " + Recorder::Describe(m)); };
    EngineTest::Send(core, BasicTriggerMessage("Door"));
    EXPECT_EQ(order,
              (Lines{"first", "nested Char 120", "first done", "second", "nested Event Door"}));

    // Registering during a delivery (even growing the list) waits a message.
    Recorder* registrar = Recorder::AddTo(core, {MessageId::LevelChange});
    Recorder* late = Recorder::AddTo(core);
    registrar->onMessage = [&](Message*) {
        for (int i = 0; i < 64; ++i)
            core.RegisterForMessage(late, MessageId::LevelChange);
    };
    EngineTest::Send(core, LevelChangeMessage());
    EXPECT_EQ(registrar->ids.size(), 1u);
    EXPECT_TRUE(late->ids.empty());
    EngineTest::Send(core, LevelChangeMessage());
    EXPECT_EQ(registrar->ids.size(), 2u);
    EXPECT_EQ(late->ids.size(), 64u);
}

// Nothing but a message class can make a message, and a shape cannot be
// copied out of its message: an id always tells the class behind it.
static_assert(!std::is_constructible_v<Message, int32_t>);
static_assert(!std::is_copy_constructible_v<Message>);
static_assert(!std::is_constructible_v<MouseButtonMessage, const MouseClickedMessage&>);
static_assert(!std::is_assignable_v<KeyPressedMessage&, const KeyPressedMessage&>);

TEST(MessageBus, AsReadsAMessageOnlyAsItsOwnClassOrShape) {
    const KeyReleasedMessage released(0x41);
    EXPECT_EQ(As<KeyReleasedMessage>(released)->key, 0x41);
    EXPECT_EQ(As<KeyMessage>(released)->key, 0x41);
    EXPECT_EQ(As<KeyPressedMessage>(released), nullptr);
    EXPECT_EQ(As<CharacterTypedMessage>(released), nullptr);
    EXPECT_EQ(As<KeyReleasedMessage>(static_cast<const Message*>(nullptr)), nullptr);
    // Every id of a shape reads as the shape; no other id does.
    const MouseClickedMessage clicked(1, 2, MouseButton::Left);
    const DoubleClickMessage doubled(7, 8, MouseButton::Left);
    EXPECT_EQ(As<MouseButtonMessage>(clicked)->y + As<MouseButtonMessage>(doubled)->y, 10);
    EXPECT_EQ(As<MouseButtonMessage>(MouseMovedMessage(1, 2, true)), nullptr);
    const PerchAlertPerchMessage perch(10.0f, 20.0f);
    EXPECT_EQ(As<PerchAlertMessage>(perch)->y, 20.0f);
    EXPECT_EQ(As<PerchAlertPlayerMessage>(perch), nullptr);
}

} // namespace
