#pragma once
// The physics scenes that the scenario tests and the physics benchmark both run: box drops,
// stacks, ramps and ray fields. A scene is plain data, so the benchmark can build the same one
// in another engine; BuildScene3D puts it into our world.
#include "physics/BodyDescription3D.h"
#include "physics/ColliderDescription3D.h"
#include "physics/PhysicsWorld3D.h"
#include "physics/RigidBody3D.h"
#include "renderer/math/float3.h"
#include "renderer/math/float3x3.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace quellor::scenes {

enum class SceneShape3D { Box, Sphere };

struct SceneBody3D {
    SceneShape3D shape = SceneShape3D::Box;
    ZOR::float3 halfExtents{0.5f, 0.5f, 0.5f}; // boxes
    float radius = 0.5f;                       // spheres
    ZOR::float3 position;
    ZOR::float3x3 rotation;
    std::uint8_t motionType = kBodyDynamic;
    float density = 1.0f;
    float restitution = 0.4f;
    float friction = 1.0f;
};

struct SceneRay3D {
    ZOR::float3 origin;
    ZOR::float3 direction; // unit
    float maxDistance = 0.0f;
};

struct Scene3D {
    std::vector<SceneBody3D> bodies;
    std::vector<SceneRay3D> rays;
};

// A small deterministic generator, so that every engine and every run sees the same scene.
class SceneRandom3D {
public:
    explicit SceneRandom3D(std::uint32_t seed) : m_state(seed ? seed : 1u) {}
    // Uniform in [0, 1).
    float Next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return static_cast<float>(m_state >> 8) * (1.0f / 16777216.0f);
    }
    float Range(float low, float high) { return low + (high - low) * Next(); }

private:
    std::uint32_t m_state;
};

inline SceneBody3D StaticBox(const ZOR::float3& position, const ZOR::float3& halfExtents,
                             const ZOR::float3x3& rotation = ZOR::float3x3())
{
    SceneBody3D body;
    body.halfExtents = halfExtents;
    body.position = position;
    body.rotation = rotation;
    body.motionType = kBodyStatic;
    return body;
}

// A static floor whose top face is y = 0.
inline SceneBody3D Floor(float halfSize = 10.0f)
{
    return StaticBox(ZOR::float3(0.0f, -0.5f, 0.0f), ZOR::float3(halfSize, 0.5f, halfSize));
}

// count boxes of half size 0.5 in layers of up to 10 x 10, 1.5 apart and 1.5 above each other,
// the lowest layer 1 unit above the floor.
inline Scene3D BoxDropScene(int count)
{
    Scene3D scene;
    scene.bodies.push_back(Floor());
    const int perRow = 10;
    for (int i = 0; i < count; ++i) {
        const int layer = i / (perRow * perRow);
        const int inLayer = i % (perRow * perRow);
        SceneBody3D box;
        box.position = ZOR::float3((static_cast<float>(inLayer % perRow) - 4.5f) * 1.5f,
                                   1.5f + static_cast<float>(layer) * 1.5f,
                                   (static_cast<float>(inLayer / perRow) - 4.5f) * 1.5f);
        scene.bodies.push_back(box);
    }
    return scene;
}

// A column of count boxes of half size 0.5 resting on the floor, box i centred at y = 0.5 + i.
inline Scene3D StackScene(int count)
{
    Scene3D scene;
    scene.bodies.push_back(Floor());
    for (int i = 0; i < count; ++i) {
        SceneBody3D box;
        box.position = ZOR::float3(0.0f, 0.5f + static_cast<float>(i), 0.0f);
        scene.bodies.push_back(box);
    }
    return scene;
}

// A static box of half size 0.5 with its top at y = 0 and a box dropped from height above it.
inline Scene3D BoxOnBoxScene(float height)
{
    Scene3D scene;
    scene.bodies.push_back(StaticBox(ZOR::float3(0.0f, -0.5f, 0.0f), ZOR::float3(2.0f, 0.5f, 2.0f)));
    SceneBody3D box;
    box.position = ZOR::float3(0.0f, 0.5f + height, 0.0f);
    scene.bodies.push_back(box);
    return scene;
}

// A static ramp tilted by degrees about z and a box of half size 0.5 resting on its slope.
inline Scene3D RampScene(float degrees, float friction)
{
    const float angle = degrees * 3.14159265f / 180.0f;
    const float c = std::cos(angle), s = std::sin(angle);
    const ZOR::float3x3 tilt(c, -s, 0.0f, s, c, 0.0f, 0.0f, 0.0f, 1.0f);
    const ZOR::float3 up(-s, c, 0.0f); // the slope's normal

    Scene3D scene;
    SceneBody3D ramp = StaticBox(ZOR::float3(), ZOR::float3(20.0f, 0.5f, 5.0f), tilt);
    ramp.friction = friction;
    scene.bodies.push_back(ramp);
    SceneBody3D box;
    box.rotation = tilt;
    box.position = up * 1.0f; // surface at 0.5 along the normal, the box's half size above it
    box.friction = friction;
    scene.bodies.push_back(box);
    return scene;
}

// boxes static boxes scattered over a 100 x 20 x 100 region, and rays from random points
// above towards random points below.
inline Scene3D RayFieldScene(int boxes, int rays, std::uint32_t seed)
{
    Scene3D scene;
    SceneRandom3D random(seed);
    for (int i = 0; i < boxes; ++i) {
        const ZOR::float3 position(random.Range(-50.0f, 50.0f), random.Range(0.0f, 20.0f), random.Range(-50.0f, 50.0f));
        const ZOR::float3 half(random.Range(0.25f, 1.5f), random.Range(0.25f, 1.5f), random.Range(0.25f, 1.5f));
        scene.bodies.push_back(StaticBox(position, half));
    }
    for (int i = 0; i < rays; ++i) {
        const ZOR::float3 from(random.Range(-50.0f, 50.0f), 30.0f, random.Range(-50.0f, 50.0f));
        const ZOR::float3 to(random.Range(-50.0f, 50.0f), -5.0f, random.Range(-50.0f, 50.0f));
        const ZOR::float3 d = to - from;
        const float length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
        scene.rays.push_back({from, d * (1.0f / length), length});
    }
    return scene;
}

inline ColliderDescription3D ColliderOf(const SceneBody3D& body)
{
    ColliderDescription3D description;
    description.m_density = body.density;
    description.m_restitution = body.restitution;
    description.m_friction = body.friction;
    if (body.shape == SceneShape3D::Sphere) {
        description.m_type = kColliderSphere;
        description.m_sphere.radius = body.radius;
    } else {
        description.m_type = kColliderBox;
        description.m_box.halfExtents = body.halfExtents;
    }
    return description;
}

// Creates every body of the scene in order, each with its one collider.
inline std::vector<RigidBody3D*> BuildScene3D(PhysicsWorld3D& world, const Scene3D& scene)
{
    std::vector<RigidBody3D*> bodies;
    for (const SceneBody3D& body : scene.bodies) {
        BodyDescription3D description;
        description.m_motionType = body.motionType;
        description.m_position = body.position;
        description.m_rotation = body.rotation;
        RigidBody3D* created = world.CreateBody(description);
        created->AddCollider(ColliderOf(body));
        bodies.push_back(created);
    }
    return bodies;
}

} // namespace quellor::scenes
