#pragma once
// Post-processing state: the parameter block gameplay changes smoothly
// (PostProcessTransitionMessage), and the off-screen targets a frame is
// drawn through.
//
// Every frame the scene is drawn into the scene target; the passes read
// it and write the work targets in turn; "Final.fx" copies the last result
// into the back-buffer target, where the overlay (debug lines, texts) is
// drawn, the screenshot is read, and which is finally shown in the window.
//
// The glow is soft, so the bloom runs on smaller targets: the bright pass
// writes half the back buffer's width and height (a quarter of its
// pixels), the down-samples, blurs and up-samples a quarter (a sixteenth of
// its pixels); the combine reads the glow from there bilinearly. The
// combine, the levels and the ripple work at full size. Every pass effect
// measures its reach in back-buffer pixels, so the glow has the size it
// would have at full resolution.
//
// All targets are stored the GL way (bottom row first): full-screen passes
// sample them with v flipped so that every copy keeps the top of the image
// at the top.

#include <cstdint>
#include <vector>

#include <glm/mat4x4.hpp>

#include "engine/PostProcessParams.h"

namespace Flurr {

class ResourceBank;

// The block in effect, the block aimed at, and the time along the way.
struct PostProcessState {
    PostProcessParams current;
    PostProcessParams target;
    float elapsed = 0.0f;
    float duration = 0.0f;

    // Freezes the view where it is now and aims at the record's block.
    void StartTransition(const PostProcessRecord& record);
    // The block to draw with this frame.
    PostProcessParams Effective() const;
    // After drawing: moves the time on and settles at the end.
    void Advance(float dt);
    void ResetNeutral();
    float Progress() const;
};

// One off-screen target: a texture and the framebuffer drawing into it.
struct RenderTarget {
    uint32_t texture = 0;
    uint32_t framebuffer = 0;
    int32_t width = 0;
    int32_t height = 0;
};

class RenderTargets {
public:
    RenderTargets() = default;
    ~RenderTargets();
    RenderTargets(const RenderTargets&) = delete;
    RenderTargets& operator=(const RenderTargets&) = delete;

    // False (with nothing left allocated) when a target cannot be made.
    bool Create(int32_t width, int32_t height);
    void Release();
    bool Ready() const { return backFramebuffer != 0; }

    RenderTarget Scene() const { return {sceneTexture, sceneFramebuffer, width, height}; }

    int32_t width = 0;
    int32_t height = 0;
    uint32_t sceneTexture = 0, sceneFramebuffer = 0;
    // The full-size pair the passes take turns on.
    uint32_t workTexture[2] = {0, 0}, workFramebuffer[2] = {0, 0};
    uint32_t backTexture = 0, backFramebuffer = 0;
    // The bloom's pairs: a quarter of the back buffer's width and height
    // (rounded down, at least one pixel), and twice that.
    RenderTarget half[2];
    RenderTarget quarter[2];
    // Reads without filtering, for passes that copy pixel for pixel.
    uint32_t nearestSampler = 0;
};

// World x view x projection of the full-screen quad for a target of that
// size: the quad covers it exactly.
glm::mat4 FullScreenQuadMatrix(int32_t width, int32_t height);

// One full-screen pass of the chain, with its own parameters.
struct PostPass {
    // Type codes of the pass list.
    enum Type : int32_t {
        BlurH = 0,
        BlurV = 1,
        Up4 = 2,
        Down4 = 3,
        ColorCorrection = 4,
        Combine = 5,
        HighPass = 6,
        Distort = 7,
    };
    Type type = BlurH;
    std::vector<float> parameters;
};

// The ripple's fixed settings: rings travel 0.1 screen heights a second,
// 0.2 apart, around the middle of the 800 x 600 layout.
inline constexpr float kDistortSpeed = 0.1f;
inline constexpr float kDistortWavelength = 0.2f;
inline constexpr float kDistortCentreX = 400.0f;
inline constexpr float kDistortCentreY = 300.0f;

// The frame's passes: the bloom (bright pass, two four-fold
// down-samples, horizontal and vertical blur, two up-samples, combine),
// the colour levels, then the ripple when `distort` is on (at time
// `clock`, seconds).
std::vector<PostPass> BuildPassList(const PostProcessParams& block, bool distort, float clock);

// How the chain runs. Reduced is the game's chain: the bloom on the
// smaller targets, and passes that read a same-size input pixel for pixel
// (the levels, the combine, "Final.fx") read it without filtering, which
// gives the same pixels for less work. FullSize runs every pass at the
// back buffer's size with filtered reads, as the chain first did: with
// reach measured in back-buffer pixels the pass effects give exactly the
// pixels they gave then, at about the cost they had then (the bright pass
// now reads each pixel four times over). It is kept only so the
// renderer tests and benchmarks can hold the reduced chain against the
// look and the cost of the one it replaced.
enum class PassSizes : int32_t { Reduced, FullSize };

// Runs the passes from the scene target through the work targets in turn
// (each pass writes the pair of its size, never the target it reads). A
// pass whose effect is missing is skipped and does not take a turn.
// Returns the target holding the result (the scene when no pass ran) and
// the number of passes run in `passesRun`.
RenderTarget RunPasses(ResourceBank& bank, const RenderTargets& targets,
                       const std::vector<PostPass>& passes, int32_t* passesRun = nullptr,
                       PassSizes sizes = PassSizes::Reduced);

// Copies `source` through "Final.fx" into whatever framebuffer is bound,
// at the back buffer's size (stretching a smaller source); false (nothing
// drawn) when the effect is missing.
bool RunFinalPass(ResourceBank& bank, const RenderTargets& targets, const RenderTarget& source,
                  PassSizes sizes = PassSizes::Reduced);

} // namespace Flurr
