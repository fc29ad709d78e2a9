#include "engine/XmlFile.h"

#include <tinyxml.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace quellor {

namespace {

// TinyXML's own character classes (bytes from 127 up count as letters).
bool IsSpace(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) || c == '\n' || c == '\r';
}

bool IsNameStart(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 127 || std::isalpha(byte) || c == '_';
}

bool IsNameChar(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 127 || std::isalnum(byte) || c == '_' || c == '-' || c == '.' || c == ':';
}

bool StartsWith(const char* p, const char* tag, bool ignoreCase)
{
    for (; *tag; ++p, ++tag) {
        if (!*p)
            return false;
        const bool same = ignoreCase ? std::tolower(static_cast<unsigned char>(*p)) ==
                                           std::tolower(static_cast<unsigned char>(*tag))
                                     : *p == *tag;
        if (!same)
            return false;
    }
    return true;
}

// One pass over the text in TinyXML's order. Each step either moves on exactly as TinyXML
// does or stops where TinyXML reports an error (it reads nothing further then).
class DepthScan {
public:
    explicit DepthScan(const char* text) : m_p(text) {}

    int Run(int stopAbove)
    {
        SkipSpace();
        for (;;) {
            if (m_depth == 0) {
                // Between top-level nodes anything but a tag ends the document.
                if (*m_p != '<')
                    break;
            } else {
                if (!*m_p)
                    break;
                if (*m_p != '<') {
                    // Text runs to the next '<' (no entity TinyXML accepts spans one).
                    m_p = std::strchr(m_p, '<');
                    if (!m_p)
                        break;
                    continue;
                }
                if (m_p[1] == '/') {
                    // An end tag; when its name does not match, TinyXML stops here anyway.
                    const char* close = std::strchr(m_p, '>');
                    if (!close)
                        break;
                    m_p = close + 1;
                    --m_depth;
                    SkipSpace();
                    continue;
                }
            }
            if (!Node(stopAbove))
                break;
            if (m_deepest > stopAbove)
                break;
            SkipSpace();
        }
        return m_deepest;
    }

private:
    bool Node(int stopAbove)
    {
        if (StartsWith(m_p, "<?xml", true))
            return Declaration();
        if (StartsWith(m_p, "<!--", false))
            return SkipPast(m_p + 4, "-->");
        if (StartsWith(m_p, "<![CDATA[", false))
            return SkipPast(m_p + 9, "]]>");
        if (m_p[1] != '!' && IsNameStart(m_p[1]))
            return Element(stopAbove);
        // Anything else, "<!" and "</" at the top level included, runs to the next '>'.
        while (*m_p && *m_p != '>')
            ++m_p;
        if (!*m_p)
            return false;
        ++m_p;
        return true;
    }

    bool SkipPast(const char* from, const char* end)
    {
        const char* found = std::strstr(from, end);
        if (!found)
            return false;
        m_p = found + std::strlen(end);
        return true;
    }

    bool Element(int stopAbove)
    {
        ++m_p;
        while (IsNameChar(*m_p))
            ++m_p;
        if (m_depth + 1 > m_deepest)
            m_deepest = m_depth + 1;
        if (m_deepest > stopAbove)
            return false;
        for (;;) {
            SkipSpace();
            if (!*m_p)
                return false;
            if (*m_p == '/') {
                if (m_p[1] != '>')
                    return false;
                m_p += 2;
                return true;
            }
            if (*m_p == '>') {
                ++m_p;
                ++m_depth;
                return true;
            }
            if (!Attribute() || !*m_p)
                return false;
        }
    }

    bool Attribute()
    {
        SkipSpace();
        if (!IsNameStart(*m_p))
            return false;
        while (IsNameChar(*m_p))
            ++m_p;
        SkipSpace();
        if (*m_p != '=')
            return false;
        ++m_p;
        SkipSpace();
        if (!*m_p)
            return false;
        if (*m_p == '"' || *m_p == '\'') {
            const char* close = std::strchr(m_p + 1, *m_p);
            if (!close)
                return false;
            m_p = close + 1;
            return true;
        }
        // Unquoted: up to white space, '/' or '>'; a quote inside is an error.
        while (*m_p && !IsSpace(*m_p) && *m_p != '/' && *m_p != '>') {
            if (*m_p == '"' || *m_p == '\'')
                return false;
            ++m_p;
        }
        return true;
    }

    bool Declaration()
    {
        m_p += 5;
        while (*m_p) {
            if (*m_p == '>') {
                ++m_p;
                return true;
            }
            SkipSpace();
            if (StartsWith(m_p, "version", true) || StartsWith(m_p, "encoding", true) ||
                StartsWith(m_p, "standalone", true)) {
                if (!Attribute())
                    return false;
            } else {
                while (*m_p && *m_p != '>' && !IsSpace(*m_p))
                    ++m_p;
            }
        }
        return false;
    }

    void SkipSpace()
    {
        while (*m_p && IsSpace(*m_p))
            ++m_p;
    }

    const char* m_p;
    int m_depth = 0;
    int m_deepest = 0;
};

bool Refuse(TiXmlDocument& document, const std::string& path, const char* why)
{
    document.Clear();
    std::printf("Warning: XML file \"%s\" %s\n", path.c_str(), why);
    return false;
}

} // namespace

int XmlNestingDepth(const char* text, int stopAbove)
{
    return DepthScan(text).Run(stopAbove);
}

bool LoadXmlFile(const std::string& path, TiXmlDocument& document)
{
    document.Clear();
    // The document carries its file's name, so that readers of its elements can name it.
    document.SetValue(path);
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (!ec && size > kMaxXmlFileBytes)
        return Refuse(document, path, "is larger than 16 MiB; not loaded");

    std::ifstream in(path, std::ios::binary);
    if (!in)
        return Refuse(document, path, "cannot be opened");
    std::string text;
    char chunk[64 * 1024];
    for (;;) {
        in.read(chunk, sizeof chunk);
        const std::streamsize got = in.gcount();
        if (got > 0)
            text.append(chunk, static_cast<std::size_t>(got));
        // The file may have grown since its size was asked.
        if (text.size() > kMaxXmlFileBytes)
            return Refuse(document, path, "is larger than 16 MiB; not loaded");
        if (!in)
            break;
    }
    if (in.bad() || (ec && text.empty()))
        return Refuse(document, path, "cannot be read");

    // TinyXML reads up to the first NUL and would quietly drop the rest.
    if (text.find('\0') != std::string::npos)
        return Refuse(document, path, "holds a NUL byte; not loaded");
    // A byte order mark is not markup; TinyXML only skips it in its UTF-8 mode.
    std::size_t start = 0;
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        start = 3;
    const char* markup = text.c_str() + start;

    if (XmlNestingDepth(markup, kMaxXmlDepth) > kMaxXmlDepth)
        return Refuse(document, path, "nests elements deeper than 256; not loaded");

    // One byte per character: every byte sequence reads the same way, and quotes and '<' can
    // never be swallowed into a multi-byte character, which the nesting scan relies on.
    document.Parse(markup, nullptr, TIXML_ENCODING_LEGACY);
    if (document.Error()) {
        char why[512];
        if (document.ErrorRow() > 0)
            std::snprintf(why, sizeof why, "cannot be parsed: %s (row %d, column %d)", document.ErrorDesc(),
                          document.ErrorRow(), document.ErrorCol());
        else
            std::snprintf(why, sizeof why, "cannot be parsed: %s", document.ErrorDesc());
        return Refuse(document, path, why);
    }
    if (!document.RootElement())
        return Refuse(document, path, "has no root element");
    return true;
}

} // namespace quellor
