// Levels and archetypes: the built samples, the reading rules (file order, first wrapper only,
// initialisation one component at a time, unknown members), unique names, duplicate entity
// names, refused component kinds, cloning into another space, and broken files.
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/ObjectSystem.h"
#include "engine/ResourceSystem.h"
#include "engine/Transform2D.h"
#include "tests/engine/LevelDocuments.h"
#include "tests/engine/LevelFixtures.h"
#include "tests/support/StdoutCapture.h"
#include "tests/support/TempDir.h"
#include "tests/support/WorkingDirectory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace quellor {
namespace {

namespace docs = test::documents;
using fixtures::OrderProbe;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

class LevelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fixtures::RegisterLevelFixtures();
        OrderProbe::s_log.clear();
    }
    void TearDown() override { Engine::DestroyInstance(); }

    // A fresh engine whose "default" space has the two systems the loader needs; the resource
    // system scans the working directory as it is added.
    ObjectSystem* Start(bool withResources = true)
    {
        engine = Engine::Instance();
        if (withResources)
            engine->AddSystem(ResourceSystem::ID, new ResourceSystem, "default");
        return static_cast<ObjectSystem*>(engine->AddSystem(ObjectSystem::ID, new ObjectSystem, "default"));
    }

    Transform2D* TransformOf(Entity* entity) { return entity ? entity->GetComponent<Transform2D>() : nullptr; }

    Engine* engine = nullptr;
};

// Tests that write their own files scan a temporary working directory.
class LevelFileTest : public LevelTest {
protected:
    tarsel::test::TempDir dir;
    tarsel::test::WorkingDirectory cwd{dir.Path()};
};

TEST_F(LevelTest, SampleLevelAndArchetypeLoadWithTheValuesWrittenInThem)
{
    const char* content = std::getenv("TARSEL_CONTENT_DIR");
    ASSERT_NE(content, nullptr) << "TARSEL_CONTENT_DIR names the built content";
    tarsel::test::WorkingDirectory cwd(content);
    ObjectSystem* objects = Start();

    tarsel::test::StdoutCapture out;
    objects->LoadLevel("sample.ql");
    EXPECT_EQ(out.Text(), "start: levels/sample.ql\nstart0\n");

    // entity, x, y, rotation, scale x, scale y: as written in the files
    const struct {
        const char* name;
        float x, y, rotation, scaleX, scaleY;
    } placed[] = {
        {"title", 640.0f, 96.0f, 0.0f, 2.5f, 2.5f},
        {"cursor", -12.75f, -0.5f, -1.5707963f, 1.0f, 1.0f},
        {"marker", 1280.0f, 720.0f, 0.0f, 0.5f, -0.025f},
        {"copy", 32.0f, -64.5f, 3.1415927f, 1.0f, 15.0f},
    };
    Entity* copy = objects->Clone("sample.arch", "copy", "default");
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy, engine->GetEntity("copy", "default"));
    for (const auto& p : placed) {
        Transform2D* t = TransformOf(engine->GetEntity(p.name, "default"));
        ASSERT_NE(t, nullptr) << p.name;
        EXPECT_FLOAT_EQ(t->m_x, p.x) << p.name;
        EXPECT_FLOAT_EQ(t->m_y, p.y) << p.name;
        EXPECT_FLOAT_EQ(t->m_rotation, p.rotation) << p.name;
        EXPECT_FLOAT_EQ(t->m_scaleX, p.scaleX) << p.name;
        EXPECT_FLOAT_EQ(t->m_scaleY, p.scaleY) << p.name;
    }
    Transform2D* marker = TransformOf(engine->GetEntity("marker", "default"));
    EXPECT_EQ(marker->m_id, "Transform2D");
    EXPECT_EQ(marker->GetEntity(), engine->GetEntity("marker", "default"));
}

TEST_F(LevelFileTest, EntitiesComeInFileOrderFromTheFirstWrapperOneComponentAtATime)
{
    dir.Write("levels/two.ql", docs::kTwoEntities);
    ObjectSystem* objects = Start();
    objects->LoadLevel("two.ql");

    // File order; the first probe comes before its transform and cannot see it.
    EXPECT_THAT(OrderProbe::s_log, ElementsAre("first:alone", "second:transform"));
    // The second wrapper of "second" was never read: nothing of it was made.
    EXPECT_EQ(OrderProbe::s_live, 2);
    EXPECT_FLOAT_EQ(TransformOf(engine->GetEntity("first", "default"))->m_x, 1.5f);
    EXPECT_FLOAT_EQ(TransformOf(engine->GetEntity("second", "default"))->m_y, -2.0f);

    for (const char* name : {"bare", "hollow"}) {
        Entity* entity = engine->GetEntity(name, "default");
        ASSERT_NE(entity, nullptr) << name;
        EXPECT_FALSE(entity->HasComponent(Transform2D::ID)) << name;
        EXPECT_FALSE(entity->HasComponent(OrderProbe::ID)) << name;
    }
    // The root's own tag names no entity; the wrapper's neither.
    EXPECT_FALSE(engine->HasEntity("level", "default"));
    EXPECT_FALSE(engine->HasEntity("components", "default"));
}

