// The post-processing chain, checked on the finished frame: the neutral
// block shows the scene as drawn, the bloom, levels and ripple change it
// the way their parameters say, and missing pass effects are skipped.
#include <array>
#include <filesystem>

#include "graphics/GraphicsTestSupport.h"

namespace {

using namespace Flurr;
using namespace GraphicsTest;

class PostProcessPixels : public RendererTest {};

// A block as a transition record: blur, in black, out black, in white,
// out white, distort, then elapsed 0 and `duration`.
struct Block {
    float blur = 1.0f;
    std::array<float, 3> inBlack{0, 0, 0}, outBlack{0, 0, 0};
    std::array<float, 3> inWhite{1, 1, 1}, outWhite{1, 1, 1};
    bool distort = false;
    float duration = 0.0f;

    PostProcessRecord Record() const {
        PostProcessRecord r;
        r.target.blur = blur;
        for (int c = 0; c < 3; ++c) {
            r.target.inBlack[c] = inBlack[c];
            r.target.outBlack[c] = outBlack[c];
            r.target.inWhite[c] = inWhite[c];
            r.target.outWhite[c] = outWhite[c];
        }
        r.target.distort = distort;
        r.duration = duration;
        return r;
    }
};

void SendBlock(Game& game, const Block& block) {
    game.Send(PostProcessTransitionMessage(block.Record()));
}

// A scene with saturated, bright, mid and dark areas and sharp edges.
void BuildScene(Game& game) {
    game.Sprite("Quadrants", -200.0f, 0.0f, 200, 200);
    game.Sprite("Red", 100.0f, 100.0f, 60, 60);
    game.Sprite("Green", 200.0f, -100.0f, 60, 60);
    game.Sprite("Blue", 100.0f, -150.0f, 40, 40, "      Opacity:0.5\n");
    GraphicsComponent* dark = game.Sprite("Red", 250.0f, 150.0f, 30, 30);
    dark->red = 0.2f;
}

// Largest difference of any colour channel over the whole frame.
int LargestDifference(const Image& a, const Image& b) {
    int largest = 0;
    for (std::size_t i = 0; i < a.rgba.size(); ++i)
        if (i % 4 != 3)
            largest = std::max(largest, std::abs(int(a.rgba[i]) - int(b.rgba[i])));
    return largest;
}

int PixelsDiffering(const Image& a, const Image& b, int tolerance) {
    int count = 0;
    for (std::size_t p = 0; p < a.rgba.size(); p += 4)
        for (std::size_t c = 0; c < 3; ++c)
            if (std::abs(int(a.rgba[p + c]) - int(b.rgba[p + c])) > tolerance) {
                ++count;
                break;
            }
    return count;
}

// The same scene drawn without any pass effect (only "Final.fx"), as the
// reference for what the chain must leave alone.
Image PlainScene(SDL_Window* window) {
    GameFolder folder;
    for (const char* pass :
         {"HighPass", "Down4", "BlurH", "BlurV", "Up4", "Combine", "ColorCorrection", "Distort"})
        std::filesystem::remove(folder.dir.Path(std::string("Resources/Shaders/") + pass + ".fx"));
    EngineTest::WarningLog log;
    Game game(window);
    BuildScene(game);
    const Image image = game.Frame();
    EXPECT_EQ(game.graphics->PostPassesRun(), 0);
    EXPECT_TRUE(log.Contains("HighPass.fx")) << "a missing pass is reported";
    return image;
}

TEST_F(PostProcessPixels, TheNeutralBlockRunsNinePassesAndLeavesTheSceneUnchanged) {
    const Image plain = PlainScene(window);
    GameFolder folder;
    Game game(window);
    BuildScene(game);
    const Image image = game.Frame();
    EXPECT_EQ(game.graphics->PostPassesRun(), 9);
    ASSERT_EQ(image.rgba.size(), plain.rgba.size());
    EXPECT_LE(LargestDifference(image, plain), 2);
    // The chain keeps the top of the image at the top.
    EXPECT_TRUE(Near(PixelAt(image, 150, 250), kRed)) << Show(PixelAt(image, 150, 250));
    EXPECT_TRUE(Near(PixelAt(image, 250, 350), kWhite)) << Show(PixelAt(image, 250, 350));
}

TEST_F(PostProcessPixels, LevelsMapEachChannelAndTakeEffectAfterOneFrame) {
    GameFolder folder;
    Game game(window);
    game.Sprite("Red", -200.0f, 0.0f, 100, 100);
    game.Sprite("Quadrants", 200.0f, 0.0f, 100, 100);
    // Darken: white comes out at (0.6, 0.4, 0.2), black at 0.2 grey.
    Block dark;
    dark.outBlack = {0.2f, 0.2f, 0.2f};
    dark.outWhite = {0.6f, 0.4f, 0.2f};
    SendBlock(game, dark);
    // Duration 0: this frame still shows the previous block.
    Image image = game.Frame();
    EXPECT_TRUE(Near(PixelAt(image, 200, 300), kRed)) << Show(PixelAt(image, 200, 300));
    image = game.Frame();
    // Red (1, 0, 0) -> (0.6, 0.2, 0.2); black -> 0.2 everywhere.
    EXPECT_TRUE(Near(PixelAt(image, 200, 300), {153, 51, 51, 255}))
        << Show(PixelAt(image, 200, 300));
    EXPECT_TRUE(Near(PixelAt(image, 20, 20), {51, 51, 51, 255})) << Show(PixelAt(image, 20, 20));
    // White quadrant (bottom right of the image) -> (0.6, 0.4, 0.2).
    EXPECT_TRUE(Near(PixelAt(image, 625, 325), {153, 102, 51, 255}))
        << Show(PixelAt(image, 625, 325));

    // Brighten: a 0.4 grey read through input levels 0.2..0.5 comes out
    // at (0.4 - 0.2) / 0.3 = 2/3.
    Block bright;
    bright.inBlack = {0.2f, 0.2f, 0.2f};
    bright.inWhite = {0.5f, 0.5f, 0.5f};
    GraphicsComponent* green = game.Sprite("Green", 0.0f, -200.0f, 40, 40);
    green->green = 0.4f;
    GraphicsComponent* grey = game.Sprite("Quadrants", 0.0f, 200.0f, 100, 100);
    grey->red = grey->green = grey->blue = 0.4f;
    SendBlock(game, bright);
    game.Frame();
    image = game.Frame();
    // The white quadrant tinted 0.4 sits at columns 400-449, rows 100-149.
    EXPECT_TRUE(Near(PixelAt(image, 425, 125), {170, 170, 170, 255}))
        << Show(PixelAt(image, 425, 125));
    // Green 0.4 on a green image: (0, 0.4, 0) -> (0, 2/3, 0).
    EXPECT_TRUE(Near(PixelAt(image, 400, 500), {0, 170, 0, 255})) << Show(PixelAt(image, 400, 500));
}

TEST_F(PostProcessPixels, BloomMakesBrightAreasGlowWiderWithTheBlur) {
    GameFolder folder;
    Game game(window);
    // A bright white square and an equally large dark one.
    GraphicsComponent* white = game.Sprite("Quadrants", -150.0f, 0.0f, 80, 80);
    (void)white;
    GraphicsComponent* dim = game.Sprite("Quadrants", 150.0f, 0.0f, 80, 80);
    dim->red = dim->green = dim->blue = 0.3f;
    const Image neutral = game.Frame();
    // Just outside the bottom-right (white) quadrant of the bright square:
    // columns 250-289, rows 300-339 are white.
    const std::pair<int, int> near{295, 320}, far{310, 320};
    EXPECT_TRUE(Near(PixelAt(neutral, near.first, near.second), {0, 0, 0, 255}));

    Block glow;
    glow.blur = 2.0f;
    SendBlock(game, glow);
    game.Frame();
    const Image bloom = game.Frame();
    EXPECT_EQ(game.graphics->PostPassesRun(), 9);
    const Rgba halo = PixelAt(bloom, near.first, near.second);
    EXPECT_GT(halo[0], 20) << "the glow spills past the edge: " << Show(halo);
    EXPECT_NEAR(halo[0], halo[2], 3) << "white glows white: " << Show(halo);
    // The white itself stays white; the dark square gets no glow.
    EXPECT_TRUE(Near(PixelAt(bloom, 270, 320), kWhite));
    EXPECT_TRUE(Near(PixelAt(bloom, 575, 320), PixelAt(neutral, 575, 320), 2));
    EXPECT_TRUE(Near(PixelAt(bloom, 600, 200), {0, 0, 0, 255}));

    // A larger blur spreads the glow further out.
    Block wide = glow;
    wide.blur = 4.0f;
    SendBlock(game, wide);
    game.Frame();
    const Image widened = game.Frame();
    EXPECT_GT(PixelAt(widened, far.first, far.second)[0],
              PixelAt(bloom, far.first, far.second)[0] + 5)
        << Show(PixelAt(widened, far.first, far.second)) << " vs "
        << Show(PixelAt(bloom, far.first, far.second));
}

TEST_F(PostProcessPixels, DistortionMovesPixelsAndSwitchesOnlyWithTheBlockInEffect) {
    GameFolder folder;
    Game game(window);
    game.Sprite("Quadrants", 0.0f, 0.0f, 400, 400);
    const Image plain = game.Frame();
    EXPECT_EQ(game.graphics->PostPassesRun(), 9);

    // Switched on over two seconds: the switch waits for the transition
    // to complete.
    Block ripple;
    ripple.distort = true;
    ripple.duration = 2.0f;
    SendBlock(game, ripple);
    EXPECT_LE(LargestDifference(game.Frame(), plain), 2);
    EXPECT_EQ(game.graphics->PostPassesRun(), 9);

    // Switched on at once.
    ripple.duration = 0.0f;
    SendBlock(game, ripple);
    game.Frame();
    const Image first = game.Frame();
    EXPECT_EQ(game.graphics->PostPassesRun(), 10);
    // The quadrant edges bend: pixels near them change colour, while the
    // middle of each quadrant keeps it.
    EXPECT_GT(PixelsDiffering(first, plain, 40), 200);
    EXPECT_TRUE(Near(PixelAt(first, 300, 200), kRed));
    EXPECT_TRUE(Near(PixelAt(first, 500, 400), kWhite));
    // The rings travel with time.
    for (int i = 0; i < 30; ++i)
        game.Frame();
    const Image later = game.Frame();
    EXPECT_GT(PixelsDiffering(later, first, 40), 200);

    SendBlock(game, Block{});
    game.Frame();
    EXPECT_LE(LargestDifference(game.Frame(), plain), 2);
    EXPECT_EQ(game.graphics->PostPassesRun(), 9);
}

TEST_F(PostProcessPixels, WithoutFinalTheResultIsCopiedAndMissingPassesAreSkipped) {
    GameFolder folder;
    std::filesystem::remove(folder.dir.Path("Resources/Shaders/Final.fx"));
    std::filesystem::remove(folder.dir.Path("Resources/Shaders/HighPass.fx"));
    EngineTest::WarningLog quiet;
    Game game(window);
    game.Sprite("Red", 0.0f, 0.0f, 100, 100);
    Block dark;
    dark.outWhite = {0.5f, 0.5f, 0.5f};
    SendBlock(game, dark);
    game.Frame();
    const Image image = game.Frame();
    EXPECT_EQ(game.graphics->PostPassesRun(), 8);
    // The levels still reach the screen through the plain copy, top up.
    EXPECT_TRUE(Near(PixelAt(image, 400, 300), {128, 0, 0, 255})) << Show(PixelAt(image, 400, 300));
    EXPECT_TRUE(Near(PixelAt(image, 400, 200), {0, 0, 0, 255}));
}

} // namespace
