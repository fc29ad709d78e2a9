#pragma once
// The match arenas, each made from one description: its islands' models and collision shapes
// and its level file (islands, kill volume, boundary, spawn points, navigation nodes, intro
// camera path, sun, sky and fog, feathers, a thumper and drifting props), so that they agree.
#include "tools/writers/ModelWriter.h"
#include "tools/writers/ShapeWriter.h"

#include <string>
#include <vector>

namespace tarsel::tools {

// A floating island: a slab whose top is at `top`, centred on (x, z), with a narrower root
// below it. Half sizes stay under 50 (bigger pieces can miss contacts).
struct ArenaIsland {
    std::string name;
    float x = 0.0f, top = 0.0f, z = 0.0f;
    float halfX = 10.0f, halfZ = 10.0f;
    std::string material;
    std::string team; // its spawn points' team; empty for none
};

struct ArenaDescription {
    std::string level;  // "Beta.ql"
    std::string prefix; // of its model and shape files
    std::vector<ArenaIsland> islands;
    bool thumper = false;
};

// The two arenas: "Beta.ql" (a centre, four team islands and stepping stones between) and the
// smaller "alpha.ql".
const std::vector<ArenaDescription>& Arenas();

// The island's model ("<prefix>_<name>.model") and shape ("<prefix>_<name>.shape").
std::string IslandFileName(const ArenaDescription& arena, const ArenaIsland& island, const char* extension);
ModelDescription BuildIslandModel(const ArenaIsland& island);
std::vector<ShapePiece> BuildIslandShape(const ArenaIsland& island);

// A navigation node: its place and up to five edges (type 1 for a jump over a gap).
struct ArenaNode {
    float x, y, z;
    struct Edge {
        int to;
        float cost;
        int type;
    };
    std::vector<Edge> edges;
};
std::vector<ArenaNode> BuildNavigation(const ArenaDescription& arena);

// The level file's text.
std::string WriteArenaLevel(const ArenaDescription& arena);

// The kill volume and the boundary box (centre and half extents), and the intro camera path
// (priority order, seconds held and travelled), which the level writes and the tests check.
struct ArenaBox {
    float x, y, z, halfX, halfY, halfZ;
};
ArenaBox KillVolume(const ArenaDescription& arena);
ArenaBox Boundary(const ArenaDescription& arena);
constexpr float kIntroHold = 1.5f;
constexpr float kIntroTravel = 2.0f;
constexpr int kIntroNodes = 4;

} // namespace tarsel::tools
