// Shape files from arbitrary bytes: whatever pieces survive loading are written again by the
// content writer and must load to the same pieces; they become a static mesh collider (as
// stored, and mirrored), a box falls onto it for a few steps and rays are cast at it. Every
// pose and every hit must stay finite.
#include "physics/BuildShapeColliderDescription3D.h"
#include "physics/LoadShapeData.h"
#include "physics/PhysicsWorld3D.h"
#include "physics/RigidBody3D.h"
#include "tools/writers/ShapeWriter.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using ZOR::float3;

bool Finite(const float3& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "shape fuzz: %s\n", what);
        std::abort();
    }
}

// Written again from what survived, the shape loads to the same pieces, every one kept.
void CheckWrittenAgain(const quellor::ShapeData3D& shape)
{
    std::vector<tarsel::tools::ShapePiece> pieces(shape.PieceCount());
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        for (const quellor::Vec4& v : shape.m_vertexLists[i])
            pieces[i].vertices.emplace_back(v.x, v.y, v.z);
        pieces[i].indices = shape.m_indexLists[i];
    }
    const std::string bytes = tarsel::tools::WriteShape(pieces);
    const quellor::ShapeData3D back =
        quellor::ShapeDataFromBytes(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), "saved.shape");
    Require(back.m_indexLists == shape.m_indexLists && back.PieceCount() == shape.PieceCount(),
            "the shape written again loads other pieces");
    const auto bits = [](const quellor::Vec4& v) {
        return std::array{std::bit_cast<std::uint32_t>(v.x), std::bit_cast<std::uint32_t>(v.y),
                          std::bit_cast<std::uint32_t>(v.z), std::bit_cast<std::uint32_t>(v.w)};
    };
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const auto& a = shape.m_vertexLists[i];
        const auto& b = back.m_vertexLists[i];
        Require(a.size() == b.size(), "the shape written again loads other vertices");
        for (std::size_t v = 0; v < a.size(); ++v)
            Require(bits(a[v]) == bits(b[v]), "the shape written again loads other vertices");
    }
}

void Simulate(const quellor::ShapeData3D& shape, const float3& scale)
{
    quellor::PhysicsWorld3D world;
    world.SetGravity(float3(0.0f, -10.0f, 0.0f));

    quellor::BodyDescription3D ground;
    ground.m_motionType = quellor::kBodyStatic;
    quellor::RigidBody3D* floor = world.CreateBody(ground);
    Require(floor != nullptr, "no static body");
    Require(floor->AddCollider(quellor::BuildShapeColliderDescription3D(shape, scale, "fuzz.shape")) != nullptr,
            "the mesh collider was not built");

    // The box starts above the highest surviving vertex.
    float top = 0.0f;
    for (const auto& vertices : shape.m_vertexLists)
        for (const quellor::Vec4& v : vertices)
            top = std::fmax(top, std::fabs(v.y * scale.y));
    quellor::BodyDescription3D falling;
    falling.m_position = float3(0.1f, top + 2.0f, -0.1f);
    quellor::RigidBody3D* box = world.CreateBody(falling);
    quellor::ColliderDescription3D boxShape;
    boxShape.m_type = quellor::kColliderBox;
    boxShape.m_box.halfExtents = float3(0.5f, 0.5f, 0.5f);
    Require(box->AddCollider(boxShape) != nullptr, "the box was not built");

    for (int step = 0; step < 30; ++step) {
        world.Step(1.0f / 60.0f, 8, 8);
        Require(Finite(box->m_position) && Finite(box->m_linearVelocity), "the box left the finite numbers");
    }

    const float3 origins[] = {float3(0.0f, top + 10.0f, 0.0f), float3(top + 10.0f, 0.5f, 0.25f),
                              float3(-3.0f, -top - 10.0f, 2.0f), float3(0.0f, 0.0f, 0.0f)};
    const float3 directions[] = {float3(0.0f, -1.0f, 0.0f), float3(-1.0f, 0.0f, 0.0f), float3(0.2f, 1.0f, -0.1f),
                                 float3(0.0f, 0.0f, 1.0f)};
    for (int r = 0; r < 4; ++r) {
        quellor::RayCastResult3D hit;
        world.RayCast(hit, origins[r], directions[r], 4.0f * top + 40.0f);
        if (hit.m_hit) {
            Require(Finite(hit.m_point) && Finite(hit.m_normal) && std::isfinite(hit.m_fraction),
                    "a ray hit at a point that is not finite");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Dropped pieces and refused files log a line each; keep the fuzzer's output readable.
    static const bool silenced = std::freopen("/dev/null", "w", stdout) != nullptr;
    static_cast<void>(silenced);
    const quellor::ShapeData3D shape = quellor::ShapeDataFromBytes(data, size, "fuzz.shape");
    CheckWrittenAgain(shape);
    Simulate(shape, float3(1.0f, 1.0f, 1.0f));
    Simulate(shape, float3(-1.0f, 2.0f, 0.5f));
    return 0;
}
