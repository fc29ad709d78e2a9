#include "renderer/Camera.h"
#include "renderer/DebugDrawer.h"
#include "renderer/Octree.h"
#include "renderer/Renderable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

using ZOR::AABB;
using ZOR::float3;
using ZOR::Octree;
using ZOR::Renderable;

namespace {

// A renderable whose bounds the test sets, as a moving model would.
class Box : public Renderable {
public:
    explicit Box(const AABB& box) : Renderable(Type::Renderable3D) { m_aabb = box; }
    void MoveTo(const AABB& box) { m_aabb = box; }
};

AABB Cube(const float3& center, float half)
{
    return AABB(center - float3(half, half, half), center + float3(half, half, half));
}

void ExpectPoint(const float3& actual, const float3& expected, float tolerance = 1e-3f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

int CountNodes(const Octree* node)
{
    int count = 1;
    for (unsigned i = 0; i < 8; ++i)
        if (node->GetChild(i) != nullptr)
            count += CountNodes(node->GetChild(i));
    return count;
}

int Depth(const Octree* node)
{
    int depth = 0;
    while (node->GetChild(0) != nullptr) {
        node = node->GetChild(0);
        ++depth;
    }
    return depth;
}

// A camera whose culling volume is exactly the box lo..hi: projection x view maps it onto the clip
// cube, whose near plane the frustum puts at z = -w.
ZOR::Camera BoxCamera(const float3& lo, const float3& hi)
{
    auto scale = [](float a, float b) { return 2.0f / (b - a); };
    auto shift = [](float a, float b) { return -(a + b) / (b - a); };
    ZOR::Camera camera;
    camera.SetProjectionMatrix(ZOR::float4x4(scale(lo.x, hi.x), 0, 0, shift(lo.x, hi.x),
                                             0, scale(lo.y, hi.y), 0, shift(lo.y, hi.y),
                                             0, 0, scale(lo.z, hi.z), shift(lo.z, hi.z),
                                             0, 0, 0, 1));
    return camera;
}

// The boxes a drawer received, one per 24 vertices, each read back from the corners that start
// its first and fourth edges, (m,m,m) and (M,M,M).
std::vector<AABB> DrawnBoxes(const ZOR::DebugDrawer& drawer)
{
    std::vector<AABB> boxes;
    for (std::uint32_t v = 0; v + 24 <= drawer.GetSize(); v += 24) {
        const ZOR::float4& lo = drawer.GetVertices()[v].position;
        const ZOR::float4& hi = drawer.GetVertices()[v + 6].position;
        boxes.emplace_back(float3(lo.x, lo.y, lo.z), float3(hi.x, hi.y, hi.z));
    }
    return boxes;
}

} // namespace

TEST(Octree, GeometryOfTheEngineTreeAndDepthLimits)
{
    const Octree tree(1000.0f, 1.5f, 4);
    ExpectPoint(tree.GetBounds().min, float3(-750, -750, -750));
    ExpectPoint(tree.GetBounds().max, float3(750, 750, 750));
    EXPECT_EQ(tree.GetParent(), nullptr);

    const Octree* child3 = tree.GetChild(3);
    ASSERT_NE(child3, nullptr);
    EXPECT_EQ(child3->GetParent(), &tree);
    ExpectPoint(child3->GetBounds().center, float3(250, 250, 250));
    ExpectPoint(child3->GetBounds().max - child3->GetBounds().center, float3(375, 375, 375));

    const Octree* leaf = &tree;
    while (leaf->GetChild(0) != nullptr)
        leaf = leaf->GetChild(0);
    EXPECT_NEAR(leaf->GetBounds().max.x - leaf->GetBounds().min.x, 93.75f, 1e-3f);

    EXPECT_EQ(Depth(&tree), 4);
    EXPECT_EQ(CountNodes(&tree), 4681);

    // The depth is clamped to one through five.
    const Octree shallow(100.0f, 1.0f, 0);
    EXPECT_EQ(Depth(&shallow), 1);
    EXPECT_EQ(CountNodes(&shallow), 9);
    const Octree deep(100.0f, 1.0f, 9);
    EXPECT_EQ(Depth(&deep), 5);
    EXPECT_EQ(CountNodes(&deep), 1 + 8 + 64 + 512 + 4096 + 32768);
}

TEST(Octree, ChildrenFollowTheOffsetOrderAndOutOfRangeChildrenAreNull)
{
    const Octree tree(1000.0f, 1.5f, 2);
    const float3 signs[8] = {{-1, 1, -1}, {1, 1, -1}, {-1, 1, 1}, {1, 1, 1},
                             {-1, -1, -1}, {1, -1, -1}, {-1, -1, 1}, {1, -1, 1}};
    for (unsigned i = 0; i < 8; ++i) {
        ASSERT_NE(tree.GetChild(i), nullptr);
        ExpectPoint(tree.GetChild(i)->GetBounds().center, signs[i] * 250.0f);
        // A grandchild sits a further quarter of the child's tight cell (125) out.
        ExpectPoint(tree.GetChild(3)->GetChild(i)->GetBounds().center, float3(250, 250, 250) + signs[i] * 125.0f);
    }
    EXPECT_EQ(tree.GetChild(8), nullptr);
    EXPECT_EQ(tree.GetChild(1000), nullptr);
    const Octree* leaf = tree.GetChild(0)->GetChild(0);
    for (unsigned i = 0; i < 8; ++i)
        EXPECT_EQ(leaf->GetChild(i), nullptr);
}

TEST(Octree, InsertFilesInTheDeepestContainingNode)
{
    Octree tree(1000.0f, 1.5f, 4);

    // A small box near (300, 300, 300) descends to a leaf: 3 at every level it fits.
    Box small(Cube(float3(300, 300, 300), 1.0f));
    tree.Insert(&small);
    const Octree* node = small.GetOctree();
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->GetChild(0), nullptr);
    EXPECT_TRUE(node->GetBounds().Contains(small.GetAABB()));
    ASSERT_EQ(node->GetRenderables().size(), 1u);
    EXPECT_EQ(node->GetRenderables()[0], &small);

