#pragma once
// Where the game's data is: the folder holding "Resources", which every
// data path ("Resources\Levels\...") is read relative to (DataRoot in
// Serializer.h). The game looks in these places, in this order, and takes
// the first that has a "Resources" folder:
//   1. the folder CLOUDMERE_DATA names, when set: then the only place;
//   2. the working directory (relative paths, as they always were);
//   3. beside the program: its own folder, the one above it (a build
//      folder inside the checkout), and the installed data's place
//      relative to it (an install, whatever prefix it went to);
//   4. the installed data, <prefix>/share/cloudmere as configured;
//   5. the source tree the program was built from.
// An empty place is skipped. The places come from the caller (main fills
// them from the environment and the build), so tests can use folders of
// their own.

#include <string>
#include <utility>
#include <vector>

namespace Flurr {

struct DataPlaces {
    std::string chosen;               // CLOUDMERE_DATA; empty when unset
    std::string working;              // the working directory
    std::string program;              // the folder of the running program
    std::string installedFromProgram; // the installed data, relative to `program`
    std::string installed;            // <prefix>/share/cloudmere, fixed when built
    std::string source;               // the source tree of the build
};

struct DataSearch {
    bool found = false;
    // The folder holding "Resources"; empty for the working directory.
    std::string root;
    // Each folder looked in, in order, with what it was ("the working
    // directory", "CLOUDMERE_DATA", ...).
    std::vector<std::pair<std::string, std::string>> tried;
};

DataSearch FindDataFolder(const DataPlaces& places);

// The text of the error for a search that found nothing: every folder
// looked in.
std::string NoDataFolderText(const DataSearch& search);

} // namespace Flurr
