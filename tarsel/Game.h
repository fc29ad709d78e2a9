#pragma once
// The game's start-up, frame loop and teardown: the configuration file, the window, the engine
// with its systems in their fixed order, the saved settings, the start-up action tree, then
// one pass per frame until the window is gone.
#include "engine/Stopwatch.h"
#include "platform/InputScript.h"
#include "tarsel/CursorPolicy.h"
#include "tarsel/Options.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace ZOR {
class Config;
class RenderContext;
class Window;
}
namespace platform {
class AudioBackend;
class ScriptedInputSource;
}

namespace quellor {
class Action;
class ActionSystem;
class ContentSystem;
class Engine;
class LoadAssets;
class GraphicsSystem;
class Input;
class SoundSystem;
}

namespace tarsel {

class Game {
public:
    explicit Game(Options options);
    // Tears down whatever start-up made: the engine (its systems join the loader threads), then
    // the window.
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // Test hooks, set before Start. The start-up tree: what goes into lane 0 of the action
    // system in place of the splash-to-main-menu sequence. The audio backend: what the sound
    // system plays through in place of SDL_mixer.
    using StartupTree = std::function<quellor::Action*(Game&)>;
    void SetStartupTree(StartupTree tree) { m_startupTree = std::move(tree); }
    void SetAudioBackend(std::unique_ptr<platform::AudioBackend> backend);
    // The render context the graphics system draws through, made from the configuration, in
    // place of the OpenGL one (benchmarks that time the CPU side alone).
    using RenderContextFactory = std::function<std::shared_ptr<ZOR::RenderContext>(const ZOR::Config&)>;
    void SetRenderContextFactory(RenderContextFactory factory) { m_renderContextFactory = std::move(factory); }

    // Reads the --input file, if any, before start-up; false with a message naming the line.
    bool LoadInputScript(std::string& error);
    // Every start-up step. False, with one line saying what failed, when the game cannot draw:
    // no window, no render context, no shader at all.
    bool Start();
    // One pass of the frame loop; false once the window is gone (the pass then does nothing).
    bool Frame();
    // Frames until the window is gone; returns how many ran.
    std::uint32_t Run();
    // The engine, then the window. Safe to call twice.
    void Shutdown();

    std::uint32_t GetFrameCount() const { return m_frames; }
    const CursorDecision& GetLastCursorDecision() const { return m_cursor; }
    ZOR::Window* GetWindow() const { return m_window.get(); }
    quellor::GraphicsSystem* GetGraphicsSystem() const { return m_graphics; }
    quellor::SoundSystem* GetSoundSystem() const { return m_sound; }
    quellor::Input* GetInput() const { return m_input; }
    quellor::ActionSystem* GetActionSystem() const { return m_actions; }
    quellor::ContentSystem* GetContentSystem() const { return m_content; }
    const ZOR::Config* GetConfig() const { return m_config.get(); }
    platform::ScriptedInputSource* GetScriptedInput() const { return m_scripted.get(); }

    // Start-up timings in seconds, for the start-up benchmark.
    struct Timings {
        float configuration = 0.0f; // configuration file and window
        float systems = 0.0f;       // systems (render context, shader set, resource scan), settings, splash assets
        float firstFrame = 0.0f;    // the first pass of the loop
        bool loadingDone = false;   // the loading screen has finished
        std::uint32_t loadingFrames = 0;  // frames drawn until it finished
        float loadingThreadSeconds[5] = {}; // textures, materials, sounds, animations, models
    };
    const Timings& GetTimings() const { return m_timings; }

private:
    void AddSystems();
    void BuildStartupTree();
    void OnLoadingFinished();

    Options m_options;
    std::string m_configPath;
    std::unique_ptr<ZOR::Config> m_config;
    std::unique_ptr<ZOR::Window> m_window;
    quellor::Engine* m_engine = nullptr;
    quellor::Input* m_input = nullptr;
    quellor::ActionSystem* m_actions = nullptr;
    quellor::SoundSystem* m_sound = nullptr;
    quellor::GraphicsSystem* m_graphics = nullptr;
    quellor::ContentSystem* m_content = nullptr;
    StartupTree m_startupTree;
    std::unique_ptr<platform::AudioBackend> m_audioBackend;
    RenderContextFactory m_renderContextFactory;
    std::shared_ptr<platform::ScriptedInputSource> m_scripted;
    platform::InputScript m_script;
    quellor::Stopwatch m_stopwatch;
    CursorDecision m_cursor;
    std::uint32_t m_frames = 0;
    Timings m_timings;
    quellor::LoadAssets* m_loading = nullptr;
    // Start installed the simulated clock; Shutdown gives the steady clock back.
    bool m_installedClock = false;
};

} // namespace tarsel
