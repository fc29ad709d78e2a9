#include "tests/support/RecordingAudioBackend.h"

#include <algorithm>
#include <cstdio>

namespace tarsel::test {

RecordingAudioBackend::RecordingAudioBackend(int channelCount, bool deviceAvailable)
    : m_deviceAvailable(deviceAvailable), m_channelCount(channelCount)
{
}

void RecordingAudioBackend::Log(std::string_view call)
{
    std::lock_guard lock(m_mutex);
    if (!m_record->quiet)
        m_record->calls.emplace_back(call);
}

bool RecordingAudioBackend::Open()
{
    std::lock_guard lock(m_mutex);
    Log("open");
    if (!m_deviceAvailable) {
        m_error = "no device";
        return false;
    }
    m_record->open = true;
    m_record->channels.assign(static_cast<std::size_t>(m_channelCount), ChannelState{});
    return true;
}

void RecordingAudioBackend::Close()
{
    std::lock_guard lock(m_mutex);
    if (!m_record->open)
        return;
    Log("close");
    m_record->open = false;
    m_record->closed = true;
    for (ChannelState& channel : m_record->channels)
        channel = ChannelState{};
}

platform::SoundId RecordingAudioBackend::Load(const std::string& path)
{
    std::lock_guard lock(m_mutex);
    Log("load " + path);
    if (!m_record->open || m_failing.count(path))
        return 0;
    const platform::SoundId id = m_nextId++;
    m_record->loaded[id] = path;
    return id;
}

void RecordingAudioBackend::Free(platform::SoundId sound)
{
    std::lock_guard lock(m_mutex);
    Log("free " + std::to_string(sound));
    if (m_record->loaded.erase(sound))
        ++m_record->freed;
    for (ChannelState& channel : m_record->channels)
        if (channel.sound == sound)
            channel = ChannelState{};
}

bool RecordingAudioBackend::Valid(int channel) const
{
    return m_record->open && channel >= 0 && channel < static_cast<int>(m_record->channels.size());
}

int RecordingAudioBackend::Play(platform::SoundId sound, int loops, bool paused)
{
    std::lock_guard lock(m_mutex);
    ++m_record->plays;
    int found = -1;
    if (m_record->open && m_record->loaded.count(sound)) {
        auto& channels = m_record->channels;
        auto free = std::find_if(channels.begin(), channels.end(), [](const ChannelState& c) { return c.sound == 0; });
        if (free != channels.end()) {
            found = static_cast<int>(free - channels.begin());
            *free = ChannelState{sound, loops, paused, 1.0f};
        }
    }
    char text[96];
    std::snprintf(text, sizeof(text), "play %u loops=%d paused=%d -> %d", sound, loops, paused ? 1 : 0, found);
    Log(text);
    return found;
}

bool RecordingAudioBackend::IsPlaying(int channel)
{
    std::lock_guard lock(m_mutex);
    return Valid(channel) && m_record->channels[static_cast<std::size_t>(channel)].sound != 0;
}

void RecordingAudioBackend::Pause(int channel)
{
    std::lock_guard lock(m_mutex);
    Log("pause " + std::to_string(channel));
    if (Valid(channel))
        m_record->channels[static_cast<std::size_t>(channel)].paused = true;
}

void RecordingAudioBackend::Resume(int channel)
{
    std::lock_guard lock(m_mutex);
    Log("resume " + std::to_string(channel));
    if (Valid(channel))
        m_record->channels[static_cast<std::size_t>(channel)].paused = false;
}

void RecordingAudioBackend::Stop(int channel)
{
    std::lock_guard lock(m_mutex);
    Log("stop " + std::to_string(channel));
    if (Valid(channel))
        m_record->channels[static_cast<std::size_t>(channel)] = ChannelState{};
}

void RecordingAudioBackend::SetVolume(int channel, float volume)
{
    std::lock_guard lock(m_mutex);
    char text[64];
    std::snprintf(text, sizeof(text), "volume %d %.2f", channel, static_cast<double>(volume));
    Log(text);
    if (Valid(channel))
        m_record->channels[static_cast<std::size_t>(channel)].volume = volume;
}

void RecordingAudioBackend::Finish(Record& record, int channel)
{
    if (channel >= 0 && channel < static_cast<int>(record.channels.size()))
        record.channels[static_cast<std::size_t>(channel)] = ChannelState{};
}

} // namespace tarsel::test
