// Starting actions by the name of their reflected class.
#include <gtest/gtest.h>

#include <string>

#include "engine/ActionComponent.h"
#include "engine/ActionSystem.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/reflection/MetaRegistrar.h"
#include "tests/engine/reflection/EngineFixtures.h"

using namespace quellor;
using namespace quellor::fixtures;

namespace {

class ActionByNameTest : public testing::Test {
protected:
    void SetUp() override
    {
        RegisterEngineFixtures();
        Engine::Instance();
    }
    void TearDown() override { Engine::DestroyInstance(); }
};

} // namespace

TEST_F(ActionByNameTest, ARegisteredActionIsCreatedAndPushed)
{
    const int before = CountedAction::s_live;
    {
        ActionComponent component;
        component.SetBasedOnName("CountedAction");
        EXPECT_EQ(component.m_name, "CountedAction");
        EXPECT_EQ(component.GetActionList().GetCount(), 1);
        EXPECT_EQ(CountedAction::s_live, before + 1);

        // Through the record, as a level file's setter call would.
        Function* setter = MetaOf<ActionComponent>()->GetMember("m_name")->GetSetter();
        ASSERT_NE(setter, nullptr);
        std::string name = "CountedAction";
        setter->PushArgument(Variable(&component, false));
        setter->PushArgument(Variable(&name, false));
        EXPECT_EQ(setter->Invoke(), nullptr);
        EXPECT_EQ(component.GetActionList().GetCount(), 2);
    }
    EXPECT_EQ(CountedAction::s_live, before);
}

TEST_F(ActionByNameTest, NamesThatGiveNoActionPushNothing)
{
    struct Case {
        const char* name;
        const char* warning;
    };
    const Case cases[] = {
        {"NoSuchAction", "no reflected type named \"NoSuchAction\""},
        {"UnnamedAction", "cannot be created by name"},
        {"Transform2D", "\"Transform2D\" is not an action"},
        {"int", "\"int\" is not an action"},
    };
    for (const Case& c : cases) {
        ActionComponent component;
        testing::internal::CaptureStdout();
        component.SetBasedOnName(c.name);
        const std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_EQ(component.m_name, c.name);
        EXPECT_EQ(component.GetActionList().GetCount(), 0) << c.name;
        EXPECT_NE(printed.find(c.warning), std::string::npos) << printed;
    }
    ActionComponent component;
    component.m_name = "kept";
    component.SetBasedOnName("");
    EXPECT_EQ(component.m_name, "kept");
    EXPECT_EQ(component.GetActionList().GetCount(), 0);
}

TEST_F(ActionByNameTest, TheFirstActionNamesTheComponent)
{
    ActionComponent named(new CountedAction());
    EXPECT_EQ(named.m_name, "CountedAction");
    EXPECT_EQ(named.GetActionList().GetCount(), 1);
    // An action class without a record of its own carries its base's name.
    ActionComponent plain(new ActionList(true, true));
    EXPECT_EQ(plain.m_name, "Action");
}

TEST_F(ActionByNameTest, ALevelsActionComponentStartsItsActionWhenItsEntityRuns)
{
    Engine* engine = Engine::Instance();
    engine->AddSystem("ActionSystem", new ActionSystem(), "default");
    Entity* entity = engine->CreateEntity("flow", "default");
    auto* component = new ActionComponent();
    component->SetBasedOnName("CountedAction");
    entity->AddComponent(ActionComponent::ID, component, true);
    const int live = CountedAction::s_live;
    const int updates = CountedAction::s_updates;
    engine->Update(0.016f);
    EXPECT_EQ(CountedAction::s_live, live);
    EXPECT_EQ(CountedAction::s_updates, updates + 1);
    engine->DestroyEntity("flow", "default");
    engine->Update(0.016f);
    EXPECT_EQ(CountedAction::s_live, live - 1);
}
