// Steering behaviours on entities of a physics world: what each reads from the steered entity
// and its target, the zero output when something is missing or gone, the wander turn, the
// owner hand-down through combiners and the arrival test.
#include "tests/ai/AITestKit.h"
#include "tests/ai/SteeringExpect.h"

#include "ai/steering/ArriveAtEntity.h"
#include "ai/steering/BlendedSteering.h"
#include "ai/steering/EvadeEntity.h"
#include "ai/steering/FleeEntity.h"
#include "ai/steering/LookAtEntity.h"
#include "ai/steering/LookAtPosition.h"
#include "ai/steering/PrioritizedSteering.h"
#include "ai/steering/PursueEntity.h"
#include "ai/steering/SeekEntity.h"
#include "ai/steering/SeekPosition.h"
#include "ai/steering/Wander.h"
#include "tests/support/ScriptedRandom.h"
#include "tests/support/StdoutCapture.h"

#include <cmath>
#include <functional>
#include <memory>

namespace quellor::test {
namespace {

using ZOR::float3;

// An output that no behaviour writes by chance.
SteeringOutput Garbage()
{
    SteeringOutput out;
    out.linear = Vec4(7.0f, 7.0f, 7.0f, 7.0f);
    out.angular = Quat(0.5f, 0.5f, 0.5f, 0.5f);
    return out;
}

TEST_F(AITest, SeekPositionSubtractsTheBodysVelocity)
{
    Entity* agent = Agent("agent", float3(1.0f, 0.0f, 0.0f));
    Run(1); // the body takes its place
    agent->GetRigidBody()->SetLinearVelocity(Vec4(1.0f, 0.0f, 2.0f, 0.0f));
    SteeringComponent* steering = Steer(agent, new SeekPosition(Vec4(4.0f, 0.0f, 4.0f, 1.0f), 5.0f));
    steering->Update(0.0f);
    // (3, 0, 4) is 5 long: the seek velocity is (3, 0, 4), less the body's.
    ExpectVec(steering->GetOutput().linear, 2.0f, 0.0f, 2.0f);
    ExpectQuat(steering->GetOutput().angular, 0.0f, 0.0f, 0.0f, 1.0f);

    // Without a body to read the velocity from: the zero output.
    Entity* bare = Agent("bare", float3(1.0f, 0.0f, 0.0f), false);
    SteeringComponent* bareSteering = Steer(bare, new SeekPosition(Vec4(4.0f, 0.0f, 4.0f, 1.0f), 5.0f));
    SteeringOutput out = Garbage();
    bareSteering->GetBehavior()->Calculate(out);
    ExpectZeroOutput(out);
}

TEST_F(AITest, EntityTargetsAreReadWhileTheyLastAndGiveTheZeroOutputOnceGoneOrIncomplete)
{
    Entity* agent = Agent("agent", float3(0.0f, 0.0f, 0.0f));
    Entity* target = Agent("target", float3(0.0f, 0.0f, 4.0f));
    Entity* ghost = Agent("ghost", float3(0.0f, 0.0f, 4.0f), false); // no body
    Entity* empty = engine->CreateEntity("empty", "default");          // no transform either
    Run(1);
    target->GetRigidBody()->SetLinearVelocity(Vec4(1.0f, 0.0f, 0.0f, 0.0f));
    SteeringComponent* steering = Steer(agent);

    struct Case {
        const char* name;
        std::function<SteeringBehavior*(Entity*)> make;
        bool needsBody;
        std::function<void(const SteeringOutput&)> expectLive;
    };
    // Look-ahead 4 / (1 + 3) = 1 s: the target will be at (1, 0, 4).
    const float k = 3.0f / std::sqrt(17.0f);
    const std::vector<Case> cases = {
        {"SeekEntity", [](Entity* e) { return new SeekEntity(e, 2.0f); }, false,
         [](const SteeringOutput& o) { ExpectVec(o.linear, 0.0f, 0.0f, 2.0f); }},
        {"FleeEntity", [](Entity* e) { return new FleeEntity(e, 2.0f); }, false,
         [](const SteeringOutput& o) { ExpectVec(o.linear, 0.0f, 0.0f, -2.0f); }},
        {"ArriveAtEntity", [](Entity* e) { return new ArriveAtEntity(e, 2.0f, 8.0f); }, false,
         [](const SteeringOutput& o) { ExpectVec(o.linear, 0.0f, 0.0f, 1.0f); }},
        {"PursueEntity", [](Entity* e) { return new PursueEntity(e, 3.0f); }, true,
         [k](const SteeringOutput& o) { ExpectVec(o.linear, k, 0.0f, 4.0f * k); }},
        {"EvadeEntity", [](Entity* e) { return new EvadeEntity(e, 3.0f); }, true,
         [k](const SteeringOutput& o) { ExpectVec(o.linear, -k, 0.0f, -4.0f * k); }},
        {"LookAtEntity", [](Entity* e) { return new LookAtEntity(e); }, false,
         [](const SteeringOutput& o) {
             ExpectVec(o.linear, 7.0f, 7.0f, 7.0f, 7.0f); // left as it was
             ExpectQuat(o.angular, 0.0f, 0.0f, 0.0f, 1.0f);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        steering->SetBehavior(c.make(target));
        SteeringOutput out = Garbage();
        steering->GetBehavior()->Calculate(out);
        c.expectLive(out);

        steering->SetBehavior(c.make(ghost));
        out = Garbage();
        steering->GetBehavior()->Calculate(out);
        if (c.needsBody)
            ExpectZeroOutput(out);
        else
            EXPECT_NE(out.angular.x, 0.5f);

        steering->SetBehavior(c.make(empty));
        out = Garbage();
        steering->GetBehavior()->Calculate(out);
        ExpectZeroOutput(out);
    }

    // Every behaviour keeps the target past its destruction at the end of a frame.
    std::vector<std::unique_ptr<SteeringBehavior>> kept;
    for (const Case& c : cases) {
        kept.emplace_back(c.make(target));
        kept.back()->SetOwner(agent->GetComponent<Transform3D>());
        kept.back()->SetRigidBody(agent->GetRigidBody());
    }
    target->Destroy();
    Frames(1);
    ASSERT_EQ(engine->GetEntity("target", "default"), nullptr);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].name);
        SteeringOutput out = Garbage();
        kept[i]->Calculate(out);
        ExpectZeroOutput(out);
    }
}

TEST_F(AITest, LookAtFacesTheTargetAcrossTheGround)
{
    Entity* agent = Agent("agent", float3(1.0f, 2.0f, 3.0f), false);
    SteeringComponent* steering = Steer(agent, new LookAtPosition(Vec4(1.0f, 9.0f, 8.0f, 1.0f)));
    steering->Update(0.0f); // toward +z, height ignored
    ExpectQuat(steering->GetOutput().angular, 0.0f, 0.0f, 0.0f, 1.0f);

    steering->SetBehavior(new LookAtPosition(Vec4(6.0f, -4.0f, 3.0f, 1.0f))); // toward +x
    steering->Update(0.0f);
    ExpectQuat(steering->GetOutput().angular, 0.0f, std::sqrt(0.5f), 0.0f, std::sqrt(0.5f));

    // Straight above: no direction across the ground, the zero output.
    steering->SetBehavior(new LookAtPosition(Vec4(1.0f, 50.0f, 3.0f, 1.0f)));
    SteeringOutput out = Garbage();
    steering->GetBehavior()->Calculate(out);
    ExpectZeroOutput(out);

    // Without an owner there is nothing to look from.
    LookAtPosition loose(Vec4(6.0f, 0.0f, 3.0f, 1.0f));
    out = Garbage();
    loose.Calculate(out);
    ExpectZeroOutput(out);
}

TEST_F(AITest, WanderTurnsItsOwnersRotationAboutXAndOutputsZero)
{
    tarsel::test::ScriptedRandom random({7500}); // θ = -0.8 + 0.75 · 1.6 = 0.4
    Entity* agent = Agent("agent", float3(0.0f, 0.0f, 0.0f), false);
    SteeringComponent* steering = Steer(agent, new Wander(0.8f));
    steering->GetOutput() = Garbage();
    steering->Update(0.0f);
    ExpectZeroOutput(steering->GetOutput());
    ExpectQuat(agent->GetComponent<Transform3D>()->m_rotation, std::sin(0.2f), 0.0f, 0.0f, std::cos(0.2f));
    steering->Update(0.0f);
    ExpectQuat(agent->GetComponent<Transform3D>()->m_rotation, std::sin(0.4f), 0.0f, 0.0f, std::cos(0.4f));
    EXPECT_EQ(random.Draws(), 2u);
}

TEST_F(AITest, SetBehaviorHandsTheEntitysComponentsDownToEveryChild)
{
    Entity* agent = Agent("agent", float3(0.0f, 0.0f, 0.0f));
    auto* leaf = new ScriptedBehavior;
    auto* inner = new ScriptedBehavior;
    auto* nested = new BlendedSteering;
    nested->AddBehavior(inner, 1.0f);
    auto* root = new PrioritizedSteering(10.0f);
    root->AddBehavior(leaf, 1.0f);
    root->AddBehavior(nested, 1.0f);

    SteeringComponent* steering = Steer(agent, root);
    auto* transform = agent->GetComponent<Transform3D>();
    RigidBodyComponent3D* body = agent->GetRigidBody();
    for (SteeringBehavior* b : std::initializer_list<SteeringBehavior*>{root, leaf, nested, inner}) {
        EXPECT_EQ(b->owner, transform);
        EXPECT_EQ(b->rigidBody, body);
    }
    // The same behaviour again is kept, not freed; another replaces and frees it.
    steering->SetBehavior(root);
    EXPECT_EQ(steering->GetBehavior(), root);
    steering->SetBehavior(new ScriptedBehavior);
    EXPECT_NE(steering->GetBehavior(), root);
    steering->ClearBehavior();
    EXPECT_EQ(steering->GetBehavior(), nullptr);
    steering->GetOutput() = Garbage();
    steering->Update(0.0f);
    ExpectZeroOutput(steering->GetOutput());
}

TEST_F(AITest, IsWithinRadiusSquaredMeasuresAcrossTheGroundRimIncluded)
{
    Entity* agent = Agent("agent", float3(1.0f, 5.0f, 2.0f));
    SteeringComponent* steering = Steer(agent);
    Run(1);
    const Vec4 point(4.0f, 100.0f, 6.0f, 1.0f); // 3 and 4 away across the ground
    EXPECT_TRUE(steering->IsWithinRadiusSquared(point, 25.0f));
    EXPECT_FALSE(steering->IsWithinRadiusSquared(point, 24.99f));
    EXPECT_TRUE(steering->IsWithinRadiusSquared(Vec4(1.0f, -50.0f, 2.0f, 1.0f), 0.0f));

    Entity* bare = Agent("bare", float3(0.0f, 0.0f, 0.0f), false);
    EXPECT_FALSE(Steer(bare)->IsWithinRadiusSquared(Vec4(), 100.0f));
}

TEST_F(AITest, ComponentsOfASpaceWithoutAnAISystemWarnOnceAndStayInert)
{
    engine->CreateSpace("menu");
    Entity* entity = engine->CreateEntity("walker", "menu");
    entity->AddComponent<Transform3D>(true);
    tarsel::test::StdoutCapture capture;
    entity->AddComponent<StateMachine>(true);
    SteeringComponent* steering = entity->AddComponent<SteeringComponent>(true);
    const std::string& text = capture.Text();
    EXPECT_NE(text.find("Warning: no AISystem in the space of \"walker\"; its StateMachine is not stepped\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("Warning: no AISystem in the space of \"walker\"; its SteeringComponent is not stepped\n"),
              std::string::npos)
        << text;
    auto* behavior = new ScriptedBehavior;
    steering->SetBehavior(behavior);
    Frames(2);
    EXPECT_EQ(behavior->calls, 0);
    EXPECT_EQ(ai->GetSteeringComponents().Count(), 0u);
    EXPECT_EQ(ai->GetStateMachines().Count(), 0u);
}

} // namespace
} // namespace quellor::test
