#pragma once
// A particle emitter loaded from a ".pe" file, following its entity's position plus an offset.
// The graphics system updates it only while the game logic is active.
#include "engine/Component.h"
#include "engine/reflection/Vec4.h"
#include "renderer/ParticleEmitter.h"

#include <string>

namespace quellor {

class Transform3D;

class EmitterComponent : public Component, public ZOR::ParticleEmitter {
    QUELLOR_REFLECT_KEYED(EmitterComponent)

    EmitterComponent() = default;
    EmitterComponent(const EmitterComponent&) = default;
    ~EmitterComponent() override;

    Component* Clone() const override;
    // Registers, then loads the named file.
    void Initialize() override;
    void Uninitialize() override;
    // An empty name does nothing. Otherwise the name is stored and the file of that exact name
    // in the resource system of the space "default" is loaded; without such a file (or without
    // a resource system) the emitter keeps what it had.
    void SetParticleEmitterFile(const std::string& name);
    // Position from the transform plus the offset, then the simulation step.
    void Update(float dt) override;

    Transform3D* m_transform = nullptr;
    std::string m_particleEmitterFile;
    Vec4 m_offset;
};

} // namespace quellor
