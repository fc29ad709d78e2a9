#pragma once
// The loading screen: sorts the resource table's content files by kind, loads the fonts of its
// own text at once, then loads textures, materials, sounds, animations and models on five
// threads while it shows "Loading: <percent>". It finishes in the first update that sees every
// file counted. Loader threads only read and decode: the render system queues what they create
// for the main thread to upload.
#include "engine/Action.h"
#include "engine/FileInfo.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <map>
#include <string>
#include <thread>

namespace ZOR {
class RenderSystem;
}

namespace quellor {

class Entity;
class SoundSystem;
class TextComponent;

class LoadAssets : public Action {
public:
    using Queue = std::map<std::string, FileInfo>;
    enum Kind { Textures, Materials, Sounds, Animations, Models, KindCount };

    LoadAssets();
    // Stops the threads between files, joins them, and switches the render system's
    // protection off if it is still on.
    ~LoadAssets() override;

    void Update(float dt) override;

    // Started event: sorts the files, loads the fonts, makes the text and starts the threads.
    void Enter();
    // Finished event.
    void End();

    // Thread bodies.
    void LoadTextures();
    void LoadMaterials();
    void LoadSounds();
    void LoadAnimations();
    void LoadModels();

    // The percentage text for loaded of total: loaded / total x 100 + 0.5, truncated.
    static std::string ProgressText(std::uint32_t loaded, std::uint32_t total);
    // The queue a file extension (without the dot) goes to; KindCount for none.
    static Kind KindOf(const std::string& extension);

    const Queue& GetQueue(Kind kind) const { return m_queues[kind]; }
    std::uint32_t GetLoaded() const { return m_loaded.load(std::memory_order_acquire); }
    std::uint32_t GetTotal() const { return m_total; }
    // The text shown last ("" before the first update).
    const std::string& GetText() const { return m_value; }
    Entity* GetTextEntity() const { return m_text; }
    // Seconds each thread spent on its queue; read once the action has finished.
    float GetThreadSeconds(Kind kind) const { return m_threadSeconds[kind]; }
    bool ThreadsRunning() const;

private:
    void LoadQueue(Kind kind);
    void LoadOne(Kind kind, const FileInfo& file);
    void JoinThreads();
    void ShowText(const std::string& value);

    Entity* m_text = nullptr;
    TextComponent* m_textComponent = nullptr;
    std::array<Queue, KindCount> m_queues;
    std::atomic<std::uint32_t> m_loaded{0};
    std::uint32_t m_total = 0;
    std::array<std::thread, KindCount> m_threads;
    std::array<float, KindCount> m_threadSeconds{};
    std::atomic<bool> m_stop{false};
    ZOR::RenderSystem* m_render = nullptr;
    SoundSystem* m_sound = nullptr;
    bool m_protecting = false;
    std::string m_value;
};

} // namespace quellor
