#pragma once
// The engine singleton: named spaces of entities and systems, the once-a-frame update with its
// three timed passes, and the destruction of what was queued during the frame.
#include "engine/Injector.h"
#include "engine/reflection/Reflected.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace quellor {

class Entity;
class Space;
class System;

class Engine {
    QUELLOR_REFLECT_ROOT(Engine)

    // The singleton, created on first use with the space "default".
    static Engine* Instance();
    // Whether the singleton exists, without making it.
    static bool HasInstance() { return s_instance != nullptr; }
    // The singleton or null; for code that runs after start-up and must not make an engine.
    static Engine* Existing() { return s_instance; }
    // Shuts every system down and frees everything, then clears the singleton; a later
    // Instance() makes a new engine. Asked for during Update, it happens when Update returns.
    static void DestroyInstance();

    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    void CreateSpace(const std::string& name);
    // Queues the space with all its entities and systems; they go at the end of the frame.
    void DestroySpace(const std::string& name);
    Space* GetSpace(const std::string& name) const;

    // Takes ownership of the system, maps it under name (the first system of a name stays
    // mapped), adds it to the update list and initialises it. Returns the system, or null
    // (and frees it) when the space does not exist.
    System* AddSystem(const std::string& name, System* system, const std::string& spaceName);
    System* GetSystem(const std::string& name, const std::string& spaceName) const;
    bool HasSystem(const std::string& name, const std::string& spaceName) const;
    void DestroyAllSystems(const std::string& spaceName);

    template<typename T>
    T* GetSystem(const std::string& spaceName) const
    {
        return dynamic_cast<T*>(GetSystem(T::ID, spaceName));
    }

    // A new entity owned by the space. A name already used still gives a new entity, but
    // lookups by that name find the first. Null when the space does not exist.
    Entity* CreateEntity(const std::string& name, const std::string& spaceName);
    Entity* GetEntity(const std::string& name, const std::string& spaceName) const;
    bool HasEntity(const std::string& name, const std::string& spaceName) const;
    void DestroyEntity(const std::string& name, const std::string& spaceName);
    void DestroyAllEntities(const std::string& spaceName);
    void DestroyDefaultEntities();

    // One frame of dt seconds.
    void Update(float dt);

    float GetTime() const { return m_time; }
    std::uint32_t GetFrameCount() const { return m_frameCount; }
    std::shared_ptr<Injector> GetInjector() const { return m_injector; }

private:
    Engine();
    virtual ~Engine();

    void ProcessDestroyed();
    bool ProcessSpace(Space& space);
    void DestroyQueuedEntity(Space& space, Entity* entity);
    void DestroyQueuedSystem(Space& space, System* system);
    void TearDown();

    std::unordered_map<std::string, Space*> m_spaces;
    std::vector<Space*> m_spaceOrder; // creation order, the order in which spaces are visited
    std::vector<Space*> m_spacesToDestroy;
    std::vector<System*> m_passSystems; // the update list a pass of Update walks, copied
    std::shared_ptr<Injector> m_injector;
    float m_time = 0.0f;
    std::uint32_t m_frameCount = 0;
    bool m_updating = false;
    bool m_destroyRequested = false;
    bool m_tearingDown = false;

    static Engine* s_instance;
};

// The system of type T in "default", or null without an engine or such a system. Objects made
// before they join a space (level reading, the record's New) reach the game's systems this way.
template<typename T>
T* DefaultSystem()
{
    Engine* engine = Engine::Existing();
    return engine ? engine->GetSystem<T>("default") : nullptr;
}

} // namespace quellor
