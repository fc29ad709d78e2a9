#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace tarsel::tools {

// A mono sound in memory: samples in -1..1 at rate samples per second.
struct Sound {
    std::uint32_t rate = 22050;
    std::vector<float> samples;
};

// The bytes of an Ogg Vorbis file holding sound, its stream numbered serial so that the same
// sound always gives the same bytes. Empty, with a line on stderr, when the encoder refuses.
std::string WriteOgg(const Sound& sound, int serial);

// The game's sounds, synthesised: short effects ("sounds/sfx/<name>.ogg", at most 1.5 s) and two
// looping songs ("sounds/music/<name>.ogg", 12 s). Each entry is the path in the content folder
// and its sound.
struct NamedSound {
    std::string path;
    Sound sound;
};
std::vector<NamedSound> BuildSounds();

} // namespace tarsel::tools
