#include "PhysicsTestSupport.h"
#include "physics/BoxColliderGeometry3D.h"
#include "physics/ColliderGeometry3D.h"
#include "physics/MeshColliderGeometry3D.h"
#include "physics/PolyhedronColliderGeometry3D.h"
#include "physics/QuadColliderGeometry3D.h"
#include "physics/SphereColliderGeometry3D.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quellor {
namespace {

using test::ColliderFactory;
using test::ExpectNear;
using ZOR::float3;

TEST(Collider3DTest, DestroyGivesBothBlocksBack)
{
    ColliderFactory factory;
    ColliderDescription3D mesh;
    mesh.m_type = kColliderMesh;
    mesh.m_hulls = {test::UnitTetrahedron()};
    const std::pair<ColliderDescription3D, std::size_t> cases[] = {
        {test::SphereDescription(float3(), 1.0f), sizeof(SphereColliderGeometry3D)},
        {test::QuadDescription(float3(), 1.0f, 1.0f), sizeof(QuadColliderGeometry3D)},
        {test::HullDescription(test::UnitTetrahedron()), sizeof(PolyhedronColliderGeometry3D)},
        {test::BoxDescription(float3(), float3(1, 1, 1)), sizeof(BoxColliderGeometry3D)},
        {mesh, sizeof(MeshColliderGeometry3D)},
    };
    for (const auto& [description, geometrySize] : cases) {
        // The first collider of a kind makes the pages; after that both counts must come back.
        factory.Destroy(factory.Make(description));
        const BlockPool* geometryPool = factory.Allocator().GetPool(geometrySize);
        ASSERT_NE(geometryPool, nullptr);
        const std::uint32_t colliderFree = factory.Pool().GetFreeCount();
        const std::uint32_t geometryFree = geometryPool->GetFreeCount();

        Collider3D* collider = factory.Make(description);
        ASSERT_NE(collider, nullptr);
        EXPECT_EQ(factory.Pool().GetFreeCount(), colliderFree - 1);
        EXPECT_EQ(geometryPool->GetFreeCount(), geometryFree - 1);
        factory.Destroy(collider);
        EXPECT_EQ(factory.Pool().GetFreeCount(), colliderFree);
        EXPECT_EQ(geometryPool->GetFreeCount(), geometryFree);
    }
}

TEST(Collider3DTest, DestroyLeavesTheBodyAndProxyLists)
{
    ColliderFactory factory;
    RigidBody3D body(test::BodyAt(float3()));
    IntrusiveList<BroadphaseProxy3D, &BroadphaseProxy3D::m_link> proxies;
    Collider3D* first = factory.Make(test::SphereDescription(float3(), 1.0f), &body);
    Collider3D* second = factory.Make(test::BoxDescription(float3(), float3(1, 1, 1)), &body);
    EXPECT_EQ(first->m_geometry->GetCollider(), first);
    EXPECT_EQ(first->m_proxy.m_collider, first);
    for (Collider3D* collider : {first, second}) {
        body.m_colliders.PushBack(collider);
        proxies.PushBack(&collider->m_proxy);
    }
    factory.Destroy(first);
    ASSERT_EQ(body.m_colliders.Count(), 1u);
    EXPECT_EQ(body.m_colliders.Front(), second);
    ASSERT_EQ(proxies.Count(), 1u);
    EXPECT_EQ(proxies.Front(), &second->m_proxy);
    factory.Destroy(second);
    EXPECT_TRUE(body.m_colliders.Empty());
    EXPECT_TRUE(proxies.Empty());
}

TEST(Collider3DTest, UnknownTypeGivesNullAndTakesNothing)
{
    ColliderFactory factory;
    ColliderDescription3D description = test::SphereDescription(float3(), 1.0f);
    for (const std::uint8_t type : {std::uint8_t(5), std::uint8_t(200), std::uint8_t(kColliderNone)}) {
        description.m_type = type;
        EXPECT_EQ(factory.Make(description), nullptr);
    }
    EXPECT_EQ(factory.Pool().GetPageCount(), 0u);
    // Null is ignored.
    DestroyCollider3D(nullptr, factory.Pool(), factory.Allocator());
}

TEST(Collider3DTest, SetMassMarksTheBodyAndZeroGivesInfiniteInverse)
{
    ColliderFactory factory;
    Collider3D* loose = factory.Make(test::SphereDescription(float3(), 1.0f));
    loose->SetMass(4.0f);
    EXPECT_EQ(loose->m_mass, 4.0f);
    EXPECT_EQ(loose->m_inverseMass, 0.25f);

    RigidBody3D body(test::BodyAt(float3()));
    Collider3D* attached = factory.Make(test::SphereDescription(float3(), 1.0f), &body);
    EXPECT_TRUE(body.IsMassClean());
    body.m_stateFlags = 0;
    attached->SetMass(0.0f);
    EXPECT_FALSE(body.IsMassClean());
    EXPECT_FALSE(body.IsAwake()) << "marking does not wake";
    EXPECT_EQ(attached->m_mass, 0.0f);
    EXPECT_TRUE(std::isinf(attached->m_inverseMass));
}

TEST(Collider3DTest, ComputeAABBFollowsTheBodyAndMeshBoxIsEmpty)
{
    ColliderFactory factory;
    RigidBody3D body(test::BodyAt(float3(0, 5, 0)));
    Collider3D* box = factory.Make(test::BoxDescription(float3(1, 0, 0), float3(1, 1, 1)), &body);
    box->ComputeAABB();
    ExpectNear(box->m_proxy.m_min, float3(0, 4, -1));
    ExpectNear(box->m_proxy.m_max, float3(2, 6, 1));
    body.SetPosition(float3(0, 0, 0));
    box->ComputeAABB();
    ExpectNear(box->m_proxy.m_min, float3(0, -1, -1));

    ColliderDescription3D description;
    description.m_type = kColliderMesh;
    description.m_hulls = {test::UnitTetrahedron()};
    Collider3D* mesh = factory.Make(description, &body);
    mesh->ComputeAABB();
    // Minimum above maximum on every axis: overlaps nothing, not even itself.
    EXPECT_GT(mesh->m_proxy.m_min.x, mesh->m_proxy.m_max.x);
    EXPECT_GT(mesh->m_proxy.m_min.y, mesh->m_proxy.m_max.y);
    EXPECT_GT(mesh->m_proxy.m_min.z, mesh->m_proxy.m_max.z);
    float fraction = -1.0f;
    float3 normal;
    EXPECT_FALSE(mesh->RayCast(Ray3D{float3(-5, 0.1f, 0.1f), float3(1, 0, 0)}, 10.0f, fraction, normal));
    EXPECT_FALSE(mesh->m_geometry->ContainsPoint(float3(0.1f, 0.1f, 0.1f)));
    EXPECT_EQ(mesh->m_geometry->Support(float3(1, 0, 0)), float3(0, 0, 0));
}

} // namespace
} // namespace quellor
