#include "engine/reflection/RegisterEngineTypes.h"

#include <mutex>

#include "engine/Action.h"
#include "engine/ActionComponent.h"
#include "engine/BirdGrabComponent.h"
#include "engine/Component.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Input.h"
#include "engine/ObjectSystem.h"
#include "engine/QLObject.h"
#include "engine/SoundSystem.h"
#include "engine/System.h"
#include "engine/Transform2D.h"
#include "engine/Transform3D.h"
#include "engine/graphics/BackdropComponent.h"
#include "engine/graphics/BillboardedQuadComponent.h"
#include "engine/graphics/DecalComponent.h"
#include "engine/graphics/DirectionalLightComponent.h"
#include "engine/graphics/DynamicMeshComponent.h"
#include "engine/graphics/EmitterComponent.h"
#include "engine/graphics/FogComponent.h"
#include "engine/graphics/GraphicsComponent2D.h"
#include "engine/graphics/GraphicsComponent3D.h"
#include "engine/graphics/GraphicsComponent3DSkinned.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/graphics/PointLightComponent.h"
#include "engine/graphics/SpotLightComponent.h"
#include "engine/graphics/SunComponent.h"
#include "engine/graphics/TextComponent.h"
#include "engine/reflection/BuiltinTypes.h"
#include "engine/reflection/Mat2.h"
#include "engine/reflection/Mat4.h"
#include "engine/reflection/Quat.h"
#include "engine/reflection/Vec2.h"
#include "engine/reflection/Vec4.h"

namespace quellor {

void RegisterEngineTypes()
{
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterBuiltinTypes();
        MetaOf<Vec2>();
        MetaOf<Vec4>();
        MetaOf<Quat>();
        MetaOf<Mat2>();
        MetaOf<Mat4>();
        MetaOf<QLObject>();
        MetaOf<Component>();
        MetaOf<Entity>();
        MetaOf<System>();
        MetaOf<Engine>();
        MetaOf<Action>();
        MetaOf<ActionComponent>();
        MetaOf<Transform2D>();
        MetaOf<BirdGrabComponent>();
        MetaOf<Input>();
        MetaOf<Transform3D>();
        MetaOf<GraphicsSystem>();
        MetaOf<GraphicsComponent2D>();
        MetaOf<GraphicsComponent3D>();
        MetaOf<GraphicsComponent3DSkinned>();
        MetaOf<EmitterComponent>();
        MetaOf<DecalComponent>();
        MetaOf<DynamicMeshComponent>();
        MetaOf<BillboardedQuadComponent>();
        MetaOf<DirectionalLightComponent>();
        MetaOf<PointLightComponent>();
        MetaOf<SpotLightComponent>();
        MetaOf<TextComponent>();
        MetaOf<FogComponent>();
        MetaOf<SunComponent>();
        MetaOf<ObjectSystem>();
        MetaOf<SoundSystem>();
        MetaOf<BackdropComponent>();
    });
}

} // namespace quellor
