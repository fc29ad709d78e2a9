#include "engine/Space.h"

#include "engine/System.h"

#include <algorithm>

namespace quellor {

Space::Space(std::string name) : m_name(std::move(name)) {}

// The engine empties a space before deleting it; whatever is still here is freed without
// the shutdown calls.
Space::~Space()
{
    while (Entity* entity = m_entities.Front()) {
        EntityList::Remove(entity);
        delete entity;
    }
    for (System* system : m_systems)
        delete system;
}

Entity* Space::FindEntity(const std::string& name) const
{
    auto found = m_entityMap.find(name);
    return found == m_entityMap.end() ? nullptr : found->second;
}

System* Space::FindSystem(const std::string& name) const
{
    auto found = m_systemMap.find(name);
    return found == m_systemMap.end() ? nullptr : found->second;
}

void Space::QueueEntity(Entity* entity)
{
    if (!entity || entity->m_destroyed || !Owns(entity))
        return;
    entity->m_destroyed = true;
    m_entitiesToDestroy.push_back(entity);
}

void Space::QueueSystem(System* system)
{
    if (!system || system->m_queuedForDestruction || !Owns(system))
        return;
    system->m_queuedForDestruction = true;
    m_systemsToDestroy.push_back(system);
}

bool Space::Owns(const System* system) const
{
    return system && system->m_space == this;
}

} // namespace quellor
