// Every menu screen that moves a cursor moves it the way the pressed key points on the screen:
// from each entry, each move the screen's own logic makes lands on an entry that lies in that
// direction as the screen's camera shows it, or the cursor stays. The 3D screens' entries stand
// where the menu level of the built content (or the character select's own placement) puts
// them; the pause menu's are points of its 2D panel.
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Transform3D.h"
#include "frontend/screens/CharSelectMenu.h"
#include "frontend/screens/GraphicsOptionsMenu.h"
#include "frontend/screens/MainMenu.h"
#include "frontend/screens/MoreGraphicsOptionsMenu.h"
#include "frontend/screens/OptionsMenu.h"
#include "frontend/screens/PauseMenu.h"
#include "tarsel/Game.h"
#include "tests/startup/MenuLevelGame.h"
#include "tests/support/ContentDir.h"
#include "tests/support/MenuTargets.h"
#include "tests/support/TempDir.h"
#include "tests/support/WorkingDirectory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

using quellor::Vec4;

enum class Press { Up, Down, Left, Right };
const char* const kPressNames[] = {"Up", "Down", "Left", "Right"};

// An entry as its screen shows it: offsets to the right and up, on one scale for both axes.
struct Entry {
    std::string name;
    float x = 0.0f;
    float y = 0.0f;
    // One of a yes/no pair that either key flips between.
    bool flips = false;
};

struct CursorScreen {
    std::string screen;
    std::vector<Entry> entries;
    std::vector<Press> presses;
    // The entry the screen's logic moves to from an entry; nullopt when the move leaves the
    // entries (a character-select slot that confirms its last row is ready).
    std::function<std::optional<unsigned>(unsigned, Press)> move;
};

// Where the screen's camera target shows a world point.
Entry Seen(const std::string& screen, std::string name, const Vec4& at)
{
    const tarsel::test::MenuTarget* view = tarsel::test::FindMenuTarget(screen);
    if (!view) {
        ADD_FAILURE() << "no camera target for " << screen;
        return {std::move(name)};
    }
    const tarsel::test::ViewPoint seen = tarsel::test::SeenFrom(*view, {at.x, at.y, at.z});
    return {std::move(name), seen.right, seen.up};
}

// The middle of the level entities' places.
Vec4 LevelPlace(const std::vector<const char*>& names)
{
    Vec4 sum(0.0f, 0.0f, 0.0f, 1.0f);
    for (const char* name : names) {
        const quellor::Entity* entity = quellor::Engine::Instance()->GetEntity(name, "default");
        const auto* transform = entity ? entity->GetComponent<quellor::Transform3D>() : nullptr;
        if (!transform) {
            ADD_FAILURE() << name << " is not a placed entity of the menu level";
            continue;
        }
        sum = Vec4(sum.x + transform->m_x, sum.y + transform->m_y, sum.z + transform->m_z, 1.0f);
    }
    const float n = static_cast<float>(names.empty() ? 1 : names.size());
    return Vec4(sum.x / n, sum.y / n, sum.z / n, 1.0f);
}

bool IsUp(Press press) { return press == Press::Up; }

