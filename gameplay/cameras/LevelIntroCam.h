#pragma once
// The action that opens a match once the level is loaded and the players are spawned. While it
// runs nobody can act, the screen is not split and screen 0 shows the level's camera path.
// Over that view it builds a versus screen (one portrait column per player, grouped by team,
// a versus sign between teams), lets it fall away, counts down 3-2-1-fight with beeps, switches
// to the gameplay theme, and at its end gives everyone control and one view per person.
//
// The pictures run on a timeline of their own in lane 8 of the action system; the timeline's
// last step finishes the intro. Ending the intro any other way (its time bound, a cancel)
// cancels the timeline first, so nothing tweens a picture after the pictures are gone.
#include "engine/Action.h"
#include "engine/EntityRef.h"
#include "engine/FlowTracker.h"

#include <string>
#include <vector>

namespace quellor {

class ActionList;
class Entity;
class GameLogicSystem;

// One player of the match: slot 0-3 for the people on controller slots 1-4, negative for a
// computer player; its team as in its player data.
struct IntroPlayerEntry {
    int slot = -1;
    std::string team;
};

class LevelIntroCam : public Action {
public:
    static constexpr float kTimeBound = 17.5f;
    static constexpr int kTimelineLane = 8;
    static constexpr int kSongGroup = 42;
    static constexpr float kGameplayThemeVolume = 0.5f;
    static constexpr const char* kMenuTheme = "theme_menu.ogg";
    static constexpr const char* kGameplayTheme = "theme_gameplay.ogg";

    // The entries are regrouped by team name (a stable sort). The bound ends the intro when
    // the timeline has not by then (tests shorten it).
    explicit LevelIntroCam(std::vector<IntroPlayerEntry> entries, float timeBound = kTimeBound);
    ~LevelIntroCam() override;

    // Keeps every player still, on its team's spawn point and out of control, with one screen;
    // counts the bound down and finishes when it has run out.
    void Update(float dt) override;

    const std::vector<IntroPlayerEntry>& GetEntries() const { return m_entries; }
    // Every picture made, in the order made (versus signs, the three of each column, the
    // countdown); an entry reads null once its entity has gone.
    const std::vector<EntityRef>& GetIntroEntities() const { return m_introEntities; }
    // The timeline while it runs; null before the start and once it has ended.
    ActionList* GetTimeline() const;
    float GetTimeLeft() const { return m_timeLeft; }

private:
    void Start();
    void End();
    void BuildVersusScreen(ActionList& timeline, float width, float height);
    void BuildCountdown(ActionList& timeline, float width, float height);
    void StartGameplayTheme() const;
    // The timeline's last step: marks it done, so End leaves the list that is running it.
    void FinishFromTimeline();
    Entity* MakePicture(const std::string& baseName, const std::string& material, float x, float y, float width,
                        float height, unsigned layer);

    std::vector<IntroPlayerEntry> m_entries;
    std::vector<EntityRef> m_introEntities;
    ActionList* m_timeline = nullptr;
    float m_timeLeft;
    bool m_begun = false;
    bool m_timelineDone = false;
    FlowTracker m_flows;
};

} // namespace quellor
