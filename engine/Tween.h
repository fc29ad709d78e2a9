#pragma once
// An action that moves one float from its value at the start to an end value over a duration,
// along an easing curve. The float is reached through a pointer or through a getter and setter.
// A pointer target is held in a process-wide table while the tween drives it: a newer tween on
// the same float either gives way (override false) or cancels the older one (override true).
#include "engine/Action.h"
#include "engine/Delegate.h"
#include "engine/Easing.h"

#include <unordered_map>

namespace quellor {

class Tween : public Action {
public:
    Tween();
    ~Tween() override;

    void Update(float dt) override;

    // From the value at the start, the begin value and the change to reach the end.
    virtual void ComputeRange(float current, float& begin, float& change, bool relative) = 0;

    // Any index outside the 22 curves selects the linear one.
    void SetEasing(int index);

    // Started event: claims the target, reads the value, computes the range, writes the begin value.
    void Start();
    // Ended event: lets go of the target.
    void End();

    // The tween driving a float, if any.
    static Tween* ActiveTweenOf(const float* target);

protected:
    float* m_target = nullptr;
    float m_duration = 0.0f;
    float m_begin = 0.0f;
    float m_change = 0.0f;
    bool m_override = false;
    bool m_relative = false;
    float m_elapsed = 0.0f;
    bool m_useDelegates = false;
    Delegate<float> m_getter;
    Delegate<void, float> m_setter;
    EasingFunction m_easing = Easing::Linear;

private:
    void Write(float value);
    void ReleaseTarget();

    static std::unordered_map<const float*, Tween*>& ActiveTweens();
};

} // namespace quellor
