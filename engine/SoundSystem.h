#pragma once
// The sound system: songs (one instance each) and effects (a file whose path contains "sfx",
// held once in each of five groups so that one effect can sound on five channels at once),
// addressed by file name. It carries the two mute switches of the options and the suspended
// state that window focus sets. Without an audio device it stays silent and every call is safe.
#include "engine/SoundPlayer.h"
#include "engine/System.h"
#include "engine/reflection/Reflected.h"
#include "platform/AudioBackend.h"

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace quellor {

struct AssetPath;

class SoundSystem : public System, public SoundPlayer {
    // Its ID keys the system in its space; the record itself registers no "ID".
    QUELLOR_REFLECT_KEYED(SoundSystem)
public:
    // Group arguments: 0..4 a group, any negative value group 4, SongTable the songs.
    static constexpr int GroupCount = 5;
    static constexpr int SongTable = 42;

    // The channel of a sound's last start and the volume last set on it.
    struct Channel {
        int channel = -1;
        std::uint64_t serial = 0; // which start on that channel was ours
        float volume = 1.0f;
    };

    // On SDL_mixer.
    SoundSystem();
    explicit SoundSystem(std::unique_ptr<platform::AudioBackend> backend);
    // A copy shares the source's loaded sounds, channels and device; the last holder frees them.
    SoundSystem(const SoundSystem& other);
    SoundSystem& operator=(const SoundSystem&) = delete;
    ~SoundSystem() override;

    // Opens the device; without one, a notice and silence.
    void Initialize() override;
    void Update(float dt) override;
    // Stops this system's channels and lets its sounds go.
    void Shutdown() override;

    // Loads a sound under its file name: an effect (a path containing "sfx") into the five
    // groups, anything else into the song table. Any thread. False, with a log line, for a
    // file that does not decode; false, quietly, while silent.
    bool LoadSound(const AssetPath& asset);
    bool LoadSound(const std::string& path);

    // Plays an effect from its start in group 0..4 (negative: 4), stopping its last channel
    // first. Nothing while suspended or muted.
    void Play(const std::string& name, int group) override;
    // Starts a song from the start; paused at once, unheard, while music or all sound is muted.
    void PlaySong(const std::string& name);
    void PauseSong(const std::string& name, int group);
    // Nothing while suspended.
    void ResumeSong(const std::string& name, int group);
    void StopSong(const std::string& name, int group);
    // The loop count of the sound's next start: for ever, or once.
    void SetLooping(const std::string& name, bool loop, int group);
    // True while the sound's last start still plays, paused or not.
    bool IsPlaying(const std::string& name, int group);
    Channel* GetChannel(const std::string& name, int group);
    // Clamped to 0..1 (NaN to 0) and kept in the record; a null record is ignored.
    void SetVolume(Channel* channel, float volume);

    // Every effect of the five groups; songs are not touched. ResumeAll does nothing while
    // suspended.
    void PauseAll();
    void ResumeAll();
    void StopAll();

    void SetSuspended(bool suspended) { m_suspended = suspended; }
    bool IsSuspended() const { return m_suspended; }
    // Setting a mute changes nothing that already plays.
    void SetMuteAll(bool mute) { m_muteAll = mute; }
    void SetMuteMusic(bool mute) { m_muteMusic = mute; }
    bool IsMuteAll() const { return m_muteAll; }
    bool IsMuteMusic() const { return m_muteMusic; }

    // Whether a device is open.
    bool IsAudible() const;

private:
    struct Device;
    struct Sound;
    struct Entry {
        std::shared_ptr<Sound> sound;
        std::shared_ptr<Channel> channel;
        std::string path;
        int loops = 0;
    };
    using Table = std::unordered_map<std::string, Entry>;

    // The table a group argument names, or null (outside 0..4, negatives and 42).
    Table* TableFor(int group);
    // The entry of a name in a group's table; null when not loaded. Caller holds m_mutex.
    Entry* Find(const std::string& name, int group);
    // Whether the channel still carries the start recorded in it.
    bool Owns(const Channel& channel) const;
    void Start(Entry& entry, bool paused);

    std::array<Table, GroupCount> m_groups;
    std::shared_ptr<Device> m_device;
    Table m_songs;
    bool m_suspended = false;
    bool m_muteMusic = false;
    bool m_muteAll = true; // until the saved settings are applied
    mutable std::mutex m_mutex; // the tables: the loader thread inserts while the main thread plays
};

} // namespace quellor
