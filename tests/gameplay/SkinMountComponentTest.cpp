// The skin mount: its model component, following a bone of a player or of a host, the host's
// rotation and scale, swapping the model, and hosts or players that are gone.
#include "CharacterKit.h"

#include "engine/Engine.h"
#include "engine/Transform3D.h"
#include "engine/graphics/GraphicsComponent3D.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/SkinMountComponent.h"
#include "renderer/AnimationController.h"
#include "tools/writers/MeshBuilder.h"

#include <cmath>
#include <numbers>

namespace quellor::test {
namespace {

using tarsel::test::GameWorld;
using SkinMountTest = tarsel::test::GameWorldTest;

constexpr float kDt = GameWorld::kDt;

// A clip holding the head bone (5) moved by `shift` in its parent's frame and turned by
// `rotation`; every other bone keeps its bind pose.
tarsel::tools::ClipDescription HeadClip(const ZOR::float3& shift, const ZOR::float4& rotation = {0, 0, 0, 1})
{
    const ZOR::float4x4 bind = tarsel::tools::character::BuildModel().nodes[5].bindLocal;
    tarsel::tools::ClipDescription clip;
    clip.duration = 30.0f;
    ZOR::Animation::Track track;
    track.id = 5;
    track.positionKeys.push_back({0.0f, ZOR::float3(bind.m[3], bind.m[7], bind.m[11]) + shift});
    track.rotationKeys.push_back({0.0f, rotation});
    clip.tracks.push_back(track);
    return clip;
}

// A dressed player of controller 0 joined at (x, y, z), posed by one clip.
Entity* PosedPlayer(GameWorld& world, const std::string& clip, float x, float y, float z)
{
    Entity* player = world.JoinPlayer("player", "red", 0, x, y, z);
    ZOR::AnimationController& controller = Dress(player)->GetAnimationController();
    controller.AddAnimation(world.graphics->GetAnimation(clip));
    controller.PlayAnimation(clip);
    world.graphics->UpdateSkinned(kDt);
    return player;
}

SkinMountComponent* Mount(GameWorld& world, const std::string& name, float x, float y, float z)
{
    return world.Spawn(name, x, y, z)->AddComponent<SkinMountComponent>(true);
}

Transform3D* TransformOf(Component* component)
{
    return component->GetEntity()->GetComponent<Transform3D>();
}

void ExpectAt(const Transform3D* t, float x, float y, float z, const char* what)
{
    EXPECT_NEAR(t->m_x, x, 1e-4f) << what;
    EXPECT_NEAR(t->m_y, y, 1e-4f) << what;
    EXPECT_NEAR(t->m_z, z, 1e-4f) << what;
}

TEST_F(SkinMountTest, WithoutAMatchingPlayerItMakesItsModelAndStays)
{
    LoadCharacterAssets(*world);
    PosedPlayer(*world, "idle_base.anim", 10.0f, 0.0f, 0.0f);
    SkinMountComponent* mount = Mount(*world, "hat", 1.0f, 2.0f, 3.0f);
    mount->m_controllerID = 3;
    EXPECT_TRUE(mount->IsInLogicSlot());
    EXPECT_EQ(mount->GetMountGraphic(), nullptr);
    mount->Update(kDt);
    GraphicsComponent3D* graphic = mount->GetMountGraphic();
    ASSERT_NE(graphic, nullptr);
    EXPECT_EQ(mount->GetEntity()->GetComponent<GraphicsComponent3D>(), graphic);
    EXPECT_EQ(graphic->m_modelName, "cube.model");
    EXPECT_EQ(graphic->m_materialName, "default.mat");
    mount->Update(kDt);
    EXPECT_EQ(mount->GetMountGraphic(), graphic);
    ExpectAt(TransformOf(mount), 1.0f, 2.0f, 3.0f, "no player of controller 3");

    // A model component already on the entity is the mount's.
    Entity* masked = world->Spawn("mask", 0.0f, 0.0f, 0.0f);
    auto* own = masked->AddComponent<GraphicsComponent3D>(true);
    auto* mask = masked->AddComponent<SkinMountComponent>(true);
    mask->Update(kDt);
    EXPECT_EQ(mask->GetMountGraphic(), own);
}

TEST_F(SkinMountTest, FollowsTheBoneOfThePlayerTurnedWithIt)
{
    LoadCharacterAssets(*world);
    LoadClip(*world, "lift.anim", HeadClip({0.0f, 1.0f, 0.0f}));
    LoadClip(*world, "aside.anim", HeadClip({1.0f, 0.0f, 0.0f}));
    Entity* player = world->JoinPlayer("player", "red", 0, 10.0f, 0.0f, -4.0f);
    ZOR::AnimationController& controller = Dress(player)->GetAnimationController();
    SkinMountComponent* mount = Mount(*world, "hat", 0.0f, 0.0f, 0.0f);

    // Before any pose the bone matrix is the identity: the mount sits at the player's origin.
    mount->Update(kDt);
    ExpectAt(TransformOf(mount), 10.0f, 0.0f, -4.0f, "bind pose");

    controller.AddAnimation(world->graphics->GetAnimation("lift.anim"));
    controller.PlayAnimation("lift.anim");
    world->graphics->UpdateSkinned(kDt);
    mount->Update(kDt);
    ExpectAt(TransformOf(mount), 10.0f, 1.0f, -4.0f, "the head lifted by one unit");

    // A quarter turn about y takes the bone's +x to -z.
    Transform3D* at = player->GetComponent<Transform3D>();
    const float half = std::numbers::pi_v<float> / 4.0f;
    at->m_rotation = Quat(0.0f, std::sin(half), 0.0f, std::cos(half));
    controller.AddAnimation(world->graphics->GetAnimation("aside.anim"));
    controller.PlayAnimation("aside.anim");
    world->graphics->UpdateSkinned(kDt);
    mount->Update(kDt);
    ExpectAt(TransformOf(mount), 10.0f, 0.0f, -5.0f, "the head moved along the player's own x");
    const Quat& q = TransformOf(mount)->m_rotation;
    EXPECT_NEAR(std::abs(q.y), std::sin(half), 1e-5f) << "the player's turn";
    EXPECT_NEAR(std::abs(q.w), std::cos(half), 1e-5f);
}

TEST_F(SkinMountTest, UnderAScaledHostTheRotationStaysAUnitQuaternion)
{
    LoadCharacterAssets(*world);
    const float tilt = 0.35f; // the head nods about x
    LoadClip(*world, "nod.anim", HeadClip({0.0f, 1.0f, 0.0f}, {std::sin(tilt), 0.0f, 0.0f, std::cos(tilt)}));
    Entity* player = PosedPlayer(*world, "nod.anim", 0.0f, 0.0f, 0.0f);
    Transform3D* at = player->GetComponent<Transform3D>();
    at->m_rotation = Quat(0.0f, std::sin(0.3f), 0.0f, std::cos(0.3f));
    SkinMountComponent* mount = Mount(*world, "hat", 0.0f, 0.0f, 0.0f);
    mount->Update(kDt);
    const Transform3D* t = TransformOf(mount);
    const Quat unscaled = t->m_rotation;
    const float x = t->m_x, y = t->m_y, z = t->m_z;
    ASSERT_GT(std::abs(y), 1.0f);

    at->SetScale(2.0f, 2.0f, 2.0f);
    for (int frame = 0; frame < 2; ++frame) {
        mount->Update(kDt);
        const Quat& q = t->m_rotation;
        EXPECT_NEAR(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w, 1.0f, 1e-5f) << "frame " << frame;
        EXPECT_NEAR(q.x, unscaled.x, 1e-5f);
        EXPECT_NEAR(q.y, unscaled.y, 1e-5f);
        EXPECT_NEAR(q.w, unscaled.w, 1e-5f);
        EXPECT_EQ(t->m_scaleX, 2.0f);
        EXPECT_EQ(t->m_scaleZ, 2.0f);
    }
    // From the second frame the mount's own scale (now the host's) doubles the bone's offset.
    ExpectAt(t, 2.0f * x, 2.0f * y, 2.0f * z, "scaled offset");
}

TEST_F(SkinMountTest, AHostTakesThePlaceOfThePlayersAndAGoneHostMeansNoMove)
{
    LoadCharacterAssets(*world);
    LoadClip(*world, "lift.anim", HeadClip({0.0f, 1.0f, 0.0f}));
    world->WriteFile("models/sphere.model", tarsel::tools::WriteModel(tarsel::tools::BuildSphere()));
    ASSERT_TRUE(world->graphics->LoadModel("models/sphere.model"));
    PosedPlayer(*world, "lift.anim", 50.0f, 0.0f, 0.0f);
    Entity* host = world->Spawn("preview", -3.0f, 0.0f, 0.0f);
    ZOR::AnimationController& controller = Dress(host)->GetAnimationController();
    controller.AddAnimation(world->graphics->GetAnimation("lift.anim"));
    controller.PlayAnimation("lift.anim");
    world->graphics->UpdateSkinned(kDt);

    SkinMountComponent* mount = Mount(*world, "hat", 0.0f, 0.0f, 0.0f);
    mount->SetTarget(host);
    EXPECT_EQ(mount->GetTarget(), host);
    mount->Update(kDt);
    ExpectAt(TransformOf(mount), -3.0f, 1.0f, 0.0f, "on the host, not on player 0");

    GraphicsComponent3D* graphic = mount->GetMountGraphic();
    ASSERT_NE(graphic, nullptr);
    mount->SetMountName("sphere.model");
    mount->SetMatName("other.mat");
    EXPECT_EQ(graphic->m_modelName, "sphere.model");
    EXPECT_EQ(graphic->GetModel(), world->graphics->GetModel("sphere.model"));
    EXPECT_EQ(graphic->m_materialName, "other.mat");

    host->Destroy();
    world->Step();
    EXPECT_EQ(mount->GetTarget(), nullptr);
    TransformOf(mount)->SetPosition(7.0f, 7.0f, 7.0f);
    mount->Update(kDt);
    ExpectAt(TransformOf(mount), 7.0f, 7.0f, 7.0f, "host gone: no fall-back to player 0");
}

TEST_F(SkinMountTest, BoneNumbersOutsideTheSkeletonReadAsTheIdentity)
{
    LoadCharacterAssets(*world);
    LoadClip(*world, "lift.anim", HeadClip({0.0f, 1.0f, 0.0f}));
    PosedPlayer(*world, "lift.anim", 4.0f, 0.0f, 0.0f);
    for (const int bone : {-1, -2147483647 - 1, 30, 2147483647}) {
        SkinMountComponent* mount = Mount(*world, "hat" + std::to_string(bone), 0.0f, 9.0f, 0.0f);
        mount->m_boneNum = bone;
        mount->Update(kDt);
        ExpectAt(TransformOf(mount), 4.0f, 0.0f, 0.0f, "the player's origin");
    }
}

TEST_F(SkinMountTest, APlayerWhoseEntityIsGoneOrUndressedIsSkipped)
{
    LoadCharacterAssets(*world);
    Entity* undressed = world->JoinPlayer("undressed", "red", 0, 5.0f, 0.0f, 0.0f);
    SkinMountComponent* mount = Mount(*world, "hat", 1.0f, 1.0f, 1.0f);
    mount->Update(kDt);
    ExpectAt(TransformOf(mount), 1.0f, 1.0f, 1.0f, "a player without a skinned model");

    Dress(undressed);
    mount->Update(kDt);
    ExpectAt(TransformOf(mount), 5.0f, 0.0f, 0.0f, "dressed");
    undressed->Destroy();
    world->Step();
    TransformOf(mount)->SetPosition(1.0f, 1.0f, 1.0f);
    mount->Update(kDt);
    ExpectAt(TransformOf(mount), 1.0f, 1.0f, 1.0f, "the player's entity is gone");
}

} // namespace
} // namespace quellor::test
