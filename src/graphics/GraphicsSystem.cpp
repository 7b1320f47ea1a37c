#include "graphics/GraphicsSystem.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <filesystem>

#include <glm/gtc/matrix_transform.hpp>

#include "engine/Component.h"
#include "engine/Core.h"
#include "engine/Message.h"
#include "engine/Report.h"
#include "graphics/Effect.h"
#include "graphics/Fonts.h"
#include "graphics/GL.h"
#include "graphics/GraphicsComponent.h"
#include "graphics/ResourceBank.h"
#include "graphics/Screenshot.h"
#include "world/SpaceManager.h"

namespace Flurr {

namespace {

constexpr const char* kBasicEffect = "Resources/Shaders/Basic.fx";
constexpr const char* kDebugEffect = "Resources/Shaders/Debug.fx";
constexpr const char* kLoadingImage = "Resources/Images/loading.png";
constexpr const char* kTargetsFailedText = "Could not set up post processing.";

// The loading image is authored for a 16:9 view 600 units high.
constexpr float kLoadingWidth = 600.0f * 16.0f / 9.0f;
// The smallest texture size the game's art may use.
constexpr GLint kRequiredTextureSize = 2048;
// The shadow of a text: one pixel right and down, in 0xBF000000.
constexpr float kShadowAlpha = 191.0f / 255.0f;

// Built in, so texts show even without a font bank: a free monospace face
// 16 pixels high in the 600-pixel layout.
FontDescription DebugFontDescription() {
    FontDescription d;
    d.faceName = "DejaVu Sans Mono";
    d.height = 16;
    d.weight = 400;
    d.quality = 2;
    d.charSet = 1;
    return d;
}

// The colour a text is drawn in: each channel as the byte it would be
// packed into.
float ColourByte(float v) {
    return std::floor(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f) / 255.0f;
}

} // namespace

// Consecutive plain sprites (in draw order) that share their texture,
// colour, blending, view and filtering are drawn with one call: their
// corners are placed on the CPU into one vertex buffer with the quad's
// layout (x, y, z, u, v), and "Basic.fx" draws them all with the view's
// matrix. The order of the draws, and so every overlap, stays as it was.
//
// Filtering: textures carry mipmaps for sprites drawn much smaller than
// their pictures (the map view, far scenery). A sprite shown at more than
// half its picture's size reads the full picture with plain bilinear
// filtering instead: the same sharpness, and on a software rasteriser a
// quarter less work per pixel.
constexpr float kMipmapTexelsPerPixel = 2.0f;

struct SpriteRun {
    bool open = false;
    uint32_t texture = 0;
    glm::vec4 color{1.0f};
    bool additive = false;
    bool mipmapped = true;
    const glm::mat4* viewProjection = nullptr;
    std::vector<float> vertices;

    bool Continues(const GraphicsComponent::PlainQuad& quad, const glm::mat4* view,
                   bool mipmaps) const {
        return open && quad.texture == texture && quad.color == color &&
               quad.additive == additive && view == viewProjection && mipmaps == mipmapped;
    }
    void Add(const glm::mat4& world) {
        // The unit quad's corners as two triangles; v = 0 at the top.
        static constexpr float corners[6][4] = {
            {-0.5f, -0.5f, 0.0f, 1.0f}, {-0.5f, 0.5f, 0.0f, 0.0f}, {0.5f, -0.5f, 1.0f, 1.0f},
            {0.5f, -0.5f, 1.0f, 1.0f},  {-0.5f, 0.5f, 0.0f, 0.0f}, {0.5f, 0.5f, 1.0f, 0.0f}};
        for (const auto& c : corners) {
            const glm::vec4 p = world * glm::vec4(c[0], c[1], 0.0f, 1.0f);
            vertices.insert(vertices.end(), {p.x, p.y, p.z, c[2], c[3]});
        }
    }
};

struct GraphicsSystem::Gl {
    GLuint debugVao = 0;
    GLuint debugVbo = 0;
    GLuint textTexture = 0;
    GLuint spriteVao = 0;
    GLuint spriteVbo = 0;
    // Bilinear, no mipmaps: bound over a texture's own filtering.
    GLuint bilinearSampler = 0;
    SpriteRun run;

