#pragma once
// The knock-back shot's beam: a textured tube from the shooter's hand to where the shot ended
// that springs open, collapses and then removes its own entity. The shot writes both ends
// directly after Play; the tube follows them every frame.
#include "engine/graphics/DynamicMeshComponent.h"
#include "renderer/math/float3.h"

#include <string>

namespace quellor {

class SnapshotFxComponent : public DynamicMeshComponent {
    QUELLOR_REFLECT_KEYED(SnapshotFxComponent)

    static constexpr unsigned kMaxVertices = 150;
    static constexpr int kSegments = 16;
    static constexpr float kOpenRadius = 1.5f;
    inline static const std::string kTexture{"shot_pop.dds"};

    SnapshotFxComponent();
    SnapshotFxComponent(const SnapshotFxComponent&) = default;
    ~SnapshotFxComponent() override;

    Component* Clone() const override;
    // Rebuilds the tube at the current radius.
    void Update(float dt) override;

    // On the entity's own flow (an ActionComponent is added when missing): the radius springs
    // from 0 to kOpenRadius over grow seconds, shrinks to 0 over shrink seconds, then the
    // entity is destroyed. Without an entity nothing runs.
    void Play(float growSeconds, float shrinkSeconds);

    float m_radius = 0.0f;
    ZOR::float3 m_from;
    ZOR::float3 m_to;
};

} // namespace quellor
