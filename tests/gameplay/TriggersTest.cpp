// Trigger components in the real game: what they announce, what the
// screen shows while the player is inside or near them, and their data.

#include <gtest/gtest.h>

#include <cmath>

#include "gameplay/GameplayTestSupport.h"
#include "gameplay/Triggers.h"
#include "graphics/GraphicsTestSupport.h"

namespace Flurr {
namespace {

using GameplayTest::GhostBox;
using GameplayTest::MessageLog;
using PlayerTest::PlayerGame;

constexpr float kAway = 1500.0f;

struct TriggerGame {
    explicit TriggerGame(const std::string& objects, int width = PlayerTest::kWidth,
                         int height = PlayerTest::kHeight) {
        PlayerGame::Options options;
        options.objects = objects;
        options.width = width;
        options.height = height;
        game = std::make_unique<PlayerGame>(options);
        log = new MessageLog(*game->core);
        game->core->AddSystem(log);
        SetBackgroundMessage sky("Resources/Images/Backgrounds/Sky.png");
        game->core->SendMessage(&sky);
        game->Place(kAway, 60);
    }
    // Mean of one colour channel over the whole finished frame.
    double MeanChannel(int channel) {
        const Image image = game->graphics->ReadBackBuffer();
        double sum = 0;
        for (std::size_t i = static_cast<std::size_t>(channel); i < image.rgba.size(); i += 4)
            sum += image.rgba[i];
        return sum / (static_cast<double>(image.rgba.size()) / 4.0);
    }
    std::unique_ptr<PlayerGame> game;
    MessageLog* log = nullptr;
};

TEST(Triggers, BasicTriggerAnnouncesItsEventEveryFrameThePlayerTouchesIt) {
    TriggerGame t(GhostBox(
        0, 60, 200, 200, "    BasicTrigger\n      TriggeredEvent:GateOpened\n    -BasicTrigger\n"));
    t.game->Frames(3);
    EXPECT_TRUE(t.log->events.empty());
    t.game->Place(0, 60);
    t.game->Frames(3);
    EXPECT_EQ(t.log->events, std::vector<std::string>(3, "GateOpened"));
    t.game->Place(kAway, 60);
    t.game->Frames(3);
    EXPECT_EQ(t.log->events.size(), 3u);
}

TEST(Triggers, PostProcessTriggerColoursTheScreenWhileThePlayerIsInside) {
    TriggerGame t(GhostBox(0, 60, 200, 200,
                           "    PostProcessTrigger\n      TransitionTime:0\n"
                           "      White Out (Red):0\n      White Out (Green):0.5\n"
                           "    -PostProcessTrigger\n"));
    t.game->Frames(2);
    const double redOutside = t.MeanChannel(0);
    const double greenOutside = t.MeanChannel(1);
    EXPECT_GT(redOutside, 80.0);
    EXPECT_TRUE(t.log->records.empty());

    // Inside: the record every frame; the picture loses its red and half
    // its green, the blue stays.
    t.game->Place(0, 60);
    t.game->Frames(3);
    ASSERT_EQ(t.log->records.size(), 3u);
    const PostProcessRecord& record = t.log->records.back();
    EXPECT_EQ(record.target.blur, 1.0f);
    EXPECT_EQ(record.target.outWhite[0], 0.0f);
    EXPECT_EQ(record.target.outWhite[1], 0.5f);
    EXPECT_EQ(record.target.outWhite[2], 1.0f);
    EXPECT_FALSE(record.target.distort);
    EXPECT_EQ(record.duration, 0.0f); // at once
    EXPECT_LT(t.MeanChannel(0), 3.0);
    EXPECT_NEAR(t.MeanChannel(1), greenOutside / 2.0, 6.0);

    // Leaving sends the neutral block once; with no transition time the
    // plain picture is back on the next frame.
    t.game->Place(kAway, 60);
    t.game->Frames(3);
    ASSERT_EQ(t.log->records.size(), 4u);
    EXPECT_EQ(t.log->records.back(), PostProcessRecord{});
    EXPECT_NEAR(t.MeanChannel(0), redOutside, 3.0);
}

TEST(Triggers, PostProcessTriggerWithATransitionTimeApproachesGradually) {
    TriggerGame t(GhostBox(0, 60, 200, 200,
                           "    PostProcessTrigger\n      TransitionTime:2\n"
                           "      White Out (Red):0\n      Distortion:true\n"
                           "    -PostProcessTrigger\n"));
    t.game->Place(0, 60);
    t.game->Frames(61);
    // The same record every frame restarts the transition from where it
    // is: each frame covers dt / 2 s of what is left, not a straight line.
    const PostProcessState& post = t.game->graphics->PostProcessing();
    EXPECT_NEAR(post.current.outWhite[0], std::pow(119.0 / 120.0, 60.0), 0.01);
    EXPECT_TRUE(post.current.distort);
    EXPECT_EQ(t.game->graphics->PostPassesRun(), 10);
    EXPECT_TRUE(t.log->records.back().target.distort);

    // Leaving goes back to neutral over the same two seconds.
    t.game->Place(kAway, 60);
    t.game->Frames(2);
    EXPECT_EQ(t.log->records.back().duration, 2.0f);
    t.game->Frames(130);
    EXPECT_NEAR(post.current.outWhite[0], 1.0f, 1e-5);
    EXPECT_FALSE(post.current.distort);
}

TEST(Triggers, PostProcessTriggerKeysAreReadAndWrittenInOrder) {
    const char* const keys[] = {"TransitionTime",    "Bloom Factor",     "Black In (Red)",
                                "Black In (Green)",  "Black In (Blue)",  "Black Out (Red)",
                                "Black Out (Green)", "Black Out (Blue)", "White In (Red)",
                                "White In (Green)",  "White In (Blue)",  "White Out (Red)",
                                "White Out (Green)", "White Out (Blue)"};
    std::string body = "    PostProcessTrigger\n";
    for (int i = 0; i < 14; ++i)
        body += std::string("      ") + keys[i] + ":" + std::to_string(i + 1) + "\n";
    body += "      Distortion:true\n    -PostProcessTrigger\n";
    PlayerGame::Options options;
    options.noPlayer = true;
    options.objects = GhostBox(0, 60, 100, 100, body);
    PlayerGame game(options);
    auto* trigger = GameplayTest::FindComponent<PostProcessTrigger>(*game.factory);
    ASSERT_NE(trigger, nullptr);
    EXPECT_EQ(trigger->record.duration, 1.0f);
    for (int field = 0; field < PostProcessParams::kFloatFields; ++field)
        EXPECT_EQ(trigger->record.target.Field(field), static_cast<float>(field + 2))
            << keys[field + 1];
    EXPECT_TRUE(trigger->distort);

    ASSERT_TRUE(game.factory->SaveLevel(game.dir.Path("Saved.zorvel"), ""));
    const std::string saved = game.dir.Read("Saved.zorvel");
    std::size_t at = saved.find("PostProcessTrigger");
    ASSERT_NE(at, std::string::npos);
    for (const char* key : keys) {
        const std::size_t next = saved.find(std::string(key) + ":", at);
        ASSERT_NE(next, std::string::npos) << key;
        at = next;
    }
    EXPECT_NE(saved.find("Distortion:true", at), std::string::npos);
}

TEST(Triggers, TextTriggerShowsItsTextNearThePlayerOnly) {
    TriggerGame t(GameplayTest::Marker(0, 60,
                                       "    TextTrigger\n      Text:Hold Shift to run.\n"
                                       "      TriggerRadius:500\n    -TextTrigger\n"),
                  800, 600);
    auto* trigger = GameplayTest::FindComponent<TextTrigger>(*t.game->factory);
    ASSERT_NE(trigger, nullptr);
    EXPECT_EQ(trigger->TriggerRadius, 500.0f);

    // Within its radius but not within 200 units: nothing shows.
    t.game->Place(300, 60);
    t.game->Frames(2);
    EXPECT_EQ(t.log->FindText("Hold Shift"), nullptr);
    GameObject* band = t.game->factory->FindObject(trigger->textBox);
    ASSERT_NE(band, nullptr);
    GraphicsComponent* sprite = band->Get<GraphicsComponent>();
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->Opacity, 0.0f);
    EXPECT_EQ(sprite->animation, "Black");
    EXPECT_TRUE(sprite->screenSpace);
    EXPECT_EQ(sprite->ZPos, 5.0f);
    EXPECT_EQ(band->y, -200.0f);
    EXPECT_EQ(band->xScale, 2000.0f);
    EXPECT_EQ(band->yScale, 200.0f);
    const Image before = t.game->graphics->ReadBackBuffer();
    const GraphicsTest::Rgba skyBottom = GraphicsTest::PixelAt(before, 790, 540);

