#include "serialization/DataFolder.h"

#include <filesystem>
#include <system_error>

namespace Flurr {

DataSearch FindDataFolder(const DataPlaces& places) {
    namespace fs = std::filesystem;
    DataSearch search;
    const auto tryFolder = [&search](const fs::path& folder, const char* what,
                                     bool isWorking = false) {
        if (search.found || folder.empty())
            return;
        const std::string shown = folder.lexically_normal().string();
        for (const auto& [done, unused] : search.tried)
            if (done == shown)
                return; // the same folder twice (a build inside the source tree)
        search.tried.emplace_back(shown, what);
        std::error_code ec;
        if (fs::is_directory(folder / "Resources", ec)) {
            search.found = true;
            search.root = isWorking ? std::string() : shown;
        }
    };
    // A folder named on purpose is the only one: quietly using another
    // copy of the data would hide the mistake.
    if (!places.chosen.empty()) {
        tryFolder(fs::absolute(places.chosen), "CLOUDMERE_DATA");
        return search;
    }
    tryFolder(places.working, "the working directory", true);
    if (!places.program.empty()) {
        const fs::path program = fs::path(places.program).lexically_normal();
        tryFolder(program, "beside the program");
        tryFolder(program.parent_path(), "above the program");
        if (!places.installedFromProgram.empty())
            tryFolder(program / places.installedFromProgram, "the installed data");
    }
    tryFolder(places.installed, "the installed data");
    tryFolder(places.source, "the source tree the game was built from");
    return search;
}

std::string NoDataFolderText(const DataSearch& search) {
    std::string text = "No \"Resources\" folder was found; the game cannot start without its "
                       "data. Looked in:";
    for (const auto& [folder, what] : search.tried)
        text += "\n  " + folder + " (" + what + ")";
    return text;
}

} // namespace Flurr
