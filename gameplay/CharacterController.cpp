#include "gameplay/CharacterController.h"

#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(CharacterController, Component, DerivedMetaNotPODNoCopy, WithID) {}

CharacterController::~CharacterController() = default;

void CharacterController::Initialize()
{
    JoinGameLogic();
}

void CharacterController::Uninitialize()
{
    LeaveGameLogic();
}

} // namespace quellor
