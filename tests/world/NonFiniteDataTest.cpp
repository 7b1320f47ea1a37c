// Places, scales, turns and densities that are not finite ("nan", "inf")
// are refused as a number too big for a float is: a warning naming the
// file and line, the default kept. The game then plays on.

#include <filesystem>
#include <limits>
#include <sstream>

#include "engine/EngineTestSupport.h"
#include "engine/GameObject.h"
#include "game/TestGame.h"
#include "serialization/Serializer.h"
#include "tools/ProgramRunner.h"
#include "world/Factory.h"

namespace Flurr {
namespace {

using EngineTest::Contains;

// Every line of `text` whose value is "nan", "inf" or "-inf".
std::vector<std::string> NonFiniteLines(const std::string& text) {
    std::vector<std::string> found;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        for (const char* bad : {":nan", ":inf", ":-inf"})
            if (line.ends_with(bad))
                found.push_back(line);
    return found;
}

TEST(NonFiniteData, TransformsRefuseNanAndInfinityAsTheyRefuseHugeNumbers) {
    EngineTest::TempDir dir;
    const std::string level =
        dir.Write("Level.zorvel", "Root\n  GameObject\n    X:nan\n    Y:inf\n    XSCALE:-inf\n"
                                  "    YSCALE:1e308\n    ROT:nan\n  -GameObject\n"
                                  "  GameObject\n    X:2.5\n    Y:-inf\n  -GameObject\n-Root\n");
    Core core;
    Factory* factory = AddSystems(core, TestGame::Config()).factory;
    EngineTest::WarningLog log;
    factory->LoadLevel(level);
    ASSERT_EQ(factory->objects.size(), 2u);
    const GameObject* first = factory->objects.begin()->second;
    const GameObject* second = std::next(factory->objects.begin())->second;
    const GameObject fresh;
    EXPECT_EQ((std::vector{first->x, first->y, first->xScale, first->yScale, first->rotation}),
              (std::vector{fresh.x, fresh.y, fresh.xScale, fresh.yScale, fresh.rotation}));
    EXPECT_EQ((std::vector{second->x, second->y}), (std::vector{2.5f, fresh.y}));
    const std::vector<std::pair<const char*, const char*>> refused = {
        {":3: value of \"X\"", "(\"nan\")"},       {":4: value of \"Y\"", "(\"inf\")"},
        {":5: value of \"XSCALE\"", "(\"-inf\")"}, {":6: value of \"YSCALE\"", "(\"1e308\")"},
        {":7: value of \"ROT\"", "(\"nan\")"},     {":11: value of \"Y\"", "(\"-inf\")"}};
    EXPECT_EQ(log.Count(), static_cast<std::ptrdiff_t>(refused.size())) << log;
    for (const auto& [where, value] : refused)
        EXPECT_TRUE(log.Contains(level + where + " is not a number " + value +
                                 "; keeping the previous value"))
            << where << ": " << log;

    // What the game itself holds is still written as it is.
    GameObject far;
    far.x = std::numeric_limits<float>::infinity();
    StringSaveSerializer saver;
    far.SerializeTransform(saver);
    saver.Finish();
    EXPECT_TRUE(Contains(saver.Result(), "X:inf\n")) << saver.Result();
}

TEST(NonFiniteData, APlayerPlacedAtNanIsWarnedOfAndTheGamePlaysOn) {
    // The shipped game, its first level's player put at (nan, inf) with a
    // body of density nan.
    EngineTest::TempDir dir;
    std::filesystem::copy(std::filesystem::path(CLOUDMERE_SOURCE_DIR) / "Resources",
                          dir.Root() / "Resources", std::filesystem::copy_options::recursive);
    const std::string hillside = "Resources/Levels/Hillside.zorvel";
    std::string text = dir.Read(hillside);
    const std::size_t player = text.rfind("  GameObject\n", text.find("PlayerComponent"));
    ASSERT_NE(player, std::string::npos);
    const auto set = [&](const std::string& key, const std::string& value) {
        const std::size_t at = text.find("\n" + key + ":", player) + 1 + key.size() + 1;
        text.replace(at, text.find('\n', at) - at, value);
    };
    set("    X", "nan");
    set("    Y", "inf");
    set("      Density", "nan");
    dir.Write(hillside, text);

    const EngineTest::Outcome run = EngineTest::RunGame(
        "--frames 5 --fixed-dt 0.016 --route Resources/Levels/Routes/Hillside.zorvel "
        "--save-on-exit saved.zorvel",
        dir.Root());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (const char* warning :
         {"value of \"X\" is not a number (\"nan\")", "value of \"Y\" is not a number (\"inf\")",
          "value of \"Density\" is not a number (\"nan\")"})
        EXPECT_TRUE(Contains(run.err, warning)) << warning << ": " << run.err;
    const std::string saved = dir.Read("saved.zorvel");
    EXPECT_TRUE(Contains(saved, "PlayerComponent")) << saved;
    EXPECT_EQ(NonFiniteLines(saved), std::vector<std::string>());
}

} // namespace
} // namespace Flurr
