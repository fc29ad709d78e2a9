#include "ai/behavior/BotBehavior.h"

#include "ai/AITargetingComponent.h"
#include "ai/SensoryMemoryComponent.h"
#include "ai/behavior/AIDataComponent.h"
#include "ai/behavior/BehaviorTree.h"
#include "ai/behavior/BehaviorTreeBuilder.h"
#include "ai/pathfinding/PathPlanner.h"
#include "ai/steering/SteeringComponent.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Transform3D.h"
#include "engine/reflection/MetaRegistrar.h"
#include "gameplay/AnimationControllerComponent.h"
#include "gameplay/AttackManager.h"
#include "gameplay/CharacterMotor3D.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/LiftComponent.h"
#include "gameplay/OrbComponent.h"
#include "gameplay/PlayerBody.h"
#include "gameplay/PlayerDataComponent.h"
#include "physics/RigidBodyComponent3D.h"

#include <cmath>
#include <cstdio>

namespace quellor {

QUELLOR_RECORD(BotBehavior, Action, DerivedMetaNotPODNoCopy, NoID) {}

namespace {

// The spawn reference point lies this far above the body's centre of mass.
constexpr float kSpawnReferenceHeight = 20.0f;

// Resets tuning values that are no numbers (code can set them; files cannot) to the defaults.
void MendTuning(AIDataComponent& data, const std::string& bot)
{
    const AIDataComponent& defaults = AIDataComponent::Defaults();
    const struct {
        const char* name;
        float AIDataComponent::*field;
    } fields[] = {
        {"reactionTime", &AIDataComponent::reactionTime},
        {"maxVerticalAimAngle", &AIDataComponent::maxVerticalAimAngle},
        {"accuracy", &AIDataComponent::accuracy},
        {"liftBeamAimSpeed", &AIDataComponent::liftBeamAimSpeed},
        {"liftAimInterval", &AIDataComponent::liftAimInterval},
        {"liftBias", &AIDataComponent::liftBias},
        {"orbBias", &AIDataComponent::orbBias},
    };
    for (const auto& f : fields)
        if (!std::isfinite(data.*f.field)) {
            std::printf("Warning: BotBehavior of \"%s\": %s is not a finite number; it takes its default %g\n",
                        bot.c_str(), f.name, static_cast<double>(defaults.*f.field));
            data.*f.field = defaults.*f.field;
        }
}

} // namespace

BotBehavior::BotBehavior() : Action(true)
{
    m_onStarted.Connect(MakeDelegate(this, &BotBehavior::Initialize), 0);
    m_onCancelled.Connect(MakeDelegate(this, &BotBehavior::Teardown), 0);
}

BotBehavior::~BotBehavior() = default;

void BotBehavior::Update(float) {}

std::string BotBehavior::MissingParts() const
{
    const Entity* bot = GetEntity();
    if (!bot)
        return "an entity";
    std::string missing;
    const auto need = [&missing, bot](const std::string& id) {
        if (!bot->GetComponent(id))
            missing += (missing.empty() ? "" : ", ") + id;
    };
    need(Transform3D::ID);
    need(RigidBodyComponent3D::ID);
    need(PlayerDataComponent::ID);
    need(CharacterMotor3D::ID);
    need(AnimationControllerComponent::ID);
    need(LiftComponent::ID);
    need(AIDataComponent::ID);
    if (!DefaultSystem<GameLogicSystem>())
        missing += std::string(missing.empty() ? "" : ", ") + "a \"GameLogicSystem\" in \"default\"";
    return missing;
}

void BotBehavior::Initialize()
{
    Entity* bot = GetEntity();
    const std::string missing = MissingParts();
    if (!missing.empty()) {
        std::printf("Warning: BotBehavior of \"%s\" lacks %s; the bot stays out of the match\n",
                    bot ? bot->GetName().c_str() : "?", missing.c_str());
        return;
    }
    started = true;
    auto* data = bot->GetComponent<PlayerDataComponent>();
    auto* body = bot->GetComponent<RigidBodyComponent3D>();
    MendTuning(*bot->GetComponent<AIDataComponent>(), bot->GetName());

    Vec4 reference = body->GetCenterOfMass();
    reference.y += kSpawnReferenceHeight;
    data->m_spawnRefPoint = reference;
    data->m_liftInUse = false;

    PlayerBody::AddBodyBox(*bot);
    PlayerBody::AddFloorSensor(*bot, PlayerBody::SensorTag::ColliderDefault);
    bot->AddComponent<OrbComponent>(true);
    bot->AddComponent<AttackManager>(true);
    PlayerBody::SetBodyType(*bot);

    bot->AddComponent<PathPlanner>(true);
    bot->AddComponent<SteeringComponent>(true);
    bot->AddComponent<AITargetingComponent>(true);
    bot->AddComponent<SensoryMemoryComponent>(true);
    auto* tree = bot->AddComponent<BehaviorTree>(true);

    auto* animation = bot->GetComponent<AnimationControllerComponent>();
    animation->SetMoveX(0.0f);
    animation->SetMoveY(0.0f);
    const Vec4 forward = body->GetForward();
    animation->SetAimX(-forward.x);
    // The controller names its second aim input after y; it takes the z value.
    animation->SetAimY(-forward.z);
    animation->SetAimPitch(0.0f);

    m_controllerID = data->controllerID;
    GameLogicSystem* logic = DefaultSystem<GameLogicSystem>();
    // A bot spawned for a match joins after the level intro has taken control from the players
    // it found: while the match is held it joins without control, which the intro's end gives.
    if (!logic->m_active)
        data->canControl = false;
    logic->AddPlayer(m_controllerID, bot, true, true);

    if (tree)
        tree->SetRoot(BehaviorTreeBuilder::BuildBotTree());
}

void BotBehavior::Teardown()
{
    if (!started)
        return;
    started = false;
    if (GameLogicSystem* logic = DefaultSystem<GameLogicSystem>())
        logic->RemovePlayer(m_controllerID, GetEntity());
}

} // namespace quellor
