#pragma once
// The camera and the five matrices every frame is drawn with, as plain
// math (no GL): a left-handed world, y up, x right, z into the screen.
//
// The view shows 600 world units of height at depth 0 when the zoom is 0,
// and 600 x (width / height) of width, so a sprite at depth 0 appears at
// its world size; zoom moves the eye back from z = -10. The projections
// give OpenGL clip space (z from -1 to 1), with GLM's column vectors: a
// point is drawn at projection * view * world * p.

#include <cstdint>

#include <glm/mat4x4.hpp>

namespace Flurr {

struct CameraState {
    float x = 0.0f;
    float y = 0.0f;
    float zoom = 0.0f;     // world units the eye stands back
    float rotation = 0.0f; // radians about the view axis
};

struct ViewMatrices {
    glm::mat4 worldView{1.0f};     // the camera, with zoom and rotation
    glm::mat4 perspective{1.0f};   // width A, height 600, near 10, far 700
    glm::mat4 flatWorldView{1.0f}; // the camera without zoom or rotation
    glm::mat4 orthographic{1.0f};  // width A, height 600, near 1, far 100
    glm::mat4 screenView{1.0f};    // fixed, for screen-space items
    float aspectWidth = 800.0f;    // A = width x 600 / height
};

// View height in world units at depth 0 and zoom 0.
inline constexpr float kViewHeight = 600.0f;
// How far in front of depth 0 the eye stands at zoom 0.
inline constexpr float kEyeDistance = 10.0f;

// While the pause menu is up (`pauseActive`), zoom is ignored.
ViewMatrices BuildViews(const CameraState& camera, bool pauseActive, int32_t backBufferWidth,
                        int32_t backBufferHeight);

// Perspective of a view `width` x `height` at the near plane. Something
// lying exactly on the near or far plane is kept (the views put the
// background and depth-0 sprites exactly on the near plane).
glm::mat4 PerspectiveLH(float width, float height, float zNear, float zFar);

// How many texels of a texture of that size fall on one pixel of the back
// buffer, along the sprite's more shrunken side, when the unit quad is
// placed by `world` and seen through `viewProjection` (projection x view).
// 1 at its natural size, 2 at half size; 0 for a quad that is behind the
// eye or degenerate. Asked for every sprite in every frame, so it projects
// three points rather than multiplying the matrices.
float TexelsPerPixel(const glm::mat4& viewProjection, const glm::mat4& world, int32_t textureWidth,
                     int32_t textureHeight, int32_t backBufferWidth, int32_t backBufferHeight);
glm::mat4 OrthoLH(float width, float height, float zNear, float zFar);

} // namespace Flurr
