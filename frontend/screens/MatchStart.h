#pragma once
// The road from the character select into a match: the picture fades out, "default" is emptied,
// "Beta.ql" loads a frame later, the players are spawned two frames after that, and the level
// intro runs beside a 2 s fade-in.
//
// It works from a copy of the screen's rules taken at the confirm (the screen's state does not
// change afterwards: its Update is idle), so the sequence depends on nothing the screen owns
// and outlives it; it finishes the screen through a handle once the players stand.
#include "engine/ActionHandle.h"
#include "frontend/screens/CharSelectRules.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quellor {

class Action;
class Entity;

class MatchStart : public std::enable_shared_from_this<MatchStart> {
public:
    static constexpr const char* kLevel = "Beta.ql";
    static constexpr const char* kPersonArchetype = "beta_player.arch";
    static constexpr const char* kBotArchetype = "ai_bot.arch";
    static constexpr int kMountBone = 5;
    static constexpr float kFadeOut = 0.5f;
    static constexpr float kFadeIn = 2.0f;
    static constexpr int kLane = 2;

    // Wall times of the last LoadMatchLevel and SpawnPlayers, in seconds (for the benchmark).
    struct Timings {
        double load = 0.0;
        double spawn = 0.0;
    };

    explicit MatchStart(CharSelectRules roster);
    ~MatchStart();
    MatchStart(const MatchStart&) = delete;
    MatchStart& operator=(const MatchStart&) = delete;

    // The level intro of a match with these players.
    static Action* MakeIntro(const std::vector<CharSelectRules::PlayerEntry>& entries);

    // The whole start sequence: fade-out, clear, a frame, load, two frames, spawn, then the
    // intro beside the fade-in. The sequence keeps this object alive; `screen` (may be null) is
    // finished right after the spawn, unless it has ended before.
    Action* MakeSequence(Action* screen);
    // MakeSequence, queued on lane 2 of the action system of "default"; false without one.
    bool Queue(Action* screen);

    // "Beta.ql" into "default".
    void LoadMatchLevel();
    // People from "beta_player.arch" in slot order, then computer players from "ai_bot.arch"
    // in list order, each with a hair and a mask mount; returns the players made.
    std::vector<Entity*> SpawnPlayers();

    const CharSelectRules& GetRoster() const { return m_roster; }
    const Timings& GetTimings() const { return m_timings; }

private:
    // One player: its team, controller id and body, and its two mounts; without a mount
    // controller the mounts keep the component's own.
    Entity* SpawnPlayer(const char* archetype, int colour, int controllerID, std::optional<int> mountController,
                        const std::string& hair, const std::string& mask);
    void MakeMount(const char* baseName, const std::string& entry, Entity& host, std::optional<int> mountController);

    CharSelectRules m_roster;
    ActionHandle m_screen;
    Timings m_timings;
};

} // namespace quellor
