#include "gameplay/FeatherAction.h"

#include "engine/Entity.h"
#include "engine/Transform3D.h"
#include "engine/reflection/MetaRegistrar.h"
#include "gameplay/FeatherSystem.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/PlayerDataComponent.h"
#include "physics/RigidBodyComponent3D.h"

#include <cmath>
#include <cstdio>

namespace quellor {

QUELLOR_RECORD(FeatherAction, Action, DerivedMetaNotPODNoCopy, NoID) {}

namespace {

constexpr float kReachBeyondScale = 6.0f;

// a * b (Hamilton product).
Quat Multiply(const Quat& a, const Quat& b)
{
    return Quat(a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y, a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x,
                a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w, a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z);
}

} // namespace

FeatherAction::FeatherAction() = default;

FeatherAction::~FeatherAction() = default;

void FeatherAction::Update(float dt)
{
    Entity* feather = GetEntity();
    Transform3D* transform = feather ? feather->GetComponent<Transform3D>() : nullptr;
    if (!transform) {
        std::printf("Warning: a FeatherAction runs on %s without a Transform3D; it finishes\n",
                    feather ? ("\"" + feather->GetName() + "\"").c_str() : "no entity");
        Finish();
        return;
    }

    // A turn of dt radians about the feather's own Y axis: the turn on the right.
    const float half = dt * 0.5f;
    transform->m_rotation = Multiply(transform->m_rotation, Quat(0.0f, std::sin(half), 0.0f, std::cos(half)));

    auto* logic = GetSystem<GameLogicSystem>();
    if (!logic)
        return;
    const Vec4 at = transform->GetPosition();
    const float reach = transform->m_scaleX + kReachBeyondScale;
    auto* feathers = GetSystem<FeatherSystem>();
    // Every player in reach this frame is credited; the entity goes once.
    for (unsigned i = 0; i < logic->GetPlayerCount(); ++i) {
        Entity* player = logic->GetPlayer(static_cast<int>(i));
        auto* body = player ? player->GetComponent<RigidBodyComponent3D>() : nullptr;
        if (!body || !body->GetBody())
            continue;
        const Vec4 centre = body->GetCenterOfMass();
        const float x = centre.x - at.x;
        const float y = centre.y - at.y;
        const float z = centre.z - at.z;
        if (!(reach > std::sqrt(x * x + y * y + z * z)))
            continue;
        const auto* data = player->GetComponent<PlayerDataComponent>();
        if (feathers && data)
            feathers->AddFeather(data->playerTeam);
        feather->Destroy();
        Finish();
    }
}

} // namespace quellor
