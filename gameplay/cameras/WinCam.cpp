#include "gameplay/cameras/WinCam.h"

#include "engine/Entity.h"
#include "engine/Transform2D.h"
#include "engine/Transform3D.h"
#include "engine/graphics/GraphicsSystem.h"
#include "gameplay/AnimationControllerComponent.h"
#include "gameplay/CharacterMotor3D.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/PlayerDataComponent.h"
#include "gameplay/cameras/CameraPlacement.h"
#include "gameplay/cameras/MatchOverlay.h"
#include "gameplay/cameras/ThirdPersonCameraComponent.h"
#include "physics/RigidBodyComponent3D.h"
#include "renderer/Camera.h"
#include "renderer/dx11/RenderContext.h"

#include <cmath>

namespace quellor {

namespace {

// The layout is drawn for 1080 lines and scaled by the window's height.
constexpr float kLayoutScale = 0.0009259259f;
constexpr float kBannerAspect = 1.3333334f;

// Everything a player would move or aim with comes to rest.
void Freeze(Entity& player, int screen)
{
    if (auto* camera = player.GetComponent<ThirdPersonCameraComponent>()) {
        camera->DestroyReticle(screen);
        camera->SetEnabled(false);
    }
    if (auto* data = player.GetComponent<PlayerDataComponent>()) {
        data->canControl = false;
        data->m_cameraFreeze = true;
    }
    if (auto* animation = player.GetComponent<AnimationControllerComponent>())
        animation->ResetBlasts();
    if (auto* motor = player.GetComponent<CharacterMotor3D>()) {
        motor->SetVelocity(Vec4(0.0f, 0.0f, 0.0f, 0.0f));
        motor->m_gravity = 0.0f;
    }
}

} // namespace

WinCam::WinCam(float duration, Entity* winner) : Action(true), m_timeLeft(duration), m_winner(winner)
{
    m_onStarted.Connect(MakeDelegate(this, &WinCam::Start), 0);
}

WinCam::~WinCam() = default;

std::string WinCam::BannerMaterial(const std::string& team)
{
    if (team == "red")
        return "red_victory.mat";
    if (team == "orange")
        return "orange_victory.mat";
    if (team == "purple")
        return "blue_victory.mat";
    if (team == "green")
        return "green_victory.mat";
    return "";
}

std::string WinCam::BadgeMaterial(int controllerID)
{
    if (controllerID == -1)
        return "char_select_number_cp.mat";
    if (controllerID >= 0 && controllerID <= 3)
        return "char_select_number_" + std::to_string(controllerID) + ".mat";
    return "";
}

void WinCam::Start()
{
    auto* logic = DefaultSystem<GameLogicSystem>();
    auto* graphics = DefaultSystem<GraphicsSystem>();
    std::vector<IndexedPlayer> players;
    if (logic) {
        logic->ResetScores();
        logic->m_active = false;
        players = LivePlayers(*logic);
    }
    for (const IndexedPlayer& player : players)
        Freeze(*player.entity, ScreenOf(player.entity));
    if (!graphics)
        return;
    for (unsigned n = graphics->GetActiveScreens(); n > 1; --n)
        graphics->RemoveScreen(true);

    Entity* winner = m_winner.Get();
    const auto* winnerData = winner ? winner->GetComponent<PlayerDataComponent>() : nullptr;
    const std::string team = winnerData ? winnerData->playerTeam : std::string();
    const std::string banner = BannerMaterial(team);
    if (banner.empty())
        ZOR::Log("Warning: WinCam: no victory banner for team \"%s\"; it shows the default material", team.c_str());
    const ZOR::float2 size = graphics->GetOrthographicProjectionSize(-1);
    const float bannerWidth = size.y * kBannerAspect;
    const float bannerX = (size.x - bannerWidth) * 0.5f;
    m_banner = CreateOverlayPicture("", banner, bannerX, 0.0f, bannerWidth, size.y);
    if (!winnerData)
        return;
    // One number badge per player of the winning team, side by side on the banner.
    const float s = size.y * kLayoutScale;
    const float badgeSize = s * 100.0f;
    int made = 0;
    for (const IndexedPlayer& player : players) {
        const auto* data = player.entity->GetComponent<PlayerDataComponent>();
        if (!data || data->playerTeam != team)
            continue;
        CreateOverlayPicture("", BadgeMaterial(data->controllerID), s * 525.0f + bannerX + badgeSize * 1.5f * made,
                             s * 725.0f, badgeSize, badgeSize);
        ++made;
    }
}

void WinCam::Update(float dt)
{
    Entity* winner = m_winner.Get();
    if (!winner || winner->IsDestroyed()) {
        Cancel();
        return;
    }
    m_elapsed += dt;
    m_timeLeft -= dt;
    if (m_timeLeft < 0.0f)
        Finish();
    auto* logic = DefaultSystem<GameLogicSystem>();
    if (logic)
        logic->m_active = false;
    auto* graphics = DefaultSystem<GraphicsSystem>();
    const auto* transform = winner->GetComponent<Transform3D>();
    if (!graphics || !transform)
        return;
    ZOR::Camera& camera = graphics->GetScreen(0).GetActiveCamera();
    const Vec4 p = transform->GetPosition();
    const auto* body = winner->GetComponent<RigidBodyComponent3D>();
    const Vec4 m = body ? body->GetCenterOfMass() : p;
    // The view is turned from where the camera stood before this move.
    const ZOR::float3 before = camera.GetPosition();
    const ZOR::float3 eye(p.x + std::sin(m_elapsed) * kOrbitRadius, p.y + kOrbitHeight,
                          p.z + std::cos(m_elapsed) * kOrbitRadius);
    if (IsFinite(eye))
        camera.SetPosition(eye);
    TurnCamera(camera, ZOR::float3(m.x - before.x, m.y - before.y, m.z - before.z));
}

} // namespace quellor