TEST_F(LevelFileTest, UnknownMembersAreIgnoredAndTheRestIsRead)
{
    dir.Write("archetypes/odd.arch", docs::kUnknownMember);
    ObjectSystem* objects = Start();
    Transform2D* transform = TransformOf(objects->Clone("odd.arch", "odd", "default"));
    ASSERT_NE(transform, nullptr);
    EXPECT_FLOAT_EQ(transform->m_x, 3.0f);
    EXPECT_FLOAT_EQ(transform->m_rotation, 0.25f);
    EXPECT_FLOAT_EQ(transform->m_y, 0.0f);
    EXPECT_FLOAT_EQ(transform->m_scaleX, 1.0f);
}

TEST_F(LevelFileTest, UniqueNamesCountOnFromOneCounterSharedByAllNames)
{
    dir.Write("archetypes/orb.arch", docs::kOrb);
    ObjectSystem* objects = Start();
    EXPECT_EQ(objects->UniqueEntityName("orb"), "orb");
    engine->CreateEntity("orb", "default");

    // Wherever the process-wide counter stands, three clones take three numbers in a row.
    const std::string first = objects->UniqueEntityName("orb");
    ASSERT_EQ(first.rfind("orb", 0), 0u);
    const int start = std::stoi(first.substr(3));
    // Asking again without using the name gives the same name.
    EXPECT_EQ(objects->UniqueEntityName("orb"), first);
    for (int i = 0; i < 3; ++i) {
        const std::string name = objects->UniqueEntityName("orb");
        EXPECT_EQ(name, "orb" + std::to_string(start + i));
        Entity* clone = objects->Clone("orb.arch", name, "default");
        ASSERT_NE(clone, nullptr);
        EXPECT_EQ(engine->GetEntity(name, "default"), clone);
        EXPECT_FLOAT_EQ(TransformOf(clone)->m_x, 4.0f);
        EXPECT_FLOAT_EQ(TransformOf(clone)->m_scaleY, 0.2f);
    }
    EXPECT_THAT(OrderProbe::s_log, ElementsAre("orb:transform", "orb:transform", "orb:transform"));

    // Another name continues from the same counter, which only moves past names in use.
    engine->CreateEntity("tree", "default");
    engine->CreateEntity("tree" + std::to_string(start + 2), "default");
    EXPECT_EQ(objects->UniqueEntityName("tree"), "tree" + std::to_string(start + 3));

    // Names of any length.
    const std::string longName(300, 'x');
    engine->CreateEntity(longName, "default");
    EXPECT_EQ(objects->UniqueEntityName(longName), longName + std::to_string(start + 3));
}

TEST_F(LevelFileTest, DuplicateEntityNamesAreAllOwnedAndTheFirstIsFound)
{
    dir.Write("levels/twins.ql", docs::kDuplicateNames);
    ObjectSystem* objects = Start();
    objects->LoadLevel("twins.ql");
    EXPECT_THAT(OrderProbe::s_log, ElementsAre("one:alone", "two:alone"));
    auto* found = engine->GetEntity("twin", "default")->GetComponent<OrderProbe>();
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->m_tag, "one");
    EXPECT_EQ(OrderProbe::s_live, 2);
    // Both belong to the space and go with it.
    Engine::DestroyInstance();
    EXPECT_EQ(OrderProbe::s_live, 0);
}

TEST_F(LevelFileTest, ElementsThatAreNoComponentAreSkippedWithAWarningAndSiblingsLoad)
{
    dir.Write("archetypes/mixed.arch", docs::kRefusedKinds);
    ObjectSystem* objects = Start();
    tarsel::test::StdoutCapture out;
    Entity* entity = objects->Clone("mixed.arch", "mixed", "default");
    const std::string text = out.Text();

    ASSERT_NE(entity, nullptr);
    EXPECT_FLOAT_EQ(TransformOf(entity)->m_x, 1.0f);
    ASSERT_NE(entity->GetComponent<OrderProbe>(), nullptr);
    EXPECT_EQ(entity->GetComponent<OrderProbe>()->m_tag, "after");
    EXPECT_THAT(OrderProbe::s_log, ElementsAre("after:transform"));
    for (const char* refused : {"UnkeyedComponent", "KeyedSystem", "BirdGrabComponent", "Component", "Entity",
                                "NoSuchType", "System"})
        EXPECT_FALSE(entity->HasComponent(refused)) << refused;

    const std::string file = "\"archetypes/mixed.arch\"";
    EXPECT_THAT(text, HasSubstr("Warning: " + file + " line 3: component \"UnkeyedComponent\" has no \"ID\"; skipped\n"));
    EXPECT_THAT(text, HasSubstr("Warning: " + file + " line 4: component \"KeyedSystem\" is not a component; skipped\n"));
    EXPECT_THAT(text,
                HasSubstr("Warning: " + file + " line 5: component \"BirdGrabComponent\" cannot be created; skipped\n"));
    EXPECT_THAT(text, HasSubstr("Warning: " + file + " line 6: component \"Component\" has no \"ID\"; skipped\n"));
    EXPECT_THAT(text, HasSubstr("Warning: " + file + " line 7: component \"Entity\" has no \"ID\"; skipped\n"));
    EXPECT_THAT(text,
                HasSubstr("Warning: " + file + " line 8: component \"NoSuchType\" names no registered type; skipped\n"));
    // Nothing was made for the refused elements, so nothing was left behind.
    EXPECT_EQ(fixtures::UnkeyedComponent::s_live, 0);
    EXPECT_EQ(fixtures::KeyedSystem::s_live, 0);
}

