// The geometry, shadow, sky, light, composition, sprite and text passes of the frame.
#include "renderer/RenderSystem.h"

#include "renderer/DirectionalLight.h"
#include "renderer/Material.h"
#include "renderer/Model.h"
#include "renderer/RenderSlots.h"
#include "renderer/Renderable2D.h"
#include "renderer/Renderable3DSkinned.h"
#include "renderer/Text.h"

#include <algorithm>
#include <mutex>

namespace ZOR {

using namespace slots;

namespace {

constexpr std::uint32_t kMaxBones = 80;

const char* ModelVertexShader(bool shadowMap, bool shadowsOn, int kind)
{
    static const char* const kNames[3][3] = {
        {"ZOR_ShadowPass.vs", "ZOR_Renderable3DShadow.vs", "ZOR_Renderable3D.vs"},
        {"ZOR_ShadowPassInstanced.vs", "ZOR_Renderable3DInstancedShadow.vs", "ZOR_Renderable3DInstanced.vs"},
        {"ZOR_ShadowPassSkinned.vs", "ZOR_Renderable3DSkinnedShadow.vs", "ZOR_Renderable3DSkinned.vs"},
    };
    return kNames[kind][shadowMap ? 0 : (shadowsOn ? 1 : 2)];
}

// A screen id routes an overlay item to screen i when it names i or says "every screen" (4+).
bool OnScreen(int screenId, unsigned screen)
{
    return screenId == static_cast<int>(screen) || screenId >= 4;
}

} // namespace

void RenderSystem::BindShaders(const char* vertexShader, const char* pixelShader)
{
    m_context->BindVertexShader(GetVertexShader(vertexShader));
    m_context->BindPixelShader(GetPixelShader(pixelShader));
}

// Shadow map, geometry and sky ------------------------------------------------------------------

bool RenderSystem::BeginShadowPass()
{
    if (!EffectEnabled(Shadows, -1))
        return false;
    const Camera& camera = m_shadowCaster.camera;
    m_shadow.sunViewProjection = camera.GetProjectionMatrix() * camera.GetViewMatrix();
    m_shadow.nearFar = m_shadowCaster.nearFar;
    m_context->CopyData(m_constantBuffers[kShadowBuffer], &m_shadow, sizeof(ShadowBlock));
    m_context->SetViewport(m_context->GetViewport(m_shadowMap));
    m_context->SetBlendMode(BlendMode::None);
    m_context->SetPrimitiveTopology(PrimitiveTopology::TriangleList);
    m_context->SetCullMode(CullMode::Back);
    m_context->SetDepthTesting(true);
    m_context->SetDepthWriting(true);
    m_context->BindDepthBuffer(m_shadowDepthBuffer);
    m_context->BindRenderTarget(m_shadowMap);
    m_context->BindPixelShader(GetPixelShader("ZOR_ShadowPass.ps"));
    m_context->ClearDepthBuffer(m_shadowDepthBuffer);
    m_context->ClearRenderTarget(m_shadowMap, 1.0f, 1.0f, 1.0f, 1.0f);
    return true;
}

bool RenderSystem::BeginGeometryPass()
{
    Screen& screen = *m_currentScreen;
    m_context->SetDepthTesting(true);
    m_context->SetDepthWriting(true);
    m_context->BindDepthBuffer(screen.m_depthBuffers[0]);
    m_context->SetCullMode(CullMode::Back);
    m_context->SetBlendMode(BlendMode::None);
    if (EffectEnabled(Shadows, -1)) {
        m_context->BindRenderTargets(3, screen.m_group3);
        m_context->BindTexture(4, m_shadowMap);
        m_context->BindPixelShader(GetPixelShader("ZOR_Renderable3DShadow.ps"));
    } else {
        m_context->BindRenderTargets(2, screen.m_group3);
        m_context->BindPixelShader(GetPixelShader("ZOR_Renderable3D.ps"));
    }
    return true;
}

void RenderSystem::DrawModels(bool shadow, bool decalReceiving)
{
    m_context->BindVertexShader(GetVertexShader(ModelVertexShader(shadow, EffectEnabled(Shadows, -1), 0)));
    m_fullscreenVertexShaderBound = false;
    const Material* lastMaterial = nullptr;
    const Model* lastModel = nullptr;
    for (Renderable3D* renderable : decalReceiving ? m_decalModels : m_modelBucket) {
        if (!shadow && renderable->GetMaterial() != lastMaterial) {
            lastMaterial = renderable->GetMaterial();
            if (lastMaterial)
                lastMaterial->Bind(m_context.get());
        }
        const Model* model = renderable->GetModel();
        if (model == nullptr || model->GetVertexCount() == 0)
            continue;
        if (model != lastModel) {
            m_context->BindVertexBuffer(model->GetVertexBuffer(shadow), shadow ? 12 : 60);
            lastModel = model;
        }
        m_context->CopyData(m_constantBuffers[kObjectBuffer], &renderable->GetInstance(),
                            sizeof(Renderable3D::Instance));
        m_context->Draw(model->GetVertexCount(), 0);
    }
}

void RenderSystem::DrawInstancedModels(bool shadow, bool decalReceiving)
{
    m_context->BindVertexShader(GetVertexShader(ModelVertexShader(shadow, EffectEnabled(Shadows, -1), 1)));
    m_fullscreenVertexShaderBound = false;
    InstanceBuffer<ModelInstance>& instances = GetModelInstances(shadow);
    instances.Clear();
    const Material* lastMaterial = nullptr;
    const Model* lastModel = nullptr;
    EnterStage(PassProfiler::Stage::Batch);
    for (Renderable3D* renderable : decalReceiving ? m_decalInstancedModels : m_instancedModels) {
        const Model* model = renderable->GetModel();
        if (model == nullptr)
            continue;
        if (!shadow && renderable->GetMaterial() != lastMaterial) {
            lastMaterial = renderable->GetMaterial();
            instances.SetMaterial(lastMaterial);
        }
        if (model != lastModel) {
            lastModel = model;
            instances.SetGeometry(model->GetVertexBuffer(shadow), model->GetVertexCount());
        }
        instances.Append(renderable->GetInstance());
    }
    EnterStage(PassProfiler::Stage::Submit);
    instances.Flush(m_context.get(), shadow ? 12 : 60);
}

void RenderSystem::DrawSkinnedModels(bool shadow)
{
    m_context->BindVertexShader(GetVertexShader(ModelVertexShader(shadow, EffectEnabled(Shadows, -1), 2)));
    m_fullscreenVertexShaderBound = false;
    const Material* lastMaterial = nullptr;
    const Model* lastModel = nullptr;
    static const float4x4 kIdentities[kMaxBones];
    for (Renderable3DSkinned* renderable : m_skinnedModels) {
        if (renderable->GetMaterial() != lastMaterial) {
            lastMaterial = renderable->GetMaterial();
            if (lastMaterial)
                lastMaterial->Bind(m_context.get());
        }
        const Model* model = renderable->GetModel();
        if (model != lastModel) {
            lastModel = model;
            if (model)
                m_context->BindVertexBuffer(model->GetVertexBuffer(shadow), shadow ? 44 : 92);
        }
        if (model == nullptr)
            continue;
        // The instance's last 12 bytes are padding the shaders never read.
        m_context->CopyData(m_constantBuffers[kObjectBuffer], &renderable->GetInstance(),
                            sizeof(Renderable3D::Instance));
        const std::vector<float4x4>& bones = renderable->GetAnimationController().GetMatrixList();
        if (bones.empty()) {
            // Without a pose the model shows its bind pose, not the previous model's pose.
            m_context->CopyData(m_constantBuffers[kBoneBuffer], kIdentities, sizeof(kIdentities));
        } else {
            if (bones.size() > kMaxBones && m_bonesWarned.insert(model).second)
                Log("Warning: a skinned model has %zu bones; only the first %u are drawn", bones.size(), kMaxBones);
            const auto count = static_cast<std::uint32_t>(std::min<std::size_t>(bones.size(), kMaxBones));
            m_context->CopyData(m_constantBuffers[kBoneBuffer], bones.data(), count * sizeof(float4x4));
        }
        m_context->Draw(model->GetVertexCount(), 0);
    }
}

void RenderSystem::DrawSky()
{
    if (!m_drawSkySphere)
        return;
    const Model* sphere = GetModel("sphere.model");
    if (sphere == nullptr)
        return;
    m_context->SetCullMode(CullMode::Front);
    m_context->SetDepthTesting(false);
    m_context->SetDepthWriting(false);
    m_context->BindRenderTarget(m_currentScreen->m_targets[3]);
    BindShaders("ZOR_Sky.vs", "ZOR_Sky.ps");
    m_fullscreenVertexShaderBound = false;
    if (const Material* material = m_skySphere.GetMaterial())
        material->Bind(m_context.get());
    m_context->BindVertexBuffer(sphere->GetVertexBuffer(false), 60);
    m_context->CopyData(m_constantBuffers[kObjectBuffer], &m_skySphere.GetInstance(), sizeof(Renderable3D::Instance));
    m_context->Draw(sphere->GetVertexCount(), 0);
    m_context->SetCullMode(CullMode::Back);
}

// Lights -------------------------------------------------------------------------------------

bool RenderSystem::BeginLightPass()
{
    if (!EffectEnabled(Lighting, -1))
        return false;
    Screen& screen = *m_currentScreen;
    m_context->SetDepthTesting(false);
    m_context->SetDepthWriting(false);
    m_context->BindRenderTarget(screen.m_targets[5]);
    m_context->SetBlendMode(BlendMode::PureAdditive);
    m_context->BindTexture(0, screen.m_targets[3]);
    m_context->BindTexture(1, screen.m_targets[4]);
    m_context->BindTexture(2, screen.m_depthBuffers[0]);
    m_context->BindTexture(3, screen.m_targets[6]);
    return true;
}

bool RenderSystem::BeginDirectionalLightPass()
{
    if (m_directionalLights.empty())
        return false;
    BindShaders("ZOR_FullscreenQuad.vs", "ZOR_DirectionalLight.ps");
    return true;
}

bool RenderSystem::BeginSpotLightPass()
{
    if (m_spotLights.empty())
        return false;
    BindShaders("ZOR_SpotLight.vs", "ZOR_SpotLight.ps");
    m_fullscreenVertexShaderBound = false;
    m_context->SetCullMode(CullMode::Front);
    return true;
}

bool RenderSystem::BeginPointLightPass()
{
    if (m_pointLights.empty())
        return false;
    BindShaders("ZOR_PointLight.vs", "ZOR_PointLight.ps");
    m_fullscreenVertexShaderBound = false;
    m_context->SetCullMode(CullMode::Front);
    return true;
}

void RenderSystem::DrawDirectionalLights()
{
    for (DirectionalLight* light : m_directionalLights) {
        if (!light->GetVisible(-1))
            continue;
        m_context->CopyData(m_constantBuffers[kDirectionalLightBuffer], &light->GetInstance(),
                            sizeof(DirectionalLight::Instance));
        m_context->Draw(3, 0);
    }
}

void RenderSystem::DrawSpotLights()
{
    InstanceBuffer<SpotLight::Instance>& instances = m_spotLightInstances;
    instances.Clear();
    const Model* sphere = GetModel("sphere.model");
    if (sphere == nullptr)
        return;
    instances.SetGeometry(sphere->GetVertexBuffer(true), sphere->GetVertexCount());
    EnterStage(PassProfiler::Stage::Batch);
    for (SpotLight* light : m_spotLights)
        instances.Append(light->m_instance);
    EnterStage(PassProfiler::Stage::Submit);
    instances.Flush(m_context.get(), 12);
}

void RenderSystem::DrawPointLights()
{
    InstanceBuffer<PointLight::Instance>& instances = m_pointLightInstances;
    instances.Clear();
    const Model* sphere = GetModel("sphere.model");
    if (sphere == nullptr)
        return;
    instances.SetGeometry(sphere->GetVertexBuffer(true), sphere->GetVertexCount());
    EnterStage(PassProfiler::Stage::Batch);
    for (PointLight* light : m_pointLights)
        instances.Append(light->GetInstance());
    EnterStage(PassProfiler::Stage::Submit);
    instances.Flush(m_context.get(), 12);
}

// Composition ---------------------------------------------------------------------------------

void RenderSystem::ComposeScene()
{
    Screen& screen = *m_currentScreen;
    BindFullscreenVertexShader();
    // Otherwise the god-ray target keeps its clear value.
    if (EffectEnabled(GodRays, -1))
        ApplyGodRays();
    m_context->BindRenderTarget(screen.m_targets[0]);
    m_context->SetViewport(m_context->GetViewport(screen.m_targets[0]));
    m_context->BindPixelShader(
        GetPixelShader(EffectEnabled(Lighting, -1) ? "ZOR_FinalPass.ps" : "ZOR_FinalPassNoLighting.ps"));
    m_context->BindTextures(5, screen.m_group5);
    m_context->Draw(3, 0);
    const Handle none[5];
    m_context->BindTextures(5, none);
}

// Sprites and text ------------------------------------------------------------------------------

bool RenderSystem::Begin2DPass()
{
    if (m_2dList.empty())
        return false;
    BindShaders("ZOR_Renderable2D.vs", "ZOR_Renderable2D.ps");
    m_fullscreenVertexShaderBound = false;
    m_context->SetBlendMode(BlendMode::Alpha);
    return true;
}

bool RenderSystem::BeginTextPass()
{
    if (m_textList.empty())
        return false;
    BindShaders("ZOR_Text.vs", "ZOR_Text.ps");
    m_fullscreenVertexShaderBound = false;
    m_context->SetBlendMode(BlendMode::Alpha);
    m_context->SetViewport(m_context->GetViewport(m_compositeTarget));
    return true;
}

void RenderSystem::Draw2D()
{
    InstanceBuffer<SpriteInstance>& instances = m_spriteInstances;
    const Material* lastMaterial = nullptr;
    const auto sweep = [&](auto belongs) {
        EnterStage(PassProfiler::Stage::Batch);
        for (const Renderable2D* sprite : m_2dList) {
            if (!belongs(sprite->GetScreenID()))
                continue;
            if (sprite->GetMaterial() != lastMaterial) {
                lastMaterial = sprite->GetMaterial();
                instances.SetMaterial(lastMaterial);
            }
            instances.Append(sprite->GetInstance());
        }
        EnterStage(PassProfiler::Stage::Submit);
        instances.Flush(m_context.get(), 16);
    };
    for (unsigned i = 0; i < m_activeScreens && i < kScreenCount; ++i) {
        Screen& screen = m_screens[i];
        instances.Clear();
        instances.SetGeometry(m_cornerQuad, 6);
        // A material bound in an earlier sweep is no longer bound once that sweep flushed.
        lastMaterial = nullptr;
        m_context->CopyData(m_constantBuffers[kScreenBuffer], &screen.m_block, sizeof(Screen::Block));
        m_context->SetViewport(screen.m_viewport);
        sweep([i](int id) { return OnScreen(id, i); });
    }
    instances.Clear();
    instances.SetGeometry(m_cornerQuad, 6);
    lastMaterial = nullptr;
    Screen::Block whole;
    whole.matrix = m_orthographicProjection;
    m_context->CopyData(m_constantBuffers[kScreenBuffer], &whole, sizeof(Screen::Block));
    m_context->SetViewport(m_context->GetViewport(m_compositeTarget));
    sweep([](int id) { return id == -1; });
}

void RenderSystem::DrawTexts()
{
    // Starts empty: a first text without a font texture binds nothing of its own.
    std::string lastFont;
    const auto draw = [&](Text& text) {
        if (text.GetFontTexture() != lastFont) {
            lastFont = text.GetFontTexture();
            m_context->BindTexture(0, GetTexture(lastFont));
        }
        const auto count = static_cast<std::uint32_t>(text.GetVertices().size());
        if (count == 0 || !text.GetVertexBuffer())
            return;
        m_context->BindVertexBuffer(text.GetVertexBuffer(), sizeof(TextVertex));
        struct {
            Color color;
            float2 position;
        } block{text.GetColor(), text.GetPosition()};
        m_context->CopyData(m_constantBuffers[kTextBuffer], &block, sizeof(block));
        m_context->Draw(std::min(count, text.GetBufferVertexCount()), 0);
    };
    for (unsigned i = 0; i < m_activeScreens && i < kScreenCount; ++i) {
        Screen& screen = m_screens[i];
        m_context->SetViewport(screen.m_viewport);
        m_context->CopyData(m_constantBuffers[kScreenBuffer], &screen.m_block, sizeof(Screen::Block));
        for (Text* text : m_textList)
            if (OnScreen(text->GetScreenID(), i))
                draw(*text);
    }
    Screen::Block whole;
    whole.matrix = m_orthographicProjection;
    m_context->CopyData(m_constantBuffers[kScreenBuffer], &whole, sizeof(Screen::Block));
    m_context->SetViewport(m_context->GetViewport(m_compositeTarget));
    for (Text* text : m_textList)
        if (text->GetScreenID() == -1)
            draw(*text);
}

} // namespace ZOR