    GLuint BilinearSampler() {
        if (!bilinearSampler) {
            glGenSamplers(1, &bilinearSampler);
            glSamplerParameteri(bilinearSampler, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
            glSamplerParameteri(bilinearSampler, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
            glSamplerParameteri(bilinearSampler, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
            glSamplerParameteri(bilinearSampler, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        }
        return bilinearSampler;
    }

    ~Gl() {
        if (bilinearSampler)
            glDeleteSamplers(1, &bilinearSampler);
        if (spriteVbo)
            glDeleteBuffers(1, &spriteVbo);
        if (spriteVao)
            glDeleteVertexArrays(1, &spriteVao);
        if (textTexture)
            glDeleteTextures(1, &textTexture);
        if (debugVbo)
            glDeleteBuffers(1, &debugVbo);
        if (debugVao)
            glDeleteVertexArrays(1, &debugVao);
    }
};

Vec2 GraphicsSystem::ScreenOffsetToWorld(float dx, float dy) {
    int32_t width, height;
    ScreenSize(width, height);
    // ScreenSize never reports an empty screen.
    const float toWorld = 600.0f / static_cast<float>(height);
    Vec2 at(dx * toWorld, dy * toWorld);
    if (const GraphicsSystem* graphics = Instance()) {
        at.x += graphics->Camera().x;
        at.y += graphics->Camera().y;
    }
    return at;
}

void GraphicsSystem::ScreenSize(int32_t& width, int32_t& height) {
    width = 800;
    height = 600;
    if (Instance() && Instance()->backWidth > 0 && Instance()->backHeight > 0) {
        width = Instance()->backWidth;
        height = Instance()->backHeight;
    }
}

GraphicsSystem::GraphicsSystem(GraphicsSettings settings_)
    : settings(std::move(settings_)), bank(std::make_unique<ResourceBank>()),
      targets(std::make_unique<RenderTargets>()) {
    backWidth = std::max(settings.width, 1);
    backHeight = std::max(settings.height, 1);
    fullscreen = !settings.windowed;
    if (Core* core = Core::Instance())
        core->RegisterForMessage(this, MessageId::SetResolution);
}

GraphicsSystem::~GraphicsSystem() {
    Free();
}

void GraphicsSystem::Fail(const std::string& text) {
    ShowErrorBox(text);
    failed = true;
    MessageQuit quit;
    if (Core* core = Core::Instance())
        core->SendMessage(&quit);
}

void GraphicsSystem::Initialize() {
    if (Core* core = Core::Instance())
        for (int32_t id : {MessageId::DrawText, MessageId::DebugSetColor, MessageId::DebugMoveTo,
                           MessageId::DebugLineTo, MessageId::DebugRect, MessageId::KeyTriggered,
                           MessageId::KeyPressed, MessageId::SetCamera, MessageId::MoveCamera,
                           MessageId::SetCameraZoom, MessageId::SetViewRotation,
                           MessageId::SetBackground, MessageId::PostProcessTransition,
                           MessageId::ToggleFullscreen, MessageId::CycleResolution})
            core->RegisterForMessage(this, id);
    if (failed || initialized)
        return;
    if (!SetUpGl())
        return;
    initialized = true;
    DrawLoadingScreen();
    if (!settings.animationBanks.empty())
        bank->LoadAnimationBank(settings.animationBanks);
    if (!settings.fontBanks.empty())
        bank->LoadFontBank(settings.fontBanks);
}

bool GraphicsSystem::SetUpGl() {
    if (!SDL_GL_GetCurrentContext() || epoxy_gl_version() < 33) {
        Fail("The graphics driver offers no OpenGL 3.3 core context; the game cannot draw.");
        return false;
    }
    GLint maxTexture = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTexture);
    if (maxTexture < kRequiredTextureSize)
        ShowErrorBox("Textures of size 2048 not supported.");

    // Display modes of display 0 in SDL's order; drivers without real
    // displays get a fixed list.
    modes.clear();
    const char* driver = SDL_GetCurrentVideoDriver();
    const bool virtualDisplay =
        !driver || std::string(driver) == "offscreen" || std::string(driver) == "dummy";
    if (!virtualDisplay) {
        // The display's own sizes and the common ones up to the desktop:
        // a window can take any of them, and the full-screen window scales
        // the frame to the desktop whatever its size.
        std::vector<DisplayMode> display;
        const int count = SDL_GetNumDisplayModes(0);
        for (int i = 0; i < count; ++i) {
            SDL_DisplayMode m{};
            if (SDL_GetDisplayMode(0, i, &m) == 0)
                display.push_back({m.w, m.h, m.refresh_rate});
        }
        SDL_DisplayMode desktop{};
        if (SDL_GetDesktopDisplayMode(0, &desktop) != 0)
            desktop.w = desktop.h = 0;
        modes = ResolutionChoices(display, desktop.w, desktop.h);
    }
    if (modes.empty())
        modes = FallbackDisplayModes();
    int32_t width = backWidth;
    int32_t height = backHeight;
    // A decorated window keeps the size it was asked for; full screen
    // takes a display mode.
    if (fullscreen)
        modeIndex = ChooseDisplayMode(modes, -1, width, height);

    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    bank->GetEffect(kDebugEffect);
    bank->GetEffect(kBasicEffect);
    bank->GetTexture(ResourceBank::kDefaultTexture);
    bank->GetTexture(kLoadingImage);
    bank->GetQuad();
    if (!bank->HasFont(ResourceBank::kDebugFont))
        bank->AddFont(ResourceBank::kDebugFont, DebugFontDescription());

    gl = std::make_unique<Gl>();
    glGenVertexArrays(1, &gl->debugVao);
    glGenBuffers(1, &gl->debugVbo);
    glBindVertexArray(gl->debugVao);
    glBindBuffer(GL_ARRAY_BUFFER, gl->debugVbo);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 3 * sizeof(float), nullptr);
    glBindVertexArray(0);
    glGenTextures(1, &gl->textTexture);
    glBindTexture(GL_TEXTURE_2D, gl->textTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);

    if (TTF_Init() == 0)
        ttfStarted = true;
    else
        Warn(std::string("fonts cannot be drawn: ") + TTF_GetError());

    // A run with a fixed step goes as fast as the machine allows.
    Core* core = Core::Instance();
    SDL_GL_SetSwapInterval(core && core->FixedDt() > 0.0f ? 0 : 1);

    backWidth = 0; // forces the targets to be made
    ApplyBackBufferSize(width, height);
    return !failed;
}

void GraphicsSystem::Free() {
    for (GraphicsComponent* sprite : sprites.Items())
        sprite->bank = nullptr;
    initialized = false;
    if (targets)
        targets->Release();
    gl.reset();
    // Fonts close before SDL_ttf shuts down.
    bank.reset();
    if (ttfStarted) {
        TTF_Quit();
        ttfStarted = false;
    }
}

void GraphicsSystem::RegisterComponent(GraphicsComponent* sprite, const std::string& space) {
    sprites.Add(sprite, space);
}

void GraphicsSystem::UnregisterComponent(GraphicsComponent* sprite) {
    sprites.Remove(sprite);
}

std::size_t GraphicsSystem::SpriteCount() const {
    return sprites.Size();
}

std::vector<GraphicsComponent*> GraphicsSystem::DrawOrder() const {
    std::vector<GraphicsComponent*> order = sprites.Items();
    std::sort(order.begin(), order.end(), GraphicsComponent::DrawsBefore);
    return order;
}

void GraphicsSystem::ClearFrameLists() {
    texts.clear();
    debugCommands.clear();
    // The list always begins in white.
    debugCommands.push_back(DebugCommand{});
}

void GraphicsSystem::Update(float dt) {
    if (failed || !initialized) {
        ClearFrameLists();
        return;
    }
    if (SpaceManager::Active(Spaces::Game))
        sprites.ForEachAll([dt](GraphicsComponent* sprite) { sprite->Update(dt); });
    if (SpaceManager::Active(Spaces::LevelEditor))
        post.ResetNeutral();
    // Drawn once per frame, on its last tick. What earlier ticks asked to
    // draw (texts, debug lines) is asked again on the next, so it goes.
    const FrameTick tick = Core::CurrentTick();
    const float frameSeconds = tick.frameSeconds > 0.0f ? tick.frameSeconds : dt;
    if (tick.Last() && drawing) {
        DrawFrame(frameSeconds);
    } else {
        // Undrawn, the fades still run their course.
        if (tick.Last())
            post.Advance(frameSeconds);
        ClearFrameLists();
    }
}

void GraphicsSystem::DrawFrame(float dt) {
    const ViewMatrices views =
        BuildViews(camera, SpaceManager::Active(Spaces::Pause), backWidth, backHeight);

    glBindFramebuffer(GL_FRAMEBUFFER, targets->backFramebuffer);
    glViewport(0, 0, backWidth, backHeight);
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);

    // The scene target is not cleared: the background covers it.
    glBindFramebuffer(GL_FRAMEBUFFER, targets->sceneFramebuffer);
    DrawScene(views, dt);

    DrawPostProcessing(dt);
    post.Advance(dt);

    glBindFramebuffer(GL_FRAMEBUFFER, targets->backFramebuffer);
    glViewport(0, 0, backWidth, backHeight);
    // What stays on the glass (the HUD, prompts, the hint band, menus) is
    // laid over the finished picture, so the updraft's ripple and the
    // light of a place never bend or tint it, just as they leave the texts.
    DrawSprites(views, dt, true);
    DrawDebugLines(views);
    DrawTexts();
    ClearFrameLists();

    if (editorHook && SpaceManager::Active(Spaces::LevelEditor))
        editorHook();
    if (++framesDrawn == screenshotAtFrame)
        screenshotPending = true;
    if (screenshotPending)
        TakeScreenshot();
    Present();
}

void GraphicsSystem::DrawScene(const ViewMatrices& views, float dt) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    if (hasBackground) {
        if (Effect* effect = bank->GetEffect(kBasicEffect)) {
            const Texture& picture = bank->GetTexture(backgroundPath);
            const glm::mat4 world =
                glm::scale(glm::mat4(1.0f), glm::vec3(views.aspectWidth, kViewHeight, 1.0f));
            const glm::mat4 viewProjection = views.perspective * views.screenView;
            // The background covers the whole view: an opaque picture is
            // copied rather than blended (the same pixels, without reading
            // the target), and it is filtered as a sprite of its size is.
            if (picture.opaque)
                glDisable(GL_BLEND);
            effect->Use();
            effect->SetMatrix("worldViewProj", viewProjection * world);
            effect->SetVector("color", glm::vec4(1.0f));
            effect->SetTexture("texture0", picture.id);
            const int32_t unit = effect->TextureUnit("texture0");
            const bool mipmaps =
                TexelsPerPixel(viewProjection, world, picture.width, picture.height, backWidth,
                               backHeight) > kMipmapTexelsPerPixel;
            if (!mipmaps && unit >= 0)
                glBindSampler(static_cast<GLuint>(unit), gl->BilinearSampler());
            glBindVertexArray(bank->GetQuad()->vao);
            glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
            if (!mipmaps && unit >= 0)
                glBindSampler(static_cast<GLuint>(unit), 0);
            glEnable(GL_BLEND);
        }
    }
    DrawSprites(views, dt, false);
}

bool GraphicsSystem::InOverlay(const GraphicsComponent& sprite) {
    return sprite.screenSpace || sprite.orthographic;
}

void GraphicsSystem::DrawSprites(const ViewMatrices& views, float dt, bool overlay) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    const glm::mat4 world = views.perspective * views.worldView;
    const glm::mat4 flat = views.orthographic * views.flatWorldView;
    const glm::mat4 screen = views.orthographic * views.screenView;
    GraphicsComponent::PlainQuad quad;
    for (GraphicsComponent* sprite : DrawOrder()) {
        if (InOverlay(*sprite) != overlay)
            continue;
        const glm::mat4& viewProjection =
            sprite->screenSpace ? screen : (sprite->orthographic ? flat : world);
        if (!sprite->GetPlainQuad(quad)) {
            FlushSpriteRun();
            sprite->Draw(viewProjection, dt, basicTime);
            continue;
        }
        // A sprite at no opacity changes no pixel, blended or added (a
        // text trigger's band while the player is away covers a third of
        // the screen): it is left out, but its time still runs.
        if (quad.color.a <= 0.0f) {
            basicTime += dt;
            continue;
        }
        SpriteRun& run = gl->run;
        const bool mipmaps =
            TexelsPerPixel(viewProjection, quad.world, quad.textureWidth, quad.textureHeight,
                           backWidth, backHeight) > kMipmapTexelsPerPixel;
        if (!run.Continues(quad, &viewProjection, mipmaps)) {
            FlushSpriteRun();
            run.open = true;
            run.texture = quad.texture;
            run.color = quad.color;
            run.additive = quad.additive;
            run.mipmapped = mipmaps;
            run.viewProjection = &viewProjection;
        }
        run.Add(quad.world);
        // Every plain sprite drawn moves the running time on, batched or not.
        basicTime += dt;
    }
    FlushSpriteRun();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void GraphicsSystem::FlushSpriteRun() {
    SpriteRun& run = gl->run;
    const bool open = run.open;
    run.open = false;
    if (!open || run.vertices.empty())
        return;
    Effect* effect = bank->GetEffect(kBasicEffect);
    if (effect) {
        if (!gl->spriteVao) {
            glGenVertexArrays(1, &gl->spriteVao);
            glGenBuffers(1, &gl->spriteVbo);
            glBindVertexArray(gl->spriteVao);
            glBindBuffer(GL_ARRAY_BUFFER, gl->spriteVbo);
            constexpr GLsizei stride = 5 * sizeof(float);
            glEnableVertexAttribArray(0);
            glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, nullptr);
            glEnableVertexAttribArray(1);
            glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, stride,
                                  reinterpret_cast<const void*>(3 * sizeof(float)));
        }
        SetSpriteBlend(run.additive);
        effect->Use();
        effect->SetTexture("texture0", run.texture);
        const int32_t unit = effect->TextureUnit("texture0");
        if (!run.mipmapped && unit >= 0)
            glBindSampler(static_cast<GLuint>(unit), gl->BilinearSampler());
        effect->SetFloat("t", basicTime);
        effect->SetMatrix("worldViewProj", *run.viewProjection);
        effect->SetVector("color", run.color);
        glBindVertexArray(gl->spriteVao);
        glBindBuffer(GL_ARRAY_BUFFER, gl->spriteVbo);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(run.vertices.size() * sizeof(float)),
                     run.vertices.data(), GL_STREAM_DRAW);
        glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(run.vertices.size() / 5));
        if (!run.mipmapped && unit >= 0)
            glBindSampler(static_cast<GLuint>(unit), 0);
    }
    run.vertices.clear();
}

