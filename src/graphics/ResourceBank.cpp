#include "graphics/ResourceBank.h"

#include <algorithm>
#include <filesystem>

#include "engine/Report.h"
#include "graphics/Effect.h"
#include "graphics/Fonts.h"
#include "graphics/GL.h"
#include "graphics/ImageFiles.h"
#include "serialization/Serializer.h"

namespace Flurr {

namespace {

// The unit square centred on the origin, as a strip; v runs down the
// image, so the top edge (y = 0.5) shows the image's first row.
constexpr float kQuadVertices[] = {
    -0.5f, -0.5f, 0.0f, 0.0f, 1.0f, //
    -0.5f, 0.5f,  0.0f, 0.0f, 0.0f, //
    0.5f,  -0.5f, 0.0f, 1.0f, 1.0f, //
    0.5f,  0.5f,  0.0f, 1.0f, 0.0f, //
};
constexpr int32_t kVertexBytes = 20;

// What a missing default image is replaced by: one opaque magenta texel,
// loud enough that nobody ships it.
constexpr uint8_t kMissingTexel[4] = {255, 0, 255, 255};

} // namespace

std::vector<std::string> BankFiles(const std::string& folder) {
    namespace fs = std::filesystem;
    std::vector<std::string> files;
    std::error_code ec;
    fs::directory_iterator it(DataPath(folder), ec);
    if (ec) {
        Warn("the bank folder \"" + folder + "\" cannot be read (" + ec.message() + ")");
        return files;
    }
    constexpr std::string_view kExtension = ".zorvel";
    for (const fs::directory_entry& entry : it) {
        if (entry.is_directory(ec))
            continue;
        const std::string name = entry.path().filename().string();
        if (name.size() >= kExtension.size() &&
            name.compare(name.size() - kExtension.size(), kExtension.size(), kExtension) == 0)
            files.push_back((fs::path(folder) / name).string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

ResourceBank::ResourceBank() {
    Animation none;
    none.frameRate = 1.0f;
    none.frames.push_back(kDefaultTexture);
    animations[kNoAnimation] = std::move(none);
}

ResourceBank::~ResourceBank() {
    for (auto& [path, texture] : textures)
        glDeleteTextures(1, &texture.id);
    for (auto& [name, buffer] : vertexBuffers) {
        glDeleteBuffers(1, &buffer.vbo);
        glDeleteVertexArrays(1, &buffer.vao);
    }
    effects.clear();
    fonts.clear();
}

Texture ResourceBank::MakeTexture(int32_t width, int32_t height, const uint8_t* rgba) {
    Texture texture;
    texture.width = width;
    texture.height = height;
    texture.opaque = true;
    const std::size_t texels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    for (std::size_t i = 0; i < texels && texture.opaque; ++i)
        texture.opaque = rgba[4 * i + 3] == 255;
    glGenTextures(1, &texture.id);
    glBindTexture(GL_TEXTURE_2D, texture.id);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    glGenerateMipmap(GL_TEXTURE_2D);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // Clamped, so a sprite's edge never picks up texels of its other side.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    return texture;
}

const Texture& ResourceBank::GetTexture(const std::string& path) {
    auto it = textures.find(path);
    if (it != textures.end())
        return it->second;
    const bool isDefault = path == kDefaultTexture;
    if (!isDefault && missingTextures.count(path))
        return GetTexture(kDefaultTexture);
    Image image;
    if (LoadImageFile(DataPath(path), image))
        return textures[path] = MakeTexture(image.width, image.height, image.rgba.data());
    Warn("the image \"" + path + "\" cannot be read; " +
         (isDefault ? "a 1x1 stand-in is used" : "the default image is used"));
    if (isDefault)
        return textures[path] = MakeTexture(1, 1, kMissingTexel);
    missingTextures.insert(path);
    return GetTexture(kDefaultTexture);
}

Effect* ResourceBank::GetEffect(const std::string& path) {
    auto it = effects.find(path);
    if (it != effects.end())
        return it->second.get();
    if (failedEffects.count(path))
        return nullptr;
    std::string error;
    std::unique_ptr<Effect> effect = Effect::Load(NativePath(path), error);
    if (!effect) {
        failedEffects.insert(path);
        ShowErrorBox(error);
        return nullptr;
    }
    return (effects[path] = std::move(effect)).get();
}

const VertexBuffer* ResourceBank::GetVertexBuffer(const std::string& name, int32_t count,
                                                  bool dynamic) {
    auto it = vertexBuffers.find(name);
    if (it != vertexBuffers.end())
        return &it->second;
    VertexBuffer buffer;
    buffer.count = count;
    buffer.dynamic = dynamic;
    glGenVertexArrays(1, &buffer.vao);
    glGenBuffers(1, &buffer.vbo);
    glBindVertexArray(buffer.vao);
    glBindBuffer(GL_ARRAY_BUFFER, buffer.vbo);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(count) * kVertexBytes, nullptr,
                 dynamic ? GL_DYNAMIC_DRAW : GL_STATIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, kVertexBytes, nullptr);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, kVertexBytes,
                          reinterpret_cast<const void*>(3 * sizeof(float)));
    glBindVertexArray(0);
    return &(vertexBuffers[name] = buffer);
}

const VertexBuffer* ResourceBank::GetQuad() {
    const bool fresh = vertexBuffers.count(kQuad) == 0;
    const VertexBuffer* quad = GetVertexBuffer(kQuad, 4, false);
    if (fresh) {
        glBindBuffer(GL_ARRAY_BUFFER, quad->vbo);
        glBufferSubData(GL_ARRAY_BUFFER, 0, sizeof(kQuadVertices), kQuadVertices);
    }
    return quad;
}

void ResourceBank::AddFont(const std::string& name, FontDescription description) {
    if (description.faceName.size() > kMaxFaceName)
        description.faceName.resize(kMaxFaceName);
    FontEntry& entry = fonts[name];
    entry.description = std::move(description);
    entry.faces.clear();
    entry.resolveFailed = false;
}

FontFace* ResourceBank::GetFont(const std::string& name, int32_t height) {
    auto it = fonts.find(name);
    if (it == fonts.end()) {
        if (name == kDebugFont)
            return nullptr;
        return GetFont(kDebugFont, height);
    }
    FontEntry& entry = it->second;
    auto face = entry.faces.find(height);
    if (face != entry.faces.end())
        return face->second.get();
    if (entry.resolveFailed)
        return name == kDebugFont ? nullptr : GetFont(kDebugFont, height);
    FontFile file;
    std::unique_ptr<FontFace> opened;
    if (ResolveFontFile(entry.description, file))
        opened = FontFace::Open(file, FontPixelHeight(entry.description.height, height));
    if (!opened) {
        Warn("no face could be opened for the font \"" + name + "\" (\"" +
             entry.description.faceName + "\")");
        entry.resolveFailed = true;
        return name == kDebugFont ? nullptr : GetFont(kDebugFont, height);
    }
    return (entry.faces[height] = std::move(opened)).get();
}

const Animation* ResourceBank::FindAnimation(const std::string& name) const {
    auto it = animations.find(name);
    return it == animations.end() ? nullptr : &it->second;
}

bool ResourceBank::AddAnimation(const std::string& name, Animation animation) {
    if (animation.frames.empty()) {
        Warn("the animation \"" + name + "\" has no frames and is left out");
        return false;
    }
    if (animation.frameRate == 0.0f)
        animation.frameRate = 1.0f;
    animations[name] = std::move(animation);
    return true;
}

void ResourceBank::LoadAnimationBank(const std::string& folder, bool loadFrames) {
    for (const std::string& file : BankFiles(folder))
        LoadAnimationFile(file, loadFrames);
}

void ResourceBank::LoadAnimationFile(const std::string& file, bool loadFrames) {
    {
        ALoader loader(file);
        if (!loader.Begin("Root"))
            return;
        while (loader.Begin("Animation")) {
            float frameTime = 0.0f;
            std::string name;
            Animation animation;
            loader.FloatField("FrameTime", frameTime);
            loader.StringField("Name", name);
            loader.StringList("ListAnimation", animation.frames);
            loader.End("Animation");
            animation.frameRate = frameTime;
            const std::vector<std::string> frames = animation.frames;
            if (AddAnimation(name, std::move(animation)) && loadFrames)
                for (const std::string& frame : frames)
                    GetTexture(frame);
        }
        loader.End("Animation");
        loader.End("Root");
    }
}

void ResourceBank::LoadFontBank(const std::string& folder) {
    for (const std::string& file : BankFiles(folder))
        LoadFontFile(file);
}

void ResourceBank::LoadFontFile(const std::string& file) {
    {
        ALoader loader(file);
        if (!loader.Begin("Root"))
            return;
        while (loader.Begin("Font")) {
            const std::string where = loader.Where();
            std::string name;
            FontDescription d;
            int32_t italic = 0;
            uint32_t charSet = d.charSet, precision = d.outputPrecision, quality = d.quality,
                     pitch = d.pitchAndFamily;
            loader.StringField("Name", name);
            loader.StringField("FaceName", d.faceName);
            loader.IntField("Height", d.height);
            loader.UnsignedField("Width", d.width);
            loader.UnsignedField("Weight", d.weight);
            loader.UnsignedField("MipLevels", d.mipLevels);
            loader.IntField("Italic", italic);
            loader.UnsignedField("CharSet", charSet);
            loader.UnsignedField("OutputPrecision", precision);
            loader.UnsignedField("Quality", quality);
            loader.UnsignedField("PitchAndFamily", pitch);
            loader.End("Font");
            d.italic = italic != 0;
            d.charSet = static_cast<uint8_t>(charSet);
            d.outputPrecision = static_cast<uint8_t>(precision);
            d.quality = static_cast<uint8_t>(quality);
            d.pitchAndFamily = static_cast<uint8_t>(pitch);
            if (name.empty()) {
                Warn("a font without a name in \"" + file + "\" is left out");
                continue;
            }
            d.height = SaneFontHeight(d.height, where, name);
            AddFont(name, std::move(d));
        }
        loader.End("Font");
        loader.End("Root");
    }
}

} // namespace Flurr
