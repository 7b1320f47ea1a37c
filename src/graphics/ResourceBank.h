#pragma once
// ResourceBank: every texture, effect, vertex buffer, font and animation
// the renderer uses, each loaded once on first use and shared by its key
// (the path or name as given, case-sensitive) until the bank is destroyed.
// Owned by the GraphicsSystem; sprites and particles read it.
//
// Invariants:
// - GetTexture never fails: an image that cannot be read yields the
//   default image, and when even that is missing, a 1x1 texture made in
//   memory. A failed file is reported once and not read again.
// - GetEffect returns null for an effect that failed to build; the
//   failure is reported once (an "Error!" box with the driver's log) and
//   nothing is stored, so callers skip what needs it.
// - Every animation in the bank has at least one frame.
// - GetFont never fails while "DebugText" can be made: an unknown name
//   draws with "DebugText".
//
// Everything but the animations needs the GL context of the renderer to
// be current.

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace Flurr {

class Effect;
class FontFace;

struct Texture {
    uint32_t id = 0; // GL texture name
    int32_t width = 0;
    int32_t height = 0;
    // Every texel fully opaque: drawn at full opacity it covers what lies
    // beneath, so blending it gives the same pixels as copying it.
    bool opaque = false;
};

// Vertices of position (3 floats) and one texture coordinate pair (2
// floats), 20 bytes each.
struct VertexBuffer {
    uint32_t vao = 0;
    uint32_t vbo = 0;
    int32_t count = 0;
    bool dynamic = false;
};

struct Animation {
    float frameRate = 1.0f;          // frames per second
    std::vector<std::string> frames; // image paths, never empty in the bank
};

// A font as the font bank describes it. Height is authored for the
// 600-pixel-high layout; the other fields mirror what the font files
// carry (weight 100-900, 400 regular, 700 bold).
struct FontDescription {
    std::string faceName;
    int32_t height = 0;
    uint32_t width = 0;
    uint32_t weight = 400;
    uint32_t mipLevels = 0;
    bool italic = false;
    uint8_t charSet = 1;
    uint8_t outputPrecision = 0;
    uint8_t quality = 2;
    uint8_t pitchAndFamily = 0;
};

class ResourceBank {
public:
    static constexpr const char* kDefaultTexture = "Resources/Images/default.png";
    static constexpr const char* kQuad = "Quad";
    static constexpr const char* kNoAnimation = "NoAnimation";
    static constexpr const char* kDebugFont = "DebugText";
    // Face names are kept to what the font files were written for.
    static constexpr std::size_t kMaxFaceName = 31;

    ResourceBank();
    ~ResourceBank();
    ResourceBank(const ResourceBank&) = delete;
    ResourceBank& operator=(const ResourceBank&) = delete;

    const Texture& GetTexture(const std::string& path);
    bool HasTexture(const std::string& path) const { return textures.count(path) != 0; }

    Effect* GetEffect(const std::string& path);

    // The "Quad" is the static unit square centred on the origin, four
    // vertices drawn as a triangle strip.
    const VertexBuffer* GetVertexBuffer(const std::string& name, int32_t count, bool dynamic);
    const VertexBuffer* GetQuad();

    // The font of that name made for a back buffer `height` pixels high.
    FontFace* GetFont(const std::string& name, int32_t height);
    bool HasFont(const std::string& name) const { return fonts.count(name) != 0; }
    // Adds or replaces a font description (faces made before are kept
    // until the description changes).
    void AddFont(const std::string& name, FontDescription description);

    const Animation* FindAnimation(const std::string& name) const;
    bool HasAnimation(const std::string& name) const { return FindAnimation(name) != nullptr; }
    // False (with a warning) for an animation without frames.
    bool AddAnimation(const std::string& name, Animation animation);

    // Every ".zorvel" file directly in the folder, in name order. A missing
    // folder is reported and leaves the bank as it was. Animation frames
    // are loaded at once when `loadFrames` (needs the GL context).
    void LoadAnimationBank(const std::string& folder, bool loadFrames = true);
    void LoadFontBank(const std::string& folder);
    // One file of either bank (the data tool checks files one by one).
    void LoadAnimationFile(const std::string& file, bool loadFrames);
    void LoadFontFile(const std::string& file);

private:
    struct FontEntry {
        FontDescription description;
        std::map<int32_t, std::unique_ptr<FontFace>> faces;
        bool resolveFailed = false;
    };

    Texture MakeTexture(int32_t width, int32_t height, const uint8_t* rgba);

    std::unordered_map<std::string, Texture> textures;
    // Paths that could not be read, each standing for the default image.
    std::set<std::string> missingTextures;
    std::unordered_map<std::string, std::unique_ptr<Effect>> effects;
    std::set<std::string> failedEffects;
    std::unordered_map<std::string, VertexBuffer> vertexBuffers;
    std::unordered_map<std::string, FontEntry> fonts;
    std::unordered_map<std::string, Animation> animations;
};

// The ".zorvel" files directly inside `folder`, sorted by name; empty
// (with a warning) when the folder cannot be listed.
std::vector<std::string> BankFiles(const std::string& folder);

} // namespace Flurr
