#pragma once
// Places one navigation node at its entity's position, with a radius and up to five outgoing
// edges from level data. On Initialize it adds them to the graph of its space's AI system and
// registers itself under the node id; on Uninitialize it takes them out again.
#include "ai/GraphEdge.h"
#include "engine/Component.h"
#include "engine/IntrusiveList.h"

namespace quellor {

class AISystem;

class AStarNodeComponent : public Component {
    QUELLOR_REFLECT_KEYED(AStarNodeComponent)

    AStarNodeComponent() = default;
    AStarNodeComponent(const AStarNodeComponent&) = delete;
    AStarNodeComponent& operator=(const AStarNodeComponent&) = delete;
    // Erases any id-map entry that still names this component.
    ~AStarNodeComponent() override;

    // Adds the node (unless m_id is -1 or refused) and its edges.
    void Initialize() override;
    // Removes the node added under the registered id and leaves the AI system.
    void Uninitialize() override;
    // A cube at the node, lines to the neighbours that have a registered component, its circle.
    void DebugDraw(ZOR::DebugDrawer* drawer) override;

    int GetID() const { return m_id; }
    // Re-keys the component in the AI system's id map once initialised (the graph node stays
    // under its old id); before that, only stores the id, which Initialize registers.
    void SetID(int id);
    // The id the node was added under, -1 for none (test hook).
    int GetRegisteredID() const { return m_registeredId; }

    IntrusiveLink<AStarNodeComponent> m_aiLink;
    int m_id = -1;
    GraphEdge m_edge0;
    GraphEdge m_edge1;
    GraphEdge m_edge2;
    GraphEdge m_edge3;
    GraphEdge m_edge4;
    float m_radius = 0.0f;

private:
    const char* EntityName() const;
    // Adds the node and its edges to the system; warns and adds nothing for refused data.
    void PlaceNode(AISystem& system);
    // Erases the id-map entry under m_id when it names this component.
    void LeaveIdMap(AISystem& system) const;

    int m_registeredId = -1;
    // The system whose lists hold this component while it is initialised.
    AISystem* m_system = nullptr;
    bool m_initialized = false;
};

} // namespace quellor
