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
// The file is in the game's text data format:
//   Root
//     Seed:1717171717
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
#include <string>
#include <vector>

#include "platform/PlatformInput.h"

namespace Flurr {

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
    // Writes the file; false (with an error reported) when it could not.
    bool Save(const std::string& file) const;

    const std::vector<RecordedFrame>& Frames() const { return frames; }
    uint32_t Seed() const { return seed; }

private:
    uint32_t seed;
    std::vector<RecordedFrame> frames;
};

class InputReplay {
public:
    // Reads a recording. False with `error` set when the file cannot be
    // read; events that cannot be understood are skipped with a warning,
    // and a frame's Dt that is not a step (negative, NaN, infinite) is
    // replayed as 1/60 s and one over kMaxFrameStep as kMaxFrameStep, each
    // with a warning.
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

private:
    uint32_t seed = 0;
    std::vector<RecordedFrame> frames;
    std::size_t next = 0; // index of the frame after the current one
};

} // namespace Flurr
