#include "graphics/PostProcess.h"

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

} // namespace

bool RenderTargets::Create(int32_t w, int32_t h) {
    Release();
    if (w <= 0 || h <= 0)
        return false;
    width = w;
    height = h;
    const bool ok = MakeTarget(w, h, sceneTexture, sceneFramebuffer) &&
                    MakeTarget(w, h, workTexture[0], workFramebuffer[0]) &&
                    MakeTarget(w, h, workTexture[1], workFramebuffer[1]) &&
                    MakeTarget(w, h, backTexture, backFramebuffer);
    if (!ok)
        Release();
    return ok;
}

void RenderTargets::Release() {
    FreeTarget(sceneTexture, sceneFramebuffer);
    FreeTarget(workTexture[0], workFramebuffer[0]);
    FreeTarget(workTexture[1], workFramebuffer[1]);
    FreeTarget(backTexture, backFramebuffer);
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

} // namespace

uint32_t RunPasses(ResourceBank& bank, const RenderTargets& targets,
                   const std::vector<PostPass>& passes, int32_t* passesRun) {
    int32_t run = 0;
    uint32_t source = targets.sceneTexture;
    if (targets.Ready()) {
        const glm::mat4 quad = FullScreenQuadMatrix(targets.width, targets.height);
        bool toggle = false;
        glDisable(GL_BLEND);
        glViewport(0, 0, targets.width, targets.height);
        glBindVertexArray(bank.GetQuad()->vao);
        for (const PostPass& pass : passes) {
            Effect* effect = bank.GetEffect(PassEffectPath(pass.type));
            if (!effect)
                continue;
            // Work B first, then A, B, ... : each destination is the next
            // pass's source.
            const int32_t destination = toggle ? 0 : 1;
            glBindFramebuffer(GL_FRAMEBUFFER, targets.workFramebuffer[destination]);
            effect->Use();
            SetPassParameters(*effect, pass);
            effect->SetTexture("sceneTexture", targets.sceneTexture);
            effect->SetTexture("srcTexture", source);
            effect->SetMatrix("worldViewProj", quad);
            // The quad covers every pixel, so clearing the target first
            // would be overwritten at once.
            glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
            source = targets.workTexture[destination];
            toggle = !toggle;
            ++run;
        }
        glEnable(GL_BLEND);
    }
    if (passesRun)
        *passesRun = run;
    return source;
}

bool RunFinalPass(ResourceBank& bank, uint32_t source, int32_t width, int32_t height) {
    Effect* effect = bank.GetEffect(kFinalEffect);
    if (!effect)
        return false;
    glDisable(GL_BLEND);
    effect->Use();
    effect->SetTexture("sceneTexture", source);
    effect->SetMatrix("worldViewProj", FullScreenQuadMatrix(width, height));
    glBindVertexArray(bank.GetQuad()->vao);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    glEnable(GL_BLEND);
    return true;
}

} // namespace Flurr
