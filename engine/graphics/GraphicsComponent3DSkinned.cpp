#include "engine/graphics/GraphicsComponent3DSkinned.h"

#include "engine/Transform3D.h"
#include "engine/graphics/ComponentLookup.h"
#include "engine/graphics/Convert.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/graphics/VisibilityMembers.h"
#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(GraphicsComponent3DSkinned, Component, DerivedMetaNotPOD, WithID)
{
    auto model = reg.Member(QL_FIELD(m_modelName)).Extension(".model");
    auto material = reg.Member(QL_FIELD(m_materialName)).Extension(".mat");
    RegisterVisibilityMembers(reg);
    reg.Member(QL_FIELD(m_glowStrength));
    model.Setter(QL_METHOD(SetModel));
    material.Setter(QL_METHOD(SetMaterial));
}

GraphicsComponent3DSkinned::~GraphicsComponent3DSkinned() = default;

Component* GraphicsComponent3DSkinned::Clone() const
{
    auto* clone = new GraphicsComponent3DSkinned(*this);
    clone->m_transform = nullptr;
    return clone;
}

void GraphicsComponent3DSkinned::Initialize()
{
    if (GraphicsSystem* graphics = FindGraphicsSystem(*this, "GraphicsComponent3DSkinned")) {
        graphics->RegisterGraphicsComponent3DSkinned(this);
    }
    SetMaterial(m_materialName);
    SetModel(m_modelName);
}

void GraphicsComponent3DSkinned::Uninitialize()
{
    if (GraphicsSystem* graphics = FindGraphicsSystem(*this, "GraphicsComponent3DSkinned")) {
        graphics->UnregisterGraphicsComponent3DSkinned(this);
    }
}

void GraphicsComponent3DSkinned::SetModel(const std::string& name)
{
    if (&name != &m_modelName) {
        m_modelName = name;
    }
    ZOR::Renderable3DSkinned::SetModel(name);
}

void GraphicsComponent3DSkinned::SetMaterial(const std::string& name)
{
    if (&name != &m_materialName) {
        m_materialName = name;
    }
    ZOR::Renderable3DSkinned::SetMaterial(name);
}

void GraphicsComponent3DSkinned::Update(float dt)
{
    if (!m_transform && !(m_transform = FindTransform3D(*this))) {
        return;
    }
    SetWorldMatrix(ToFloat4x4(m_transform->BuildWorldMatrix()));
    SetGlowStrength(m_glowStrength);
    ZOR::Renderable3DSkinned::Update(dt);
    Invalidate();
}

} // namespace quellor
