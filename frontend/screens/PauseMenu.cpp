#include "frontend/screens/PauseMenu.h"

#include "engine/ActionHandle.h"
#include "engine/ActionList.h"
#include "engine/ActionSystem.h"
#include "engine/Easing.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Input.h"
#include "engine/Invoke.h"
#include "engine/SetValue.h"
#include "engine/SoundSystem.h"
#include "engine/Transform2D.h"
#include "engine/TweenTo.h"
#include "engine/WaitFrame.h"
#include "engine/graphics/GraphicsComponent2D.h"
#include "engine/graphics/GraphicsSystem.h"
#include "frontend/screens/BoxIn.h"
#include "frontend/screens/LevelProps.h"
#include "frontend/screens/MainMenu.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/cameras/CameraPlacement.h"
#include "gameplay/PlayerDataComponent.h"
#include "physics/PhysicsSystem3D.h"
#include "renderer/Window.h"

#include <cstdio>
#include <memory>

namespace quellor {

namespace {

constexpr float kPanelAspect = 1.3333334f;
constexpr float kDesignWidth = 1440.0f;
constexpr float kDesignHeight = 1080.0f;
constexpr float kEntryTop = 275.0f;
constexpr float kEntryStep = 105.0f;
constexpr float kEntryX = 400.0f;
constexpr float kConfirmX = 525.0f;
constexpr float kConfirmTop = 475.0f;
constexpr float kConfirmStep = 220.0f;
constexpr ZOR::float2 kCheckPoints[PauseMenu::SettingCount] = {{475.0f, 325.0f}, {475.0f, 435.0f}, {475.0f, 555.0f}};
constexpr int kPadCount = 4;
constexpr int kPadStart = 4;
constexpr int kBackspace = 8;
constexpr int kEscape = 27;
constexpr float kOpenTheme = 0.5f;

const char* const kOptionsPictures[PauseMenu::SettingCount] = {"2d_options.mat", "2d_options_0.mat", "2d_options_1.mat"};

void SetAlpha(const EntityRef& ref, float alpha)
{
    if (GraphicsComponent2D* sprite = SpriteOf(ref))
        sprite->SetAlpha(alpha);
}

void SetThemeVolume(SoundSystem& sound, float volume)
{
    sound.SetVolume(sound.GetChannel(MenuScreen::kMenuTheme, SoundSystem::SongTable), volume);
}

void SetPlayersControl(GameLogicSystem& logic, bool control)
{
    for (unsigned i = 0; i < logic.GetPlayerCount(); ++i)
        if (Entity* player = logic.GetPlayer(static_cast<int>(i)))
            if (auto* data = player->GetComponent<PlayerDataComponent>())
                data->canControl = control;
}

void SetThemesPaused(SoundSystem& sound, bool paused)
{
    if (paused) {
        sound.PauseSong(MenuScreen::kMenuTheme, SoundSystem::SongTable);
        sound.PauseSong(MenuScreen::kGameplayTheme, SoundSystem::SongTable);
    } else {
        sound.ResumeSong(MenuScreen::kGameplayTheme, SoundSystem::SongTable);
        sound.ResumeSong(MenuScreen::kMenuTheme, SoundSystem::SongTable);
    }
}

} // namespace

ZOR::float2 PauseMenu::Panel::Place(float u, float v) const
{
    return ZOR::float2(x + scaleX * u / kDesignWidth, y + scaleY * v / kDesignHeight);
}

PauseMenu::Panel PauseMenu::PanelFor(ZOR::float2 area)
{
    Panel panel;
    panel.scaleX = area.y * kPanelAspect;
    panel.scaleY = area.y;
    panel.x = (area.x - panel.scaleX) * 0.5f;
    panel.y = 0.0f;
    return panel;
}

ZOR::float2 PauseMenu::MainEntryPoint(unsigned entry)
{
    return ZOR::float2(kEntryX, kEntryTop + kEntryStep * static_cast<float>(entry));
}

ZOR::float2 PauseMenu::ConfirmPoint(unsigned choice)
{
    return ZOR::float2(kConfirmX, kConfirmTop + kConfirmStep * static_cast<float>(choice));
}

PauseMenu::PauseMenu() : MenuScreen("PauseMenu")
{
    MenuKeys& keys = GetKeys();
    keys.Keyboard(MenuCommand::Back) = {kBackspace, kEscape};
    keys.Keyboard(MenuCommand::Up).push_back(87);   // W
    keys.Keyboard(MenuCommand::Down).push_back(83); // S
}

PauseMenu::~PauseMenu() = default;

void PauseMenu::Start()
{
    if (SoundSystem* sound = GetSound()) {
        sound->PauseAll();
        PlaySelect();
        SetThemeVolume(*sound, kThemeVolume);
    }
    if (auto* logic = DefaultSystem<GameLogicSystem>())
        logic->SetGameplayActive(true);

    m_panel = PanelFor(GetOverlayArea());
    m_background = MakeSprite("bg", "2d_pause.mat", ZOR::float2(m_panel.x, m_panel.y), m_panel.scaleX,
                              m_panel.scaleY, 1.0f);
    const ZOR::float2 entry = MainEntryPoint(Resume);
    m_cursor = MakeSprite("cursor", "2d_cursor.mat", m_panel.Place(entry.x, entry.y), kMarkSize, kMarkSize, 1.0f);
    for (unsigned i = 0; i < SettingCount; ++i)
        m_checks[i] = MakeSprite("check", "2d_checkmark.mat", m_panel.Place(kCheckPoints[i].x, kCheckPoints[i].y),
                                 kMarkSize, kMarkSize, 0.0f);
    SuspendGameplay();
}

void PauseMenu::End()
{
    // Closing the program while paused: nothing is left to restore.
    if (ZOR::Window* window = ZOR::Window::Instance(); window && !window->IsAlive())
        return;
    ResumeGameplay();
    if (SoundSystem* sound = GetSound()) {
        sound->ResumeAll();
        SetThemeVolume(*sound, kOpenTheme);
    }
    // No pause opens in the next three frames: the request that closed the menu may still be
    // seen as a new one.
    if (auto* logic = DefaultSystem<GameLogicSystem>()) {
        logic->SetGameplayActive(false);
        if (auto* actions = DefaultSystem<ActionSystem>())
            actions->AddAction(MakeSequence(new WaitFrame(1), new WaitFrame(1), new WaitFrame(1),
                                            new SetValue(&logic->m_active, true)),
                               kReopenLane);
    }
    // The panel, cursor and checks go with the frame's own entities.
}

void PauseMenu::SuspendGameplay()
{
    if (auto* logic = DefaultSystem<GameLogicSystem>()) {
        logic->SetActive(false);
        SetPlayersControl(*logic, false);
    }
    if (auto* physics = DefaultSystem<PhysicsSystem3D>())
        physics->SetActive(false);
}

void PauseMenu::ResumeGameplay()
{
    if (auto* logic = DefaultSystem<GameLogicSystem>()) {
        logic->SetActive(true);
        logic->m_paused = false;
        SetPlayersControl(*logic, true);
        // The pause request blanked the score texts.
        logic->UpdateScoreText();
    }
    if (auto* physics = DefaultSystem<PhysicsSystem3D>())
        physics->SetActive(true);
}

void PauseMenu::Update(float dt)
{
    // Busy is read once, before any device acts: a tween started by one device this frame does
    // not hold back the next.
    m_busyThisFrame = m_busy;
    MenuScreen::Update(dt);
}

bool PauseMenu::HandleInput(int pad, bool withKeyboard)
{
    if (m_busyThisFrame || m_leaving)
        return false;
    Input* input = GetInput();
    if (!input || (pad > 0 && !input->IsConnected(pad)))
        return false;
    if (Pressed(MenuCommand::Activate, pad, withKeyboard))
        Select();
    else if (Pressed(MenuCommand::Back, pad, withKeyboard))
        Back();
    else if (Pressed(MenuCommand::Down, pad, withKeyboard))
        MoveDown();
    else if (Pressed(MenuCommand::Up, pad, withKeyboard))
        MoveUp();
    else if (input->KeyIsPressed(kPadStart, pad))
        Finish();
    else
        return false;
    return true;
}

void PauseMenu::UpdateScreen(float)
{
    if (m_busyThisFrame)
        return;
    if (m_page == HowToPlayPage) {
        Input* input = GetInput();
        bool padConnected = false;
        for (int pad = 0; input && pad < kPadCount && !padConnected; ++pad)
            padConnected = input->IsConnected(pad);
        SetPanelMaterial(padConnected ? "2d_htp_xbox.mat" : "2d_htp_keyboard.mat");
    } else if (m_page == OptionsPage && m_cursorIndex < SettingCount) {
        SetPanelMaterial(kOptionsPictures[m_cursorIndex]);
    }
}

void PauseMenu::Move(bool up)
{
    PlayHighlight();
    switch (m_page) {
    case MainPage: {
        if (up ? m_cursorIndex == Resume : m_cursorIndex + 1 >= EntryCount)
            return;
        m_cursorIndex = up ? m_cursorIndex - 1 : m_cursorIndex + 1;
        const ZOR::float2 to = m_panel.Place(0.0f, MainEntryPoint(m_cursorIndex).y);
        if (Transform2D* transform = ComponentOf<Transform2D>(m_cursor))
            RunBusy(new TweenTo(&transform->m_y, kCursorSeconds, to.y, Easing::kQuadraticOut, true, false));
        break;
    }
    case OptionsPage:
        if (up ? m_cursorIndex > 0 : m_cursorIndex + 1 < SettingCount)
            m_cursorIndex = up ? m_cursorIndex - 1 : m_cursorIndex + 1;
        break;
    case QuitToMenuPage:
    case QuitGamePage: {
        m_cursorIndex = m_cursorIndex == 0 ? 1 : 0;
        const ZOR::float2 to = m_panel.Place(0.0f, ConfirmPoint(m_cursorIndex).y);
        if (Transform2D* transform = ComponentOf<Transform2D>(m_cursor))
            RunBusy(new TweenTo(&transform->m_y, kCursorSeconds, to.y, Easing::kQuadraticOut, true, false));
        break;
    }
    default:
        break;
    }
}

void PauseMenu::Select()
{
    PlaySelect();
    switch (m_page) {
    case MainPage:
        SelectOnMain();
        break;
    case OptionsPage:
        if (m_cursorIndex < SettingCount)
            Toggle(static_cast<Setting>(m_cursorIndex));
        break;
    case QuitToMenuPage:
        if (m_cursorIndex == 1)
            LeaveForMainMenu();
        else
            BackToMain();
        break;
    case QuitGamePage:
        if (m_cursorIndex == 1)
            QuitProgram();
        else
            BackToMain();
        break;
    default:
        break;
    }
}

void PauseMenu::SelectOnMain()
{
    switch (m_cursorIndex) {
    case Resume:
        Finish();
        break;
    case HowToPlay:
        m_page = HowToPlayPage;
        SetCursorAlpha(0.0f);
        break;
    case Options: {
        m_page = OptionsPage;
        m_cursorIndex = 0;
        SetPanelMaterial(kOptionsPictures[0]);
        SetCursorAlpha(0.0f);
        SoundSystem* sound = GetSound();
        GraphicsSystem* graphics = GetGraphics();
        const bool on[SettingCount] = {sound && sound->IsMuteMusic(), sound && sound->IsMuteAll(),
                                       graphics && graphics->GetFullscreen()};
        for (unsigned i = 0; i < SettingCount; ++i) {
            SetAlpha(m_checks[i], 1.0f);
            if (Transform2D* transform = ComponentOf<Transform2D>(m_checks[i]))
                transform->m_scaleY = on[i] ? kMarkSize : 0.0f;
        }
        break;
    }
    case Credits:
        m_page = CreditsPage;
        SetPanelMaterial("2d_credits.mat");
        SetCursorAlpha(0.0f);
        break;
    default: // QuitToMenu, QuitGame
        m_page = m_cursorIndex == QuitToMenu ? QuitToMenuPage : QuitGamePage;
        m_cursorIndex = 0;
        SetCursorPlace(ConfirmPoint(0));
        SetPanelMaterial("2d_cda.mat");
        break;
    }
}

void PauseMenu::Toggle(Setting setting)
{
    SoundSystem* sound = GetSound();
    GraphicsSystem* graphics = GetGraphics();
    bool wasOn = false;
    if (setting == MuteMusic)
        wasOn = sound && sound->IsMuteMusic();
    else if (setting == MuteAll)
        wasOn = sound && sound->IsMuteAll();
    else
        wasOn = graphics && graphics->GetFullscreen();
    const bool on = !wasOn;

    SetAlpha(m_checks[setting], 1.0f);
    if (Transform2D* transform = ComponentOf<Transform2D>(m_checks[setting]))
        RunBusy(new TweenTo(&transform->m_scaleY, kCheckSeconds, on ? kMarkSize : 0.0f,
                            on ? Easing::kQuadraticOut : Easing::kBackIn, true, false));

    // Music follows both mutes at once; neither is written to config.ini.
    if (setting == Fullscreen) {
        if (graphics)
            graphics->SetFullscreen(on);
        return;
    }
    if (!sound)
        return;
    if (setting == MuteMusic)
        sound->SetMuteMusic(on);
    else
        sound->SetMuteAll(on);
    const bool otherMute = setting == MuteMusic ? sound->IsMuteAll() : sound->IsMuteMusic();
    if (on)
        SetThemesPaused(*sound, true);
    else if (!otherMute)
        SetThemesPaused(*sound, false);
}

void PauseMenu::Back()
{
    PlaySelect();
    switch (m_page) {
    case MainPage:
        Finish();
        break;
    case HowToPlayPage:
    case OptionsPage:
    case CreditsPage:
        if (Transform2D* transform = ComponentOf<Transform2D>(m_cursor))
            transform->m_y = m_panel.Place(0.0f, MainEntryPoint(Resume).y).y;
        SetCursorAlpha(1.0f);
        SetPanelMaterial("2d_pause.mat");
        m_cursorIndex = Resume;
        m_page = MainPage;
        SetChecksAlpha(0.0f);
        break;
    default:
        break;
    }
}

void PauseMenu::BackToMain()
{
    SetCursorPlace(MainEntryPoint(Resume));
    SetCursorAlpha(1.0f);
    SetPanelMaterial("2d_pause.mat");
    m_page = MainPage;
    m_cursorIndex = Resume;
}

void PauseMenu::LeaveForMainMenu()
{
    m_busy = true;
    m_leaving = true;
    auto* actions = DefaultSystem<ActionSystem>();
    if (!actions) {
        std::printf("Warning: no ActionSystem; the pause menu cannot leave for the main menu\n");
        return;
    }
    // The menu goes three frames after the level, its own entities with it; the handle reads
    // null should it have ended some other way meanwhile.
    auto self = std::make_shared<ActionHandle>(this);
    actions->AddAction(MakeSequence(new BoxIn(1.0f, 15, 15), new Invoke([] {
                                        if (Engine* engine = Engine::Existing())
                                            engine->DestroyDefaultEntities();
                                    }),
                                    new WaitFrame(1), new WaitFrame(1), new WaitFrame(1),
                                    new Invoke([self] { self->Cancel(); }), new MainMenu(true)),
                       kQuitLane);
    if (auto* logic = DefaultSystem<GameLogicSystem>())
        logic->ResetScores();
}

void PauseMenu::QuitProgram()
{
    // The main loop stops at its next frame and the whole teardown runs; End finds the window
    // gone and restores nothing.
    m_busy = true;
    m_leaving = true;
    if (ZOR::Window* window = ZOR::Window::Instance())
        window->Kill();
    else
        std::printf("Warning: no window to close; the pause menu's quit does nothing\n");
}

Entity* PauseMenu::MakeSprite(const char* base, const char* material, ZOR::float2 place, float width, float height,
                              float alpha)
{
    Entity* entity = CreateEntity(base, true);
    if (!entity)
        return nullptr;
    if (auto* transform = entity->AddComponent<Transform2D>(true)) {
        transform->m_x = place.x;
        transform->m_y = place.y;
        transform->m_scaleX = width;
        transform->m_scaleY = height;
    }
    if (auto* sprite = entity->AddComponent<GraphicsComponent2D>(true)) {
        sprite->SetMaterial(material);
        sprite->SetAlpha(alpha);
    }
    return entity;
}

void PauseMenu::SetPanelMaterial(const char* material)
{
    // The pages that follow the pads or the cursor ask every frame: a material set again would
    // re-sort the overlays each time.
    GraphicsComponent2D* sprite = SpriteOf(m_background);
    if (sprite && sprite->m_materialName != material)
        sprite->SetMaterial(material);
}

void PauseMenu::SetCursorPlace(ZOR::float2 designPoint)
{
    if (Transform2D* transform = ComponentOf<Transform2D>(m_cursor)) {
        const ZOR::float2 place = m_panel.Place(designPoint.x, designPoint.y);
        transform->m_x = place.x;
        transform->m_y = place.y;
    }
}

void PauseMenu::SetCursorAlpha(float alpha)
{
    SetAlpha(m_cursor, alpha);
}

void PauseMenu::SetChecksAlpha(float alpha)
{
    for (const EntityRef& check : m_checks)
        SetAlpha(check, alpha);
}

void PauseMenu::RunBusy(Action* tween)
{
    m_busy = true;
    RunTracked(MakeSequence(tween, new SetValue(&m_busy, false)), kTweenLane);
}

} // namespace quellor
