#include "gameplay/cameras/AutomatedCameraComponent.h"

#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Transform3D.h"
#include "engine/reflection/MetaRegistrar.h"
#include "gameplay/cameras/CameraSystem.h"
#include "renderer/DebugDrawer.h"

namespace quellor {

QUELLOR_RECORD(AutomatedCameraComponent, Component, DerivedMetaNotPODNoCopy, WithID)
{
    auto debugDraw = reg.Member(QL_FIELD(m_debugDraw));
    auto priority = reg.Member(QL_FIELD(m_priority));
    auto waitTime = reg.Member(QL_FIELD(m_waitTime));
    auto timeToNextNode = reg.Member(QL_FIELD(m_timeToNextNode));
    debugDraw.Setter(QL_METHOD(SetIsDebugDrawing));
    priority.Setter(QL_METHOD(SetPriority));
    waitTime.Setter(QL_METHOD(SetWaitTime));
    timeToNextNode.Setter(QL_METHOD(SetTimeToNextNode));
}

AutomatedCameraComponent::~AutomatedCameraComponent() = default;

void AutomatedCameraComponent::Initialize()
{
    if (CameraSystem* cameras = DefaultSystem<CameraSystem>())
        cameras->AddAutomatedCamera(this);
}

void AutomatedCameraComponent::Uninitialize()
{
    if (CameraSystem* cameras = DefaultSystem<CameraSystem>())
        cameras->RemoveAutomatedCamera(this);
}

Transform3D* AutomatedCameraComponent::GetTransform() const
{
    Entity* entity = GetEntity();
    return entity ? entity->GetComponent<Transform3D>() : nullptr;
}

Vec4 AutomatedCameraComponent::LocalXAxis(const Quat& q)
{
    const Mat3 r = q.ToMatrix();
    return Vec4(r.m00, r.m10, r.m20, 0.0f);
}

void AutomatedCameraComponent::DebugDraw(ZOR::DebugDrawer* drawer)
{
    const Transform3D* transform = GetTransform();
    if (!m_debugDraw || !drawer || !transform)
        return;
    const ZOR::float3 position(transform->m_x, transform->m_y, transform->m_z);
    drawer->SetObjectScale(transform->m_scaleX * 0.5f, transform->m_scaleY * 0.5f, transform->m_scaleZ * 0.5f);
    drawer->SetPenColor(1.0f, 1.0f, 1.0f);
    drawer->SetPenPosition(position);
    drawer->Sphere();
    drawer->SetObjectScale(1.0f, 1.0f, 1.0f);
    drawer->SetPenPosition(position);
    const Vec4 axis = LocalXAxis(transform->m_rotation);
    drawer->Vector(ZOR::float3(axis.x, axis.y, axis.z));
}

} // namespace quellor
