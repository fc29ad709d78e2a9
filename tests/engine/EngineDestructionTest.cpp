// Ownership and the end-of-frame destruction of components, entities, systems and spaces.
#include "EngineTestSupport.h"

#include "engine/ActionSystem.h"
#include "engine/Entity.h"
#include "engine/Invoke.h"
#include "engine/Space.h"

#include <algorithm>

namespace quellor::test {
namespace {

class DestructionTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        ProbeComponent::s_live = 0;
        RecordingSystem::s_live = 0;
    }
};

class OtherProbe : public ProbeComponent {
public:
    inline static const std::string ID = "OtherProbe";
    using ProbeComponent::ProbeComponent;
};

TEST_F(DestructionTest, ADestroyedEntityIsFoundUntilTheFrameEnds)
{
    Entity* entity = engine->CreateEntity("crate", "default");
    EXPECT_EQ(entity->GetName(), "crate");
    EXPECT_EQ(entity->GetSpaceName(), "default");
    EXPECT_EQ(entity->GetEntity(), entity);
    auto* system = new RecordingSystem(nullptr, "S");
    engine->AddSystem("S", system, "default");
    bool foundDuringFrame = false;
    bool flaggedDuringFrame = false;
    system->onUpdate = [&] {
        foundDuringFrame = engine->GetEntity("crate", "default") == entity;
        flaggedDuringFrame = entity->IsDestroyed();
    };

    EXPECT_FALSE(entity->IsDestroyed());
    entity->Destroy();
    entity->Destroy(); // queued once
    engine->DestroyEntity("crate", "default");
    engine->Update(0.0f);

    EXPECT_TRUE(foundDuringFrame);
    EXPECT_TRUE(flaggedDuringFrame);
    EXPECT_EQ(engine->GetEntity("crate", "default"), nullptr);
    EXPECT_FALSE(engine->HasEntity("crate", "default"));
}

TEST_F(DestructionTest, ComponentsAreUninitialisedOneByOneBeforeTheirEntityLeaves)
{
    Entity* entity = engine->CreateEntity("e", "default");
    auto* first = new ProbeComponent(&log, "first");
    auto* second = new OtherProbe(&log, "second");
    entity->AddComponent(ProbeComponent::ID, first, true);
    entity->AddComponent(OtherProbe::ID, second, true);
    EXPECT_EQ(first->m_id, "ProbeComponent");
    EXPECT_EQ(first->GetOwner(), entity);
    bool entityStillMapped = false, siblingGone = false, selfPresent = false;
    second->onUninitialize = [&] {
        entityStillMapped = engine->GetEntity("e", "default") == entity;
        siblingGone = !entity->HasComponent<ProbeComponent>();
        selfPresent = entity->GetComponent<OtherProbe>() == second;
    };

    entity->Destroy();
    engine->Update(0.0f);

    EXPECT_EQ(log, (Log{"first:init", "second:init", "first:uninit", "second:uninit"}));
    EXPECT_TRUE(entityStillMapped);
    EXPECT_TRUE(siblingGone);
    EXPECT_TRUE(selfPresent);
    EXPECT_EQ(ProbeComponent::s_live, 0);
}

TEST_F(DestructionTest, DestroyingTheDefaultSpaceShutsEverySystemDownAndEmptiesTheSpaceMap)
{
    engine->AddSystem("A", new RecordingSystem(&log, "A"), "default");
    engine->AddSystem("B", new RecordingSystem(&log, "B"), "default");
    Entity* entity = engine->CreateEntity("e", "default");
    entity->AddComponent(ProbeComponent::ID, new ProbeComponent(&log, "c"), true);
    log.clear();

    engine->DestroySpace("default");
    engine->DestroySpace("default"); // queued once
    engine->Update(0.0f);

    // The frame still runs the queued systems; then components, entities, systems in the order added.
    EXPECT_EQ(log, (Log{"A:pre", "B:pre", "A:update", "B:update", "A:post", "B:post", "c:uninit", "A:shutdown",
                        "B:shutdown"}));
    EXPECT_EQ(engine->GetSpace("default"), nullptr);
    EXPECT_EQ(RecordingSystem::s_live, 0);
    EXPECT_EQ(ProbeComponent::s_live, 0);

    // The engine keeps running without spaces, and spaces can be made again.
    engine->Update(0.0f);
    engine->CreateSpace("default");
    EXPECT_NE(engine->CreateEntity("again", "default"), nullptr);
}

