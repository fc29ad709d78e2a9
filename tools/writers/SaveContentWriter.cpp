#include "tools/writers/SaveContentWriter.h"

#include <limits>

namespace tarsel::tools {

SaveContentWriter& SaveContentWriter::Section(const std::vector<std::string>& names)
{
    Int32(static_cast<std::int32_t>(names.size()));
    for (const std::string& name : names)
        Entry(name);
    return *this;
}

SaveContentWriter& SaveContentWriter::Int32(std::int32_t value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        m_bytes.push_back(static_cast<char>((bits >> (8 * i)) & 0xff));
    return *this;
}

SaveContentWriter& SaveContentWriter::Entry(const std::string& name)
{
    Int32(static_cast<std::int32_t>(name.size() + 1));
    m_bytes.append(name);
    m_bytes.push_back('\0');
    return *this;
}

SaveContentWriter& SaveContentWriter::Bytes(const std::string& bytes)
{
    m_bytes.append(bytes);
    return *this;
}

std::string SaveContentFile(const std::vector<std::string>& hats, const std::vector<std::string>& hair,
                            const std::vector<std::string>& masks)
{
    return SaveContentWriter().Section(hats).Section(hair).Section(masks).Str();
}

std::vector<SaveContentSample> SaveContentSamples()
{
    const std::vector<std::string> hair = {"hair_tarsel:hair_black", "hair_tarsel:mask_purple", "hair_tarsel:mask_red"};
    const std::vector<std::string> masks = {"mask_default:mask_default", "mask_fox:mask_fox0", "mask_default:mask_fox1",
                                            "mask_bunny:mask_bunny"};
    const std::vector<std::string> halo = {"birthday_halo_hat"};
    std::vector<SaveContentSample> samples;
    samples.push_back({"fresh", SaveContentFile(halo, hair, masks)});
    samples.push_back({"birthday_hat", SaveContentFile({"birthday_hat"}, {}, {})});
    samples.push_back({"unknown_mask", SaveContentFile(halo, hair, {"mask_cat:mask_cat", "mask_fox:mask_fox0"})});
    // A name whose bytes hold no NUL, then one with bytes after its NUL.
    samples.push_back({"no_nul", SaveContentWriter()
                                     .Int32(2)
                                     .Int32(12)
                                     .Bytes("birthday_hat")
                                     .Int32(20)
                                     .Bytes(std::string("birthday_halo_hat\0xy", 20))
                                     .Section({})
                                     .Section({})
                                     .Str()});
    samples.push_back({"duplicate", SaveContentFile({"birthday_hat", "birthday_hat"}, {}, {})});
    samples.push_back({"empty", ""});
    // Hats whole, then a hair name whose length runs past the end of the file.
    samples.push_back(
        {"cut_in_name",
         SaveContentWriter().Section({"birthday_hat"}).Int32(1).Int32(23).Bytes("hair_tarsel").Str()});
    samples.push_back({"length_minus_one", SaveContentWriter().Section({"birthday_hat"}).Int32(1).Int32(-1).Str()});
    samples.push_back({"length_max", SaveContentWriter()
                                         .Section({"birthday_hat"})
                                         .Int32(1)
                                         .Int32(std::numeric_limits<std::int32_t>::max())
                                         .Bytes("hair_tarsel:hair_black")
                                         .Str()});
    samples.push_back({"huge_count", SaveContentWriter()
                                         .Int32(std::numeric_limits<std::int32_t>::max())
                                         .Entry("birthday_hat")
                                         .Str()});
    samples.push_back(
        {"negative_count", SaveContentWriter().Int32(-5).Section({}).Section({"mask_fox:mask_fox0"}).Str()});
    return samples;
}

} // namespace tarsel::tools
