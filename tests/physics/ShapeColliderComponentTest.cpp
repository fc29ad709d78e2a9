// Sphere, box and quad collider components: the shapes they build from their fields and the
// entity's scale, rebuilding after a shape setter, clones and their records.
#include "PhysicsSystemTestKit.h"

#include "engine/reflection/Function.h"
#include "engine/reflection/Meta.h"
#include "engine/reflection/MetaRegistry.h"
#include "engine/reflection/Variable.h"
#include "physics/BoxColliderComponent3D.h"
#include "physics/BoxColliderGeometry3D.h"
#include "physics/MeshColliderComponent3D.h"
#include "physics/QuadColliderComponent3D.h"
#include "physics/QuadColliderGeometry3D.h"
#include "physics/SphereColliderComponent3D.h"
#include "physics/SphereColliderGeometry3D.h"

#include <cmath>
#include <memory>
#include <numbers>

namespace quellor::test {
namespace {

using ZOR::float3;

constexpr float kPi = std::numbers::pi_v<float>;

class ShapeColliderTest : public PhysicsSystemTest {
protected:
    // An entity with a transform scaled by `scale` (none when null) and a static body.
    Entity* Holder(const std::string& name, const float3* scale, const float3& at = float3())
    {
        Entity* entity = engine->CreateEntity(name, "default");
        if (scale)
            entity->AddComponent<Transform3D>(true)->SetScale(scale->x, scale->y, scale->z);
        if (Transform3D* transform = entity->GetComponent<Transform3D>())
            transform->SetPosition(at.x, at.y, at.z);
        entity->AddComponent<RigidBodyComponent3D>(true);
        return entity;
    }

    template <class T>
    T* Attach(Entity* entity)
    {
        return entity->AddComponent<T>(true);
    }

