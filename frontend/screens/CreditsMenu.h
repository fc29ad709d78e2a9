#pragma once
// The credits: the camera tilts up while a full-screen background and eight credit pages fade
// in; the pages, side by side, scroll slowly to the left. Escape or Enter (once faded in) or the
// end of the 107 s wait fade everything out and then close; pad A (once faded in) or pad B (at
// any time) close at once. Closing returns to the main menu when the screen was asked to.
#include "engine/ActionHandle.h"
#include "frontend/screens/MenuScreen.h"

#include <array>

namespace quellor {

class CreditsMenu : public MenuScreen {
public:
    static constexpr unsigned kPageCount = 8;
    static constexpr float kScrollSpeed = 100.0f; // 2D units a second
    static constexpr float kFadeSeconds = 1.0f;
    static constexpr float kShowSeconds = 107.0f;

    explicit CreditsMenu(bool returnToMainMenu);
    ~CreditsMenu() override;

    bool IsActive() const { return m_active; }

protected:
    void Start() override;
    void UpdateScreen(float dt) override;

private:
    void ApplyPages(float dt);
    void FadeOutAndClose();
    // Removes the background and the pages, hands over (or just ends).
    void Close();

    bool m_active = true;
    bool m_autoClose = false;
    bool m_returnToMainMenu;
    EntityRef m_background;
    float m_backgroundAlpha = 0.0f;
    std::array<EntityRef, kPageCount> m_pages{};
    std::array<float, kPageCount> m_pageAlphas{};
    // The fade-in, ready, wait and auto-close sequence; null once it has ended.
    ActionHandle m_fadeIn;
};

} // namespace quellor
