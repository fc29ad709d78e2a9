#include "gameplay/GameLogicSystem.h"

#include "engine/ActionList.h"
#include "engine/ActionSystem.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Input.h"
#include "engine/Invoke.h"
#include "engine/ObjectSystem.h"
#include "engine/SetValue.h"
#include "engine/SoundSystem.h"
#include "engine/Transform2D.h"
#include "engine/Transform3D.h"
#include "engine/WaitFrame.h"
#include "engine/graphics/GraphicsComponent2D.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/graphics/TextComponent.h"
#include "engine/reflection/MetaRegistrar.h"
#include "gameplay/CharacterMotor3D.h"
#include "gameplay/PlayerDataComponent.h"
#include "gameplay/SpawnPointComponent.h"
#include "gameplay/TagComponent.h"
#include "gameplay/TagMarker.h"
#include "gameplay/ThumperComponent.h"
#include "gameplay/cameras/ThirdPersonCameraComponent.h"
#include "gameplay/cameras/WinCam.h"
#include "physics/RigidBodyComponent3D.h"
#include "renderer/dx11/RenderContext.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quellor {

QUELLOR_RECORD(GameLogicSystem, System, DerivedMetaNotPODNoCopy, WithID) {}

namespace {

constexpr int kEscape = 27;
constexpr int kControl = 17;
constexpr int kW = 87;
constexpr int kPadStart = 4;
constexpr int kPadCount = 4;

PlayerDataComponent* DataOf(const Entity* player)
{
    return player ? player->GetComponent<PlayerDataComponent>() : nullptr;
}

std::string TeamOf(const Entity* player)
{
    const PlayerDataComponent* data = DataOf(player);
    return data ? data->playerTeam : PlayerDataComponent().playerTeam;
}

// Where a player stands: its body, or its transform when it has no body.
bool PositionOf(const Entity& player, Vec4& position)
{
    if (auto* body = player.GetComponent<RigidBodyComponent3D>()) {
        position = body->GetPosition();
        return true;
    }
    if (auto* transform = player.GetComponent<Transform3D>()) {
        position = transform->GetPosition();
        return true;
    }
    return false;
}

float Distance(const Vec4& a, const Vec4& b)
{
    const float x = a.x - b.x;
    const float y = a.y - b.y;
    const float z = a.z - b.z;
    return std::sqrt(x * x + y * y + z * z);
}

constexpr const char* kTagRemovedSound = "tag_removed.ogg";
constexpr const char* kScoreFont = "font_64.bff";
constexpr const char* kScoreFontTexture = "font_64.dds";
constexpr const char* kScoreBackground = "score_bg.mat";

// The 5 is the format's own, not the winning score.
std::string ScoreLine(int score)
{
    char line[32];
    std::snprintf(line, sizeof line, "%i / 5", score);
    return line;
}

void PlaceScoreText(Transform2D& transform, const ZOR::float2& screen)
{
    transform.m_x = screen.x - 117.0f;
    transform.m_y = screen.y - 100.0f;
    transform.m_scaleX = 1.5f;
    transform.m_scaleY = 1.5f;
}

void PlaceScoreBackground(Transform2D& transform, const ZOR::float2& screen)
{
    transform.m_x = screen.x - 128.0f;
    transform.m_y = screen.y - 128.0f;
    transform.m_scaleX = 128.0f;
    transform.m_scaleY = 128.0f;
}

void DestroyAll(std::vector<EntityRef>& entities)
{
    for (EntityRef& ref : entities)
        DestroyRef(ref);
    entities.clear();
}

} // namespace

GameLogicSystem::GameLogicSystem() = default;

GameLogicSystem::~GameLogicSystem() = default;

void GameLogicSystem::Initialize()
{
    m_paused = false;
    m_active = true;
    m_scoreHudRequested = false;
    m_winEnabled = true;
    m_scoreTextDirty = false;
    m_tagSetupPending = true;
    m_startupFrame = true;
    m_hudDelay = false;
}

void GameLogicSystem::Update(float dt)
{
    if (m_startupFrame) {
        m_tagSetupPending = true;
        m_startupFrame = false;
        return;
    }
    // The frame after a join belongs to the tag set-up alone (the tags come with the score
    // display and team tags).
    if (m_tagSetupPending) {
        m_tagSetupPending = false;
        BuildTags();
        return;
    }
    if (m_scoreHudRequested) {
        if (m_hudDelay) {
            m_scoreTextDirty = true;
            BuildScoreHud();
            m_scoreHudRequested = false;
            m_hudDelay = false;
        } else {
            m_hudDelay = true;
        }
    }
    if (m_scoreTextDirty) {
        UpdateScoreText();
        m_scoreTextDirty = false;
    }

    if (m_active && !m_players.empty() && PauseRequested())
        OpenPauseMenu();

    if (auto* graphics = DefaultSystem<GraphicsSystem>())
        graphics->UpdateSkinned(dt);

    UpdateComponents(dt);

    const int winner = FindWinner();
    if (winner >= 0)
        EndMatch(winner);

    UpdateTagTimers(dt);
}

