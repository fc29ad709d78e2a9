#pragma once
// The main menu's quit button ("quitbutton_quit_hold.model" and its four clips, drawn with
// "wood_blocks_menu.mat"): a plate reading QUIT where the menu's cursor points at its quit item,
// and a flap hinged under it that folds out into the are-you-sure board, whose back and quit
// entries sit where the cursor points at those two items. Folded up, the flap stands behind the
// menu board. Every face of the piece takes its look from one picture ("quit_button"): the plate
// and the flap show their parts of it, the other faces its plain back.
#include "tools/writers/AnimationWriter.h"
#include "tools/writers/FontBuilder.h"
#include "tools/writers/ModelWriter.h"

#include <string>
#include <utility>
#include <vector>

namespace tarsel::tools::quit {

// In the menu level's space (the button's entity stands at the origin, unscaled).
inline const ZOR::float3 kPlateCenter{-8.5f, 34.1f, -2.75f};
inline const ZOR::float3 kPlateHalf{4.0f, 0.8f, 0.15f};
inline const ZOR::float3 kFlapCenter{-6.8f, 31.3f, -2.65f};
inline const ZOR::float3 kFlapHalf{8.0f, 2.0f, 0.05f};
// The hinge: the plate's lower back edge.
inline const ZOR::float3 kPivot{-8.5f, 33.3f, -2.9f};
// The flap's turn about x: out (the are-you-sure board) and folded up behind the plate.
constexpr float kOut = 0.0f;
constexpr float kFolded = -3.14159265f;

// The picture's size and its lines: the plate's word, the flap's question and its two entries.
constexpr std::uint32_t kTextureSize = 256;
std::vector<PanelLine> TextureLines();

ModelDescription BuildModel();
// The clips by file name without ".anim": holding the plate, folding the flap up and out, and
// holding the are-you-sure board.
std::vector<std::pair<std::string, ClipDescription>> BuildClips();

} // namespace tarsel::tools::quit
