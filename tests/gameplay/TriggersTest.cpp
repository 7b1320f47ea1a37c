// Trigger components in the real game, with the player inside or near them.

#include <cmath>

#include "gameplay/Triggers.h"
#include "player/PlayerTestSupport.h"

using namespace Flurr;
namespace {

using EngineTest::LevelText;
using PlayerTest::PlayerGame;
using Lines = std::vector<std::string>;

constexpr float kAway = 1500.0f;

// The test ground with `objects`, the player far from them.
struct TriggerGame : PlayerGame {
    explicit TriggerGame(const LevelText& objects) : PlayerGame(objects.Objects()) {
        Place(kAway, 60);
    }
};

// A ghost box 200 x 200 round (0, 60) with one component.
LevelText GhostBox(const std::string& component, const LevelText::Keys& keys) {
    return std::move(
        LevelText().Object(0, 60).Box(200, 200, LevelText::Ghost).With(component, keys));
}

TEST(Triggers, BasicAndPostProcessTriggersActEveryFrameThePlayerIsInside) {
    LevelText box = GhostBox("BasicTrigger", {{"TriggeredEvent", "GateOpened"}});
    TriggerGame t(box.With(
        "PostProcessTrigger",
        {{"TransitionTime", "0"}, {"White Out (Red)", "0"}, {"White Out (Green)", "0.5"}}));
    PostProcessRecord last;
    t.heard->onMessage = [&](Message* m) {
        if (const auto* post = As<PostProcessTransitionMessage>(m))
            last = post->record;
    };
    const PostProcessState& shown = t.graphics->PostProcessing();
    t.Frames(3);
    EXPECT_EQ(t.heard->Count("Event") + t.heard->Count("PostProcess"), 0u);

    // Inside: the event and the record (shown at once) every frame.
    t.Place(0, 60);
    t.Frames(3);
    EXPECT_EQ(t.heard->Lines("Event"), Lines(3, "Event GateOpened"));
    EXPECT_EQ(t.heard->Lines("PostProcess"), Lines(3, "PostProcess 0"));
    EXPECT_EQ(last, (PostProcessRecord{.target = {.outWhite = {0.0f, 0.5f, 1.0f}}}));
    EXPECT_EQ(shown.current.outWhite[1], 0.5f);

    // Leaving sends the neutral block once, shown on the next frame.
    t.Place(kAway, 60);
    t.Frames(3);
    EXPECT_EQ(t.heard->Count("Event"), 3u);
    EXPECT_EQ(t.heard->Count("PostProcess"), 4u);
    EXPECT_EQ(last, PostProcessRecord{});
    EXPECT_EQ(shown.current.outWhite[1], 1.0f);
}

TEST(Triggers, PostProcessTriggerWithATransitionTimeApproachesGradually) {
    TriggerGame t(
        GhostBox("PostProcessTrigger",
                 {{"TransitionTime", "2"}, {"White Out (Red)", "0"}, {"Distortion", "true"}}));
    t.Place(0, 60);
    t.Frames(61);
    // The same record every frame restarts the transition from where it
    // is: each frame covers dt / 2 s of what is left, not a straight line.
    const PostProcessState& post = t.graphics->PostProcessing();
    EXPECT_NEAR(post.current.outWhite[0], std::pow(119.0 / 120.0, 60.0), 0.01);
    EXPECT_TRUE(post.current.distort);
    EXPECT_TRUE(post.target.distort);
    EXPECT_EQ(t.graphics->PostPassesRun(), 10);

    // Leaving goes back to neutral over the same two seconds.
    t.Place(kAway, 60);
    t.Frames(2);
    EXPECT_EQ(t.heard->Lines("PostProcess").back(), "PostProcess 2");
    t.Frames(130);
    EXPECT_NEAR(post.current.outWhite[0], 1.0f, 1e-5);
    EXPECT_FALSE(post.current.distort);
}

TEST(Triggers, PostProcessTriggerReadsEveryKey) {
    const char* const keys[] = {"TransitionTime",    "Bloom Factor",     "Black In (Red)",
                                "Black In (Green)",  "Black In (Blue)",  "Black Out (Red)",
                                "Black Out (Green)", "Black Out (Blue)", "White In (Red)",
                                "White In (Green)",  "White In (Blue)",  "White Out (Red)",
                                "White Out (Green)", "White Out (Blue)"};
    LevelText::Keys values;
    for (int i = 0; i < 14; ++i)
        values.emplace_back(keys[i], std::to_string(i + 1));
    values.emplace_back("Distortion", "true");
    PlayerGame game(GhostBox("PostProcessTrigger", values).Objects(), PlayerTest::kNoPlayer);
    auto* trigger = EngineTest::FindComponent<PostProcessTrigger>(*game.factory);
    ASSERT_NE(trigger, nullptr);
    EXPECT_EQ(trigger->record.duration, 1.0f);
    for (int field = 0; field < PostProcessParams::kFloatFields; ++field)
        EXPECT_EQ(trigger->record.target.Field(field), static_cast<float>(field + 2))
            << keys[field + 1];
    EXPECT_TRUE(trigger->distort);
}

TEST(Triggers, TextTriggerShowsItsTextNearThePlayerOnly) {
    TriggerGame t(LevelText().Object(0, 60).With(
        "TextTrigger", {{"Text", "Hold Shift to run."}, {"TriggerRadius", "500"}}));
    auto* trigger = EngineTest::FindComponent<TextTrigger>(*t.factory);
    ASSERT_NE(trigger, nullptr);
    EXPECT_EQ(trigger->TriggerRadius, 500.0f);

    // Within its radius but not within 200 units: nothing shows.
    t.Place(300, 60);
    t.Frames(2);
    EXPECT_EQ(t.heard->Count("Text Hold Shift"), 0u);
    GameObject* band = t.factory->FindObject(trigger->textBox);
    ASSERT_NE(band, nullptr);
    GraphicsComponent* sprite = band->Get<GraphicsComponent>();
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->Opacity, 0.0f);
    t.Place(150, 60);
    t.Frames(2);
    EXPECT_EQ(t.heard->Lines("Text Hold Shift").back(), "Text Hold Shift to run.");
    EXPECT_EQ(sprite->Opacity, 0.5f);
    // The pause menu takes the band away (it would be drawn over the menu).
    t.spaces->SetSpaceActive(Spaces::Game, false);
    t.spaces->SetSpaceActive(Spaces::Pause, true);
    t.Frame();
    EXPECT_EQ(sprite->Opacity, 0.0f);
    t.spaces->SetSpaceActive(Spaces::Pause, false);
    t.spaces->SetSpaceActive(Spaces::Game, true);

    // The band belongs to the running game: a saved level leaves it out.
    ASSERT_TRUE(t.factory->SaveLevel(t.dir.Path("Saved.zorvel"), ""));
    const std::string saved = t.dir.Read("Saved.zorvel");
    EXPECT_NE(saved.find("Text:Hold Shift to run."), std::string::npos);
    EXPECT_NE(saved.find("TriggerRadius:500"), std::string::npos);
    EXPECT_EQ(saved.find("Animation:Black"), std::string::npos);

    const int32_t bandId = trigger->textBox;
    t.factory->DestroyObject(trigger->owner);
    t.Frame();
    EXPECT_EQ(t.factory->FindObject(bandId), nullptr);
}

} // namespace
