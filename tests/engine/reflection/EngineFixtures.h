#pragma once
// Reflected components and actions for the tests of the engine classes' records.
#include <string>

#include "engine/Action.h"
#include "engine/Component.h"
#include "engine/reflection/Quat.h"
#include "engine/reflection/Vec4.h"

namespace quellor::fixtures {

// Nested value types, two adjacent narrow fields, a bool set through a setter, an int and a
// string: the shapes a level file fills.
class ReadFixtureComponent : public Component {
    QUELLOR_REFLECT_KEYED(ReadFixtureComponent)

    void SetEnabled(bool enabled)
    {
        m_enabled = enabled;
        ++m_setEnabledCalls;
    }

    Vec4 m_offset;
    Quat m_turn;
    unsigned char m_low = 10;
    unsigned char m_high = 20;
    bool m_enabled = false;
    int m_count = 0;
    std::string m_label = "fixture";
    int m_setEnabledCalls = 0;
};

// An action that counts how many of it exist and how often one was updated.
class CountedAction : public Action {
    QUELLOR_REFLECT(CountedAction)
    CountedAction() { ++s_live; }
    ~CountedAction() override { --s_live; }
    void Update(float) override { ++s_updates; }
    inline static int s_live = 0;
    inline static int s_updates = 0;
};

// An action class that cannot be made by name.
class UnnamedAction : public Action {
    QUELLOR_REFLECT(UnnamedAction)
    explicit UnnamedAction(int) {}
};

// Registers the records above (and the engine's).
void RegisterEngineFixtures();

} // namespace quellor::fixtures
