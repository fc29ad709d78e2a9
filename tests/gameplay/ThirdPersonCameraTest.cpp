// The third-person camera in a game world: its orbit behind and beside the body, the camera
// axes, the guards that keep it still, the reticle and the ring on its own screen, the aim ray's
// enemy material, and joining, which numbers a person's view.
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/ObjectSystem.h"
#include "engine/ResourceSystem.h"
#include "engine/Transform2D.h"
#include "engine/graphics/GraphicsComponent2D.h"
#include "engine/graphics/GraphicsSystem.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/PlayerDataComponent.h"
#include "gameplay/cameras/CameraSystem.h"
#include "gameplay/cameras/ThirdPersonCameraComponent.h"
#include "physics/BoxColliderComponent3D.h"
#include "physics/RigidBodyComponent3D.h"
#include "physics/SphereColliderComponent3D.h"
#include "renderer/Camera.h"
#include "tests/support/StdoutCapture.h"
#include "tests/support/gameplay/GameWorld.h"
#include "tools/writers/ImageWriter.h"
#include "tools/writers/MaterialWriter.h"

#include <cmath>
#include <filesystem>

namespace quellor::test {
namespace {

using tarsel::test::GameWorldTest;

constexpr float kLimit = ThirdPersonCameraComponent::kPitchLimit;

void ExpectNear(const ZOR::float3& actual, const ZOR::float3& expected, float tolerance = 1e-4f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

ZOR::float3 XYZ(const Vec4& v)
{
    return ZOR::float3(v.x, v.y, v.z);
}

const char* const kReticleArchetype = R"(<archetype>
  <Transform2D/>
  <GraphicsComponent2D><m_materialName><string value="reticle.mat"/></m_materialName></GraphicsComponent2D>
</archetype>
)";

const char* const kRingArchetype = R"(<archetype>
  <Transform2D/>
  <GraphicsComponent2D><m_materialName><string value="reticuleRing.mat"/></m_materialName></GraphicsComponent2D>
</archetype>
)";

class ThirdPersonCameraTest : public GameWorldTest {
protected:
    void SetUp() override
    {
        GameWorldTest::SetUp();
        ThirdPersonCameraComponent::SetChargeRatioSource(nullptr);
        // The reticle's content, as the game's content set provides it.
        tarsel::tools::Image white{4, 4, std::vector<std::uint8_t>(64, 255)};
        world->WriteFile("textures/reticle.dds", tarsel::tools::WriteDds(white, tarsel::tools::DdsFormat::RGBA8));
        std::filesystem::create_directories("materials");
        for (const char* name : {"reticle.mat", "reticle_enemy.mat", "reticuleRing.mat"}) {
            tarsel::tools::MaterialDescription material;
            material.textures[0] = "reticle.dds";
            ASSERT_TRUE(tarsel::tools::WriteMaterial(material, std::string("materials/") + name));
            ASSERT_TRUE(world->graphics->LoadMaterial(std::string("materials/") + name));
        }
        world->WriteFile("archetypes/reticle.arch", kReticleArchetype);
        world->WriteFile("archetypes/reticuleRing.arch", kRingArchetype);
        world->resources->ScanDirectory("");
    }
    void TearDown() override
    {
        GameWorldTest::TearDown();
        ThirdPersonCameraComponent::SetChargeRatioSource(nullptr);
    }

    // A player with a still body and a sphere around it, not joined.
    Entity* Player(const std::string& name, const std::string& team, int pad, float x, float y, float z,
                   float radius = 1.0f)
    {
        Entity* player = world->MakePlayer(name, team, pad, x, y, z);
        player->AddComponent<RigidBodyComponent3D>(true);
        auto* sphere = new SphereColliderComponent3D;
        sphere->m_radius = radius;
        player->AddComponent(SphereColliderComponent3D::ID, sphere, true);
        return player;
    }

    // A person: a player with a third-person camera following it, joined as a person.
    ThirdPersonCameraComponent* Person(const std::string& name, const std::string& team, int pad, float x = 0.0f,
                                       float y = 0.0f, float z = 0.0f)
    {
        Entity* player = Player(name, team, pad, x, y, z);
        auto* camera = player->AddComponent<ThirdPersonCameraComponent>(true);
        camera->SetTarget(player);
        world->logic->AddPlayer(pad, player, false, true);
        return camera;
    }

