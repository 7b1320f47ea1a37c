// The start-up logo sequence on its own level, frame by frame at 60 fps.

#include "gameplay/LogoLogicComponent.h"
#include "player/PlayerTestSupport.h"

using namespace Flurr;
namespace {

// An 800 x 240 logo object, with its picture unless left out.
std::string Logo(bool picture) {
    EngineTest::LevelText text;
    text.Object(0, 0, {{"WIDTH", "800"}, {"HEIGHT", "240"}});
    if (picture)
        text.With("GraphicsComponent",
                  {{"Animation", "StudioLogo"}, {"Loop", "1"}, {"Opacity", "1"}});
    return text.With("LogoLogicComponent").Objects();
}

struct LogoGame : PlayerTest::PlayerGame {
    explicit LogoGame(bool picture = true)
        : PlayerGame(Logo(picture), PlayerTest::kNoPlayer),
          logo(EngineTest::FindComponent<LogoLogicComponent>(*factory)),
          sprite(logo ? logo->owner->Get<GraphicsComponent>() : nullptr) {
        EXPECT_NE(logo, nullptr);
    }
    void RunTo(int n) {
        Frames(n - frame);
        frame = std::max(frame, n);
    }
    // Space, Enter or Esc counts when the key comes up.
    void Tap(SDL_Scancode key) {
        Hold(key, 1);
        Frame();
        frame += 2;
    }
    bool NextLevel() const { return core->RequestedState() == GameState::NextLevel; }

    LogoLogicComponent* logo = nullptr;
    GraphicsComponent* sprite = nullptr;
    int frame = 0;
};

TEST(LogoLogicComponent, RunsFadeOutFadeInAndTheControlsScreen) {
    LogoGame g;
    ASSERT_NE(g.sprite, nullptr);
    EXPECT_TRUE(g.spaces->IsSpaceActive("LogoSpace"));
    ASSERT_FALSE(g.heard->Lines("Play ").empty());
    EXPECT_TRUE(g.heard->Lines("Play ").front().starts_with("Play Bebop1 "));

    // A second of the first picture, then two seconds of fading out.
    g.RunTo(59);
    EXPECT_EQ(g.sprite->Opacity, 1.0f);
    g.RunTo(90);
    EXPECT_NEAR(g.sprite->Opacity, 0.75f, 1e-3f);
    g.RunTo(179);
    EXPECT_EQ(g.sprite->animation, "StudioLogo");
    EXPECT_LT(g.sprite->Opacity, 0.02f);

    // The team picture, full screen, fades in over two seconds; done at 3.
    g.RunTo(182);
    EXPECT_TRUE(g.logo->switched);
    EXPECT_EQ(g.sprite->animation, "TeamLogo");
    EXPECT_EQ(g.logo->owner->yScale, 2.5f);
    g.RunTo(241);
    EXPECT_NEAR(g.sprite->Opacity, 0.5f, 0.02f);
    g.RunTo(330);
    EXPECT_EQ(g.sprite->Opacity, 1.0f);
    EXPECT_FALSE(g.logo->done);
    g.RunTo(364);
    EXPECT_TRUE(g.logo->done);
    EXPECT_EQ(g.sprite->animation, "XboxScreen");

    // The controls card says "Press Space, Enter or A": it waits for that.
    g.RunTo(1200);
    EXPECT_FALSE(g.NextLevel());
    g.Tap(SDL_SCANCODE_SPACE);
    EXPECT_TRUE(g.NextLevel());

    // Leaving the level switches the logo space off.
    g.factory->DestroyObject(g.logo->owner);
    EXPECT_FALSE(g.spaces->IsSpaceActive("LogoSpace"));
}

TEST(LogoLogicComponent, SkipInputsCountOnlyAfterTheFirstTwoSeconds) {
    LogoGame g;
    ASSERT_NE(g.sprite, nullptr);
    g.RunTo(60);
    g.Tap(SDL_SCANCODE_RETURN);
    g.RunTo(100);
    EXPECT_FALSE(g.logo->done);
    EXPECT_EQ(g.sprite->animation, "StudioLogo");
    // A key that is not a skip key does nothing even later.
    g.RunTo(150);
    g.Tap(SDL_SCANCODE_D);
    g.RunTo(155);
    EXPECT_FALSE(g.logo->done);

    // At 2.5 s Enter jumps to the controls; again, it starts the game.
    g.Tap(SDL_SCANCODE_RETURN);
    EXPECT_TRUE(g.logo->done);
    g.RunTo(g.frame + 1);
    EXPECT_EQ(g.sprite->animation, "XboxScreen");
    EXPECT_EQ(g.sprite->Opacity, 1.0f);
    EXPECT_EQ(g.logo->owner->yScale, 2.5f);
    EXPECT_FALSE(g.NextLevel());
    g.Tap(SDL_SCANCODE_SPACE);
    EXPECT_TRUE(g.NextLevel());
}

TEST(LogoLogicComponent, WithoutAPictureItMovesOnAfterTwoSeconds) {
    LogoGame g(false);
    g.RunTo(1);
    EXPECT_TRUE(g.logo->done);
    g.RunTo(115);
    EXPECT_FALSE(g.NextLevel());
    g.RunTo(125);
    EXPECT_TRUE(g.NextLevel());
}

} // namespace
