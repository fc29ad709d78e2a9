// Seeds for the shape loader: the builders' pieces as whole files, then the same files cut
// short, with counts forged and with pieces broken, so the replay reaches every refusal.
#include "SeedWriter.h"

#include "tools/writers/ShapeBuilder.h"
#include "tools/writers/ShapeContent.h"
#include "tools/writers/ShapeWriter.h"

#include <cstring>
#include <limits>
#include <string>

namespace {

using namespace tarsel::tools;
using ZOR::float3;

void PutU32(std::string& bytes, std::size_t offset, std::uint32_t value)
{
    if (offset + 4 <= bytes.size())
        std::memcpy(&bytes[offset], &value, 4);
}

} // namespace

TARSEL_FUZZ_SEEDS(shape)
{
    const ShapePiece box = BoxPiece(float3(0, -1, 0), float3(4, 1, 4));
    const ShapePiece ramp = WedgePiece(float3(2, 1, 0), float3(2, 1, 1));
    const ShapePiece turned = OrientedBoxPiece(float3(-2, 0.5f, 1), float3(1, 0.5f, 2), RotationY(0.7f));
    const ShapePiece column = PrismPiece(float3(0, 2, -3), 1.0f, 2.0f, 7);

    const std::string whole = WriteShape({box, ramp, turned, column});
    fuzzseeds::WriteFile(folder, "four-pieces.shape", whole);
    fuzzseeds::WriteFile(folder, "box.shape", WriteShape({box}));
    fuzzseeds::WriteFile(folder, "none.shape", WriteShape({}));
    fuzzseeds::WriteFile(folder, "w-ignored.shape", WriteShape({ramp, column}, -7.5f));
    for (const auto& [name, build] : ShapeBuilders())
        fuzzseeds::WriteFile(folder, "content-" + name, build());

    // Cut at a count, inside a vertex, inside the index blocks, one byte short.
    for (const std::size_t length : {std::size_t{2}, std::size_t{6}, std::size_t{30}, whole.size() / 2,
                                     whole.size() - 1})
        fuzzseeds::WriteFile(folder, "cut-" + std::to_string(length) + ".shape", whole.substr(0, length));

    // Counts that promise more than the file holds.
    std::string forged = whole;
    PutU32(forged, 0, 0xFFFFFFFFu);
    fuzzseeds::WriteFile(folder, "forged-pieces.shape", forged);
    forged = whole;
    PutU32(forged, 4, 0x10000000u);
    fuzzseeds::WriteFile(folder, "forged-vertices.shape", forged);
    forged = WriteShape({box});
    PutU32(forged, 4 + 4 + box.vertices.size() * 16, 0x40000000u);
    fuzzseeds::WriteFile(folder, "forged-indices.shape", forged);

    // Pieces the checks refuse, among good ones.
    ShapePiece open = box;
    open.indices.resize(open.indices.size() - 3);
    ShapePiece outOfRange = ramp;
    outOfRange.indices[4] = 99;
    ShapePiece leftovers = column;
    leftovers.indices.insert(leftovers.indices.end(), {0, 1});
    ShapePiece flat = BoxPiece(float3(0, 0, 0), float3(1, 0, 1));
    ShapePiece inside = turned;
    for (std::size_t i = 0; i < inside.indices.size(); i += 3)
        std::swap(inside.indices[i + 1], inside.indices[i + 2]);
    fuzzseeds::WriteFile(folder, "mixed.shape",
                         WriteShape({ShapePiece{}, open, box, outOfRange, leftovers, flat, inside, column}));
    ShapePiece nan = box;
    nan.vertices[3].y = std::numeric_limits<float>::quiet_NaN();
    ShapePiece huge = box;
    huge.vertices[5].x = 3e38f;
    fuzzseeds::WriteFile(folder, "not-finite.shape", WriteShape({nan, huge, ramp}));
}
