// S12: the title menu, started by name from a fixture level laid over the built content.
#include "engine/ActionComponent.h"
#include "engine/ActionList.h"
#include "engine/ActionSystem.h"
#include "engine/Engine.h"
#include "engine/EntityRef.h"
#include "engine/LoadAssets.h"
#include "engine/ObjectSystem.h"
#include "engine/Space.h"
#include "engine/graphics/TextComponent.h"
#include "frontend/screens/BasicMenu.h"
#include "platform/ScriptedInputSource.h"
#include "tests/e2e/Scenario.h"

namespace tarsel::test {
namespace {

class TitleMenuScenario : public Scenario {
protected:
    void SetUp() override
    {
        if (!ContentHas("levels/alpha.ql"))
            GTEST_SKIP() << "the built content has no \"alpha.ql\" yet";
        FlowSetup setup = ContentSetup();
        setup.workingDirectory.clear();
        setup.overContent = true;
        setup.fixtureFolders = {TARSEL_E2E_FIXTURES};
        setup.startupTree = [](Game&) { return new quellor::LoadAssets; };
        Boot(std::move(setup), false);
        ASSERT_TRUE(game->RunUntil([&] { return game->GetGame().GetActionSystem()->GetRootList().GetCount() == 0; },
                                   1200));
        quellor::Engine::Instance()->GetSystem<quellor::ObjectSystem>("default")->LoadLevel("TitleMenu.ql");
        ASSERT_TRUE(game->RunUntil([&] { return Menu() != nullptr && Menu()->IsStarted(); }, 3));
    }
    const quellor::BasicMenu* Menu() const
    {
        quellor::Entity* holder = game->FindEntity("title_menu");
        auto* component = holder ? holder->GetComponent<quellor::ActionComponent>() : nullptr;
        const quellor::BasicMenu* menu = nullptr;
        if (component)
            component->GetActionList().VisitActions([&](const quellor::Action& action) {
                if (!menu)
                    menu = dynamic_cast<const quellor::BasicMenu*>(&action);
            });
        return menu;
    }
    // The red line: the selected one is red (1, 0), the other black.
    bool Red(const std::string& line) const
    {
        auto* text = game->FindEntity(line)->GetComponent<quellor::TextComponent>();
        return text->m_color.x == 1.0f && text->m_color.y == 0.0f;
    }
};

TEST_F(TitleMenuScenario, S12UpAndDownToggleAndPlayLoadsAlpha)
{
    ASSERT_NE(game->FindEntity("play"), nullptr);
    EXPECT_TRUE(Red("play"));
    EXPECT_FALSE(Red("quit"));
    game->Input().TapKey(kDown);
    ASSERT_TRUE(game->Frame());
    EXPECT_TRUE(Red("quit"));
    EXPECT_FALSE(Red("play"));
    game->Input().TapKey(kUp);
    ASSERT_TRUE(game->Frame());
    EXPECT_TRUE(Red("play"));

    std::vector<quellor::EntityRef> before;
    for (const auto& [name, entity] : quellor::Engine::Instance()->GetSpace("default")->GetEntityMap())
        before.emplace_back(entity);
    game->Input().TapKey(kEnter);
    ASSERT_TRUE(game->Frame());
    ASSERT_TRUE(game->Frame());
    for (const quellor::EntityRef& entity : before)
        EXPECT_EQ(entity.Get(), nullptr);
    // Alpha's entities came, and stay.
    const std::size_t alpha = quellor::Engine::Instance()->GetSpace("default")->GetEntityMap().size();
    EXPECT_GT(alpha, 0u);
    game->RunFrames(30);
    EXPECT_GE(quellor::Engine::Instance()->GetSpace("default")->GetEntityMap().size(), alpha);
}

TEST_F(TitleMenuScenario, S12QuitEndsTheGame)
{
    game->Input().TapKey(kDown);
    ASSERT_TRUE(game->Frame());
    game->Input().TapKey(kEnter);
    EXPECT_TRUE(game->Frame());
    EXPECT_FALSE(game->Frame());
}

} // namespace
} // namespace tarsel::test
