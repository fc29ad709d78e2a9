#include "engine/graphics/EmitterComponent.h"

#include <cstdio>

#include "engine/Engine.h"
#include "engine/ResourceSystem.h"
#include "engine/Transform3D.h"
#include "engine/graphics/ComponentLookup.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(EmitterComponent, Component, DerivedMetaNotPOD, WithID)
{
    auto file = reg.Member(QL_FIELD(m_particleEmitterFile)).Extension(".pe");
    reg.Member(QL_FIELD(m_offset));
    file.Setter(QL_METHOD(SetParticleEmitterFile));
}

namespace {

// The engine this emitter works in: its own, or (while a level is still reading it, before it
// belongs to an entity) the running one.
Engine* EngineOf(const QLObject& object)
{
    Engine* own = object.GetEngine();
    return own ? own : Engine::Existing();
}

} // namespace

EmitterComponent::~EmitterComponent() = default;

Component* EmitterComponent::Clone() const
{
    auto* clone = new EmitterComponent(*this);
    clone->m_transform = nullptr;
    return clone;
}

void EmitterComponent::Initialize()
{
    if (GraphicsSystem* graphics = FindGraphicsSystem(*this, "EmitterComponent")) {
        graphics->RegisterEmitterComponent(this);
    }
    SetParticleEmitterFile(m_particleEmitterFile);
}

void EmitterComponent::Uninitialize()
{
    if (GraphicsSystem* graphics = FindGraphicsSystem(*this, "EmitterComponent")) {
        graphics->UnregisterEmitterComponent(this);
    }
}

void EmitterComponent::SetParticleEmitterFile(const std::string& name)
{
    if (name.empty()) {
        return;
    }
    if (&name != &m_particleEmitterFile) {
        m_particleEmitterFile = name;
    }
    // Emitter files are known to the resource system of "default", whatever this one's space.
    Engine* engine = EngineOf(*this);
    auto* resources = engine ? engine->GetSystem<ResourceSystem>("default") : nullptr;
    if (!resources) {
        std::printf("Warning: EmitterComponent finds no ResourceSystem in \"default\"; \"%s\" is not loaded\n",
                    m_particleEmitterFile.c_str());
        return;
    }
    const FileInfo* file = resources->FindFile(m_particleEmitterFile);
    if (!file) {
        std::printf("Warning: EmitterComponent finds no file \"%s\"; the emitter keeps its settings\n",
                    m_particleEmitterFile.c_str());
        return;
    }
    Load(file->path);
}

void EmitterComponent::Update(float dt)
{
    if (!m_transform && !(m_transform = FindTransform3D(*this))) {
        return;
    }
    SetPosition(m_transform->m_x + m_offset.x, m_transform->m_y + m_offset.y, m_transform->m_z + m_offset.z);
    ZOR::ParticleEmitter::Update(dt);
    Invalidate();
}

} // namespace quellor
