#include "platform/InputRecording.h"

#include <cmath>
#include <sstream>

#include "engine/Report.h"
#include "engine/TimerSet.h"
#include "serialization/Serializer.h"

namespace Flurr {

namespace {
// What a frame without a usable step gets: one frame at 60 per second.
constexpr float kDefaultDt = 1.0f / 60.0f;
} // namespace

void InputRecorder::BeginFrame(float dt) {
    frames.push_back(RecordedFrame{dt, {}});
}

void InputRecorder::Add(const PlatformEvent& event) {
    if (frames.empty())
        frames.emplace_back();
    frames.back().events.push_back(event);
}

bool InputRecorder::Save(const std::string& file) const {
    ASaver saver(file);
    saver.Begin("Root");
    uint32_t s = seed;
    saver.UnsignedField("Seed", s);
    for (const RecordedFrame& frame : frames) {
        saver.Begin("Frame");
        float dt = frame.dt;
        saver.FloatField("Dt", dt);
        if (!frame.events.empty()) {
            std::vector<std::string> lines;
            lines.reserve(frame.events.size());
            for (const PlatformEvent& event : frame.events)
                lines.push_back(EventToText(event));
            saver.StringList("Events", lines);
        }
        saver.End("Frame");
    }
    saver.End("Root");
    return saver.Finish();
}

bool InputReplay::Load(const std::string& file, std::string& error) {
    frames.clear();
    next = 0;
    seed = 0;
    ALoader loader(file);
    if (loader.IsFileMissing() || !loader.Begin("Root")) {
        error = "the recording \"" + file + "\" could not be read";
        return false;
    }
    loader.UnsignedField("Seed", seed);
    std::vector<std::string> lines;
    while (loader.Begin("Frame")) {
        RecordedFrame frame;
        frame.dt = kDefaultDt;
        loader.FloatField("Dt", frame.dt);
        if (!std::isfinite(frame.dt) || frame.dt < 0.0f) {
            std::ostringstream text; // the step as a stream writes a float
            text << file << ": frame " << frames.size() + 1 << " has no usable Dt; it gets "
                 << kDefaultDt << " s";
            Warn(text.str());
            frame.dt = kDefaultDt;
        } else if (frame.dt > kMaxFrameStep) {
            // Replayed as the longest step a frame may take, so the game
            // clock and every timer behind it stay in range.
            std::ostringstream text;
            text << file << ": frame " << frames.size() + 1 << " has a Dt of " << frame.dt
                 << " s, more than a frame may step; it gets " << kMaxFrameStep << " s";
            Warn(text.str());
            frame.dt = kMaxFrameStep;
        }
        lines.clear();
        loader.StringList("Events", lines);
        for (const std::string& line : lines) {
            if (auto event = EventFromText(line))
                frame.events.push_back(*event);
            else
                Warn(file + ": frame " + std::to_string(frames.size() + 1) +
                     ": skipping the event \"" + line + "\", which is not one");
        }
        frames.push_back(std::move(frame));
        loader.End("Frame");
    }
    loader.End("Frame");
    loader.End("Root");
    return true;
}

float InputReplay::BeginFrame() {
    if (next < frames.size())
        return frames[next++].dt;
    next = frames.size() + 1;
    return 0.0f;
}

const std::vector<PlatformEvent>& InputReplay::Events() const {
    static const std::vector<PlatformEvent> none;
    if (next == 0 || next > frames.size())
        return none;
    return frames[next - 1].events;
}

} // namespace Flurr