void GraphicsSystem::DrawPostProcessing(float dt) {
    // The switch follows the block in effect, never the blend towards a
    // target: the ripple turns on or off all at once.
    const bool distort = post.current.distort;
    if (distort)
        distortClock += dt;
    const std::vector<PostPass> passes = BuildPassList(post.Effective(), distort, distortClock);
    const RenderTarget result = RunPasses(*bank, *targets, passes, &postPassesRun, passSizes);

    glBindFramebuffer(GL_FRAMEBUFFER, targets->backFramebuffer);
    glViewport(0, 0, backWidth, backHeight);
    if (RunFinalPass(*bank, *targets, result, passSizes))
        return;
    // Without "Final.fx" the result is copied as it is (stretched, should
    // the last pass that ran be one of the bloom's smaller ones).
    glBindFramebuffer(GL_READ_FRAMEBUFFER, result.framebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, targets->backFramebuffer);
    const bool sameSize = result.width == backWidth && result.height == backHeight;
    glBlitFramebuffer(0, 0, result.width, result.height, 0, 0, backWidth, backHeight,
                      GL_COLOR_BUFFER_BIT, sameSize ? GL_NEAREST : GL_LINEAR);
}

void GraphicsSystem::DrawDebugLines(const ViewMatrices& views) {
    Effect* effect = bank->GetEffect(kDebugEffect);
    if (!effect)
        return;
    effect->Use();
    effect->SetMatrix("worldViewProj", views.perspective * views.worldView);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glBindVertexArray(gl->debugVao);
    glBindBuffer(GL_ARRAY_BUFFER, gl->debugVbo);

    std::vector<float> segments;
    glm::vec4 colour(1.0f);
    glm::vec3 pen(0.0f);
    auto flush = [&]() {
        if (segments.empty())
            return;
        effect->SetVector("color", colour);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(segments.size() * sizeof(float)),
                     segments.data(), GL_STREAM_DRAW);
        glDrawArrays(GL_LINES, 0, static_cast<GLsizei>(segments.size() / 3));
        segments.clear();
    };
    for (const DebugCommand& c : debugCommands) {
        switch (c.kind) {
        case DebugCommand::SetColor:
            flush();
            colour = glm::vec4(c.red, c.green, c.blue, c.alpha);
            break;
        case DebugCommand::MoveTo:
            pen = glm::vec3(c.x, c.y, c.z);
            break;
        case DebugCommand::LineTo:
            segments.insert(segments.end(), {pen.x, pen.y, pen.z, c.x, c.y, c.z});
            pen = glm::vec3(c.x, c.y, c.z);
            break;
        default:
            break;
        }
    }
    flush();
}

