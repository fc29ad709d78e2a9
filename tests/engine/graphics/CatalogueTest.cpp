// The reflection records of the object model and graphics classes against a golden table of
// their names, bases, creation, "ID", members (type, setter, getter, filter) and methods
// (return and parameter types), compared both ways; then the bindings that files and callers
// reach by name.
#include "engine/ActionComponent.h"
#include "engine/ObjectSystem.h"
#include "engine/SoundSystem.h"
#include "engine/Transform2D.h"
#include "engine/graphics/BillboardedQuadComponent.h"
#include "engine/graphics/DynamicMeshComponent.h"
#include "engine/graphics/GraphicsComponent2D.h"
#include "engine/graphics/GraphicsComponent3D.h"
#include "engine/graphics/GraphicsComponent3DSkinned.h"
#include "engine/reflection/Function.h"
#include "engine/reflection/Member.h"
#include "engine/reflection/Meta.h"
#include "engine/reflection/MetaNotPOD.h"
#include "engine/reflection/MetaRegistry.h"
#include "engine/reflection/ReadVariable.h"
#include "engine/reflection/RegisterEngineTypes.h"
#include "engine/reflection/Variable.h"
#include "tests/engine/graphics/GraphicsTestKit.h"
#include "tests/support/StdoutCapture.h"
#include "tests/support/ContentDir.h"

#include <tinyxml.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>

