#include "frontend/screens/LevelProps.h"

#include "engine/ActionList.h"
#include "engine/Entity.h"
#include "engine/SetValue.h"
#include "engine/Transform3D.h"
#include "engine/TweenTo.h"
#include "engine/graphics/GraphicsComponent3D.h"

namespace quellor {

namespace {

GraphicsComponent3D* PropModel(Entity* entity)
{
    return entity ? entity->GetComponent<GraphicsComponent3D>() : nullptr;
}

} // namespace

Transform3D* PropTransform(Entity* entity)
{
    return entity ? entity->GetComponent<Transform3D>() : nullptr;
}

void SetPropMaterial(Entity* entity, const std::string& material)
{
    if (GraphicsComponent3D* model = PropModel(entity))
        model->SetMaterial(material);
}

void SetPropModel(Entity* entity, const std::string& name)
{
    if (GraphicsComponent3D* model = PropModel(entity))
        model->SetModel(name);
}

void SetPropScale(Entity* entity, float scale)
{
    if (Transform3D* transform = PropTransform(entity))
        transform->SetScale(scale, scale, scale);
}

ActionList* MakeCheckMarkFlow(Entity* check, bool shown, float scale, float seconds, int easing)
{
    Transform3D* transform = PropTransform(check);
    if (!transform)
        return nullptr;
    const float to = shown ? scale : 0.0f;
    Action* sides = MakeParallel(new SetValue(&transform->m_scaleX, to), new SetValue(&transform->m_scaleZ, to));
    Action* height = new TweenTo(&transform->m_scaleY, seconds, to, easing, true, false);
    return shown ? MakeSequence(sides, height) : MakeSequence(height, sides);
}

} // namespace quellor
