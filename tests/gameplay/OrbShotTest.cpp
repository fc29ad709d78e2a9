// The orb shot: force from the charge, the spawn 0.3 s after the shot at the hand point with
// its light, blast, meshes, body and sensor, the tag-out speed, and the aim ray of a person's
// shot, which starts beside the shooter and takes a player it rests on as the target.
#include "OrbTestKit.h"

#include "engine/Engine.h"
#include "engine/ResourceSystem.h"
#include "engine/Space.h"
#include "engine/Transform2D.h"
#include "engine/graphics/EmitterComponent.h"
#include "engine/graphics/PointLightComponent.h"
#include "gameplay/PlayerUtil.h"
#include "gameplay/effects/OrbConeComponent.h"
#include "gameplay/effects/OrbLightningComponent.h"
#include "gameplay/effects/OrbMeshComponent.h"
#include "physics/SphereColliderComponent3D.h"
#include "renderer/Camera.h"
#include "tests/support/StdoutCapture.h"

namespace quellor::test {
namespace {

TEST_F(OrbTest, ForceGrowsWithTheChargeUpToTheChargeTime)
{
    Entity* shooter = Player("shooter", "red", -60.0f, 0.0f);
    world->Step();
    OrbComponent& weapon = Weapon(shooter);
    for (float charge : {0.0f, 0.35f, 0.7f, 2.0f})
        weapon.ShootAt(Vec4(0.0f, 1.0f, 0.0f, 0.0f), charge);
    world->Step(kSpawnFrames + 1);
    ASSERT_EQ(weapon.GetOrbs().size(), 4u);
    EXPECT_FLOAT_EQ(weapon.GetOrbs()[0].force, 250.0f);
    EXPECT_FLOAT_EQ(weapon.GetOrbs()[1].force, 525.0f);
    EXPECT_FLOAT_EQ(weapon.GetOrbs()[2].force, 800.0f);
    EXPECT_FLOAT_EQ(weapon.GetOrbs()[3].force, 800.0f);

    // A charge time of 0 would divide by zero: any charge is a full one.
    weapon.m_chargeTime = 0.0f;
    EXPECT_FLOAT_EQ(weapon.ForceOf(0.0f), 800.0f);
    EXPECT_FLOAT_EQ(weapon.ForceOf(0.35f), 800.0f);
    weapon.m_chargeTime = -1.0f;
    EXPECT_FLOAT_EQ(weapon.ForceOf(0.1f), 800.0f);
}

TEST_F(OrbTest, OrbAppearsAtTheHandPointAFifthOfASecondAndMoreAfterTheShot)
{
    Entity* shooter = Player("shooter", "red", -60.0f, 0.0f);
    world->Step();
    Weapon(shooter).ShootAt(Vec4(1.0f, 0.0f, 0.0f, 0.0f), 0.0f);
    EXPECT_TRUE(world->Played(OrbComponent::kShootSound));
    EXPECT_FALSE(world->Played(OrbComponent::kTrailSound)) << "a computer player's shot has no trailing loop";
    int frames = 0;
    while (Weapon(shooter).GetOrbs().empty() && frames < 40) {
        world->Step();
        ++frames;
    }
    // 0.3 s is 18 frames; the wait counts from the frame its lane starts it.
    EXPECT_GE(frames, 18);
    EXPECT_LE(frames, 19);
    Entity* orb = OrbOf(shooter);
    ASSERT_NE(orb, nullptr);
    EXPECT_EQ(orb->GetName().rfind("orb", 0), 0u) << orb->GetName();
}

TEST_F(OrbTest, AShotOfAShooterThatGoesBeforeTheSpawnLeavesNoOrb)
{
    Entity* shooter = Player("shooter", "red", -60.0f, 0.0f);
    Entity* other = Player("other", "red", 60.0f, 0.0f);
    world->Step();
    Weapon(shooter).ShootAt(Vec4(1.0f, 0.0f, 0.0f, 0.0f), 0.0f);
    Weapon(other).ShootAt(Vec4(-1.0f, 0.0f, 0.0f, 0.0f), 0.0f);
    world->Step(5);
    shooter->Destroy();
    world->Step(kSpawnFrames);
    // Only the shooter that stayed has an orb in the space.
    int orbs = 0;
    for (const Entity* entity : world->engine->GetSpace("default")->GetEntities())
        orbs += entity->GetName().rfind("orb", 0) == 0 ? 1 : 0;
    EXPECT_EQ(orbs, 1);
    EXPECT_EQ(Weapon(other).GetOrbs().size(), 1u);
}

TEST_F(OrbTest, SpawnBuildsTheOrbEntity)
{
    Entity* shooter = Player("shooter", "red", -60.0f, 0.0f);
    world->Step();
    OrbComponent& weapon = Weapon(shooter);
    weapon.m_orbRadius = 1.5f;
    const Vec4 hand = PlayerUtil::HandPoint(*shooter);
    Entity* orb = RestingOrb(shooter);
    ASSERT_NE(orb, nullptr);
    weapon.SpawnOrb(Vec4(3.0f, 4.0f, 0.0f, 0.0f), 0.0f, nullptr);
    Entity* flying = OrbOf(shooter, 1);
    ASSERT_NE(flying, nullptr);
    EXPECT_NE(flying->GetName(), orb->GetName());

    const auto* transform = flying->GetComponent<Transform3D>();
    ExpectNear3(Place(flying), XYZ(hand));
    EXPECT_FLOAT_EQ(transform->m_scaleX, 1.5f);
    EXPECT_FLOAT_EQ(transform->m_scaleY, 1.5f);
    EXPECT_FLOAT_EQ(transform->m_scaleZ, 1.5f);

    const auto* light = flying->GetComponent<PointLightComponent>();
    ASSERT_NE(light, nullptr);
    EXPECT_FLOAT_EQ(light->m_color.x, 0.0f);
    EXPECT_FLOAT_EQ(light->m_color.y, 0.75f);
    EXPECT_FLOAT_EQ(light->m_color.z, 1.0f);
    EXPECT_FLOAT_EQ(light->m_intensity, 3.5f);
    EXPECT_FLOAT_EQ(light->m_radius, 30.0f);

    const auto* blast = flying->GetComponent<EmitterComponent>();
    ASSERT_NE(blast, nullptr);
    EXPECT_NE(blast, &OrbEmitters::Get().GetBlast());
    EXPECT_TRUE(blast->GetEmitting());
    EXPECT_FALSE(OrbEmitters::Get().GetBlast().GetEmitting());
    EXPECT_TRUE(blast->m_particleEmitterFile.empty());
    ExpectNear3(blast->GetConeDirection(), ZOR::float3(3.0f, 4.0f, 0.0f));
    EXPECT_EQ(blast->GetMaxParticles(), OrbEmitters::Get().GetBlast().GetMaxParticles());

    EXPECT_NE(flying->GetComponent<OrbMeshComponent>(), nullptr);
    EXPECT_NE(flying->GetComponent<OrbLightningComponent>(), nullptr);
    EXPECT_NE(flying->GetComponent<OrbConeComponent>(), nullptr);

    const auto* body = flying->GetComponent<RigidBodyComponent3D>();
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(body->GetType(), 1);
    EXPECT_FALSE(body->m_hasGravity);
    ExpectNear3(XYZ(body->GetLinearVelocity()), ZOR::float3(120.0f, 160.0f, 0.0f));
    const auto* sphere = flying->GetComponent<SphereColliderComponent3D>();
    ASSERT_NE(sphere, nullptr);
    EXPECT_FLOAT_EQ(sphere->m_radius, 1.5f);
    EXPECT_TRUE(sphere->m_isSensor);

    const OrbRecord& record = weapon.GetOrbs()[1];
    EXPECT_FLOAT_EQ(record.speed, 200.0f);
    EXPECT_FLOAT_EQ(record.lifetime, 7.0f);
    EXPECT_FLOAT_EQ(record.seekDelay, 0.1f);
    EXPECT_TRUE(record.skipContacts);
    EXPECT_EQ(record.target.Get(), nullptr);

    // The rested orb keeps a zero velocity: no direction to normalise.
    ExpectNear3(XYZ(weapon.GetOrbs()[0].velocity), ZOR::float3());
}

TEST_F(OrbTest, TargetGivenToTheSpawnIsHeldUnlessATagIsOut)
{
    Entity* shooter = Player("shooter", "red", -60.0f, 0.0f);
    Entity* other = Player("other", "blue", 60.0f, 0.0f);
    world->Step();
    OrbComponent& weapon = Weapon(shooter);
    weapon.m_orbSpeed = 150.0f;
    weapon.m_tagSpeed = 320.0f;
    weapon.SpawnOrb(Vec4(1.0f, 0.0f, 0.0f, 0.0f), 0.0f, other);
    ASSERT_EQ(weapon.GetOrbs().size(), 1u);
    EXPECT_EQ(weapon.GetOrbs()[0].target.Get(), other);
    EXPECT_FLOAT_EQ(weapon.GetOrbs()[0].homingCap, 150.0f);
    EXPECT_FLOAT_EQ(weapon.GetOrbs()[0].turn, 0.2f);
    ExpectNear3(XYZ(weapon.GetOrbs()[0].velocity), ZOR::float3(150.0f, 0.0f, 0.0f));

    Data(shooter).m_hasTag = true;
    weapon.SpawnOrb(Vec4(1.0f, 0.0f, 0.0f, 0.0f), 0.0f, other);
    ASSERT_EQ(weapon.GetOrbs().size(), 2u);
    EXPECT_EQ(weapon.GetOrbs()[1].target.Get(), nullptr);
    EXPECT_FLOAT_EQ(weapon.GetOrbs()[1].speed, 320.0f);
    ExpectNear3(XYZ(weapon.GetOrbs()[1].velocity), ZOR::float3(320.0f, 0.0f, 0.0f));
}

class OrbFireTest : public OrbTest {
protected:
    void SetUp() override
    {
        OrbTest::SetUp();
        shooter = Player("shooter", "red", -60.0f, 0.0f, 0);
        camera = shooter->GetComponent<ThirdPersonCameraComponent>();
        // Look down a little, so that the view line meets the floor ahead.
        camera->Rotate(0.0f, -0.25f);
        world->Step(10);
        ASSERT_NE(camera->GetCamera(), nullptr);
    }

