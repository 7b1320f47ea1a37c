#pragma once
// What the drawing benchmarks share: a hidden window with its own OpenGL 3.3
// core context, and the folder holding the shipped data.

#include <SDL.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

namespace Bench {

// A hidden window of `width` x `height` with a core context and no vsync.
// Kept for the whole process: the benchmarks share it.
struct GlWindow {
    GlWindow(const char* title, int width, int height) {
        if (!std::getenv("SDL_VIDEODRIVER"))
            setenv("SDL_VIDEODRIVER", "offscreen", 1);
        SDL_Init(SDL_INIT_VIDEO);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        window =
            SDL_CreateWindow(title, 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        if (window)
            context = SDL_GL_CreateContext(window);
        if (context)
            SDL_GL_SetSwapInterval(0);
    }
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
};

// The folder holding `marker` (a path under it): the working directory or
// one above it, the source tree of the build, or the program's folder or
// one above it. Empty when none has it.
inline std::filesystem::path DataFolder(const char* marker) {
    namespace fs = std::filesystem;
    std::vector<fs::path> starts{fs::current_path(), CLOUDMERE_SOURCE_DIR};
    if (char* base = SDL_GetBasePath()) {
        starts.emplace_back(base);
        SDL_free(base);
    }
    for (const fs::path& start : starts)
        for (fs::path p = start; !p.empty(); p = p.parent_path()) {
            if (fs::exists(p / marker))
                return p;
            if (p == p.parent_path())
                break;
        }
    return {};
}

} // namespace Bench
