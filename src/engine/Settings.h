#pragma once
// The player's settings: what the options and controls screens chose,
// kept between runs in one small data file ("Settings.zorvel") in the
// user's configuration folder. Plain data and files only; the game's setup
// applies what was read, and the pause menu writes the file when the
// player changes something.
//
// Reading never stops the game: a missing file means the defaults and says
// nothing; a file that cannot be read or parsed is ignored whole with one
// warning; a value out of its range (a volume of 7, a 0 x 0 resolution, a
// key code that is no key) is ignored with a warning naming the file and
// the key, and the rest of the file still counts. Writing goes through the
// atomic saver, so the file is never half-written; a folder that cannot be
// made or written gives one warning a run and the game goes on.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/InputActions.h"

namespace Flurr {

inline constexpr const char* kSettingsFileName = "Settings.zorvel";

struct PlayerSettings {
    // Which of the fields below the file held; the rest stay the game's
    // (or the command line's) choice.
    bool hasFullscreen = false;
    bool hasResolution = false;
    bool fullscreen = true;
    int32_t width = 0;
    int32_t height = 0;
    float musicVolume = 1.0f;
    float effectsVolume = 1.0f;
    bool musicMuted = false;
    // One entry per kRebindableActions, in that order; empty: the table's.
    std::array<std::vector<uint8_t>, std::size(kRebindableActions)> keys;

    // The keys of the rebindable actions as `actions` has them now.
    void TakeKeys(const InputActions& actions);
    // Puts the keys read on `actions` (actions without keys in the file
    // keep theirs).
    void ApplyKeys(InputActions& actions) const;
};

// Resolutions the settings file accepts; anything outside is ignored.
inline constexpr int32_t kMinSettingsWidth = 320;
inline constexpr int32_t kMinSettingsHeight = 240;
inline constexpr int32_t kMaxSettingsWidth = 7680;
inline constexpr int32_t kMaxSettingsHeight = 4320;

// "<xdgConfigHome>/cloudmere/Settings.zorvel" when `xdgConfigHome` is an
// absolute path, else "<home>/.config/cloudmere/Settings.zorvel"; empty
// when neither is usable (no settings this run). Pass the environment's
// values (null when unset).
std::string SettingsFilePath(const char* xdgConfigHome, const char* home);

// The game's own folder among the player's: "<xdgDir>/cloudmere" when
// `xdgDir` is absolute, else "<home>/<homeRelative>/cloudmere"; empty when
// neither is usable.
std::string PlayerFolderPath(const char* xdgDir, const char* home, const char* homeRelative);

class ASaver;
// Writes one of the files the player's game keeps (settings, progress)
// through `write`, making its folder first. A failure is no error box but
// one warning a run, "<what> could not be kept: ...".
bool KeepPlayerFile(const std::string& file, const std::string& what,
                    const std::function<void(ASaver&)>& write);

// Where screenshots go: "<pictures>/cloudmere", the pictures folder being
// `xdgPicturesDir` when absolute, else the XDG_PICTURES_DIR line of the
// desktop's "user-dirs.dirs" (in `xdgConfigHome`, else "<home>/.config"),
// else "<home>/Pictures". Empty when none is usable (the working
// directory then). Pass the environment's values (null when unset).
std::string ScreenshotFolderPath(const char* xdgPicturesDir, const char* xdgConfigHome,
                                 const char* home);

// Reads `file` into `settings` (see the top of this file for what happens
// to bad data). Returns false when the file was missing or ignored.
bool LoadSettings(const std::string& file, PlayerSettings& settings);

// Writes `settings` to `file`, making its folder first. False (with one
// warning a run) when that failed; the old file is then untouched.
bool SaveSettings(const std::string& file, const PlayerSettings& settings);

} // namespace Flurr
