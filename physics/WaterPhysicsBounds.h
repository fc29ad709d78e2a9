#pragma once
// The box of a water volume, announced to the water system of the space "default". Without one
// (the program creates none) it does nothing.
#include "engine/Component.h"

namespace quellor {

class WaterPhysicsSystem;

class WaterPhysicsBounds : public Component {
    QUELLOR_REFLECT_KEYED(WaterPhysicsBounds)

    WaterPhysicsBounds() = default;
    WaterPhysicsBounds(const WaterPhysicsBounds&) = delete;
    WaterPhysicsBounds& operator=(const WaterPhysicsBounds&) = delete;
    ~WaterPhysicsBounds() override;

    // Becomes the water system's bounds.
    void Initialize() override;
    // The water system is left without bounds.
    void Uninitialize() override;

    WaterPhysicsSystem* GetWaterSystem() const { return m_system; }

    float lowX = -20.0f;
    float lowY = 0.0f;
    float lowZ = -20.0f;
    float highX = 20.0f;
    float highY = 20.0f;
    float highZ = 20.0f;

private:
    WaterPhysicsSystem* m_system = nullptr;
};

} // namespace quellor
