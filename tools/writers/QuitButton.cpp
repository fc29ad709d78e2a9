#include "tools/writers/QuitButton.h"

#include "tools/writers/PropModels.h"

namespace tarsel::tools::quit {

namespace {

using ZOR::float2;

// Where each front face finds its part of the picture (u and v from 0 to 1): the plate on the
// top fifth, the flap on the second quarter (both at their faces' aspect, 5:1 and 4:1), and a
// texel of the plain back below them for every other face.
struct Region {
    float v0, v1;
};
constexpr Region kPlateRegion{0.0f, 0.2f};
constexpr Region kFlapRegion{0.25f, 0.5f};
const float2 kPlain{0.5f, 0.875f};

// A picture line's middle on the flap's region, for a height in the level (y).
float FlapRow(float y)
{
    const float top = kFlapCenter.y + kFlapHalf.y;
    const float perUnit = (kFlapRegion.v1 - kFlapRegion.v0) * kTextureSize / (2.0f * kFlapHalf.y);
    return kFlapRegion.v0 * kTextureSize + (top - y) * perUnit;
}

float FlapColumn(float x)
{
    return (x - (kFlapCenter.x - kFlapHalf.x)) * kTextureSize / (2.0f * kFlapHalf.x);
}

} // namespace

std::vector<PanelLine> TextureLines()
{
    const float flapUnit = kTextureSize / (2.0f * kFlapHalf.x);
    // The entries start a little right of the cursor's tip (the cursor stands at x = -12.5 and
    // reaches 1.4 toward them), at the heights the menu gives the cursor for back and quit.
    const float entries = FlapColumn(-9.9f);
    return {
        {"QUIT", -1.0f, kPlateRegion.v1 * kTextureSize / 2.0f, 0.9f * kPlateRegion.v1 * kTextureSize},
        {"ARE YOU SURE?", -1.0f, FlapRow(32.75f), 1.05f * flapUnit},
        {"BACK", entries, FlapRow(31.5f), 1.4f * flapUnit},
        {"QUIT", entries, FlapRow(30.0f), 1.4f * flapUnit},
    };
}

ModelDescription BuildModel()
{
    ModelDescription model = BuildHingedPiece(kPlateCenter, kPlateHalf, kFlapCenter, kFlapHalf, kPivot);
    for (MeshVertex& v : model.vertices) {
        if (v.normal.z < 0.5f) {
            v.uv = kPlain;
            continue;
        }
        const Region& region = v.boneIds[0] == 0 ? kPlateRegion : kFlapRegion;
        v.uv = float2(v.uv.x, region.v0 + v.uv.y * (region.v1 - region.v0));
    }
    return model;
}

std::vector<std::pair<std::string, ClipDescription>> BuildClips()
{
    return {
        {"quitbutton_quit_hold", BuildHingeClip(kPivot, kFolded, kFolded, 1.0f)},
        {"quitbutton_foldup", BuildHingeClip(kPivot, kOut, kFolded, 0.4f)},
        {"quitbutton_foldout", BuildHingeClip(kPivot, kFolded, kOut, 0.4f)},
        {"quitbutton_areyousure_hold", BuildHingeClip(kPivot, kOut, kOut, 1.0f)},
    };
}

} // namespace tarsel::tools::quit
