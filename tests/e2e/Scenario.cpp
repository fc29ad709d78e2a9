#include "tests/e2e/Scenario.h"

#include "engine/ActionList.h"
#include "engine/ActionSystem.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Space.h"
#include "engine/graphics/GraphicsSystem.h"
#include "frontend/screens/CharSelectMenu.h"
#include "frontend/screens/CharSelectRules.h"
#include "frontend/screens/MenuScreen.h"
#include "gameplay/PlayerDataComponent.h"
#include "gameplay/cameras/LevelIntroCam.h"
#include "platform/ScriptedInputSource.h"
#include "tests/support/ContentDir.h"
#include "tests/support/MenuOcclusion.h"
#include "tools/writers/Contrast.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <sstream>

namespace tarsel::test {

namespace {

// Every scenario runs with the same random source.
constexpr unsigned kSeed = 4343;
constexpr int kZ = 90;

bool Uniform(const std::vector<std::uint8_t>& rgba)
{
    for (std::size_t i = 4; i + 3 < rgba.size(); i += 4)
        if (rgba[i] != rgba[0] || rgba[i + 1] != rgba[1] || rgba[i + 2] != rgba[2])
            return false;
    return true;
}

} // namespace

FlowSetup Scenario::ContentSetup()
{
    FlowSetup setup;
    setup.workingDirectory = std::filesystem::absolute(ContentDir());
    setup.seed = kSeed;
    return setup;
}

bool Scenario::ContentHas(const std::string& file)
{
    return std::filesystem::exists(ContentDir() / file);
}

bool Scenario::ContentHasFile(const std::string& name)
{
    std::error_code ec;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(ContentDir(), ec))
        if (entry.path().filename() == name)
            return true;
    return false;
}

bool Scenario::MenuContentBuilt()
{
    return ContentHas("levels/MainMenuTest.ql");
}

bool Scenario::MatchContentBuilt()
{
    return ContentHas("levels/Beta.ql") && MenuContentBuilt();
}

std::vector<std::string> Scenario::MenuContentGaps()
{
    if (MenuContentBuilt())
        return {};
    return {"MainMenuTest.ql", "no animation", "the level has no entity"};
}

void Scenario::Boot(FlowSetup setup, bool skipSplash)
{
    Create(std::move(setup));
    Launch(skipSplash);
}

void Scenario::Create(FlowSetup setup)
{
    capture.emplace();
    game.emplace(std::move(setup));
}

void Scenario::Launch(bool skipSplash)
{
    ASSERT_TRUE(game->Start());
    if (skipSplash) {
        game->Input().TapKey(kSpaceKey);
        ASSERT_TRUE(game->Frame());
    }
}

quellor::MenuScreen* Scenario::WaitForScreen(const std::string& name, std::uint32_t maxFrames)
{
    quellor::MenuScreen* screen = nullptr;
    const bool found = game->RunUntil([&] {
        screen = game->FindScreen(name);
        return screen && screen->IsReady();
    }, maxFrames);
    EXPECT_TRUE(found) << "no ready " << name;
    return found ? screen : nullptr;
}

void Scenario::Press(int key)
{
    const std::vector<std::string> running = game->RunningScreens();
    if (!running.empty())
        WaitForScreen(running.back(), 600);
    game->Input().TapKey(key);
    EXPECT_TRUE(game->Frame());
    // A frame without the key, so that the next press is a press of its own.
    game->Frame();
}

std::vector<RoadPress> Scenario::MainRoad()
{
    // Join, hair and mask, three computer players, orange, ready; then start.
    std::vector<RoadPress> road;
    for (int key : {kSpaceKey, kSpaceKey, kSpaceKey, kZ, kZ, kZ, kRight, kSpaceKey, kSpaceKey})
        road.push_back({RoadPress::kKeyboard, key});
    return road;
}

