#include "engine/ToggleEffect.h"

#include "engine/EffectSwitcher.h"
#include "engine/System.h"

namespace quellor {

ToggleEffect::ToggleEffect(int effect, int screen) : Action(true), m_effect(effect), m_screen(screen)
{
    m_onStarted.Connect(MakeDelegate(this, &ToggleEffect::Start), 0);
}

ToggleEffect::~ToggleEffect() = default;

void ToggleEffect::Update(float) {}

void ToggleEffect::Start()
{
    if (auto* effects = dynamic_cast<EffectSwitcher*>(FindSystem("GraphicsSystem"))) {
        if (effects->EffectEnabled(m_effect, m_screen))
            effects->DisableEffect(m_effect, m_screen);
        else
            effects->EnableEffect(m_effect, m_screen);
    }
    Finish();
}

} // namespace quellor
