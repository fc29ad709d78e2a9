#include "tests/support/MenuOcclusion.h"

#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Space.h"
#include "engine/graphics/BillboardedQuadComponent.h"
#include "engine/graphics/GraphicsComponent3D.h"
#include "engine/graphics/GraphicsComponent3DSkinned.h"
#include "renderer/Model.h"

#include <algorithm>
#include <cstring>
#include <set>

namespace tarsel::test {

namespace {

using Vec3 = MenuTarget::Vec3;

Vec3 Unit(const Vec3& v)
{
    const float length = std::sqrt(occlusion::Dot(v, v));
    return length > 0.0f ? Vec3{v.x / length, v.y / length, v.z / length} : v;
}

Vec3 Along(const Vec3& p, const Vec3& d, float s) { return {p.x + d.x * s, p.y + d.y * s, p.z + d.z * s}; }

// The camera's right and up, as a look-at with up +y makes them (the quads' axes).
void Axes(const MenuTarget& view, Vec3& right, Vec3& up)
{
    const Vec3 look = Unit(view.look);
    right = Unit(occlusion::Cross(look, {0.0f, 1.0f, 0.0f}));
    up = occlusion::Cross(right, look);
}

// The corners of a camera-facing quad, in the order the quad pass spreads them.
std::vector<Vec3> QuadCorners(const quellor::BillboardedQuadComponent& quad, const MenuTarget& view)
{
    Vec3 right, up;
    Axes(view, right, up);
    const ZOR::float4& p = quad.GetPosition();
    const ZOR::float2& scale = quad.GetInstance().scale;
    std::vector<Vec3> corners;
    for (const auto& [sx, sy] : {std::pair{-0.5f, 0.5f}, {0.5f, 0.5f}, {0.5f, -0.5f}, {-0.5f, -0.5f}})
        corners.push_back(Along(Along({p.x, p.y, p.z}, right, sx * scale.x), up, sy * scale.y));
    return corners;
}

// A model's vertices in model space, skinned by the controller's bone matrices when it has
// them, and the world matrix that places them.
struct Posed {
    std::vector<ZOR::float4> vertices;
    ZOR::float4x4 world;
};

template <class Component>
Posed Pose(const Component& component, const std::vector<ZOR::float4x4>* bones)
{
    Posed out;
    out.world = component.GetInstance().world;
    const ZOR::Model* model = component.GetModel();
    if (!model)
        return out;
    const std::size_t stride = model->IsSkinned() ? sizeof(ZOR::Model::SkinnedVertex) : sizeof(ZOR::Model::StaticVertex);
    const auto data = model->GetVertexData();
    for (std::size_t i = 0; i < model->GetVertexCount() && (i + 1) * stride <= data.size(); ++i) {
        const std::uint8_t* at = data.data() + i * stride;
        ZOR::float4 p;
        std::memcpy(&p, at, sizeof(p));
        p.w = 1.0f;
        if (model->IsSkinned() && bones && !bones->empty()) {
            ZOR::Model::SkinnedVertex v;
            std::memcpy(&v, at, sizeof(v));
            ZOR::float4 skinned(0.0f, 0.0f, 0.0f, 0.0f);
            for (int k = 0; k < 4; ++k)
                if (v.weights[k] != 0.0f)
                    skinned += ((*bones)[std::min<std::size_t>(v.boneIds[k], bones->size() - 1)] * p) * v.weights[k];
            p = skinned;
        }
        out.vertices.push_back(p);
    }
    return out;
}

Posed PoseOf(const quellor::Entity& entity)
{
    if (auto* model = entity.GetComponent<quellor::GraphicsComponent3D>())
        return Pose(*model, nullptr);
    if (auto* skinned = entity.GetComponent<quellor::GraphicsComponent3DSkinned>())
        return Pose(*skinned, &skinned->GetAnimationController().GetMatrixList());
    return {};
}

Vec3 Placed(const ZOR::float4x4& world, const ZOR::float4& p)
{
    const ZOR::float4 w = world * ZOR::float4(p.x, p.y, p.z, 1.0f);
    return {w.x, w.y, w.z};
}

// Pulls each corner a tenth of the way toward their middle.
std::vector<Vec3> PulledIn(std::vector<Vec3> corners)
{
    Vec3 middle{0.0f, 0.0f, 0.0f};
    for (const Vec3& c : corners)
        middle = Along(middle, c, 1.0f / static_cast<float>(corners.size()));
    for (Vec3& c : corners)
        c = Along(c, occlusion::Minus(middle, c), 0.1f);
    return corners;
}

// The entity's name and what it draws ("3 (char_select_title.mat)"): the screens' entities
// have names of bare counters.
std::string Describe(const quellor::Entity* entity)
{
    if (!entity)
        return "nothing";
    std::string drawn;
    if (auto* quad = entity->GetComponent<quellor::BillboardedQuadComponent>())
        drawn = quad->m_materialName;
    else if (auto* model = entity->GetComponent<quellor::GraphicsComponent3D>())
        drawn = model->m_modelName;
    else if (auto* skinned = entity->GetComponent<quellor::GraphicsComponent3DSkinned>())
        drawn = skinned->m_modelName;
    return "\"" + entity->GetName() + "\" (" + drawn + ")";
}

} // namespace

std::vector<SceneTriangle> SceneTriangles(const MenuTarget& view)
{
    std::vector<SceneTriangle> scene;
    quellor::Space* space = quellor::Engine::Instance()->GetSpace("default");
    if (!space)
        return scene;
    for (const auto& [name, entity] : space->GetEntityMap()) {
        if (!entity || entity->IsDestroyed())
            continue;
        if (auto* quad = entity->GetComponent<quellor::BillboardedQuadComponent>()) {
            const std::vector<Vec3> c = QuadCorners(*quad, view);
            scene.push_back({c[0], c[1], c[2], entity});
            scene.push_back({c[0], c[2], c[3], entity});
        }
        const Posed posed = PoseOf(*entity);
        for (std::size_t i = 0; i + 2 < posed.vertices.size(); i += 3)
            scene.push_back({Placed(posed.world, posed.vertices[i]), Placed(posed.world, posed.vertices[i + 1]),
                             Placed(posed.world, posed.vertices[i + 2]), entity});
    }
    return scene;
}

std::vector<MenuTarget::Vec3> SightPoints(const quellor::Entity& entity, const MenuTarget& view)
{
    if (auto* quad = entity.GetComponent<quellor::BillboardedQuadComponent>())
        return PulledIn(QuadCorners(*quad, view));
    // The middle of each triangle lies on the model whatever its shape (a check mark's dots
    // leave gaps that a box around them would not).
    const Posed posed = PoseOf(entity);
    std::vector<Vec3> points;
    for (std::size_t i = 0; i + 2 < posed.vertices.size(); i += 3)
        points.push_back(Placed(posed.world, (posed.vertices[i] + posed.vertices[i + 1] + posed.vertices[i + 2]) / 3.0f));
    return points;
}

std::vector<std::string> Occlusions(const std::vector<const quellor::Entity*>& boards, const MenuTarget& view)
{
    const std::vector<SceneTriangle> scene = SceneTriangles(view);
    std::vector<std::string> lines;
    for (const quellor::Entity* board : boards) {
        const std::vector<Vec3> points = SightPoints(*board, view);
        if (points.empty()) {
            lines.push_back(Describe(board) + ": draws nothing");
            continue;
        }
        for (const std::size_t i : HiddenCorners(view.position, points, board, scene)) {
            const auto* other = static_cast<const quellor::Entity*>(FirstSeen(view.position, points[i], scene));
            lines.push_back(Describe(board) + ": point " + std::to_string(i) + " is hidden by " + Describe(other));
        }
    }
    return lines;
}

namespace {

// Points over the face of a model's box (its vertices' bounds in model space) that looks toward
// the eye, a grid of columns by rows inset half a step from the rim, placed in the world.
std::vector<Vec3> FacePoints(const quellor::Entity& board, const Vec3& eye, int columns, int rows)
{
    const Posed posed = PoseOf(board);
    if (posed.vertices.empty())
        return {};
    ZOR::float4 low = posed.vertices.front(), high = posed.vertices.front();
    for (const ZOR::float4& v : posed.vertices) {
        low = ZOR::float4(std::min(low.x, v.x), std::min(low.y, v.y), std::min(low.z, v.z), 1.0f);
        high = ZOR::float4(std::max(high.x, v.x), std::max(high.y, v.y), std::max(high.z, v.z), 1.0f);
    }
    const Vec3 front = Placed(posed.world, ZOR::float4(0.0f, 0.0f, high.z, 1.0f));
    const Vec3 back = Placed(posed.world, ZOR::float4(0.0f, 0.0f, low.z, 1.0f));
    const float z = occlusion::Dot(occlusion::Minus(front, back), occlusion::Minus(eye, back)) >= 0.0f ? high.z : low.z;
    std::vector<Vec3> points;
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < columns; ++i) {
            const float u = (static_cast<float>(i) + 0.5f) / static_cast<float>(columns);
            const float v = (static_cast<float>(j) + 0.5f) / static_cast<float>(rows);
            points.push_back(Placed(posed.world, ZOR::float4(low.x + u * (high.x - low.x), low.y + v * (high.y - low.y), z, 1.0f)));
        }
    return points;
}

// Whether anything of the scene lies on the way from the point to the target.
bool Blocked(const Vec3& point, const Vec3& target, const std::vector<SceneTriangle>& scene)
{
    const Vec3 direction = occlusion::Minus(target, point);
    for (const SceneTriangle& triangle : scene)
        if (occlusion::Hit(point, direction, triangle) < 1.0f)
            return true;
    return false;
}

} // namespace

