#pragma once
// A whole-game scenario: the game's own start-up tree in the built content (the working
// directory), its standard output captured and checked, presses that wait until the screen
// on top takes input, and screenshots at fade 1 into <build>/screenshots/e2e/.
#include "engine/EntityRef.h"
#include "tests/support/StdoutCapture.h"
#include "renderer/math/float3.h"
#include "tests/support/flow/FlowGame.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quellor {
class Entity;
class MenuScreen;
}

namespace tarsel::test {

// Virtual-key codes the scenarios press.
constexpr int kBackspace = 8;
constexpr int kEnter = 13;
constexpr int kEscape = 27;
constexpr int kSpaceKey = 32;
constexpr int kLeft = 37;
constexpr int kUp = 38;
constexpr int kRight = 39;
constexpr int kDown = 40;
constexpr int kPadA = 10;

// One press on the way into a match: a key, or a button of a pad.
struct RoadPress {
    static constexpr int kKeyboard = -1;
    int pad = kKeyboard;
    int code = 0;
};

class Scenario : public ::testing::Test {
public:
    // The main road through character select: one person on the keyboard joins (orange, the
    // team reached with Right), with hair and mask as they come, adds three computer players
    // (red, the person's team when they are added), gets ready and starts.
    static std::vector<RoadPress> MainRoad();
    // Every scenario's seed and random seed; the built content is the working directory.
    static FlowSetup ContentSetup();
    // True when the built content has the file (relative to the content folder).
    static bool ContentHas(const std::string& file);
    // True when a file of that name is anywhere in the built content.
    static bool ContentHasFile(const std::string& name);
    // The menu level is built: the screens' entities, pictures and sounds are there to check.
    static bool MenuContentBuilt();
    // The menu level and "Beta.ql" are built: the main road into a match can run.
    static bool MatchContentBuilt();
    // The log lines the menus write while the built content lacks their level and clips.
    static std::vector<std::string> MenuContentGaps();

protected:
    // Starts the game; skipSplash presses Space in the first frame. Create then Launch does the
    // same with a look at the documents in between.
    void Boot(FlowSetup setup, bool skipSplash = true);
    void Create(FlowSetup setup);
    void Launch(bool skipSplash = true);
    // Runs until the named screen runs and is ready (fails with the harness's dump otherwise).
    quellor::MenuScreen* WaitForScreen(const std::string& name, std::uint32_t maxFrames = 1200);
    // Waits until the screen on top of the running ones is ready, then taps the key for one frame
    // and runs one more without it.
    void Press(int key);
    // A screenshot at fade 1: it differs from a single colour and from the previous one (once the
    // menu content is built: without it the screens are empty).
    void Shot(const std::string& name);
    // From the main menu through character select along the road (other people join by pressing
    // their pads on it; a join takes a computer player's place). Ends on the road's last press,
    // the start; the menu's entities as they were just before it are in menuEntities. Before
    // each press, once no slot animates, beforePress (when set) gets the press's index.
    void StartMatch(const std::vector<RoadPress>& road = MainRoad());
    // On character select: waits until no slot animates, then presses the key (pad < 0) or the
    // pad's button (which connects the pad) as Press does.
    void CharSelectPress(int code, int pad = RoadPress::kKeyboard);
    // On character select: runs until no slot animates and the screen takes input.
    void WaitForCharSelect();
    // Every board character select names (title, controls picture, team headers, the team
    // board's rows) is seen whole from the screen's camera target: nothing stands before a corner.
    void ExpectCharSelectBoardsSeen(const std::string& when);
    // How many pixels of the last shot in the rectangle of window pixels (right and bottom
    // excluded, clipped to the shot) pass the test, which gets x, y and the pixel's RGBA.
    int CountShotPixels(int left, int top, int right, int bottom,
                        const std::function<bool(int, int, const std::uint8_t*)>& pass);
    // The contrast ratio (WCAG) in the last shot between where two points of the level are drawn
    // by the single view's camera, each read as the mean of the 3 x 3 pixels around it.
    float ShotContrast(const ZOR::float3& a, const ZOR::float3& b);
    // Nothing of "default" stands between the camera target of the screen and any part of the
    // entity (MenuOcclusion.h).
    void ExpectSeenWhole(const quellor::Entity* entity, const std::string& screen, const std::string& when);
    // The level intro camera runs.
    bool IntroRuns();
    // The match's players, found by their data (the game logic lists them once the intro hands over).
    std::vector<quellor::Entity*> MatchPlayers() const;
    // Ends the capture and checks it holds no line starting "Failed to", "Error:" or "Warning:"
    // (but for lines holding one of allowed); prints it back to the test's output.
    void ExpectCleanLog(const std::vector<std::string>& allowed = {});

    void TearDown() override;

    std::optional<StdoutCapture> capture;
    std::optional<FlowGame> game;
    std::vector<std::uint8_t> lastShot;
    std::vector<quellor::EntityRef> menuEntities;
    std::function<void(std::size_t)> beforePress;
    bool logChecked = false;
};

} // namespace tarsel::test
