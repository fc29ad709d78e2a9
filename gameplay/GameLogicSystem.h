#pragma once
// Runs a match: the player list, each team's score, the match flags and one list per gameplay
// component type (GameLogicMember.h), walked in a fixed order once a frame. It opens the pause
// menu on request and ends the match when a team reaches 5 points. The system owns no entity:
// players, tags and the score display live in the space "default" and are only referred to.
#include "engine/Delegate.h"
#include "engine/EntityRef.h"
#include "engine/IntrusiveList.h"
#include "engine/System.h"
#include "gameplay/GameLogicMember.h"
#include "renderer/math/float2.h"

#include <array>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace quellor {

class Action;
class Entity;
class GraphicsSystem;
class SpawnPointComponent;

class GameLogicSystem : public System {
    QUELLOR_REFLECT_KEYED(GameLogicSystem)

    // One active tag: the tagged player, who tagged it and the seconds it has left.
    struct TeamTag {
        EntityRef target;
        EntityRef tagger;
        float timer = 0.0f;
    };
    // A team's tags by target entity name, walked in insertion order.
    using TagTable = std::vector<std::pair<std::string, TeamTag>>;

    // A player in join order. The address is compared only, never dereferenced: when the
    // player's entity is torn down its reference already reads null.
    struct PlayerEntry {
        EntityRef ref;
        const Entity* address = nullptr;
        bool person = false; // joined as a person (has a screen of its own)
        Entity* Get() const { return ref.Get(); }
    };

    static constexpr int kWinningScore = 5;
    static constexpr float kWinShotSeconds = 10.0f;
    static constexpr std::size_t kSlotCount = static_cast<std::size_t>(LogicSlot::Count);

    GameLogicSystem();
    GameLogicSystem(const GameLogicSystem&) = delete;
    GameLogicSystem& operator=(const GameLogicSystem&) = delete;
    ~GameLogicSystem() override;

    void Initialize() override;
    void Update(float dt) override;
    // Each slot in order, each head to tail, then the score backgrounds and texts are placed.
    void UpdateComponents(float dt);

    // Appends to the component's slot; nothing for a component already in a slot.
    void Register(GameLogicMember* component);
    // Nothing for a component in no slot of this system.
    void Unregister(GameLogicMember* component);
    const IntrusiveListBase<GameLogicMember>& GetSlot(LogicSlot slot) const;

    // The controller id is not read.
    void AddPlayer(int controllerID, Entity* player, bool isBot, bool cameraOn);
    void RemovePlayer(int controllerID, Entity* player);
    void AddScore(std::string team);
    void ResetScores();
    SpawnPointComponent* ChooseSpawnPoint(std::string team);

    unsigned GetPlayerCount() const { return static_cast<unsigned>(m_players.size()); }
    // Null past the end or when the player's entity has gone.
    Entity* GetPlayer(int index) const;
    // Walkers skip entries whose entity has gone.
    const std::vector<PlayerEntry>& GetPlayerList() const { return m_players; }

    void SetGameplayActive(bool active) { m_active = active; }
    // The player who ended the last match; null before one ended or once it has gone.
    Entity* GetWinner() const { return m_winner.Get(); }

    // A team's tags; null for a team that never joined.
    TagTable* GetTeamTags(const std::string& team);
    std::size_t GetTeamTagCount() const { return m_teamTags.size(); }
    // Show the tagger's team mates' team tags over the target, except for a mate whose own
    // tag already marks it; hide those that mark it (they keep following while they shrink).
    // Each writes a line per tag to standard output. A null target changes nothing.
    void ActivateTeamTag(Entity* tagger, Entity* target);
    void DeactivateTeamTag(Entity* tagger, Entity* target);

    // Builds the pause menu, and the main menu (with its load-level flag) after a match; the
    // front end installs them. An empty factory gives no action.
    void SetPauseMenuFactory(Delegate<Action*> factory) { m_pauseMenuFactory = std::move(factory); }
    void SetMainMenuFactory(Delegate<Action*, bool> factory) { m_mainMenuFactory = std::move(factory); }

    const std::map<std::string, int>& GetScores() const { return m_scores; }
    bool IsScoreTextDirty() const { return m_scoreTextDirty; }
    bool IsTagSetupPending() const { return m_tagSetupPending; }
    const std::vector<EntityRef>& GetScoreTexts() const { return m_scoreTexts; }
    const std::vector<EntityRef>& GetScoreBackgrounds() const { return m_scoreBackgrounds; }
    // Appends one player index's score background and text (the score display builds them).
    void AddScoreHud(Entity* background, Entity* text);
    // One score text and one background per player index, in the lower right corner of that
    // index's screen.
    void BuildScoreHud();
    // Writes each person's team score into its text, placed on that person's own view; a
    // player without a third-person camera keeps what it was built with.
    void UpdateScoreText();

    // Written directly by the level intro, the win camera and the pause menu.
    bool m_paused = false;
    bool m_active = true;
    bool m_scoreHudRequested = false;
    bool m_winEnabled = true;

private:
    using Slot = IntrusiveList<GameLogicMember, &GameLogicMember::m_logicLink>;

    bool PauseRequested() const;
    void OpenPauseMenu();
    // The index of the first player that ends the match, or -1.
    int FindWinner();
    void EndMatch(int winner);
    void DestroyScoreHud();
    // Every player's own tag and team tag entities, hidden until shown.
    void BuildTags();
    Entity* BuildTag(Entity* player, const std::string& baseName, const std::string& material);
    // Counts every tag down and ends those whose time is up or whose target goes or dies.
    void UpdateTagTimers(float dt);
    void EndTag(const EntityRef& target, const std::string& name);
    // The target is matched by reference, so a gone target (and its record's name) still work.
    void DeactivateTeamTag(const Entity* player, const EntityRef& target, const std::string& name);
    void BuildScoreBackgrounds();
    // Each background at the lower right corner of its screen's current size.
    void PlaceScoreBackgrounds();
    // Each person's text at the lower right corner of its own view's current size: the views
    // are laid out after the display is built (the intro adds them as it ends), and a text
    // placed for the old layout would sit mid-view or off it until the first point.
    void PlaceScoreTexts();
    // Visits (text, player, screen) for every player index with a text and a view of its own.
    template <typename Visit>
    void ForEachPersonScoreText(Visit visit);
    int ScoreOf(const Entity* player) const;
    // The orthographic size of a screen; zero without a graphics system.
    ZOR::float2 ScreenSize(int screen) const;
    // The same from a graphics system looked up once for a whole pass.
    static ZOR::float2 ScreenSize(GraphicsSystem* graphics, int screen);
    void PlayEffect(const std::string& name);
    void Warn(const std::string& team);

    std::vector<std::pair<std::string, TagTable>> m_teamTags;
    std::array<Slot, kSlotCount> m_slots;
    bool m_tagSetupPending = false;
    bool m_startupFrame = false;
    bool m_hudDelay = false;
    std::vector<PlayerEntry> m_players;
    std::map<std::string, int> m_scores;
    std::vector<EntityRef> m_scoreBackgrounds;
    std::vector<EntityRef> m_scoreTexts;
    bool m_scoreTextDirty = false;
    EntityRef m_winner;
    std::set<std::string> m_teamsWarned; // teams without a spawn point, reported once
    Delegate<Action*> m_pauseMenuFactory;
    Delegate<Action*, bool> m_mainMenuFactory;
};

} // namespace quellor
