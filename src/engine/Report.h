#pragma once
// Reporting problems to the person at the keyboard.
//
// Warnings about bad data go straight to stderr where they happen. An
// unrecoverable problem goes through ShowErrorBox: the text on stderr and,
// once the platform layer has installed its handler, an "Error!" message
// box, so a player without a terminal sees it too.

#include <functional>
#include <string>

namespace Flurr {

using ErrorBoxHandler = std::function<void(const std::string& caption, const std::string& text)>;

// Prints "Error! <text>" on stderr and shows the box when a handler is set.
void ShowErrorBox(const std::string& text);

// The platform layer installs the real message box; null removes it.
void SetErrorBoxHandler(ErrorBoxHandler handler);

} // namespace Flurr
