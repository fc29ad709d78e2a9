// Weak entity references across the end-of-frame destruction and engine teardown, and the
// creation serial that orders entities by identity.
#include "EngineTestSupport.h"

#include "engine/Entity.h"
#include "engine/EntityRef.h"

namespace quellor::test {
namespace {

using EntityRefTest = EngineTest;

TEST_F(EntityRefTest, ResolvesWhileAliveAndWhileQueuedThenNullAfterThePassAndWhenEmpty)
{
    Entity* entity = engine->CreateEntity("player", "default");
    EntityRef ref(entity);
    EntityRef copy = ref;
    EXPECT_EQ(ref.Get(), entity);

    engine->Update(0.0f);
    EXPECT_EQ(ref.Get(), entity);

    entity->Destroy();
    EXPECT_EQ(ref.Get(), entity); // usable until the frame ends
    EXPECT_EQ(EntityRef(entity).Get(), entity);

    engine->Update(0.0f);
    EXPECT_EQ(ref.Get(), nullptr);
    EXPECT_EQ(copy.Get(), nullptr);
    ref.Reset();
    EXPECT_EQ(ref, EntityRef());
    EXPECT_EQ(EntityRef().Get(), nullptr);
    EXPECT_EQ(EntityRef(nullptr), EntityRef());
}

TEST_F(EntityRefTest, NullFromTheStartOfItsTeardownForLaterUninitialisesInTheSamePass)
{
    Entity* victim = engine->CreateEntity("victim", "default");
    Entity* watcher = engine->CreateEntity("watcher", "default");
    EntityRef victimRef(victim);
    EntityRef watcherRef(watcher);
    auto* victimProbe = new ProbeComponent;
    auto* watcherProbe = new ProbeComponent;
    victim->AddComponent(ProbeComponent::ID, victimProbe, true);
    watcher->AddComponent(ProbeComponent::ID, watcherProbe, true);
    Entity* victimSeenBySelf = victim;
    Entity* watcherSeenByVictim = nullptr;
    Entity* victimSeenByWatcher = victim;
    victimProbe->onUninitialize = [&] {
        victimSeenBySelf = victimRef.Get();
        watcherSeenByVictim = watcherRef.Get();
    };
    watcherProbe->onUninitialize = [&] { victimSeenByWatcher = victimRef.Get(); };

    victim->Destroy();
    watcher->Destroy();
    engine->Update(0.0f);

    EXPECT_EQ(victimSeenBySelf, nullptr);
    EXPECT_EQ(watcherSeenByVictim, watcher); // queued, not yet torn down
    EXPECT_EQ(victimSeenByWatcher, nullptr);
}

TEST_F(EntityRefTest, StaysNullWhileNewEntitiesTakeTheNameAndTheAddress)
{
    Entity* original = engine->CreateEntity("bot", "default");
    EntityRef ref(original);
    original->Destroy();
    engine->Update(0.0f);

    std::vector<EntityRef> fresh;
    for (int i = 0; i < 200; ++i) {
        Entity* entity = engine->CreateEntity(i == 0 ? "bot" : "bot" + std::to_string(i), "default");
        fresh.emplace_back(entity);
        EXPECT_EQ(ref.Get(), nullptr);
    }
    EXPECT_EQ(ref.Get(), nullptr);
    EXPECT_NE(engine->GetEntity("bot", "default"), nullptr);
    for (const EntityRef& each : fresh)
        EXPECT_NE(each.Get(), nullptr);
}

TEST_F(EntityRefTest, SerialsRiseInCreationOrderAndAreNotReusedWhenAnAddressIs)
{
    Entity* first = engine->CreateEntity("first", "default");
    Entity* second = engine->CreateEntity("second", "default");
    EXPECT_LT(first->GetSerial(), second->GetSerial());
    std::uint64_t last = second->GetSerial();
    second->Destroy();
    engine->Update(0.0f);
    for (int i = 0; i < 50; ++i) {
        const std::uint64_t serial = engine->CreateEntity("later" + std::to_string(i), "default")->GetSerial();
        EXPECT_GT(serial, last);
        last = serial;
    }
    EXPECT_GT(Entity().GetSerial(), last) << "entities outside a space count too";
}

TEST_F(EntityRefTest, NullAfterDestroyInstance)
{
    EntityRef ref(engine->CreateEntity("e", "default"));
    Engine::DestroyInstance();
    EXPECT_EQ(ref.Get(), nullptr);
    EntityRef again(Engine::Instance()->CreateEntity("e", "default"));
    EXPECT_EQ(ref.Get(), nullptr);
    EXPECT_NE(again.Get(), nullptr);
}

} // namespace
} // namespace quellor::test
