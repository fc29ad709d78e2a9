#pragma once
// Root of every engine object. It holds a shared Injector that names the object's engine,
// entity and space, through which objects find their peers by name.
#include "engine/Injector.h"
#include "engine/reflection/Reflected.h"

#include <memory>
#include <string>

namespace quellor {

class System;

class QLObject {
    QUELLOR_REFLECT_ROOT(QLObject)

    QLObject() = default;
    // A copy shares its source's injector until it is given one of its own.
    QLObject(const QLObject&) = default;
    QLObject& operator=(const QLObject&) = default;
    virtual ~QLObject();

    std::shared_ptr<Injector> GetInjector() const { return m_injector; }
    void SetInjector(std::shared_ptr<Injector> injector) { m_injector = std::move(injector); }

    Engine* GetEngine() const { return m_injector ? m_injector->m_engine : nullptr; }
    Entity* GetEntity() const { return m_injector ? m_injector->m_entity : nullptr; }
    Entity* GetOwner() const { return GetEntity(); }

    // Seconds accumulated by the engine over all frames; 0 without an engine.
    float GetTime() const;

    // The system mapped under T::ID in the object's own space, if it is a T.
    template<typename T>
    T* GetSystem() const
    {
        return dynamic_cast<T*>(FindSystem(T::ID));
    }

    // The system mapped under a name in the object's own space; null without one.
    System* FindSystem(const std::string& name) const;

private:
    std::shared_ptr<Injector> m_injector;
};

} // namespace quellor
