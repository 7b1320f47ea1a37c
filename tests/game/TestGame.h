#pragma once
// Games for tests, assembled by the game's own setup: the same component
// classes, the same systems in the same frame order, the data from the
// source tree's Resources folder. A test starts from Config(), which has
// only the space manager and the factory, turns on the systems it needs,
// builds with AddSystems(), adds any listeners of its own, and starts.

#include "engine/Core.h"
#include "game/GameSetup.h"
#include "sound/SoundSystem.h"

namespace TestGame {

inline Flurr::GameConfig Config() {
    Flurr::GameConfig config;
    config.paths.dataRoot = CLOUDMERE_SOURCE_DIR;
    config.systems = Flurr::GameSystemSet::None();
    config.window = {.windowed = true, .width = 800, .height = 600};
    config.playRoute = false;
    return config;
}

// Every system of the program playing `route` from `dataRoot`, in a
// 400 x 300 window that shows nothing, sounds written down, not played.
inline Flurr::GameConfig ProgramConfig(const std::string& route,
                                       const std::string& dataRoot = CLOUDMERE_SOURCE_DIR,
                                       Flurr::InputReplay* replay = nullptr) {
    Flurr::GameConfig config = Config();
    config.paths.dataRoot = dataRoot;
    config.systems = {.sound = false};
    config.window = {.windowed = true, .width = 400, .height = 300, .replay = replay};
    config.present = [] {};
    config.playRoute = true;
    config.startRoute = route;
    return config;
}

// Initialises every system, in order, and marks a level as running, as the
// loop does before its first frame (without loading a route). Every frame
// is then one tick, as fast as the machine goes: what a test sees after a
// frame never depends on the machine's load.
inline void Start(Flurr::Core& core) {
    core.SetFixedDt(Flurr::kTickSeconds);
    core.Initialize();
    core.BeginLevel();
}

// A game of the spaces, the factory and the sound system reading `bank`,
// initialised.
inline Flurr::SoundSystem* WithSound(Flurr::Core& core, const std::string& bank) {
    Flurr::GameConfig config = Config();
    config.systems.sound = true;
    config.paths.soundBank = bank;
    Flurr::SoundSystem* sound = Flurr::AddSystems(core, config).sound;
    core.Initialize();
    return sound;
}

} // namespace TestGame
