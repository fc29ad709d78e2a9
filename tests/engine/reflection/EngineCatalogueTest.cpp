// The records of the object system, the sound system and Transform2D, checked against a golden
// table both ways: every row has its record entry, and every entry of the records has its row.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/ObjectSystem.h"
#include "engine/SoundSystem.h"
#include "engine/Transform2D.h"
#include "engine/reflection/Function.h"
#include "engine/reflection/Member.h"
#include "engine/reflection/Meta.h"
#include "engine/reflection/MetaNotPOD.h"
#include "engine/reflection/MetaRegistry.h"
#include "engine/reflection/RegisterEngineTypes.h"
#include "engine/reflection/Variable.h"

using namespace quellor;

namespace {

struct MemberRow {
    const char* type;
    const char* getter; // "" for none
};

struct MethodRow {
    const char* returns; // "" for nothing
    std::vector<const char*> parameters;
    const char* boundAsGetterOf; // "" when bound to no member
};

struct RecordRow {
    const char* name;
    const char* base;
    bool canCreate;
    bool canCopy;
    bool hasID;
    std::map<std::string, MemberRow> members;
    std::map<std::string, MethodRow> methods;
};

const std::vector<RecordRow>& Golden()
{
    static const std::vector<RecordRow> rows = {
        {"ObjectSystem", "System", true, true, true, {},
         {{"Clone", {"Entity", {"string", "string", "string"}, ""}}}},
        {"SoundSystem", "System", true, true, false, {},
         {{"PlaySong", {"", {"string"}, ""}},
          {"PauseSong", {"", {"string", "int"}, ""}},
          {"ResumeSong", {"", {"string", "int"}, ""}},
          {"StopSong", {"", {"string", "int"}, ""}},
          {"SetLooping", {"", {"string", "bool", "int"}, ""}}}},
        {"Transform2D", "Component", true, true, true,
         {{"m_x", {"float", "GetX"}},
          {"m_y", {"float", "GetY"}},
          {"m_rotation", {"float", ""}},
          {"m_scaleX", {"float", ""}},
          {"m_scaleY", {"float", ""}}},
         {{"GetX", {"float", {}, "m_x"}}, {"GetY", {"float", {}, "m_y"}}}},
    };
    return rows;
}

std::string NameOf(const Meta* record) { return record ? record->Name() : std::string(); }

} // namespace

TEST(EngineCatalogue, RecordsMatchTheGoldenTableBothWays)
{
    RegisterEngineTypes();
    for (const RecordRow& row : Golden()) {
        SCOPED_TRACE(row.name);
        Meta* record = MetaRegistry::Instance().Find(row.name);
        ASSERT_NE(record, nullptr);
        ASSERT_EQ(record->GetBases().size(), 1u);
        EXPECT_EQ(record->GetBases()[0]->Name(), row.base);
        ASSERT_NE(record->GetOps(), nullptr);
        EXPECT_EQ(record->GetOps()->CanCreate(), row.canCreate);
        EXPECT_EQ(record->GetOps()->CanCopy(), row.canCopy);

        Variable* id = record->GetStaticMember("ID");
        EXPECT_EQ(id != nullptr, row.hasID);
        EXPECT_EQ(record->GetStaticMembers().size(), row.hasID ? 1u : 0u);
        if (id) {
            EXPECT_EQ(*static_cast<std::string*>(id->Value()), row.name);
        }

        // Members: same names, types, getters; no setters, no filters.
        std::set<std::string> recorded;
        for (const auto& [name, member] : record->GetMembers())
            recorded.insert(name);
        std::set<std::string> expected;
        for (const auto& [name, memberRow] : row.members)
            expected.insert(name);
        EXPECT_EQ(recorded, expected);
        for (const auto& [name, memberRow] : row.members) {
            Member* member = record->GetMember(name);
            if (!member)
                continue;
            EXPECT_EQ(NameOf(member->GetType()), memberRow.type) << name;
            EXPECT_EQ(member->GetSetter(), nullptr) << name;
            EXPECT_EQ(member->GetExtension(), "") << name;
            if (*memberRow.getter) {
                Function* getter = member->GetGetter();
                ASSERT_NE(getter, nullptr) << name;
                EXPECT_EQ(NameOf(getter->GetReturnType()), memberRow.type) << name;
                EXPECT_TRUE(getter->GetArgumentTypes().empty()) << name;
            } else {
                EXPECT_EQ(member->GetGetter(), nullptr) << name;
            }
        }

        // Methods: same names, return and parameter types in order.
        recorded.clear();
        for (const auto& [name, method] : record->GetMethods())
            recorded.insert(name);
        expected.clear();
        for (const auto& [name, methodRow] : row.methods)
            expected.insert(name);
        EXPECT_EQ(recorded, expected);
        for (const auto& [name, methodRow] : row.methods) {
            Function* method = record->GetMethod(name);
            if (!method)
                continue;
            EXPECT_EQ(NameOf(method->GetReturnType()), methodRow.returns) << name;
            std::vector<std::string> parameters;
            for (Meta* type : method->GetArgumentTypes())
                parameters.push_back(NameOf(type));
            EXPECT_EQ(parameters, std::vector<std::string>(methodRow.parameters.begin(), methodRow.parameters.end()))
                << name;
            if (*methodRow.boundAsGetterOf) {
                Member* member = record->GetMember(methodRow.boundAsGetterOf);
                ASSERT_NE(member, nullptr);
                // A second binding of the same method, not the registered one itself.
                EXPECT_NE(member->GetGetter(), method) << name;
            }
        }
    }
}

TEST(EngineCatalogue, SystemsAnswerWithTheirOwnRecords)
{
    RegisterEngineTypes();
    ObjectSystem objects;
    EXPECT_EQ(objects.GetMeta(), MetaRegistry::Instance().Find("ObjectSystem"));
    EXPECT_EQ(ObjectSystem::ID, "ObjectSystem");
    EXPECT_EQ(SoundSystem::StaticMeta(), MetaRegistry::Instance().Find("SoundSystem"));
    EXPECT_EQ(SoundSystem::StaticMeta()->GetStaticMember("ID"), nullptr);
}