    // A box that fits child 3 (centred at 250, half 375) but no grandchild stops at depth 1.
    Box medium(Cube(float3(250, 250, 250), 300.0f));
    tree.Insert(&medium);
    EXPECT_EQ(medium.GetOctree(), tree.GetChild(3));

    // A box larger than every child stays at the root.
    Box large(Cube(float3(0, 0, 0), 600.0f));
    tree.Insert(&large);
    EXPECT_EQ(large.GetOctree(), &tree);
    EXPECT_EQ(tree.GetRenderables().size(), 1u);
}

TEST(Octree, ACentreOnTheSplitPlanesGoesToChildZero)
{
    Octree tree(1000.0f, 1.5f, 1);
    Box onPlanes(Cube(float3(0, 0, 0), 1.0f));
    tree.Insert(&onPlanes);
    EXPECT_EQ(onPlanes.GetOctree(), tree.GetChild(0));

    // Each axis on its own: just past the plane on the other side picks the other child.
    Box plusX(Cube(float3(0.5f, 0, 0), 0.1f));
    tree.Insert(&plusX);
    EXPECT_EQ(plusX.GetOctree(), tree.GetChild(1));
    Box plusZ(Cube(float3(0, 0, 0.5f), 0.1f));
    tree.Insert(&plusZ);
    EXPECT_EQ(plusZ.GetOctree(), tree.GetChild(2));
    Box minusY(Cube(float3(0, -0.5f, 0), 0.1f));
    tree.Insert(&minusY);
    EXPECT_EQ(minusY.GetOctree(), tree.GetChild(4));
}

