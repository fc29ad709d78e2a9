#pragma once
#include <concepts>
#include <iosfwd>
#include <map>
#include <string>
#include <utility>

namespace ZOR {

// The value types an INI entry can be read as or written from.
template <typename T>
concept INIValue = std::same_as<T, int> || std::same_as<T, unsigned int> || std::same_as<T, float> ||
                   std::same_as<T, bool> || std::same_as<T, std::string>;

// Line-based INI text: "[section]" headers and key=value entries, nothing trimmed.
// Entries are kept per section in the order they were read or first written; duplicate
// keys are kept and the first one wins on reading.
class INIFile {
public:
    INIFile();
    explicit INIFile(const std::string& path);

    // Adds every entry of the file after those already held (nothing is cleared). Returns
    // false and changes nothing when the file cannot be opened; otherwise whether any entry
    // is now held.
    bool Load(const std::string& path);
    // Same as above from an open stream; the file name is left as it is.
    bool Load(std::istream& in);

    // Writes every entry to path, through a temporary file beside it that is renamed into
    // place. With no entries it returns true and leaves the disk alone.
    bool Save(const std::string& path);

    const std::string& GetFileName() const { return m_fileName; }

    // The first entry with this key in the section, parsed as T; 0, false or "" when there
    // is none or it does not parse.
    template <INIValue T>
    T Read(const std::string& section, const std::string& key) const;

    // Replaces the value of the first entry with this key in the section, or appends one.
    template <INIValue T>
    void Write(const std::string& section, const std::string& key, const T& value);
    void Write(const std::string& section, const std::string& key, const char* value);

private:
    using Entries = std::multimap<std::string, std::pair<std::string, std::string>>;

    const std::string* Find(const std::string& section, const std::string& key) const;
    void Store(const std::string& section, const std::string& key, std::string text);

    std::string m_fileName;
    Entries m_entries;
    bool m_loaded = false;
};

template <> int INIFile::Read<int>(const std::string&, const std::string&) const;
template <> unsigned int INIFile::Read<unsigned int>(const std::string&, const std::string&) const;
template <> float INIFile::Read<float>(const std::string&, const std::string&) const;
template <> bool INIFile::Read<bool>(const std::string&, const std::string&) const;
template <> std::string INIFile::Read<std::string>(const std::string&, const std::string&) const;

template <> void INIFile::Write<int>(const std::string&, const std::string&, const int&);
template <> void INIFile::Write<unsigned int>(const std::string&, const std::string&, const unsigned int&);
template <> void INIFile::Write<float>(const std::string&, const std::string&, const float&);
template <> void INIFile::Write<bool>(const std::string&, const std::string&, const bool&);
template <> void INIFile::Write<std::string>(const std::string&, const std::string&, const std::string&);

} // namespace ZOR
