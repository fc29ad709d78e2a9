#pragma once
// A place where players of a team appear. Its entity carries a model that shows the place in
// the editor; in play the model is hidden on every screen.
#include "engine/Component.h"
#include "engine/reflection/Vec4.h"
#include "gameplay/GameLogicMember.h"

#include <string>

namespace quellor {

class SpawnPointComponent : public Component, public InLogicSlot<LogicSlot::SpawnPointComponent> {
    QUELLOR_REFLECT_KEYED(SpawnPointComponent)

    SpawnPointComponent() = default;
    SpawnPointComponent(const SpawnPointComponent&) = delete;
    SpawnPointComponent& operator=(const SpawnPointComponent&) = delete;
    ~SpawnPointComponent() override;

    // Joins the game logic, then takes the transform's position.
    void Initialize() override;
    void Uninitialize() override;

    // Follows the transform and hides the marker model on all screens.
    void Update();
    void LogicUpdate(float dt) override;

    Vec4 GetPosition() const { return m_position; }
    // The transform's position now; m_position without a transform.
    Vec4 GetTransformPosition() const;

    Vec4 m_position;
    int m_popularity = 0;
    std::string m_team = "none";
};

} // namespace quellor
