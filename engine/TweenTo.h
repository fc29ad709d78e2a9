#pragma once
// A tween to an end value, or by a distance when relative.
#include "engine/Tween.h"

namespace quellor {

class TweenTo : public Tween {
public:
    TweenTo(float* target, float duration, float to, int easing, bool override, bool relative);
    TweenTo(Delegate<float> getter, Delegate<void, float> setter, float duration, float to, int easing,
            bool relative);
    ~TweenTo() override;

    void ComputeRange(float current, float& begin, float& change, bool relative) override;

private:
    float m_to;
};

} // namespace quellor
