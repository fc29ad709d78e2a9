#include "engine/graphics/ComponentLookup.h"

#include <cstdio>

#include "engine/Entity.h"
#include "engine/Transform2D.h"
#include "engine/Transform3D.h"
#include "engine/graphics/GraphicsSystem.h"

namespace quellor {

Transform3D* FindTransform3D(const QLObject& object)
{
    Entity* entity = object.GetEntity();
    return entity ? entity->GetComponent<Transform3D>() : nullptr;
}

Transform2D* FindTransform2D(const QLObject& object)
{
    Entity* entity = object.GetEntity();
    return entity ? entity->GetComponent<Transform2D>() : nullptr;
}

GraphicsSystem* FindGraphicsSystem(const QLObject& object, const char* who)
{
    auto* graphics = object.GetSystem<GraphicsSystem>();
    if (!graphics) {
        std::printf("Warning: %s finds no GraphicsSystem in its space; it is not (un)registered\n", who);
    }
    return graphics;
}

} // namespace quellor
