#include "gameplay/ShooterInput.h"

#include "engine/ActionList.h"
#include "engine/ActionSystem.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Finite.h"
#include "engine/Input.h"
#include "engine/SoundSystem.h"
#include "engine/TweenTo.h"
#include "engine/graphics/GraphicsComponent3DSkinned.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/reflection/Mat4.h"
#include "engine/reflection/MetaRegistrar.h"
#include "gameplay/AimAssistComponent.h"
#include "gameplay/AnimationControllerComponent.h"
#include "gameplay/AttackManager.h"
#include "gameplay/CharacterMotor3D.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/OrbComponent.h"
#include "gameplay/PlayerBody.h"
#include "gameplay/PlayerDataComponent.h"
#include "gameplay/PlayerUtil.h"
#include "gameplay/cameras/ThirdPersonCameraComponent.h"
#include "gameplay/effects/ArmChargeComponent.h"
#include "gameplay/effects/OrbChargeComponent.h"
#include "physics/BoxColliderComponent3D.h"
#include "physics/RigidBodyComponent3D.h"
#include "platform/InputSource.h"
#include "renderer/ParticleEmitter.h"
#include "renderer/PointLight.h"
#include "renderer/dx11/RenderContext.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace quellor {

QUELLOR_RECORD(ShooterInput, Action, DerivedMetaNotPODNoCopy, NoID) {}

namespace {

constexpr int kAllScreens = 4;

bool ValidScreen(int screen) { return screen >= 0 && screen < ZOR::Renderable::kScreenCount; }

// Names the first missing required sibling, or null.
template <typename T>
const std::string* Missing(const Entity& player, T*& found)
{
    found = player.GetComponent<T>();
    return found ? nullptr : &T::ID;
}

} // namespace

ShooterInput::ShooterInput()
{
    m_onStarted.Connect(MakeDelegate(this, &ShooterInput::Initialize), 0);
    m_onCancelled.Connect(MakeDelegate(this, &ShooterInput::OnCancelled), 0);
}

ShooterInput::~ShooterInput() = default;

bool ShooterInput::FindSiblings(Entity& player)
{
    GraphicsComponent3DSkinned* skinned = nullptr;
    const std::string* missing = Missing(player, m_body);
    if (!missing)
        missing = Missing(player, m_data);
    if (!missing)
        missing = Missing(player, m_motor);
    if (!missing)
        missing = Missing(player, skinned);
    if (!missing)
        missing = Missing(player, m_animation);
    if (!missing)
        return true;
    ZOR::Log("ShooterInput: player \"%s\" has no %s; it is not set up and takes no input", player.GetName().c_str(),
             missing->c_str());
    return false;
}

template <typename T>
T* ShooterInput::AddPart(Entity& player, T* part)
{
    const std::string& key = T::ID;
    if (player.HasComponent(key))
        ZOR::Log("ShooterInput: player \"%s\" already holds %s; the set-up uses that one", player.GetName().c_str(),
                 key.c_str());
    auto* held = dynamic_cast<T*>(player.AddComponent(key, part, true));
    if (!held)
        ZOR::Log("ShooterInput: player \"%s\" holds something else under %s; that part stays off",
                 player.GetName().c_str(), key.c_str());
    return held;
}

