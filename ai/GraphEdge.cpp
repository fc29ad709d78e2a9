#include "ai/GraphEdge.h"

#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(GraphEdge, NoBase, DerivedMetaNotPOD, NoID)
{
    reg.Member(QL_FIELD(to));
    reg.Member(QL_FIELD(cost));
    reg.Member(QL_FIELD(type));
}

} // namespace quellor
