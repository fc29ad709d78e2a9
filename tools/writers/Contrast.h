#pragma once
// Legibility of colours: relative luminance and the contrast ratio between two colours (the
// WCAG measure: 4.5 or more reads as normal text), and the ink that reads best on a colour.
#include <array>
#include <cstdint>

namespace tarsel::tools {

using Rgb = std::array<std::uint8_t, 3>;

// 0 for black to 1 for white, from 8-bit sRGB channels.
float RelativeLuminance(const Rgb& colour);

// (lighter + 0.05) / (darker + 0.05): 1 for equal colours, 21 for black on white.
float ContrastRatio(const Rgb& a, const Rgb& b);

// White or a near-black, whichever stands out more against the colour.
Rgb ContrastingInk(const Rgb& colour);

} // namespace tarsel::tools
