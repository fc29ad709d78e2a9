#include "MotorSection.h"

#include "GameplayScene.h"

#include "bench/physics_bench/BulletScene.h"

#include "engine/Engine.h"
#include "engine/Entity.h"
#include "gameplay/CharacterMotor3D.h"
#include "gameplay/PlayerDataComponent.h"
#include "gameplay/RegisterGameplayTypes.h"
#include "physics/PhysicsSystem3D.h"
#include "physics/RigidBodyComponent3D.h"
#include "tests/support/gameplay/PlayerBuilder.h"

#include <BulletCollision/CollisionDispatch/btGhostObject.h>
#include <BulletDynamics/Character/btKinematicCharacterController.h>
#include <btBulletDynamicsCommon.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace tarselbench {

namespace {

using Clock = std::chrono::steady_clock;
using quellor::Vec4;

constexpr int kPlayers = 4;
constexpr float kDt = 1.0f / 60.0f;
constexpr float kSpeed = 10.0f;
constexpr float kJumpSpeed = 7.7459667f; // sqrt(2 * 3 * 10), the motor's default
constexpr float kBlast = 25.0f;
constexpr float kStun = 0.4f;
constexpr float kKnockEvery = 3.0f;
// The default player: sphereCollRadius 1, ellipsoid 3.5 x 5 x 3.5 around a centre 2 above the
// body, which stands 3 above the ground.
constexpr float kCentreAboveBody = 2.0f;
constexpr float kEllipseA = 3.5f;
constexpr float kEllipseB = 5.0f;

// What every player is told to do in a frame, the same for both engines.
struct Script {
    float moveX = 0.0f;
    float moveZ = 0.0f;
    bool jump = false;
    bool knock = false;
    float knockX = 0.0f, knockY = 0.0f, knockZ = 0.0f;
};

// Player i runs a circle of 8 s, jumps every 1.5 s and is knocked back every 3 s, each player
// out of step with the others.
Script ScriptFor(int player, int frame)
{
    const float t = static_cast<float>(frame) * kDt;
    const float phase = 1.5707963f * static_cast<float>(player);
    const float angle = 0.7853982f * t + phase;
    Script script;
    script.moveX = std::cos(angle);
    script.moveZ = std::sin(angle);
    const int offset = 20 * player;
    script.jump = (frame + offset) % 90 == 45;
    script.knock = frame > 0 && (frame + offset) % static_cast<int>(kKnockEvery / kDt) == 0;
    const float away = angle + 2.0f;
    script.knockX = 0.8f * std::cos(away);
    script.knockY = 0.6f;
    script.knockZ = 0.8f * std::sin(away);
    return script;
}

ZOR::float3 Start(int player)
{
    return ZOR::float3(player % 2 ? 20.0f : -20.0f, 3.5f, player / 2 ? 20.0f : -20.0f);
}

struct Figures {
    std::vector<float> frameMicros; // the four updates of a frame
    double totalMicros = 0.0;
    double travelled = 0.0;
};

void Summarise(std::vector<float> micros, float& median, float& worst)
{
    median = worst = 0.0f;
    if (micros.empty())
        return;
    worst = *std::max_element(micros.begin(), micros.end());
    std::nth_element(micros.begin(), micros.begin() + static_cast<long>(micros.size() / 2), micros.end());
    median = micros[micros.size() / 2];
}

float Micros(Clock::duration d)
{
    return std::chrono::duration<float, std::micro>(d).count();
}

// Ours: the arena built into PhysicsSystem3D's world, players made as the set-up makes them,
// the physics system stepping each frame and then the four motors, each timed.
Figures RunOurs(int frames, std::vector<unsigned>& casts, std::vector<quellor::CharacterMotor3D::CastRecord>& rays,
                double& rayNanos)
{
    quellor::RegisterGameplayTypes();
    quellor::Engine* engine = quellor::Engine::Instance();
    auto* physics = static_cast<quellor::PhysicsSystem3D*>(
        engine->AddSystem("PhysicsSystem3D", new quellor::PhysicsSystem3D, "default"));
    quellor::scenes::BuildScene3D(*physics->GetWorld(), GameplayScene());

    std::vector<quellor::Entity*> players;
    for (int i = 0; i < kPlayers; ++i) {
        const ZOR::float3 at = Start(i);
        players.push_back(tarsel::test::BuildPlayer(*engine, "player" + std::to_string(i), at.x, at.y, at.z));
    }
    Figures figures;
    std::vector<Vec4> last;
    for (quellor::Entity* player : players)
        last.push_back(player->GetRigidBody()->GetPosition());
    for (int frame = 0; frame < frames; ++frame) {
        engine->Update(kDt);
        float micros = 0.0f;
        for (int i = 0; i < kPlayers; ++i) {
            quellor::Entity* player = players[static_cast<std::size_t>(i)];
            auto* motor = tarsel::test::MotorOf(player);
            auto* data = player->GetComponent<quellor::PlayerDataComponent>();
            const Script script = ScriptFor(i, frame);
            motor->m_moveInput = Vec4(script.moveX, 0.0f, script.moveZ, 0.0f);
            motor->m_jumpRequested = script.jump;
            if (script.knock) {
                data->m_knockbackDir = Vec4(script.knockX, script.knockY, script.knockZ, 0.0f);
                data->blastDist = kBlast;
                data->m_stunTimer = kStun;
            }
            const Clock::time_point start = Clock::now();
            motor->Update(kDt);
            micros += Micros(Clock::now() - start);
            casts.push_back(motor->GetCastCount());
            for (unsigned c = 0; c < std::min(motor->GetCastCount(), quellor::CharacterMotor3D::kMaxCastsPerUpdate); ++c)
                rays.push_back(motor->GetCast(c));
            const Vec4 now = player->GetRigidBody()->GetPosition();
            Vec4& before = last[static_cast<std::size_t>(i)];
            figures.travelled += std::hypot(now.x - before.x, now.z - before.z);
            before = now;
        }
        figures.frameMicros.push_back(micros);
        figures.totalMicros += micros;
    }
    // The same rays again, on their own.
    const Clock::time_point start = Clock::now();
    int hits = 0;
    for (const auto& ray : rays)
        hits += physics->RayCast(ray.origin, ray.direction, ray.reach).hit;
    rayNanos = rays.empty() ? 0.0 : std::chrono::duration<double, std::nano>(Clock::now() - start).count() / rays.size();
    (void)hits;
    quellor::Engine::DestroyInstance();
    return figures;
}

// Bullet: the same arena, a capsule of the ellipsoid's width and height per player, stepped
// each frame and then the four controllers, each timed.
Figures RunBullet(int frames)
{
    BulletScene scene(GameplayScene(), true);
    btDiscreteDynamicsWorld* world = scene.World();
    auto ghosts = std::make_unique<btGhostPairCallback>();
    world->getBroadphase()->getOverlappingPairCache()->setInternalGhostPairCallback(ghosts.get());
    btCapsuleShape capsule(kEllipseA, 2.0f * (kEllipseB - kEllipseA));

    struct Character {
        std::unique_ptr<btPairCachingGhostObject> ghost;
        std::unique_ptr<btKinematicCharacterController> controller;
        float stun = 0.0f;
        btVector3 knock;
        btVector3 last;
    };
    std::vector<Character> characters(kPlayers);
    for (int i = 0; i < kPlayers; ++i) {
        Character& c = characters[static_cast<std::size_t>(i)];
        const ZOR::float3 at = Start(i);
        c.ghost = std::make_unique<btPairCachingGhostObject>();
        c.ghost->setWorldTransform(btTransform(btQuaternion::getIdentity(), btVector3(at.x, at.y + kCentreAboveBody, at.z)));
        c.ghost->setCollisionShape(&capsule);
        c.ghost->setCollisionFlags(btCollisionObject::CF_CHARACTER_OBJECT);
        c.controller = std::make_unique<btKinematicCharacterController>(c.ghost.get(), &capsule, 0.25f, btVector3(0, 1, 0));
        c.controller->setGravity(btVector3(0, -10, 0));
        c.controller->setJumpSpeed(kJumpSpeed);
        c.controller->setFallSpeed(75.0f);
        c.controller->setMaxSlope(0.7853982f);
        world->addCollisionObject(c.ghost.get(), btBroadphaseProxy::CharacterFilter,
                                  btBroadphaseProxy::StaticFilter | btBroadphaseProxy::DefaultFilter);
        c.last = c.ghost->getWorldTransform().getOrigin();
    }

    Figures figures;
    for (int frame = 0; frame < frames; ++frame) {
        scene.Step(kDt);
        float micros = 0.0f;
        for (int i = 0; i < kPlayers; ++i) {
            Character& c = characters[static_cast<std::size_t>(i)];
            const Script script = ScriptFor(i, frame);
            if (script.knock) {
                c.knock = btVector3(script.knockX, script.knockY, script.knockZ) * kBlast;
                c.stun = kStun;
            }
            if (c.stun > 0.0f) {
                c.controller->setWalkDirection(c.knock * kDt);
                c.stun -= kDt;
            } else {
                c.controller->setWalkDirection(btVector3(script.moveX, 0.0f, script.moveZ) * (kSpeed * kDt));
                if (script.jump && c.controller->onGround())
                    c.controller->jump();
            }
            const Clock::time_point start = Clock::now();
            c.controller->updateAction(world, kDt);
            micros += Micros(Clock::now() - start);
            const btVector3 now = c.ghost->getWorldTransform().getOrigin();
            figures.travelled += std::hypot(now.x() - c.last.x(), now.z() - c.last.z());
            c.last = now;
        }
        figures.frameMicros.push_back(micros);
        figures.totalMicros += micros;
    }
    for (Character& c : characters)
        world->removeCollisionObject(c.ghost.get());
    world->getBroadphase()->getOverlappingPairCache()->setInternalGhostPairCallback(nullptr);
    return figures;
}

} // namespace

