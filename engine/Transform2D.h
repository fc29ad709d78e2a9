#pragma once
// The 2D placement component read by sprites, text and the menus: the top-left corner, the
// size as a scale, and a rotation, in the orthographic units of the screen.
#include "engine/Component.h"

namespace quellor {

class Transform2D : public Component {
    QUELLOR_REFLECT_KEYED(Transform2D)

    Transform2D() = default;
    Transform2D(const Transform2D&) = default;
    Transform2D& operator=(const Transform2D&) = default;
    ~Transform2D() override;

    Component* Clone() const override;

    float GetX() const { return m_x; }
    float GetY() const { return m_y; }

    float m_x = 0.0f;
    float m_y = 0.0f;
    float m_scaleX = 1.0f;
    float m_scaleY = 1.0f;
    float m_rotation = 0.0f;
};

} // namespace quellor
