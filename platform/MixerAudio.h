#pragma once
// The audio backend on SDL2_mixer: 44.1 kHz stereo, 255 channels, sounds decoded whole into
// memory (WAV, and Ogg Vorbis and MP3 where the decoders are present). SDL_mixer is one per
// process: while one MixerAudio is open, a second one opens silent.
#include "platform/AudioBackend.h"

#include <mutex>
#include <unordered_map>

struct Mix_Chunk;

namespace platform {

class MixerAudio final : public AudioBackend {
public:
    static constexpr int ChannelCount = 255;

    MixerAudio() = default;
    ~MixerAudio() override;
    MixerAudio(const MixerAudio&) = delete;
    MixerAudio& operator=(const MixerAudio&) = delete;

    bool Open() override;
    bool IsOpen() const override { return m_open; }
    const std::string& Error() const override { return m_error; }
    void Close() override;
    int GetChannelCount() const override { return m_open ? ChannelCount : 0; }

    SoundId Load(const std::string& path) override;
    void Free(SoundId sound) override;

    int Play(SoundId sound, int loops, bool paused) override;
    bool IsPlaying(int channel) override;
    void Pause(int channel) override;
    void Resume(int channel) override;
    void Stop(int channel) override;
    void SetVolume(int channel, float volume) override;

    // Which decoders Mix_Init could start (MIX_INIT_* bits).
    int GetDecoders() const { return m_decoders; }

private:
    bool ValidChannel(int channel) const { return m_open && channel >= 0 && channel < ChannelCount; }
    Mix_Chunk* Find(SoundId sound);

    bool m_open = false;
    bool m_audioUp = false;
    int m_decoders = 0;
    std::string m_error;
    std::mutex m_mutex; // the sound table; loads come from other threads
    std::unordered_map<SoundId, Mix_Chunk*> m_sounds;
    SoundId m_nextId = 1;
};

} // namespace platform
