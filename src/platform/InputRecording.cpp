#include "platform/InputRecording.h"

#include <charconv>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <limits>
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

std::string JoinJobs(const std::vector<std::string>& jobs) {
    std::string text;
    for (const std::string& job : jobs)
        text += (text.empty() ? "" : ",") + job;
    return text;
}

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

// "object 57 (Player)" or "job HotBuns", from a line's first two words.
std::string Describe(const std::vector<std::string>& words) {
    const std::string name = words.size() > 1 ? words[1] : "?";
    if (!words.empty() && words[0] == "job")
        return "job " + name;
    return "object " + (words.empty() ? "?" : words[0]) + " (" + name + ")";
}

std::string HashText(uint64_t hash) {
    char text[17];
    std::snprintf(text, sizeof text, "%016" PRIx64, hash);
    return text;
}

constexpr const char* kGone = "Gone";

} // namespace

RecordedOptions OptionsToRecord(const LaunchOptions& options) {
    return {options.unlockFlight, options.unlockDash, options.route,
            options.width,        options.height,     options.jobsDone};
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
    if (!options.jobsDone.empty() && options.jobsDone != recorded.jobsDone)
        return conflict("--jobs-done", JoinJobs(recorded.jobsDone), JoinJobs(options.jobsDone));
    const std::string size = SizeText(recorded.width, recorded.height);
    if (options.width > 0 && SizeText(options.width, options.height) != size)
        return conflict("--size", size, SizeText(options.width, options.height));
    options.unlockFlight = recorded.unlockFlight;
    options.unlockDash = recorded.unlockDash;
    options.route = recorded.route;
    options.width = recorded.width;
    options.height = recorded.height;
    options.jobsDone = recorded.jobsDone;
    return true;
}

uint64_t HashWorld(const WorldState& state) {
    uint64_t h = 0xcbf29ce484222325ull; // 64-bit FNV-1a
    for (const std::string& line : state)
        for (const char c : line + "\n") {
            h ^= static_cast<unsigned char>(c);
            h *= 0x100000001b3ull;
        }
    return h;
}

WorldLines::Key WorldLines::KeyOf(const std::string& line) {
    const std::vector<std::string> words = Words(line);
    if (words.size() > 1 && words[0] == "job")
        return {std::numeric_limits<int64_t>::max(), words[1]};
    int64_t id = 0;
    const std::string& first = words.empty() ? line : words[0];
    const auto res = std::from_chars(first.data(), first.data() + first.size(), id);
    if (res.ec != std::errc() || res.ptr != first.data() + first.size())
        return {std::numeric_limits<int64_t>::max(), line}; // not ours: kept whole
    return {id, ""};
}

std::vector<std::string> WorldLines::Replace(const WorldState& state) {
    std::map<Key, std::string> now;
    for (const std::string& line : state)
        now[KeyOf(line)] = line;
    std::vector<std::string> changed;
    auto was = lines.begin();
    for (const auto& [key, line] : now) {
        for (; was != lines.end() && was->first < key; ++was) {
            const std::vector<std::string> words = Words(was->second);
            changed.push_back(words[0] + " " + (words.size() > 1 ? words[1] : "?") + " " + kGone);
        }
        if (was != lines.end() && was->first == key && (was++)->second == line)
            continue;
        changed.push_back(line);
    }
    for (; was != lines.end(); ++was) {
        const std::vector<std::string> words = Words(was->second);
        changed.push_back(words[0] + " " + (words.size() > 1 ? words[1] : "?") + " " + kGone);
    }
    lines = std::move(now);
    return changed;
}

void WorldLines::Apply(const std::vector<std::string>& changed) {
    for (const std::string& line : changed) {
        const std::vector<std::string> words = Words(line);
        if (words.size() == 3 && words[2] == kGone)
            lines.erase(KeyOf(line));
        else if (!words.empty())
            lines[KeyOf(line)] = line;
    }
}

std::string WorldLines::FirstDifference(const WorldState& state) const {
    std::map<Key, std::string> now;
    for (const std::string& line : state)
        now[KeyOf(line)] = line;
    auto recorded = lines.begin();
    auto replayed = now.begin();
    while (recorded != lines.end() || replayed != now.end()) {
        if (replayed == now.end() || (recorded != lines.end() && recorded->first < replayed->first))
            return Describe(Words(recorded->second)) +
                   " was recorded but is not in the replayed world";
        if (recorded == lines.end() || replayed->first < recorded->first)
            return Describe(Words(replayed->second)) +
                   " is in the replayed world but was not recorded";
        if (recorded->second != replayed->second) {
            const std::vector<std::string> a = Words(recorded->second);
            const std::vector<std::string> b = Words(replayed->second);
            for (std::size_t i = 1; i < std::max(a.size(), b.size()); ++i) {
                const std::string was = i < a.size() ? a[i] : "";
                const std::string is = i < b.size() ? b[i] : "";
                if (was == is)
                    continue;
                // "Y=250.5": the field's name, then its value.
                const std::string& named = was.empty() ? is : was;
                const std::size_t eq = i == 1 ? std::string::npos : named.find('=');
                const std::string field = i == 1 ? "Name" : named.substr(0, eq);
                auto value = [&](const std::string& word) {
                    if (word.empty())
                        return std::string("(none)");
                    return eq == std::string::npos ? word : word.substr(word.find('=') + 1);
                };
                return Describe(a) + " field " + field + ": recorded " + value(was) +
                       ", replayed " + value(is);
            }
        }
        ++recorded;
        ++replayed;
    }
    return "";
}

