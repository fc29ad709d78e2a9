// The census of the reflection registry: every class record the program builds, with its
// base, its operations, whether it carries "ID" and whether it registers members or methods,
// and the built-in records. Rows of classes not built yet are marked pending; a library that
// builds one clears its mark (and adds its registration call to RegisterAll).
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>

#include <tinyxml.h>

#include "ai/RegisterAITypes.h"
#include "engine/reflection/Meta.h"
#include "engine/reflection/MetaRegistry.h"
#include "engine/reflection/RegisterEngineTypes.h"
#include "engine/reflection/Variable.h"
#include "frontend/RegisterFrontendTypes.h"
#include "gameplay/RegisterGameplayTypes.h"
#include "physics/RegisterPhysicsTypes.h"

using namespace quellor;

namespace {

enum class Ops { Full, NoCopy, NoDef, NoDefNoCopy };

struct ClassRow {
    const char* name;
    const char* base; // null: none
    Ops ops;
    bool hasID;
    bool registers; // members or methods
    bool pending;   // the class is not built yet
};

constexpr bool kPending = true;
constexpr bool kBuilt = false;

// name, base, operations, "ID", registers members or methods, pending
const ClassRow kClasses[] = {
    {"Action", "QLObject", Ops::NoCopy, false, false, kBuilt},
    {"ActionComponent", "Component", Ops::Full, true, true, kBuilt},
    {"AIDataComponent", "Component", Ops::NoCopy, true, true, kBuilt},
    {"AimAssistComponent", "Component", Ops::NoCopy, true, true, kBuilt},
    {"AISystem", "System", Ops::NoCopy, true, false, kBuilt},
    {"AITargetingComponent", "Component", Ops::NoCopy, true, false, kBuilt},
    {"AnimationControllerComponent", "Component", Ops::NoCopy, true, false, kBuilt},
    {"AnimationPlayerComponent", "Component", Ops::NoCopy, true, true, kBuilt},
    {"ArmChargeComponent", "DynamicMeshComponent", Ops::Full, false, false, kBuilt},
    {"ArriveAtEntity", "SteeringBehavior", Ops::NoDef, false, false, kBuilt},
    {"ArriveAtPosition", "SteeringBehavior", Ops::NoDef, false, false, kBuilt},
    {"AStar", nullptr, Ops::NoDef, false, false, kBuilt},
    {"AStarNodeComponent", "Component", Ops::NoCopy, true, true, kBuilt},
    {"AttackManager", "Component", Ops::NoCopy, true, true, kBuilt},
    {"AutomatedCameraComponent", "Component", Ops::NoCopy, true, true, kBuilt},
    {"BackdropComponent", "Component", Ops::Full, true, true, kBuilt},
    {"BasicMenu", "Action", Ops::NoCopy, false, false, kBuilt},
    {"BehaviorTree", "Component", Ops::NoCopy, true, false, kBuilt},
    {"BillboardedQuadComponent", "Component", Ops::Full, true, true, kBuilt},
    {"BirdGrabComponent", "Component", Ops::NoDefNoCopy, true, false, kBuilt},
    {"BlendedSteering", nullptr, Ops::Full, false, false, kBuilt},
    {"BotBehavior", "Action", Ops::NoCopy, false, false, kBuilt},
    {"BoxColliderComponent3D", "ColliderComponent3D", Ops::NoCopy, true, true, kBuilt},
    {"BoxIn", "Action", Ops::NoDefNoCopy, false, false, kBuilt},
    {"BoxOut", "Action", Ops::NoDefNoCopy, false, false, kBuilt},
    {"ButtonComponent", "Component", Ops::Full, true, false, kBuilt},
    // The name of the entity it looks at, so level data can give it a target.
    {"CameraLookAtComponent", "Component", Ops::NoCopy, true, true, kBuilt},
    {"CameraSystem", "System", Ops::NoCopy, true, true, kBuilt},
    {"CharacterController", "Component", Ops::NoCopy, true, false, kBuilt},
    {"CharacterMotor3D", "Component", Ops::NoCopy, true, true, kBuilt},
    {"CheckboxComponent", "Component", Ops::Full, true, true, kBuilt},
    {"ColliderComponent3D", "Component", Ops::NoDefNoCopy, false, true, kBuilt},
    {"Component", "QLObject", Ops::Full, false, true, kBuilt},
    {"DeathBoxComponent", "Component", Ops::NoCopy, true, false, kBuilt},
    {"DecalComponent", "Component", Ops::Full, true, true, kBuilt},
    {"DirectionalLightComponent", "Component", Ops::Full, true, true, kBuilt},
    {"DynamicMeshComponent", "Component", Ops::Full, false, false, kBuilt},
    {"EmitterComponent", "Component", Ops::Full, true, true, kBuilt},
    // Copying the engine or an entity would duplicate ownership of their spaces or components.
    {"Engine", nullptr, Ops::NoDefNoCopy, false, true, kBuilt},
    {"Entity", "QLObject", Ops::NoCopy, false, true, kBuilt},
    {"EvadeEntity", "SteeringBehavior", Ops::NoDef, false, false, kBuilt},
    {"EvadePosition", "SteeringBehavior", Ops::NoDef, false, false, kBuilt},
    {"FeatherAction", "Action", Ops::NoCopy, false, false, kBuilt},
    {"FeatherStats", "Action", Ops::NoCopy, false, false, kBuilt},
    {"FeatherSystem", "System", Ops::NoCopy, true, false, kBuilt},
    {"FleeEntity", "SteeringBehavior", Ops::NoDef, false, false, kBuilt},
    {"FleePosition", "SteeringBehavior", Ops::NoDef, false, false, kBuilt},
    {"FloatComponent", "Component", Ops::NoCopy, true, true, kBuilt},
    {"FogComponent", "Component", Ops::Full, true, true, kBuilt},
    {"FollowEntityAction", "Action", Ops::NoDefNoCopy, false, false, kBuilt},
    {"fsm", nullptr, Ops::Full, false, false, kBuilt},
    {"GameLogicSystem", "System", Ops::NoCopy, true, false, kBuilt},
    {"GraphEdge", nullptr, Ops::Full, false, true, kBuilt},
    {"GraphicsComponent2D", "Component", Ops::Full, true, true, kBuilt},
    {"GraphicsComponent3D", "Component", Ops::Full, true, true, kBuilt},
    {"GraphicsComponent3DSkinned", "Component", Ops::Full, true, true, kBuilt},
    // The renderer part owns GPU state, which a copy would share.
    {"GraphicsSystem", "System", Ops::NoDefNoCopy, false, false, kBuilt},
    {"Input", "System", Ops::NoCopy, false, true, kBuilt},
    {"IntroCutscene", "Action", Ops::NoDefNoCopy, false, false, kBuilt},
    {"IslandPhysics", "Action", Ops::NoCopy, false, false, kBuilt},
    {"LevelBoundaryComponent", "Component", Ops::NoCopy, true, false, kBuilt},
    {"LiftComponent", "Component", Ops::NoCopy, true, true, kBuilt},
    {"LiftFxComponent", "DynamicMeshComponent", Ops::Full, false, false, kBuilt},
    {"LookAtEntity", "SteeringBehavior", Ops::NoDef, false, false, kBuilt},
    {"LookAtPosition", "SteeringBehavior", Ops::NoDef, false, false, kBuilt},
    {"MassOverrideComponent", "Component", Ops::NoCopy, true, true, kBuilt},
    {"Mat2", nullptr, Ops::Full, false, true, kBuilt},
    {"Mat4", nullptr, Ops::Full, false, true, kBuilt},
    {"MenuCameraComponent", "Component", Ops::NoCopy, true, true, kBuilt},
    {"MeshColliderComponent3D", "ColliderComponent3D", Ops::NoCopy, true, true, kBuilt},
    {"ObjectSystem", "System", Ops::Full, true, true, kBuilt},
    {"OrbChargeComponent", "DynamicMeshComponent", Ops::Full, false, false, kBuilt},
    {"OrbComponent", "Component", Ops::NoCopy, true, true, kBuilt},
    {"OrbConeComponent", "DynamicMeshComponent", Ops::Full, false, false, kBuilt},
    {"OrbitComponent", "Component", Ops::NoCopy, true, true, kBuilt},
    {"OrbLightningComponent", "DynamicMeshComponent", Ops::Full, false, false, kBuilt},
    {"OrbMeshComponent", "DynamicMeshComponent", Ops::Full, false, false, kBuilt},
    {"PathPlanner", "Component", Ops::NoCopy, true, false, kBuilt},
    {"PhysicsSystem3D", "System", Ops::NoCopy, false, true, kBuilt},
    {"PlayerDataComponent", "Component", Ops::Full, true, true, kBuilt},
    {"PlayerIdComponent", "Component", Ops::NoCopy, true, true, kBuilt},
    {"PointLightComponent", "Component", Ops::Full, true, true, kBuilt},
    {"PrioritizedSteering", nullptr, Ops::NoDef, false, false, kBuilt},
    {"PursueEntity", "SteeringBehavior", Ops::NoDef, false, false, kBuilt},
    {"PursuePosition", "SteeringBehavior", Ops::NoDef, false, false, kBuilt},
    {"QLObject", nullptr, Ops::Full, false, false, kBuilt},
    {"QuadColliderComponent3D", "ColliderComponent3D", Ops::NoCopy, true, true, kBuilt},
    {"Quat", nullptr, Ops::Full, false, true, kBuilt},
    {"RigidBodyComponent3D", "Component", Ops::NoCopy, true, true, kBuilt},
    {"SeekEntity", "SteeringBehavior", Ops::NoDef, false, false, kBuilt},
    {"SeekPosition", "SteeringBehavior", Ops::NoDef, false, false, kBuilt},
    {"SensoryMemoryComponent", "Component", Ops::NoCopy, true, true, kBuilt},
    {"ShooterInput", "Action", Ops::NoCopy, false, false, kBuilt},
    {"SkinMountComponent", "Component", Ops::NoCopy, true, true, kBuilt},
    {"SkipDeathAction", "Action", Ops::NoDefNoCopy, false, false, kBuilt},
    {"SnapshotComponent", "Component", Ops::NoCopy, true, true, kBuilt},
    {"SnapshotFxComponent", "DynamicMeshComponent", Ops::Full, false, false, kBuilt},
    {"SoundSystem", "System", Ops::Full, false, true, kBuilt},
    {"SpawnPointComponent", "Component", Ops::NoCopy, true, true, kBuilt},
    {"SphereColliderComponent3D", "ColliderComponent3D", Ops::NoCopy, true, true, kBuilt},
    {"SpotLightComponent", "Component", Ops::Full, true, true, kBuilt},
    {"State", nullptr, Ops::Full, false, false, kBuilt},
    {"StateLink", nullptr, Ops::NoDef, false, false, kBuilt},
    {"StateMachine", "Component", Ops::NoCopy, true, true, kBuilt},
    {"SteeringBehavior", nullptr, Ops::Full, false, false, kBuilt},
    {"SteeringComponent", "Component", Ops::NoCopy, true, true, kBuilt},
    {"SunComponent", "Component", Ops::Full, true, true, kBuilt},
    {"System", "QLObject", Ops::Full, false, false, kBuilt},
    {"TagComponent", "Component", Ops::NoCopy, true, false, kBuilt},
    {"TextComponent", "Component", Ops::Full, true, true, kBuilt},
    {"ThirdPersonCameraComponent", "Component", Ops::NoCopy, true, true, kBuilt},
    {"ThumperComponent", "Component", Ops::NoCopy, true, true, kBuilt},
    {"Transform2D", "Component", Ops::Full, true, true, kBuilt},
    {"Transform3D", "Component", Ops::Full, true, true, kBuilt},
    {"UIComponent", "Component", Ops::Full, true, false, kBuilt},
    {"UISystem", "System", Ops::Full, false, false, kBuilt},
    {"Vec2", nullptr, Ops::Full, false, true, kBuilt},
    {"Vec4", nullptr, Ops::Full, false, true, kBuilt},
    {"Wander", "SteeringBehavior", Ops::NoDef, false, false, kBuilt},
    {"WatchPlayerDeathAction", "Action", Ops::NoDefNoCopy, false, false, kBuilt},
    {"WaterPhysicsBounds", "Component", Ops::NoCopy, true, true, kBuilt},
    {"WaterPhysicsComponent", "Component", Ops::NoCopy, true, false, kBuilt},
};

struct BuiltinRow {
    const char* name;
    std::uint32_t size;
};

const BuiltinRow kBuiltins[] = {
    {"char", 1}, {"unsigned char", 1}, {"short", 2}, {"unsigned short", 2}, {"int", 4},
    {"unsigned int", 4}, {"float", 4}, {"bool", 1}, {"string", sizeof(std::string)},
    {"EnemyType", 4}, {"EnvironmentType", 4}, {"code", 4}, {"TiXmlElement", sizeof(TiXmlElement)},
};

// Every library's one registration call.
void RegisterAll()
{
    RegisterEngineTypes();
    RegisterPhysicsTypes();
    RegisterGameplayTypes();
    RegisterAITypes();
    RegisterFrontendTypes();
}

Ops OpsOf(const Meta* record)
{
    const MetaNotPOD* ops = record->GetOps();
    if (!ops) {
        return Ops::NoDefNoCopy;
    }
    if (ops->CanCreate()) {
        return ops->CanCopy() ? Ops::Full : Ops::NoCopy;
    }
    return ops->CanCopy() ? Ops::NoDef : Ops::NoDefNoCopy;
}

const char* OpsName(Ops ops)
{
    switch (ops) {
    case Ops::Full: return "full";
    case Ops::NoCopy: return "NoCopy";
    case Ops::NoDef: return "NoDef";
    case Ops::NoDefNoCopy: return "NoDefNoCopy";
    }
    return "?";
}

} // namespace

