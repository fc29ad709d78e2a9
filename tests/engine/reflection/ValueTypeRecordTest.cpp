// Records of the engine's value types and reading them as nested values.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include <tinyxml.h>

#include "engine/reflection/Mat2.h"
#include "engine/reflection/Mat4.h"
#include "engine/reflection/MetaRegistrar.h"
#include "engine/reflection/Quat.h"
#include "engine/reflection/ReadVariable.h"
#include "engine/reflection/RegisterEngineTypes.h"
#include "engine/reflection/Vec2.h"
#include "engine/reflection/Vec4.h"

using namespace quellor;

TEST(ValueTypeRecords, NamesSizesOperationsAndMembers)
{
    RegisterEngineTypes();
    struct Row {
        const char* name;
        std::size_t size;
        std::vector<std::string> members;
    };
    const Row rows[] = {
        {"Vec2", sizeof(Vec2), {"x", "y"}},
        {"Vec4", sizeof(Vec4), {"x", "y", "z", "w"}},
        {"Quat", sizeof(Quat), {"x", "y", "z", "w"}},
        {"Mat2", sizeof(Mat2), {"m00", "m01", "m10", "m11"}},
        {"Mat4",
         sizeof(Mat4),
         {"m00", "m01", "m02", "m03", "m10", "m11", "m12", "m13", "m20", "m21", "m22", "m23", "m30", "m31", "m32",
          "m33"}},
    };
    for (const Row& row : rows) {
        Meta* record = MetaRegistry::Instance().Find(row.name);
        ASSERT_NE(record, nullptr) << row.name;
        EXPECT_EQ(record->GetSize(), row.size) << row.name;
        EXPECT_TRUE(record->GetBases().empty()) << row.name;
        ASSERT_NE(record->GetOps(), nullptr) << row.name;
        EXPECT_TRUE(record->GetOps()->CanCreate() && record->GetOps()->CanCopy()) << row.name;
        EXPECT_EQ(record->GetMembers().size(), row.members.size()) << row.name;
        for (const std::string& member : row.members) {
            ASSERT_NE(record->GetMember(member), nullptr) << row.name << "." << member;
            EXPECT_EQ(record->GetMember(member)->GetType(), MetaOf<float>()) << row.name << "." << member;
        }
        EXPECT_EQ(record->GetStaticMember("ID"), nullptr) << row.name;
    }

    // Each member addresses its own float in field order.
    Mat4 matrix;
    Meta* mat4 = MetaOf<Mat4>();
    EXPECT_EQ(mat4->GetMember("m00")->Address(&matrix), &matrix.m00);
    EXPECT_EQ(mat4->GetMember("m23")->Address(&matrix), &matrix.m23);
    EXPECT_EQ(mat4->GetMember("m33")->Address(&matrix), &matrix.m33);
    EXPECT_EQ(Vec4().GetMeta(), MetaOf<Vec4>());
    EXPECT_EQ(Quat().GetMeta(), MetaOf<Quat>());
}

TEST(ValueTypeRecords, OnlyTheListedAccessorsAreBound)
{
    Meta* vec2 = MetaOf<Vec2>();
    for (const char* name : {"SetX", "GetX", "SetY", "GetY"}) {
        EXPECT_NE(vec2->GetMethod(name), nullptr) << name;
    }
    for (const char* member : {"x", "y"}) {
        EXPECT_NE(vec2->GetMember(member)->GetSetter(), nullptr) << member;
        EXPECT_NE(vec2->GetMember(member)->GetGetter(), nullptr) << member;
    }
    Meta* vec4 = MetaOf<Vec4>();
    EXPECT_EQ(vec4->GetMethods().size(), 2u);
    EXPECT_NE(vec4->GetMember("x")->GetSetter(), nullptr);
    EXPECT_NE(vec4->GetMember("x")->GetGetter(), nullptr);
    for (const char* member : {"y", "z", "w"}) {
        EXPECT_EQ(vec4->GetMember(member)->GetSetter(), nullptr) << member;
        EXPECT_EQ(vec4->GetMember(member)->GetGetter(), nullptr) << member;
    }
    for (Meta* record : {MetaOf<Quat>(), MetaOf<Mat2>(), MetaOf<Mat4>()}) {
        EXPECT_TRUE(record->GetMethods().empty()) << record->Name();
    }

    // Getter and setter reach the value through their boxes.
    Vec2 v(1.0f, 2.0f);
    Function* setY = vec2->GetMethod("SetY");
    float seven = 7.0f;
    setY->PushArgument(Variable(&v, false));
    setY->PushArgument(Variable(&seven, false));
    EXPECT_EQ(setY->Invoke(), nullptr);
    Function* getY = vec2->GetMember("y")->GetGetter();
    getY->PushArgument(Variable(&v, false));
    std::unique_ptr<Variable> y(getY->Invoke());
    ASSERT_NE(y, nullptr);
    EXPECT_FLOAT_EQ(*static_cast<float*>(y->Value()), 7.0f);
}

TEST(ValueTypeRecords, OperationsCopyAndFreeOnTheHeap)
{
    Quat q(0.1f, 0.2f, 0.3f, 0.9f);
    MetaNotPOD* ops = MetaOf<Quat>()->GetOps();
    auto* copy = static_cast<Quat*>(ops->Copy(&q));
    ASSERT_NE(copy, nullptr);
    EXPECT_FLOAT_EQ(copy->z, 0.3f);
    ops->Delete(copy);
    auto* fresh = static_cast<Mat2*>(MetaOf<Mat2>()->GetOps()->New());
    ASSERT_NE(fresh, nullptr);
    EXPECT_FLOAT_EQ(fresh->m00, 1.0f);
    EXPECT_FLOAT_EQ(fresh->m01, 0.0f);
    MetaOf<Mat2>()->GetOps()->Delete(fresh);
}

TEST(ValueTypeRecords, Vec4ReadsXThroughItsSetterAndTheRestInPlace)
{
    RegisterEngineTypes();
    TiXmlDocument document;
    document.Parse("<Vec4><w><float value=\"4\"/></w><x><float value=\"1\"/></x><y><float value=\"2\"/></y>"
                   "<z><float value=\"3\"/></z></Vec4>");
    ASSERT_NE(document.RootElement(), nullptr);
    std::unique_ptr<Variable> created(ReadVariable(document.RootElement(), nullptr));
    ASSERT_NE(created, nullptr);
    created->SetOwns(true);
    auto* v = static_cast<Vec4*>(created->Value());
    EXPECT_FLOAT_EQ(v->x, 1.0f);
    EXPECT_FLOAT_EQ(v->y, 2.0f);
    EXPECT_FLOAT_EQ(v->z, 3.0f);
    EXPECT_FLOAT_EQ(v->w, 4.0f);

    // A Quat read into an existing one keeps what the file leaves out.
    Quat q;
    Variable target(&q, false);
    TiXmlDocument quat;
    quat.Parse("<Quat><x><float value=\"0.5\"/></x></Quat>");
    EXPECT_EQ(ReadVariable(quat.RootElement(), &target), &target);
    EXPECT_FLOAT_EQ(q.x, 0.5f);
    EXPECT_FLOAT_EQ(q.w, 1.0f);
}