void InputRecorder::BeginFrame(float dt) {
    // The world as the ticks so far left it, before the next one starts.
    const auto ticks = static_cast<int64_t>(frames.size());
    if (readWorld && ticks > 0 && ticks % kCheckpointTicks == 0) {
        const WorldState state = readWorld();
        frames.back().check = Checkpoint{ticks, HashWorld(state), world.Replace(state)};
    }
    frames.push_back(RecordedFrame{dt, {}, {}});
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
        if (!options->jobsDone.empty()) {
            std::string jobs = JoinJobs(options->jobsDone);
            saver.StringField("JobsDone", jobs);
        }
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
        if (frame.check) {
            saver.Begin("Check");
            auto tick = static_cast<uint32_t>(frame.check->tick);
            std::string hash = HashText(frame.check->hash);
            std::vector<std::string> changed = frame.check->changed;
            saver.UnsignedField("Tick", tick);
            saver.StringField("Hash", hash);
            saver.StringList("Changed", changed);
            saver.End("Check");
        }
        saver.End("Frame");
    }
    saver.End("Root");
    return saver.Finish();
}

bool InputReplay::Load(const std::string& file, std::string& error) {
    frames.clear();
    next = 0;
    recordedWorld = {};
    difference.clear();
    seed = 0;
    ALoader loader(file);
    if (loader.IsFileMissing() || !loader.Begin("Root")) {
        error = "the recording \"" + file + "\" could not be read";
        return false;
    }
    loader.UnsignedField("Seed", seed);
    options.reset();
    // A line feed cannot be in a value: it marks "not there".
    std::string unlock = "\n", route = "\n", size = "\n", jobs = "\n";
    loader.StringField("Unlock", unlock);
    loader.StringField("Route", route);
    loader.StringField("Size", size);
    loader.StringField("JobsDone", jobs);
    if (unlock != "\n" || route != "\n" || size != "\n" || jobs != "\n") {
        // Read as the command line reads them, so a recording says no more
        // than an option could.
        for (std::string* value : {&unlock, &route, &size, &jobs})
            if (*value == "\n")
                value->clear();
        std::vector<std::string> args{"cloudmere"};
        for (auto [option, value] : {std::pair{"--unlock", &unlock},
                                     {"--route", &route},
                                     {"--size", &size},
                                     {"--jobs-done", &jobs}})
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
        if (loader.Begin("Check")) {
            uint32_t tick = static_cast<uint32_t>(frames.size() + 1);
            std::string hash;
            Checkpoint check;
            loader.UnsignedField("Tick", tick);
            loader.StringField("Hash", hash);
            loader.StringList("Changed", check.changed);
            check.tick = tick;
            const auto res =
                std::from_chars(hash.data(), hash.data() + hash.size(), check.hash, 16);
            if (res.ec != std::errc() || res.ptr != hash.data() + hash.size() || hash.empty())
                Warn(file + ": frame " + std::to_string(frames.size() + 1) +
                     ": the checkpoint has no hash; it is not compared");
            else
                frame.check = std::move(check);
        }
        loader.End("Check");
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
    // The world the frames so far made, before the next one starts.
    if (readWorld && difference.empty() && next > 0 && next <= frames.size() &&
        frames[next - 1].check)
        Compare(*frames[next - 1].check);
    if (next < frames.size())
        return frames[next++].dt;
    next = frames.size() + 1;
    return 0.0f;
}

void InputReplay::Compare(const Checkpoint& check) {
    recordedWorld.Apply(check.changed);
    const WorldState state = readWorld();
    if (HashWorld(state) == check.hash)
        return;
    std::string what = recordedWorld.FirstDifference(state);
    if (what.empty())
        what = "the world hashes to " + HashText(HashWorld(state)) + ", the recording says " +
               HashText(check.hash) + " (its lines do not add up to its hash: is it damaged?)";
    difference = "Replay differs at tick " + std::to_string(check.tick) + ": " + what;
    if (!stopAtDifference)
        Warn(difference + "; the replay goes on unchecked");
}

const std::vector<PlatformEvent>& InputReplay::Events() const {
    static const std::vector<PlatformEvent> none;
    if (next == 0 || next > frames.size())
        return none;
    return frames[next - 1].events;
}

} // namespace Flurr
