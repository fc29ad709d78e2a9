#pragma once
// Shared by the GPU layer's sources only: OpenGL is not visible anywhere else.
#include "platform/gpu/GpuTypes.h"

#include <epoxy/gl.h>

#include <string>

namespace platform::gpu::gl {

// Drops errors left by earlier calls, so that the next TakeError() belongs to what follows.
void ClearErrors();
// The first pending error as text ("GL_INVALID_VALUE"), or empty when there is none.
std::string TakeError();

struct PixelFormat {
    GLenum internalFormat = 0; // 0: not a texture format
    GLenum format = 0;
    GLenum type = 0;
    std::uint32_t bytesPerPixel = 0;
};
PixelFormat ToPixelFormat(DataFormat format);

GLenum ToComparison(Comparison comparison);
GLenum ToStencilOp(StencilOp op);
GLenum ToBlendFactor(BlendFactor factor);
GLenum ToBlendOp(BlendOp op);

} // namespace platform::gpu::gl
