#include "gameplay/AnimationPlayerComponent.h"

#include "engine/Entity.h"
#include "engine/graphics/GraphicsComponent3DSkinned.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/reflection/MetaRegistrar.h"
#include "renderer/AnimationController.h"

#include <cstdio>

namespace quellor {

QUELLOR_RECORD(AnimationPlayerComponent, Component, DerivedMetaNotPODNoCopy, WithID)
{
    reg.Member(QL_FIELD(m_animName)).Extension(".anim").Setter(QL_METHOD(SetAnimName));
    reg.Member(QL_FIELD(m_playing)).Setter(QL_METHOD(SetPlaying));
    reg.Member(QL_FIELD(m_speed)).Setter(QL_METHOD(SetSpeed));
}

AnimationPlayerComponent::~AnimationPlayerComponent() = default;

void AnimationPlayerComponent::Initialize()
{
    JoinGameLogic();
    m_initialized = true;
    if (!m_playing || m_animName.empty())
        return;
    if (ZOR::AnimationController* controller = Controller()) {
        Play(*controller);
        controller->SetAnimationSpeed(m_speed);
    }
}

void AnimationPlayerComponent::Uninitialize()
{
    LeaveGameLogic();
    m_initialized = false;
}

ZOR::AnimationController* AnimationPlayerComponent::Controller() const
{
    Entity* entity = GetEntity();
    auto* skinned = entity ? entity->GetComponent<GraphicsComponent3DSkinned>() : nullptr;
    if (!skinned) {
        std::printf("Warning: AnimationPlayerComponent on \"%s\" finds no GraphicsComponent3DSkinned\n",
                    entity ? entity->GetName().c_str() : "");
        return nullptr;
    }
    return &skinned->GetAnimationController();
}

void AnimationPlayerComponent::Play(ZOR::AnimationController& controller)
{
    auto* graphics = GetSystem<GraphicsSystem>();
    ZOR::Animation* clip = graphics ? graphics->GetAnimation(m_animName) : nullptr;
    if (!clip) {
        std::printf("Warning: AnimationPlayerComponent finds no animation \"%s\"; nothing plays\n",
                    m_animName.c_str());
        return;
    }
    controller.AddAnimation(clip);
    controller.PlayAnimation(m_animName, 1.0f, ZOR::BlendGroup::All);
}

void AnimationPlayerComponent::SetAnimName(std::string name)
{
    m_animName = std::move(name);
    if (!m_initialized || !m_playing || m_animName.empty())
        return;
    if (ZOR::AnimationController* controller = Controller())
        Play(*controller);
}

void AnimationPlayerComponent::SetPlaying(bool playing)
{
    if (m_initialized && (!playing || !m_animName.empty())) {
        if (ZOR::AnimationController* controller = Controller()) {
            if (playing)
                Play(*controller);
            else
                controller->StopAnimation();
        }
    }
    m_playing = playing;
}

void AnimationPlayerComponent::SetSpeed(float speed)
{
    m_speed = speed;
    if (!m_initialized || !m_playing)
        return;
    if (ZOR::AnimationController* controller = Controller())
        controller->SetAnimationSpeed(speed);
}

} // namespace quellor
