#include "engine/LoadAssets.h"

#include "engine/AssetPath.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/ResourceSystem.h"
#include "engine/SoundSystem.h"
#include "engine/StartThread.h"
#include "engine/Transform2D.h"
#include "engine/graphics/TextComponent.h"
#include "renderer/RenderSystem.h"

#include <chrono>
#include <cstdio>
#include <exception>

namespace quellor {

namespace {

const char* const kFonts[] = {"fonts/font_32.bff", "fonts/font_48.bff", "fonts/font_64.bff"};
const char* const kFontTextures[] = {"textures/fonts/font_32.dds", "textures/fonts/font_48.dds",
                                     "textures/fonts/font_64.dds"};

} // namespace

LoadAssets::LoadAssets() : Action(true)
{
    m_onStarted.Connect(MakeDelegate(this, &LoadAssets::Enter), 0);
    m_onFinished.Connect(MakeDelegate(this, &LoadAssets::End), 0);
}

LoadAssets::~LoadAssets()
{
    m_stop.store(true, std::memory_order_release);
    JoinThreads();
    if (m_protecting && m_render)
        m_render->ProtectResourceAcquisitions(false);
}

LoadAssets::Kind LoadAssets::KindOf(const std::string& extension)
{
    if (extension == "dds")
        return Textures;
    if (extension == "model")
        return Models;
    if (extension == "anim")
        return Animations;
    if (extension == "mat")
        return Materials;
    if (extension == "ogg" || extension == "mp3" || extension == "wav")
        return Sounds;
    return KindCount;
}

std::string LoadAssets::ProgressText(std::uint32_t loaded, std::uint32_t total)
{
    const float percent = static_cast<float>(loaded) / static_cast<float>(total) * 100.0f + 0.5f;
    return "Loading: " + std::to_string(static_cast<int>(percent));
}

void LoadAssets::Enter()
{
    Engine* engine = GetEngine();
    if (!engine)
        return;
    const std::string space = GetInjector()->m_spaceName;

    // Resolved here, on the main thread; the threads only get the pointers.
    m_render = dynamic_cast<ZOR::RenderSystem*>(engine->GetSystem("GraphicsSystem", space));
    m_sound = dynamic_cast<SoundSystem*>(engine->GetSystem("SoundSystem", space));

    if (auto* resources = dynamic_cast<ResourceSystem*>(engine->GetSystem(ResourceSystem::ID, space))) {
        for (const auto& [name, file] : resources->GetFiles()) {
            const Kind kind = KindOf(file.extension);
            if (kind != KindCount)
                m_queues[kind].emplace(name, file);
        }
    }

    if (m_render) {
        for (const char* font : kFonts)
            m_render->LoadFont(font);
        for (const char* texture : kFontTextures)
            m_render->LoadTexture(texture);
    }

    m_text = engine->CreateEntity("loading_text", "default");
    if (m_text) {
        auto* transform = m_text->AddComponent<Transform2D>(true);
        m_textComponent = m_text->AddComponent<TextComponent>(true);
        if (m_textComponent) {
            m_textComponent->SetFont("font_64.bff");
            m_textComponent->SetFontTexture("font_64.dds");
        }
        if (transform)
            transform->m_x = 10.0f;
    }

    m_total = 0;
    for (const Queue& queue : m_queues)
        m_total += static_cast<std::uint32_t>(queue.size());

    if (m_render) {
        m_render->ProtectResourceAcquisitions(true);
        m_protecting = true;
    }

    m_threads[Textures] = StartThread(MakeDelegate(this, &LoadAssets::LoadTextures));
    m_threads[Materials] = StartThread(MakeDelegate(this, &LoadAssets::LoadMaterials));
    m_threads[Sounds] = StartThread(MakeDelegate(this, &LoadAssets::LoadSounds));
    m_threads[Animations] = StartThread(MakeDelegate(this, &LoadAssets::LoadAnimations));
    m_threads[Models] = StartThread(MakeDelegate(this, &LoadAssets::LoadModels));
}

void LoadAssets::Update(float)
{
    const std::uint32_t loaded = m_loaded.load(std::memory_order_acquire);
    if (loaded != m_total) {
        ShowText(ProgressText(loaded, m_total));
        return;
    }
    // Every file is counted: the threads are at most finishing their last lines.
    JoinThreads();
    if (m_render) {
        m_render->ForceUpdateMaterials();
        m_render->ProtectResourceAcquisitions(false);
        m_protecting = false;
    }
    Finish();
    if (m_text) {
        m_text->Destroy();
        m_text = nullptr;
        m_textComponent = nullptr;
    }
}

void LoadAssets::End()
{
    if (m_render) {
        m_render->ProtectResourceAcquisitions(false);
        m_protecting = false;
    }
}

void LoadAssets::LoadTextures() { LoadQueue(Textures); }
void LoadAssets::LoadMaterials() { LoadQueue(Materials); }
void LoadAssets::LoadSounds() { LoadQueue(Sounds); }
void LoadAssets::LoadAnimations() { LoadQueue(Animations); }
void LoadAssets::LoadModels() { LoadQueue(Models); }

void LoadAssets::LoadQueue(Kind kind)
{
    const auto start = std::chrono::steady_clock::now();
    for (const auto& [name, file] : m_queues[kind]) {
        if (m_stop.load(std::memory_order_acquire))
            break;
        try {
            LoadOne(kind, file);
        } catch (const std::exception& error) {
            std::printf("Error: %s (while loading \"%s\")\n", error.what(), file.path.c_str());
        } catch (...) {
            std::printf("Error: loading \"%s\" failed\n", file.path.c_str());
        }
        // A file that fails still counts: the screen finishes on the count alone.
        m_loaded.fetch_add(1, std::memory_order_acq_rel);
    }
    m_threadSeconds[kind] = std::chrono::duration<float>(std::chrono::steady_clock::now() - start).count();
}

void LoadAssets::LoadOne(Kind kind, const FileInfo& file)
{
    switch (kind) {
    case Textures:
        if (m_render)
            m_render->LoadTexture(file.path);
        break;
    case Materials:
        if (m_render)
            m_render->LoadMaterial(file.path);
        break;
    case Animations:
        if (m_render)
            m_render->LoadAnimation(file.path);
        break;
    case Models:
        if (m_render)
            m_render->LoadModel(file.path);
        break;
    case Sounds:
        if (m_sound)
            m_sound->LoadSound(AssetPath(file.path));
        break;
    case KindCount:
        break;
    }
}

void LoadAssets::JoinThreads()
{
    for (std::thread& thread : m_threads)
        if (thread.joinable())
            thread.join();
}

bool LoadAssets::ThreadsRunning() const
{
    for (const std::thread& thread : m_threads)
        if (thread.joinable())
            return true;
    return false;
}

void LoadAssets::ShowText(const std::string& value)
{
    m_value = value;
    if (m_textComponent)
        m_textComponent->SetValue(value);
}

} // namespace quellor
