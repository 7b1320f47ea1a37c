#pragma once
// Recording and replaying the game's input, frame by frame.
//
// A recording holds, for every frame, the frame's dt and every
// PlatformEvent the platform layer delivered in it (window messages, key
// and button state changes, focus, pad 0), plus the random seed of the
// run. Replaying feeds the same events and dts back through the same
// dispatch instead of the devices and the clock, so a replayed run sees
// exactly what the recorded one saw, and ends after its last frame.
//
// The options of the run that change what happens in it (the abilities
// unlocked, the first route file, the window size the pointer's positions
// are in) are stored with it, and a replay runs with them: a recording
// made with `--unlock flight,dash` replayed without it would go its own
// way. A recording without them (made before they were stored, or by a
// test) leaves them to the command line, as before.
//
// The file is in the game's text data format:
//   Root
//     Seed:1717171717
//     Unlock:flight,dash
//     Route:
//     Size:400x300
//     Frame
//       Dt:0.016
//       List#2:Events
//         K 65 1
//         W 256 65 1
//       -Events
//     -Frame
//     ...
//   -Root
// A frame in which nothing happened has no Events list.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/LaunchOptions.h"
#include "platform/PlatformInput.h"

namespace Flurr {

// An empty route or a 0 size means the game's own choice.
struct RecordedOptions {
    bool unlockFlight = false;
    bool unlockDash = false;
    std::string route;
    int32_t width = 0;
    int32_t height = 0;
};

// The options of a run worth recording.
RecordedOptions OptionsToRecord(const LaunchOptions& options);
// Makes `options` those the recording was made with. False, with `error`
// naming the option, when the command line asks for something else (the
// replay would not play the recorded game).
bool ApplyRecordedOptions(const RecordedOptions& recorded, const std::string& file,
                          LaunchOptions& options, std::string& error);

struct RecordedFrame {
    float dt = 0.0f;
    std::vector<PlatformEvent> events;
};

class InputRecorder {
public:
    explicit InputRecorder(uint32_t seed_) : seed(seed_) {}

    // Starts the next frame; the core calls it with the step it chose.
    void BeginFrame(float dt);
    // Adds an event to the current frame (the first frame begins with dt 0
    // if none was begun).
    void Add(const PlatformEvent& event);
    // Stores the run's options with the recording.
    void SetOptions(const RecordedOptions& options_) { options = options_; }
    // Writes the file; false (with an error reported) when it could not.
    bool Save(const std::string& file) const;

    const std::vector<RecordedFrame>& Frames() const { return frames; }
    uint32_t Seed() const { return seed; }

private:
    uint32_t seed;
    std::optional<RecordedOptions> options;
    std::vector<RecordedFrame> frames;
};

class InputReplay {
public:
    // Reads a recording. False with `error` set when the file cannot be
    // read or holds no frames (it is not a recording); events that cannot be understood are skipped
    // with a warning, and a frame's Dt that is not a step (negative, NaN, infinite) is replayed as
    // 1/60 s and one over kMaxFrameStep as kMaxFrameStep, each with a warning.
    bool Load(const std::string& file, std::string& error);

    // Moves on to the next frame and returns its dt (0 past the end).
    float BeginFrame();
    // The events of the current frame.
    const std::vector<PlatformEvent>& Events() const;
    // True once the current frame is the last one recorded (or there are
    // none): the run ends with it.
    bool AtLastFrame() const { return next >= frames.size(); }

    uint32_t Seed() const { return seed; }
    const std::vector<RecordedFrame>& Frames() const { return frames; }
    // The options it was made with; none for an older recording.
    const std::optional<RecordedOptions>& Options() const { return options; }

private:
    uint32_t seed = 0;
    std::optional<RecordedOptions> options;
    std::vector<RecordedFrame> frames;
    std::size_t next = 0; // index of the frame after the current one
};

} // namespace Flurr