TEST_F(DestructionTest, DuplicateEntitiesComponentsAndSystemsAreAllFreed)
{
    Entity* first = engine->CreateEntity("twin", "default");
    Entity* second = engine->CreateEntity("twin", "default");
    ASSERT_NE(first, second);
    EXPECT_EQ(engine->GetEntity("twin", "default"), first);
    EXPECT_EQ(second->GetEntity(), second);

    auto* mapped = new ProbeComponent(&log, "mapped");
    auto* duplicate = new ProbeComponent(&log, "duplicate");
    EXPECT_EQ(second->AddComponent(ProbeComponent::ID, mapped, true), mapped);
    EXPECT_EQ(second->AddComponent(ProbeComponent::ID, duplicate, true), mapped);
    EXPECT_EQ(second->GetComponent(ProbeComponent::ID), mapped);
    EXPECT_EQ(duplicate->initialized, 0);

    engine->AddSystem("S", new RecordingSystem(&log, "S1"), "default");
    engine->AddSystem("S", new RecordingSystem(&log, "S2"), "default");
    EXPECT_EQ(ProbeComponent::s_live, 2);
    EXPECT_EQ(RecordingSystem::s_live, 2);
    log.clear();

    engine->DestroySpace("default");
    engine->Update(0.0f);

    EXPECT_EQ(ProbeComponent::s_live, 0);
    EXPECT_EQ(RecordingSystem::s_live, 0);
    // Only the mapped component was initialised, so only it is uninitialised; both systems shut down.
    EXPECT_EQ(std::count(log.begin(), log.end(), "mapped:uninit"), 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "duplicate:uninit"), 0);
    EXPECT_EQ(std::count(log.begin(), log.end(), "S1:shutdown"), 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "S2:shutdown"), 1);
}

TEST_F(DestructionTest, DestroyOnADuplicateNamedEntityQueuesThatEntity)
{
    Entity* first = engine->CreateEntity("twin", "default");
    Entity* second = engine->CreateEntity("twin", "default");
    second->AddComponent(ProbeComponent::ID, new ProbeComponent, true);

    second->Destroy();
    EXPECT_TRUE(second->IsDestroyed());
    EXPECT_FALSE(first->IsDestroyed());
    engine->Update(0.0f);

    EXPECT_EQ(engine->GetEntity("twin", "default"), first);
    EXPECT_EQ(ProbeComponent::s_live, 0);

    // The first one leaves the map only when it goes itself.
    engine->DestroyAllEntities("default");
    engine->Update(0.0f);
    EXPECT_FALSE(engine->HasEntity("twin", "default"));
}

TEST_F(DestructionTest, AComponentIsHeldByOneEntityOnly)
{
    Entity* a = engine->CreateEntity("a", "default");
    Entity* b = engine->CreateEntity("b", "default");
    auto* probe = new ProbeComponent;
    a->AddComponent(ProbeComponent::ID, probe, true);
    EXPECT_EQ(b->AddComponent(ProbeComponent::ID, probe, true), probe);
    EXPECT_FALSE(b->HasComponent<ProbeComponent>());
    EXPECT_EQ(probe->initialized, 1);
    EXPECT_EQ(b->AddComponent(ProbeComponent::ID, nullptr, true), nullptr);

    engine->DestroyDefaultEntities();
    engine->Update(0.0f);
    EXPECT_EQ(ProbeComponent::s_live, 0);
}

TEST_F(DestructionTest, WhatIsQueuedDuringThePassIsDestroyedInThatPass)
{
    Entity* first = engine->CreateEntity("first", "default");
    Entity* second = engine->CreateEntity("second", "default");
    Entity* third = engine->CreateEntity("third", "default");
    auto* trigger = new ProbeComponent(&log, "first");
    first->AddComponent(ProbeComponent::ID, trigger, true);
    second->AddComponent(ProbeComponent::ID, new ProbeComponent(&log, "second"), true);
    third->AddComponent(ProbeComponent::ID, new ProbeComponent(&log, "third"), true);
    trigger->onUninitialize = [&] { second->Destroy(); };
    auto* system = new RecordingSystem(&log, "S");
    engine->AddSystem("S", system, "default");
    system->onShutdown = [&] { third->Destroy(); };
    log.clear();

    first->Destroy();
    engine->DestroyAllSystems("default");
    engine->DestroyAllSystems("default"); // queued once
    engine->Update(0.0f);

    EXPECT_EQ(engine->GetEntity("first", "default"), nullptr);
    EXPECT_EQ(engine->GetEntity("second", "default"), nullptr);
    EXPECT_EQ(engine->GetEntity("third", "default"), nullptr);
    EXPECT_EQ(std::count(log.begin(), log.end(), "S:shutdown"), 1);
    EXPECT_EQ(ProbeComponent::s_live, 0);
    EXPECT_EQ(RecordingSystem::s_live, 0);
    EXPECT_EQ(log.back(), "third:uninit");
}

