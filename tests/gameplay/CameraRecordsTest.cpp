// The camera classes' reflection records against their golden tables, compared both ways:
// names, bases, creation and copying, "ID", members with their types and bindings, and methods
// with their return and parameter types.
#include "engine/reflection/Function.h"
#include "engine/reflection/Member.h"
#include "engine/reflection/Meta.h"
#include "engine/reflection/MetaNotPOD.h"
#include "engine/reflection/MetaRegistrar.h"
#include "engine/reflection/MetaRegistry.h"
#include "engine/reflection/Variable.h"
#include "gameplay/cameras/CameraLookAtComponent.h"
#include "gameplay/cameras/CameraSystem.h"
#include "gameplay/cameras/ThirdPersonCameraComponent.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace quellor::test {
namespace {

struct RecordRow {
    std::string name, base;
    // member name → type; no member here has a setter, getter or filter
    std::map<std::string, std::string> members;
    // method name → return type ("" for nothing) followed by the parameter types
    std::map<std::string, std::vector<std::string>> methods;
};

const std::vector<RecordRow> kGolden = {
    {"CameraSystem", "System", {},
     {{"SetCameraPos", {"", "float", "float", "float"}}, {"SetCameraLook", {"", "float", "float", "float"}}}},
    {"ThirdPersonCameraComponent", "Component",
     {{"m_cameraSphere", "float"}, {"m_camRotY", "float"}, {"m_camRadius", "float"}}, {}},
    {"CameraLookAtComponent", "Component", {}, {}},
};

std::string NameOf(const Meta* meta)
{
    return meta ? meta->Name() : std::string();
}

TEST(CameraRecords, TheRecordsMatchTheirGoldenTablesBothWays)
{
    MetaOf<CameraSystem>();
    MetaOf<ThirdPersonCameraComponent>();
    MetaOf<CameraLookAtComponent>();
    for (const RecordRow& row : kGolden) {
        SCOPED_TRACE(row.name);
        const Meta* record = MetaRegistry::Instance().Find(row.name);
        ASSERT_NE(record, nullptr);
        ASSERT_EQ(record->GetBases().size(), 1u);
        EXPECT_EQ(record->GetBases()[0]->Name(), row.base);
        const Variable* id = record->GetStaticMember("ID");
        ASSERT_NE(id, nullptr);
        EXPECT_EQ(*static_cast<const std::string*>(id->Value()), row.name);
        EXPECT_EQ(record->GetStaticMembers().size(), 1u);

        // Made by name, never copied.
        void* made = record->GetOps()->New();
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(record->GetOps()->Copy(made), nullptr);
        record->GetOps()->Delete(made);

        std::map<std::string, std::string> members;
        for (const auto& [name, member] : record->GetMembers()) {
            members[name] = NameOf(member->GetType());
            EXPECT_EQ(member->GetSetter(), nullptr) << name;
            EXPECT_EQ(member->GetGetter(), nullptr) << name;
            EXPECT_EQ(member->GetExtension(), "") << name;
        }
        EXPECT_EQ(members, row.members);

        std::map<std::string, std::vector<std::string>> methods;
        for (const auto& [name, method] : record->GetMethods()) {
            std::vector<std::string> signature{NameOf(method->GetReturnType())};
            for (const Meta* parameter : method->GetArgumentTypes())
                signature.push_back(NameOf(parameter));
            methods[name] = signature;
        }
        EXPECT_EQ(methods, row.methods);
    }
}

} // namespace
} // namespace quellor::test
