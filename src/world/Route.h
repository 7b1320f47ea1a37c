#pragma once
// The level route: which route file is being played and which comes next.
// "Resources\Levels\Route.zorvel" names the first route file; each route
// file names its level, the next route file and three banks. The chain is
// data: a route file whose "NextFile" names itself repeats its level.
//
// Driven by the Core at every level change: Advance() then Load().

#include <string>

namespace Flurr {

struct Route {
    static constexpr const char* FirstRouteFile = "Resources\\Levels\\Route.zorvel";

    std::string currentRouteFile;
    std::string nextRouteFile;
    std::string levelFile;
    std::string imageBank;
    std::string soundBank;
    std::string configBank;

    // Reads "Route" from the first route file into currentRouteFile.
    void ReadFirstRouteFile(const std::string& path = FirstRouteFile);
    // Reads the current route file, has the Factory load its level and
    // sends LevelChangeMessage. A route that names no level at all is
    // reported in an "Error!" box and asks the core to quit.
    void Load();
    void Advance() { currentRouteFile = nextRouteFile; }
    // True once a route could not be loaded at all.
    bool Failed() const { return failed; }

private:
    bool failed = false;
    // Whether the first route file was there to read (for the report).
    bool firstRouteFileFound = true;
    std::string firstRouteFilePath = FirstRouteFile;
};

} // namespace Flurr
