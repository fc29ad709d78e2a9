#include "platform/gpu/GLCommon.h"

namespace platform::gpu::gl {

void ClearErrors()
{
    // A lost context can report errors forever; a bounded loop cannot hang on it.
    for (int i = 0; i < 64 && glGetError() != GL_NO_ERROR; ++i) {
    }
}

std::string TakeError()
{
    const GLenum error = glGetError();
    switch (error) {
    case GL_NO_ERROR: return {};
    case GL_INVALID_ENUM: return "GL_INVALID_ENUM";
    case GL_INVALID_VALUE: return "GL_INVALID_VALUE";
    case GL_INVALID_OPERATION: return "GL_INVALID_OPERATION";
    case GL_INVALID_FRAMEBUFFER_OPERATION: return "GL_INVALID_FRAMEBUFFER_OPERATION";
    case GL_OUT_OF_MEMORY: return "GL_OUT_OF_MEMORY";
    case GL_STACK_UNDERFLOW: return "GL_STACK_UNDERFLOW";
    case GL_STACK_OVERFLOW: return "GL_STACK_OVERFLOW";
    default: return "GL error " + std::to_string(error);
    }
}

PixelFormat ToPixelFormat(DataFormat format)
{
    switch (format) {
    case DataFormat::R8_UNORM: return {GL_R8, GL_RED, GL_UNSIGNED_BYTE, 1};
    case DataFormat::R8G8_UNORM: return {GL_RG8, GL_RG, GL_UNSIGNED_BYTE, 2};
    case DataFormat::R8G8B8A8_UNORM: return {GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE, 4};
    case DataFormat::B8G8R8A8_UNORM: return {GL_RGBA8, GL_BGRA, GL_UNSIGNED_BYTE, 4};
    case DataFormat::R32_UINT: return {GL_R32UI, GL_RED_INTEGER, GL_UNSIGNED_INT, 4};
    case DataFormat::R32G32_UINT: return {GL_RG32UI, GL_RG_INTEGER, GL_UNSIGNED_INT, 8};
    case DataFormat::R32G32B32_UINT: return {GL_RGB32UI, GL_RGB_INTEGER, GL_UNSIGNED_INT, 12};
    case DataFormat::R32G32B32A32_UINT: return {GL_RGBA32UI, GL_RGBA_INTEGER, GL_UNSIGNED_INT, 16};
    case DataFormat::R32_SINT: return {GL_R32I, GL_RED_INTEGER, GL_INT, 4};
    case DataFormat::R32G32_SINT: return {GL_RG32I, GL_RG_INTEGER, GL_INT, 8};
    case DataFormat::R32G32B32_SINT: return {GL_RGB32I, GL_RGB_INTEGER, GL_INT, 12};
    case DataFormat::R32G32B32A32_SINT: return {GL_RGBA32I, GL_RGBA_INTEGER, GL_INT, 16};
    case DataFormat::R32_FLOAT: return {GL_R32F, GL_RED, GL_FLOAT, 4};
    case DataFormat::R32G32_FLOAT: return {GL_RG32F, GL_RG, GL_FLOAT, 8};
    case DataFormat::R32G32B32_FLOAT: return {GL_RGB32F, GL_RGB, GL_FLOAT, 12};
    case DataFormat::R32G32B32A32_FLOAT: return {GL_RGBA32F, GL_RGBA, GL_FLOAT, 16};
    case DataFormat::R16_FLOAT: return {GL_R16F, GL_RED, GL_HALF_FLOAT, 2};
    case DataFormat::R16G16_FLOAT: return {GL_RG16F, GL_RG, GL_HALF_FLOAT, 4};
    case DataFormat::R16G16B16A16_FLOAT: return {GL_RGBA16F, GL_RGBA, GL_HALF_FLOAT, 8};
    case DataFormat::D24_UNORM_S8_UINT:
        return {GL_DEPTH24_STENCIL8, GL_DEPTH_STENCIL, GL_UNSIGNED_INT_24_8, 4};
    case DataFormat::Unknown: break;
    }
    return {};
}

GLenum ToComparison(Comparison comparison)
{
    switch (comparison) {
    case Comparison::Never: return GL_NEVER;
    case Comparison::Less: return GL_LESS;
    case Comparison::Equal: return GL_EQUAL;
    case Comparison::LessEqual: return GL_LEQUAL;
    case Comparison::Greater: return GL_GREATER;
    case Comparison::NotEqual: return GL_NOTEQUAL;
    case Comparison::GreaterEqual: return GL_GEQUAL;
    case Comparison::Always: return GL_ALWAYS;
    }
    return GL_ALWAYS;
}

GLenum ToStencilOp(StencilOp op)
{
    switch (op) {
    case StencilOp::Keep: return GL_KEEP;
    case StencilOp::Zero: return GL_ZERO;
    case StencilOp::Replace: return GL_REPLACE;
    case StencilOp::IncrementClamp: return GL_INCR;
    case StencilOp::DecrementClamp: return GL_DECR;
    case StencilOp::Invert: return GL_INVERT;
    case StencilOp::Increment: return GL_INCR_WRAP;
    case StencilOp::Decrement: return GL_DECR_WRAP;
    }
    return GL_KEEP;
}

GLenum ToBlendFactor(BlendFactor factor)
{
    switch (factor) {
    case BlendFactor::Zero: return GL_ZERO;
    case BlendFactor::One: return GL_ONE;
    case BlendFactor::SrcColor: return GL_SRC_COLOR;
    case BlendFactor::InvSrcColor: return GL_ONE_MINUS_SRC_COLOR;
    case BlendFactor::SrcAlpha: return GL_SRC_ALPHA;
    case BlendFactor::InvSrcAlpha: return GL_ONE_MINUS_SRC_ALPHA;
    case BlendFactor::DestAlpha: return GL_DST_ALPHA;
    case BlendFactor::InvDestAlpha: return GL_ONE_MINUS_DST_ALPHA;
    case BlendFactor::DestColor: return GL_DST_COLOR;
    case BlendFactor::InvDestColor: return GL_ONE_MINUS_DST_COLOR;
    }
    return GL_ONE;
}

GLenum ToBlendOp(BlendOp op)
{
    switch (op) {
    case BlendOp::Add: return GL_FUNC_ADD;
    case BlendOp::Subtract: return GL_FUNC_SUBTRACT;
    case BlendOp::ReverseSubtract: return GL_FUNC_REVERSE_SUBTRACT;
    case BlendOp::Min: return GL_MIN;
    case BlendOp::Max: return GL_MAX;
    }
    return GL_FUNC_ADD;
}

} // namespace platform::gpu::gl
