#include "frontend/screens/LevelProps.h"

#include "engine/ActionList.h"
#include "engine/SetValue.h"
#include "engine/Transform3D.h"
#include "engine/TweenTo.h"
#include "engine/graphics/GraphicsComponent2D.h"
#include "engine/graphics/GraphicsComponent3D.h"

namespace quellor {

GraphicsComponent2D* SpriteOf(const EntityRef& ref)
{
    return ComponentOf<GraphicsComponent2D>(ref);
}

void SetPropMaterial(const EntityRef& ref, const std::string& material)
{
    if (auto* model = ComponentOf<GraphicsComponent3D>(ref))
        model->SetMaterial(material);
}

void SetPropModel(const EntityRef& ref, const std::string& name)
{
    if (auto* model = ComponentOf<GraphicsComponent3D>(ref))
        model->SetModel(name);
}

void SetPropScale(const EntityRef& ref, float scale)
{
    if (Transform3D* transform = ComponentOf<Transform3D>(ref))
        transform->SetScale(scale, scale, scale);
}

ActionList* MakeCheckMarkFlow(const EntityRef& check, bool shown, float scale, float seconds, int easing)
{
    Transform3D* transform = ComponentOf<Transform3D>(check);
    if (!transform)
        return nullptr;
    const float to = shown ? scale : 0.0f;
    Action* sides = MakeParallel(new SetValue(&transform->m_scaleX, to), new SetValue(&transform->m_scaleZ, to));
    Action* height = new TweenTo(&transform->m_scaleY, seconds, to, easing, true, false);
    return shown ? MakeSequence(sides, height) : MakeSequence(height, sides);
}

} // namespace quellor
