#pragma once
// A floating marker over a target player: a billboard that grows in when shown and shrinks
// away when hidden, visible only on its owner's own view. Every player has two, an own tag and
// a team tag (the game logic's tag set-up); the lift beam and the game logic show and hide
// them through the TagMarker interface.
#include "engine/Component.h"
#include "engine/EntityRef.h"
#include "engine/FlowTracker.h"
#include "gameplay/GameLogicMember.h"
#include "gameplay/TagMarker.h"

#include <string>

namespace quellor {

class BillboardedQuadComponent;

class TagComponent : public Component, public InLogicSlot<LogicSlot::TagComponent>, public TagMarker {
    QUELLOR_REFLECT_KEYED(TagComponent)

    static constexpr float kShownScale = 5.0f;
    static constexpr float kTweenSeconds = 0.2f;
    static constexpr int kLane = 5;

    TagComponent() = default;
    TagComponent(const TagComponent&) = delete;
    TagComponent& operator=(const TagComponent&) = delete;
    ~TagComponent() override;

    void Initialize() override;
    // Leaves the game logic and cancels the grow, the shrink and its OnHidden call, which
    // write into the tag and call it.
    void Uninitialize() override;

    // Stores the owner and gives the tag's entity its billboard, hidden on every screen.
    void Setup(Entity* owner, const std::string& material);

    bool IsHiding() const override { return m_hiding; }
    void ClearHiding() override { m_hiding = false; }
    Entity* GetTarget() const override { return m_target.Get(); }
    void SetTarget(Entity* target) override { m_target = target; }
    bool IsShown() const override { return m_shown; }
    // Both do nothing for a computer player's tag (negative controllerID) or an owner with no
    // view of its own. Show grows the tag on the owner's view (again from where it is when
    // called twice); Hide shrinks it, then OnHidden hides it.
    void Show() override;
    void Hide() override;
    void OnHidden();

    // While it has a target and is not hiding: over the target, 4 sphereCollRadius up.
    void Update(float dt);
    void LogicUpdate(float dt) override { Update(dt); }

    Entity* GetOwner() const { return m_owner.Get(); }
    // The target as referred to: it still tells one gone target from another (and from none).
    const EntityRef& GetTargetRef() const { return m_target; }

private:
    // The owner's view, or -1 when the tag never shows.
    int OwnerScreen() const;
    BillboardedQuadComponent* Billboard() const;
    // The three scale tweens of the tag's transform towards `scale`, run side by side.
    Action* ScaleTo(float scale);
    void Run(Action* flow);

    bool m_hiding = false;
    EntityRef m_target;
    EntityRef m_owner;
    bool m_shown = false;
    int m_shownScreen = -1;
    FlowTracker m_flows;
};

} // namespace quellor