TEST_F(LevelFileTest, CloneFillsAnEntityOfTheNamedSpace)
{
    dir.Write("archetypes/orb.arch", docs::kOrb);
    ObjectSystem* objects = Start();
    engine->CreateSpace("menu");
    Entity* orb = objects->Clone("orb.arch", "orb", "menu");
    ASSERT_NE(orb, nullptr);
    EXPECT_EQ(engine->GetEntity("orb", "menu"), orb);
    EXPECT_FALSE(engine->HasEntity("orb", "default"));
    EXPECT_EQ(orb->GetSpaceName(), "menu");
    ASSERT_NE(TransformOf(orb), nullptr);
    EXPECT_EQ(TransformOf(orb)->GetEntity(), orb);
    EXPECT_THAT(OrderProbe::s_log, ElementsAre("orb:transform"));

    // A space that does not exist gets nothing.
    tarsel::test::StdoutCapture out;
    EXPECT_EQ(objects->Clone("orb.arch", "orb", "nowhere"), nullptr);
    EXPECT_THAT(out.Text(), HasSubstr("Warning: no space \"nowhere\""));
    EXPECT_EQ(OrderProbe::s_live, 1);
}

TEST_F(LevelFileTest, BrokenFilesGiveAWarningAndNothingFromTheFile)
{
    for (const auto& [name, text] : docs::BrokenFiles())
        dir.Write("broken/" + name, text);
    dir.Write("broken/huge.arch", "<archetype><OrderProbe/></archetype>");
    std::filesystem::resize_file(dir / "broken/huge.arch", 16u * 1024u * 1024u + 1u);
    ObjectSystem* objects = Start();

    for (const auto& [name, text] : docs::BrokenFiles()) {
        tarsel::test::StdoutCapture out;
        objects->LoadLevel(name);
        Entity* clone = objects->Clone(name, "clone of " + name, "default");
        ASSERT_NE(clone, nullptr) << name;
        EXPECT_FALSE(clone->HasComponent(Transform2D::ID)) << name;
        EXPECT_THAT(out.Text(), HasSubstr("Warning: XML file \"broken/" + name + "\"")) << name;
    }
    {
        tarsel::test::StdoutCapture out;
        objects->LoadLevel("huge.arch");
        EXPECT_FALSE(objects->Clone("huge.arch", "huge", "default")->HasComponent(OrderProbe::ID));
        EXPECT_THAT(out.Text(), HasSubstr("Warning: XML file \"broken/huge.arch\" is larger than 16 MiB"));
    }
    // Not one entity or component came out of the broken files.
    for (const char* name : {"level", "orb", "n", "a", "components"})
        EXPECT_FALSE(engine->HasEntity(name, "default")) << name;
    EXPECT_EQ(OrderProbe::s_live, 0);
    EXPECT_THAT(OrderProbe::s_log, IsEmpty());

    // A name missing from the table: the level loads nothing, the clone stays empty.
    tarsel::test::StdoutCapture out;
    objects->LoadLevel("absent.ql");
    Entity* ghost = objects->Clone("absent.arch", "ghost", "default");
    const std::string text = out.Text();
    ASSERT_NE(ghost, nullptr);
    EXPECT_EQ(engine->GetEntity("ghost", "default"), ghost);
    EXPECT_FALSE(ghost->HasComponent(Transform2D::ID));
    EXPECT_THAT(text, HasSubstr("Warning: level \"absent.ql\" is not in the file table"));
    EXPECT_THAT(text, HasSubstr("Warning: archetype \"absent.arch\" is not in the file table"));
    EXPECT_THAT(text, Not(HasSubstr("start:")));
}

TEST_F(LevelFileTest, WithoutAResourceSystemNothingIsLoaded)
{
    dir.Write("levels/two.ql", docs::kTwoEntities);
    dir.Write("archetypes/orb.arch", docs::kOrb);
    ObjectSystem* objects = Start(false);
    tarsel::test::StdoutCapture out;
    objects->LoadLevel("two.ql");
    Entity* orb = objects->Clone("orb.arch", "orb", "default");
    const std::string text = out.Text();
    EXPECT_FALSE(engine->HasEntity("first", "default"));
    ASSERT_NE(orb, nullptr);
    EXPECT_FALSE(orb->HasComponent(Transform2D::ID));
    EXPECT_EQ(OrderProbe::s_live, 0);
    EXPECT_THAT(text, HasSubstr("Warning: no ResourceSystem in this space; level \"two.ql\" not loaded"));
    EXPECT_THAT(text, HasSubstr("Warning: no ResourceSystem in this space; archetype \"orb.arch\" not loaded"));
}

} // namespace
} // namespace quellor