void ShooterInput::Initialize()
{
    Entity* player = GetEntity();
    if (!player) {
        ZOR::Log("ShooterInput: started outside a player entity; it takes no input");
        m_inert = true;
        return;
    }
    if (!FindSiblings(*player)) {
        m_inert = true;
        return;
    }
    m_initialized = true;
    m_secondaryHeld = false;
    m_orbFireBlocked = false;
    m_chargeTime = 0.0f;
    m_chargeDelay = kChargeDelay;
    m_fireCooldown = 0.0f;
    m_player = player;
    m_controllerID = m_data->controllerID;

    m_orb = AddPart(*player, new OrbComponent);
    m_armCharge = AddPart(*player, new ArmChargeComponent);
    if (player->HasComponent(BoxColliderComponent3D::ID) || player->HasComponent(PlayerBody::kFloorSensorKey))
        ZOR::Log("ShooterInput: player \"%s\" already holds a body box or floor sensor; the set-up uses them",
                 player->GetName().c_str());
    PlayerBody::AddBodyBox(*player);
    PlayerBody::AddFloorSensor(*player, PlayerBody::SensorTag::Character);
    m_attacks = AddPart(*player, new AttackManager);
    m_input = GetSystem<Input>();
    const Vec4 centre = m_body->GetCenterOfMass();
    m_data->m_spawnRefPoint = Vec4(centre.x, centre.y + 20.0f, centre.z, centre.w);
    m_data->m_liftInUse = false;

    m_camera = AddPart(*player, new ThirdPersonCameraComponent);
    if (m_camera) {
        m_camera->SetTarget(player);
        m_camera->SetEnabled(false);
        m_camera->DestroyReticle(m_controllerID);
    }
    // The level intro gives control back.
    m_data->canControl = false;
    if (GameLogicSystem* logic = DefaultSystem<GameLogicSystem>())
        logic->AddPlayer(m_controllerID, player, false, true);
    m_screen = ScreenOf(player);
    // The motor places the body.
    PlayerBody::SetBodyType(*player);
    AddPart(*player, new AimAssistComponent);

    GraphicsSystem* graphics = DefaultSystem<GraphicsSystem>();
    m_light = std::make_unique<ZOR::PointLight>();
    if (graphics)
        graphics->AddRenderable(static_cast<ZOR::Renderable*>(m_light.get()));
    m_light->SetVisible(false, kAllScreens);
    m_light->SetColor(0.0f, 0.75f, 1.0f);
    m_light->SetRadius(kLightRadius);

    m_orbCharge = AddPart(*player, new OrbChargeComponent);

    m_emitter = std::make_unique<ZOR::ParticleEmitter>();
    if (graphics)
        graphics->AddRenderable(static_cast<ZOR::Renderable*>(m_emitter.get()));
    if (!m_emitter->Load(kChargeEmitter))
        ZOR::Log("ShooterInput: the charge emitter \"%s\" did not load", kChargeEmitter.c_str());
    m_emitter->Emit(false);
    m_spin = 0.0f;
    m_minSpeed = kMinParticleSpeed;
    m_maxSpeed = kMaxParticleSpeed;

    m_animation->SetMoveX(1.0f);
    m_animation->SetMoveY(1.0f);
    m_animation->SetAimX(1.0f);
    m_animation->SetAimY(1.0f);
}

void ShooterInput::OnCancelled()
{
    if (!m_initialized)
        return;
    m_initialized = false;
    // The archetype's components are gone by now: only what the set-up kept is used.
    if (m_chargeVisualOn)
        StopChargeSound();
    if (GameLogicSystem* logic = DefaultSystem<GameLogicSystem>())
        logic->RemovePlayer(m_controllerID, const_cast<Entity*>(m_player));
    GraphicsSystem* graphics = DefaultSystem<GraphicsSystem>();
    if (graphics) {
        graphics->RemoveRenderable(static_cast<ZOR::Renderable*>(m_emitter.get()));
        // The light goes too, or the renderer would read it after the action is deleted.
        graphics->RemoveRenderable(static_cast<ZOR::Renderable*>(m_light.get()));
        if (ValidScreen(m_screen))
            graphics->DisableEffect(ZOR::RenderSystem::RadialBlur, m_screen);
    }
    m_emitter.reset();
    m_light.reset();
}

bool ShooterInput::KeyboardPlayer() const
{
    return m_data->controllerID <= 0;
}

bool ShooterInput::MouseWeapons() const
{
    return KeyboardPlayer() && !m_input->IsConnected(0);
}

int ShooterInput::Pad() const
{
    return m_data->controllerID;
}

bool ShooterInput::PadPressed(int code) const
{
    // Controller -1 reads the keyboard, where the pad's codes are other keys (8 is Backspace).
    return Input::ValidPad(Pad()) && m_input->KeyIsPressed(code, Pad());
}

void ShooterInput::Update(float dt)
{
    if (!m_initialized || !m_input)
        return;
    if (m_input->KeyIsDown(kKeyCtrl, kKeyboard) && m_input->KeyIsPressed(kKeyS, kKeyboard))
        if (GameLogicSystem* logic = DefaultSystem<GameLogicSystem>())
            logic->AddScore(m_data->playerTeam);

    if (m_data->canControl) {
        ReadCameraAxes();
        FaceVelocity();
        UpdateAim(dt);
    }
    if (m_data->canControl && !(m_data->m_stunTimer > 0.0f)) {
        UpdateMovement(dt);
        UpdateOrb(dt);
        UpdateSecondary();
    } else if (m_data->m_charging || m_chargeVisualOn) {
        // Knocked back, knocked out, or control taken by the intro, the pause or the win: the
        // charge ends without a shot, or its loop and glow would carry on until the next one.
        StopCharging(0.0f);
        if (m_orb)
            m_orb->m_currentCharge = 0.0f;
    }
    PlaceChargeVisuals(dt);
}

