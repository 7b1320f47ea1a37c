// The post-processing chain, checked on the finished frame: the neutral
// block shows the scene as drawn, the bloom, levels and ripple change it
// the way their parameters say, missing pass effects are skipped, and the
// bloom on smaller targets looks like the full-size one.
#include <filesystem>

#include "graphics/GraphicsTestSupport.h"

namespace {

using namespace Flurr;
using namespace GraphicsTest;

class PostProcessPixels : public GameTest {};
// Tests that change the game folder before the game starts, or build games
// of their own.
class PostProcessChain : public RendererTest {};

// Starts a transition to `block` over `duration` seconds.
void SendBlock(Game& game, const PostProcessParams& block, float duration = 0.0f) {
    game.Send(PostProcessTransitionMessage({.target = block, .duration = duration}));
}

// Pixels whose colour differs by more than `tolerance` in some channel.
int PixelsDiffering(const Image& a, const Image& b, int tolerance = 2) {
    int count = 0;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            count += !Near(PixelAt(a, x, y), PixelAt(b, x, y), tolerance);
    return count;
}

TEST_F(PostProcessChain, TheNeutralBlockRunsNinePassesAndLeavesTheSceneUnchanged) {
    // A scene with saturated, bright, mid and dark areas and sharp edges.
    auto scene = [](Game& game) {
        game.Sprite("Quadrants", -200.0f, 0.0f, 200, 200);
        game.Sprite("Red", 100.0f, 100.0f, 60, 60);
        game.Sprite("Green", 200.0f, -100.0f, 60, 60);
        game.Sprite("Blue", 100.0f, -150.0f, 40, 40, "      Opacity:0.5\n");
        game.Sprite("Red", 250.0f, 150.0f, 30, 30)->red = 0.2f;
        return game.Frame();
    };
    // The reference: the same scene without any pass effect (only
    // "Final.fx").
    Image plain;
    {
        GameFolder folder;
        for (const char* pass : {"HighPass", "Down4", "BlurH", "BlurV", "Up4", "Combine",
                                 "ColorCorrection", "Distort"})
            std::filesystem::remove(
                folder.dir.Path(std::string("Resources/Shaders/") + pass + ".fx"));
        EngineTest::WarningLog log;
        Game game(window);
        plain = scene(game);
        EXPECT_EQ(game.graphics->PostPassesRun(), 0);
        EXPECT_TRUE(log.Contains("HighPass.fx")) << "a missing pass is reported";
    }
    GameFolder folder;
    Game game(window);
    const Image image = scene(game);
    EXPECT_EQ(game.graphics->PostPassesRun(), 9);
    ASSERT_EQ(image.rgba.size(), plain.rgba.size());
    EXPECT_EQ(PixelsDiffering(image, plain), 0);
    // The chain keeps the top of the image at the top.
    EXPECT_TRUE(PixelIs(image, 150, 250, kRed));
    EXPECT_TRUE(PixelIs(image, 250, 350, kWhite));
}

TEST_F(PostProcessPixels, LevelsMapEachChannelAndTakeEffectAfterOneFrame) {
    game.Sprite("Red", -200.0f, 0.0f, 100, 100);
    game.Sprite("Quadrants", 200.0f, 0.0f, 100, 100);
    // Darken: white comes out at (0.6, 0.4, 0.2), black at 0.2 grey.
    SendBlock(game, {.outBlack = {0.2f, 0.2f, 0.2f}, .outWhite = {0.6f, 0.4f, 0.2f}});
    // Duration 0: this frame still shows the previous block.
    EXPECT_TRUE(PixelIs(game.Frame(), 200, 300, kRed));
    Image image = game.Frame();
    // Red (1, 0, 0) -> (0.6, 0.2, 0.2); black -> 0.2 everywhere; the white
    // quadrant (bottom right of the image) -> (0.6, 0.4, 0.2).
    EXPECT_TRUE(PixelIs(image, 200, 300, {153, 51, 51, 255}));
    EXPECT_TRUE(PixelIs(image, 20, 20, {51, 51, 51, 255}));
    EXPECT_TRUE(PixelIs(image, 625, 325, {153, 102, 51, 255}));

    // Brighten: a 0.4 grey read through input levels 0.2..0.5 comes out
    // at (0.4 - 0.2) / 0.3 = 2/3.
    game.Sprite("Green", 0.0f, -200.0f, 40, 40)->green = 0.4f;
    GraphicsComponent* grey = game.Sprite("Quadrants", 0.0f, 200.0f, 100, 100);
    grey->red = grey->green = grey->blue = 0.4f;
    SendBlock(game, {.inBlack = {0.2f, 0.2f, 0.2f}, .inWhite = {0.5f, 0.5f, 0.5f}});
    game.Frame();
    image = game.Frame();
    // The white quadrant tinted 0.4 sits at columns 400-449, rows 100-149;
    // green 0.4 on a green image: (0, 0.4, 0) -> (0, 2/3, 0).
    EXPECT_TRUE(PixelIs(image, 425, 125, {170, 170, 170, 255}));
    EXPECT_TRUE(PixelIs(image, 400, 500, {0, 170, 0, 255}));
}

TEST_F(PostProcessPixels, BloomMakesBrightAreasGlowWiderWithTheBlur) {
    // A bright white square and an equally large dark one.
    game.Sprite("Quadrants", -150.0f, 0.0f, 80, 80);
    GraphicsComponent* dim = game.Sprite("Quadrants", 150.0f, 0.0f, 80, 80);
    dim->red = dim->green = dim->blue = 0.3f;
    const Image neutral = game.Frame();
    // Just outside the bottom-right (white) quadrant of the bright square:
    // columns 250-289, rows 300-339 are white.
    EXPECT_TRUE(PixelIs(neutral, 295, 320, kBlack));

    SendBlock(game, {.blur = 2.0f});
    game.Frame();
    const Image bloom = game.Frame();
    EXPECT_EQ(game.graphics->PostPassesRun(), 9);
    const Rgba halo = PixelAt(bloom, 295, 320);
    EXPECT_GT(halo[0], 20) << "the glow spills past the edge: " << testing::PrintToString(halo);
    EXPECT_NEAR(halo[0], halo[2], 3) << "white glows white: " << testing::PrintToString(halo);
    // The white itself stays white; the dark square gets no glow.
    EXPECT_TRUE(PixelIs(bloom, 270, 320, kWhite));
    EXPECT_TRUE(PixelIs(bloom, 575, 320, PixelAt(neutral, 575, 320), 2));
    EXPECT_TRUE(PixelIs(bloom, 600, 200, kBlack));

    // A larger blur spreads the glow further out.
    SendBlock(game, {.blur = 4.0f});
    game.Frame();
    const Image widened = game.Frame();
    EXPECT_GT(PixelAt(widened, 310, 320)[0], PixelAt(bloom, 310, 320)[0] + 5)
        << testing::PrintToString(PixelAt(widened, 310, 320)) << " vs "
        << testing::PrintToString(PixelAt(bloom, 310, 320));
}

TEST_F(PostProcessPixels, DistortionMovesPixelsAndSwitchesOnlyWithTheBlockInEffect) {
    game.Sprite("Quadrants", 0.0f, 0.0f, 400, 400);
    game.Sprite("Quadrants", -300.0f, 200.0f, 100, 100)->screenSpace = true; // HUD: 50-149
    const Image plain = game.Frame();
    EXPECT_EQ(game.graphics->PostPassesRun(), 9);

    // Switched on over two seconds: the switch waits for the transition
    // to complete.
    SendBlock(game, {.distort = true}, 2.0f);
    EXPECT_EQ(PixelsDiffering(game.Frame(), plain), 0);
    EXPECT_EQ(game.graphics->PostPassesRun(), 9);

    // Switched on at once.
    SendBlock(game, {.distort = true});
    game.Frame();
    const Image first = game.Frame();
    EXPECT_EQ(game.graphics->PostPassesRun(), 10);
    // The quadrant edges bend: pixels near them change colour, while the
    // middle of each quadrant keeps it.
    EXPECT_GT(PixelsDiffering(first, plain, 40), 200);
    EXPECT_TRUE(PixelIs(first, 300, 200, kRed));
    EXPECT_TRUE(PixelIs(first, 500, 400, kWhite));
    for (int at : {98, 99, 100, 101}) // the HUD's own edges stay where they are
        EXPECT_TRUE(PixelIs(first, at, 75, PixelAt(plain, at, 75), 0) &&
                    PixelIs(first, 75, at, PixelAt(plain, 75, at), 0));
    // The rings travel with time.
    for (int i = 0; i < 30; ++i)
        game.Frame();
    EXPECT_GT(PixelsDiffering(game.Frame(), first, 40), 200);

    SendBlock(game, {});
    game.Frame();
    EXPECT_EQ(PixelsDiffering(game.Frame(), plain), 0);
    EXPECT_EQ(game.graphics->PostPassesRun(), 9);
}

TEST_F(PostProcessChain, WithoutFinalTheResultIsCopiedAndMissingPassesAreSkipped) {
    GameFolder folder;
    std::filesystem::remove(folder.dir.Path("Resources/Shaders/Final.fx"));
    std::filesystem::remove(folder.dir.Path("Resources/Shaders/HighPass.fx"));
    EngineTest::WarningLog quiet;
    Game game(window);
    game.Sprite("Red", 0.0f, 0.0f, 100, 100);
    SendBlock(game, {.outWhite = {0.5f, 0.5f, 0.5f}});
    game.Frame();
    const Image image = game.Frame();
    EXPECT_EQ(game.graphics->PostPassesRun(), 8);
    // The levels still reach the screen through the plain copy, top up.
    EXPECT_TRUE(PixelIs(image, 400, 300, {128, 0, 0, 255}));
    EXPECT_TRUE(PixelIs(image, 400, 200, kBlack));
}

TEST_F(PostProcessChain, TheBloomOnSmallerTargetsLooksLikeTheFullSizeOne) {
    // Bright sprites of every colour, a dim one that must not glow, a thin
    // line and a sprite with edges off the pixel grid, through a wide
    // bloom, levels and the ripple.
    PostProcessParams block{.blur = 2.5f,
                            .inBlack = {0.05f, 0.05f, 0.05f},
                            .outBlack = {0.1f, 0.05f, 0.0f},
                            .inWhite = {0.95f, 0.95f, 0.95f},
                            .outWhite = {0.95f, 0.9f, 1.0f},
                            .distort = true};
    auto frame = [&](int width, int height, PassSizes sizes) {
        GameFolder folder;
        Game game(window, width, height);
        game.graphics->SetPostPassSizes(sizes);
        game.Sprite("Quadrants", -180.0f, 60.0f, 120, 120);
        game.Sprite("Red", 123.5f, -77.25f, 37, 23);
        GraphicsComponent* dim = game.Sprite("Quadrants", 180.0f, 120.0f, 90, 90);
        dim->red = dim->green = dim->blue = 0.5f;
        game.Sprite("Quadrants", 10.3f, -40.0f, 3, 150);
        game.Sprite("Green", -60.0f, -190.0f, 200, 20)->green = 0.8f;
        SendBlock(game, block);
        game.Frame();
        game.Frame();
        Image image = game.Frame();
        EXPECT_EQ(game.graphics->PostPassesRun(), 10);
        return image;
    };
    // 802 x 451 is no multiple of four: the smaller targets round down.
    for (const auto& [width, height] : {std::pair{800, 600}, {802, 451}}) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        const Image full = frame(width, height, PassSizes::FullSize);
        const Image reduced = frame(width, height, PassSizes::Reduced);
        ASSERT_EQ(full.rgba.size(), reduced.rgba.size());
        if (width == 800) {
            // The reference does glow: just right of the white quadrant
            // (columns 220-279, rows 240-299) the dark ground is lit.
            const Rgba halo = PixelAt(full, 285, 270);
            EXPECT_GT(std::min({halo[0] - 26, halo[1] - 13, halo[2]}), 40)
                << testing::PrintToString(halo);
        }
        // The glow is rebuilt from fewer samples, so it may differ a little
        // where it is steepest (beside the bright edges); nowhere by more
        // than 16 of 255, few pixels by more than 8, and the frame as a
        // whole by a quarter of a level on average.
        int largest = 0;
        int over8 = 0;
        double total = 0.0;
        for (int y = 0; y < full.height; ++y)
            for (int x = 0; x < full.width; ++x) {
                const Rgba a = PixelAt(full, x, y), b = PixelAt(reduced, x, y);
                int d = 0;
                for (int c = 0; c < 3; ++c)
                    d = std::max(d, std::abs(a[c] - b[c]));
                largest = std::max(largest, d);
                over8 += d > 8;
                total += d;
            }
        const int pixels = full.width * full.height;
        EXPECT_LE(largest, 16);
        EXPECT_LT(over8, pixels / 700) << "pixels more than 8 levels off";
        EXPECT_LT(total / pixels, 0.25) << "mean difference in levels";
    }
}

} // namespace
