// Reading reflected values from XML elements.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include <tinyxml.h>

#include "engine/reflection/MetaRegistrar.h"
#include "engine/reflection/ReadVariable.h"
#include "engine/reflection/RegisterEngineTypes.h"
#include "tests/engine/reflection/ReflectionFixtures.h"

using namespace quellor;
using namespace quellor::fixtures;

namespace {

class ReadVariableTest : public testing::Test {
protected:
    void SetUp() override
    {
        RegisterEngineTypes();
        for (Meta* record : {Settings::StaticMeta(), Holder::StaticMeta(), Fixed::StaticMeta(), Node::StaticMeta(),
                             Custom::StaticMeta(), Sealed::StaticMeta(), Shape::StaticMeta()}) {
            ASSERT_NE(record, nullptr);
        }
    }

    // Parses `xml` and returns its root element (owned by the fixture).
    TiXmlElement* Parse(const std::string& xml)
    {
        m_document = std::make_unique<TiXmlDocument>();
        m_document->Parse(xml.c_str());
        EXPECT_FALSE(m_document->Error()) << m_document->ErrorDesc();
        return m_document->RootElement();
    }

    // Reads `xml` into `object` in place and returns what was printed.
    template <class T>
    std::string ReadInto(T& object, const std::string& xml)
    {
        TiXmlElement* root = Parse(xml);
        Variable target(&object, false);
        testing::internal::CaptureStdout();
        Variable* result = ReadVariable(root, &target);
        std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_EQ(result, &target);
        return printed;
    }

    // Reads `xml` with no target; the created value is owned by the returned box.
    std::unique_ptr<Variable> Create(const std::string& xml, std::string* printed = nullptr)
    {
        TiXmlElement* root = Parse(xml);
        testing::internal::CaptureStdout();
        std::unique_ptr<Variable> created(ReadVariable(root, nullptr));
        std::string out = testing::internal::GetCapturedStdout();
        if (printed) {
            *printed = out;
        }
        if (created) {
            EXPECT_FALSE(created->Owns());
            created->SetOwns(true);
        }
        return created;
    }

    std::unique_ptr<TiXmlDocument> m_document;
};

} // namespace

TEST_F(ReadVariableTest, CreatesTheNamedTypeAndReadsOnlyTheMembersGiven)
{
    std::string printed;
    auto created = Create("<Settings><m_ratio><float value=\"1.5\"/></m_ratio></Settings>", &printed);
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(created->GetType(), Settings::StaticMeta());
    auto* settings = static_cast<Settings*>(created->Value());
    EXPECT_FLOAT_EQ(settings->m_ratio, 1.5f);
    EXPECT_EQ(settings->m_narrowA, 11);
    EXPECT_EQ(settings->m_narrowB, 22);
    EXPECT_EQ(settings->m_setOnCalls, 0);
    EXPECT_EQ(printed, "");
}

TEST_F(ReadVariableTest, TheMembersTypeDecidesHowTheValueReads)
{
    Settings settings;
    // An "int" element in a float member, a "float" element in a narrow one.
    std::string printed = ReadInto(settings, "<Settings>"
                                             "<m_ratio><int value=\"7\"/></m_ratio>"
                                             "<m_narrowB><float value=\"4\"/></m_narrowB>"
                                             "</Settings>");
    EXPECT_FLOAT_EQ(settings.m_ratio, 7.0f);
    EXPECT_EQ(settings.m_narrowB, 4);
    EXPECT_EQ(printed, "");
}

TEST_F(ReadVariableTest, BoolsReadAsIntegersAndSettersSeeTheConvertedValue)
{
    Settings settings;
    ReadInto(settings, "<Settings><m_plain><bool value=\"2\"/></m_plain><m_on><bool value=\"2\"/></m_on></Settings>");
    EXPECT_TRUE(settings.m_plain);
    EXPECT_TRUE(settings.m_on);
    EXPECT_EQ(settings.m_setOnCalls, 1);

    // The reader's setter call equals calling the setter by name with the same integer.
    Settings byName;
    Function* setOn = Settings::StaticMeta()->GetMethod("SetOn");
    ASSERT_NE(setOn, nullptr);
    int two = 2;
    setOn->PushArgument(Variable(&byName, false));
    setOn->PushArgument(Variable(&two, false));
    EXPECT_EQ(setOn->Invoke(), nullptr);
    EXPECT_EQ(byName.m_on, settings.m_on);
    EXPECT_EQ(byName.m_setOnCalls, settings.m_setOnCalls);

    ReadInto(settings, "<Settings><m_plain><bool value=\"0\"/></m_plain></Settings>");
    EXPECT_FALSE(settings.m_plain);
}