TEST_F(DestructionTest, ASpaceQueuedDuringItsOwnTeardownGoesOnce)
{
    engine->CreateSpace("level");
    Entity* entity = engine->CreateEntity("e", "level");
    auto* probe = new ProbeComponent;
    entity->AddComponent(ProbeComponent::ID, probe, true);
    probe->onUninitialize = [&] {
        engine->DestroySpace("level");
        // Made while the space is being torn down: goes with it.
        engine->CreateEntity("late", "level")->AddComponent(ProbeComponent::ID, new ProbeComponent, true);
    };

    engine->DestroySpace("level");
    engine->Update(0.0f);

    EXPECT_EQ(engine->GetSpace("level"), nullptr);
    EXPECT_EQ(ProbeComponent::s_live, 0);
}

TEST_F(DestructionTest, DestroyInstanceShutsEverySystemDownInTheOrderAdded)
{
    auto* late = new RecordingSystem(&log, "second");
    late->priority = 5; // first in the update list, second in the order added
    engine->AddSystem("first", new RecordingSystem(&log, "first"), "default");
    engine->AddSystem("second", late, "default");
    engine->CreateSpace("other");
    engine->AddSystem("third", new RecordingSystem(&log, "third"), "other");
    Entity* entity = engine->CreateEntity("e", "other");
    entity->AddComponent(ProbeComponent::ID, new ProbeComponent(&log, "c"), true);
    log.clear();

    Engine::DestroyInstance();

    EXPECT_EQ(log, (Log{"first:shutdown", "second:shutdown", "c:uninit", "third:shutdown"}));
    EXPECT_EQ(RecordingSystem::s_live, 0);
    EXPECT_EQ(ProbeComponent::s_live, 0);

    Engine* fresh = Engine::Instance();
    ASSERT_NE(fresh, nullptr);
    EXPECT_NE(fresh->GetSpace("default"), nullptr);
    EXPECT_EQ(fresh->GetSpace("other"), nullptr);
    EXPECT_EQ(fresh->GetFrameCount(), 0u);
}

TEST_F(DestructionTest, DestroyInstanceFromAnActionTakesEffectWhenTheUpdateReturns)
{
    auto* actions = new ActionSystem;
    engine->AddSystem(ActionSystem::ID, actions, "default");
    auto* after = new RecordingSystem(&log, "after");
    engine->AddSystem("after", after, "default");
    bool engineUsableLater = false;
    after->onPostUpdate = [&] { engineUsableLater = Engine::Instance() == engine && engine->HasSystem("after", "default"); };
    actions->AddAction(new Invoke([] { Engine::DestroyInstance(); }), 0);
    log.clear();

    engine->Update(0.016f);

    EXPECT_TRUE(engineUsableLater);
    EXPECT_EQ(std::count(log.begin(), log.end(), "after:shutdown"), 1);
    EXPECT_EQ(RecordingSystem::s_live, 0);
    EXPECT_EQ(Engine::Instance()->GetFrameCount(), 0u);
}

TEST_F(DestructionTest, AnEntityDeletedWithoutTheEngineReleasesItsComponents)
{
    auto* entity = new Entity("loose", "nowhere");
    entity->SetInjector(Injector::CreateEntityInjector(nullptr, entity, "nowhere"));
    auto* probe = new ProbeComponent;
    entity->AddComponent(ProbeComponent::ID, probe, true);
    std::shared_ptr<Injector> injector = probe->GetInjector();
    entity->Destroy(); // no engine behind it: nothing happens
    EXPECT_FALSE(entity->IsDestroyed());
    delete entity;
    EXPECT_EQ(ProbeComponent::s_live, 0);
    // A holder of its injector does not reach the deleted entity.
    EXPECT_EQ(injector->m_entity, nullptr);
}

} // namespace
} // namespace quellor::test
