// Where the game finds its "Resources": the order of the places, with real
// folders, and the real program started away from its data.

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/EngineTestSupport.h"
#include "serialization/DataFolder.h"
#include "tools/ProgramRunner.h"

namespace Flurr {
namespace {

using EngineTest::Contains;
using EngineTest::TempDir;

TEST(DataFolder, ThePlacesAreTriedInOrderAndTheErrorNamesEveryOne) {
    TempDir dir;
    const auto folder = [&dir](const std::string& name) {
        std::filesystem::create_directories(dir.Path(name + "/Resources"));
        return dir.Path(name);
    };
    // The program sits in "game/bin"; "game/share/cloudmere" is where an
    // install puts the data relative to it.
    DataPlaces places;
    places.chosen = folder("chosen");
    places.working = folder("work");
    folder("game/bin");
    places.program = dir.Path("game/bin");
    folder("game/share/cloudmere");
    places.installedFromProgram = "../share/cloudmere";
    places.installed = folder("installed");
    places.source = folder("source");

    // Each place found in turn, once every place before it has lost its
    // "Resources". The working directory stays the relative root it always
    // was.
    const std::vector<std::pair<std::string, std::string>> order = {
        {"chosen", places.chosen},
        {"work", ""},
        {"game/bin", dir.Path("game/bin")},
        {"game", dir.Path("game")},
        {"game/share/cloudmere", dir.Path("game/share/cloudmere")},
        {"installed", places.installed},
        {"source", places.source},
    };
    std::filesystem::create_directories(dir.Path("game/Resources"));
    for (const auto& [name, root] : order) {
        SCOPED_TRACE(name);
        DataSearch search = FindDataFolder(places);
        ASSERT_TRUE(search.found);
        EXPECT_EQ(search.root, root);
        std::filesystem::remove_all(dir.Path(name + "/Resources"));
        if (name == "chosen") {
            // Named on purpose, the folder is the only place: without data
            // there the game does not quietly take another copy.
            search = FindDataFolder(places);
            EXPECT_FALSE(search.found);
            ASSERT_EQ(search.tried.size(), 1u);
            EXPECT_TRUE(Contains(NoDataFolderText(search), places.chosen + " (CLOUDMERE_DATA)"))
                << NoDataFolderText(search);
            places.chosen.clear();
        }
    }

    const DataSearch none = FindDataFolder(places);
    EXPECT_FALSE(none.found);
    const std::string text = NoDataFolderText(none);
    EXPECT_TRUE(text.starts_with("No \"Resources\" folder was found")) << text;
    for (const char* name :
         {"work", "game/bin", "game", "game/share/cloudmere", "installed", "source"})
        EXPECT_TRUE(Contains(text, "\n  " + dir.Path(name) + " (")) << name << ": " << text;

    // A folder met twice (a build inside the source tree) is looked in once;
    // places left empty are not looked in at all.
    DataPlaces twice;
    twice.program = dir.Path("source/build");
    twice.source = dir.Path("source");
    EXPECT_EQ(FindDataFolder(twice).tried.size(), 2u);
}

TEST(DataFolder, TheGameStartedAwayFromItsDataFindsItOrSaysWhereItLooked) {
    EngineTest::GameFolder game;
    TempDir elsewhere;
    // CLOUDMERE_DATA takes the game to the small game folder, wherever it
    // was started.
    EngineTest::Outcome run =
        EngineTest::RunGame("--frames 2 --save-on-exit saved.zorvel", elsewhere.Root(),
                            "CLOUDMERE_DATA='" + game.dir.Root().string() + "'");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Contains(elsewhere.Read("saved.zorvel"), "X:7.5\n")) << run.err;

    // Pointed at a folder without data, it stops and says where it looked.
    run = EngineTest::RunGame("--frames 2", elsewhere.Root(),
                              "CLOUDMERE_DATA='" + elsewhere.Root().string() + "'");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(Contains(run.err, "Error! No \"Resources\" folder was found")) << run.err;
    EXPECT_TRUE(Contains(run.err, elsewhere.Root().string() + " (CLOUDMERE_DATA)")) << run.err;
}

} // namespace
} // namespace Flurr
