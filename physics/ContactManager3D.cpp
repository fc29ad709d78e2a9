#include "physics/ContactManager3D.h"

#include "engine/BlockPool.h"
#include "physics/BodyPairEdge3D.h"
#include "physics/Collider3D.h"
#include "physics/ContactPoint3D.h"
#include "physics/GjkSimplex3D.h"
#include "physics/PhysicsDebugDraw3D.h"
#include "physics/PhysicsMath3D.h"
#include "physics/RigidBody3D.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace quellor {

using namespace physics_math;

namespace {

constexpr std::uint32_t kContactColour = 0xFFFF0000u;
constexpr float kPointBoxHalfSize = 0.05f;
constexpr float kNormalLength = 0.2f;
// Up to four kept points and four new ones meet in one merge.
constexpr int kMaxCandidates = 2 * Contact3D::kMaxPoints;

float3 WorldPoint(const RigidBody3D& body, const float3& local)
{
    return body.m_position + body.m_rotation * local;
}

float DistanceSquaredToLine(const float3& p, const float3& a, const float3& b)
{
    const float3 ab = b - a;
    const float3 ap = p - a;
    const float lengthSquared = LengthSquared(ab);
    if (!(lengthSquared > 0.0f))
        return LengthSquared(ap);
    const float t = ap.Dot(ab) / lengthSquared;
    return LengthSquared(ap - ab * t);
}

} // namespace

void SelectContactPoints3D(ContactPoint3D* const* candidates, int count, int picked[4])
{
    bool taken[kMaxCandidates] = {};
    count = std::min(count, kMaxCandidates);

    // Each pick keeps the first of equals: a later candidate wins only when strictly greater.
    auto pick = [&](auto score) {
        int best = -1;
        float bestScore = 0.0f;
        for (int i = 0; i < count; ++i) {
            if (taken[i])
                continue;
            const float value = score(*candidates[i]);
            if (best < 0 || value > bestScore) {
                best = i;
                bestScore = value;
            }
        }
        taken[best] = true;
        return best;
    };

    picked[0] = pick([](const ContactPoint3D& p) { return p.m_depth; });
    const float3 first = candidates[picked[0]]->m_pointA;
    picked[1] = pick([&](const ContactPoint3D& p) { return LengthSquared(p.m_pointA - first); });
    const float3 second = candidates[picked[1]]->m_pointA;
    picked[2] = pick([&](const ContactPoint3D& p) { return DistanceSquaredToLine(p.m_pointA, first, second); });
    const float3 third = candidates[picked[2]]->m_pointA;
    picked[3] = pick([&](const ContactPoint3D& p) {
        return LengthSquared(ClosestPointOnTriangle(first - p.m_pointA, second - p.m_pointA, third - p.m_pointA));
    });
}

ContactManager3D::ContactManager3D(BlockPool& contactPool, BlockPool& pointPool, BlockPool& edgePool)
    : m_contactPool(contactPool), m_pointPool(pointPool), m_edgePool(edgePool)
{
}

ContactManager3D::~ContactManager3D()
{
    while (Contact3D* contact = m_contacts.Front()) {
        contact->ReleasePoints(m_pointPool);
        contact->~Contact3D();
        m_contactPool.Free(contact);
    }
}

void ContactManager3D::SetContactListener(ContactListener3D* listener)
{
    if (listener != m_listener.get())
        m_listener.reset(listener);
}

void ContactManager3D::FreePoint(ContactPoint3D* point)
{
    point->~ContactPoint3D();
    m_pointPool.Free(point);
}

BodyPairEdge3D* ContactManager3D::FindEdge(RigidBody3D* a, RigidBody3D* b)
{
    // Search the shorter list.
    RigidBody3D* owner = a->m_edges.Count() < b->m_edges.Count() ? a : b;
    RigidBody3D* other = owner == a ? b : a;
    for (BodyPairEdge3D* edge : owner->m_edges) {
        if (edge->m_other == other)
            return owner == a ? edge : edge->m_twin;
    }
    return nullptr;
}