namespace quellor::test {
namespace {

struct MemberRow {
    std::string name, type, setter, getter, filter;
};
struct MethodRow {
    std::string name, returns; // "" for nothing
    std::vector<std::string> parameters;
};
struct RecordRow {
    std::string name, base; // "" for none
    bool canCreate;
    int canCopy; // -1: not part of this table
    bool hasID;
    std::vector<MemberRow> members;
    std::vector<MethodRow> methods;
};

const std::vector<MemberRow> kVisibility = {{"m_visibleScreen1", "bool", "", "", ""},
                                            {"m_visibleScreen2", "bool", "", "", ""},
                                            {"m_visibleScreen3", "bool", "", "", ""},
                                            {"m_visibleScreen4", "bool", "", "", ""}};

std::vector<MemberRow> Join(std::vector<MemberRow> a, const std::vector<MemberRow>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const MethodRow kSetModel{"SetModel", "", {"string"}};
const MethodRow kSetMaterial{"SetMaterial", "", {"string"}};

std::vector<RecordRow> Golden()
{
    const std::vector<MemberRow> model = Join(Join({{"m_modelName", "string", "SetModel", "", ".model"},
                                                    {"m_materialName", "string", "SetMaterial", "", ".mat"}},
                                                   kVisibility),
                                              {{"m_glowStrength", "float", "", "", ""}});
    return {
        {"Component", "QLObject", true, -1, false, {{"m_id", "string", "", "", ""}}, {}},
        {"Entity", "QLObject", true, -1, false, {},
         {{"GetComponent", "Component", {"string"}}, {"Name", "string", {}}}},
        {"Engine", "", false, -1, false, {},
         {{"GetEntity", "Entity", {"string", "string"}}, {"GetSystem", "System", {"string", "string"}}}},
        {"ActionComponent", "Component", true, 1, true, {{"m_name", "string", "SetBasedOnName", "", ""}},
         {{"SetBasedOnName", "", {"string"}}}},
        {"GraphicsComponent2D", "Component", true, 1, true, {{"m_materialName", "string", "SetMaterial", "", ".mat"}},
         {kSetMaterial}},
        {"GraphicsComponent3D", "Component", true, 1, true,
         Join(model, {{"m_acceptsDecals", "bool", "", "", ""}, {"m_instanced", "bool", "", "", ""}}),
         {kSetModel, kSetMaterial}},
        {"GraphicsComponent3DSkinned", "Component", true, 1, true, model, {kSetModel, kSetMaterial}},
        {"EmitterComponent", "Component", true, 1, true,
         {{"m_particleEmitterFile", "string", "SetParticleEmitterFile", "", ".pe"}, {"m_offset", "Vec4", "", "", ""}},
         {{"SetParticleEmitterFile", "", {"string"}}}},
        {"Transform3D", "Component", true, 1, true,
         {{"m_x", "float", "SetX", "GetX", ""},
          {"m_y", "float", "SetY", "GetY", ""},
          {"m_z", "float", "SetZ", "GetZ", ""},
          {"m_scaleX", "float", "", "", ""},
          {"m_scaleY", "float", "", "", ""},
          {"m_scaleZ", "float", "", "", ""},
          {"m_rotation", "Quat", "", "", "euler"}},
         {{"SetX", "", {"float"}},
          {"SetY", "", {"float"}},
          {"SetZ", "", {"float"}},
          {"GetX", "float", {}},
          {"GetY", "float", {}},
          {"GetZ", "float", {}},
          {"GetPosition", "Vec4", {}},
          {"SetPosition", "", {"float", "float", "float"}}}},
        {"TextComponent", "Component", true, 1, true,
         {{"m_color", "Vec4", "", "", ""},
          {"m_offset", "Vec2", "", "", ""},
          {"m_fontName", "string", "SetFont", "", ""},
          {"m_fontTexture", "string", "SetFontTexture", "", ""},
          {"m_value", "string", "SetValue", "", ""}},
         {{"SetFontTexture", "", {"string"}}, {"SetFont", "", {"string"}}, {"SetValue", "", {"string"}}}},
        {"DecalComponent", "Component", true, 1, true,
         {{"m_texture", "string", "", "", ".dds"}, {"m_alpha", "float", "", "", ""}}, {}},
        {"BillboardedQuadComponent", "Component", true, 1, true,
         Join({{"m_materialName", "string", "SetMaterial", "", ".mat"}}, kVisibility), {kSetMaterial}},
        {"DirectionalLightComponent", "Component", true, 1, true,
         {{"m_direction", "Vec4", "", "", ""}, {"m_color", "Vec4", "", "", ""}}, {}},
        {"PointLightComponent", "Component", true, 1, true,
         {{"m_color", "Vec4", "", "", ""}, {"m_intensity", "float", "", "", ""}, {"m_radius", "float", "", "", ""}}, {}},
        {"SpotLightComponent", "Component", true, 1, true,
         {{"m_direction", "Vec4", "", "", ""},
          {"m_color", "Vec4", "", "", ""},
          {"m_radius", "float", "", "", ""},
          {"m_innerAlpha", "float", "", "", ""},
          {"m_outerAlpha", "float", "", "", ""},
          {"m_intensity", "float", "", "", ""}},
         {}},
        {"DynamicMeshComponent", "Component", true, 1, false, {}, {}},
        {"BackdropComponent", "Component", true, 1, true, {{"m_materialName", "string", "SetMaterial", "", ".mat"}},
         {kSetMaterial}},
        {"SunComponent", "Component", true, 1, true,
         {{"m_size", "float", "", "", ""},
          {"m_direction", "Vec4", "", "", ""},
          {"m_fov", "float", "", "", ""},
          {"m_nearPlane", "float", "", "", ""},
          {"m_farPlane", "float", "", "", ""},
          {"m_rayDensity", "float", "", "", ""},
          {"m_rayDecay", "float", "", "", ""},
          {"m_rayWeight", "float", "", "", ""},
          {"m_rayExposure", "float", "", "", ""},
          {"m_raySamples", "int", "", "", ""}},
         {}},
        {"FogComponent", "Component", true, 1, true,
         {{"m_globalDensity", "float", "", "", ""},
          {"m_heightDensity", "float", "", "", ""},
          {"m_heightFalloff", "float", "", "", ""},
          {"m_color", "Vec4", "", "", ""}},
         {}},
        {"GraphicsSystem", "System", false, 0, false, {}, {}},
        {"ObjectSystem", "System", true, 1, true, {}, {{"Clone", "Entity", {"string", "string", "string"}}}},
        {"SoundSystem", "System", true, 1, false, {},
         {{"PlaySong", "", {"string"}},
          {"PauseSong", "", {"string", "int"}},
          {"ResumeSong", "", {"string", "int"}},
          {"StopSong", "", {"string", "int"}},
          {"SetLooping", "", {"string", "bool", "int"}}}},
        {"Transform2D", "Component", true, 1, true,
         {{"m_x", "float", "", "GetX", ""},
          {"m_y", "float", "", "GetY", ""},
          {"m_rotation", "float", "", "", ""},
          {"m_scaleX", "float", "", "", ""},
          {"m_scaleY", "float", "", "", ""}},
         {{"GetX", "float", {}}, {"GetY", "float", {}}}},
    };
}

std::string TypeName(const Meta* meta)
{
    return meta ? meta->Name() : std::string();
}

std::vector<std::string> ParameterNames(const Function& f)
{
    std::vector<std::string> names;
    for (const Meta* m : f.GetArgumentTypes())
        names.push_back(TypeName(m));
    return names;
}

// A bound setter or getter is the named method's own binding: same object, return and
// parameter records, but a separate function object.
void ExpectBoundTo(const Meta& record, const Function* binding, const std::string& method, const std::string& where)
{
    if (method.empty()) {
        EXPECT_EQ(binding, nullptr) << where;
        return;
    }
    ASSERT_NE(binding, nullptr) << where;
    const Function* named = record.GetMethod(method);
    ASSERT_NE(named, nullptr) << where << " names " << method;
    EXPECT_NE(binding, named) << where;
    EXPECT_EQ(binding->GetObjectType(), named->GetObjectType()) << where;
    EXPECT_EQ(binding->GetReturnType(), named->GetReturnType()) << where;
    EXPECT_EQ(binding->GetArgumentTypes(), named->GetArgumentTypes()) << where;
}

TEST(Catalogue, TheRecordsMatchTheGoldenTableBothWays)
{
    RegisterEngineTypes();
    for (const RecordRow& row : Golden()) {
        SCOPED_TRACE(row.name);
        const Meta* record = MetaRegistry::Instance().Find(row.name);
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->GetBases().empty() ? std::string() : record->GetBases().front()->Name(), row.base);
        EXPECT_EQ(record->GetOps()->CanCreate(), row.canCreate);
        if (row.canCopy >= 0) {
            EXPECT_EQ(record->GetOps()->CanCopy(), row.canCopy == 1);
        }
        const Variable* id = record->GetStaticMember("ID");
        EXPECT_EQ(id != nullptr, row.hasID);
        if (id && row.hasID) {
            EXPECT_EQ(TypeName(id->GetType()), "string");
            EXPECT_EQ(*static_cast<const std::string*>(id->Value()), row.name);
        }
        EXPECT_EQ(record->GetStaticMembers().size(), row.hasID ? 1u : 0u);

        // Members: every row is there as written, and nothing else is.
        std::set<std::string> expected;
        for (const MemberRow& m : row.members) {
            expected.insert(m.name);
            const Member* member = record->GetMember(m.name);
            ASSERT_NE(member, nullptr) << m.name;
            EXPECT_EQ(TypeName(member->GetType()), m.type) << m.name;
            EXPECT_EQ(member->GetExtension(), m.filter) << m.name;
            ExpectBoundTo(*record, member->GetSetter(), m.setter, m.name + " setter");
            ExpectBoundTo(*record, member->GetGetter(), m.getter, m.name + " getter");
        }
        for (const auto& [name, member] : record->GetMembers())
            EXPECT_TRUE(expected.count(name)) << "unlisted member " << name;

        std::set<std::string> expectedMethods;
        for (const MethodRow& m : row.methods) {
            expectedMethods.insert(m.name);
            const Function* method = record->GetMethod(m.name);
            ASSERT_NE(method, nullptr) << m.name;
            EXPECT_EQ(TypeName(method->GetReturnType()), m.returns) << m.name;
            EXPECT_EQ(ParameterNames(*method), m.parameters) << m.name;
        }
        for (const auto& [name, method] : record->GetMethods())
            EXPECT_TRUE(expectedMethods.count(name)) << "unlisted method " << name;
    }
}

TEST(Catalogue, EngineCannotBeCreatedByNameTheOthersCanAndSystemsAnswerWithTheirRecords)
{
    RegisterEngineTypes();
    EXPECT_EQ(MetaRegistry::Instance().Find("Engine")->GetOps()->New(), nullptr);
    for (const char* name : {"GraphicsComponent2D", "GraphicsComponent3D", "GraphicsComponent3DSkinned",
                             "EmitterComponent", "BackdropComponent", "DynamicMeshComponent"}) {
        const MetaNotPOD* ops = MetaRegistry::Instance().Find(name)->GetOps();
        void* object = ops->New();
        ASSERT_NE(object, nullptr) << name;
        void* copy = ops->Copy(object);
        EXPECT_NE(copy, nullptr) << name;
        ops->Delete(copy);
        ops->Delete(object);
    }
    // The systems answer with their own records.
    ObjectSystem objects;
    EXPECT_EQ(objects.GetMeta(), MetaRegistry::Instance().Find("ObjectSystem"));
    EXPECT_EQ(SoundSystem::StaticMeta(), MetaRegistry::Instance().Find("SoundSystem"));
    // Created by name, the dynamic mesh has room for 60 vertices.
    const MetaNotPOD* mesh = MetaRegistry::Instance().Find("DynamicMeshComponent")->GetOps();
    auto* object = static_cast<DynamicMeshComponent*>(mesh->New());
    EXPECT_EQ(object->MaxVerts(), 60u);
    mesh->Delete(object);
}

// Calls a registered method of the object's record by name with one string.
template <class T>
void CallByName(T& object, const std::string& method, const std::string& argument)
{
    Function* f = T::StaticMeta()->GetMethod(method);
    ASSERT_NE(f, nullptr) << method;
    std::string value = argument;
    f->PushArgument(Variable(&object, false));
    f->PushArgument(Variable(&value, false));
    std::unique_ptr<Variable> result(f->Invoke());
}

std::string ContentPath(const std::string& relative)
{
    return (tarsel::test::ContentDir() / relative).string();
}

TEST_F(GraphicsTest, TheGraphicsSystemAnswersAsASystemAndADynamicMeshIsKeyedByItsOwnName)
{
    RegisterEngineTypes();
    EXPECT_EQ(graphics->GetMeta(), MetaOf<System>());
    EXPECT_NE(MetaRegistry::Instance().Find("GraphicsSystem"), nullptr);

    Entity* entity = Placed("mesh");
    auto* mesh = entity->AddComponent<DynamicMeshComponent>(true);
    EXPECT_EQ(DynamicMeshComponent::ID, "DynamicMeshComponent");
    EXPECT_EQ(entity->GetComponent("DynamicMeshComponent"), mesh);
    EXPECT_EQ(entity->GetComponent(Component::ID), nullptr);
    // Code adds it; files cannot name it, so its record carries no "ID".
    EXPECT_EQ(MetaRegistry::Instance().Find("DynamicMeshComponent")->GetStaticMember("ID"), nullptr);
}

TEST_F(GraphicsTest, SetModelAndSetMaterialByNameReachTheirOwnRendererBase)
{
    RegisterEngineTypes();
    ASSERT_TRUE(graphics->LoadModel(ContentPath("models/cube.model")));
    ASSERT_TRUE(graphics->LoadModel(ContentPath("models/sphere.model")));
    Entity* entity = Placed("models");
    auto* model = entity->AddComponent<GraphicsComponent3D>(true);
    auto* skinned = entity->AddComponent<GraphicsComponent3DSkinned>(true);
    Entity* screen = engine->CreateEntity("sprite", "default");
    auto* sprite = screen->AddComponent<GraphicsComponent2D>(true);

    CallByName(*model, "SetModel", "cube.model");
    CallByName(*skinned, "SetModel", "sphere.model");
    EXPECT_EQ(model->GetModel(), graphics->GetModel("cube.model"));
    EXPECT_EQ(model->m_modelName, "cube.model");
    EXPECT_EQ(skinned->ZOR::Renderable3DSkinned::GetModel(), graphics->GetModel("sphere.model"));
    EXPECT_EQ(skinned->m_modelName, "sphere.model");

    // The 2D and 3D "SetMaterial" each reach their own base: the sprite's material changes, the
    // model's does not (and the other way round).
    ZOR::Material* before3D = model->GetMaterial();
    sprite->ZOR::Renderable2D::SetMaterial(static_cast<ZOR::Material*>(nullptr));
    CallByName(*sprite, "SetMaterial", "");
    EXPECT_NE(sprite->ZOR::Renderable2D::GetMaterial(), nullptr);
    EXPECT_EQ(sprite->m_materialName, "");
    EXPECT_EQ(model->GetMaterial(), before3D);
    model->ZOR::Renderable3D::SetMaterial(static_cast<ZOR::Material*>(nullptr));
    CallByName(*model, "SetMaterial", "nothing.mat");
    EXPECT_EQ(model->m_materialName, "nothing.mat");
    EXPECT_NE(model->GetMaterial(), nullptr);
    EXPECT_EQ(sprite->m_materialName, "");
}

// Reads a component element as level files give it.
template <class T>
std::unique_ptr<T> Read(const char* xml)
{
    RegisterEngineTypes();
    TiXmlDocument document;
    document.Parse(xml);
    EXPECT_FALSE(document.Error()) << xml;
    std::unique_ptr<Variable> box(ReadVariable(document.RootElement(), nullptr));
    if (!box)
        return nullptr;
    return std::unique_ptr<T>(static_cast<T*>(box->Value()));
}

TEST(Catalogue, AVisibilityFlagFromAFileFlipsOnlyThatFlag)
{
    auto model = Read<GraphicsComponent3D>(
        "<GraphicsComponent3D><m_visibleScreen1><bool value=\"0\"/></m_visibleScreen1>"
        "<m_acceptsDecals><bool value=\"1\"/></m_acceptsDecals></GraphicsComponent3D>");
    ASSERT_NE(model, nullptr);
    EXPECT_FALSE(model->GetVisible(0));
    EXPECT_TRUE(model->GetVisible(1));
    EXPECT_TRUE(model->GetVisible(2));
    EXPECT_TRUE(model->GetVisible(3));
    EXPECT_TRUE(model->GetAcceptsDecals());
    EXPECT_FALSE(model->GetInstanced());

    auto skinned = Read<GraphicsComponent3DSkinned>(
        "<GraphicsComponent3DSkinned><m_visibleScreen3><bool value=\"0\"/></m_visibleScreen3>"
        "<m_modelName><string value=\"hero.model\"/></m_modelName></GraphicsComponent3DSkinned>");
    ASSERT_NE(skinned, nullptr);
    EXPECT_TRUE(skinned->GetVisible(0));
    EXPECT_FALSE(skinned->GetVisible(2));
    // Not registered yet: the setter keeps the name for initialisation.
    EXPECT_EQ(skinned->m_modelName, "hero.model");
}

TEST(Catalogue, AnActionComponentNamingAnUnknownClassLoadsWithAWarning)
{
    tarsel::test::StdoutCapture capture;
    auto action = Read<ActionComponent>(
        "<ActionComponent><m_name><string value=\"NoSuchAction\"/></m_name></ActionComponent>");
    const std::string output = capture.Text();
    ASSERT_NE(action, nullptr);
    EXPECT_NE(output.find("NoSuchAction"), std::string::npos) << output;
}

} // namespace
} // namespace quellor::test
