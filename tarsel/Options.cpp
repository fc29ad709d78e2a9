#include "tarsel/Options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace tarsel {

namespace {

// Digits only (no sign, no space), within 32 bits.
bool ParseWhole(const std::string& text, std::uint32_t& number)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    errno = 0;
    const unsigned long long value = std::strtoull(text.c_str(), nullptr, 10);
    if (errno != 0 || value > std::numeric_limits<std::uint32_t>::max())
        return false;
    number = static_cast<std::uint32_t>(value);
    return true;
}

bool ParseFrames(const std::string& text, std::uint32_t& frames)
{
    return ParseWhole(text, frames) && frames != 0;
}

bool ParseSeconds(const std::string& text, float& seconds)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (errno != 0 || end != text.c_str() + text.size() || !std::isfinite(value) || value < 0.0 || value > 60.0)
        return false;
    seconds = static_cast<float>(value);
    return true;
}

} // namespace

const char* Usage()
{
    return "usage: tarsel [--frames N] [--fixed-dt SECONDS] [--input FILE] [--seed N]\n"
           "  --frames N          stop after the Nth frame (N >= 1)\n"
           "  --fixed-dt SECONDS  every frame lasts SECONDS (0 to 60) instead of the measured time,\n"
           "                      and every clock reading advances by SECONDS a frame\n"
           "  --input FILE        read keyboard, mouse and pads from a scripted-input file\n"
           "  --seed N            seed the random source with N (0 to 4294967295) before start-up\n";
}

bool ParseOptions(int argc, const char* const* argv, Options& options, std::string& error)
{
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option != "--frames" && option != "--fixed-dt" && option != "--input" && option != "--seed") {
            error = "unknown option \"" + option + "\"";
            return false;
        }
        if (i + 1 >= argc) {
            error = option + " needs a value";
            return false;
        }
        const std::string value = argv[++i];
        if (option == "--frames") {
            if (!ParseFrames(value, options.frames)) {
                error = "--frames takes a whole number from 1, not \"" + value + "\"";
                return false;
            }
        } else if (option == "--fixed-dt") {
            float seconds = 0.0f;
            if (!ParseSeconds(value, seconds)) {
                error = "--fixed-dt takes seconds from 0 to 60, not \"" + value + "\"";
                return false;
            }
            options.fixedDt = seconds;
            options.simulatedClock = true;
        } else if (option == "--seed") {
            std::uint32_t seed = 0;
            if (!ParseWhole(value, seed)) {
                error = "--seed takes a whole number from 0 to 4294967295, not \"" + value + "\"";
                return false;
            }
            options.seed = seed;
        } else {
            if (value.empty()) {
                error = "--input needs a file name";
                return false;
            }
            options.inputFile = value;
        }
    }
    return true;
}

} // namespace tarsel
