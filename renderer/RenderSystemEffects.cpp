// Forward passes (decals, billboards, dynamic meshes, particles), SSAO, post effects and debug
// lines. Until their passes are written they draw nothing: every Begin reports nothing to draw.
#include "renderer/RenderSystem.h"

namespace ZOR {

bool RenderSystem::BeginDecalPass()
{
    return false;
}

void RenderSystem::DrawDecals() {}

bool RenderSystem::BeginBillboardPass()
{
    return false;
}

void RenderSystem::DrawBillboards() {}

bool RenderSystem::BeginDynamicMeshPass()
{
    return false;
}

void RenderSystem::DrawDynamicMeshes() {}

void RenderSystem::DrawParticles() {}

bool RenderSystem::BeginLinePass()
{
    return false;
}

void RenderSystem::DrawDebugLines() {}

void RenderSystem::ApplySSAO() {}

void RenderSystem::ApplyPostEffects(unsigned) {}

} // namespace ZOR
