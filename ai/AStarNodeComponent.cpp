#include "ai/AStarNodeComponent.h"

#include "ai/AISystem.h"
#include "ai/pathfinding/NavGraph.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Transform3D.h"
#include "engine/reflection/MetaRegistrar.h"
#include "renderer/DebugDrawer.h"

#include <cmath>
#include <cstdio>

namespace quellor {

QUELLOR_RECORD(AStarNodeComponent, Component, DerivedMetaNotPODNoCopy, WithID)
{
    // "ID" follows the members; the accessors are bound to the int "m_id", which is not the
    // string "m_id" of Component.
    reg.Member(QL_FIELD(m_id)).Getter(QL_METHOD(GetID)).Setter(QL_METHOD(SetID));
    reg.Member(QL_FIELD(m_edge0));
    reg.Member(QL_FIELD(m_edge1));
    reg.Member(QL_FIELD(m_edge2));
    reg.Member(QL_FIELD(m_edge3));
    reg.Member(QL_FIELD(m_edge4));
    reg.Member(QL_FIELD(m_radius));
}

namespace {

bool IsNodeId(int id)
{
    return id >= 0 && static_cast<unsigned>(id) <= NavGraph::kMaxNodeId;
}

} // namespace

AStarNodeComponent::~AStarNodeComponent()
{
    // A linked component's system is still there (its list unlinks everything when it goes).
    if (m_aiLink.IsLinked() && m_system)
        m_system->ForgetNodeComponent(this);
}

const char* AStarNodeComponent::EntityName() const
{
    Entity* entity = GetEntity();
    return entity ? entity->GetName().c_str() : "?";
}

void AStarNodeComponent::Initialize()
{
    m_registeredId = -1;
    m_system = GetSystem<AISystem>();
    if (!m_system) {
        std::printf("Warning: no AISystem in the space of \"%s\"; its navigation node is not placed\n", EntityName());
        return;
    }
    m_initialized = true;
    m_system->RegisterAStarNodeComponent(this);
    if (m_id == -1)
        return;
    PlaceNode(*m_system);
}

void AStarNodeComponent::PlaceNode(AISystem& system)
{
    if (!IsNodeId(m_id)) {
        std::printf("Warning: navigation node id %d of \"%s\" is outside -1..%u; no node is placed\n", m_id,
                    EntityName(), NavGraph::kMaxNodeId);
        return;
    }
    Entity* entity = GetEntity();
    Transform3D* transform = entity ? entity->GetComponent<Transform3D>() : nullptr;
    if (!transform) {
        std::printf("Warning: \"%s\" has no Transform3D; its navigation node %d is not placed\n", EntityName(), m_id);
        return;
    }
    const Vec4 position = transform->GetPosition();
    if (!std::isfinite(position.x) || !std::isfinite(position.y) || !std::isfinite(position.z)) {
        std::printf("Warning: \"%s\" stands at a position that is not finite; its navigation node %d is not placed\n",
                    EntityName(), m_id);
        return;
    }
    const std::uint32_t id = static_cast<std::uint32_t>(m_id);
    // A second component of an id adds only its edges; it must not take the first one's node
    // with it when it goes.
    const bool added = system.AddNode(position, m_radius, id);
    system.RegisterNodeComponent(id, this);
    for (const GraphEdge* edge : {&m_edge0, &m_edge1, &m_edge2, &m_edge3, &m_edge4}) {
        if (edge->to == -1)
            continue;
        if (!IsNodeId(edge->to)) {
            std::printf("Warning: an edge of \"%s\" leads to id %d, outside 0..%u; the edge is not added\n",
                        EntityName(), edge->to, NavGraph::kMaxNodeId);
            continue;
        }
        if (!std::isfinite(edge->cost)) {
            std::printf("Warning: the edge of \"%s\" to %d has a cost that is not finite (%f); the edge is not added\n",
                        EntityName(), edge->to, static_cast<double>(edge->cost));
            continue;
        }
        system.AddEdge(id, static_cast<std::uint32_t>(edge->to), edge->cost, static_cast<std::uint32_t>(edge->type));
    }
    if (added)
        m_registeredId = m_id;
}

void AStarNodeComponent::LeaveIdMap(AISystem& system) const
{
    // An id held by another component (the first of a duplicate id) stays with it.
    AStarNodeComponent* holder = nullptr;
    if (system.GetNodeComponent(static_cast<std::uint32_t>(m_id), holder) && holder == this)
        system.UnregisterNodeComponent(static_cast<std::uint32_t>(m_id));
}

void AStarNodeComponent::Uninitialize()
{
    if (m_system) {
        LeaveIdMap(*m_system);
        if (m_registeredId != -1)
            m_system->RemoveNode(static_cast<std::uint32_t>(m_registeredId));
        m_system->UnregisterAStarNodeComponent(this);
    }
    m_aiLink.Unlink();
    m_registeredId = -1;
    m_system = nullptr;
    m_initialized = false;
}

void AStarNodeComponent::SetID(int id)
{
    // While the component is being read it has no place in the map yet: Initialize registers
    // it. Registering here would leave a dangling entry behind a component never initialised.
    if (m_initialized) {
        if (AISystem* system = DefaultSystem<AISystem>()) {
            LeaveIdMap(*system);
            system->RegisterNodeComponent(static_cast<std::uint32_t>(id), this);
        }
    }
    m_id = id;
}

void AStarNodeComponent::DebugDraw(ZOR::DebugDrawer* drawer)
{
    Entity* entity = GetEntity();
    Transform3D* transform = entity ? entity->GetComponent<Transform3D>() : nullptr;
    if (!drawer || !transform)
        return;
    const Vec4 p = transform->GetPosition();
    drawer->SetPenPosition(p.x, p.y, p.z);
    drawer->SetPenColor(0.0f, 1.0f, 0.4f);
    drawer->SetObjectScale(3.0f, 3.0f, 3.0f);
    drawer->Cube();
    drawer->SetObjectScale(1.0f, 1.0f, 1.0f);
    drawer->SetPenColor(0.0f, 1.0f, 1.0f);
    AISystem* system = DefaultSystem<AISystem>();
    for (const GraphEdge* edge : {&m_edge0, &m_edge1, &m_edge2, &m_edge3, &m_edge4}) {
        AStarNodeComponent* target = nullptr;
        if (edge->to == -1 || !system || !system->GetNodeComponent(static_cast<std::uint32_t>(edge->to), target))
            continue;
        Entity* targetEntity = target->GetEntity();
        Transform3D* targetTransform = targetEntity ? targetEntity->GetComponent<Transform3D>() : nullptr;
        if (!targetTransform)
            continue;
        const Vec4 q = targetTransform->GetPosition();
        drawer->Line(ZOR::float3(q.x, q.y, q.z));
    }
    drawer->Circle(m_radius);
}

} // namespace quellor
