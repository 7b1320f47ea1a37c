#include "world/Route.h"

#include <filesystem>

#include "engine/Core.h"
#include "engine/Message.h"
#include "engine/Report.h"
#include "serialization/Serializer.h"
#include "world/Factory.h"

namespace Flurr {

namespace {

// Where a relative route file was looked for.
std::string SearchedFolder() {
    if (!DataRoot().empty())
        return "the game folder " + DataRoot();
    std::error_code ec;
    std::string dir = std::filesystem::current_path(ec).string();
    return "the working directory " + (ec ? std::string("(unknown)") : dir);
}

std::string MissingRouteFileText(const std::string& file) {
    return "The route file " + NativePath(file) + " is missing (looked in " + SearchedFolder() +
           ").";
}

void GiveUp(bool& failed, const std::string& text) {
    failed = true;
    ShowErrorBox(text);
    if (Core* core = Core::Instance())
        core->RequestState(GameState::Quit);
}

} // namespace

void Route::ReadFirstRouteFile(const std::string& path) {
    firstRouteFilePath = path;
    ALoader loader(path);
    firstRouteFileFound = !loader.IsFileMissing();
    if (loader.Begin("Root"))
        loader.StringField("Route", currentRouteFile);
    loader.End("Root");
}

void Route::Start() {
    if (currentRouteFile.empty())
        ReadFirstRouteFile(firstRouteFilePath);
}

void Route::Load() {
    // An empty name has no data extension: opening it would only say so.
    // Say what is really wrong instead.
    if (currentRouteFile.empty()) {
        if (!firstRouteFileFound)
            GiveUp(failed, MissingRouteFileText(firstRouteFilePath));
        else
            GiveUp(failed, "The route file " + NativePath(firstRouteFilePath) +
                               " names no first route (its \"Route\" value is missing or empty).");
        return;
    }

    bool readable;
    {
        ALoader loader(currentRouteFile);
        readable = !loader.IsFileMissing();
        if (loader.Begin("Root")) {
            loader.StringField("LevelFile", levelFile);
            loader.StringField("NextFile", nextRouteFile);
            loader.StringField("ImageBank", imageBank);
            loader.StringField("SoundBank", soundBank);
            loader.StringField("ConfigBank", configBank);
        }
        loader.End("Root");
    }

    if (levelFile.empty()) {
        if (!readable)
            GiveUp(failed, MissingRouteFileText(currentRouteFile));
        else
            GiveUp(failed, "The route file " + NativePath(currentRouteFile) +
                               " names no level (its \"LevelFile\" value is missing or empty).");
        return;
    }
    if (!readable)
        Warn("route file " + NativePath(currentRouteFile) + " cannot be read; playing " +
             NativePath(levelFile) + " again");

    if (Factory* factory = Factory::Instance())
        factory->LoadLevel(levelFile);
    if (Core* core = Core::Instance()) {
        LevelChangeMessage m;
        core->SendMessage(&m);
    }
}

} // namespace Flurr