    static const SphereColliderGeometry3D& SphereOf(const ColliderComponent3D* component)
    {
        return *static_cast<const SphereColliderGeometry3D*>(component->GetCollider()->m_geometry);
    }
    static const BoxColliderGeometry3D& BoxOf(const ColliderComponent3D* component)
    {
        return *static_cast<const BoxColliderGeometry3D*>(component->GetCollider()->m_geometry);
    }
    static const QuadColliderGeometry3D& QuadOf(const ColliderComponent3D* component)
    {
        return *static_cast<const QuadColliderGeometry3D*>(component->GetCollider()->m_geometry);
    }
};

TEST_F(ShapeColliderTest, TheSphereRadiusTakesTheMeanScaleAndItsCentreIsNotScaled)
{
    struct Case {
        const char* name;
        bool hasTransform;
        float3 scale;
        float radius;
        float expected;
    };
    const Case cases[] = {
        {"unscaled", false, float3(), 1.5f, 1.5f}, // no Transform3D: scale 1, at the origin
        {"even", true, float3(2.0f, 2.0f, 2.0f), 1.0f, 2.0f},
        {"flat", true, float3(3.0f, 3.0f, 0.0f), 1.0f, 2.0f},
        {"mirrored", true, float3(-2.0f, 2.0f, 2.0f), 1.0f, 2.0f}, // a mirror does not shrink it
        {"inverted", true, float3(-1.0f, -1.0f, -1.0f), 1.0f, 1.0f},
        {"negative", true, float3(1.0f, 1.0f, 1.0f), -3.0f, 3.0f},
    };
    for (const Case& c : cases) {
        const float3 at(20.0f * static_cast<float>(&c - cases), 0.0f, 0.0f);
        Entity* entity = Holder(c.name, c.hasTransform ? &c.scale : nullptr, at);
        auto* sphere = Attach<SphereColliderComponent3D>(entity);
        sphere->SetCenter(Vec4(0.5f, 1.0f, -2.0f, 7.0f))->SetRadius(c.radius);
    }
    system->Update(0.0f);
    for (const Case& c : cases) {
        auto* sphere = engine->GetEntity(c.name, "default")->GetComponent<SphereColliderComponent3D>();
        ASSERT_NE(sphere->GetCollider(), nullptr) << c.name;
        EXPECT_NEAR(SphereOf(sphere).m_radius, c.expected, 1e-5f) << c.name;
        ExpectNear(SphereOf(sphere).m_center, float3(0.5f, 1.0f, -2.0f));
        EXPECT_GT(sphere->GetCollider()->m_mass, 0.0f) << c.name;
    }
    // Mirrored, inverted or without a transform, each is solid from outside: a ray from above
    // its centre meets its top, normal up.
    system->Update(1.0f / 60.0f); // boxes follow the placed bodies
    for (const Case& c : cases) {
        const float3 above(20.0f * static_cast<float>(&c - cases) + 0.5f, 10.0f, -2.0f);
        const PhysicsRayCastResult3D hit = system->RayCast(above, float3(0.0f, -1.0f, 0.0f), 100.0f);
        ASSERT_EQ(hit.hit, 1) << c.name;
        EXPECT_NEAR(hit.point.y, 1.0f + c.expected, 1e-4f) << c.name;
        ExpectNear(hit.normal, float3(0.0f, 1.0f, 0.0f), 1e-4f);
    }
}

TEST_F(ShapeColliderTest, BoxHalfExtentsScaleAsMagnitudesAndItsRotationTurnsYToZ)
{
    const float3 stretched(2.0f, 3.0f, 4.0f);
    auto* scaled = Attach<BoxColliderComponent3D>(Holder("scaled", &stretched));
    const float3 mirror(-1.0f, 2.0f, 1.0f);
    auto* mirrored = Attach<BoxColliderComponent3D>(Holder("mirrored", &mirror, float3(20.0f, 0.0f, 0.0f)));
    auto* bare = Attach<BoxColliderComponent3D>(Holder("bare", nullptr));
    bare->SetCenter(Vec4(1.0f, 2.0f, 3.0f, 0.0f))->SetHalfExtents(Vec4(0.5f, 1.0f, 1.5f, 0.0f));
    auto* turned = Attach<BoxColliderComponent3D>(Holder("turned", &stretched));
    turned->SetRotationX(kPi / 2.0f)->SetCenter(Vec4(0.0f, 0.0f, 0.0f, 0.0f));
    system->Update(0.0f);

    EXPECT_EQ(scaled->m_halfExtents.w, 0.0f);
    ExpectNear(BoxOf(scaled).m_halfExtents, float3(2.0f, 3.0f, 4.0f));
    ExpectNear(BoxOf(scaled).m_rotation * float3(0.0f, 1.0f, 0.0f), float3(0.0f, 1.0f, 0.0f));
    ExpectNear(BoxOf(mirrored).m_halfExtents, float3(1.0f, 2.0f, 1.0f));
    EXPECT_NEAR(mirrored->GetCollider()->m_mass, 16.0f, 1e-3f);
    ExpectNear(BoxOf(bare).m_halfExtents, float3(0.5f, 1.0f, 1.5f));
    ExpectNear(BoxOf(bare).m_center, float3(1.0f, 2.0f, 3.0f)); // the centre is not scaled
    ExpectNear(BoxOf(turned).m_rotation * float3(0.0f, 1.0f, 0.0f), float3(0.0f, 0.0f, 1.0f), 1e-6f);
    ExpectNear(BoxOf(turned).m_rotation * float3(0.0f, 0.0f, 1.0f), float3(0.0f, -1.0f, 0.0f), 1e-6f);

    // The mirrored box is solid from outside: a ray from above meets its top face, normal up.
    system->Update(1.0f / 60.0f);
    const PhysicsRayCastResult3D hit = system->RayCast(float3(20.0f, 10.0f, 0.0f), float3(0.0f, -1.0f, 0.0f), 100.0f);
    ASSERT_EQ(hit.hit, 1);
    EXPECT_EQ(hit.collider, mirrored);
    EXPECT_NEAR(hit.point.y, 2.0f, 1e-4f);
    ExpectNear(hit.normal, float3(0.0f, 1.0f, 0.0f), 1e-4f);
}

TEST_F(ShapeColliderTest, RotationsApplyXThenYThenZ)
{
    auto* box = Attach<BoxColliderComponent3D>(Holder("box", nullptr));
    auto* quad = Attach<QuadColliderComponent3D>(Holder("quad", nullptr));
    // x a quarter turn (y to z, z to -y), then z a quarter turn (x to y, -y to x).
    box->SetRotationX(kPi / 2.0f)->SetRotationZ(kPi / 2.0f);
    quad->SetRotationX(kPi / 2.0f)->SetRotationZ(kPi / 2.0f);
    // With y a quarter turn in between (z to x), y goes to z, then x, then back to y.
    Entity* all = Holder("all", nullptr);
    auto* three = Attach<BoxColliderComponent3D>(all);
    three->SetRotationX(kPi / 2.0f)->SetRotationY(kPi / 2.0f)->SetRotationZ(kPi / 2.0f);
    system->Update(0.0f);

    for (const ZOR::float3x3* r : {&BoxOf(box).m_rotation, &QuadOf(quad).m_rotation}) {
        ExpectNear(*r * float3(0.0f, 1.0f, 0.0f), float3(0.0f, 0.0f, 1.0f), 1e-6f);
        ExpectNear(*r * float3(1.0f, 0.0f, 0.0f), float3(0.0f, 1.0f, 0.0f), 1e-6f);
        ExpectNear(*r * float3(0.0f, 0.0f, 1.0f), float3(1.0f, 0.0f, 0.0f), 1e-6f);
    }
    ExpectNear(BoxOf(three).m_rotation * float3(0.0f, 1.0f, 0.0f), float3(0.0f, 1.0f, 0.0f), 1e-6f);
}

TEST_F(ShapeColliderTest, TheQuadIgnoresTheEntityScale)
{
    const float3 big(10.0f, 10.0f, 10.0f);
    auto* quad = Attach<QuadColliderComponent3D>(Holder("quad", &big));
    auto* sized = Attach<QuadColliderComponent3D>(Holder("sized", &big));
    EXPECT_EQ(sized->SetHalfSize(20.0f, 7.0f)->SetCenter(Vec4(0.0f, 5.0f, 0.0f, 0.0f)), sized);
    system->Update(0.0f);
    EXPECT_FLOAT_EQ(QuadOf(quad).m_halfWidth, 1.0f);
    EXPECT_FLOAT_EQ(QuadOf(quad).m_halfHeight, 1.0f);
    EXPECT_FLOAT_EQ(QuadOf(sized).m_halfWidth, 20.0f);
    EXPECT_FLOAT_EQ(QuadOf(sized).m_halfHeight, 7.0f);
    ExpectNear(QuadOf(sized).m_center, float3(0.0f, 5.0f, 0.0f));

    sized->SetHalfWidth(3.0f)->SetHalfHeight(4.0f);
    EXPECT_FALSE(sized->IsBuilt());
    system->Update(0.0f);
    EXPECT_TRUE(sized->IsBuilt());
    EXPECT_FLOAT_EQ(QuadOf(sized).m_halfWidth, 3.0f);
    EXPECT_FLOAT_EQ(QuadOf(sized).m_halfHeight, 4.0f);
}

TEST_F(ShapeColliderTest, AfterSetCenterTheNextUpdateRebuildsAndItsRecordsComeFromTheNewCollider)
{
    system->SetGravity(Vec4(0.0f, -10.0f, 0.0f, 0.0f));
    Entity* floor = Box("floor", float3(0.0f, 0.0f, 0.0f), kBodyStatic, float3(5.0f, 1.0f, 5.0f));
    Entity* crate = Body("crate", float3(0.0f, 1.95f, 0.0f));
    auto* box = Attach<BoxColliderComponent3D>(crate);
    system->Update(0.0f);
    Run(30);
    ASSERT_EQ(box->GetContactRecords().size(), 1u);
    EXPECT_EQ(box->GetContactRecords()[0].m_other, Probe(floor));

    // Moved sideways it still rests on the floor, but the new collider starts without contacts.
    EXPECT_EQ(box->SetCenter(Vec4(0.5f, 0.0f, 0.0f, 0.0f)), box);
    EXPECT_FALSE(box->IsBuilt());
    ExpectNear(BoxOf(box).m_center, float3(0.0f, 0.0f, 0.0f)); // kept until the next update
    system->Update(1.0f / 60.0f);
    EXPECT_TRUE(box->IsBuilt());
    ExpectNear(BoxOf(box).m_center, float3(0.5f, 0.0f, 0.0f));
    EXPECT_TRUE(box->GetContactRecords().empty()) << "the new collider has no contacts yet";
    EXPECT_EQ(crate->GetRigidBody()->GetBody()->m_colliders.Count(), 1u);
    system->Update(1.0f / 60.0f);
    EXPECT_EQ(box->GetContactRecords().size(), 1u);
}

TEST_F(ShapeColliderTest, ClonesCopyTheShapeButNotTheBaseFields)
{
    SphereColliderComponent3D sphere;
    sphere.SetCenter(Vec4(1, 2, 3, 4))->SetRadius(5.0f);
    BoxColliderComponent3D box;
    box.SetRotationX(0.1f)->SetRotationY(0.2f)->SetRotationZ(0.3f)->SetHalfExtents(Vec4(4, 5, 6, 0));
    QuadColliderComponent3D quad;
    quad.SetHalfSize(20.0f, 30.0f);
    MeshColliderComponent3D mesh;
    mesh.m_file = "island.shape";
    for (ColliderComponent3D* original : std::initializer_list<ColliderComponent3D*>{&sphere, &box, &quad, &mesh}) {
        original->SetMass(9.0f);
        original->SetSensor(true);
        original->SetPType(1);
        original->SetEnvironmentType(EnvironmentType(2));
        std::unique_ptr<Component> clone(original->Clone());
        auto* copy = dynamic_cast<ColliderComponent3D*>(clone.get());
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->m_mass, -1.0f);
        EXPECT_FALSE(copy->m_isSensor);
        EXPECT_EQ(copy->m_pType, 0);
        EXPECT_EQ(copy->m_enviroType, 0);
        if (auto* s = dynamic_cast<SphereColliderComponent3D*>(copy)) {
            EXPECT_EQ(s->m_center.w, 4.0f);
            EXPECT_EQ(s->m_radius, 5.0f);
        } else if (auto* b = dynamic_cast<BoxColliderComponent3D*>(copy)) {
            EXPECT_EQ(b->m_rotationX, 0.1f);
            EXPECT_EQ(b->m_rotationY, 0.2f);
            EXPECT_EQ(b->m_rotationZ, 0.3f);
            EXPECT_EQ(b->m_halfExtents.z, 6.0f);
        } else if (auto* q = dynamic_cast<QuadColliderComponent3D*>(copy)) {
            EXPECT_EQ(q->m_halfWidth, 20.0f);
            EXPECT_EQ(q->m_halfHeight, 30.0f);
        } else {
            ASSERT_NE(dynamic_cast<MeshColliderComponent3D*>(copy), nullptr);
            EXPECT_EQ(static_cast<MeshColliderComponent3D*>(copy)->m_file, "island.shape");
        }
    }
}

TEST_F(ShapeColliderTest, SetCenterByNameReturnsTheColliderAndSetSensorTheBase)
{
    auto* component = Attach<BoxColliderComponent3D>(Holder("named", nullptr));
    system->Update(0.0f);
    ASSERT_TRUE(component->IsBuilt());
    Meta* box = MetaRegistry::Instance().Find("BoxColliderComponent3D");
    Function* setCenter = box->GetMethod("SetCenter");
    ASSERT_NE(setCenter, nullptr);
    Vec4 center(0.0f, 3.0f, 0.0f, 0.0f);
    setCenter->PushArgument(Variable(component, false));
    setCenter->PushArgument(Variable(&center, false));
    std::unique_ptr<Variable> result(setCenter->Invoke());
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->Value(), static_cast<void*>(component));
    EXPECT_EQ(result->GetType(), box);
    EXPECT_FALSE(component->IsBuilt()) << "marked for rebuilding";

    Function* setSensor = box->GetMethod("SetSensor");
    ASSERT_NE(setSensor, nullptr);
    bool on = true;
    setSensor->PushArgument(Variable(component, false));
    setSensor->PushArgument(Variable(&on, false));
    std::unique_ptr<Variable> sensorResult(setSensor->Invoke());
    ASSERT_NE(sensorResult, nullptr);
    EXPECT_EQ(sensorResult->Value(), static_cast<void*>(static_cast<ColliderComponent3D*>(component)));
    EXPECT_TRUE(component->m_isSensor);
}

} // namespace
} // namespace quellor::test
