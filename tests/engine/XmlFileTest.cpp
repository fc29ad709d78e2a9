// The XML loading function: well-formed files load; broken, oversized and deeply nested files
// are refused with one warning naming the file; the nesting scan agrees with TinyXML.
#include "engine/XmlFile.h"
#include "tests/engine/LevelDocuments.h"
#include "tests/support/StdoutCapture.h"
#include "tests/support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <tinyxml.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace quellor {
namespace {

namespace fs = std::filesystem;
namespace docs = test::documents;
using ::testing::HasSubstr;
using ::testing::StartsWith;

// The deepest element of a parsed tree, walked without recursion.
int TreeDepth(const TiXmlNode* top)
{
    int deepest = 0;
    std::vector<std::pair<const TiXmlNode*, int>> pending{{top, 0}};
    while (!pending.empty()) {
        auto [node, depth] = pending.back();
        pending.pop_back();
        for (const TiXmlNode* child = node->FirstChild(); child; child = child->NextSibling()) {
            if (child->ToElement()) {
                deepest = std::max(deepest, depth + 1);
                pending.emplace_back(child, depth + 1);
            }
        }
    }
    return deepest;
}

class XmlFileTest : public ::testing::Test {
protected:
    // Loads one file and returns the captured output; `loaded` tells the result.
    std::string Load(const std::string& name, bool& loaded)
    {
        tarsel::test::StdoutCapture out;
        loaded = LoadXmlFile((dir / name).string(), document);
        return out.Text();
    }

    // A refused file: false, an empty document and exactly one warning line naming the file.
    void ExpectRefused(const std::string& name, const std::string& why)
    {
        bool loaded = true;
        const std::string text = Load(name, loaded);
        EXPECT_FALSE(loaded) << name;
        EXPECT_EQ(document.FirstChild(), nullptr) << name;
        EXPECT_THAT(text, StartsWith("Warning: XML file \"" + (dir / name).string() + "\" ")) << name;
        EXPECT_THAT(text, HasSubstr(why)) << name;
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
    }