int32_t GraphicsSystem::TextLayoutHeight() const {
    // Letters grow with the window's height, but a tall narrow window
    // would make them too wide for it to hold a line: there they are sized
    // as for a window 1.5 times as tall as it is wide.
    return std::max(std::min(backHeight, backWidth * 3 / 2), 1);
}

void GraphicsSystem::DrawTexts() {
    for (const TextRecord& text : texts) {
        if (text.shadow)
            DrawText(text, true);
        DrawText(text, false);
    }
}

int32_t GraphicsSystem::TextLineCount(const std::string& text, const std::string& font,
                                      int32_t width) {
    if (text.empty() || !bank || width <= 0)
        return 1;
    FontFace* face = bank->GetFont(font, TextLayoutHeight());
    if (!face)
        return 1;
    // Wrapped exactly as DrawText wraps it.
    SDL_Surface* rendered =
        TTF_RenderUTF8_Blended_Wrapped(face->Handle(), text.c_str(), SDL_Color{255, 255, 255, 255},
                                       static_cast<Uint32>(std::min(width, 16384)));
    if (!rendered)
        return 1;
    const int32_t skip = std::max(TTF_FontLineSkip(face->Handle()), 1);
    const int32_t lines = std::max((rendered->h + skip / 2) / skip, 1);
    SDL_FreeSurface(rendered);
    return lines;
}

