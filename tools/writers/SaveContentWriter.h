#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace tarsel::tools {

// Bytes of a "SaveContent.data" file, built field by field so that tests and fuzz seeds can
// write well-formed files and every kind of damaged one: little-endian int32 counts and
// lengths, names with or without their NUL.
class SaveContentWriter {
public:
    // A well-formed section: the count, then each name with its length (size + 1) and NUL.
    SaveContentWriter& Section(const std::vector<std::string>& names);
    SaveContentWriter& Int32(std::int32_t value);
    // A well-formed entry.
    SaveContentWriter& Entry(const std::string& name);
    // Raw bytes, as they stand.
    SaveContentWriter& Bytes(const std::string& bytes);

    const std::string& Str() const { return m_bytes; }

private:
    std::string m_bytes;
};

// The three sections in file order.
std::string SaveContentFile(const std::vector<std::string>& hats, const std::vector<std::string>& hair,
                            const std::vector<std::string>& masks);

// Named sample files, well-formed and damaged, for the tests and the fuzz seeds:
// "fresh" (a first run's file), "birthday_hat", "unknown_mask", "no_nul", "duplicate", "empty",
// "cut_in_name", "length_minus_one", "length_max", "huge_count", "negative_count".
struct SaveContentSample {
    std::string name;
    std::string bytes;
};
std::vector<SaveContentSample> SaveContentSamples();

} // namespace tarsel::tools
