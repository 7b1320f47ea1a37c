#include "engine/LaunchOptions.h"

#include <charconv>
#include <cmath>
#include <string_view>

#include "serialization/Serializer.h"

namespace Flurr {

const char* const kUsageLine =
    "usage: cloudmere [--frames N] [--fixed-dt S] [--route FILE] [--save-on-exit FILE] [--help]";

const char* const kHelpText =
    "Cloudmere: run, jump, glide and fly through a windy town.\n"
    "\n"
    "Options (for automation and level design; the game needs none):\n"
    "  --frames N           quit after N frames\n"
    "  --fixed-dt S         give every frame a step of S seconds instead of the\n"
    "                       measured time (deterministic runs)\n"
    "  --route FILE         start from this route file instead of the one\n"
    "                       Resources/Levels/Route.zorvel names\n"
    "  --save-on-exit FILE  when the game ends, write every object of the level\n"
    "                       to FILE in the level format\n"
    "  --help               show this text\n";

bool ParseLaunchOptions(int argc, const char* const* argv, LaunchOptions& options,
                        std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            continue;
        }
        const bool takesValue =
            arg == "--frames" || arg == "--fixed-dt" || arg == "--route" || arg == "--save-on-exit";
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
        if (arg == "--frames") {
            int64_t n = 0;
            auto res = std::from_chars(value.data(), end, n);
            if (res.ec != std::errc() || res.ptr != end || n < 1) {
                error =
                    "--frames wants a whole number of at least 1, not '" + std::string(value) + "'";
                return false;
            }
            options.frames = n;
        } else if (arg == "--fixed-dt") {
            float s = 0.0f;
            auto res = std::from_chars(value.data(), end, s);
            if (res.ec != std::errc() || res.ptr != end || !(s > 0.0f) || !std::isfinite(s)) {
                error = "--fixed-dt wants a positive number of seconds, not '" +
                        std::string(value) + "'";
                return false;
            }
            options.fixedDt = s;
        } else {
            if (value.empty() || !HasDataExtension(value)) {
                error = std::string(arg) + " wants a .zorvel or .zoml file, not '" +
                        std::string(value) + "'";
                return false;
            }
            (arg == "--route" ? options.route : options.saveOnExit) = std::string(value);
        }
    }
    return true;
}

} // namespace Flurr
