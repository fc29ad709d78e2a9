// The state machine core and component: transitions along the first true link, one a frame,
// the hooks in order, the initial state made by type name from code and from level data, and
// names that cannot make a state.
#include "tests/ai/AITestKit.h"

#include "ai/fsm.h"
#include "engine/ObjectSystem.h"
#include "engine/ResourceSystem.h"
#include "tests/ai/AILevelDocuments.h"
#include "tests/support/StdoutCapture.h"
#include "tests/support/TempDir.h"
#include "tests/support/WorkingDirectory.h"

#include <gmock/gmock.h>

namespace quellor::test {
namespace {

using ::testing::ElementsAre;
using Log = std::vector<std::string>;

// A condition that counts how often it is asked.
struct CountingCondition {
    bool Ask(Entity*)
    {
        ++asked;
        return true;
    }
    int asked = 0;
};

TEST(FsmTest, AStateWithoutLinksIsUpdatedEveryFrame)
{
    Log log;
    RecordingState a("A", log);
    fsm machine;
    machine.Update(0.1f); // no current state: nothing
    machine.ChangeState(&a);
    machine.Update(0.1f);
    machine.Update(0.1f);
    EXPECT_THAT(log, ElementsAre("Enter A", "Update A", "Update A"));
    EXPECT_EQ(machine.current, &a);
    EXPECT_EQ(machine.previous, nullptr);
}

TEST(FsmTest, OnlyTheFirstTrueLinkIsTakenAndTheNewStateIsUpdatedThatFrame)
{
    Log log;
    RecordingState a("A", log), b("B", log), c("C", log), d("D", log);
    CountingCondition third;
    a.AddLink(&d, &Never);
    a.AddLink(&b, &Always);
    a.AddLink(&c, StateLink::Condition(&third, &CountingCondition::Ask));
    b.AddLink(&c, &Always); // holds at once, but waits for the next frame
    fsm machine;
    machine.ChangeState(&a);
    log.clear();
    machine.Update(0.1f);
    EXPECT_THAT(log, ElementsAre("Exit A", "Enter B", "Update B"));
    EXPECT_EQ(third.asked, 0);
    EXPECT_EQ(machine.previous, &a);
    machine.Update(0.1f);
    EXPECT_THAT(log, ElementsAre("Exit A", "Enter B", "Update B", "Exit B", "Enter C", "Update C"));
    EXPECT_EQ(machine.current, &c);
}

TEST(FsmTest, ALinkToItselfExitsAndEntersAgain)
{
    Log log;
    RecordingState a("A", log);
    a.AddLink(&a, &Always);
    fsm machine;
    machine.ChangeState(&a);
    machine.Update(0.1f);
    EXPECT_THAT(log, ElementsAre("Enter A", "Exit A", "Enter A", "Update A"));
    EXPECT_EQ(machine.previous, &a);
    EXPECT_EQ(machine.current, &a);
}

TEST(FsmTest, AnEmptyConditionIsAWiringFault)
{
    State a;
    a.AddLink(&a, StateLink::Condition());
    fsm machine;
    machine.ChangeState(&a);
    EXPECT_THROW(machine.Update(0.1f), DelegateError);
}

TEST_F(AITest, TheMachineEntersItsInitialStateAndTheAISystemStepsIt)
{
    Entity* entity = engine->CreateEntity("thinker", "default");
    auto* machine = new StateMachine;
    machine->SetInitialState("State");
    EXPECT_EQ(machine->m_initStateName, "State");
    State* initial = machine->GetInitialState();
    ASSERT_NE(initial, nullptr);
    EXPECT_EQ(initial->GetMeta(), State::StaticMeta());
    entity->AddComponent(StateMachine::ID, machine, true);
    EXPECT_EQ(machine->GetFsm().owner, entity);
    EXPECT_EQ(machine->GetFsm().current, initial);
    EXPECT_EQ(ai->GetStateMachines().Front(), machine);

    // A state built in code takes over; the system steps it, once a frame.
    Log log;
    RecordingState mine("Mine", log);
    machine->GetFsm().ChangeState(&mine);
    Frames(2);
    EXPECT_THAT(log, ElementsAre("Enter Mine", "Update Mine", "Update Mine"));
    EXPECT_EQ(machine->GetFsm().previous, initial);
}

TEST_F(AITest, NamesThatMakeNoStateWarnAndChangeNothing)
{
    Entity* entity = engine->CreateEntity("thinker", "default");
    auto* machine = entity->AddComponent<StateMachine>(true);
    machine->SetInitialState("State");
    State* initial = machine->GetInitialState();

    tarsel::test::StdoutCapture capture;
    machine->SetInitialState("NoSuchState");
    machine->SetInitialState("Vec4");        // a record, but not a state
    machine->SetInitialState("Transform3D"); // an engine object, but not a state
    machine->SetInitialState("");            // nothing at all, silently
    const std::string& text = capture.Text();
    EXPECT_NE(text.find("Warning: StateMachine of \"thinker\": \"NoSuchState\" names no reflected type; the "
                        "initial state is kept\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("Warning: StateMachine of \"thinker\": \"Vec4\" is not a State; the initial state is kept\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\"Transform3D\" is not a State"), std::string::npos) << text;
    EXPECT_EQ(machine->GetInitialState(), initial);
    EXPECT_EQ(machine->m_initStateName, "State");
}

TEST_F(AITest, EveryStateTheSetterMadeIsFreedWithTheMachineOnly)
{
    Entity* entity = engine->CreateEntity("thinker", "default");
    auto* machine = new StateMachine;
    machine->SetInitialState("State");
    State* first = machine->GetInitialState();
    entity->AddComponent(StateMachine::ID, machine, true);
    // The machine stays in the first while the setter makes two more.
    machine->SetInitialState("State");
    machine->SetInitialState("State");
    EXPECT_NE(machine->GetInitialState(), first);
    EXPECT_EQ(machine->GetFsm().current, first);
    Frames(1);
    // LeakSanitizer and the address checks see the rest: the machine goes with its entity.
    entity->Destroy();
    Frames(1);
    EXPECT_EQ(ai->GetStateMachines().Count(), 0u);
}

TEST_F(AITest, ALevelMakesAndEntersTheNamedStateAndWarnsOfTheOthersByEntity)
{
    tarsel::test::TempDir dir;
    dir.Write("levels/machines.ql", ai_documents::kStateMachines);
    tarsel::test::WorkingDirectory cwd(dir.Path());
    engine->AddSystem(ResourceSystem::ID, new ResourceSystem, "default");
    auto* objects = static_cast<ObjectSystem*>(engine->AddSystem(ObjectSystem::ID, new ObjectSystem, "default"));
    tarsel::test::StdoutCapture capture;
    objects->LoadLevel("machines.ql");
    const std::string& text = capture.Text();

    auto machineOf = [this](const char* name) {
        Entity* entity = engine->GetEntity(name, "default");
        return entity ? entity->GetComponent<StateMachine>() : nullptr;
    };
    StateMachine* thinker = machineOf("thinker");
    ASSERT_NE(thinker, nullptr);
    ASSERT_NE(thinker->GetInitialState(), nullptr);
    EXPECT_EQ(thinker->GetFsm().current, thinker->GetInitialState());
    for (const char* name : {"dreamer", "vector", "blank", "bare"}) {
        SCOPED_TRACE(name);
        StateMachine* machine = machineOf(name);
        ASSERT_NE(machine, nullptr);
        EXPECT_EQ(machine->GetInitialState(), nullptr);
        EXPECT_EQ(machine->GetFsm().current, nullptr);
        EXPECT_EQ(machine->m_initStateName, "");
    }
    EXPECT_NE(text.find("Warning: StateMachine of \"dreamer\": \"NoSuchState\" names no reflected type"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("Warning: StateMachine of \"vector\": \"Vec4\" is not a State"), std::string::npos) << text;
    EXPECT_EQ(ai->GetStateMachines().Count(), 5u);
    Frames(2);
}

} // namespace
} // namespace quellor::test
