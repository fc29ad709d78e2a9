#include "ai/behavior/AIDataComponent.h"

#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(AIDataComponent, Component, DerivedMetaNotPODNoCopy, WithID)
{
    reg.Member(QL_FIELD(reactionTime));
    reg.Member(QL_FIELD(maxVerticalAimAngle));
    reg.Member(QL_FIELD(accuracy));
    reg.Member(QL_FIELD(liftBeamAimSpeed));
    reg.Member(QL_FIELD(liftAimInterval));
    reg.Member(QL_FIELD(liftBias));
    reg.Member(QL_FIELD(orbBias));
}

AIDataComponent::~AIDataComponent() = default;

const AIDataComponent& AIDataComponent::Defaults()
{
    static const AIDataComponent defaults;
    return defaults;
}

float AIDataComponent::GetAimErrorAngle() const
{
    return (1.0f - accuracy) * 3.1241395f;
}

} // namespace quellor
