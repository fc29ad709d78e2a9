#include "physics/HullMesh3D.h"

namespace quellor {

namespace {

// Takes a record from the free list when it has one, else appends one; either way in use.
template <typename Record>
std::int32_t TakeRecord(std::vector<Record>& records, std::int32_t& freeHead)
{
    std::int32_t index;
    if (freeHead >= 0) {
        index = freeHead;
        freeHead = records[static_cast<std::size_t>(index)].nextFree;
        records[static_cast<std::size_t>(index)] = Record{};
    } else {
        index = static_cast<std::int32_t>(records.size());
        records.emplace_back();
    }
    records[static_cast<std::size_t>(index)].inUse = 1;
    return index;
}

} // namespace

void HullMesh3D::Clear()
{
    *this = HullMesh3D();
}

std::int32_t HullMesh3D::TakeVertex()
{
    return TakeRecord(m_vertices, m_freeVertex);
}

std::int32_t HullMesh3D::TakeHalfEdge()
{
    return TakeRecord(m_halfEdges, m_freeHalfEdge);
}

std::int32_t HullMesh3D::TakeFace()
{
    return TakeRecord(m_faces, m_freeFace);
}

std::int32_t HullMesh3D::AddVertex(const ZOR::float3& position)
{
    const std::int32_t index = TakeVertex();
    Vertex& vertex = m_vertices[static_cast<std::size_t>(index)];
    vertex.position = position;
    vertex.outgoing = -1;
    const float n = static_cast<float>(m_vertexCount);
    m_centroid += (position - m_centroid) / (n + 1.0f);
    ++m_vertexCount;
    ++m_verticesWithoutEdge;
    return index;
}

std::int32_t HullMesh3D::AddFace(std::int32_t a, std::int32_t b, std::int32_t c)
{
    // A face naming a vertex that does not exist would index past the vertex table later on.
    for (const std::int32_t v : {a, b, c}) {
        if (v < 0 || static_cast<std::size_t>(v) >= m_vertices.size() || !m_vertices[static_cast<std::size_t>(v)].inUse)
            return -1;
    }

    const std::int32_t face = TakeFace();
    const std::int32_t ends[3][2] = {{c, a}, {a, b}, {b, c}};
    std::int32_t loop[3];
    for (int k = 0; k < 3; ++k) {
        const std::int32_t from = ends[k][0];
        const std::int32_t to = ends[k][1];
        std::int32_t e;
        std::int32_t t;
        const auto found = m_edgeMap.find(EdgeKey(from, to));
        if (found != m_edgeMap.end()) {
            e = found->second;
            t = m_halfEdges[static_cast<std::size_t>(e)].twin;
        } else {
            e = TakeHalfEdge();
            t = TakeHalfEdge();
            m_halfEdges[static_cast<std::size_t>(e)].twin = t;
            m_halfEdges[static_cast<std::size_t>(t)].twin = e;
            m_edgeMap.emplace(EdgeKey(from, to), e);
            m_edgeMap.emplace(EdgeKey(to, from), t);
            m_halfEdgeCount += 2;
            m_halfEdgesWithoutFace += 2;
        }

        HalfEdge& edge = m_halfEdges[static_cast<std::size_t>(e)];
        if (edge.target < 0)
            edge.target = to;
        if (t >= 0 && m_halfEdges[static_cast<std::size_t>(t)].target < 0)
            m_halfEdges[static_cast<std::size_t>(t)].target = from;
        // A directed edge already used by another face stays that face's.
        if (edge.face < 0) {
            edge.face = face;
            --m_halfEdgesWithoutFace;
        }
        Vertex& fromVertex = m_vertices[static_cast<std::size_t>(from)];
        if (fromVertex.outgoing < 0) {
            fromVertex.outgoing = e;
            --m_verticesWithoutEdge;
        }
        Face& record = m_faces[static_cast<std::size_t>(face)];
        if (record.first < 0)
            record.first = e;
        loop[k] = e;
    }

    for (int k = 0; k < 3; ++k) {
        m_halfEdges[static_cast<std::size_t>(loop[k])].next = loop[(k + 1) % 3];
        m_halfEdges[static_cast<std::size_t>(loop[(k + 1) % 3])].prev = loop[k];
    }
    ++m_faceCount;
    return face;
}

ZOR::float3 HullMesh3D::SupportByScan(const ZOR::float3& direction) const
{
    ZOR::float3 best;
    bool found = false;
    float bestValue = 0.0f;
    for (const Vertex& vertex : m_vertices) {
        if (!vertex.inUse)
            continue;
        const float value = direction.Dot(vertex.position - m_centroid);
        if (!found || value > bestValue) {
            best = vertex.position;
            bestValue = value;
            found = true;
        }
    }
    return best;
}

ZOR::float3 HullMesh3D::Support(const ZOR::float3& direction) const
{
    if (m_vertices.empty())
        return ZOR::float3();
    if (m_vertexCount == 1)
        return m_vertices[0].position;

    // Without an edge to leave the start vertex by there is no graph to climb.
    if (!m_vertices[0].inUse || m_vertices[0].outgoing < 0)
        return SupportByScan(direction);

    std::int32_t current = 0;
    float best = direction.Dot(m_vertices[0].position - m_centroid);
    // Every pass that goes on strictly raises best, so passes are bounded by the vertex count;
    // a walk around one vertex is bounded by the half-edge count even where links are broken.
    const std::size_t maxSteps = m_halfEdges.size();
    for (std::size_t pass = 0; pass <= m_vertices.size(); ++pass) {
        const float before = best;
        const std::int32_t first = m_vertices[static_cast<std::size_t>(current)].outgoing;
        if (first < 0)
            break;
        std::int32_t e = first;
        for (std::size_t step = 0; step < maxSteps; ++step) {
            const HalfEdge& edge = m_halfEdges[static_cast<std::size_t>(e)];
            if (edge.target >= 0) {
                const float value =
                    direction.Dot(m_vertices[static_cast<std::size_t>(edge.target)].position - m_centroid);
                if (value >= best + 1e-5f) {
                    best = value;
                    current = edge.target;
                }
            }
            if (edge.twin < 0)
                break;
            const std::int32_t next = m_halfEdges[static_cast<std::size_t>(edge.twin)].next;
            if (next < 0 || next == first)
                break;
            e = next;
        }
        if (!(best > before))
            break;
    }
    return m_vertices[static_cast<std::size_t>(current)].position;
}

void HullMesh3D::FaceCorners(std::int32_t face, ZOR::float3& a, ZOR::float3& b, ZOR::float3& c) const
{
    std::int32_t e = m_faces[static_cast<std::size_t>(face)].first;
    ZOR::float3* corners[3] = {&a, &b, &c};
    ZOR::float3 last;
    for (int k = 0; k < 3; ++k) {
        if (e >= 0 && m_halfEdges[static_cast<std::size_t>(e)].target >= 0)
            last = m_vertices[static_cast<std::size_t>(m_halfEdges[static_cast<std::size_t>(e)].target)].position;
        *corners[k] = last;
        if (e >= 0)
            e = m_halfEdges[static_cast<std::size_t>(e)].next;
    }
}

} // namespace quellor
