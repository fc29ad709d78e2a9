#pragma once
// What the three start-up pictures share: a centred 2D picture in the space "default", shown
// for a display time and removed when the screen ends (finished or cancelled by the skip).
// The fades around it belong to the start-up tree, not to the screen.
#include "frontend/screens/MenuScreen.h"

namespace quellor {

class Splash : public MenuScreen {
public:
    // One picture: its entity, material, size in 2D units, and whether its alpha is set to 1.
    struct Picture {
        const char* entity;
        const char* material;
        float width;
        float height;
        bool opaque;
    };

    float GetDisplayTime() const { return m_displayTime; }
    float GetElapsed() const { return m_elapsed; }

protected:
    Splash(std::string screenName, const Picture& picture, float displayTime);

    // The picture, centred in the window.
    void Start() override;
    // Finishes once the display time has run.
    void UpdateScreen(float dt) override;

private:
    Picture m_picture;
    float m_displayTime;
    float m_elapsed = 0.0f;
};

} // namespace quellor
