// The aim assist of a person's camera: which hit under its five rays slows the look and pulls
// the camera, the pull's gains, a still pair, a player without data and hostile settings.
#include "ShooterTestKit.h"

#include "engine/graphics/GraphicsSystem.h"
#include "renderer/Camera.h"

#include <cmath>
#include <limits>

namespace quellor::test {
namespace {

class AimAssistTest : public ShooterTest {
protected:
    void SetUp() override
    {
        ShooterTest::SetUp();
        person = Person("person", "red", 0);
        world->Step(20);
        assist = person->GetComponent<AimAssistComponent>();
        ASSERT_NE(assist, nullptr);
        ASSERT_NE(Camera(person).GetCamera(), nullptr);
    }

    // A still body of a team, with a player's body box centred on the camera's view line
    // (offset by `side` along the camera's right), 40 ahead. No motor: its velocity reads 0.
    Entity* Standing(const std::string& name, const std::string& team, float side)
    {
        const ThirdPersonCameraComponent& camera = Camera(person);
        const ZOR::float3 eye = camera.GetCamera()->GetPosition();
        const ZOR::float3 at = eye + XYZ(camera.GetForward()) * 40.0f + XYZ(camera.GetRight()) * side;
        const float r = 1.0f;
        const ZOR::float3 origin = at - ZOR::float3(0.0f, r + 1.0f, 0.0f); // the box sits r + 1 up
        Entity* entity = world->Spawn(name, origin.x, origin.y, origin.z);
        auto* body = entity->AddComponent<RigidBodyComponent3D>(true);
        if (body->GetBody())
            body->SetPosition(Vec4(origin.x, origin.y, origin.z, 1.0f));
        auto* data = new PlayerDataComponent;
        data->playerTeam = team;
        entity->AddComponent(PlayerDataComponent::ID, data, true);
        PlayerBody::AddBodyBox(*entity);
        PlayerBody::SetBodyType(*entity);
        world->Step(1);
        return entity;
    }

    // The yaw one assist update turns the camera by.
    float YawStep()
    {
        const float before = Camera(person).GetYaw();
        assist->Update(tarsel::test::GameWorld::kDt);
        return Camera(person).GetYaw() - before;
    }

    void Moving(const Vec4& velocity) { Motor(person).SetVelocity(velocity); }
    Vec4 Sideways(float amount) const
    {
        const Vec4 right = Camera(person).GetRight();
        return Vec4(right.x * amount, 0.0f, right.z * amount, 0.0f);
    }

