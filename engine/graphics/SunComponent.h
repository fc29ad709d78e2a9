#pragma once
// Places the render system's shadow-casting sun camera at its entity's position, looking along
// m_direction, and sets the sun's size and the god-ray properties every frame.
#include "engine/Component.h"
#include "engine/reflection/Vec4.h"
#include "renderer/RenderSystem.h"

namespace quellor {

class GraphicsSystem;
class Transform3D;

class SunComponent : public Component {
    QUELLOR_REFLECT_KEYED(SunComponent)

    // The most samples the god-ray pass takes; the level's count is held to 0..this.
    static constexpr int kMaxRaySamples = 128;

    SunComponent() = default;
    SunComponent(const SunComponent&) = default;
    ~SunComponent() override;

    Component* Clone() const override;
    // Keeps the graphics system it registers with.
    void Initialize() override;
    void Uninitialize() override;
    virtual void Update(float dt);

    GraphicsSystem* m_graphics = nullptr;
    ZOR::RenderSystem::ShadowCaster* m_shadowCaster = nullptr;
    Transform3D* m_transform = nullptr;
    Vec4 m_direction;
    float m_fov = 90.0f; // degrees
    float m_nearPlane = 0.1f;
    float m_farPlane = 1000.0f;
    float m_size = 100.0f;
    float m_rayDensity = 0.99f;
    float m_rayDecay = 0.99f;
    float m_rayWeight = 0.25f;
    float m_rayExposure = 0.25f;
    int m_raySamples = 64;
};

} // namespace quellor
