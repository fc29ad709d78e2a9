#pragma once
#include "renderer/math/float3.h"

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

namespace quellor {

// A convex hull as an index-addressed half-edge mesh of triangles. Faces are added
// counter-clockwise as seen from outside; a face (a, b, c) owns the half-edges a->b, b->c and
// c->a, and its first half-edge is c->a, so walking from it visits a, b, c.
class HullMesh3D {
public:
    struct Vertex {
        ZOR::float3 position;
        std::int32_t outgoing = -1;
        std::int32_t nextFree = -1;
        std::uint8_t inUse = 0;
    };

    struct HalfEdge {
        std::int32_t target = -1; // the vertex this half-edge points to
        std::int32_t face = -1;
        std::int32_t next = -1;
        std::int32_t prev = -1;
        std::int32_t twin = -1;
        std::int32_t nextFree = -1;
        std::uint8_t inUse = 0;
    };

    struct Face {
        std::int32_t first = -1;
        std::int32_t nextFree = -1;
        std::uint8_t inUse = 0;
    };

    using EdgeKey = std::pair<std::int32_t, std::int32_t>; // (from vertex, to vertex)

    HullMesh3D() = default;

    void Clear();

    // Returns the new vertex's index and folds its position into the running centroid.
    std::int32_t AddVertex(const ZOR::float3& position);

    // Returns the new face's index, or -1 (and adds nothing) when an index names no vertex.
    std::int32_t AddFace(std::int32_t a, std::int32_t b, std::int32_t c);

    // The vertex farthest along direction, by hill climbing over the vertex graph. A walk stops
    // at a missing link, so hulls that are not closed still give an answer; an empty hull gives
    // the origin.
    ZOR::float3 Support(const ZOR::float3& direction) const;

    // Targets of the face's first three half-edges, that is its corners a, b, c.
    void FaceCorners(std::int32_t face, ZOR::float3& a, ZOR::float3& b, ZOR::float3& c) const;

    const std::vector<Vertex>& Vertices() const { return m_vertices; }
    const std::vector<HalfEdge>& HalfEdges() const { return m_halfEdges; }
    const std::vector<Face>& Faces() const { return m_faces; }
    const std::map<EdgeKey, std::int32_t>& EdgeMap() const { return m_edgeMap; }
    const ZOR::float3& Centroid() const { return m_centroid; }

    std::uint32_t VertexCount() const { return m_vertexCount; }
    std::uint32_t HalfEdgeCount() const { return m_halfEdgeCount; }
    std::uint32_t FaceCount() const { return m_faceCount; }
    std::uint32_t VerticesWithoutEdge() const { return m_verticesWithoutEdge; }
    std::uint32_t HalfEdgesWithoutFace() const { return m_halfEdgesWithoutFace; }

private:
    std::int32_t TakeVertex();
    std::int32_t TakeHalfEdge();
    std::int32_t TakeFace();
    ZOR::float3 SupportByScan(const ZOR::float3& direction) const;

    std::vector<Vertex> m_vertices;
    std::vector<HalfEdge> m_halfEdges;
    std::vector<Face> m_faces;
    std::int32_t m_freeVertex = -1;
    std::int32_t m_freeHalfEdge = -1;
    std::int32_t m_freeFace = -1;
    std::uint32_t m_vertexCount = 0;
    std::uint32_t m_halfEdgeCount = 0;
    std::uint32_t m_faceCount = 0;
    std::uint32_t m_verticesWithoutEdge = 0;
    std::uint32_t m_halfEdgesWithoutFace = 0;
    std::map<EdgeKey, std::int32_t> m_edgeMap;
    ZOR::float3 m_centroid;
};

} // namespace quellor
