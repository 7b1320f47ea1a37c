#pragma once
// GraphicsSystem: everything drawn on screen. It owns the resource banks,
// the camera, the list of sprites (GraphicsComponent) and the off-screen
// targets, and draws one frame per Update:
//
//   1. steps every sprite's animation while "GameSpace" is active;
//   2. resets the post-processing block while "LevelEditor" is active;
//   3. draws the background and the world's sprites (ZPos, ZOrder,
//      creation) into the scene target;
//   4. post-processing, ending in "Final.fx", into the back-buffer target;
//   5. the overlay on top, untouched by post-processing: screen-space and
//      camera-fixed (orthographic) sprites in the same order, then debug
//      lines and texts; both lists are emptied every frame, drawn or not;
//   6. the editor's UI hook while "LevelEditor" is active;
//   7. an F11 screenshot of the finished frame;
//   8. shows the back buffer in the window and presents, at most 60
//      frames per second unless the core runs with a fixed step.
//
// Created after WindowsSystem with the window and its client size; the GL
// context of the window must be current. Initialize() builds the GL
// state and loads the banks (after drawing the loading screen). When the
// renderer cannot start, it reports why, asks the core to quit, sets
// Failed() and draws nothing from then on.
//
// Messages: DrawText, DebugSetColor/MoveTo/LineTo, DebugRect, SetCamera,
// MoveCamera, SetViewRotation, SetCameraZoom, SetResolution,
// CycleResolution, ToggleFullscreen, PostProcessTransition, KeyTriggered
// (F11), KeyPressed (ignored), SetBackground.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/GameSystem.h"
#include "engine/InputCodes.h"
#include "engine/Message.h"
#include "engine/Vec2.h"
#include "graphics/Camera.h"
#include "graphics/DisplayModes.h"
#include "graphics/ImageFiles.h"
#include "graphics/PostProcess.h"
#include "world/SpaceLists.h"

struct SDL_Window;

namespace Flurr {

class GraphicsComponent;
class ResourceBank;

struct GraphicsSettings {
    // The game window; null draws off-screen only (no resizing, no
    // presenting besides `present`).
    SDL_Window* window = nullptr;
    // Client size at start, pixels.
    int32_t width = 800;
    int32_t height = 600;
    // A decorated window keeps its size; the borderless full-screen
    // window takes the nearest display mode.
    bool windowed = false;
    // Shows the finished frame (swaps the window's buffers).
    std::function<void()> present;
    // Folders of the animation and font banks, read at Initialize (empty:
    // none).
    std::string animationBanks;
    std::string fontBanks;
};

struct TextRecord {
    std::string text;
    int32_t left = 0, top = 0;
    std::string font;
    float red = 1, green = 1, blue = 1, alpha = 1; // 0..1
    bool shadow = false;
    int32_t right = 0, bottom = 0;
};

struct DebugCommand {
    enum Kind : int32_t { SetColor = 0, MoveTo = 1, LineTo = 2 };
    int32_t kind = SetColor;
    float red = 1, green = 1, blue = 1, alpha = 1; // 0..1
    float x = 0, y = 0, z = 0, w = 1;
};

struct GraphicsSystemName {
    static constexpr const char* value = "GraphicsSystem";
};

class GraphicsSystem : public ISystem<GraphicsSystem, GraphicsSystemName> {
public:
    // The key that writes a screenshot of the finished frame.
    static constexpr uint8_t kScreenshotKey = KeyCode::F11;
    static constexpr float kMaxZoom = 250.0f;

    explicit GraphicsSystem(GraphicsSettings settings);
    ~GraphicsSystem() override;

    void Initialize() override;
    void Update(float dt) override;
    void SendMessage(Message* message) override;
    void Free() override;

    bool Failed() const { return failed; }
    ResourceBank* Bank() const { return bank.get(); }

    // Sprites.
    void RegisterComponent(GraphicsComponent* sprite, const std::string& space);
    void UnregisterComponent(GraphicsComponent* sprite);
    uint32_t NextSpriteSerial() { return spriteSerial++; }
    // The sprites in draw order.
    std::vector<GraphicsComponent*> DrawOrder() const;
    std::size_t SpriteCount() const;

    // Automation: take a screenshot of the finished frame number `frame`
    // (counted from 1 over the whole run), as F11 would.
    void ScreenshotAtFrame(int64_t frame) { screenshotAtFrame = frame; }
    // Off: sprites still animate and texts are still measured, but no
    // frame is drawn or shown. A software GL driver spends nearly all of
    // a replay's time drawing, and a replay checks the world, not pixels.
    void SetDrawing(bool on) { drawing = on; }
    // Screenshots are written into `folder` (made when the first is
    // taken); empty: the working directory.
    void SetScreenshotFolder(std::string folder) { screenshotFolder = std::move(folder); }

    // The editor's UI draws through this while "LevelEditor" is active.
    void SetEditorHook(std::function<void()> hook) { editorHook = std::move(hook); }

