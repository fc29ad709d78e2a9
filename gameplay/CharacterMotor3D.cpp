#include "gameplay/CharacterMotor3D.h"

#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Finite.h"
#include "engine/SoundSystem.h"
#include "engine/Transform3D.h"
#include "engine/reflection/MetaRegistrar.h"
#include "gameplay/PlayerDataComponent.h"
#include "physics/PhysicsMath3D.h"
#include "physics/PhysicsSystem3D.h"
#include "physics/RigidBodyComponent3D.h"
#include "renderer/dx11/RenderContext.h"

#include <algorithm>
#include <cmath>

namespace quellor {

QUELLOR_RECORD(CharacterMotor3D, Component, DerivedMetaNotPODNoCopy, WithID)
{
    reg.Member(QL_FIELD(m_speed));
    reg.Member(QL_FIELD(m_chargSpeed));
    reg.Member(QL_FIELD(m_accelMaxChange));
    reg.Member(QL_FIELD(m_maxFallSpeed));
    reg.Member(QL_FIELD(m_slopeLimit));
    reg.Member(QL_FIELD(m_jumpDir));
    reg.Member(QL_FIELD(m_gravity));
    reg.Member(QL_FIELD(m_jumpHeight));
    reg.Member(QL_FIELD(m_snapShotDamping));
    reg.Member(QL_FIELD(m_airControlPercent));
    reg.Member(QL_FIELD(m_stepFactor));
    reg.Member(QL_FIELD(m_ellipseA));
    reg.Member(QL_FIELD(m_ellipseB));
    reg.Member(QL_FIELD(m_ellipseC));
}

namespace {

using ZOR::float3;
using physics_math::LengthSquared;

constexpr const char* kLandingSound = "land_from_jump.ogg";
constexpr float kEpsilon = 1.1920929e-7f;
constexpr float kJumpBuffer = 0.2f;
constexpr float kGroundGrace = 0.2f;
constexpr float kNoJumpRequest = -100.0f;
constexpr float kMaxStickSpeed = 5.0f;
constexpr float kLevelNormalY = 0.99f;
constexpr float kLongestNormal = 2.0f;
constexpr float kBounceLoss = 0.3f;
constexpr float kFarGap = 4294967296.0f;
constexpr int kCharacterType = 1;
constexpr float kDegrees = 3.14159265358979f / 180.0f;
constexpr float kEdge = 0.98f; // the side rays start this far out along each radius

Vec4 V4(const float3& v, float w)
{
    return Vec4(v.x, v.y, v.z, w);
}

float Length(const float3& v)
{
    return std::sqrt(LengthSquared(v));
}

// Unit length, or zero for a zero vector.
float3 Unit(const float3& v)
{
    const float length = Length(v);
    return length > 0.0f ? v * (1.0f / length) : float3();
}

} // namespace

CharacterMotor3D::~CharacterMotor3D() = default;

void CharacterMotor3D::Initialize()
{
    m_physics = DefaultSystem<PhysicsSystem3D>();
    Entity* entity = GetEntity();
    m_body = entity ? entity->GetComponent<RigidBodyComponent3D>() : nullptr;
    m_data = entity ? entity->GetComponent<PlayerDataComponent>() : nullptr;
    m_baseSpeed = m_speed;
    m_baseGravity = m_gravity;
    // A body component without a body would dereference null in its getters.
    if (!m_body || !m_body->GetBody() || !m_data) {
        ZOR::Log("Warning: CharacterMotor3D on \"%s\" has no rigid body or player data: it will not move",
                 entity ? entity->GetName().c_str() : "");
        m_body = nullptr;
        m_data = nullptr;
    }
    JoinGameLogic();
}

void CharacterMotor3D::Uninitialize()
{
    LeaveGameLogic();
}

bool CharacterMotor3D::IsGrounded() const
{
    return m_data && m_data->m_onGround;
}

void CharacterMotor3D::Update(float dt)
{
    m_castCount = 0;
    // A zero frame would divide by zero when measuring the achieved velocity.
    if (!(dt > 0.0f) || !m_body || !m_body->GetBody() || !m_data)
        return;

    // Hostile tuning must not reach the body: a frame that ends non-finite is undone.
    const Vec4 position = m_body->GetPosition();
    const Vec4 bodyVelocity = m_body->GetLinearVelocity();
    const Vec4 velocity = m_velocity;
    const Vec4 previous = m_previousPosition;
    const Vec4 groundNormal = m_groundNormal;
    const Vec4 knockbackDir = m_data->m_knockbackDir;
    const float blastDist = m_data->blastDist;

    if (m_data->m_stunTimer > 0.0f)
        KnockBack(dt);
    else
        Walk(dt);

    if (IsFinite(m_body->GetPosition()) && IsFinite(m_body->GetLinearVelocity()) && IsFinite(m_velocity) &&
        IsFinite(m_groundNormal) && IsFinite(m_data->m_knockbackDir) && std::isfinite(m_data->blastDist))
        return;
    if (!m_warnedNonFinite) {
        Entity* entity = GetEntity();
        ZOR::Log("Warning: CharacterMotor3D on \"%s\": a frame gave a non-finite result and was undone (check the "
                 "motor's tuning)",
                 entity ? entity->GetName().c_str() : "");
        m_warnedNonFinite = true;
    }
    m_body->SetPosition(position);
    m_body->SetLinearVelocity(bodyVelocity);
    m_velocity = velocity;
    m_previousPosition = previous;
    m_groundNormal = groundNormal;
    m_data->m_knockbackDir = knockbackDir;
    m_data->blastDist = blastDist;
}

void CharacterMotor3D::KnockBack(float dt)
{
    // In flight the velocity field holds the frame's displacement.
    const float3 displacement = ToFloat3(m_data->m_knockbackDir) * (m_data->blastDist * dt);
    m_velocity = V4(displacement, 0.0f);
    m_data->m_stunTimer -= dt;
    Move(displacement, displacement, dt);
}

void CharacterMotor3D::Walk(float dt)
{
    PlayerDataComponent& data = *m_data;
    if (data.m_respawnGrace > 0.0f)
        data.m_respawnGrace -= dt;

    // A dying player and one the win camera holds do not walk.
    float3 desired = ToFloat3(m_moveInput) * m_speed;
    if (data.m_dying || data.m_cameraFreeze)
        desired = float3();
    const bool grounded = data.m_onGround;
    if (grounded)
        AlignToGround(desired);
    else
        desired.y = 0.0f;

    // Only x and z of the change are applied: w plays no part in a move.
    const float limit = (grounded ? m_accelMaxChange : m_airControlPercent * m_accelMaxChange) * dt;
    float3 change = desired - ToFloat3(m_velocity);
    const float changeLength = Length(change);
    if (changeLength > limit)
        change *= limit / changeLength;
    if (grounded || data.canControl) {
        m_velocity.x += change.x;
        m_velocity.z += change.z;
    }
    if (grounded && m_velocity.y >= 0.0f)
        m_velocity.y = 0.0f;

    float3 planned = ToFloat3(m_velocity);
    planned.y = std::max(planned.y - m_gravity * dt, -m_maxFallSpeed);
    ApplyJump(planned);
    if (data.m_onGround && !data.m_isLifted) {
        const float horizontal = std::min(std::sqrt(planned.x * planned.x + planned.z * planned.z), kMaxStickSpeed);
        planned.y -= std::max(m_groundStickMin, horizontal);
    }

    m_previousPosition = m_body->GetPosition();
    Move(planned * dt, planned, dt);

    const float3 achieved = (ToFloat3(m_body->GetPosition()) - ToFloat3(m_previousPosition)) * (1.0f / dt);
    const float plannedFlat = planned.x * planned.x + planned.z * planned.z;
    if (plannedFlat < kEpsilon) {
        m_velocity = Vec4(0.0f, achieved.y, 0.0f, 0.0f);
    } else {
        const float s = std::clamp((achieved.x * planned.x + achieved.z * planned.z) / plannedFlat, 0.0f, 1.0f);
        m_velocity = Vec4(s * planned.x, achieved.y, s * planned.z, 0.0f);
    }
    if (m_velocity.y < 0.0f && m_velocity.y < planned.y - kEpsilon)
        m_velocity.y = planned.y;
}

void CharacterMotor3D::AlignToGround(float3& v) const
{
    const float length = Length(v);
    const float3 side(v.z, 0.0f, -v.x);
    v = Unit(side.Cross(ToFloat3(m_groundNormal))) * length;
}

void CharacterMotor3D::ApplyJump(float3& v)
{
    const float now = GetTime();
    if (m_jumpRequested) {
        m_jumpRequested = false;
        m_jumpRequestTime = now;
    }
    if (!m_data->m_onGround || !(now - m_jumpRequestTime < kJumpBuffer))
        return;
    m_data->m_onGround = false;
    m_jumpRequestTime = kNoJumpRequest;
    const float speed = std::sqrt(2.0f * m_jumpHeight * m_gravity);
    v.x += m_jumpDir.x * speed;
    v.y = m_jumpDir.y * speed;
    v.z += m_jumpDir.z * speed;
    PlayLanding();
}

void CharacterMotor3D::Move(float3 d, const float3& bodyVelocity, float dt)
{
    PlayerDataComponent& data = *m_data;

    // 1. Ground probe, straight down (or up) from the centre. A tiny move probes upwards; a
    // sideways move with no vertical part has no direction to probe in.
    const float3 centre = ToFloat3(m_body->GetCenterOfMass());
    const bool tiny = Length(d) < kEpsilon;
    const float ownY = d.y;
    if (tiny)
        d.y = 1.0f;
    MoveCastResult probe;
    probe.move = d;
    const float sign = d.y > 0.0f ? 1.0f : (d.y < 0.0f ? -1.0f : 0.0f);
    if (sign != 0.0f)
        CastMove(float3(0.0f, sign, 0.0f), centre, centre, d, probe, m_ellipseB + Length(d), false, false, true);
    d = probe.move;
    if (tiny)
        d.y = ownY;
    bool groundHit = probe.hit;
    float3 groundNormal = probe.normal;

    // 2. Contact fallback: the floor sensor rests on something level.
    if (!probe.hit && d.y < 0.0f && data.m_stunTimer <= 0.0f && !data.m_isLifted && FloorContact()) {
        d.y = 0.0f;
        groundHit = true;
        groundNormal = float3(0.0f, 1.0f, 0.0f);
    }

    // 3. Grounded state, with a grace time after leaving the ground.
    if (!data.m_onGround && groundHit) {
        PlayLanding();
        data.m_onGround = true;
        m_groundTimer = kGroundGrace;
    } else if (data.m_onGround && !groundHit) {
        m_groundTimer -= dt;
        if (m_groundTimer < 0.0f)
            data.m_onGround = false;
    }
    if (groundHit)
        m_groundNormal = V4(groundNormal, 0.0f);

    // 4.
    m_body->SetLinearVelocity(V4(bodyVelocity, 0.0f));

    // 5. Collision passes.
    const ZOR::float3x3 orientation = m_body->GetOrientation();
    const float3 axisX = physics_math::Column(orientation, 0);
    const float3 axisY = physics_math::Column(orientation, 1);
    const float3 axisZ = physics_math::Column(orientation, 2);
    MoveCastResult result;
    result.move = d;
    for (int pass = 0; pass < 3; ++pass) {
        result.hit = false;
        result.bestGapSquared = kFarGap;
        result.gap = float3();
        result.bounce = false;

        const float3 c = ToFloat3(m_body->GetCenterOfMass());
        const float3 direction = Unit(d);
        const float length = Length(d);
        const float radius = EllipsoidRadius(direction);
        CastMove(direction, c, c, d, result, radius + length, true, false, true);
        CastMove(direction, c - axisX * (kEdge * m_ellipseA), c, d, result, (1.0f - kEdge) * m_ellipseA + length, true,
                 false, true);
        CastMove(direction, c + axisX * (kEdge * m_ellipseA), c, d, result, (1.0f - kEdge) * m_ellipseA + length, true,
                 false, true);
        CastMove(direction, c + axisY * (kEdge * m_ellipseB), c, d, result, (1.0f - kEdge) * m_ellipseB + length, true,
                 false, false);
        CastMove(direction, c - axisY * (kEdge * m_ellipseB), c, d, result, (1.0f - kEdge) * m_ellipseB + length, true,
                 true, true);
        CastMove(direction, c - axisZ * (kEdge * m_ellipseC), c, d, result, (1.0f - kEdge) * m_ellipseC + length, true,
                 false, true);
        CastMove(direction, c + axisZ * (kEdge * m_ellipseC), c, d, result, (1.0f - kEdge) * m_ellipseC + length, true,
                 false, true);

        // A flight that struck something costs 30 % once, from the hit the pass keeps.
        if (result.bounce) {
            data.blastDist -= kBounceLoss * data.blastDist;
            data.m_knockbackDir = V4(result.bounceDirection, 0.0f);
        }
        d = result.move;
        m_body->SetPosition(V4(ToFloat3(m_body->GetPosition()) + result.gap, 1.0f));
        if (!result.hit)
            break;
    }

    // 6.
    m_body->SetPosition(V4(ToFloat3(m_body->GetPosition()) + d, 1.0f));
}

void CharacterMotor3D::CastMove(const float3& direction, const float3& origin, const float3& centre, float3 motion,
                                MoveCastResult& result, float maxDistance, bool bounce, bool stepProbe, bool slopes)
{
    if (LengthSquared(motion) < kEpsilon)
        return;
    const PhysicsRayCastResult3D ray = Cast(origin, direction, maxDistance);
    bool hit = ray.hit != 0;
    if (stepProbe) {
        if (!hit) {
            result.normal = float3();
            return;
        }
        // A low obstacle that the raised ray clears is stepped over.
        const float rise = m_data->sphereCollRadius * m_stepFactor;
        hit = Cast(origin + float3(0.0f, rise, 0.0f), direction, maxDistance).hit != 0;
    }
    const float3 point = ray.point;
    const float3 normal = ray.normal;
    // Other characters never block; a hit on a collider without a component counts.
    if (!hit || LengthSquared(normal) > kLongestNormal * kLongestNormal ||
        (ray.collider && ray.collider->m_pType == kCharacterType)) {
        result.normal = float3();
        return;
    }

    const float3 e = EllipsoidPointToward(point, centre);
    const float3 gap = point - e;
    const float gapSquared = LengthSquared(gap);
    float3 bounceDirection;
    const bool bouncing = m_data->m_stunTimer > 0.0f && bounce;
    if (bouncing) {
        // Mirrored about the normal: the flight leaves the surface as a ball would.
        const float3 v = point - (e + motion);
        bounceDirection = Unit(normal * (2.0f * v.Dot(normal)) - v);
        motion = bounceDirection * (m_data->blastDist * (1.0f - kBounceLoss));
    } else {
        if (slopes && normal.y < kLevelNormalY && std::cos(m_slopeLimit * kDegrees) <= normal.y) {
            // A walkable slope: the motion runs along the ground instead.
            motion = Unit(float3(motion.x, 0.0f, motion.z)) * Length(motion);
            AlignToGround(motion);
        }
        // Slide: the motion's end moved onto the plane of the hit.
        const float3 q = e + motion;
        const float3 onPlane = q - normal * (q - point).Dot(normal);
        motion = onPlane - point;
    }

    // A nearer hit of this pass stands.
    if (result.bestGapSquared + kEpsilon < gapSquared)
        return;
    result.bestGapSquared = gapSquared;
    result.normal = normal;
    result.hit = true;
    result.gap = gap;
    result.bounce = bouncing;
    result.bounceDirection = bounceDirection;
    const float length = Length(motion);
    const float limit = Length(result.move);
    result.move = length <= limit ? motion : motion * (limit / length);
}

float3 CharacterMotor3D::EllipsoidPointToward(const float3& p, const float3& c) const
{
    const float3 u = p - c;
    const float a2 = m_ellipseA * m_ellipseA;
    const float b2 = m_ellipseB * m_ellipseB;
    const float c2 = m_ellipseC * m_ellipseC;
    // (1 - t)² k = K for the points p + t (c - p) on the ellipsoid.
    const float k = u.x * u.x * b2 * c2 + u.y * u.y * a2 * c2 + u.z * u.z * a2 * b2;
    const float product = a2 * b2 * c2;
    const float qa = k;
    const float qb = -2.0f * k;
    const float qc = k - product;
    // At the centre every direction is as good as none: the point itself, gap 0.
    if (qa == 0.0f)
        return p;
    const float root = std::sqrt(std::max(qb * qb - 4.0f * qa * qc, 0.0f));
    float t = (root - qb) / (2.0f * qa);
    if (!(t > 0.0f && t < 1.0f))
        t = (-qb - root) / (2.0f * qa);
    return p + (c - p) * t;
}

float CharacterMotor3D::EllipsoidRadius(const float3& direction) const
{
    const float x = direction.x / m_ellipseA;
    const float y = direction.y / m_ellipseB;
    const float z = direction.z / m_ellipseC;
    return 1.0f / std::sqrt(x * x + y * y + z * z);
}

PhysicsRayCastResult3D CharacterMotor3D::Cast(const float3& origin, const float3& direction, float reach)
{
    PhysicsRayCastResult3D ray;
    const bool sound = IsFinite(origin) && IsFinite(direction) && std::isfinite(reach) && reach >= 0.0f;
    if (sound && m_physics)
        ray = m_physics->RayCast(origin, direction, reach);
    if (sound && m_castCount < kMaxCastsPerUpdate)
        m_casts[m_castCount] = CastRecord{origin, direction, reach, ray.hit != 0};
    if (sound)
        ++m_castCount;
    return ray;
}

bool CharacterMotor3D::FloorContact() const
{
    if (!m_floorSensor)
        return false;
    const Entity* self = GetEntity();
    for (const ContactRecord3D& record : m_floorSensor->GetContactRecords()) {
        // A collider without a component is neither this character nor a sensor: it counts.
        const ColliderComponent3D* other = record.m_other;
        if (other && (other->GetEntity() == self || other->IsSensor()))
            continue;
        const int count = std::min<int>(record.m_pointCount, 4);
        for (int i = 0; i < count; ++i)
            if (record.m_points[i].m_normal.y >= kLevelNormalY)
                return true;
    }
    return false;
}

void CharacterMotor3D::PlayLanding() const
{
    if (auto* sound = DefaultSystem<SoundSystem>())
        sound->Play(kLandingSound, m_data->controllerID);
}

void CharacterMotor3D::Teleport(const Vec4& position)
{
    if (!m_body || !m_body->GetBody() || !m_data)
        return;
    const Vec4 at(position.x, position.y + m_data->sphereCollRadius, position.z, position.w);
    if (!IsFinite(at)) {
        ZOR::Log("Warning: CharacterMotor3D::Teleport: the place is not finite; the player stays");
        return;
    }
    m_body->SetPosition(at);
    // A new body takes its transform's place at its first sync, after this frame's steps.
    if (Entity* entity = GetEntity())
        if (auto* transform = entity->GetComponent<Transform3D>())
            transform->SetPosition(at.x, at.y, at.z);
    m_velocity = Vec4();
    m_data->m_stunTimer = 0.0f;
    m_previousPosition = at;
}

void CharacterMotor3D::SetVelocity(const Vec4& velocity)
{
    m_velocity = velocity;
    if (m_body && m_body->GetBody())
        m_previousPosition = m_body->GetPosition();
}

} // namespace quellor
