#pragma once
// An action that plays a sound (group 0) through the "SoundSystem" of the space "default"
// and finishes in the frame in which it starts. Without a sound system it just finishes.
#include "engine/Action.h"

#include <string>

namespace quellor {

class SoundAction : public Action {
public:
    explicit SoundAction(std::string soundName);
    ~SoundAction() override;

    void Update(float dt) override;

private:
    std::string m_soundName;
};

} // namespace quellor
