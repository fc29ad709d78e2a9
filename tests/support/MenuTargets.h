#pragma once
// Where each menu screen puts the camera in the menu level (its position and look vector), the
// board the screen shows and the level props it finds there by name, for the tests that check
// the menu level from the screens' points of view; and the occlusion test those checks use: a
// board is seen when the rays from the camera to its corners meet that board before anything
// else.
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace tarsel::test {

struct MenuTarget {
    struct Vec3 {
        float x, y, z;
    };
    const char* screen;
    Vec3 position;
    Vec3 look;
    const char* board;
    std::vector<const char*> props;
};

inline const std::vector<MenuTarget>& MenuTargets()
{
    static const std::vector<MenuTarget> targets = {
        {"MainMenu", {-2.76f, 54.08f, 45.3f}, {-0.06f, -0.01f, -0.99f}, "mainMenuBoard", {}},
        {"CharSelectMenu", {-2.7f, 54.0f, -43.3f}, {0.0f, 0.0f, -1.0f}, "charSelectBoard", {}},
        {"CreditsMenu", {-2.76f, 54.08f, 43.3f}, {-0.08f, 0.84f, -0.936f}, "creditsBoard", {}},
        {"OptionsMenu", {73.93f, 100.1f, 63.03f}, {0.02f, 0.0263f, -0.99f}, "optionsBoard",
         {"muteMusic", "muteAll", "graphicsOptionsButton", "back", "muteMusicCheck", "muteAllCheck"}},
        {"GraphicsOptionsMenu", {72.7f, 64.8f, 67.99f}, {0.1f, -0.03f, -0.99f}, "graphicsBoard",
         {"lightingBox", "bloomBox", "DOFBox", "SSAOBox", "sunBox", "fogBox", "shadowBox", "moreGraphicsOptions",
          "back1", "lightingCheck", "bloomCheck", "DOFCheck", "SSAOCheck", "sunCheck", "fogCheck", "shadowCheck"}},
        {"MoreGraphicsOptionsMenu", {72.47f, 20.5f, 81.1f}, {0.14f, 0.0f, -0.98f}, "moreGraphicsBoard",
         {"arrowLGraphics", "arrowRGraphics", "arrowLParticle", "arrowRParticle", "arrowLRes", "arrowRRes", "back2"}},
        {"HowToPlayMenu", {-74.29f, 33.86f, 17.79f}, {-0.91f, -0.2f, -0.38f}, "dojo", {"dojo"}},
    };
    return targets;
}

// The camera target of the named screen, or null.
inline const MenuTarget* FindMenuTarget(const std::string& screen)
{
    for (const MenuTarget& target : MenuTargets())
        if (target.screen == screen)
            return &target;
    return nullptr;
}

// One triangle of what the scene draws, in world space, and what draws it.
struct SceneTriangle {
    MenuTarget::Vec3 a, b, c;
    const void* owner;
};

namespace occlusion {

using Vec3 = MenuTarget::Vec3;

inline Vec3 Minus(const Vec3& a, const Vec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline float Dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 Cross(const Vec3& a, const Vec3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// Where along origin + t * direction the ray meets the triangle (either face), or infinity.
inline float Hit(const Vec3& origin, const Vec3& direction, const SceneTriangle& triangle)
{
    const Vec3 e1 = Minus(triangle.b, triangle.a), e2 = Minus(triangle.c, triangle.a);
    const Vec3 p = Cross(direction, e2);
    const float det = Dot(e1, p);
    const float none = std::numeric_limits<float>::infinity();
    if (std::abs(det) < 1e-12f)
        return none;
    const Vec3 s = Minus(origin, triangle.a);
    const float u = Dot(s, p) / det;
    if (u < 0.0f || u > 1.0f)
        return none;
    const Vec3 q = Cross(s, e1);
    const float v = Dot(direction, q) / det;
    if (v < 0.0f || u + v > 1.0f)
        return none;
    const float t = Dot(e2, q) / det;
    return t > 0.0f ? t : none;
}

} // namespace occlusion

// A point as the view sees it (up +y): its offsets to the right and up divided by its depth
// along the look (the tangents of its angles off the view axis, the same on both axes), and
// that depth.
struct ViewPoint {
    float right, up, depth;
};
inline ViewPoint SeenFrom(const MenuTarget& view, const MenuTarget::Vec3& point)
{
    using namespace occlusion;
    auto unit = [](const Vec3& a) {
        const float length = std::sqrt(Dot(a, a));
        return Vec3{a.x / length, a.y / length, a.z / length};
    };
    const Vec3 forward = unit(view.look);
    const Vec3 right = unit(Cross(forward, {0.0f, 1.0f, 0.0f}));
    const Vec3 up = Cross(right, forward);
    const Vec3 d = Minus(point, view.position);
    const float depth = Dot(d, forward);
    return {Dot(d, right) / depth, Dot(d, up) / depth, depth};
}

// What the ray from eye to point meets first: the owner of the nearest triangle, or null.
inline const void* FirstSeen(const MenuTarget::Vec3& eye, const MenuTarget::Vec3& point,
                             const std::vector<SceneTriangle>& scene)
{
    const MenuTarget::Vec3 direction = occlusion::Minus(point, eye);
    float nearest = std::numeric_limits<float>::infinity();
    const void* owner = nullptr;
    for (const SceneTriangle& triangle : scene) {
        const float t = occlusion::Hit(eye, direction, triangle);
        if (t < nearest) {
            nearest = t;
            owner = triangle.owner;
        }
    }
    return owner;
}

// The corners (indices into `corners`) where the ray from the eye meets something before the
// board. Corners are best pulled a little in toward the board's middle, so that each ray ends
// on the board and not on its rim.
inline std::vector<std::size_t> HiddenCorners(const MenuTarget::Vec3& eye, const std::vector<MenuTarget::Vec3>& corners,
                                              const void* board, const std::vector<SceneTriangle>& scene)
{
    std::vector<std::size_t> hidden;
    for (std::size_t i = 0; i < corners.size(); ++i)
        if (FirstSeen(eye, corners[i], scene) != board)
            hidden.push_back(i);
    return hidden;
}

} // namespace tarsel::test
