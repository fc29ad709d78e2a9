#pragma once
// The results screen after a match, started by name from level data (an ActionComponent whose
// "m_name" is "FeatherStats"). In one call at its start it builds the whole choreography in a
// list of its own, which then plays on lane 3 of the action system:
// - the title slides in;
// - each team with a person gets a row: its boid and one feather per feather it counted (the
//   counts are consumed);
// - each feather becomes a lottery ticket: a winning or losing marker, a win unlocking a random
//   locked hair or mask in the content store at once (saved once, at the end of the start);
// - everything else slides away, the won markers gather in a row at the bottom and each turns
//   into a preview of the item it unlocked.
// Once the list has ended, A on any pad, Enter or Space finishes the screen. Its entities stay
// for whatever clears the space next; a screen ended early cancels its list first.
#include "engine/Action.h"
#include "engine/ActionHandle.h"
#include "engine/EntityRef.h"
#include "renderer/math/float2.h"

#include <string>
#include <vector>

namespace quellor {

class ActionList;
class Entity;

class FeatherStats : public Action {
    QUELLOR_REFLECT(FeatherStats)

    static constexpr int kLane = 3;
    static constexpr int kWinChance = 40; // of 100

    // One feather's lottery: what it unlocks, if anything.
    struct Reward {
        enum Kind { None, Hair, Mask } kind = None;
        std::string item;
    };
    // Draws from the engine's random source: r1 % 100 below 60, or nothing locked, wins nothing
    // (no further draw); else r2 % 100 picks hair (50 and up) or masks, falling back to the other
    // list when the chosen one is empty, and the item is entry draw % n of that list.
    static Reward Roll(const std::vector<std::string>& lockedHair, const std::vector<std::string>& lockedMasks);
    // Where the won marker of the rank (0 first) settles among count won markers, and where its
    // preview appears.
    static ZOR::float2 ExitPlace(unsigned rank, unsigned count, float width, float height);
    // The preview's material: the item's text after its first ":", with ".mat".
    static std::string PreviewMaterial(const std::string& item);

    FeatherStats();
    ~FeatherStats() override;

    void Update(float dt) override;

    // True once the choreography's list has ended.
    bool IsShown() const { return m_listStarted && !m_list; }
    const std::vector<Reward>& GetRewards() const { return m_rewards; }
    const std::vector<EntityRef>& GetEntities() const { return m_entities; }

private:
    void Start();
    void End();
    // A new entity of "default" with a Transform2D at (x, y) sized (width, height) and a
    // GraphicsComponent2D with the material; kept in the entity list.
    Entity* MakeSprite(const char* base, const std::string& material, float x, float y, float width, float height);
    void BuildRows(ActionList& list, float width, float height);
    void BuildLottery(ActionList& list, float height);
    void BuildExit(ActionList& list, float width, float height);
    void BuildPreviews(ActionList& list, float width, float height);

    std::vector<EntityRef> m_entities;
    std::vector<EntityRef> m_feathers;
    std::vector<ZOR::float2> m_featherPlaces; // where each feather lands
    // Where each created entity was placed when built, in the order of m_entities.
    std::vector<ZOR::float2> m_built;
    std::vector<std::size_t> m_wonMarkers; // indices into m_entities
    std::vector<Reward> m_rewards;         // won items in winning order
    ActionHandle m_list;
    bool m_listStarted = false;
};

} // namespace quellor
