#pragma once
#include "engine/IntrusiveList.h"
#include "physics/Contact3D.h"
#include "physics/RigidBody3D.h"
#include "renderer/math/float3.h"

namespace quellor {

using IslandBodyList3D = IntrusiveList<RigidBody3D, &RigidBody3D::m_islandLink>;
using IslandContactList3D = IntrusiveList<Contact3D, &Contact3D::m_islandLink>;

// Bodies joined by touching contacts, solved together. The lists are intrusive and in the
// order island building reached their members; only touching contacts without a sensor are
// listed.
struct Island3D {
    const ZOR::float3* m_gravity = nullptr;
    float m_linearDamping = 1.0f; // velocity factors of the step
    float m_angularDamping = 1.0f;
    IslandBodyList3D m_bodies;
    IslandContactList3D m_contacts;

    void Clear()
    {
        m_bodies.Clear();
        m_contacts.Clear();
    }
};

} // namespace quellor
