#pragma once

namespace quellor {

class BlockPool;
class ColliderGeometry3D;
class Contact3D;
struct EpaScratch3D;

// The narrow phase. Each routine tests geometries A and B (the contact's fixed order, both on
// bodies) and, when they touch, takes one point from the pool, fills it and stores it as the
// contact's only point. The contact must be fresh and empty. Returns whether they touch.
bool CollideShapes3D(Contact3D& contact, const ColliderGeometry3D& a, const ColliderGeometry3D& b,
                     BlockPool& pointPool, EpaScratch3D& scratch);

bool CollideSphereSphere(Contact3D& contact, const ColliderGeometry3D& a, const ColliderGeometry3D& b,
                         BlockPool& pointPool, EpaScratch3D& scratch);
bool CollideSphereQuad(Contact3D& contact, const ColliderGeometry3D& a, const ColliderGeometry3D& b,
                       BlockPool& pointPool, EpaScratch3D& scratch);
bool CollideQuadSphere(Contact3D& contact, const ColliderGeometry3D& a, const ColliderGeometry3D& b,
                       BlockPool& pointPool, EpaScratch3D& scratch);
// GJK decides overlap; EPA then measures it. A polytope that runs out of faces reports contact
// without a point.
bool CollideGjkEpa(Contact3D& contact, const ColliderGeometry3D& a, const ColliderGeometry3D& b,
                   BlockPool& pointPool, EpaScratch3D& scratch);

} // namespace quellor
