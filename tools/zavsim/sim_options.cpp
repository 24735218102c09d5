#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "zavsim.h"

namespace zavsim {

namespace {

bool ToUnsigned(const std::string& text, std::uint64_t max, std::uint64_t& value) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    errno = 0;
    const unsigned long long v = std::strtoull(text.c_str(), nullptr, 10);
    if (errno != 0 || v > max) {
        return false;
    }
    value = v;
    return true;
}

bool ToDouble(const std::string& text, double min, double max, double& value) {
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || errno != 0 || !std::isfinite(v) || v < min || v > max) {
        return false;
    }
    value = v;
    return true;
}

} // namespace

std::string SimUsage() {
    return "usage: zavsim [options]\n"
           "  --port N          link <ports-dir>/COM<N> to the simulated line\n"
           "  --ports-dir DIR   folder of the port links (default: ports beside zavsim, or\n"
           "                    ~/.local/share/zav/ports for an installed zavsim)\n"
           "  --baud B          emulated line speed, 11/B s per character (default 0: none)\n"
           "  --time-scale X    multiplies program durations, 0 = instantaneous (default 1)\n"
           "  --silent-after K  answer nothing after K requests\n"
           "  --e5-every K      answer every K-th request with E<n>5* only\n"
           "  --garbage P       chance 0..1 of a garbage byte before each reply\n"
           "  --random S        start value of the garbage bytes' generator\n"
           "  --split           write replies byte by byte, 1 ms apart\n"
           "  --hangup-after K  hang up the line after answering K requests\n"
           "  --memory-file F   keep the stored programs in F across hang-ups and restarts\n"
           "  --noise-at K      answer the K-th request by 1 MiB without \"*\"\n"
           "  --stop-ms MS      accept a stop (ST n) with code 0, report its end MS ms later\n"
           "  --corrupt-at K    change a digit of the K-th request, as line noise does\n"
           "  --verbose         log the traffic to stderr\n"
           "  --help            this text\n";
}

std::string ParseSimOptions(const std::vector<std::string>& args, TSimOptions& options) {
    constexpr std::uint64_t Unlimited = ~std::uint64_t{0};
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& name = args[i];
        if (name == "--split") {
            options.Split = true;
            continue;
        }
        if (name == "--verbose") {
            options.Verbose = true;
            continue;
        }
        const bool known = name == "--port" || name == "--ports-dir" || name == "--baud" ||
                           name == "--time-scale" || name == "--silent-after" ||
                           name == "--e5-every" || name == "--garbage" || name == "--random" ||
                           name == "--hangup-after" || name == "--noise-at" ||
                           name == "--stop-ms" || name == "--memory-file" || name == "--corrupt-at";
        if (!known) {
            return "unknown option " + name;
        }
        if (i + 1 >= args.size()) {
            return name + " needs a value";
        }
        const std::string& value = args[++i];
        std::uint64_t n = 0;
        bool ok = true;
        if (name == "--port") {
            ok = ToUnsigned(value, 255, n) && n >= 1;
            options.Port = static_cast<int>(n);
        } else if (name == "--ports-dir") {
            ok = !value.empty();
            options.PortsDir = value;
        } else if (name == "--baud") {
            ok = ToUnsigned(value, 10000000, n);
            options.Baud = static_cast<std::uint32_t>(n);
        } else if (name == "--time-scale") {
            ok = ToDouble(value, 0, 1e6, options.TimeScale);
        } else if (name == "--silent-after") {
            ok = ToUnsigned(value, Unlimited, n);
            options.SilentAfter = n;
        } else if (name == "--e5-every") {
            ok = ToUnsigned(value, Unlimited, n) && n >= 1;
            options.E5Every = n;
        } else if (name == "--garbage") {
            ok = ToDouble(value, 0, 1, options.Garbage);
        } else if (name == "--random") {
            ok = ToUnsigned(value, 0xffffffffu, n);
            options.RandomStart = static_cast<std::uint32_t>(n);
        } else if (name == "--noise-at") {
            ok = ToUnsigned(value, Unlimited, n) && n >= 1;
            options.NoiseAt = n;
        } else if (name == "--stop-ms") {
            ok = ToUnsigned(value, 3600000, n);
            options.StopMs = n;
        } else if (name == "--memory-file") {
            ok = !value.empty();
            options.MemoryFile = value;
        } else if (name == "--corrupt-at") {
            ok = ToUnsigned(value, Unlimited, n) && n >= 1;
            options.CorruptAt = n;
        } else if (name == "--hangup-after") {
            ok = ToUnsigned(value, Unlimited, n) && n >= 1;
            options.HangupAfter = n;
        }
        if (!ok) {
            return "bad value for " + name + ": " + value;
        }
    }
    return {};
}

std::vector<std::string> SimOptionArgs(const TSimOptions& options) {
    std::vector<std::string> args;
    const auto add = [&](const char* name, const std::string& value) {
        args.push_back(name);
        args.push_back(value);
    };
    const auto real = [](double v) {
        char text[32];
        std::snprintf(text, sizeof text, "%.17g", v);
        return std::string(text);
    };
    if (options.Port > 0)
        add("--port", std::to_string(options.Port));
    if (!options.PortsDir.empty())
        add("--ports-dir", options.PortsDir);
    add("--baud", std::to_string(options.Baud));
    add("--time-scale", real(options.TimeScale));
    if (options.SilentAfter)
        add("--silent-after", std::to_string(*options.SilentAfter));
    if (options.E5Every)
        add("--e5-every", std::to_string(*options.E5Every));
    add("--garbage", real(options.Garbage));
    if (options.RandomStart)
        add("--random", std::to_string(*options.RandomStart));
    if (options.Split)
        args.push_back("--split");
    if (options.HangupAfter)
        add("--hangup-after", std::to_string(*options.HangupAfter));
    if (!options.MemoryFile.empty())
        add("--memory-file", options.MemoryFile);
    if (options.NoiseAt)
        add("--noise-at", std::to_string(*options.NoiseAt));
    if (options.StopMs)
        add("--stop-ms", std::to_string(*options.StopMs));
    if (options.CorruptAt)
        add("--corrupt-at", std::to_string(*options.CorruptAt));
    if (options.Verbose)
        args.push_back("--verbose");
    return args;
}

} // namespace zavsim
