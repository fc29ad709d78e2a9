// Steps our physics world and Bullet through the same scenes and prints steps per second,
// the median step time, the ratio of the two, and what each scene is meant to show.
// Last, a game-like frame through PhysicsSystem3D, which has no peer.
//   --smoke   a few steps and rays of every scene (what CI runs)
#include "BulletScene.h"
#include "GameFrame.h"

#include "physics/PhysicsWorld3D.h"
#include "physics/RigidBody3D.h"
#include "tests/support/PhysicsScenes3D.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using quellor::scenes::Scene3D;

constexpr float kDt = 1.0f / 60.0f;

struct Timing {
    double stepsPerSecond = 0.0;
    double medianMs = 0.0;
    double meanMs = 0.0;
};

// Runs step(i) count times, timing each call.
Timing TimeSteps(int count, const std::function<void(int)>& step)
{
    std::vector<double> ms;
    ms.reserve(static_cast<std::size_t>(count));
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < count; ++i) {
        const Clock::time_point before = Clock::now();
        step(i);
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - before).count());
    }
    const double total = std::chrono::duration<double>(Clock::now() - start).count();
    Timing timing;
    timing.stepsPerSecond = total > 0.0 ? count / total : 0.0;
    timing.meanMs = count > 0 ? total * 1000.0 / count : 0.0;
    std::nth_element(ms.begin(), ms.begin() + static_cast<long>(ms.size() / 2), ms.end());
    timing.medianMs = ms.empty() ? 0.0 : ms[ms.size() / 2];
    return timing;
}

void PrintRow(const char* scene, const char* engine, const Timing& t, double ratio, const std::string& note)
{
    std::printf("| %-22s | %-24s | %12.1f | %9.3f | %11s | %s\n", scene, engine, t.stepsPerSecond, t.medianMs,
                ratio > 0.0 ? (std::to_string(ratio).substr(0, 5)).c_str() : "-", note.c_str());
}

std::string SleepNote(int sleptAt)
{
    if (sleptAt < 0)
        return "not all asleep within the run";
    char text[64];
    std::snprintf(text, sizeof text, "all asleep after %.2f s", sleptAt * kDt);
    return text;
}

void DropScene(int count, int steps)
{
    const Scene3D scene = quellor::scenes::BoxDropScene(count);
    char name[32];
    std::snprintf(name, sizeof name, "drop %d boxes", count);

    quellor::PhysicsWorld3D world;
    world.SetGravity(ZOR::float3(0, -10, 0));
    const std::vector<quellor::RigidBody3D*> bodies = quellor::scenes::BuildScene3D(world, scene);
    int oursAsleep = -1;
    const Timing ours = TimeSteps(steps, [&](int i) {
        world.Step(kDt, 12, 12);
        if (oursAsleep < 0 && std::none_of(bodies.begin() + 1, bodies.end(),
                                           [](const quellor::RigidBody3D* b) { return b->IsAwake(); }))
            oursAsleep = i + 1;
    });

    Timing bullet[2];
    int bulletAsleep[2] = {-1, -1};
    for (int tree = 0; tree < 2; ++tree) {
        tarselbench::BulletScene peer(scene, tree == 1);
        bullet[tree] = TimeSteps(steps, [&](int i) {
            peer.Step(kDt);
            if (bulletAsleep[tree] < 0 && peer.AllAsleep())
                bulletAsleep[tree] = i + 1;
        });
    }
    PrintRow(name, "ours (sweep + tree)", ours, -1.0, SleepNote(oursAsleep));
    PrintRow(name, "Bullet simple broadphase", bullet[0], ours.meanMs / bullet[0].meanMs, SleepNote(bulletAsleep[0]));
    PrintRow(name, "Bullet tree broadphase", bullet[1], ours.meanMs / bullet[1].meanMs, SleepNote(bulletAsleep[1]));
}

std::string DriftNote(const ZOR::float3& start, const ZOR::float3& end)
{
    char text[96];
    std::snprintf(text, sizeof text, "top box drift %.4f sideways, %.4f down", std::hypot(end.x - start.x, end.z - start.z),
                  start.y - end.y);
    return text;
}

