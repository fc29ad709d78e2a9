#pragma once
// Drives a match in a FlowGame for the long runs (the match benchmark, the soak): the players
// spawned straight onto "Beta.ql" from a roster (no menus), the people at the controls
// following a fixed script, the win held off while asked, the pause menu opened and closed,
// and what those runs count (deaths, and the census a leak would grow).
//
//     FlowGame game(MatchDriver::DirectSetup());
//     MatchDriver match(game);
//     match.Boot();
//     match.Start(MatchDriver::PersonAndComputers(game.GetGame()));
//     match.SetPeople({0}, true);               // slot 0 on the keyboard
//     match.SetWinHeld(true);
//     while (...) match.Frame();
#include "frontend/screens/CharSelectRules.h"
#include "tests/support/flow/FlowGame.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

namespace tarsel::test {

class MatchDriver {
public:
    // What grows when something leaks.
    struct Census {
        std::size_t entities = 0;   // of "default"
        std::size_t components = 0; // of those entities
        std::size_t actions = 0;    // held by the action system and the entities' action components
        std::size_t slots = 0;      // renderer resource slots in use
        std::size_t orbs = 0;       // orbs in flight
        std::size_t particles = 0;  // live particles of every emitter the renderer draws
        std::size_t channels = 0;   // audio channels holding a sound
    };

    explicit MatchDriver(FlowGame& game);

    // The whole-game scenarios' random seed.
    static constexpr unsigned kSeed = 4343;

    // The game in the built content (ContentDir()) with the loading screen as its whole start-up
    // tree, and its random source seeded.
    static FlowSetup DirectSetup(unsigned seed = kSeed);
    // Starts the game and runs the loading screen out; false when it did not start or finish.
    bool Boot(std::uint32_t maxFrames = 100000);

    // The first run's road: one person on slot 0 (orange), three computer players (red).
    static quellor::CharSelectRules PersonAndComputers(Game& game);
    // Four people on slots 0-3, each on its slot's colour.
    static quellor::CharSelectRules FourPeople(Game& game);

    // Queues the match start from the roster and runs it until the intro has handed over (every
    // player may move), or only until the intro begins; false, with the harness's dump, when
    // maxFrames ran out first.
    bool Start(const quellor::CharSelectRules& roster, bool throughIntro = true, std::uint32_t maxFrames = 3000);

    // The slots whose people follow the script, on their pads; with keyboard set, slot 0's
    // person uses the keyboard and mouse instead of pad 0.
    void SetPeople(std::vector<int> slots, bool keyboard);
    // While held, the win is switched off before every frame (the flag the end sequence itself
    // toggles), so that a match runs as long as asked.
    void SetWinHeld(bool held) { m_winHeld = held; }

    // One frame: the people's input for it, the win held off while asked, the frame itself, then
    // the deaths tallied. False once the game has stopped.
    bool Frame();
    // Frame() in its three steps, for a caller that times the game's own frame apart:
    // BeforeFrame(), then FlowGame::Frame(), then AfterFrame().
    void BeforeFrame();
    void AfterFrame() { TallyDeaths(); }
    // Runs frames until the predicate holds (tested before each frame); false when maxFrames ran
    // out or the game stopped.
    bool RunUntil(const std::function<bool()>& predicate, std::uint32_t maxFrames);
    // Escape opens the pause menu; once it takes input, Enter on "resume" closes it. The people
    // let go of everything meanwhile. False when either step did not happen within maxFrames.
    bool CyclePauseMenu(std::uint32_t maxFrames = 600);
    // Waits until the named screen runs and takes input, then taps the key for a frame and runs
    // a frame without it. False when the screen did not come within maxFrames.
    bool Press(const char* screen, int key, std::uint32_t maxFrames = 600);
    // Lets go of every key, button, stick and trigger the script may hold.
    void ReleaseAll();

    // Deaths seen since the start: a player's death flow beginning.
    int GetDeaths() const { return m_deaths; }
    Census Count() const;

private:
    void Drive(std::uint32_t frame);
    void DriveKeyboard(std::uint32_t frame);
    void DrivePad(int pad, std::uint32_t frame);
    void TallyDeaths();

    FlowGame& m_game;
    std::vector<int> m_slots;
    bool m_keyboard = false;
    bool m_winHeld = false;
    std::uint32_t m_scriptFrame = 0;
    int m_deaths = 0;
    std::map<std::uint64_t, bool> m_dying; // by entity serial: was the player dying last frame
};

} // namespace tarsel::test