TEST(Octree, RemoveErasesTheFirstOccurrenceKeepsOrderAndClearsTheNode)
{
    Octree tree(1000.0f, 1.5f, 2);
    const AABB atRoot = Cube(float3(0, 0, 0), 700.0f);
    Box a(atRoot), b(atRoot), c(atRoot);
    tree.Insert(&a);
    tree.Insert(&b);
    tree.Insert(&a);
    tree.Insert(&c);
    ASSERT_EQ(tree.GetRenderables().size(), 4u);

    EXPECT_TRUE(tree.Remove(&a));
    const std::vector<Renderable*> expected = {&b, &a, &c};
    EXPECT_EQ(tree.GetRenderables(), expected);

    // A renderable in a deeper node is found through the children.
    Box deep(Cube(float3(-300, 300, 300), 1.0f));
    tree.Insert(&deep);
    const Octree* holder = deep.GetOctree();
    ASSERT_NE(holder, &tree);
    EXPECT_TRUE(tree.Remove(&deep));
    EXPECT_TRUE(holder->GetRenderables().empty());
    EXPECT_EQ(deep.GetOctree(), nullptr);

    // Nothing found: false, nothing changed.
    Box stranger(atRoot);
    EXPECT_FALSE(tree.Remove(&stranger));
    EXPECT_FALSE(tree.Remove(&deep));
    EXPECT_EQ(tree.GetRenderables(), expected);
}

TEST(Octree, InvalidateRefilesAMovedRenderableUnderItsNewNode)
{
    Octree tree(1000.0f, 1.5f, 4);
    Box box(Cube(float3(300, 300, 300), 1.0f));
    tree.Insert(&box);
    const Octree* before = box.GetOctree();

    box.MoveTo(Cube(float3(-300, -300, -300), 1.0f));
    box.Invalidate();
    const Octree* after = box.GetOctree();
    ASSERT_NE(after, nullptr);
    EXPECT_NE(after, before);
    EXPECT_TRUE(before->GetRenderables().empty());
    ASSERT_EQ(after->GetRenderables().size(), 1u);
    EXPECT_TRUE(after->GetBounds().Contains(box.GetAABB()));
    EXPECT_EQ(after->GetChild(0), nullptr);
    // It went down the (-, -, -) side from the root: child 4.
    const Octree* top = after;
    while (top->GetParent() != &tree)
        top = top->GetParent();
    EXPECT_EQ(top, tree.GetChild(4));

    // Growing past every child brings it back to the root.
    box.MoveTo(Cube(float3(0, 0, 0), 700.0f));
    box.Invalidate();
    EXPECT_EQ(box.GetOctree(), &tree);
    EXPECT_TRUE(after->GetRenderables().empty());
}

TEST(Octree, HeldCountsFollowInsertRemoveAndInvalidateAlongThePathToTheRoot)
{
    Octree tree(1000.0f, 1.5f, 4);
    EXPECT_EQ(tree.GetHeldCount(), 0u);
    Box a(Cube(float3(300, 300, 300), 1.0f)), b(Cube(float3(300, 300, 300), 1.0f));
    Box big(Cube(float3(0, 0, 0), 700.0f));
    tree.Insert(&a);
    tree.Insert(&b);
    tree.Insert(&big);
    EXPECT_EQ(tree.GetHeldCount(), 3u);
    const Octree* leaf = a.GetOctree();
    ASSERT_NE(leaf, &tree);
    for (const Octree* node = leaf; node != &tree; node = node->GetParent())
        EXPECT_EQ(node->GetHeldCount(), 2u);
    // A sibling corner holds nothing.
    EXPECT_EQ(tree.GetChild(4)->GetHeldCount(), 0u);

    // Moving into the empty corner carries the count with it.
    a.MoveTo(Cube(float3(-300, -300, -300), 1.0f));
    a.Invalidate();
    EXPECT_EQ(tree.GetHeldCount(), 3u);
    EXPECT_EQ(tree.GetChild(4)->GetHeldCount(), 1u);
    EXPECT_EQ(leaf->GetHeldCount(), 1u);

    // A remove that finds nothing changes no count; one that finds takes one off every holder.
    Box stranger(Cube(float3(300, 300, 300), 1.0f));
    EXPECT_FALSE(tree.Remove(&stranger));
    EXPECT_EQ(tree.GetHeldCount(), 3u);
    EXPECT_TRUE(tree.Remove(&b));
    EXPECT_EQ(leaf->GetHeldCount(), 0u);
    EXPECT_EQ(tree.GetChild(3)->GetHeldCount(), 0u);
    EXPECT_TRUE(tree.Remove(&big));
    EXPECT_TRUE(tree.Remove(&a));
    EXPECT_EQ(tree.GetHeldCount(), 0u);
    EXPECT_EQ(tree.GetChild(4)->GetHeldCount(), 0u);
}