void GameLogicSystem::UpdateComponents(float dt)
{
    for (Slot& slot : m_slots) {
        GameLogicMember* component = slot.Front();
        while (component) {
            GameLogicMember* next = Slot::Next(component);
            component->LogicUpdate(dt);
            component = next;
        }
    }
    PlaceScoreBackgrounds();
    PlaceScoreTexts();
}

void GameLogicSystem::Register(GameLogicMember* component)
{
    if (!component || component->IsInLogicSlot())
        return;
    const auto index = static_cast<std::size_t>(component->GetLogicSlot());
    if (index >= kSlotCount) {
        ZOR::Log("GameLogicSystem: a component names slot %zu, which does not exist", index);
        return;
    }
    m_slots[index].PushBack(component);
}

void GameLogicSystem::Unregister(GameLogicMember* component)
{
    if (!component)
        return;
    for (Slot& slot : m_slots)
        if (slot.Contains(component)) {
            Slot::Remove(component);
            return;
        }
}

const IntrusiveListBase<GameLogicMember>& GameLogicSystem::GetSlot(LogicSlot slot) const
{
    return m_slots.at(static_cast<std::size_t>(slot));
}

void GameLogicSystem::AddPlayer(int, Entity* player, bool isBot, bool cameraOn)
{
    if (!player) {
        ZOR::Log("GameLogicSystem::AddPlayer: no player entity");
        return;
    }
    const bool person = !isBot;
    // A person's view is numbered by the people who joined before it.
    const auto peopleJoined =
        std::count_if(m_players.begin(), m_players.end(), [](const PlayerEntry& entry) { return entry.person; });
    if (person)
        if (auto* camera = player->GetComponent<ThirdPersonCameraComponent>()) {
            camera->SetScreenID(static_cast<int>(peopleJoined));
            camera->SetEnabled(cameraOn);
        }
    // The first person uses the screen that always exists; each later one adds one.
    const bool personJoined = peopleJoined > 0;
    if (person && personJoined)
        if (auto* graphics = DefaultSystem<GraphicsSystem>())
            graphics->AddScreen(false);

    const std::string team = TeamOf(player);
    m_scores[team] = 0;
    if (PlayerDataComponent* data = DataOf(player))
        data->m_cameraFreeze = false;
    m_players.push_back(PlayerEntry{EntityRef(player), player, person});

    // Without a spawn point for the team the player stays where it stands.
    if (SpawnPointComponent* point = ChooseSpawnPoint(team))
        if (auto* motor = player->GetComponent<CharacterMotor3D>())
            motor->Teleport(point->GetPosition());

    m_scoreTextDirty = false;
    m_tagSetupPending = true;
    if (!GetTeamTags(team))
        m_teamTags.emplace_back(team, TagTable{});
}

void GameLogicSystem::RemovePlayer(int, Entity* player)
{
    if (m_players.empty())
        return;
    auto found = std::find_if(m_players.begin(), m_players.end(),
                              [player](const PlayerEntry& entry) { return entry.address == player; });
    const auto k = static_cast<std::size_t>(found - m_players.begin());
    bool person = false;
    if (found != m_players.end()) {
        person = found->person;
        m_players.erase(found);
    }
    if (k < m_scoreTexts.size())
        m_scoreTexts.erase(m_scoreTexts.begin() + static_cast<std::ptrdiff_t>(k));
    // Only a person had a screen of its own.
    if (person) {
        if (auto* graphics = DefaultSystem<GraphicsSystem>())
            graphics->RemoveScreen(true);
    }
    if (m_players.empty()) {
        // Names come back in the next match; so would stale tags.
        m_teamTags.clear();
        return;
    }
    DestroyScoreHud();
    m_scoreTextDirty = true;
}

void GameLogicSystem::AddScore(std::string team)
{
    auto score = m_scores.find(team);
    if (score != m_scores.end())
        ++score->second;
    m_scoreTextDirty = true;
    PlayEffect("score_point.ogg");
}

void GameLogicSystem::ResetScores()
{
    m_scores.clear();
    DestroyScoreHud();
}

