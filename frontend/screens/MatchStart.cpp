#include "frontend/screens/MatchStart.h"

#include "engine/ActionList.h"
#include "engine/ActionSystem.h"
#include "engine/Easing.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Invoke.h"
#include "engine/ObjectSystem.h"
#include "engine/Transform3D.h"
#include "engine/TweenTo.h"
#include "engine/WaitFrame.h"
#include "engine/graphics/GraphicsComponent3DSkinned.h"
#include "engine/graphics/GraphicsSystem.h"
#include "frontend/screens/MenuScreen.h"
#include "gameplay/PlayerDataComponent.h"
#include "gameplay/SkinMountComponent.h"
#include "gameplay/cameras/LevelIntroCam.h"

#include <chrono>
#include <cstdio>

namespace quellor {

namespace {

constexpr const char* kSpace = MenuScreen::kSpace;

// The screen fade to `to` over the seconds; null without a graphics system.
Action* Fade(float to, float seconds)
{
    auto* graphics = DefaultSystem<GraphicsSystem>();
    return graphics ? new TweenTo(&graphics->GetFadeFactor(), seconds, to, Easing::kLinear, true, false) : nullptr;
}

double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

MatchStart::MatchStart(CharSelectRules roster) : m_roster(std::move(roster)) {}

MatchStart::~MatchStart() = default;

Action* MatchStart::MakeIntro(const std::vector<CharSelectRules::PlayerEntry>& entries)
{
    return new LevelIntroCam(entries);
}

Action* MatchStart::MakeSequence(Action* screen)
{
    m_screen.Reset(screen);
    // Each step holds the object, so the sequence can outlive the screen that queued it.
    std::shared_ptr<MatchStart> self = shared_from_this();
    Action* clear = new Invoke([] {
        if (Engine* engine = Engine::Existing())
            engine->DestroyDefaultEntities();
    });
    Action* load = new Invoke([self] { self->LoadMatchLevel(); });
    Action* spawn = new Invoke([self] {
        self->SpawnPlayers();
        if (self->m_screen)
            self->m_screen->Finish();
    });
    // Entities go at the end of the frame that destroys them: the level loads a frame later.
    Action* inner = quellor::MakeSequence(new WaitFrame(1), load, new WaitFrame(1), new WaitFrame(1), spawn,
                                          MakeParallel(Fade(1.0f, kFadeIn), MakeIntro(m_roster.Entries())));
    return quellor::MakeSequence(Fade(0.0f, kFadeOut), clear, inner);
}

bool MatchStart::Queue(Action* screen)
{
    auto* actions = DefaultSystem<ActionSystem>();
    if (!actions) {
        std::printf("Warning: no ActionSystem; the match does not start\n");
        return false;
    }
    actions->AddAction(MakeSequence(screen), kLane);
    return true;
}

void MatchStart::LoadMatchLevel()
{
    const auto start = std::chrono::steady_clock::now();
    if (auto* objects = DefaultSystem<ObjectSystem>())
        objects->LoadLevel(kLevel);
    else
        std::printf("Warning: no ObjectSystem; \"%s\" is not loaded\n", kLevel);
    m_timings.load = SecondsSince(start);
}

std::vector<Entity*> MatchStart::SpawnPlayers()
{
    const auto start = std::chrono::steady_clock::now();
    std::vector<Entity*> players;
    auto add = [&](Entity* player) {
        if (player)
            players.push_back(player);
    };
    for (int u = 0; u < CharSelectRules::kSlots; ++u) {
        const CharSelectRules::Slot& slot = m_roster.GetSlot(u);
        if (slot.joined)
            add(SpawnPlayer(kPersonArchetype, slot.team, u, u, m_roster.HairEntry(u), m_roster.MaskEntry(u)));
    }
    // Every computer player wears what slot 0 has chosen, whether slot 0 is joined or not.
    for (int colour : m_roster.GetComputerPlayers())
        add(SpawnPlayer(kBotArchetype, colour, -1, std::nullopt, m_roster.HairEntry(0), m_roster.MaskEntry(0)));
    m_timings.spawn = SecondsSince(start);
    return players;
}

Entity* MatchStart::SpawnPlayer(const char* archetype, int colour, int controllerID,
                                std::optional<int> mountController, const std::string& hair, const std::string& mask)
{
    auto* objects = DefaultSystem<ObjectSystem>();
    if (!objects) {
        std::printf("Warning: no ObjectSystem; no player from \"%s\"\n", archetype);
        return nullptr;
    }
    Entity* player = objects->Clone(archetype, objects->UniqueEntityName("player"), kSpace);
    if (!player)
        return nullptr;
    if (auto* data = player->GetComponent<PlayerDataComponent>()) {
        data->playerTeam = CharSelectRules::TeamName(colour);
        data->controllerID = controllerID;
    } else {
        std::printf("Warning: the player from \"%s\" has no PlayerDataComponent; its team and controller are not set\n",
                    archetype);
    }
    if (auto* skinned = player->GetComponent<GraphicsComponent3DSkinned>())
        skinned->SetMaterial(CharSelectRules::BodyMaterial(colour));
    else
        std::printf("Warning: the player from \"%s\" has no GraphicsComponent3DSkinned; its body colour is not set\n",
                    archetype);
    MakeMount("hair", hair, *player, mountController);
    MakeMount("mask", mask, *player, mountController);
    return player;
}

void MatchStart::MakeMount(const char* baseName, const std::string& entry, Entity& host,
                           std::optional<int> mountController)
{
    Entity* mount = ObjectSystem::CreateUniqueEntity(baseName);
    if (!mount)
        return;
    mount->AddComponent<Transform3D>(true);
    auto* skin = mount->AddComponent<SkinMountComponent>(true);
    if (!skin)
        return;
    if (mountController)
        skin->m_controllerID = *mountController;
    skin->SetTarget(&host);
    const auto [model, material] = CharSelectRules::SplitEntry(entry);
    skin->SetMountName(model + ".model");
    skin->SetMatName(material + ".mat");
    skin->m_boneNum = kMountBone;
}

} // namespace quellor
