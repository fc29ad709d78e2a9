#include "tarsel/Game.h"

#include "ai/AISystem.h"
#include "engine/ActionList.h"
#include "engine/ActionSystem.h"
#include "engine/Engine.h"
#include "engine/Input.h"
#include "engine/LoadAssets.h"
#include "engine/ObjectSystem.h"
#include "engine/ResourceSystem.h"
#include "engine/SetValue.h"
#include "engine/SimulatedClock.h"
#include "engine/Settings.h"
#include "engine/SoundSystem.h"
#include "engine/TweenTo.h"
#include "engine/Wait.h"
#include "engine/graphics/GraphicsSystem.h"
#include "frontend/RegisterFrontendTypes.h"
#include "frontend/content/ContentSystem.h"
#include "frontend/screens/ControllerSplash.h"
#include "frontend/screens/CorvathSplash.h"
#include "frontend/screens/MainMenu.h"
#include "frontend/screens/PauseMenu.h"
#include "frontend/screens/SkipAction.h"
#include "frontend/screens/VantrellSplash.h"
#include "frontend/ui/UISystem.h"
#include "gameplay/FeatherSystem.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/cameras/CameraSystem.h"
#include "physics/PhysicsSystem3D.h"
#include "platform/AudioBackend.h"
#include "platform/NativeWindow.h"
#include "platform/ScriptedInputSource.h"
#include "platform/SdlInputSource.h"
#include "renderer/Config.h"
#include "renderer/Window.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace tarsel {

