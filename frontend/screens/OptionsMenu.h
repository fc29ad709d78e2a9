#pragma once
// The options screen: an area of the menu level the camera glides to, with two check boxes
// (mute music, mute all) whose state goes at once to the sound system and to the section
// "SOUND" of config.ini, an entry to the graphics options and a way back to the main menu.
// It uses the level's entities and creates none.
#include "engine/EntityRef.h"
#include "frontend/screens/MenuScreen.h"

#include <array>

namespace quellor {

class OptionsMenu : public MenuScreen {
public:
    enum Item : unsigned { MuteMusic = 0, MuteAll = 1, GraphicsOptions = 2, Back = 3, ItemCount = 4 };

    OptionsMenu();
    ~OptionsMenu() override;

    // The item after a move up or down; the list stops at both ends.
    static unsigned NextItem(unsigned item, bool up);
    // The level entity that carries the item's highlight, e.g. 0 "muteMusic", 3 "back".
    static const char* ItemName(unsigned item);

    unsigned GetCursor() const { return m_cursor; }

protected:
    void Start() override;
    void UpdateScreen(float dt) override;
    bool HandleInput(int pad, bool withKeyboard) override;

private:
    void Activate();
    // Flips a mute flag: the check mark folds in or out (input waits for it), the sound system
    // and config.ini take the new value, and the theme pauses or resumes.
    void Toggle(Item item);
    void RefreshHighlight();

    unsigned m_cursor = 0;
    bool m_muteMusic = false;
    bool m_muteAll = false;
    std::array<EntityRef, ItemCount> m_items{};
    EntityRef m_muteMusicCheck;
    EntityRef m_muteAllCheck;
};

} // namespace quellor