bool GraphicsSystem::TextSize(const std::string& text, const std::string& font, int32_t& width,
                              int32_t& height) {
    width = height = 0;
    FontFace* face =
        bank && ttfStarted && !text.empty() ? bank->GetFont(font, TextLayoutHeight()) : nullptr;
    int w = 0, h = 0;
    if (!face || TTF_SizeUTF8(face->Handle(), text.c_str(), &w, &h) != 0)
        return false;
    width = w;
    height = h;
    return true;
}

DrawTextMessage ScreenLine(const std::string& text, const std::string& font, float authoredTop) {
    int32_t width, height;
    GraphicsSystem::ScreenSize(width, height);
    DrawTextMessage m;
    m.text = text;
    m.font = font;
    m.top = static_cast<int32_t>(authoredTop * static_cast<float>(height) / 600.0f);
    m.right = width;
    int32_t w = 0, h = 0;
    GraphicsSystem* graphics = GraphicsSystem::Instance();
    if (graphics && graphics->TextSize(text, font, w, h) && w < width) {
        m.left = (width - w) / 2;
        // A pixel to spare: the wrap must never break the measured line.
        m.right = std::min(m.left + w + 1, width);
    }
    return m;
}

void GraphicsSystem::DrawText(const TextRecord& text, bool asShadow) {
    if (text.text.empty() || text.right <= text.left || text.bottom <= text.top)
        return;
    FontFace* font = bank->GetFont(text.font, TextLayoutHeight());
    Effect* effect = bank->GetEffect(kBasicEffect);
    if (!font || !effect)
        return;
    const SDL_Color white{255, 255, 255, 255};
    const int32_t wrap = std::max(text.right - text.left, 1);
    SDL_Surface* rendered = TTF_RenderUTF8_Blended_Wrapped(
        font->Handle(), text.text.c_str(), white, static_cast<Uint32>(std::min(wrap, 16384)));
    if (!rendered)
        return;
    SDL_Surface* surface = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(rendered);
    if (!surface)
        return;

    glBindTexture(GL_TEXTURE_2D, gl->textTexture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, surface->pitch / 4);
    // ARGB8888 words are B, G, R, A bytes in memory on this platform.
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, surface->w, surface->h, 0, GL_BGRA,
                 GL_UNSIGNED_INT_8_8_8_8_REV, surface->pixels);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    const float w = static_cast<float>(surface->w);
    const float h = static_cast<float>(surface->h);
    SDL_FreeSurface(surface);

    const int32_t shift = asShadow ? 1 : 0;
    const float left = static_cast<float>(text.left + shift);
    const float top = static_cast<float>(text.top + shift);
    const float bufferHeight = static_cast<float>(backHeight);
    // Pixels with y up; the text's top-left corner at (left, top) counted
    // from the top of the screen.
    const glm::mat4 pixels =
        glm::ortho(0.0f, static_cast<float>(backWidth), 0.0f, bufferHeight, -1.0f, 1.0f);
    const glm::mat4 world =
        glm::scale(glm::translate(glm::mat4(1.0f),
                                  glm::vec3(left + w / 2.0f, bufferHeight - top - h / 2.0f, 0.0f)),
                   glm::vec3(w, h, 1.0f));
    const glm::vec4 colour = asShadow ? glm::vec4(0.0f, 0.0f, 0.0f, kShadowAlpha)
                                      : glm::vec4(ColourByte(text.red), ColourByte(text.green),
                                                  ColourByte(text.blue), ColourByte(text.alpha));
    // The text stays inside its rectangle (moved with the shadow).
    glEnable(GL_SCISSOR_TEST);
    glScissor(text.left + shift, backHeight - (text.bottom + shift), text.right - text.left,
              text.bottom - text.top);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    effect->Use();
    effect->SetMatrix("worldViewProj", pixels * world);
    effect->SetVector("color", colour);
    effect->SetTexture("texture0", gl->textTexture);
    glBindVertexArray(bank->GetQuad()->vao);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    glDisable(GL_SCISSOR_TEST);
}