    Entity* person = nullptr;
    AimAssistComponent* assist = nullptr;
};

TEST_F(AimAssistTest, InitializeSetsItsValuesOverTheData)
{
    Entity* entity = world->Spawn("loaded");
    auto* component = new AimAssistComponent;
    component->m_maxDistance = 3.0f;
    component->m_slowFactor = 0.9f;
    entity->AddComponent(AimAssistComponent::ID, component, true);
    EXPECT_EQ(component->m_maxDistance, AimAssistComponent::kMaxDistance);
    EXPECT_EQ(component->m_slowFactor, AimAssistComponent::kSlowFactor);
    EXPECT_TRUE(component->IsInLogicSlot());
}

TEST_F(AimAssistTest, NothingUnderTheRaysGivesTheFreeSpeeds)
{
    Data(person).xAimSpeed = 9.0f;
    Data(person).yAimSpeed = 9.0f;
    assist->Update(tarsel::test::GameWorld::kDt);
    EXPECT_EQ(Data(person).xAimSpeed, AimAssistComponent::kFreeSpeedX);
    EXPECT_EQ(Data(person).yAimSpeed, AimAssistComponent::kFreeSpeedY);
    EXPECT_EQ(assist->GetTarget(), nullptr);
}

TEST_F(AimAssistTest, ATeamMateUnderTheRaysNeitherSlowsNorPulls)
{
    Standing("mate", "red", 0.0f);
    Moving(Sideways(-3.0f));
    EXPECT_EQ(YawStep(), 0.0f);
    EXPECT_TRUE(assist->IsCentreHit());
    EXPECT_EQ(assist->GetTarget(), nullptr);
    EXPECT_EQ(Data(person).xAimSpeed, AimAssistComponent::kFreeSpeedX);
    EXPECT_EQ(Data(person).yAimSpeed, AimAssistComponent::kFreeSpeedY);
}

TEST_F(AimAssistTest, AnOpponentUnderTheRaysSlowsTheLookAndAnOuterRayPullsHarderThanTheCentre)
{
    Entity* enemy = Standing("enemy", "blue", 0.0f);
    const float width = world->graphics->GetOrthographicProjectionSize(0).x;
    ASSERT_GT(width, 0.0f);
    const float dt = tarsel::test::GameWorld::kDt;
    // The player slides left by 3: the correction's x along the camera's right is +3.
    Moving(Sideways(-3.0f));
    const float centre = YawStep();
    EXPECT_EQ(assist->GetTarget(), enemy);
    EXPECT_TRUE(assist->IsCentreHit());
    EXPECT_NEAR(Data(person).xAimSpeed, 1.25f, 1e-6f);
    EXPECT_NEAR(Data(person).yAimSpeed, 0.85f, 1e-6f);
    EXPECT_NEAR(centre, -(AimAssistComponent::kFollowGain * 1.5f * (3.0f / width) * dt), 1e-6f);

    enemy->Destroy();
    world->Step(1);
    Entity* aside = Standing("aside", "blue", AimAssistComponent::kRaySpread);
    Moving(Sideways(-3.0f));
    const float outer = YawStep();
    EXPECT_EQ(assist->GetTarget(), aside);
    EXPECT_FALSE(assist->IsCentreHit());
    EXPECT_NEAR(outer, -(AimAssistComponent::kFollowGain * 2.0f * (3.0f / width) * dt), 1e-6f);
    EXPECT_NEAR(outer / centre, 2.0f / 1.5f, 1e-3f);
}

TEST_F(AimAssistTest, AStillPairOnTheCentreRayDoesNotTurnTheCamera)
{
    Standing("enemy", "blue", 0.0f);
    Moving(Vec4());
    const float pitch = Camera(person).GetPitch();
    EXPECT_EQ(YawStep(), 0.0f);
    EXPECT_EQ(Camera(person).GetPitch(), pitch);
    EXPECT_TRUE(assist->IsCentreHit());
    EXPECT_NE(assist->GetTarget(), nullptr);
}

TEST_F(AimAssistTest, WithoutPlayerDataThereIsNoAssist)
{
    Standing("enemy", "blue", 0.0f);
    // A camera entity of its own, without player data, looking along the person's view.
    Entity* viewer = world->Spawn("viewer", 0.0f, kStandY, 0.0f);
    auto* camera = viewer->AddComponent<ThirdPersonCameraComponent>(true);
    camera->SetTarget(person);
    auto* bare = viewer->AddComponent<AimAssistComponent>(true);
    world->Step(2);
    const float yaw = camera->GetYaw();
    Data(person).xAimSpeed = 9.0f;
    bare->Update(tarsel::test::GameWorld::kDt);
    EXPECT_EQ(bare->GetTarget(), nullptr);
    EXPECT_EQ(camera->GetYaw(), yaw);
    EXPECT_EQ(Data(person).xAimSpeed, 9.0f);
}

TEST_F(AimAssistTest, HostileSettingsKeepTheSpeedsAndTheCameraFinite)
{
    Standing("enemy", "blue", 0.0f);
    Moving(Sideways(-3.0f));
    for (float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
        assist->m_slowFactor = bad;
        assist->m_maxDistance = bad;
        YawStep();
        EXPECT_TRUE(std::isfinite(Data(person).xAimSpeed)) << bad;
        EXPECT_TRUE(std::isfinite(Data(person).yAimSpeed)) << bad;
        EXPECT_TRUE(std::isfinite(Camera(person).GetYaw())) << bad;
        EXPECT_TRUE(std::isfinite(Camera(person).GetPitch())) << bad;
    }
    Data(person).sphereCollRadius = std::numeric_limits<float>::quiet_NaN();
    assist->m_maxDistance = AimAssistComponent::kMaxDistance;
    YawStep();
    EXPECT_TRUE(std::isfinite(Camera(person).GetPitch()));
}

} // namespace
} // namespace quellor::test
