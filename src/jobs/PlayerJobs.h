#pragma once
// Jobs the player's own doings judge, where no level entity can (go fast
// for long enough, fly far enough, follow a cat's meows, react to an
// objective's text). They run at the end of every update of the player in
// play, act only on the current job, complete its Special nodes and keep their
// descriptions up to date through the JobSystem. They also hold the
// unlocks jobs grant: flight, the dash and the end screen.
//
// The three counters live in the PlayerComponent and are never reset
// here: a failed "GoFast1" or "Distance1" keeps the progress made.

#include <string>

namespace Flurr {

class PlayerComponent;

namespace SpecialJobs {
// Frames count at 60 a second; speeds are the body's velocity length.
inline constexpr int32_t kFastSpeed = 200;
inline constexpr int32_t kFastFrames = 600;
// Distance is the sum of per-frame speeds; this much makes a meter.
inline constexpr int32_t kPerMeter = 1000;
inline constexpr int32_t kDistanceGoal = 250000;
// The cat sits here (world units); meows reach this far (city-block).
inline constexpr float kCatX = 20675.0f;
inline constexpr float kCatY = -5773.0f;
inline constexpr int32_t kMeowReach = 8000;
inline constexpr int32_t kMeowFrames = 180;
inline constexpr const char* kOpenForBusiness = "Open for business!";
} // namespace SpecialJobs

// The special jobs' work for one player update.
void UpdateSpecialJobs(PlayerComponent& player);
// What a done job leaves the player able to do.
struct JobUnlocks {
    bool flight = false;
    bool dash = false;
};
// "Distance1" hands over the flight unit (already while it runs, so it can
// be done at all), "GoFast1" the dash; other jobs nothing.
JobUnlocks UnlocksOf(const std::string& jobName);
// What a job's completion unlocks, given to the player in play.
void OnSpecialJobCompleted(const std::string& jobName);

} // namespace Flurr
