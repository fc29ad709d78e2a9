#pragma once
// The 3D placement component: position, a scale per local axis and a rotation, plus a stored
// world matrix. Physics and gameplay write the fields; the graphics components build their own
// matrix from them each frame with BuildWorldMatrix and never write it back, so the stored
// matrix (and the axes read from it) changes only through UpdateWorldMatrix or a copy.
#include "engine/Component.h"
#include "engine/reflection/Mat4.h"
#include "engine/reflection/Quat.h"
#include "engine/reflection/Vec4.h"

namespace quellor {

class Transform3D : public Component {
    QUELLOR_REFLECT_KEYED(Transform3D)

    Transform3D() = default;
    Transform3D(const Transform3D&) = default;
    Transform3D& operator=(const Transform3D&) = default;
    ~Transform3D() override;

    Component* Clone() const override;

    // Rebuilds the stored world matrix from the fields; the time is not used.
    virtual void UpdateWorldMatrix(float dt);

    // T·R·S of the current fields: scale along the local axes, rotate by the quaternion taken
    // as it is (not normalised), then translate. Every world matrix handed to the renderer
    // comes from here.
    Mat4 BuildWorldMatrix() const;
    static Mat4 BuildWorldMatrix(float x, float y, float z, float scaleX, float scaleY, float scaleZ,
                                 const Quat& rotation);

    void SetX(float x) { m_x = x; }
    void SetY(float y) { m_y = y; }
    void SetZ(float z) { m_z = z; }
    float GetX() const { return m_x; }
    float GetY() const { return m_y; }
    float GetZ() const { return m_z; }
    Vec4 GetPosition() const { return Vec4(m_x, m_y, m_z, 1.0f); }
    void SetPosition(float x, float y, float z);
    void SetScale(float x, float y, float z);

    // Columns of the stored world matrix, normalised (a zero column stays zero), w = 0.
    Vec4 GetRight() const;
    Vec4 GetUp() const;
    Vec4 GetForward() const;

    const Mat4& GetWorldMatrix() const { return m_worldMatrix; }

    float m_x = 0.0f;
    float m_y = 0.0f;
    float m_z = 0.0f;
    float m_scaleX = 1.0f;
    float m_scaleY = 1.0f;
    float m_scaleZ = 1.0f;
    // The identity: a zero quaternion would draw the same, but products with it stay zero.
    Quat m_rotation;

private:
    Mat4 m_worldMatrix;
};

} // namespace quellor
