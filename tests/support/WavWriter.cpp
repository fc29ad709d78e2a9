#include "tests/support/WavWriter.h"

#include <cmath>
#include <cstdint>

namespace tarsel::test {
namespace {

void Put(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xff);
}

} // namespace

std::string MakeWav(int frames, int channels, double frequency)
{
    constexpr std::uint32_t rate = 44100;
    const auto blockAlign = static_cast<std::uint32_t>(channels * 2);
    const std::uint32_t dataSize = static_cast<std::uint32_t>(frames) * blockAlign;
    std::string out = "RIFF";
    Put(out, 36 + dataSize, 4);
    out += "WAVEfmt ";
    Put(out, 16, 4);
    Put(out, 1, 2); // PCM
    Put(out, static_cast<std::uint32_t>(channels), 2);
    Put(out, rate, 4);
    Put(out, rate * blockAlign, 4);
    Put(out, blockAlign, 2);
    Put(out, 16, 2);
    out += "data";
    Put(out, dataSize, 4);
    for (int i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / rate;
        const auto sample = static_cast<std::int16_t>(std::lround(8000.0 * std::sin(2.0 * M_PI * frequency * t)));
        for (int c = 0; c < channels; ++c)
            Put(out, static_cast<std::uint16_t>(sample), 2);
    }
    return out;
}

} // namespace tarsel::test
