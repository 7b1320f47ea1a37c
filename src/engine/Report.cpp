#include "engine/Report.h"

#include <iostream>
#include <set>
#include <utility>

namespace Flurr {

namespace {

ErrorBoxHandler& Handler() {
    static ErrorBoxHandler handler;
    return handler;
}

WarningSink& Sink() {
    static WarningSink sink;
    return sink;
}

void Deliver(Severity severity, const std::string& text) {
    if (Sink()) {
        Sink()(Warning{severity, text});
        return;
    }
    std::cerr << (severity == Severity::Error ? "Error: " : "Warning: ") << text << "\n";
}

} // namespace

void Warn(const std::string& text) {
    Deliver(Severity::Warning, text);
}

void WarnOnce(const std::string& text) {
    WarnOnce(text, text);
}

void WarnOnce(const std::string& key, const std::string& text) {
    static std::set<std::string> said;
    if (said.insert(key).second)
        Warn(text);
}

void ReportError(const std::string& text) {
    Deliver(Severity::Error, text);
}

WarningSink SetWarningSink(WarningSink sink) {
    return std::exchange(Sink(), std::move(sink));
}

void ShowErrorBox(const std::string& text) {
    std::cerr << "Error! " << text << std::endl;
    if (Handler())
        Handler()("Error!", text);
}

ErrorBoxHandler SetErrorBoxHandler(ErrorBoxHandler handler) {
    return std::exchange(Handler(), std::move(handler));
}

} // namespace Flurr
