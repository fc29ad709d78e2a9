// Navigation nodes placed by levels: what AStarNodeComponent adds to and takes out of the AI
// system's graph and id map, its debug drawing, the hostile data it refuses, and its records.
#include "ai/AStarNodeComponent.h"
#include "ai/GraphEdge.h"
#include "ai/pathfinding/PathPlanner.h"
#include "engine/Injector.h"
#include "engine/ObjectSystem.h"
#include "engine/ResourceSystem.h"
#include "engine/reflection/Function.h"
#include "engine/reflection/Member.h"
#include "engine/reflection/Meta.h"
#include "engine/reflection/MetaNotPOD.h"
#include "engine/reflection/MetaRegistry.h"
#include "engine/reflection/Variable.h"
#include "renderer/DebugDrawer.h"
#include "tests/ai/AITestKit.h"
#include "tests/ai/NavGraphScripts.h"
#include "tests/ai/NodeLevels.h"
#include "tests/support/ManualClock.h"
#include "tests/support/StdoutCapture.h"
#include "tests/support/TempDir.h"
#include "tests/support/WorkingDirectory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <string>
#include <vector>

namespace quellor::test {
namespace {

namespace levels = nodelevels;

class NodeLevelTest : public AITest {
protected:
    void SetUp() override
    {
        AITest::SetUp();
        for (const auto& [name, text] : levels::NodeLevels())
            dir.Write("levels/" + name, text);
    }

    // Loads a level of NodeLevels() and returns what it printed.
    std::string Load(const std::string& name)
    {
        tarsel::test::WorkingDirectory cwd(dir.Path());
        if (!objects) {
            engine->AddSystem(ResourceSystem::ID, new ResourceSystem, "default");
            objects = static_cast<ObjectSystem*>(engine->AddSystem(ObjectSystem::ID, new ObjectSystem, "default"));
        }
        tarsel::test::StdoutCapture out;
        objects->LoadLevel(name);
        return out.Text();
    }

    AStarNodeComponent* Node(const std::string& entity)
    {
        Entity* found = engine->GetEntity(entity, "default");
        return found ? found->GetComponent<AStarNodeComponent>() : nullptr;
    }

    AStarNodeComponent* Registered(std::uint32_t id)
    {
        AStarNodeComponent* out = nullptr;
        return ai->GetNodeComponent(id, out) ? out : nullptr;
    }

    NavGraph& Graph() { return ai->GetNavGraph(); }

