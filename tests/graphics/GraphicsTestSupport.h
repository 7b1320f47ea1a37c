#pragma once
// Shared parts of the renderer tests: one hidden window with an OpenGL 3.3
// core context per suite (the offscreen driver and Mesa in headless runs),
// a scratch game folder and a small game to draw frames with. Pixels count
// from the top left: at 800 x 600 and zoom 0 the world point (x, y) falls
// on column x + 400, row 300 - y.

#include <SDL.h>
#include <epoxy/gl.h>

#include <array>
#include <memory>

#include "engine/EngineTestSupport.h"
#include "game/TestGame.h"
#include "graphics/GraphicsComponent.h"
#include "graphics/GraphicsSystem.h"
#include "graphics/ImageFiles.h"
#include "graphics/ResourceBank.h"

namespace GraphicsTest {

using Rgba = std::array<int, 4>;

inline constexpr Rgba kRed{255, 0, 0, 255};
inline constexpr Rgba kGreen{0, 255, 0, 255};
inline constexpr Rgba kBlue{0, 0, 255, 255};
inline constexpr Rgba kWhite{255, 255, 255, 255};
inline constexpr Rgba kGrey{128, 128, 128, 255};
inline constexpr Rgba kBlack{0, 0, 0, 255};
inline constexpr Rgba kMagenta{255, 0, 255, 255};

inline Rgba PixelAt(const Flurr::Image& image, int column, int row) {
    const std::size_t i = (static_cast<std::size_t>(row) * image.width + column) * 4;
    return {image.rgba[i], image.rgba[i + 1], image.rgba[i + 2], image.rgba[i + 3]};
}

// Colour channels equal within `tolerance` (alpha is not compared).
inline bool Near(const Rgba& a, const Rgba& b, int tolerance = 3) {
    for (int c = 0; c < 3; ++c)
        if (std::abs(a[c] - b[c]) > tolerance)
            return false;
    return true;
}

// The pixel at column x, row y has `colour` (within `tolerance`).
inline testing::AssertionResult PixelIs(const Flurr::Image& image, int x, int y, Rgba colour,
                                        int tolerance = 3) {
    const Rgba p = PixelAt(image, x, y);
    if (Near(p, colour, tolerance))
        return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << "pixel " << x << "," << y << " is " << testing::PrintToString(p) << ", not "
           << testing::PrintToString(colour);
}

// An image whose pixel in column x, row y is `at(x, y)`.
inline Flurr::Image MakeImage(int width, int height, const std::function<Rgba(int, int)>& at) {
    Flurr::Image image{width, height, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int channel : at(x, y))
                image.rgba.push_back(static_cast<uint8_t>(channel));
    return image;
}

// One animation of a bank file, its frames named as images of "Test".
inline std::string AnimationText(const std::string& name, const std::vector<std::string>& frames,
                                 const std::string& frameTime = "") {
    std::string text = "  Animation\n    Name:" + name + "\n";
    if (!frameTime.empty())
        text += "    FrameTime:" + frameTime + "\n";
    if (!frames.empty()) {
        text += "    List#" + std::to_string(frames.size()) + ":ListAnimation\n";
        for (const std::string& frame : frames)
            text += "      Resources/Images/Test/" + frame + ".png\n";
        text += "    -ListAnimation\n";
    }
    return text + "  -Animation\n";
}

// A game folder in a scratch directory, made the data root for the life of
// the object (every path the renderer reads is relative to it): the real
// shaders and fonts, plain 8 x 8 images (and "Quadrants": top-left red,
// top-right green, bottom-left blue, bottom-right white), a 64 x 64 black
// and white "Checker" and two banks.
class GameFolder {
public:
    explicit GameFolder(bool defaultImage = true) {
        namespace fs = std::filesystem;
        const fs::path source = CLOUDMERE_SOURCE_DIR;
        const fs::path root = dir.Root();
        fs::create_directories(root / "Resources/Banks/FontBank");
        fs::copy(source / "Resources/Shaders", root / "Resources/Shaders",
                 fs::copy_options::recursive);
        fs::copy(source / "Resources/Banks/FontBank/Fonts.zorvel",
                 root / "Resources/Banks/FontBank/Fonts.zorvel");
        fs::create_directories(root / "Resources/Images/Test");
        if (defaultImage)
            Flurr::WritePngFile(dir.Path("Resources/Images/default.png"),
                                MakeImage(4, 4, [](int, int) { return kGrey; }));
        for (const auto& [name, colour] :
             {std::pair{"Red", kRed}, {"Green", kGreen}, {"Blue", kBlue}})
            Flurr::WritePngFile(dir.Path("Resources/Images/Test/") + name + ".png",
                                MakeImage(8, 8, [c = colour](int, int) { return c; }));
        Flurr::WritePngFile(dir.Path("Resources/Images/Test/Quadrants.png"),
                            MakeImage(8, 8, [](int x, int y) {
                                return y < 4 ? (x < 4 ? kRed : kGreen) : (x < 4 ? kBlue : kWhite);
                            }));
        Flurr::WritePngFile(dir.Path("Resources/Images/Test/Checker.png"),
                            MakeImage(64, 64, [](int x, int y) {
                                const int v = (x + y) % 2 ? 255 : 0;
                                return Rgba{v, v, v, 255};
                            }));
        dir.Write("Resources/Banks/AnimationBank/Test.zorvel",
                  "Root\n" + AnimationText("Red", {"Red"}, "0") + AnimationText("Blue", {"Blue"}) +
                      AnimationText("Green", {"Green"}) +
                      AnimationText("Quadrants", {"Quadrants"}) +
                      AnimationText("Checker", {"Checker"}) +
                      AnimationText("Cycle", {"Red", "Green", "Blue"}, "10") +
                      AnimationText("Missing", {"NotThere"}, "4") +
                      AnimationText("Empty", {}, "5") + "-Root\n");
        dir.Write("Resources/Banks/AnimationBank/More.zorvel",
                  "Root\n" + AnimationText("Slow", {"Blue", "Red"}, "2") + "-Root\n");
        // Not a bank file: must be left alone.
        dir.Write("Resources/Banks/AnimationBank/x.txt", "Root\n");
        previous = Flurr::DataRoot();
        Flurr::SetDataRoot(root.string());
    }
    ~GameFolder() { Flurr::SetDataRoot(previous); }
    GameFolder(const GameFolder&) = delete;
    GameFolder& operator=(const GameFolder&) = delete;

