#include "platform/gpu/ImmediateContext.h"

#include "platform/gpu/Buffer.h"
#include "platform/gpu/Framebuffer.h"
#include "platform/gpu/GLCommon.h"
#include "platform/gpu/Program.h"
#include "platform/gpu/Sampler.h"
#include "platform/gpu/Texture2D.h"
#include "platform/gpu/VertexArray.h"

namespace platform::gpu {
namespace {

void Toggle(GLenum capability, bool on)
{
    if (on)
        glEnable(capability);
    else
        glDisable(capability);
}

GLenum ToMode(PrimitiveTopology topology)
{
    switch (topology) {
    case PrimitiveTopology::PointList: return GL_POINTS;
    case PrimitiveTopology::LineList: return GL_LINES;
    case PrimitiveTopology::TriangleList: return GL_TRIANGLES;
    case PrimitiveTopology::TriangleStrip: return GL_TRIANGLE_STRIP;
    }
    return GL_TRIANGLES;
}

std::uint32_t GetUnsigned(GLenum what)
{
    GLint value = 0;
    glGetIntegerv(what, &value);
    return value > 0 ? static_cast<std::uint32_t>(value) : 0;
}

} // namespace

void ImmediateContext::SetViewport(const ViewportDesc& viewport)
{
    // The clip control puts the window origin at the top left, so y counts from the first row.
    glViewportIndexedf(0, viewport.x, viewport.y, viewport.width, viewport.height);
    glDepthRangef(viewport.minDepth, viewport.maxDepth);
}

void ImmediateContext::SetRasterizerState(const RasterizerDesc& desc)
{
    glPolygonMode(GL_FRONT_AND_BACK, desc.fill == FillMode::Wireframe ? GL_LINE : GL_FILL);
    if (desc.cull == CullMode::None) {
        glDisable(GL_CULL_FACE);
    } else {
        glEnable(GL_CULL_FACE);
        glCullFace(desc.cull == CullMode::Front ? GL_FRONT : GL_BACK);
    }
    glFrontFace(desc.frontCounterClockwise ? GL_CCW : GL_CW);
    Toggle(GL_DEPTH_CLAMP, !desc.depthClip);
    Toggle(GL_SCISSOR_TEST, desc.scissor);
    Toggle(GL_MULTISAMPLE, desc.multisample);
    Toggle(GL_LINE_SMOOTH, desc.antialiasedLines);
}

void ImmediateContext::SetDepthStencilState(const DepthStencilDesc& desc, std::uint32_t stencilRef)
{
    // A disabled depth test also writes nothing, as the state it stands for.
    Toggle(GL_DEPTH_TEST, desc.depthEnable);
    glDepthMask(desc.depthWrite ? GL_TRUE : GL_FALSE);
    glDepthFunc(gl::ToComparison(desc.depthFunc));

    Toggle(GL_STENCIL_TEST, desc.stencilEnable);
    const GLint ref = static_cast<GLint>(stencilRef & 0xFFu);
    glStencilFuncSeparate(GL_FRONT, gl::ToComparison(desc.front.func), ref, desc.stencilReadMask);
    glStencilFuncSeparate(GL_BACK, gl::ToComparison(desc.back.func), ref, desc.stencilReadMask);
    glStencilOpSeparate(GL_FRONT, gl::ToStencilOp(desc.front.fail), gl::ToStencilOp(desc.front.depthFail),
                        gl::ToStencilOp(desc.front.pass));
    glStencilOpSeparate(GL_BACK, gl::ToStencilOp(desc.back.fail), gl::ToStencilOp(desc.back.depthFail),
                        gl::ToStencilOp(desc.back.pass));
    glStencilMask(desc.stencilWriteMask);
}

void ImmediateContext::SetBlendState(const BlendDesc* desc, const std::array<float, 4>& factor)
{
    if (!desc) {
        glDisable(GL_BLEND);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        Toggle(GL_SAMPLE_ALPHA_TO_COVERAGE, false);
        return;
    }
    Toggle(GL_SAMPLE_ALPHA_TO_COVERAGE, desc->alphaToCoverage);
    glBlendColor(factor[0], factor[1], factor[2], factor[3]);
    for (GLuint i = 0; i < MaxRenderTargets; ++i) {
        const TargetBlendDesc& target = desc->independent ? desc->targets[i] : desc->targets[0];
        if (target.enable)
            glEnablei(GL_BLEND, i);
        else
            glDisablei(GL_BLEND, i);
        glBlendFuncSeparatei(i, gl::ToBlendFactor(target.srcColor), gl::ToBlendFactor(target.destColor),
                             gl::ToBlendFactor(target.srcAlpha), gl::ToBlendFactor(target.destAlpha));
        glBlendEquationSeparatei(i, gl::ToBlendOp(target.colorOp), gl::ToBlendOp(target.alphaOp));
        glColorMaski(i, (target.writeMask & 1) != 0, (target.writeMask & 2) != 0, (target.writeMask & 4) != 0,
                     (target.writeMask & 8) != 0);
    }
}

void ImmediateContext::SetSamplers(std::uint32_t first, std::uint32_t count, const Sampler* const* samplers)
{
    for (std::uint32_t i = 0; i < count && first + i < SamplerSlots; ++i) {
        const Sampler* sampler = samplers[i];
        m_samplers[first + i] = sampler;
        glBindSampler(first + i, sampler && sampler->IsValid() ? sampler->GetName() : 0);
    }
}

void ImmediateContext::SetRenderTarget(const Framebuffer* target)
{
    m_target = target && target->IsValid() ? target : nullptr;
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, m_target ? m_target->GetName() : 0);
}

