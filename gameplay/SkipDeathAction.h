#pragma once
// The skip prompt of a death flow: a line of text on the dead player's screen and a particle
// effect on its body while the camera sequence runs beside it. The player's skip key cancels
// that sequence; once its time is up the sequence is left to end by itself. A computer player
// gets no text, so its first update cancels the sequence and ends. The prompt and the effect go
// when the action ends, also when the match is won meanwhile.
#include "engine/Action.h"
#include "engine/ActionHandle.h"
#include "engine/EntityRef.h"

#include <string>

namespace quellor {

class Entity;

class SkipDeathAction : public Action {
    QUELLOR_REFLECT(SkipDeathAction)

    inline static const std::string kPadPrompt{"Press X to skip"};
    inline static const std::string kKeyboardPrompt{"Press Backspace to Skip"};
    inline static const std::string kPausedPrompt{" "};
    inline static const std::string kTextName{"deathText"};
    inline static const std::string kEffectName{"death"};
    inline static const std::string kEffectFile{"death.pe"};
    inline static const std::string kFont{"font_64.bff"};
    inline static const std::string kFontTexture{"font_64.dds"};
    static constexpr int kBackspaceKey = 8;
    static constexpr int kXKey = 88;
    static constexpr int kPadX = 12;

    // Holds the camera sequence until it ends; clears the body's move input at once, so the
    // body stops its run animation.
    SkipDeathAction(float duration, int controller, Action* other, Entity* body);
    ~SkipDeathAction() override;

    void Update(float dt) override;

    // The prompt for a controller: the pad's unless it is controller 0 (or none) without pad 0.
    std::string Prompt() const;

    float GetTimeLeft() const { return m_timeLeft; }
    Entity* GetText() const { return m_text.Get(); }
    Entity* GetEffect() const { return m_effect.Get(); }
    Action* GetOther() const { return m_other.Get(); }

private:
    void Start();
    // A flow cancelled from outside (its kill volume went) takes the prompt with it.
    void Cancelled() { RemoveEntities(); }
    bool SkipPressed() const;
    void RemoveEntities();
    // Removes the prompt and the effect where they still stand, then finishes.
    void End();

    float m_timeLeft;
    int m_controller;
    ActionHandle m_other;
    EntityRef m_text;
    EntityRef m_effect;
    EntityRef m_body;
};

} // namespace quellor
