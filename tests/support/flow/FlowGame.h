#pragma once
// The flow-test harness: the whole game (tarsel::Game) in process, one frame at a time, for
// the screen tests and the whole-game scenarios.
//
// What a FlowGame sets up, in order, before Game::Start:
// - documents: a fresh temporary folder as TARSEL_DOCUMENTS, so config.ini and
//   SaveContent.data land there (FlowSetup::saveContent seeds the save file), or
//   FlowSetup::documents as it stands, kept afterwards (a relaunch's second run reads the first's);
// - config.ini, per FlowSetup::config: `ConfigSeed::Test` (the default) is the file a first
//   run writes, then FULLSCREEN=0, WIDTH=800, HEIGHT=450, SHADOWS=0, GOD_RAYS=0 and
//   ANISOTROPY=1, which keeps llvmpipe frames cheap; `TestWithEffects` the same with the first
//   run's effects; `TestLow` the first with BLOOM=0 and GRAPHICS and PARTICLE at LOW too (the
//   long matches); `FirstRun` is the first run's file as it stands (for flows that toggle those
//   switches); `None` leaves the game to write it; FlowSetup::configure then changes what it likes;
// - the display: a FakeDisplay listing FlowSetup::modes (800x450, 800x600, 1024x576);
// - the working directory: FlowSetup::workingDirectory when given (the scenarios pass the built
//   content, ContentDir()); otherwise a temporary folder holding links to the built content's
//   shaders/, fonts/ and textures/fonts/, the fixture folders' files (linked), and the files
//   FlowSetup::writeFixtures writes there (sounds, materials and models from the writers);
// - audio: a RecordingAudioBackend (plays nothing, records every call);
// - input: scripted (FlowSetup::inputScript as --input lines, and Input() by hand); a pad
//   can be unplugged with Input().SetPadConnected, which script files cannot do;
// - the start-up tree: FlowSetup::startupTree when given; else, with FlowSetup::screen, the
//   loading screen (LoadAssets) and then that screen in one sequence; with neither, the
//   game's own tree;
// - the frame time: FlowSetup::dt (1/60 s) every frame, and every clock reading follows the
//   frames (the simulated clock), so that runs repeat exactly, unless FlowSetup::simulatedClock
//   is off;
// - the random source: srand(FlowSetup::seed) before start-up, when given;
// - drawing: the renderer draws and presents every FlowSetup::drawEvery-th update only (and
//   every update while assets load, since their uploads run when a frame is presented); the
//   components, game logic, physics and AI update every frame regardless; SetDrawEvery changes
//   the cadence while the game runs; through the OpenGL back end unless FlowSetup::renderContext
//   makes another context (a quiet recording one times the CPU side alone);
// - a person: FlowSetup::person runs before each frame and sets the scripted input.
//
// A wait that runs out of frames prints a dump (frame, running screens, the entities of
// "default", players and scores, the last sound calls) to the test's output.
//
// A test then drives frames and looks at the game:
//     tarsel::test::FlowSetup setup;
//     setup.writeFixtures = [](const std::filesystem::path& dir) { /* write sounds/sfx/... */ };
//     setup.screen = [] { return new MyScreen; };
//     tarsel::test::FlowGame game(std::move(setup));
//     ASSERT_TRUE(game.Start());
//     ASSERT_TRUE(game.RunUntil([&] { return game.RunningScreens() == std::vector<std::string>{"MyScreen"}; }, 600));
//     game.Input().SetKey(13, true);
//     game.Frame();
//     EXPECT_EQ(game.CountPlays("menu_select.ogg"), 1);
// Each test runs as its own process (gtest_discover_tests), since the engine, the render
// context and the registry are process-wide; one FlowGame per test.
#include "platform/Display.h"
#include "tarsel/Game.h"
#include "tests/support/FakeDisplay.h"
#include "tests/support/RecordingAudioBackend.h"
#include "tests/support/TempDir.h"
#include "tests/support/WorkingDirectory.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {
class ScriptedInputSource;
}
namespace ZOR {
class Config;
}
namespace quellor {
class Action;
class Entity;
class GameLogicSystem;
class MenuScreen;
class Transform2D;
class Transform3D;
}