TEST(Octree, InvalidateOfANeverAddedOrRemovedRenderableChangesNothingEvenAfterItsTreeIsGone)
{
    Octree tree(1000.0f, 1.5f, 3);
    Box never(Cube(float3(10, 10, 10), 1.0f));
    never.Invalidate();
    EXPECT_EQ(never.GetOctree(), nullptr);

    Box removed(Cube(float3(10, 10, 10), 1.0f));
    tree.Insert(&removed);
    ASSERT_TRUE(tree.Remove(&removed));
    EXPECT_EQ(removed.GetOctree(), nullptr);
    removed.MoveTo(Cube(float3(-50, 20, 30), 1.0f));
    removed.Invalidate();
    EXPECT_EQ(removed.GetOctree(), nullptr);

    // No node anywhere holds it again.
    std::function<int(const Octree*)> holders = [&](const Octree* node) {
        int n = 0;
        for (const Renderable* r : node->GetRenderables())
            n += r == &removed ? 1 : 0;
        for (unsigned i = 0; i < 8; ++i)
            if (node->GetChild(i) != nullptr)
                n += holders(node->GetChild(i));
        return n;
    };
    EXPECT_EQ(holders(&tree), 0);

    // A removed renderable outlives its tree safely.
    Box box(Cube(float3(10, 10, 10), 1.0f));
    {
        Octree old(1000.0f, 1.5f, 2);
        old.Insert(&box);
        ASSERT_TRUE(old.Remove(&box));
    }
    // The tree is gone; the renderable names no freed node, so this is a no-op.
    box.Invalidate();
    EXPECT_EQ(box.GetOctree(), nullptr);
    Octree fresh(1000.0f, 1.5f, 2);
    fresh.Insert(&box);
    EXPECT_NE(box.GetOctree(), nullptr);
}

TEST(Octree, DegenerateBoundsNeitherCrashNorLeaveTheTree)
{
    Octree tree(1000.0f, 1.5f, 4);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();

    Box nanBox(AABB(float3(nan, nan, nan), float3(nan, nan, nan)));
    tree.Insert(&nanBox);
    EXPECT_EQ(nanBox.GetOctree(), &tree);
    nanBox.Invalidate();
    EXPECT_EQ(nanBox.GetOctree(), &tree);

    Box infinite(AABB(float3(-inf, -inf, -inf), float3(inf, inf, inf)));
    tree.Insert(&infinite);
    EXPECT_EQ(infinite.GetOctree(), &tree);

    // Min above max: still filed somewhere in the tree, and removable.
    Box inverted(AABB(float3(301, 301, 301), float3(299, 299, 299)));
    tree.Insert(&inverted);
    ASSERT_NE(inverted.GetOctree(), nullptr);
    inverted.Invalidate();
    EXPECT_TRUE(tree.Remove(&inverted));
    EXPECT_TRUE(tree.Remove(&nanBox));
    EXPECT_TRUE(tree.Remove(&infinite));
}

TEST(Octree, DrawEmitsTheBoxesOfHoldingNodesInsideTheFrustum)
{
    Octree tree(1000.0f, 1.5f, 2);
    Box inView(Cube(float3(300, 300, -300), 1.0f));   // under child 1
    Box outOfView(Cube(float3(-300, -300, 300), 1.0f)); // under child 6
    tree.Insert(&inView);
    tree.Insert(&outOfView);

    const ZOR::Camera camera = BoxCamera(float3(200, 200, -400), float3(400, 400, -200));
    ZOR::DebugDrawer drawer(1000);
    tree.Draw(camera.GetFrustum(), drawer);

    // Only the node holding the visible renderable draws, with its own 24 vertices.
    ASSERT_EQ(drawer.GetSize(), 24u);
    const AABB& expected = inView.GetOctree()->GetBounds();
    const AABB drawn = DrawnBoxes(drawer)[0];
    ExpectPoint(drawn.min, expected.min);
    ExpectPoint(drawn.max, expected.max);

    // A volume wholly outside the tree draws nothing.
    drawer.Clear();
    tree.Draw(BoxCamera(float3(2000, 2000, 2000), float3(3000, 3000, 3000)).GetFrustum(), drawer);
    EXPECT_EQ(drawer.GetSize(), 0u);
}

