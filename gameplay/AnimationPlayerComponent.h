#pragma once
// Plays one named animation on its entity's skinned model, as level data asks. It has no
// per-frame work: the graphics system advances the clip.
#include "engine/Component.h"
#include "gameplay/GameLogicMember.h"

#include <string>

namespace ZOR {
class AnimationController;
}

namespace quellor {

class AnimationPlayerComponent : public Component, public InLogicSlot<LogicSlot::AnimationPlayerComponent> {
    QUELLOR_REFLECT_KEYED(AnimationPlayerComponent)

    AnimationPlayerComponent() = default;
    AnimationPlayerComponent(const AnimationPlayerComponent&) = delete;
    AnimationPlayerComponent& operator=(const AnimationPlayerComponent&) = delete;
    ~AnimationPlayerComponent() override;

    // Joins the game logic; then starts the clip when the data set it playing with a name, and
    // applies the data's speed. The skinned model must be listed before this component.
    void Initialize() override;
    void Uninitialize() override;

    // Before Initialize (while a file is read) these only store. After it: a name while playing
    // starts that clip; playing false stops the model's clips, true starts the named clip; a
    // speed reaches the model only while playing.
    void SetAnimName(std::string name);
    void SetPlaying(bool playing);
    void SetSpeed(float speed);

    std::string m_animName;
    bool m_playing = false;
    float m_speed = 1.0f;

private:
    // The skinned model's controller; null, with a warning, without one.
    ZOR::AnimationController* Controller() const;
    // Adds the named clip to the controller and plays it at factor 1 beside the others.
    void Play(ZOR::AnimationController& controller);

    bool m_initialized = false;
};

} // namespace quellor
