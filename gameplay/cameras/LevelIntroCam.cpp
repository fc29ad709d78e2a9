#include "gameplay/cameras/LevelIntroCam.h"

#include "engine/ActionList.h"
#include "engine/ActionSystem.h"
#include "engine/Easing.h"
#include "engine/Entity.h"
#include "engine/Invoke.h"
#include "engine/SetValue.h"
#include "engine/SoundAction.h"
#include "engine/SoundSystem.h"
#include "engine/Transform2D.h"
#include "engine/TweenTo.h"
#include "engine/Wait.h"
#include "engine/graphics/GraphicsSystem.h"
#include "gameplay/CharacterMotor3D.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/PlayerDataComponent.h"
#include "gameplay/SpawnPointComponent.h"
#include "gameplay/cameras/CameraPlacement.h"
#include "gameplay/cameras/CameraSystem.h"
#include "gameplay/cameras/MatchOverlay.h"
#include "gameplay/cameras/ThirdPersonCameraComponent.h"
#include "renderer/dx11/RenderContext.h"

#include <algorithm>
#include <set>

namespace quellor {

namespace {

// The layout is drawn for 1080 lines and scaled by the window's height.
constexpr float kLayoutScale = 0.0009259259f;
// Where the columns wait above the view before they drop in.
constexpr float kColumnLift = 700.0f;
// Where the versus screen falls to.
constexpr float kFallenY = 1200.0f;
// Labels, boids and signs lie over the column backgrounds, and the countdown's numbers over its
// background: pictures of one layer are drawn in material order, which says nothing about what
// covers what.
constexpr unsigned kBackgroundLayer = 0;
constexpr unsigned kMarkLayer = 1;

Action* Blocking(Action* action)
{
    action->Block();
    return action;
}

// A tween of a picture's field to an end value; null (left out of a list) without a picture.
Action* TweenField(Transform2D* picture, float Transform2D::*field, float to, float seconds, int easing)
{
    return picture ? new TweenTo(&(picture->*field), seconds, to, easing, true, false) : nullptr;
}

const char* SlotLabel(int slot)
{
    static const char* const kLabels[] = {"p1_portrait_bg.mat", "p2_portrait_bg.mat", "p3_portrait_bg.mat",
                                          "p4_portrait_bg.mat"};
    if (slot < 0)
        return "ai_portrait_bg.mat";
    return slot < 4 ? kLabels[slot] : "";
}

void SetControl(Entity& player, bool control)
{
    if (auto* data = player.GetComponent<PlayerDataComponent>())
        data->canControl = control;
}

// The player goes onto the spawn point of its team; a team without one leaves it where it is.
void PlaceOnSpawn(GameLogicSystem& logic, Entity& player)
{
    auto* data = player.GetComponent<PlayerDataComponent>();
    auto* motor = player.GetComponent<CharacterMotor3D>();
    if (!data || !motor)
        return;
    if (SpawnPointComponent* point = logic.ChooseSpawnPoint(data->playerTeam))
        motor->Teleport(point->GetPosition());
}

} // namespace

LevelIntroCam::LevelIntroCam(std::vector<IntroPlayerEntry> entries, float timeBound)
    : Action(true), m_entries(std::move(entries)), m_timeLeft(timeBound)
{
    std::stable_sort(m_entries.begin(), m_entries.end(),
                     [](const IntroPlayerEntry& a, const IntroPlayerEntry& b) { return a.team < b.team; });
    m_onStarted.Connect(MakeDelegate(this, &LevelIntroCam::Start), 0);
    m_onEnded.Connect(MakeDelegate(this, &LevelIntroCam::End), 0);
}

LevelIntroCam::~LevelIntroCam() = default;

ActionList* LevelIntroCam::GetTimeline() const
{
    return m_timeline && m_flows.IsTracking(m_timeline) ? m_timeline : nullptr;
}

void LevelIntroCam::Start()
{
    m_begun = true;
    auto* graphics = DefaultSystem<GraphicsSystem>();
    if (auto* logic = DefaultSystem<GameLogicSystem>()) {
        logic->m_active = false;
        logic->m_scoreHudRequested = false;
        for (const IndexedPlayer& player : LivePlayers(*logic)) {
            if (graphics)
                graphics->RemoveScreen(false);
            if (auto* camera = player.entity->GetComponent<ThirdPersonCameraComponent>()) {
                if (graphics)
                    graphics->RemoveScreen(false);
                camera->SetEnabled(false);
                camera->DestroyReticle(ScreenOf(player.entity));
            }
            SetControl(*player.entity, false);
        }
    }
    if (auto* cameras = DefaultSystem<CameraSystem>())
        cameras->SetAutomatedCameraDisabled(false);

    m_timeline = new ActionList(true, true);
    const ZOR::float2 size = graphics ? graphics->GetOrthographicProjectionSize(-1) : ZOR::float2(0.0f, 0.0f);
    BuildVersusScreen(*m_timeline, size.x, size.y);
    BuildCountdown(*m_timeline, size.x, size.y);
    if (auto* actions = DefaultSystem<ActionSystem>()) {
        actions->AddAction(m_timeline, kTimelineLane);
        m_flows.Track(m_timeline);
    } else {
        ZOR::Log("Warning: LevelIntroCam: no ActionSystem; the intro runs to its time bound");
        delete m_timeline;
        m_timeline = nullptr;
    }
    StartGameplayTheme();
}

void LevelIntroCam::BuildVersusScreen(ActionList& timeline, float width, float height)
{
    const float s = height * kLayoutScale;
    float x = width * 0.125f;
    const float y = height * 0.33333334f;
    std::set<std::string> unknownTeams;
    // Without entries there are no columns and no sign; the countdown still runs.
    std::string currentTeam = m_entries.empty() ? std::string() : m_entries.front().team;
    for (const IntroPlayerEntry& entry : m_entries) {
        if (entry.team != currentTeam) {
            currentTeam = entry.team;
            Transform2D* sign = PictureTransform(MakePicture("versus", "versus.mat", x, y, 0.0f, 0.0f, kMarkLayer));
            timeline.PushBack(Blocking(new Wait(0.75f)), 0);
            timeline.PushBack(new SoundAction("swoosh_75.ogg"), 0);
            // The sign fills the view, then shrinks onto its place.
            if (sign) {
                Action* shrink =
                    MakeParallel(TweenField(sign, &Transform2D::m_scaleX, s * 256.0f, 0.25f, Easing::kExponentialOut),
                                 TweenField(sign, &Transform2D::m_scaleY, s * 256.0f, 0.25f, Easing::kExponentialOut));
                timeline.PushBack(Blocking(MakeSequence(new SetValue(&sign->m_scaleX, width),
                                                        new SetValue(&sign->m_scaleY, height), shrink)),
                                  0);
            }
            timeline.PushBack(Blocking(new Wait(0.25f)), 0);
            x += s * 150.0f;
        }
        if (!IsContentTeam(entry.team) && unknownTeams.insert(entry.team).second)
            ZOR::Log("Warning: LevelIntroCam: no portraits for team \"%s\"; its column shows the default material",
                     entry.team.c_str());
        Transform2D* background = PictureTransform(
            MakePicture("portrait", entry.team + "_portrait_bg.mat", x, y - kColumnLift, s * 128.0f, s * 256.0f,
                        kBackgroundLayer));
        Transform2D* label = PictureTransform(
            MakePicture("portrait", SlotLabel(entry.slot), x, y - kColumnLift, s * 128.0f, s * 256.0f, kMarkLayer));
        Transform2D* boid = PictureTransform(MakePicture("boid", entry.team + "_boid.mat", x + s * 90.0f,
                                                         y - kColumnLift, s * 20.0f, s * 80.0f, kMarkLayer));
        timeline.PushBack(
            MakeParallel(TweenField(background, &Transform2D::m_y, y, 0.5f, Easing::kElasticIn),
                         TweenField(label, &Transform2D::m_y, y, 0.5f, Easing::kElasticIn),
                         TweenField(boid, &Transform2D::m_y, y + s * 80.0f, 0.5f, Easing::kElasticIn),
                         TweenField(background, &Transform2D::m_scaleX, s * 256.0f, 0.75f, Easing::kBackOut),
                         TweenField(label, &Transform2D::m_scaleX, s * 256.0f, 0.75f, Easing::kBackOut),
                         TweenField(boid, &Transform2D::m_scaleX, s * 80.0f, 0.75f, Easing::kBackOut)),
            0);
        timeline.PushBack(Blocking(new Wait(0.3f)), 0);
        x += s * 150.0f;
    }
    // A still moment, then the versus screen falls away beside the countdown.
    timeline.PushBack(Blocking(new Wait(2.0f)), 0);
    for (const EntityRef& ref : m_introEntities)
        if (Action* fall =
                TweenField(PictureTransform(ref.Get()), &Transform2D::m_y, kFallenY, 0.75f, Easing::kBackOut))
            timeline.PushBack(fall, 0);
}

void LevelIntroCam::BuildCountdown(ActionList& timeline, float width, float height)
{
    // Each card covers the view and enters from its right edge.
    auto card = [&](const char* material, unsigned layer = kMarkLayer) {
        return PictureTransform(MakePicture("countdown", material, width, 0.0f, width, height, layer));
    };
    Transform2D* background = card("countdown_bg.mat", kBackgroundLayer);
    timeline.PushBack(Blocking(MakeSequence(TweenField(background, &Transform2D::m_x, 0.0f, 0.25f, Easing::kBackOut),
                                            new Wait(0.5f))),
                      0);
    for (const char* material : {"countdown_three.mat", "countdown_two.mat", "countdown_one.mat"}) {
        Transform2D* number = card(material);
        timeline.PushBack(new SoundAction("countdown_beep.ogg"), 0);
        timeline.PushBack(
            Blocking(MakeSequence(TweenField(number, &Transform2D::m_x, 0.0f, 0.25f, Easing::kBackOut), new Wait(0.5f),
                                  TweenField(number, &Transform2D::m_x, -width, 0.25f, Easing::kBackIn))),
            0);
    }
    Transform2D* fight = card("countdown_fight.mat");
    timeline.PushBack(new SoundAction("countdown_beep_final.ogg"), 0);
    timeline.PushBack(Blocking(MakeSequence(TweenField(fight, &Transform2D::m_x, 0.0f, 0.25f, Easing::kBackOut),
                                            new Wait(0.5f), new Invoke([this] { FinishFromTimeline(); }))),
                      0);
}

Entity* LevelIntroCam::MakePicture(const std::string& baseName, const std::string& material, float x, float y,
                                   float width, float height, unsigned layer)
{
    Entity* picture = CreateOverlayPicture(baseName, material, x, y, width, height, layer);
    if (picture)
        m_introEntities.emplace_back(picture);
    return picture;
}

void LevelIntroCam::StartGameplayTheme() const
{
    auto* sound = DefaultSystem<SoundSystem>();
    if (!sound)
        return;
    if (sound->IsPlaying(kMenuTheme, SoundSystem::SongTable))
        sound->StopSong(kMenuTheme, SoundSystem::SongTable);
    sound->SetLooping(kGameplayTheme, true, SoundSystem::SongTable);
    sound->PlaySong(kGameplayTheme);
    sound->SetVolume(sound->GetChannel(kGameplayTheme, SoundSystem::SongTable), kGameplayThemeVolume);
}

void LevelIntroCam::FinishFromTimeline()
{
    m_timelineDone = true;
    Finish();
}

void LevelIntroCam::Update(float dt)
{
    auto* graphics = DefaultSystem<GraphicsSystem>();
    if (auto* logic = DefaultSystem<GameLogicSystem>())
        for (const IndexedPlayer& player : LivePlayers(*logic)) {
            if (auto* camera = player.entity->GetComponent<ThirdPersonCameraComponent>()) {
                if (graphics)
                    graphics->RemoveScreen(false);
                camera->SetEnabled(false);
                camera->DestroyReticle(-1);
            }
            PlaceOnSpawn(*logic, *player.entity);
            // Players join after the intro has started, and computer players' set-up leaves
            // control alone: every frame takes it from everyone.
            SetControl(*player.entity, false);
        }
    if (m_timeLeft > 0.0f)
        m_timeLeft -= dt;
    else
        Finish();
}

void LevelIntroCam::End()
{
    // A timeline still running would tween pictures that go below and finish this intro again.
    if (!m_timelineDone)
        m_flows.CancelAll();
    if (!m_begun)
        return;
    auto* graphics = DefaultSystem<GraphicsSystem>();
    if (auto* logic = DefaultSystem<GameLogicSystem>()) {
        logic->m_active = true;
        logic->m_scoreHudRequested = true;
        bool firstView = true;
        const std::vector<IndexedPlayer> players = LivePlayers(*logic);
        for (const IndexedPlayer& player : players) {
            auto* camera = player.entity->GetComponent<ThirdPersonCameraComponent>();
            if (!camera)
                continue;
            camera->ShowReticle(ScreenOf(player.entity));
            camera->SetEnabled(true);
            SetControl(*player.entity, true);
            // One view per person: the first keeps the one that is left.
            if (!firstView && graphics)
                graphics->AddScreen(false);
            firstView = false;
        }
        for (const IndexedPlayer& player : players)
            SetControl(*player.entity, true);
    }
    if (auto* cameras = DefaultSystem<CameraSystem>())
        cameras->SetAutomatedCameraDisabled(true);
    for (EntityRef& ref : m_introEntities)
        DestroyRef(ref);
}

} // namespace quellor
