#include "engine/Transform2D.h"

#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(Transform2D, Component, DerivedMetaNotPOD, WithID)
{
    reg.Member(QL_FIELD(m_x)).Getter(QL_METHOD(GetX));
    reg.Member(QL_FIELD(m_y)).Getter(QL_METHOD(GetY));
    reg.Member(QL_FIELD(m_rotation));
    reg.Member(QL_FIELD(m_scaleX));
    reg.Member(QL_FIELD(m_scaleY));
}

Transform2D::~Transform2D() = default;

Component* Transform2D::Clone() const
{
    return new Transform2D(*this);
}

} // namespace quellor
