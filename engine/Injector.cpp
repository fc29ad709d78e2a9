#include "engine/Injector.h"

namespace quellor {

std::shared_ptr<Injector> Injector::CreateEntityInjector(Engine* engine, Entity* entity, const std::string& spaceName)
{
    return std::make_shared<Injector>(engine, entity, spaceName);
}

} // namespace quellor
