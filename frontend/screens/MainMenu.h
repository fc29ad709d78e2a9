#pragma once
// The main menu: a 3D scene in the menu level "MainMenuTest.ql" with a floating arrow (the
// cursor) at the chosen item and a skinned quit button that folds out into an are-you-sure
// board. Built with the load-level flag at start-up (it loads the level and puts the camera in
// place at once) and without it by every sub-screen returning here (the level stays and the
// camera glides back). Each entry makes a new cursor and quit button, which go when the menu
// ends; the level's entities stay.
//
// Items, top to bottom:
//   0 play, 1 options, 2 how to play, 3 credits   open their screen (the table below)
//   4 quit                                        folds the button out, cursor to 5
//   5 are-you-sure, back                          folds the button up, cursor to 4
//   6 are-you-sure, quit                          ends the program
//
// ---- The screens of items 0 to 3 ----
// Activating item 0 to 3 makes the item's screen with its row of the table in MainMenu.cpp
// (ItemScreens), hands over to it and ends the menu. Each screen's own work fills its row:
//   row 0  play          character select, cosmetic choice, team board, match start: CharSelectMenu
//   row 1  options       options and graphics options: OptionsMenu
//   row 2  how to play   HowToPlayMenu with the return flag true
//   row 3  credits       CreditsMenu with argument 1
// A row still empty is a stand-in: the item plays the select cue and the menu stays.
// SetItemScreen replaces a row at run time (tests put fixture screens there).
#include "frontend/screens/MenuScreen.h"

#include <functional>

namespace quellor {

class Entity;

class MainMenu : public MenuScreen {
public:
    enum Item : unsigned { Play, Options, HowToPlay, Credits, Quit, QuitBack, QuitConfirm, ItemCount };

    using ItemScreen = std::function<Action*()>;
    static constexpr unsigned kScreenItems = 4;
    // The row of item 0 to 3; an empty function for any other item.
    static const ItemScreen& GetItemScreen(unsigned item);
    // Replaces the row of item 0 to 3; other items are refused with a warning.
    static void SetItemScreen(unsigned item, ItemScreen screen);

    static constexpr const char* kLevel = "MainMenuTest.ql";
    static constexpr const char* kHoldClip = "quitbutton_quit_hold.anim";
    static constexpr const char* kFoldUpClip = "quitbutton_foldup.anim";
    static constexpr const char* kFoldOutClip = "quitbutton_foldout.anim";
    static constexpr const char* kAreYouSureClip = "quitbutton_areyousure_hold.anim";
    static const Vec4 kCameraPosition;
    static const Vec4 kCameraLook;
    static constexpr float kReturnGlide = 1.5f;
    static constexpr float kCursorScale = 0.7f;
    static constexpr float kCursorGrowth = 0.5f;
    static constexpr float kCursorGlide = 0.15f;
    static constexpr int kLane = 2;

    explicit MainMenu(bool loadLevel);
    ~MainMenu() override;

    // The item after a move: up and down step between 0 and 4 and stop at the ends; on the
    // are-you-sure board (5, 6) both swap 5 and 6.
    static unsigned NextIndex(unsigned index, bool up);
    // Where the cursor stands at the item (w = 1); item 0's place past the last item.
    static Vec4 CursorPosition(unsigned item);

    void MoveUp() { Move(true); }
    void MoveDown() { Move(false); }
    void Activate();

    unsigned GetIndex() const { return m_index; }
    bool LoadsLevel() const { return m_loadLevel; }
    Entity* GetCursor() const { return m_cursor.Get(); }
    Entity* GetQuitButton() const { return m_quit.Get(); }

protected:
    void Start() override;
    bool HandleInput(int pad, bool withKeyboard) override;

private:
    void MakeCursor();
    void MakeQuitButton();
    void Move(bool up);
    // Glides the cursor to the item (the ready flag clear meanwhile) and takes its index.
    void GlideCursorTo(unsigned item);
    // The three tweens of the cursor's x, y, z (or scale) to the values; null without a cursor.
    Action* TweenCursor(bool scale, const Vec4& to, float duration);

    bool m_loadLevel;
    unsigned m_index = Play;
    EntityRef m_cursor;
    EntityRef m_quit;
};

} // namespace quellor
