#include "engine/Entity.h"

#include "engine/Component.h"
#include "engine/Engine.h"
#include "engine/EntityRef.h"
#include "engine/Space.h"
#include "engine/reflection/MetaRegistrar.h"

#include <algorithm>
#include <atomic>
#include <cstdio>

namespace quellor {

// An entity owns its components, so a copy would free them twice: it is not copied by name.
QUELLOR_RECORD(Entity, QLObject, DerivedMetaNotPODNoCopy, NoID)
{
    reg.Method("GetComponent", static_cast<Component* (Entity::*)(const std::string&) const>(&Entity::GetComponent));
    reg.Method("Name", &Entity::GetName);
}

namespace {
std::atomic<std::uint64_t> g_lastSerial{0};
}

Entity::Entity() : Entity(std::string(), std::string()) {}

std::uint64_t Entity::GetLastSerial()
{
    return g_lastSerial.load(std::memory_order_relaxed);
}

Entity::Entity(std::string name, std::string spaceName)
    : m_name(std::move(name)), m_spaceName(std::move(spaceName)), m_refSlot(EntityRef::Register(this))
    , m_serial(g_lastSerial.fetch_add(1, std::memory_order_relaxed) + 1)
{
}

Entity::~Entity()
{
    EntityRef::Retire(this);
    ReleaseComponents();
    // Whatever still holds this entity's injector must not reach a deleted entity through it.
    std::shared_ptr<Injector> injector = GetInjector();
    if (injector && injector->m_entity == this)
        injector->m_entity = nullptr;
}

Component* Entity::AddComponent(const std::string& typeId, Component* component, bool initialize)
{
    if (!component)
        return nullptr;
    if (component->m_attached) {
        std::printf("Warning: component \"%s\" already belongs to an entity; \"%s\" does not take it\n",
                    component->m_id.c_str(), m_name.c_str());
        return component;
    }
    component->m_attached = true;
    component->m_id = typeId;
    auto found = m_components.find(typeId);
    if (found != m_components.end()) {
        std::printf("Warning: entity \"%s\" already holds a \"%s\"; the new one is not used\n", m_name.c_str(),
                    typeId.c_str());
        m_unmapped.push_back(component);
        return found->second;
    }
    m_components.emplace(typeId, component);
    m_order.push_back(Held{typeId, component});
    component->SetInjector(GetInjector());
    if (initialize)
        component->Initialize();
    return component;
}

Component* Entity::GetComponent(const std::string& typeId) const
{
    auto found = m_components.find(typeId);
    return found == m_components.end() ? nullptr : found->second;
}

bool Entity::HasComponent(const std::string& typeId) const
{
    return m_components.count(typeId) != 0;
}

void Entity::Destroy()
{
    Engine* engine = GetEngine();
    if (!engine)
        return;
    if (Space* space = engine->GetSpace(m_spaceName))
        space->QueueEntity(this);
}

void Entity::ReleaseComponents()
{
    while (!m_order.empty()) {
        Component* component = m_order.front().component;
        component->Uninitialize();
        // Uninitialize may have added components: find this one again.
        auto held = std::find_if(m_order.begin(), m_order.end(),
                                 [component](const Held& entry) { return entry.component == component; });
        if (held != m_order.end()) {
            auto mapped = m_components.find(held->key);
            if (mapped != m_components.end() && mapped->second == component)
                m_components.erase(mapped);
            m_order.erase(held);
        }
        delete component;
    }
    std::vector<Component*> unmapped;
    unmapped.swap(m_unmapped);
    for (Component* component : unmapped)
        delete component;
}

void DestroyRef(EntityRef& ref)
{
    Entity* entity = ref.Get();
    if (entity && !entity->IsDestroyed())
        entity->Destroy();
    ref.Reset();
}

} // namespace quellor