TEST(Octree, DrawPrunesSubtreesWhoseNodeIsOutside)
{
    // With looseness 0.5 a child's cube reaches past its parent's: the root spans +-250, child 3
    // spans 125..375 and its child 0 spans x 62.5..187.5, y 312.5..437.5, z 62.5..187.5.
    Octree tree(1000.0f, 0.5f, 2);
    Box box(AABB(float3(145, 335, 145), float3(155, 345, 155)));
    tree.Insert(&box);
    const Octree* holder = tree.GetChild(3)->GetChild(0);
    ASSERT_EQ(box.GetOctree(), holder);

    // This volume cuts the root and the holder but misses child 3 entirely (x < 125).
    const ZOR::Camera camera = BoxCamera(float3(70, 200, 0), float3(120, 400, 200));
    ASSERT_EQ(camera.GetFrustum().TestAABB(tree.GetBounds()), ZOR::AABB_INTERSECTING);
    ASSERT_EQ(camera.GetFrustum().TestAABB(tree.GetChild(3)->GetBounds()), ZOR::AABB_OUTSIDE);
    ASSERT_EQ(camera.GetFrustum().TestAABB(holder->GetBounds()), ZOR::AABB_INTERSECTING);

    ZOR::DebugDrawer drawer(1000);
    tree.Draw(camera.GetFrustum(), drawer);
    EXPECT_EQ(drawer.GetSize(), 0u);
}

TEST(Octree, DrawDoesNotTestBelowANodeFullyInside)
{
    Octree tree(1000.0f, 0.1f, 1);
    Box far(Cube(float3(250, 250, 250), 1.0f));
    tree.Insert(&far);
    ASSERT_EQ(far.GetOctree(), tree.GetChild(3));

    // The root (+-50) lies wholly inside: its children are drawn untested, even child 3, which a
    // test of its own would find outside.
    const ZOR::Camera holdsRoot = BoxCamera(float3(-60, -60, -60), float3(60, 60, 60));
    ASSERT_EQ(holdsRoot.GetFrustum().TestAABB(tree.GetBounds()), ZOR::AABB_INSIDE);
    ZOR::DebugDrawer drawer(1000);
    tree.Draw(holdsRoot.GetFrustum(), drawer);
    ASSERT_EQ(drawer.GetSize(), 24u);
    ExpectPoint(DrawnBoxes(drawer)[0].center, float3(250, 250, 250));

    // When the root only intersects, child 3 is tested and pruned.
    const ZOR::Camera cutsRoot = BoxCamera(float3(-60, -60, -40), float3(60, 60, 60));
    ASSERT_EQ(cutsRoot.GetFrustum().TestAABB(tree.GetBounds()), ZOR::AABB_INTERSECTING);
    drawer.Clear();
    tree.Draw(cutsRoot.GetFrustum(), drawer);
    EXPECT_EQ(drawer.GetSize(), 0u);
}

TEST(Octree, ACopyOfAFiledRenderableIsHeldByNoNode)
{
    Octree tree(1000.0f, 1.5f, 3);
    Box original(Cube(float3(100, 100, 100), 1.0f));
    original.SetVisible(false, 2);
    tree.Insert(&original);
    const Octree* holder = original.GetOctree();

    Box copy(original);
    EXPECT_EQ(copy.GetOctree(), nullptr);
    EXPECT_FALSE(copy.GetVisible(2));
    EXPECT_TRUE(copy.GetAABB().center == original.GetAABB().center);
    copy.Invalidate();
    EXPECT_EQ(copy.GetOctree(), nullptr);
    EXPECT_EQ(holder->GetRenderables(), std::vector<Renderable*>{&original});

    // Assignment takes the other's state but keeps the target's own place in the tree.
    Box target(Cube(float3(-100, -100, -100), 1.0f));
    tree.Insert(&target);
    const Octree* targetHolder = target.GetOctree();
    target = copy;
    EXPECT_EQ(target.GetOctree(), targetHolder);
    target.Invalidate();
    EXPECT_EQ(target.GetOctree(), holder);
    EXPECT_EQ(holder->GetRenderables().size(), 2u);
}