TEST(Census, TheTableHoldsEveryClassOnce)
{
    std::set<std::string> names;
    for (const ClassRow& row : kClasses) {
        EXPECT_TRUE(names.insert(row.name).second) << row.name;
    }
    EXPECT_EQ(names.size(), 122u);
    int withID = 0;
    int registering = 0;
    for (const ClassRow& row : kClasses) {
        withID += row.hasID;
        registering += row.registers;
    }
    EXPECT_EQ(withID, 64);
    // 61, and the look-at camera's target name.
    EXPECT_EQ(registering, 62);
}

TEST(Census, EveryRecordHasARow)
{
    RegisterAll();
    std::set<std::string> known;
    for (const ClassRow& row : kClasses) {
        known.insert(row.name);
    }
    for (const BuiltinRow& row : kBuiltins) {
        known.insert(row.name);
    }
    for (const auto& [name, record] : MetaRegistry::Instance().Records()) {
        EXPECT_TRUE(known.count(name)) << "record \"" << name << "\" has no row in the census";
    }
}

TEST(Census, BuiltRowsMatchTheirRecordsAndPendingRowsHaveNone)
{
    RegisterAll();
    for (const ClassRow& row : kClasses) {
        Meta* record = MetaRegistry::Instance().Find(row.name);
        if (row.pending) {
            EXPECT_EQ(record, nullptr) << row.name << " has a record now: clear its pending mark";
            continue;
        }
        if (!record) {
            ADD_FAILURE() << row.name << " has no record";
            continue;
        }
        EXPECT_FALSE(record->IsBuiltin()) << row.name;
        if (row.base) {
            ASSERT_EQ(record->GetBases().size(), 1u) << row.name;
            EXPECT_EQ(record->GetBases()[0]->Name(), row.base) << row.name;
        } else {
            EXPECT_TRUE(record->GetBases().empty()) << row.name;
        }
        ASSERT_NE(record->GetOps(), nullptr) << row.name;
        EXPECT_STREQ(OpsName(OpsOf(record)), OpsName(row.ops)) << row.name;

        Variable* id = record->GetStaticMember("ID");
        EXPECT_EQ(id != nullptr, row.hasID) << row.name;
        if (id) {
            EXPECT_EQ(id->GetType(), MetaRegistry::Instance().Find("string")) << row.name;
            EXPECT_FALSE(id->Owns()) << row.name;
            ASSERT_NE(id->Value(), nullptr) << row.name;
            EXPECT_EQ(*static_cast<std::string*>(id->Value()), row.name);
        }
        const bool registers = !record->GetMembers().empty() || !record->GetMethods().empty();
        EXPECT_EQ(registers, row.registers) << row.name;
    }
}

TEST(Census, ComponentRecordsLeadBackToQLObject)
{
    RegisterAll();
    for (const ClassRow& row : kClasses) {
        Meta* record = MetaRegistry::Instance().Find(row.name);
        if (!record || !row.base) {
            continue;
        }
        const Meta* root = record;
        while (!root->GetBases().empty()) {
            root = root->GetBases()[0];
        }
        const bool objectTree = std::string(row.base) != "SteeringBehavior";
        if (objectTree) {
            EXPECT_EQ(root->Name(), "QLObject") << row.name;
        }
    }
}

TEST(Census, BuiltinRecords)
{
    RegisterAll();
    for (const BuiltinRow& row : kBuiltins) {
        Meta* record = MetaRegistry::Instance().Find(row.name);
        ASSERT_NE(record, nullptr) << row.name;
        EXPECT_TRUE(record->IsBuiltin()) << row.name;
        EXPECT_EQ(record->GetSize(), row.size) << row.name;
        EXPECT_EQ(record->GetOps(), nullptr) << row.name;
        EXPECT_TRUE(record->GetBases().empty()) << row.name;
    }
}