void GraphicsSystem::DrawLoadingScreen() {
    Effect* effect = bank->GetEffect(kBasicEffect);
    glBindFramebuffer(GL_FRAMEBUFFER, targets->backFramebuffer);
    glViewport(0, 0, backWidth, backHeight);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    if (effect) {
        const float aspectWidth =
            static_cast<float>(backWidth) * kViewHeight / static_cast<float>(backHeight);
        const glm::mat4 world =
            glm::scale(glm::mat4(1.0f), glm::vec3(kLoadingWidth, kViewHeight, 1.0f));
        const glm::mat4 view =
            glm::lookAtLH(glm::vec3(0, 0, -kEyeDistance), glm::vec3(0, 0, 0), glm::vec3(0, 1, 0));
        effect->Use();
        effect->SetMatrix("worldViewProj",
                          OrthoLH(aspectWidth, kViewHeight, 1.0f, 100.0f) * view * world);
        effect->SetVector("color", glm::vec4(1.0f));
        effect->SetTexture("texture0", bank->GetTexture(kLoadingImage).id);
        glBindVertexArray(bank->GetQuad()->vao);
        glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    }
    Present();
}

void GraphicsSystem::Present() {
    // The back buffer fills the window's drawable area, keeping its
    // shape (black bars where the shapes differ).
    int32_t drawableWidth = backWidth;
    int32_t drawableHeight = backHeight;
    if (settings.window)
        SDL_GL_GetDrawableSize(settings.window, &drawableWidth, &drawableHeight);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glViewport(0, 0, drawableWidth, drawableHeight);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    const double scale = std::min(static_cast<double>(drawableWidth) / backWidth,
                                  static_cast<double>(drawableHeight) / backHeight);
    const int32_t w = static_cast<int32_t>(std::lround(backWidth * scale));
    const int32_t h = static_cast<int32_t>(std::lround(backHeight * scale));
    const int32_t x = (drawableWidth - w) / 2;
    const int32_t y = (drawableHeight - h) / 2;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, targets->backFramebuffer);
    glBlitFramebuffer(0, 0, backWidth, backHeight, x, y, x + w, y + h, GL_COLOR_BUFFER_BIT,
                      w == backWidth && h == backHeight ? GL_NEAREST : GL_LINEAR);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    // The frame is finished before it is handed over: Mesa's software
    // renderer on an off-screen surface has been seen to start the next
    // frame's passes on a back buffer still being read.
    glFinish();
    if (settings.present)
        settings.present();
}

