#pragma once
// The level route: which route file is being played and which comes next.
// "Resources\Levels\Route.zorvel" names the first route file; each route
// file names its level, the next route file and three banks. The chain is
// data: a route file whose "NextFile" names itself repeats its level.
//
// Driven by the Core at every level change: Advance() then Load().

#include <string>

#include "engine/LevelRoute.h"

namespace Flurr {

class Route : public ILevelRoute {
public:
    static constexpr const char* FirstRouteFile = "Resources\\Levels\\Route.zorvel";

    // `firstRouteFile`: the file naming the first entry; `start`, when not
    // empty, the entry to play first instead (a route chosen on the
    // command line).
    explicit Route(std::string firstRouteFile = FirstRouteFile, std::string start = "")
        : currentRouteFile(std::move(start)), firstRouteFilePath(std::move(firstRouteFile)) {}

    std::string currentRouteFile;
    std::string nextRouteFile;
    std::string levelFile;
    std::string imageBank;
    std::string soundBank;
    std::string configBank;

    // Reads "Route" from the first route file into currentRouteFile.
    void ReadFirstRouteFile(const std::string& path);
    // Reads the first route file unless an entry was chosen already.
    void Start() override;
    // Reads the current route file, has the Factory load its level and
    // sends LevelChangeMessage. A route that names no level at all is
    // reported in an "Error!" box and asks the core to quit.
    void Load() override;
    void Advance() override { currentRouteFile = nextRouteFile; }
    // True once a route could not be loaded at all.
    bool Failed() const override { return failed; }
    std::string Entry() const override { return currentRouteFile; }
    void SkipTo(const std::string& entry) override { nextRouteFile = entry; }

private:
    bool failed = false;
    // Whether the first route file was there to read (for the report).
    bool firstRouteFileFound = true;
    std::string firstRouteFilePath;
};

} // namespace Flurr
