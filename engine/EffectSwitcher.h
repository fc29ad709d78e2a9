#pragma once
// What the effect toggle needs of the graphics system: ask for, switch on and switch off a
// render effect on one screen, or on all four with screen -1. The system registered as
// "GraphicsSystem" implements it.
namespace quellor {

class EffectSwitcher {
public:
    virtual ~EffectSwitcher() = default;
    virtual bool EffectEnabled(int effect, int screen) = 0;
    virtual void EnableEffect(int effect, int screen) = 0;
    virtual void DisableEffect(int effect, int screen) = 0;
};

} // namespace quellor