void ContactManager3D::BeginUpdate()
{
    for (Contact3D* contact : m_contacts) {
        contact->m_wasTouching = contact->m_touching;
        contact->m_touching = 0;
    }
}

bool ContactManager3D::AddOrUpdate(Contact3D* contact, float matchingDistanceSquared)
{
    Collider3D* a = contact->m_colliderA;
    Collider3D* b = contact->m_colliderB;

    Collider3D* searched = a->m_contacts.Count() < b->m_contacts.Count() ? a : b;
    for (ContactEdge3D* edge : searched->m_contacts) {
        Contact3D* kept = edge->m_contact;
        if (kept->m_colliderA == a && kept->m_colliderB == b) {
            kept->m_touching = 1;
            Merge(*kept, *contact, matchingDistanceSquared);
            return false;
        }
    }

    RigidBody3D* bodyA = a->m_body;
    RigidBody3D* bodyB = b->m_body;
    if (BodyPairEdge3D* edge = FindEdge(bodyA, bodyB)) {
        ++edge->m_count;
        ++edge->m_twin->m_count;
    } else {
        void* blockA = m_edgePool.Allocate();
        void* blockB = blockA ? m_edgePool.Allocate() : nullptr;
        if (!blockB) {
            m_edgePool.Free(blockA);
            return false; // no edge, no contact: the caller gives the record back
        }
        auto* edgeA = new (blockA) BodyPairEdge3D;
        auto* edgeB = new (blockB) BodyPairEdge3D;
        edgeA->m_other = bodyB;
        edgeB->m_other = bodyA;
        edgeA->m_twin = edgeB;
        edgeB->m_twin = edgeA;
        edgeA->m_count = 1;
        edgeB->m_count = 1;
        bodyA->m_edges.PushBack(edgeA);
        bodyB->m_edges.PushBack(edgeB);
        if (m_listener)
            m_listener->BodyPairBegin(bodyA, bodyB);
    }

    contact->m_edgeA.m_contact = contact;
    contact->m_edgeA.m_other = b;
    contact->m_edgeB.m_contact = contact;
    contact->m_edgeB.m_other = a;
    a->m_contacts.PushBack(&contact->m_edgeA);
    b->m_contacts.PushBack(&contact->m_edgeB);
    m_contacts.PushBack(contact);

    contact->m_restitution = std::max(a->m_restitution, b->m_restitution);
    contact->m_friction = std::sqrt(a->m_friction * b->m_friction);

    if (m_listener) {
        m_listener->ContactBegin(a, b, contact);
        for (int i = 0; i < contact->m_pointCount; ++i)
            m_listener->PointAdded(a, b, contact->m_points[i]);
    }
    return true;
}

