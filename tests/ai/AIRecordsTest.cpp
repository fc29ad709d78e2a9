// The reflection records of the AI components with members or methods against a golden table
// of their names, bases, operations, "ID", members and methods, compared both ways (the census
// checks the other AI records), and the steering update called by name.
#include "tests/ai/AITestKit.h"

#include "engine/reflection/Function.h"
#include "engine/reflection/Member.h"
#include "engine/reflection/Meta.h"
#include "engine/reflection/MetaNotPOD.h"
#include "engine/reflection/MetaRegistry.h"
#include "engine/reflection/Variable.h"

#include <memory>
#include <set>

namespace quellor::test {
namespace {

struct MemberRow {
    std::string name, type, setter;
};
struct MethodRow {
    std::string name, returns;
    std::vector<std::string> parameters;
};
struct RecordRow {
    std::string name, base;
    bool canCreate, canCopy, hasID;
    std::vector<MemberRow> members;
    std::vector<MethodRow> methods;
};

const std::vector<RecordRow> kGolden = {
    {"StateMachine", "Component", true, false, true, {{"m_initStateName", "string", "SetInitialState"}},
     {{"SetInitialState", "", {"string"}}}},
    {"SteeringComponent", "Component", true, false, true, {}, {{"Update", "", {"float"}}}},
    {"SensoryMemoryComponent", "Component", true, false, true, {{"m_fov", "float", ""}, {"m_memorySpan", "float", ""}},
     {}},
    {"AIDataComponent",
     "Component",
     true,
     false,
     true,
     {{"reactionTime", "float", ""},
      {"maxVerticalAimAngle", "float", ""},
      {"accuracy", "float", ""},
      {"liftBeamAimSpeed", "float", ""},
      {"liftAimInterval", "float", ""},
      {"liftBias", "float", ""},
      {"orbBias", "float", ""}},
     {}},
};

std::string NameOf(const Meta* meta)
{
    return meta ? meta->Name() : std::string();
}

TEST(AIRecords, TheComponentRecordsMatchTheGoldenTableBothWays)
{
    RegisterAITypes();
    for (const RecordRow& row : kGolden) {
        SCOPED_TRACE(row.name);
        const Meta* record = MetaRegistry::Instance().Find(row.name);
        ASSERT_NE(record, nullptr);
        ASSERT_EQ(record->GetBases().size(), 1u);
        EXPECT_EQ(record->GetBases().front()->Name(), row.base);
        EXPECT_EQ(record->GetOps()->CanCreate(), row.canCreate);
        EXPECT_EQ(record->GetOps()->CanCopy(), row.canCopy);
        const Variable* id = record->GetStaticMember("ID");
        ASSERT_EQ(id != nullptr, row.hasID);
        EXPECT_EQ(NameOf(id->GetType()), "string");
        EXPECT_EQ(*static_cast<const std::string*>(id->Value()), row.name);
        EXPECT_EQ(record->GetStaticMembers().size(), 1u);

        std::set<std::string> members;
        for (const MemberRow& m : row.members) {
            members.insert(m.name);
            const Member* member = record->GetMember(m.name);
            ASSERT_NE(member, nullptr) << m.name;
            EXPECT_EQ(NameOf(member->GetType()), m.type);
            EXPECT_EQ(member->GetGetter(), nullptr);
            EXPECT_EQ(member->GetExtension(), "");
            if (m.setter.empty()) {
                EXPECT_EQ(member->GetSetter(), nullptr) << m.name;
                continue;
            }
            const Function* setter = member->GetSetter();
            const Function* named = record->GetMethod(m.setter);
            ASSERT_NE(setter, nullptr);
            ASSERT_NE(named, nullptr);
            EXPECT_NE(setter, named); // a binding of its own
            EXPECT_EQ(setter->GetArgumentTypes(), named->GetArgumentTypes());
        }
        for (const auto& [name, member] : record->GetMembers())
            EXPECT_TRUE(members.count(name)) << "unlisted member " << name;

        std::set<std::string> methods;
        for (const MethodRow& m : row.methods) {
            methods.insert(m.name);
            const Function* method = record->GetMethod(m.name);
            ASSERT_NE(method, nullptr) << m.name;
            EXPECT_EQ(NameOf(method->GetReturnType()), m.returns);
            std::vector<std::string> parameters;
            for (const Meta* p : method->GetArgumentTypes())
                parameters.push_back(NameOf(p));
            EXPECT_EQ(parameters, m.parameters);
        }
        for (const auto& [name, method] : record->GetMethods())
            EXPECT_TRUE(methods.count(name)) << "unlisted method " << name;
    }
}

TEST_F(AITest, UpdateByNameRecomputesTheOutputWhateverTheTime)
{
    Entity* agent = Agent("agent", ZOR::float3(), false);
    auto* behavior = (new ScriptedBehavior)->Linear(Vec4(1.0f, 2.0f, 3.0f, 0.0f));
    SteeringComponent* steering = Steer(agent, behavior);
    Function* update = SteeringComponent::StaticMeta()->GetMethod("Update");
    ASSERT_NE(update, nullptr);
    for (float dt : {0.0f, -5.0f, 1e9f}) {
        steering->GetOutput().linear = Vec4(9.0f, 9.0f, 9.0f, 9.0f);
        steering->GetOutput().angular = Quat(0.5f, 0.5f, 0.5f, 0.5f);
        update->PushArgument(Variable(steering, false));
        update->PushArgument(Variable(&dt, false));
        std::unique_ptr<Variable> result(update->Invoke());
        EXPECT_EQ(steering->GetOutput().linear.x, 1.0f);
        EXPECT_EQ(steering->GetOutput().linear.w, 0.0f);
        EXPECT_EQ(steering->GetOutput().angular.w, 1.0f);
    }
    EXPECT_EQ(behavior->calls, 3);
}

} // namespace
} // namespace quellor::test
