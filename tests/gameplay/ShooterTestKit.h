#pragma once
// A person's player in the orb test world: the player archetype written into the world's
// folder (in the order the set-up expects, parts left out or added on request), cloned and
// placed on the floor; its ShooterInput starts at the next frame. Input is scripted: keys by
// virtual-key code, pads in the XInput shape.
#include "OrbTestKit.h"

#include "engine/ActionComponent.h"
#include "engine/ActionList.h"
#include "engine/Input.h"
#include "engine/ObjectSystem.h"
#include "engine/ResourceSystem.h"
#include "gameplay/AimAssistComponent.h"
#include "gameplay/AnimationControllerComponent.h"
#include "gameplay/AttackManager.h"
#include "gameplay/LiftComponent.h"
#include "gameplay/SnapshotComponent.h"
#include "gameplay/CharacterMotor3D.h"
#include "gameplay/PlayerUtil.h"
#include "gameplay/ShooterInput.h"
#include "gameplay/effects/ArmChargeComponent.h"
#include "gameplay/effects/OrbChargeComponent.h"
#include "platform/ScriptedInputSource.h"
#include "renderer/ParticleEmitter.h"
#include "renderer/PointLight.h"
#include "tools/writers/EmitterWriter.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace quellor::test {

inline constexpr const char* kPlayerArchetype = "beta_player.arch";

// The archetype's component elements, in the set-up's order.
inline std::vector<std::string> PlayerParts()
{
    return {"<Transform3D/>",
            "<RigidBodyComponent3D/>",
            "<PlayerDataComponent/>",
            "<CharacterMotor3D/>",
            "<GraphicsComponent3DSkinned><m_modelName><string value=\"base_idle.model\"/></m_modelName>"
            "</GraphicsComponent3DSkinned>",
            "<AnimationControllerComponent/>",
            "<LiftComponent><m_playerLiftForce><float value=\"10\"/></m_playerLiftForce></LiftComponent>",
            "<SnapshotComponent/>",
            "<ActionComponent><m_name><string value=\"ShooterInput\"/></m_name></ActionComponent>"};
}

inline std::string ArchetypeText(const std::vector<std::string>& parts)
{
    std::string text = "<?xml version=\"1.0\"?>\n<BetaPlayer>\n";
    for (const std::string& part : parts)
        text += "  " + part + "\n";
    return text + "</BetaPlayer>\n";
}

// The part starting with the element name, removed.
inline std::vector<std::string> Without(std::vector<std::string> parts, const std::string& element)
{
    parts.erase(std::remove_if(parts.begin(), parts.end(),
                               [&](const std::string& part) { return part.rfind("<" + element, 0) == 0; }),
                parts.end());
    return parts;
}

class ShooterTest : public OrbTest {
protected:
    void SetUp() override
    {
        OrbTest::SetUp();
        for (const std::string* sound :
             {&ShooterInput::kFootstepSound, &ShooterInput::kJumpSound, &ShooterInput::kChargeSound})
            world->LoadEffect(*sound);
        tarsel::tools::EmitterDescription charge;
        charge.maxParticles = 32;
        charge.types[0].texture = "sun.dds";
        charge.lifespan = {0.5f, 0.5f};
        charge.spawnInterval = {0.01f, 0.01f};
        charge.speed = {1.0f, 2.0f};
        std::filesystem::create_directories("emitters");
        ASSERT_TRUE(tarsel::tools::WriteEmitter(charge, ShooterInput::kChargeEmitter));
        WriteArchetype(PlayerParts());
    }

    void WriteArchetype(const std::vector<std::string>& parts)
    {
        world->WriteFile(std::string("archetypes/") + kPlayerArchetype, ArchetypeText(parts));
        world->resources->ScanDirectory("");
    }

    // A clone on the floor at (x, z) as the match start makes it; set up at the next frame.
    Entity* Clone(const std::string& name, const std::string& team, int controllerID, float x = 0.0f,
                  float z = 0.0f)
    {
        Entity* player = world->objects->Clone(kPlayerArchetype, name, "default");
        if (!player)
            return nullptr;
        if (auto* data = player->GetComponent<PlayerDataComponent>()) {
            data->playerTeam = team;
            data->controllerID = controllerID;
        }
        if (auto* transform = player->GetComponent<Transform3D>())
            transform->SetPosition(x, kStandY, z);
        if (auto* body = player->GetComponent<RigidBodyComponent3D>(); body && body->GetBody())
            body->SetPosition(Vec4(x, kStandY, z, 1.0f));
        return player;
    }

    // A clone set up and given control, settled on the floor.
    Entity* Person(const std::string& name, const std::string& team, int controllerID, float x = 0.0f,
                   float z = 0.0f)
    {
        Entity* player = Clone(name, team, controllerID, x, z);
        world->Step(1);
        Data(player).canControl = true;
        world->Step(10);
        return player;
    }

    static ShooterInput* InputOf(Entity* player)
    {
        auto* actions = player ? player->GetComponent<ActionComponent>() : nullptr;
        ShooterInput* found = nullptr;
        if (actions)
            actions->GetActionList().VisitActions([&](const Action& action) {
                if (const auto* input = dynamic_cast<const ShooterInput*>(&action))
                    found = const_cast<ShooterInput*>(input);
            });
        return found;
    }
    static CharacterMotor3D& Motor(Entity* player) { return *player->GetComponent<CharacterMotor3D>(); }
    static ThirdPersonCameraComponent& Camera(Entity* player)
    {
        return *player->GetComponent<ThirdPersonCameraComponent>();
    }
    static AnimationControllerComponent& Animation(Entity* player)
    {
        return *player->GetComponent<AnimationControllerComponent>();
    }

    platform::ScriptedInputSource& Keys() { return *world->keys; }
    // Holds a key for one frame and lets it go before the next.
    void Hold(int key, int frames)
    {
        Keys().SetKey(key, true);
        world->Step(frames);
        Keys().SetKey(key, false);
    }
    void SetTrigger(int pad, int value) { Keys().SetPadAxis(pad, platform::PadAxis::RightTrigger, value); }
    void SetLeftTrigger(int pad, int value) { Keys().SetPadAxis(pad, platform::PadAxis::LeftTrigger, value); }

    bool BlurOn(int screen) const
    {
        return static_cast<const ZOR::RenderSystem&>(*world->graphics).EffectEnabled(ZOR::RenderSystem::RadialBlur,
                                                                                    screen);
    }
    std::size_t Plays(const std::string& sound) const { return world->PlayCount(sound); }
    bool Listed(const ZOR::Renderable* renderable) const
    {
        const auto& list = world->graphics->GetOctreeList();
        return std::find(list.begin(), list.end(), renderable) != list.end();
    }
};

} // namespace quellor::test
