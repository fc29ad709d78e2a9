#pragma once
// Makes a player entity of the space "default" as the player set-up will: Transform3D at the
// given place, RigidBodyComponent3D, PlayerDataComponent, CharacterMotor3D, then the set-up's
// body box, floor sensor and body type (gameplay/PlayerBody). Shared by the motor tests and the
// gameplay benchmark. The player is not joined to the match.
#include "gameplay/PlayerBody.h"

#include <string>

namespace quellor {
class CharacterMotor3D;
class Engine;
class Entity;
} // namespace quellor

namespace tarsel::test {

struct PlayerBuild {
    std::string team = "red";
    int controllerID = -1;
    float radius = 1.0f; // sphereCollRadius
    quellor::PlayerBody::SensorTag sensorTag = quellor::PlayerBody::SensorTag::Character;
};

quellor::Entity* BuildPlayer(quellor::Engine& engine, const std::string& name, float x, float y, float z,
                             const PlayerBuild& build = {});
// The player's motor; null for an entity without one.
quellor::CharacterMotor3D* MotorOf(const quellor::Entity* player);

} // namespace tarsel::test
