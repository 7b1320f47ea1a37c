// Program entry: builds the core and its systems in their fixed order,
// then runs initialise, the main loop and shutdown. Anything that escapes
// is reported in an "Error!" box (and on stderr) and the program exits
// with a non-zero status.

#include <csignal>
#include <ctime>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

#include "engine/Core.h"
#include "engine/LaunchOptions.h"
#include "engine/Random.h"
#include "engine/Report.h"
#include "gameplay/LogicSystem.h"
#include "graphics/GraphicsSystem.h"
#include "particles/ParticleSystem.h"
#include "physics/Physics.h"
#include "platform/InputRecording.h"
#include "platform/InputSystem.h"
#include "platform/Platform.h"
#include "platform/WindowsSystem.h"
#include "player/CameraController.h"
#include "player/PlayerController.h"
#include "serialization/Serializer.h"
#include "sound/SoundSystem.h"
#include "world/Factory.h"
#include "world/SpaceManager.h"

namespace {

void OnSignal(int) {
    Flurr::Core::RequestQuitFromSignal();
}

// The game reads everything relative to a "Resources" folder. Run from
// elsewhere (an installed copy, the build folder), find it beside the
// program or one level up and work from there.
bool FindResources(const char* argv0) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::is_directory("Resources", ec))
        return true;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        exe = fs::absolute(argv0, ec);
    for (fs::path dir = exe.parent_path(); !dir.empty(); dir = dir.parent_path()) {
        if (fs::is_directory(dir / "Resources", ec)) {
            fs::current_path(dir, ec);
            return !ec;
        }
        if (dir == dir.parent_path())
            break;
    }
    return false;
}

int Run(const Flurr::LaunchOptions& options) {
    using namespace Flurr;
    InputReplay replay;
    if (!options.replay.empty()) {
        std::string error;
        if (!replay.Load(options.replay, error)) {
            std::cerr << "cloudmere: " << error << "\n";
            return 1;
        }
    }
    // A replay keeps the seed it was recorded with, so recording a replay
    // gives the same file again.
    InputRecorder recorder(options.replay.empty() ? static_cast<uint32_t>(std::time(nullptr))
                                                  : replay.Seed());
    WindowSettings window;
    window.windowed = options.windowed;
    window.width = options.width;
    window.height = options.height;
    window.recorder = options.record.empty() ? nullptr : &recorder;
    window.replay = options.replay.empty() ? nullptr : &replay;

    Core core;
    core.AddSystem(new SpaceManager());
    ReadScreenSize();
    auto* windows = new WindowsSystem(window);
    core.AddSystem(windows);
    // The window could not be made: its box has been shown.
    if (windows->Failed())
        return 1;
    GraphicsSettings graphicsSettings;
    graphicsSettings.window = windows->Window();
    graphicsSettings.width = windows->ClientWidth();
    graphicsSettings.height = windows->ClientHeight();
    graphicsSettings.windowed = options.windowed;
    graphicsSettings.present = [windows] { windows->SwapWindow(); };
    auto* graphics = new GraphicsSystem(graphicsSettings);
    core.AddSystem(graphics);
    if (options.screenshotAt > 0)
        graphics->ScreenshotAtFrame(options.screenshotAt);
    core.AddSystem(new InputSystem(&windows->Input()));
    core.AddSystem(new Factory());
    core.AddSystem(new Physics());
    auto* players = new PlayerController();
    players->startWithFlight = options.unlockFlight;
    players->startWithDash = options.unlockDash;
    players->warpPointer = [windows](int32_t x, int32_t y) { windows->WarpPointer(x, y); };
    core.AddSystem(players);
    core.AddSystem(new CameraController());
    core.AddSystem(new LogicSystem());
    core.AddSystem(new ParticleSystem());
    core.AddSystem(new SoundSystem());
    // Every random draw of the run follows from here (a replay brings the
    // seed it was recorded with).
    SeedRandom(recorder.Seed());

    core.SetFrameLimit(options.frames);
    core.SetFixedDt(options.fixedDt);
    core.SetSaveOnExit(options.saveOnExit);
    if (!options.route.empty())
        core.route.currentRouteFile = options.route;

    core.Initialize();
    core.GameLoop();
    // Read before Shutdown, which deletes the systems.
    const bool graphicsFailed = graphics->Failed();
    core.Shutdown();
    if (graphicsFailed || core.route.Failed() || core.SaveOnExitFailed())
        return 1;
    if (window.recorder && !recorder.Save(options.record))
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

    // Files named on the command line mean the folder the user started
    // in, even if the game then moves to the folder holding "Resources".
    // A route that is not there may still be one inside the game folder.
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
    if (!FindResources(argv[0])) {
        ShowErrorBox("No \"Resources\" folder was found in the working directory or beside the "
                     "program; the game cannot start without its data.");
        return 1;
    }
    try {
        return Run(options);
    } catch (const DataFileError& e) {
        ShowErrorBox(std::string(e.what()) + ": \"" + e.File() + "\"");
    } catch (const std::exception& e) {
        ShowErrorBox(e.what());
    } catch (...) {
        ShowErrorBox("an unknown error stopped the game");
    }
    return 1;
}
