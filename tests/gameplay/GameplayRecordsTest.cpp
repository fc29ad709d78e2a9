// The records levels use to make and set the player data, spawn points, cameras and weapons,
// compared both ways with their golden tables: every listed member and method exists with its
// type and bindings, and the records hold nothing more.
#include "engine/reflection/Function.h"
#include "engine/reflection/Member.h"
#include "engine/reflection/Meta.h"
#include "engine/reflection/MetaNotPOD.h"
#include "engine/reflection/MetaRegistry.h"
#include "engine/reflection/Variable.h"
#include "gameplay/RegisterGameplayTypes.h"
#include "gameplay/effects/ArmChargeComponent.h"
#include "gameplay/effects/LiftFxComponent.h"
#include "gameplay/effects/OrbChargeComponent.h"
#include "gameplay/effects/OrbConeComponent.h"
#include "gameplay/effects/OrbLightningComponent.h"
#include "gameplay/effects/OrbMeshComponent.h"
#include "gameplay/effects/SnapshotFxComponent.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quellor::test {
namespace {

struct MemberRow {
    const char* name;
    const char* type;
    const char* setter; // "" for none
    const char* getter;
    const char* filter = ""; // the asset extension of a member naming a file
};

struct MethodRow {
    const char* name;
    const char* returns; // "" for nothing
    std::vector<const char*> parameters;
};

struct RecordRow {
    const char* name;
    const char* base;
    bool copies;
    std::vector<MemberRow> members;
    std::vector<MethodRow> methods;
};

const RecordRow kRecords[] = {
    {"CharacterMotor3D",
     "Component",
     false,
     {{"m_speed", "float", "", ""},
      {"m_chargSpeed", "float", "", ""},
      {"m_accelMaxChange", "float", "", ""},
      {"m_maxFallSpeed", "float", "", ""},
      {"m_slopeLimit", "float", "", ""},
      {"m_jumpDir", "Vec4", "", ""},
      {"m_gravity", "float", "", ""},
      {"m_jumpHeight", "float", "", ""},
      {"m_snapShotDamping", "float", "", ""},
      {"m_airControlPercent", "float", "", ""},
      {"m_stepFactor", "float", "", ""},
      {"m_ellipseA", "float", "", ""},
      {"m_ellipseB", "float", "", ""},
      {"m_ellipseC", "float", "", ""}},
     {}},
    {"PlayerDataComponent",
     "Component",
     true,
     {{"canControl", "bool", "SetControlable", "GetControlable"},
      {"currentScore", "int", "SetCurrentScore", "GetCurrentScore"},
      {"maxScore", "int", "", ""},
      {"playerTeam", "string", "", ""},
      {"sphereCollRadius", "float", "", ""},
      {"xDeadZone", "float", "", ""},
      {"yDeadZone", "float", "", ""},
      {"controllerID", "int", "SetControllerID", ""},
      {"xAimSpeed", "float", "SetXAimSpeed", ""},
      {"yAimSpeed", "float", "SetYAimSpeed", ""},
      {"blastDist", "float", "", ""}},
     {{"SetControlable", "", {"bool"}},
      {"SetCurrentScore", "", {"int"}},
      {"GetControlable", "bool", {}},
      {"GetCurrentScore", "int", {}},
      {"SetControllerID", "", {"int"}},
      {"SetXAimSpeed", "", {"float"}},
      {"SetYAimSpeed", "", {"float"}}}},
    {"SpawnPointComponent",
     "Component",
     false,
     {{"m_position", "Vec4", "", ""}, {"m_popularity", "int", "", ""}, {"m_team", "string", "", ""}},
     {}},
    {"AnimationPlayerComponent",
     "Component",
     false,
     {{"m_animName", "string", "SetAnimName", "", ".anim"},
      {"m_playing", "bool", "SetPlaying", ""},
      {"m_speed", "float", "SetSpeed", ""}},
     {{"SetAnimName", "", {"string"}}, {"SetPlaying", "", {"bool"}}, {"SetSpeed", "", {"float"}}}},
    {"PlayerIdComponent", "Component", false, {{"m_controllerID", "int", "", ""}, {"m_offset", "Vec4", "", ""}}, {}},
    {"SkinMountComponent",
     "Component",
     false,
     {{"m_controllerID", "int", "", ""},
      {"m_boneNum", "int", "", ""},
      {"m_mountName", "string", "SetMountName", "", ".model"},
      {"m_matName", "string", "SetMatName", "", ".mat"}},
     {{"SetMountName", "", {"string"}}, {"SetMatName", "", {"string"}}}},
    {"OrbitComponent",
     "Component",
     false,
     {{"m_radius", "float", "", ""}, {"m_speed", "float", "", ""}, {"m_startAngleDeg", "float", "", ""}},
     {}},
    {"AnimationControllerComponent", "Component", false, {}, {}},
    {"FloatComponent",
     "Component",
     false,
     {{"m_xDuration", "float", "", ""},
      {"m_xSpeed", "float", "", ""},
      {"m_yDuration", "float", "", ""},
      {"m_ySpeed", "float", "", ""},
      {"m_zDuration", "float", "", ""},
      {"m_zSpeed", "float", "", ""}},
     {}},
    {"ThumperComponent",
     "Component",
     false,
     {{"m_thumpPower", "float", "", ""},
      {"m_enviroThumpPower", "float", "", ""},
      {"m_thumpApplyTime", "float", "", ""},
      {"m_thumpTime", "float", "", ""},
      {"m_stunTime", "float", "", ""},
      {"m_stunGrav", "float", "", ""},
      {"m_stunSpeed", "float", "", ""},
      {"m_minHalfExtent", "Vec4", "", ""},
      {"m_maxHalfExtent", "Vec4", "", ""},
      {"m_thumpDir", "Vec4", "", ""},
      {"m_minGlowFactor", "float", "", ""},
      {"m_maxGlowFactor", "float", "", ""},
      {"m_glowDuration", "float", "", ""},
      {"m_groundBlastFile", "string", "", "", ".pe"}},
     {}},
    // Both act on screen 0 of "default" whatever object they are called on.
    {"CameraSystem",
     "System",
     false,
     {},
     {{"SetCameraPos", "", {"float", "float", "float"}}, {"SetCameraLook", "", {"float", "float", "float"}}}},
    {"ThirdPersonCameraComponent",
     "Component",
     false,
     {{"m_cameraSphere", "float", "", ""}, {"m_camRotY", "float", "", ""}, {"m_camRadius", "float", "", ""}},
     {}},
    {"CameraLookAtComponent", "Component", false, {{"m_targetName", "string", "", ""}}, {}},
    // Each setter is a method of its own and the member's setter binding.
    {"AutomatedCameraComponent",
     "Component",
     false,
     {{"m_debugDraw", "bool", "SetIsDebugDrawing", ""},
      {"m_priority", "int", "SetPriority", ""},
      {"m_waitTime", "float", "SetWaitTime", ""},
      {"m_timeToNextNode", "float", "SetTimeToNextNode", ""}},
     {{"SetIsDebugDrawing", "", {"bool"}},
      {"SetPriority", "", {"int"}},
      {"SetWaitTime", "", {"float"}},
      {"SetTimeToNextNode", "", {"float"}}}},
    {"MenuCameraComponent",
     "Component",
     false,
     {{"m_rotate", "bool", "SetRotate", ""},
      {"m_alpha", "float", "SetAlpha", ""},
      {"m_beta", "float", "SetBeta", ""},
      {"m_rad", "float", "SetRadius", ""},
      {"m_speed", "float", "SetSpeed", ""}},
     {{"SetRotate", "", {"bool"}},
      {"SetAlpha", "", {"float"}},
      {"SetBeta", "", {"float"}},
      {"SetRadius", "", {"float"}},
      {"SetSpeed", "", {"float"}}}},
    {"OrbComponent",
     "Component",
     false,
     {{"m_orbSpeed", "float", "", ""},
      {"m_tagSpeed", "float", "", ""},
      {"m_orbRadius", "float", "", ""},
      {"m_waitForSeek", "float", "", ""},
      {"m_orbLifeTime", "float", "", ""},
      {"m_baseForce", "float", "", ""},
      {"m_maxForce", "float", "", ""},
      {"m_chargeTime", "float", "", ""}},
     {}},
    {"LiftComponent",
     "Component",
     false,
     {{"m_range", "float", "", ""},
      {"m_environmentLiftForce", "float", "", ""},
      {"m_liftTime", "float", "", ""},
      {"m_playerLiftForce", "float", "", ""},
      {"m_playerSlowSpeed", "float", "", ""},
      {"m_tagTime", "float", "", ""},
      {"m_tagLastTime", "float", "", ""},
      {"m_effectEmitter", "string", "", "", ".pe"},
      {"m_beamShotEmitter", "string", "", "", ".pe"}},
     {}},
    {"SnapshotComponent",
     "Component",
     false,
     {{"m_knockbackForce", "float", "", ""},
      {"m_enviroKnockBackForce", "float", "", ""},
      {"m_range", "float", "", ""},
      {"m_groundStunTime", "float", "", ""},
      {"m_airStunTime", "float", "", ""},
      {"m_shotOffestMultiplier", "float", "", ""}},
     {}},
    {"AttackManager", "Component", false, {{"m_snapshotCooldown", "float", "", ""}}, {}},
    {"AimAssistComponent", "Component", false, {{"m_maxDistance", "float", "", ""}, {"m_slowFactor", "float", "", ""}}, {}},
};

// The effect meshes: records of their own on the dynamic mesh's, with nothing registered and
// no "ID" (they are added under their class name by code).
const char* const kEffectRecords[] = {"OrbMeshComponent", "OrbLightningComponent", "OrbConeComponent",
                                      "OrbChargeComponent", "ArmChargeComponent"};

std::string TypeName(const Meta* type)
{
    return type ? type->Name() : "";
}

// A setter or getter is the named method bound a second time: its own function object with the
// method's signature.
void ExpectBinding(const Meta& record, const Function* binding, const std::string& method)
{
    if (method.empty()) {
        EXPECT_EQ(binding, nullptr);
        return;
    }
    ASSERT_NE(binding, nullptr) << method;
    const Function* named = record.GetMethod(method);
    ASSERT_NE(named, nullptr) << method;
    EXPECT_NE(binding, named) << method;
    EXPECT_EQ(binding->GetReturnType(), named->GetReturnType()) << method;
    EXPECT_EQ(binding->GetArgumentTypes(), named->GetArgumentTypes()) << method;
}

TEST(GameplayRecords, MatchTheirTablesBothWays)
{
    RegisterGameplayTypes();
    for (const RecordRow& row : kRecords) {
        SCOPED_TRACE(row.name);
        Meta* record = MetaRegistry::Instance().Find(row.name);
        ASSERT_NE(record, nullptr);
        ASSERT_EQ(record->GetBases().size(), 1u);
        EXPECT_EQ(record->GetBases()[0]->Name(), row.base);
        Variable* id = record->GetStaticMember("ID");
        ASSERT_NE(id, nullptr);
        EXPECT_EQ(*static_cast<std::string*>(id->Value()), row.name);
        EXPECT_EQ(record->GetStaticMembers().size(), 1u);

        // Every listed member and method is there, and nothing else is.
        EXPECT_EQ(record->GetMembers().size(), row.members.size());
        for (const MemberRow& expected : row.members) {
            SCOPED_TRACE(expected.name);
            const Member* member = record->GetMember(expected.name);
            ASSERT_NE(member, nullptr);
            EXPECT_EQ(TypeName(member->GetType()), expected.type);
            EXPECT_EQ(member->GetExtension(), expected.filter);
            ExpectBinding(*record, member->GetSetter(), expected.setter);
            ExpectBinding(*record, member->GetGetter(), expected.getter);
        }
        EXPECT_EQ(record->GetMethods().size(), row.methods.size());
        for (const MethodRow& expected : row.methods) {
            SCOPED_TRACE(expected.name);
            const Function* method = record->GetMethod(expected.name);
            ASSERT_NE(method, nullptr);
            EXPECT_EQ(TypeName(method->GetReturnType()), expected.returns);
            std::vector<std::string> parameters;
            for (const Meta* type : method->GetArgumentTypes())
                parameters.push_back(TypeName(type));
            EXPECT_EQ(parameters, std::vector<std::string>(expected.parameters.begin(), expected.parameters.end()));
        }

        void* made = record->GetOps()->New();
        ASSERT_NE(made, nullptr);
        void* copy = record->GetOps()->Copy(made);
        EXPECT_EQ(copy != nullptr, row.copies);
        if (copy)
            record->GetOps()->Delete(copy);
        record->GetOps()->Delete(made);
    }
}

TEST(GameplayRecords, EffectMeshesMatchTheirTable)
{
    RegisterGameplayTypes();
    for (const char* name : kEffectRecords) {
        SCOPED_TRACE(name);
        Meta* record = MetaRegistry::Instance().Find(name);
        ASSERT_NE(record, nullptr);
        ASSERT_EQ(record->GetBases().size(), 1u);
        EXPECT_EQ(record->GetBases()[0]->Name(), std::string("DynamicMeshComponent"));
        EXPECT_EQ(record->GetStaticMember("ID"), nullptr);
        EXPECT_TRUE(record->GetStaticMembers().empty());
        EXPECT_TRUE(record->GetMembers().empty());
        EXPECT_TRUE(record->GetMethods().empty());
        void* made = record->GetOps()->New();
        ASSERT_NE(made, nullptr);
        void* copy = record->GetOps()->Copy(made);
        EXPECT_NE(copy, nullptr);
        record->GetOps()->Delete(copy);
        record->GetOps()->Delete(made);
    }
}

// Each effect mesh is filed in its entity under its own class name, not the dynamic mesh's.
TEST(GameplayRecords, EffectMeshesAreKeyedByTheirOwnNames)
{
    const std::pair<const std::string&, const char*> keys[] = {
        {ArmChargeComponent::ID, "ArmChargeComponent"},   {LiftFxComponent::ID, "LiftFxComponent"},
        {OrbChargeComponent::ID, "OrbChargeComponent"},   {OrbConeComponent::ID, "OrbConeComponent"},
        {OrbLightningComponent::ID, "OrbLightningComponent"}, {OrbMeshComponent::ID, "OrbMeshComponent"},
        {SnapshotFxComponent::ID, "SnapshotFxComponent"}};
    for (const auto& [id, name] : keys)
        EXPECT_EQ(id, name);
}

} // namespace
} // namespace quellor::test
