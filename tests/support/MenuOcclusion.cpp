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

} // namespace tarsel::test
