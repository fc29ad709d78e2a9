#pragma once
// The secondary weapons' test world: the motor's world (a floor, players made as the set-up
// makes them wearing the character's model, frames at 1/60 s) with the weapons' sounds loaded,
// players joined to the match with a lift beam, a knock-back shot and an attack manager, props
// with bodies of their own, and tag markers that only record what the beam asks of them.
#include "engine/Component.h"
#include "engine/Entity.h"
#include "engine/EntityRef.h"
#include "engine/Transform3D.h"
#include "gameplay/AttackManager.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/LiftComponent.h"
#include "gameplay/SnapshotComponent.h"
#include "gameplay/TagMarker.h"
#include "gameplay/cameras/ThirdPersonCameraComponent.h"
#include "physics/BoxColliderComponent3D.h"
#include "renderer/Camera.h"
#include "tests/gameplay/CharacterKit.h"
#include "tests/gameplay/MotorTestKit.h"

#include <algorithm>
#include <string>

namespace quellor::test {

// A marker that records the beam's calls. A hide stays in progress until ClearHiding.
class FakeMarker : public Component, public TagMarker {
public:
    bool IsHiding() const override { return hiding; }
    void ClearHiding() override { hiding = false; }
    Entity* GetTarget() const override { return target.Get(); }
    void SetTarget(Entity* entity) override { target = entity; }
    bool IsShown() const override { return shown; }
    void Show() override
    {
        shown = true;
        ++shows;
    }
    void Hide() override
    {
        shown = false;
        hiding = true;
        ++hides;
    }

    bool hiding = false;
    bool shown = false;
    int shows = 0;
    int hides = 0;
    EntityRef target;
};

// The game logic's team-tag calls, as the beam makes them.
inline const char* kWeaponSounds[] = {"lift_begin.ogg", "lift_hold.ogg", "lift_end.ogg",   "tag_added.ogg",
                                      "tag_removed.ogg", "knockback.ogg", "hit_by_snapshot.ogg"};

class WeaponTest : public MotorTest {
protected:
    void SetUp() override
    {
        MotorTest::SetUp();
        for (const char* name : kWeaponSounds)
            world->LoadEffect(name);
        AddFloor();
        // The character's model: the weapons leave from its hand bone.
        world->WriteFile(std::string("models/") + kCharacterModel,
                         tarsel::tools::WriteModel(tarsel::tools::character::BuildModel()));
        ASSERT_TRUE(world->graphics->LoadModel(std::string("models/") + kCharacterModel));
    }

    // A player standing at (x, z), joined to the match (a person for controller 0-3), with
    // the weapons and an attack manager; one logic update has passed since the join.
    Entity* Armed(const std::string& name, const std::string& team, float x, float z, int controllerID = -1)
    {
        tarsel::test::PlayerBuild build;
        build.team = team;
        build.controllerID = controllerID;
        Entity* player = StandingPlayer(name, x, z, build);
        Dress(player);
        world->logic->AddPlayer(controllerID, player, controllerID < 0, false);
        player->AddComponent<LiftComponent>(true);
        player->AddComponent<SnapshotComponent>(true);
        player->AddComponent<AttackManager>(true);
        // The frame after a join belongs to the tag set-up.
        world->Step(2);
        return player;
    }

    // Armed, as a person with a third-person camera on a screen of its own.
    Entity* ArmedPerson(const std::string& name, const std::string& team, float x, float z, int pad)
    {
        tarsel::test::PlayerBuild build;
        build.team = team;
        build.controllerID = pad;
        Entity* player = StandingPlayer(name, x, z, build);
        Dress(player);
        player->AddComponent<ThirdPersonCameraComponent>(true)->SetTarget(player);
        world->logic->AddPlayer(pad, player, false, true);
        player->AddComponent<LiftComponent>(true);
        player->AddComponent<SnapshotComponent>(true);
        player->AddComponent<AttackManager>(true);
        world->Step(2);
        return player;
    }
    // Points the player's view from the eye along the direction, until its camera next moves.
    static void PointCamera(Entity* player, const ZOR::float3& eye, const ZOR::float3& direction)
    {
        ZOR::Camera* camera = player->GetComponent<ThirdPersonCameraComponent>()->GetCamera();
        camera->SetPosition(eye);
        camera->LookAt(direction.Normalized(), ZOR::float3(0.0f, 1.0f, 0.0f));
    }
    // Points the player's view from behind it (back units along the line) through the target.
    static void LookThrough(Entity* player, const ZOR::float3& target, float back = 15.0f)
    {
        const ZOR::float3 direction = (target - Chest(player)).Normalized();
        PointCamera(player, Chest(player) - direction * back, direction);
    }

