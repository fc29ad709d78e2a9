// The AI system's passes over its lists: state machines before steering, registration order,
// components joining or leaving during a pass, and unregistering what is not listed.
#include "tests/ai/AITestKit.h"

#include <gmock/gmock.h>

#include <memory>

namespace quellor::test {
namespace {

using ::testing::ElementsAre;
using Log = std::vector<std::string>;

class AISystemTest : public AITest {
protected:
    // An entity with a steering component whose behaviour logs its name.
    ScriptedBehavior* Steered(const std::string& name)
    {
        Entity* entity = Agent(name, ZOR::float3(), false);
        auto* behavior = new ScriptedBehavior(name, &log);
        Steer(entity, behavior);
        return behavior;
    }

    SteeringComponent* SteeringOf(const std::string& name)
    {
        return engine->GetEntity(name, "default")->GetComponent<SteeringComponent>();
    }

    Log log;
};

TEST_F(AISystemTest, StateMachinesRunBeforeSteeringAndEachListInRegistrationOrder)
{
    Steered("c");
    Steered("a");
    Entity* thinker = Agent("thinker", ZOR::float3(), false);
    auto* machine = thinker->AddComponent<StateMachine>(true);
    RecordingState state("state", log);
    machine->GetFsm().ChangeState(&state);
    Steered("b");
    log.clear();
    ai->Update(0.016f);
    EXPECT_THAT(log, ElementsAre("Update state", "c", "a", "b"));
    EXPECT_EQ(ai->GetSteeringComponents().Count(), 3u);
}

TEST_F(AISystemTest, UnregisteredComponentsAreNoLongerStepped)
{
    ScriptedBehavior* kept = Steered("kept");
    ScriptedBehavior* gone = Steered("gone");
    ai->UnregisterSteeringComponent(SteeringOf("gone"));
    ai->Update(0.016f);
    EXPECT_EQ(kept->calls, 1);
    EXPECT_EQ(gone->calls, 0);
    EXPECT_EQ(ai->GetSteeringComponents().Count(), 1u);
    ai->UnregisterSteeringComponent(SteeringOf("kept"));
    ai->Update(0.016f); // empty lists: nothing is stepped
    EXPECT_EQ(kept->calls, 1);
    EXPECT_TRUE(ai->GetSteeringComponents().Empty());
}

TEST_F(AISystemTest, UnregisteringWhatThisSystemDoesNotListChangesNothing)
{
    Steered("listed");
    SteeringComponent loose; // never registered
    ai->UnregisterSteeringComponent(&loose);
    ai->UnregisterSteeringComponent(nullptr);
    StateMachine idle;
    ai->UnregisterStateMachine(&idle);
    EXPECT_EQ(ai->GetSteeringComponents().Count(), 1u);

    // A component of another AI system stays in that system's list.
    AISystem other;
    SteeringComponent elsewhere;
    other.RegisterSteeringComponent(&elsewhere);
    ai->UnregisterSteeringComponent(&elsewhere);
    EXPECT_EQ(other.GetSteeringComponents().Count(), 1u);
    other.UnregisterSteeringComponent(&elsewhere);
    EXPECT_EQ(other.GetSteeringComponents().Count(), 0u);
}

TEST_F(AISystemTest, AComponentRegisteredDuringItsPassIsReachedInIt)
{
    ScriptedBehavior* first = Steered("first");
    SteeringComponent late;
    ScriptedBehavior* lateBehavior = new ScriptedBehavior("late", &log);
    late.SetBehavior(lateBehavior);
    first->hook = [&] {
        if (!late.m_aiLink.IsLinked())
            ai->RegisterSteeringComponent(&late);
    };
    ai->Update(0.016f);
    EXPECT_THAT(log, ElementsAre("first", "late"));
    ai->UnregisterSteeringComponent(&late);
}

TEST_F(AISystemTest, AComponentLeavingItsListDuringItsOwnStepDoesNotBreakTheWalk)
{
    Steered("a");
    ScriptedBehavior* leaving = Steered("leaving");
    Steered("c");
    ScriptedBehavior* last = Steered("last");
    leaving->hook = [&] { ai->UnregisterSteeringComponent(SteeringOf("leaving")); };
    last->hook = [&] { ai->UnregisterSteeringComponent(SteeringOf("last")); };
    ai->Update(0.016f);
    EXPECT_THAT(log, ElementsAre("a", "leaving", "c", "last"));
    ai->Update(0.016f);
    EXPECT_THAT(log, ElementsAre("a", "leaving", "c", "last", "a", "c"));

    // The same in the state-machine pass.
    Entity* thinker = Agent("thinker", ZOR::float3(), false);
    auto* machine = thinker->AddComponent<StateMachine>(true);
    RecordingState state("state", log);
    state.hook = [&] { ai->UnregisterStateMachine(machine); };
    machine->GetFsm().ChangeState(&state);
    log.clear();
    ai->Update(0.016f);
    ai->Update(0.016f);
    EXPECT_THAT(log, ElementsAre("Update state", "a", "c", "a", "c"));
}

TEST_F(AISystemTest, AStepThatRemovesItselfAndFreesTheNextGoesOnFromTheOneAfter)
{
    Steered("a");
    ScriptedBehavior* remover = Steered("remover");
    auto next = std::make_unique<SteeringComponent>();
    next->SetBehavior(new ScriptedBehavior("next", &log));
    ai->RegisterSteeringComponent(next.get());
    Steered("c");
    remover->hook = [&] {
        ai->UnregisterSteeringComponent(SteeringOf("remover"));
        next.reset(); // leaves the list as it goes
    };
    ai->Update(0.016f);
    EXPECT_THAT(log, ElementsAre("a", "remover", "c"));
    ai->Update(0.016f);
    EXPECT_THAT(log, ElementsAre("a", "remover", "c", "a", "c"));
}

TEST_F(AISystemTest, ComponentsLeaveWithTheirEntityAndTheSystemWithItsSpace)
{
    Steered("walker");
    Entity* thinker = Agent("thinker", ZOR::float3(), false);
    thinker->AddComponent<StateMachine>(true);
    engine->GetEntity("walker", "default")->Destroy();
    thinker->Destroy();
    Frames(1);
    EXPECT_EQ(ai->GetSteeringComponents().Count(), 0u);
    EXPECT_EQ(ai->GetStateMachines().Count(), 0u);
    // Components outliving their system keep no link into it.
    Steered("survivor");
    engine->DestroyAllSystems("default");
    Frames(1);
    EXPECT_FALSE(engine->GetEntity("survivor", "default")->GetComponent<SteeringComponent>()->m_aiLink.IsLinked());
}

} // namespace
} // namespace quellor::test
