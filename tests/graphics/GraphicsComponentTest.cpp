// The sprite's animation rules: requests by priority and flags, the
// queue, stepping, looping and holding, loading from level text, and
// unknown names. Run on the real renderer and banks.

#include "graphics/GraphicsTestSupport.h"

namespace {

using namespace Flurr;
using namespace GraphicsTest;

class SpriteAnimation : public GameTest {};

// "animation|queued animation|frame rate" of a sprite.
std::string State(const GraphicsComponent& s) {
    return s.animation + "|" + s.queuedAnimation + "|" + FormatFloat(s.frameRate);
}

TEST_F(SpriteAnimation, RequestsFollowPriorityAndTheQueueAndSteppingLoopsHoldsOrHandsOver) {
    GraphicsComponent* s = game.Sprite("Red", 0, 0, 10, 10);
    // Loaded at priority 2; FrameTime 0 in the bank means one frame a second.
    EXPECT_EQ(State(*s), "Red||1");
    EXPECT_EQ(s->flags, 0) << "the file's Loop is 0";
    // Lower without Wait: dropped, but the rate is still taken.
    s->SetAnimation("Cycle", 1.0f, 0);
    EXPECT_EQ(State(*s), "Red||10");
    // Lower with Wait: queued.
    s->SetAnimation("Cycle", 1.0f, AnimationFlag::Wait | AnimationFlag::Loop);
    EXPECT_EQ(s->queuedAnimation, "Cycle");
    EXPECT_EQ(s->queuedFlags, AnimationFlag::Wait | AnimationFlag::Loop);
    EXPECT_FLOAT_EQ(s->queuedPriority, 1.0f);
    // A later queued request replaces the earlier.
    s->SetAnimation("Slow", 0.5f, AnimationFlag::Wait);
    EXPECT_EQ(s->queuedAnimation, "Slow");
    // Equal priority with Wait and WaitAlways waits too.
    s->SetAnimation("Blue", 2.0f, AnimationFlag::Wait | AnimationFlag::WaitAlways);
    EXPECT_EQ(State(*s), "Red|Blue|1");
    // Equal priority otherwise replaces and clears the queue; KeepRate
    // keeps the rate.
    s->SetFrameRate(7.0f);
    s->SetAnimation("Green", 2.0f, AnimationFlag::KeepRate | AnimationFlag::Loop);
    EXPECT_EQ(State(*s), "Green||7");
    EXPECT_EQ(s->Loop, 1);
    // The animation already playing: nothing changes, not even the rate.
    s->frame = 0.5f;
    s->SetAnimation("Green", 9.0f, 0);
    EXPECT_FLOAT_EQ(s->frame, 0.5f);
    EXPECT_FLOAT_EQ(s->priority, 2.0f);
    EXPECT_EQ(State(*s), "Green||7");
    // Higher priority replaces from frame 0 with the animation's rate.
    s->SetAnimation("Cycle", 3.0f, 0);
    EXPECT_EQ(State(*s), "Cycle||10");
    EXPECT_FLOAT_EQ(s->frame, 0.0f);
    s->SetFrameRate(-3.0f);
    EXPECT_FLOAT_EQ(s->frameRate, 0.0f);

    // Stepping, on a second sprite.
    s = game.Sprite("Red", 0, 0, 10, 10);
    s->SetAnimation("Cycle", 3.0f, 0); // 3 frames at 10 per second, no loop
    game.Frame();                      // 1/60 s
    EXPECT_NEAR(s->frame, 10.0f / 60.0f, 1e-5);
    for (int i = 0; i < 30; ++i)
        game.Frame();
    EXPECT_FLOAT_EQ(s->frame, 2.0f) << "a one-shot holds its last frame";
    EXPECT_EQ(s->FrameIndex(), 2);

    // Looping wraps with fmod: a big step skips frames but stays in range.
    s->SetAnimation("Slow", 4.0f, AnimationFlag::Loop);
    s->SetFrameRate(130.0f); // 130 / 60 = 2.1667 frames a step
    game.Frame();
    EXPECT_NEAR(s->frame, std::fmod(130.0f / 60.0f, 2.0f), 1e-4);
    EXPECT_LT(s->FrameIndex(), 2);

    // A queued request starts at frame 0 when the current one ends, with
    // the queued flags and priority and the queued rate (never set: 0).
    s->SetAnimation("Cycle", 5.0f, 0);
    s->SetAnimation("Blue", 1.0f, AnimationFlag::Wait);
    EXPECT_EQ(s->queuedAnimation, "Blue");
    // The waiting request took Blue's rate; the caller sets its own after.
    EXPECT_FLOAT_EQ(s->frameRate, 1.0f);
    s->SetFrameRate(10.0f);
    for (int i = 0; i < 20; ++i)
        game.Frame();
    EXPECT_EQ(s->animation, "Blue");
    EXPECT_FLOAT_EQ(s->priority, 1.0f);
    EXPECT_FLOAT_EQ(s->frame, 0.0f);
    EXPECT_FLOAT_EQ(s->frameRate, 0.0f);

    // Not stepped while paused, still drawn.
    s->SetAnimation("Cycle", 9.0f, AnimationFlag::Loop);
    game.spaces->SetSpaceActive("GameSpace", false);
    game.Frame();
    EXPECT_FLOAT_EQ(s->frame, 0.0f);
    game.spaces->SetSpaceActive("GameSpace", true);
    game.Frame();
    EXPECT_GT(s->frame, 0.0f);

    // A frame position past the end (set from outside) draws the last
    // frame instead of reading past the list.
    s->frame = 7.5f;
    EXPECT_EQ(s->FrameIndex(), 2);
    s->frame = -1.0f;
    EXPECT_EQ(s->FrameIndex(), 0);
}

TEST_F(SpriteAnimation, LoadingAndSavingAndUnknownNames) {
    GraphicsComponent* s =
        game.Sprite("Cycle", 0, 0, 10, 10,
                    "      ZPos:3\n      ZOrder:-1\n      FrameRate:-5\n      Loop:1\n"
                    "      Opacity:0.25\n");
    EXPECT_EQ(s->animation, "Cycle");
    EXPECT_EQ(s->flags, AnimationFlag::Loop);
    // A negative rate in a file freezes the sprite.
    EXPECT_EQ((std::vector{s->frameRate, s->ZPos, s->ZOrder, s->Opacity}),
              (std::vector{0.0f, 3.0f, -1.0f, 0.25f}));

    const std::string saved = EngineTest::SavedText(*s);
    EXPECT_NE(saved.find("Animation:Cycle"), std::string::npos) << saved;
    EXPECT_NE(saved.find("Loop:1"), std::string::npos) << saved;
    // A plain sprite saves only the game's own keys.
    EXPECT_EQ(saved.find("Shader"), std::string::npos) << saved;
    EXPECT_EQ(saved.find("Additive"), std::string::npos) << saved;

    // Levels may ask for a frame-blending shader and additive blending;
    // both survive saving and loading again.
    GraphicsComponent* glowing = game.Sprite("Cycle", -300, 0, 10, 10,
                                             "      Loop:1\n      Shader:2\n      Additive:true\n");
    EXPECT_EQ(glowing->shader, SpriteShader::ClockWipe);
    EXPECT_TRUE(glowing->additive);
    const std::string glowText = EngineTest::SavedText(*glowing);
    const std::size_t body = glowText.find("ZPos");
    ASSERT_NE(body, std::string::npos) << glowText;
    GraphicsComponent* copy =
        game.Sprite("Cycle", -250, 0, 10, 10,
                    glowText.substr(body, glowText.find("-GraphicsComponent") - body));
    EXPECT_EQ(copy->shader, SpriteShader::ClockWipe) << glowText;
    EXPECT_TRUE(copy->additive) << glowText;

    // A level naming a missing animation: reported with the name and the
    // object, once, and the sprite keeps what it has.
    EngineTest::WarningLog log;
    GraphicsComponent* missing = game.Sprite("Nowhere", 100, 0, 10, 10);
    missing->SetAnimation("Nowhere", 9.0f, 0);
    EXPECT_EQ(missing->animation, ResourceBank::kNoAnimation);
    const std::string id = std::to_string(missing->owner->id);
    EXPECT_EQ(log.Count("Specified animation not found: \"Nowhere\" (object " + id + ")"), 1);
    // "NoAnimation" draws the default image.
    EXPECT_TRUE(PixelIs(game.Frame(), 500, 300, kGrey));

    // Freeing takes the sprite off the draw list, and freeing twice is safe.
    const std::size_t before = game.graphics->SpriteCount();
    missing->Free();
    missing->Free();
    EXPECT_EQ(game.graphics->SpriteCount(), before - 1);
}

} // namespace
