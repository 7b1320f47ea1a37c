#include "graphics/Effect.h"

#include <fstream>
#include <sstream>
#include <vector>

#include <glm/gtc/type_ptr.hpp>

#include "graphics/GL.h"
#include "serialization/Serializer.h"

namespace Flurr {

namespace {

std::string ShaderLog(GLuint shader) {
    GLint length = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    std::string log(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
    glGetShaderInfoLog(shader, length, nullptr, log.data());
    return log.c_str();
}

std::string ProgramLog(GLuint program) {
    GLint length = 0;
    glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
    std::string log(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
    glGetProgramInfoLog(program, length, nullptr, log.data());
    return log.c_str();
}

GLuint Compile(GLenum stage, const char* define, const std::string& source, const std::string& name,
               std::string& error) {
    // "#line 1" keeps the driver's line numbers those of the file.
    const std::string header =
        std::string("#version 330 core\n#define ") + define + " 1\n#line 1\n";
    const char* parts[] = {header.c_str(), source.c_str()};
    GLuint shader = glCreateShader(stage);
    glShaderSource(shader, 2, parts, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        error = name + " (" + define + "):\n" + ShaderLog(shader);
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

} // namespace

std::unique_ptr<Effect> Effect::Load(const std::string& path, std::string& error) {
    std::ifstream in(DataPath(path), std::ios::binary);
    if (!in) {
        error = path + ": the effect file could not be read";
        return nullptr;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return FromSource(text.str(), path, error);
}

std::unique_ptr<Effect> Effect::FromSource(const std::string& source, const std::string& name,
                                           std::string& error) {
    GLuint vertex = Compile(GL_VERTEX_SHADER, "VERTEX", source, name, error);
    if (!vertex)
        return nullptr;
    GLuint fragment = Compile(GL_FRAGMENT_SHADER, "FRAGMENT", source, name, error);
    if (!fragment) {
        glDeleteShader(vertex);
        return nullptr;
    }
    GLuint program = glCreateProgram();
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    glBindAttribLocation(program, 0, "position");
    glBindAttribLocation(program, 1, "texCoord");
    glLinkProgram(program);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint ok = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (!ok) {
        error = name + " (link):\n" + ProgramLog(program);
        glDeleteProgram(program);
        return nullptr;
    }
    return std::unique_ptr<Effect>(new Effect(program));
}

Effect::Effect(uint32_t program_) : program(program_) {
    // Give every sampler its own texture unit, in the linker's order.
    glUseProgram(program);
    GLint count = 0;
    glGetProgramiv(program, GL_ACTIVE_UNIFORMS, &count);
    int32_t nextUnit = 0;
    for (GLint i = 0; i < count; ++i) {
        char name[256];
        GLsizei length = 0;
        GLint size = 0;
        GLenum type = 0;
        glGetActiveUniform(program, static_cast<GLuint>(i), sizeof(name), &length, &size, &type,
                           name);
        if (type != GL_SAMPLER_2D)
            continue;
        const std::string uniform(name, static_cast<std::size_t>(length));
        units[uniform] = nextUnit;
        glUniform1i(glGetUniformLocation(program, name), nextUnit);
        ++nextUnit;
    }
}

Effect::~Effect() {
    glDeleteProgram(program);
}

void Effect::Use() const {
    glUseProgram(program);
}

int32_t Effect::Location(const std::string& name) {
    auto it = locations.find(name);
    if (it != locations.end())
        return it->second;
    const GLint location = glGetUniformLocation(program, name.c_str());
    locations.emplace(name, location);
    return location;
}

bool Effect::HasParameter(const std::string& name) {
    return Location(name) >= 0;
}

void Effect::SetMatrix(const std::string& name, const glm::mat4& value) {
    const int32_t location = Location(name);
    if (location >= 0)
        glUniformMatrix4fv(location, 1, GL_FALSE, glm::value_ptr(value));
}

void Effect::SetVector(const std::string& name, const glm::vec4& value) {
    const int32_t location = Location(name);
    if (location >= 0)
        glUniform4fv(location, 1, glm::value_ptr(value));
}

void Effect::SetFloat(const std::string& name, float value) {
    const int32_t location = Location(name);
    if (location >= 0)
        glUniform1f(location, value);
}

void Effect::SetTexture(const std::string& name, uint32_t texture) {
    auto it = units.find(name);
    if (it == units.end())
        return;
    glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(it->second));
    glBindTexture(GL_TEXTURE_2D, texture);
}

int32_t Effect::TextureUnit(const std::string& name) const {
    auto it = units.find(name);
    return it == units.end() ? -1 : it->second;
}

} // namespace Flurr
