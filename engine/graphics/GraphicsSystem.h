#pragma once
// The bridge between the engine and the renderer: one object that is both the engine system
// stored as "GraphicsSystem" and the render system on the game's window. Graphics components
// register with it while they are initialised; each frame it refreshes them from their
// transforms in a fixed order, then the renderer draws.
#include "engine/EffectSwitcher.h"
#include "engine/System.h"
#include "renderer/RenderSystem.h"

#include <functional>
#include <memory>
#include <vector>

namespace quellor {

class BackdropComponent;
class BillboardedQuadComponent;
class DecalComponent;
class DirectionalLightComponent;
class DynamicMeshComponent;
class EmitterComponent;
class FogComponent;
class GraphicsComponent2D;
class GraphicsComponent3D;
class GraphicsComponent3DSkinned;
class PointLightComponent;
class SpotLightComponent;
class SunComponent;
class TextComponent;

class GraphicsSystem : public System, public ZOR::RenderSystem, public EffectSwitcher {
    // Its record exists, but the system answers GetMeta with the "System" record.
    QUELLOR_REFLECT_KEYED_BASE_META(GraphicsSystem)

    GraphicsSystem(const ZOR::Config& config, platform::NativeWindow* const& window);
    // The same on a given render context (tests inject one).
    GraphicsSystem(std::shared_ptr<ZOR::RenderContext> context, platform::NativeWindow* const& window);
    ~GraphicsSystem() override;

    // Sets up the renderer: shader path, projections, Initialize, planes, octree, the default
    // effects and their parameters. Initialize's result is kept (see GetInitializeResult).
    void Initialize() override;
    // UpdateComponents, then the renderer draws and presents the frame.
    void Update(float dt) override;
    // The frame's work before drawing: the registered components in a fixed order (emitters only
    // while the space's "GameLogicSystem" is active), the shadow caster's bounds into the second
    // debug drawer, and the components' debug drawing when it is switched on.
    void UpdateComponents(float dt);
    // Skinned models move and animate only through this, which the game logic calls.
    void UpdateSkinned(float dt);

    bool GetInitializeResult() const { return m_initializeResult; }

    // Screen numbers below 0 read screen 0; above 3, screen 3.
    ZOR::Camera& GetActiveCamera(int screen);
    // Screen 0 to 3: that screen's size; negative: the render system's own.
    ZOR::float2 GetOrthographicProjectionSize(int screen);
    platform::NativeWindow*& GetWindowHandle() { return m_window; }

    // Test hook: asked at each update whether the renderer draws and presents this one (none:
    // always). Components refresh either way; a skipped update's time goes to the next draw.
    void SetDrawFilter(std::function<bool()> filter) { m_drawFilter = std::move(filter); }

    void SetDebugDraw(bool on) { m_debugDraw = on; }
    bool GetDebugDraw() const { return m_debugDraw; }

    // The effect switches of the toggle action; -1 names all four screens.
    bool EffectEnabled(int effect, int screen) override;
    void EnableEffect(int effect, int screen) override;
    void DisableEffect(int effect, int screen) override;
    using ZOR::RenderSystem::DisableEffect;
    using ZOR::RenderSystem::EffectEnabled;
    using ZOR::RenderSystem::EnableEffect;