void Scenario::StartMatch(const std::vector<RoadPress>& road)
{
    ASSERT_FALSE(road.empty());
    ASSERT_NE(WaitForScreen("MainMenu", 1500), nullptr);
    Press(kEnter);
    ASSERT_NE(WaitForScreen("CharSelectMenu", 300), nullptr);
    for (std::size_t i = 0; i < road.size(); ++i) {
        if (beforePress) {
            ASSERT_NO_FATAL_FAILURE(WaitForCharSelect());
            beforePress(i);
        }
        if (i + 1 == road.size()) {
            menuEntities.clear();
            for (const auto& [name, entity] : quellor::Engine::Instance()->GetSpace("default")->GetEntityMap())
                menuEntities.emplace_back(entity);
        }
        CharSelectPress(road[i].code, road[i].pad);
        if (HasFatalFailure())
            return;
    }
}

void Scenario::WaitForCharSelect()
{
    auto* screen = static_cast<quellor::CharSelectMenu*>(game->FindScreen("CharSelectMenu"));
    ASSERT_NE(screen, nullptr);
    // The input walk stops at a busy slot.
    ASSERT_TRUE(game->RunUntil([&] {
        for (int slot = 0; slot < quellor::CharSelectRules::kSlots; ++slot)
            if (screen->GetRules().GetSlot(slot).busy)
                return false;
        return screen->IsReady();
    }, 120));
}

void Scenario::ExpectCharSelectBoardsSeen(const std::string& when)
{
    auto* screen = static_cast<quellor::CharSelectMenu*>(game->FindScreen("CharSelectMenu"));
    ASSERT_NE(screen, nullptr);
    std::vector<const quellor::Entity*> boards = {screen->GetTitle(), screen->GetControls()};
    for (const quellor::EntityRef& header : screen->GetHeaders())
        boards.push_back(header.Get());
    for (int team = 0; team < quellor::CharSelectRules::kTeams; ++team)
        for (const quellor::EntityRef& entry : screen->GetBoard(team))
            boards.push_back(entry.Get());
    ASSERT_EQ(std::count(boards.begin(), boards.end(), nullptr), 0) << when;
    const MenuTarget* target = FindMenuTarget("CharSelectMenu");
    ASSERT_NE(target, nullptr);
    std::string hidden;
    for (const std::string& line : Occlusions(boards, *target))
        hidden += line + "\n";
    EXPECT_TRUE(hidden.empty()) << when << ":\n" << hidden;
}

float Scenario::ShotContrast(const ZOR::float3& a, const ZOR::float3& b)
{
    quellor::GraphicsSystem* graphics = game->GetGame().GetGraphicsSystem();
    const ZOR::Camera& camera = graphics->GetActiveCamera(-1);
    const ZOR::Dimension size = graphics->GetResolution();
    const ZOR::float4x4 toClip = camera.GetProjectionMatrix() * camera.GetViewMatrix();
    const auto colour = [&](const ZOR::float3& point) {
        const ZOR::float4 clip = toClip * ZOR::float4(point.x, point.y, point.z, 1.0f);
        const int cx = static_cast<int>((clip.x / clip.w + 1.0f) * 0.5f * static_cast<float>(size.width));
        const int cy = static_cast<int>((1.0f - clip.y / clip.w) * 0.5f * static_cast<float>(size.height));
        std::array<int, 3> sum{};
        int count = 0;
        for (int y = cy - 1; y <= cy + 1; ++y)
            for (int x = cx - 1; x <= cx + 1; ++x) {
                if (x < 0 || y < 0 || x >= static_cast<int>(size.width) || y >= static_cast<int>(size.height))
                    continue;
                const std::size_t at = (static_cast<std::size_t>(y) * size.width + static_cast<std::size_t>(x)) * 4;
                if (at + 3 >= lastShot.size())
                    continue;
                for (std::size_t c = 0; c < 3; ++c)
                    sum[c] += lastShot[at + c];
                ++count;
            }
        EXPECT_GT(count, 0) << "(" << point.x << ", " << point.y << ", " << point.z << ") is outside the shot";
        tools::Rgb mean{};
        for (std::size_t c = 0; c < 3; ++c)
            mean[c] = static_cast<std::uint8_t>(count > 0 ? sum[c] / count : 0);
        return mean;
    };
    return tools::ContrastRatio(colour(a), colour(b));
}

