#pragma once
#include <cstddef>
#include <cstdint>

namespace ZOR {

// 32-bit FNV-1a over raw bytes in memory order. The render system and the model renderables
// build their sort keys with it, so equal inputs must always give equal keys.
inline constexpr std::uint32_t kFNV1aOffsetBasis = 0x811C9DC5u;
inline constexpr std::uint32_t kFNV1aPrime = 16777619u;

std::uint32_t FNV1a(const void* data, std::size_t size);
// The same over the four bytes of a 32-bit value, least significant first on every host.
std::uint32_t FNV1a(std::uint32_t value);

} // namespace ZOR