void ContactManager3D::Merge(Contact3D& kept, Contact3D& fresh, float matchingDistanceSquared)
{
    Collider3D* a = kept.m_colliderA;
    Collider3D* b = kept.m_colliderB;
    const RigidBody3D& bodyA = *a->m_body;
    const RigidBody3D& bodyB = *b->m_body;

    ContactPoint3D* candidates[kMaxCandidates];
    int count = 0;

    for (int i = 0; i < kept.m_pointCount; ++i) {
        ContactPoint3D* p = kept.m_points[i];
        kept.m_points[i] = nullptr;
        bool survives = false;
        if (!fresh.m_freshOnly) {
            const float3 pointA = WorldPoint(bodyA, p->m_localPointA);
            const float3 pointB = WorldPoint(bodyB, p->m_localPointB);
            survives = (pointB - pointA).Dot(p->m_normal) <= 0.0f &&
                       LengthSquared(pointA - p->m_pointA) < matchingDistanceSquared &&
                       LengthSquared(pointB - p->m_pointB) < matchingDistanceSquared;
            if (survives) {
                p->m_pointA = pointA;
                p->m_pointB = pointB;
            }
        }
        if (survives) {
            p->m_persisted = 1;
            candidates[count++] = p;
        } else {
            if (m_listener)
                m_listener->PointRemoved(a, b, p);
            FreePoint(p);
        }
    }
    kept.m_pointCount = 0;

    for (int i = 0; i < fresh.m_pointCount; ++i) {
        ContactPoint3D* q = fresh.m_points[i];
        fresh.m_points[i] = nullptr;
        if (!q)
            continue;
        bool near = false;
        for (int k = 0; k < count && !near; ++k)
            near = LengthSquared(q->m_pointA - candidates[k]->m_pointA) < matchingDistanceSquared;
        if (near || count >= kMaxCandidates)
            FreePoint(q);
        else
            candidates[count++] = q;
    }
    fresh.m_pointCount = 0;

    if (count <= Contact3D::kMaxPoints) {
        for (int i = 0; i < count; ++i)
            kept.m_points[i] = candidates[i];
        kept.m_pointCount = static_cast<std::uint8_t>(count);
    } else {
        int picked[4];
        SelectContactPoints3D(candidates, count, picked);
        for (int i = 0; i < 4; ++i) {
            kept.m_points[i] = candidates[picked[i]];
            candidates[picked[i]] = nullptr;
        }
        kept.m_pointCount = 4;
        for (int i = 0; i < count; ++i) {
            ContactPoint3D* left = candidates[i];
            if (!left)
                continue;
            if (left->m_persisted && m_listener)
                m_listener->PointRemoved(a, b, left);
            FreePoint(left);
        }
    }

    if (m_listener) {
        for (int i = 0; i < kept.m_pointCount; ++i) {
            if (!kept.m_points[i]->m_persisted)
                m_listener->PointAdded(a, b, kept.m_points[i]);
        }
    }
}

void ContactManager3D::RemoveStale()
{
    Contact3D* contact = m_contacts.Front();
    while (contact) {
        Contact3D* next = ContactList3D::Next(contact);
        if (!contact->m_touching && contact->m_colliderA->m_body->IsAwake() && contact->m_colliderB->m_body->IsAwake())
            Destroy(contact);
        contact = next;
    }
}

void ContactManager3D::Destroy(Contact3D* contact)
{
    if (!contact)
        return;
    Collider3D* a = contact->m_colliderA;
    Collider3D* b = contact->m_colliderB;
    RigidBody3D* bodyA = a->m_body;
    RigidBody3D* bodyB = b->m_body;

    bool pairEnded = false;
    if (BodyPairEdge3D* edge = FindEdge(bodyA, bodyB)) {
        BodyPairEdge3D* twin = edge->m_twin;
        --edge->m_count;
        --twin->m_count;
        if (edge->m_count == 0) {
            edge->~BodyPairEdge3D(); // unlinks it
            twin->~BodyPairEdge3D();
            m_edgePool.Free(edge);
            m_edgePool.Free(twin);
            pairEnded = true;
        }
    }

    if (m_listener) {
        for (int i = 0; i < contact->m_pointCount; ++i)
            m_listener->PointRemoved(a, b, contact->m_points[i]);
        m_listener->ContactEnd(a, b, contact);
        if (pairEnded)
            m_listener->BodyPairEnd(bodyA, bodyB);
    }

    contact->ReleasePoints(m_pointPool);
    contact->~Contact3D(); // leaves the island, the manager's list and both colliders' lists
    m_contactPool.Free(contact);
}

void ContactManager3D::DebugDraw(PhysicsDebugDraw3D& drawer) const
{
    const float3 half(kPointBoxHalfSize, kPointBoxHalfSize, kPointBoxHalfSize);
    const float3x3 identity;
    for (const Contact3D* contact : m_contacts) {
        if (!contact->m_touching)
            continue;
        for (int i = 0; i < contact->m_pointCount; ++i) {
            const ContactPoint3D& p = *contact->m_points[i];
            drawer.DrawBox(p.m_pointA, half, identity, kContactColour);
            drawer.DrawLine(p.m_pointA, p.m_pointA + p.m_normal * kNormalLength, kContactColour);
            drawer.DrawBox(p.m_pointB, half, identity, kContactColour);
            drawer.DrawLine(p.m_pointB, p.m_pointB + p.m_normal * kNormalLength, kContactColour);
        }
    }
}

} // namespace quellor
