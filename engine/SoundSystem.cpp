#include "engine/SoundSystem.h"

#include "engine/AssetPath.h"
#include "engine/reflection/MetaRegistrar.h"
#include "platform/MixerAudio.h"
#include "renderer/dx11/RenderContext.h"

#include <algorithm>
#include <vector>

namespace quellor {

QUELLOR_RECORD(SoundSystem, System, DerivedMetaNotPOD, NoID)
{
    reg.Method(QL_METHOD(PlaySong));
    reg.Method(QL_METHOD(PauseSong));
    reg.Method(QL_METHOD(ResumeSong));
    reg.Method(QL_METHOD(StopSong));
    reg.Method(QL_METHOD(SetLooping));
}

// The device and what the five groups and the songs of this system and its copies share. SDL
// reuses a channel number as soon as the channel falls silent, so each start is numbered and
// each channel remembers the number of the last start on it: a record whose number no longer
// matches belongs to a sound that has ended, and must not touch whatever plays there now.
struct SoundSystem::Device {
    explicit Device(std::unique_ptr<platform::AudioBackend> b) : backend(std::move(b)) {}
    ~Device()
    {
        if (backend)
            backend->Close();
    }

    std::unique_ptr<platform::AudioBackend> backend;
    std::vector<std::uint64_t> serials;
    std::uint64_t nextSerial = 0;
};

// One decoded file, shared by the entries that play it; freed with the last of them.
struct SoundSystem::Sound {
    Sound(std::shared_ptr<Device> d, platform::SoundId i) : device(std::move(d)), id(i) {}
    ~Sound() { device->backend->Free(id); }
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    std::shared_ptr<Device> device;
    platform::SoundId id;
};

SoundSystem::SoundSystem() : SoundSystem(std::make_unique<platform::MixerAudio>()) {}

SoundSystem::SoundSystem(std::unique_ptr<platform::AudioBackend> backend)
    : m_device(std::make_shared<Device>(std::move(backend)))
{
}

SoundSystem::SoundSystem(const SoundSystem& other) : System(other), SoundPlayer(other)
{
    std::lock_guard lock(other.m_mutex);
    m_groups = other.m_groups;
    m_device = other.m_device;
    m_songs = other.m_songs;
    m_suspended = other.m_suspended;
    m_muteMusic = other.m_muteMusic;
    m_muteAll = other.m_muteAll;
}

SoundSystem::~SoundSystem() = default;

void SoundSystem::Initialize()
{
    if (!m_device || !m_device->backend || m_device->backend->IsOpen())
        return;
    platform::AudioBackend& backend = *m_device->backend;
    if (!backend.Open()) {
        ZOR::Log("Notice: no audio device (%s); the game runs without sound", backend.Error().c_str());
        return;
    }
    m_device->serials.assign(static_cast<std::size_t>(std::max(backend.GetChannelCount(), 0)), 0);
}

bool SoundSystem::IsAudible() const
{
    return m_device && m_device->backend && m_device->backend->IsOpen();
}

void SoundSystem::Update(float)
{
    if (IsAudible())
        m_device->backend->Update();
}

void SoundSystem::Shutdown()
{
    {
        std::lock_guard lock(m_mutex);
        if (IsAudible()) {
            auto stop = [this](Table& table) {
                for (auto& [name, entry] : table)
                    if (Owns(*entry.channel))
                        m_device->backend->Stop(entry.channel->channel);
            };
            for (Table& group : m_groups)
                stop(group);
            stop(m_songs);
        }
        for (Table& group : m_groups)
            group.clear();
        m_songs.clear();
    }
    // The last holder closes the device.
    m_device.reset();
}

bool SoundSystem::LoadSound(const std::string& path)
{
    return LoadSound(AssetPath(path));
}

bool SoundSystem::LoadSound(const AssetPath& asset)
{
    // Read once: the main thread does not change the device while loads run.
    std::shared_ptr<Device> device = m_device;
    if (!device || !device->backend || !device->backend->IsOpen())
        return false;
    const bool effect = asset.fullPath.find("sfx") != std::string::npos;

    const platform::SoundId id = device->backend->Load(asset.fullPath);
    if (id == 0) {
        ZOR::Log("Failed to load sound \"%s\"", asset.fullPath.c_str());
        return false;
    }
    auto sound = std::make_shared<Sound>(device, id);
    std::lock_guard lock(m_mutex);
    if (effect) {
        for (Table& group : m_groups)
            group.emplace(asset.fileName, Entry{sound, std::make_shared<Channel>(), asset.fullPath, 0});
    } else {
        m_songs.emplace(asset.fileName, Entry{sound, std::make_shared<Channel>(), asset.fullPath, 0});
    }
    return true;
}

SoundSystem::Table* SoundSystem::TableFor(int group)
{
    if (group < 0)
        return &m_groups[GroupCount - 1];
    if (group < GroupCount)
        return &m_groups[static_cast<std::size_t>(group)];
    if (group == SongTable)
        return &m_songs;
    return nullptr;
}

SoundSystem::Entry* SoundSystem::Find(const std::string& name, int group)
{
    Table* table = TableFor(group);
    if (!table)
        return nullptr;
    auto found = table->find(name);
    return found == table->end() ? nullptr : &found->second;
}

bool SoundSystem::Owns(const Channel& channel) const
{
    if (!IsAudible() || channel.serial == 0 || channel.channel < 0)
        return false;
    const auto index = static_cast<std::size_t>(channel.channel);
    return index < m_device->serials.size() && m_device->serials[index] == channel.serial;
}

void SoundSystem::Start(Entry& entry, bool paused)
{
    if (!IsAudible())
        return;
    platform::AudioBackend& backend = *m_device->backend;
    Channel& record = *entry.channel;
    if (Owns(record) && backend.IsPlaying(record.channel))
        backend.Stop(record.channel);
    const int channel = backend.Play(entry.sound->id, entry.loops, paused);
    if (channel < 0 || static_cast<std::size_t>(channel) >= m_device->serials.size())
        return;
    record.channel = channel;
    record.serial = ++m_device->nextSerial;
    m_device->serials[static_cast<std::size_t>(channel)] = record.serial;
}

void SoundSystem::Play(const std::string& name, int group)
{
    if (m_suspended || m_muteAll || group >= GroupCount)
        return;
    std::lock_guard lock(m_mutex);
    if (Entry* entry = Find(name, group))
        Start(*entry, false);
}

void SoundSystem::PlaySong(const std::string& name)
{
    std::lock_guard lock(m_mutex);
    if (Entry* entry = Find(name, SongTable))
        Start(*entry, m_muteMusic || m_muteAll);
}

void SoundSystem::PauseSong(const std::string& name, int group)
{
    std::lock_guard lock(m_mutex);
    Entry* entry = Find(name, group);
    if (entry && Owns(*entry->channel))
        m_device->backend->Pause(entry->channel->channel);
}

void SoundSystem::ResumeSong(const std::string& name, int group)
{
    if (m_suspended)
        return;
    std::lock_guard lock(m_mutex);
    Entry* entry = Find(name, group);
    if (entry && Owns(*entry->channel))
        m_device->backend->Resume(entry->channel->channel);
}

void SoundSystem::StopSong(const std::string& name, int group)
{
    std::lock_guard lock(m_mutex);
    Entry* entry = Find(name, group);
    if (entry && Owns(*entry->channel))
        m_device->backend->Stop(entry->channel->channel);
}

void SoundSystem::SetLooping(const std::string& name, bool loop, int group)
{
    std::lock_guard lock(m_mutex);
    if (Entry* entry = Find(name, group))
        entry->loops = loop ? -1 : 0;
}

bool SoundSystem::IsPlaying(const std::string& name, int group)
{
    std::lock_guard lock(m_mutex);
    Entry* entry = Find(name, group);
    return entry && Owns(*entry->channel) && m_device->backend->IsPlaying(entry->channel->channel);
}

SoundSystem::Channel* SoundSystem::GetChannel(const std::string& name, int group)
{
    std::lock_guard lock(m_mutex);
    Entry* entry = Find(name, group);
    return entry ? entry->channel.get() : nullptr;
}

void SoundSystem::SetVolume(Channel* channel, float volume)
{
    if (!channel)
        return;
    const float clamped = volume >= 0.0f ? (volume <= 1.0f ? volume : 1.0f) : 0.0f; // NaN reads 0
    if (Owns(*channel))
        m_device->backend->SetVolume(channel->channel, clamped);
    channel->volume = clamped;
}

void SoundSystem::PauseAll()
{
    std::lock_guard lock(m_mutex);
    for (Table& group : m_groups)
        for (auto& [name, entry] : group)
            if (Owns(*entry.channel))
                m_device->backend->Pause(entry.channel->channel);
}

void SoundSystem::ResumeAll()
{
    if (m_suspended)
        return;
    std::lock_guard lock(m_mutex);
    for (Table& group : m_groups)
        for (auto& [name, entry] : group)
            if (Owns(*entry.channel))
                m_device->backend->Resume(entry.channel->channel);
}

void SoundSystem::StopAll()
{
    std::lock_guard lock(m_mutex);
    for (Table& group : m_groups)
        for (auto& [name, entry] : group)
            if (Owns(*entry.channel))
                m_device->backend->Stop(entry.channel->channel);
}

} // namespace quellor
