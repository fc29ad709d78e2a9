#pragma once
// The one way level and archetype files are read: the whole file is read and checked, then
// parsed by TinyXML from memory. What is refused gets one warning line naming the file.
#include <cstddef>
#include <string>

class TiXmlDocument;

namespace quellor {

// Larger files are refused before they are read.
inline constexpr std::size_t kMaxXmlFileBytes = 16u * 1024u * 1024u;
// TinyXML parses nested elements recursively; deeper documents are refused before it sees them.
inline constexpr int kMaxXmlDepth = 256;

// Fills `document` from the file at `path` and names it after the path. False, with a warning
// and an empty document, when the file cannot be read, is too large, holds a NUL byte, nests
// elements deeper than kMaxXmlDepth, does not parse (TinyXML's error text, row and column), or
// has no root element.
bool LoadXmlFile(const std::string& path, TiXmlDocument& document);

// The deepest element nesting TinyXML reaches when it parses `text` (NUL-terminated, read in its
// byte-per-character mode), found in one pass without recursion. The scan stops as soon as the
// nesting exceeds `stopAbove`. It follows TinyXML's own reading of tags, quoted attribute
// values, comments, CDATA sections, declarations and other "<!" and "<?" nodes, so that no
// text can hide an opening tag from it or close one that TinyXML keeps open.
int XmlNestingDepth(const char* text, int stopAbove);

} // namespace quellor