std::vector<CursorScreen> CursorScreens()
{
    using quellor::CharSelectMenu;
    using quellor::CharSelectRules;
    using quellor::GraphicsOptionsCursor;
    using quellor::GraphicsOptionsMenu;
    using quellor::MainMenu;
    using quellor::MoreGraphicsOptionsMenu;
    using quellor::OptionsMenu;
    using quellor::PauseMenu;
    std::vector<CursorScreen> screens;

    CursorScreen main{"MainMenu", {}, {Press::Up, Press::Down}, [](unsigned item, Press press) {
                          return std::optional<unsigned>(MainMenu::NextIndex(item, IsUp(press)));
                      }};
    for (unsigned item = 0; item < MainMenu::ItemCount; ++item) {
        main.entries.push_back(Seen(main.screen, "item " + std::to_string(item), MainMenu::CursorPosition(item)));
        main.entries.back().flips = item == MainMenu::QuitBack || item == MainMenu::QuitConfirm;
    }
    screens.push_back(main);

    CursorScreen options{"OptionsMenu", {}, {Press::Up, Press::Down}, [](unsigned item, Press press) {
                             return std::optional<unsigned>(OptionsMenu::NextItem(item, IsUp(press)));
                         }};
    for (unsigned item = 0; item < OptionsMenu::ItemCount; ++item)
        options.entries.push_back(
            Seen(options.screen, OptionsMenu::ItemName(item), LevelPlace({OptionsMenu::ItemName(item)})));
    screens.push_back(options);

    CursorScreen graphics{"GraphicsOptionsMenu", {}, {Press::Up, Press::Down, Press::Left, Press::Right},
                          [](unsigned entry, Press press) {
                              const int left = GraphicsOptionsCursor::kLeftRows;
                              const int row = static_cast<int>(entry);
                              const GraphicsOptionsCursor at =
                                  row < left ? GraphicsOptionsCursor{row, -1} : GraphicsOptionsCursor{-1, row - left};
                              const GraphicsOptionsCursor moved = press == Press::Up     ? at.MovedUp()
                                                                  : press == Press::Down ? at.MovedDown()
                                                                  : press == Press::Left ? at.MovedLeft()
                                                                                         : at.MovedRight();
                              return std::optional<unsigned>(moved.Entry());
                          }};
    for (unsigned entry = 0; entry < GraphicsOptionsMenu::kEntryCount; ++entry)
        graphics.entries.push_back(Seen(graphics.screen, GraphicsOptionsMenu::EntryName(entry),
                                        LevelPlace({GraphicsOptionsMenu::EntryName(entry)})));
    screens.push_back(graphics);

    CursorScreen more{"MoreGraphicsOptionsMenu", {}, {Press::Up, Press::Down}, [](unsigned row, Press press) {
                          return std::optional<unsigned>(MoreGraphicsOptionsMenu::NextRow(row, IsUp(press)));
                      }};
    for (unsigned row = MoreGraphicsOptionsMenu::GraphicsRow; row <= MoreGraphicsOptionsMenu::BackRow; ++row)
        more.entries.push_back(Seen(more.screen, "row " + std::to_string(row),
                                    LevelPlace(MoreGraphicsOptionsMenu::RowEntities(row))));
    screens.push_back(more);

    // A slot's rows: confirm steps down a row, back steps up one. Each row's place is where its
    // checkmark goes.
    const unsigned rows = CharSelectMenu::kRows;
    CursorScreen slots{"CharSelectMenu", {}, {Press::Up, Press::Down}, [rows](unsigned entry, Press press) {
                           const int slot = static_cast<int>(entry / rows);
                           CharSelectRules rules({"hair_default:hair_black"}, {"mask_default:mask_red"});
                           rules.Join(slot);
                           for (unsigned row = 0; row < entry % rows; ++row)
                               rules.AdvanceStage(slot);
                           if (press == Press::Down) {
                               if (rules.Confirm(slot, true).step == CharSelectRules::Step::PlaceCheckmark)
                                   rules.AdvanceStage(slot);
                           } else if (rules.Back(slot).step == CharSelectRules::Step::RemoveCheckmark) {
                               rules.RetreatStage(slot);
                           }
                           const int stage = rules.GetSlot(slot).stage;
                           if (!rules.GetSlot(slot).joined || stage >= static_cast<int>(rows))
                               return std::optional<unsigned>();
                           return std::optional<unsigned>(static_cast<unsigned>(slot) * rows +
                                                          static_cast<unsigned>(stage));
                       }};
    const CharSelectRules::Basis basis =
        CharSelectRules::MakeBasis(CharSelectMenu::kCameraPosition, CharSelectMenu::kCameraLook);
    for (int slot = 0; slot < CharSelectRules::kSlots; ++slot)
        for (unsigned row = 0; row < rows; ++row)
            slots.entries.push_back(Seen(slots.screen, "slot " + std::to_string(slot) + " row " + std::to_string(row),
                                         CharSelectMenu::CheckmarkPlace(basis, slot, row)));
    screens.push_back(slots);

    // The pause menu's main page, then the quit-to-menu confirmation's no and yes. Its panel's y
    // grows downward. The menu is not started: its moves work on the page and the index alone.
    CursorScreen pause{"PauseMenu", {}, {Press::Up, Press::Down}, [](unsigned entry, Press press) {
                           PauseMenu menu;
                           const bool confirmation = entry >= PauseMenu::EntryCount;
                           const unsigned index = confirmation ? entry - PauseMenu::EntryCount : entry;
                           if (confirmation) {
                               for (unsigned i = 0; i < PauseMenu::QuitToMenu; ++i)
                                   menu.MoveDown();
                               menu.Select();
                           }
                           for (unsigned i = 0; i < index; ++i)
                               menu.MoveDown();
                           const unsigned page = confirmation ? PauseMenu::QuitToMenuPage : PauseMenu::MainPage;
                           if (menu.GetPage() != page || menu.GetCursorIndex() != index) {
                               ADD_FAILURE() << "the pause menu does not reach entry " << entry;
                               return std::optional<unsigned>();
                           }
                           if (IsUp(press))
                               menu.MoveUp();
                           else
                               menu.MoveDown();
                           return std::optional<unsigned>(menu.GetCursorIndex() +
                                                          (confirmation ? PauseMenu::EntryCount : 0u));
                       }};
    auto panelEntry = [](std::string name, ZOR::float2 point, bool flips) {
        return Entry{std::move(name), point.x / 1080.0f, -point.y / 1080.0f, flips};
    };
    for (unsigned entry = 0; entry < PauseMenu::EntryCount; ++entry)
        pause.entries.push_back(panelEntry("entry " + std::to_string(entry), PauseMenu::MainEntryPoint(entry), false));
    pause.entries.push_back(panelEntry("confirmation no", PauseMenu::ConfirmPoint(0), true));
    pause.entries.push_back(panelEntry("confirmation yes", PauseMenu::ConfirmPoint(1), true));
    screens.push_back(pause);
    return screens;
}

