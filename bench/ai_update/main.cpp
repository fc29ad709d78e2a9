// The AI update of a match: three computer players of three teams in the walled arena of the
// bot tests, run at a fixed dt of 1/60 for 3,600 frames on the real clock, so that the path
// planners' time slices are real; frames are paced to 60 a second (the run lasts a minute). Prints AISystem::Update µs per frame (median, 95th
// percentile, max, from System::GetTotalTime after each Engine::Update), its share of the
// engine frame with drawing off, and path requests and A* slices per simulated second. No
// Debian package runs game bots, so there is no peer. A small executable rather than Google
// Benchmark: the run is one long match, not a repeated call.
//   --smoke   60 frames (one second), for CI
#include "ai/AISystem.h"
#include "ai/RegisterAITypes.h"
#include "ai/pathfinding/PathPlanner.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/ObjectSystem.h"
#include "engine/ResourceSystem.h"
#include "engine/graphics/GraphicsSystem.h"
#include "gameplay/OrbEmitters.h"
#include "gameplay/PlayerDataComponent.h"
#include "tests/ai/BotDocuments.h"
#include "tests/support/ContentDir.h"
#include "tests/support/gameplay/GameWorld.h"
#include "tools/writers/AnimationWriter.h"
#include "tools/writers/CharacterBuilder.h"
#include "tools/writers/ClipLibraryWriter.h"
#include "tools/writers/ModelWriter.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <cstdint>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
namespace docs = quellor::test::bot_documents;

// The character, its clips, the orb's emitters, the bot and the arena in the world's folder.
bool StockWorld(tarsel::test::GameWorld& world)
{
    using namespace tarsel::tools;
    const std::string model = std::string("models/") + docs::kCharacterModel;
    world.WriteFile(model, WriteModel(character::BuildModel()));
    if (!world.graphics->LoadModel(model))
        return false;
    for (const character::LibraryClip& clip : character::BuildLibrary()) {
        world.WriteFile("animations/" + clip.name, WriteAnimation(clip.clip));
        world.graphics->LoadAnimation("animations/" + clip.name);
    }
    for (const std::string* file : {&quellor::OrbEmitters::kBlastFile, &quellor::OrbEmitters::kInnerFile,
                                    &quellor::OrbEmitters::kOuterFile}) {
        std::ifstream in(tarsel::test::ContentDir() / *file);
        std::ostringstream text;
        text << in.rdbuf();
        world.WriteFile(*file, text.str());
    }
    quellor::OrbEmitters::Reset();
    world.WriteFile(std::string("archetypes/") + docs::kBotArchetypeFile, docs::kBotArchetype);
    world.LoadLevel(docs::kArenaFile, docs::kArena);
    return true;
}

double Percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

} // namespace

int main(int argc, char** argv)
{
    bool smoke = false;
    for (int i = 1; i < argc; ++i)
        smoke = smoke || std::strcmp(argv[i], "--smoke") == 0;
    const int frames = smoke ? 60 : 3600;

    quellor::RegisterAITypes();
    tarsel::test::GameWorld world(
        {{"ResourceSystem", quellor::AISystem::ID, [] { return new quellor::AISystem; }}});
    world.graphics->SetActive(false);
    if (!StockWorld(world)) {
        std::printf("ai_update: the character model does not load\n");
        return 1;
    }
    auto* ai = world.engine->GetSystem<quellor::AISystem>("default");
    for (int i = 0; i < 3; ++i) {
        quellor::Entity* bot = world.objects->Clone(docs::kBotArchetypeFile, std::string("bot") + docs::kArenaTeams[i],
                                                    "default");
        if (!bot || !bot->GetComponent<quellor::PlayerDataComponent>()) {
            std::printf("ai_update: the bot archetype does not clone\n");
            return 1;
        }
        bot->GetComponent<quellor::PlayerDataComponent>()->playerTeam = docs::kArenaTeams[i];
        bot->GetComponent<quellor::PlayerDataComponent>()->controllerID = -1;
    }
    world.Step(1); // the bots set themselves up and join

    std::vector<double> aiMicros;
    std::vector<double> frameMicros;
    aiMicros.reserve(static_cast<std::size_t>(frames));
    frameMicros.reserve(static_cast<std::size_t>(frames));
    // Frames are paced to the clock: the bots' senses and reaction times read it, so the
    // simulated and the real second must agree for them to fight as in a match.
    const auto begin = Clock::now();
    for (int frame = 0; frame < frames; ++frame) {
        std::this_thread::sleep_until(begin + std::chrono::microseconds(static_cast<long>(frame) * 1000000 / 60));
        const auto start = Clock::now();
        world.Step(1);
        const auto end = Clock::now();
        aiMicros.push_back(static_cast<double>(ai->GetTotalTime()) * 1.0e6);
        frameMicros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    std::uint64_t requests = 0;
    std::uint64_t slices = 0;
    for (const quellor::PathPlanner* planner : ai->GetPathPlanners()) {
        requests += planner->GetRequestCount();
        slices += planner->GetSliceCount();
    }

    double aiTotal = 0.0;
    double frameTotal = 0.0;
    for (std::size_t i = 0; i < aiMicros.size(); ++i) {
        aiTotal += aiMicros[i];
        frameTotal += frameMicros[i];
    }
    const double simulatedSeconds = frames / 60.0;
    const double median = Percentile(aiMicros, 0.5);
    const double p95 = Percentile(aiMicros, 0.95);
    const double max = aiMicros.empty() ? 0.0 : *std::max_element(aiMicros.begin(), aiMicros.end());
    std::printf("ai_update: 3 bots, %d frames at dt 1/60 (%.0f simulated s), drawing off\n", frames,
                simulatedSeconds);
    std::printf("  AISystem::Update per frame: median %.1f us, 95th percentile %.1f us, max %.1f us\n", median, p95,
                max);
    std::printf("  share of the engine frame: %.1f %% (engine frame median %.1f us)\n",
                frameTotal > 0.0 ? 100.0 * aiTotal / frameTotal : 0.0, Percentile(frameMicros, 0.5));
    std::printf("  path requests: %.2f per simulated s; A* slices: %.2f per simulated s\n",
                static_cast<double>(requests) / simulatedSeconds, static_cast<double>(slices) / simulatedSeconds);
    std::printf("note: AISystem::Update takes %.1f us per frame at the median, %.1f us at the 95th percentile and "
                "%.1f us at most, for three bots; no peer runs game bots\n",
                median, p95, max);
    return 0;
}
