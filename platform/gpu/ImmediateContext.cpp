#include "platform/gpu/ImmediateContext.h"

#include "platform/gpu/Framebuffer.h"
#include "platform/gpu/GLCommon.h"
#include "platform/gpu/Sampler.h"

namespace platform::gpu {
namespace {

void Toggle(GLenum capability, bool on)
{
    if (on)
        glEnable(capability);
    else
        glDisable(capability);
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

} // namespace platform::gpu
