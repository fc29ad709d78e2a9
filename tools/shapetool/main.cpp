// Checks shape files: prints one line per piece and exits non-zero when the file cannot be
// read or any piece would be dropped by the game.
#include "physics/CheckShapePiece3D.h"
#include "physics/LoadShapeData.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 3 || std::strcmp(argv[1], "--check") != 0) {
        std::fprintf(stderr, "usage: %s --check FILE\n", argc > 0 ? argv[0] : "shapetool");
        return 2;
    }
    const std::string path = argv[2];
    std::vector<std::uint8_t> bytes;
    if (!quellor::ReadShapeFile3D(path, bytes))
        return 1;
    std::vector<quellor::ShapeFilePiece3D> pieces;
    std::string reason;
    if (!quellor::ParseShapeFile3D(bytes.data(), bytes.size(), pieces, reason)) {
        std::printf("Error: Failed to load shape data from %s: %s\n", path.c_str(), reason.c_str());
        return 1;
    }
    std::printf("%s: %zu pieces\n", path.c_str(), pieces.size());
    std::size_t bad = 0;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const quellor::ShapeFilePiece3D& piece = pieces[i];
        const quellor::ShapePieceCheck3D check = quellor::CheckShapePiece3D(piece.vertices, piece.indices);
        std::string note;
        if (piece.leftovers > 0)
            note = ", " + std::to_string(piece.leftovers) + " left-over indices ignored";
        if (check.valid) {
            std::printf("piece %zu: ok, %zu vertices, %zu triangles, volume %g%s\n", i, piece.vertices.size(),
                        piece.indices.size() / 3, check.volume, note.c_str());
        } else {
            std::printf("piece %zu: bad, %s%s\n", i, check.reason.c_str(), note.c_str());
            ++bad;
        }
    }
    if (pieces.empty())
        std::printf("no pieces\n");
    return bad == 0 ? 0 : 1;
}
