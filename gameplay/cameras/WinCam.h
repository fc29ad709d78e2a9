#pragma once
// The action that shows the end of a match: every player stops where it is, the split screen
// collapses to one view, a full-height 4:3 victory banner in the winning team's colour shows a
// number badge for each player of that team, and screen 0's camera circles the winner until
// the time runs out. Nothing of the players' state is given back afterwards: the end sequence
// empties the space next.
#include "engine/Action.h"
#include "engine/EntityRef.h"

#include <string>

namespace quellor {

class Entity;

class WinCam : public Action {
public:
    static constexpr float kOrbitRadius = 25.0f;
    static constexpr float kOrbitHeight = 25.0f;

    WinCam(float duration, Entity* winner);
    ~WinCam() override;

    // Circles the winner; cancels at once when the winner has gone.
    void Update(float dt) override;

    Entity* GetBanner() const { return m_banner.Get(); }
    float GetElapsed() const { return m_elapsed; }
    float GetTimeLeft() const { return m_timeLeft; }

    // The banner's material for a team; empty for a team the content has no banner for.
    static std::string BannerMaterial(const std::string& team);
    // A badge's material for a controller id; empty for one that names no badge.
    static std::string BadgeMaterial(int controllerID);

private:
    void Start();

    float m_elapsed = 0.0f;
    float m_timeLeft;
    EntityRef m_winner;
    EntityRef m_banner;
};

} // namespace quellor
