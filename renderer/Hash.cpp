#include "renderer/Hash.h"

namespace ZOR {

std::uint32_t FNV1a(const void* data, std::size_t size)
{
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::uint32_t hash = kFNV1aOffsetBasis;
    for (std::size_t i = 0; i < size; ++i) {
        hash ^= bytes[i];
        hash *= kFNV1aPrime;
    }
    return hash;
}

std::uint32_t FNV1a(std::uint32_t value)
{
    const unsigned char bytes[4] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                                    static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
    return FNV1a(bytes, sizeof(bytes));
}

} // namespace ZOR
