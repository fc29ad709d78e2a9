#include "tests/support/gameplay/PlayerBuilder.h"

#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Transform3D.h"
#include "gameplay/CharacterMotor3D.h"
#include "gameplay/PlayerDataComponent.h"
#include "physics/RigidBodyComponent3D.h"

namespace tarsel::test {

quellor::Entity* BuildPlayer(quellor::Engine& engine, const std::string& name, float x, float y, float z,
                             const PlayerBuild& build)
{
    quellor::Entity* player = engine.CreateEntity(name, "default");
    player->AddComponent<quellor::Transform3D>(true)->SetPosition(x, y, z);
    // A new body starts at the origin until its first sync; its first steps would already
    // touch whatever lies there.
    auto* body = player->AddComponent<quellor::RigidBodyComponent3D>(true);
    if (body && body->GetBody())
        body->SetPosition(quellor::Vec4(x, y, z, 1.0f));
    auto* data = new quellor::PlayerDataComponent;
    data->playerTeam = build.team;
    data->controllerID = build.controllerID;
    data->sphereCollRadius = build.radius;
    player->AddComponent(quellor::PlayerDataComponent::ID, data, true);
    player->AddComponent<quellor::CharacterMotor3D>(true);
    quellor::PlayerBody::AddBodyBox(*player);
    quellor::PlayerBody::AddFloorSensor(*player, build.sensorTag);
    quellor::PlayerBody::SetBodyType(*player);
    return player;
}

quellor::CharacterMotor3D* MotorOf(const quellor::Entity* player)
{
    return player ? player->GetComponent<quellor::CharacterMotor3D>() : nullptr;
}

} // namespace tarsel::test
