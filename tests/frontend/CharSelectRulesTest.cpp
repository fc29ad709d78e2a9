// The character select's rules without an engine: the slot state machine with the start test,
// computer players and the join that would pass four players, the team board, cycling, the
// preview's turn, the facing of the widgets and the entry list of a match.
#include "engine/Transform3D.h"
#include "engine/reflection/Mat4.h"
#include "frontend/screens/CharSelectRules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using quellor::CharSelectRules;
using quellor::Quat;
using quellor::Vec4;
using Step = CharSelectRules::Step;

namespace {

const std::vector<std::string> kHair = {"hair_tarsel:hair_black", "hair_tarsel:mask_purple", "hair_tarsel:mask_red"};
const std::vector<std::string> kMasks = {"mask_default:mask_default", "mask_fox:mask_fox0", "mask_default:mask_fox1",
                                         "mask_bunny:mask_bunny"};

CharSelectRules Rules()
{
    return CharSelectRules(kHair, kMasks);
}

// Joins the slot and walks it to the stage.
void JoinAt(CharSelectRules& rules, int slot, int stage)
{
    rules.Join(slot);
    for (int s = 0; s < stage; ++s)
        rules.AdvanceStage(slot);
}

// Joins the slot and puts it on the team through the team row, as a person would.
void JoinOnTeam(CharSelectRules& rules, int slot, int team)
{
    JoinAt(rules, slot, 2);
    while (rules.GetSlot(slot).team != team)
        rules.Cycle(slot, -1);
    rules.RetreatStage(slot);
    rules.RetreatStage(slot);
}

TEST(CharSelectRules, EveryStateAnswersConfirmAndBackAsTheTableSays)
{
    struct Case {
        const char* state;
        int stage;      // -1 not joined
        bool unlocked;  // the item of the stage
        bool otherJoined;
        Step confirm;
        bool confirmCue;
        Step back;
        bool backCue;
    };
    const Case cases[] = {
        {"empty screen", -1, true, false, Step::Join, false, Step::BackToMenu, true},
        {"empty slot, another joined", -1, true, true, Step::Join, false, Step::None, false},
        {"hair", 0, true, false, Step::PlaceCheckmark, true, Step::Leave, false},
        {"hair locked", 0, false, false, Step::None, true, Step::Leave, false},
        {"mask", 1, true, false, Step::PlaceCheckmark, true, Step::RemoveCheckmark, true},
        {"mask locked", 1, false, false, Step::None, true, Step::RemoveCheckmark, true},
        {"team (nothing to lock)", 2, false, false, Step::PlaceCheckmark, true, Step::RemoveCheckmark, true},
        {"ready", 3, true, false, Step::StartMatch, true, Step::RemoveCheckmark, true},
        {"ready, another not", 3, true, true, Step::None, true, Step::RemoveCheckmark, true},
    };
    for (const Case& c : cases) {
        CharSelectRules rules = Rules();
        if (c.stage >= 0)
            JoinAt(rules, 0, c.stage);
        if (c.otherJoined)
            rules.Join(3);
        const auto confirm = rules.Confirm(0, c.unlocked);
        EXPECT_EQ(confirm.step, c.confirm) << c.state;
        EXPECT_EQ(confirm.selectCue, c.confirmCue) << c.state;
        const auto back = rules.Back(0);
        EXPECT_EQ(back.step, c.back) << c.state;
        EXPECT_EQ(back.selectCue, c.backCue) << c.state;
    }

    // The stage moves only with the checkmarks and stays within 0..3.
    CharSelectRules rules = Rules();
    JoinAt(rules, 0, 3);
    rules.AdvanceStage(0);
    EXPECT_EQ(rules.GetSlot(0).stage, 3);
    for (int i = 0; i < 5; ++i)
        rules.RetreatStage(0);
    EXPECT_EQ(rules.GetSlot(0).stage, 0);
    rules.Leave(0);
    EXPECT_FALSE(rules.GetSlot(0).joined);
    EXPECT_EQ(rules.Back(0).step, Step::BackToMenu);
}

TEST(CharSelectRules, TheStartTestWantsLowerSlotsJoinedEveryoneReadyAndNothingBusy)
{
    CharSelectRules rules = Rules();
    JoinAt(rules, 0, 3);
    JoinAt(rules, 2, 3);
    EXPECT_FALSE(rules.CanStart(2)); // slot 1 is empty
    EXPECT_EQ(rules.Confirm(2, true).step, Step::None);
    EXPECT_TRUE(rules.CanStart(0));
    EXPECT_EQ(rules.Confirm(0, true).step, Step::StartMatch);

    for (int busy = 0; busy < CharSelectRules::kSlots; ++busy) {
        rules.Busy(busy) = true;
        EXPECT_FALSE(rules.CanStart(0)) << busy;
        rules.Busy(busy) = false;
    }
    JoinAt(rules, 3, 2);
    EXPECT_FALSE(rules.CanStart(0)); // slot 3 not ready
    rules.SetAllBusy(true);
    rules.SetAllBusy(false);
    rules.AdvanceStage(3);
    EXPECT_TRUE(rules.CanStart(0));
}

TEST(CharSelectRules, ComputerPlayersFillToFourThenChangeSidesAndRemoveByColour)
{
    CharSelectRules rules = Rules();
    rules.Join(0); // red
    rules.Join(1); // orange
    EXPECT_TRUE(rules.AddComputer(0));
    EXPECT_TRUE(rules.AddComputer(1));
    EXPECT_EQ(rules.GetComputerPlayers(), (std::vector<int>{0, 1}));
    // Full: the first computer player of another colour is recruited.
    EXPECT_TRUE(rules.AddComputer(1));
    EXPECT_EQ(rules.GetComputerPlayers(), (std::vector<int>{1, 1}));
    EXPECT_FALSE(rules.AddComputer(1));
    EXPECT_EQ(rules.GetComputerPlayers(), (std::vector<int>{1, 1}));

    // Remove: the first of the caller's colour takes the last one's value.
    CharSelectRules three = Rules();
    JoinOnTeam(three, 0, 0);
    for (int i = 0; i < 3; ++i)
        three.AddComputer(0);
    three.Cycle(0, 1); // stage 0: hair, the team stays
    EXPECT_EQ(three.GetSlot(0).team, 0);
    EXPECT_EQ(three.JoinedCount() + static_cast<int>(three.GetComputerPlayers().size()), 4);
    JoinAt(three, 1, 0);
    // The join would make five: the last computer player goes.
    EXPECT_EQ(three.GetComputerPlayers(), (std::vector<int>{0, 0}));
    three.AddComputer(1); // full: recolours the first red one orange
    EXPECT_EQ(three.GetComputerPlayers(), (std::vector<int>{1, 0}));
    EXPECT_TRUE(three.RemoveComputer(0));
    EXPECT_EQ(three.GetComputerPlayers(), (std::vector<int>{1}));
    JoinAt(three, 2, 0); // purple, nothing of its colour
    EXPECT_FALSE(three.RemoveComputer(2));
    EXPECT_EQ(three.GetComputerPlayers(), (std::vector<int>{1}));
    EXPECT_TRUE(three.RemoveComputer(1));
    EXPECT_TRUE(three.GetComputerPlayers().empty());

    // Four joined people leave no room: a join drops every computer player.
    CharSelectRules full = Rules();
    full.Join(0);
    for (int i = 0; i < 3; ++i)
        full.AddComputer(0);
    full.Join(1);
    full.Join(2);
    full.Join(3);
    EXPECT_TRUE(full.GetComputerPlayers().empty());
}

TEST(CharSelectRules, TheBoardListsPeopleBySlotThenComputerPlayersOnTheirTeamsRows)
{
    CharSelectRules rules = Rules();
    JoinOnTeam(rules, 0, 0);
    JoinOnTeam(rules, 1, 0);
    JoinOnTeam(rules, 2, 0);
    rules.AddComputer(1);
    const auto board = rules.Board();
    ASSERT_EQ(board.size(), 4u);
    const float rows[] = {17.5f, 15.5f, 13.5f, 11.5f};
    const char* tiles[] = {"char_select_number_0.mat", "char_select_number_1.mat", "char_select_number_2.mat",
                           "char_select_number_cp.mat"};
    for (std::size_t k = 0; k < board.size(); ++k) {
        EXPECT_EQ(board[k].team, 0);
        EXPECT_FLOAT_EQ(board[k].row, rows[k]);
        EXPECT_EQ(board[k].tile, tiles[k]);
        EXPECT_EQ(board[k].streak, "char_select_red_streak.mat");
    }

    // A team change moves the tile to the other team's rows; unjoined slots are skipped.
    CharSelectRules moved = Rules();
    moved.Join(3);
    JoinAt(moved, 1, 2);
    moved.Cycle(1, 1); // orange to purple
    moved.AddComputer(3);
    const auto after = moved.Board();
    ASSERT_EQ(after.size(), 3u);
    EXPECT_EQ(after[0].team, 2);
    EXPECT_FLOAT_EQ(after[0].row, -7.5f);
    EXPECT_EQ(after[0].tile, "char_select_number_1.mat");
    EXPECT_EQ(after[0].streak, "char_select_purple_streak.mat");
    EXPECT_EQ(after[1].team, 3);
    EXPECT_FLOAT_EQ(after[1].row, -20.0f);
    EXPECT_EQ(after[1].tile, "char_select_number_3.mat");
    EXPECT_EQ(after[2].tile, "char_select_number_cp.mat");
    EXPECT_FLOAT_EQ(after[2].row, -22.0f);
}

TEST(CharSelectRules, HairMaskAndTeamWrapAtBothEnds)
{
    CharSelectRules rules = Rules();
    rules.Join(0);
    rules.Cycle(0, -1);
    EXPECT_EQ(rules.GetSlot(0).hair, 2);
    EXPECT_EQ(rules.HairEntry(0), "hair_tarsel:mask_red");
    rules.Cycle(0, 1);
    EXPECT_EQ(rules.GetSlot(0).hair, 0);
    rules.AdvanceStage(0);
    rules.Cycle(0, -1);
    EXPECT_EQ(rules.GetSlot(0).mask, 3);
    rules.Cycle(0, 1);
    EXPECT_EQ(rules.GetSlot(0).mask, 0);
    rules.AdvanceStage(0);
    EXPECT_EQ(rules.Cycle(0, -1), 2);
    EXPECT_EQ(rules.GetSlot(0).team, 3); // left from red gives green
    rules.Cycle(0, 1);
    EXPECT_EQ(rules.GetSlot(0).team, 0);
    rules.AdvanceStage(0);
    EXPECT_EQ(rules.Cycle(0, 1), -1); // ready: nothing moves
    EXPECT_EQ(rules.GetSlot(0).team, 0);

    // An unjoined slot still moves its hair; a join puts it back on the first entries and its colour.
    rules.Cycle(2, 1);
    EXPECT_EQ(rules.GetSlot(2).hair, 1);
    rules.Join(2);
    EXPECT_EQ(rules.GetSlot(2).hair, 0);
    EXPECT_EQ(rules.GetSlot(2).mask, 0);
    EXPECT_EQ(rules.GetSlot(2).team, 2);
    EXPECT_EQ(CharSelectRules::Wrap(0, 0, 1), 0); // an empty list stays at 0
    EXPECT_EQ(CharSelectRules(std::vector<std::string>{}, {}).HairEntry(0), "");

    // Names of the colours, and entries with and without ":".
    EXPECT_STREQ(CharSelectRules::SwatchMaterial(1), "yellow_boid.mat");
    EXPECT_STREQ(CharSelectRules::SwatchMaterial(2), "blue_boid.mat");
    EXPECT_STREQ(CharSelectRules::BodyMaterial(1), "player_orange.mat");
    EXPECT_STREQ(CharSelectRules::SlotBody(3), "player_green.mat");
    EXPECT_STREQ(CharSelectRules::TeamName(9), "red");
    EXPECT_EQ(CharSelectRules::SplitEntry("mask_fox:mask_fox0:x"), std::make_pair(std::string("mask_fox"), std::string("mask_fox0:x")));
    EXPECT_EQ(CharSelectRules::SplitEntry("plain"), std::make_pair(std::string("plain"), std::string("plain")));
}

// The axes of a rotation: the columns of its matrix.
Vec4 Column(const Quat& q, int column)
{
    const quellor::Mat4 m = quellor::Transform3D::BuildWorldMatrix(0, 0, 0, 1, 1, 1, q);
    const float c[3][3] = {{m.m00, m.m01, m.m02}, {m.m10, m.m11, m.m12}, {m.m20, m.m21, m.m22}};
    return Vec4(c[0][column], c[1][column], c[2][column], 0.0f);
}

// The right arrows turn by 3.14, not pi: their axes are off by sin(3.14), about 0.0016.
void ExpectNear(const Vec4& a, const Vec4& b, const char* what, float tolerance = 1e-3f)
{
    EXPECT_NEAR(a.x, b.x, tolerance) << what;
    EXPECT_NEAR(a.y, b.y, tolerance) << what;
    EXPECT_NEAR(a.z, b.z, tolerance) << what;
}

TEST(CharSelectRules, ThePreviewTurnsAboutTheVerticalLeftShoulderFirstAndStaysUnit)
{
    const float dt = 1.0f / 60.0f;
    EXPECT_FLOAT_EQ(CharSelectRules::TurnAngle(true, false, dt), -1.5707964f * dt);
    EXPECT_FLOAT_EQ(CharSelectRules::TurnAngle(false, true, dt), 1.5707964f * dt);
    EXPECT_FLOAT_EQ(CharSelectRules::TurnAngle(true, true, dt), -1.5707964f * dt);
    EXPECT_FLOAT_EQ(CharSelectRules::TurnAngle(false, false, dt), 0.0f);

    // A second of right turns is a quarter turn about y; the vertical axis stays.
    Quat q;
    for (int frame = 0; frame < 60; ++frame) {
        q = CharSelectRules::Turn(q, CharSelectRules::TurnAngle(false, true, dt));
        EXPECT_NEAR(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w, 1.0f, 1e-5f);
    }
    ExpectNear(Column(q, 1), Vec4(0, 1, 0, 0), "up");
    EXPECT_NEAR(std::fabs(q.y), std::sin(0.25f * 3.1415927f), 1e-3f);
    // Turning back gives the start again.
    q = CharSelectRules::Turn(q, -1.5707964f);
    EXPECT_NEAR(std::fabs(q.w), 1.0f, 1e-4f);
    // A quaternion that is not unit comes back unit.
    const Quat scaled = CharSelectRules::Turn(Quat(0.0f, 0.0f, 0.0f, 2.0f), 0.1f);
    EXPECT_NEAR(scaled.x * scaled.x + scaled.y * scaled.y + scaled.z * scaled.z + scaled.w * scaled.w, 1.0f, 1e-5f);
}

TEST(CharSelectRules, TheBasisAndTheArrowsFacingMirrorAboutTheCamerasUp)
{
    const auto basis = CharSelectRules::MakeBasis(Vec4(-2.7f, 54.0f, -43.3f, 1.0f), Vec4(0.0f, 0.0f, -2.0f, 0.0f));
    ExpectNear(basis.d, Vec4(0, 0, -1, 0), "d");
    ExpectNear(basis.r, Vec4(1, 0, 0, 0), "r");
    ExpectNear(basis.u, Vec4(0, 1, 0, 0), "u");
    const Vec4 at = basis.At(-17.0f, 1.0f, 45.0f);
    EXPECT_NEAR(at.x, -19.7f, 1e-4f);
    EXPECT_NEAR(at.y, 55.0f, 1e-4f);
    EXPECT_NEAR(at.z, -88.3f, 1e-4f);
    // A tilted look keeps r horizontal and u at right angles to both.
    const auto tilted = CharSelectRules::MakeBasis(Vec4(0, 0, 0, 1), Vec4(0.3f, -0.4f, -0.866f, 0));
    EXPECT_FLOAT_EQ(tilted.r.y, 0.0f);
    EXPECT_NEAR(tilted.u.x * tilted.d.x + tilted.u.y * tilted.d.y + tilted.u.z * tilted.d.z, 0.0f, 1e-5f);
    EXPECT_NEAR(tilted.u.x * tilted.r.x + tilted.u.y * tilted.r.y + tilted.u.z * tilted.r.z, 0.0f, 1e-5f);
    // A zero look stays zero.
    const auto still = CharSelectRules::MakeBasis(Vec4(1, 2, 3, 1), Vec4());
    ExpectNear(still.At(0, 0, 5), Vec4(1, 2, 3, 1), "zero look");

    // Straight ahead, the left arrow's axes are r, u and -n; the right arrow's x and z turn over
    // about u, so it points the other way as the camera sees it.
    const Vec4 ahead = basis.At(0.0f, 0.0f, 45.0f);
    const Quat left = CharSelectRules::Facing(basis, ahead, false);
    const Quat right = CharSelectRules::Facing(basis, ahead, true);
    ExpectNear(Column(left, 0), basis.r, "left x");
    ExpectNear(Column(left, 1), basis.u, "left y");
    ExpectNear(Column(left, 2), Vec4(0, 0, 1, 0), "left z");
    ExpectNear(Column(right, 0), Vec4(-1, 0, 0, 0), "right x", 2e-3f);
    ExpectNear(Column(right, 1), basis.u, "right y");
    ExpectNear(Column(right, 2), Vec4(0, 0, -1, 0), "right z", 2e-3f);
}

TEST(CharSelectRules, TheEntryListHoldsPeopleInSlotOrderThenComputerPlayers)
{
    CharSelectRules one = Rules();
    one.Join(0);
    const auto single = one.Entries();
    ASSERT_EQ(single.size(), 1u);
    EXPECT_EQ(single[0].slot, 0);
    EXPECT_EQ(single[0].team, "red");

    // Pads 0 and 1 on team 2, two computer players added by pad 0 while on team 0.
    CharSelectRules two = Rules();
    two.Join(1);
    two.Join(0);
    two.AddComputer(0);
    two.AddComputer(0);
    for (int slot : {0, 1}) {
        two.AdvanceStage(slot);
        two.AdvanceStage(slot);
        while (two.GetSlot(slot).team != 2)
            two.Cycle(slot, 1);
    }
    const auto entries = two.Entries();
    const std::vector<std::pair<int, std::string>> expected = {{0, "purple"}, {1, "purple"}, {-1, "red"}, {-1, "red"}};
    ASSERT_EQ(entries.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(entries[i].slot, expected[i].first) << i;
        EXPECT_EQ(entries[i].team, expected[i].second) << i;
    }
}

} // namespace