namespace {

constexpr const char* kSpace = "default";
constexpr int kAlt = 18;
constexpr int kF4 = 115;
// Shader files the render system loads at start-up; with none of them there is no picture.
constexpr std::size_t kShaderCount = 51;

// The start-up pictures can be skipped within this many seconds; each shows for three.
constexpr float kSkipLimit = 9.0f;
constexpr float kSplashTime = 3.0f;

// What the end of a match and the pause menu's quit push.
quellor::Action* MakeMainMenu(bool loadLevel)
{
    return new quellor::MainMenu(loadLevel);
}

// What the pause request pushes.
quellor::Action* MakePauseMenu()
{
    return new quellor::PauseMenu;
}

float SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<float>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

Game::Game(Options options) : m_options(std::move(options)) {}

Game::~Game()
{
    Shutdown();
}

void Game::SetAudioBackend(std::unique_ptr<platform::AudioBackend> backend)
{
    m_audioBackend = std::move(backend);
}

bool Game::LoadInputScript(std::string& error)
{
    if (m_options.inputFile.empty())
        return true;
    if (!m_script.Load(m_options.inputFile, error))
        return false;
    m_scripted = std::make_shared<platform::ScriptedInputSource>();
    return true;
}

bool Game::Start()
{
    // The classes of every library, so that levels create them by name.
    quellor::RegisterFrontendTypes();
    // The one random source is the runtime's; a seed from the driver makes runs repeat.
    if (m_options.seed)
        std::srand(*m_options.seed);
    // Under a fixed frame time every clock reading follows the frames, from the first on.
    if (m_options.simulatedClock && m_options.fixedDt && !quellor::SimulatedClock::IsInstalled()) {
        quellor::SimulatedClock::Install();
        m_installedClock = true;
    }
    auto clock = std::chrono::steady_clock::now();

    // 1. The configuration file, made with the defaults on a first run.
    m_configPath = quellor::GetConfigPath();
    m_config = std::make_unique<ZOR::Config>(quellor::LoadConfig(m_configPath));

    // 2. The window, shown by the render context once it exists.
    m_window = std::make_unique<ZOR::Window>("Tarsel", m_config->GetResolution(), false);
    if (!m_window->GetHWND()) {
        std::printf("Failed to create the window\n");
        return false;
    }
    m_window->SetMessageHandler(&quellor::Input::WindowMessage);

    // 3. and 4. The engine and its systems.
    m_timings.configuration = SecondsSince(clock);
    clock = std::chrono::steady_clock::now();
    m_engine = quellor::Engine::Instance();
    AddSystems();
    if (!m_graphics) {
        std::printf("Failed to create the graphics system\n");
        return false;
    }
    if (!m_graphics->GetInitializeResult()) {
        std::printf("Failed to create the render context\n");
        return false;
    }
    // Some missing shaders leave parts of the picture out (each is reported); none at all
    // leaves no picture.
    if (m_graphics->GetMissingShaders().size() >= kShaderCount) {
        std::printf("Failed to load shaders from %s\n", "shaders/");
        return false;
    }
    m_timings.systems = SecondsSince(clock);
    clock = std::chrono::steady_clock::now();

    // 5. The saved settings.
    quellor::ApplyEngineSettings(quellor::ReadEngineSettings(*m_config), m_sound, m_graphics);

    // 6. The cursor is read in the graphics window.
    m_input->SetWindowHandle(m_graphics->GetWindowHandle());

    // 7. The frame clock.
    m_stopwatch.Start();

    // 8. Splash assets, loaded at once; a missing one does not stop start-up.
    m_graphics->LoadTexture("textures/ui/splash/corvath_logo.dds");
    m_graphics->LoadTexture("textures/ui/splash/vantrell_logo.dds");
    m_graphics->LoadTexture("textures/ui/splash/controller_recommended.dds");
    m_graphics->LoadMaterial("materials/splash/corvath_logo.mat");
    m_graphics->LoadMaterial("materials/splash/vantrell_logo.mat");
    m_graphics->LoadMaterial("materials/splash/xbox_controller.mat");

    // 9. and 10. The fade starts black; the start-up tree runs from the first frame on.
    m_graphics->GetFadeFactor() = 0.0f;
    BuildStartupTree();
    m_timings.systems += SecondsSince(clock);
    return true;
}

void Game::AddSystems()
{
    std::shared_ptr<platform::InputSource> source;
    if (m_scripted)
        source = m_scripted;
    else
        source = std::make_shared<platform::SdlInputSource>(m_window->GetHWND());

    // The order is the update order: every system has the same priority. The content store
    // has no key of its own and goes in under System's; its file is read and written back at once.
    m_content = static_cast<quellor::ContentSystem*>(
        m_engine->AddSystem(quellor::ContentSystem::ID, new quellor::ContentSystem, kSpace));
    m_content->Load();
    m_content->Save();
    m_input = static_cast<quellor::Input*>(m_engine->AddSystem("Input", new quellor::Input(source), kSpace));
    m_engine->AddSystem("PhysicsSystem3D", new quellor::PhysicsSystem3D, kSpace);
    m_engine->AddSystem("AISystem", new quellor::AISystem, kSpace);
    m_engine->AddSystem("ResourceSystem", new quellor::ResourceSystem, kSpace);
    m_engine->AddSystem("ObjectSystem", new quellor::ObjectSystem, kSpace);
    m_actions = static_cast<quellor::ActionSystem*>(m_engine->AddSystem("ActionSystem", new quellor::ActionSystem, kSpace));
    // No camera path plays in the menus: the level intro turns it on and off.
    auto* cameras = new quellor::CameraSystem;
    cameras->SetAutomatedCameraDisabled(true);
    m_engine->AddSystem("CameraSystem", cameras, kSpace);
    m_engine->AddSystem("FeatherSystem", new quellor::FeatherSystem, kSpace);
    auto* gameLogic = new quellor::GameLogicSystem;
    gameLogic->SetMainMenuFactory(quellor::MakeDelegate(&MakeMainMenu));
    gameLogic->SetPauseMenuFactory(quellor::MakeDelegate(&MakePauseMenu));
    m_engine->AddSystem("GameLogicSystem", gameLogic, kSpace);
    auto* sound = m_audioBackend ? new quellor::SoundSystem(std::move(m_audioBackend)) : new quellor::SoundSystem;
    m_sound = static_cast<quellor::SoundSystem*>(m_engine->AddSystem("SoundSystem", sound, kSpace));
    m_engine->AddSystem("UISystem", new quellor::UISystem, kSpace);
    auto* graphics = m_renderContextFactory
                         ? new quellor::GraphicsSystem(m_renderContextFactory(*m_config), m_window->GetHWND())
                         : new quellor::GraphicsSystem(*m_config, m_window->GetHWND());
    m_graphics = static_cast<quellor::GraphicsSystem*>(m_engine->AddSystem("GraphicsSystem", graphics, kSpace));
}

void Game::BuildStartupTree()
{
    if (m_startupTree) {
        m_actions->AddAction(m_startupTree(*this), 0);
        return;
    }
    float* fade = &m_graphics->GetFadeFactor();
    auto fadeTo = [fade](float to) { return new quellor::TweenTo(fade, 1.0f, to, 0, true, false); };
    auto fadeIn = [fadeTo] { return fadeTo(1.0f); };
    // A picture fades in over its first second and out over its third.
    auto group = [&](quellor::Action* splash) {
        return quellor::MakeParallel(fadeIn(), splash, quellor::MakeSequence(new quellor::Wait(2.0f), fadeTo(0.0f)));
    };
    quellor::Action* splashes = new quellor::SkipAction(
        quellor::MakeSequence(group(new quellor::CorvathSplash(kSplashTime)), group(new quellor::VantrellSplash(kSplashTime)),
                              group(new quellor::ControllerSplash(kSplashTime))),
        kSkipLimit);
    quellor::Action* mainMenu = new quellor::MainMenu(true);
    m_loading = new quellor::LoadAssets;
    m_loading->m_onFinished.Connect(quellor::MakeDelegate(this, &Game::OnLoadingFinished), 0);
    quellor::ActionList* tree = quellor::MakeSequence(
        splashes, new quellor::SetValue(fade, 0.0f), quellor::MakeParallel(fadeIn(), m_loading),
        new quellor::SetValue(fade, 0.0f), quellor::MakeParallel(fadeIn(), mainMenu));
    m_actions->AddAction(tree, 0);
}

void Game::OnLoadingFinished()
{
    // The screen has joined its threads before it finishes.
    m_timings.loadingDone = true;
    m_timings.loadingFrames = m_frames + 1;
    for (int kind = 0; kind < quellor::LoadAssets::KindCount; ++kind)
        m_timings.loadingThreadSeconds[kind] = m_loading->GetThreadSeconds(static_cast<quellor::LoadAssets::Kind>(kind));
    m_loading = nullptr; // the list deletes it
}

bool Game::Frame()
{
    if (!m_window || !m_window->IsAlive())
        return false;
    const auto clock = std::chrono::steady_clock::now();
    const std::uint32_t frame = m_frames + 1;

    // 1. The frame time; a simulated clock moves by it first.
    if (m_installedClock)
        quellor::SimulatedClock::Advance(*m_options.fixedDt);
    float dt = m_stopwatch.Stop();
    m_stopwatch.Start();
    if (m_options.fixedDt)
        dt = *m_options.fixedDt;

    // Scripted events of this frame reach the source before the input system polls it.
    if (m_scripted)
        m_script.ApplyUpTo(frame, *m_scripted);

    // 2. to 5. The cursor: confined while the window has focus and pad 0 is out, hidden over
    // the client area.
    if (m_input) {
        const quellor::Vec2 mouse = m_input->GetMousePosition();
        std::uint32_t width = 0;
        std::uint32_t height = 0;
        platform::NativeWindow* native = m_window->GetHWND();
        native->GetSize(width, height);
        platform::InputSource* source = m_input->GetInputSource();
        const bool focused = source && source->HasFocus();
        m_cursor = DecideCursor(focused, m_input->IsConnected(0), static_cast<int>(std::trunc(mouse.x)),
                                static_cast<int>(std::trunc(mouse.y)), static_cast<int>(width),
                                static_cast<int>(height));
        m_input->SetCursorBounds(m_cursor.minX, m_cursor.minY, m_cursor.maxX, m_cursor.maxY, m_cursor.clip);
        if (!m_scripted) {
            native->SetMouseGrab(m_cursor.clip);
            platform::NativeWindow::ShowCursor(!m_cursor.hide);
        }
    }

    // 6. and 7. Messages, then one engine update.
    m_window->Update();
    m_engine->Update(dt);
    ++m_frames;

    // 8. Alt held and F4 pressed this frame close the window after the update.
    auto* input = m_engine->GetSystem<quellor::Input>(kSpace);
    if (input && input->KeyIsDown(kAlt, -1) && input->KeyIsPressed(kF4, -1))
        m_window->Kill();
    if (m_options.frames != 0 && m_frames >= m_options.frames)
        m_window->Kill();

    if (m_frames == 1)
        m_timings.firstFrame = SecondsSince(clock);
    return true;
}

std::uint32_t Game::Run()
{
    while (Frame()) {
    }
    return m_frames;
}

void Game::Shutdown()
{
    if (m_engine) {
        quellor::Engine::DestroyInstance();
        m_engine = nullptr;
        m_input = nullptr;
        m_actions = nullptr;
        m_sound = nullptr;
        m_graphics = nullptr;
        m_content = nullptr;
    }
    m_window.reset();
    m_config.reset();
    if (m_installedClock) {
        quellor::SimulatedClock::Uninstall();
        m_installedClock = false;
    }
}

} // namespace tarsel
