#pragma once
// A mesh rebuilt on the CPU; the base of the gameplay effects, which fill it in their own
// update. It has no fields of its own and its own update does nothing. Its `ID` keys it in its
// entity (code adds it, files never do), so the record carries no "ID".
#include "engine/Component.h"
#include "renderer/DynamicMesh.h"

namespace quellor {

class DynamicMeshComponent : public Component, public ZOR::DynamicMesh {
    QUELLOR_REFLECT_KEYED(DynamicMeshComponent)

    // Creation by name gives room for 60 vertices; subclasses pass their own.
    explicit DynamicMeshComponent(unsigned maxVertices = 60);
    DynamicMeshComponent(const DynamicMeshComponent&) = default;
    ~DynamicMeshComponent() override;

    Component* Clone() const override;
    void Initialize() override;
    void Uninitialize() override;
    void Update(float dt) override;
};

} // namespace quellor
