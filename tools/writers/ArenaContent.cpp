#include "tools/writers/ArenaContent.h"

#include "tools/writers/MeshBuilder.h"
#include "tools/writers/ShapeBuilder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tarsel::tools {

using ZOR::float3;

namespace {

constexpr const char* kTeams[] = {"red", "orange", "purple", "green"};
constexpr float kSlabHalfHeight = 4.0f;
constexpr float kRootHalfHeight = 10.0f;
constexpr float kNodeHeight = 3.0f;  // navigation nodes float this far above the ground
constexpr float kSpawnHeight = 2.0f;
constexpr float kJumpGap = 12.0f;    // islands closer than this are joined by jump edges
constexpr float kSkyScale = 2000.0f; // of the unit sky sphere

// A centre island, one island per team along the axes (red +x, orange -x, purple +z, green
// -z) and `stones` stepping stones on each axis between them.
ArenaDescription Cross(const std::string& level, const std::string& prefix, float centreHalf, float teamDistance,
                       float teamHalf, const std::vector<float>& stoneCentres, float stoneHalf, bool thumper)
{
    ArenaDescription arena;
    arena.level = level;
    arena.prefix = prefix;
    arena.thumper = thumper;
    arena.islands.push_back({"centre", 0.0f, 0.0f, 0.0f, centreHalf, centreHalf, "island_grass.mat", ""});
    const float directions[4][2] = {{1.0f, 0.0f}, {-1.0f, 0.0f}, {0.0f, 1.0f}, {0.0f, -1.0f}};
    for (int t = 0; t < 4; ++t) {
        const float dx = directions[t][0], dz = directions[t][1];
        const std::string team = kTeams[t];
        arena.islands.push_back({team, dx * teamDistance, 0.0f, dz * teamDistance, teamHalf, teamHalf, "island_grass.mat", team});
        for (std::size_t s = 0; s < stoneCentres.size(); ++s)
            arena.islands.push_back({team + "_stone" + std::to_string(s), dx * stoneCentres[s], 0.0f, dz * stoneCentres[s],
                                     stoneHalf, stoneHalf, "stone.mat", ""});
    }
    return arena;
}

float Gap(const ArenaIsland& a, const ArenaIsland& b)
{
    const float gx = std::abs(a.x - b.x) - a.halfX - b.halfX;
    const float gz = std::abs(a.z - b.z) - a.halfZ - b.halfZ;
    return std::max(gx, gz);
}

std::string Number(float value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    return text;
}

std::string Float(const std::string& member, float value)
{
    return "<" + member + "><float value=\"" + Number(value) + "\"/></" + member + ">";
}
std::string Int(const std::string& member, int value)
{
    return "<" + member + "><int value=\"" + std::to_string(value) + "\"/></" + member + ">";
}
std::string Bool(const std::string& member, bool value)
{
    return "<" + member + "><bool value=\"" + (value ? "1" : "0") + "\"/></" + member + ">";
}
std::string String(const std::string& member, const std::string& value)
{
    return "<" + member + "><string value=\"" + value + "\"/></" + member + ">";
}
std::string Vec(const std::string& member, float x, float y, float z, float w = 0.0f)
{
    return "<" + member + "><Vec4>" + Float("x", x) + Float("y", y) + Float("z", z) + Float("w", w) + "</Vec4></" + member + ">";
}

// A turn by angle about +y, all four components written.
std::string Transform(float x, float y, float z, float yaw = 0.0f, float scale = 1.0f)
{
    return "<Transform3D>" + Float("m_x", x) + Float("m_y", y) + Float("m_z", z) + Float("m_scaleX", scale) +
           Float("m_scaleY", scale) + Float("m_scaleZ", scale) + "<m_rotation><Quat>" + Float("x", 0.0f) +
           Float("y", std::sin(yaw / 2.0f)) + Float("z", 0.0f) + Float("w", std::cos(yaw / 2.0f)) +
           "</Quat></m_rotation></Transform3D>";
}

std::string Entity(const std::string& name, const std::string& components)
{
    return "  <" + name + "><Components>" + components + "</Components></" + name + ">\n";
}

std::string StaticBody() { return "<RigidBodyComponent3D>" + Int("m_type", 0) + "</RigidBodyComponent3D>"; }

std::string SensorBox(const ArenaBox& box)
{
    return "<BoxColliderComponent3D>" + Vec("m_halfExtents", box.halfX, box.halfY, box.halfZ) + Bool("m_isSensor", true) +
           "</BoxColliderComponent3D>";
}

std::string Floating(float speed)
{
    return "<FloatComponent>" + Float("m_xDuration", 3.0f) + Float("m_xSpeed", 0.2f * speed) + Float("m_yDuration", 2.0f) +
           Float("m_ySpeed", speed) + Float("m_zDuration", 4.0f) + Float("m_zSpeed", 0.2f * speed) + "</FloatComponent>";
}

// The arena's extent: the largest distance of an island's edge from the centre.
float Reach(const ArenaDescription& arena)
{
    float reach = 0.0f;
    for (const ArenaIsland& island : arena.islands)
        reach = std::max({reach, std::abs(island.x) + island.halfX, std::abs(island.z) + island.halfZ});
    return reach;
}

} // namespace

