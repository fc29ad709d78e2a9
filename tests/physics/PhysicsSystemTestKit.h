#pragma once
// A fresh engine with a PhysicsSystem3D in "default", entities with a transform and a rigid
// body, and a collider component that attaches a plain box to its entity's body.
#include "WorldTestSupport.h"

#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Transform3D.h"
#include "physics/Collider3D.h"
#include "physics/ColliderComponent3D.h"
#include "physics/PhysicsSystem3D.h"
#include "physics/RegisterPhysicsTypes.h"
#include "physics/RigidBodyComponent3D.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

namespace quellor::test {

// Attaches a box of the given half extents to its entity's body through the base's attach
// path, and counts its syncs.
class BoxProbeComponent : public ColliderComponent3D {
public:
    inline static const std::string ID = "BoxProbeComponent";

    explicit BoxProbeComponent(const ZOR::float3& halfExtents = ZOR::float3(1.0f, 1.0f, 1.0f), bool sensor = false)
        : m_halfExtents(halfExtents)
    {
        m_isSensor = sensor;
    }

    Collider3D* BuildCollider(RigidBody3D* body) override
    {
        ++builds;
        return body->AddCollider(BoxDescription(ZOR::float3(), m_halfExtents));
    }
    void SyncContacts() override
    {
        ++syncs;
        ColliderComponent3D::SyncContacts();
    }

    int syncs = 0;
    int builds = 0;

private:
    ZOR::float3 m_halfExtents;
};

class PhysicsSystemTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterPhysicsTypes();
        engine = Engine::Instance();
        system = static_cast<PhysicsSystem3D*>(engine->AddSystem("PhysicsSystem3D", new PhysicsSystem3D, "default"));
    }
    void TearDown() override { Engine::DestroyInstance(); }

    // An entity of "default" with a transform at p and a rigid body of the given motion type,
    // initialised in that order.
    Entity* Body(const std::string& name, const ZOR::float3& p, int type = kBodyDynamic)
    {
        Entity* entity = engine->CreateEntity(name, "default");
        entity->AddComponent<Transform3D>(true)->SetPosition(p.x, p.y, p.z);
        auto* rigid = new RigidBodyComponent3D;
        rigid->SetType(type);
        entity->AddComponent(RigidBodyComponent3D::ID, rigid, true);
        return entity;
    }

    // The same with a box collider probe.
    Entity* Box(const std::string& name, const ZOR::float3& p, int type = kBodyDynamic,
                const ZOR::float3& half = ZOR::float3(1.0f, 1.0f, 1.0f), bool sensor = false)
    {
        Entity* entity = Body(name, p, type);
        entity->AddComponent(BoxProbeComponent::ID, new BoxProbeComponent(half, sensor), true);
        return entity;
    }

    static BoxProbeComponent* Probe(Entity* entity) { return entity->GetComponent<BoxProbeComponent>(); }

    // Updates the system for that many frames of 1/60 s.
    void Run(int frames)
    {
        for (int i = 0; i < frames; ++i)
            system->Update(1.0f / 60.0f);
    }

    Engine* engine = nullptr;
    PhysicsSystem3D* system = nullptr;
};

} // namespace quellor::test
