#pragma once
// The system clipboard as text, for the level editor's copy and paste.
// Works once the video side of SDL is up (the game's window); before that,
// and on a system without a clipboard, both calls report failure.

#include <string>

namespace Flurr {

// Puts `text` on the clipboard; false when it could not.
bool SetClipboardText(const std::string& text);
// The clipboard's text (empty when it holds none); false, with `text`
// untouched, when the clipboard could not be read at all.
bool GetClipboardText(std::string& text);

} // namespace Flurr
