// The win camera in a game world: at its start the scores go and every player freezes where it
// stands on one view; a full-height 4:3 banner in the winner's colour carries a number badge
// per winning player; screen 0's camera circles the winner until the time runs out, and a
// winner that goes cuts the shot short.
#include "MatchCameraKit.h"

#include "engine/ActionSystem.h"
#include "engine/FlowTracker.h"
#include "engine/Transform3D.h"
#include "engine/graphics/GraphicsSystem.h"
#include "gameplay/AnimationControllerComponent.h"
#include "gameplay/CharacterMotor3D.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/PlayerDataComponent.h"
#include "gameplay/cameras/WinCam.h"
#include "physics/RigidBodyComponent3D.h"
#include "renderer/Camera.h"
#include "tests/support/StdoutCapture.h"

#include <cmath>

namespace quellor::test {
namespace {

using tarsel::test::GameWorld;
using tarsel::test::GameWorldTest;

constexpr float kDt = 1.0f / 64.0f;

int g_cancels = 0;
void CountCancel()
{
    ++g_cancels;
}

class WinCamTest : public GameWorldTest {
protected:
    void SetUp() override
    {
        GameWorldTest::SetUp();
        WriteReticleArchetypes(*world);
        g_cancels = 0;
    }

    // Two people in two teams and two computer players on the first person's team, joined,
    // each with an animation controller in the middle of an orb shot.
    void MakeMatch()
    {
        players = {MakePerson(*world, "p0", "red", 0, 3.0f, 4.0f, 5.0f),
                   MakePerson(*world, "p1", "purple", 1, -8.0f, 0.0f, 0.0f), MakeBot(*world, "b0", "red", 8.0f, 0.0f, 0.0f),
                   MakeBot(*world, "b1", "red", 0.0f, 0.0f, 8.0f)};
        for (Entity* player : players) {
            world->logic->AddPlayer(GameWorld::DataOf(player)->controllerID, player,
                                    GameWorld::DataOf(player)->controllerID < 0, true);
            player->AddComponent<AnimationControllerComponent>(true)->SetOrbBlast(1.0f, 0.2f);
        }
        world->StepDt(kDt);
        world->StepDt(kDt);
        for (Entity* player : players)
            MotorOf(player)->SetVelocity(Vec4(1.0f, 2.0f, 3.0f, 0.0f));
        world->logic->AddScore("red");
        world->logic->AddScore("purple");
    }

    WinCam* Start(float duration, Entity* winner)
    {
        auto* shot = new WinCam(duration, winner);
        shot->m_onCancelled.Connect(MakeDelegate(&CountCancel), 0);
        flows.Track(shot);
        world->actions->AddAction(shot, 0);
        world->StepDt(kDt);
        return shot;
    }

    static CharacterMotor3D* MotorOf(Entity* player) { return tarsel::test::MotorOf(player); }
    ZOR::Camera& ScreenCamera() { return world->graphics->GetScreen(0).GetActiveCamera(); }

