#include "jobs/Progress.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "engine/Report.h"
#include "engine/Settings.h"
#include "serialization/Serializer.h"

namespace Flurr {

namespace {

constexpr const char* kTop = "Progress";

} // namespace

bool SavedProgress::AddJob(const std::string& job) {
    if (job.empty() || std::find(jobsDone.begin(), jobsDone.end(), job) != jobsDone.end())
        return false;
    jobsDone.push_back(job);
    return true;
}

std::string ProgressFilePath(const char* xdgDataHome, const char* home) {
    const std::string folder = PlayerFolderPath(xdgDataHome, home, ".local/share");
    return folder.empty() ? folder : folder + "/" + kProgressFileName;
}

ProgressRead LoadProgress(const std::string& file, SavedProgress& progress) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (file.empty() || !fs::exists(file, ec))
        return ProgressRead::Missing;
    // The loader's own reports are gathered: a damaged file is said once.
    std::vector<Warning> heard;
    WarningSink previous = SetWarningSink([&heard](const Warning& w) { heard.push_back(w); });
    SavedProgress read;
    bool damaged = false;
    {
        ALoader loader(file, false);
        damaged = loader.IsUnreadable() || loader.IsRefused() || !loader.Diagnostics().empty();
        if (!damaged && loader.Begin(kTop)) {
            loader.StringField("Route", read.route);
            loader.BoolField("Flight", read.flight);
            loader.BoolField("Dash", read.dash);
            std::vector<std::string> jobs;
            loader.StringList("JobsDone", jobs);
            for (const std::string& job : jobs)
                read.AddJob(job);
            loader.End(kTop);
        } else {
            damaged = true;
        }
        loader.Finish();
    }
    SetWarningSink(std::move(previous));
    if (!damaged) {
        // A value that is not one (a key nobody reads, "Flight:maybe") is
        // said with its line; the rest of the file stands.
        for (const Warning& w : heard)
            Warn(w.text);
        progress = std::move(read);
        return ProgressRead::Read;
    }
    const std::string aside = file + ".damaged";
    fs::rename(file, aside, ec);
    Warn("the saved progress " + file + " could not be read (" +
         (heard.empty() ? std::string("no \"Progress\" in it") : heard.front().text) + "); " +
         (ec ? "it could not be moved aside (" + ec.message() + ")"
             : "it was moved aside to " + aside) +
         " and the game starts afresh");
    return ProgressRead::SetAside;
}

bool SaveProgress(const std::string& file, const SavedProgress& progress) {
    return KeepPlayerFile(file, "progress", [&progress](ASaver& saver) {
        SavedProgress p = progress;
        saver.Begin(kTop);
        saver.StringField("Route", p.route);
        saver.BoolField("Flight", p.flight);
        saver.BoolField("Dash", p.dash);
        saver.StringList("JobsDone", p.jobsDone);
        saver.End(kTop);
    });
}

} // namespace Flurr