    tarsel::test::TempDir dir;
    ObjectSystem* objects = nullptr;
};

TEST_F(NodeLevelTest, ALevelPlacesItsNodesAndEdgesAndRegistersEveryComponent)
{
    Load("nodes_triangle.ql");
    EXPECT_EQ(ai->GetNodeComponents().Count(), 4u) << "the bystander too";
    EXPECT_EQ(Graph().GetNodeCount(), 3u);
    ASSERT_NE(Graph().GetNode(0), nullptr);
    EXPECT_EQ(Graph().GetNode(0)->position.y, 1.0f);
    EXPECT_EQ(Graph().GetNode(0)->position.w, 1.0f);
    EXPECT_EQ(Graph().GetNode(0)->radius, 2.0f);
    EXPECT_EQ(Graph().GetNode(1)->position.x, 10.0f);
    EXPECT_EQ(Graph().GetEdges(0), (std::vector<Edge>{Edge(0, 1, 10.0f, 0), Edge(0, 2, 15.0f, 1)}));
    EXPECT_EQ(Graph().GetEdges(1), (std::vector<Edge>{Edge(1, 2, 10.0f, 0)})) << "only m_edge2 was written";
    EXPECT_TRUE(Graph().GetEdges(2).empty());

    // The int "m_id" was set through "SetID"; the component's string key is untouched.
    AStarNodeComponent* bystander = Node("bystander");
    ASSERT_NE(bystander, nullptr);
    EXPECT_EQ(bystander->GetID(), -1);
    EXPECT_EQ(bystander->GetRegisteredID(), -1);
    EXPECT_EQ(Registered(0), Node("node0"));
    EXPECT_EQ(Registered(1), Node("node1"));
    EXPECT_EQ(Registered(2), Node("node2"));
    EXPECT_EQ(Node("node2")->GetRegisteredID(), 2);
}

TEST_F(NodeLevelTest, AJumpEdgeOfTheLevelComesOutOfAPlannerAsType1)
{
    tarsel::test::ManualClock clock;
    Load("nodes_triangle.ql");
    Graph().SetRayQuery(&navscripts::NothingInTheWay);
    auto* planner = Agent("bot", ZOR::float3(0, 0, 0), false)->AddComponent<PathPlanner>(true);
    std::vector<Edge> heard;
    struct Sink {
        std::vector<Edge>* out;
        void Take(const std::vector<Edge>& path) { *out = path; }
    } sink{&heard};
    planner->pathFound.Connect(Signal<const std::vector<Edge>&>::DelegateType(&sink, &Sink::Take), 0);
    ASSERT_TRUE(planner->RequestPath(Vec4(0, 1, 0, 1), Vec4(20, 1, 0, 1)));
    Frames(1);
    EXPECT_EQ(heard, (std::vector<Edge>{Edge(0, 2, 15.0f, 1)}));
}

TEST_F(NodeLevelTest, ADuplicateIdKeepsTheFirstNodeAndAppendsTheLaterEdges)
{
    Load("nodes_duplicate_ids.ql");
    ASSERT_NE(Graph().GetNode(3), nullptr);
    EXPECT_EQ(Graph().GetNode(3)->position.x, 1.0f);
    EXPECT_EQ(Graph().GetNode(3)->radius, 1.0f);
    EXPECT_EQ(Graph().GetEdges(3), (std::vector<Edge>{Edge(3, 4, 2.0f, 0)}));
    EXPECT_EQ(Registered(3), Node("first"));
    EXPECT_EQ(Node("second")->GetRegisteredID(), -1);

    // The second going takes neither the first one's node nor its place in the id map.
    engine->GetEntity("second", "default")->Destroy();
    Frames(1);
    ASSERT_NE(Graph().GetNode(3), nullptr);
    EXPECT_EQ(Graph().GetNode(3)->position.x, 1.0f);
    EXPECT_EQ(Registered(3), Node("first"));
    engine->GetEntity("first", "default")->Destroy();
    Frames(1);
    EXPECT_EQ(Graph().GetNode(3), nullptr);
    EXPECT_EQ(Registered(3), nullptr);
}

TEST_F(NodeLevelTest, DestroyingTheLevelEmptiesTheGraph)
{
    Load("nodes_triangle.ql");
    Load("nodes_duplicate_ids.ql");
    ASSERT_EQ(Graph().GetNodeCount(), 5u);
    engine->DestroyAllEntities("default");
    Frames(1);
    EXPECT_EQ(Graph().GetNodeCount(), 0u);
    EXPECT_EQ(ai->GetNodeComponents().Count(), 0u);
    for (std::uint32_t id : {0u, 1u, 2u, 3u, 4u})
        EXPECT_EQ(Registered(id), nullptr) << id;
    for (std::uint32_t id : {0u, 1u, 3u})
        EXPECT_TRUE(Graph().GetEdges(id).empty()) << id;
}

TEST_F(NodeLevelTest, HostileIdsAndEdgesAreRefusedWithAWarningNamingEntityAndValue)
{
    const std::string text = Load("nodes_hostile_ids.ql");
    EXPECT_NE(text.find("navigation node id -5 of \"negative\""), std::string::npos) << text;
    EXPECT_NE(text.find("navigation node id 70000 of \"large\""), std::string::npos) << text;
    EXPECT_NE(text.find("\"reaching\" leads to id -7"), std::string::npos) << text;
    EXPECT_NE(text.find("\"reaching\" leads to id 80000"), std::string::npos) << text;
    EXPECT_EQ(Graph().GetNodeCount(), 1u);
    EXPECT_EQ(ai->GetNodeComponents().Count(), 3u);
    EXPECT_EQ(Node("negative")->GetRegisteredID(), -1);
    EXPECT_EQ(Node("large")->GetRegisteredID(), -1);
    // An edge to an id with no node is kept, and so is a negative cost.
    EXPECT_EQ(Graph().GetEdges(6), (std::vector<Edge>{Edge(6, 9, 1.0f, 0), Edge(6, 6, -2.0f, 0)}));

    // Nothing of the refused nodes is removed when they go.
    Graph().AddNode(Vec4(0, 0, 0, 1), 1.0f, 70000u & 0xFFFFu);
    engine->GetEntity("large", "default")->Destroy();
    engine->GetEntity("negative", "default")->Destroy();
    Frames(1);
    EXPECT_EQ(Graph().GetNodeCount(), 2u);
}

TEST_F(NodeLevelTest, ANodeWithoutATransformIsNotPlaced)
{
    const std::string text = Load("nodes_no_transform.ql");
    EXPECT_NE(text.find("\"floating\" has no Transform3D; its navigation node 8"), std::string::npos) << text;
    EXPECT_EQ(Graph().GetNodeCount(), 0u);
    EXPECT_EQ(Registered(8), nullptr);
    EXPECT_EQ(ai->GetNodeComponents().Count(), 1u);
}

TEST_F(NodeLevelTest, PositionsAndCostsThatAreNotFiniteAreRefused)
{
    // The level reader refuses such numbers, so only code can set them.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    Entity* lost = Agent("lost", ZOR::float3(nan, 0, 0), false);
    auto* node = new AStarNodeComponent;
    node->m_id = 12;
    Entity* sound = Agent("sound", ZOR::float3(1, 0, 0), false);
    auto* other = new AStarNodeComponent;
    other->m_id = 13;
    other->m_edge0.to = 12;
    other->m_edge0.cost = std::numeric_limits<float>::infinity();
    other->m_edge1.to = 12;
    other->m_edge1.cost = 4.0f;
    tarsel::test::StdoutCapture out;
    lost->AddComponent(AStarNodeComponent::ID, node, true);
    sound->AddComponent(AStarNodeComponent::ID, other, true);
    const std::string& text = out.Text();
    EXPECT_NE(text.find("\"lost\" stands at a position that is not finite"), std::string::npos) << text;
    EXPECT_NE(text.find("the edge of \"sound\" to 12 has a cost that is not finite (inf)"), std::string::npos) << text;
    EXPECT_EQ(Graph().GetNode(12), nullptr);
    EXPECT_EQ(Graph().GetEdges(13), (std::vector<Edge>{Edge(13, 12, 4.0f, 0)}));
}

TEST_F(NodeLevelTest, SetIDAfterInitializeReKeysTheLookupButNotTheNode)
{
    Load("nodes_triangle.ql");
    AStarNodeComponent* node0 = Node("node0");
    node0->SetID(40);
    EXPECT_EQ(node0->GetID(), 40);
    EXPECT_EQ(Registered(40), node0);
    EXPECT_EQ(Registered(0), nullptr);
    EXPECT_NE(Graph().GetNode(0), nullptr);
    EXPECT_EQ(Graph().GetNode(40), nullptr);

    engine->GetEntity("node0", "default")->Destroy();
    Frames(1);
    EXPECT_EQ(Registered(40), nullptr);
    EXPECT_EQ(Graph().GetNode(0), nullptr) << "the node goes from its old id";
    EXPECT_TRUE(Graph().GetEdges(0).empty());
    EXPECT_EQ(Graph().GetNodeCount(), 2u);
}

TEST_F(NodeLevelTest, ASecondComponentOfAnEntityLeavesNoEntryBehind)
{
    Load("nodes_duplicate_component.ql");
    EXPECT_EQ(Node("twice")->GetID(), 1);
    EXPECT_EQ(Registered(7), nullptr) << "read, never initialised";
    EXPECT_EQ(Registered(1), Node("twice"));
    EXPECT_EQ(ai->GetNodeComponents().Count(), 2u);

    // The duplicate is freed with its entity; the neighbour's drawing must not reach for it.
    engine->GetEntity("twice", "default")->Destroy();
    Frames(1);
    ZOR::DebugDrawer drawer(4096);
    Node("neighbour")->DebugDraw(&drawer);
    EXPECT_GT(drawer.GetSize(), 0u);
}

TEST_F(NodeLevelTest, AComponentFreedWithoutUninitializeTakesItsEntryAlong)
{
    Entity* holder = Agent("holder", ZOR::float3(2, 0, 0), false);
    auto* node = new AStarNodeComponent;
    node->m_id = 5;
    node->SetInjector(Injector::CreateEntityInjector(engine, holder, "default"));
    node->Initialize();
    ASSERT_EQ(Registered(5), node);
    delete node;
    EXPECT_EQ(Registered(5), nullptr);
    EXPECT_EQ(ai->GetNodeComponents().Count(), 0u);
}

// The vertices of the drawer's lines that end at p in the edge colour.
int LinesTo(const ZOR::DebugDrawer& drawer, const ZOR::float3& p)
{
    int count = 0;
    for (std::uint32_t i = 1; i < drawer.GetSize(); i += 2) {
        const ZOR::DebugDrawer::Vertex& v = drawer.GetVertices()[i];
        if (v.position.x == p.x && v.position.y == p.y && v.position.z == p.z && v.color.r == 0.0f &&
            v.color.g == 1.0f && v.color.b == 1.0f)
            ++count;
    }
    return count;
}

TEST_F(NodeLevelTest, DebugLinesGoOnlyToTargetsWithARegisteredComponent)
{
    Load("nodes_triangle.ql");
    ZOR::DebugDrawer drawer(4096); // CPU only: never initialised, never drawn
    Node("node0")->DebugDraw(&drawer);
    EXPECT_EQ(LinesTo(drawer, ZOR::float3(10, 1, 0)), 1);
    EXPECT_EQ(LinesTo(drawer, ZOR::float3(20, 1, 0)), 1);
    // The cube comes first, in its own colour, around the node.
    ASSERT_GT(drawer.GetSize(), 0u);
    EXPECT_FLOAT_EQ(drawer.GetVertices()[0].color.b, 0.4f);

    // Node 2's component leaves the id map: no line to it any more.
    Node("node2")->SetID(50);
    drawer.Clear();
    Node("node0")->DebugDraw(&drawer);
    EXPECT_EQ(LinesTo(drawer, ZOR::float3(10, 1, 0)), 1);
    EXPECT_EQ(LinesTo(drawer, ZOR::float3(20, 1, 0)), 0);

}

// Records without an engine: the golden rows of the two level-data classes, both ways.
TEST(NodeRecords, TheNodeAndEdgeRecordsHoldExactlyTheirRows)
{
    RegisterAITypes();
    struct Row {
        const char* type;
        const char* setter;
        const char* getter;
    };
    const std::map<std::string, std::map<std::string, Row>> golden = {
        {"AStarNodeComponent",
         {{"m_id", {"int", "AStarNodeComponent::m_id setter", "AStarNodeComponent::m_id getter"}},
          {"m_edge0", {"GraphEdge", nullptr, nullptr}},
          {"m_edge1", {"GraphEdge", nullptr, nullptr}},
          {"m_edge2", {"GraphEdge", nullptr, nullptr}},
          {"m_edge3", {"GraphEdge", nullptr, nullptr}},
          {"m_edge4", {"GraphEdge", nullptr, nullptr}},
          {"m_radius", {"float", nullptr, nullptr}}}},
        {"GraphEdge", {{"to", {"int", nullptr, nullptr}}, {"cost", {"float", nullptr, nullptr}}, {"type", {"int", nullptr, nullptr}}}},
    };
    for (const auto& [name, members] : golden) {
        SCOPED_TRACE(name);
        Meta* record = MetaRegistry::Instance().Find(name);
        ASSERT_NE(record, nullptr);
        for (const auto& [memberName, row] : members) {
            const Member* member = record->GetMember(memberName);
            ASSERT_NE(member, nullptr) << memberName;
            EXPECT_EQ(member->GetType()->Name(), row.type) << memberName;
            EXPECT_EQ(member->GetSetter() ? member->GetSetter()->GetName() : "", row.setter ? row.setter : "");
            EXPECT_EQ(member->GetGetter() ? member->GetGetter()->GetName() : "", row.getter ? row.getter : "");
        }
        for (const auto& [memberName, member] : record->GetMembers())
            EXPECT_TRUE(members.count(memberName)) << "unexpected member " << memberName;
    }
    Meta* node = MetaRegistry::Instance().Find("AStarNodeComponent");
    EXPECT_EQ(node->GetMethods().size(), 2u);
    EXPECT_NE(node->GetMethod("GetID"), nullptr);
    EXPECT_NE(node->GetMethod("SetID"), nullptr);
    ASSERT_NE(node->GetStaticMember("ID"), nullptr);
    EXPECT_EQ(*static_cast<std::string*>(node->GetStaticMember("ID")->Value()), "AStarNodeComponent");
    Meta* edge = MetaRegistry::Instance().Find("GraphEdge");
    EXPECT_TRUE(edge->GetMethods().empty());
    EXPECT_EQ(edge->GetStaticMember("ID"), nullptr);
}

TEST(NodeRecords, AGraphEdgeMadeAndCopiedThroughItsRecordHasTheDefaults)
{
    RegisterAITypes();
    Meta* record = MetaRegistry::Instance().Find("GraphEdge");
    ASSERT_NE(record, nullptr);
    auto* made = static_cast<GraphEdge*>(record->GetOps()->New());
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->to, -1);
    EXPECT_EQ(made->cost, -1.0f);
    EXPECT_EQ(made->type, 0);
    made->to = 4;
    auto* copy = static_cast<GraphEdge*>(record->GetOps()->Copy(made));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->to, 4);
    record->GetOps()->Delete(copy);
    record->GetOps()->Delete(made);
}

TEST(NodeRecords, SetIDByNameWithoutAnAISystemOnlyStores)
{
    RegisterAITypes();
    AStarNodeComponent node;
    Function* setID = MetaRegistry::Instance().Find("AStarNodeComponent")->GetMethod("SetID");
    ASSERT_NE(setID, nullptr);
    int id = 9;
    setID->PushArgument(Variable(&node, false));
    setID->PushArgument(Variable(&id, false));
    delete setID->Invoke();
    EXPECT_EQ(node.GetID(), 9);
    EXPECT_FALSE(Engine::HasInstance());
    EXPECT_EQ(node.GetRegisteredID(), -1);
}

} // namespace
} // namespace quellor::test
