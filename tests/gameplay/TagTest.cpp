// Tags over tagged players: the set-up, showing and hiding on the owner's view, following the
// target, tags going mid-tween, team tags, the tag timers ending tags, and the lift beam with
// real tags.
#include "MatchCameraKit.h"
#include "WeaponTestKit.h"

#include "engine/ActionSystem.h"
#include "engine/SoundSystem.h"
#include "engine/Transform3D.h"
#include "engine/graphics/BillboardedQuadComponent.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/PlayerDataComponent.h"
#include "gameplay/TagComponent.h"
#include "physics/RigidBodyComponent3D.h"
#include "tests/support/StdoutCapture.h"

#include <string>

namespace quellor::test {
namespace {

using tarsel::test::GameWorld;

constexpr float kStep = 0.05f; // four steps make a tag's 0.2 s tween

class TagTest : public tarsel::test::GameWorldTest {
protected:
    void SetUp() override
    {
        GameWorldTest::SetUp();
        WriteReticleArchetypes(*world);
        world->LoadEffect("tag_removed.ogg");
    }

    Entity* Person(const std::string& name, const std::string& team, int pad, float x = 0.0f)
    {
        Entity* player = MakePerson(*world, name, team, pad, x);
        world->logic->AddPlayer(pad, player, false, true);
        return player;
    }
    Entity* Bot(const std::string& name, const std::string& team, float x = 0.0f)
    {
        Entity* player = MakeBot(*world, name, team, x);
        world->logic->AddPlayer(-1, player, true, false);
        return player;
    }
    // Runs the start-up and tag set-up frames.
    void SetUpTags() { world->Step(2); }
    void Steps(int count)
    {
        for (int i = 0; i < count; ++i)
            world->StepDt(kStep);
    }

