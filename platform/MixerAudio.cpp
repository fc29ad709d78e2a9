#include "platform/MixerAudio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace platform {
namespace {

// SDL_mixer's device and channels belong to the whole process.
std::atomic<bool> g_mixerTaken{false};

} // namespace

MixerAudio::~MixerAudio()
{
    Close();
}

bool MixerAudio::Open()
{
    if (m_open)
        return true;
    if (g_mixerTaken.exchange(true)) {
        m_error = "the mixer is in use by another audio backend";
        return false;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        m_error = SDL_GetError();
        g_mixerTaken = false;
        return false;
    }
    m_audioUp = true;
    const int wanted = MIX_INIT_OGG | MIX_INIT_MP3;
    m_decoders = Mix_Init(wanted);
    // Once per process: the decoders a build lacks do not change between runs of the system.
    static std::atomic<bool> s_reported{false};
    if ((m_decoders & wanted) != wanted && !s_reported.exchange(true)) {
        std::string missing;
        if (!(m_decoders & MIX_INIT_OGG))
            missing = "Ogg Vorbis";
        if (!(m_decoders & MIX_INIT_MP3))
            missing += missing.empty() ? "MP3" : " and MP3";
        std::printf("Warning: no %s decoder; such sounds will not load\n", missing.c_str());
        std::fflush(stdout);
    }
    if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
        m_error = Mix_GetError();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        m_audioUp = false;
        g_mixerTaken = false;
        return false;
    }
    Mix_AllocateChannels(ChannelCount);
    // SDL_mixer marks a paused channel with the tick count of the pause, so a pause in SDL's
    // first millisecond would be lost (a song started muted would be heard). Wait it out.
    while (SDL_GetTicks() == 0)
        SDL_Delay(1);
    m_open = true;
    return true;
}

void MixerAudio::Close()
{
    if (!m_open)
        return;
    Mix_HaltChannel(-1);
    std::vector<Mix_Chunk*> chunks;
    {
        std::lock_guard lock(m_mutex);
        for (auto& [id, chunk] : m_sounds)
            chunks.push_back(chunk);
        m_sounds.clear();
    }
    for (Mix_Chunk* chunk : chunks)
        Mix_FreeChunk(chunk);
    Mix_CloseAudio();
    Mix_Quit();
    if (m_audioUp)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    m_audioUp = false;
    m_open = false;
    g_mixerTaken = false;
}

SoundId MixerAudio::Load(const std::string& path)
{
    if (!m_open)
        return 0;
    // Decoding takes long and needs no lock of ours.
    Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
    if (!chunk)
        return 0;
    std::lock_guard lock(m_mutex);
    const SoundId id = m_nextId++;
    m_sounds.emplace(id, chunk);
    return id;
}

void MixerAudio::Free(SoundId sound)
{
    Mix_Chunk* chunk = nullptr;
    {
        std::lock_guard lock(m_mutex);
        auto found = m_sounds.find(sound);
        if (found == m_sounds.end())
            return;
        chunk = found->second;
        m_sounds.erase(found);
    }
    // Halts any channel still playing it.
    Mix_FreeChunk(chunk);
}

Mix_Chunk* MixerAudio::Find(SoundId sound)
{
    std::lock_guard lock(m_mutex);
    auto found = m_sounds.find(sound);
    return found == m_sounds.end() ? nullptr : found->second;
}

int MixerAudio::Play(SoundId sound, int loops, bool paused)
{
    if (!m_open)
        return -1;
    Mix_Chunk* chunk = Find(sound);
    if (!chunk)
        return -1;
    // The channel is chosen first so that its volume is right before mixing starts: SDL keeps
    // a channel's last volume, and a sound started paused must not be heard at all.
    const int channel = Mix_GroupAvailable(-1);
    if (!ValidChannel(channel))
        return -1;
    Mix_Volume(channel, paused ? 0 : MIX_MAX_VOLUME);
    if (Mix_PlayChannel(channel, chunk, loops < 0 ? -1 : loops) < 0)
        return -1;
    if (paused) {
        Mix_Pause(channel);
        Mix_Volume(channel, MIX_MAX_VOLUME);
    }
    return channel;
}

bool MixerAudio::IsPlaying(int channel)
{
    return ValidChannel(channel) && Mix_Playing(channel) != 0;
}

void MixerAudio::Pause(int channel)
{
    if (ValidChannel(channel))
        Mix_Pause(channel);
}

void MixerAudio::Resume(int channel)
{
    if (ValidChannel(channel))
        Mix_Resume(channel);
}

void MixerAudio::Stop(int channel)
{
    if (ValidChannel(channel))
        Mix_HaltChannel(channel);
}

void MixerAudio::SetVolume(int channel, float volume)
{
    if (!ValidChannel(channel))
        return;
    const float v = volume >= 0.0f ? (volume <= 1.0f ? volume : 1.0f) : 0.0f; // NaN reads 0
    Mix_Volume(channel, static_cast<int>(std::lround(v * MIX_MAX_VOLUME)));
}

} // namespace platform
