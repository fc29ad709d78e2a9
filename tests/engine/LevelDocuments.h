#pragma once
// Level and archetype texts shared by the level tests and the level fuzz target's seeds:
// well-formed documents in the shapes the loader reads, and the broken ones it must refuse.
#include <string>
#include <utility>
#include <vector>

namespace quellor::test::documents {

// Entities in file order. The first lists its probe before its Transform2D, the second after;
// the second also has a second wrapper, which is not read; the last two have no components.
inline const char* const kTwoEntities = R"(<?xml version="1.0"?>
<level>
  <first>
    <components>
      <OrderProbe><m_tag><string value="first"/></m_tag></OrderProbe>
      <Transform2D><m_x><float value="1.5"/></m_x></Transform2D>
    </components>
  </first>
  <second>
    <components>
      <Transform2D><m_y><float value="-2"/></m_y></Transform2D>
      <OrderProbe><m_tag><string value="second"/></m_tag></OrderProbe>
    </components>
    <ignored>
      <OrderProbe><m_tag><string value="ignored"/></m_tag></OrderProbe>
      <Transform2D><m_y><float value="99"/></m_y></Transform2D>
    </ignored>
  </second>
  <bare/>
  <hollow><components/></hollow>
</level>
)";

// Two entities of one name.
inline const char* const kDuplicateNames = R"(<level>
  <twin><c><OrderProbe><m_tag><string value="one"/></m_tag></OrderProbe></c></twin>
  <twin><c><OrderProbe><m_tag><string value="two"/></m_tag></OrderProbe></c></twin>
</level>
)";

// An archetype to clone.
inline const char* const kOrb = R"(<archetype>
  <Transform2D>
    <m_x><float value="4"/></m_x>
    <m_scaleY><float value="2e-1"/></m_scaleY>
  </Transform2D>
  <OrderProbe><m_tag><string value="orb"/></m_tag></OrderProbe>
</archetype>
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

// Elements that are no component the loader can add, among two that are. Line numbers matter
// to the tests: each refused element stands on its own line.
inline const char* const kRefusedKinds = R"(<archetype>
  <Transform2D><m_x><float value="1"/></m_x></Transform2D>
  <UnkeyedComponent><m_value><float value="5"/></m_value></UnkeyedComponent>
  <KeyedSystem/>
  <BirdGrabComponent/>
  <Component/>
  <Entity/>
  <NoSuchType/>
  <OrderProbe><m_tag><string value="after"/></m_tag></OrderProbe>
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
