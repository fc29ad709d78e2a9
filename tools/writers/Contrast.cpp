#include "tools/writers/Contrast.h"

#include <algorithm>
#include <cmath>

namespace tarsel::tools {

namespace {

float Linear(std::uint8_t channel)
{
    const float c = static_cast<float>(channel) / 255.0f;
    return c <= 0.04045f ? c / 12.92f : std::pow((c + 0.055f) / 1.055f, 2.4f);
}

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kDark{20, 20, 30};

} // namespace

float RelativeLuminance(const Rgb& colour)
{
    return 0.2126f * Linear(colour[0]) + 0.7152f * Linear(colour[1]) + 0.0722f * Linear(colour[2]);
}

float ContrastRatio(const Rgb& a, const Rgb& b)
{
    const float la = RelativeLuminance(a), lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05f) / (std::min(la, lb) + 0.05f);
}

Rgb ContrastingInk(const Rgb& colour)
{
    return ContrastRatio(colour, kWhite) >= ContrastRatio(colour, kDark) ? kWhite : kDark;
}

} // namespace tarsel::tools
