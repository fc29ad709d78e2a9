#include "ai/AgentLookup.h"

#include "physics/RigidBodyComponent3D.h"

#include <cstdio>

namespace quellor {

RigidBodyComponent3D* AgentLookup::Body(const Entity* agent, const Entity* entity)
{
    RigidBodyComponent3D* body = entity ? entity->GetComponent<RigidBodyComponent3D>() : nullptr;
    if (body && body->GetBody())
        return body;
    Report(agent, entity, RigidBodyComponent3D::ID);
    return nullptr;
}

void AgentLookup::Report(const Entity* agent, const Entity* entity, const std::string& component)
{
    if (!m_reported.emplace(entity ? entity->GetSerial() : 0, component).second)
        return;
    std::printf("Warning: %s of \"%s\": \"%s\" has no usable %s\n", m_reporter,
                agent ? agent->GetName().c_str() : "?", entity ? entity->GetName().c_str() : "?", component.c_str());
}

} // namespace quellor
