#pragma once
// The in-match pause overlay: a full-height 4:3 panel over the running match with a cursor, a
// main page of six entries, three sub-pages (how to play, options, credits) and two yes/no
// confirmations (quit to the main menu, quit the game). GameLogicSystem builds it on the pause
// request and pushes it on lane 0 of the action system.
//
// While it is open gameplay and physics are stopped, players cannot act, effects are paused and
// the menu theme is turned down; closing it (resume, Back on the main page, a pad's Start)
// restores all of that and keeps a new pause from opening for three frames.
//
// Input: the walk of the menu frame, pads 1 to 3 only while connected; each device acts on its
// first command (select, back, down, up, Start) and several devices can act in one frame, but
// nothing once the menu has closed or left for the main menu. While a cursor or check-mark
// tween runs (busy), the whole frame's input is ignored.
//
// Its entities live in the space "default", beside the level; the options page's toggles are
// not written to config.ini (full screen persists through the render context).
#include "engine/EntityRef.h"
#include "frontend/screens/MenuScreen.h"
#include "renderer/math/float2.h"

namespace quellor {

class Entity;

class PauseMenu : public MenuScreen {
public:
    enum Page : unsigned { MainPage, HowToPlayPage, OptionsPage, CreditsPage, QuitToMenuPage, QuitGamePage };
    enum Entry : unsigned { Resume, HowToPlay, Options, Credits, QuitToMenu, QuitGame, EntryCount };
    enum Setting : unsigned { MuteMusic, MuteAll, Fullscreen, SettingCount };

    // The panel in the 2D units of the window: full height, 4:3, centred. Design points of the
    // 1440 x 1080 pictures map into it.
    struct Panel {
        float x = 0.0f;
        float y = 0.0f;
        float scaleX = 0.0f;
        float scaleY = 0.0f;
        ZOR::float2 Place(float u, float v) const;
    };
    static Panel PanelFor(ZOR::float2 area);
    // Design points of the cursor on a main-page entry and on a confirmation's no (0) or yes (1).
    static ZOR::float2 MainEntryPoint(unsigned entry);
    static ZOR::float2 ConfirmPoint(unsigned choice);

    static constexpr float kMarkSize = 50.0f;
    static constexpr float kThemeVolume = 0.05f;
    static constexpr float kCursorSeconds = 0.075f;
    static constexpr float kCheckSeconds = 0.15f;
    static constexpr int kTweenLane = 5;
    static constexpr int kReopenLane = 6;
    static constexpr int kQuitLane = 0;

    PauseMenu();
    ~PauseMenu() override;

    // Runs the frame's input after taking the busy flag as it stands when the frame begins.
    void Update(float dt) override;

    void Select();
    void Back();
    void MoveUp() { Move(true); }
    void MoveDown() { Move(false); }

    unsigned GetPage() const { return m_page; }
    unsigned GetCursorIndex() const { return m_cursorIndex; }
    bool IsBusy() const { return m_busy; }
    Entity* GetBackground() const { return m_background.Get(); }
    Entity* GetCursor() const { return m_cursor.Get(); }
    Entity* GetCheck(Setting setting) const { return m_checks[setting].Get(); }

protected:
    void Start() override;
    void End() override;
    void UpdateScreen(float dt) override;
    bool HandleInput(int pad, bool withKeyboard) override;
    bool WalksOnAfterAction() const override { return true; }

private:
    void Move(bool up);
    void SelectOnMain();
    void Toggle(Setting setting);
    void BackToMain();
    void LeaveForMainMenu();
    void QuitProgram();
    void SuspendGameplay();
    void ResumeGameplay();

    Entity* MakeSprite(const char* base, const char* material, ZOR::float2 place, float width, float height,
                       float alpha);
    void SetPanelMaterial(const char* material);
    void SetCursorPlace(ZOR::float2 designPoint);
    void SetCursorAlpha(float alpha);
    void SetChecksAlpha(float alpha);
    // Sets busy and runs the tween, then clears busy, on the tween lane (tracked).
    void RunBusy(Action* tween);

    EntityRef m_background;
    EntityRef m_cursor;
    EntityRef m_checks[SettingCount];
    Panel m_panel;
    unsigned m_page = MainPage;
    unsigned m_cursorIndex = Resume;
    bool m_busy = false;
    bool m_busyThisFrame = false;
    // Set for good once the menu leaves for the main menu or ends the program.
    bool m_leaving = false;
};

} // namespace quellor
