// Records and bindings of the engine's own classes: object model, actions, Transform2D.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/Action.h"
#include "engine/ActionComponent.h"
#include "engine/ActionSystem.h"
#include "engine/BirdGrabComponent.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Transform2D.h"
#include "engine/reflection/MetaRegistrar.h"
#include "tests/engine/reflection/EngineFixtures.h"

using namespace quellor;
using namespace quellor::fixtures;

namespace {

using Result = std::unique_ptr<Variable>;

class EngineRecordTest : public testing::Test {
protected:
    void SetUp() override
    {
        RegisterEngineFixtures();
        engine = Engine::Instance();
    }
    void TearDown() override { Engine::DestroyInstance(); }

    // Looks the method up by name on the object's own record and calls it.
    template <class T, class... Args>
    Result Call(const char* method, T* object, Args*... args)
    {
        Function* f = object->GetMeta()->GetMethod(method);
        EXPECT_NE(f, nullptr) << method;
        if (!f) {
            return nullptr;
        }
        f->PushArgument(Variable(object, false));
        (f->PushArgument(Variable(args, false)), ...);
        return Result(f->Invoke());
    }

    Engine* engine = nullptr;
};

} // namespace

TEST_F(EngineRecordTest, CreationAndCopyFollowEachClassesOperations)
{
    EXPECT_EQ(MetaOf<Engine>()->GetOps()->New(), nullptr);
    EXPECT_EQ(MetaOf<BirdGrabComponent>()->GetOps()->New(), nullptr);

    MetaNotPOD* actionOps = MetaOf<Action>()->GetOps();
    Action action;
    EXPECT_EQ(actionOps->Copy(&action), nullptr);
    void* made = actionOps->New();
    ASSERT_NE(made, nullptr);
    EXPECT_FALSE(static_cast<Action*>(made)->IsStarted());
    actionOps->Delete(made);

    Entity* entity = engine->CreateEntity("copied", "default");
    EXPECT_EQ(MetaOf<Entity>()->GetOps()->Copy(entity), nullptr);

    Transform2D transform;
    transform.m_x = 3.0f;
    transform.m_scaleY = 4.0f;
    auto* copy = static_cast<Transform2D*>(MetaOf<Transform2D>()->GetOps()->Copy(&transform));
    ASSERT_NE(copy, nullptr);
    EXPECT_FLOAT_EQ(copy->m_x, 3.0f);
    EXPECT_FLOAT_EQ(copy->m_scaleY, 4.0f);
    MetaOf<Transform2D>()->GetOps()->Delete(copy);

    // Deleting through a base record runs the object's own destructor.
    const int before = CountedAction::s_live;
    void* counted = MetaOf<CountedAction>()->GetOps()->New();
    EXPECT_EQ(CountedAction::s_live, before + 1);
    MetaOf<Action>()->GetOps()->Delete(MetaOf<CountedAction>()->CastTo(counted, MetaOf<Action>()));
    EXPECT_EQ(CountedAction::s_live, before);
}

TEST_F(EngineRecordTest, ACopiedComponentSharesItsInjector)
{
    Entity* entity = engine->CreateEntity("holder", "default");
    auto* transform = static_cast<Transform2D*>(entity->AddComponent(Transform2D::ID, new Transform2D, true));
    ASSERT_NE(transform, nullptr);
    ASSERT_NE(transform->GetInjector(), nullptr);
    Variable copy(static_cast<Component*>(transform), true);
    ASSERT_TRUE(copy.Owns());
    auto* copied = static_cast<Component*>(copy.Value());
    EXPECT_EQ(copied->GetInjector(), transform->GetInjector());
    EXPECT_EQ(copied->GetEntity(), entity);
    EXPECT_EQ(copied->m_id, "Transform2D");
}

TEST_F(EngineRecordTest, GetXReturnsAnOwnedCopyAndAClassWithoutItsOwnRecordAnswersWithItsBases)
{
    // Which records carry "ID", and which members have getters, is held by the census and the
    // catalogue tables; here the bindings are called.
    Transform2D transform;
    transform.m_x = 2.0f;
    transform.m_y = -1.0f;
    Result x = Call("GetX", &transform);
    ASSERT_NE(x, nullptr);
    EXPECT_TRUE(x->Owns());
    transform.m_x = 5.0f;
    EXPECT_FLOAT_EQ(*static_cast<float*>(x->Value()), 2.0f);

    Function* getter = MetaOf<Transform2D>()->GetMember("m_y")->GetGetter();
    ASSERT_NE(getter, nullptr);
    getter->PushArgument(Variable(&transform, false));
    Result y(getter->Invoke());
    ASSERT_NE(y, nullptr);
    EXPECT_FLOAT_EQ(*static_cast<float*>(y->Value()), -1.0f);

    ActionSystem system;
    EXPECT_EQ(system.GetMeta(), MetaOf<System>());
}