const std::vector<ArenaDescription>& Arenas()
{
    static const std::vector<ArenaDescription> arenas = {
        Cross("Beta.ql", "beta", 45.0f, 130.0f, 35.0f, {60.0f, 82.0f}, 10.0f, true),
        Cross("alpha.ql", "alpha", 40.0f, 75.0f, 25.0f, {45.0f}, 4.0f, false),
    };
    return arenas;
}

std::string IslandFileName(const ArenaDescription& arena, const ArenaIsland& island, const char* extension)
{
    return arena.prefix + "_" + island.name + extension;
}

ModelDescription BuildIslandModel(const ArenaIsland& island)
{
    ModelDescription model;
    AddBox(model.vertices, float3(0.0f, -kSlabHalfHeight, 0.0f), float3(island.halfX, kSlabHalfHeight, island.halfZ));
    AddBox(model.vertices, float3(0.0f, -2.0f * kSlabHalfHeight - kRootHalfHeight, 0.0f),
           float3(island.halfX * 0.6f, kRootHalfHeight, island.halfZ * 0.6f));
    return model;
}

std::vector<ShapePiece> BuildIslandShape(const ArenaIsland& island)
{
    return {BoxPiece(float3(0.0f, -kSlabHalfHeight, 0.0f), float3(island.halfX, kSlabHalfHeight, island.halfZ)),
            BoxPiece(float3(0.0f, -2.0f * kSlabHalfHeight - kRootHalfHeight, 0.0f),
                     float3(island.halfX * 0.6f, kRootHalfHeight, island.halfZ * 0.6f))};
}

std::vector<ArenaNode> BuildNavigation(const ArenaDescription& arena)
{
    std::vector<ArenaNode> nodes;
    std::vector<std::vector<int>> byIsland;
    const auto distance = [&](int a, int b) {
        const float dx = nodes[a].x - nodes[b].x, dy = nodes[a].y - nodes[b].y, dz = nodes[a].z - nodes[b].z;
        return std::sqrt(dx * dx + dy * dy + dz * dz);
    };
    const auto link = [&](int a, int b, int type) {
        nodes[a].edges.push_back({b, distance(a, b), type});
        nodes[b].edges.push_back({a, distance(a, b), type});
    };
    for (const ArenaIsland& island : arena.islands) {
        std::vector<int> own;
        const float y = island.top + kNodeHeight;
        own.push_back(static_cast<int>(nodes.size()));
        nodes.push_back({island.x, y, island.z, {}});
        // Big islands get a node towards each side, joined to their centre node.
        if (std::min(island.halfX, island.halfZ) >= 20.0f) {
            const float offsets[4][2] = {{0.6f, 0.0f}, {-0.6f, 0.0f}, {0.0f, 0.6f}, {0.0f, -0.6f}};
            for (const auto& offset : offsets) {
                own.push_back(static_cast<int>(nodes.size()));
                nodes.push_back({island.x + offset[0] * island.halfX, y, island.z + offset[1] * island.halfZ, {}});
                link(own.front(), own.back(), 0);
            }
        }
        byIsland.push_back(std::move(own));
    }
    // Neighbouring islands: their closest nodes, joined by jump edges both ways.
    for (std::size_t a = 0; a < arena.islands.size(); ++a)
        for (std::size_t b = a + 1; b < arena.islands.size(); ++b) {
            if (Gap(arena.islands[a], arena.islands[b]) > kJumpGap)
                continue;
            int bestA = -1, bestB = -1;
            float best = 1e30f;
            for (const int na : byIsland[a])
                for (const int nb : byIsland[b])
                    if (distance(na, nb) < best) {
                        best = distance(na, nb);
                        bestA = na;
                        bestB = nb;
                    }
            link(bestA, bestB, 1);
        }
    return nodes;
}

