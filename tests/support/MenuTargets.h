#pragma once
// Where each menu screen puts the camera in the menu level (its position and look vector) and
// the level props it finds there by name, for the tests that check the menu level from the
// screens' points of view.
#include <vector>

namespace tarsel::test {

struct MenuTarget {
    struct Vec3 {
        float x, y, z;
    };
    const char* screen;
    Vec3 position;
    Vec3 look;
    std::vector<const char*> props;
};

inline const std::vector<MenuTarget>& MenuTargets()
{
    static const std::vector<MenuTarget> targets = {
        {"MainMenu", {-2.76f, 54.08f, 45.3f}, {-0.06f, -0.01f, -0.99f}, {}},
        {"CharSelectMenu", {-2.7f, 54.0f, -43.3f}, {0.0f, 0.0f, -1.0f}, {}},
        {"CreditsMenu", {-2.76f, 54.08f, 43.3f}, {-0.08f, 0.84f, -0.936f}, {}},
        {"OptionsMenu", {73.93f, 100.1f, 63.03f}, {0.02f, 0.0263f, -0.99f},
         {"muteMusic", "muteAll", "graphicsOptionsButton", "back", "muteMusicCheck", "muteAllCheck"}},
        {"GraphicsOptionsMenu", {72.7f, 64.8f, 67.99f}, {0.1f, -0.03f, -0.99f},
         {"lightingBox", "bloomBox", "DOFBox", "SSAOBox", "sunBox", "fogBox", "shadowBox", "moreGraphicsOptions",
          "back1", "lightingCheck", "bloomCheck", "DOFCheck", "SSAOCheck", "sunCheck", "fogCheck", "shadowCheck"}},
        {"MoreGraphicsOptionsMenu", {72.47f, 20.5f, 81.1f}, {0.14f, 0.0f, -0.98f},
         {"arrowLGraphics", "arrowRGraphics", "arrowLParticle", "arrowRParticle", "arrowLRes", "arrowRRes", "back2"}},
        {"HowToPlayMenu", {-74.29f, 33.86f, 17.79f}, {-0.91f, -0.2f, -0.38f}, {"dojo"}},
    };
    return targets;
}

} // namespace tarsel::test
