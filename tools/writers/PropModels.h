#pragma once
// The game's plain props and menu pieces, built from boxes: block-letter glyphs and words, the
// menu arrow and check mark, the character's hair and masks, a feather, a crate and a board.
#include "tools/writers/AnimationWriter.h"
#include "tools/writers/ModelWriter.h"

#include <string>
#include <vector>

namespace tarsel::tools {

// Text in 5 x 7 block letters, each dot a box 1/7 unit across, 0.15 deep, the line starting at
// x = 0 and standing on y = 0 (the graphics menu writes words and digits rightwards from a
// point beside its left arrow). Knows the digits, "x" and the capitals of LOW MEDIUM HIGH ULTRA;
// other characters leave a gap.
ModelDescription BuildBlockText(const std::string& text);

// An arrow pointing along -x, four units long and centred on the origin: the menus show it
// unturned as a left arrow, which the graphics menu's readouts copy their turn from, and turned
// half round y as the main menu's cursor and right arrows. A check mark about five units across
// (the menus show it at scale 0.4).
ModelDescription BuildArrow();
ModelDescription BuildCheckmark();

// The character's cosmetics, in its model space about the head (CharacterBuilder's bone 5).
ModelDescription BuildHair(bool tall);
enum class MaskShape { Plain, Fox, Bunny };
ModelDescription BuildMask(MaskShape shape);

// A feather about 4 units long, a crate 6 units across on y = 0, and a board: a unit square
// facing +z, to be scaled by its entity.
ModelDescription BuildFeather();
ModelDescription BuildCrate();
ModelDescription BuildBoard();

// A skinned piece with a fixed base (bone 0) and one moving part (bone 1, jointed at pivot), and
// a clip that turns the moving part about x from 'from' to 'to' radians over seconds (one key
// when they are equal).
ModelDescription BuildHingedPiece(const ZOR::float3& baseCenter, const ZOR::float3& baseHalf, const ZOR::float3& partCenter,
                                  const ZOR::float3& partHalf, const ZOR::float3& pivot);
ClipDescription BuildHingeClip(const ZOR::float3& pivot, float from, float to, float seconds);
// A clip that drives the moving part up and down along y by 'lift' units and back.
ClipDescription BuildStampClip(const ZOR::float3& pivot, float lift, float seconds);

} // namespace tarsel::tools
