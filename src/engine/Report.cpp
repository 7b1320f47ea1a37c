#include "engine/Report.h"

#include <iostream>

namespace Flurr {

namespace {
ErrorBoxHandler& Handler() {
    static ErrorBoxHandler handler;
    return handler;
}
} // namespace

void ShowErrorBox(const std::string& text) {
    std::cerr << "Error! " << text << std::endl;
    if (Handler())
        Handler()("Error!", text);
}

void SetErrorBoxHandler(ErrorBoxHandler handler) {
    Handler() = std::move(handler);
}

} // namespace Flurr
