// The frame: order of the passes and their gating, per-screen constants, culling, bucketing and
// the overlay lists.
#include "renderer/RenderSystem.h"

#include "renderer/BillboardedQuad.h"
#include "renderer/Decal.h"
#include "renderer/Material.h"
#include "renderer/Octree.h"
#include "renderer/ParticleEmitter.h"
#include "renderer/RenderSlots.h"
#include "renderer/Renderable2D.h"
#include "renderer/Renderable3DSkinned.h"
#include "renderer/Text.h"

#include <algorithm>
#include <cmath>

namespace ZOR {

using namespace slots;

namespace {

template <typename T>
void SortByHash(std::vector<T*>& bucket)
{
    std::sort(bucket.begin(), bucket.end(), [](const T* a, const T* b) { return a->GetHash() < b->GetHash(); });
}

// False for a box with a NaN or an empty extent (a NaN world matrix makes one): it cannot be
// seen, and a frustum test would call it inside.
bool ValidBox(const AABB& box)
{
    return box.min.x <= box.max.x && box.min.y <= box.max.y && box.min.z <= box.max.z;
}

bool TextFontLess(const Text* a, const Text* b)
{
    return a->GetFontTexture() < b->GetFontTexture();
}

} // namespace

void RenderSystem::Update(float dt)
{
    EnterStage(PassProfiler::Stage::Submit);
    if (m_layoutDirty) {
        m_layoutDirty = false;
        UpdateScreenLayout(m_layoutInstant);
    }
    if (m_screenTargetsDirty) {
        m_screenTargetsDirty = false;
        CreateScreenTargets();
    }
    // The snapshot is taken under the cache lock: a loader thread may be inserting meanwhile.
    const bool protect = m_protectResourceAcquisitions;
    for (Material* material : GetMaterialSnapshot()) {
        if (protect)
            material->ForceDirty();
        material->Update(this);
    }
    PrepareOverlays();
    for (unsigned i = 0; i < m_activeScreens && i < kScreenCount; ++i) {
        Screen& screen = m_screens[i];
        screen.m_viewport.x = static_cast<std::int32_t>(screen.m_slideX);
        screen.m_viewport.y = static_cast<std::int32_t>(screen.m_slideY);
    }

    m_context->ClearBackBuffer();
    m_context->ClearRenderTarget(m_compositeTarget, 0.0f, 0.0f, 0.0f, 0.0f);
    m_settings.fade = m_fadeFactor;
    m_context->CopyData(m_constantBuffers[kSettingsBuffer], &m_settings, sizeof(Settings));

    Profile("shadow map");
    if (BeginShadowPass()) {
        m_visible.clear();
        CullOctree(0, m_shadowCaster.camera.GetFrustum());
        if (!m_visible.empty()) {
            BucketVisible();
            DrawModels(true, true);
            DrawModels(true, false);
            DrawInstancedModels(true, true);
            DrawInstancedModels(true, false);
            DrawSkinnedModels(true);
        }
        m_context->SetDepthTesting(false);
        m_context->SetDepthWriting(false);
        m_context->BindRenderTarget(Handle::Null());
    }

    for (unsigned i = 0; i < m_activeScreens && i < kScreenCount; ++i) {
        m_currentScreen = &m_screens[i];
        Screen& screen = *m_currentScreen;
        const int id = static_cast<int>(i);
        // A zero or negative frame time must not put an infinity into the shaders' constants.
        screen.m_block.inverseFrameTime = dt > 0.0f ? 1.0f / dt : 0.0f;
        screen.m_block.thirty = 30.0f;
        SetupScreenCamera();
        ClearScreenTargets();
        m_visible.clear();
        CullOctree(i, screen.GetActiveCamera().GetFrustum());

        // A view with nothing in it but the sky (a fallen player's camera, say) shows the sky,
        // not black.
        if (!m_visible.empty() || m_drawSkySphere) {
            BucketVisible();
            if (EffectEnabled(DebugDraw, id)) {
                DebugDrawer& drawer = m_debugDrawers[1];
                if (m_drawOctree && m_octree) {
                    drawer.SetPenColor(0.0f, 1.0f, 0.0f);
                    drawer.BoundingBox(m_octree->GetBounds());
                    m_octree->Draw(screen.GetActiveCamera().GetFrustum(), drawer);
                }
                if (m_drawAABBs) {
                    drawer.SetPenColor(0.0f, 0.0f, 1.0f);
                    for (const Renderable* renderable : m_visible)
                        drawer.BoundingBox(renderable->GetAABB());
                }
            }
            Profile("sky");
            DrawSky();
            Profile("geometry");
            if (BeginGeometryPass()) {
                DrawModels(false, true);
                DrawInstancedModels(false, true);
            }
            m_context->SetDepthTesting(false);
            m_context->SetDepthWriting(false);
            m_context->BindRenderTarget(Handle::Null());
            m_context->BindTexture(4, Handle::Null());
            m_context->CopyResource(screen.m_depthBuffers[1], screen.m_depthBuffers[0]);
            Profile("decals");
            if (BeginDecalPass()) {
                DrawDecals();
                m_context->SetDepthTesting(false);
                m_context->SetDepthWriting(false);
                m_context->SetCullMode(CullMode::Back);
                m_context->BindRenderTarget(Handle::Null());
            }
            Profile("geometry");
            if (BeginGeometryPass()) {
                DrawModels(false, false);
                DrawInstancedModels(false, false);
                DrawSkinnedModels(false);
            }
            m_context->SetDepthTesting(false);
            m_context->SetDepthWriting(false);
            m_context->BindRenderTarget(Handle::Null());
            m_context->BindTexture(4, Handle::Null());

            Profile("lights");
            if (BeginLightPass()) {
                if (BeginDirectionalLightPass())
                    DrawDirectionalLights();
                if (BeginSpotLightPass())
                    DrawSpotLights();
                if (BeginPointLightPass())
                    DrawPointLights();
                m_context->SetCullMode(CullMode::Back);
                m_context->SetBlendMode(BlendMode::None);
                m_context->BindRenderTarget(Handle::Null());
                for (std::uint32_t t = 0; t < 4; ++t)
                    m_context->BindTexture(t, Handle::Null());
            }
            Profile("shadow blur");
            if (EffectEnabled(Shadows, id))
                ApplyScreenEffect(screen.m_targets[6], "ZOR_BilateralBlur.ps");
            Profile("ssao");
            if (EffectEnabled(SSAO, id))
                ApplySSAO();
            Profile("compose");
            ComposeScene();
            Profile("forward");
            if (BeginBillboardPass()) {
                DrawBillboards();
                m_context->SetBlendMode(BlendMode::None);
                m_context->SetDepthTesting(false);
                m_context->SetDepthWriting(false);
                m_context->BindRenderTarget(Handle::Null());
            }
            if (BeginDynamicMeshPass()) {
                DrawDynamicMeshes();
                // A cull-front mesh would otherwise make every later full-screen pass draw nothing.
                m_context->SetCullMode(CullMode::Back);
                m_context->SetBlendMode(BlendMode::None);
                m_context->SetDepthTesting(false);
                m_context->SetDepthWriting(false);
                m_context->BindRenderTarget(Handle::Null());
            }
            if (!m_particleEmitters.empty()) {
                m_context->SetDepthTesting(false);
                m_context->SetDepthWriting(false);
                m_context->BindTexture(1, screen.m_depthBuffers[0]);
                m_fullscreenVertexShaderBound = false;
                DrawParticles();
                m_context->SetViewport(m_context->GetViewport(screen.m_targets[0]));
                m_context->BindRenderTarget(Handle::Null());
                m_context->BindTexture(1, Handle::Null());
                m_context->SetBlendMode(BlendMode::None);
            }
            Profile("post effects");
            ApplyPostEffects(i);
        }
        Profile("lines");
        if (BeginLinePass())
            DrawDebugLines();
        Profile("copy");
        m_context->SetDepthTesting(false);
        m_context->SetDepthWriting(false);
        m_context->BindRenderTarget(Handle::Null());
        m_context->SetPrimitiveTopology(PrimitiveTopology::TriangleList);
        m_context->SetViewport(screen.m_viewport);
        FullscreenPass(m_compositeTarget, screen.m_targets[0], "ZOR_FullscreenQuad.ps", false);
        m_fullscreenVertexShaderBound = true;
    }

    Profile("sprites");
    m_context->BindRenderTarget(m_compositeTarget);
    if (Begin2DPass()) {
        Draw2D();
        m_context->SetBlendMode(BlendMode::None);
    }
    Profile("texts");
    m_context->BindRenderTarget(m_compositeTarget);
    if (BeginTextPass()) {
        DrawTexts();
        m_context->SetBlendMode(BlendMode::None);
    }
    Profile("fade");
    FullscreenPass(m_context->GetBackBuffer(), m_compositeTarget, "ZOR_Fade.ps", true);
    m_debugDrawers[0].Clear();
    m_debugDrawers[1].Clear();
    Profile("present");
    m_context->SwapBuffers();
    Profile("end");
    EnterStage(PassProfiler::Stage::Idle);
}

void RenderSystem::PrepareOverlays()
{
    EnterStage(PassProfiler::Stage::BucketAndSort);
    if (m_2dNeedsSorting) {
        std::sort(m_2dList.begin(), m_2dList.end(), Renderable2DSortLess);
        m_2dNeedsSorting = false;
    }
    if (m_textNeedsSorting) {
        std::sort(m_textList.begin(), m_textList.end(), TextFontLess);
        m_textNeedsSorting = false;
    }
    EnterStage(PassProfiler::Stage::Submit);
    for (Text* text : m_textList)
        if (text->IsDirty())
            PrepareText(*text);
}

void RenderSystem::PrepareText(Text& text)
{
    const auto count = static_cast<std::uint32_t>(text.GetVertices().size());
    Handle& buffer = text.GetVertexBuffer();
    // The buffer is refilled only when the new vertices fit the size it was made for; a text
    // that grew gets a new one, an empty one none.
    if (buffer && count > 0 && count <= text.GetBufferVertexCount()) {
        m_context->CopyData(buffer, text.GetVertices().data(), count * sizeof(TextVertex));
    } else if (count > 0) {
        if (m_context->CreateVertexBuffer(buffer, BufferUsage::Default, count * sizeof(TextVertex),
                                          text.GetVertices().data()))
            text.SetBufferVertexCount(count);
        else
            text.SetBufferVertexCount(0);
    }
    text.SetDirty(false);
}

void RenderSystem::SetupScreenCamera()
{
    Screen& screen = *m_currentScreen;
    screen.m_block.matrix.SetOrthographic(0.0f, screen.m_orthographicSize.x, screen.m_orthographicSize.y, 0.0f, 0.0f,
                                          1.0f);
    m_context->CopyData(m_constantBuffers[kScreenBuffer], &screen.m_block, sizeof(Screen::Block));
    const float effectValues[4] = {screen.m_aberrationFactor, screen.m_aberrationIntensity,
                                   screen.m_radialBlurDistance, screen.m_radialBlurStrength};
    m_context->CopyData(m_constantBuffers[kScreenEffectBuffer], effectValues, sizeof(effectValues));

    const float width = static_cast<float>(screen.m_viewport.size.width);
    const float height = static_cast<float>(screen.m_viewport.size.height);
    float aspect = height > 0.0f ? width / height : 1.0f;
    if (m_activeScreens == 1 && m_context->GetFullscreen())
        aspect = m_fullscreenAspectRatio;
    const float fovY = 2.0f * std::atan(std::tan(m_fov * 0.5f) / aspect);
    for (Camera& camera : screen.m_cameras)
        camera.SetProjectionMatrix(fovY, aspect, m_settings.nearPlane, m_settings.farPlane);

    Camera& camera = screen.GetActiveCamera();
    float4x4* matrices = screen.m_cameraMatrices;
    matrices[4] = matrices[1] * matrices[0];
    matrices[0] = camera.GetViewMatrix();
    matrices[2] = matrices[0].Inverse();
    matrices[1] = camera.GetProjectionMatrix();
    matrices[3] = matrices[1].Inverse();

    m_context->CopyData(m_constantBuffers[kScreenBuffer], &screen.m_block, sizeof(Screen::Block));
    m_context->CopyData(m_constantBuffers[kCameraBuffer], matrices, 5 * sizeof(float4x4));
    m_context->SetViewport(m_context->GetViewport(screen.m_targets[0]));
}

void RenderSystem::ClearScreenTargets()
{
    Screen& screen = *m_currentScreen;
    static const float kClear[Screen::kTargetCount] = {0, -1, -1, 0, 0, 0, 1, 0, 1, 0, 1};
    for (std::uint32_t t = 0; t < Screen::kTargetCount; ++t)
        if (kClear[t] >= 0.0f)
            m_context->ClearRenderTarget(screen.m_targets[t], kClear[t], kClear[t], kClear[t], kClear[t]);
    m_context->ClearDepthBuffer(screen.m_depthBuffers[0]);
    m_context->ClearDepthBuffer(screen.m_depthBuffers[1]);
}

void RenderSystem::CullOctree(unsigned screen, const Frustum& frustum)
{
    if (!m_octree)
        return;
    EnterStage(PassProfiler::Stage::Cull);
    CullOctreeNode(screen, frustum, m_octree.get(), AABB_INTERSECTING);
    EnterStage(PassProfiler::Stage::Submit);
}

void RenderSystem::CullOctreeNode(unsigned screen, const Frustum& frustum, const Octree* node, int parentResult)
{
    // Most of the tree is empty: a subtree that holds nothing adds nothing, tested or not.
    if (node->GetHeldCount() == 0)
        return;
    const int visibleOn = static_cast<int>(screen);
    int result = AABB_INSIDE;
    if (parentResult != AABB_INSIDE) {
        result = frustum.TestAABB(node->GetBounds());
        if (result == AABB_OUTSIDE)
            return;
    }
    for (Renderable* renderable : node->GetRenderables()) {
        if (!renderable->GetVisible(visibleOn) || !ValidBox(renderable->GetAABB()))
            continue;
        if (result == AABB_INTERSECTING && frustum.TestAABB(renderable->GetAABB()) == AABB_OUTSIDE)
            continue;
        m_visible.push_back(renderable);
    }
    if (node->GetChild(0) == nullptr)
        return;
    for (unsigned c = 0; c < 8; ++c)
        if (const Octree* child = node->GetChild(c))
            CullOctreeNode(screen, frustum, child, result);
}

void RenderSystem::BucketVisible()
{
    EnterStage(PassProfiler::Stage::BucketAndSort);
    m_modelBucket.clear();
    m_instancedModels.clear();
    m_decalModels.clear();
    m_decalInstancedModels.clear();
    m_skinnedModels.clear();
    m_decals.clear();
    m_pointLights.clear();
    m_billboards.clear();
    m_particleEmitters.clear();
    std::sort(m_visible.begin(), m_visible.end(), [](const Renderable* a, const Renderable* b) {
        return static_cast<std::int32_t>(a->GetType()) < static_cast<std::int32_t>(b->GetType());
    });
    for (Renderable* renderable : m_visible) {
        switch (renderable->GetType()) {
        case Renderable::Type::Renderable3D: {
            auto* model = static_cast<Renderable3D*>(renderable);
            if (model->GetAcceptsDecals())
                (model->GetInstanced() ? m_decalInstancedModels : m_decalModels).push_back(model);
            else
                (model->GetInstanced() ? m_instancedModels : m_modelBucket).push_back(model);
            break;
        }
        case Renderable::Type::Renderable3DSkinned:
            m_skinnedModels.push_back(static_cast<Renderable3DSkinned*>(renderable));
            break;
        case Renderable::Type::PointLight:
            m_pointLights.push_back(static_cast<PointLight*>(renderable));
            break;
        case Renderable::Type::Decal:
            m_decals.push_back(static_cast<Decal*>(renderable));
            break;
        case Renderable::Type::BillboardedQuad:
            m_billboards.push_back(static_cast<BillboardedQuad*>(renderable));
            break;
        case Renderable::Type::ParticleEmitter:
            m_particleEmitters.push_back(static_cast<ParticleEmitter*>(renderable));
            break;
        default:
            break;
        }
    }
    SortByHash(m_modelBucket);
    SortByHash(m_instancedModels);
    SortByHash(m_decalModels);
    SortByHash(m_decalInstancedModels);
    SortByHash(m_skinnedModels);
    SortByHash(m_billboards);
    EnterStage(PassProfiler::Stage::Submit);
}

} // namespace ZOR
