// Particles on the real renderer: each is a sprite like any other, placed
// by its object, blended as its effect file says, tinted by its colour,
// and gone from the picture once its life has run out. Checked on pixels.

#include "graphics/GraphicsTestSupport.h"
#include "particles/ParticleTestSupport.h"

namespace Flurr {
namespace {

using namespace GraphicsTest;
using namespace ParticleTest;

class ParticleDrawing : public RendererTest {};

TEST_F(ParticleDrawing, ParticlesDrawAsSpritesUntilTheyDie) {
    GameFolder folder;
    Game game(window);
    auto* particles = new ParticleSystem(Flurr::ResourcePaths{}.particleEffects);
    game.core->AddSystem(particles);
    particles->Initialize();
    // Effects are read from the game folder's "Resources/ParticleEffects/".
    const std::vector<Part> shortLife = {
        {"LifespanRandom", {{"MinimumLifespan", "0.1"}, {"MaximumLifespan", "0.1"}}},
        {"PositionWithinCircleRandom", {}}};
    std::vector<Part> glow = {Sprite("Red", "true")};
    glow.insert(glow.end(), shortLife.begin(), shortLife.end());
    folder.dir.Write("Resources/ParticleEffects/glow.zorvel",
                     EffectText(1, {Burst(1)}, glow, {{"LifespanDecay", {}}}));
    std::vector<Part> tint = {{"Animation", {{"Name", "Green"}, {"Width", "30"}, {"Height", "30"}}},
                              {"ColorRandom",
                               {{"MinimumRed", "1"},
                                {"MaximumRed", "1"},
                                {"MinimumGreen", "0.5"},
                                {"MaximumGreen", "0.5"},
                                {"MinimumBlue", "1"},
                                {"MaximumBlue", "1"}}}};
    tint.insert(tint.end(), shortLife.begin(), shortLife.end());
    folder.dir.Write("Resources/ParticleEffects/tint.zorvel",
                     EffectText(1, {Burst(1)}, tint, {{"LifespanDecay", {}}}));

    // The scene is not cleared between frames: the background covers it.
    game.Send(SetBackgroundMessage("Resources/Images/default.png"));
    game.Sprite("Blue", 0.0f, 0.0f, 100, 100, "      ZPos:-1\n");
    particles->CreateEffect("glow", 0.0f, 0.0f);
    particles->CreateEffect("tint", 200.0f, 100.0f);
    game.Frame();                    // drawn before the particles are born
    game.Frame();                    // the glow is born
    const Image born = game.Frame(); // the tint is born a frame later
    // A 16 x 12 additive red glow on the blue square: magenta.
    EXPECT_TRUE(Near(PixelAt(born, 400, 300), {255, 0, 255, 255})) << Show(PixelAt(born, 400, 300));
    EXPECT_TRUE(Near(PixelAt(born, 400 + 9, 300), kBlue)) << "16 wide";
    const Image both = game.Frame();
    // Green at half strength, 30 x 30 around (200, 100).
    EXPECT_TRUE(Near(PixelAt(both, 600, 200), {0, 128, 0, 255}, 4))
        << Show(PixelAt(both, 600, 200));
    EXPECT_TRUE(Near(PixelAt(both, 600 + 16, 200), kGrey));

    for (int k = 0; k < 10; ++k)
        game.Frame();
    const Image after = game.Frame();
    EXPECT_TRUE(Near(PixelAt(after, 400, 300), kBlue)) << Show(PixelAt(after, 400, 300));
    EXPECT_TRUE(Near(PixelAt(after, 600, 200), kGrey)) << Show(PixelAt(after, 600, 200));
    EXPECT_TRUE(particles->effects.empty());
    EXPECT_EQ(game.graphics->SpriteCount(), 1u) << "the particles' sprites went with them";
}

} // namespace
} // namespace Flurr
