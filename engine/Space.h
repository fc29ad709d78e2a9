#pragma once
// A named part of the engine. It owns every entity and system added to it; the name maps used
// for lookups keep the first object of each name. It also holds the update list (the order of
// the three passes) and what is queued for destruction at the end of the frame.
#include "engine/Entity.h"
#include "engine/IntrusiveList.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace quellor {

class System;

class Space {
public:
    explicit Space(std::string name);
    Space(const Space&) = delete;
    Space& operator=(const Space&) = delete;
    ~Space();

    const std::string& GetName() const { return m_name; }

    Entity* FindEntity(const std::string& name) const;
    System* FindSystem(const std::string& name) const;

    // Queues an entity or system this space owns; once only, until it is gone.
    void QueueEntity(Entity* entity);
    void QueueSystem(System* system);

    bool Owns(const Entity* entity) const { return EntityList::Contains(entity, m_entities); }
    bool Owns(const System* system) const;

    const std::vector<System*>& GetUpdateList() const { return m_updateList; }
    // Entities by name (the first of each name), for tools that visit them all.
    const std::unordered_map<std::string, Entity*>& GetEntityMap() const { return m_entityMap; }
    // Every entity it owns, names shared or not, in creation order.
    const IntrusiveListBase<Entity>& GetEntities() const { return m_entities; }

private:
    friend class Engine;
    using EntityList = IntrusiveList<Entity, &Entity::m_spaceLink>;

    std::string m_name;
    std::unordered_map<std::string, Entity*> m_entityMap;
    std::unordered_map<std::string, System*> m_systemMap;
    std::vector<System*> m_updateList;
    std::vector<Entity*> m_entitiesToDestroy;
    std::vector<System*> m_systemsToDestroy;
    // What the space owns: entities in creation order, systems in the order they were added.
    EntityList m_entities;
    std::vector<System*> m_systems;
    bool m_queuedForDestruction = false;
};

} // namespace quellor
