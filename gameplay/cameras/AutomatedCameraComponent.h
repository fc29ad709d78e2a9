#pragma once
// One node of the level's camera path: the camera system visits the nodes in ascending
// m_priority, holds at each for m_waitTime seconds, then travels to the next in
// m_timeToNextNode seconds, looking along the node's local +X axis. The node's place is its
// entity's Transform3D.
#include "engine/Component.h"
#include "engine/reflection/Quat.h"
#include "engine/reflection/Vec4.h"

namespace quellor {

class Transform3D;

class AutomatedCameraComponent : public Component {
    QUELLOR_REFLECT_KEYED(AutomatedCameraComponent)

    AutomatedCameraComponent() = default;
    AutomatedCameraComponent(const AutomatedCameraComponent&) = delete;
    AutomatedCameraComponent& operator=(const AutomatedCameraComponent&) = delete;
    ~AutomatedCameraComponent() override;

    // Joins the "CameraSystem" of the space "default", which re-sorts the path and restarts it.
    void Initialize() override;
    void Uninitialize() override;
    // With m_debugDraw set: a sphere of half the entity's scale on the node and a unit vector
    // along its local +X axis, in white.
    void DebugDraw(ZOR::DebugDrawer* drawer) override;

    int GetPriority() const { return m_priority; }
    // Reflected; each only stores. A new priority is sorted in when a node next joins.
    void SetIsDebugDrawing(bool draw) { m_debugDraw = draw; }
    void SetPriority(int priority) { m_priority = priority; }
    void SetWaitTime(float seconds) { m_waitTime = seconds; }
    void SetTimeToNextNode(float seconds) { m_timeToNextNode = seconds; }
    // The owner's Transform3D, or null.
    Transform3D* GetTransform() const;

    // The rotation's local +X axis (the first column of its matrix), w = 0; the quaternion is
    // taken as it is, not normalised.
    static Vec4 LocalXAxis(const Quat& rotation);

    // Reflected.
    float m_timeToNextNode = 0.0f;
    float m_waitTime = 0.0f;
    int m_priority = 0;
    bool m_debugDraw = false;
};

} // namespace quellor
