#include "engine/Transform2D.h"

namespace quellor {

Transform2D::~Transform2D() = default;

Component* Transform2D::Clone() const
{
    return new Transform2D(*this);
}

} // namespace quellor
