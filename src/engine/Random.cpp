#include "engine/Random.h"

#include <cmath>

namespace Flurr {

namespace {
uint32_t state = 1;
}

void SeedRandom(uint32_t seed) {
    state = seed;
}

uint32_t RandomState() {
    return state;
}

int32_t Random() {
    state = state * 214013u + 2531011u;
    return static_cast<int32_t>((state >> 16) & 0x7FFFu);
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
