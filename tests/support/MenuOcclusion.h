#pragma once
// The occlusion of boards in the menu level from a menu screen's camera target: what the space
// "default" draws in 3D as world triangles (models in their current pose, camera-facing quads
// turned to that camera), and the sight points of each board checked with HiddenCorners
// (MenuTargets.h).
#include "tests/support/MenuTargets.h"

#include <string>
#include <vector>

namespace quellor {
class Entity;
}

namespace tarsel::test {

// Everything "default" draws as models or camera-facing quads, seen from the view (whose up is
// +y), each triangle owned by its entity.
std::vector<SceneTriangle> SceneTriangles(const MenuTarget& view);

// The points of what the entity draws that the camera must see: a camera-facing quad's four
// corners, pulled a tenth of the way in toward its middle; the middle of each triangle of a
// model (posed). Empty for an entity that draws neither.
std::vector<MenuTarget::Vec3> SightPoints(const quellor::Entity& entity, const MenuTarget& view);

// One line for each sight point of each board that something else hides from the view
// ("\"3\" (char_select_title.mat): point 2 is hidden by \"0\" (scroll_menu.model)"), and one for
// a board that draws nothing.
std::vector<std::string> Occlusions(const std::vector<const quellor::Entity*>& boards, const MenuTarget& view);

// What a screen's camera target shows of the screens' boards (each target's board):
// - othersShare: the share of the picture (rays through a 64 by 36 grid over it, at the given
//   horizontal field of view and 16:9) whose first hit is another screen's board;
// - litShare: over a 16 by 9 grid of points on the face of the screen's own board that the camera
//   sees, the share whose straight way to the sun meets no other board (the sun draws its shadow
//   map from its position);
// - faults: a line for each of those points outside the picture or behind another board, and for
//   a board the level lacks.
struct BoardsInView {
    float othersShare = 0.0f;
    float litShare = 0.0f;
    std::vector<std::string> faults;
};
BoardsInView BoardsSeenFrom(const MenuTarget& view, float horizontalFov, const MenuTarget::Vec3& sun);

} // namespace tarsel::test
