// The frame: update order, active flags, pass timings, the clock and name lookups.
#include "EngineTestSupport.h"

#include "engine/Entity.h"
#include "engine/Space.h"
#include "engine/Transform2D.h"

namespace quellor::test {
namespace {

using FrameTest = EngineTest;

TEST_F(FrameTest, EqualPrioritiesKeepOrderAndAHigherOneAddedLaterRunsFirst)
{
    engine->AddSystem("A", new RecordingSystem(&log, "A"), "default");
    engine->AddSystem("B", new RecordingSystem(&log, "B"), "default");
    auto* c = new RecordingSystem(&log, "C");
    c->priority = 7;
    engine->AddSystem("C", c, "default");
    log.clear();

    engine->Update(0.016f);

    EXPECT_EQ(log, (Log{"C:pre", "A:pre", "B:pre", "C:update", "A:update", "B:update", "C:post", "A:post",
                        "B:post"}));
}

TEST_F(FrameTest, AddingASystemNamesItGivesItTheEngineInjectorAndInitialisesIt)
{
    auto* system = new RecordingSystem(&log, "S");
    bool sawInjector = false;
    system->onInitialize = [&] { sawInjector = system->GetEngine() == engine && system->GetEntity() == nullptr; };

    EXPECT_EQ(engine->AddSystem("Sys", system, "default"), system);

    EXPECT_TRUE(sawInjector);
    EXPECT_EQ(system->GetName(), "Sys");
    EXPECT_EQ(system->GetSpace(), engine->GetSpace("default"));
    EXPECT_EQ(system->GetInjector(), engine->GetInjector());
    EXPECT_EQ(log, (Log{"S:init"}));
}

TEST_F(FrameTest, ASystemDeactivatedInUpdateSkipsPostUpdateAndInactiveOnesAreSkippedEntirely)
{
    auto* a = new RecordingSystem(&log, "A");
    auto* b = new RecordingSystem(&log, "B");
    engine->AddSystem("A", a, "default");
    engine->AddSystem("B", b, "default");
    a->onUpdate = [a] { a->SetActive(false); };
    log.clear();

    engine->Update(0.016f);
    EXPECT_EQ(log, (Log{"A:pre", "B:pre", "A:update", "B:update", "B:post"}));

    log.clear();
    engine->Update(0.016f);
    EXPECT_EQ(log, (Log{"B:pre", "B:update", "B:post"}));
}

TEST_F(FrameTest, AfterAFrameActiveTimingsReadZeroAndTheTotalHoldsTheirSum)
{
    auto* a = new RecordingSystem(nullptr, "A");
    auto* observer = new RecordingSystem(nullptr, "O");
    engine->AddSystem("A", a, "default");
    engine->AddSystem("O", observer, "default");
    // A's post pass has run by the time the observer's does: its three timings are still set.
    float pre = -1.0f, update = -1.0f, post = -1.0f, total = -1.0f;
    observer->onPostUpdate = [&] {
        pre = a->GetPreUpdateTime();
        update = a->GetUpdateTime();
        post = a->GetPostUpdateTime();
        total = a->GetTotalTime();
    };

    engine->Update(0.016f);

    EXPECT_GE(pre, 0.0f);
    EXPECT_GE(update, 0.0f);
    EXPECT_GE(post, 0.0f);
    EXPECT_EQ(total, update + pre + post);
    EXPECT_EQ(a->GetPreUpdateTime(), 0.0f);
    EXPECT_EQ(a->GetUpdateTime(), 0.0f);
    EXPECT_EQ(a->GetPostUpdateTime(), 0.0f);
    EXPECT_EQ(a->GetTotalTime(), total);
}

TEST_F(FrameTest, TimeIsThePlainSumOfFrameTimesAndTheCounterCountsUpdates)
{
    EXPECT_EQ(engine->GetTime(), 0.0f);
    EXPECT_EQ(engine->GetFrameCount(), 0u);
    engine->Update(0.25f);
    engine->Update(0.5f);
    engine->Update(100.0f); // not clamped
    EXPECT_FLOAT_EQ(engine->GetTime(), 100.75f);
    EXPECT_EQ(engine->GetFrameCount(), 3u);

    Entity* entity = engine->CreateEntity("e", "default");
    auto* component = entity->AddComponent<Transform2D>(true);
    EXPECT_FLOAT_EQ(component->GetTime(), 100.75f);
}

TEST_F(FrameTest, ADuplicateNamedSystemIsUpdatedWhileLookupsReturnTheFirst)
{
    auto* first = new RecordingSystem(&log, "first");
    auto* second = new RecordingSystem(&log, "second");
    engine->AddSystem("Same", first, "default");
    EXPECT_EQ(engine->AddSystem("Same", second, "default"), second);
    log.clear();

    engine->Update(0.016f);

    EXPECT_EQ(engine->GetSystem("Same", "default"), first);
    EXPECT_TRUE(engine->HasSystem("Same", "default"));
    EXPECT_EQ(log, (Log{"first:pre", "second:pre", "first:update", "second:update", "first:post", "second:post"}));
}

TEST_F(FrameTest, LookupsOfMissingNamesOrSpacesFindNothing)
{
    engine->AddSystem("S", new RecordingSystem(nullptr, "S"), "default");
    engine->CreateEntity("e", "default");

    EXPECT_EQ(engine->GetSystem("S", "elsewhere"), nullptr);
    EXPECT_EQ(engine->GetSystem("T", "default"), nullptr);
    EXPECT_FALSE(engine->HasSystem("T", "default"));
    EXPECT_EQ(engine->GetEntity("e", "elsewhere"), nullptr);
    EXPECT_EQ(engine->GetEntity("f", "default"), nullptr);
    EXPECT_FALSE(engine->HasEntity("f", "default"));
    EXPECT_EQ(engine->CreateEntity("e", "elsewhere"), nullptr);
    EXPECT_EQ(engine->GetSpace("elsewhere"), nullptr);
    engine->DestroyEntity("e", "elsewhere");
    engine->DestroySpace("elsewhere");
    engine->Update(0.0f);
    EXPECT_TRUE(engine->HasEntity("e", "default"));
}

TEST_F(FrameTest, ASystemForAMissingSpaceIsFreedAndOneAlreadyHeldIsNotAddedTwice)
{
    const int before = RecordingSystem::s_live;
    EXPECT_EQ(engine->AddSystem("S", new RecordingSystem(nullptr, "S"), "nowhere"), nullptr);
    EXPECT_EQ(RecordingSystem::s_live, before);

    auto* system = new RecordingSystem(&log, "S");
    engine->AddSystem("S", system, "default");
    engine->CreateSpace("other");
    EXPECT_EQ(engine->AddSystem("T", system, "other"), system);
    EXPECT_EQ(engine->GetSystem("T", "other"), nullptr);
    log.clear();
    engine->Update(0.0f);
    EXPECT_EQ(log, (Log{"S:pre", "S:update", "S:post"}));
}

class OtherSystem : public System {
public:
    inline static const std::string ID = "OtherSystem";
};

class ProbeSystem : public System {
public:
    inline static const std::string ID = "ProbeSystem";
};

TEST_F(FrameTest, TypedLookupsCheckTheRunTimeType)
{
    auto* probe = new ProbeSystem;
    engine->AddSystem("ProbeSystem", probe, "default");
    // A system of another type under OtherSystem's key is not returned as one.
    engine->AddSystem("OtherSystem", new ProbeSystem, "default");
    Entity* entity = engine->CreateEntity("e", "default");
    auto* component = entity->AddComponent<Transform2D>(false);

    EXPECT_EQ(engine->GetSystem<ProbeSystem>("default"), probe);
    EXPECT_EQ(component->GetSystem<ProbeSystem>(), probe);
    EXPECT_EQ(component->GetSystem<OtherSystem>(), nullptr);
    EXPECT_EQ(engine->GetSystem<OtherSystem>("default"), nullptr);
    Transform2D loose;
    EXPECT_EQ(loose.GetSystem<ProbeSystem>(), nullptr);
    EXPECT_EQ(loose.GetEngine(), nullptr);
    EXPECT_EQ(loose.GetTime(), 0.0f);
}

TEST_F(FrameTest, SystemsOfAnotherSpaceAreUpdatedAndFindTheirOwnSpace)
{
    engine->CreateSpace("menu");
    engine->CreateSpace("menu"); // a second create changes nothing
    auto* menuProbe = new ProbeSystem;
    auto* menuSystem = new RecordingSystem(nullptr, "M");
    engine->AddSystem("ProbeSystem", menuProbe, "menu");
    engine->AddSystem("M", menuSystem, "menu");
    int updates = 0;
    menuSystem->onUpdate = [&] { ++updates; };

    engine->Update(0.0f);

    EXPECT_EQ(updates, 1);
    EXPECT_EQ(menuSystem->GetSystem<ProbeSystem>(), menuProbe);
    EXPECT_EQ(engine->GetSystem<ProbeSystem>("default"), nullptr);
}

TEST_F(FrameTest, SystemsAndSpacesAddedDuringAPassJoinSafely)
{
    auto* adder = new RecordingSystem(&log, "adder");
    engine->AddSystem("adder", adder, "default");
    adder->onUpdate = [&] {
        if (!engine->HasSystem("late", "default")) {
            for (int i = 0; i < 20; ++i) // enough to move the update list's storage
                engine->AddSystem("late", new RecordingSystem(i == 0 ? &log : nullptr, "late"), "default");
            engine->CreateSpace("late space");
            engine->AddSystem("x", new RecordingSystem(nullptr, "x"), "late space");
        }
    };
    log.clear();

    engine->Update(0.0f);
    // Not in the update pass it was added in, but in the passes after it.
    EXPECT_EQ(log, (Log{"adder:pre", "adder:update", "late:init", "adder:post", "late:post"}));

    log.clear();
    engine->Update(0.0f);
    EXPECT_EQ(log, (Log{"adder:pre", "late:pre", "adder:update", "late:update", "adder:post", "late:post"}));
}

} // namespace
} // namespace quellor::test
