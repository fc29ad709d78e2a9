#include "WorldTestSupport.h"

#include "physics/CollideShapes3D.h"
#include "physics/ContactPoint3D.h"
#include "physics/ContactRecord3D.h"

#include <gtest/gtest.h>

namespace quellor {
namespace {

using test::ExpectNear;
using ZOR::float3;

// A unit sphere sunk 0.05 into the top of a box whose top face is y = 0.
class ContactRecordTest : public ::testing::Test {
protected:
    ContactRecordTest()
    {
        ColliderDescription3D boxDescription = test::BoxDescription(float3(), float3(2, 1, 2));
        boxDescription.m_userData = &boxComponent;
        ColliderDescription3D sphereDescription = test::SphereDescription(float3(), 1.0f);
        sphereDescription.m_userData = &sphereComponent;
        test::BodyWith(world, float3(0, -1, 0), boxDescription, kBodyStatic, &box);
        test::BodyWith(world, float3(0.3f, 0.95f, 0), sphereDescription, kBodyDynamic, &sphere);
    }

    void Collide(Contact3D& contact)
    {
        ASSERT_TRUE(CollideShapes3D(contact, *contact.m_colliderA->m_geometry, *contact.m_colliderB->m_geometry,
                                    world.GetPointPool(), world.GetEpaScratch()));
        ASSERT_EQ(contact.m_pointCount, 1);
    }

    PhysicsWorld3D world;
    int boxComponent = 0, sphereComponent = 0;
    Collider3D* box = nullptr;
    Collider3D* sphere = nullptr;
};

TEST_F(ContactRecordTest, EachSideSeesThePointOnTheOtherTheNormalTowardsItselfAndTheSolverVectorsAsKept)
{
    for (const bool sphereFirst : {true, false}) {
        SCOPED_TRACE(sphereFirst ? "sphere is A" : "box is A");
        Contact3D contact = sphereFirst ? Contact3D(sphere, box) : Contact3D(box, sphere);
        Collide(contact);
        contact.m_wasTouching = 1;

        const ContactRecord3D sphereView = MakeContactRecord3D(contact, sphere);
        ASSERT_EQ(sphereView.m_pointCount, 1);
        EXPECT_NEAR(sphereView.m_points[0].m_point.y, 0.0f, 1e-3f); // on the box's top
        ExpectNear(sphereView.m_points[0].m_normal, float3(0, 1, 0), 1e-3f);
        EXPECT_NEAR(sphereView.m_points[0].m_depth, 0.05f, 1e-3f);
        EXPECT_EQ(sphereView.m_other, reinterpret_cast<ColliderComponent3D*>(&boxComponent));
        EXPECT_EQ(sphereView.m_touching, 1);
        EXPECT_EQ(sphereView.m_wasTouching, 1);

        const ContactRecord3D boxView = MakeContactRecord3D(contact, box);
        ASSERT_EQ(boxView.m_pointCount, 1);
        EXPECT_NEAR(boxView.m_points[0].m_point.y, -0.05f, 1e-3f); // the sphere's lowest point
        EXPECT_NEAR((boxView.m_points[0].m_point - sphere->m_body->m_position).Length(), 1.0f, 1e-3f);
        EXPECT_NEAR(boxView.m_points[0].m_point.x, 0.3f, 5e-3f);
        ExpectNear(boxView.m_points[0].m_normal, float3(0, -1, 0), 1e-3f);
        EXPECT_EQ(boxView.m_other, reinterpret_cast<ColliderComponent3D*>(&sphereComponent));

        // The solver's vectors are copied as the contact holds them, whichever side asks.
        ContactPoint3D& point = *contact.m_points[0];
        point.m_normalRelativeVelocity = float3(0, -2, 0);
        point.m_tangentialRelativeVelocity = float3(1, 0, 0);
        point.m_normalImpulse = float3(0, -3, 0);
        point.m_frictionImpulse = float3(0, 0, 4);
        for (const Collider3D* self : {sphere, box}) {
            const ContactRecordPoint3D copy = MakeContactRecord3D(contact, self).m_points[0];
            ExpectNear(copy.m_normalRelativeVelocity, float3(0, -2, 0));
            ExpectNear(copy.m_tangentialRelativeVelocity, float3(1, 0, 0));
            ExpectNear(copy.m_normalImpulse, float3(0, -3, 0));
            ExpectNear(copy.m_frictionImpulse, float3(0, 0, 4));
        }

        contact.ReleasePoints(world.GetPointPool());
    }
}

TEST_F(ContactRecordTest, ContactWithoutPointsGivesAnEmptyRecord)
{
    Contact3D contact(sphere, box);
    contact.m_touching = 1;
    const ContactRecord3D record = MakeContactRecord3D(contact, box);
    EXPECT_EQ(record.m_pointCount, 0);
    EXPECT_EQ(record.m_touching, 1);
    EXPECT_EQ(record.m_other, reinterpret_cast<ColliderComponent3D*>(&sphereComponent));
}

} // namespace
} // namespace quellor
