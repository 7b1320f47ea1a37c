// The camera's matrices, the display-mode choice and the
// post-processing block's transitions: plain math, no window.

#include <gtest/gtest.h>

#include <cmath>

#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include "graphics/Camera.h"
#include "graphics/DisplayModes.h"
#include "graphics/PostProcess.h"

namespace {

using namespace Flurr;

// Where a world point lands in an 800 x 600 back buffer: column, row from
// the top, and whether it is inside the clip volume.
struct Landing {
    float column, row;
    bool visible;
};

Landing Project(const glm::mat4& viewProjection, float x, float y, float z = 0.0f) {
    const glm::vec4 clip = viewProjection * glm::vec4(x, y, z, 1.0f);
    const glm::vec3 ndc = glm::vec3(clip) / clip.w;
    const bool visible =
        clip.w > 0 && std::abs(ndc.x) <= 1 && std::abs(ndc.y) <= 1 && std::abs(ndc.z) <= 1;
    return {(ndc.x + 1.0f) / 2.0f * 800.0f, (1.0f - ndc.y) / 2.0f * 600.0f, visible};
}

TEST(CameraTest, DepthZeroAtZoomZeroShowsWorldSizeAndTheOtherViewsHoldTheirRules) {
    CameraState camera{.x = 100.0f, .y = -50.0f};
    ViewMatrices v = BuildViews(camera, false, 800, 600);
    EXPECT_FLOAT_EQ(v.aspectWidth, 800.0f);
    const glm::mat4 world = v.perspective * v.worldView;
    // The camera's point is the centre; one world unit is one pixel.
    Landing centre = Project(world, 100.0f, -50.0f);
    EXPECT_NEAR(centre.column, 400.0f, 1e-3);
    EXPECT_NEAR(centre.row, 300.0f, 1e-3);
    EXPECT_TRUE(centre.visible) << "depth 0 lies exactly on the near plane and must be kept";
    Landing corner = Project(world, 100.0f - 400.0f, -50.0f + 300.0f);
    EXPECT_NEAR(corner.column, 0.0f, 1e-3);
    EXPECT_NEAR(corner.row, 0.0f, 1e-3);
    // Nearer than the near plane is clipped; farther is smaller.
    EXPECT_FALSE(Project(world, 100.0f, -50.0f, -1.0f).visible);
    Landing far = Project(world, 200.0f, -50.0f, 10.0f);
    EXPECT_NEAR(far.column, 400.0f + 50.0f, 1e-2);

    // Zoom moves the eye back (the pixel tests check how each view takes
    // it); the flat view keeps sizes at every depth it shows.
    camera.zoom = 10.0f;
    v = BuildViews(camera, false, 800, 600);
    EXPECT_NEAR(Project(v.orthographic * v.flatWorldView, 200.0f, -50.0f, 50.0f).column, 500.0f,
                1e-2);

    // A quarter turn of the view: its up vector becomes world -x, so world
    // +x shows below the centre.
    camera = {.rotation = 3.14159265f / 2.0f};
    v = BuildViews(camera, false, 800, 600);
    Landing turned = Project(v.perspective * v.worldView, 100.0f, 0.0f);
    EXPECT_NEAR(turned.column, 400.0f, 1e-2);
    EXPECT_NEAR(turned.row, 400.0f, 1e-2);

    // Wider screens show more world, never a stretched one.
    v = BuildViews(CameraState(), false, 1280, 720);
    EXPECT_NEAR(v.aspectWidth, 1066.6667f, 1e-3);
}

TEST(CameraTest, ModeChoiceTakesExactThenNearestSkippingTheCurrentMode) {
    const std::vector<DisplayMode> modes = {
        {800, 600, 60}, {1024, 768, 60}, {1024, 768, 75}, {1280, 720, 60}, {1280, 800, 60}};
    struct Case {
        std::vector<DisplayMode> modes;
        int32_t current, width, height, chosen, chosenWidth, chosenHeight;
    };
    const Case cases[] = {{modes, -1, 1024, 768, 1, 1024, 768},
                          // The current mode is skipped: the same size at another refresh rate.
                          {modes, 1, 1024, 768, 2, 1024, 768},
                          // Nearest by |dw| + |dh|; 1280 x 760 is 40 from both 720 and 800:
                          // the earlier wins.
                          {modes, -1, 1280, 760, 3, 1280, 720},
                          {modes, -1, 1, 1, 0, 800, 600},
                          // Nothing to choose: the size stays.
                          {{}, -1, 640, 480, -1, 640, 480},
                          {{{800, 600, 60}}, 0, 640, 480, -1, 640, 480}};
    for (Case c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << " from " << c.current);
        EXPECT_EQ(ChooseDisplayMode(c.modes, c.current, c.width, c.height), c.chosen);
        EXPECT_EQ(c.width, c.chosenWidth);
        EXPECT_EQ(c.height, c.chosenHeight);
    }
}