void Scenario::ExpectSeenWhole(const quellor::Entity* entity, const std::string& screen, const std::string& when)
{
    ASSERT_NE(entity, nullptr) << when;
    const MenuTarget* target = FindMenuTarget(screen);
    ASSERT_NE(target, nullptr) << screen;
    std::string hidden;
    for (const std::string& line : Occlusions({entity}, *target))
        hidden += line + "\n";
    EXPECT_TRUE(hidden.empty()) << when << ":\n" << hidden;
}

void Scenario::CharSelectPress(int code, int pad)
{
    ASSERT_NO_FATAL_FAILURE(WaitForCharSelect());
    if (pad < 0) {
        Press(code);
        return;
    }
    game->Input().SetPadButton(pad, code, true);
    EXPECT_TRUE(game->Frame());
    game->Input().SetPadButton(pad, code, false);
    game->Frame();
}

bool Scenario::IntroRuns()
{
    bool runs = false;
    game->GetGame().GetActionSystem()->GetRootList().VisitActions([&](const quellor::Action& action) {
        runs = runs || (dynamic_cast<const quellor::LevelIntroCam*>(&action) && action.IsStarted() &&
                        !action.IsFinished());
    });
    return runs;
}

std::vector<quellor::Entity*> Scenario::MatchPlayers() const
{
    std::vector<quellor::Entity*> found;
    for (quellor::Entity* entity : game->FindEntitiesWithPrefix("player"))
        if (entity->GetComponent<quellor::PlayerDataComponent>())
            found.push_back(entity);
    return found;
}

void Scenario::Shot(const std::string& name)
{
    ASSERT_TRUE(game->RunUntil([&] { return game->GetFadeFactor() >= 1.0f; }, 120)) << name;
    std::vector<std::uint8_t> rgba = game->Screenshot(name);
    ASSERT_FALSE(rgba.empty()) << name;
    if (!MenuContentBuilt() && name.find("splash") == std::string::npos)
        return;
    EXPECT_FALSE(Uniform(rgba)) << name << " is one colour";
    EXPECT_NE(rgba, lastShot) << name << " equals the previous screenshot";
    lastShot = std::move(rgba);
}

int Scenario::CountShotPixels(int left, int top, int right, int bottom,
                              const std::function<bool(int, int, const std::uint8_t*)>& pass)
{
    const ZOR::Dimension window = game->GetGame().GetGraphicsSystem()->GetResolution();
    const int width = static_cast<int>(window.width), height = static_cast<int>(window.height);
    if (lastShot.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4)
        return 0;
    int count = 0;
    for (int y = std::max(top, 0); y < std::min(bottom, height); ++y)
        for (int x = std::max(left, 0); x < std::min(right, width); ++x)
            count += pass(x, y, &lastShot[(static_cast<std::size_t>(y) * window.width + static_cast<std::size_t>(x)) * 4]);
    return count;
}

void Scenario::ExpectCleanLog(const std::vector<std::string>& allowed)
{
    logChecked = true;
    if (!capture)
        return;
    const std::string text = capture->Text();
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        const bool bad = line.rfind("Failed to", 0) == 0 || line.rfind("Error:", 0) == 0 ||
                         line.rfind("Warning:", 0) == 0;
        if (!bad)
            continue;
        bool expected = false;
        for (const std::string& part : allowed)
            expected = expected || line.find(part) != std::string::npos;
        EXPECT_TRUE(expected) << "the log says: " << line;
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
    capture.reset();
}

void Scenario::TearDown()
{
    // The engine goes inside the capture: teardown lines are checked too.
    game.reset();
    if (!logChecked)
        ExpectCleanLog(MenuContentGaps());
}

} // namespace tarsel::test
