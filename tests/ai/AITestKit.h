#pragma once
// A fresh engine with a PhysicsSystem3D and an AISystem in "default" (the AI records
// registered), behaviours and states that record what is asked of them, and helpers for
// entities with a transform, a body and AI components.
#include "tests/physics/PhysicsSystemTestKit.h"

#include "ai/AISystem.h"
#include "ai/RegisterAITypes.h"
#include "ai/State.h"
#include "ai/StateMachine.h"
#include "ai/steering/SteeringBehavior.h"
#include "ai/steering/SteeringComponent.h"

#include <functional>
#include <string>
#include <vector>

namespace quellor::test {

// Writes a fixed output (either part may be left alone), counts its calls, logs its name and
// runs an optional hook from inside its Calculate.
class ScriptedBehavior : public SteeringBehavior {
public:
    explicit ScriptedBehavior(std::string name = "", std::vector<std::string>* log = nullptr)
        : m_name(std::move(name)), m_log(log)
    {
    }
    SteeringBehavior* Clone() const override { return new ScriptedBehavior(*this); }

    void Calculate(SteeringOutput& out) override
    {
        ++calls;
        if (m_log)
            m_log->push_back(m_name);
        if (writesLinear)
            out.linear = linear;
        if (writesAngular)
            out.angular = angular;
        if (hook)
            hook();
    }

    ScriptedBehavior* Linear(const Vec4& v)
    {
        linear = v;
        writesLinear = true;
        return this;
    }
    ScriptedBehavior* Angular(const Quat& q)
    {
        angular = q;
        writesAngular = true;
        return this;
    }

    Vec4 linear;
    Quat angular;
    bool writesLinear = false;
    bool writesAngular = false;
    int calls = 0;
    std::function<void()> hook;

private:
    std::string m_name;
    std::vector<std::string>* m_log;
};

// Logs "Enter <name>", "Update <name>" and "Exit <name>".
class RecordingState : public State {
public:
    RecordingState(std::string name, std::vector<std::string>& log) : m_name(std::move(name)), m_log(&log) {}

    void Enter(Entity*) override { m_log->push_back("Enter " + m_name); }
    void Update(Entity*, float) override
    {
        m_log->push_back("Update " + m_name);
        if (hook)
            hook();
    }
    void Exit(Entity*) override { m_log->push_back("Exit " + m_name); }

    std::function<void()> hook;

private:
    std::string m_name;
    std::vector<std::string>* m_log;
};

inline bool Always(Entity*)
{
    return true;
}

inline bool Never(Entity*)
{
    return false;
}

class AITest : public PhysicsSystemTest {
protected:
    void SetUp() override
    {
        PhysicsSystemTest::SetUp();
        RegisterAITypes();
        ai = static_cast<AISystem*>(engine->AddSystem(AISystem::ID, new AISystem, "default"));
    }

    // An entity of "default" with a transform at p and, when asked, a rigid body (in the world
    // from the first physics update on).
    Entity* Agent(const std::string& name, const ZOR::float3& p, bool withBody = true)
    {
        if (withBody)
            return Body(name, p);
        Entity* entity = engine->CreateEntity(name, "default");
        entity->AddComponent<Transform3D>(true)->SetPosition(p.x, p.y, p.z);
        return entity;
    }

    static SteeringComponent* Steer(Entity* entity, SteeringBehavior* behavior = nullptr)
    {
        auto* steering = entity->AddComponent<SteeringComponent>(true);
        if (behavior)
            steering->SetBehavior(behavior);
        return steering;
    }

    // Frames of 1/60 s through the whole engine (physics, AI, end-of-frame destruction).
    void Frames(int count)
    {
        for (int i = 0; i < count; ++i)
            engine->Update(1.0f / 60.0f);
    }

    AISystem* ai = nullptr;
};

} // namespace quellor::test
