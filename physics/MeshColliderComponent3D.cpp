#include "physics/MeshColliderComponent3D.h"

#include "engine/ResourceSystem.h"
#include "engine/reflection/MetaRegistrar.h"
#include "physics/BuildShapeColliderDescription3D.h"
#include "physics/Collider3D.h"
#include "physics/ColliderGeometry3D.h"
#include "physics/LoadShapeData.h"
#include "physics/MeshColliderGeometry3D.h"
#include "physics/RigidBody3D.h"

#include <cstdio>

namespace quellor {

QUELLOR_RECORD(MeshColliderComponent3D, ColliderComponent3D, DerivedMetaNotPODNoCopy, WithID)
{
    reg.Member(QL_FIELD(m_file)).Extension(".shape").Setter(QL_METHOD(SetMesh));
}

MeshColliderComponent3D::~MeshColliderComponent3D() = default;

Component* MeshColliderComponent3D::Clone() const
{
    auto* copy = new MeshColliderComponent3D;
    copy->m_file = m_file;
    return copy;
}

Collider3D* MeshColliderComponent3D::BuildCollider(RigidBody3D* body)
{
    ShapeData3D shape;
    std::string source = m_file;
    const ResourceSystem* resources = GetSystem<ResourceSystem>();
    if (const FileInfo* file = resources ? resources->FindFile(m_file) : nullptr) {
        source = file->path;
        shape = LoadShapeData(source);
    } else {
        std::printf("Error: Failed to load shape data from %s\n", m_file.c_str());
    }

    Collider3D* mesh = body->AddCollider(BuildShapeColliderDescription3D(shape, GetEntityScale(), source));
    if (mesh && mesh->m_geometry->GetType() == kColliderMesh) {
        // As the base type, which is how contact records and queries read it back.
        ColliderComponent3D* component = this;
        for (Collider3D* piece : static_cast<MeshColliderGeometry3D*>(mesh->m_geometry)->m_colliders)
            piece->m_userData = component;
    }
    return mesh;
}

void MeshColliderComponent3D::SetMesh(const std::string& file)
{
    m_file = file;
    MarkForRebuild();
}

} // namespace quellor