    ZOR::float3 Eye() const { return camera->GetCamera()->GetPosition(); }
    ZOR::float3 Forward() const { return XYZ(camera->GetForward()).Normalized(); }
    // The point of the view line nearest to the shooter.
    ZOR::float3 Origin() const { return XYZ(PlayerUtil::ViewLineOrigin(Vec4(Eye().x, Eye().y, Eye().z, 1.0f),
                                                                       camera->GetForward(),
                                                                       Vec4(Centre(shooter).x, Centre(shooter).y,
                                                                            Centre(shooter).z, 1.0f))); }

    Entity* shooter = nullptr;
    ThirdPersonCameraComponent* camera = nullptr;
};

TEST_F(OrbFireTest, ViewLineOriginIsTheNearestPointToTheBody)
{
    const ZOR::float3 origin = Origin();
    // The view line passes the body at right angles there.
    EXPECT_NEAR((Centre(shooter) - origin).Dot(Forward()), 0.0f, 1e-3f);
    EXPECT_NEAR((origin - Eye()).Cross(Forward()).Length(), 0.0f, 1e-3f);
    // A zero forward leaves the eye.
    ExpectNear3(XYZ(PlayerUtil::ViewLineOrigin(Vec4(1.0f, 2.0f, 3.0f, 1.0f), Vec4(), Vec4(9.0f, 9.0f, 9.0f, 1.0f))),
                ZOR::float3(1.0f, 2.0f, 3.0f));
}

TEST_F(OrbFireTest, BoxBetweenTheCameraAndTheShooterIsNotStruck)
{
    const ZOR::float3 between = Eye() + (Origin() - Eye()) * 0.5f;
    AddBox(between, ZOR::float3(0.5f, 0.5f, 0.5f));
    world->Step();
    // The box lies on the view line: a ray from the eye would strike it.
    const PhysicsRayCastResult3D fromEye = world->physics->RayCast(Eye(), Forward(), 10000.0f);
    ASSERT_TRUE(fromEye.hit);
    ASSERT_LT((fromEye.point - Eye()).Length(), (Origin() - Eye()).Length());

    const PhysicsRayCastResult3D fromOrigin = world->physics->RayCast(Origin(), Forward(), 10000.0f);
    ASSERT_TRUE(fromOrigin.hit) << "the floor ahead";
    const ZOR::float3 hand = XYZ(PlayerUtil::HandPoint(*shooter));
    Weapon(shooter).Fire(0.0f);
    EXPECT_TRUE(world->Played(OrbComponent::kShootSound));
    EXPECT_TRUE(world->Played(OrbComponent::kTrailSound));
    EXPECT_TRUE(world->sound->IsPlaying(OrbComponent::kTrailSound, 0));
    world->Step(kSpawnFrames + 1);
    ASSERT_EQ(Weapon(shooter).GetOrbs().size(), 1u);
    const OrbRecord& orb = Weapon(shooter).GetOrbs()[0];
    // Aimed from the hand at the floor point, not at the box.
    ExpectNear3(XYZ(orb.velocity).Normalized(), (fromOrigin.point - hand).Normalized());
    EXPECT_EQ(orb.target.Get(), nullptr);
}

TEST_F(OrbFireTest, AimRayOnAPlayerMakesItTheTarget)
{
    // Where the view line passes a standing player's body centre height.
    const ZOR::float3 origin = Origin();
    const float centreY = kStandY + 2.0f;
    const float t = (centreY - origin.y) / Forward().y;
    ASSERT_GT(t, 20.0f);
    const ZOR::float3 at = origin + Forward() * t;
    Entity* target = Player("target", "blue", at.x, at.z);
    world->Step();
    Weapon(shooter).Fire(0.7f);
    world->Step(kSpawnFrames + 1);
    ASSERT_EQ(Weapon(shooter).GetOrbs().size(), 1u);
    EXPECT_EQ(Weapon(shooter).GetOrbs()[0].target.Get(), target);
    EXPECT_FLOAT_EQ(Weapon(shooter).GetOrbs()[0].force, 800.0f);
}

TEST_F(OrbTest, CameraRingShowsTheChargePercent)
{
    for (const char* name : {"reticle", "reticuleRing"})
        world->WriteFile(std::string("archetypes/") + name + ".arch",
                         "<archetype><Transform2D/><GraphicsComponent2D/></archetype>\n");
    world->resources->ScanDirectory("");
    Entity* person = Player("person", "red", -60.0f, 0.0f, 0);
    auto* camera = person->GetComponent<ThirdPersonCameraComponent>();
    world->Step();
    ASSERT_NE(camera->GetRing(), nullptr);
    Weapon(person).m_currentCharge = 0.35f;
    world->Step();
    EXPECT_FLOAT_EQ(camera->GetRing()->GetComponent<Transform2D>()->m_scaleX, 64.0f);
    Weapon(person).m_currentCharge = 5.0f;
    world->Step();
    EXPECT_FLOAT_EQ(camera->GetRing()->GetComponent<Transform2D>()->m_scaleX, 128.0f);
}

TEST_F(OrbTest, ShooterWithoutACameraOrActionsDoesNotShoot)
{
    Entity* bot = Player("bot", "red", -60.0f, 0.0f);
    world->Step();
    {
        tarsel::test::StdoutCapture out;
        Weapon(bot).Fire(0.5f);
        Weapon(bot).Fire(0.5f);
        const std::string& text = out.Text();
        EXPECT_NE(text.find("no third-person camera"), std::string::npos) << text;
        EXPECT_EQ(text.find("no third-person camera"), text.rfind("no third-person camera")) << "warned once";
    }
    EXPECT_FALSE(world->Played(OrbComponent::kShootSound));

    Entity* bare = world->Spawn("bare", -40.0f, kStandY, 0.0f);
    bare->AddComponent<OrbComponent>(true);
    {
        tarsel::test::StdoutCapture out;
        Weapon(bare).ShootAt(Vec4(1.0f, 0.0f, 0.0f, 0.0f), 0.0f);
        Weapon(bare).ShootAt(Vec4(1.0f, 0.0f, 0.0f, 0.0f), 0.0f);
        const std::string& text = out.Text();
        EXPECT_NE(text.find("no ActionComponent"), std::string::npos) << text;
        EXPECT_EQ(text.find("no ActionComponent"), text.rfind("no ActionComponent")) << "warned once";
    }
    world->Step(kSpawnFrames + 1);
    EXPECT_TRUE(Weapon(bot).GetOrbs().empty());
    EXPECT_TRUE(Weapon(bare).GetOrbs().empty());
}

} // namespace
} // namespace quellor::test
