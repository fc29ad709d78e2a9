// Forward passes (decals, billboards, dynamic meshes, particles), SSAO, the post effects and the
// debug lines of a screen.
#include "renderer/RenderSystem.h"

#include "renderer/BillboardedQuad.h"
#include "renderer/Decal.h"
#include "renderer/DynamicMesh.h"
#include "renderer/Material.h"
#include "renderer/Model.h"
#include "renderer/ParticleEmitter.h"
#include "renderer/RenderSlots.h"

namespace ZOR {

using namespace slots;

namespace {

// What the passes that bind a texture by name start from: no name.
const std::string kNoTextureName;

} // namespace

// Decals ------------------------------------------------------------------------------------

bool RenderSystem::BeginDecalPass()
{
    if (m_decals.empty())
        return false;
    Screen& screen = *m_currentScreen;
    m_context->SetBlendMode(BlendMode::Alpha);
    m_context->SetCullMode(CullMode::None);
    m_context->SetDepthTesting(true);
    m_context->SetDepthWriting(false);
    m_context->BindRenderTarget(screen.m_targets[kGeometryA]);
    BindShaders("ZOR_Decal.vs", "ZOR_Decal.ps");
    m_fullscreenVertexShaderBound = false;
    m_context->BindTexture(0, screen.m_depthBuffers[1]);
    return true;
}

void RenderSystem::DrawDecals()
{
    const Model* cube = GetModel("cube.model");
    if (cube == nullptr)
        return;
    m_context->BindVertexBuffer(cube->GetVertexBuffer(true), 12);
    // The last name is the decal's own string (it outlives the pass): no copy per change.
    const std::string* lastTexture = &kNoTextureName;
    for (const Decal* decal : m_decals) {
        if (decal->GetTexture() != *lastTexture) {
            lastTexture = &decal->GetTexture();
            m_context->BindTexture(1, GetTexture(*lastTexture));
        }
        m_context->CopyData(m_constantBuffers[kObjectBuffer], &decal->GetInstance(), sizeof(Decal::Instance));
        m_context->Draw(cube->GetVertexCount(), 0);
    }
}

// Billboarded quads -------------------------------------------------------------------------

bool RenderSystem::BeginBillboardPass()
{
    if (m_billboards.empty())
        return false;
    Screen& screen = *m_currentScreen;
    m_context->SetBlendMode(BlendMode::Alpha);
    m_context->SetDepthTesting(true);
    m_context->SetDepthWriting(true);
    m_context->BindRenderTarget(screen.m_targets[kSceneTarget]);
    m_context->SetViewport(m_context->GetViewport(screen.m_targets[kSceneTarget]));
    BindShaders("ZOR_BillboardedQuad.vs", "ZOR_BillboardedQuad.ps");
    m_context->BindVertexBuffer(m_centredQuad, 16);
    m_fullscreenVertexShaderBound = false;
    return true;
}

void RenderSystem::DrawBillboards()
{
    const Material* lastMaterial = nullptr;
    for (const BillboardedQuad* quad : m_billboards) {
        if (quad->GetMaterial() != lastMaterial) {
            lastMaterial = quad->GetMaterial();
            if (lastMaterial)
                lastMaterial->Bind(m_context.get());
        }
        m_context->CopyData(m_constantBuffers[kBillboardBuffer], &quad->GetInstance(),
                            sizeof(BillboardedQuad::Instance));
        m_context->Draw(6, 0);
    }
}

// Dynamic meshes ----------------------------------------------------------------------------

bool RenderSystem::BeginDynamicMeshPass()
{
    if (m_dynamicMeshes.empty())
        return false;
    Screen& screen = *m_currentScreen;
    m_context->SetDepthTesting(true);
    m_context->SetDepthWriting(true);
    m_context->BindRenderTarget(screen.m_targets[kSceneTarget]);
    m_context->SetViewport(m_context->GetViewport(screen.m_targets[kSceneTarget]));
    BindShaders("ZOR_DynamicMesh.vs", "ZOR_DynamicMesh.ps");
    m_context->SetBlendMode(BlendMode::Alpha);
    m_context->SetCullMode(CullMode::None);
    m_context->BindTexture(1, screen.m_depthBuffers[0]);
    m_fullscreenVertexShaderBound = false;
    return true;
}

void RenderSystem::DrawDynamicMeshes()
{
    // The trackers start at the state the setup left: alpha blending, no culling. Starting the
    // blend tracker at none would draw a first mesh that asks for none alpha-blended.
    BlendMode lastBlend = BlendMode::Alpha;
    CullMode lastCull = CullMode::None;
    const std::string* lastTexture = &kNoTextureName; // the mesh's own string, as for decals
    for (DynamicMesh* mesh : m_dynamicMeshes) {
        const auto count = static_cast<std::uint32_t>(mesh->Vertices().size());
        // A mesh without vertices, or whose buffer could not be made, changes no state.
        if (count == 0 || !mesh->GetVertexBuffer())
            continue;
        if (mesh->GetBlendMode() != lastBlend) {
            lastBlend = mesh->GetBlendMode();
            m_context->SetBlendMode(lastBlend);
        }
        if (mesh->GetCullMode() != lastCull) {
            lastCull = mesh->GetCullMode();
            m_context->SetCullMode(lastCull);
        }
        if (mesh->GetTexture() != *lastTexture) {
            lastTexture = &mesh->GetTexture();
            m_context->BindTexture(0, GetTexture(*lastTexture));
        }
        const std::uint32_t drawn = count < mesh->MaxVerts() ? count : mesh->MaxVerts();
        m_context->CopyData(mesh->GetVertexBuffer(), mesh->Vertices().data(),
                            drawn * static_cast<std::uint32_t>(sizeof(DynamicMeshVertex)));
        m_context->BindVertexBuffer(mesh->GetVertexBuffer(), sizeof(DynamicMeshVertex));
        m_context->Draw(drawn, 0);
    }
}

// Particles ---------------------------------------------------------------------------------

void RenderSystem::DrawParticles()
{
    Screen& screen = *m_currentScreen;
    const Handle particleTarget = screen.m_targets[kParticleTarget];
    for (unsigned pool = 0; pool < ParticleEmitter::kPoolCount; ++pool) {
        m_context->BindRenderTarget(particleTarget);
        m_context->SetViewport(m_context->GetViewport(particleTarget));
        BindShaders("ZOR_Particle.vs", "ZOR_Particle.ps");
        m_particleInstances.Clear();
        m_particleInstances.SetGeometry(m_centredQuad, 6);
        m_context->SetBlendMode(pool == 0 ? BlendMode::Alpha : BlendMode::Additive);
        Handle current = Handle::Null();
        EnterStage(PassProfiler::Stage::Batch);
        for (const ParticleEmitter* emitter : m_particleEmitters) {
            for (const ParticleEmitter::Particle& particle : emitter->GetPoolInUse(pool)) {
                if (!particle.alive || particle.type == nullptr)
                    continue;
                const Handle& texture = particle.type->texture;
                if (texture != current) {
                    current = texture;
                    m_particleInstances.SetTexture(&texture);
                }
                m_particleInstances.Append(ParticleInstance{particle.position, particle.scale, particle.rotation,
                                                            particle.alpha, particle.color});
            }
        }
        EnterStage(PassProfiler::Stage::Submit);
        m_particleInstances.Flush(m_context.get(), 16);
        if (pool == 1)
            m_context->SetBlendMode(BlendMode::PureAdditive);
        FullscreenPass(screen.m_targets[kSceneTarget], particleTarget, "ZOR_FullscreenQuad.ps", true);
        m_context->ClearRenderTarget(particleTarget, 0.0f, 0.0f, 0.0f, 0.0f);
        m_fullscreenVertexShaderBound = false;
    }
}

// SSAO, blur and composition ----------------------------------------------------------------

void RenderSystem::ApplyBlur(const Handle& target)
{
    ApplyScreenEffect(target, "ZOR_HorizontalBlur.ps");
    ApplyScreenEffect(target, "ZOR_VerticalBlur.ps");
}

void RenderSystem::ApplySSAO()
{
    Screen& screen = *m_currentScreen;
    m_context->BindTexture(1, screen.m_targets[kGeometryB]);
    m_context->BindTexture(2, screen.m_depthBuffers[0]);
    ApplyScreenEffect(screen.m_targets[kSSAOTarget], "ZOR_SSAO.ps");
    ApplyBlur(screen.m_targets[kSSAOTarget]);
}

void RenderSystem::ApplyGodRays()
{
    Screen& screen = *m_currentScreen;
    const Handle godRays = screen.m_targets[kGodRayTarget];
    const Handle half = screen.m_targets[kHalfTarget];
    m_context->BindTexture(1, GetTexture("sun.dds"));
    m_context->BindTexture(2, screen.m_depthBuffers[0]);
    ApplyScreenEffect(godRays, "ZOR_GodRaysLightMask.ps");
    FullscreenPass(half, godRays, "ZOR_FullscreenQuad.ps", true);
    m_context->BindTexture(1, half);
    ApplyScreenEffect(godRays, "ZOR_GodRays.ps");
    m_context->BindTexture(1, Handle::Null());
    m_context->BindTexture(2, Handle::Null());
}

// Post effects ------------------------------------------------------------------------------

void RenderSystem::ApplyBloom()
{
    Screen& screen = *m_currentScreen;
    const Handle half = screen.m_targets[kHalfTarget];
    FullscreenPass(half, screen.m_targets[kSceneTarget], "ZOR_FullscreenQuad.ps", true);
    ApplyScreenEffect(half, "ZOR_Threshold.ps");
    ApplyBlur(half);
    m_context->BindTexture(1, half);
    ApplyScreenEffect(screen.m_targets[kSceneTarget], "ZOR_Bloom.ps");
    m_context->BindTexture(1, Handle::Null());
}

void RenderSystem::ApplyDepthOfField()
{
    Screen& screen = *m_currentScreen;
    const Handle half = screen.m_targets[kHalfTarget];
    m_fullscreenVertexShaderBound = false;
    FullscreenPass(half, screen.m_targets[kSceneTarget], "ZOR_FullscreenQuad.ps", true);
    ApplyBlur(half);
    m_context->BindTexture(1, half);
    m_context->BindTexture(2, screen.m_depthBuffers[0]);
    ApplyScreenEffect(screen.m_targets[kSceneTarget], "ZOR_DepthOfField.ps");
    for (std::uint32_t t = 0; t < 3; ++t)
        m_context->BindTexture(t, Handle::Null());
    m_context->BindRenderTarget(Handle::Null());
}

void RenderSystem::ApplyEdgeDetection()
{
    Screen& screen = *m_currentScreen;
    const Handle edges = screen.m_targets[kEdgeTarget];
    m_context->BindTexture(1, screen.m_targets[kGeometryB]);
    ApplyScreenEffect(edges, "ZOR_EdgeDetection.ps");
    m_context->BindTexture(1, Handle::Null());
    m_context->BindTexture(1, edges);
    ApplyScreenEffect(screen.m_targets[kSceneTarget], "ZOR_ChromaticAberration.ps");
    m_context->BindTexture(1, Handle::Null());
}

void RenderSystem::ApplyPostEffects(unsigned screenIndex)
{
    Screen& screen = *m_currentScreen;
    const int id = static_cast<int>(screenIndex);
    if (EffectEnabled(Bloom, id))
        ApplyBloom();
    if (EffectEnabled(GlobalVolumetricFog, id)) {
        m_context->BindTexture(1, screen.m_depthBuffers[0]);
        ApplyScreenEffect(screen.m_targets[kSceneTarget], "ZOR_GlobalVolumetricFog.ps");
    }
    if (EffectEnabled(DepthOfField, id))
        ApplyDepthOfField();
    if (EffectEnabled(RadialBlur, id))
        ApplyScreenEffect(screen.m_targets[kSceneTarget], "ZOR_RadialBlur.ps");
    if (EffectEnabled(EdgeDetection, id))
        ApplyEdgeDetection();
}

// Debug lines -------------------------------------------------------------------------------

bool RenderSystem::BeginLinePass()
{
    if (!EffectEnabled(DebugDraw, -1))
        return false;
    if (m_debugDrawers[0].GetSize() == 0 && m_debugDrawers[1].GetSize() == 0)
        return false;
    m_context->SetPrimitiveTopology(PrimitiveTopology::LineList);
    BindShaders("ZOR_Line.vs", "ZOR_Line.ps");
    m_fullscreenVertexShaderBound = false;
    return true;
}

void RenderSystem::DrawDebugLines()
{
    Screen& screen = *m_currentScreen;
    const Handle scene = screen.m_targets[kSceneTarget];
    m_context->SetViewport(m_context->GetViewport(scene));
    if (m_debugDrawers[0].GetSize() != 0) {
        m_context->SetDepthTesting(false);
        m_context->SetDepthWriting(false);
        m_context->BindRenderTarget(scene);
        m_debugDrawers[0].Draw();
    }
    if (m_debugDrawers[1].GetSize() != 0) {
        m_context->SetDepthTesting(true);
        m_context->SetDepthWriting(true);
        // The screen's own depth buffer: on a screen with nothing visible the one chosen last
        // belongs to the shadow map or to another screen.
        m_context->BindDepthBuffer(screen.m_depthBuffers[0]);
        m_context->BindRenderTarget(scene);
        m_debugDrawers[1].Draw();
    }
}

} // namespace ZOR
