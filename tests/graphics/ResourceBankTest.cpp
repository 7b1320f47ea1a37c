// The banks: what they read from the game folder, and how they stand in
// for what is missing or broken without ever stopping the game.

#include "graphics/Effect.h"
#include "graphics/Fonts.h"
#include "graphics/GraphicsTestSupport.h"

namespace {

using namespace Flurr;
using namespace GraphicsTest;

class Resources : public RendererTest {};

TEST_F(Resources, BanksReadEveryBankFileAndStandInForMissingImagesAndFonts) {
    GameFolder folder;
    EngineTest::WarningLog log;
    Game game(window);
    ResourceBank& bank = *game.graphics->Bank();
    // Both ".zorvel" files, nothing else.
    EXPECT_TRUE(bank.HasAnimation("Cycle"));
    EXPECT_TRUE(bank.HasAnimation("Slow"));
    EXPECT_TRUE(bank.HasAnimation(ResourceBank::kNoAnimation));
    EXPECT_FLOAT_EQ(bank.FindAnimation("Red")->frameRate, 1.0f) << "FrameTime 0 means 1";
    EXPECT_FLOAT_EQ(bank.FindAnimation("Slow")->frameRate, 2.0f);
    ASSERT_EQ(bank.FindAnimation("Cycle")->frames.size(), 3u);
    // An animation without frames is left out, with a warning.
    EXPECT_FALSE(bank.HasAnimation("Empty"));
    EXPECT_TRUE(log.Contains("\"Empty\" has no frames")) << log;
    // A frame that cannot be read is the default image, reported once.
    const uint32_t fallback = bank.GetTexture(ResourceBank::kDefaultTexture).id;
    EXPECT_EQ(bank.GetTexture("Resources/Images/Test/NotThere.png").id, fallback);
    EXPECT_EQ(bank.GetTexture("Resources/Images/Test/NotThere.png").id, fallback);
    EXPECT_EQ(log.Count("NotThere.png"), 1) << log;
    // Loaded once, shared by path.
    const Texture& red = bank.GetTexture("Resources/Images/Test/Red.png");
    EXPECT_EQ(red.width, 8);
    EXPECT_EQ(&bank.GetTexture("Resources/Images/Test/Red.png"), &red);
    // A missing bank folder is a warning, not a failure.
    EXPECT_TRUE(BankFiles("Resources/Banks/NoSuchBank/").empty());
    EXPECT_TRUE(log.Contains("NoSuchBank")) << log;

    // Fonts come from the bank; unknown names get the debug font.
    for (const char* name : {"DebugText", "CardoBold32", "CardoRegular22"})
        EXPECT_TRUE(bank.HasFont(name)) << name;
    FontFace* debug = bank.GetFont("DebugText", 600);
    ASSERT_NE(debug, nullptr);
    EXPECT_EQ(debug->PixelHeight(), 16);
    EXPECT_EQ(bank.GetFont("NoSuchFont", 600), debug);
    // Sizes follow the back buffer's height: 32 at 600 is 40 at 750.
    FontFace* big = bank.GetFont("CardoBold32", 750);
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(big->PixelHeight(), 40);
    EXPECT_EQ(FontPixelHeight(22, 1080), 39);
    // Face names are kept to 31 characters.
    bank.AddFont("Long", {.faceName = std::string(40, 'x')});
    EXPECT_NE(bank.GetFont("Long", 600), nullptr);
}

TEST_F(Resources, AMissingDefaultImageBecomesAOnePixelStandIn) {
    GameFolder folder(false);
    EngineTest::WarningLog quiet;
    Game game(window);
    GraphicsComponent* none = game.Sprite("Missing", 0, 0, 40, 40);
    const Image image = game.Frame();
    ASSERT_NE(none, nullptr);
    const Texture& stand = game.graphics->Bank()->GetTexture(ResourceBank::kDefaultTexture);
    EXPECT_EQ(stand.width, 1);
    EXPECT_EQ(stand.height, 1);
    EXPECT_TRUE(PixelIs(image, 400, 300, kMagenta));
}

TEST_F(Resources, EveryShippedEffectBuildsAndABrokenOneIsSkipped) {
    GameFolder folder;
    folder.dir.Write("Resources/Shaders/Fade.fx", "#ifdef VERTEX\nthis is not GLSL\n#endif\n");
    EngineTest::WarningLog log;
    Game game(window);
    GraphicsComponent* faded = game.Sprite("Red", -100, 0, 40, 40);
    GraphicsComponent* plain = game.Sprite("Blue", 100, 0, 40, 40);
    ASSERT_TRUE(faded && plain);
    faded->shader = SpriteShader::Fade;
    game.Frame();
    const Image image = game.Frame();
    EXPECT_TRUE(log.Count("Fade.fx") == 1 && log.Contains("Error! Resources/Shaders/Fade.fx"))
        << "one box: " << log;
    EXPECT_EQ(game.graphics->Bank()->GetEffect("Resources/Shaders/Fade.fx"), nullptr);
    EXPECT_TRUE(PixelIs(image, 300, 300, kBlack)) << "the draw is skipped";
    EXPECT_TRUE(PixelIs(image, 500, 300, kBlue)) << "the others still draw";

    // The shipped effects build: each name, then the parameters it must
    // have besides "worldViewProj".
    for (const char* line :
         {"Basic", "Debug", "HighPass", "Down4", "BlurH", "BlurV", "Up4", "Combine", "Distort",
          "Final", "ClockWipe", "Fade texture0 texture1 color t",
          "ColorCorrection inBlack outBlack inWhite outWhite srcTexture"}) {
        SCOPED_TRACE(line);
        std::istringstream words(line);
        std::string name, parameter, error;
        words >> name;
        const std::unique_ptr<Effect> effect = Effect::Load(
            std::string(CLOUDMERE_SOURCE_DIR) + "/Resources/Shaders/" + name + ".fx", error);
        ASSERT_NE(effect, nullptr) << error;
        EXPECT_TRUE(effect->HasParameter("worldViewProj"));
        while (words >> parameter)
            EXPECT_TRUE(effect->HasParameter(parameter)) << parameter;
    }
}

TEST_F(Resources, WithoutAContextTheRendererReportsQuitsAndDrawsNothing) {
    GameFolder folder;
    SDL_GL_MakeCurrent(window, nullptr);
    EngineTest::WarningLog log;
    {
        Game game(window);
        EXPECT_TRUE(game.graphics->Failed());
        EXPECT_EQ(game.core->RequestedState(), Flurr::GameState::Quit);
        DrawTextMessage text;
        text.text = "x";
        text.font = "DebugText";
        game.Send(std::move(text));
        game.core->RunFrame();
        EXPECT_TRUE(game.graphics->PendingTexts().empty());
        EXPECT_TRUE(game.graphics->ReadBackBuffer().rgba.empty());
        EXPECT_EQ(game.presents, 0);
    }
    EXPECT_TRUE(log.Contains("OpenGL 3.3")) << log;
    SDL_GL_MakeCurrent(window, context);
}

} // namespace
