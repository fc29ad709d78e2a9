#pragma once
// A flat title menu: Play and Quit over a full-screen background. Nothing in the game builds
// it; a level starts it by name ("BasicMenu" in an ActionComponent's m_name). Play ends the
// menu and loads "alpha.ql"; Quit closes the window, and the game shuts down normally. Only
// the keyboard and pad 0 drive it. Its end clears the whole space "default" as it stands then,
// so a level loaded after the menu ended keeps its entities.
#include "engine/EntityRef.h"
#include "frontend/screens/MenuScreen.h"

namespace quellor {

class TextComponent;

class BasicMenu : public MenuScreen {
    QUELLOR_REFLECT(BasicMenu)

    static constexpr const char* kLevel = "alpha.ql";

    BasicMenu();
    ~BasicMenu() override;

    bool IsPlaySelected() const { return m_playSelected; }

protected:
    void Start() override;
    void End() override;
    void UpdateScreen(float dt) override;

private:
    Entity* MakeLine(const char* name, const char* value, float heightShare);
    TextComponent* Line(const EntityRef& line) const;

    bool m_playSelected = true;
    EntityRef m_play;
    EntityRef m_quit;
};

} // namespace quellor