void ShooterInput::ReadCameraAxes()
{
    if (!m_camera)
        return;
    m_right = FiniteOrZero(m_camera->GetRight());
    m_forward = FiniteOrZero(m_camera->GetForward());
}

void ShooterInput::FaceVelocity()
{
    const Vec4 velocity = FiniteOrZero(m_motor->GetVelocity());
    const float length = std::sqrt(velocity.x * velocity.x + velocity.z * velocity.z);
    if (!(length > kStillSpeed))
        return;
    // A turn about y whose third column is the horizontal velocity: a body faces along its +z, as
    // the bots' turns and the character model do, so a runner shows its back to its camera.
    const float s = velocity.x / length;
    const float c = velocity.z / length;
    Mat4 rotation;
    rotation.m00 = c;
    rotation.m02 = s;
    rotation.m20 = -s;
    rotation.m22 = c;
    m_body->SetRotation(rotation);
}

void ShooterInput::UpdateAim(float dt)
{
    const int pad = Pad();
    const float xSpeed = FiniteOrZero(m_data->xAimSpeed);
    const float ySpeed = FiniteOrZero(m_data->yAimSpeed);
    const float x = FiniteOrZero(m_input->GetRightJoyStickXRaw(pad));
    float y = FiniteOrZero(m_input->GetRightJoyStickYRaw(pad));
    if (!m_data->m_invertLook)
        y = -y;
    float yaw = 0.0f;
    float pitch = 0.0f;
    if (std::fabs(x) > kLookThreshold)
        yaw += -xSpeed * x * dt;
    if (std::fabs(y) > kLookThreshold)
        pitch += ySpeed * y * dt;
    if (KeyboardPlayer()) {
        if (m_input->KeyIsDown(kKeyLeft, kKeyboard))
            yaw += xSpeed * dt;
        if (m_input->KeyIsDown(kKeyRight, kKeyboard))
            yaw -= xSpeed * dt;
        if (m_input->KeyIsDown(kKeyUp, kKeyboard))
            pitch -= ySpeed * dt;
        if (m_input->KeyIsDown(kKeyDown, kKeyboard))
            pitch += ySpeed * dt;
        if (!m_input->IsConnected(0)) {
            const Vec2 mouse = m_input->GetMouseDelta();
            yaw -= FiniteOrZero(mouse.x) * dt * kMouseLook;
            pitch += FiniteOrZero(mouse.y) * dt * kMouseLook;
        }
    }
    pitch = std::clamp(FiniteOrZero(pitch), -kMaxPitchStep, kMaxPitchStep);
    if (m_camera)
        m_camera->Rotate(FiniteOrZero(yaw), -pitch);
}

void ShooterInput::UpdateMovement(float)
{
    const int pad = Pad();
    float x = FiniteOrZero(m_input->GetLeftJoyStickXRaw(pad));
    float y = FiniteOrZero(m_input->GetLeftJoyStickYRaw(pad));
    const float xDeadZone = FiniteOrZero(m_data->xDeadZone);
    const float yDeadZone = FiniteOrZero(m_data->yDeadZone);
    if (-xDeadZone < x && x < xDeadZone)
        x = 0.0f;
    if (-yDeadZone < y && y < yDeadZone)
        y = 0.0f;

    const ZOR::float3 right(m_right.x, m_right.y, m_right.z);
    const ZOR::float3 forward(m_forward.x, m_forward.y, m_forward.z);
    ZOR::float3 d = right * x + forward * y;
    float ax = std::fabs(x);
    float ay = std::fabs(y);
    if (ax == 0.0f && ay == 0.0f) {
        ax = 1.0f;
        ay = 1.0f;
    }
    if (KeyboardPlayer()) {
        if (m_input->KeyIsDown(kKeyW, kKeyboard))
            d += forward;
        if (m_input->KeyIsDown(kKeyS, kKeyboard))
            d -= forward;
        if (m_input->KeyIsDown(kKeyD, kKeyboard))
            d += right;
        if (m_input->KeyIsDown(kKeyA, kKeyboard))
            d -= right;
    }
    const float lengthSquared = d.x * d.x + d.y * d.y + d.z * d.z;
    if (lengthSquared > 0.01f)
        d *= 1.0f / std::sqrt(lengthSquared);
    // Keys always move at full magnitude; the stick in proportion to its deflection.
    const float magnitude = std::min(1.0f, std::sqrt(ax * ax + ay * ay));
    // The motor moves on the ground plane: y and w stay 0.
    m_motor->m_moveInput = Vec4(d.x * magnitude, 0.0f, d.z * magnitude, 0.0f);

    // Footsteps follow the move itself, in every direction and from the keys too.
    const bool moving = m_motor->m_moveInput.x != 0.0f || m_motor->m_moveInput.z != 0.0f;
    SoundSystem* sound = DefaultSystem<SoundSystem>();
    if (moving && m_data->m_onGround && sound && !sound->IsPlaying(kFootstepSound, m_controllerID))
        sound->Play(kFootstepSound, m_controllerID);

    m_animation->SetMoveX(m_motor->m_moveInput.x);
    m_animation->SetMoveY(m_motor->m_moveInput.z);
    m_animation->SetAimX(-m_forward.x);
    m_animation->SetAimY(-m_forward.z);
    if (m_camera) {
        const float limit = m_camera->GetPitchLimit();
        m_animation->SetAimPitch(limit != 0.0f ? FiniteOrZero(m_camera->GetPitch() / limit) : 0.0f);
    }

    const bool jump = (KeyboardPlayer() && m_input->KeyIsPressed(kKeyLeftShift, kKeyboard)) || PadPressed(kPadA) ||
                      PadPressed(kPadLeftShoulder);
    if (jump && m_data->m_onGround && !m_data->m_isLifted) {
        m_motor->m_jumpRequested = true;
        if (sound)
            sound->Play(kJumpSound, m_controllerID);
    }
}