TEST_F(ReadVariableTest, NarrowMembersAreRangeCheckedAndLeaveTheirNeighbours)
{
    Settings settings;
    std::string printed = ReadInto(settings, "<Settings><m_narrowB><int value=\"300\"/></m_narrowB></Settings>");
    EXPECT_EQ(settings.m_narrowA, 11);
    EXPECT_EQ(settings.m_narrowB, 22);
    EXPECT_NE(printed.find("Warning: Settings.m_narrowB (line 1): 300 is out of range for unsigned char"),
              std::string::npos)
        << printed;

    printed = ReadInto(settings, "<Settings><m_narrowB><int value=\"4\"/></m_narrowB>"
                                 "<m_narrowA><int value=\"-1\"/></m_narrowA>"
                                 "<m_short><int value=\"-32768\"/></m_short></Settings>");
    EXPECT_EQ(settings.m_narrowA, 11);
    EXPECT_EQ(settings.m_narrowB, 4);
    EXPECT_EQ(settings.m_short, -32768);
    EXPECT_NE(printed.find("m_narrowA"), std::string::npos);

    // Through a setter the value arrives at the member's own width.
    ReadInto(settings, "<Settings><m_narrowA><int value=\"255\"/></m_narrowA><m_mode><int value=\"2\"/></m_mode></Settings>");
    EXPECT_EQ(settings.m_narrowA, 255);
    EXPECT_EQ(settings.m_narrowB, 4);
    EXPECT_EQ(settings.m_mode, Mode::High);
}

TEST_F(ReadVariableTest, TextThatIsNoNumberOrOutOfRangeKeepsTheValue)
{
    Settings settings;
    Shape shape;
    shape.m_tag = 8;
    struct Case {
        const char* xml;
        const char* warning;
    };
    const Case cases[] = {
        {"<Settings><m_ratio><float value=\"abc\"/></m_ratio></Settings>", "\"abc\" is not a number"},
        {"<Settings><m_ratio><float value=\"1e999\"/></m_ratio></Settings>", "is out of range"},
        {"<Settings><m_ratio><float value=\"1e39\"/></m_ratio></Settings>", "out of range for a float"},
        {"<Settings><m_ratio><float value=\"nan\"/></m_ratio></Settings>", "out of range for a float"},
        {"<Settings><m_on><bool value=\"yes\"/></m_on></Settings>", "not a number"},
        {"<Settings><m_on><bool value=\"4294967296\"/></m_on></Settings>", "out of range for an int"},
        {"<Settings><m_short><int value=\"40000\"/></m_short></Settings>", "out of range for short"},
        {"<Settings><m_mode><int value=\"99999999999\"/></m_mode></Settings>", "out of range for EnemyType"},
    };
    for (const Case& c : cases) {
        std::string printed = ReadInto(settings, c.xml);
        EXPECT_NE(printed.find(c.warning), std::string::npos) << c.xml << " printed " << printed;
        EXPECT_EQ(printed.rfind("Warning: ", 0), 0u) << printed;
    }
    EXPECT_FLOAT_EQ(settings.m_ratio, 0.5f);
    EXPECT_FALSE(settings.m_on);
    EXPECT_EQ(settings.m_setOnCalls, 0);
    EXPECT_EQ(settings.m_short, 0);
    EXPECT_EQ(settings.m_mode, Mode::Off);

    std::string printed = ReadInto(shape, "<Shape><m_tag><int value=\"x\"/></m_tag></Shape>");
    EXPECT_EQ(shape.m_tag, 8);
    EXPECT_NE(printed.find("not a number"), std::string::npos);
}

TEST_F(ReadVariableTest, MembersInAnyOrderTheLaterOfTwoWinsAndUnknownOnesAreIgnored)
{
    Settings settings;
    std::string printed = ReadInto(settings, "<Settings>\n"
                                             "  <m_ratio><float value=\"1\"/></m_ratio>\n"
                                             "  <!-- a comment -->\n"
                                             "  <m_nothing><int value=\"3\"/></m_nothing>\n"
                                             "  <m_short><int value=\"5\"/></m_short>\n"
                                             "  <m_ratio><float value=\"2\"/></m_ratio>\n"
                                             "  <m_narrowB/>\n"
                                             "  <m_narrowA><int/></m_narrowA>\n"
                                             "</Settings>");
    EXPECT_FLOAT_EQ(settings.m_ratio, 2.0f);
    EXPECT_EQ(settings.m_short, 5);
    EXPECT_EQ(settings.m_narrowA, 11);
    EXPECT_EQ(settings.m_narrowB, 22);
    EXPECT_EQ(printed, "");
}

