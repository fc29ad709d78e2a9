#include "engine/SoundAction.h"

#include "engine/Engine.h"
#include "engine/SoundPlayer.h"
#include "engine/System.h"

namespace quellor {

SoundAction::SoundAction(std::string soundName) : Action(true), m_soundName(std::move(soundName)) {}

SoundAction::~SoundAction() = default;

void SoundAction::Update(float)
{
    // Without an engine there is nothing to play on; the action must not make one.
    Engine* engine = Engine::Existing();
    System* system = engine ? engine->GetSystem("SoundSystem", "default") : nullptr;
    if (auto* player = dynamic_cast<SoundPlayer*>(system))
        player->Play(m_soundName, 0);
    Finish();
}

} // namespace quellor
