#include "engine/graphics/GraphicsComponent3D.h"

#include "engine/graphics/ComponentLookup.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(GraphicsComponent3D, Component, DerivedMetaNotPOD, WithID)
{
    RegisterModelMembers(reg);
    // The two flags live in the renderer's model.
    reg.MemberAt("m_acceptsDecals", [](GraphicsComponent3D& c) -> bool& { return c.AcceptsDecalsFlag(); });
    reg.MemberAt("m_instanced", [](GraphicsComponent3D& c) -> bool& { return c.InstancedFlag(); });
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
    ApplyNames();
}

void GraphicsComponent3D::Uninitialize()
{
    if (GraphicsSystem* graphics = FindGraphicsSystem(*this, "GraphicsComponent3D")) {
        graphics->UnregisterGraphicsComponent3D(this);
    }
}

} // namespace quellor
