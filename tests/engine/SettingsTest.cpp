// The player's settings file: bad values and a damaged file, a folder
// that cannot be written, and the swap a rebinding makes on the action map.

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/EngineTestSupport.h"
#include "engine/InputCodes.h"
#include "engine/Settings.h"

using namespace Flurr;
using EngineTest::TempDir;
using EngineTest::WarningLog;

namespace {

// Every field's round trip through the file is played in the real game
// (the options screen's test); here, what can go wrong with it.
TEST(Settings, BadValuesAreIgnoredOneByOneAndADamagedFileWhole) {
    TempDir dir;
    {
        WarningLog warnings;
        const std::string file = dir.Write("a/Settings.zorvel", "Settings\n"
                                                                "  Fullscreen:false\n"
                                                                "  Width:100000\n"
                                                                "  Height:100000\n"
                                                                "  MusicVolume:7\n"
                                                                "  EffectsVolume:0.5\n"
                                                                "  Keys\n"
                                                                "    List#2:Jump\n"
                                                                "      300\n"
                                                                "      75\n"
                                                                "    -Jump\n"
                                                                "    List#1:Run\n"
                                                                "      27\n"
                                                                "    -Run\n"
                                                                "  -Keys\n"
                                                                "-Settings\n");
        PlayerSettings s;
        ASSERT_TRUE(LoadSettings(file, s));
        // What was good still counts.
        EXPECT_TRUE(s.hasFullscreen);
        EXPECT_FALSE(s.fullscreen);
        EXPECT_FLOAT_EQ(s.effectsVolume, 0.5f);
        EXPECT_FALSE(s.hasResolution);
        EXPECT_FLOAT_EQ(s.musicVolume, 1.0f);
        InputActions actions;
        s.ApplyKeys(actions);
        EXPECT_EQ(actions.Keys(Action::Jump), (std::vector<uint8_t>{KeyCode::K}));
        EXPECT_EQ(actions.Keys(Action::Run), (std::vector<uint8_t>{KeyCode::Shift}))
            << "Escape is the menu's";
        EXPECT_EQ(warnings.Count(), 4) << warnings;
        for (const char* key : {"\"Width\"", "\"MusicVolume\"", "\"Jump\" 300", "\"Run\" 27"})
            EXPECT_EQ(warnings.Count(key), 1) << key << warnings;
        EXPECT_EQ(warnings.Count(file), 4) << warnings;
    }
    for (const std::string& text : {std::string("Settings\n  Width:1280\n  Keys\n"), // cut short
                                    std::string("\x89PNG\r\n\x1a\n\0\0binary", 16),
                                    std::string("Root\n  Width:1280\n-Root\n")}) {
        WarningLog warnings;
        const std::string file = dir.Write("b/Settings.zorvel", text);
        PlayerSettings s;
        EXPECT_FALSE(LoadSettings(file, s));
        EXPECT_FALSE(s.hasResolution);
        EXPECT_EQ(warnings.Count(), 1) << warnings;
        EXPECT_EQ(warnings.Count(file), 1) << warnings;
    }
}

TEST(Settings, AFolderOrFileThatCannotBeWrittenWarnsOnce) {
    // The folder comes from the environment: XDG first, then HOME.
    EXPECT_EQ(SettingsFilePath("/x", "/home/p"), "/x/cloudmere/Settings.zorvel");
    EXPECT_EQ(SettingsFilePath("relative", "/home/p"), "/home/p/.config/cloudmere/Settings.zorvel");
    EXPECT_EQ(SettingsFilePath(nullptr, nullptr), "");
    TempDir dir;
    // Screenshots: the environment's pictures folder, else the desktop's
    // user-dirs.dirs (with $HOME in it), else ~/Pictures.
    const std::string config = dir.Path("cfg");
    EXPECT_EQ(ScreenshotFolderPath("/pics", config.c_str(), "/home/p"), "/pics/cloudmere");
    EXPECT_EQ(ScreenshotFolderPath(nullptr, config.c_str(), "/home/p"),
              "/home/p/Pictures/cloudmere");
    dir.Write("cfg/user-dirs.dirs", "# made by xdg-user-dirs-update\n"
                                    "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                                    "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n");
    EXPECT_EQ(ScreenshotFolderPath("", config.c_str(), "/home/p"), "/home/p/Bilder/cloudmere");
    EXPECT_EQ(ScreenshotFolderPath(nullptr, nullptr, nullptr), "");
    WarningLog warnings;
    PlayerSettings s;
    // A folder that cannot be made (a file stands in its way), twice.
    dir.Write("blocked", "");
    EXPECT_FALSE(SaveSettings(dir.Path("blocked/cloudmere/Settings.zorvel"), s));
    EXPECT_FALSE(SaveSettings(dir.Path("blocked/cloudmere/Settings.zorvel"), s));
    EXPECT_EQ(warnings.Count(), 1) << warnings;
    // A file that cannot be replaced (a folder of that name, not empty).
    dir.Write("taken/cloudmere/Settings.zorvel/keep", "mine");
    EXPECT_FALSE(SaveSettings(dir.Path("taken/cloudmere/Settings.zorvel"), s));
    EXPECT_FALSE(SaveSettings(dir.Path("taken/cloudmere/Settings.zorvel"), s));
    EXPECT_EQ(warnings.Count(), 2) << warnings;
    EXPECT_EQ(dir.Read("taken/cloudmere/Settings.zorvel/keep"), "mine");
    // Nothing half-written was left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path("taken/cloudmere")),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(Settings, ARebindingSwapsTheKeyAwayFromItsOldActionAndRefusesMenuKeys) {
    InputActions actions;
    // W jumps; giving it to "move left" hands "A" over to jumping.
    ASSERT_TRUE(actions.Rebind(Action::MoveLeft, KeyCode::W));
    EXPECT_EQ(actions.Keys(Action::MoveLeft), (std::vector<uint8_t>{KeyCode::W}));
    EXPECT_EQ(actions.Keys(Action::Jump), (std::vector<uint8_t>{KeyCode::Space, KeyCode::A}));
    // A key of no rebindable action: nothing else changes.
    ASSERT_TRUE(actions.Rebind(Action::Map, KeyCode::M));
    EXPECT_EQ(actions.Keys(Action::Objectives), (std::vector<uint8_t>{KeyCode::Q}));
    for (uint8_t key :
         {KeyCode::Escape, KeyCode::Return, KeyCode::Up, KeyCode::E, KeyCode::F11, uint8_t{0x07}})
        EXPECT_FALSE(actions.Rebind(Action::Run, key)) << int(key);
    EXPECT_FALSE(actions.Rebind(Action::Pause, KeyCode::P));
    EXPECT_EQ(actions.Keys(Action::Run), (std::vector<uint8_t>{KeyCode::Shift}));
    EXPECT_EQ(KeyName(KeyCode::Space), "Space");
    EXPECT_EQ(KeyName(0x07), "");
}

} // namespace
