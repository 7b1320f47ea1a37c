#pragma once
// Reporting problems to the person at the keyboard.
//
// Bad data (a misspelt animation, a missing sound, a malformed file) is a
// warning: the game recovers with a default and runs on. A failure of
// something asked for that the game also survives (a level or file that
// could not be saved) is an error. Both go, one line each, to the warning
// sink: stderr by default, prefixed "Warning: " or "Error: "; a test or the
// level editor can take the sink over to receive the texts as data.
//
// An unrecoverable problem goes through ShowErrorBox instead: the text on
// stderr and, once the platform layer has installed its handler, an
// "Error!" message box, so a player without a terminal sees it too.
//
// Reports come from the game's one thread; none of this is locked.

#include <functional>
#include <string>

namespace Flurr {

enum class Severity { Warning, Error };

struct Warning {
    Severity severity = Severity::Warning;
    std::string text; // without the prefix
};

using WarningSink = std::function<void(const Warning&)>;

// Reports bad data the game has recovered from.
void Warn(const std::string& text);

// Reports, the first time this run, a problem that would otherwise be said
// every frame. The first form knows a report by its text; the second by
// `key`, for one problem whose text differs with where it was met (the
// effect that names a missing animation, say).
void WarnOnce(const std::string& text);
void WarnOnce(const std::string& key, const std::string& text);

// Reports a failure of something asked for that the game survives.
void ReportError(const std::string& text);

// Sends every report to `sink` from now on; null goes back to stderr.
// Returns the sink it replaces (null when that was stderr), so whoever
// borrowed the reports can give them back.
WarningSink SetWarningSink(WarningSink sink);

using ErrorBoxHandler = std::function<void(const std::string& caption, const std::string& text)>;

// Prints "Error! <text>" on stderr and shows the box when a handler is set.
void ShowErrorBox(const std::string& text);

// The platform layer installs the real message box; null removes it.
// Returns the handler it replaces.
ErrorBoxHandler SetErrorBoxHandler(ErrorBoxHandler handler);

} // namespace Flurr
