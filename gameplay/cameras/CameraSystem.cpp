#include "gameplay/cameras/CameraSystem.h"

#include "engine/Engine.h"
#include "engine/Finite.h"
#include "engine/Transform3D.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/reflection/MetaRegistrar.h"
#include "gameplay/cameras/AutomatedCameraComponent.h"
#include "gameplay/cameras/CameraPlacement.h"
#include "gameplay/cameras/MenuCameraComponent.h"
#include "gameplay/cameras/ThirdPersonCameraComponent.h"

#include <algorithm>
#include <cmath>

namespace quellor {

QUELLOR_RECORD(CameraSystem, System, DerivedMetaNotPODNoCopy, WithID)
{
    reg.Method(QL_METHOD(SetCameraPos));
    reg.Method(QL_METHOD(SetCameraLook));
}

namespace {

// Below this, a time or a travel window counts as zero.
constexpr float kTimeTolerance = 1e-5f;

template <class T>
void EraseFirst(std::vector<T*>& list, T* item)
{
    auto found = std::find(list.begin(), list.end(), item);
    if (found != list.end())
        list.erase(found);
}

// a·p + (1 − a)·q, all four components.
Vec4 Blend(const Vec4& p, const Vec4& q, float a)
{
    const float b = 1.0f - a;
    return Vec4(a * p.x + b * q.x, a * p.y + b * q.y, a * p.z + b * q.z, a * p.w + b * q.w);
}

// x, y and z divided by their length when it is not 0; w kept.
Vec4 NormalizedDirection(const Vec4& v)
{
    const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (length == 0.0f)
        return v;
    return Vec4(v.x / length, v.y / length, v.z / length, v.w);
}

// Each component moves by (target − current)·k.
void Approach(Vec4& current, const Vec4& target, float k)
{
    current.x += (target.x - current.x) * k;
    current.y += (target.y - current.y) * k;
    current.z += (target.z - current.z) * k;
    current.w += (target.w - current.w) * k;
}

// A node without a transform stands at the origin, turned by the identity.
Vec4 NodePosition(const AutomatedCameraComponent& node)
{
    const Transform3D* transform = node.GetTransform();
    return transform ? transform->GetPosition() : Vec4(0.0f, 0.0f, 0.0f, 1.0f);
}

Vec4 NodeDirection(const AutomatedCameraComponent& node)
{
    const Transform3D* transform = node.GetTransform();
    return NormalizedDirection(AutomatedCameraComponent::LocalXAxis(transform ? transform->m_rotation : Quat()));
}

} // namespace

CameraSystem::~CameraSystem() = default;

void CameraSystem::Update(float dt)
{
    GraphicsSystem* graphics = DefaultSystem<GraphicsSystem>();
    if (!m_automatedCameras.empty()) {
        // The depth-tested drawer: the nodes hide behind the level like the rest of the scene.
        ZOR::DebugDrawer* drawer = graphics ? &graphics->GetDebugDrawer(true) : nullptr;
        for (AutomatedCameraComponent* node : m_automatedCameras)
            node->DebugDraw(drawer);
        if (!m_automatedCameraDisabled)
            PlayPath(dt, graphics);
    }
    // By index: an update may make a camera join, which may move the list.
    for (std::size_t i = 0; i < m_thirdPersonCameras.size(); ++i)
        m_thirdPersonCameras[i]->Update(dt);
    for (std::size_t i = 0; i < m_menuCameras.size(); ++i)
        m_menuCameras[i]->Update(dt);
    m_pathTime += dt;
}

void CameraSystem::PlayPath(float dt, GraphicsSystem* graphics)
{
    m_targetPosition = SamplePathPosition(m_pathTime);
    m_targetDirection = SamplePathDirection(m_pathTime);
    Approach(m_currentPosition, m_targetPosition, kSmoothing * dt);
    Approach(m_currentDirection, m_targetDirection, kSmoothing * dt);
    // The first frame after the nodes changed starts on the path instead of gliding onto it.
    if (std::fabs(m_pathTime) < kTimeTolerance) {
        m_currentPosition = m_targetPosition;
        m_currentDirection = m_targetDirection;
    }
    if (graphics)
        PlaceCamera(graphics->GetActiveCamera(-1), ToFloat3(m_currentPosition), ToFloat3(m_currentDirection));
}

template <class Value>
Vec4 CameraSystem::SamplePath(float t, Value value) const
{
    if (m_automatedCameras.empty())
        return Vec4();
    // Windows are open on both edges: a time on an edge falls through to the next window, and
    // one beyond every window rests on the last node.
    Vec4 result = value(*m_automatedCameras.front());
    float start = 0.0f;
    const std::size_t count = m_automatedCameras.size();
    for (std::size_t i = 0; i < count; ++i) {
        const AutomatedCameraComponent& node = *m_automatedCameras[i];
        const float holdEnd = start + node.m_waitTime;
        const float travel = node.m_timeToNextNode;
        if (t > holdEnd && holdEnd + travel > t && i + 1 < count) {
            const float a = std::fabs(travel) < kTimeTolerance ? 1.0f : (holdEnd + travel - t) / travel;
            return Blend(value(node), value(*m_automatedCameras[i + 1]), a);
        }
        if (t > start && holdEnd > t)
            return value(node);
        result = value(node);
        start = holdEnd + travel;
    }
    return result;
}

Vec4 CameraSystem::SamplePathPosition(float t) const
{
    return SamplePath(t, NodePosition);
}

Vec4 CameraSystem::SamplePathDirection(float t) const
{
    return NormalizedDirection(SamplePath(t, NodeDirection));
}

void CameraSystem::AddAutomatedCamera(AutomatedCameraComponent* camera)
{
    m_automatedCameras.push_back(camera);
    std::stable_sort(m_automatedCameras.begin(), m_automatedCameras.end(),
                     [](const AutomatedCameraComponent* a, const AutomatedCameraComponent* b) {
                         return a->GetPriority() < b->GetPriority();
                     });
    m_pathTime = 0.0f;
}

void CameraSystem::RemoveAutomatedCamera(AutomatedCameraComponent* camera)
{
    EraseFirst(m_automatedCameras, camera);
    m_pathTime = 0.0f;
}

void CameraSystem::AddThirdPersonCamera(ThirdPersonCameraComponent* camera)
{
    m_thirdPersonCameras.push_back(camera);
}

void CameraSystem::RemoveThirdPersonCamera(ThirdPersonCameraComponent* camera)
{
    EraseFirst(m_thirdPersonCameras, camera);
}

void CameraSystem::AddMenuCamera(MenuCameraComponent* camera)
{
    m_menuCameras.push_back(camera);
}

void CameraSystem::RemoveMenuCamera(MenuCameraComponent* camera)
{
    EraseFirst(m_menuCameras, camera);
}

void CameraSystem::SetCameraPos(float x, float y, float z)
{
    const ZOR::float3 eye(x, y, z);
    GraphicsSystem* graphics = DefaultSystem<GraphicsSystem>();
    if (graphics && IsFinite(eye))
        graphics->GetActiveCamera(0).SetPosition(eye);
}

void CameraSystem::SetCameraLook(float x, float y, float z)
{
    if (GraphicsSystem* graphics = DefaultSystem<GraphicsSystem>())
        TurnCamera(graphics->GetActiveCamera(0), ZOR::float3(x, y, z));
}

} // namespace quellor
