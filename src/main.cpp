// Program entry: builds the game (game/GameSetup.h), then runs initialise,
// the main loop and shutdown. Anything that escapes
// is reported in an "Error!" box (and on stderr) and the program exits
// with a non-zero status.

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>

#include "engine/Core.h"
#include "engine/LaunchOptions.h"
#include "engine/Random.h"
#include "engine/Report.h"
#include "engine/Settings.h"
#include "engine/TimerSet.h"
#include "game/GameSetup.h"
#include "graphics/GraphicsSystem.h"
#include "jobs/Progress.h"
#include "platform/InputRecording.h"
#include "platform/Platform.h"
#include "serialization/DataFolder.h"
#include "serialization/Serializer.h"
#include "world/Factory.h"

namespace {

void OnSignal(int) {
    Flurr::Core::RequestQuitFromSignal();
}

// Set by the build; empty when built some other way.
#ifndef CLOUDMERE_INSTALLED_DATA
#define CLOUDMERE_INSTALLED_DATA ""
#endif
#ifndef CLOUDMERE_DATA_FROM_PROGRAM
#define CLOUDMERE_DATA_FROM_PROGRAM ""
#endif
#ifndef CLOUDMERE_SOURCE_DATA
#define CLOUDMERE_SOURCE_DATA ""
#endif

// The game reads everything relative to a "Resources" folder; where it is
// looked for is in serialization/DataFolder.h. Run from elsewhere (an
// installed copy, a build folder anywhere), the data is read from the
// folder found (the `root` of the result; empty for the working
// directory).
Flurr::DataSearch FindResources(const char* argv0) {
    namespace fs = std::filesystem;
    std::error_code ec;
    Flurr::DataPlaces places;
    if (const char* chosen = std::getenv("CLOUDMERE_DATA"))
        places.chosen = chosen;
    places.working = fs::current_path(ec).string();
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        exe = fs::absolute(argv0, ec);
    places.program = exe.parent_path().string();
    places.installedFromProgram = CLOUDMERE_DATA_FROM_PROGRAM;
    places.installed = CLOUDMERE_INSTALLED_DATA;
    places.source = CLOUDMERE_SOURCE_DATA;
    return Flurr::FindDataFolder(places);
}

// A recording names a route inside the game folder by its place there, so
// it replays the same from any checkout and any working directory (a
// relative route is looked for in the game folder); a route elsewhere
// keeps the absolute path it was given as.
std::string RouteToRecord(const std::string& route, const std::string& dataRoot) {
    namespace fs = std::filesystem;
    if (route.empty() || !fs::path(route).is_absolute())
        return route;
    std::error_code ec;
    const fs::path root =
        fs::weakly_canonical(dataRoot.empty() ? fs::current_path(ec) : fs::path(dataRoot), ec);
    if (ec)
        return route;
    const fs::path inside = fs::weakly_canonical(route, ec).lexically_relative(root);
    if (ec || inside.empty() || *inside.begin() == "..")
        return route;
    return inside.generic_string();
}

int Run(const Flurr::LaunchOptions& options, const std::string& dataRoot,
        Flurr::InputReplay& replay) {
    using namespace Flurr;
    // A replay keeps the seed it was recorded with, so recording a replay
    // gives the same file again.
    InputRecorder recorder(options.replay.empty() ? static_cast<uint32_t>(std::time(nullptr))
                                                  : replay.Seed());
    GameConfig config;
    config.paths.dataRoot = dataRoot;
    config.window.windowed = options.windowed;
    config.window.width = options.width;
    config.window.height = options.height;
    config.window.recorder = options.record.empty() ? nullptr : &recorder;
    RecordedOptions recorded = OptionsToRecord(options);
    recorded.route = RouteToRecord(options.route, dataRoot);
    recorder.SetOptions(recorded);
    config.window.replay = options.replay.empty() ? nullptr : &replay;
    config.screenshotAt = options.screenshotAt;
    config.drawFrames = !options.noDraw;
    config.unlockFlight = options.unlockFlight;
    config.unlockDash = options.unlockDash;
    config.jobsDone = options.jobsDone;
    config.startRoute = options.route;
    // The player's own settings; a recording and a replay keep to the
    // table's keys, so they play the same on any machine.
    config.settingsFile = SettingsFilePath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
    config.settingsKeys = options.record.empty() && options.replay.empty();
    // Progress is the player's own game: a run started elsewhere on the
    // route or with jobs done, recorded or replayed neither continues it
    // nor overwrites it.
    if (options.route.empty() && options.record.empty() && options.replay.empty() &&
        options.jobsDone.empty())
        config.progressFile = ProgressFilePath(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    config.screenshotFolder = ScreenshotFolderPath(
        std::getenv("XDG_PICTURES_DIR"), std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));

    Core core;
    const GameSystems systems = AddSystems(core, config);
    // The window could not be made: its box has been shown.
    if (!systems.ok)
        return 1;
    // Every random draw of the run follows from here (a replay brings the
    // seed it was recorded with).
    SeedRandom(recorder.Seed());
    // A recording checks itself every so many ticks. A replay compares
    // and stops at the first difference, unless it is being recorded
    // afresh: then the new checkpoints are the point, and the first
    // difference is only told.
    recorder.SetWorldReader(ReadWorldState);
    replay.CheckWorld(ReadWorldState, options.record.empty());

    core.SetFrameLimit(options.frames);
    // Undrawn, nobody watches: a frame needn't wait for the clock.
    core.SetFixedDt(options.fixedDt > 0.0f ? options.fixedDt
                                           : (options.noDraw ? kTickSeconds : 0.0f));
    if (!options.saveOnExit.empty()) {
        Factory* factory = systems.factory;
        core.SetSaveOnExit([factory, file = options.saveOnExit] {
            return factory->SaveLevel(file, factory->Background());
        });
    }

    core.Initialize();
    core.GameLoop();
    // Read before Shutdown, which deletes the systems.
    const bool graphicsFailed = systems.graphics->Failed();
    const bool routeFailed = core.Route() && core.Route()->Failed();
    core.Shutdown();
    if (replay.Differs()) {
        std::cerr << "cloudmere: " << replay.Difference() << "\n";
        return 1;
    }
    if (graphicsFailed || routeFailed || core.SaveOnExitFailed())
        return 1;
    if (config.window.recorder && !recorder.Save(options.record))
        return 1;
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    using namespace Flurr;
    LaunchOptions options;
    std::string error;
    if (!ParseLaunchOptions(argc, argv, options, error)) {
        std::cerr << "cloudmere: " << error << "\n" << kUsageLine << "\n";
        return 2;
    }
    if (options.help) {
        std::cout << kUsageLine << "\n\n" << kHelpText;
        return 0;
    }
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    InstallErrorBoxes();

    // A replay runs with the options it was recorded with (a route among
    // them, which is placed below like one given here).
    InputReplay replay;
    if (!options.replay.empty()) {
        if (!replay.Load(NativePath(options.replay), error) ||
            (replay.Options() &&
             !ApplyRecordedOptions(*replay.Options(), options.replay, options, error))) {
            std::cerr << "cloudmere: " << error << "\n";
            return 1;
        }
    }
    // A recording's size is its window's inside. Full screen would take
    // the nearest display mode instead, and the pointer would aim across
    // another frame than the one recorded.
    if ((!options.record.empty() || !options.replay.empty()) && options.width > 0)
        options.windowed = true;
    // The run ends with its last frame: a screenshot after it never comes.
    {
        int64_t last = options.frames;
        if (!options.replay.empty()) {
            const auto recorded = static_cast<int64_t>(replay.Frames().size());
            last = last > 0 ? std::min(last, recorded) : recorded;
        }
        if (options.screenshotAt > 0 && last > 0 && options.screenshotAt > last)
            Warn("--screenshot-at " + std::to_string(options.screenshotAt) +
                 " comes after the run's last frame (" + std::to_string(last) +
                 "); no screenshot is taken");
    }
    // Files named on the command line mean the folder the user started
    // in, even when the data is read from a folder elsewhere. A route that
    // is not there may still be one inside the game folder.
    {
        namespace fs = std::filesystem;
        std::error_code ec;
        for (std::string* file : {&options.saveOnExit, &options.record, &options.replay}) {
            if (file->empty())
                continue;
            fs::path absolute = fs::absolute(NativePath(*file), ec);
            if (!ec)
                *file = absolute.string();
        }
        if (!options.route.empty() && fs::exists(NativePath(options.route), ec)) {
            fs::path absolute = fs::absolute(NativePath(options.route), ec);
            if (!ec)
                options.route = absolute.string();
        }
    }
    const DataSearch data = FindResources(argv[0]);
    if (!data.found) {
        ShowErrorBox(NoDataFolderText(data));
        return 1;
    }
    // A step longer than a frame may take would only run the clocks off
    // their ends; the run goes on with the longest there is.
    if (options.fixedDt > kMaxFrameStep) {
        std::ostringstream text;
        text << "--fixed-dt " << options.fixedDt << " is more than a frame may step; every frame "
             << "gets " << kMaxFrameStep << " s";
        Warn(text.str());
        options.fixedDt = kMaxFrameStep;
    }
    try {
        return Run(options, data.root, replay);
    } catch (const DataFileError& e) {
        ShowErrorBox(std::string(e.what()) + ": \"" + e.File() + "\"");
    } catch (const std::exception& e) {
        ShowErrorBox(e.what());
    } catch (...) {
        ShowErrorBox("an unknown error stopped the game");
    }
    return 1;
}
