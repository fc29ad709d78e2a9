#pragma once
// The water system that water components look for in the space "default". Nothing creates one
// in this program, so the components stay inert; it holds what they would announce: the
// bodies in water and the box of the water volume. It has no reflection record.
#include "engine/System.h"

#include <string>
#include <vector>

namespace quellor {

class WaterPhysicsBounds;
class WaterPhysicsComponent;

class WaterPhysicsSystem : public System {
public:
    inline static const std::string ID{"WaterPhysicsSystem"};

    WaterPhysicsSystem() = default;
    WaterPhysicsSystem(const WaterPhysicsSystem&) = delete;
    WaterPhysicsSystem& operator=(const WaterPhysicsSystem&) = delete;
    ~WaterPhysicsSystem() override;

    // The one of the space "default" of object's engine, if there is one.
    static WaterPhysicsSystem* Find(const QLObject& object);

    std::vector<WaterPhysicsComponent*> m_bodies;
    WaterPhysicsBounds* m_bounds = nullptr;
};

} // namespace quellor
