#include "engine/Settings.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <system_error>

#include "engine/Report.h"
#include "serialization/Serializer.h"

namespace Flurr {

namespace {

constexpr const char* kTop = "Settings";
constexpr const char* kKeys = "Keys";

bool Absolute(const char* path) {
    return path && path[0] == '/';
}

// A volume read from the file: 0 to 1, else the default with a warning.
void CheckVolume(const std::string& file, const char* key, float read, float& volume) {
    if (read >= 0.0f && read <= 1.0f) {
        volume = read;
        return;
    }
    Warn("settings " + file + ": \"" + key + "\" " + FormatFloat(read) +
         " is not a volume from 0 to 1; ignored");
}

} // namespace

void PlayerSettings::TakeKeys(const InputActions& actions) {
    for (std::size_t i = 0; i < keys.size(); ++i)
        keys[i] = actions.Keys(kRebindableActions[i]);
}

void PlayerSettings::ApplyKeys(InputActions& actions) const {
    for (std::size_t i = 0; i < keys.size(); ++i)
        if (!keys[i].empty())
            actions.SetKeys(kRebindableActions[i], keys[i]);
}

std::string PlayerFolderPath(const char* xdgDir, const char* home, const char* homeRelative) {
    if (Absolute(xdgDir))
        return std::string(xdgDir) + "/cloudmere";
    if (Absolute(home))
        return std::string(home) + "/" + homeRelative + "/cloudmere";
    return {};
}

std::string SettingsFilePath(const char* xdgConfigHome, const char* home) {
    const std::string folder = PlayerFolderPath(xdgConfigHome, home, ".config");
    return folder.empty() ? folder : folder + "/" + kSettingsFileName;
}

std::string ScreenshotFolderPath(const char* xdgPicturesDir, const char* xdgConfigHome,
                                 const char* home) {
    if (Absolute(xdgPicturesDir))
        return std::string(xdgPicturesDir) + "/cloudmere";
    const std::string homeDir = Absolute(home) ? home : "";
    const std::string config = Absolute(xdgConfigHome) ? std::string(xdgConfigHome)
                               : homeDir.empty()       ? std::string()
                                                       : homeDir + "/.config";
    // The desktop names its folders in user-dirs.dirs, in a shell's words:
    // XDG_PICTURES_DIR="$HOME/Bilder". Only that form is understood.
    std::string pictures;
    if (!config.empty()) {
        std::ifstream dirs(config + "/user-dirs.dirs");
        const std::string key = "XDG_PICTURES_DIR=\"";
        for (std::string line; std::getline(dirs, line);) {
            if (line.rfind(key, 0) != 0 || line.size() < key.size() + 1 || line.back() != '"')
                continue;
            std::string value = line.substr(key.size(), line.size() - key.size() - 1);
            if (value.rfind("$HOME", 0) == 0) {
                if (homeDir.empty())
                    continue;
                value = homeDir + value.substr(5);
            }
            if (!value.empty() && value[0] == '/')
                pictures = value;
        }
    }
    if (pictures.empty() && !homeDir.empty())
        pictures = homeDir + "/Pictures";
    return pictures.empty() ? std::string() : pictures + "/cloudmere";
}

bool LoadSettings(const std::string& file, PlayerSettings& settings) {
    std::error_code ec;
    if (file.empty() || !std::filesystem::exists(file, ec))
        return false;
    // The loader's own reports are gathered: a damaged file is said once,
    // as a whole, and not line by line.
    std::vector<Warning> heard;
    WarningSink previous = SetWarningSink([&heard](const Warning& w) { heard.push_back(w); });
    PlayerSettings read = settings;
    float music = settings.musicVolume;
    float effects = settings.effectsVolume;
    // Read past what no file holds, so a missing key tells itself apart.
    constexpr int32_t kUnset = std::numeric_limits<int32_t>::min();
    int32_t width = kUnset;
    int32_t height = kUnset;
    std::string fullscreen;
    std::array<std::vector<int32_t>, std::size(kRebindableActions)> codes;
    bool damaged = false;
    bool hasTop = false;
    {
        ALoader loader(file, false);
        damaged = loader.IsUnreadable() || loader.IsRefused() || !loader.Diagnostics().empty();
        if (!damaged && loader.Begin(kTop)) {
            hasTop = true;
            loader.StringField("Fullscreen", fullscreen);
            loader.IntField("Width", width);
            loader.IntField("Height", height);
            loader.FloatField("MusicVolume", music);
            loader.FloatField("EffectsVolume", effects);
            loader.BoolField("MusicMuted", read.musicMuted);
            if (loader.Begin(kKeys))
                for (std::size_t i = 0; i < codes.size(); ++i)
                    loader.IntList(RebindableName(kRebindableActions[i]), codes[i]);
            loader.End(kKeys);
            loader.End(kTop);
        }
        loader.Finish();
    }
    SetWarningSink(std::move(previous));
    if (damaged || !hasTop) {
        Warn("settings " + file + " could not be read (" +
             (heard.empty() ? std::string("no \"Settings\" in it") : heard.front().text) +
             "); the game's defaults are used");
        return false;
    }
    // Values that were not numbers, keys nobody reads: said as the loader
    // words them, with their line.
    for (const Warning& w : heard)
        Warn(w.text);

    if (fullscreen == "true" || fullscreen == "false") {
        read.hasFullscreen = true;
        read.fullscreen = fullscreen == "true";
    } else if (!fullscreen.empty()) {
        Warn("settings " + file + ": \"Fullscreen\" is \"" + fullscreen +
             "\", neither true nor false; ignored");
    }
    if (width != kUnset || height != kUnset) {
        if (width >= kMinSettingsWidth && width <= kMaxSettingsWidth &&
            height >= kMinSettingsHeight && height <= kMaxSettingsHeight) {
            read.hasResolution = true;
            read.width = width;
            read.height = height;
        } else {
            Warn("settings " + file + ": \"Width\" x \"Height\" " + std::to_string(width) + " x " +
                 std::to_string(height) + " is no resolution the game can use; ignored");
            read.hasResolution = settings.hasResolution;
        }
    }
    CheckVolume(file, "MusicVolume", music, read.musicVolume);
    CheckVolume(file, "EffectsVolume", effects, read.effectsVolume);
    for (std::size_t i = 0; i < codes.size(); ++i) {
        std::vector<uint8_t> keys;
        for (int32_t code : codes[i]) {
            if (code >= 0 && code <= 255 && KeyFreeForRebinding(static_cast<uint8_t>(code))) {
                keys.push_back(static_cast<uint8_t>(code));
                continue;
            }
            Warn("settings " + file + ": \"" + RebindableName(kRebindableActions[i]) + "\" " +
                 std::to_string(code) + " is no key that action can take; ignored");
        }
        if (!keys.empty())
            read.keys[i] = std::move(keys);
    }
    // One key for two actions would make the second dead: a file edited by
    // hand keeps the first action's claim.
    for (std::size_t i = 0; i < read.keys.size(); ++i)
        for (std::size_t j = i + 1; j < read.keys.size(); ++j)
            for (uint8_t key : read.keys[i])
                if (std::erase(read.keys[j], key) > 0)
                    Warn("settings " + file + ": \"" + RebindableName(kRebindableActions[j]) +
                         "\" names " + KeyName(key) + ", which \"" +
                         RebindableName(kRebindableActions[i]) + "\" has; ignored there");
    settings = std::move(read);
    return true;
}

bool KeepPlayerFile(const std::string& file, const std::string& what,
                    const std::function<void(ASaver&)>& write) {
    if (file.empty())
        return false;
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::path(file).parent_path();
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        WarnOnce(what + "-folder " + file, what + " could not be kept: the folder " +
                                               folder.string() + " cannot be made (" +
                                               ec.message() + ")");
        return false;
    }
    // The saver reports its own failure as an error; one warning a run is
    // enough for a file that cannot be kept.
    WarningSink previous = SetWarningSink([](const Warning&) {});
    bool ok = false;
    {
        ASaver saver(file);
        write(saver);
        ok = saver.Finish();
    }
    SetWarningSink(std::move(previous));
    if (!ok)
        WarnOnce(what + "-file " + file,
                 what + " could not be kept: " + file + " cannot be written");
    return ok;
}

bool SaveSettings(const std::string& file, const PlayerSettings& settings) {
    return KeepPlayerFile(file, "settings", [&settings](ASaver& saver) {
        PlayerSettings s = settings;
        saver.Begin(kTop);
        if (s.hasFullscreen)
            saver.BoolField("Fullscreen", s.fullscreen);
        if (s.hasResolution) {
            saver.IntField("Width", s.width);
            saver.IntField("Height", s.height);
        }
        float music = std::clamp(s.musicVolume, 0.0f, 1.0f);
        float effects = std::clamp(s.effectsVolume, 0.0f, 1.0f);
        saver.FloatField("MusicVolume", music);
        saver.FloatField("EffectsVolume", effects);
        saver.BoolField("MusicMuted", s.musicMuted);
        saver.Begin(kKeys);
        for (std::size_t i = 0; i < s.keys.size(); ++i) {
            if (s.keys[i].empty())
                continue;
            std::vector<int32_t> codes(s.keys[i].begin(), s.keys[i].end());
            saver.IntList(RebindableName(kRebindableActions[i]), codes);
        }
        saver.End(kKeys);
        saver.End(kTop);
    });
}

} // namespace Flurr
