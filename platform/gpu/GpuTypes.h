#pragma once
// Value types the GPU layer takes: formats, fixed-function state descriptions and rectangles.
// They follow the Direct3D 11 shapes the render back end was designed around, so that it can
// describe its states once and hand them over unchanged.
#include <array>
#include <cstdint>

namespace platform::gpu {

// Element and pixel formats, named by channel layout.
enum class DataFormat : std::uint32_t {
    Unknown,
    R8_UNORM,
    R8G8_UNORM,
    R8G8B8A8_UNORM,
    B8G8R8A8_UNORM,
    R32_UINT,
    R32G32_UINT,
    R32G32B32_UINT,
    R32G32B32A32_UINT,
    R32_SINT,
    R32G32_SINT,
    R32G32B32_SINT,
    R32G32B32A32_SINT,
    R32_FLOAT,
    R32G32_FLOAT,
    R32G32B32_FLOAT,
    R32G32B32A32_FLOAT,
    R16_FLOAT,
    R16G16_FLOAT,
    R16G16B16A16_FLOAT,
    D24_UNORM_S8_UINT, // depth in the upper 24 bits, stencil below; sampled as depth
};

// How often a buffer's contents change and who writes them.
enum class BufferUsage : std::uint8_t {
    Default,   // written by copies from the CPU
    Immutable, // given its contents at creation, never written again
    Dynamic,   // rewritten often; may be mapped for writing
};

enum class ShaderStage : std::uint8_t { Vertex, Pixel, Geometry };

// What kind of numbers an element or shader input carries.
enum class ValueKind : std::uint8_t { Float, Int, Uint };

enum class Comparison : std::uint8_t { Never, Less, Equal, LessEqual, Greater, NotEqual, GreaterEqual, Always };

enum class StencilOp : std::uint8_t {
    Keep,
    Zero,
    Replace,
    IncrementClamp,
    DecrementClamp,
    Invert,
    Increment, // wraps
    Decrement, // wraps
};

struct StencilFaceDesc {
    StencilOp fail = StencilOp::Keep;
    StencilOp depthFail = StencilOp::Keep;
    StencilOp pass = StencilOp::Keep;
    Comparison func = Comparison::Always;
};

struct DepthStencilDesc {
    bool depthEnable = true;
    bool depthWrite = true; // with depthEnable off nothing is written either
    Comparison depthFunc = Comparison::Less;
    bool stencilEnable = false;
    std::uint8_t stencilReadMask = 0xFF;
    std::uint8_t stencilWriteMask = 0xFF;
    StencilFaceDesc front;
    StencilFaceDesc back;
};

enum class FillMode : std::uint8_t { Solid, Wireframe };
enum class CullMode : std::uint8_t { None, Front, Back };

struct RasterizerDesc {
    FillMode fill = FillMode::Solid;
    CullMode cull = CullMode::Back;
    bool frontCounterClockwise = false;
    bool depthClip = true;
    bool scissor = false;
    bool multisample = false;
    bool antialiasedLines = false;
};

enum class BlendFactor : std::uint8_t {
    Zero,
    One,
    SrcColor,
    InvSrcColor,
    SrcAlpha,
    InvSrcAlpha,
    DestAlpha,
    InvDestAlpha,
    DestColor,
    InvDestColor,
};
enum class BlendOp : std::uint8_t { Add, Subtract, ReverseSubtract, Min, Max };

struct TargetBlendDesc {
    bool enable = false;
    BlendFactor srcColor = BlendFactor::One;
    BlendFactor destColor = BlendFactor::Zero;
    BlendOp colorOp = BlendOp::Add;
    BlendFactor srcAlpha = BlendFactor::One;
    BlendFactor destAlpha = BlendFactor::Zero;
    BlendOp alphaOp = BlendOp::Add;
    std::uint8_t writeMask = 0xF; // bit 0 red .. bit 3 alpha
};

constexpr std::uint32_t MaxRenderTargets = 8;

struct BlendDesc {
    bool alphaToCoverage = false;
    bool independent = false; // off: every target uses targets[0]
    std::array<TargetBlendDesc, MaxRenderTargets> targets{};
};

enum class Filter : std::uint8_t { Point, Bilinear, Trilinear, Anisotropic };
enum class AddressMode : std::uint8_t { Clamp, Wrap };

struct SamplerDesc {
    Filter filter = Filter::Bilinear;
    AddressMode address = AddressMode::Clamp;
    float mipLodBias = 0.0f;
    Comparison comparison = Comparison::Never;
    std::array<float, 4> borderColor{0.0f, 0.0f, 0.0f, 0.0f};
    float minLod = 0.0f;
    float maxLod = 3.402823466e+38f;
    std::uint32_t maxAnisotropy = 1;
};

enum class PrimitiveTopology : std::uint8_t { PointList, LineList, TriangleList, TriangleStrip };

// A viewport in pixels from the top-left corner of the target, with its depth range.
struct ViewportDesc {
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
    float minDepth = 0.0f;
    float maxDepth = 1.0f;
};

} // namespace platform::gpu
