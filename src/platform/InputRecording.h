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
//
// Checkpoints: while recording, every kCheckpointTicks ticks the frame just
// run gets a Check of the world as it stands after it: the tick, a hash
// over the whole world state (WorldState below) and, to keep files small,
// only the lines that changed since the previous checkpoint (all of them
// at the first), with "<id> <name> Gone" for what is no longer there:
//     Check
//       Tick:60
//       Hash:5f0e3b2a9c1d4e77
//       List#2:Changed
//         57 Player X=300.25 Y=52 VX=0 VY=-0.5
//         job HotBuns State=Running
//       -Changed
//     -Check
// A replay given the same reader compares each checkpoint with the world
// it has made; the first difference is kept as a one-line report naming
// the tick, the object or job, the field and both values. A recording
// without checkpoints (an older one, a test's) has nothing to compare.

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
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
    // Jobs counted as done from the start (a job deep in the town played
    // on the shipped data); stored only when there are some.
    std::vector<std::string> jobsDone;
};

// The options of a run worth recording.
RecordedOptions OptionsToRecord(const LaunchOptions& options);
// Makes `options` those the recording was made with. False, with `error`
// naming the option, when the command line asks for something else (the
// replay would not play the recorded game).
bool ApplyRecordedOptions(const RecordedOptions& recorded, const std::string& file,
                          LaunchOptions& options, std::string& error);

// How often a recording checks the world, in ticks.
inline constexpr int64_t kCheckpointTicks = 60;

// The world at a checkpoint: one line per thing that moves or decides,
// "<id> <name> Field=value ...", an object by its id, a job as "job
// <name>"; objects first by id, then jobs by name. Values are exact
// (round-trippable) and hold no spaces.
using WorldState = std::vector<std::string>;

struct Checkpoint {
    int64_t tick = 0;
    uint64_t hash = 0;
    // The lines that changed since the previous checkpoint.
    std::vector<std::string> changed;
};

struct RecordedFrame {
    float dt = 0.0f;
    std::vector<PlatformEvent> events;
    // The world after this frame, on every kCheckpointTicks-th.
    std::optional<Checkpoint> check;
};

// The world's lines by what they describe, in the order of a WorldState.
class WorldLines {
public:
    // Sets the lines to `state`, returning those that changed (and a
    // "Gone" line for each left out).
    std::vector<std::string> Replace(const WorldState& state);
    // Applies the changes a checkpoint stores.
    void Apply(const std::vector<std::string>& changed);
    // The first difference from `state` ("object 57 (Player) field Y:
    // recorded 250.5, replayed 251.5"); empty when there is none.
    std::string FirstDifference(const WorldState& state) const;

private:
    using Key = std::pair<int64_t, std::string>; // objects by id, then jobs by name
    static Key KeyOf(const std::string& line);
    std::map<Key, std::string> lines;
};
uint64_t HashWorld(const WorldState& state);

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
    // Reads the world for the checkpoints; none are taken without it.
    void SetWorldReader(std::function<WorldState()> read) { readWorld = std::move(read); }
    // Writes the file; false (with an error reported) when it could not.
    bool Save(const std::string& file) const;

    const std::vector<RecordedFrame>& Frames() const { return frames; }
    uint32_t Seed() const { return seed; }

private:
    uint32_t seed;
    std::optional<RecordedOptions> options;
    std::vector<RecordedFrame> frames;
    std::function<WorldState()> readWorld;
    WorldLines world;
};

class InputReplay {
public:
    // Reads a recording. False with `error` set when the file cannot be
    // read or holds no frames (it is not a recording); events that cannot be understood are skipped
    // with a warning, and a frame's Dt that is not a step (negative, NaN, infinite) is replayed as
    // 1/60 s and one over kMaxFrameStep as kMaxFrameStep, each with a warning.
    bool Load(const std::string& file, std::string& error);

    // Compares every checkpoint with the world `read` returns, as the
    // frame after it begins. At the first difference, `stop` makes
    // Differs() true (the run should end); otherwise the report is warned
    // of and the replay goes on unchecked (a replay recorded afresh).
    void CheckWorld(std::function<WorldState()> read, bool stop) {
        readWorld = std::move(read);
        stopAtDifference = stop;
    }
    // The first difference found, as a one-line report; empty while none.
    const std::string& Difference() const { return difference; }
    bool Differs() const { return stopAtDifference && !difference.empty(); }

    // Moves on to the next frame and returns its dt (0 past the end).
    float BeginFrame();
    // The events of the current frame.
    const std::vector<PlatformEvent>& Events() const;
    // True once the current frame is the last one recorded (or there are
    // none): the run ends with it.
    bool AtLastFrame() const { return !open && next >= frames.size(); }

    // A replay written as it plays (tools/autoplay): each frame is added
    // just before it runs, and the run goes on past the last one added
    // until Close().
    void Append(RecordedFrame frame) {
        frames.push_back(std::move(frame));
        open = true;
    }
    void Close() { open = false; }

    uint32_t Seed() const { return seed; }
    const std::vector<RecordedFrame>& Frames() const { return frames; }
    // The options it was made with; none for an older recording.
    const std::optional<RecordedOptions>& Options() const { return options; }

private:
    uint32_t seed = 0;
    std::optional<RecordedOptions> options;
    std::vector<RecordedFrame> frames;
    std::size_t next = 0; // index of the frame after the current one
    bool open = false;
    std::function<WorldState()> readWorld;
    bool stopAtDifference = true;
    WorldLines recordedWorld;
    std::string difference;

    void Compare(const Checkpoint& check);
};

} // namespace Flurr
