#pragma once
// What a sound action needs of the sound system: play a sound by name in a sound group.
// The system registered as "SoundSystem" implements it.
#include <string>

namespace quellor {

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void Play(const std::string& name, int group) = 0;
};

} // namespace quellor