Image GraphicsSystem::ReadBackBuffer() const {
    Image image;
    if (!initialized || !targets->Ready())
        return image;
    image.width = backWidth;
    image.height = backHeight;
    std::vector<uint8_t> bottomUp(static_cast<std::size_t>(backWidth) * backHeight * 4);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, targets->backFramebuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, backWidth, backHeight, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    // GL keeps the bottom row first.
    image.rgba.resize(bottomUp.size());
    const std::size_t row = static_cast<std::size_t>(backWidth) * 4;
    for (int32_t y = 0; y < backHeight; ++y)
        std::copy_n(bottomUp.begin() + static_cast<std::ptrdiff_t>(y * row), row,
                    image.rgba.begin() + static_cast<std::ptrdiff_t>((backHeight - 1 - y) * row));
    return image;
}

void GraphicsSystem::TakeScreenshot() {
    screenshotPending = false;
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path folder = screenshotFolder.empty() ? fs::path() : fs::path(screenshotFolder);
    if (!folder.empty() && !fs::is_directory(folder, ec) && !fs::create_directories(folder, ec)) {
        Warn("the screenshot folder \"" + folder.string() +
             "\" could not be made: " + ec.message());
        return;
    }
    const std::string name =
        (folder /
         ScreenshotFileName(static_cast<int64_t>(std::time(nullptr)), [&folder](
                                                                          const std::string& f) {
             std::error_code exists;
             return fs::exists(folder / f, exists);
         })).string();
    Image image = ReadBackBuffer();
    // The back buffer has no alpha worth keeping.
    for (std::size_t i = 3; i < image.rgba.size(); i += 4)
        image.rgba[i] = 255;
    if (!WritePngFile(name, image)) {
        Warn("the screenshot \"" + name + "\" could not be written");
        return;
    }
    lastScreenshot = name;
    ++screenshotsWritten;
}

void GraphicsSystem::ApplyBackBufferSize(int32_t width, int32_t height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (width == backWidth && height == backHeight && targets->Ready())
        return;
    backWidth = width;
    backHeight = height;
    if (!targets->Create(width, height))
        Fail(kTargetsFailedText);
}

