#pragma once
// Fonts of the renderer: the face a description asks for, found with
// fontconfig, opened with SDL2_ttf at one pixel height. Only graphics
// code includes this.

#include <SDL_ttf.h>

#include <cstdint>
#include <memory>
#include <string>

#include "graphics/ResourceBank.h"

namespace Flurr {

struct FontFile {
    std::string path;
    int32_t index = 0;
};

// The installed file that best matches the face name, weight and slant;
// false when fontconfig knows no font at all.
bool ResolveFontFile(const FontDescription& description, FontFile& file);

// The authored heights a font may have: below the smallest, text is a
// sliver nobody can read; above the largest, one letter is taller than the
// view. A bank's font outside them gets kDefaultFontHeight, with a warning.
inline constexpr int32_t kMinFontHeight = 4;
inline constexpr int32_t kMaxFontHeight = 600;
inline constexpr int32_t kDefaultFontHeight = 16;
// The height to use for `authored`; `where` ("file:line") and `name` only
// name the font in the warning.
int32_t SaneFontHeight(int32_t authored, const std::string& where, const std::string& name);

// truncate(Height / 600 x back-buffer height): a text keeps its size
// relative to the 600-unit view at every resolution (at least 1 pixel).
int32_t FontPixelHeight(int32_t authoredHeight, int32_t backBufferHeight);

class FontFace {
public:
    static std::unique_ptr<FontFace> Open(const FontFile& file, int32_t pixelHeight);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    TTF_Font* Handle() const { return font; }
    int32_t PixelHeight() const { return pixelHeight; }

private:
    FontFace(TTF_Font* font_, int32_t pixelHeight_) : font(font_), pixelHeight(pixelHeight_) {}
    TTF_Font* font;
    int32_t pixelHeight;
};

} // namespace Flurr
