#pragma once
// One effect file: a GLSL program built from a single file that holds
// both stages, the vertex stage between `#ifdef VERTEX` / `#endif` and the
// fragment stage between `#ifdef FRAGMENT` / `#endif`. The loader adds the
// version line and the stage's define, so a file never names its version.
//
// Parameters are uniforms set by name. Setting one the program does not
// have (the compiler drops unused ones) does nothing. Samplers get their
// texture units in the order the linker lists them.
//
// Vertex inputs: location 0 the position (vec3), location 1 the texture
// coordinate (vec2).

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include <glm/mat4x4.hpp>
#include <glm/vec4.hpp>

namespace Flurr {

class Effect {
public:
    // Null on failure, with the driver's log (or why the file could not be
    // read) in `error`.
    static std::unique_ptr<Effect> Load(const std::string& path, std::string& error);
    // Builds from source text; `name` only labels the log.
    static std::unique_ptr<Effect> FromSource(const std::string& source, const std::string& name,
                                              std::string& error);
    ~Effect();
    Effect(const Effect&) = delete;
    Effect& operator=(const Effect&) = delete;

    // Makes the program current; parameters are set after this.
    void Use() const;
    void SetMatrix(const std::string& name, const glm::mat4& value);
    void SetVector(const std::string& name, const glm::vec4& value);
    void SetFloat(const std::string& name, float value);
    // Binds a texture (a GL texture name) to the sampler of that name.
    void SetTexture(const std::string& name, uint32_t texture);
    bool HasParameter(const std::string& name);
    // The texture unit of the sampler of that name, -1 when there is none.
    int32_t TextureUnit(const std::string& name) const;

private:
    explicit Effect(uint32_t program);
    int32_t Location(const std::string& name);

    uint32_t program;
    std::unordered_map<std::string, int32_t> locations;
    std::unordered_map<std::string, int32_t> units;
};

} // namespace Flurr
