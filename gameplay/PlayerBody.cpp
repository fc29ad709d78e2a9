#include "gameplay/PlayerBody.h"

#include "engine/Entity.h"
#include "gameplay/CharacterMotor3D.h"
#include "gameplay/PlayerDataComponent.h"
#include "physics/BoxColliderComponent3D.h"
#include "physics/RigidBodyComponent3D.h"
#include "renderer/dx11/RenderContext.h"

namespace quellor {

namespace {

constexpr int kCharacterType = 1;
constexpr int kFixedBody = 2;

float RadiusOf(const Entity& player)
{
    if (const auto* data = player.GetComponent<PlayerDataComponent>())
        return data->sphereCollRadius;
    ZOR::Log("Warning: player \"%s\" has no PlayerDataComponent; its body takes the default radius",
             player.GetName().c_str());
    return PlayerDataComponent().sphereCollRadius;
}

// The box held under the key: the new one, or one the entity already held there.
BoxColliderComponent3D* Add(Entity& player, const std::string& key, BoxColliderComponent3D* box)
{
    return dynamic_cast<BoxColliderComponent3D*>(player.AddComponent(key, box, true));
}

} // namespace

BoxColliderComponent3D* PlayerBody::AddBodyBox(Entity& player)
{
    const float r = RadiusOf(player);
    auto* box = new BoxColliderComponent3D;
    box->SetHalfExtents(Vec4(0.5f * r, 2.0f * r, 0.5f * r, 0.0f));
    box->SetCenter(Vec4(0.0f, r + 1.0f, 0.0f, 0.0f));
    box->SetPType(kCharacterType);
    return Add(player, BoxColliderComponent3D::ID, box);
}

BoxColliderComponent3D* PlayerBody::AddFloorSensor(Entity& player, SensorTag tag)
{
    const float r = RadiusOf(player);
    auto* box = new BoxColliderComponent3D;
    box->SetHalfExtents(Vec4(0.5f * r, 0.5f, 0.5f * r, 0.0f));
    box->SetSensor(true);
    if (tag == SensorTag::Character)
        box->SetPType(kCharacterType);
    BoxColliderComponent3D* sensor = Add(player, kFloorSensorKey, box);
    if (auto* motor = player.GetComponent<CharacterMotor3D>())
        motor->SetFloorSensor(sensor);
    return sensor;
}

void PlayerBody::SetBodyType(Entity& player)
{
    auto* body = player.GetComponent<RigidBodyComponent3D>();
    if (!body) {
        ZOR::Log("Warning: player \"%s\" has no RigidBodyComponent3D to set up", player.GetName().c_str());
        return;
    }
    body->SetType(kFixedBody)->SetAllowRotation(false)->SetHasGravity(false);
}

} // namespace quellor
