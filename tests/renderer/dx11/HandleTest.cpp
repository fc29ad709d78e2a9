#include "renderer/dx11/RenderContext.h"

#include <gtest/gtest.h>

#include <type_traits>

using ZOR::Format;
using ZOR::Handle;
using ZOR::ObjectType;
using platform::gpu::DataFormat;

TEST(Handle, IsTrueOnlyWhenBothFieldsAreSet)
{
    const auto noType = static_cast<ObjectType>(0xFFFFFFFFu);
    EXPECT_FALSE(static_cast<bool>(Handle()));
    EXPECT_FALSE(static_cast<bool>(Handle::Null()));
    EXPECT_FALSE(static_cast<bool>(Handle(noType, 3)));
    EXPECT_FALSE(static_cast<bool>(Handle(ObjectType::Texture, 0xFFFFFFFFu)));
    EXPECT_TRUE(static_cast<bool>(Handle(ObjectType::BackBuffer, 0)));
    EXPECT_TRUE(static_cast<bool>(Handle(ObjectType::ConstantBuffer, 7)));
}

TEST(Handle, ComparesTypeAndIndex)
{
    const Handle texture5(ObjectType::Texture, 5);
    EXPECT_EQ(texture5, Handle(ObjectType::Texture, 5));
    EXPECT_NE(texture5, Handle(ObjectType::RenderTarget, 5));
    EXPECT_NE(texture5, Handle(ObjectType::Texture, 6));
    EXPECT_EQ(Handle(), Handle::Null());
    EXPECT_EQ(*texture5, 5u);
    EXPECT_EQ(texture5.GetType(), ObjectType::Texture);
    EXPECT_EQ(&Handle::Null(), &Handle::Null());
    // The shared null handle cannot be handed to a creation, which writes its handle.
    static_assert(!std::is_invocable_v<decltype(&ZOR::RenderContext::CreateConstantBuffer), ZOR::RenderContext&,
                                       decltype(Handle::Null()), std::uint32_t>);
    static_assert(std::is_invocable_v<decltype(&ZOR::RenderContext::CreateConstantBuffer), ZOR::RenderContext&,
                                      Handle&, std::uint32_t>);
}

TEST(FormatTable, EachUseAcceptsOnlyItsFormats)
{
    // Render targets: 0-2 and 12-18.
    EXPECT_EQ(ZOR::RenderTargetFormat(Format::R8_UNORM), DataFormat::R8_UNORM);
    EXPECT_EQ(ZOR::RenderTargetFormat(Format::R16G16B16A16_FLOAT), DataFormat::R16G16B16A16_FLOAT);
    EXPECT_EQ(ZOR::RenderTargetFormat(Format::B8G8R8A8_UNORM), DataFormat::Unknown);
    EXPECT_EQ(ZOR::RenderTargetFormat(Format::R32G32B32A32_UINT), DataFormat::Unknown);
    // Textures from memory: 2, 3 and 12-15, with their pixel sizes.
    EXPECT_EQ(ZOR::TextureFormat(Format::B8G8R8A8_UNORM), DataFormat::B8G8R8A8_UNORM);
    EXPECT_EQ(ZOR::GetFormatInfo(Format::R32G32B32_FLOAT).textureBytesPerPixel, 12u);
    EXPECT_EQ(ZOR::TextureFormat(Format::R8_UNORM), DataFormat::Unknown);
    EXPECT_EQ(ZOR::TextureFormat(Format::R16_FLOAT), DataFormat::Unknown);
    // Vertex input: 4-15.
    EXPECT_EQ(ZOR::VertexInputFormat(Format::R32G32B32A32_UINT), DataFormat::R32G32B32A32_UINT);
    EXPECT_EQ(ZOR::VertexInputFormat(Format::R32G32_FLOAT), DataFormat::R32G32_FLOAT);
    EXPECT_EQ(ZOR::VertexInputFormat(Format::R8G8B8A8_UNORM), DataFormat::Unknown);
    // Values past the table mean nothing anywhere.
    const auto past = static_cast<Format>(19);
    EXPECT_EQ(ZOR::RenderTargetFormat(past), DataFormat::Unknown);
    EXPECT_EQ(ZOR::TextureFormat(past), DataFormat::Unknown);
    EXPECT_EQ(ZOR::VertexInputFormat(past), DataFormat::Unknown);
}