// A transition to a block with that blur, red in-black and ripple.
PostProcessRecord Record(float blur, float inBlackRed, bool distort, float duration) {
    return {.target = {.blur = blur, .inBlack = {inBlackRed}, .distort = distort},
            .duration = duration};
}

TEST(CameraTest, PostProcessTransitionsFreezeRestartAndSettle) {
    // (The pixel tests check that a transition of duration 0 shows from
    // the next frame on.) Halfway through two seconds, a new message starts
    // from the halfway block, not from the old start or target.
    PostProcessState s;
    s.StartTransition(Record(3.0f, 0.5f, true, 0.0f));
    s.Advance(1.0f / 60.0f);
    s.StartTransition(Record(1.0f, 0.0f, false, 2.0f));
    s.Advance(1.0f);
    EXPECT_FLOAT_EQ(s.Effective().blur, 2.0f);
    EXPECT_TRUE(s.current.distort) << "distortion switches only when a transition ends";
    s.StartTransition(Record(4.0f, 0.0f, false, 2.0f));
    EXPECT_FLOAT_EQ(s.Effective().blur, 2.0f);
    EXPECT_FALSE(s.current.distort) << "a new message takes the old target's switch";
    s.Advance(1.0f);
    EXPECT_FLOAT_EQ(s.Effective().blur, 3.0f);
    s.Advance(5.0f);
    EXPECT_FLOAT_EQ(s.Effective().blur, 4.0f);
    EXPECT_FLOAT_EQ(s.current.blur, 4.0f);

    PostProcessState f;
    f.StartTransition(Record(1.0f, 0.0f, true, 0.0f));
    EXPECT_TRUE(f.target.distort);
    f.ResetNeutral();
    EXPECT_FALSE(f.target.distort);
    EXPECT_FLOAT_EQ(f.Effective().outWhite[2], 1.0f);
}

// How shrunk a sprite's picture is on screen decides whether its mipmaps
// are needed.
TEST(CameraTest, TexelsPerPixelFollowsSizeZoomAndDepth) {
    CameraState camera;
    const glm::mat4 scale32 = glm::scale(glm::mat4(1.0f), glm::vec3(32.0f, 32.0f, 1.0f));
    ViewMatrices v = BuildViews(camera, false, 800, 600);
    const glm::mat4 world = v.perspective * v.worldView;
    // At depth 0 and zoom 0 a world unit is a pixel.
    EXPECT_NEAR(TexelsPerPixel(world, scale32, 32, 32, 800, 600), 1.0f, 1e-3f);
    EXPECT_NEAR(TexelsPerPixel(world, scale32, 64, 32, 800, 600), 2.0f, 1e-3f);
    // Turned a quarter round, the same.
    const glm::mat4 turned = glm::rotate(glm::mat4(1.0f), 1.5707963f, glm::vec3(0, 0, 1));
    EXPECT_NEAR(TexelsPerPixel(world, turned * scale32, 32, 32, 800, 600), 1.0f, 1e-3f);
    // A window twice as tall shows the same view twice as large.
    v = BuildViews(camera, false, 1600, 1200);
    EXPECT_NEAR(TexelsPerPixel(v.perspective * v.worldView, scale32, 32, 32, 1600, 1200), 0.5f,
                1e-3f);
    // Zoom 10 doubles the view: the picture shrinks to half.
    camera.zoom = 10.0f;
    v = BuildViews(camera, false, 800, 600);
    EXPECT_NEAR(TexelsPerPixel(v.perspective * v.worldView, scale32, 32, 32, 800, 600), 2.0f,
                1e-3f);
    // Behind the eye: nothing to measure.
    const glm::mat4 behind = glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, -100.0f));
    EXPECT_EQ(TexelsPerPixel(v.perspective * v.worldView, behind * scale32, 32, 32, 800, 600),
              0.0f);
}

} // namespace