// Why the move does not go the pressed way on screen; empty when it does. Left and Right must go
// mostly sideways. The main menu's items zigzag sideways down their board, so Up and Down only
// have to go clearly up or down. Either key flips a yes/no pair, which must stand one above the
// other.
std::string Misstep(const Entry& from, const Entry& to, Press press)
{
    constexpr float kClear = 0.01f;
    const float dx = to.x - from.x;
    const float dy = to.y - from.y;
    bool fine = false;
    if (from.flips && to.flips)
        fine = std::abs(dy) > kClear && std::abs(dy) > std::abs(dx);
    else if (press == Press::Right || press == Press::Left)
        fine = (press == Press::Right ? dx : -dx) > std::max(kClear, std::abs(dy));
    else
        fine = (press == Press::Up ? dy : -dy) > kClear;
    if (fine)
        return {};
    char text[96];
    std::snprintf(text, sizeof text, "%.3f to the right and %.3f up", static_cast<double>(dx),
                  static_cast<double>(dy));
    return text;
}

TEST(MenuCursorDirection, EveryCursorMoveGoesThePressedWayOnScreen)
{
    tarsel::test::TempDir documents(true);
    tarsel::test::WorkingDirectory cwd(tarsel::test::ContentDir());
    tarsel::Game game(tarsel::test::SkipSplashOptions(documents));
    std::string error;
    ASSERT_TRUE(game.LoadInputScript(error)) << error;
    ASSERT_TRUE(game.Start());
    // The main menu loads the menu level.
    tarsel::test::RunToTheMenu(game);

    for (const CursorScreen& screen : CursorScreens()) {
        const std::size_t count = screen.entries.size();
        for (unsigned from = 0; from < count; ++from) {
            // Each entry can be left by some move, so that the screen's moves are really driven.
            bool leaves = false;
            for (Press press : screen.presses) {
                const std::optional<unsigned> to = screen.move(from, press);
                if (!to || *to == from)
                    continue;
                leaves = true;
                ASSERT_LT(*to, count) << screen.screen;
                const Entry& a = screen.entries[from];
                const Entry& b = screen.entries[*to];
                const std::string misstep = Misstep(a, b, press);
                EXPECT_TRUE(misstep.empty()) << screen.screen << ": " << kPressNames[static_cast<int>(press)]
                                             << " from " << a.name << " lands on " << b.name << ", " << misstep;
            }
            EXPECT_TRUE(leaves) << screen.screen << ": no move leaves " << screen.entries[from].name;
        }
    }
}

} // namespace
