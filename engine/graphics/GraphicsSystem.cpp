#include "engine/graphics/GraphicsSystem.h"

#include <algorithm>

#include "engine/Component.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Space.h"
#include "engine/graphics/BackdropComponent.h"
#include "engine/graphics/BillboardedQuadComponent.h"
#include "engine/graphics/DecalComponent.h"
#include "engine/graphics/DirectionalLightComponent.h"
#include "engine/graphics/DynamicMeshComponent.h"
#include "engine/graphics/EmitterComponent.h"
#include "engine/graphics/FogComponent.h"
#include "engine/graphics/GraphicsComponent2D.h"
#include "engine/graphics/GraphicsComponent3D.h"
#include "engine/graphics/GraphicsComponent3DSkinned.h"
#include "engine/graphics/PointLightComponent.h"
#include "engine/graphics/SpotLightComponent.h"
#include "engine/graphics/SunComponent.h"
#include "engine/graphics/TextComponent.h"
#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

// The renderer part owns GPU state: a graphics system is neither created nor copied by name.
QUELLOR_RECORD_ONLY(GraphicsSystem, System, DerivedMetaNotPODNoDefNoCopy, NoID) {}

namespace {

template <class T>
void RemoveFirst(std::vector<T*>& array, T* component)
{
    const auto found = std::find(array.begin(), array.end(), component);
    if (found != array.end()) {
        array.erase(found);
    }
}

// Each entry's renderer part, by index against the current count: an update may register or
// unregister others.
template <class Renderer, class T>
void UpdateAll(const std::vector<T*>& array, float dt)
{
    for (std::size_t i = 0; i < array.size(); ++i) {
        static_cast<Renderer*>(array[i])->Update(dt);
    }
}

int ClampScreen(int screen)
{
    return std::clamp(screen, 0, static_cast<int>(ZOR::RenderSystem::kScreenCount) - 1);
}

} // namespace

GraphicsSystem::GraphicsSystem(const ZOR::Config& config, platform::NativeWindow* const& window)
    : ZOR::RenderSystem(config, window), m_window(window)
{
}

GraphicsSystem::GraphicsSystem(std::shared_ptr<ZOR::RenderContext> context, platform::NativeWindow* const& window)
    : ZOR::RenderSystem(std::move(context), window), m_window(window)
{
}

GraphicsSystem::~GraphicsSystem() = default;

void GraphicsSystem::Initialize()
{
    SetShaderPath("shaders/");
    SetOrthographicProjectionSize(ZOR::float2(1024.0f, 768.0f));
    SetFOV(100.0f);
    m_initializeResult = ZOR::RenderSystem::Initialize();
    SetViewPlanes(1.0f, 2500.0f);
    SetOctree(1000.0f, 1.5f, 4);
    ZOR::RenderSystem::EnableEffect(GlobalVolumetricFog, -1);
    SetBlurFactor(2.0f);
    SetSSAOProperties(2.0f, 2.0f, 1e-7f, 0.005f);
    SetBloomProperties(0.9f, 1.5f, 1.0f);
    SetFogColor(0.5f, 0.4f, 0.3f);
    SetFogProperties(0.02f, 0.1f, 0.2f);
    SetDOFProperties(0.1f, 0.4f);
}

void GraphicsSystem::Update(float dt)
{
    UpdateComponents(dt);
    m_undrawnTime += dt;
    if (m_drawFilter && !m_drawFilter())
        return;
    ZOR::RenderSystem::Update(m_undrawnTime);
    m_undrawnTime = 0.0f;
}

