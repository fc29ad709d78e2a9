#pragma once
// An audio backend that plays nothing and records every call. Channels behave as SDL_mixer's
// do: a start takes the lowest free channel, and a channel whose sound ended (Finish) or was
// stopped is free for the next start, under the same number.
#include "platform/AudioBackend.h"

#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace tarsel::test {

class RecordingAudioBackend final : public platform::AudioBackend {
public:
    struct ChannelState {
        platform::SoundId sound = 0; // 0: free
        int loops = 0;
        bool paused = false;
        float volume = 1.0f;
    };

    // What the test reads after the system took ownership of the backend.
    struct Record {
        std::vector<std::string> calls; // "play 1 loops=0 paused=0 -> 0", "stop 0", ...
        std::vector<ChannelState> channels;
        std::map<platform::SoundId, std::string> loaded; // live sounds and their paths
        int freed = 0;
        int plays = 0; // starts, kept or not
        bool open = false;
        bool closed = false;
        bool quiet = false; // calls are not kept (long runs, where the list would only grow)
    };

    explicit RecordingAudioBackend(int channelCount = 8, bool deviceAvailable = true);

    // Paths whose loads fail, as a file that does not decode.
    void FailLoadOf(const std::string& path) { m_failing.insert(path); }
    std::shared_ptr<Record> GetRecord() const { return m_record; }

    bool Open() override;
    bool IsOpen() const override { return m_record->open; }
    const std::string& Error() const override { return m_error; }
    void Close() override;
    int GetChannelCount() const override { return static_cast<int>(m_record->channels.size()); }

    platform::SoundId Load(const std::string& path) override;
    void Free(platform::SoundId sound) override;

    int Play(platform::SoundId sound, int loops, bool paused) override;
    bool IsPlaying(int channel) override;
    void Pause(int channel) override;
    void Resume(int channel) override;
    void Stop(int channel) override;
    void SetVolume(int channel, float volume) override;

    // A sound that plays to its end: its channel falls free. Works through the record, so it
    // can be used after the system took the backend.
    static void Finish(Record& record, int channel);

private:
    bool Valid(int channel) const;
    void Log(std::string_view call);

    std::shared_ptr<Record> m_record = std::make_shared<Record>();
    std::set<std::string> m_failing;
    bool m_deviceAvailable;
    int m_channelCount;
    std::string m_error;
    std::recursive_mutex m_mutex; // loads come from other threads
    platform::SoundId m_nextId = 1;
};

} // namespace tarsel::test
