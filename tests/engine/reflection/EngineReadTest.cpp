// Reading engine components from XML through their records.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include <tinyxml.h>

#include "engine/ActionComponent.h"
#include "engine/Transform2D.h"
#include "engine/reflection/MetaRegistrar.h"
#include "engine/reflection/ReadVariable.h"
#include "tests/engine/reflection/EngineFixtures.h"

using namespace quellor;
using namespace quellor::fixtures;

namespace {

class EngineReadTest : public testing::Test {
protected:
    void SetUp() override { RegisterEngineFixtures(); }

    // Creates the value the document's root names; the returned box owns it.
    std::unique_ptr<Variable> Create(const std::string& xml)
    {
        TiXmlDocument document;
        document.Parse(xml.c_str());
        EXPECT_NE(document.RootElement(), nullptr);
        testing::internal::CaptureStdout();
        std::unique_ptr<Variable> created(ReadVariable(document.RootElement(), nullptr));
        printed = testing::internal::GetCapturedStdout();
        if (created) {
            created->SetOwns(true);
        }
        return created;
    }

    std::string printed;
};

} // namespace

TEST_F(EngineReadTest, EveryShapeOfMemberOfAComponent)
{
    auto created = Create("<ReadFixtureComponent>"
                          "<m_offset><Vec4><x><float value=\"1\"/></x><w><float value=\"4\"/></w></Vec4></m_offset>"
                          "<m_turn><Quat><y><float value=\"0.5\"/></y></Quat></m_turn>"
                          "<m_low><int value=\"7\"/></m_low>"
                          "<m_enabled><bool value=\"2\"/></m_enabled>"
                          "<m_count><int value=\"-12\"/></m_count>"
                          "<m_label><string value=\"from file\"/></m_label>"
                          "</ReadFixtureComponent>");
    ASSERT_NE(created, nullptr);
    auto* c = static_cast<ReadFixtureComponent*>(created->Value());
    EXPECT_FLOAT_EQ(c->m_offset.x, 1.0f);
    EXPECT_FLOAT_EQ(c->m_offset.y, 0.0f);
    EXPECT_FLOAT_EQ(c->m_offset.w, 4.0f);
    EXPECT_FLOAT_EQ(c->m_turn.y, 0.5f);
    EXPECT_FLOAT_EQ(c->m_turn.w, 1.0f);
    EXPECT_EQ(c->m_low, 7);
    EXPECT_EQ(c->m_high, 20);
    EXPECT_TRUE(c->m_enabled);
    EXPECT_EQ(c->m_setEnabledCalls, 1);
    EXPECT_EQ(c->m_count, -12);
    EXPECT_EQ(c->m_label, "from file");
    EXPECT_EQ(printed, "");
}

TEST_F(EngineReadTest, MismatchedValuesLeaveTheNeighboursUntouched)
{
    auto created = Create("<ReadFixtureComponent>\n"
                          "<m_offset><Mat4><m00><float value=\"9\"/></m00></Mat4></m_offset>\n"
                          "<m_turn><Vec4><x><float value=\"9\"/></x></Vec4></m_turn>\n"
                          "<m_low><int value=\"300\"/></m_low>\n"
                          "<m_high><int value=\"4\"/></m_high>\n"
                          "<m_count><float value=\"seven\"/></m_count>\n"
                          "<m_count><int value=\"99999999999\"/></m_count>\n"
                          "</ReadFixtureComponent>");
    ASSERT_NE(created, nullptr);
    auto* c = static_cast<ReadFixtureComponent*>(created->Value());
    EXPECT_FLOAT_EQ(c->m_offset.x, 0.0f);
    EXPECT_FLOAT_EQ(c->m_turn.x, 0.0f);
    EXPECT_FLOAT_EQ(c->m_turn.w, 1.0f);
    EXPECT_EQ(c->m_low, 10);
    EXPECT_EQ(c->m_high, 4);
    EXPECT_FALSE(c->m_enabled);
    EXPECT_EQ(c->m_count, 0);
    EXPECT_EQ(c->m_label, "fixture");
    for (const char* warning : {"ReadFixtureComponent.m_offset (line 2) holds <Mat4> but the member is a Vec4",
                                "ReadFixtureComponent.m_turn (line 3) holds <Vec4> but the member is a Quat",
                                "ReadFixtureComponent.m_low (line 4): 300 is out of range for unsigned char",
                                "ReadFixtureComponent.m_count (line 6): \"seven\" is not a number",
                                "ReadFixtureComponent.m_count (line 7): 99999999999 is out of range for int"}) {
        EXPECT_NE(printed.find(warning), std::string::npos) << warning << "\nprinted:\n" << printed;
    }
}

TEST_F(EngineReadTest, TypesThatCannotBeMadeByNameGiveNothing)
{
    EXPECT_EQ(Create("<BirdGrabComponent/>"), nullptr);
    EXPECT_EQ(printed, "Warning: \"BirdGrabComponent\" (line 1) cannot be created by name; nothing created\n");
    EXPECT_EQ(Create("<Engine/>"), nullptr);
    EXPECT_NE(printed.find("\"Engine\" (line 1) cannot be created"), std::string::npos);
    EXPECT_EQ(Create("<NoSuchComponent/>"), nullptr);
    EXPECT_NE(printed.find("no reflected type named \"NoSuchComponent\""), std::string::npos);
}

TEST_F(EngineReadTest, AnActionComponentStartsTheActionItsFileNames)
{
    const int live = CountedAction::s_live;
    {
        auto created = Create("<ActionComponent><m_name><string value=\"CountedAction\"/></m_name></ActionComponent>");
        ASSERT_NE(created, nullptr);
        auto* component = static_cast<ActionComponent*>(created->Value());
        EXPECT_EQ(component->m_name, "CountedAction");
        EXPECT_EQ(component->GetActionList().GetCount(), 1);
        EXPECT_EQ(CountedAction::s_live, live + 1);
    }
    EXPECT_EQ(CountedAction::s_live, live);
}
