// Buttons and check boxes on the UISystem, without a window: Enter on the keyboard and A on a
// connected pad 0 press a selected, enabled control, once per press; clones share the callback;
// a space without "UISystem" leaves the controls unregistered.
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Input.h"
#include "frontend/RegisterFrontendTypes.h"
#include "frontend/ui/ButtonComponent.h"
#include "frontend/ui/CheckboxComponent.h"
#include "frontend/ui/UIComponent.h"
#include "frontend/ui/UISystem.h"
#include "platform/ScriptedInputSource.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace quellor;

namespace {

constexpr int kEnter = 13;
constexpr int kPadA = 10;

struct Calls {
    int presses = 0;
    std::vector<bool> states;
    void Press() { ++presses; }
    void Toggle(bool checked) { states.push_back(checked); }
};

class UITest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterFrontendTypes();
        engine = Engine::Instance();
        source = std::make_shared<platform::ScriptedInputSource>();
        engine->AddSystem("Input", new Input(source), "default");
        system = static_cast<UISystem*>(engine->AddSystem("UISystem", new UISystem, "default"));
    }
    void TearDown() override { Engine::DestroyInstance(); }

    // An entity with a control (selected, enabled) and a button and a check box beside it.
    Entity* MakeControl(const std::string& name)
    {
        Entity* entity = engine->CreateEntity(name, "default");
        control = entity->AddComponent<UIComponent>(true);
        control->SetSelected(true);
        button = entity->AddComponent<ButtonComponent>(true);
        button->SetCallback(MakeDelegate(&calls, &Calls::Press));
        checkbox = entity->AddComponent<CheckboxComponent>(true);
        checkbox->SetCallback(MakeDelegate(&calls, &Calls::Toggle));
        return entity;
    }

    void Frame() { engine->Update(1.0f / 60.0f); }
    void Tap(int key)
    {
        source->SetKey(key, true);
        Frame();
        source->SetKey(key, false);
        Frame();
    }

    Engine* engine = nullptr;
    UISystem* system = nullptr;
    std::shared_ptr<platform::ScriptedInputSource> source;
    UIComponent* control = nullptr;
    ButtonComponent* button = nullptr;
    CheckboxComponent* checkbox = nullptr;
    Calls calls;
};

TEST_F(UITest, EnterPressesOncePerPressAndTogglesTheCheckbox)
{
    MakeControl("control");
    EXPECT_EQ(system->GetControls().size(), 1u);
    EXPECT_EQ(system->GetButtons().size(), 1u);
    EXPECT_EQ(system->GetCheckboxes().size(), 1u);

    source->SetKey(kEnter, true);
    for (int i = 0; i < 5; ++i)
        Frame(); // held: one press
    EXPECT_EQ(calls.presses, 1);
    EXPECT_EQ(calls.states, std::vector<bool>{true});
    source->SetKey(kEnter, false);
    Frame();
    Tap(kEnter);
    EXPECT_EQ(calls.presses, 2);
    EXPECT_EQ(calls.states, (std::vector<bool>{true, false}));
    EXPECT_FALSE(checkbox->m_checked);
}

TEST_F(UITest, OnlyASelectedEnabledControlAndOnlyPadZeroWhileConnected)
{
    MakeControl("control");
    control->SetSelected(false);
    Tap(kEnter);
    control->SetSelected(true);
    control->SetEnabled(false);
    Tap(kEnter);
    EXPECT_EQ(calls.presses, 0);
    control->SetEnabled(true);

    // A on pad 1 does nothing; A on pad 0 presses.
    source->SetPadButton(1, kPadA, true);
    Frame();
    EXPECT_EQ(calls.presses, 0);
    source->SetPadButton(0, kPadA, true);
    Frame();
    EXPECT_EQ(calls.presses, 1);
    source->SetPadButton(0, kPadA, false);
    Frame();
    // Pad 0 unplugged in the frame of its press: ignored.
    source->SetPadButton(0, kPadA, true);
    source->SetPadConnected(0, false);
    Frame();
    EXPECT_EQ(calls.presses, 1);
    EXPECT_EQ(calls.states, std::vector<bool>{true});
}

TEST_F(UITest, NoDelegateStillTogglesAndAClonedButtonFiresTheSameCallback)
{
    Entity* first = MakeControl("first");
    checkbox->SetCallback({});
    button->SetCallback({});
    Tap(kEnter);
    EXPECT_TRUE(checkbox->m_checked);
    EXPECT_EQ(calls.presses, 0);

    ButtonComponent original;
    original.SetCallback(MakeDelegate(&calls, &Calls::Press));
    // The clone joins an entity of its own, with a selected control.
    Entity* second = engine->CreateEntity("second", "default");
    second->AddComponent<UIComponent>(true)->SetSelected(true);
    second->AddComponent(ButtonComponent::ID, original.Clone(), true);
    Tap(kEnter);
    EXPECT_EQ(calls.presses, 1);
    EXPECT_EQ(second->GetComponent<ButtonComponent>()->GetCallback(), original.GetCallback());

    // Leaving the entity takes the components off the lists.
    first->Destroy();
    second->Destroy();
    Frame();
    EXPECT_TRUE(system->GetControls().empty());
    EXPECT_TRUE(system->GetButtons().empty());
    EXPECT_TRUE(system->GetCheckboxes().empty());
}

TEST(UISystemAbsent, ControlsOfASpaceWithoutOneAreNotRegistered)
{
    RegisterFrontendTypes();
    Engine* engine = Engine::Instance();
    auto source = std::make_shared<platform::ScriptedInputSource>();
    engine->AddSystem("Input", new Input(source), "default");
    // The right class under another key is not the system the controls look for.
    auto* elsewhere = static_cast<UISystem*>(engine->AddSystem("Other", new UISystem, "default"));
    Entity* entity = engine->CreateEntity("control", "default");
    entity->AddComponent<UIComponent>(true)->SetSelected(true);
    auto* checkbox = entity->AddComponent<CheckboxComponent>(true);
    source->SetKey(kEnter, true);
    engine->Update(1.0f / 60.0f);
    EXPECT_TRUE(elsewhere->GetControls().empty());
    EXPECT_TRUE(elsewhere->GetCheckboxes().empty());
    EXPECT_FALSE(checkbox->m_checked);
    // Direct updates still work on their own: it is only the registration that is missing.
    checkbox->Update(1.0f / 60.0f);
    EXPECT_TRUE(checkbox->m_checked);
    Engine::DestroyInstance();
}

} // namespace
