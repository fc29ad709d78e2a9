#pragma once
// Computer players in the game world: the generated character loaded by the graphics system
// (kept inactive, so no frame is drawn while skinned models still update), the bot archetype
// and the arena written into the world's folder, bots cloned as the match start clones them
// (team and controller id -1 set before their first update), and frames that move the
// simulated clock along with them. A scripted random source pins every draw.
#include "tests/ai/AIWorldKit.h"

#include "ai/behavior/BehaviorTree.h"
#include "ai/behavior/BotBehavior.h"
#include "ai/pathfinding/PathPlanner.h"
#include "ai/steering/SteeringComponent.h"
#include "engine/ActionComponent.h"
#include "engine/ObjectSystem.h"
#include "engine/ResourceSystem.h"
#include "engine/graphics/GraphicsSystem.h"
#include "gameplay/AnimationControllerComponent.h"
#include "gameplay/CharacterMotor3D.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/OrbComponent.h"
#include "gameplay/OrbEmitters.h"
#include "tests/ai/BehaviorTestKit.h"
#include "tests/ai/BotDocuments.h"
#include "tests/gameplay/CharacterKit.h"
#include "tests/support/ContentDir.h"
#include "tests/support/ScriptedRandom.h"

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace quellor::test {

class BotWorldTest : public AIWorldTest {
protected:
    void SetUp() override
    {
        AIWorldTest::SetUp();
        world->graphics->SetActive(false);
        LoadCharacterAssets(*world);
        // The orb's shared emitters, from the built content.
        for (const std::string* file : {&OrbEmitters::kBlastFile, &OrbEmitters::kInnerFile, &OrbEmitters::kOuterFile}) {
            std::ifstream in(tarsel::test::ContentDir() / *file);
            std::ostringstream text;
            text << in.rdbuf();
            world->WriteFile(*file, text.str());
        }
        OrbEmitters::Reset();
        world->WriteFile(std::string("archetypes/") + bot_documents::kBotArchetypeFile, bot_documents::kBotArchetype);
        world->resources->ScanDirectory("");
    }

    void LoadArena() { world->LoadLevel(bot_documents::kArenaFile, bot_documents::kArena); }

    // A bot of the team, not started yet: its set-up runs in the next frame.
    Entity* CloneBot(const std::string& name, const std::string& team)
    {
        Entity* bot = world->objects->Clone(bot_documents::kBotArchetypeFile, name, "default");
        if (!bot)
            return nullptr;
        if (auto* data = bot->GetComponent<PlayerDataComponent>()) {
            data->playerTeam = team;
            data->controllerID = -1;
        }
        return bot;
    }
    // CloneBot and one frame: the bot has joined and has its tree.
    Entity* StartedBot(const std::string& name, const std::string& team)
    {
        Entity* bot = CloneBot(name, team);
        Run(1);
        return bot;
    }

    // Frames of dt 1/60, the clock one frame further before each.
    void Run(int frames)
    {
        for (int i = 0; i < frames; ++i) {
            ++m_frame;
            clock.Set(m_frame * kSecond / 60);
            world->Step(1);
        }
    }

    // The bot's set-up action in lane 0 of its action list (null once gone).
    static BotBehavior* SetupOf(Entity* bot)
    {
        auto* actions = bot ? bot->GetComponent<ActionComponent>() : nullptr;
        if (!actions)
            return nullptr;
        for (Action* action : actions->GetActionList().GetLane(0)->m_actions)
            if (auto* setup = dynamic_cast<BotBehavior*>(action))
                return setup;
        return nullptr;
    }
    static BehaviorTree* TreeOf(Entity* bot) { return bot->GetComponent<BehaviorTree>(); }
    static CharacterMotor3D* MotorOf(Entity* bot) { return bot->GetComponent<CharacterMotor3D>(); }
    static PlayerDataComponent* PlayerOf(Entity* bot) { return bot->GetComponent<PlayerDataComponent>(); }
    static AnimationControllerComponent* AnimationOf(Entity* bot)
    {
        return bot->GetComponent<AnimationControllerComponent>();
    }
    static SteeringComponent* SteeringOf(Entity* bot) { return bot->GetComponent<SteeringComponent>(); }

    // How often the bot is in the match's player list.
    unsigned Listed(const Entity* bot) const
    {
        unsigned count = 0;
        for (const auto& entry : world->logic->GetPlayerList())
            count += entry.address == bot ? 1u : 0u;
        return count;
    }

    // A started bot whose tree only runs one idle leaf, so that a test ticks leaves by hand
    // (bound to the bot's tree), settled on the floor for half a second.
    Entity* HeldBot(const std::string& name, const std::string& team)
    {
        Entity* bot = StartedBot(name, team);
        if (!bot || !TreeOf(bot))
            return nullptr;
        TreeOf(bot)->SetRoot(new ScriptedLeaf("hold", m_holdLog));
        Run(30);
        return bot;
    }

    tarsel::test::ScriptedRandom random{{0}};

private:
    std::int64_t m_frame = 0;
    Log m_holdLog;
};

// A bot at the red spawn point (-30, -30) of the arena, its tree held, for the leaf tests.
class HeldBotTest : public BotWorldTest {
protected:
    void SetUp() override
    {
        BotWorldTest::SetUp();
        LoadArena();
        bot = HeldBot("bot", "red");
        ASSERT_NE(bot, nullptr);
    }

    Entity* bot = nullptr;
};

} // namespace quellor::test
