#pragma once
// The player's progress between runs: the jobs done, the abilities they
// unlocked and the furthest route entry reached, kept in
// "$XDG_DATA_HOME/cloudmere/Progress.zorvel" (else
// "~/.local/share/cloudmere/"), in the game's own data format.
//
// The file is written whole and atomically after each job and on arriving
// at a further route entry, so a crash never leaves half of one. A file
// that cannot be read is set aside (renamed "Progress.zorvel.damaged",
// one warning) and the game starts afresh; it is never overwritten,
// since the player may want it back. A folder that cannot be written
// warns once and the game goes on without keeping progress.

#include <string>
#include <vector>

namespace Flurr {

inline constexpr const char* kProgressFileName = "Progress.zorvel";

struct SavedProgress {
    // Route file of the furthest entry reached (empty: none yet).
    std::string route;
    // Job names, in the order they were done, each once.
    std::vector<std::string> jobsDone;
    bool flight = false;
    bool dash = false;

    bool Empty() const { return route.empty() && jobsDone.empty() && !flight && !dash; }
    // Adds `job` unless it is there already; true when it was new.
    bool AddJob(const std::string& job);
};

// "<xdgDataHome>/cloudmere/Progress.zorvel" when `xdgDataHome` is
// absolute, else "<home>/.local/share/cloudmere/Progress.zorvel"; empty
// when neither is usable. Pass the environment's values (null when unset).
std::string ProgressFilePath(const char* xdgDataHome, const char* home);

enum class ProgressRead { Missing, Read, SetAside };

// Reads `file` into `progress` (left as it was unless Read).
ProgressRead LoadProgress(const std::string& file, SavedProgress& progress);
// Writes `progress` to `file` atomically, making its folder; false (with
// one warning a run) when it could not.
bool SaveProgress(const std::string& file, const SavedProgress& progress);

} // namespace Flurr
