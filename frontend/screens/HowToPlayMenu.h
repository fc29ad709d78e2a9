#pragma once
// The how-to-play screen: the camera glides to the menu level's board "dojo", which shows the
// pad controls while any pad is connected and the keyboard controls otherwise. Escape, Enter or
// pad A (once the glide is over) or pad B (at any time) leave it.
#include "engine/EntityRef.h"
#include "frontend/screens/MenuScreen.h"

namespace quellor {

class HowToPlayMenu : public MenuScreen {
public:
    // returnToMainMenu: leaving opens the main menu again; otherwise the screen just ends.
    explicit HowToPlayMenu(bool returnToMainMenu);
    ~HowToPlayMenu() override;

protected:
    void Start() override;
    void UpdateScreen(float dt) override;

private:
    void Leave();

    bool m_returnToMainMenu;
    EntityRef m_dojo;
};

} // namespace quellor
