#include "graphics/Camera.h"

#include <algorithm>
#include <cmath>

#include <glm/gtc/matrix_transform.hpp>

namespace Flurr {

namespace {

constexpr float kNear = 10.0f;
constexpr float kFar = 700.0f;
constexpr float kOrthoNear = 1.0f;
constexpr float kOrthoFar = 100.0f;
// The clipping planes sit this fraction outside the nominal ones, so
// rounding never clips what lies exactly on them; sizes still come from
// the nominal near plane.
constexpr float kPlaneSlack = 1e-3f;

} // namespace

glm::mat4 PerspectiveLH(float width, float height, float zNear, float zFar) {
    const float n = zNear * (1.0f - kPlaneSlack);
    const float f = zFar * (1.0f + kPlaneSlack);
    glm::mat4 m(0.0f);
    m[0][0] = 2.0f * zNear / width;
    m[1][1] = 2.0f * zNear / height;
    m[2][2] = (f + n) / (f - n);
    m[2][3] = 1.0f;
    m[3][2] = -2.0f * f * n / (f - n);
    return m;
}

glm::mat4 OrthoLH(float width, float height, float zNear, float zFar) {
    return glm::orthoLH_NO(-width / 2.0f, width / 2.0f, -height / 2.0f, height / 2.0f, zNear, zFar);
}

ViewMatrices BuildViews(const CameraState& camera, bool pauseActive, int32_t backBufferWidth,
                        int32_t backBufferHeight) {
    ViewMatrices v;
    const float eyeDepth = pauseActive ? -kEyeDistance : -camera.zoom - kEyeDistance;
    const glm::vec3 up(-std::sin(camera.rotation), std::cos(camera.rotation), 0.0f);
    v.worldView = glm::lookAtLH(glm::vec3(camera.x, camera.y, eyeDepth),
                                glm::vec3(camera.x, camera.y, 0.0f), up);
    v.flatWorldView = glm::lookAtLH(glm::vec3(camera.x, camera.y, -kEyeDistance),
                                    glm::vec3(camera.x, camera.y, 0.0f), glm::vec3(0, 1, 0));
    v.screenView =
        glm::lookAtLH(glm::vec3(0, 0, -kEyeDistance), glm::vec3(0, 0, 0), glm::vec3(0, 1, 0));
    const float height = backBufferHeight > 0 ? static_cast<float>(backBufferHeight) : 1.0f;
    v.aspectWidth = static_cast<float>(backBufferWidth) * kViewHeight / height;
    v.perspective = PerspectiveLH(v.aspectWidth, kViewHeight, kNear, kFar);
    v.orthographic = OrthoLH(v.aspectWidth, kViewHeight, kOrthoNear, kOrthoFar);
    return v;
}

float TexelsPerPixel(const glm::mat4& viewProjection, const glm::mat4& world, int32_t textureWidth,
                     int32_t textureHeight, int32_t backBufferWidth, int32_t backBufferHeight) {
    // The quad's centre and the middles of its right and top edges.
    const glm::vec4 centre = viewProjection * world[3];
    const glm::vec4 right = centre + 0.5f * (viewProjection * world[0]);
    const glm::vec4 up = centre + 0.5f * (viewProjection * world[1]);
    if (centre.w <= 0.0f || right.w <= 0.0f || up.w <= 0.0f)
        return 0.0f;
    const glm::vec2 half(static_cast<float>(backBufferWidth) * 0.5f,
                         static_cast<float>(backBufferHeight) * 0.5f);
    const glm::vec2 c = glm::vec2(centre) / centre.w * half;
    // Pixels covered by the whole quad along each of its own axes.
    const float across = 2.0f * glm::length(glm::vec2(right) / right.w * half - c);
    const float down = 2.0f * glm::length(glm::vec2(up) / up.w * half - c);
    if (across <= 0.0f || down <= 0.0f)
        return 0.0f;
    return std::max(static_cast<float>(textureWidth) / across,
                    static_cast<float>(textureHeight) / down);
}

} // namespace Flurr
