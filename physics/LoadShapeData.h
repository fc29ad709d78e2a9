#pragma once
// Reading shape files: little-endian, no header. A u32 piece count N; N vertex blocks (u32 K,
// then K points of four floats, the fourth ignored); N index blocks (u32 M, then M u32
// indices into that piece's own vertices, read in whole triangles). Block i of each half
// belongs to piece i. The whole file is read into memory and every read is checked against
// the bytes there are.
#include "physics/ShapeData3D.h"
#include "renderer/math/float3.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quellor {

// Larger files are refused unread.
constexpr std::size_t kMaxShapeFileBytes = std::size_t{4} << 20;

// One piece as it stands in the file.
struct ShapeFilePiece3D {
    std::vector<ZOR::float3> vertices;
    std::vector<std::uint32_t> indices; // whole triangles
    std::size_t leftovers = 0;          // indices after the last whole triangle, left out
};

// Splits the bytes into their N pieces. False, with the reason, when a count promises more
// than the bytes hold or the bytes end early; bytes after the last block are not read.
bool ParseShapeFile3D(const std::uint8_t* data, std::size_t size, std::vector<ShapeFilePiece3D>& pieces,
                      std::string& reason);

// Parses the bytes and keeps the pieces that pass CheckShapePiece3D, in order; each refused
// piece is dropped with a warning naming `name` and the piece. Bytes that do not parse print
// "Error: Failed to load shape data from <name>: <reason>" and give an empty shape.
ShapeData3D ShapeDataFromBytes(const std::uint8_t* data, std::size_t size, const std::string& name);

// Reads the whole file into bytes. A file that cannot be opened prints "Error: Failed to load
// shape data from <path>", one that cannot be read whole or is over kMaxShapeFileBytes the same
// with ": <reason>"; both return false.
bool ReadShapeFile3D(const std::string& path, std::vector<std::uint8_t>& bytes);

// Reads the file at path as ShapeDataFromBytes does. A file that cannot be opened prints
// "Error: Failed to load shape data from <path>" and gives an empty shape.
ShapeData3D LoadShapeData(std::string path);

} // namespace quellor
