#include "renderer/dx11/ResourceRules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace ZOR;
using platform::gpu::ValueKind;

namespace {

std::pair<std::uint32_t, std::uint32_t> Size(RenderTargetPolicy policy, float scale, Dimension given,
                                             Dimension mode)
{
    const Dimension size = RenderTargetSize(policy, scale, given, mode);
    return {size.width, size.height};
}

using Pair = std::pair<std::uint32_t, std::uint32_t>;

} // namespace

TEST(ResourceRules, RenderTargetSizesFollowThePolicyAndRoundHalvesUp)
{
    const Dimension mode(1366, 768);
    EXPECT_EQ(Size(RenderTargetPolicy::ScaledScreenSize, 0.5f, Dimension(1, 1), mode), Pair(683, 384));
    // 341.5 rounds up.
    EXPECT_EQ(Size(RenderTargetPolicy::ScaledScreenSize, 0.25f, Dimension(1, 1), mode), Pair(342, 192));
    EXPECT_EQ(Size(RenderTargetPolicy::ScreenSize, 0.25f, Dimension(1, 1), mode), Pair(1366, 768));
    EXPECT_EQ(Size(RenderTargetPolicy::FixedSize, 0.4f, Dimension(4096, 333), mode), Pair(1638, 133));
    EXPECT_EQ(Size(static_cast<RenderTargetPolicy>(7), 1.0f, Dimension(8, 8), mode), Pair(0, 0));
}

TEST(ResourceRules, RenderTargetSizesOutsideTheRangeAreEmptyOrLargestNeverWrapped)
{
    const Dimension mode(800, 600);
    EXPECT_EQ(Size(RenderTargetPolicy::ScaledScreenSize, -0.5f, Dimension(), mode), Pair(0, 0));
    EXPECT_EQ(Size(RenderTargetPolicy::ScaledScreenSize, std::nanf(""), Dimension(), mode), Pair(0, 0));
    EXPECT_EQ(Size(RenderTargetPolicy::FixedSize, 1e30f, Dimension(2, 0), mode),
              Pair(std::numeric_limits<std::uint32_t>::max(), 0));
}

TEST(ResourceRules, ConstantBuffersGrowToWholeSixteenByteRows)
{
    EXPECT_EQ(ConstantBufferBytes(1), 16u);
    EXPECT_EQ(ConstantBufferBytes(16), 16u);
    EXPECT_EQ(ConstantBufferBytes(17), 32u);
    EXPECT_EQ(ConstantBufferBytes(64), 64u);
    EXPECT_EQ(ConstantBufferBytes(132), 144u);
    EXPECT_EQ(ConstantBufferBytes(0xFFFFFFF0u), 0xFFFFFFF0u);
    EXPECT_FALSE(ConstantBufferBytes(0xFFFFFFF1u).has_value());
    EXPECT_EQ(ImageBytes(Dimension(65536, 65536), 16), 68719476736ull);
}

TEST(ResourceRules, AMeshAndInstanceLayoutGetsSlotsSemanticIndicesAndAppendedOffsets)
{
    const std::vector<InputElement> elements = {
        {"POSITION", Format::R32G32B32A32_FLOAT, false},   {"NORMAL", Format::R32G32B32_FLOAT, false},
        {"WORLD_MATRIX", Format::R32G32B32A32_FLOAT, true}, {"WORLD_MATRIX", Format::R32G32B32A32_FLOAT, true},
        {"WORLD_MATRIX", Format::R32G32B32A32_FLOAT, true}, {"WORLD_MATRIX", Format::R32G32B32A32_FLOAT, true},
        {"GLOW_STRENGTH", Format::R32_FLOAT, true},         {"BONE_IDS", Format::R32G32B32A32_UINT, false},
    };
    const auto layout = BuildInputLayout(elements);
    ASSERT_TRUE(layout.has_value());
    ASSERT_EQ(layout->size(), elements.size());
    const std::uint32_t indices[] = {0, 0, 0, 1, 2, 3, 0, 0};
    const std::uint32_t slots[] = {0, 0, 1, 1, 1, 1, 1, 0};
    const std::uint32_t offsets[] = {0, 16, 0, 16, 32, 48, 64, 28};
    for (std::size_t i = 0; i < elements.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ((*layout)[i].location, i);
        EXPECT_EQ((*layout)[i].semanticIndex, indices[i]);
        EXPECT_EQ((*layout)[i].slot, slots[i]);
        EXPECT_EQ((*layout)[i].offset, offsets[i]);
    }
    EXPECT_EQ((*layout)[7].kind, ValueKind::Uint);
    EXPECT_EQ((*layout)[6].kind, ValueKind::Float);
    EXPECT_EQ(FormatKind(Format::R32G32_SINT), ValueKind::Int);

    // The skinned mesh vertex: five mesh elements, bone ids and weights make 92 bytes.
    const auto skinned = BuildInputLayout({{"POSITION", Format::R32G32B32A32_FLOAT, false},
                                           {"NORMAL", Format::R32G32B32_FLOAT, false},
                                           {"TANGENT", Format::R32G32B32_FLOAT, false},
                                           {"BITANGENT", Format::R32G32B32_FLOAT, false},
                                           {"UV", Format::R32G32_FLOAT, false},
                                           {"BONE_IDS", Format::R32G32B32A32_UINT, false},
                                           {"WEIGHTS", Format::R32G32B32A32_FLOAT, false}});
    ASSERT_TRUE(skinned.has_value());
    EXPECT_EQ(skinned->back().offset + skinned->back().bytes, 92u);

    // A name repeated per vertex keeps index 0; a name change restarts the instance count.
    const auto repeated = BuildInputLayout({{"A", Format::R32_FLOAT, true}, {"A", Format::R32_FLOAT, true},
                                            {"B", Format::R32_FLOAT, true}, {"A", Format::R32_FLOAT, true},
                                            {"C", Format::R32_FLOAT, false}, {"C", Format::R32_FLOAT, false}});
    ASSERT_TRUE(repeated.has_value());
    EXPECT_EQ((*repeated)[1].semanticIndex, 1u);
    EXPECT_EQ((*repeated)[3].semanticIndex, 0u);
    EXPECT_EQ((*repeated)[5].semanticIndex, 0u);

    EXPECT_FALSE(BuildInputLayout({{"COLOR", Format::R8G8B8A8_UNORM, false}}).has_value());
}

TEST(ResourceRules, SamplerNamesChooseTheirStateByTheSuffix)
{
    EXPECT_EQ(SamplerStateForName("Texture1_s0"), 0u);
    EXPECT_EQ(SamplerStateForName("Shadow_s7"), 7u);
    EXPECT_EQ(SamplerStateForName("Texture_s8"), 1u);
    EXPECT_EQ(SamplerStateForName("Texture"), 1u);
    EXPECT_EQ(SamplerStateForName("Texture_S2"), 1u);
    EXPECT_EQ(SamplerStateForName("_s4"), 4u);
    EXPECT_EQ(SamplerStateForName(""), 1u);
}
