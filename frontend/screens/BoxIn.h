#pragma once
// Darkens the whole screen: a full-screen black quad ("fadeOut", numbered when taken) whose
// alpha rises linearly from 0 to 1 over the duration on lane 4 of the action system, after
// which the box-in finishes and leaves the quad in place for whatever comes next. Built in
// code only (the pause menu's quit runs it before the main menu).
//
// The rise runs in a list of the box-in's own that the root list deletes when it ends; the
// box-in learns of that end through the list's ended event, and a box-in that ends first
// cancels the rise (the quad keeps the alpha it reached).
#include "engine/ActionHandle.h"
#include "engine/EntityRef.h"
#include "frontend/screens/MenuScreen.h"

namespace quellor {

class BoxIn : public MenuScreen {
    QUELLOR_REFLECT(BoxIn)

    static constexpr const char* kQuadName = "fadeOut";
    static constexpr const char* kQuadMaterial = "black.mat";
    static constexpr int kLane = 4;

    // The two integers are kept for the caller and not used here.
    BoxIn(float duration, int first, int second);
    ~BoxIn() override;

    float GetDuration() const { return m_duration; }
    int GetFirst() const { return m_first; }
    int GetSecond() const { return m_second; }
    // The quad of this box-in, while it exists.
    Entity* GetQuad() const { return m_quad.Get(); }

protected:
    void Start() override;
    // Finishes once the rise has ended.
    void UpdateScreen(float dt) override;

private:
    // The tween's access to the quad's alpha; nothing once the quad is gone.
    float GetQuadAlpha() const;
    void SetQuadAlpha(float alpha);

    float m_duration;
    int m_first;
    int m_second;
    EntityRef m_quad;
    bool m_rising = false;
    ActionHandle m_rise;
};

} // namespace quellor
