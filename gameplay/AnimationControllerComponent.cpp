#include "gameplay/AnimationControllerComponent.h"

#include "engine/Entity.h"
#include "engine/graphics/ComponentLookup.h"
#include "engine/graphics/GraphicsComponent3DSkinned.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/reflection/MetaRegistrar.h"
#include "gameplay/AnimationBlendSpace.h"
#include "gameplay/AnimationClipNames.h"
#include "gameplay/PlayerDataComponent.h"
#include "renderer/AnimationController.h"

#include <array>
#include <cstdio>
#include <mutex>
#include <set>
#include <string>

namespace quellor {

QUELLOR_RECORD(AnimationControllerComponent, Component, DerivedMetaNotPODNoCopy, WithID) {}

namespace {

// The 90 blend-space names by dense index, built once: each frame sets them all by name.
const std::array<std::string, kBlendSpaceClipCount>& BlendSpaceNames()
{
    static const auto names = [] {
        std::array<std::string, kBlendSpaceClipCount> table;
        for (int i = 0; i < kBlendSpaceClipCount; ++i)
            table[i] = BlendSpaceClipName(i);
        return table;
    }();
    return names;
}

const std::array<std::string, 4>& DamageNames()
{
    static const auto names = [] {
        std::array<std::string, 4> table;
        for (std::size_t i = 0; i < table.size(); ++i)
            table[i] = DamageClipNames()[i];
        return table;
    }();
    return names;
}

// One warning per missing clip name for the whole process, however many characters ask.
void WarnMissingClip(const std::string& name)
{
    static std::mutex mutex;
    static std::set<std::string> warned;
    const std::lock_guard<std::mutex> lock(mutex);
    if (warned.insert(name).second)
        std::printf("Warning: AnimationControllerComponent finds no animation \"%s\"; the clip is left out\n",
                    name.c_str());
}

const std::string& ClipName(ClipSet set, ClipDirection direction, ClipPitch pitch, bool blast)
{
    return BlendSpaceNames()[BlendSpaceClipIndex(set, direction, pitch, blast)];
}

// Calls each(name) for the 15 clips of one set and variant, in start order.
template <class Each>
void ForEachInSet(ClipSet set, bool blast, Each&& each)
{
    for (int direction = 0; direction < kClipDirectionCount; ++direction)
        for (int pitch = 0; pitch < kClipPitchCount; ++pitch)
            each(ClipName(set, static_cast<ClipDirection>(direction), static_cast<ClipPitch>(pitch), blast));
}

} // namespace

AnimationControllerComponent::~AnimationControllerComponent() = default;

void AnimationControllerComponent::Initialize()
{
    JoinGameLogic();
    // A character made during play is drawn before the game logic first updates it (the frame
    // after a join belongs to the tag set-up): when its model and player data are already
    // there, it starts and takes its pose now instead of showing the model's bind pose.
    Entity* entity = GetEntity();
    if (entity && entity->GetComponent<GraphicsComponent3DSkinned>() && entity->GetComponent<PlayerDataComponent>() &&
        GetSystem<GraphicsSystem>())
        Update(0.0f);
}

void AnimationControllerComponent::Uninitialize()
{
    LeaveGameLogic();
}

void AnimationControllerComponent::StartClips(GraphicsSystem& graphics, ZOR::AnimationController& controller)
{
    std::set<std::string> added;
    const auto add = [&](const std::string& name) {
        if (ZOR::Animation* clip = graphics.GetAnimation(name)) {
            controller.AddAnimation(clip);
            added.insert(name);
        } else {
            WarnMissingClip(name);
        }
    };
    // Offsets and weights reach a clip only once it plays, so each follows its start.
    const auto start = [&](const std::string& name, float offset) {
        if (!added.count(name))
            return;
        controller.PlayAnimation(name, 0.0f, ZOR::BlendGroup::All);
        if (offset != 0.0f)
            controller.SetAnimTimeOffset(name, offset);
    };
    const auto addAndStart = [&](const std::string& name) {
        add(name);
        start(name, 0.0f);
    };

    ForEachInSet(ClipSet::Idle, false, addAndStart);
    ForEachInSet(ClipSet::Idle, true, addAndStart);

    ForEachInSet(ClipSet::InAir, false, add);
    ForEachInSet(ClipSet::InAir, true, add);
    for (const std::string& name : DamageNames())
        add(name);
    for (const std::string& name : DamageNames())
        start(name, 0.0f);
    ForEachInSet(ClipSet::InAir, false, [&](const std::string& name) { start(name, 0.0f); });
    ForEachInSet(ClipSet::InAir, true, [&](const std::string& name) { start(name, 0.0f); });

    // The run cycles start part-way in, in the controller's ticks.
    const float runOffset = 5.0f;
    ForEachInSet(ClipSet::Run, false, add);
    ForEachInSet(ClipSet::Run, true, add);
    ForEachInSet(ClipSet::Run, false, [&](const std::string& name) { start(name, runOffset); });
    ForEachInSet(ClipSet::Run, true, [&](const std::string& name) { start(name, runOffset); });
}

void AnimationControllerComponent::Update(float dt)
{
    Entity* entity = GetEntity();
    auto* skinned = entity ? entity->GetComponent<GraphicsComponent3DSkinned>() : nullptr;
    auto* player = entity ? entity->GetComponent<PlayerDataComponent>() : nullptr;
    GraphicsSystem* graphics = skinned && player ? GetSystem<GraphicsSystem>() : nullptr;
    if (!graphics) {
        if (!m_warnedIncomplete) {
            m_warnedIncomplete = true;
            std::printf("Warning: AnimationControllerComponent on \"%s\" needs a GraphicsComponent3DSkinned, a "
                        "PlayerDataComponent and a GraphicsSystem; it does not animate\n",
                        entity ? entity->GetName().c_str() : "");
        }
        return;
    }
    ZOR::AnimationController& controller = skinned->GetAnimationController();
    const bool starting = !m_started;
    if (starting) {
        StartClips(*graphics, controller);
        m_started = true;
    }

    const auto& names = BlendSpaceNames();
    for (const std::string& name : names)
        controller.SetBlendFactor(name, 0.0f);

    const bool moving = IsMoveInput(m_moveX, m_moveY);
    if (moving) {
        m_lastMoveX = m_moveX;
        m_lastMoveY = m_moveY;
    }
    BlendSpaceInput input;
    input.onGround = player->m_onGround;
    input.moving = moving;
    input.lastMoveX = m_lastMoveX;
    input.lastMoveY = m_lastMoveY;
    input.aimX = m_aimX;
    input.aimY = m_aimY;
    input.aimPitch = m_aimPitch;
    input.blast = m_shotPose.Advance(dt);
    const BlendSpaceWeights weights = ComputeBlendSpace(input);
    for (int i = 0; i < weights.count; ++i)
        controller.SetBlendFactor(names[weights.clips[i].clip], weights.clips[i].weight);
    m_moving = moving;

    if (m_damageTimer > 0.0f) {
        m_damageTimer -= dt;
    } else {
        for (const std::string& name : DamageNames())
            controller.SetBlendFactor(name, 0.0f);
    }
    // The skinned models were posed earlier in the frame, before these clips played: pose this
    // one now, so it is not drawn in its bind pose (arms straight out) until the next frame.
    if (starting)
        controller.Update(0.0f);
}

} // namespace quellor