namespace tarsel::test {

enum class ConfigSeed { Test, TestWithEffects, TestLow, FirstRun, None };

class FlowGame;

// Everything a flow test chooses; the defaults make a small, cheap game (see above).
struct FlowSetup {
    // The game's working directory as it stands; empty: a temporary one made from the parts below.
    std::filesystem::path workingDirectory;
    // Folders whose files are linked into the temporary working directory, keeping their paths.
    std::vector<std::filesystem::path> fixtureFolders;
    // The temporary working directory starts as the whole built content (its folders linked,
    // file by file where a fixture folder has the same folder), with the fixture files over it,
    // in place of the shaders and fonts only.
    bool overContent = false;
    // Writes generated fixtures into the temporary working directory, before start-up.
    std::function<void(const std::filesystem::path& folder)> writeFixtures;
    ConfigSeed config = ConfigSeed::Test;
    // Changes to the seeded config.ini, made after the seed above and before start-up.
    std::function<void(ZOR::Config& config)> configure;
    // Bytes of SaveContent.data before start-up; none: a first run.
    std::optional<std::string> saveContent;
    // The screen the start-up tree runs after the loading screen (made at start-up).
    std::function<quellor::Action*()> screen;
    // The whole start-up tree in place of the above.
    Game::StartupTree startupTree;
    float dt = 1.0f / 60.0f;
    // Every clock reading follows the frames; off, clocks read the wall clock while each frame
    // still lasts dt (timing benchmarks: the engine's own timings read 0 on the simulated clock).
    bool simulatedClock = true;
    // Lines of a --input file ("<frame> <code> down", "<frame> pad <n> button <code> down", ...).
    std::string inputScript;
    std::vector<platform::DisplayModeDesc> modes = {{800, 450, 60, 0}, {800, 600, 60, 0}, {1024, 576, 60, 0}};
    // The documents folder to use and keep; empty: a fresh temporary one.
    std::filesystem::path documents;
    // srand before start-up; none leaves the random source as the process has it.
    std::optional<unsigned> seed;
    // The renderer draws every nth update (see above); 1 draws them all.
    unsigned drawEvery = 1;
    // Called before each frame with that frame's number (from 1): a person at the controls.
    std::function<void(FlowGame& game, std::uint32_t frame)> person;
    // The render context in place of the OpenGL one (Game::SetRenderContextFactory); none: OpenGL.
    Game::RenderContextFactory renderContext;
};

class FlowGame {
public:
    explicit FlowGame(FlowSetup setup);
    ~FlowGame();
    FlowGame(const FlowGame&) = delete;
    FlowGame& operator=(const FlowGame&) = delete;

    // Game::Start; false (with the reason on the test's failure list) when it could not start.
    bool Start();
    // One frame; false once the game has stopped.
    bool Frame();
    // Runs frames until the predicate holds (it is tested before each frame and after the
    // last); false when maxFrames ran out first or the game stopped.
    bool RunUntil(const std::function<bool()>& predicate, std::uint32_t maxFrames);
    void RunFrames(std::uint32_t count);

    Game& GetGame() { return *m_game; }
    // The renderer draws every nth update from the next one on (1: every update).
    void SetDrawEvery(unsigned every) { m_setup.drawEvery = every; }
    platform::ScriptedInputSource& Input();

    // Look-ups in the space "default".
    quellor::Entity* FindEntity(const std::string& name) const;
    quellor::Transform2D* FindTransform2D(const std::string& name) const;
    quellor::Transform3D* FindTransform3D(const std::string& name) const;
    // The material name of the entity's 2D or 3D graphics component; empty without one.
    std::string FindMaterial(const std::string& name) const;
    // The alpha of the entity's 2D graphics component.
    std::optional<float> FindAlpha2D(const std::string& name) const;
    float GetFadeFactor() const;
    // How many split-screen views are drawn.
    unsigned GetScreenCount() const;
    bool IsSystemActive(const std::string& name) const;
    // The entities of "default" whose names start with prefix, by name.
    std::vector<quellor::Entity*> FindEntitiesWithPrefix(const std::string& prefix) const;

    // The game logic's view of the match (players by join order: names from UniqueEntityName
    // count process-wide, so look them up here).
    quellor::GameLogicSystem* GetGameLogic() const;
    std::vector<quellor::Entity*> Players() const;
    std::map<std::string, int> Scores() const;

    // Draws the next frame, reads the back buffer and writes it to
    // <build>/screenshots/<folder>/<name>.png; returns the RGBA pixels, top row first (empty, with
    // a test failure, when it could not be read).
    std::vector<std::uint8_t> Screenshot(const std::string& name, const std::string& folder = "e2e");
    // The state a failed wait prints.
    std::string Dump() const;
    // The names of the front-end screens started and not ended in the action system, in lane order.
    std::vector<std::string> RunningScreens() const;
    // The running screen of that name; null when none runs.
    quellor::MenuScreen* FindScreen(const std::string& name) const;

    // The audio backend's calls, with each sound named by its file ("play menu_select.ogg
    // loops=0 paused=0 -> 2"), and how many times a file was started.
    std::vector<std::string> SoundCalls() const;
    int CountPlays(const std::string& file) const;
    RecordingAudioBackend::Record& GetSoundRecord() { return *m_sound; }

    // Whole files of the documents folder (empty when missing).
    std::string ReadConfig() const;
    std::string ReadSaveContent() const;
    const std::filesystem::path& GetDocuments() const { return m_documentsPath; }
    const std::filesystem::path& GetWorkingDirectory() const { return m_workingPath; }

private:
    void SeedDocuments();
    void MakeWorkingDirectory();
    bool ShouldDraw();

    FlowSetup m_setup;
    TempDir m_documents; // the input script's folder, and the documents unless given
    std::filesystem::path m_documentsPath;
    std::optional<TempDir> m_folder;
    std::filesystem::path m_workingPath;
    FakeDisplay m_display;
    std::optional<WorkingDirectory> m_cwd;
    std::shared_ptr<RecordingAudioBackend::Record> m_sound;
    std::optional<Game> m_game;
    std::uint32_t m_updates = 0;
    bool m_drawNext = false;
};

} // namespace tarsel::test