    // Registration: the renderer call (where the type has one), then the array. Removal takes
    // the first equal entry out, keeping the order; the renderer's remove is made regardless.
    void RegisterGraphicsComponent2D(GraphicsComponent2D* c);
    void UnregisterGraphicsComponent2D(GraphicsComponent2D* c);
    void RegisterGraphicsComponent3D(GraphicsComponent3D* c);
    void UnregisterGraphicsComponent3D(GraphicsComponent3D* c);
    void RegisterGraphicsComponent3DSkinned(GraphicsComponent3DSkinned* c);
    void UnregisterGraphicsComponent3DSkinned(GraphicsComponent3DSkinned* c);
    void RegisterDecalComponent(DecalComponent* c);
    void UnregisterDecalComponent(DecalComponent* c);
    void RegisterDynamicMeshComponent(DynamicMeshComponent* c);
    void UnregisterDynamicMeshComponent(DynamicMeshComponent* c);
    void RegisterBillboardedQuadComponent(BillboardedQuadComponent* c);
    void UnregisterBillboardedQuadComponent(BillboardedQuadComponent* c);
    void RegisterDirectionalLightComponent(DirectionalLightComponent* c);
    void UnregisterDirectionalLightComponent(DirectionalLightComponent* c);
    void RegisterPointLightComponent(PointLightComponent* c);
    void UnregisterPointLightComponent(PointLightComponent* c);
    void RegisterSpotLightComponent(SpotLightComponent* c);
    void UnregisterSpotLightComponent(SpotLightComponent* c);
    void RegisterEmitterComponent(EmitterComponent* c);
    void UnregisterEmitterComponent(EmitterComponent* c);
    void RegisterTextComponent(TextComponent* c);
    void UnregisterTextComponent(TextComponent* c);
    void RegisterFogComponent(FogComponent* c);
    void UnregisterFogComponent(FogComponent* c);
    // One backdrop and one sun: registering replaces it, unregistering either clears it.
    void RegisterBackdropComponent(BackdropComponent* c);
    void UnregisterBackdropComponent(BackdropComponent* c);
    void RegisterSunComponent(SunComponent* c);
    void UnregisterSunComponent(SunComponent* c);

    const std::vector<GraphicsComponent2D*>& GetGraphicsComponent2Ds() const { return m_sprites; }
    const std::vector<GraphicsComponent3D*>& GetGraphicsComponent3Ds() const { return m_models; }
    const std::vector<GraphicsComponent3DSkinned*>& GetGraphicsComponent3DSkinneds() const { return m_skinned; }
    const std::vector<DecalComponent*>& GetDecalComponents() const { return m_decals; }
    const std::vector<DynamicMeshComponent*>& GetDynamicMeshComponents() const { return m_dynamicMeshes; }
    const std::vector<BillboardedQuadComponent*>& GetBillboardedQuadComponents() const { return m_billboards; }
    const std::vector<DirectionalLightComponent*>& GetDirectionalLightComponents() const { return m_directionalLights; }
    const std::vector<PointLightComponent*>& GetPointLightComponents() const { return m_pointLights; }
    const std::vector<SpotLightComponent*>& GetSpotLightComponents() const { return m_spotLights; }
    const std::vector<EmitterComponent*>& GetEmitterComponents() const { return m_emitters; }
    const std::vector<TextComponent*>& GetTextComponents() const { return m_texts; }
    const std::vector<FogComponent*>& GetFogComponents() const { return m_fogs; }
    BackdropComponent* GetBackdrop() const { return m_backdrop; }
    SunComponent* GetSun() const { return m_sun; }

private:
    platform::NativeWindow* m_window;
    bool m_debugDraw = false;
    std::function<bool()> m_drawFilter;
    float m_undrawnTime = 0.0f;
    bool m_initializeResult = false;
    std::vector<GraphicsComponent2D*> m_sprites;
    std::vector<GraphicsComponent3D*> m_models;
    std::vector<GraphicsComponent3DSkinned*> m_skinned;
    std::vector<DecalComponent*> m_decals;
    std::vector<DynamicMeshComponent*> m_dynamicMeshes;
    std::vector<BillboardedQuadComponent*> m_billboards;
    std::vector<DirectionalLightComponent*> m_directionalLights;
    std::vector<PointLightComponent*> m_pointLights;
    std::vector<SpotLightComponent*> m_spotLights;
    std::vector<EmitterComponent*> m_emitters;
    std::vector<TextComponent*> m_texts;
    std::vector<FogComponent*> m_fogs;
    BackdropComponent* m_backdrop = nullptr;
    SunComponent* m_sun = nullptr;
};


} // namespace quellor
