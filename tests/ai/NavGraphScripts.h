#pragma once
// Navigation graphs as scripts of graph operations, shared by the AI tests, the A* benchmark and
// the nav_graph fuzz target with its seeds: builders for the graphs they search, and the byte
// form the fuzz target reads (so that its seeds are the tests' own graphs).
#include "ai/pathfinding/NavGraph.h"
#include "tests/support/PhysicsScenes3D.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace quellor::test::navscripts {

enum class NavOpKind : std::uint8_t { AddNode = 0, AddEdge = 1, RemoveNode = 2, Request = 3 };

// One operation. AddNode: id a at p, radius value. AddEdge: a -> b, cost value, type.
// RemoveNode: id a. Request: a path from p to q.
struct NavOp {
    NavOpKind kind = NavOpKind::AddNode;
    std::uint32_t a = 0;
    std::uint32_t b = 0;
    std::uint32_t type = 0;
    float value = 0.0f;
    float p[3] = {0.0f, 0.0f, 0.0f};
    float q[3] = {0.0f, 0.0f, 0.0f};
};

using NavScript = std::vector<NavOp>;

// A ray query under which nothing is ever in the way.
inline bool NothingInTheWay(const Vec4&, const Vec4&, float)
{
    return false;
}

inline Vec4 PointOf(const float (&v)[3])
{
    return Vec4(v[0], v[1], v[2], 1.0f);
}

inline NavOp AddNodeOp(std::uint32_t id, float x, float y, float z, float radius = 1.0f)
{
    NavOp op;
    op.kind = NavOpKind::AddNode;
    op.a = id;
    op.value = radius;
    op.p[0] = x;
    op.p[1] = y;
    op.p[2] = z;
    return op;
}

inline NavOp AddEdgeOp(std::uint32_t from, std::uint32_t to, float cost, std::uint32_t type = 0)
{
    NavOp op;
    op.kind = NavOpKind::AddEdge;
    op.a = from;
    op.b = to;
    op.value = cost;
    op.type = type;
    return op;
}

inline NavOp RemoveNodeOp(std::uint32_t id)
{
    NavOp op;
    op.kind = NavOpKind::RemoveNode;
    op.a = id;
    return op;
}

inline NavOp RequestOp(const Vec4& start, const Vec4& goal)
{
    NavOp op;
    op.kind = NavOpKind::Request;
    op.p[0] = start.x;
    op.p[1] = start.y;
    op.p[2] = start.z;
    op.q[0] = goal.x;
    op.q[1] = goal.y;
    op.q[2] = goal.z;
    return op;
}

// Applies the graph operations of a script; requests are left to the caller.
inline void ApplyGraphOps(NavGraph& graph, const NavScript& script)
{
    for (const NavOp& op : script) {
        switch (op.kind) {
        case NavOpKind::AddNode: graph.AddNode(PointOf(op.p), op.value, op.a); break;
        case NavOpKind::AddEdge: graph.AddEdge(op.a, op.b, op.value, op.type); break;
        case NavOpKind::RemoveNode: graph.RemoveNode(op.a); break;
        case NavOpKind::Request: break;
        }
    }
}

// The requests of a script, as start and goal pairs.
inline std::vector<std::pair<Vec4, Vec4>> RequestsOf(const NavScript& script)
{
    std::vector<std::pair<Vec4, Vec4>> requests;
    for (const NavOp& op : script)
        if (op.kind == NavOpKind::Request)
            requests.emplace_back(PointOf(op.p), PointOf(op.q));
    return requests;
}

// Byte form: one kind byte (taken modulo 4), then the operation's fields as little-endian
// 32-bit words. AddNode: id, x, y, z, radius. AddEdge: from, to, cost, type. RemoveNode: id.
// Request: three start and three goal coordinates. A truncated last operation is dropped.
inline void PutWord(std::string& bytes, std::uint32_t word)
{
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<char>((word >> (8 * i)) & 0xFFu));
}

inline void PutFloat(std::string& bytes, float value)
{
    std::uint32_t word;
    std::memcpy(&word, &value, sizeof word);
    PutWord(bytes, word);
}

inline std::string EncodeScript(const NavScript& script)
{
    std::string bytes;
    for (const NavOp& op : script) {
        bytes.push_back(static_cast<char>(op.kind));
        switch (op.kind) {
        case NavOpKind::AddNode:
            PutWord(bytes, op.a);
            for (float v : op.p)
                PutFloat(bytes, v);
            PutFloat(bytes, op.value);
            break;
        case NavOpKind::AddEdge:
            PutWord(bytes, op.a);
            PutWord(bytes, op.b);
            PutFloat(bytes, op.value);
            PutWord(bytes, op.type);
            break;
        case NavOpKind::RemoveNode: PutWord(bytes, op.a); break;
        case NavOpKind::Request:
            for (float v : op.p)
                PutFloat(bytes, v);
            for (float v : op.q)
                PutFloat(bytes, v);
            break;
        }
    }
    return bytes;
}

