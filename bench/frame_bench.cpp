// The whole frame of the first level as the player first sees it: Hillside
// with its sky, scenery, player, particles, sign text and post-processing,
// every system of the game but the window, input and sound, drawn at
// 800 x 600 and 1280 x 720 on the software renderer (SDL's offscreen
// driver and Mesa), and again with every post-processing pass at full
// size as the chain first ran. The town, the heaviest level (townsfolk,
// birds, clouds, jobs), is measured at 1280 x 720 with each system's share
// of the frame as counters (milliseconds a frame, as the profile overlay
// shows them). The level settles for a second first (the
// player lands, the greeting sign speaks, the first particles fly); then
// each iteration is one frame, finished on the renderer before the clock
// stops.
//
// Reads the shipped data where it lies (the folder holding "Resources",
// found from the working directory, the source tree or the program).

#include <benchmark/benchmark.h>

#include "BenchSupport.h"

#include <SDL.h>
#include <epoxy/gl.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/Core.h"
#include "engine/Random.h"
#include "game/GameSetup.h"
#include "graphics/GraphicsSystem.h"
#include "world/Factory.h"

namespace {

namespace fs = std::filesystem;

// What the first route entry plays, and the town.
constexpr const char* kHillside = "Resources/Levels/Hillside.zorvel";
constexpr const char* kTown = "Resources/Levels/Town.zorvel";
// A second of play at 60 frames a second before the clock starts.
constexpr int kSettleFrames = 60;

// A window of the frame's size, so presenting copies the frame one to one.
struct FrameWindow : Bench::GlWindow {
    FrameWindow(int width, int height) : GlWindow("Cloudmere frame bench", width, height) {}
    ~FrameWindow() {
        if (context)
            SDL_GL_DeleteContext(context);
        if (window)
            SDL_DestroyWindow(window);
    }
};

void LevelFrame(benchmark::State& state, const char* level, Flurr::PassSizes sizes,
                bool splitBySystem) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const fs::path data = Bench::DataFolder();
    if (data.empty()) {
        state.SkipWithError("no Resources folder with the level");
        return;
    }
    FrameWindow frame(width, height);
    if (!frame.context) {
        state.SkipWithError("no OpenGL 3.3 core context");
        return;
    }
    SDL_GL_MakeCurrent(frame.window, frame.context);
    using namespace Flurr;
    SeedRandom(12345);
    auto core = std::make_unique<Core>();
    core->SetFixedDt(1.0f / 60.0f);
    GameConfig config;
    config.systems.window = false;
    config.systems.input = false;
    config.systems.sound = false;
    config.playRoute = false;
    config.paths.dataRoot = data.string();
    config.drawInto = frame.window;
    config.drawWidth = width;
    config.drawHeight = height;
    config.present = [&frame] { SDL_GL_SwapWindow(frame.window); };
    const GameSystems made = AddSystems(*core, config);
    made.graphics->SetPostPassSizes(sizes);
    core->Initialize();
    core->BeginLevel();
    made.factory->LoadLevel(level);
    for (int i = 0; i < kSettleFrames; ++i)
        core->RunFrame();
    std::map<std::string, double> systemSeconds;
    for (auto _ : state) {
        core->RunFrame();
        if (splitBySystem)
            for (IGameSystem* system : core->systems)
                systemSeconds[system->GetName()] += core->timers.GetTime(system->GetName());
    }
    for (const auto& [name, seconds] : systemSeconds)
        state.counters[name + "_ms"] = 1000.0 * seconds / static_cast<double>(state.iterations());
    state.counters["sprites"] = static_cast<double>(made.graphics->SpriteCount());
    state.counters["passes"] = made.graphics->PostPassesRun();
    core->Shutdown();
}

void BM_Frame_Hillside(benchmark::State& state) {
    LevelFrame(state, kHillside, Flurr::PassSizes::Reduced, false);
}
void BM_Frame_HillsideFullSizePasses(benchmark::State& state) {
    LevelFrame(state, kHillside, Flurr::PassSizes::FullSize, false);
}
void BM_Frame_TownBySystem(benchmark::State& state) {
    LevelFrame(state, kTown, Flurr::PassSizes::Reduced, true);
}

BENCHMARK(BM_Frame_Hillside)
    ->Args({800, 600})
    ->Args({1280, 720})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_Frame_HillsideFullSizePasses)
    ->Args({800, 600})
    ->Args({1280, 720})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK(BM_Frame_TownBySystem)->Args({1280, 720})->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
