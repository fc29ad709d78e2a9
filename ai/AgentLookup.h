#pragma once
// Finds the components an AI component or tree node needs on its agent and on the players it
// looks at. A missing one is reported once per entity and component kind, naming the reporter,
// the agent and the entity, so a mis-built archetype shows in the log without a line every
// frame; the caller then gives its neutral result instead of reading through null.
#include "engine/Entity.h"

#include <cstdint>
#include <set>
#include <string>
#include <utility>

namespace quellor {

class RigidBodyComponent3D;

class AgentLookup {
public:
    explicit AgentLookup(const char* reporter) : m_reporter(reporter) {}

    // The entity's component of type T; null (reported) without an entity or such a component.
    template<typename T>
    T* Find(const Entity* agent, const Entity* entity)
    {
        T* component = entity ? entity->GetComponent<T>() : nullptr;
        if (!component)
            Report(agent, entity, T::ID);
        return component;
    }

    // The entity's RigidBodyComponent3D while it has a body; a component without one (no
    // physics system) counts as missing, because its getters read the body.
    RigidBodyComponent3D* Body(const Entity* agent, const Entity* entity);

private:
    void Report(const Entity* agent, const Entity* entity, const std::string& component);

    const char* m_reporter;
    std::set<std::pair<std::uint64_t, std::string>> m_reported;
};

} // namespace quellor
