#pragma once
// Runs one of the real programs (the game, the data tool) as a user would:
// in a working directory of the test's choosing, output captured.

#include <sys/wait.h>

#include <cstdlib>
#include <map>
#include <vector>

#include "engine/EngineTestSupport.h"

namespace EngineTest {

struct Outcome {
    int exitCode = -1; // -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// Runs `arguments` of `program` with `workDir` as the working directory
// and `environment` ("NAME=value ...") added. Output goes to files in a
// folder of its own, outside `workDir`. A CLOUDMERE_DATA of the person
// running the tests would take the game elsewhere; only `environment` sets
// it. The player's settings are read and written in a folder of the
// runner's own unless `environment` names XDG_CONFIG_HOME, and so is the
// saved progress; screenshots go to "<workDir>/cloudmere".
inline Outcome RunProgram(const std::string& program, const std::string& arguments,
                          const std::filesystem::path& workDir,
                          const std::string& environment = "") {
    static TempDir logs;
    static TempDir config;
    static int runs = 0;
    const std::string out = "out" + std::to_string(runs), err = "err" + std::to_string(runs++);
    const std::string command =
        "cd '" + workDir.string() + "' && unset CLOUDMERE_DATA && XDG_CONFIG_HOME='" +
        config.Path("settings") + "' XDG_DATA_HOME='" + config.Path("data") +
        "' XDG_PICTURES_DIR='" + workDir.string() + "' " + environment + " '" + program + "' " +
        arguments + " >'" + logs.Path(out) + "' 2>'" + logs.Path(err) + "'";
    const int status = std::system(command.c_str());
    Outcome outcome;
    if (status != -1 && WIFEXITED(status))
        outcome.exitCode = WEXITSTATUS(status);
    outcome.out = logs.Read(out);
    outcome.err = logs.Read(err);
    return outcome;
}

inline Outcome RunGame(const std::string& arguments, const std::filesystem::path& workDir,
                       const std::string& environment = "") {
    return RunProgram(CLOUDMERE_EXE, arguments, workDir, environment);
}

// A recording the game replays: `frames` ticks at 60 a second, each with
// the event lines given for it ("F 1" focus, "K <virtual key> 1/0", "W
// <window message> <wParam> <lParam>").
inline std::string RecordingText(int seed, int frames,
                                 const std::map<int, std::vector<std::string>>& events) {
    std::ostringstream out;
    out << "Root\n  Seed:" << seed << "\n";
    for (int frame = 0; frame < frames; ++frame) {
        out << "  Frame\n    Dt:0.016666668\n";
        if (auto it = events.find(frame); it != events.end()) {
            out << "    List#" << it->second.size() << ":Events\n";
            for (const std::string& line : it->second)
                out << "      " << line << "\n";
            out << "    -Events\n";
        }
        out << "  -Frame\n";
    }
    out << "-Root\n";
    return out.str();
}

// A working directory with a small game: the route names a town level
// (written with the game's own '\' paths) that leads to itself.
struct GameFolder {
    GameFolder() {
        dir.Write("Resources/Levels/Route.zorvel",
                  "Root\n  Route:Resources\\Levels\\Routes\\Town.zorvel\n-Root\n");
        dir.Write(
            "Resources/Levels/Routes/Town.zorvel",
            RouteText("Resources\\Levels\\Town.zorvel", "Resources\\Levels\\Routes\\Town.zorvel"));
        dir.Write("Resources/Levels/Town.zorvel",
                  LevelText()
                      .Object(-40, 12)
                      .With("GraphicsComponent", {{"SpriteName", "House"}})
                      .Object(7.5f)
                      .Text("Resources/Images/Sky.png"));
    }
    TempDir dir;
};

} // namespace EngineTest
