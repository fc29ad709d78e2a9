#include "engine/graphics/GraphicsComponent3DSkinned.h"

#include "engine/graphics/ComponentLookup.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(GraphicsComponent3DSkinned, Component, DerivedMetaNotPOD, WithID)
{
    RegisterModelMembers(reg);
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
    ApplyNames();
}

void GraphicsComponent3DSkinned::Uninitialize()
{
    if (GraphicsSystem* graphics = FindGraphicsSystem(*this, "GraphicsComponent3DSkinned")) {
        graphics->UnregisterGraphicsComponent3DSkinned(this);
    }
}

} // namespace quellor