void ShooterInput::UpdateOrb(float dt)
{
    const int pad = Pad();
    const bool mouse = MouseWeapons();
    const bool fire = !m_orbFireBlocked && m_fireCooldown <= 0.0f &&
                      (m_input->RightTriggerIsReleased(pad) ||
                       (mouse && (m_input->KeyIsReleased(kMouseRight, kKeyboard) ||
                                  m_input->KeyIsReleased(kKeyQ, kKeyboard))));
    if (fire)
        Fire();
    // Q charges on its release only: a quick tap has fired above and started the cooldown.
    const bool charge = m_fireCooldown <= 0.0f &&
                        (m_input->GetRightTrigger(pad) > 0 ||
                         (mouse && (m_input->KeyIsDown(kMouseRight, kKeyboard) ||
                                    m_input->KeyIsReleased(kKeyQ, kKeyboard))));
    if (charge)
        Charge(dt);
    else
        StopCharging(dt);
    if (m_orb)
        m_orb->m_currentCharge = m_chargeTime;
}

void ShooterInput::Fire()
{
    if (m_orb)
        m_orb->Fire(m_chargeTime);
    if (m_armCharge)
        m_armCharge->Start();
    m_chargeTime = 0.0f;
    m_fireCooldown = kFireCooldown;
    m_animation->SetOrbBlast(0.5f, 0.3f);
    ResetChargeVisuals();
    m_light->SetRadius(kIdleLightRadius);
    m_light->SetIntensity(0.0f);
    // Stopped here and on the first idle frame only: a stop on every idle frame would queue a
    // shrink that hides the next charge's sphere.
    if (m_orbCharge)
        m_orbCharge->StopCharge();
    m_chargeVisualOn = false;
}

void ShooterInput::Charge(float dt)
{
    if (!m_data->m_charging) {
        m_emitter->Emit(true);
        m_light->SetVisible(true, kAllScreens);
        if (m_orbCharge)
            m_orbCharge->StartCharge();
        m_chargeVisualOn = true;
    }
    if (SoundSystem* sound = DefaultSystem<SoundSystem>()) {
        sound->SetLooping(kChargeSound, true, m_controllerID);
        if (!sound->IsPlaying(kChargeSound, m_controllerID))
            sound->Play(kChargeSound, m_controllerID);
    }
    if (m_chargeDelay <= 0.0f) {
        m_chargeTime += dt;
        m_spin += dt * 10.0f;
        m_emitter->SetAngularVelocity(-m_spin, m_spin);
        m_minSpeed += dt * 2.0f;
        m_maxSpeed += dt * 2.0f;
        m_emitter->SetSpeed(m_minSpeed, m_maxSpeed);
        m_light->SetRadius(m_light->GetRadius() + dt * 3.0f);
        m_light->SetIntensity(3.0f + 0.75f * static_cast<float>(std::rand() % 10000) * 0.0001f);
    }
    if (m_chargeDelay > 0.0f) {
        m_motor->SetSpeed(kChargeWalk * m_motor->GetBaseSpeed());
        m_chargeDelay -= dt;
    }
    m_data->m_charging = true;
    m_orbFireBlocked = false;
}

