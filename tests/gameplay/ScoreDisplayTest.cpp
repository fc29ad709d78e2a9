// The score display: one text and one background per player index, each person's text
// refreshed on its own view, the backgrounds and the people's texts following the screen layout.
#include "MatchCameraKit.h"

#include "engine/Transform2D.h"
#include "engine/graphics/GraphicsComponent2D.h"
#include "engine/graphics/TextComponent.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/PlayerDataComponent.h"

namespace quellor::test {
namespace {

using tarsel::test::GameWorld;

class ScoreDisplay : public tarsel::test::GameWorldTest {
protected:
    void SetUp() override
    {
        GameWorldTest::SetUp();
        WriteReticleArchetypes(*world);
        // The game loads its fonts at start-up; a text without its font shows nothing.
        world->SpawnText("fontLoader")->Destroy();
        // Join order: a person, a computer player, a person, a computer player.
        players = {MakePerson(*world, "redPerson", "red", 0), MakeBot(*world, "redBot", "red"),
                   MakePerson(*world, "greenPerson", "green", 1), MakeBot(*world, "greenBot", "green")};
        for (Entity* player : players)
            world->logic->AddPlayer(GameWorld::DataOf(player)->controllerID, player,
                                    GameWorld::DataOf(player)->controllerID < 0, true);
        world->Step(2); // start-up, then the tag set-up
        // The level intro's request: built one frame later.
        world->logic->m_scoreHudRequested = true;
        world->Step(2);
    }

    Entity* Text(std::size_t i) { return world->logic->GetScoreTexts().at(i).Get(); }
    Entity* Background(std::size_t i) { return world->logic->GetScoreBackgrounds().at(i).Get(); }
    static const std::string& Value(Entity* text) { return text->GetComponent<TextComponent>()->GetValue(); }
    ZOR::float2 Size(int screen) { return world->graphics->GetOrthographicProjectionSize(screen); }
    static void ExpectPlaced(Entity* entity, float x, float y, float scale, const std::string& what)
    {
        const Transform2D* place = entity->GetComponent<Transform2D>();
        ASSERT_NE(place, nullptr) << what;
        EXPECT_FLOAT_EQ(place->m_x, x) << what;
        EXPECT_FLOAT_EQ(place->m_y, y) << what;
        EXPECT_FLOAT_EQ(place->m_scaleX, scale) << what;
        EXPECT_FLOAT_EQ(place->m_scaleY, scale) << what;
    }

    std::vector<Entity*> players;
};

TEST_F(ScoreDisplay, FourPlayersGetFourTextsAndFourBackgroundsEachOnItsIndexScreen)
{
    ASSERT_EQ(world->logic->GetScoreTexts().size(), 4u);
    ASSERT_EQ(world->logic->GetScoreBackgrounds().size(), 4u);
    EXPECT_FALSE(world->logic->m_scoreHudRequested);
    for (std::size_t i = 0; i < 4; ++i) {
        const std::string what = "index " + std::to_string(i);
        auto* text = Text(i)->GetComponent<TextComponent>();
        ASSERT_NE(text, nullptr) << what;
        EXPECT_EQ(text->GetValue(), "0 / 5") << what;
        EXPECT_EQ(text->GetScreenID(), static_cast<int>(i)) << what;
        EXPECT_EQ(text->m_color.z, 1.0f) << what;
        EXPECT_EQ(text->m_color.x, 0.0f) << what;
        EXPECT_EQ(text->m_fontName, "font_64.bff") << what;
        EXPECT_TRUE(Text(i)->GetName().starts_with("playerScore")) << what;
        auto* sprite = Background(i)->GetComponent<GraphicsComponent2D>();
        ASSERT_NE(sprite, nullptr) << what;
        EXPECT_EQ(sprite->m_materialName, "score_bg.mat") << what;
        EXPECT_EQ(sprite->GetScreenID(), static_cast<int>(i)) << what;
        EXPECT_TRUE(Background(i)->GetName().starts_with("score_bg")) << what;
    }
    EXPECT_NE(Text(0), Text(1)) << "names are made unique";
    // The computer players' texts keep the place they were built with, on their index screen.
    ExpectPlaced(Text(3), Size(3).x - 117.0f, Size(3).y - 100.0f, 1.5f, "a computer player's text");
}

TEST_F(ScoreDisplay, OnlyPeoplesTextsAreRefreshedOnTheirOwnViews)
{
    for (int i = 0; i < 3; ++i)
        world->logic->AddScore("red");
    world->logic->AddScore("green");
    // The second person's text sits at index 2 but its view is screen 1; move it away first.
    Text(2)->GetComponent<Transform2D>()->m_x = -1.0f;
    world->Step();
    EXPECT_FALSE(world->logic->IsScoreTextDirty());
    EXPECT_EQ(Value(Text(0)), "3 / 5");
    EXPECT_EQ(Value(Text(2)), "1 / 5");
    EXPECT_EQ(Value(Text(1)), "0 / 5") << "a computer player's text is not refreshed";
    EXPECT_EQ(Value(Text(3)), "0 / 5");
    ExpectPlaced(Text(0), Size(0).x - 117.0f, Size(0).y - 100.0f, 1.5f, "first person, screen 0");
    ExpectPlaced(Text(2), Size(1).x - 117.0f, Size(1).y - 100.0f, 1.5f, "second person, its camera's screen 1");

    // The 5 is the format's: a sixth point still reads "/ 5" (the win test ends the match).
    world->logic->m_winEnabled = false;
    for (int i = 0; i < 3; ++i)
        world->logic->AddScore("red");
    world->Step();
    EXPECT_EQ(Value(Text(0)), "6 / 5");
}

TEST_F(ScoreDisplay, BackgroundsAndPeoplesTextsFollowAnAddedScreenAndLeaveWithAPlayer)
{
    const ZOR::float2 before = Size(0);
    ExpectPlaced(Background(0), before.x - 128.0f, before.y - 128.0f, 128.0f, "built");
    ASSERT_FALSE(world->logic->IsScoreTextDirty()) << "no point is scored: the layout alone moves the texts";
    world->graphics->AddScreen(true);
    world->graphics->AddScreen(true);
    // The graphics system lays the screens out after the game logic: placed in the next frame.
    world->Step(2);
    const ZOR::float2 after = Size(0);
    EXPECT_TRUE(after.x != before.x || after.y != before.y) << "the layout changed the screen's size";
    for (std::size_t i = 0; i < 4; ++i) {
        const ZOR::float2 size = Size(static_cast<int>(i));
        ExpectPlaced(Background(i), size.x - 128.0f, size.y - 128.0f, 128.0f, "background " + std::to_string(i));
    }
    ExpectPlaced(Text(0), Size(0).x - 117.0f, Size(0).y - 100.0f, 1.5f, "first person, screen 0");
    ExpectPlaced(Text(2), Size(1).x - 117.0f, Size(1).y - 100.0f, 1.5f, "second person, screen 1");

    // A leaving player takes the whole display with it; nothing is placed after that.
    players[3]->Destroy();
    world->logic->RemovePlayer(-1, players[3]);
    world->Step(2);
    EXPECT_TRUE(world->logic->GetScoreBackgrounds().empty());
    EXPECT_TRUE(world->logic->GetScoreTexts().empty());
}

} // namespace
} // namespace quellor::test