void MotorSection(bool smoke)
{
    const int frames = smoke ? 30 : 600;
    std::vector<unsigned> casts;
    std::vector<quellor::CharacterMotor3D::CastRecord> rays;
    double rayNanos = 0.0;
    const Figures ours = RunOurs(frames, casts, rays, rayNanos);
    const Figures bullet = RunBullet(frames);

    float oursMedian = 0.0f, oursWorst = 0.0f, bulletMedian = 0.0f, bulletWorst = 0.0f;
    Summarise(ours.frameMicros, oursMedian, oursWorst);
    Summarise(bullet.frameMicros, bulletMedian, bulletWorst);
    double castSum = 0.0;
    unsigned castMax = 0;
    for (unsigned count : casts) {
        castSum += count;
        castMax = std::max(castMax, count);
    }
    const double castMean = casts.empty() ? 0.0 : castSum / static_cast<double>(casts.size());
    const double ratio = bulletMedian > 0.0f ? oursMedian / bulletMedian : 0.0;

    std::printf("Character motor: %d players walking circuits with jumps and a knock-back every 3 s through %d "
                "static boxes\n(floor, crates, ramps, walls), %d frames at 1/60 s, the physics stepping each frame "
                "(untimed).\n\n",
                kPlayers, kGameplaySceneBodies, frames);
    std::printf("| %-44s | %9s | %9s | %s\n", "four updates per frame", "median us", "worst us", "note");
    std::printf("| %-44s | %9.1f | %9.1f | %.0f u walked\n", "ours: CharacterMotor3D::Update", oursMedian, oursWorst,
                ours.travelled);
    std::printf("| %-44s | %9.1f | %9.1f | %.0f u walked; ours/Bullet %.2f\n",
                "Bullet 3.24: btKinematicCharacterController", bulletMedian, bulletWorst, bullet.travelled, ratio);
    std::printf("\nRays per motor-frame: mean %.1f, most %u (bound %u); %.0f ns per ray (%zu rays replayed).\n", castMean,
                castMax, quellor::CharacterMotor3D::kMaxCastsPerUpdate, rayNanos, rays.size());
    std::printf("Bullet sweeps convex shapes (a capsule %.1f wide, %.1f tall) where we cast rays against the boxes.\n",
                2.0f * kEllipseA, 2.0f * kEllipseB);
    std::printf("Note: motor median %.1f us per frame for %d players, %.1f rays per motor-frame, ours/Bullet %.2f.\n\n",
                oursMedian, kPlayers, castMean, ratio);
}

} // namespace tarselbench
