#include "engine/LaunchOptions.h"

#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

#include "serialization/Serializer.h"

namespace Flurr {

const char* const kUsageLine =
    "usage: cloudmere [--frames N] [--fixed-dt S] [--route FILE] [--save-on-exit FILE]\n"
    "                 [--windowed] [--size WxH] [--record FILE] [--replay FILE]\n"
    "                 [--screenshot-at N] [--unlock flight,dash] [--jobs-done LIST]\n"
    "                 [--no-draw] [--help]";

const char* const kHelpText =
    "Cloudmere: run, jump, glide and fly through a windy town.\n"
    "\n"
    "Options (for automation and level design; the game needs none):\n"
    "  --frames N           quit after N drawn frames\n"
    "  --fixed-dt S         make every frame one game step of S seconds, as fast\n"
    "                       as the machine goes (deterministic runs)\n"
    "  --route FILE         start from this route file instead of the one\n"
    "                       Resources/Levels/Route.zorvel names\n"
    "  --save-on-exit FILE  when the game ends, write every object of the level\n"
    "                       to FILE in the level format\n"
    "  --windowed           play in a window with a frame instead of borderless\n"
    "                       over the whole desktop\n"
    "  --size WxH           the window's inside is W x H pixels (default: the\n"
    "                       desktop, or 800x600 with --windowed)\n"
    "  --record FILE        write every frame's input and time step to FILE\n"
    "  --replay FILE        play the input and time steps FILE recorded instead of\n"
    "                       the keyboard, mouse, pad and clock, then quit\n"
    "  --screenshot-at N    write a screenshot (as F11 does) of frame N\n"
    "  --unlock LIST        start with abilities a job would unlock: flight,\n"
    "                       dash or both, comma-separated (for trying levels)\n"
    "  --jobs-done LIST     start with these jobs done (names from the job bank,\n"
    "                       comma-separated), to try or record a later job\n"
    "  --no-draw            run without drawing and without waiting for the\n"
    "                       clock: a replay checks its world many times faster\n"
    "  --help               show this text\n";

namespace {

// Larger than any display, small enough that width x height fits easily.
constexpr int32_t kMaxWindowSide = 16384;

bool ParseSide(std::string_view text, int32_t& side) {
    const char* end = text.data() + text.size();
    auto res = std::from_chars(text.data(), end, side);
    return res.ec == std::errc() && res.ptr == end && side >= 1 && side <= kMaxWindowSide;
}

bool ParseSize(std::string_view text, int32_t& width, int32_t& height) {
    const std::size_t x = text.find('x');
    if (x == std::string_view::npos)
        return false;
    int32_t w = 0, h = 0;
    if (!ParseSide(text.substr(0, x), w) || !ParseSide(text.substr(x + 1), h))
        return false;
    width = w;
    height = h;
    return true;
}

} // namespace

bool ParseLaunchOptions(int argc, const char* const* argv, LaunchOptions& options,
                        std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            continue;
        }
        if (arg == "--windowed") {
            options.windowed = true;
            continue;
        }
        if (arg == "--no-draw") {
            options.noDraw = true;
            continue;
        }
        const bool takesValue = arg == "--frames" || arg == "--fixed-dt" || arg == "--route" ||
                                arg == "--save-on-exit" || arg == "--size" || arg == "--record" ||
                                arg == "--replay" || arg == "--screenshot-at" ||
                                arg == "--unlock" || arg == "--jobs-done";
        if (!takesValue) {
            error = "unknown option '" + std::string(arg) + "'";
            return false;
        }
        if (i + 1 >= argc) {
            error = "option '" + std::string(arg) + "' needs a value";
            return false;
        }
        const std::string_view value = argv[++i];
        const char* end = value.data() + value.size();
        if (arg == "--frames" || arg == "--screenshot-at") {
            int64_t n = 0;
            auto res = std::from_chars(value.data(), end, n);
            if (res.ec != std::errc() || res.ptr != end || n < 1) {
                error = std::string(arg) + " wants a whole number of at least 1, not '" +
                        std::string(value) + "'";
                return false;
            }
            (arg == "--frames" ? options.frames : options.screenshotAt) = n;
        } else if (arg == "--fixed-dt") {
            float s = 0.0f;
            auto res = std::from_chars(value.data(), end, s);
            if (res.ec != std::errc() || res.ptr != end || !(s > 0.0f) || !std::isfinite(s)) {
                error = "--fixed-dt wants a positive number of seconds, not '" +
                        std::string(value) + "'";
                return false;
            }
            options.fixedDt = s;
        } else if (arg == "--unlock") {
            std::string_view rest = value;
            while (true) {
                const std::size_t comma = rest.find(',');
                const std::string_view item = rest.substr(0, comma);
                if (item == "flight") {
                    options.unlockFlight = true;
                } else if (item == "dash") {
                    options.unlockDash = true;
                } else {
                    error = "--unlock wants flight, dash or flight,dash, not '" +
                            std::string(value) + "'";
                    return false;
                }
                if (comma == std::string_view::npos)
                    break;
                rest = rest.substr(comma + 1);
            }
        } else if (arg == "--jobs-done") {
            std::vector<std::string> jobs;
            std::string_view rest = value;
            while (true) {
                const std::size_t comma = rest.find(',');
                const std::string_view item = rest.substr(0, comma);
                if (item.empty() || item.find_first_of(" \t") != std::string_view::npos) {
                    error = "--jobs-done wants job names separated by commas, not '" +
                            std::string(value) + "'";
                    return false;
                }
                jobs.emplace_back(item);
                if (comma == std::string_view::npos)
                    break;
                rest = rest.substr(comma + 1);
            }
            options.jobsDone = std::move(jobs);
        } else if (arg == "--size") {
            if (!ParseSize(value, options.width, options.height)) {
                error = "--size wants WIDTHxHEIGHT in pixels, each from 1 to " +
                        std::to_string(kMaxWindowSide) + ", not '" + std::string(value) + "'";
                return false;
            }
        } else {
            if (value.empty() || !HasDataExtension(value)) {
                error = std::string(arg) + " wants a .zorvel or .zoml file, not '" +
                        std::string(value) + "'";
                return false;
            }
            std::string& target = arg == "--route"    ? options.route
                                  : arg == "--record" ? options.record
                                  : arg == "--replay" ? options.replay
                                                      : options.saveOnExit;
            target = std::string(value);
        }
    }
    if (options.noDraw && options.screenshotAt > 0) {
        error = "--screenshot-at needs the frames drawn: leave out --no-draw";
        return false;
    }
    return true;
}

} // namespace Flurr
