#pragma once
// The one random number generator of the whole program. Every random draw
// in the game goes through it, so a run is reproduced exactly by its seed
// (a replay stores the seed it was recorded with).
//
// Scenery that only drifts past (the clouds) draws from a second sequence
// of the same generator, seeded with the same seed: a level can gain or
// lose clouds without changing one draw of what the game plays, so a
// recording made before keeps its meaning.
//
// It is the classic linear congruential generator: state * 214013 +
// 2531011, giving (state >> 16) & 0x7FFF, 0..32767. The C library's rand()
// on Linux is a different generator, and gameplay data was tuned against
// this one's sequences, hence our own.

#include <cstdint>

namespace Flurr {

inline constexpr int32_t kRandomMax = 0x7FFF;

void SeedRandom(uint32_t seed);
// The next draw, 0..32767.
int32_t Random();
// The current state, so a test can restore a sequence.
uint32_t RandomState();
// The next draw of the scenery's sequence, 0..32767.
int32_t SceneryRandom();

// A value between two bounds as the game's data expects it: `maximum` when
// the bounds are equal, otherwise minimum + fmod(draw, maximum - minimum).
// Not uniform, and meant that way: a whole-number range gives only whole
// offsets below the range (1..3 gives 1 or 2), a range of 0.5 always gives
// the minimum, and a reversed range counts up from the minimum by less than
// its span (the draw is never negative).
float RandomRange(float minimum, float maximum);
// The same rule on whole numbers: minimum + draw mod (maximum - minimum);
// maximum when equal.
int32_t RandomRange(int32_t minimum, int32_t maximum);

} // namespace Flurr
