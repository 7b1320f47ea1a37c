#pragma once
// The post-processing block as plain data: gameplay sends it (the
// PostProcessTransitionMessage carries a PostProcessRecord by value) and
// the graphics system draws with it. No drawing code lives here, so the
// engine's messages can carry it without reaching into graphics/.

#include <cstdint>

namespace Flurr {

struct PostProcessParams {
    float blur = 1.0f;
    float inBlack[3] = {0.0f, 0.0f, 0.0f};
    float outBlack[3] = {0.0f, 0.0f, 0.0f};
    float inWhite[3] = {1.0f, 1.0f, 1.0f};
    float outWhite[3] = {1.0f, 1.0f, 1.0f};
    bool distort = false;

    // The 13 float fields in the levels order: blur, then in black, out
    // black, in white, out white (red, green, blue each).
    float& Field(int32_t i);
    float Field(int32_t i) const;
    static constexpr int32_t kFloatFields = 13;

    bool operator==(const PostProcessParams&) const = default;
};

// One transition: the block to aim at, how far along it starts (seconds)
// and how long it takes (seconds; 0 switches on the next frame).
struct PostProcessRecord {
    PostProcessParams target;
    float elapsed = 0.0f;
    float duration = 0.0f;

    bool operator==(const PostProcessRecord&) const = default;
};

} // namespace Flurr
