#pragma once
// Reflected types for the level and archetype tests: a component that logs its initialisation,
// a component type whose record has no "ID", and a system type whose record has one.
#include "engine/Component.h"
#include "engine/System.h"

#include <string>
#include <vector>

namespace quellor::fixtures {

// Logs "<m_tag>:transform" or "<m_tag>:alone" when initialised, telling whether its entity
// held a Transform2D at that moment.
class OrderProbe : public Component {
    QUELLOR_REFLECT_KEYED(OrderProbe)

    OrderProbe() { ++s_live; }
    OrderProbe(const OrderProbe& other) : Component(other), m_tag(other.m_tag) { ++s_live; }
    ~OrderProbe() override { --s_live; }
    void Initialize() override;

    std::string m_tag;
    inline static std::vector<std::string> s_log;
    inline static int s_live = 0;
};

// A component whose record carries no "ID": it has no key to be added under.
class UnkeyedComponent : public Component {
    QUELLOR_REFLECT(UnkeyedComponent)

    UnkeyedComponent() { ++s_live; }
    UnkeyedComponent(const UnkeyedComponent& other) : Component(other) { ++s_live; }
    ~UnkeyedComponent() override { --s_live; }

    float m_value = 0.0f;
    inline static int s_live = 0;
};

// A system whose record carries "ID": not a component, whatever a file says.
class KeyedSystem : public System {
    QUELLOR_REFLECT_KEYED(KeyedSystem)

    KeyedSystem() { ++s_live; }
    KeyedSystem(const KeyedSystem& other) : System(other) { ++s_live; }
    ~KeyedSystem() override { --s_live; }

    inline static int s_live = 0;
};

// Registers the engine's records and the ones above.
void RegisterLevelFixtures();

} // namespace quellor::fixtures
