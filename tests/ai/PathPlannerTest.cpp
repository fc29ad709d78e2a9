// Path planners stepped by the AI system: one slice of 0.006 s each per frame, a result
// announced once, requests replacing searches. Slices are counted with a manual clock.
#include "ai/pathfinding/PathPlanner.h"
#include "tests/ai/AITestKit.h"
#include "tests/ai/NavGraphScripts.h"
#include "tests/support/ManualClock.h"
#include "tests/support/StdoutCapture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace quellor::test {
namespace {

// Hears the planner's signals, on connections that stay (or one-shot ones, as the game's
// listeners use), and can act from inside a handler.
struct Listener {
    void OnFound(const std::vector<Edge>& path)
    {
        found.push_back(path);
        if (onFound)
            onFound();
    }
    void OnFailed() { ++failed; }

    void Listen(PathPlanner& planner, bool oneShot)
    {
        planner.pathFound.ConnectSlot(Signal<const std::vector<Edge>&>::DelegateType(this, &Listener::OnFound), 0,
                                      oneShot);
        planner.pathFailed.ConnectSlot(Signal<>::DelegateType(this, &Listener::OnFailed), 0, oneShot);
    }

    std::vector<std::vector<Edge>> found;
    int failed = 0;
    std::function<void()> onFound;
};

Vec4 At(float x, float z)
{
    return Vec4(x, 0.0f, z, 1.0f);
}

class PathPlannerTest : public AITest {
protected:
    void SetUp() override
    {
        AITest::SetUp();
        ai->GetNavGraph().SetRayQuery(&navscripts::NothingInTheWay);
        // A line of ten nodes 10 apart along x, linked forwards; node 20 off to the side is
        // reachable from no one.
        for (std::uint32_t i = 0; i < 10; ++i) {
            ai->AddNode(At(10.0f * static_cast<float>(i), 0.0f), 1.0f, i);
            if (i > 0)
                ai->AddEdge(i - 1, i, 10.0f, 0);
        }
        ai->AddNode(At(0.0f, 100.0f), 1.0f, 20);
        ai->AddEdge(20, 0, 100.0f, 0);
    }

    PathPlanner* Planner(const std::string& name)
    {
        Entity* entity = Agent(name, ZOR::float3(0, 0, 0), false);
        return entity->AddComponent<PathPlanner>(true);
    }

    // The planner of the entity "bot", heard by the listener.
    void Bot(bool oneShot = false)
    {
        planner = Planner("bot");
        listener.Listen(*planner, oneShot);
    }

    static std::size_t Closed(const PathPlanner& planner)
    {
        std::size_t closed = 0;
        for (std::uint32_t id : {0u, 1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u, 9u, 20u}) {
            const NodeRecord* record = planner.GetSearch()->FindRecord(id);
            closed += record && record->listState == NodeRecord::kClosed;
        }
        return closed;
    }

    static std::vector<Edge> Line(std::uint32_t from, std::uint32_t to)
    {
        std::vector<Edge> path;
        for (std::uint32_t i = from; i < to; ++i)
            path.push_back(Edge(i, i + 1, 10.0f, 0));
        return path;
    }