TEST_F(EngineRecordTest, NameAliasesTheEntitysName)
{
    Entity* entity = engine->CreateEntity("player one", "default");
    Result name = Call("Name", entity);
    ASSERT_NE(name, nullptr);
    EXPECT_FALSE(name->Owns());
    EXPECT_EQ(name->GetType(), MetaOf<std::string>());
    EXPECT_EQ(name->Value(), &entity->GetName());
    EXPECT_EQ(*static_cast<std::string*>(name->Value()), "player one");
}

TEST_F(EngineRecordTest, PointerResultsAreTypedByTheObjectsRecord)
{
    Entity* entity = engine->CreateEntity("e", "default");
    auto* transform = static_cast<Transform2D*>(entity->AddComponent(Transform2D::ID, new Transform2D, true));
    Function* getComponent = MetaOf<Entity>()->GetMethod("GetComponent");
    ASSERT_NE(getComponent, nullptr);
    EXPECT_EQ(getComponent->GetReturnType(), MetaOf<Component>());
    ASSERT_EQ(getComponent->GetArgumentTypes().size(), 1u);
    EXPECT_EQ(getComponent->GetArgumentTypes()[0], MetaOf<std::string>());

    std::string id = "Transform2D";
    Result component = Call("GetComponent", entity, &id);
    ASSERT_NE(component, nullptr);
    EXPECT_EQ(component->GetType(), MetaOf<Transform2D>());
    EXPECT_EQ(component->Value(), transform);
    EXPECT_FALSE(component->Owns());

    // Missing names give an empty box of the declared record, which is safe to hand on.
    std::string missing = "Nothing";
    Result none = Call("GetComponent", entity, &missing);
    ASSERT_NE(none, nullptr);
    EXPECT_EQ(none->GetType(), MetaOf<Component>());
    EXPECT_EQ(none->Value(), nullptr);

    std::string entityName = "absent";
    std::string space = "default";
    Result noEntity = Call("GetEntity", engine, &entityName, &space);
    ASSERT_NE(noEntity, nullptr);
    EXPECT_EQ(noEntity->GetType(), MetaOf<Entity>());
    EXPECT_EQ(noEntity->Value(), nullptr);
    Function* name = MetaOf<Entity>()->GetMethod("Name");
    name->PushArgument(*noEntity);
    testing::internal::CaptureStdout();
    EXPECT_EQ(name->Invoke(), nullptr);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("Warning: "), std::string::npos);

    entityName = "e";
    Result found = Call("GetEntity", engine, &entityName, &space);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->Value(), entity);

    auto* actions = new ActionSystem();
    engine->AddSystem("ActionSystem", actions, "default");
    std::string systemName = "ActionSystem";
    Result system = Call("GetSystem", engine, &systemName, &space);
    ASSERT_NE(system, nullptr);
    EXPECT_EQ(system->GetType(), MetaOf<System>());
    EXPECT_EQ(system->Value(), static_cast<System*>(actions));
}

TEST_F(EngineRecordTest, WrongCountsAndTypesAreRefused)
{
    std::string name = "e";
    testing::internal::CaptureStdout();
    EXPECT_EQ(Call("GetEntity", engine, &name), nullptr);
    int number = 3;
    EXPECT_EQ(Call("GetEntity", engine, &name, &number), nullptr);
    Transform2D transform;
    Function* getEntity = MetaOf<Engine>()->GetMethod("GetEntity");
    getEntity->PushArgument(Variable(&transform, false));
    getEntity->PushArgument(Variable(&name, false));
    getEntity->PushArgument(Variable(&name, false));
    EXPECT_EQ(getEntity->Invoke(), nullptr);
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(getEntity->GetPendingCount(), 0u);
    EXPECT_NE(printed.find("Engine::GetEntity takes an object and 2 argument(s), 2 box(es) were pushed"),
              std::string::npos)
        << printed;
    EXPECT_NE(printed.find("Engine::GetEntity: argument 2 is a int box, the method takes string"), std::string::npos)
        << printed;
    EXPECT_NE(printed.find("Engine::GetEntity called on a Transform2D, not a Engine"), std::string::npos) << printed;
}
