#pragma once
// Level and archetype texts shared by the level tests and the level fuzz target's seeds:
// well-formed documents in the shapes the loader reads, and the broken ones it must refuse.
#include <string>
#include <utility>
#include <vector>

namespace quellor::test::documents {

// Two entities in file order; the second has two wrappers, of which only the first is read.
inline const char* const kTwoEntities = R"(<?xml version="1.0"?>
<level>
  <first>
    <components>
      <Transform2D><m_x><float value="1.5"/></m_x></Transform2D>
    </components>
  </first>
  <second>
    <components>
      <Transform2D><m_y><float value="-2"/></m_y></Transform2D>
    </components>
    <ignored>
      <Transform2D><m_y><float value="99"/></m_y></Transform2D>
    </ignored>
  </second>
  <bare/>
</level>
)";

// A component with a member the type does not have, between two it does.
inline const char* const kUnknownMember = R"(<archetype>
  <Transform2D>
    <m_x><float value="3"/></m_x>
    <m_nothing><float value="7"/></m_nothing>
    <m_rotation><float value="0.25"/></m_rotation>
  </Transform2D>
</archetype>
)";

inline const char* const kNotXml = "This is a level, honestly.\n";

// Cut off inside an attribute value.
inline const char* const kTruncated = "<level>\n  <orb>\n    <components>\n      <Transform2D>\n"
                                      "        <m_x><float value=\"1.5";

// A declaration and a comment, but no element.
inline const char* const kNoRoot = "<?xml version=\"1.0\"?>\n<!-- an empty level -->\n";

// `depth` elements, each inside the previous one.
inline std::string Nested(int depth)
{
    std::string text;
    for (int i = 0; i < depth; ++i)
        text += "<n>";
    for (int i = 0; i < depth; ++i)
        text += "</n>";
    return text;
}

// Nesting hidden from a scan that ignores quotes: every tag carries "/>" in an attribute value.
inline std::string QuotedNesting(int depth)
{
    std::string text;
    for (int i = 0; i < depth; ++i)
        text += "<a x=\"/>\">";
    for (int i = 0; i < depth; ++i)
        text += "</a>";
    return text;
}

// Every broken file the loader refuses, by name, except the oversized one (written separately).
inline std::vector<std::pair<std::string, std::string>> BrokenFiles()
{
    return {
        {"not_xml.ql", kNotXml},
        {"truncated.ql", kTruncated},
        {"no_root.arch", kNoRoot},
        {"nested_past_limit.ql", Nested(257)},
        {"quoted_nesting.arch", QuotedNesting(300)},
        {"nul_byte.ql", std::string("<level><a/>\0<b/></level>", 24)},
    };
}

} // namespace quellor::test::documents