// Reads at most maxOps operations.
inline NavScript DecodeScript(const std::uint8_t* data, std::size_t size, std::size_t maxOps)
{
    NavScript script;
    std::size_t at = 0;
    auto word = [&](std::uint32_t& out) {
        if (size - at < 4)
            return false;
        out = static_cast<std::uint32_t>(data[at]) | static_cast<std::uint32_t>(data[at + 1]) << 8 |
              static_cast<std::uint32_t>(data[at + 2]) << 16 | static_cast<std::uint32_t>(data[at + 3]) << 24;
        at += 4;
        return true;
    };
    auto real = [&](float& out) {
        std::uint32_t bits;
        if (!word(bits))
            return false;
        std::memcpy(&out, &bits, sizeof out);
        return true;
    };
    while (at < size && script.size() < maxOps) {
        NavOp op;
        op.kind = static_cast<NavOpKind>(data[at++] % 4);
        bool complete = false;
        switch (op.kind) {
        case NavOpKind::AddNode:
            complete = word(op.a) && real(op.p[0]) && real(op.p[1]) && real(op.p[2]) && real(op.value);
            break;
        case NavOpKind::AddEdge: complete = word(op.a) && word(op.b) && real(op.value) && word(op.type); break;
        case NavOpKind::RemoveNode: complete = word(op.a); break;
        case NavOpKind::Request:
            complete = real(op.p[0]) && real(op.p[1]) && real(op.p[2]) && real(op.q[0]) && real(op.q[1]) &&
                       real(op.q[2]);
            break;
        }
        if (!complete)
            break;
        script.push_back(op);
    }
    return script;
}

// n nodes scattered in a 100 x 20 x 100 box, each with up to `outDegree` edges to random other
// nodes, costing their length times a factor in [1, 2) (so the straight-line heuristic never
// overestimates), and a request between two random nodes' positions.
inline NavScript RandomGraph(std::uint32_t seed, int n, int outDegree)
{
    scenes::SceneRandom3D random(seed);
    NavScript script;
    std::vector<Vec4> positions;
    for (int i = 0; i < n; ++i) {
        const Vec4 p(random.Range(0.0f, 100.0f), random.Range(0.0f, 20.0f), random.Range(0.0f, 100.0f), 1.0f);
        positions.push_back(p);
        script.push_back(AddNodeOp(static_cast<std::uint32_t>(i), p.x, p.y, p.z));
    }
    for (int i = 0; i < n; ++i) {
        const int degree = static_cast<int>(random.Range(0.0f, static_cast<float>(outDegree) + 1.0f));
        for (int k = 0; k < degree; ++k) {
            const int j = static_cast<int>(random.Range(0.0f, static_cast<float>(n))) % n;
            const Vec4& a = positions[static_cast<std::size_t>(i)];
            const Vec4& b = positions[static_cast<std::size_t>(j)];
            const float length = std::sqrt((b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y) +
                                           (b.z - a.z) * (b.z - a.z));
            script.push_back(AddEdgeOp(static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(j),
                                       length * random.Range(1.0f, 2.0f)));
        }
    }
    const int from = static_cast<int>(random.Range(0.0f, static_cast<float>(n))) % n;
    const int to = static_cast<int>(random.Range(0.0f, static_cast<float>(n))) % n;
    script.push_back(RequestOp(positions[static_cast<std::size_t>(from)], positions[static_cast<std::size_t>(to)]));
    return script;
}

// The arena graph: a jittered square grid of n nodes (spacing 10, y within +-3), each node with
// edges to its up to five nearest neighbours (cost = length, 5 % jump edges), and `requests`
// pairs of positions on nodes at least half the arena's width apart.
inline NavScript ArenaGraph(std::uint32_t seed, int n, int requests)
{
    scenes::SceneRandom3D random(seed);
    const int side = std::max(1, static_cast<int>(std::ceil(std::sqrt(static_cast<float>(n)))));
    const float spacing = 10.0f;
    NavScript script;
    std::vector<Vec4> positions;
    for (int i = 0; i < n; ++i) {
        const Vec4 p(static_cast<float>(i % side) * spacing + random.Range(-2.0f, 2.0f), random.Range(-3.0f, 3.0f),
                     static_cast<float>(i / side) * spacing + random.Range(-2.0f, 2.0f), 1.0f);
        positions.push_back(p);
        script.push_back(AddNodeOp(static_cast<std::uint32_t>(i), p.x, p.y, p.z, 2.0f));
    }
    auto distance = [&](int i, int j) {
        const Vec4& a = positions[static_cast<std::size_t>(i)];
        const Vec4& b = positions[static_cast<std::size_t>(j)];
        return std::sqrt((b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y) + (b.z - a.z) * (b.z - a.z));
    };
    std::vector<int> others;
    for (int i = 0; i < n; ++i) {
        // Neighbours come from the surrounding grid cells only, so building stays linear.
        others.clear();
        const int column = i % side;
        const int row = i / side;
        for (int dr = -2; dr <= 2; ++dr)
            for (int dc = -2; dc <= 2; ++dc) {
                const int c = column + dc;
                const int r = row + dr;
                const int j = r * side + c;
                if ((dr || dc) && c >= 0 && c < side && r >= 0 && j < n)
                    others.push_back(j);
            }
        const std::size_t keep = std::min<std::size_t>(5, others.size());
        std::partial_sort(others.begin(), others.begin() + static_cast<long>(keep), others.end(),
                          [&](int a, int b) { return distance(i, a) < distance(i, b); });
        for (std::size_t k = 0; k < keep; ++k) {
            const std::uint32_t type = random.Next() < 0.05f ? 1u : 0u;
            script.push_back(AddEdgeOp(static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(others[k]),
                                       distance(i, others[k]), type));
        }
    }
    const float halfArena = 0.5f * static_cast<float>(side - 1) * spacing;
    for (int made = 0, tries = 0; made < requests && tries < requests * 100; ++tries) {
        const int from = static_cast<int>(random.Range(0.0f, static_cast<float>(n))) % n;
        const int to = static_cast<int>(random.Range(0.0f, static_cast<float>(n))) % n;
        if (distance(from, to) < halfArena)
            continue;
        script.push_back(RequestOp(positions[static_cast<std::size_t>(from)], positions[static_cast<std::size_t>(to)]));
        ++made;
    }
    return script;
}

} // namespace quellor::test::navscripts
