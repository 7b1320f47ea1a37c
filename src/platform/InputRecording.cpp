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

std::string UnlockText(bool flight, bool dash) {
    return flight && dash ? "flight,dash" : flight ? "flight" : dash ? "dash" : "";
}

std::string SizeText(int32_t width, int32_t height) {
    return width > 0 ? std::to_string(width) + "x" + std::to_string(height) : "";
}

} // namespace

RecordedOptions OptionsToRecord(const LaunchOptions& options) {
    return {options.unlockFlight, options.unlockDash, options.route, options.width, options.height};
}

bool ApplyRecordedOptions(const RecordedOptions& recorded, const std::string& file,
                          LaunchOptions& options, std::string& error) {
    // An option left out takes the recording's; one given must agree.
    auto conflict = [&](const char* option, const std::string& had, const std::string& asked) {
        error = "the recording \"" + file + "\" was made with " +
                (had.empty() ? std::string("no ") + option : std::string(option) + " " + had) +
                "; replaying it with " + option + " " + asked +
                " would not play the same game (leave " + option + " out to use the recording's)";
        return false;
    };
    const std::string had = UnlockText(recorded.unlockFlight, recorded.unlockDash);
    const std::string asked = UnlockText(options.unlockFlight, options.unlockDash);
    if (!asked.empty() && asked != had)
        return conflict("--unlock", had, asked);
    if (!options.route.empty() && options.route != recorded.route)
        return conflict("--route", recorded.route, options.route);
    const std::string size = SizeText(recorded.width, recorded.height);
    if (options.width > 0 && SizeText(options.width, options.height) != size)
        return conflict("--size", size, SizeText(options.width, options.height));
    options.unlockFlight = recorded.unlockFlight;
    options.unlockDash = recorded.unlockDash;
    options.route = recorded.route;
    options.width = recorded.width;
    options.height = recorded.height;
    return true;
}

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
    if (options) {
        std::string unlock = UnlockText(options->unlockFlight, options->unlockDash);
        std::string route = options->route;
        std::string size = SizeText(options->width, options->height);
        saver.StringField("Unlock", unlock);
        saver.StringField("Route", route);
        saver.StringField("Size", size);
    }
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
    options.reset();
    // A line feed cannot be in a value: it marks "not there".
    std::string unlock = "\n", route = "\n", size = "\n";
    loader.StringField("Unlock", unlock);
    loader.StringField("Route", route);
    loader.StringField("Size", size);
    if (unlock != "\n" || route != "\n" || size != "\n") {
        // Read as the command line reads them, so a recording says no more
        // than an option could.
        for (std::string* value : {&unlock, &route, &size})
            if (*value == "\n")
                value->clear();
        std::vector<std::string> args{"cloudmere"};
        for (auto [option, value] :
             {std::pair{"--unlock", &unlock}, {"--route", &route}, {"--size", &size}})
            if (!value->empty()) {
                args.push_back(option);
                args.push_back(*value);
            }
        std::vector<const char*> argv;
        for (const std::string& a : args)
            argv.push_back(a.c_str());
        LaunchOptions read;
        std::string problem;
        if (!ParseLaunchOptions(static_cast<int>(argv.size()), argv.data(), read, problem)) {
            error = "the recording \"" + file + "\" stores an option the game refuses: " + problem;
            return false;
        }
        options = OptionsToRecord(read);
    }
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
    if (frames.empty()) {
        error = "the recording \"" + file + "\" holds no frames; is it a recording?";
        return false;
    }
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