    // Gives the player both tag markers, each on an entity of its own.
    void GiveMarkers(Entity* player)
    {
        Entity* own = world->Spawn(player->GetName() + "_tag");
        own->AddComponent(TagMarker::kComponentKey, new FakeMarker, true);
        Entity* team = world->Spawn(player->GetName() + "_teamTag");
        team->AddComponent(TagMarker::kComponentKey, new FakeMarker, true);
        Data(player).SetTagMarker(own);
        Data(player).SetTeamTagMarker(team);
    }
    static FakeMarker& Marker(Entity* player) { return Fake(Data(player).GetTagMarker()); }
    static FakeMarker& TeamMarker(Entity* player) { return Fake(Data(player).GetTeamTagMarker()); }
    static FakeMarker& Fake(Entity* entity)
    {
        return *dynamic_cast<FakeMarker*>(entity->GetComponent(TagMarker::kComponentKey));
    }

    // A box with a body of the given type (0 static, 1 dynamic), its centre at (x, y, z).
    Entity* Prop(const std::string& name, float x, float y, float z, int type, float half = 1.0f)
    {
        Entity* prop = world->Spawn(name, x, y, z);
        auto* body = prop->AddComponent<RigidBodyComponent3D>(true);
        body->SetType(type);
        body->SetHasGravity(false);
        body->SetPosition(Vec4(x, y, z, 1.0f));
        auto* box = prop->AddComponent<BoxColliderComponent3D>(true);
        box->SetHalfExtents(Vec4(half, half, half, 0.0f));
        return prop;
    }

    static LiftComponent& Lift(Entity* player) { return *player->GetComponent<LiftComponent>(); }
    static SnapshotComponent& Shot(Entity* player) { return *player->GetComponent<SnapshotComponent>(); }
    static AttackManager& Attacks(Entity* player) { return *player->GetComponent<AttackManager>(); }

    // The middle of a player's body box.
    static ZOR::float3 Chest(Entity* player)
    {
        const Vec4 p = Position(player);
        return ZOR::float3(p.x, p.y + 2.0f, p.z);
    }
    // From the shooter's chest towards the target's.
    static Ray3D Aim(Entity* shooter, Entity* target)
    {
        return Ray3D{Chest(shooter), (Chest(target) - Chest(shooter)).Normalized()};
    }
    // Fires one frame of the beam at the target's current place, then runs the frame.
    void BeamFrame(Entity* shooter, Entity* target)
    {
        Lift(shooter).Fire(Aim(shooter, target));
        world->Step();
    }

    const LiftRecord* Held(Entity* shooter, Entity* target) const
    {
        const auto& held = Lift(shooter).GetHeldTargets();
        auto found = held.find(target->GetName());
        return found == held.end() ? nullptr : &found->second;
    }
    GameLogicSystem::TagTable& Tags(const std::string& team) const { return *world->logic->GetTeamTags(team); }
    bool Tagged(const std::string& team, Entity* target) const
    {
        const GameLogicSystem::TagTable& tags = Tags(team);
        return std::any_of(tags.begin(), tags.end(), [&](const auto& entry) { return entry.first == target->GetName(); });
    }
    // Whether the effect was started with the loop set (a loop count of -1).
    bool StartedLooping(const std::string& name) const
    {
        for (const auto& [id, path] : world->audio->loaded) {
            if (path != "sfx/" + name)
                continue;
            const std::string prefix = "play " + std::to_string(id) + " loops=-1";
            for (const std::string& call : world->audio->calls)
                if (call.starts_with(prefix))
                    return true;
        }
        return false;
    }
};

} // namespace quellor::test
