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

} // namespace ZOR
