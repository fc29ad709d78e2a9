#pragma once
// The context an engine object works in: its engine, its owning entity (none for systems and
// the engine itself) and the name of its space. Always held through a shared handle, which the
// engine gives its systems, an entity its components and an action list its actions.
#include <memory>
#include <string>

namespace quellor {

class Engine;
class Entity;

class Injector {
public:
    Injector() = default;
    Injector(Engine* engine, Entity* entity, std::string spaceName)
        : m_engine(engine), m_entity(entity), m_spaceName(std::move(spaceName))
    {
    }

    static std::shared_ptr<Injector> CreateEntityInjector(Engine* engine, Entity* entity,
                                                          const std::string& spaceName);

    Engine* m_engine = nullptr;
    Entity* m_entity = nullptr;
    std::string m_spaceName;
};

} // namespace quellor
