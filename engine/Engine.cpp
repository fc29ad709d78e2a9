#include "engine/Engine.h"

#include "engine/Entity.h"
#include "engine/EntityRef.h"
#include "engine/Space.h"
#include "engine/Stopwatch.h"
#include "engine/System.h"
#include "engine/reflection/MetaRegistrar.h"

#include <algorithm>
#include <cstdio>

namespace quellor {

Engine* Engine::s_instance = nullptr;

namespace {
const std::string kDefaultSpace = "default";
}

Engine* Engine::Instance()
{
    if (!s_instance)
        s_instance = new Engine;
    return s_instance;
}

void Engine::DestroyInstance()
{
    Engine* engine = s_instance;
    if (!engine || engine->m_tearingDown)
        return;
    if (engine->m_updating) {
        engine->m_destroyRequested = true;
        return;
    }
    engine->TearDown();
    delete engine;
    s_instance = nullptr;
}

Engine::Engine() : m_injector(std::make_shared<Injector>(this, nullptr, kDefaultSpace))
{
    CreateSpace(kDefaultSpace);
}

Engine::~Engine()
{
    // Objects that outlive the engine (actions held elsewhere) must not reach it through their injector.
    m_injector->m_engine = nullptr;
    for (Space* space : m_spaceOrder)
        delete space;
}

// The singleton is neither made nor copied by name: a copy would own the same spaces.
QUELLOR_RECORD(Engine, NoBase, DerivedMetaNotPODNoDefNoCopy, NoID)
{
    reg.Method("GetEntity", static_cast<Entity* (Engine::*)(const std::string&, const std::string&) const>(
                                &Engine::GetEntity));
    reg.Method("GetSystem", static_cast<System* (Engine::*)(const std::string&, const std::string&) const>(
                                &Engine::GetSystem));
}

void Engine::CreateSpace(const std::string& name)
{
    if (m_spaces.count(name))
        return;
    Space* space = new Space(name);
    m_spaces.emplace(name, space);
    m_spaceOrder.push_back(space);
}

void Engine::DestroySpace(const std::string& name)
{
    Space* space = GetSpace(name);
    if (!space || space->m_queuedForDestruction)
        return;
    space->m_queuedForDestruction = true;
    m_spacesToDestroy.push_back(space);
    DestroyAllSystems(name);
    DestroyAllEntities(name);
}

Space* Engine::GetSpace(const std::string& name) const
{
    auto found = m_spaces.find(name);
    return found == m_spaces.end() ? nullptr : found->second;
}

System* Engine::AddSystem(const std::string& name, System* system, const std::string& spaceName)
{
    if (!system)
        return nullptr;
    if (system->m_space) {
        std::printf("Warning: system \"%s\" already belongs to a space; not added again as \"%s\"\n",
                    system->m_name.c_str(), name.c_str());
        return system;
    }
    Space* space = GetSpace(spaceName);
    if (!space) {
        std::printf("Warning: no space \"%s\" for system \"%s\"; the system is freed\n", spaceName.c_str(),
                    name.c_str());
        delete system;
        return nullptr;
    }
    system->m_name = name;
    system->m_space = space;
    space->m_systemMap.emplace(name, system);
    space->m_systems.push_back(system);
    space->m_updateList.push_back(system);
    std::stable_sort(space->m_updateList.begin(), space->m_updateList.end(),
                     [](const System* a, const System* b) { return a->priority > b->priority; });
    // Systems share the engine's injector; in another space they get one naming that space.
    if (spaceName == m_injector->m_spaceName)
        system->SetInjector(m_injector);
    else
        system->SetInjector(std::make_shared<Injector>(this, nullptr, spaceName));
    system->Initialize();
    return system;
}

System* Engine::GetSystem(const std::string& name, const std::string& spaceName) const
{
    Space* space = GetSpace(spaceName);
    return space ? space->FindSystem(name) : nullptr;
}

bool Engine::HasSystem(const std::string& name, const std::string& spaceName) const
{
    return GetSystem(name, spaceName) != nullptr;
}

void Engine::DestroyAllSystems(const std::string& spaceName)
{
    Space* space = GetSpace(spaceName);
    if (!space)
        return;
    // Every owned system, also those added under a name already in use.
    std::vector<System*> systems = space->m_systems;
    for (System* system : systems)
        space->QueueSystem(system);
}

Entity* Engine::CreateEntity(const std::string& name, const std::string& spaceName)
{
    Space* space = GetSpace(spaceName);
    if (!space) {
        std::printf("Warning: no space \"%s\" for entity \"%s\"\n", spaceName.c_str(), name.c_str());
        return nullptr;
    }
    Entity* entity = new Entity(name, spaceName);
    space->m_entityMap.emplace(name, entity);
    space->m_entities.PushBack(entity);
    entity->SetInjector(Injector::CreateEntityInjector(this, entity, spaceName));
    return entity;
}

Entity* Engine::GetEntity(const std::string& name, const std::string& spaceName) const
{
    Space* space = GetSpace(spaceName);
    return space ? space->FindEntity(name) : nullptr;
}

bool Engine::HasEntity(const std::string& name, const std::string& spaceName) const
{
    return GetEntity(name, spaceName) != nullptr;
}

void Engine::DestroyEntity(const std::string& name, const std::string& spaceName)
{
    Space* space = GetSpace(spaceName);
    if (space)
        space->QueueEntity(space->FindEntity(name));
}

void Engine::DestroyAllEntities(const std::string& spaceName)
{
    Space* space = GetSpace(spaceName);
    if (!space)
        return;
    // Every owned entity, also those created under a name already in use.
    for (Entity* entity : space->m_entities)
        space->QueueEntity(entity);
}

void Engine::DestroyDefaultEntities()
{
    DestroyAllEntities(kDefaultSpace);
}

void Engine::Update(float dt)
{
    if (m_updating) {
        std::printf("Warning: Engine::Update called from inside a frame; ignored\n");
        return;
    }
    m_updating = true;
    Stopwatch stopwatch;
    // Spaces and systems are only deleted at the end of the frame, so copies of the lists stay
    // valid while systems add spaces or systems during the passes. Spaces are only appended:
    // the ones there at the start are the first ones. The systems' copy keeps its capacity.
    const std::size_t spaceCount = m_spaceOrder.size();
    std::vector<System*>& systems = m_passSystems;
    for (std::size_t s = 0; s < spaceCount; ++s) {
        Space* space = m_spaceOrder[s];
        // One pass over the systems active when each is reached, timing the step into `time`.
        const auto pass = [&](void (System::*step)(float), float System::*time) {
            systems.assign(space->m_updateList.begin(), space->m_updateList.end());
            for (System* system : systems) {
                if (!system->IsActive())
                    continue;
                stopwatch.Start();
                (system->*step)(dt);
                system->*time = stopwatch.Stop();
                if (time == &System::m_postUpdateTime)
                    system->m_totalTime = system->m_updateTime + system->m_preUpdateTime + system->m_postUpdateTime;
            }
        };
        pass(&System::PreUpdate, &System::m_preUpdateTime);
        pass(&System::Update, &System::m_updateTime);
        pass(&System::PostUpdate, &System::m_postUpdateTime);
        for (System* system : space->m_updateList) {
            if (!system->IsActive())
                continue;
            system->m_preUpdateTime = 0.0f;
            system->m_updateTime = 0.0f;
            system->m_postUpdateTime = 0.0f;
        }
    }
    ProcessDestroyed();
    m_time += dt;
    ++m_frameCount;
    m_updating = false;

    if (m_destroyRequested && s_instance == this) {
        TearDown();
        s_instance = nullptr;
        delete this;
    }
}

// Destroys everything queued, also what is queued while this runs (a component's Uninitialize
// or a system's Shutdown may queue more), in the order components, entities, systems, spaces.
void Engine::ProcessDestroyed()
{
    for (;;) {
        bool worked = false;
        // Destroying may append spaces, never remove one: the ones there now come first.
        const std::size_t spaceCount = m_spaceOrder.size();
        for (std::size_t s = 0; s < spaceCount; ++s)
            worked |= ProcessSpace(*m_spaceOrder[s]);
        if (m_spacesToDestroy.empty()) {
            if (!worked)
                return;
            continue;
        }
        std::vector<Space*> doomed;
        doomed.swap(m_spacesToDestroy);
        for (Space* space : doomed) {
            // Whatever the space still owns (made after it was queued) goes with it.
            while (!space->m_entities.Empty() || !space->m_systems.empty()) {
                for (Entity* entity : space->m_entities)
                    space->QueueEntity(entity);
                for (System* system : std::vector<System*>(space->m_systems))
                    space->QueueSystem(system);
                ProcessSpace(*space);
            }
            m_spaces.erase(space->m_name);
            m_spaceOrder.erase(std::find(m_spaceOrder.begin(), m_spaceOrder.end(), space));
            delete space;
        }
    }
}

bool Engine::ProcessSpace(Space& space)
{
    bool worked = false;
    for (std::size_t i = 0; i < space.m_entitiesToDestroy.size(); ++i) {
        DestroyQueuedEntity(space, space.m_entitiesToDestroy[i]);
        worked = true;
    }
    space.m_entitiesToDestroy.clear();
    for (std::size_t i = 0; i < space.m_systemsToDestroy.size(); ++i) {
        DestroyQueuedSystem(space, space.m_systemsToDestroy[i]);
        worked = true;
    }
    space.m_systemsToDestroy.clear();
    return worked;
}

void Engine::DestroyQueuedEntity(Space& space, Entity* entity)
{
    // From here on weak references no longer find it.
    EntityRef::Retire(entity);
    entity->ReleaseComponents();
    auto mapped = space.m_entityMap.find(entity->m_name);
    if (mapped != space.m_entityMap.end() && mapped->second == entity)
        space.m_entityMap.erase(mapped);
    Space::EntityList::Remove(entity);
    delete entity;
}

void Engine::DestroyQueuedSystem(Space& space, System* system)
{
    system->Shutdown();
    auto mapped = space.m_systemMap.find(system->m_name);
    if (mapped != space.m_systemMap.end() && mapped->second == system)
        space.m_systemMap.erase(mapped);
    std::erase(space.m_updateList, system);
    std::erase(space.m_systems, system);
    delete system;
}

// Empties every space (components and entities, then systems in the order they were added,
// then the spaces) with the same destruction a frame ends with.
void Engine::TearDown()
{
    m_tearingDown = true;
    while (!m_spaceOrder.empty()) {
        for (Space* space : std::vector<Space*>(m_spaceOrder))
            DestroySpace(space->m_name);
        ProcessDestroyed();
    }
}

} // namespace quellor
