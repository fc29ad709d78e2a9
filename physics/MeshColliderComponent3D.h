#pragma once
// Collision for level geometry that is neither sphere, box nor quad: a shape file of convex
// pieces, named as the resource system knows it. Each build reads the file afresh, scales the
// pieces by the entity's Transform3D and puts one polyhedron collider per piece on the body.
#include "physics/ColliderComponent3D.h"

#include <string>

namespace quellor {

class MeshColliderComponent3D : public ColliderComponent3D {
    QUELLOR_REFLECT_KEYED(MeshColliderComponent3D)

    MeshColliderComponent3D() = default;
    ~MeshColliderComponent3D() override;

    // A new component naming the same file; the base fields at their defaults.
    Component* Clone() const override;
    // The mesh collider with the file's pieces, whose colliders name this component as their
    // user data so that other colliders' records name it. A name the file table does not know
    // prints the loader's message with the bare name and gives a mesh without pieces.
    Collider3D* BuildCollider(RigidBody3D* body) override;

    // Stores the shape file's name; the collider is rebuilt at the next sync.
    void SetMesh(const std::string& file);

    std::string m_file;
};

} // namespace quellor