    // A still box of half size h at (x, y, z) that belongs to no player.
    void Wall(const std::string& name, float x, float y, float z, float h)
    {
        Entity* wall = world->Spawn(name, x, y, z);
        wall->AddComponent<RigidBodyComponent3D>(true);
        auto* box = new BoxColliderComponent3D;
        box->m_halfExtents = Vec4(h, h, h, 0.0f);
        wall->AddComponent(BoxColliderComponent3D::ID, box, true);
    }

    ZOR::Camera& ScreenCamera(int screen) { return world->graphics->GetActiveCamera(screen); }

    static GraphicsComponent2D* Sprite(Entity* overlay)
    {
        return overlay ? overlay->GetComponent<GraphicsComponent2D>() : nullptr;
    }
    static Transform2D* Placement(Entity* overlay) { return overlay ? overlay->GetComponent<Transform2D>() : nullptr; }

    // The overlay's top-left corner is half its size short of its screen's centre.
    void ExpectCentred(Entity* overlay, int screen)
    {
        const ZOR::float2 size = world->graphics->GetOrthographicProjectionSize(screen);
        const Transform2D* t = Placement(overlay);
        ASSERT_NE(t, nullptr);
        EXPECT_FLOAT_EQ(t->m_x, size.x * 0.5f - t->m_scaleX * 0.5f);
        EXPECT_FLOAT_EQ(t->m_y, size.y * 0.5f - t->m_scaleY * 0.5f);
    }
};

TEST_F(ThirdPersonCameraTest, TheCameraSitsBehindAndBesideTheBodyAndMovesTowardH1OrH2WithThePitch)
{
    ThirdPersonCameraComponent* camera = Person("red", "red", 0, 2.0f, 1.0f, 3.0f);
    world->Step();
    // Yaw 0, pitch 0: 15 behind along -z at the look height, 8 to the side.
    ExpectNear(ScreenCamera(0).GetPosition(), ZOR::float3(2.0f - 8.0f, 1.0f + 13.4f, 3.0f - 15.0f));
    ExpectNear(XYZ(camera->GetLookDirection()), ZOR::float3(0.0f, 0.0f, 1.0f));

    // Looking up lowers the camera toward H2 = B - 8 up + 3 f - 3 s.
    const float c = std::cos(kLimit);
    camera->Rotate(0.0f, 10.0f);
    world->Step();
    ExpectNear(ScreenCamera(0).GetPosition(), ZOR::float3(2.0f - 5.0f, 1.0f + 5.4f, 3.0f + 3.0f - 15.0f * c));
    ExpectNear(XYZ(camera->GetLookDirection()), ZOR::float3(0.0f, std::sin(kLimit), c));

    // Looking down raises it toward H1 = B + 7 up + 5 f.
    camera->Rotate(0.0f, -20.0f);
    world->Step();
    ExpectNear(ScreenCamera(0).GetPosition(), ZOR::float3(2.0f - 8.0f, 1.0f + 20.4f, 3.0f + 5.0f - 15.0f * c));

    // Halfway up: halfway from B to H2.
    camera->Rotate(0.0f, kLimit * 1.5f);
    world->Step();
    const float halfC = std::cos(kLimit * 0.5f);
    const ZOR::float3 b(2.0f - 8.0f, 1.0f + 13.4f, 3.0f - 15.0f * halfC);
    ExpectNear(ScreenCamera(0).GetPosition(), b + ZOR::float3(3.0f, -8.0f, 3.0f) * 0.5f);
}

TEST_F(ThirdPersonCameraTest, RotateClampsThePitchNeverWrapsTheYawAndIgnoresNonFiniteDeltas)
{
    ThirdPersonCameraComponent* camera = Person("red", "red", 0);
    camera->Rotate(100.0f, 5.0f);
    EXPECT_FLOAT_EQ(camera->GetYaw(), 100.0f);
    EXPECT_FLOAT_EQ(camera->GetPitch(), 0.9424779f);
    camera->Rotate(-300.0f, -50.0f);
    EXPECT_FLOAT_EQ(camera->GetYaw(), -200.0f);
    EXPECT_FLOAT_EQ(camera->GetPitch(), -0.9424779f);
    EXPECT_FLOAT_EQ(camera->GetPitchLimit(), 0.9424779f);
    camera->Rotate(NAN, INFINITY);
    camera->Rotate(-INFINITY, 0.5f);
    EXPECT_FLOAT_EQ(camera->GetYaw(), -200.0f);
    EXPECT_FLOAT_EQ(camera->GetPitch(), -0.9424779f + 0.5f);
}

TEST_F(ThirdPersonCameraTest, TheAxesAreTheViewMatrixRowsWithForwardNegated)
{
    ThirdPersonCameraComponent* camera = Person("red", "red", 0, 4.0f, 0.0f, -1.0f);
    camera->Rotate(0.7f, -0.3f);
    world->Step();
    ASSERT_EQ(camera->GetCamera(), &ScreenCamera(0));
    const float* v = ScreenCamera(0).GetViewMatrix().m;
    ExpectNear(XYZ(camera->GetRight()), ZOR::float3(v[0], v[1], v[2]), 0.0f);
    ExpectNear(XYZ(camera->GetUp()), ZOR::float3(v[4], v[5], v[6]), 0.0f);
    ExpectNear(XYZ(camera->GetForward()), ZOR::float3(-v[8], -v[9], -v[10]), 0.0f);
    EXPECT_EQ(camera->GetForward().w, 0.0f);
    // Forward is the view direction of the orbit.
    ExpectNear(XYZ(camera->GetForward()), XYZ(camera->GetLookDirection()), 1e-5f);
    ExpectNear(XYZ(camera->GetForward()),
               ZOR::float3(std::sin(0.7f) * std::cos(-0.3f), std::sin(-0.3f), std::cos(0.7f) * std::cos(-0.3f)), 1e-5f);
}

TEST_F(ThirdPersonCameraTest, DisabledFrozenOrWithoutATargetNothingMoves)
{
    ThirdPersonCameraComponent* camera = Person("red", "red", 0);
    world->Step();
    const ZOR::float3 eye = ScreenCamera(0).GetPosition();
    Entity* player = camera->GetTarget();

    camera->Rotate(1.0f, 0.0f);
    camera->SetEnabled(false);
    world->Step();
    ExpectNear(ScreenCamera(0).GetPosition(), eye, 0.0f);

    camera->SetEnabled(true);
    world->DataOf(player)->m_cameraFreeze = true;
    world->Step();
    ExpectNear(ScreenCamera(0).GetPosition(), eye, 0.0f);

    world->DataOf(player)->m_cameraFreeze = false;
    camera->SetTarget(nullptr);
    world->Step();
    ExpectNear(ScreenCamera(0).GetPosition(), eye, 0.0f);

    camera->SetTarget(player);
    world->Step();
    EXPECT_GT(ScreenCamera(0).GetPosition().Distance(eye), 1.0f);
}

TEST_F(ThirdPersonCameraTest, ADestroyedTargetLeavesTheCameraInPlaceAndTheReticleCentred)
{
    ThirdPersonCameraComponent* camera = Person("red", "red", 0);
    Entity* followed = Player("followed", "red", 1, 5.0f, 0.0f, 5.0f);
    camera->SetTarget(followed);
    world->Step();
    const ZOR::float3 eye = ScreenCamera(0).GetPosition();
    Placement(camera->GetReticle())->m_x = -50.0f;
    followed->Destroy();
    camera->Rotate(1.0f, 0.5f);
    // The frame in which it is queued still sees the entity: the update stops there.
    world->Step();
    ExpectNear(ScreenCamera(0).GetPosition(), eye, 0.0f);
    ExpectCentred(camera->GetReticle(), 0);
    EXPECT_EQ(camera->GetTarget(), nullptr);
    world->Step();
    ExpectNear(ScreenCamera(0).GetPosition(), eye, 0.0f);
}

TEST_F(ThirdPersonCameraTest, TheReticleIs192SquareAndCentredOnItsScreenTheRingStartsAtNothing)
{
    ThirdPersonCameraComponent* camera = Person("red", "red", 0);
    Entity* reticle = camera->GetReticle();
    Entity* ring = camera->GetRing();
    ASSERT_NE(reticle, nullptr);
    ASSERT_NE(ring, nullptr);
    EXPECT_EQ(reticle->GetName().rfind("reticle", 0), 0u);
    EXPECT_EQ(ring->GetName().rfind("reticuleRing", 0), 0u);
    EXPECT_EQ(Placement(reticle)->m_scaleX, 192.0f);
    EXPECT_EQ(Placement(reticle)->m_scaleY, 192.0f);
    EXPECT_EQ(Placement(ring)->m_scaleX, 0.0f);
    world->Step();
    ExpectCentred(reticle, 0);
    ExpectCentred(ring, 0);
    EXPECT_EQ(Sprite(reticle)->GetScreenID(), 0);
    EXPECT_EQ(Sprite(reticle)->m_materialName, "reticle.mat");
}

TEST_F(ThirdPersonCameraTest, TheAimRayShowsTheEnemyMaterialOverAnOpponentOnly)
{
    // The ray leaves the camera at (-8, 13.4, -15) along +z.
    ThirdPersonCameraComponent* camera = Person("red", "red", 0);
    GraphicsComponent2D* sprite = Sprite(camera->GetReticle());
    Entity* enemy = Player("bot", "green", -1, -8.0f, 13.4f, 20.0f, 2.0f); // a computer player
    // The bodies take their places in the first physics step, the ray finds them from the next.
    world->Step(2);
    EXPECT_TRUE(camera->IsEnemyReticleShown());
    EXPECT_EQ(sprite->m_materialName, "reticle_enemy.mat");
    EXPECT_EQ(sprite->GetMaterial(), world->graphics->GetMaterial("reticle_enemy.mat"));

    // Set on changes only: a frame that stays on the enemy does not set it again.
    sprite->m_materialName = "untouched";
    world->Step();
    EXPECT_EQ(sprite->m_materialName, "untouched");

    // Off the enemy, onto nothing.
    camera->Rotate(1.5f, 0.0f);
    world->Step();
    EXPECT_FALSE(camera->IsEnemyReticleShown());
    EXPECT_EQ(sprite->m_materialName, "reticle.mat");
    EXPECT_EQ(sprite->GetMaterial(), world->graphics->GetMaterial("reticle.mat"));

    // Back on it; then a team mate steps in front.
    camera->Rotate(-1.5f, 0.0f);
    world->Step();
    EXPECT_TRUE(camera->IsEnemyReticleShown());
    Player("mate", "red", 1, -8.0f, 13.4f, 10.0f, 2.0f);
    world->Step(2);
    EXPECT_FALSE(camera->IsEnemyReticleShown());
    EXPECT_EQ(sprite->m_materialName, "reticle.mat");
    (void)enemy;
}

TEST_F(ThirdPersonCameraTest, AWallOrAnEmptyRayKeepsTheNormalReticle)
{
    ThirdPersonCameraComponent* camera = Person("red", "red", 0);
    Player("blue", "blue", 1, -8.0f, 13.4f, 30.0f, 2.0f);
    Wall("wall", -8.0f, 13.4f, 15.0f, 3.0f);
    world->Step(3);
    EXPECT_FALSE(camera->IsEnemyReticleShown());
    EXPECT_EQ(Sprite(camera->GetReticle())->m_materialName, "reticle.mat");
    // Without the wall the ray finds the player of the other team.
    world->engine->GetEntity("wall", "default")->Destroy();
    world->Step(2);
    EXPECT_TRUE(camera->IsEnemyReticleShown());
}

TEST_F(ThirdPersonCameraTest, TheRingGrowsWithTheChargeAndShrinksByAThirdOfItselfEachFrameWithout)
{
    float charge = 1.0f;
    ThirdPersonCameraComponent::SetChargeRatioSource([&charge](Entity&) { return charge; });
    ThirdPersonCameraComponent* camera = Person("red", "red", 0);
    Transform2D* ring = Placement(camera->GetRing());
    world->Step();
    EXPECT_FLOAT_EQ(ring->m_scaleX, 128.0f);
    EXPECT_FLOAT_EQ(ring->m_scaleY, 128.0f);
    ExpectCentred(camera->GetRing(), 0);

    charge = 0.5f;
    world->Step();
    EXPECT_FLOAT_EQ(ring->m_scaleX, 64.0f);

    charge = 0.0f;
    world->Step();
    EXPECT_FLOAT_EQ(ring->m_scaleX, 64.0f * 0.3f);
    world->Step();
    EXPECT_FLOAT_EQ(ring->m_scaleY, 64.0f * 0.3f * 0.3f);
    ExpectCentred(camera->GetRing(), 0);

    // Values past full, or not numbers at all, count as full and as none.
    charge = 7.0f;
    world->Step();
    EXPECT_FLOAT_EQ(ring->m_scaleX, 128.0f);
    charge = NAN;
    world->Step();
    EXPECT_FLOAT_EQ(ring->m_scaleX, 128.0f * 0.3f);
}

TEST_F(ThirdPersonCameraTest, DestroyReticleHidesAndDestroysBothAndTheNextEnabledUpdateBuildsThemAgain)
{
    ThirdPersonCameraComponent* camera = Person("red", "red", 0);
    world->Step();
    Entity* reticle = camera->GetReticle();
    Entity* ring = camera->GetRing();
    camera->SetEnabled(false);
    camera->DestroyReticle(0);
    EXPECT_FALSE(Sprite(reticle)->GetVisible(0));
    EXPECT_FALSE(Sprite(ring)->GetVisible(0));
    EXPECT_TRUE(reticle->IsDestroyed());
    EXPECT_TRUE(ring->IsDestroyed());
    EXPECT_EQ(camera->GetReticle(), nullptr);
    EXPECT_EQ(camera->GetRing(), nullptr);

    world->Step(3);
    EXPECT_EQ(camera->GetReticle(), nullptr) << "not while disabled";
    camera->SetEnabled(true);
    world->Step();
    ASSERT_NE(camera->GetReticle(), nullptr);
    ASSERT_NE(camera->GetRing(), nullptr);
    ExpectCentred(camera->GetReticle(), 0);
    Sprite(camera->GetReticle())->SetVisible(false, 0);
    camera->ShowReticle(0);
    EXPECT_TRUE(Sprite(camera->GetReticle())->GetVisible(0));

    // One destroyed by anything else counts as missing too: a new pair replaces both.
    const EntityRef survivor(camera->GetReticle());
    camera->GetRing()->Destroy();
    world->Step(2);
    ASSERT_NE(camera->GetRing(), nullptr);
    EXPECT_FALSE(camera->GetRing()->IsDestroyed());
    ASSERT_NE(camera->GetReticle(), nullptr);
    EXPECT_NE(camera->GetReticle(), survivor.Get());
    world->Step();
    EXPECT_EQ(survivor.Get(), nullptr);
}

TEST_F(ThirdPersonCameraTest, TwoPeopleEachMoveOnlyTheirOwnCameraAndOverlays)
{
    ThirdPersonCameraComponent* first = Person("red", "red", 0, 0.0f, 0.0f, 0.0f);
    ThirdPersonCameraComponent* second = Person("green", "green", 1, 100.0f, 0.0f, 0.0f);
    ASSERT_EQ(first->GetScreenID(), 0);
    ASSERT_EQ(second->GetScreenID(), 1);
    EXPECT_EQ(second->GetCamera(), &ScreenCamera(1)) << "from the join on";
    EXPECT_EQ(Sprite(second->GetReticle())->GetScreenID(), 1);
    EXPECT_EQ(Sprite(second->GetRing())->GetScreenID(), 1);
    // The graphics system lays the new screen out at the end of the first frame.
    world->Step(2);
    ExpectNear(ScreenCamera(0).GetPosition(), ZOR::float3(-8.0f, 13.4f, -15.0f));
    ExpectNear(ScreenCamera(1).GetPosition(), ZOR::float3(92.0f, 13.4f, -15.0f));
    ExpectCentred(first->GetReticle(), 0);
    ExpectCentred(second->GetReticle(), 1);

    // Only the second turns: the first view stays.
    const ZOR::float4x4 firstView = ScreenCamera(0).GetViewMatrix();
    second->Rotate(0.5f, 0.2f);
    world->Step();
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(ScreenCamera(0).GetViewMatrix().m[i], firstView.m[i]) << i;
    ExpectNear(XYZ(second->GetForward()), XYZ(second->GetLookDirection()), 1e-5f);
}

TEST_F(ThirdPersonCameraTest, JoiningNumbersPeopleByThePeopleBeforeThemAndGivesComputerPlayersNoScreen)
{
    ThirdPersonCameraComponent* a = Person("a", "red", 0);
    ThirdPersonCameraComponent* b = Person("b", "green", 1);
    Entity* botA = world->JoinPlayer("botA", "red", -1);
    Entity* botB = world->JoinPlayer("botB", "green", -1);
    EXPECT_EQ(ScreenOf(a->GetTarget()), 0);
    EXPECT_EQ(ScreenOf(b->GetTarget()), 1);
    EXPECT_EQ(ScreenOf(botA), -1);
    EXPECT_EQ(ScreenOf(botB), -1);
    EXPECT_EQ(ScreenOf(nullptr), -1);
    EXPECT_EQ(world->graphics->GetActiveScreens(), 2u);
    EXPECT_TRUE(a->IsEnabled());
    EXPECT_TRUE(b->IsEnabled());

    // A camera leaves the camera system with its entity.
    EXPECT_EQ(world->cameras->GetThirdPersonCameras(), (std::vector<ThirdPersonCameraComponent*>{a, b}));
    b->GetTarget()->Destroy();
    world->Step();
    EXPECT_EQ(world->cameras->GetThirdPersonCameras(), std::vector<ThirdPersonCameraComponent*>{a});
}

TEST_F(ThirdPersonCameraTest, APersonJoiningAfterAComputerPlayerTakesScreenZeroAndTheCameraOnArgument)
{
    world->JoinPlayer("bot", "red", -1);
    Entity* player = Player("late", "green", 0, 0.0f, 0.0f, 0.0f);
    auto* camera = player->AddComponent<ThirdPersonCameraComponent>(true);
    camera->SetTarget(player);
    camera->SetScreenID(3);
    world->logic->AddPlayer(0, player, false, false);
    EXPECT_EQ(camera->GetScreenID(), 0);
    EXPECT_EQ(world->graphics->GetActiveScreens(), 1u);
    EXPECT_FALSE(camera->IsEnabled());
    EXPECT_EQ(Sprite(camera->GetReticle())->GetScreenID(), 0);
}

TEST_F(ThirdPersonCameraTest, AZeroRadiusKeepsTheLastView)
{
    ThirdPersonCameraComponent* camera = Person("red", "red", 0);
    world->Step();
    const ZOR::float4x4 view = ScreenCamera(0).GetViewMatrix();
    const ZOR::float3 eye = ScreenCamera(0).GetPosition();
    camera->m_camRadius = 0.0f;
    world->Step();
    ExpectNear(ScreenCamera(0).GetPosition(), eye, 0.0f);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(ScreenCamera(0).GetViewMatrix().m[i], view.m[i]) << i;
    camera->m_camRadius = NAN;
    world->Step();
    ExpectNear(ScreenCamera(0).GetPosition(), eye, 0.0f);
}

TEST_F(ThirdPersonCameraTest, ABrokenReticleArchetypeWarnsOnceAndTheCameraRunsWithoutIt)
{
    world->WriteFile("archetypes/reticle.arch", "<archetype><Transform2D/></archetype>");
    world->resources->ScanDirectory("");
    tarsel::test::StdoutCapture out;
    ThirdPersonCameraComponent* camera = Person("red", "red", 0);
    world->Step(3);
    const std::string text = out.Text();
    EXPECT_EQ(camera->GetReticle(), nullptr);
    EXPECT_NE(camera->GetRing(), nullptr);
    std::size_t warnings = 0;
    for (std::size_t at = text.find("reticle.arch"); at != std::string::npos; at = text.find("reticle.arch", at + 1))
        ++warnings;
    EXPECT_EQ(warnings, 1u) << text;
    // The camera itself still follows.
    ExpectNear(ScreenCamera(0).GetPosition(), ZOR::float3(-8.0f, 13.4f, -15.0f));
}

} // namespace
} // namespace quellor::test
