#include "engine/graphics/GraphicsComponent3D.h"

#include "engine/Transform3D.h"
#include "engine/graphics/ComponentLookup.h"
#include "engine/graphics/Convert.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/graphics/VisibilityMembers.h"
#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(GraphicsComponent3D, Component, DerivedMetaNotPOD, WithID)
{
    auto model = reg.Member(QL_FIELD(m_modelName)).Extension(".model");
    auto material = reg.Member(QL_FIELD(m_materialName)).Extension(".mat");
    RegisterVisibilityMembers(reg);
    reg.Member(QL_FIELD(m_glowStrength));
    // The two flags live in the renderer's model.
    reg.MemberAt("m_acceptsDecals", [](GraphicsComponent3D& c) -> bool& { return c.AcceptsDecalsFlag(); });
    reg.MemberAt("m_instanced", [](GraphicsComponent3D& c) -> bool& { return c.InstancedFlag(); });
    model.Setter(QL_METHOD(SetModel));
    material.Setter(QL_METHOD(SetMaterial));
}

GraphicsComponent3D::~GraphicsComponent3D() = default;

Component* GraphicsComponent3D::Clone() const
{
    auto* clone = new GraphicsComponent3D(*this);
    clone->m_transform = nullptr;
    return clone;
}

void GraphicsComponent3D::Initialize()
{
    if (GraphicsSystem* graphics = FindGraphicsSystem(*this, "GraphicsComponent3D")) {
        graphics->RegisterGraphicsComponent3D(this);
    }
    SetMaterial(m_materialName);
    SetModel(m_modelName);
}

void GraphicsComponent3D::Uninitialize()
{
    if (GraphicsSystem* graphics = FindGraphicsSystem(*this, "GraphicsComponent3D")) {
        graphics->UnregisterGraphicsComponent3D(this);
    }
}

void GraphicsComponent3D::SetModel(const std::string& name)
{
    if (&name != &m_modelName) {
        m_modelName = name;
    }
    ZOR::Renderable3D::SetModel(name);
}

void GraphicsComponent3D::SetMaterial(const std::string& name)
{
    if (&name != &m_materialName) {
        m_materialName = name;
    }
    ZOR::Renderable3D::SetMaterial(name);
}

void GraphicsComponent3D::Update(float dt)
{
    if (!m_transform && !(m_transform = FindTransform3D(*this))) {
        return;
    }
    SetWorldMatrix(ToFloat4x4(m_transform->BuildWorldMatrix()));
    SetGlowStrength(m_glowStrength);
    ZOR::Renderable3D::Update(dt);
    Invalidate();
}

} // namespace quellor
