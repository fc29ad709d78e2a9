#include "engine/graphics/DynamicMeshComponent.h"

#include "engine/graphics/ComponentLookup.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(DynamicMeshComponent, Component, DerivedMetaNotPOD, NoID) {}

DynamicMeshComponent::DynamicMeshComponent(unsigned maxVertices) : ZOR::DynamicMesh(maxVertices) {}

DynamicMeshComponent::~DynamicMeshComponent() = default;

Component* DynamicMeshComponent::Clone() const
{
    return new DynamicMeshComponent(*this);
}

void DynamicMeshComponent::Initialize()
{
    if (GraphicsSystem* graphics = FindGraphicsSystem(*this, "DynamicMeshComponent")) {
        graphics->RegisterDynamicMeshComponent(this);
    }
}

void DynamicMeshComponent::Uninitialize()
{
    if (GraphicsSystem* graphics = FindGraphicsSystem(*this, "DynamicMeshComponent")) {
        graphics->UnregisterDynamicMeshComponent(this);
    }
}

void DynamicMeshComponent::Update(float) {}

} // namespace quellor