SpawnPointComponent* GameLogicSystem::ChooseSpawnPoint(std::string team)
{
    SpawnPointComponent* best = nullptr;
    float bestMean = 0.0f;
    const float divisor = m_players.empty() ? 1.0f : static_cast<float>(m_players.size());
    for (GameLogicMember* member : GetSlot(LogicSlot::SpawnPointComponent)) {
        auto* candidate = dynamic_cast<SpawnPointComponent*>(member);
        if (!candidate || candidate->m_team != team)
            continue;
        const Vec4 at = candidate->GetTransformPosition();
        float sum = 0.0f;
        for (const PlayerEntry& entry : m_players) {
            Entity* player = entry.Get();
            Vec4 position;
            if (!player || !PositionOf(*player, position))
                continue;
            if (team == "none" || TeamOf(player) != team)
                sum += Distance(position, at);
        }
        const float mean = sum / divisor;
        if (!best || mean > bestMean) {
            best = candidate;
            bestMean = mean;
        }
    }
    if (!best)
        Warn(team);
    return best;
}

Entity* GameLogicSystem::GetPlayer(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_players.size())
        return nullptr;
    return m_players[static_cast<std::size_t>(index)].Get();
}

GameLogicSystem::TagTable* GameLogicSystem::GetTeamTags(const std::string& team)
{
    for (auto& [name, table] : m_teamTags)
        if (name == team)
            return &table;
    return nullptr;
}

void GameLogicSystem::BuildTags()
{
    for (const PlayerEntry& entry : m_players) {
        Entity* player = entry.Get();
        PlayerDataComponent* data = DataOf(player);
        if (!data)
            continue;
        // Tags of an earlier set-up stay: a match's joins come in one frame.
        data->SetTagMarker(BuildTag(player, "tag", "single_tag_" + data->playerTeam + ".mat"));
        data->SetTeamTagMarker(BuildTag(player, "teamTag", "team_tag_" + data->playerTeam + ".mat"));
    }
}

Entity* GameLogicSystem::BuildTag(Entity* player, const std::string& baseName, const std::string& material)
{
    Entity* tag = ObjectSystem::CreateUniqueEntity(baseName);
    if (!tag)
        return nullptr;
    if (auto* transform = tag->AddComponent<Transform3D>(true)) {
        transform->m_scaleX = 0.0f;
        transform->m_scaleY = 0.0f;
        transform->m_scaleZ = 0.0f;
    }
    if (auto* component = tag->AddComponent<TagComponent>(true))
        component->Setup(player, material);
    return tag;
}

void GameLogicSystem::ActivateTeamTag(Entity* tagger, Entity* target)
{
    if (!target)
        return;
    const std::string team = TeamOf(tagger);
    for (const PlayerEntry& entry : m_players) {
        Entity* mate = entry.Get();
        PlayerDataComponent* data = DataOf(mate);
        if (!data || mate == tagger || data->playerTeam != team)
            continue;
        const TagMarker* own = TagMarker::Of(data->GetTagMarker());
        if (own && own->IsShown() && own->GetTarget() == target)
            continue;
        TagMarker* teamTag = TagMarker::Of(data->GetTeamTagMarker());
        if (!teamTag)
            continue;
        teamTag->SetTarget(target);
        teamTag->Show();
        std::printf("Activate Team Tag for %s: %s\n", mate->GetName().c_str(), target->GetName().c_str());
    }
}

void GameLogicSystem::DeactivateTeamTag(Entity* tagger, Entity* target)
{
    if (target)
        DeactivateTeamTag(tagger, EntityRef(target), target->GetName());
}

void GameLogicSystem::DeactivateTeamTag(const Entity* player, const EntityRef& target, const std::string& name)
{
    // No target is no match: null would equal every idle tag's none.
    if (target == EntityRef())
        return;
    const std::string team = TeamOf(player);
    for (const PlayerEntry& entry : m_players) {
        Entity* mate = entry.Get();
        PlayerDataComponent* data = DataOf(mate);
        if (!data || mate == player || data->playerTeam != team)
            continue;
        Entity* tagEntity = data->GetTeamTagMarker();
        auto* teamTag = tagEntity ? tagEntity->GetComponent<TagComponent>() : nullptr;
        if (!teamTag || !teamTag->IsShown() || !(teamTag->GetTargetRef() == target))
            continue;
        // It keeps following the target while it shrinks.
        teamTag->Hide();
        teamTag->ClearHiding();
        std::printf("Dectivate Team Tag: %s\n", name.c_str());
    }
}