    PathPlanner* planner = nullptr;
    Listener listener;
};

TEST_F(PathPlannerTest, OfTwoRequestsInOneFrameOnlyTheSecondRunsAndItsResultComesOnce)
{
    tarsel::test::ManualClock clock; // stopped: a search finishes in its first slice
    Bot();
    ASSERT_EQ(ai->GetPathPlanners().Count(), 1u);

    EXPECT_TRUE(planner->RequestPath(At(0, 0), At(90, 0)));
    EXPECT_TRUE(planner->RequestPath(At(30, 1), At(50, 1)));
    Frames(1);
    ASSERT_EQ(listener.found.size(), 1u);
    EXPECT_EQ(listener.found[0], Line(3, 5));
    EXPECT_EQ(planner->GetState(), AStar::kFound);
    Frames(3);
    EXPECT_EQ(listener.found.size(), 1u);
    EXPECT_EQ(listener.failed, 0);
}

TEST_F(PathPlannerTest, AOneShotListenerHearsOneResultPerConnection)
{
    tarsel::test::ManualClock clock;
    Bot(true);
    ASSERT_TRUE(planner->RequestPath(At(0, 0), At(20, 0)));
    Frames(1);
    ASSERT_TRUE(planner->RequestPath(At(0, 0), At(30, 0)));
    Frames(1);
    ASSERT_EQ(listener.found.size(), 1u);
    EXPECT_EQ(listener.found[0], Line(0, 2));
}

TEST_F(PathPlannerTest, RequestsThatCannotStartReturnFalseAndEmitNothing)
{
    tarsel::test::ManualClock clock;
    Bot();
    EXPECT_FALSE(planner->RequestPath(At(1, 0), At(-1, 0))); // one node for both ends
    EXPECT_EQ(planner->GetState(), AStar::kFailed);
    ai->GetNavGraph().SetRayQuery([](const Vec4&, const Vec4&, float) { return true; });
    EXPECT_FALSE(planner->RequestPath(At(0, 1), At(90, 1)));
    Frames(2);
    EXPECT_TRUE(listener.found.empty());
    EXPECT_EQ(listener.failed, 0);
}

TEST_F(PathPlannerTest, NoRouteFailsOnceAfterTheOpenListEmptiesFramesLater)
{
    // Each reading moves the clock 4 ms: a 6 ms slice expands two nodes.
    tarsel::test::ManualClock clock(0, 4'000'000);
    Bot();
    ASSERT_TRUE(planner->RequestPath(At(0, 0), At(0, 100))); // node 20 is reached by no edge
    int frames = 0;
    while (listener.failed == 0 && frames < 20) {
        Frames(1);
        ++frames;
    }
    EXPECT_EQ(listener.failed, 1);
    // Ten nodes, two a frame; the slice that closes the last one ends on its budget, and the
    // next finds the open list empty.
    EXPECT_EQ(frames, 6);
    Frames(3);
    EXPECT_EQ(listener.failed, 1);
    EXPECT_TRUE(listener.found.empty());
}

TEST_F(PathPlannerTest, EachPlannerGetsAFullSliceWhateverTheFrameTime)
{
    tarsel::test::ManualClock clock(0, 4'000'000);
    PathPlanner* first = Planner("first");
    PathPlanner* second = Planner("second");
    ASSERT_TRUE(first->RequestPath(At(0, 0), At(90, 0)));
    ASSERT_TRUE(second->RequestPath(At(0, 0), At(90, 0)));
    engine->Update(0.5f);
    EXPECT_EQ(Closed(*first), 2u);
    EXPECT_EQ(Closed(*second), 2u);
    engine->Update(0.001f);
    EXPECT_EQ(Closed(*first), 4u);
    EXPECT_EQ(Closed(*second), 4u);
}

TEST_F(PathPlannerTest, NothingIsEmittedAfterTheComponentGoes)
{
    tarsel::test::ManualClock clock(0, 4'000'000);
    Bot();
    ASSERT_TRUE(planner->RequestPath(At(0, 0), At(90, 0)));
    Frames(1);
    engine->GetEntity("bot", "default")->Destroy();
    Frames(1); // uninitialised and freed at the end of this frame
    EXPECT_EQ(ai->GetPathPlanners().Count(), 0u);
    Frames(10);
    EXPECT_TRUE(listener.found.empty());
    EXPECT_EQ(listener.failed, 0);
}

TEST_F(PathPlannerTest, AHandlerMayRequestAnew)
{
    tarsel::test::ManualClock clock;
    Bot();
    listener.onFound = [&] {
        if (listener.found.size() == 1) {
            EXPECT_TRUE(planner->RequestPath(At(50, 0), At(80, 0)));
        }
    };
    ASSERT_TRUE(planner->RequestPath(At(0, 0), At(20, 0)));
    Frames(1);
    ASSERT_EQ(listener.found.size(), 1u);
    EXPECT_EQ(listener.found[0], Line(0, 2));
    EXPECT_EQ(planner->GetState(), AStar::kSearching);
    Frames(1);
    ASSERT_EQ(listener.found.size(), 2u);
    EXPECT_EQ(listener.found[1], Line(5, 8));
}

} // namespace
} // namespace quellor::test