    t.game->Place(150, 60);
    t.game->Frames(2);
    const GameplayTest::TextLine* line = t.log->FindText("Hold Shift");
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->text, "Hold Shift to run.");
    EXPECT_EQ(line->left, 50);
    EXPECT_EQ(line->top, 450);
    EXPECT_EQ(line->right, 750);
    EXPECT_EQ(line->bottom, 550);
    EXPECT_EQ(line->font, "CardoRegular22");
    EXPECT_EQ(line->red + line->green + line->blue + line->alpha, 4 * 255.0f);
    EXPECT_TRUE(line->shadow);
    EXPECT_EQ(sprite->Opacity, 0.5f);

    // On screen: the band halves the bottom of the picture, and white
    // letters stand in it near the left edge.
    const Image frame = t.game->graphics->ReadBackBuffer();
    const GraphicsTest::Rgba dimmed = GraphicsTest::PixelAt(frame, 790, 540);
    EXPECT_NEAR(dimmed[2], skyBottom[2] / 2, 8) << GraphicsTest::Show(dimmed);
    auto whiteIn = [](const Image& image, int top, int bottom) {
        int count = 0;
        for (int row = top; row < bottom; ++row)
            for (int column = 40; column < 400; ++column) {
                const GraphicsTest::Rgba p = GraphicsTest::PixelAt(image, column, row);
                count += p[0] > 235 && p[1] > 235 && p[2] > 235;
            }
        return count;
    };
    EXPECT_EQ(whiteIn(before, 440, 500), 0);
    EXPECT_GT(whiteIn(frame, 440, 500), 100);
    EXPECT_EQ(whiteIn(frame, 500, 600), 0);

    // The band belongs to the running game: a saved level leaves it out.
    ASSERT_TRUE(t.game->factory->SaveLevel(t.game->dir.Path("Saved.zorvel"), ""));
    const std::string saved = t.game->dir.Read("Saved.zorvel");
    EXPECT_NE(saved.find("Text:Hold Shift to run."), std::string::npos);
    EXPECT_NE(saved.find("TriggerRadius:500"), std::string::npos);
    EXPECT_EQ(saved.find("Animation:Black"), std::string::npos);

    // The trigger goes, and its band with it.
    const int32_t bandId = trigger->textBox;
    t.game->factory->DestroyObject(trigger->owner);
    t.game->Frame();
    EXPECT_EQ(t.game->factory->FindObject(bandId), nullptr);
}

} // namespace
} // namespace Flurr