TEST_F(ReadVariableTest, ClassMembersReadInPlaceThenCallTheSetter)
{
    Holder holder;
    ReadInto(holder, "<Holder><m_point><Point><m_x><float value=\"3\"/></m_x><m_y><float value=\"4\"/></m_y>"
                     "</Point></m_point><m_name><string value=\"named\"/></m_name></Holder>");
    EXPECT_FLOAT_EQ(holder.m_point.m_x, 3.0f);
    EXPECT_FLOAT_EQ(holder.m_point.m_y, 4.0f);
    EXPECT_EQ(holder.m_point.m_setXCalls, 1);
    EXPECT_EQ(holder.m_setPointCalls, 1);
    EXPECT_FLOAT_EQ(holder.m_pointSeenBySetter, 3.0f);
    EXPECT_EQ(holder.m_name, "named");
}

TEST_F(ReadVariableTest, AValueElementNamingAnotherClassIsSkipped)
{
    Holder holder;
    std::string printed =
        ReadInto(holder, "<Holder>\n<m_spare><Settings><m_ratio><float value=\"9\"/></m_ratio></Settings></m_spare>\n"
                         "<m_point><Holder><m_name><string value=\"inner\"/></m_name></Holder></m_point>\n"
                         "<m_point><float value=\"2\"/></m_point>\n"
                         "</Holder>");
    EXPECT_FLOAT_EQ(holder.m_spare.m_x, 0.0f);
    EXPECT_FLOAT_EQ(holder.m_spare.m_y, 0.0f);
    EXPECT_EQ(holder.m_name, "holder");
    EXPECT_EQ(holder.m_setPointCalls, 0);
    EXPECT_NE(printed.find("Warning: Holder.m_spare (line 2) holds <Settings> but the member is a Point"),
              std::string::npos)
        << printed;
    EXPECT_NE(printed.find("Holder.m_point (line 3) holds <Holder>"), std::string::npos) << printed;
    EXPECT_NE(printed.find("Holder.m_point (line 4) holds <float>"), std::string::npos) << printed;
}

TEST_F(ReadVariableTest, UnknownAndUncreatableTypesAreLoggedAndYieldNothing)
{
    std::string printed;
    EXPECT_EQ(Create("<Nonexistent><m_x><float value=\"1\"/></m_x></Nonexistent>", &printed), nullptr);
    EXPECT_EQ(printed, "Warning: no reflected type named \"Nonexistent\" (line 1); nothing created\n");

    EXPECT_EQ(Create("\n\n<Fixed><m_value><int value=\"1\"/></m_value></Fixed>", &printed), nullptr);
    EXPECT_EQ(printed, "Warning: \"Fixed\" (line 3) cannot be created by name; nothing created\n");

    EXPECT_EQ(Create("<TiXmlElement/>", &printed), nullptr);
    EXPECT_NE(printed.find("cannot be created"), std::string::npos);

    // A target of another type is left alone.
    Settings settings;
    printed = ReadInto(settings, "<Holder><m_name><string value=\"x\"/></m_name></Holder>");
    EXPECT_NE(printed.find("does not name the value's type Settings"), std::string::npos);
}

TEST_F(ReadVariableTest, ATypeWithoutMembersKeepsItsConstructorValues)
{
    auto created = Create("<Node><m_other><int value=\"1\"/></m_other></Node>");
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(static_cast<Node*>(created->Value())->m_other, nullptr);
}

TEST_F(ReadVariableTest, BuiltinValuesAreCreatedAndRead)
{
    auto number = Create("<float value=\"2.5\"/>");
    ASSERT_NE(number, nullptr);
    EXPECT_FLOAT_EQ(*static_cast<float*>(number->Value()), 2.5f);

    auto text = Create("<string value=\"a longer string than the small buffer holds\"/>");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(*static_cast<std::string*>(text->Value()), "a longer string than the small buffer holds");

    auto flag = Create("<bool value=\"7\"/>");
    ASSERT_NE(flag, nullptr);
    EXPECT_TRUE(*static_cast<bool*>(flag->Value()));

    // No value attribute: a zeroed number, not uninitialised memory.
    auto zero = Create("<int/>");
    ASSERT_NE(zero, nullptr);
    EXPECT_EQ(*static_cast<int*>(zero->Value()), 0);
}

TEST_F(ReadVariableTest, CustomReadersAndSkippedTypes)
{
    Custom custom;
    ReadInto(custom, "<Custom code=\"abc\"><m_value><int value=\"3\"/></m_value></Custom>");
    EXPECT_EQ(custom.m_seen, "abc");
    EXPECT_EQ(custom.m_value, 3);

    Sealed sealed;
    ReadInto(sealed, "<Sealed><m_value><int value=\"3\"/></m_value></Sealed>");
    EXPECT_EQ(sealed.m_value, 5);
}