    tarsel::test::TempDir dir;
    TiXmlDocument document;
};

TEST_F(XmlFileTest, LoadsWellFormedFilesAndNamesTheDocumentAfterThem)
{
    dir.Write("two.ql", docs::kTwoEntities);
    bool loaded = false;
    EXPECT_EQ(Load("two.ql", loaded), "");
    ASSERT_TRUE(loaded);
    EXPECT_EQ(document.Value(), (dir / "two.ql").string());
    ASSERT_NE(document.RootElement(), nullptr);
    EXPECT_STREQ(document.RootElement()->Value(), "level");
    EXPECT_STREQ(document.RootElement()->FirstChildElement()->Value(), "first");

    // A byte order mark in front is not markup; exactly the allowed depth still loads.
    dir.Write("bom.arch", "\xEF\xBB\xBF<archetype><Transform2D/></archetype>");
    EXPECT_EQ(Load("bom.arch", loaded), "");
    EXPECT_TRUE(loaded);
    EXPECT_STREQ(document.RootElement()->Value(), "archetype");
    dir.Write("deepest.ql", docs::Nested(kMaxXmlDepth));
    Load("deepest.ql", loaded);
    EXPECT_TRUE(loaded);
    EXPECT_EQ(TreeDepth(&document), kMaxXmlDepth);
}

TEST_F(XmlFileTest, RefusesBrokenFilesWithOneWarningNamingTheFile)
{
    for (const auto& [name, text] : docs::BrokenFiles())
        dir.Write(name, text);
    ExpectRefused("not_xml.ql", "cannot be parsed: Error document empty");
    ExpectRefused("truncated.ql", "cannot be parsed: ");
    ExpectRefused("no_root.arch", "has no root element");
    ExpectRefused("nested_past_limit.ql", "nests elements deeper than 256");
    ExpectRefused("quoted_nesting.arch", "nests elements deeper than 256");
    ExpectRefused("nul_byte.ql", "holds a NUL byte");
    ExpectRefused("missing.ql", "cannot be opened");
    fs::create_directories(dir / "folder.ql");
    ExpectRefused("folder.ql", "cannot be read");

    // TinyXML's row and column of the cut, which is on the fifth line.
    bool loaded = true;
    EXPECT_THAT(Load("truncated.ql", loaded), HasSubstr("(row 5, column "));

    // A hundred thousand nested tags would overflow TinyXML's stack; the scan stops early.
    dir.Write("hostile.ql", docs::Nested(100000));
    ExpectRefused("hostile.ql", "nests elements deeper than 256");

    // Refused files leave no part of a tree behind, even after a good load.
    dir.Write("good.ql", "<level><a/></level>");
    Load("good.ql", loaded);
    ASSERT_TRUE(loaded);
    ExpectRefused("truncated.ql", "cannot be parsed");
}

TEST_F(XmlFileTest, RefusesFilesOverSixteenMebibytesUnread)
{
    dir.Write("huge.ql", "<level/>");
    fs::resize_file(dir / "huge.ql", kMaxXmlFileBytes + 1);
    ExpectRefused("huge.ql", "is larger than 16 MiB");

    // Exactly the limit is read (and here refused only for the zeros that follow the markup).
    fs::resize_file(dir / "huge.ql", kMaxXmlFileBytes);
    ExpectRefused("huge.ql", "holds a NUL byte");
}

TEST(XmlNestingDepthTest, AgreesWithTheTreeTinyXmlBuilds)
{
    const std::vector<std::string> texts = {
        "<a><b><c/></b><b/></a>",
        "<?xml version='1.0' encoding=\"x>y\"?><a><b/></a>",
        "<a x='/>' y=\"</a>\"><b z=\"<c><c><c>\"/></a>",
        "<a><!-- <b><b><b> --><c/></a>",
        "<a><![CDATA[<b><b></b>]]><c><d/></c></a>",
        "<!DOCTYPE a><a><?pi data?><c/></a>",
        "<a>text &amp; more <b>x</b> tail</a>",
        "<a><b/></a><extra><one><two/></one></extra>",
        "</stray><a><b/></a>",
        "<a x=1 y=two><b/></a>",
        "<a\n\tx = 'v'\n><b\n/></a>",
        "<_a><\xC3\xA9l\xC3\xA9ment/></_a>",
        "  <a/>  ",
        docs::kTwoEntities,
        docs::Nested(40),
        docs::QuotedNesting(40),
    };
    for (const std::string& text : texts) {
        TiXmlDocument parsed;
        parsed.Parse(text.c_str(), nullptr, TIXML_ENCODING_LEGACY);
        EXPECT_FALSE(parsed.Error()) << text << ": " << parsed.ErrorDesc();
        EXPECT_EQ(XmlNestingDepth(text.c_str(), INT_MAX), TreeDepth(&parsed)) << text;
    }
}

TEST(XmlNestingDepthTest, NeverCountsLessThanTinyXmlReachesBeforeAnError)
{
    // TinyXML keeps what it linked before the error; the scan may count more, never less.
    const std::vector<std::string> texts = {
        "<a><b><c>",
        "<a><b x='/>'><c x=\"",
        "<a><b></a></b><c><d><e/></d></c>",
        "<a><b x=y'z><c><d/></c></b></a>",
        "<a><b>&#x3c;<c><d/></c></b></a>",
        "<a><!-- <b> <c><d/></c></a>",
        "<a><?pi <b><b>?><c/></a>",
        "<a><b x='1' x='2'><c><d/></c></b></a>",
    };
    for (const std::string& text : texts) {
        TiXmlDocument parsed;
        parsed.Parse(text.c_str(), nullptr, TIXML_ENCODING_LEGACY);
        EXPECT_GE(XmlNestingDepth(text.c_str(), INT_MAX), TreeDepth(&parsed)) << text;
    }
    // The scan gives up as soon as the limit is passed.
    EXPECT_EQ(XmlNestingDepth(docs::Nested(100000).c_str(), 10), 11);
}

} // namespace
} // namespace quellor
