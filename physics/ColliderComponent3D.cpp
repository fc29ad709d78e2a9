#include "physics/ColliderComponent3D.h"

namespace quellor {

ColliderComponent3D::~ColliderComponent3D() = default;

void ColliderComponent3D::SyncContacts() {}

} // namespace quellor