    // State, for the systems and tools that ask.
    const CameraState& Camera() const { return camera; }
    // The process's back buffer in pixels, or 800 x 600 before there is
    // one or without a renderer: what screen-placed texts and the mouse are
    // measured against.
    static void ScreenSize(int32_t& width, int32_t& height);
    // The world point `dx`, `dy` pixels (x right, y up) from the screen's
    // centre, in the view the camera shows 600 units tall: where the game
    // keeps an object that must stay under a place on the screen.
    static Vec2 ScreenOffsetToWorld(float dx, float dy);
    // How many lines `text` takes in `font` wrapped at `width` pixels, as a
    // DrawTextMessage with that width draws it (1 without a renderer or
    // the font), so a list of texts can step past a line that wrapped.
    int32_t TextLineCount(const std::string& text, const std::string& font, int32_t width);
    // The pixels `text` takes in `font` on one unwrapped line, as drawn
    // now; false (and both 0) without a renderer or the font.
    bool TextSize(const std::string& text, const std::string& font, int32_t& width,
                  int32_t& height);
    int32_t BackBufferWidth() const { return backWidth; }
    int32_t BackBufferHeight() const { return backHeight; }
    bool Fullscreen() const { return fullscreen; }
    const std::vector<DisplayMode>& DisplayModes() const { return modes; }
    int32_t ModeIndex() const { return modeIndex; }
    const std::vector<TextRecord>& PendingTexts() const { return texts; }
    const std::vector<DebugCommand>& PendingDebugCommands() const { return debugCommands; }
    const PostProcessState& PostProcessing() const { return post; }
    // Post-processing passes run in the last frame (besides "Final.fx").
    int32_t PostPassesRun() const { return postPassesRun; }
    // Where the passes write (PassSizes): for the renderer tests and
    // benchmark only, which compare the game's chain with the full-size one.
    void SetPostPassSizes(PassSizes sizes) { passSizes = sizes; }
    const std::string& LastScreenshot() const { return lastScreenshot; }
    int32_t ScreenshotsWritten() const { return screenshotsWritten; }

    // The finished frame as it was last shown (texts included), RGBA, top
    // row first; empty when nothing was drawn.
    Image ReadBackBuffer() const;

private:
    struct Gl;

    bool SetUpGl();
    void Fail(const std::string& text);
    void DrawLoadingScreen();
    void DrawFrame(float dt);
    // The background and the world's sprites, into the scene target.
    void DrawScene(const ViewMatrices& views, float dt);
    // The sprites of the world (overlay false) or of the overlay, in draw
    // order, into the bound framebuffer.
    void DrawSprites(const ViewMatrices& views, float dt, bool overlay);
    // Screen-space and camera-fixed sprites: drawn over the post-processed
    // picture rather than through it.
    static bool InOverlay(const GraphicsComponent& sprite);
    // Draws the plain sprites gathered so far in one call.
    void FlushSpriteRun();
    void DrawPostProcessing(float dt);
    void DrawDebugLines(const ViewMatrices& views);
    void DrawTexts();
    // The screen height fonts are sized for: the back buffer's, or less in
    // a window much taller than it is wide.
    int32_t TextLayoutHeight() const;
    void DrawText(const TextRecord& text, bool asShadow);
    void Present();
    void TakeScreenshot();
    void ClearFrameLists();
    // A move or line step of the debug drawing, in world units.
    void AddDebugPoint(int32_t kind, float x, float y);
    void ChangeResolution(int32_t width, int32_t height);
    void ApplyBackBufferSize(int32_t width, int32_t height);
    void ToggleFullscreen();

    GraphicsSettings settings;
    bool failed = false;
    bool initialized = false;
    bool ttfStarted = false;
    std::unique_ptr<ResourceBank> bank;
    std::unique_ptr<Gl> gl;
    std::unique_ptr<RenderTargets> targets;

    std::vector<TextRecord> texts;
    std::vector<DebugCommand> debugCommands;
    SpaceLists<GraphicsComponent> sprites; // registration order within a space
    uint32_t spriteSerial = 0;

    CameraState camera;
    std::string backgroundPath;
    bool hasBackground = false;
    PostProcessState post;
    // Seconds the ripple has run: it moves only while it is switched on.
    float distortClock = 0.0f;
    int32_t postPassesRun = 0;
    PassSizes passSizes = PassSizes::Reduced;
    bool screenshotPending = false;
    int64_t screenshotAtFrame = 0;
    bool drawing = true;
    int64_t framesDrawn = 0;
    std::string lastScreenshot;
    std::string screenshotFolder;
    int32_t screenshotsWritten = 0;
    float basicTime = 0.0f;

    int32_t backWidth = 0;
    int32_t backHeight = 0;
    bool fullscreen = true;
    std::vector<DisplayMode> modes;
    int32_t modeIndex = -1;
    std::function<void()> editorHook;
};

// A line of text centred across the screen, its top `authoredTop` pixels
// down an 800 x 600 screen and scaled with the screen's height; without a
// renderer to measure it, it spans the screen.
DrawTextMessage ScreenLine(const std::string& text, const std::string& font, float authoredTop);

} // namespace Flurr
