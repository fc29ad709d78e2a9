#include "physics/IslandPhysics.h"

#include "engine/Entity.h"
#include "engine/reflection/MetaRegistrar.h"
#include "physics/QuadColliderComponent3D.h"
#include "physics/RigidBodyComponent3D.h"

namespace quellor {

QUELLOR_RECORD(IslandPhysics, Action, DerivedMetaNotPODNoCopy, NoID) {}

IslandPhysics::IslandPhysics() : Action(true)
{
    m_onStarted.Connect(MakeDelegate(this, &IslandPhysics::Start), 0);
}

IslandPhysics::~IslandPhysics() = default;

void IslandPhysics::Update(float) {}

void IslandPhysics::Start()
{
    Entity* entity = GetEntity();
    if (!entity)
        return;
    // An entity that already holds either keeps its own, which is set up the same way.
    Component* rigid = entity->AddComponent(RigidBodyComponent3D::ID, new RigidBodyComponent3D, true);
    if (auto* body = dynamic_cast<RigidBodyComponent3D*>(rigid))
        body->SetType(0);
    Component* quad = entity->AddComponent(QuadColliderComponent3D::ID, new QuadColliderComponent3D, true);
    if (auto* island = dynamic_cast<QuadColliderComponent3D*>(quad))
        island->SetHalfSize(20.0f, 20.0f)->SetCenter(Vec4(0.0f, 5.0f, 0.0f, 0.0f));
}

} // namespace quellor
