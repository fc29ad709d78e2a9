#include "gameplay/cameras/MenuCameraComponent.h"

#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Transform3D.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/reflection/MetaRegistrar.h"
#include "gameplay/cameras/CameraPlacement.h"
#include "gameplay/cameras/CameraSystem.h"
#include "renderer/dx11/RenderContext.h"

#include <cmath>

namespace quellor {

QUELLOR_RECORD(MenuCameraComponent, Component, DerivedMetaNotPODNoCopy, WithID)
{
    reg.Member(QL_FIELD(m_rotate)).Setter(QL_METHOD(SetRotate));
    reg.Member(QL_FIELD(m_alpha)).Setter(QL_METHOD(SetAlpha));
    reg.Member(QL_FIELD(m_beta)).Setter(QL_METHOD(SetBeta));
    reg.Member(QL_FIELD(m_rad)).Setter("SetRadius", &MenuCameraComponent::SetRadius);
    reg.Member(QL_FIELD(m_speed)).Setter(QL_METHOD(SetSpeed));
}

MenuCameraComponent::~MenuCameraComponent() = default;

void MenuCameraComponent::Initialize()
{
    if (CameraSystem* cameras = DefaultSystem<CameraSystem>())
        cameras->AddMenuCamera(this);
}

void MenuCameraComponent::Uninitialize()
{
    if (CameraSystem* cameras = DefaultSystem<CameraSystem>())
        cameras->RemoveMenuCamera(this);
}

void MenuCameraComponent::Update(float dt)
{
    const float a = m_alpha * kDegrees;
    const float b = m_beta * kDegrees;
    const ZOR::float3 eye(std::sin(a) * std::cos(b) * m_rad, std::sin(b) * m_rad, std::cos(a) * std::cos(b) * m_rad);
    Entity* entity = GetEntity();
    const auto* transform = entity ? entity->GetComponent<Transform3D>() : nullptr;
    // Without its transform the camera has nothing to look at and is left alone.
    bool usable = IsFinite(eye);
    auto* graphics = DefaultSystem<GraphicsSystem>();
    if (usable && transform && graphics) {
        const Vec4 target = transform->GetPosition();
        usable = PlaceCamera(graphics->GetActiveCamera(-1), eye,
                             ZOR::float3(target.x - eye.x, target.y - eye.y, target.z - eye.z));
    }
    if (!usable && !m_warned) {
        m_warned = true;
        ZOR::Log("Warning: MenuCameraComponent of \"%s\": no usable camera place (m_alpha %g, m_beta %g, m_rad %g); "
                 "the camera stays where it was",
                 entity ? entity->GetName().c_str() : "", static_cast<double>(m_alpha), static_cast<double>(m_beta),
                 static_cast<double>(m_rad));
    }
    m_alpha += m_speed * kDegrees * dt;
}

} // namespace quellor