void GraphicsSystem::ChangeResolution(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0)
        return;
    if (!modes.empty()) {
        const int32_t chosen = ChooseDisplayMode(modes, modeIndex, width, height);
        if (chosen >= 0)
            modeIndex = chosen;
    }
    if (settings.window && !fullscreen) {
        SDL_SetWindowSize(settings.window, width, height);
        SDL_SetWindowPosition(settings.window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
    if (initialized)
        ApplyBackBufferSize(width, height);
    else {
        backWidth = width;
        backHeight = height;
    }
}

void GraphicsSystem::ToggleFullscreen() {
    fullscreen = !fullscreen;
    if (!settings.window)
        return;
    if (fullscreen) {
        // Borderless over the whole desktop; the back buffer keeps its
        // size and is scaled to fit.
        SDL_DisplayMode desktop{};
        SDL_SetWindowBordered(settings.window, SDL_FALSE);
        if (SDL_GetDesktopDisplayMode(0, &desktop) == 0) {
            SDL_SetWindowPosition(settings.window, 0, 0);
            SDL_SetWindowSize(settings.window, desktop.w, desktop.h);
        }
    } else {
        SDL_SetWindowBordered(settings.window, SDL_TRUE);
        SDL_SetWindowSize(settings.window, backWidth, backHeight);
        SDL_SetWindowPosition(settings.window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
}

void GraphicsSystem::AddDebugPoint(int32_t kind, float x, float y) {
    DebugCommand c;
    c.kind = kind;
    c.x = x;
    c.y = y;
    debugCommands.push_back(c);
}

void GraphicsSystem::SendMessage(Message* message) {
    if (const auto* m = As<DrawTextMessage>(message)) {
        texts.push_back(TextRecord{m->text, m->left, m->top, m->font, m->red / 255.0f,
                                   m->green / 255.0f, m->blue / 255.0f, m->alpha / 255.0f,
                                   m->shadow, m->right, m->bottom});
    } else if (const auto* m = As<DebugSetColorMessage>(message)) {
        DebugCommand c;
        c.kind = DebugCommand::SetColor;
        c.red = m->red / 255.0f;
        c.green = m->green / 255.0f;
        c.blue = m->blue / 255.0f;
        c.alpha = m->alpha / 255.0f;
        debugCommands.push_back(c);
    } else if (const auto* m = As<DebugMoveToMessage>(message)) {
        AddDebugPoint(DebugCommand::MoveTo, m->x, m->y);
    } else if (const auto* m = As<DebugLineToMessage>(message)) {
        AddDebugPoint(DebugCommand::LineTo, m->x, m->y);
    } else if (const auto* m = As<DebugRectMessage>(message)) {
        // The rectangle is given with y growing downward.
        const float corners[5][2] = {{m->x, -m->y},
                                     {m->x + m->width, -m->y},
                                     {m->x + m->width, -m->y - m->height},
                                     {m->x, -m->y - m->height},
                                     {m->x, -m->y}};
        for (int i = 0; i < 5; ++i)
            AddDebugPoint(i == 0 ? DebugCommand::MoveTo : DebugCommand::LineTo, corners[i][0],
                          corners[i][1]);
    } else if (const auto* m = As<SetCameraMessage>(message)) {
        camera.x = m->x;
        camera.y = m->y;
        camera.zoom = std::clamp(m->zoom, 0.0f, kMaxZoom);
    } else if (const auto* m = As<MoveCameraMessage>(message)) {
        camera.x += m->dx;
        camera.y += m->dy;
        camera.zoom = std::clamp(camera.zoom + m->dzoom, 0.0f, kMaxZoom);
    } else if (const auto* m = As<SetViewRotationMessage>(message)) {
        camera.rotation = m->angle;
    } else if (const auto* m = As<SetCameraZoomMessage>(message)) {
        camera.zoom = m->zoom;
    } else if (const auto* m = As<SetResolutionMessage>(message)) {
        ChangeResolution(m->width, m->height);
    } else if (As<CycleResolutionMessage>(message)) {
        // On from the size in use, whether a mode was ever chosen or the
        // window came with its own size.
        const int32_t next = NextResolution(modes, backWidth, backHeight);
        if (next >= 0)
            ChangeResolution(modes[static_cast<std::size_t>(next)].width,
                             modes[static_cast<std::size_t>(next)].height);
    } else if (As<ToggleFullscreenMessage>(message)) {
        ToggleFullscreen();
    } else if (const auto* m = As<PostProcessTransitionMessage>(message)) {
        post.StartTransition(m->record);
    } else if (const auto* m = As<KeyTriggeredMessage>(message)) {
        if (m->key == kScreenshotKey)
            screenshotPending = true;
    } else if (const auto* m = As<SetBackgroundMessage>(message)) {
        // A level without a background names none and gets the default
        // picture behind it, as any unreadable one does, but an empty name
        // is not a broken file: no warning.
        backgroundPath = m->path.empty() ? std::string(ResourceBank::kDefaultTexture) : m->path;
        hasBackground = true;
        if (initialized)
            bank->GetTexture(backgroundPath);
    }
}

} // namespace Flurr
