#pragma once
#include "engine/IntrusiveList.h"
#include "physics/Contact3D.h"
#include "physics/ContactListener3D.h"

#include <memory>

namespace quellor {

class BlockPool;
class PhysicsDebugDraw3D;
class RigidBody3D;
struct BodyPairEdge3D;
struct ContactPoint3D;

using ContactList3D = IntrusiveList<Contact3D, &Contact3D::m_managerLink>;

// Keeps one contact per touching pair of colliders with up to four persistent points, the
// body-pair edges with their contact counts, and tells the listener of every change.
class ContactManager3D {
public:
    ContactManager3D(BlockPool& contactPool, BlockPool& pointPool, BlockPool& edgePool);
    // Contacts still listed are given back without events (their colliders are already gone).
    ~ContactManager3D();
    ContactManager3D(const ContactManager3D&) = delete;
    ContactManager3D& operator=(const ContactManager3D&) = delete;

    // Takes ownership; the previous listener is deleted unless it is the same object.
    void SetContactListener(ContactListener3D* listener);
    ContactListener3D* GetContactListener() const { return m_listener.get(); }

    // Every contact remembers whether it touched and starts the step untouched.
    void BeginUpdate();
    // Merges the pair's new contact into the kept one (false: the caller gives the new record
    // back) or adopts it (true: the manager keeps it). The new contact must be touching.
    bool AddOrUpdate(Contact3D* contact, float matchingDistanceSquared);
    // Destroys every untouched contact whose two bodies are both awake.
    void RemoveStale();
    // Ends the contact: edge counts, events, unlinking, and its records back to the pools.
    void Destroy(Contact3D* contact);
    // Boxes and normals of every touching contact's points.
    void DebugDraw(PhysicsDebugDraw3D& drawer) const;

    ContactList3D& GetContacts() { return m_contacts; }
    // The edge from body a to body b, or null when they share no contact.
    static BodyPairEdge3D* FindEdge(RigidBody3D* a, RigidBody3D* b);

private:
    void Merge(Contact3D& kept, Contact3D& fresh, float matchingDistanceSquared);
    void FreePoint(ContactPoint3D* point);

    BlockPool& m_contactPool;
    BlockPool& m_pointPool;
    BlockPool& m_edgePool;
    std::unique_ptr<ContactListener3D> m_listener;
    ContactList3D m_contacts;
};

// Picks four of count (> 4) candidates, writing their indices to picked: the deepest, the
// farthest from it, the farthest from their line and the farthest from their triangle.
// Distances are measured between the points on A; of equals the earlier candidate wins.
void SelectContactPoints3D(ContactPoint3D* const* candidates, int count, int picked[4]);

} // namespace quellor