    std::vector<Entity*> players;
    FlowTracker flows;
};

TEST_F(WinCamTest, EveryoneFreezesWhereTheyStandOnOneViewWithTheScoresGone)
{
    MakeMatch();
    ASSERT_EQ(world->graphics->GetActiveScreens(), 2u);
    ASSERT_NE(players[0]->GetComponent<ThirdPersonCameraComponent>()->GetReticle(), nullptr);
    world->logic->m_active = true;
    Start(10.0f, players[0]);

    // The win test reads every player's team again after the reset, at 0.
    for (const auto& [team, score] : world->logic->GetScores())
        EXPECT_EQ(score, 0) << team;
    EXPECT_FALSE(world->logic->m_active);
    EXPECT_EQ(world->graphics->GetActiveScreens(), 1u);
    std::vector<Vec4> places;
    for (Entity* player : players) {
        SCOPED_TRACE(player->GetName());
        const PlayerDataComponent* data = GameWorld::DataOf(player);
        EXPECT_FALSE(data->canControl);
        EXPECT_TRUE(data->m_cameraFreeze);
        const CharacterMotor3D* motor = MotorOf(player);
        EXPECT_EQ(motor->m_gravity, 0.0f);
        const Vec4 velocity = motor->GetVelocity();
        EXPECT_EQ(velocity.x, 0.0f);
        EXPECT_EQ(velocity.y, 0.0f);
        EXPECT_EQ(velocity.z, 0.0f);
        const ShotPose& pose = player->GetComponent<AnimationControllerComponent>()->GetShotPose();
        EXPECT_EQ(pose.GetOrbRemaining(), 0.0f);
        EXPECT_EQ(pose.GetLiftLevel(), 0.0f);
        if (auto* camera = player->GetComponent<ThirdPersonCameraComponent>()) {
            EXPECT_FALSE(camera->IsEnabled());
            EXPECT_EQ(camera->GetReticle(), nullptr);
            EXPECT_EQ(camera->GetRing(), nullptr);
        }
        places.push_back(player->GetComponent<Transform3D>()->GetPosition());
    }

    // The players hang where they are through the shot.
    for (int frame = 0; frame < 5 * 64; ++frame)
        world->StepDt(kDt);
    for (std::size_t i = 0; i < players.size(); ++i) {
        const Vec4 at = players[i]->GetComponent<Transform3D>()->GetPosition();
        EXPECT_NEAR(at.x, places[i].x, 1e-4f) << i;
        EXPECT_NEAR(at.y, places[i].y, 1e-4f) << i;
        EXPECT_NEAR(at.z, places[i].z, 1e-4f) << i;
        EXPECT_FALSE(GameWorld::DataOf(players[i])->canControl) << i;
    }
    EXPECT_EQ(world->graphics->GetActiveScreens(), 1u);
    EXPECT_EQ(players[1]->GetComponent<ThirdPersonCameraComponent>()->GetReticle(), nullptr);
}

TEST_F(WinCamTest, AFullHeightCentredBannerWithOneBadgePerWinner)
{
    MakeMatch();
    WinCam* shot = Start(10.0f, players[0]);
    Entity* banner = shot->GetBanner();
    ASSERT_NE(banner, nullptr);
    EXPECT_EQ(SpriteOf(banner)->m_materialName, "red_victory.mat");
    const ZOR::float2 area = world->graphics->GetOrthographicProjectionSize(-1);
    const Transform2D* frame = PlaceOf(banner);
    EXPECT_FLOAT_EQ(frame->m_scaleY, area.y);
    EXPECT_FLOAT_EQ(frame->m_scaleX, area.y * 4.0f / 3.0f);
    EXPECT_FLOAT_EQ(frame->m_x, (area.x - frame->m_scaleX) / 2.0f);
    EXPECT_EQ(frame->m_y, 0.0f);

    // The three red players in player order: pad 0, then the two computer players.
    const std::vector<Entity*> pad0 = PicturesWith(*world, "char_select_number_0.mat");
    const std::vector<Entity*> computers = PicturesWith(*world, "char_select_number_cp.mat");
    ASSERT_EQ(pad0.size(), 1u);
    ASSERT_EQ(computers.size(), 2u);
    EXPECT_TRUE(PicturesWith(*world, "char_select_number_1.mat").empty()) << "purple lost";
    const float s = area.y * 0.0009259259f;
    const std::vector<Entity*> badges{pad0[0], computers[0], computers[1]};
    for (std::size_t k = 0; k < badges.size(); ++k) {
        SCOPED_TRACE(k);
        const Transform2D* badge = PlaceOf(badges[k]);
        EXPECT_FLOAT_EQ(badge->m_scaleX, 100.0f * s);
        EXPECT_FLOAT_EQ(badge->m_scaleY, 100.0f * s);
        EXPECT_FLOAT_EQ(badge->m_x, 525.0f * s + frame->m_x + 150.0f * s * static_cast<float>(k));
        EXPECT_FLOAT_EQ(badge->m_y, 725.0f * s);
    }
}

TEST_F(WinCamTest, PurpleWinsBlueAndATeamWithoutABannerGetsTheDefaultMaterialAndItsBadges)
{
    MakeMatch();
    Start(10.0f, players[1]);
    EXPECT_EQ(PicturesWith(*world, "blue_victory.mat").size(), 1u);
    EXPECT_EQ(PicturesWith(*world, "char_select_number_1.mat").size(), 1u);
    EXPECT_TRUE(PicturesWith(*world, "char_select_number_0.mat").empty());

    Entity* bare = world->Spawn("bare");
    bare->AddComponent<Transform2D>(true);
    const ZOR::Material* defaultMaterial = bare->AddComponent<GraphicsComponent2D>(true)->GetMaterial();
    GameWorld::DataOf(players[2])->playerTeam = "teal";
    GameWorld::DataOf(players[3])->playerTeam = "teal";
    WinCam* shot = nullptr;
    std::string text;
    {
        tarsel::test::StdoutCapture capture;
        shot = Start(10.0f, players[2]);
        text = capture.Text();
    }
    EXPECT_NE(text.find("\"teal\""), std::string::npos) << text;
    ASSERT_NE(shot->GetBanner(), nullptr);
    EXPECT_EQ(SpriteOf(shot->GetBanner())->m_materialName, "");
    EXPECT_EQ(SpriteOf(shot->GetBanner())->GetMaterial(), defaultMaterial);
    EXPECT_EQ(PicturesWith(*world, "char_select_number_cp.mat").size(), 2u);
}

TEST_F(WinCamTest, TheCameraCirclesTheWinnerLookingFromWhereItStoodBefore)
{
    MakeMatch();
    Entity* winner = players[0];
    ScreenCamera().SetPosition(0.0f, 0.0f, 0.0f);
    WinCam* shot = Start(10.0f, winner);
    const Vec4 p = winner->GetComponent<Transform3D>()->GetPosition();
    const Vec4 m = winner->GetComponent<RigidBodyComponent3D>()->GetCenterOfMass();
    ZOR::float3 before(0.0f, 0.0f, 0.0f);
    for (int frame = 1; frame <= 200; ++frame) {
        if (frame > 1) {
            before = ScreenCamera().GetPosition();
            world->StepDt(kDt);
        }
        SCOPED_TRACE(frame);
        const float elapsed = shot->GetElapsed();
        EXPECT_NEAR(elapsed, static_cast<float>(frame) * kDt, 1e-4f);
        const ZOR::float3 eye = ScreenCamera().GetPosition();
        EXPECT_NEAR(eye.x, p.x + std::sin(elapsed) * 25.0f, 1e-3f);
        EXPECT_NEAR(eye.y, p.y + 25.0f, 1e-3f);
        EXPECT_NEAR(eye.z, p.z + std::cos(elapsed) * 25.0f, 1e-3f);
        const ZOR::float3 look(m.x - before.x, m.y - before.y, m.z - before.z);
        const float length = std::sqrt(look.x * look.x + look.y * look.y + look.z * look.z);
        const float* view = ScreenCamera().GetViewMatrix().m;
        EXPECT_NEAR(-view[8], look.x / length, 1e-4f);
        EXPECT_NEAR(-view[9], look.y / length, 1e-4f);
        EXPECT_NEAR(-view[10], look.z / length, 1e-4f);
        if (HasFailure())
            return;
    }
}

TEST_F(WinCamTest, DurationZeroFinishesOnTheFirstUpdateAfterPlacingTheCameraOnce)
{
    MakeMatch();
    const Vec4 p = players[3]->GetComponent<Transform3D>()->GetPosition();
    WinCam* shot = Start(0.0f, players[3]);
    EXPECT_FALSE(flows.IsTracking(shot));
    EXPECT_EQ(g_cancels, 0);
    const ZOR::float3 eye = ScreenCamera().GetPosition();
    EXPECT_NEAR(eye.x, p.x + std::sin(kDt) * 25.0f, 1e-3f);
    EXPECT_NEAR(eye.y, p.y + 25.0f, 1e-3f);
    EXPECT_NEAR(eye.z, p.z + std::cos(kDt) * 25.0f, 1e-3f);
}

TEST_F(WinCamTest, AWinnerThatGoesCancelsTheShotAtOnce)
{
    MakeMatch();
    WinCam* shot = Start(10.0f, players[2]);
    ASSERT_TRUE(flows.IsTracking(shot));
    players[2]->Destroy();
    world->StepDt(kDt);
    EXPECT_FALSE(flows.IsTracking(shot));
    EXPECT_EQ(g_cancels, 1);
}

} // namespace
} // namespace quellor::test