void ShooterInput::StopCharging(float dt)
{
    // A shot has stopped the loop already; a charge that ends otherwise stops it here.
    if (m_data->m_charging)
        StopChargeSound();
    m_light->SetIntensity(0.0f);
    m_light->SetRadius(kIdleLightRadius);
    ResetChargeVisuals();
    m_data->m_charging = false;
    m_fireCooldown -= dt;
    m_chargeTime = 0.0f;
    m_chargeDelay = kChargeDelay;
    m_motor->SetSpeed(m_motor->GetBaseSpeed());
    if (m_chargeVisualOn && m_orbCharge)
        m_orbCharge->StopCharge();
    m_chargeVisualOn = false;
}

void ShooterInput::StopChargeSound()
{
    SoundSystem* sound = DefaultSystem<SoundSystem>();
    if (sound && sound->IsPlaying(kChargeSound, m_controllerID))
        sound->StopSong(kChargeSound, m_controllerID);
}

void ShooterInput::ResetChargeVisuals()
{
    m_emitter->Emit(false);
    m_light->SetVisible(false, kAllScreens);
    m_spin = 0.0f;
    m_minSpeed = kMinParticleSpeed;
    m_maxSpeed = kMaxParticleSpeed;
    m_emitter->SetSpeed(m_minSpeed, m_maxSpeed);
}

void ShooterInput::SetLiftBlur(bool on)
{
    GraphicsSystem* graphics = DefaultSystem<GraphicsSystem>();
    if (!graphics || !ValidScreen(m_screen))
        return;
    if (!on) {
        graphics->DisableEffect(ZOR::RenderSystem::RadialBlur, m_screen);
        return;
    }
    graphics->EnableEffect(ZOR::RenderSystem::RadialBlur, m_screen);
    ZOR::RenderSystem::Screen& screen = graphics->GetScreen(m_screen);
    screen.RadialBlurDistance() = 0.0f;
    screen.RadialBlurStrength() = 0.0f;
    if (auto* actions = GetSystem<ActionSystem>())
        actions->AddAction(
            MakeParallel(new TweenTo(&screen.RadialBlurStrength(), kBlurSeconds, kBlurStrength, kBlurEasing, false,
                                     false),
                         new TweenTo(&screen.RadialBlurDistance(), kBlurSeconds, kBlurDistance, kBlurEasing, false,
                                     false)),
            0);
}

void ShooterInput::UpdateSecondary()
{
    const bool held = (MouseWeapons() && (m_input->KeyIsDown(kKeyE, kKeyboard) ||
                                          m_input->KeyIsDown(kMouseLeft, kKeyboard))) ||
                      m_input->GetLeftTrigger(Pad()) > kLiftTrigger;
    if (held && !m_data->m_charging && m_attacks) {
        if (m_attacks->GetWeapon() == AttackManager::kKnockBackShot) {
            // Once per press.
            if (!m_secondaryHeld) {
                m_attacks->StartAttack();
                m_animation->SetOrbBlast(0.5f, 0.3f);
            }
            m_secondaryHeld = true;
        } else if (m_attacks->GetWeapon() == AttackManager::kLiftBeam && m_attacks->CanFire()) {
            m_orbFireBlocked = true;
            if (!m_secondaryHeld)
                SetLiftBlur(true);
            m_data->m_liftInUse = true;
            m_attacks->StartAttack();
            m_animation->SetLiftBlast(0.15f);
            m_secondaryHeld = true;
        }
        return;
    }
    m_secondaryHeld = false;
    m_data->m_liftInUse = false;
    m_orbFireBlocked = false;
    if (m_attacks)
        m_attacks->EndAttack();
    SetLiftBlur(false);
}

void ShooterInput::PlaceChargeVisuals(float dt)
{
    const Entity* player = GetEntity();
    if (!player || !m_light || !m_emitter)
        return;
    const Vec4 hand = PlayerUtil::HandPoint(*player);
    const ZOR::float3 at(hand.x, hand.y, hand.z);
    m_light->SetPosition(at);
    m_emitter->SetPosition(at);
    // Both are updated here, by their owner: the particles spawn and the light's bounds follow.
    m_light->Update(dt);
    m_emitter->Update(dt);
    m_light->Invalidate();
    m_emitter->Invalidate();
    if (m_orbCharge)
        m_orbCharge->SetCentre(hand);
}

} // namespace quellor
