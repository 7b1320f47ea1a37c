// Frame time of our sprite path against SDL's own 2D renderer, drawing the
// same sprites at 800 x 600: 500, 2,000 and 8,000 textured 32 x 32 sprites,
// each placed and turned at random (the same layout for both). Ours runs
// the whole frame of the game (scene target, sprites in draw order,
// "Final.fx", overlay, present) without the post-processing passes, with
// them, and with them all at full size as the chain first ran (the cost
// of the passes is the difference to the run without); the peer clears,
// draws every sprite with SDL_RenderCopyEx and presents (with SDL's
// default nearest filter, and with linear filtering like ours). Both wait
// for the frame to finish, so the time is the real cost on the software
// renderer (SDL's offscreen driver and Mesa) rather than the cost of
// queueing commands.
//
// Runs in a scratch game folder holding the shipped shaders (all of them,
// or all but the pass effects for the run without post-processing), one
// sprite image and its animation bank.

#include <benchmark/benchmark.h>

#include "BenchSupport.h"

#include <SDL.h>
#include <epoxy/gl.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include "engine/Core.h"
#include "game/GameSetup.h"
#include "graphics/GraphicsSystem.h"
#include "graphics/ImageFiles.h"
#include "world/Factory.h"
#include "world/SpaceManager.h"

namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kSpriteSize = 32; // pixels, and world units at zoom 0

struct Placement {
    float x, y;  // world units from the centre, y up
    float angle; // degrees, clockwise on screen
    bool flip;
};

std::vector<Placement> Layout(int count) {
    std::mt19937 random(1234);
    std::uniform_real_distribution<float> x(-380.0f, 380.0f), y(-280.0f, 280.0f),
        angle(0.0f, 360.0f);
    std::vector<Placement> layout;
    for (int i = 0; i < count; ++i)
        layout.push_back({x(random), y(random), angle(random), (i & 1) != 0});
    return layout;
}

// A round, outlined sprite with soft edges, so blending does real work.
Flurr::Image SpriteImage() {
    Flurr::Image image;
    image.width = image.height = kSpriteSize;
    image.rgba.resize(kSpriteSize * kSpriteSize * 4);
    for (int y = 0; y < kSpriteSize; ++y)
        for (int x = 0; x < kSpriteSize; ++x) {
            const float dx = x - 15.5f, dy = y - 15.5f;
            const float r = std::sqrt(dx * dx + dy * dy);
            uint8_t* p = &image.rgba[(y * kSpriteSize + x) * 4];
            const bool rim = r > 12.0f;
            p[0] = rim ? 59 : 200;
            p[1] = rim ? 42 : 85;
            p[2] = rim ? 34 : 61;
            p[3] = r < 15.0f ? 255 : (r < 16.0f ? 128 : 0);
        }
    return image;
}

// A scratch game folder, the data root of the game built on it.
class GameFolder {
public:
    explicit GameFolder(bool postProcessing) {
        root = fs::temp_directory_path() /
               ("cloudmere-bench-" + std::to_string(::getpid()) + (postProcessing ? "-pp" : ""));
        fs::remove_all(root);
        fs::create_directories(root / "Resources/Images");
        fs::create_directories(root / "Resources/Banks/AnimationBank");
        fs::copy(Bench::DataFolder() / "Resources/Shaders",
                 root / "Resources/Shaders");
        if (!postProcessing)
            for (const char* pass : {"HighPass", "Down4", "BlurH", "BlurV", "Up4", "Combine",
                                     "ColorCorrection", "Distort"})
                fs::remove(root / "Resources/Shaders" / (std::string(pass) + ".fx"));
        Flurr::WritePngFile((root / "Resources/Images/default.png").string(), SpriteImage());
        Flurr::WritePngFile((root / "Resources/Images/Ball.png").string(), SpriteImage());
        std::ofstream(root / "Resources/Banks/AnimationBank/Bench.zorvel")
            << "Root\n  Animation\n    Name:Ball\n    FrameTime:0\n    List#1:ListAnimation\n"
               "      Resources/Images/Ball.png\n    -ListAnimation\n  -Animation\n-Root\n";
    }
    ~GameFolder() { fs::remove_all(root); }
    std::string Root() const { return root.string(); }

private:
    fs::path root;
};

// The suite's window with an OpenGL 3.3 core context for ours.
struct Windows : Bench::GlWindow {
    Windows() : GlWindow("Cloudmere bench", kWidth, kHeight) {}
};

Windows& SharedWindows() {
    static Windows windows;
    return windows;
}

