#pragma once
// Counts feathers per team during a match: a point scored through a kill volume and a feather
// picked up each add one. The results screen reads the counts and then resets them. Callers
// find it by the name "FeatherSystem" in the space "default"; it has no per-frame work.
#include "engine/System.h"

#include <cstddef>
#include <string>
#include <unordered_map>

namespace quellor {

class FeatherSystem : public System {
    QUELLOR_REFLECT_KEYED(FeatherSystem)

    FeatherSystem();
    FeatherSystem(const FeatherSystem&) = delete;
    FeatherSystem& operator=(const FeatherSystem&) = delete;
    ~FeatherSystem() override;

    // One more feather for the team (a team without an entry gets one with 1).
    void AddFeather(const std::string& team);
    // The team's count; 0, and no entry made, for a team that has none.
    int GetFeathers(const std::string& team) const;
    // Every team back to 0, the table emptied.
    void Reset();

    // Teams with an entry.
    std::size_t GetTeamCount() const { return m_feathers.size(); }

private:
    std::unordered_map<std::string, int> m_feathers;
};

} // namespace quellor
