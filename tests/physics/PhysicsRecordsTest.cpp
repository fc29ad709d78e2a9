// The records that let levels create and set the physics pieces by name.
#include "PhysicsSystemTestKit.h"

#include "engine/reflection/Member.h"
#include "engine/reflection/Meta.h"
#include "engine/reflection/MetaNotPOD.h"
#include "engine/reflection/MetaRegistry.h"
#include "engine/reflection/Variable.h"
#include "physics/IslandPhysics.h"

#include <vector>

namespace quellor::test {
namespace {

TEST_F(PhysicsSystemTest, RecordsAnswerIDAndHoldTheirOwnMembersWithOnlyTheFileFiltered)
{
    enum Make { kUnchecked, kMade, kNotMade };
    struct Row {
        const char* name;
        bool hasID;
        Make make;
        bool setters; // every own member has a setter
        const char* base;
        std::vector<const char*> members;
    };
    const Row rows[] = {
        {"PhysicsSystem3D", false, kUnchecked, true, nullptr,
         {"m_useDebugDraw", "m_timeStep", "m_maxStepsPerFrame", "m_velocityIterations", "m_positionIteratoins",
          "m_gravity"}},
        {"RigidBodyComponent3D", true, kMade, true, nullptr,
         {"m_type", "m_linearVelocity", "m_angularVelocity", "m_allowRotation", "m_hasGravity"}},
        {"ColliderComponent3D", false, kNotMade, false, nullptr,
         {"m_isSensor", "m_eType", "m_pType", "m_enviroType", "m_mass"}},
        {"SphereColliderComponent3D", true, kMade, true, "ColliderComponent3D",
         {"m_center", "m_radius", "m_eType", "m_enviroType"}},
        {"BoxColliderComponent3D", true, kMade, true, "ColliderComponent3D",
         {"m_center", "m_rotationX", "m_rotationY", "m_rotationZ", "m_halfExtents", "m_enviroType", "m_isSensor"}},
        {"QuadColliderComponent3D", true, kMade, true, "ColliderComponent3D",
         {"m_center", "m_rotationX", "m_rotationY", "m_rotationZ", "m_halfWidth", "m_halfHeight", "m_enviroType"}},
        {"MeshColliderComponent3D", true, kMade, true, "ColliderComponent3D", {"m_file"}},
        {"MassOverrideComponent", true, kMade, false, nullptr, {"m_mass"}},
        {"WaterPhysicsBounds", true, kMade, false, nullptr, {"lowX", "lowY", "lowZ", "highX", "highY", "highZ"}},
        {"WaterPhysicsComponent", true, kMade, false, nullptr, {}},
        {"IslandPhysics", false, kMade, false, nullptr, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Meta* record = MetaRegistry::Instance().Find(row.name);
        ASSERT_NE(record, nullptr);
        Variable* id = record->GetStaticMember("ID");
        ASSERT_EQ(id != nullptr, row.hasID);
        if (id) {
            EXPECT_EQ(*static_cast<std::string*>(id->Value()), row.name);
        }
        if (row.base) {
            ASSERT_EQ(record->GetBases().size(), 1u);
            EXPECT_EQ(record->GetBases()[0]->Name(), row.base);
        }
        EXPECT_EQ(record->GetMembers().size(), row.members.size());
        for (const char* name : row.members) {
            const Member* member = record->GetMember(name);
            ASSERT_NE(member, nullptr) << name;
            if (row.setters) {
                EXPECT_NE(member->GetSetter(), nullptr) << name;
            }
            EXPECT_EQ(member->GetExtension(), std::string(name) == "m_file" ? ".shape" : "") << name;
        }
        if (row.make == kUnchecked)
            continue;
        void* made = record->GetOps()->New();
        EXPECT_EQ(made != nullptr, row.make == kMade);
        if (made) {
            EXPECT_EQ(record->GetOps()->Copy(made), nullptr) << "components are cloned, not copied";
            record->GetOps()->Delete(made);
        }
    }
    // Only the base's mass has a setter: changing it reaches an attached collider.
    EXPECT_NE(MetaRegistry::Instance().Find("ColliderComponent3D")->GetMember("m_mass")->GetSetter(), nullptr);
    EXPECT_EQ(MetaRegistry::Instance().Find("WaterPhysicsSystem"), nullptr) << "only named";
    EXPECT_TRUE(IslandPhysics().UpdatesOnStart());
}

} // namespace
} // namespace quellor::test