void OurSprites(benchmark::State& state, bool postProcessing,
                Flurr::PassSizes sizes = Flurr::PassSizes::Reduced) {
    Windows& windows = SharedWindows();
    if (!windows.context) {
        state.SkipWithError("no OpenGL 3.3 core context");
        return;
    }
    SDL_GL_MakeCurrent(windows.window, windows.context);
    GameFolder folder(postProcessing);
    {
        using namespace Flurr;
        auto core = std::make_unique<Core>();
        core->SetFixedDt(0.016f);
        GameConfig config;
        config.systems = Flurr::GameSystemSet::None();
        config.systems.graphics = true;
        config.playRoute = false;
        config.paths.dataRoot = folder.Root();
        config.paths.fontBanks.clear();
        config.drawInto = windows.window;
        config.drawWidth = kWidth;
        config.drawHeight = kHeight;
        config.present = [&windows] {
            SDL_GL_SwapWindow(windows.window);
            glFinish();
        };
        const GameSystems made = AddSystems(*core, config);
        Factory* factory = made.factory;
        GraphicsSystem* graphics = made.graphics;
        graphics->SetPostPassSizes(sizes);
        core->Initialize();
        core->BeginLevel();
        for (const Placement& p : Layout(static_cast<int>(state.range(0)))) {
            // ROT turns counter-clockwise in radians, y up.
            const std::string text =
                "Root\n  GameObject\n    X:" + std::to_string(p.x) +
                "\n    Y:" + std::to_string(p.y) +
                "\n    WIDTH:32\n    HEIGHT:32\n    XSCALE:" + (p.flip ? "-1" : "1") +
                "\n    YSCALE:1\n    ROT:" + std::to_string(-p.angle * 3.14159265f / 180.0f) +
                "\n    GraphicsComponent\n      Animation:Ball\n      FrameRate:0\n"
                "    -GraphicsComponent\n  -GameObject\n-Root\n";
            factory->CreateObjectFromText(text);
        }
        core->RunFrame(); // textures and effects load on first use
        for (auto _ : state)
            core->RunFrame();
        state.counters["passes"] = graphics->PostPassesRun();
        state.counters["sprites"] = static_cast<double>(graphics->SpriteCount());
        core->Shutdown();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void SdlRendererSprites(benchmark::State& state, SDL_ScaleMode filter) {
    SharedWindows();
    SDL_Window* window =
        SDL_CreateWindow("SDL_Renderer bench", 0, 0, kWidth, kHeight, SDL_WINDOW_HIDDEN);
    SDL_Renderer* renderer =
        window ? SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED) : nullptr;
    if (!renderer)
        renderer = window ? SDL_CreateRenderer(window, -1, 0) : nullptr;
    if (!renderer) {
        state.SkipWithError(SDL_GetError());
        if (window)
            SDL_DestroyWindow(window);
        return;
    }
    SDL_RendererInfo info{};
    SDL_GetRendererInfo(renderer, &info);
    state.SetLabel(info.name ? info.name : "?");
    const Flurr::Image image = SpriteImage();
    SDL_Texture* texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ABGR8888,
                                             SDL_TEXTUREACCESS_STATIC, kSpriteSize, kSpriteSize);
    SDL_UpdateTexture(texture, nullptr, image.rgba.data(), kSpriteSize * 4);
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    SDL_SetTextureScaleMode(texture, filter);
    const std::vector<Placement> layout = Layout(static_cast<int>(state.range(0)));
    uint32_t pixel = 0;
    const SDL_Rect one{0, 0, 1, 1};
    for (auto _ : state) {
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
        for (const Placement& p : layout) {
            // The same place as our world point: column x + 400, row 300 - y.
            const SDL_FRect dest{p.x + kWidth / 2.0f - kSpriteSize / 2.0f,
                                 kHeight / 2.0f - p.y - kSpriteSize / 2.0f, float(kSpriteSize),
                                 float(kSpriteSize)};
            SDL_RenderCopyExF(renderer, texture, nullptr, &dest, p.angle, nullptr,
                              p.flip ? SDL_FLIP_HORIZONTAL : SDL_FLIP_NONE);
        }
        // Reading a pixel waits for the frame, as our glFinish does.
        SDL_RenderReadPixels(renderer, &one, SDL_PIXELFORMAT_ABGR8888, &pixel, 4);
        SDL_RenderPresent(renderer);
    }
    benchmark::DoNotOptimize(pixel);
    state.SetItemsProcessed(state.iterations() * state.range(0));
    SDL_DestroyTexture(texture);
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
}

void BM_Sprites_Ours(benchmark::State& state) {
    OurSprites(state, false);
}
void BM_Sprites_OursPostProcessed(benchmark::State& state) {
    OurSprites(state, true);
}
void BM_Sprites_OursPostProcessedFullSize(benchmark::State& state) {
    OurSprites(state, true, Flurr::PassSizes::FullSize);
}
// SDL's default filter is nearest; ours filters (mipmapped, linear), so
// the peer runs both ways.
void BM_Sprites_SdlRenderer(benchmark::State& state) {
    SdlRendererSprites(state, SDL_ScaleModeNearest);
}
void BM_Sprites_SdlRendererLinear(benchmark::State& state) {
    SdlRendererSprites(state, SDL_ScaleModeLinear);
}

BENCHMARK(BM_Sprites_Ours)
    ->Arg(500)
    ->Arg(2000)
    ->Arg(8000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_Sprites_OursPostProcessed)
    ->Arg(500)
    ->Arg(2000)
    ->Arg(8000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_Sprites_OursPostProcessedFullSize)
    ->Arg(500)
    ->Arg(2000)
    ->Arg(8000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_Sprites_SdlRenderer)
    ->Arg(500)
    ->Arg(2000)
    ->Arg(8000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK(BM_Sprites_SdlRendererLinear)
    ->Arg(500)
    ->Arg(2000)
    ->Arg(8000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
