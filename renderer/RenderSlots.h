#pragma once
// The slot numbers the render passes and the shaders agree on: constant buffers by binding
// point, and the per-screen render targets by their index in the screen's target list.
#include <cstdint>

namespace ZOR::slots {

// Constant buffers.
constexpr std::uint32_t kScreenBuffer = 0;
constexpr std::uint32_t kCameraBuffer = 1;
constexpr std::uint32_t kObjectBuffer = 2;
constexpr std::uint32_t kBoneBuffer = 3;
constexpr std::uint32_t kBillboardBuffer = 4;
constexpr std::uint32_t kDirectionalLightBuffer = 5;
constexpr std::uint32_t kTextBuffer = 6;
constexpr std::uint32_t kShadowBuffer = 8;
constexpr std::uint32_t kSettingsBuffer = 9;
constexpr std::uint32_t kScreenEffectBuffer = 12;

// Screen targets.
constexpr std::uint32_t kSceneTarget = 0;
constexpr std::uint32_t kHalfTarget = 2;
constexpr std::uint32_t kGeometryA = 3;
constexpr std::uint32_t kGeometryB = 4;
constexpr std::uint32_t kParticleTarget = 7;
constexpr std::uint32_t kSSAOTarget = 8;
constexpr std::uint32_t kGodRayTarget = 9;
constexpr std::uint32_t kEdgeTarget = 10;

} // namespace ZOR::slots