    static TagComponent& Own(Entity* player)
    {
        return *GameWorld::DataOf(player)->GetTagMarker()->GetComponent<TagComponent>();
    }
    static TagComponent& Team(Entity* player)
    {
        return *GameWorld::DataOf(player)->GetTeamTagMarker()->GetComponent<TagComponent>();
    }
    static Transform3D& Place(TagComponent& tag) { return *tag.GetEntity()->GetComponent<Transform3D>(); }
    static BillboardedQuadComponent& Billboard(TagComponent& tag)
    {
        return *tag.GetEntity()->GetComponent<BillboardedQuadComponent>();
    }
    static int VisibleScreens(TagComponent& tag)
    {
        int screens = 0;
        for (int screen = 0; screen < 4; ++screen)
            screens |= Billboard(tag).GetVisible(screen) ? 1 << screen : 0;
        return screens;
    }
    // A tag table record as the lift beam makes it.
    void Record(const std::string& team, Entity* target, Entity* tagger, float seconds)
    {
        world->logic->GetTeamTags(team)->emplace_back(target->GetName(),
                                                      GameLogicSystem::TeamTag{target, tagger, seconds});
    }
    // An own tag put on the target as the lift beam does.
    static void TagWith(Entity* owner, Entity* target)
    {
        Own(owner).SetTarget(target);
        Own(owner).Show();
        GameWorld::DataOf(owner)->m_hasTag = true;
    }
};

TEST_F(TagTest, TheSetUpGivesEachPlayerTwoHiddenTagsInItsTeamsMaterials)
{
    Entity* red = Person("red", "red", 0);
    Entity* green = Bot("green", "green");
    SetUpTags();
    for (Entity* player : {red, green}) {
        const std::string team = GameWorld::DataOf(player)->playerTeam;
        for (TagComponent* tag : {&Own(player), &Team(player)}) {
            const bool own = tag == &Own(player);
            const std::string what = player->GetName() + (own ? " own" : " team");
            EXPECT_TRUE(tag->GetEntity()->GetName().starts_with(own ? "tag" : "teamTag")) << what;
            EXPECT_EQ(tag->GetOwner(), player) << what;
            EXPECT_EQ(Billboard(*tag).m_materialName, (own ? "single_tag_" : "team_tag_") + team + ".mat") << what;
            EXPECT_EQ(Place(*tag).m_scaleX, 0.0f) << what;
            EXPECT_EQ(Place(*tag).m_scaleY, 0.0f) << what;
            EXPECT_EQ(Place(*tag).m_scaleZ, 0.0f) << what;
            EXPECT_EQ(VisibleScreens(*tag), 0) << what;
            EXPECT_FALSE(tag->IsShown()) << what;
            EXPECT_EQ(tag->GetTarget(), nullptr) << what;
            EXPECT_TRUE(tag->IsInLogicSlot()) << what;
        }
    }
    // A later join builds every player's tags again; the earlier ones stay.
    Entity* earlier = GameWorld::DataOf(red)->GetTagMarker();
    Bot("late", "red");
    world->Step();
    EXPECT_NE(GameWorld::DataOf(red)->GetTagMarker(), earlier);
    EXPECT_FALSE(earlier->IsDestroyed());
}

TEST_F(TagTest, AComputerPlayersTagNeverShows)
{
    Entity* bot = Bot("bot", "red");
    Entity* target = Bot("target", "blue");
    SetUpTags();
    TagComponent& tag = Own(bot);
    tag.SetTarget(target);
    tag.Show();
    EXPECT_FALSE(tag.IsShown());
    Steps(6);
    EXPECT_EQ(Place(tag).m_scaleX, 0.0f);
    EXPECT_EQ(VisibleScreens(tag), 0);
    tag.Hide();
    EXPECT_FALSE(tag.IsHiding());
    tag.OnHidden();
    EXPECT_FALSE(tag.IsShown());
    EXPECT_EQ(VisibleScreens(tag), 0);
}

TEST_F(TagTest, ShowGrowsOnTheOwnersViewOnlyAndASecondShowRestartsTheGrow)
{
    Person("first", "red", 0);
    Entity* second = Person("second", "red", 1);
    SetUpTags();
    TagComponent& tag = Own(second);
    tag.Show();
    EXPECT_TRUE(tag.IsShown());
    EXPECT_EQ(VisibleScreens(tag), 1 << 1) << "the second person's view is screen 1";
    Steps(2);
    // The curve overshoots before it settles: halfway is neither end.
    const float halfway = Place(tag).m_scaleX;
    EXPECT_NE(halfway, 0.0f);
    EXPECT_NE(halfway, 5.0f);
    tag.Show();
    Steps(2);
    EXPECT_NE(Place(tag).m_scaleX, 5.0f) << "0.2 s after the first show, the second grow runs on";
    Steps(3);
    EXPECT_FLOAT_EQ(Place(tag).m_scaleX, 5.0f);
    EXPECT_FLOAT_EQ(Place(tag).m_scaleY, 5.0f);
    EXPECT_FLOAT_EQ(Place(tag).m_scaleZ, 5.0f);
}

TEST_F(TagTest, ATagFollowsItsTargetHighUpUnlessHidingAndWithoutTargetStays)
{
    Entity* owner = Person("owner", "red", 0);
    Entity* target = Bot("target", "blue");
    SetUpTags();
    TagComponent& tag = Own(owner);
    Place(tag).SetPosition(7.0f, 7.0f, 7.0f);
    world->Step(3);
    EXPECT_EQ(Place(tag).GetPosition().x, 7.0f) << "no target, no move";
    EXPECT_EQ(Place(tag).GetPosition().y, 7.0f);

    GameWorld::DataOf(target)->sphereCollRadius = 1.5f;
    target->GetComponent<Transform3D>()->SetPosition(3.0f, 2.0f, -1.0f);
    tag.SetTarget(target);
    tag.Update(0.0f);
    EXPECT_FLOAT_EQ(Place(tag).m_x, 3.0f);
    EXPECT_FLOAT_EQ(Place(tag).m_y, 2.0f + 4.0f * 1.5f);
    EXPECT_FLOAT_EQ(Place(tag).m_z, -1.0f);

    tag.Show();
    Steps(5);
    const Vec4 before = Place(tag).GetPosition();
    tag.Hide();
    target->GetComponent<Transform3D>()->SetPosition(-4.0f, 0.0f, 0.0f);
    tag.Update(0.0f);
    EXPECT_FLOAT_EQ(Place(tag).m_x, before.x) << "a hiding tag stays where it was";
    EXPECT_FLOAT_EQ(Place(tag).m_y, before.y);
}

TEST_F(TagTest, HideShrinksThenHides)
{
    Entity* owner = Person("owner", "red", 0);
    SetUpTags();
    TagComponent& tag = Own(owner);
    tag.Show();
    Steps(5);
    tag.Hide();
    EXPECT_TRUE(tag.IsHiding());
    Steps(2);
    EXPECT_NE(Place(tag).m_scaleX, 0.0f);
    EXPECT_NE(Place(tag).m_scaleX, 5.0f);
    EXPECT_TRUE(tag.IsShown()) << "shown while it shrinks";
    EXPECT_EQ(VisibleScreens(tag), 1);
    Steps(3);
    EXPECT_EQ(Place(tag).m_scaleX, 0.0f);
    EXPECT_FALSE(tag.IsHiding());
    EXPECT_FALSE(tag.IsShown());
    EXPECT_EQ(VisibleScreens(tag), 0);
}

TEST_F(TagTest, ATagGoingMidGrowOrMidShrinkIsNeitherWrittenNorCalled)
{
    Entity* owner = Person("owner", "red", 0);
    SetUpTags();
    Own(owner).Show();
    Team(owner).Show();
    Steps(1);
    Own(owner).GetEntity()->Destroy();
    Steps(2);
    Team(owner).Hide();
    Steps(1);
    Team(owner).GetEntity()->Destroy();
    // The grow, the shrink and the OnHidden call would reach the freed tags now.
    Steps(6);
    EXPECT_EQ(GameWorld::DataOf(owner)->GetTagMarker(), nullptr);
    EXPECT_EQ(GameWorld::DataOf(owner)->GetTeamTagMarker(), nullptr);
}

class TeamTagTest : public TagTest {
protected:
    void SetUp() override
    {
        TagTest::SetUp();
        tagger = Person("tagger", "red", 0);
        mate = Person("mate", "red", 1);
        botMate = Bot("botMate", "red");
        target = Bot("target", "blue");
        opponent = Person("opponent", "blue", 2);
        SetUpTags();
    }

