#include "gameplay/PlayerDataComponent.h"

#include "engine/Entity.h"
#include "engine/graphics/TextComponent.h"
#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

namespace {
constexpr int kPadCount = 4;
}

QUELLOR_RECORD(PlayerDataComponent, Component, DerivedMetaNotPOD, WithID)
{
    auto control = reg.Member(QL_FIELD(canControl));
    auto score = reg.Member(QL_FIELD(currentScore));
    reg.Member(QL_FIELD(maxScore));
    reg.Member(QL_FIELD(playerTeam));
    reg.Member(QL_FIELD(sphereCollRadius));
    reg.Member(QL_FIELD(xDeadZone));
    reg.Member(QL_FIELD(yDeadZone));
    control.Setter(QL_METHOD(SetControlable));
    score.Setter(QL_METHOD(SetCurrentScore));
    control.Getter(QL_METHOD(GetControlable));
    score.Getter(QL_METHOD(GetCurrentScore));
    reg.Member(QL_FIELD(controllerID)).Setter(QL_METHOD(SetControllerID));
    reg.Member(QL_FIELD(xAimSpeed)).Setter(QL_METHOD(SetXAimSpeed));
    reg.Member(QL_FIELD(yAimSpeed)).Setter(QL_METHOD(SetYAimSpeed));
    reg.Member(QL_FIELD(blastDist));
}

PlayerDataComponent::~PlayerDataComponent() = default;

void PlayerDataComponent::SetCurrentScore(int score)
{
    currentScore = score;
    Entity* text = m_scoreText.Get();
    if (!text)
        return;
    if (auto* component = text->GetComponent<TextComponent>())
        component->SetValue(std::to_string(score));
}

int PlayerDataComponent::GetPad() const
{
    return controllerID >= 0 && controllerID < kPadCount ? controllerID : -1;
}

} // namespace quellor
