#include "frontend/screens/FeatherStats.h"

#include "engine/ActionList.h"
#include "engine/ActionSystem.h"
#include "engine/Easing.h"
#include "engine/Entity.h"
#include "engine/Input.h"
#include "engine/Random.h"
#include "engine/SetValue.h"
#include "engine/Transform2D.h"
#include "engine/TweenTo.h"
#include "engine/Wait.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/reflection/MetaRegistrar.h"
#include "frontend/content/ContentSystem.h"
#include "frontend/screens/LevelProps.h"
#include "gameplay/FeatherSystem.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/cameras/CameraPlacement.h"
#include "gameplay/cameras/MatchOverlay.h"
#include "gameplay/PlayerDataComponent.h"
#include "gameplay/cameras/ThirdPersonCameraComponent.h"

#include <cstdio>
#include <map>

namespace quellor {

QUELLOR_RECORD(FeatherStats, Action, DerivedMetaNotPODNoCopy, NoID) {}

namespace {

constexpr float kTitleAspect = 1.33333f;
constexpr float kSlideSeconds = 1.0f;
constexpr float kFeatherSeconds = 0.25f;
constexpr float kTicketWait = 0.35f;
constexpr float kMarkerSeconds = 0.15f;
constexpr float kExitSeconds = 0.75f;
constexpr float kPreviewWait = 0.5f;
constexpr float kPreviewSeconds = 0.25f;
constexpr float kRowX = 20.0f;
constexpr float kRowStep = 0.2f;   // of the height, per row
constexpr float kFeatherStep = 0.1f; // of the width, per feather
constexpr float kFeatherStart = 10.0f; // times the feather's place
constexpr int kPadA = 10;
constexpr int kEnter = 13;
constexpr int kSpaceKey = 32;
constexpr int kPadCount = 4;
constexpr unsigned kRollRange = 100;
constexpr unsigned kHairFrom = 50;

unsigned Draw()
{
    return static_cast<unsigned>(Random());
}

Action* Blocking(Action* action)
{
    action->Block();
    return action;
}

Action* TweenField(float* field, float seconds, float to, int easing)
{
    return new TweenTo(field, seconds, to, easing, true, false);
}

} // namespace

FeatherStats::Reward FeatherStats::Roll(const std::vector<std::string>& lockedHair,
                                        const std::vector<std::string>& lockedMasks)
{
    Reward reward;
    const unsigned r1 = Draw() % kRollRange;
    if (r1 < kRollRange - kWinChance || (lockedHair.empty() && lockedMasks.empty()))
        return reward;
    const unsigned r2 = Draw() % kRollRange;
    bool hair = r2 >= kHairFrom;
    if (hair && lockedHair.empty())
        hair = false;
    else if (!hair && lockedMasks.empty())
        hair = true;
    const std::vector<std::string>& list = hair ? lockedHair : lockedMasks;
    reward.kind = hair ? Reward::Hair : Reward::Mask;
    reward.item = list[Draw() % list.size()];
    return reward;
}

ZOR::float2 FeatherStats::ExitPlace(unsigned rank, unsigned count, float width, float height)
{
    const float step = width / static_cast<float>(count + 1);
    return ZOR::float2(static_cast<float>(rank) * step + step / 2.0f, height / 8.0f);
}

std::string FeatherStats::PreviewMaterial(const std::string& item)
{
    const auto colon = item.find(':');
    return (colon == std::string::npos ? item : item.substr(colon + 1)) + ".mat";
}

FeatherStats::FeatherStats() : Action(true)
{
    m_onStarted.Connect(MakeDelegate(this, &FeatherStats::Start), 0);
    m_onEnded.Connect(MakeDelegate(this, &FeatherStats::End), 0);
}

FeatherStats::~FeatherStats() = default;

void FeatherStats::Start()
{
    GraphicsSystem* graphics = DefaultSystem<GraphicsSystem>();
    auto* actions = DefaultSystem<ActionSystem>();
    if (!graphics || !actions) {
        // Nothing could play, so nothing would ever accept the confirm press: the screen ends.
        std::printf("Warning: FeatherStats needs the graphics and action systems; the results are not shown\n");
        Finish();
        return;
    }
    const ZOR::float2 area = graphics->GetOrthographicProjectionSize(-1);
    const float width = area.x;
    const float height = area.y;

    auto* list = new ActionList(true, true);
    list->Block();
    const float titleWidth = kTitleAspect * height;
    Entity* title = MakeSprite("title", "results_title.mat", (width - titleWidth) * 0.5f, height, titleWidth, height);
    if (Transform2D* transform = title ? title->GetComponent<Transform2D>() : nullptr)
        list->PushBack(Blocking(TweenField(&transform->m_y, kSlideSeconds, 0.0f, Easing::kBackOut)), 0);

    BuildRows(*list, width, height);
    if (auto* feathers = DefaultSystem<FeatherSystem>())
        feathers->Reset();
    BuildLottery(*list, height);
    BuildExit(*list, width, height);
    BuildPreviews(*list, width, height);

    actions->AddAction(list, kLane);
    m_list.Reset(list);
    m_listStarted = true;
    if (!m_rewards.empty())
        if (auto* content = DefaultSystem<ContentSystem>())
            content->Save();
}

void FeatherStats::BuildRows(ActionList& list, float width, float height)
{
    auto* logic = DefaultSystem<GameLogicSystem>();
    auto* feathers = DefaultSystem<FeatherSystem>();
    if (!logic)
        return;
    std::map<std::string, int> teams;
    for (unsigned i = 0; i < logic->GetPlayerCount(); ++i) {
        Entity* player = logic->GetPlayer(static_cast<int>(i));
        // Computer players have no camera, and their teams no row.
        if (!player || !player->GetComponent<ThirdPersonCameraComponent>())
            continue;
        auto* data = player->GetComponent<PlayerDataComponent>();
        if (!data || teams.count(data->playerTeam))
            continue;
        const int count = feathers ? feathers->GetFeathers(data->playerTeam) : 0;
        teams[data->playerTeam] = count;
        const float rowY = kRowStep * height * static_cast<float>(teams.size());

        const float boidSize = height / 6.0f;
        Entity* boid = MakeSprite("boid", data->playerTeam + "_boid.mat", kRowX, height, boidSize, boidSize);
        if (Transform2D* transform = boid ? boid->GetComponent<Transform2D>() : nullptr)
            list.PushBack(Blocking(TweenField(&transform->m_y, kSlideSeconds, rowY, Easing::kBackOut)), 0);

        const float featherSize = height / 7.0f;
        for (int j = 0; j < count; ++j) {
            const float x = kRowX + boidSize + static_cast<float>(j) * kFeatherStep * width;
            Entity* feather = MakeSprite("feather", "results_feather.mat", kFeatherStart * x, rowY, featherSize,
                                         featherSize);
            if (!feather)
                continue;
            m_feathers.emplace_back(feather);
            m_featherPlaces.emplace_back(x, rowY);
            if (Transform2D* transform = feather->GetComponent<Transform2D>())
                list.PushBack(Blocking(TweenField(&transform->m_x, kFeatherSeconds, x, Easing::kExponentialOut)), 0);
        }
    }
}

void FeatherStats::BuildLottery(ActionList& list, float height)
{
    auto* content = DefaultSystem<ContentSystem>();
    const float featherSize = height / 7.0f;
    for (std::size_t f = 0; f < m_feathers.size(); ++f) {
        Transform2D* feather = ComponentOf<Transform2D>(m_feathers[f]);
        if (!feather)
            continue;
        list.PushBack(Blocking(new Wait(kTicketWait)), 0);
        list.PushBack(MakeParallel(new SetValue(&feather->m_scaleX, 0.0f), new SetValue(&feather->m_scaleY, 0.0f)), 0);

        Reward reward;
        if (content) {
            reward = Roll(content->GetLockedHair(), content->GetLockedMasks());
            if (reward.kind == Reward::Hair)
                content->UnlockHair(reward.item);
            else if (reward.kind == Reward::Mask)
                content->UnlockMask(reward.item);
        }
        const bool won = reward.kind != Reward::None;
        // The marker sits where the feather lands.
        const ZOR::float2 place = m_featherPlaces[f];
        Entity* marker = MakeSprite("redX", won ? "results_win.mat" : "results_loss.mat", place.x, place.y, 0.0f, 0.0f);
        if (!marker)
            continue;
        if (won) {
            m_rewards.push_back(reward);
            m_wonMarkers.push_back(m_entities.size() - 1);
        }
        if (Transform2D* transform = marker ? marker->GetComponent<Transform2D>() : nullptr)
            list.PushBack(Blocking(MakeParallel(
                              TweenField(&transform->m_scaleX, kMarkerSeconds, featherSize, Easing::kElasticOut),
                              TweenField(&transform->m_scaleY, kMarkerSeconds, featherSize, Easing::kElasticOut))),
                          0);
    }
}

void FeatherStats::BuildExit(ActionList& list, float width, float height)
{
    auto* away = new ActionList(true, true);
    auto* gather = new ActionList(true, true);
    const auto won = static_cast<unsigned>(m_wonMarkers.size());
    std::vector<int> rankOf(m_entities.size(), -1);
    for (unsigned rank = 0; rank < won; ++rank)
        rankOf[m_wonMarkers[rank]] = static_cast<int>(rank);
    for (std::size_t i = 0; i < m_entities.size(); ++i) {
        Transform2D* transform = ComponentOf<Transform2D>(m_entities[i]);
        if (!transform)
            continue;
        if (rankOf[i] >= 0) {
            const ZOR::float2 place = ExitPlace(static_cast<unsigned>(rankOf[i]), won, width, height);
            const float size = height / 2.0f;
            gather->PushBack(TweenField(&transform->m_scaleX, kExitSeconds, size, Easing::kBackOut), 0);
            gather->PushBack(TweenField(&transform->m_scaleY, kExitSeconds, size, Easing::kBackOut), 0);
            gather->PushBack(TweenField(&transform->m_x, kExitSeconds, place.x, Easing::kBackOut), 0);
            gather->PushBack(TweenField(&transform->m_y, kExitSeconds, place.y, Easing::kBackOut), 0);
        } else {
            // From where the entity was built, before any slide.
            const ZOR::float2 built = m_built[i];
            away->PushBack(TweenField(&transform->m_x, kExitSeconds, built.x - width, Easing::kBackIn), 0);
            away->PushBack(TweenField(&transform->m_y, kExitSeconds, built.y - height, Easing::kBackIn), 0);
        }
    }
    list.PushBack(Blocking(away), 0);
    list.PushBack(Blocking(gather), 0);
}

void FeatherStats::BuildPreviews(ActionList& list, float width, float height)
{
    const auto won = static_cast<unsigned>(m_rewards.size());
    const float size = height / 2.0f;
    for (unsigned m = 0; m < won; ++m) {
        list.PushBack(Blocking(new Wait(kPreviewWait)), 0);
        const ZOR::float2 place = ExitPlace(m, won, width, height);
        Entity* preview = MakeSprite("unlockPrev", PreviewMaterial(m_rewards[m].item), place.x, place.y, 0.0f, 0.0f);
        if (Transform2D* marker = ComponentOf<Transform2D>(m_entities[m_wonMarkers[m]]))
            list.PushBack(MakeParallel(new SetValue(&marker->m_scaleX, 0.0f), new SetValue(&marker->m_scaleY, 0.0f)), 0);
        if (Transform2D* transform = preview ? preview->GetComponent<Transform2D>() : nullptr)
            list.PushBack(
                Blocking(MakeParallel(TweenField(&transform->m_scaleY, kPreviewSeconds, size, Easing::kElasticOut),
                                      TweenField(&transform->m_scaleX, kPreviewSeconds, size, Easing::kElasticOut))),
                0);
    }
}

void FeatherStats::Update(float)
{
    if (!IsShown())
        return;
    auto* input = DefaultSystem<Input>();
    if (!input)
        return;
    bool pressed = input->KeyIsPressed(kEnter, -1) || input->KeyIsPressed(kSpaceKey, -1);
    for (int pad = 0; pad < kPadCount && !pressed; ++pad)
        pressed = input->KeyIsPressed(kPadA, pad);
    if (pressed)
        Finish();
}

void FeatherStats::End()
{
    // Ended early (its entity gone with the level): the choreography must not go on tweening
    // entities that go with it. The entities themselves stay.
    m_list.Cancel();
}

Entity* FeatherStats::MakeSprite(const char* base, const std::string& material, float x, float y, float width,
                                 float height)
{
    Entity* entity = CreateOverlayPicture(base, material, x, y, width, height);
    if (entity) {
        m_entities.emplace_back(entity);
        m_built.emplace_back(x, y);
    }
    return entity;
}

} // namespace quellor
