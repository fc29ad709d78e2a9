#pragma once
// 16-bit PCM WAV files made in memory, for tests that load and play sounds.
#include <string>

namespace tarsel::test {

// A sine tone of `frames` sample frames at 44.1 kHz, mono or stereo.
std::string MakeWav(int frames, int channels = 1, double frequency = 440.0);

} // namespace tarsel::test
