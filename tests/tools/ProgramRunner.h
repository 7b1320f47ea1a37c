#pragma once
// Runs one of the real programs (the game, the data tool) as a user would:
// in a working directory of the test's choosing, output captured.

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "engine/EngineTestSupport.h"

namespace EngineTest {

struct Outcome {
    int exitCode = -1; // -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// Runs `arguments` of `program` with `workDir` as the working directory
// and `environment` ("NAME=value ...") added. Output goes to files in a
// folder of its own, outside `workDir`.
inline Outcome RunProgram(const std::string& program, const std::string& arguments,
                          const std::filesystem::path& workDir,
                          const std::string& environment = "") {
    static TempDir logs;
    static int runs = 0;
    const std::string out = logs.Path("out" + std::to_string(runs));
    const std::string err = logs.Path("err" + std::to_string(runs++));
    const std::string command = "cd '" + workDir.string() + "' && " + environment + " '" + program +
                                "' " + arguments + " >'" + out + "' 2>'" + err + "'";
    const int status = std::system(command.c_str());
    Outcome outcome;
    if (status != -1 && WIFEXITED(status))
        outcome.exitCode = WEXITSTATUS(status);
    std::ifstream outFile(out), errFile(err);
    std::ostringstream outText, errText;
    outText << outFile.rdbuf();
    errText << errFile.rdbuf();
    outcome.out = outText.str();
    outcome.err = errText.str();
    return outcome;
}

} // namespace EngineTest
