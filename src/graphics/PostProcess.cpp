#include "graphics/PostProcess.h"

#include <algorithm>
#include <initializer_list>

#include <glm/gtc/matrix_transform.hpp>

#include "graphics/Camera.h"
#include "graphics/Effect.h"
#include "graphics/GL.h"
#include "graphics/ResourceBank.h"

namespace Flurr {

namespace {

constexpr const char* kFinalEffect = "Resources/Shaders/Final.fx";

} // namespace

float PostProcessState::Progress() const {
    return duration == 0.0f ? 0.0f : elapsed / duration;
}

PostProcessParams PostProcessState::Effective() const {
    const float t = Progress();
    PostProcessParams p = current;
    for (int32_t i = 0; i < PostProcessParams::kFloatFields; ++i)
        p.Field(i) = (1.0f - t) * current.Field(i) + t * target.Field(i);
    return p;
}

void PostProcessState::StartTransition(const PostProcessRecord& record) {
    const PostProcessParams frozen = Effective();
    for (int32_t i = 0; i < PostProcessParams::kFloatFields; ++i)
        current.Field(i) = frozen.Field(i);
    current.distort = target.distort;
    target = record.target;
    elapsed = record.elapsed;
    duration = record.duration;
}

void PostProcessState::Advance(float dt) {
    elapsed += dt;
    if (elapsed > duration) {
        elapsed = duration;
        current = target;
    }
}

void PostProcessState::ResetNeutral() {
    current = PostProcessParams();
    target = PostProcessParams();
}

RenderTargets::~RenderTargets() {
    Release();
}

namespace {

bool MakeTarget(int32_t width, int32_t height, uint32_t& texture, uint32_t& framebuffer) {
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    if (complete) {
        // A fresh target starts black rather than undefined.
        glViewport(0, 0, width, height);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return complete;
}

void FreeTarget(uint32_t& texture, uint32_t& framebuffer) {
    if (framebuffer)
        glDeleteFramebuffers(1, &framebuffer);
    if (texture)
        glDeleteTextures(1, &texture);
    texture = 0;
    framebuffer = 0;
}

bool MakeTarget(int32_t width, int32_t height, RenderTarget& target) {
    target.width = width;
    target.height = height;
    return MakeTarget(width, height, target.texture, target.framebuffer);
}

void FreeTarget(RenderTarget& target) {
    FreeTarget(target.texture, target.framebuffer);
    target.width = 0;
    target.height = 0;
}

} // namespace

bool RenderTargets::Create(int32_t w, int32_t h) {
    Release();
    if (w <= 0 || h <= 0)
        return false;
    width = w;
    height = h;
    // Every quarter-size pixel is exactly two by two half-size ones, so
    // the down-sample between them is exact whatever the back buffer's size.
    const int32_t quarterWidth = std::max(w / 4, 1), quarterHeight = std::max(h / 4, 1);
    const int32_t halfWidth = 2 * quarterWidth, halfHeight = 2 * quarterHeight;
    const bool ok = MakeTarget(w, h, sceneTexture, sceneFramebuffer) &&
                    MakeTarget(w, h, workTexture[0], workFramebuffer[0]) &&
                    MakeTarget(w, h, workTexture[1], workFramebuffer[1]) &&
                    MakeTarget(halfWidth, halfHeight, half[0]) &&
                    MakeTarget(halfWidth, halfHeight, half[1]) &&
                    MakeTarget(quarterWidth, quarterHeight, quarter[0]) &&
                    MakeTarget(quarterWidth, quarterHeight, quarter[1]) &&
                    MakeTarget(w, h, backTexture, backFramebuffer);
    if (ok) {
        glGenSamplers(1, &nearestSampler);
        glSamplerParameteri(nearestSampler, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glSamplerParameteri(nearestSampler, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glSamplerParameteri(nearestSampler, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glSamplerParameteri(nearestSampler, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    } else {
        Release();
    }
    return ok;
}

void RenderTargets::Release() {
    FreeTarget(sceneTexture, sceneFramebuffer);
    FreeTarget(workTexture[0], workFramebuffer[0]);
    FreeTarget(workTexture[1], workFramebuffer[1]);
    for (int32_t k = 0; k < 2; ++k) {
        FreeTarget(half[k]);
        FreeTarget(quarter[k]);
    }
    FreeTarget(backTexture, backFramebuffer);
    if (nearestSampler)
        glDeleteSamplers(1, &nearestSampler);
    nearestSampler = 0;
}

glm::mat4 FullScreenQuadMatrix(int32_t width, int32_t height) {
    // A target's pixel centres already sit on half pixels in GL, so the
    // quad needs no half-pixel shift.
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    const glm::mat4 world = glm::scale(glm::mat4(1.0f), glm::vec3(w, h, 1.0f));
    const glm::mat4 view =
        glm::lookAtLH(glm::vec3(0, 0, -kEyeDistance), glm::vec3(0, 0, 0), glm::vec3(0, 1, 0));
    return PerspectiveLH(w, h, kEyeDistance, 500.0f) * view * world;
}

std::vector<PostPass> BuildPassList(const PostProcessParams& block, bool distort, float clock) {
    std::vector<PostPass> passes;
    passes.push_back({PostPass::HighPass, {}});
    passes.push_back({PostPass::Down4, {}});
    passes.push_back({PostPass::Down4, {}});
    passes.push_back({PostPass::BlurH, {block.blur}});
    passes.push_back({PostPass::BlurV, {block.blur}});
    passes.push_back({PostPass::Up4, {}});
    passes.push_back({PostPass::Up4, {}});
    // The combine pass learns the blur too: it decides how much glow the
    // frame gets (none at the neutral block).
    passes.push_back({PostPass::Combine, {block.blur}});
    PostPass levels{PostPass::ColorCorrection, {}};
    for (int32_t i = 1; i < PostProcessParams::kFloatFields; ++i)
        levels.parameters.push_back(block.Field(i));
    passes.push_back(std::move(levels));
    if (distort)
        passes.push_back(
            {PostPass::Distort,
             {clock, kDistortSpeed, kDistortWavelength, kDistortCentreX, kDistortCentreY}});
    return passes;
}

namespace {

const char* PassEffectPath(PostPass::Type type) {
    switch (type) {
    case PostPass::BlurH:
        return "Resources/Shaders/BlurH.fx";
    case PostPass::BlurV:
        return "Resources/Shaders/BlurV.fx";
    case PostPass::Up4:
        return "Resources/Shaders/Up4.fx";
    case PostPass::Down4:
        return "Resources/Shaders/Down4.fx";
    case PostPass::ColorCorrection:
        return "Resources/Shaders/ColorCorrection.fx";
    case PostPass::Combine:
        return "Resources/Shaders/Combine.fx";
    case PostPass::HighPass:
        return "Resources/Shaders/HighPass.fx";
    case PostPass::Distort:
        return "Resources/Shaders/Distort.fx";
    }
    return "";
}

float ParameterOr(const PostPass& pass, std::size_t i, float fallback) {
    return i < pass.parameters.size() ? pass.parameters[i] : fallback;
}

void SetPassParameters(Effect& effect, const PostPass& pass) {
    switch (pass.type) {
    case PostPass::BlurH:
    case PostPass::BlurV:
    case PostPass::Combine:
        effect.SetFloat("blur", ParameterOr(pass, 0, 1.0f));
        break;
    case PostPass::ColorCorrection: {
        static const char* const names[] = {"inBlack", "outBlack", "inWhite", "outWhite"};
        for (std::size_t k = 0; k < 4; ++k) {
            const float neutral = k < 2 ? 0.0f : 1.0f;
            effect.SetVector(names[k], glm::vec4(ParameterOr(pass, 3 * k, neutral),
                                                 ParameterOr(pass, 3 * k + 1, neutral),
                                                 ParameterOr(pass, 3 * k + 2, neutral), 1.0f));
        }
        break;
    }
    case PostPass::Distort:
        effect.SetFloat("t", ParameterOr(pass, 0, 0.0f));
        effect.SetFloat("speed", ParameterOr(pass, 1, kDistortSpeed));
        effect.SetFloat("wavelength", ParameterOr(pass, 2, kDistortWavelength));
        effect.SetVector("center", glm::vec4(ParameterOr(pass, 3, kDistortCentreX),
                                             ParameterOr(pass, 4, kDistortCentreY), 0.0f, 1.0f));
        break;
    default:
        break;
    }
}

// The pair a pass writes in the reduced chain: the bright pass at half
// size (keeping the bright part of every pixel, then averaging two by two);
// the down-samples, blurs and up-samples at a quarter, where the glow has
// all the detail it keeps (the second down-sample finds its source already
// averaged in blocks and leaves it as it is; the up-samples smooth the
// blocks at the size they are); everything else at full size, the combine
// reading the glow bilinearly.
enum class PassSize : int32_t { Full, Half, Quarter };

PassSize ReducedSize(PostPass::Type type) {
    switch (type) {
    case PostPass::HighPass:
        return PassSize::Half;
    case PostPass::Up4:
    case PostPass::Down4:
    case PostPass::BlurH:
    case PostPass::BlurV:
        return PassSize::Quarter;
    default:
        return PassSize::Full;
    }
}

// Passes that take each pixel from the same pixel of their inputs: the
// levels, and the combine's frame and glow.
bool ReadsPixelForPixel(PostPass::Type type) {
    return type == PostPass::ColorCorrection || type == PostPass::Combine;
}

// Binds `texture` to the effect's sampler `name`, read without filtering
// when `unfiltered`: a pass reading a texture of its own target's size
// pixel for pixel samples texel centres, where bilinear filtering gives
// the texel itself, and the software rasteriser fetches one texel instead
// of four. Returns the unit to unbind after the draw, or -1.
int32_t BindInput(Effect& effect, const char* name, uint32_t texture, bool unfiltered,
                  uint32_t nearestSampler) {
    effect.SetTexture(name, texture);
    const int32_t unit = effect.TextureUnit(name);
    if (!unfiltered || unit < 0 || !nearestSampler)
        return -1;
    glBindSampler(static_cast<GLuint>(unit), nearestSampler);
    return unit;
}

void UnbindSamplers(std::initializer_list<int32_t> units) {
    for (int32_t unit : units)
        if (unit >= 0)
            glBindSampler(static_cast<GLuint>(unit), 0);
}

bool SameSize(const RenderTarget& a, const RenderTarget& b) {
    return a.width == b.width && a.height == b.height;
}

} // namespace

RenderTarget RunPasses(ResourceBank& bank, const RenderTargets& targets,
                       const std::vector<PostPass>& passes, int32_t* passesRun, PassSizes sizes) {
    int32_t run = 0;
    RenderTarget source = targets.Scene();
    if (targets.Ready()) {
        const RenderTarget full[2] = {
            {targets.workTexture[0], targets.workFramebuffer[0], targets.width, targets.height},
            {targets.workTexture[1], targets.workFramebuffer[1], targets.width, targets.height}};
        // The quad covers the whole of whichever target it is drawn into.
        const glm::mat4 quad = FullScreenQuadMatrix(targets.width, targets.height);
        glDisable(GL_BLEND);
        glBindVertexArray(bank.GetQuad()->vao);
        for (const PostPass& pass : passes) {
            Effect* effect = bank.GetEffect(PassEffectPath(pass.type));
            if (!effect)
                continue;
            const PassSize size =
                sizes == PassSizes::FullSize ? PassSize::Full : ReducedSize(pass.type);
            const RenderTarget* pair = size == PassSize::Half      ? targets.half
                                       : size == PassSize::Quarter ? targets.quarter
                                                                   : full;
            // The second of the pair unless the pass reads it: work B
            // first, then A, B, ... along a run of passes of one size.
            const RenderTarget& destination = pair[1].texture == source.texture ? pair[0] : pair[1];
            glBindFramebuffer(GL_FRAMEBUFFER, destination.framebuffer);
            glViewport(0, 0, destination.width, destination.height);
            effect->Use();
            SetPassParameters(*effect, pass);
            const bool pixelForPixel = sizes == PassSizes::Reduced && ReadsPixelForPixel(pass.type);
            const int32_t sceneUnit = BindInput(
                *effect, "sceneTexture", targets.sceneTexture,
                pixelForPixel && SameSize(targets.Scene(), destination), targets.nearestSampler);
            const int32_t sourceUnit =
                BindInput(*effect, "srcTexture", source.texture,
                          pixelForPixel && SameSize(source, destination), targets.nearestSampler);
            effect->SetMatrix("worldViewProj", quad);
            // The quad covers every pixel, so clearing the target first
            // would be overwritten at once.
            glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
            UnbindSamplers({sceneUnit, sourceUnit});
            source = destination;
            ++run;
        }
        glViewport(0, 0, targets.width, targets.height);
        glEnable(GL_BLEND);
    }
    if (passesRun)
        *passesRun = run;
    return source;
}

bool RunFinalPass(ResourceBank& bank, const RenderTargets& targets, const RenderTarget& source,
                  PassSizes sizes) {
    Effect* effect = bank.GetEffect(kFinalEffect);
    if (!effect)
        return false;
    glDisable(GL_BLEND);
    glViewport(0, 0, targets.width, targets.height);
    effect->Use();
    const int32_t unit = BindInput(*effect, "sceneTexture", source.texture,
                                   sizes == PassSizes::Reduced && SameSize(source, targets.Scene()),
                                   targets.nearestSampler);
    effect->SetMatrix("worldViewProj", FullScreenQuadMatrix(targets.width, targets.height));
    glBindVertexArray(bank.GetQuad()->vao);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    UnbindSamplers({unit});
    glEnable(GL_BLEND);
    return true;
}

} // namespace Flurr