void ImmediateContext::Finish()
{
    glFinish();
}

void ImmediateContext::SetProgram(const Program* program)
{
    glUseProgram(program && program->IsValid() ? program->GetName() : 0);
}

void ImmediateContext::SetVertexArray(const VertexArray* vertices)
{
    glBindVertexArray(vertices && vertices->IsValid() ? vertices->GetName() : 0);
}

void ImmediateContext::SetUniformBuffer(std::uint32_t binding, const Buffer* buffer)
{
    glBindBufferBase(GL_UNIFORM_BUFFER, binding, buffer && buffer->IsValid() ? buffer->GetName() : 0);
}

void ImmediateContext::SetTexture(std::uint32_t unit, const Texture2D* texture)
{
    glBindTextureUnit(unit, texture && texture->IsValid() ? texture->GetName() : 0);
}

void ImmediateContext::SetSampler(std::uint32_t unit, const Sampler* sampler)
{
    glBindSampler(unit, sampler && sampler->IsValid() ? sampler->GetName() : 0);
}

void ImmediateContext::Draw(std::uint32_t vertexCount, std::uint32_t startVertex, std::uint32_t instanceCount,
                            std::uint32_t startInstance)
{
    ++m_drawCalls;
    glDrawArraysInstancedBaseInstance(ToMode(m_topology), static_cast<GLint>(startVertex),
                                      static_cast<GLsizei>(vertexCount), static_cast<GLsizei>(instanceCount),
                                      startInstance);
}

void ImmediateContext::DrawIndexed(std::uint32_t indexCount, std::uint32_t startIndex, std::int32_t baseVertex,
                                   std::uint32_t instanceCount, std::uint32_t startInstance)
{
    ++m_drawCalls;
    const auto offset = static_cast<std::uintptr_t>(startIndex) * sizeof(std::uint32_t);
    glDrawElementsInstancedBaseVertexBaseInstance(ToMode(m_topology), static_cast<GLsizei>(indexCount),
                                                  GL_UNSIGNED_INT, reinterpret_cast<const void*>(offset),
                                                  static_cast<GLsizei>(instanceCount), baseVertex, startInstance);
}

ImmediateContext::Limits ImmediateContext::QueryLimits()
{
    Limits limits;
    limits.textureUnits = GetUnsigned(GL_MAX_TEXTURE_IMAGE_UNITS);
    limits.uniformBufferBindings = GetUnsigned(GL_MAX_UNIFORM_BUFFER_BINDINGS);
    limits.vertexAttributes = GetUnsigned(GL_MAX_VERTEX_ATTRIBS);
    limits.maxTextureSize = GetUnsigned(GL_MAX_TEXTURE_SIZE);
    return limits;
}

} // namespace platform::gpu