    EngineTest::TempDir dir;

private:
    std::string previous;
};

// One window and context for all tests of a suite: Mesa's software
// context is slow to make.
class RendererTest : public ::testing::Test {
public:
    static void SetUpTestSuite() {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
            return;
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        window = SDL_CreateWindow("Cloudmere test", 0, 0, 800, 600,
                                  SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        if (window)
            context = SDL_GL_CreateContext(window);
    }
    static void TearDownTestSuite() {
        if (context)
            SDL_GL_DeleteContext(context);
        if (window)
            SDL_DestroyWindow(window);
        context = nullptr;
        window = nullptr;
        // SDL video stays up for the rest of the process: quitting it
        // unloads Mesa, whose own small leaks would then be reported with
        // no library name to recognise them by.
    }

protected:
    void SetUp() override {
        ASSERT_NE(context, nullptr) << "no OpenGL 3.3 core context: " << SDL_GetError();
        SDL_GL_MakeCurrent(window, context);
    }

    static inline SDL_Window* window = nullptr;
    static inline SDL_GLContext context = nullptr;
};

// Spaces, factory and graphics on the suite's window, 800 x 600
// windowed, with a fixed step (the renderer never sleeps then).
class Game : public Flurr::GameSystems {
public:
    explicit Game(SDL_Window* window, int width = 800, int height = 600) {
        using namespace Flurr;
        core = std::make_unique<Core>();
        core->SetFixedDt(1.0f / 60.0f);
        GameConfig config = TestGame::Config();
        config.systems.graphics = true;
        config.drawInto = window;
        config.drawWidth = width;
        config.drawHeight = height;
        // Test data lives in the folder the test made (GameFolder).
        config.paths.dataRoot = Flurr::DataRoot();
        config.present = [this, window] {
            ++presents;
            if (readWindow) {
                // What the window shows, read before the swap.
                windowImage.width = 800;
                windowImage.height = 600;
                std::vector<uint8_t> rows(800 * 600 * 4);
                glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
                glPixelStorei(GL_PACK_ALIGNMENT, 1);
                glReadPixels(0, 0, 800, 600, GL_RGBA, GL_UNSIGNED_BYTE, rows.data());
                windowImage.rgba.resize(rows.size());
                for (int y = 0; y < 600; ++y)
                    std::copy_n(rows.begin() + y * 3200, 3200,
                                windowImage.rgba.begin() + (599 - y) * 3200);
            }
            SDL_GL_SwapWindow(window);
        };
        static_cast<GameSystems&>(*this) = AddSystems(*core, config);
        core->Initialize();
        // A renderer that could not start has asked to quit.
        if (core->RequestedState() != GameState::Quit)
            core->BeginLevel();
    }
    ~Game() { core->Shutdown(); }

    // A recorded object with a sprite, from level text.
    Flurr::GraphicsComponent* Sprite(const std::string& animation, float x, float y, int width,
                                     int height, const std::string& extra = "") {
        const std::string text =
            "Root\n  GameObject\n    X:" + std::to_string(x) + "\n    Y:" + std::to_string(y) +
            "\n    WIDTH:" + std::to_string(width) + "\n    HEIGHT:" + std::to_string(height) +
            "\n    GraphicsComponent\n      Animation:" + animation + "\n" + extra +
            "    -GraphicsComponent\n  -GameObject\n-Root\n";
        Flurr::GameObject* object = factory->CreateObjectFromText(text);
        if (!object)
            ADD_FAILURE() << "no sprite from " << text;
        return object ? object->Get<Flurr::GraphicsComponent>() : nullptr;
    }

    void Send(Flurr::Message&& message) { core->SendMessage(&message); }

    // Runs one frame and returns the finished back buffer.
    Flurr::Image Frame() {
        core->RunFrame();
        return graphics->ReadBackBuffer();
    }

    std::unique_ptr<Flurr::Core> core;
    int presents = 0;
    bool readWindow = false;
    Flurr::Image windowImage;
};

// A suite whose tests draw in the plain game folder.
class GameTest : public RendererTest {
protected:
    GameFolder folder;
    Game game{window};
};

} // namespace GraphicsTest
