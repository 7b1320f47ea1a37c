#pragma once
// Runs one of the real programs (the game, the data tool) as a user would:
// in a working directory of the test's choosing, output captured.

#include <sys/wait.h>

#include <cstdlib>

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
// it.
inline Outcome RunProgram(const std::string& program, const std::string& arguments,
                          const std::filesystem::path& workDir,
                          const std::string& environment = "") {
    static TempDir logs;
    static int runs = 0;
    const std::string out = "out" + std::to_string(runs), err = "err" + std::to_string(runs++);
    const std::string command = "cd '" + workDir.string() + "' && unset CLOUDMERE_DATA && " +
                                environment + " '" + program + "' " + arguments + " >'" +
                                logs.Path(out) + "' 2>'" + logs.Path(err) + "'";
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