ArenaBox KillVolume(const ArenaDescription& arena)
{
    const float reach = Reach(arena) + 20.0f;
    return {0.0f, -150.0f, 0.0f, reach, 20.0f, reach};
}

ArenaBox Boundary(const ArenaDescription& arena)
{
    const float reach = Reach(arena) + 30.0f;
    return {0.0f, 40.0f, 0.0f, reach, 170.0f, reach};
}

std::string WriteArenaLevel(const ArenaDescription& arena)
{
    std::string text = "<?xml version=\"1.0\"?>\n<!-- Generated from the arena's description: edit tools/writers/ArenaContent.cpp. -->\n<" +
                       arena.prefix + ">\n";
    text += Entity("sun", Transform(0.0f, 300.0f, 0.0f) + "<SunComponent>" + Vec("m_direction", -0.4f, -1.0f, -0.3f) +
                              "</SunComponent><DirectionalLightComponent>" + Vec("m_direction", -0.4f, -1.0f, -0.3f) +
                              Vec("m_color", 1.0f, 0.95f, 0.85f, 1.0f) + "</DirectionalLightComponent>");
    // The sky sphere is drawn where its entity places it: big enough to hold every camera.
    text += Entity("sky", Transform(0.0f, 0.0f, 0.0f, 0.0f, kSkyScale) + "<BackdropComponent>" +
                              String("m_materialName", "sky.mat") + "</BackdropComponent>");
    text += Entity("fog", "<FogComponent>" + Float("m_globalDensity", 0.0008f) + Float("m_heightDensity", 0.005f) + Vec("m_color", 0.6f, 0.7f, 0.85f) + "</FogComponent>");

    for (const ArenaIsland& island : arena.islands)
        text += Entity("island_" + island.name,
                       Transform(island.x, island.top, island.z) + StaticBody() + "<MeshColliderComponent3D>" +
                           String("m_file", IslandFileName(arena, island, ".shape")) + "</MeshColliderComponent3D><GraphicsComponent3D>" +
                           String("m_modelName", IslandFileName(arena, island, ".model")) +
                           String("m_materialName", island.material) + "</GraphicsComponent3D>");

    const ArenaBox kill = KillVolume(arena), boundary = Boundary(arena);
    text += Entity("killVolume", Transform(kill.x, kill.y, kill.z) + StaticBody() + SensorBox(kill) + "<DeathBoxComponent/>");
    text += Entity("levelBoundary",
                   Transform(boundary.x, boundary.y, boundary.z) + StaticBody() + SensorBox(boundary) + "<LevelBoundaryComponent/>");

    for (const ArenaIsland& island : arena.islands) {
        if (island.team.empty())
            continue;
        // Two places a third of the way out from the island's centre, across the line to the
        // arena's centre.
        const bool alongX = std::abs(island.x) > std::abs(island.z);
        for (int k = 0; k < 2; ++k) {
            const float side = (k == 0 ? -1.0f : 1.0f) * (alongX ? island.halfZ : island.halfX) / 3.0f;
            text += Entity(island.team + "Spawn" + std::to_string(k),
                           Transform(island.x + (alongX ? 0.0f : side), island.top + kSpawnHeight, island.z + (alongX ? side : 0.0f)) +
                               "<SpawnPointComponent>" + String("m_team", island.team) + "</SpawnPointComponent>");
        }
    }

    const std::vector<ArenaNode> nodes = BuildNavigation(arena);
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        std::string node = "<AStarNodeComponent>" + Int("m_id", static_cast<int>(i));
        for (std::size_t e = 0; e < nodes[i].edges.size() && e < 5; ++e)
            node += "<m_edge" + std::to_string(e) + "><GraphEdge>" + Int("to", nodes[i].edges[e].to) +
                    Float("cost", nodes[i].edges[e].cost) + Int("type", nodes[i].edges[e].type) + "</GraphEdge></m_edge" +
                    std::to_string(e) + ">";
        node += Float("m_radius", 8.0f) + "</AStarNodeComponent>";
        text += Entity("navNode" + std::to_string(i), Transform(nodes[i].x, nodes[i].y, nodes[i].z) + node);
    }

    // The intro flies round the arena, each node looking along its +x at the centre.
    const float radius = Reach(arena) * 1.3f;
    for (int k = 0; k < kIntroNodes; ++k) {
        const float angle = 2.0f * 3.14159265f * (static_cast<float>(k) + 0.5f) / static_cast<float>(kIntroNodes);
        const float x = radius * std::cos(angle), z = radius * std::sin(angle);
        // A turn by yaw takes +x to (cos yaw, 0, -sin yaw); that is the way to the centre.
        const float yaw = std::atan2(z, -x);
        text += Entity("introCamera" + std::to_string(k),
                       Transform(x, 60.0f, z, yaw) + "<AutomatedCameraComponent>" + Int("m_priority", k) +
                           Float("m_waitTime", kIntroHold) + Float("m_timeToNextNode", kIntroTravel) + "</AutomatedCameraComponent>");
    }

    // Feathers float over the team islands' far edges, crates drift beside the centre.
    int feather = 0;
    for (const ArenaIsland& island : arena.islands)
        if (!island.team.empty()) {
            const float length = std::sqrt(island.x * island.x + island.z * island.z);
            const float out = (length + island.halfX * 0.7f) / length;
            text += Entity("feather" + std::to_string(feather++),
                           Transform(island.x * out, island.top + 6.0f, island.z * out) + "<GraphicsComponent3D>" +
                               String("m_modelName", "feather.model") + String("m_materialName", "feather_white.mat") +
                               "</GraphicsComponent3D>" + Floating(1.0f));
        }
    const float crate = arena.islands.front().halfX * 0.7f;
    for (int k = 0; k < 2; ++k)
        text += Entity("crate" + std::to_string(k),
                       Transform(k == 0 ? crate : -crate, 20.0f, k == 0 ? crate : -crate, 0.3f) + "<GraphicsComponent3D>" +
                           String("m_modelName", "crate.model") + String("m_materialName", "prop_crate.mat") +
                           "</GraphicsComponent3D>" + Floating(0.5f));
    // The thumper slams from its body's centre: without a body it never slams.
    if (arena.thumper)
        text += Entity("thumper",
                       Transform(0.0f, 0.0f, 0.0f) + StaticBody() + "<GraphicsComponent3DSkinned>" + String("m_modelName", "thumper.model") +
                           String("m_materialName", "thumper_metal.mat") + "</GraphicsComponent3DSkinned><AnimationPlayerComponent>" +
                           String("m_animName", "Thumper_anim2.anim") + Bool("m_playing", true) + Float("m_speed", 1.0f) +
                           "</AnimationPlayerComponent><ThumperComponent>" + Float("m_thumpTime", 30.0f) +
                           Float("m_glowDuration", 1.0f) + "</ThumperComponent>");
    return text + "</" + arena.prefix + ">\n";
}

} // namespace tarsel::tools