BoardsInView BoardsSeenFrom(const MenuTarget& view, float horizontalFov, const MenuTarget::Vec3& sun)
{
    BoardsInView seen;
    quellor::Engine* engine = quellor::Engine::Instance();
    const quellor::Entity* own = engine->GetEntity(view.board, "default");
    std::set<const void*> others;
    for (const MenuTarget& target : MenuTargets()) {
        const quellor::Entity* board = engine->GetEntity(target.board, "default");
        if (!board)
            seen.faults.push_back(std::string("no board \"") + target.board + "\" in the level");
        else if (board != own)
            others.insert(board);
    }
    if (!own)
        return seen;

    const std::vector<SceneTriangle> scene = SceneTriangles(view);
    std::vector<SceneTriangle> otherBoards;
    for (const SceneTriangle& triangle : scene)
        if (others.count(triangle.owner))
            otherBoards.push_back(triangle);

    Vec3 right, up;
    Axes(view, right, up);
    const Vec3 look = Unit(view.look);
    const float halfWidth = std::tan(horizontalFov * 0.5f);
    const float halfHeight = halfWidth * 9.0f / 16.0f;
    constexpr int kColumns = 64, kRows = 36;
    int onOthers = 0;
    for (int j = 0; j < kRows; ++j)
        for (int i = 0; i < kColumns; ++i) {
            const float x = ((static_cast<float>(i) + 0.5f) / kColumns * 2.0f - 1.0f) * halfWidth;
            const float y = (1.0f - (static_cast<float>(j) + 0.5f) / kRows * 2.0f) * halfHeight;
            const Vec3 through = Along(Along(Along(view.position, look, 1.0f), right, x), up, y);
            onOthers += others.count(FirstSeen(view.position, through, scene)) ? 1 : 0;
        }
    seen.othersShare = static_cast<float>(onOthers) / (kColumns * kRows);

    const std::vector<Vec3> points = FacePoints(*own, view.position, 16, 9);
    int lit = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const Vec3 d = occlusion::Minus(points[i], view.position);
        const float depth = occlusion::Dot(d, look);
        if (depth <= 0.0f || std::abs(occlusion::Dot(d, right)) > depth * halfWidth ||
            std::abs(occlusion::Dot(d, up)) > depth * halfHeight)
            seen.faults.push_back(Describe(own) + ": point " + std::to_string(i) + " is outside the view");
        const void* first = FirstSeen(view.position, points[i], scene);
        if (others.count(first))
            seen.faults.push_back(Describe(own) + ": point " + std::to_string(i) + " is behind " +
                                  Describe(static_cast<const quellor::Entity*>(first)));
        lit += Blocked(points[i], sun, otherBoards) ? 0 : 1;
    }
    seen.litShare = points.empty() ? 0.0f : static_cast<float>(lit) / static_cast<float>(points.size());
    if (points.empty())
        seen.faults.push_back(Describe(own) + ": draws nothing");
    return seen;
}

} // namespace tarsel::test
