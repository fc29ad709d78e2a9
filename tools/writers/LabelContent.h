#pragma once
// The game's pictures of text and marks: menu boards, screen panels, banners, tags and the
// start-up pictures, each a texture drawn from the bitmap font; the score read-out's badge; and
// the plain white texture that flat-coloured materials multiply their colour with.
#include "tools/writers/FontBuilder.h"

#include <string>
#include <vector>

namespace tarsel::tools {

struct LabelTexture {
    std::string name; // the texture's file name without ".dds"
    std::string text;
    LabelStyle style;
    // When given, the picture is a panel of these placed lines and the text is unused.
    std::vector<PanelLine> lines = {};
    // Where the texture goes in the content folder.
    std::string folder = "textures/labels/";
};

// The picture of a label: its placed lines when it has them, else its text fitted in.
Image BuildLabelTexture(const BitmapFont& font, const LabelTexture& label);

// Every label, in a fixed order.
std::vector<LabelTexture> Labels();

// The score read-out's backing ("score_bg.dds"), 128 x 128 and shown at one unit a pixel in
// the lower right corner of a view: a light rounded badge under the read-out's text, clear
// around it and along the right and bottom edges, so that nothing of it reaches past the view.
Image BuildScoreBadge();

// A ring of the given colour with a soft edge, for the aiming reticles.
Image BuildRingImage(std::uint8_t r, std::uint8_t g, std::uint8_t b);

// An effect's strip of frames side by side along u, each 64 x 64: a glowing disc whose rays
// turn a step with every frame (frames = 1 gives a single tile that repeats seamlessly).
Image BuildStripImage(std::uint32_t frames, std::uint8_t r, std::uint8_t g, std::uint8_t b);

// A small opaque white square.
Image BuildWhiteImage();

} // namespace tarsel::tools
