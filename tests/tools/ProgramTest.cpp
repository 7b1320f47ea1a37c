// The game and the data tool, run for real in a temporary folder.

#include "engine/EngineTestSupport.h"
#include "tools/ProgramRunner.h"

using namespace Flurr;
namespace {

using namespace EngineTest;

Outcome RunData(const std::string& arguments, const std::filesystem::path& workDir) {
    return EngineTest::RunProgram(CLOUDMERE_DATA_EXE, arguments, workDir);
}

TEST(Program, ChecksItsOptionsPlaysTheRouteAndSavesTheLevelOnExit) {
    GameFolder game;
    const std::string saved = game.dir.Path("saved.zorvel");
    Outcome run = RunGame("--frames 10 --fixed-dt 0.016 --save-on-exit " + saved, game.dir.Root());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    // Bad data is a warning line on stderr, and the game runs on.
    EXPECT_TRUE(Contains("\n" + run.err, "\nWarning: no sound bank at \"Resources/")) << run.err;
    std::string level = game.dir.Read("saved.zorvel");
    EXPECT_TRUE(Contains(level, "Background:Resources/Images/Sky.png")) << level;
    EXPECT_TRUE(Contains(level, "X:7.5\n")) << level;
    EXPECT_LT(level.find("X:-40\n"), level.find("X:7.5\n")) << level;

    // --route starts elsewhere on the chain.
    const std::string other =
        game.dir.Write("Resources/Levels/Other.zorvel", EngineTest::LevelText().Object(99).Text());
    const std::string route =
        game.dir.Write("Resources/Levels/Routes/Other.zorvel",
                       EngineTest::RouteText(other, "Resources\\Levels\\Routes\\Town.zorvel"));
    run = RunGame("--frames 10 --route " + route + " --save-on-exit " + saved, game.dir.Root());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    level = game.dir.Read("saved.zorvel");
    EXPECT_TRUE(Contains(level, "X:99\n") && !Contains(level, "X:-40")) << level;

    // A file that cannot be written is a failed run, not a quiet success.
    run = RunGame("--frames 2 --save-on-exit " + game.dir.Path("No/Folder/saved.zorvel"),
                  game.dir.Root());
    EXPECT_EQ(run.exitCode, 1) << run.err;

    // Options are checked before anything runs.
    Outcome help = RunGame("--help", game.dir.Root());
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(Contains(help.out, "usage: cloudmere [--frames N]")) << help.out;

    for (const char* bad :
         {"--bogus",          "--frames 0",       "--frames x",         "--frames -3",
          "--frames",         "--frames 5x",      "--fixed-dt -1",      "--fixed-dt 0",
          "--fixed-dt abc",   "--fixed-dt inf",   "--route Levels.txt", "--save-on-exit out.txt",
          "--unlock fly",     "--unlock flight,", "--unlock ,dash",     "extra",
          "--size 800",       "--size 0x600",     "--size 800x",        "--size x600",
          "--size 800x600x2", "--size 99999x600", "--size -800x600",    "--record out.txt",
          "--replay",         "--windowed yes"}) {
        run = RunGame(bad, game.dir.Root());
        EXPECT_EQ(run.exitCode, 2) << bad;
        EXPECT_TRUE(Contains(run.err, "usage: cloudmere [--frames N]")) << bad << ": " << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(game.dir.Path("out.txt")));
}

TEST(Program, AMissingRouteFileOrALevelWithoutDataExtensionIsReportedAndFails) {
    TempDir dir;
    std::filesystem::create_directories(dir.Path("Resources/Levels"));
    Outcome run = RunGame("--frames 3", dir.Root());
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_TRUE(Contains(run.err, "Error!") && Contains(run.err, "Resources/Levels/Route.zorvel"))
        << run.err;

    GameFolder game;
    game.dir.Write("Resources/Levels/Routes/Town.zorvel",
                   EngineTest::RouteText("Resources\\Levels\\Town.txt", "x.zorvel"));
    run = RunGame("--frames 3", game.dir.Root());
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_TRUE(Contains(run.err, "Error! Error, not valid .zorvel or .zoml file: "
                                  "\"Resources\\Levels\\Town.txt\""))
        << run.err;
}

TEST(Program, InstallsUnderAPrefixAndRunsFromAnyFolder) {
    namespace fs = std::filesystem;
    TempDir dir;
    const fs::path prefix = dir.Path("prefix");
    const std::string install = "'" CLOUDMERE_CMAKE "' --install '" CLOUDMERE_BUILD_DIR
                                "' --prefix '" +
                                prefix.string() + "' >'" + dir.Path("install.log") + "' 2>&1";
    ASSERT_EQ(std::system(install.c_str()), 0) << dir.Read("install.log");
    for (const char* file :
         {"bin/cloudmere", "bin/cloudmere-data", "share/cloudmere/Resources/Levels/Route.zorvel",
          "share/icons/hicolor/256x256/apps/cloudmere.png"})
        EXPECT_TRUE(fs::is_regular_file(prefix / file)) << file;
    const std::string entry = dir.Read("prefix/share/applications/cloudmere.desktop");
    EXPECT_TRUE(Contains(entry, "\nExec=cloudmere\n") && Contains(entry, "\nIcon=cloudmere\n"))
        << entry;
    // Started from a folder with no data in it, the installed program finds
    // its own beside it and plays; a screenshot goes to the pictures folder.
    fs::create_directories(dir.Path("elsewhere"));
    const Outcome run = RunProgram((prefix / "bin/cloudmere").string(),
                                   "--windowed --size 320x240 --frames 60 --screenshot-at 30",
                                   dir.Path("elsewhere"));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_FALSE(Contains(run.err, "Resources")) << run.err;
    int shots = 0;
    for (const auto& shot : fs::directory_iterator(dir.Path("elsewhere/cloudmere")))
        shots += shot.path().extension() == ".png";
    EXPECT_EQ(shots, 1);
}

TEST(DataTool, CheckPassesTheShippedDataReportsProblemsWithTheirLinesAndFormatIsStable) {
    TempDir dir;
    const std::string good = dir.Write("good.zorvel", "Root\n  Background:Sky.png\n  GameObject\n"
                                                      "    X:1.5\n    Rotator\n"
                                                      "      RotationAmount:2\n    -Rotator\n"
                                                      "  -GameObject\n-Root\n");
    Outcome run = RunData("check " + good, dir.Root());
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_EQ(run.out, "");

    struct Broken {
        const char* name;
        const char* text;
        const char* where; // FILE:LINE the report must point at
    };
    const Broken broken[] = {
        {"unclosed.zorvel", "Root\n  GameObject\n    X:1\n-Root\n", ":2: "},
        {"trailing.zorvel", "Root\n  X:1\n-Root\nRoot\n  X:2\n-Root\n", ":4: "},
        {"font.zorvel", "Root\n  Font\n    Name:Sliver\n    Height:0\n  -Font\n-Root\n",
         ":2: the font \"Sliver\" has a Height of 0"},
        {"number.zorvel", "Root\n  GameObject\n    X:abc\n  -GameObject\n-Root\n", ":3: "},
    };
    for (const Broken& b : broken) {
        const std::string file = dir.Write(b.name, b.text);
        run = RunData("check " + file, dir.Root());
        EXPECT_EQ(run.exitCode, 1) << b.name;
        EXPECT_TRUE(Contains(run.out, file + b.where)) << b.name << ": " << run.out;
    }
    EXPECT_TRUE(Contains(run.out, "\"X\"")) << run.out;

    // Several files: only the bad one is reported, and the run fails.
    run = RunData("check " + good + " " + dir.Path("number.zorvel"), dir.Root());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(Contains(run.out, good + ":"));
    for (const char* file : {"missing.zorvel", "notdata.txt"}) {
        run = RunData(std::string("check ") + file, dir.Root());
        EXPECT_EQ(run.exitCode, 1) << file;
        EXPECT_TRUE(Contains(run.out, file)) << run.out;
    }
    for (const char* bad : {"", "check", "frobnicate x.zorvel"})
        EXPECT_EQ(RunData(bad, dir.Root()).exitCode, 2) << bad;

    // Format writes the saver's layout, stably.
    const std::string messy = dir.Write("messy.zorvel", "Root\r\nGameObject\r\n\t\tX:1\r\n"
                                                        "      -GameObject\r\n List#5:Points\r\n"
                                                        "1,2\r\n  -Points\r\n-Root\r\n");
    run = RunData("format " + messy, dir.Root());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string expected = "Root\n  GameObject\n    X:1\n  -GameObject\n"
                                 "  List#1:Points\n    1,2\n  -Points\n-Root\n";
    EXPECT_EQ(run.out, expected);

    const std::string once = dir.Write("once.zorvel", run.out);
    EXPECT_EQ(RunData("format " + once, dir.Root()).out, expected);
    EXPECT_NE(RunData("format " + dir.Path("missing.zorvel"), dir.Root()).exitCode, 0);

    // The shipped data files pass the check.
    const std::filesystem::path resources =
        std::filesystem::path(CLOUDMERE_SOURCE_DIR) / "Resources";
    std::string files;
    int count = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(resources)) {
        const std::string ext = entry.path().extension().string();
        if (entry.is_regular_file() && (ext == ".zorvel" || ext == ".zoml")) {
            files += " '" + entry.path().string() + "'";
            ++count;
        }
    }
    ASSERT_GT(count, 0);
    run = RunData("check" + files, resources);
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
}

} // namespace
