#include "graphics/PostProcess.h"

#include <cstring>

#include <glm/gtc/matrix_transform.hpp>

#include "graphics/Camera.h"
#include "graphics/Effect.h"
#include "graphics/GL.h"
#include "graphics/ResourceBank.h"

namespace Flurr {

namespace {

constexpr const char* kFinalEffect = "Resources/Shaders/Final.fx";

float* FieldPointer(PostProcessParams& p, int32_t i) {
    if (i == 0)
        return &p.blur;
    if (i <= 3)
        return &p.inBlack[i - 1];
    if (i <= 6)
        return &p.outBlack[i - 4];
    if (i <= 9)
        return &p.inWhite[i - 7];
    return &p.outWhite[i - 10];
}

} // namespace

float& PostProcessParams::Field(int32_t i) {
    return *FieldPointer(*this, i);
}

float PostProcessParams::Field(int32_t i) const {
    return *FieldPointer(const_cast<PostProcessParams&>(*this), i);
}

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

void PostProcessState::StartTransition(const float* record) {
    const PostProcessParams frozen = Effective();
    for (int32_t i = 0; i < PostProcessParams::kFloatFields; ++i)
        current.Field(i) = frozen.Field(i);
    current.distort = target.distort;
    for (int32_t i = 0; i < PostProcessParams::kFloatFields; ++i)
        target.Field(i) = record[i];
    // The switch is a four-byte flag: any set bit turns it on, whether the
    // sender wrote 1.0f or an integer 1.
    uint32_t bits = 0;
    std::memcpy(&bits, &record[13], sizeof(bits));
    target.distort = bits != 0;
    elapsed = record[14];
    duration = record[15];
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