void GraphicsSystem::UpdateComponents(float dt)
{
    System* gameLogic = FindSystem("GameLogicSystem");
    UpdateAll<ZOR::Renderable2D>(m_sprites, dt);
    UpdateAll<ZOR::Renderable3D>(m_models, dt);
    UpdateAll<ZOR::Decal>(m_decals, dt);
    UpdateAll<ZOR::DynamicMesh>(m_dynamicMeshes, dt);
    UpdateAll<ZOR::BillboardedQuad>(m_billboards, dt);
    UpdateAll<ZOR::DirectionalLight>(m_directionalLights, dt);
    UpdateAll<ZOR::PointLight>(m_pointLights, dt);
    UpdateAll<ZOR::SpotLight>(m_spotLights, dt);
    // Emitters freeze while the game logic is missing or inactive (the pause menu).
    if (gameLogic && gameLogic->IsActive()) {
        UpdateAll<ZOR::ParticleEmitter>(m_emitters, dt);
    }
    UpdateAll<ZOR::Text>(m_texts, dt);
    for (std::size_t i = 0; i < m_fogs.size(); ++i) {
        m_fogs[i]->Update(dt);
    }
    if (m_backdrop) {
        m_backdrop->Update(dt);
    }
    if (m_sun) {
        m_sun->Update(dt);
    }

    ZOR::DebugDrawer& drawer = GetDebugDrawer(true);
    drawer.SetPenColor(0.0f, 1.0f, 0.0f);
    drawer.CameraBounds(GetShadowCaster().camera);
    if (m_debugDraw) {
        if (Space* space = GetSpace()) {
            for (const auto& [name, entity] : space->GetEntityMap()) {
                for (const auto& [key, component] : entity->GetComponentMap()) {
                    component->DebugDraw(&drawer);
                }
            }
        }
    }
}

void GraphicsSystem::UpdateSkinned(float dt)
{
    UpdateAll<ZOR::Renderable3DSkinned>(m_skinned, dt);
}

ZOR::Camera& GraphicsSystem::GetActiveCamera(int screen)
{
    return GetScreen(ClampScreen(screen)).GetActiveCamera();
}

ZOR::float2 GraphicsSystem::GetOrthographicProjectionSize(int screen)
{
    if (screen < 0) {
        return ZOR::RenderSystem::GetOrthographicProjectionSize();
    }
    return GetScreen(ClampScreen(screen)).GetOrthographicProjectionSize();
}

bool GraphicsSystem::EffectEnabled(int effect, int screen)
{
    return ZOR::RenderSystem::EffectEnabled(static_cast<Effect>(effect), screen);
}

void GraphicsSystem::EnableEffect(int effect, int screen)
{
    ZOR::RenderSystem::EnableEffect(static_cast<Effect>(effect), screen);
}

void GraphicsSystem::DisableEffect(int effect, int screen)
{
    ZOR::RenderSystem::DisableEffect(static_cast<Effect>(effect), screen);
}

void GraphicsSystem::RegisterGraphicsComponent2D(GraphicsComponent2D* c)
{
    AddRenderable(static_cast<ZOR::Renderable2D*>(c));
    m_sprites.push_back(c);
}

void GraphicsSystem::UnregisterGraphicsComponent2D(GraphicsComponent2D* c)
{
    RemoveRenderable(static_cast<ZOR::Renderable2D*>(c));
    RemoveFirst(m_sprites, c);
}

void GraphicsSystem::RegisterGraphicsComponent3D(GraphicsComponent3D* c)
{
    AddRenderable(static_cast<ZOR::Renderable*>(c));
    m_models.push_back(c);
}

void GraphicsSystem::UnregisterGraphicsComponent3D(GraphicsComponent3D* c)
{
    RemoveRenderable(static_cast<ZOR::Renderable*>(c));
    RemoveFirst(m_models, c);
}

void GraphicsSystem::RegisterGraphicsComponent3DSkinned(GraphicsComponent3DSkinned* c)
{
    AddRenderable(static_cast<ZOR::Renderable*>(c));
    m_skinned.push_back(c);
}

void GraphicsSystem::UnregisterGraphicsComponent3DSkinned(GraphicsComponent3DSkinned* c)
{
    RemoveRenderable(static_cast<ZOR::Renderable*>(c));
    RemoveFirst(m_skinned, c);
}

void GraphicsSystem::RegisterDecalComponent(DecalComponent* c)
{
    AddRenderable(static_cast<ZOR::Renderable*>(c));
    m_decals.push_back(c);
}