void GameLogicSystem::UpdateTagTimers(float dt)
{
    for (auto& [team, table] : m_teamTags) {
        for (std::size_t i = 0; i < table.size();) {
            TeamTag& record = table[i].second;
            record.timer -= dt;
            const bool noTarget = record.target == EntityRef();
            const Entity* target = record.target.Get();
            const PlayerDataComponent* data = DataOf(target);
            // A target that has gone (its reference reads null) ends like a destroyed one.
            const bool alive = target && !target->IsDestroyed() && !(data && data->m_dying);
            if (record.timer > 0.0f && (noTarget || alive)) {
                ++i;
                continue;
            }
            // Copies: ending the tag may call out, and the record goes right after.
            const EntityRef ended = record.target;
            const std::string name = table[i].first;
            EndTag(ended, name);
            table.erase(table.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
}

void GameLogicSystem::EndTag(const EntityRef& target, const std::string& name)
{
    if (target == EntityRef())
        return;
    auto* sound = GetSystem<SoundSystem>();
    for (const PlayerEntry& entry : m_players) {
        Entity* owner = entry.Get();
        PlayerDataComponent* data = DataOf(owner);
        Entity* tagEntity = data ? data->GetTagMarker() : nullptr;
        auto* own = tagEntity ? tagEntity->GetComponent<TagComponent>() : nullptr;
        if (!own || own->IsHiding() || !(own->GetTargetRef() == target))
            continue;
        own->Hide();
        data->m_hasTag = false;
        DeactivateTeamTag(owner, target, name);
        if (sound)
            sound->Play(kTagRemovedSound, data->controllerID);
    }
}

void GameLogicSystem::AddScoreHud(Entity* background, Entity* text)
{
    m_scoreBackgrounds.emplace_back(background);
    m_scoreTexts.emplace_back(text);
}

void GameLogicSystem::BuildScoreHud()
{
    for (std::size_t i = 0; i < m_players.size(); ++i) {
        const int screen = static_cast<int>(i);
        Entity* entity = ObjectSystem::CreateUniqueEntity("playerScore");
        if (!entity)
            continue;
        const ZOR::float2 size = ScreenSize(screen);
        if (auto* transform = entity->AddComponent<Transform2D>(true))
            PlaceScoreText(*transform, size);
        if (auto* text = entity->AddComponent<TextComponent>(true)) {
            text->SetFont(kScoreFont);
            text->SetFontTexture(kScoreFontTexture);
            // The component recolours its text every frame.
            text->m_color = Vec4(0.0f, 0.0f, 1.0f, 1.0f);
            text->SetColor(0.0f, 0.0f, 1.0f, 1.0f);
            text->SetScreenID(screen);
            text->SetValue(ScoreLine(ScoreOf(m_players[i].Get())));
        }
        m_scoreTexts.emplace_back(entity);
    }
    BuildScoreBackgrounds();
}

void GameLogicSystem::BuildScoreBackgrounds()
{
    for (std::size_t i = 0; i < m_players.size(); ++i) {
        const int screen = static_cast<int>(i);
        Entity* entity = ObjectSystem::CreateUniqueEntity("score_bg");
        if (!entity)
            continue;
        auto* transform = entity->AddComponent<Transform2D>(true);
        if (auto* sprite = entity->AddComponent<GraphicsComponent2D>(true)) {
            sprite->SetMaterial(kScoreBackground);
            sprite->SetScreenID(screen);
        }
        if (transform)
            PlaceScoreBackground(*transform, ScreenSize(screen));
        m_scoreBackgrounds.emplace_back(entity);
    }
}

void GameLogicSystem::PlaceScoreBackgrounds()
{
    GraphicsSystem* graphics = DefaultSystem<GraphicsSystem>();
    const std::size_t count = std::min(m_scoreBackgrounds.size(), m_players.size());
    for (std::size_t i = 0; i < count; ++i) {
        Entity* background = m_scoreBackgrounds[i].Get();
        if (auto* transform = background ? background->GetComponent<Transform2D>() : nullptr)
            PlaceScoreBackground(*transform, ScreenSize(graphics, static_cast<int>(i)));
    }
}

void GameLogicSystem::UpdateScoreText()
{
    ForEachPersonScoreText([this](Entity& text, Entity& player, int) {
        if (auto* component = text.GetComponent<TextComponent>())
            component->SetValue(ScoreLine(ScoreOf(&player)));
    });
    PlaceScoreTexts();
}

void GameLogicSystem::PlaceScoreTexts()
{
    GraphicsSystem* graphics = DefaultSystem<GraphicsSystem>();
    ForEachPersonScoreText([graphics](Entity& text, Entity&, int screen) {
        if (auto* transform = text.GetComponent<Transform2D>())
            PlaceScoreText(*transform, ScreenSize(graphics, screen));
    });
}

template <typename Visit>
void GameLogicSystem::ForEachPersonScoreText(Visit visit)
{
    // Texts past the player count belong to no one.
    const std::size_t count = std::min(m_scoreTexts.size(), m_players.size());
    for (std::size_t i = 0; i < count; ++i) {
        Entity* player = m_players[i].Get();
        Entity* text = m_scoreTexts[i].Get();
        // Computer players have no camera, hence no view of their own.
        const int screen = ScreenOf(player);
        if (screen >= 0 && player && text)
            visit(*text, *player, screen);
    }
}

int GameLogicSystem::ScoreOf(const Entity* player) const
{
    const auto score = m_scores.find(TeamOf(player));
    return score == m_scores.end() ? 0 : score->second;
}

ZOR::float2 GameLogicSystem::ScreenSize(int screen) const
{
    return ScreenSize(DefaultSystem<GraphicsSystem>(), screen);
}

ZOR::float2 GameLogicSystem::ScreenSize(GraphicsSystem* graphics, int screen)
{
    return graphics ? graphics->GetOrthographicProjectionSize(screen) : ZOR::float2(0.0f, 0.0f);
}

bool GameLogicSystem::PauseRequested() const
{
    auto* input = GetSystem<Input>();
    if (!input)
        return false;
    if (input->KeyIsPressed(kEscape, -1))
        return true;
    for (int pad = 0; pad < kPadCount; ++pad)
        if (input->IsConnected(pad) && input->KeyIsPressed(kPadStart, pad))
            return true;
    return false;
}

void GameLogicSystem::OpenPauseMenu()
{
    m_paused = !m_paused;
    Action* menu = m_pauseMenuFactory.IsEmpty() ? nullptr : m_pauseMenuFactory();
    if (menu) {
        if (auto* actions = GetSystem<ActionSystem>())
            actions->AddAction(menu, 0);
        else
            delete menu;
    }
    // The scores are hidden while the menu is open.
    for (const EntityRef& ref : m_scoreTexts)
        if (Entity* text = ref.Get())
            if (auto* component = text->GetComponent<TextComponent>())
                component->SetValue(" ");
}

int GameLogicSystem::FindWinner()
{
    auto* input = GetSystem<Input>();
    const bool debugWin = input && m_active && input->KeyIsDown(kControl, -1) && input->KeyIsPressed(kW, -1);
    for (std::size_t i = 0; i < m_players.size(); ++i) {
        Entity* player = m_players[i].Get();
        if (!player)
            continue;
        const int score = m_scores[TeamOf(player)];
        if ((score >= kWinningScore && m_winEnabled) || debugWin)
            return static_cast<int>(i);
    }
    return -1;
}

void GameLogicSystem::EndMatch(int winner)
{
    m_winner = m_players[static_cast<std::size_t>(winner)].ref;
    if (auto* sound = GetSystem<SoundSystem>()) {
        sound->StopAll();
        sound->Play("game_over.ogg", 0);
    }
    m_winEnabled = false;

    // The winner's shot first; a winner that goes cuts it short and the sequence goes on.
    Action* winCamera = new WinCam(kWinShotSeconds, m_winner.Get());
    Engine* engine = GetEngine();
    Action* destroy = engine ? new Invoke(Delegate<>(engine, &Engine::DestroyDefaultEntities)) : nullptr;
    Action* mainMenu = m_mainMenuFactory.IsEmpty() ? nullptr : m_mainMenuFactory(true);
    ActionList* sequence = MakeSequence(winCamera, destroy, new WaitFrame(1), new WaitFrame(1), new WaitFrame(1),
                                        new SetValue(&m_winEnabled, true), mainMenu);
    if (auto* actions = GetSystem<ActionSystem>())
        actions->AddAction(sequence, 0);
    else
        delete sequence;

    for (GameLogicMember* member : GetSlot(LogicSlot::ThumperComponent))
        if (auto* thumper = dynamic_cast<ThumperComponent*>(member))
            thumper->SetRunning(false);
}

void GameLogicSystem::DestroyScoreHud()
{
    DestroyAll(m_scoreBackgrounds);
    DestroyAll(m_scoreTexts);
}

void GameLogicSystem::PlayEffect(const std::string& name)
{
    if (auto* sound = GetSystem<SoundSystem>())
        sound->Play(name, 0);
}

void GameLogicSystem::Warn(const std::string& team)
{
    if (m_teamsWarned.insert(team).second)
        ZOR::Log("Warning: no spawn point for team \"%s\"", team.c_str());
}

} // namespace quellor
