#include "renderer/INIFile.h"

#include <filesystem>
#include <fstream>
#include <locale>
#include <sstream>
#include <system_error>

namespace ZOR {

namespace {

// Parses the way a default input stream does (leading blanks skipped, decimal, trailing text
// ignored); anything that does not parse, out-of-range numbers included, gives 0 / false.
template <typename T>
T Parse(const std::string* text)
{
    if (!text)
        return T{};
    std::istringstream in(*text);
    in.imbue(std::locale::classic());
    T value{};
    if (!(in >> value))
        return T{};
    return value;
}

template <typename T>
std::string Format(const T& value)
{
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << value;
    return out.str();
}

} // namespace

INIFile::INIFile() = default;

INIFile::INIFile(const std::string& path)
{
    Load(path);
}

bool INIFile::Load(const std::string& path)
{
    std::error_code ec;
    // A folder opens for reading on Linux but holds no lines: treat it as a missing file.
    if (std::filesystem::is_directory(path, ec))
        return false;
    std::ifstream in(path, std::ios::in | std::ios::binary);
    if (!in.is_open())
        return false;
    m_fileName = path;
    return Load(in);
}

bool INIFile::Load(std::istream& in)
{
    in.imbue(std::locale::classic());
    std::string section;
    std::string line;
    while (std::getline(in, line)) {
        // Files written on Windows end their lines with CR LF.
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line.front() == ';')
            continue;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string::npos)
            m_entries.emplace(section, std::make_pair(line, line));
        else
            m_entries.emplace(section, std::make_pair(line.substr(0, equals), line.substr(equals + 1)));
    }
    m_loaded = !m_entries.empty();
    return m_loaded;
}

bool INIFile::Save(const std::string& path)
{
    if (m_entries.empty())
        return true;
    if (path.empty())
        return false;

    // Write beside the target and rename into place, so a crash mid-write keeps the old file.
    const std::string target = path;
    const std::string temporary = target + ".tmp";
    {
        std::ofstream out(temporary, std::ios::out | std::ios::trunc | std::ios::binary);
        if (!out.is_open())
            return false;
        out.imbue(std::locale::classic());
        const std::string* current = nullptr;
        for (const auto& [section, entry] : m_entries) {
            if (!current || *current != section) {
                current = &section;
                if (!section.empty())
                    out << '[' << section << "]\n";
            }
            out << entry.first << '=' << entry.second << '\n';
        }
        out.close();
        if (out.fail()) {
            std::error_code ec;
            std::filesystem::remove(temporary, ec);
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, target, ec);
    if (ec) {
        std::filesystem::remove(temporary, ec);
        return false;
    }
    m_fileName = target;
    return true;
}

const std::string* INIFile::Find(const std::string& section, const std::string& key) const
{
    const auto [first, last] = m_entries.equal_range(section);
    for (auto it = first; it != last; ++it)
        if (it->second.first == key)
            return &it->second.second;
    return nullptr;
}

void INIFile::Store(const std::string& section, const std::string& key, std::string text)
{
    const auto [first, last] = m_entries.equal_range(section);
    for (auto it = first; it != last; ++it) {
        if (it->second.first == key) {
            it->second.second = std::move(text);
            return;
        }
    }
    // A multimap inserts after the equal keys already there: the end of the section.
    m_entries.emplace_hint(last, section, std::make_pair(key, std::move(text)));
}

template <>
int INIFile::Read<int>(const std::string& section, const std::string& key) const
{
    return Parse<int>(Find(section, key));
}

template <>
unsigned int INIFile::Read<unsigned int>(const std::string& section, const std::string& key) const
{
    return Parse<unsigned int>(Find(section, key));
}

template <>
float INIFile::Read<float>(const std::string& section, const std::string& key) const
{
    return Parse<float>(Find(section, key));
}

template <>
bool INIFile::Read<bool>(const std::string& section, const std::string& key) const
{
    // Without boolalpha a stream reads a number: 1 is true, 0 false, anything else fails.
    return Parse<bool>(Find(section, key));
}

template <>
std::string INIFile::Read<std::string>(const std::string& section, const std::string& key) const
{
    const std::string* text = Find(section, key);
    return text ? *text : std::string();
}

template <>
void INIFile::Write<int>(const std::string& section, const std::string& key, const int& value)
{
    Store(section, key, Format(value));
}

template <>
void INIFile::Write<unsigned int>(const std::string& section, const std::string& key, const unsigned int& value)
{
    Store(section, key, Format(value));
}

template <>
void INIFile::Write<float>(const std::string& section, const std::string& key, const float& value)
{
    Store(section, key, Format(value));
}

template <>
void INIFile::Write<bool>(const std::string& section, const std::string& key, const bool& value)
{
    Store(section, key, value ? "1" : "0");
}

template <>
void INIFile::Write<std::string>(const std::string& section, const std::string& key, const std::string& value)
{
    Store(section, key, value);
}

void INIFile::Write(const std::string& section, const std::string& key, const char* value)
{
    Store(section, key, value ? std::string(value) : std::string());
}

} // namespace ZOR
