#include "graphics/Fonts.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>

#include "engine/Report.h"

namespace Flurr {

bool ResolveFontFile(const FontDescription& description, FontFile& file) {
    if (!FcInit())
        return false;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY,
                       reinterpret_cast<const FcChar8*>(description.faceName.c_str()));
    // The font files give Windows weights (100-900); 0 means "don't care".
    if (description.weight > 0)
        FcPatternAddInteger(pattern, FC_WEIGHT,
                            FcWeightFromOpenType(static_cast<int>(description.weight)));
    FcPatternAddInteger(pattern, FC_SLANT, description.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match)
        return false;
    FcChar8* path = nullptr;
    int index = 0;
    const bool found = FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path;
    if (found) {
        file.path = reinterpret_cast<const char*>(path);
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) != FcResultMatch)
            index = 0;
        file.index = index;
    }
    FcPatternDestroy(match);
    return found;
}

int32_t SaneFontHeight(int32_t authored, const std::string& where, const std::string& name) {
    if (authored >= kMinFontHeight && authored <= kMaxFontHeight)
        return authored;
    Warn(where + ": the font \"" + name + "\" has a Height of " + std::to_string(authored) +
         ", outside " + std::to_string(kMinFontHeight) + " to " + std::to_string(kMaxFontHeight) +
         "; it gets " + std::to_string(kDefaultFontHeight));
    return kDefaultFontHeight;
}

int32_t FontPixelHeight(int32_t authoredHeight, int32_t backBufferHeight) {
    // Clamped before the cast: a huge height must not overflow it.
    const float pixels = static_cast<float>(authoredHeight) / 600.0f * backBufferHeight;
    return static_cast<int32_t>(std::clamp(pixels, 1.0f, 65535.0f));
}

std::unique_ptr<FontFace> FontFace::Open(const FontFile& file, int32_t pixelHeight) {
    if (!TTF_WasInit() && TTF_Init() != 0)
        return nullptr;
    // At SDL_ttf's 72 dpi a point is a pixel.
    TTF_Font* font = TTF_OpenFontIndex(file.path.c_str(), pixelHeight, file.index);
    if (!font)
        return nullptr;
    return std::unique_ptr<FontFace>(new FontFace(font, pixelHeight));
}

FontFace::~FontFace() {
    // SDL_ttf may have been shut down already when the bank goes last.
    if (TTF_WasInit())
        TTF_CloseFont(font);
}

} // namespace Flurr
