#include "engine/graphics/GraphicsComponent2D.h"

#include "engine/Transform2D.h"
#include "engine/graphics/ComponentLookup.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(GraphicsComponent2D, Component, DerivedMetaNotPOD, WithID)
{
    reg.Member(QL_FIELD(m_materialName)).Extension(".mat").Setter(QL_METHOD(SetMaterial));
}

GraphicsComponent2D::~GraphicsComponent2D() = default;

Component* GraphicsComponent2D::Clone() const
{
    auto* clone = new GraphicsComponent2D(*this);
    clone->m_transform = nullptr;
    return clone;
}

void GraphicsComponent2D::Initialize()
{
    if (GraphicsSystem* graphics = FindGraphicsSystem(*this, "GraphicsComponent2D")) {
        graphics->RegisterGraphicsComponent2D(this);
    }
    SetMaterial(m_materialName);
}

void GraphicsComponent2D::Uninitialize()
{
    if (GraphicsSystem* graphics = FindGraphicsSystem(*this, "GraphicsComponent2D")) {
        graphics->UnregisterGraphicsComponent2D(this);
    }
}

void GraphicsComponent2D::SetMaterial(const std::string& name)
{
    if (&name != &m_materialName) {
        m_materialName = name;
    }
    ZOR::Renderable2D::SetMaterial(name);
}

void GraphicsComponent2D::Update(float)
{
    if (!m_transform && !(m_transform = FindTransform2D(*this))) {
        return;
    }
    SetSize(m_transform->m_scaleX, m_transform->m_scaleY);
    SetPosition(m_transform->m_x, m_transform->m_y);
}

} // namespace quellor
