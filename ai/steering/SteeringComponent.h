#pragma once
// Gives an entity one steering behaviour, whose output the "AISystem" of its space recomputes
// once a frame (before the behaviour trees run). The behaviour is owned; the output is read by
// whoever drives the entity.
#include "ai/steering/SteeringOutput.h"
#include "engine/Component.h"
#include "engine/IntrusiveList.h"
#include "engine/reflection/Vec4.h"

namespace quellor {

class SteeringBehavior;
class Transform3D;

class SteeringComponent : public Component {
    QUELLOR_REFLECT_KEYED(SteeringComponent)

    SteeringComponent() = default;
    SteeringComponent(const SteeringComponent&) = delete;
    SteeringComponent& operator=(const SteeringComponent&) = delete;
    ~SteeringComponent() override;

    // Caches the entity's Transform3D and registers with the space's "AISystem" (without one:
    // a warning, and it is never stepped).
    void Initialize() override;
    // Deletes the behaviour and unregisters.
    void Uninitialize() override;
    void DebugDraw(ZOR::DebugDrawer* drawer) override;

    // Replaces the behaviour (the old one is deleted) and gives it the entity's Transform3D and
    // RigidBodyComponent3D, down to the children of combiners. Ownership passes to the
    // component; null clears it. Call it after Initialize.
    void SetBehavior(SteeringBehavior* behavior);
    void ClearBehavior();
    SteeringBehavior* GetBehavior() const { return m_behavior; }

    // Resets the output to the zero output and lets the behaviour compute it; dt is not read.
    void Update(float dt);
    SteeringOutput& GetOutput() { return m_output; }

    // Whether the point lies within √r2 of the entity's body's centre of mass across the
    // ground (y ignored, the rim included); false without a body.
    bool IsWithinRadiusSquared(const Vec4& point, float r2) const;

    IntrusiveLink<SteeringComponent> m_aiLink;

private:
    Transform3D* OwnerTransform() const;

    SteeringBehavior* m_behavior = nullptr;
    SteeringOutput m_output;
    Transform3D* m_transform = nullptr;
};

} // namespace quellor
