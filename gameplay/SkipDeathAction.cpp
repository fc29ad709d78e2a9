#include "gameplay/SkipDeathAction.h"

#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Input.h"
#include "engine/ObjectSystem.h"
#include "engine/Transform2D.h"
#include "engine/Transform3D.h"
#include "engine/graphics/EmitterComponent.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/graphics/TextComponent.h"
#include "engine/reflection/MetaRegistrar.h"
#include "gameplay/AnimationControllerComponent.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/cameras/CameraPlacement.h"
#include "gameplay/cameras/ThirdPersonCameraComponent.h"
#include "physics/RigidBodyComponent3D.h"
#include "platform/InputSource.h"

namespace quellor {

QUELLOR_RECORD(SkipDeathAction, Action, DerivedMetaNotPODNoDefNoCopy, NoID) {}

namespace {

Entity* Live(const EntityRef& ref)
{
    Entity* entity = ref.Get();
    return entity && !entity->IsDestroyed() ? entity : nullptr;
}

} // namespace

SkipDeathAction::SkipDeathAction(float duration, int controller, Action* other, Entity* body)
    : Action(true), m_timeLeft(duration), m_controller(controller), m_other(other), m_body(body)
{
    m_onStarted.Connect(MakeDelegate(this, &SkipDeathAction::Start), 0);
    m_onCancelled.Connect(MakeDelegate(this, &SkipDeathAction::Cancelled), 0);
    if (auto* animation = body ? body->GetComponent<AnimationControllerComponent>() : nullptr)
        animation->ClearMove();
}

SkipDeathAction::~SkipDeathAction() = default;

std::string SkipDeathAction::Prompt() const
{
    if (m_controller >= 1)
        return kPadPrompt;
    const auto* input = DefaultSystem<Input>();
    return input && input->IsConnected(0) ? kPadPrompt : kKeyboardPrompt;
}

void SkipDeathAction::Start()
{
    if (!Engine::Existing())
        return;
    if (m_controller >= 0) {
        // The prompt sits on the dead player's own view, a third across and low down.
        const int screen = ScreenOf(m_body.Get());
        auto* graphics = DefaultSystem<GraphicsSystem>();
        if (Entity* text = graphics ? ObjectSystem::CreateUniqueEntity(kTextName) : nullptr) {
            const ZOR::float2 size = graphics->GetOrthographicProjectionSize(screen);
            if (auto* transform = text->AddComponent<Transform2D>(true)) {
                transform->m_x = size.x * 0.33333334f;
                transform->m_y = size.y * 0.8f;
                transform->m_scaleX = 1.0f;
                transform->m_scaleY = 1.0f;
            }
            auto* line = new TextComponent;
            line->SetFont(kFont);
            line->SetFontTexture(kFontTexture);
            line->m_color = Vec4(0.0f, 0.0f, 0.0f, 1.0f);
            line->SetScreenID(screen);
            line->SetValue(Prompt());
            text->AddComponent(TextComponent::ID, line, true);
            m_text = text;
        }
    }
    if (Entity* effect = ObjectSystem::CreateUniqueEntity(kEffectName)) {
        effect->AddComponent<Transform3D>(true);
        auto* emitter = new EmitterComponent;
        emitter->SetParticleEmitterFile(kEffectFile);
        effect->AddComponent(EmitterComponent::ID, emitter, true);
        emitter->Emit(true);
        m_effect = effect;
    }
}

bool SkipDeathAction::SkipPressed() const
{
    const auto* input = DefaultSystem<Input>();
    if (!input)
        return false;
    if (m_controller <= 0 && (input->KeyIsPressed(kBackspaceKey, -1) || input->KeyIsPressed(kXKey, -1)))
        return true;
    // Only a pad's own slot reads its X: a computer player's -1 would read the keyboard.
    return m_controller >= 0 && m_controller < platform::PadCount && input->KeyIsPressed(kPadX, m_controller);
}

void SkipDeathAction::Update(float dt)
{
    if (IsFinished())
        return;
    const auto* logic = DefaultSystem<GameLogicSystem>();
    if (logic && !logic->m_winEnabled) {
        End(); // the match is ending: the camera sequence is left alone
        return;
    }
    const bool skipped = SkipPressed();
    if (!skipped && m_timeLeft > 0.0f) {
        Entity* text = Live(m_text);
        Entity* effect = Live(m_effect);
        Entity* body = Live(m_body);
        if (text && effect && body) {
            if (auto* line = text->GetComponent<TextComponent>())
                line->SetValue(logic && logic->m_paused ? kPausedPrompt : Prompt());
            const auto* rigidBody = body->GetComponent<RigidBodyComponent3D>();
            auto* place = effect->GetComponent<Transform3D>();
            if (rigidBody && place) {
                const Vec4 centre = rigidBody->GetCenterOfMass();
                place->SetPosition(centre.x, centre.y, centre.z);
            }
            m_timeLeft -= dt;
            return;
        }
        // A prompt, effect or body gone (a computer player never has a prompt).
        m_other.Cancel();
        End();
        return;
    }
    if (skipped)
        m_other.Cancel();
    if (Entity* effect = Live(m_effect))
        if (auto* emitter = effect->GetComponent<EmitterComponent>())
            emitter->Emit(false);
    End();
}

void SkipDeathAction::RemoveEntities()
{
    for (EntityRef* ref : {&m_text, &m_effect})
        if (Entity* entity = Live(*ref))
            entity->Destroy();
}

void SkipDeathAction::End()
{
    RemoveEntities();
    Finish();
}

} // namespace quellor