void GraphicsSystem::UnregisterDecalComponent(DecalComponent* c)
{
    RemoveRenderable(static_cast<ZOR::Renderable*>(c));
    RemoveFirst(m_decals, c);
}

void GraphicsSystem::RegisterDynamicMeshComponent(DynamicMeshComponent* c)
{
    AddRenderable(static_cast<ZOR::DynamicMesh*>(c));
    m_dynamicMeshes.push_back(c);
}

void GraphicsSystem::UnregisterDynamicMeshComponent(DynamicMeshComponent* c)
{
    RemoveRenderable(static_cast<ZOR::DynamicMesh*>(c));
    RemoveFirst(m_dynamicMeshes, c);
}

void GraphicsSystem::RegisterBillboardedQuadComponent(BillboardedQuadComponent* c)
{
    AddRenderable(static_cast<ZOR::Renderable*>(c));
    m_billboards.push_back(c);
}

void GraphicsSystem::UnregisterBillboardedQuadComponent(BillboardedQuadComponent* c)
{
    RemoveRenderable(static_cast<ZOR::Renderable*>(c));
    RemoveFirst(m_billboards, c);
}

void GraphicsSystem::RegisterDirectionalLightComponent(DirectionalLightComponent* c)
{
    AddRenderable(static_cast<ZOR::DirectionalLight*>(c));
    m_directionalLights.push_back(c);
}

void GraphicsSystem::UnregisterDirectionalLightComponent(DirectionalLightComponent* c)
{
    RemoveRenderable(static_cast<ZOR::DirectionalLight*>(c));
    RemoveFirst(m_directionalLights, c);
}

void GraphicsSystem::RegisterPointLightComponent(PointLightComponent* c)
{
    AddRenderable(static_cast<ZOR::Renderable*>(c));
    m_pointLights.push_back(c);
}

void GraphicsSystem::UnregisterPointLightComponent(PointLightComponent* c)
{
    RemoveRenderable(static_cast<ZOR::Renderable*>(c));
    RemoveFirst(m_pointLights, c);
}

void GraphicsSystem::RegisterSpotLightComponent(SpotLightComponent* c)
{
    AddRenderable(static_cast<ZOR::SpotLight*>(c));
    m_spotLights.push_back(c);
}

void GraphicsSystem::UnregisterSpotLightComponent(SpotLightComponent* c)
{
    RemoveRenderable(static_cast<ZOR::SpotLight*>(c));
    RemoveFirst(m_spotLights, c);
}

void GraphicsSystem::RegisterEmitterComponent(EmitterComponent* c)
{
    AddRenderable(static_cast<ZOR::Renderable*>(c));
    m_emitters.push_back(c);
}

void GraphicsSystem::UnregisterEmitterComponent(EmitterComponent* c)
{
    RemoveRenderable(static_cast<ZOR::Renderable*>(c));
    RemoveFirst(m_emitters, c);
}

void GraphicsSystem::RegisterTextComponent(TextComponent* c)
{
    AddRenderable(static_cast<ZOR::Text*>(c));
    m_texts.push_back(c);
}

void GraphicsSystem::UnregisterTextComponent(TextComponent* c)
{
    RemoveRenderable(static_cast<ZOR::Text*>(c));
    RemoveFirst(m_texts, c);
}

void GraphicsSystem::RegisterFogComponent(FogComponent* c)
{
    m_fogs.push_back(c);
}

void GraphicsSystem::UnregisterFogComponent(FogComponent* c)
{
    RemoveFirst(m_fogs, c);
}

void GraphicsSystem::RegisterBackdropComponent(BackdropComponent* c)
{
    m_backdrop = c;
}

void GraphicsSystem::UnregisterBackdropComponent(BackdropComponent*)
{
    m_backdrop = nullptr;
}

void GraphicsSystem::RegisterSunComponent(SunComponent* c)
{
    m_sun = c;
}

void GraphicsSystem::UnregisterSunComponent(SunComponent*)
{
    m_sun = nullptr;
}

} // namespace quellor
