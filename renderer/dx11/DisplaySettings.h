#pragma once
#include <array>
#include <cstdint>

namespace ZOR {

// Display settings that the back end takes and the configuration file stores.

// Maximum anisotropic filtering: 1, 2, 4, 8 or 16 samples.
enum class Anisotropy : std::uint32_t { X1 = 0, X2 = 1, X4 = 2, X8 = 3, X16 = 4 };

// The filtering level of each Anisotropy value, in its order: what the configuration file
// stores and what the samplers are given.
inline constexpr std::array<std::uint32_t, 5> kAnisotropyLevels = {1, 2, 4, 8, 16};

// Index into the supported multisample counts 1, 2, 4, 8, 16, 32 (0 = one sample).
enum class MSAALevel : std::uint32_t { Samples1 = 0, Samples2, Samples4, Samples8, Samples16, Samples32 };

// Highest Direct3D feature level tried.
enum class CompatibilityMode : std::uint32_t {
    DirectX9_1 = 0,
    DirectX9_2 = 1,
    DirectX9_3 = 2,
    DirectX10_0 = 3,
    DirectX10_1 = 4,
    DirectX11_0 = 5,
};

} // namespace ZOR
