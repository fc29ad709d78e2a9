#pragma once
// A named object of one space. It owns its components, each held under a type identifier.
#include "engine/EntityRef.h"
#include "engine/IntrusiveList.h"
#include "engine/QLObject.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace quellor {

class Component;
class RigidBodyComponent3D;

class Entity : public QLObject {
    QUELLOR_REFLECT(Entity)

    Entity();
    Entity(std::string name, std::string spaceName);
    // Components are owned: an entity is not copied.
    Entity(const Entity&) = delete;
    Entity& operator=(const Entity&) = delete;
    ~Entity() override;

    // Takes ownership of the component and holds it under typeId, initialising it when asked.
    // A typeId already held keeps its first component: the new one is kept unmapped and
    // uninitialised until the entity goes, and the first one is returned.
    Component* AddComponent(const std::string& typeId, Component* component, bool initialize);

    template<typename T>
    T* AddComponent(bool initialize)
    {
        return dynamic_cast<T*>(AddComponent(T::ID, new T, initialize));
    }

    Component* GetComponent(const std::string& typeId) const;
    bool HasComponent(const std::string& typeId) const;

    // The component held under T::ID, if it is a T.
    template<typename T>
    T* GetComponent() const
    {
        return dynamic_cast<T*>(GetComponent(T::ID));
    }

    template<typename T>
    bool HasComponent() const
    {
        return HasComponent(T::ID);
    }

    // The component held under "RigidBodyComponent3D"; callers make sure there is one. Defined
    // by the physics library, which owns the class.
    RigidBodyComponent3D* GetRigidBody() const;

    // Queues this entity for destruction at the end of the frame. It stays usable until then.
    void Destroy();
    bool IsDestroyed() const { return m_destroyed; }

    // Counts up from 1 across the process in the order entities are constructed, never reused:
    // a stable order for entities that carries no gameplay meaning.
    std::uint64_t GetSerial() const { return m_serial; }
    // The serial of the entity constructed last (0 before the first): it moves whenever an
    // entity is made, even one destroyed in the same frame.
    static std::uint64_t GetLastSerial();

    const std::string& GetName() const { return m_name; }
    const std::string& GetSpaceName() const { return m_spaceName; }
    // The mapped components by type identifier.
    const std::unordered_map<std::string, Component*>& GetComponentMap() const { return m_components; }

private:
    friend class Engine;
    friend class Space;
    friend class EntityRef;

    // Uninitialises and deletes every held component, one at a time in the order they were
    // added (siblings handled earlier are gone), then deletes the unmapped duplicates.
    void ReleaseComponents();

    struct Held {
        std::string key;
        Component* component;
    };

    bool m_destroyed = false;
    std::string m_name;
    std::string m_spaceName;
    std::unordered_map<std::string, Component*> m_components;
    std::vector<Held> m_order;
    std::vector<Component*> m_unmapped;
    IntrusiveLink<Entity> m_spaceLink;
    std::uint32_t m_refSlot;
    std::uint64_t m_serial;
};

// The referenced entity's component of type T, or null (also once the entity has gone).
template<typename T>
T* ComponentOf(const EntityRef& ref)
{
    Entity* entity = ref.Get();
    return entity ? entity->GetComponent<T>() : nullptr;
}

// Queues the entity for destruction, unless it has gone or is queued already, and clears ref.
void DestroyRef(EntityRef& ref);

} // namespace quellor
