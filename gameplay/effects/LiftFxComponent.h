#pragma once
// Draws the lift beam: every frame it rebuilds the beam mesh (LiftBeamMesh) between its start
// point (the shooter's hand) and its end point (where the ray ended), and keeps a particle
// emitter and a flickering purple point light at each end. The beam writes both points
// directly; the fade (0 to 1) scales the tube and the bands.
//
// The component owns its emitters and lights from construction, so it can be made and copied
// without an engine; Initialize hands them to the render system, Uninitialize takes them back,
// and the destructor frees them. A clone makes its own.
#include "engine/graphics/DynamicMeshComponent.h"
#include "renderer/math/float3.h"

#include <memory>
#include <string>

namespace ZOR {
class ParticleEmitter;
class PointLight;
class RenderSystem;
} // namespace ZOR

namespace quellor {

class LiftFxComponent : public DynamicMeshComponent {
    QUELLOR_REFLECT_KEYED(LiftFxComponent)

    static constexpr unsigned kMaxVertices = 25000;
    static constexpr float kLightRadius = 20.0f;
    static constexpr float kPhaseSpeed = 10.0f; // radians per second
    inline static const std::string kTexture{"shot_lift.dds"};
    inline static const std::string kHandEmitter{"emitters/lift_hand.pe"};

    LiftFxComponent();
    // The fade, both points and the phase; emitters and lights of its own.
    LiftFxComponent(const LiftFxComponent& other);
    ~LiftFxComponent() override;

    Component* Clone() const override;
    void Initialize() override;
    void Uninitialize() override;
    // Moves the emitters and lights to the ends, advances the phase and rebuilds the mesh.
    void Update(float dt) override;

    // The fade rises from 0 to 1 over the given seconds on the entity's own flow; the emitters
    // load their file and emit, the lights show.
    void FadeIn(float seconds);
    // The emitters stop and the lights hide; the fade falls to 0 over the given seconds and
    // the entity is then destroyed.
    void FadeOut(float seconds);

    float GetFade() const { return m_fade; }
    float GetPhase() const { return m_phase; }
    const ZOR::ParticleEmitter& GetStartEmitter() const { return *m_startEmitter; }
    const ZOR::ParticleEmitter& GetEndEmitter() const { return *m_endEmitter; }
    const ZOR::PointLight& GetStartLight() const { return *m_startLight; }
    const ZOR::PointLight& GetEndLight() const { return *m_endLight; }
    // The render system holding the emitters and lights; null outside Initialize/Uninitialize.
    ZOR::RenderSystem* GetRenderSystem() const { return m_renderSystem; }

    ZOR::float3 m_start;
    ZOR::float3 m_end;

private:
    void MakeEndPieces();

    float m_fade = 0.0f;
    float m_phase = 0.0f;
    std::unique_ptr<ZOR::ParticleEmitter> m_startEmitter;
    std::unique_ptr<ZOR::ParticleEmitter> m_endEmitter;
    std::unique_ptr<ZOR::PointLight> m_startLight;
    std::unique_ptr<ZOR::PointLight> m_endLight;
    ZOR::RenderSystem* m_renderSystem = nullptr;
};

} // namespace quellor
