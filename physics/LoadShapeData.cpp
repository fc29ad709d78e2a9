#include "physics/LoadShapeData.h"

#include "physics/CheckShapePiece3D.h"
#include "renderer/ByteReader.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace quellor {

namespace {

std::string Str(std::size_t value)
{
    return std::to_string(value);
}

} // namespace

bool ParseShapeFile3D(const std::uint8_t* data, std::size_t size, std::vector<ShapeFilePiece3D>& pieces,
                      std::string& reason)
{
    pieces.clear();
    ZOR::ByteReader in(std::span<const std::uint8_t>(data, size));
    std::uint32_t n;
    if (!in.Read(n)) {
        reason = "no piece count";
        return false;
    }
    // Each piece needs at least its two counts; checking first keeps a forged count from
    // reserving memory the file could never fill.
    if (n > in.Remaining() / 8) {
        reason = "piece count " + Str(n) + " is more than " + Str(in.Remaining()) + " bytes can hold";
        return false;
    }
    pieces.resize(n);
    for (std::uint32_t i = 0; i < n; ++i) {
        std::uint32_t k;
        if (!in.Read(k)) {
            reason = "the vertex count of piece " + Str(i) + " is cut off";
            return false;
        }
        if (k > in.Remaining() / 16) {
            reason = "piece " + Str(i) + " has " + Str(k) + " vertices, more than the " + Str(in.Remaining()) +
                     " bytes left hold";
            return false;
        }
        std::vector<ZOR::float3>& vertices = pieces[i].vertices;
        vertices.resize(k);
        for (ZOR::float3& v : vertices) {
            float ignoredW;
            in.Read(v.x);
            in.Read(v.y);
            in.Read(v.z);
            in.Read(ignoredW);
        }
    }
    for (std::uint32_t i = 0; i < n; ++i) {
        std::uint32_t m;
        if (!in.Read(m)) {
            reason = "the index count of piece " + Str(i) + " is cut off";
            return false;
        }
        if (m > in.Remaining() / 4) {
            reason = "piece " + Str(i) + " has " + Str(m) + " indices, more than the " + Str(in.Remaining()) +
                     " bytes left hold";
            return false;
        }
        ShapeFilePiece3D& piece = pieces[i];
        piece.leftovers = m % 3;
        piece.indices.resize(m - piece.leftovers);
        for (std::uint32_t& index : piece.indices)
            in.Read(index);
        for (std::size_t l = 0; l < piece.leftovers; ++l) {
            std::uint32_t ignored;
            in.Read(ignored);
        }
    }
    return true;
}

ShapeData3D ShapeDataFromBytes(const std::uint8_t* data, std::size_t size, const std::string& name)
{
    ShapeData3D shape;
    std::vector<ShapeFilePiece3D> pieces;
    std::string reason;
    if (!ParseShapeFile3D(data, size, pieces, reason)) {
        std::printf("Error: Failed to load shape data from %s: %s\n", name.c_str(), reason.c_str());
        return shape;
    }
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const ShapePieceCheck3D check = CheckShapePiece3D(pieces[i].vertices, pieces[i].indices);
        if (!check.valid) {
            std::printf("Warning: Dropped piece %zu of shape data %s: %s\n", i, name.c_str(), check.reason.c_str());
            continue;
        }
        std::vector<Vec4> vertices;
        vertices.reserve(pieces[i].vertices.size());
        for (const ZOR::float3& v : pieces[i].vertices)
            vertices.emplace_back(v.x, v.y, v.z, 1.0f);
        shape.m_vertexLists.push_back(std::move(vertices));
        shape.m_indexLists.push_back(std::move(pieces[i].indices));
    }
    return shape;
}

bool ReadShapeFile3D(const std::string& path, std::vector<std::uint8_t>& bytes)
{
    bytes.clear();
    std::ifstream file(path, std::ios::binary);
    if (!file.is_open()) {
        std::printf("Error: Failed to load shape data from %s\n", path.c_str());
        return false;
    }
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) {
        std::printf("Error: Failed to load shape data from %s: %s\n", path.c_str(), error.message().c_str());
        return false;
    }
    if (size > kMaxShapeFileBytes) {
        std::printf("Error: Failed to load shape data from %s: %ju bytes, over the limit of %zu\n", path.c_str(),
                    size, kMaxShapeFileBytes);
        return false;
    }
    bytes.resize(static_cast<std::size_t>(size));
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (static_cast<std::size_t>(file.gcount()) != bytes.size()) {
        std::printf("Error: Failed to load shape data from %s: read %zu of %zu bytes\n", path.c_str(),
                    static_cast<std::size_t>(file.gcount()), bytes.size());
        bytes.clear();
        return false;
    }
    return true;
}

ShapeData3D LoadShapeData(std::string path)
{
    std::vector<std::uint8_t> bytes;
    if (!ReadShapeFile3D(path, bytes))
        return ShapeData3D();
    return ShapeDataFromBytes(bytes.data(), bytes.size(), path);
}

} // namespace quellor
