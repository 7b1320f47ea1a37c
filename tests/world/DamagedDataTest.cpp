// Damaged level files: what the game says and does with each, and that the
// data tool's check says exactly the same. Then what the game does not know
// surviving a save.

#include <algorithm>
#include <sstream>

#include "engine/EngineTestSupport.h"
#include "engine/GameObject.h"
#include "game/TestGame.h"
#include "serialization/Serializer.h"
#include "tools/ProgramRunner.h"
#include "world/Factory.h"

namespace Flurr {
namespace {

std::string Level(const std::string& body) {
    return "Root\n  GameObject\n" + body + "  -GameObject\n-Root\n";
}

TEST(DamagedData, TheGameAndTheDataToolSayTheSameAboutEachFile) {
    struct Row {
        const char* damage;
        std::string text;
        const char* warning; // after "<file>:"; empty when the file is sound
        std::size_t objects; // what the level then holds
        float x;             // ... and the first object's X
        int32_t width;
    };
    std::string deep = "Root\n";
    for (std::size_t i = 0; i < kMaxDataDepth; ++i)
        deep += "  GameObject\n";
    const std::vector<Row> rows = {
        {"lone carriage returns end lines", "Root\r  GameObject\r    X:5\r  -GameObject\r-Root\r",
         "", 1, 5, 1},
        {"a letter O for a zero", Level("    X:1O0\n"),
         "3: value of \"X\" has text after its number (\"1O0\"); keeping the previous value", 1, 0,
         1},
        {"an exponent in a whole number", Level("    WIDTH:12.7e1\n"),
         "3: value of \"WIDTH\" has text after its number", 1, 0, 1},
        {"a unit after a number", Level("    Rotator\n      RotationAmount:8kg\n    -Rotator\n"),
         "4: value of \"RotationAmount\" has text after its number", 1, 0, 1},
        {"too big for a float", Level("    X:1e308\n"), "3: value of \"X\" is not a number", 1, 0,
         1},
        {"an infinite trigger radius",
         Level("    TextTrigger\n      TriggerRadius:inf\n    -TextTrigger\n"),
         "4: value of \"TriggerRadius\" is not a number", 1, 0, 1},
        {"a point at nan",
         Level("    PhysicsComponent\n      CollisionSets\n        List#2:CollisionSet\n"
               "          nan,1\n          2,2\n        -CollisionSet\n      -CollisionSets\n"
               "    -PhysicsComponent\n"),
         "6: list item is not a point (\"nan,1\"); reading it as 0,0", 1, 0, 1},
        {"a misspelt component", Level("    X:3\n    GraphicComponent\n    -GraphicComponent\n"),
         "4: unknown element \"GraphicComponent\" in \"GameObject\"", 1, 3, 1},
        {"lines under a value's name", Level("    X\n      Y:4\n    -X\n"),
         "3: \"X\" holds lines where one value belongs; the game ignores them", 1, 0, 1},
        {"an object where a list belongs",
         Level("    JobGiverComponent\n      Jobs\n        Smith\n      -Jobs\n"
               "    -JobGiverComponent\n"),
         "4: \"Jobs\" is not a list; the game ignores it", 1, 0, 1},
        {"nesting too deep", deep, "65: objects nested more than 64 deep; the file is not read", 0,
         0, 0},
    };
    EngineTest::TempDir dir;
    Core core;
    Factory* factory = AddSystems(core, TestGame::Config()).factory;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Row& row = rows[i];
        SCOPED_TRACE(row.damage);
        const std::string file = dir.Write("level" + std::to_string(i) + ".zorvel", row.text);
        std::vector<std::string> said;
        {
            EngineTest::WarningLog log;
            factory->LoadLevel(file);
            said = log.Texts();
        }
        ASSERT_EQ(factory->objects.size(), row.objects) << testing::PrintToString(said);
        if (row.objects > 0) {
            EXPECT_EQ(factory->objects.begin()->second->x, row.x);
            EXPECT_EQ(factory->objects.begin()->second->width, row.width);
        }
        factory->Free();
        const std::string expected = *row.warning ? file + ":" + row.warning : "";
        EXPECT_TRUE(std::any_of(said.begin(), said.end(),
                                [&](const std::string& s) { return s.starts_with(expected); }) ||
                    (expected.empty() && said.empty()))
            << testing::PrintToString(said);

        // The tool prints what the game said, line for line, and a count.
        const EngineTest::Outcome check =
            EngineTest::RunProgram(CLOUDMERE_DATA_EXE, "check " + file, dir.Root());
        std::vector<std::string> printed;
        std::istringstream lines(check.out);
        for (std::string line; std::getline(lines, line);)
            if (!line.ends_with(" problem") && !line.ends_with(" problems"))
                printed.push_back(line);
        EXPECT_EQ(printed, said) << check.out << check.err;
        EXPECT_EQ(check.exitCode, said.empty() ? 0 : 1);
    }
}

TEST(DamagedData, ElementsTheGameDoesNotKnowSurviveASave) {
    // A misspelt component, a field of a newer version inside a known one,
    // a second Rotator, and something new at the level's top.
    const std::string text = "Root\n  Background:Sky.png\n  Music:Theme.ogg\n  GameObject\n"
                             "    X:2\n    Rotator\n      RotationAmount:0.5\n      Wobble:3\n"
                             "    -Rotator\n    Rotator\n      RotationAmount:9\n    -Rotator\n"
                             "    GraphicComponent\n      SpriteName:House\n"
                             "      List#1:Frames\n        a:b#c\n      -Frames\n"
                             "    -GraphicComponent\n  -GameObject\n-Root\n";
    EngineTest::TempDir dir;
    const std::string first = dir.Write("first.zorvel", text);
    Core core;
    Factory* factory = AddSystems(core, TestGame::Config()).factory;
    EngineTest::WarningLog log;
    factory->LoadLevel(first);
    ASSERT_EQ(factory->objects.size(), 1u);
    for (const char* unknown : {":3: unknown element \"Music\" in \"Root\"",
                                ":8: unknown element \"Wobble\" in \"Rotator\"",
                                ":10: unknown element \"Rotator\" in \"GameObject\"",
                                ":13: unknown element \"GraphicComponent\" in \"GameObject\""})
        EXPECT_TRUE(log.Contains(first + unknown)) << unknown << log;
    EXPECT_EQ(log.Count(), 4) << log;

    // Saved, everything is there, each in its place; the saved file reads
    // and saves again to the same text.
    ASSERT_TRUE(factory->SaveLevel(dir.Path("second.zorvel"), factory->Background()));
    const std::string second = dir.Read("second.zorvel");
    for (const char* kept :
         {"  Music:Theme.ogg\n",
          "      RotationAmount:0.5\n      Wobble:3\n    -Rotator\n"
          "    Rotator\n      RotationAmount:9\n    -Rotator\n",
          "    GraphicComponent\n      SpriteName:House\n      List#1:Frames\n        a:b#c\n"})
        EXPECT_TRUE(EngineTest::Contains(second, kept)) << kept << "\n" << second;
    factory->Free();
    factory->LoadLevel(dir.Path("second.zorvel"));
    ASSERT_TRUE(factory->SaveLevel(dir.Path("third.zorvel"), factory->Background()));
    EXPECT_EQ(dir.Read("third.zorvel"), second);

    // Copied and pasted (the editor's way), the object keeps them too.
    StringSaveSerializer copy;
    copy.Begin("Root");
    factory->objects.begin()->second->Save(copy);
    copy.End("Root");
    copy.Finish();
    GameObject* pasted = factory->CreateObjectFromText(copy.Result());
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(pasted->kept.size(), 3u);
}

} // namespace
} // namespace Flurr
