#include "gameplay/cameras/CameraLookAtComponent.h"

#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Input.h"
#include "engine/Transform3D.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/reflection/MetaRegistrar.h"
#include "gameplay/cameras/CameraPlacement.h"
#include "renderer/dx11/RenderContext.h"

#include <algorithm>
#include <cmath>

namespace quellor {

QUELLOR_RECORD(CameraLookAtComponent, Component, DerivedMetaNotPODNoCopy, WithID)
{
    reg.Member(QL_FIELD(m_targetName));
}

namespace {

constexpr int kKeyboard = -1;
constexpr int kKeyLeft = 37;
constexpr int kKeyUp = 38;
constexpr int kKeyRight = 39;
constexpr int kKeyDown = 40;
constexpr int kKeyE = 69;
constexpr int kKeyQ = 81;
constexpr int kLookPad = 0;

ZOR::Camera* ScreenZeroCamera()
{
    auto* graphics = DefaultSystem<GraphicsSystem>();
    return graphics ? &graphics->GetActiveCamera(-1) : nullptr;
}

} // namespace

CameraLookAtComponent::~CameraLookAtComponent() = default;

void CameraLookAtComponent::SetSharedView(float radius, float yaw, float pitch)
{
    s_radius = radius;
    s_yaw = yaw;
    s_pitch = pitch;
}

void CameraLookAtComponent::Initialize()
{
    JoinGameLogic();
    m_camera = ScreenZeroCamera();
    FindNamedTarget(false);
}

void CameraLookAtComponent::FindNamedTarget(bool warn)
{
    if (m_targetName.empty())
        return;
    const Entity* self = GetEntity();
    Engine* engine = GetEngine();
    // Looked for every frame while missing: no string is built for it.
    static const std::string kDefaultSpace = "default";
    const std::string& space = self ? self->GetSpaceName() : kDefaultSpace;
    Entity* found = engine ? engine->GetEntity(m_targetName, space) : nullptr;
    if (found && !found->IsDestroyed()) {
        m_target = EntityRef(found);
        return;
    }
    if (warn && !m_warnedNoTarget) {
        m_warnedNoTarget = true;
        ZOR::Log("Warning: CameraLookAtComponent on \"%s\": there is no entity \"%s\" to look at",
                 self ? self->GetName().c_str() : "", m_targetName.c_str());
    }
}

void CameraLookAtComponent::Uninitialize()
{
    LeaveGameLogic();
}

void CameraLookAtComponent::ReadInput(float dt) const
{
    const Input* input = GetSystem<Input>();
    if (!input)
        return;
    // One stick axis at a time: a sideways push wins over up and down. The turn rate does not
    // follow the deflection.
    const float x = input->GetRightJoyStickX(kLookPad);
    const float y = x != 0.0f ? 0.0f : input->GetRightJoyStickY(kLookPad);
    if (input->KeyIsDown(kKeyLeft, kKeyboard) || x < 0.0f)
        s_yaw -= dt;
    if (input->KeyIsDown(kKeyRight, kKeyboard) || x > 0.0f)
        s_yaw += dt;
    if (input->KeyIsDown(kKeyUp, kKeyboard) || y > 0.0f)
        s_pitch += dt;
    if (input->KeyIsDown(kKeyDown, kKeyboard) || y < 0.0f)
        s_pitch -= dt;
    if (input->KeyIsDown(kKeyQ, kKeyboard))
        s_radius -= kZoomStep;
    if (input->KeyIsDown(kKeyE, kKeyboard))
        s_radius += kZoomStep;
}

void CameraLookAtComponent::Update(float dt)
{
    if (!m_target.Get())
        FindNamedTarget(true);
    Entity* target = m_target.Get();
    const Transform3D* targetTransform = target ? target->GetComponent<Transform3D>() : nullptr;
    if (!targetTransform)
        return;
    ReadInput(dt);
    s_pitch = std::clamp(s_pitch, -kPitchLimit, kPitchLimit);

    const ZOR::float3 offset(std::sin(s_yaw) * s_radius * std::cos(s_pitch), std::sin(s_pitch) * s_radius,
                             std::cos(s_yaw) * s_radius * std::cos(s_pitch));
    if (Entity* self = GetEntity())
        if (auto* own = self->GetComponent<Transform3D>())
            own->SetPosition(offset.x, offset.y, offset.z);

    if (!m_camera)
        m_camera = ScreenZeroCamera();
    if (!m_camera)
        return;
    const ZOR::float3 look(targetTransform->m_x, targetTransform->m_y, targetTransform->m_z);
    const ZOR::float3 eye = look + offset;
    // Near a zero radius the view has no direction: the camera keeps its last one.
    PlaceCamera(*m_camera, eye, look - eye);
}

} // namespace quellor