    Entity* tagger = nullptr;
    Entity* mate = nullptr;
    Entity* botMate = nullptr;
    Entity* target = nullptr;
    Entity* opponent = nullptr;
};

TEST_F(TeamTagTest, ActivatingShowsTheMatesTeamTagsExceptWhereTheirOwnTagMarksTheTarget)
{
    tarsel::test::StdoutCapture out;
    world->logic->ActivateTeamTag(tagger, target);
    const std::string text = out.Text();
    EXPECT_TRUE(Team(mate).IsShown());
    EXPECT_EQ(Team(mate).GetTarget(), target);
    EXPECT_NE(text.find("Activate Team Tag for mate: target\n"), std::string::npos) << text;
    EXPECT_FALSE(Team(botMate).IsShown()) << "a computer player's tag never shows";
    EXPECT_FALSE(Team(tagger).IsShown()) << "not the tagger's own";
    EXPECT_FALSE(Team(opponent).IsShown()) << "not the other team's";
    EXPECT_EQ(text.find("for opponent"), std::string::npos);
    EXPECT_EQ(text.find("for tagger"), std::string::npos);

    // A mate whose own tag already marks the target is left alone.
    Entity* second = Bot("second", "blue", 5.0f);
    world->Step(); // the set-up after the join
    TagWith(mate, second);
    tarsel::test::StdoutCapture again;
    world->logic->ActivateTeamTag(tagger, second);
    EXPECT_EQ(again.Text().find("for mate"), std::string::npos) << again.Text();
    EXPECT_FALSE(Team(mate).IsShown());
}

TEST_F(TeamTagTest, DeactivatingHidesTheMatchingTeamTagsWhichKeepFollowingWhileTheyShrink)
{
    world->logic->ActivateTeamTag(tagger, target);
    Steps(5);
    tarsel::test::StdoutCapture out;
    world->logic->DeactivateTeamTag(tagger, target);
    EXPECT_NE(out.Text().find("Dectivate Team Tag: target\n"), std::string::npos) << out.Text();
    TagComponent& tag = Team(mate);
    EXPECT_FALSE(tag.IsHiding()) << "cleared at once";
    target->GetComponent<RigidBodyComponent3D>()->SetPosition(Vec4(9.0f, 0.0f, 2.0f, 1.0f));
    Steps(2);
    EXPECT_NEAR(Place(tag).m_x, 9.0f, 1e-4f) << "following while it shrinks";
    EXPECT_NE(Place(tag).m_scaleX, 5.0f);
    Steps(3);
    EXPECT_FALSE(tag.IsShown());
    EXPECT_EQ(VisibleScreens(tag), 0);
    // Nothing shown over another target is touched.
    world->logic->ActivateTeamTag(tagger, opponent);
    world->logic->DeactivateTeamTag(tagger, target);
    world->logic->DeactivateTeamTag(tagger, nullptr);
    EXPECT_TRUE(Team(mate).IsShown());
}

TEST_F(TeamTagTest, ARecordRunningOutEndsTheTagAndIsErased)
{
    TagWith(tagger, target);
    world->logic->ActivateTeamTag(tagger, target);
    Record("red", target, tagger, 0.12f);
    Steps(2);
    EXPECT_EQ(world->logic->GetTeamTags("red")->size(), 1u) << "0.02 s left";
    EXPECT_FALSE(world->Played("tag_removed.ogg"));
    tarsel::test::StdoutCapture out;
    Steps(1);
    EXPECT_TRUE(world->logic->GetTeamTags("red")->empty());
    EXPECT_TRUE(Own(tagger).IsHiding());
    EXPECT_FALSE(GameWorld::DataOf(tagger)->m_hasTag);
    EXPECT_NE(out.Text().find("Dectivate Team Tag: target"), std::string::npos) << out.Text();
    EXPECT_TRUE(world->sound->IsPlaying("tag_removed.ogg", 0)) << "in the owner's group";
    EXPECT_EQ(world->PlayCount("tag_removed.ogg"), 1u);
    Steps(5);
    EXPECT_FALSE(Own(tagger).IsShown());
    EXPECT_FALSE(Team(mate).IsShown());
}

TEST_F(TeamTagTest, ADyingTargetEndsItsRecordThatFrameWithOneSoundPerOwnerPointingAtIt)
{
    TagWith(tagger, target);
    TagWith(mate, target);
    Record("red", target, tagger, 10.0f);
    Record("blue", tagger, opponent, 10.0f);
    world->Step();
    EXPECT_EQ(world->logic->GetTeamTags("red")->size(), 1u);
    GameWorld::DataOf(target)->m_dying = true;
    world->Step();
    EXPECT_TRUE(world->logic->GetTeamTags("red")->empty());
    EXPECT_EQ(world->logic->GetTeamTags("blue")->size(), 1u) << "another target's record runs on";
    EXPECT_EQ(world->PlayCount("tag_removed.ogg"), 2u);
    EXPECT_TRUE(world->sound->IsPlaying("tag_removed.ogg", 0));
    EXPECT_TRUE(world->sound->IsPlaying("tag_removed.ogg", 1));
    EXPECT_FALSE(GameWorld::DataOf(tagger)->m_hasTag);
    EXPECT_FALSE(GameWorld::DataOf(mate)->m_hasTag);
}

TEST_F(TeamTagTest, AFreedTargetEndsItsRecordUnreadAndTouchesNoIdleTag)
{
    TagWith(tagger, target);
    Record("red", target, tagger, 10.0f);
    // A record without a target runs down like any other and ends nothing.
    world->logic->GetTeamTags("red")->emplace_back("nobody", GameLogicSystem::TeamTag{nullptr, tagger, 0.1f});
    world->Step();
    // Gone in a frame without the game logic: freed before its record is read again.
    target->Destroy();
    world->logic->SetActive(false);
    world->Step();
    world->logic->SetActive(true);
    ASSERT_EQ(world->logic->GetTeamTags("red")->size(), 2u);
    Steps(3);
    EXPECT_TRUE(world->logic->GetTeamTags("red")->empty());
    EXPECT_TRUE(Own(tagger).IsHiding() || !Own(tagger).IsShown());
    EXPECT_FALSE(GameWorld::DataOf(tagger)->m_hasTag);
    EXPECT_EQ(world->PlayCount("tag_removed.ogg"), 1u) << "only the owner that pointed at it";
    EXPECT_FALSE(Own(mate).IsHiding()) << "an idle tag is no match for a gone target";
    EXPECT_FALSE(Own(opponent).IsHiding());
}

class LiftWithTagsTest : public WeaponTest {};

TEST_F(LiftWithTagsTest, ABeamWithRealTagsTagsShowsAndTakesBack)
{
    world->LoadEffect("tag_removed.ogg");
    Entity* shooter = ArmedPerson("shooter", "red", 0.0f, 0.0f, 0);
    Entity* mate = ArmedPerson("mate", "red", -6.0f, 0.0f, 1);
    Entity* enemy = Armed("enemy", "blue", 20.0f, 0.0f);
    auto* own = GameWorld::DataOf(shooter)->GetTagMarker()->GetComponent<TagComponent>();
    auto* team = GameWorld::DataOf(mate)->GetTeamTagMarker()->GetComponent<TagComponent>();
    ASSERT_NE(own, nullptr);
    ASSERT_NE(team, nullptr);
    std::string text;
    {
        tarsel::test::StdoutCapture out;
        for (int frame = 0; frame < 30 && !Data(shooter).m_hasTag; ++frame)
            BeamFrame(shooter, enemy);
        text = out.Text();
    }
    ASSERT_TRUE(Data(shooter).m_hasTag);
    EXPECT_NE(text.find("Activate Team Tag for mate: enemy"), std::string::npos) << text;
    EXPECT_TRUE(own->IsShown());
    EXPECT_EQ(own->GetTarget(), enemy);
    EXPECT_TRUE(own->GetEntity()->GetComponent<BillboardedQuadComponent>()->GetVisible(0));
    EXPECT_TRUE(team->IsShown()) << "the mate sees the team tag";
    EXPECT_EQ(team->GetTarget(), enemy);
    world->Step(15);
    const Vec4 over = own->GetEntity()->GetComponent<Transform3D>()->GetPosition();
    const Vec4 at = enemy->GetComponent<Transform3D>()->GetPosition();
    EXPECT_NEAR(over.x, at.x, 1e-3f);
    EXPECT_NEAR(over.y, at.y + 4.0f * Data(enemy).sphereCollRadius, 1e-3f);

    // The dying shooter's beam takes the tag back.
    Data(shooter).m_dying = true;
    {
        tarsel::test::StdoutCapture out;
        BeamFrame(shooter, enemy);
        text = out.Text();
    }
    EXPECT_NE(text.find("Dectivate Team Tag: enemy"), std::string::npos) << text;
    EXPECT_FALSE(Data(shooter).m_hasTag);
    EXPECT_TRUE(own->IsHiding());
    // The beam lets go, or it would tag again once the hide is over.
    Lift(shooter).ReleaseTarget(enemy);
    world->Step(20);
    EXPECT_FALSE(own->IsShown());
    EXPECT_FALSE(team->IsShown());
}

} // namespace
} // namespace quellor::test
