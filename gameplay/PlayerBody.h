#pragma once
// The steps of a player's set-up that give it its physical shape, shared by the person's and
// the computer player's set-ups: the body box, the floor sensor that the character motor reads,
// and the body type. With r the player's sphereCollRadius, the box is (0.5r, 2r, 0.5r) around
// (0, r + 1, 0) and the sensor (0.5r, 0.5, 0.5r) around the body's origin. The motor places the
// body itself, so the body neither turns nor falls.
#include <string>

namespace quellor {

class BoxColliderComponent3D;
class Entity;

class PlayerBody {
public:
    // The key the floor sensor is held under, in place of its type name.
    inline static const std::string kFloorSensorKey{"FloorBoxSensor"};

    // A person's sensor is tagged as a character like the body box; a computer player's keeps
    // the collider default.
    enum class SensorTag { Character, ColliderDefault };

    // Adds the body box, tagged as a character (m_pType 1) so that other motors' rays pass it.
    static BoxColliderComponent3D* AddBodyBox(Entity& player);
    // Adds the floor sensor under kFloorSensorKey and hands it to the entity's motor.
    static BoxColliderComponent3D* AddFloorSensor(Entity& player, SensorTag tag);
    // Type 2 (fixed: keeps its velocity, does not move), no rotation, no gravity. Called in
    // the frame the boxes are added: the mass is worked out when they attach.
    static void SetBodyType(Entity& player);
};

} // namespace quellor
