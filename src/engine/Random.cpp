#include "engine/Random.h"

#include <cmath>

namespace Flurr {

namespace {
uint32_t state = 1;
uint32_t sceneryState = 1;

int32_t Step(uint32_t& s) {
    s = s * 214013u + 2531011u;
    return static_cast<int32_t>((s >> 16) & 0x7FFFu);
}
} // namespace

void SeedRandom(uint32_t seed) {
    state = seed;
    sceneryState = seed;
}

uint32_t RandomState() {
    return state;
}

int32_t Random() {
    return Step(state);
}

int32_t SceneryRandom() {
    return Step(sceneryState);
}

float RandomRange(float minimum, float maximum) {
    const float range = maximum - minimum;
    if (range == 0.0f)
        return maximum;
    return minimum + std::fmod(static_cast<float>(Random()), range);
}

int32_t RandomRange(int32_t minimum, int32_t maximum) {
    // 64-bit, so bounds far apart cannot overflow the difference.
    const int64_t range = static_cast<int64_t>(maximum) - minimum;
    if (range == 0)
        return maximum;
    // Like C's % on a negative divisor: the sign follows the draw, which is
    // never negative, so the offset is draw mod |range|.
    const int64_t offset = Random() % (range < 0 ? -range : range);
    return static_cast<int32_t>(minimum + offset);
}

} // namespace Flurr
