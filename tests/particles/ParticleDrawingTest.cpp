// Particles on the real renderer: each is a sprite like any other, placed
// by its object, blended as its effect file says, tinted by its colour,
// and gone from the picture once its life has run out. Checked on pixels.

#include "graphics/GraphicsTestSupport.h"
#include "particles/ParticleTestSupport.h"

namespace Flurr {
namespace {

using namespace GraphicsTest;
using namespace ParticleTest;

class ParticleDrawing : public GameTest {};

TEST_F(ParticleDrawing, ParticlesDrawAsSpritesUntilTheyDie) {
    auto* particles = new ParticleSystem(Flurr::ResourcePaths{}.particleEffects);
    game.core->AddSystem(particles);
    particles->Initialize();
    // Effects are read from the game folder's "Resources/ParticleEffects/":
    // one short-lived particle each.
    auto write = [&](const char* name, Part sprite, std::vector<Part> more) {
        more.insert(more.begin(), sprite);
        more.push_back(Ranged("Lifespan", "0.1", "0.1"));
        more.push_back(Ring());
        folder.dir.Write(std::string("Resources/ParticleEffects/") + name + ".zorvel",
                         EffectText(1, {Burst(1)}, more, {{"LifespanDecay", {}}}));
    };
    write("glow", Sprite("Red", "true"), {});
    write("tint", {"Animation", {{"Name", "Green"}, {"Width", "30"}, {"Height", "30"}}},
          {Colour("1", "0.5", "1")});

    // The scene is not cleared between frames: the background covers it.
    game.Send(SetBackgroundMessage("Resources/Images/default.png"));
    game.Sprite("Blue", 0.0f, 0.0f, 100, 100, "      ZPos:-1\n");
    particles->CreateEffect("glow", 0.0f, 0.0f);
    particles->CreateEffect("tint", 200.0f, 100.0f);
    game.Frame();                    // drawn before the particles are born
    game.Frame();                    // the glow is born
    const Image born = game.Frame(); // the tint is born a frame later
    // A 16 x 12 additive red glow on the blue square: magenta.
    EXPECT_TRUE(PixelIs(born, 400, 300, kMagenta));
    EXPECT_TRUE(PixelIs(born, 400 + 9, 300, kBlue)) << "16 wide";
    const Image both = game.Frame();
    // Green at half strength, 30 x 30 around (200, 100).
    EXPECT_TRUE(PixelIs(both, 600, 200, {0, 128, 0, 255}, 4));
    EXPECT_TRUE(PixelIs(both, 600 + 16, 200, kGrey));

    for (int k = 0; k < 10; ++k)
        game.Frame();
    const Image after = game.Frame();
    EXPECT_TRUE(PixelIs(after, 400, 300, kBlue));
    EXPECT_TRUE(PixelIs(after, 600, 200, kGrey));
    EXPECT_TRUE(particles->effects.empty());
    EXPECT_EQ(game.graphics->SpriteCount(), 1u) << "the particles' sprites went with them";
}

} // namespace
} // namespace Flurr