void StackScene(int steps)
{
    const Scene3D scene = quellor::scenes::StackScene(10);
    const std::size_t top = scene.bodies.size() - 1;

    quellor::PhysicsWorld3D world;
    world.SetGravity(ZOR::float3(0, -10, 0));
    const std::vector<quellor::RigidBody3D*> bodies = quellor::scenes::BuildScene3D(world, scene);
    const Timing ours = TimeSteps(steps, [&](int) { world.Step(kDt, 12, 12); });
    PrintRow("10-box stack", "ours (sweep + tree)", ours, -1.0, DriftNote(scene.bodies[top].position, bodies[top]->m_position));

    for (int tree = 0; tree < 2; ++tree) {
        tarselbench::BulletScene peer(scene, tree == 1);
        const Timing t = TimeSteps(steps, [&](int) { peer.Step(kDt); });
        PrintRow("10-box stack", tree ? "Bullet tree broadphase" : "Bullet simple broadphase", t, ours.meanMs / t.meanMs,
                 DriftNote(scene.bodies[top].position, peer.Position(top)));
    }
}

void RayScene(int rays)
{
    const Scene3D scene = quellor::scenes::RayFieldScene(500, rays, 20260601u);

    quellor::PhysicsWorld3D world;
    quellor::scenes::BuildScene3D(world, scene);
    world.Step(kDt, 12, 12); // world boxes of the static bodies
    int oursHits = 0;
    quellor::RayCastResult3D result;
    const Timing ours = TimeSteps(rays, [&](int i) {
        const quellor::scenes::SceneRay3D& ray = scene.rays[static_cast<std::size_t>(i)];
        oursHits += world.RayCast(result, ray.origin, ray.direction, ray.maxDistance).m_hit;
    });

    char name[32];
    std::snprintf(name, sizeof name, "%d rays, 500 boxes", rays);
    char note[96];
    std::snprintf(note, sizeof note, "rays per second; %d hits", oursHits);
    PrintRow(name, "ours (sweep + tree)", ours, -1.0, note);
    for (int tree = 0; tree < 2; ++tree) {
        tarselbench::BulletScene peer(scene, tree == 1);
        peer.Step(kDt);
        int hits = 0;
        const Timing t = TimeSteps(rays, [&](int i) { hits += peer.RayCast(scene.rays[static_cast<std::size_t>(i)]); });
        const bool agree = std::abs(hits - oursHits) <= std::max(1, oursHits / 100);
        std::snprintf(note, sizeof note, "rays per second; %d hits (%s)", hits,
                      agree ? "agrees within 1 %" : "DISAGREES: not the same work");
        PrintRow(name, tree ? "Bullet tree broadphase" : "Bullet simple broadphase", t,
                 ours.meanMs / t.meanMs, note);
    }
}

} // namespace

int main(int argc, char** argv)
{
    bool smoke = false;
    for (int i = 1; i < argc; ++i)
        smoke = smoke || std::strcmp(argv[i], "--smoke") == 0;
    const int steps = smoke ? 5 : 600;
    const int rays = smoke ? 20 : 1000;

    std::printf("Physics: our world against Bullet 3.24 (single precision), same scenes, one thread, %u cores.\n",
                std::thread::hardware_concurrency());
    std::printf("Step 1/60 s, gravity -10, our 12 velocity + 12 position iterations; Bullet 12 solver iterations\n"
                "(it has no separate position iteration count). Friction 1 and restitution 0.4 on every body:\n"
                "Bullet multiplies them per pair, giving friction 1 and restitution 0.16; we take the greater\n"
                "restitution (0.4) and the root of the friction product (1). Ratio = our mean step time / Bullet's.\n\n");
    std::printf("| %-22s | %-24s | %12s | %9s | %11s | %s\n", "scene", "engine", "steps/s", "median ms",
                "ours/Bullet", "note");
    for (int count : {50, 200, 800}) {
        if (smoke && count > 50)
            break;
        DropScene(count, steps);
    }
    StackScene(steps);
    RayScene(rays);
    tarselbench::GameFrameScene(smoke);
    return 0;
}
