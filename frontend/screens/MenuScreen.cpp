#include "frontend/screens/MenuScreen.h"

#include "engine/ActionList.h"
#include "engine/ActionSystem.h"
#include "engine/Easing.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Input.h"
#include "engine/ObjectSystem.h"
#include "engine/SetValue.h"
#include "engine/SoundSystem.h"
#include "engine/Transform2D.h"
#include "engine/TweenTo.h"
#include "engine/graphics/GraphicsComponent2D.h"
#include "engine/graphics/GraphicsSystem.h"
#include "renderer/Camera.h"

#include <cstdio>

namespace quellor {

namespace {

constexpr int kPadCount = 4;

} // namespace

MenuKeys MenuKeys::Standard()
{
    MenuKeys keys;
    keys.Keyboard(MenuCommand::Up) = {38};
    keys.Pad(MenuCommand::Up) = {0, 20, 24};
    keys.Keyboard(MenuCommand::Down) = {40};
    keys.Pad(MenuCommand::Down) = {1, 21, 25};
    keys.Keyboard(MenuCommand::Activate) = {13, 32};
    keys.Pad(MenuCommand::Activate) = {10};
    keys.Pad(MenuCommand::Back) = {11};
    return keys;
}

MenuScreen::MenuScreen(std::string name) : Action(true), m_name(std::move(name))
{
    m_onStarted.Connect(MakeDelegate(this, &MenuScreen::OnStarted), 0);
    m_onEnded.Connect(MakeDelegate(this, &MenuScreen::OnEnded), 0);
}

MenuScreen::~MenuScreen() = default;

void MenuScreen::OnStarted()
{
    m_begun = true;
    Start();
}

void MenuScreen::OnEnded()
{
    // Flows first, so that no tween writes into an entity or a field that goes next.
    m_flows.CancelAll();
    if (m_begun)
        End();
    DestroyOwnEntities();
}

void MenuScreen::Update(float dt)
{
    if (m_drivesCamera)
        ApplyCamera();
    if (m_ready)
        WalkInput();
    if (!IsFinished())
        UpdateScreen(dt);
}

void MenuScreen::WalkInput()
{
    for (int pad = 0; pad < kPadCount; ++pad) {
        const bool acted = HandleInput(pad, pad == 0);
        // A screen that has handed over, ended or started an animation reads no more input,
        // whatever its walk rule: a second press would open a second successor.
        if (m_handedOver || IsFinished() || !m_ready)
            return;
        if (acted && !WalksOnAfterAction())
            return;
    }
}

bool MenuScreen::Pressed(MenuCommand command, int pad, bool withKeyboard) const
{
    return PressedOnPad(command, pad) || (withKeyboard && PressedOnKeyboard(command));
}

bool MenuScreen::PressedOnPad(MenuCommand command, int pad) const
{
    const Input* input = GetInput();
    if (!input)
        return false;
    for (int code : m_keys.pad[static_cast<std::size_t>(command)])
        if (input->KeyIsPressed(code, pad))
            return true;
    return false;
}

bool MenuScreen::PressedOnKeyboard(MenuCommand command) const
{
    const Input* input = GetInput();
    if (!input)
        return false;
    for (int code : m_keys.keyboard[static_cast<std::size_t>(command)])
        if (input->KeyIsPressed(code, -1))
            return true;
    return false;
}

Entity* MenuScreen::CreateEntity(const std::string& name, bool uniqueName, bool outlastsScreen)
{
    Engine* engine = Engine::Existing();
    if (!engine)
        return nullptr;
    Entity* entity = uniqueName ? ObjectSystem::CreateUniqueEntity(name) : engine->CreateEntity(name, kSpace);
    if (entity && !outlastsScreen)
        m_entities.emplace_back(entity);
    return entity;
}

Entity* MenuScreen::CreateOverlay(const std::string& name, const std::string& material)
{
    Entity* entity = CreateEntity(name);
    if (!entity)
        return nullptr;
    entity->AddComponent<Transform2D>(true);
    if (auto* sprite = entity->AddComponent<GraphicsComponent2D>(true))
        sprite->SetMaterial(material);
    return entity;
}

Entity* MenuScreen::FindLevelEntity(const std::string& name)
{
    Engine* engine = Engine::Existing();
    Entity* entity = engine ? engine->GetEntity(name, kSpace) : nullptr;
    if (!entity && m_missing.insert(name).second)
        std::printf("Warning: the level has no entity \"%s\"; %s goes on without it\n", name.c_str(), m_name.c_str());
    return entity;
}

ZOR::float2 MenuScreen::GetOverlayArea() const
{
    GraphicsSystem* graphics = GetGraphics();
    return graphics ? graphics->GetOrthographicProjectionSize(-1) : ZOR::float2(0.0f, 0.0f);
}

void MenuScreen::PlaceCentered(Transform2D& transform, float width, float height) const
{
    const ZOR::float2 area = GetOverlayArea();
    transform.m_x = area.x * 0.5f - width / 2.0f;
    transform.m_y = area.y * 0.5f - height / 2.0f;
    transform.m_scaleX = width;
    transform.m_scaleY = height;
}

void MenuScreen::PlaceFullScreen(Transform2D& transform) const
{
    const ZOR::float2 area = GetOverlayArea();
    transform.m_x = 0.0f;
    transform.m_y = 0.0f;
    transform.m_scaleX = area.x;
    transform.m_scaleY = area.y;
}

void MenuScreen::ReadCamera()
{
    m_drivesCamera = true;
    GraphicsSystem* graphics = GetGraphics();
    if (!graphics)
        return;
    const ZOR::Camera& camera = graphics->GetActiveCamera(-1);
    const ZOR::float3& position = camera.GetPosition();
    m_cameraPosition = Vec4(position.x, position.y, position.z, 1.0f);
    // The view matrix's third row is the camera's backward axis.
    const float* view = camera.GetViewMatrix().m;
    m_cameraLook = Vec4(-view[8], -view[9], -view[10], 0.0f);
}

void MenuScreen::StartGlide(const Vec4& position, const Vec4& look, float duration, int lane,
                            const std::vector<Action*>& before)
{
    std::vector<Action*> steps = {MakeCameraTweens(position, look, duration)};
    steps.insert(steps.end(), before.begin(), before.end());
    RunThenReady(steps, lane);
}

void MenuScreen::JumpCamera(const Vec4& position, const Vec4& look)
{
    m_drivesCamera = true;
    m_cameraPosition = position;
    m_cameraLook = look;
    ApplyCamera();
}

void MenuScreen::RunThenReady(const std::vector<Action*>& steps, int lane)
{
    auto* sequence = new ActionList(true, true);
    for (Action* step : steps) {
        if (!step)
            continue;
        step->Block();
        sequence->PushBack(step, 0);
    }
    auto* ready = new SetValue(&m_ready, true);
    ready->Block();
    sequence->PushBack(ready, 0);
    m_ready = false;
    RunTracked(sequence, lane);
}

ActionList* MenuScreen::MakeCameraTweens(const Vec4& position, const Vec4& look, float duration)
{
    ReadCamera();
    auto tween = [duration](float* field, float to) {
        return new TweenTo(field, duration, to, Easing::kLinear, true, false);
    };
    return MakeParallel(tween(&m_cameraPosition.x, position.x), tween(&m_cameraPosition.y, position.y),
                        tween(&m_cameraPosition.z, position.z), tween(&m_cameraLook.x, look.x),
                        tween(&m_cameraLook.y, look.y), tween(&m_cameraLook.z, look.z));
}

void MenuScreen::ApplyCamera()
{
    GraphicsSystem* graphics = GetGraphics();
    if (!graphics)
        return;
    ZOR::Camera& camera = graphics->GetActiveCamera(-1);
    camera.SetPosition(m_cameraPosition.x, m_cameraPosition.y, m_cameraPosition.z);
    camera.LookAt(ZOR::float3(m_cameraLook.x, m_cameraLook.y, m_cameraLook.z), ZOR::float3(0.0f, 1.0f, 0.0f));
}

Action* MenuScreen::RunTracked(Action* flow, int lane)
{
    auto* actions = DefaultSystem<ActionSystem>();
    if (!actions) {
        std::printf("Warning: no ActionSystem; %s drops a flow\n", m_name.c_str());
        delete flow;
        return nullptr;
    }
    actions->AddAction(flow, lane);
    return m_flows.Track(flow);
}

void MenuScreen::PlayHighlight() const
{
    if (SoundSystem* sound = GetSound())
        sound->Play(kHighlightCue, 0);
}

void MenuScreen::PlaySelect() const
{
    if (SoundSystem* sound = GetSound())
        sound->Play(kSelectCue, 0);
}

void MenuScreen::StartMenuTheme(SoundSystem* sound)
{
    if (!sound || sound->IsPlaying(kMenuTheme, SoundSystem::SongTable))
        return;
    if (sound->IsPlaying(kGameplayTheme, SoundSystem::SongTable))
        sound->StopSong(kGameplayTheme, SoundSystem::SongTable);
    sound->SetLooping(kMenuTheme, true, SoundSystem::SongTable);
    sound->PlaySong(kMenuTheme);
    sound->SetVolume(sound->GetChannel(kMenuTheme, SoundSystem::SongTable), kMenuThemeVolume);
}

void MenuScreen::HandOver(Action* next)
{
    if (m_handedOver || IsFinished()) {
        delete next;
        return;
    }
    if (ActionList* owner = GetOwnerList()) {
        owner->PushBack(next, 0);
    } else {
        std::printf("Warning: %s runs in no list; the next screen is dropped\n", m_name.c_str());
        delete next;
    }
    m_handedOver = true;
    Finish();
}

Input* MenuScreen::GetInput() const
{
    return DefaultSystem<Input>();
}

SoundSystem* MenuScreen::GetSound() const
{
    return DefaultSystem<SoundSystem>();
}

GraphicsSystem* MenuScreen::GetGraphics() const
{
    return DefaultSystem<GraphicsSystem>();
}

void MenuScreen::DestroyOwnEntities()
{
    for (EntityRef& ref : m_entities)
        DestroyRef(ref);
    m_entities.clear();
}

} // namespace quellor
