#include "tools/writers/ShapeWriter.h"

#include "tools/writers/FileWriting.h"

namespace tarsel::tools {

std::string WriteShape(const std::vector<ShapePiece>& pieces, float w)
{
    std::string out;
    Append(out, static_cast<std::uint32_t>(pieces.size()));
    for (const ShapePiece& piece : pieces) {
        Append(out, static_cast<std::uint32_t>(piece.vertices.size()));
        for (const ZOR::float3& v : piece.vertices) {
            Append(out, v.x);
            Append(out, v.y);
            Append(out, v.z);
            Append(out, w);
        }
    }
    for (const ShapePiece& piece : pieces) {
        Append(out, static_cast<std::uint32_t>(piece.indices.size()));
        for (const std::uint32_t index : piece.indices)
            Append(out, index);
    }
    return out;
}

} // namespace tarsel::tools
