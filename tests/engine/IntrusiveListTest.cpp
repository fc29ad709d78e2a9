// The intrusive list: counts, unlinking, and elements or lists that go first.
#include "engine/IntrusiveList.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace quellor {
namespace {

struct Node {
    explicit Node(int v = 0) : value(v) {}
    int value;
    IntrusiveLink<Node> link;
};

using NodeList = IntrusiveList<Node, &Node::link>;

std::vector<int> Values(const NodeList& list)
{
    std::vector<int> values;
    for (Node* node : list)
        values.push_back(node->value);
    return values;
}

TEST(IntrusiveListTest, AppendingAndUnlinkingKeepTheOrderAndTheCount)
{
    Node a(1), b(2), c(3);
    NodeList list;
    EXPECT_TRUE(list.Empty());
    list.PushBack(&a);
    list.PushBack(&b);
    list.PushBack(&c);
    EXPECT_EQ(list.Count(), 3u);
    EXPECT_EQ(Values(list), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(list.Front(), &a);
    EXPECT_EQ(list.Back(), &c);
    EXPECT_EQ(NodeList::Next(&a), &b);
    EXPECT_EQ(NodeList::Next(&c), nullptr);

    NodeList::Remove(&b);
    EXPECT_FALSE(b.link.IsLinked());
    EXPECT_EQ(list.Count(), 2u);
    EXPECT_EQ(Values(list), (std::vector<int>{1, 3}));

    NodeList::Remove(&b); // in no list: nothing
    EXPECT_EQ(list.Count(), 2u);
    EXPECT_EQ(NodeList::Next(&b), nullptr);

    list.PushBack(&b);
    EXPECT_EQ(Values(list), (std::vector<int>{1, 3, 2}));
}

TEST(IntrusiveListTest, AppendingAnElementOfAnotherListMovesIt)
{
    Node a(1), b(2);
    NodeList first, second;
    first.PushBack(&a);
    first.PushBack(&b);
    second.PushBack(&a);
    EXPECT_EQ(first.Count(), 1u);
    EXPECT_EQ(second.Count(), 1u);
    EXPECT_TRUE(second.Contains(&a));
    EXPECT_FALSE(first.Contains(&a));
    second.PushBack(&a); // again at the tail of the same list
    EXPECT_EQ(second.Count(), 1u);
}

TEST(IntrusiveListTest, ADestroyedOrCopiedElementLeavesTheListIntactAndADestroyedListUnlinksAll)
{
    NodeList list;
    Node a(1), c(3);
    auto b = std::make_unique<Node>(2);
    list.PushBack(&a);
    list.PushBack(b.get());
    list.PushBack(&c);
    Node copy = *b; // a copy is in no list
    EXPECT_FALSE(copy.link.IsLinked());
    b.reset();
    EXPECT_EQ(list.Count(), 2u);
    EXPECT_EQ(Values(list), (std::vector<int>{1, 3}));
    list.Clear();
    EXPECT_TRUE(list.Empty());
    EXPECT_FALSE(a.link.IsLinked());

    // A list that goes first unlinks every element.
    {
        NodeList scoped;
        scoped.PushBack(&a);
        scoped.PushBack(&c);
    }
    EXPECT_FALSE(a.link.IsLinked());
    EXPECT_FALSE(c.link.IsLinked());
}

TEST(IntrusiveListTest, AWalkSurvivesStepsThatRemoveAppendOrWalkAgain)
{
    auto a = std::make_unique<Node>(1), b = std::make_unique<Node>(2), c = std::make_unique<Node>(3);
    Node d(4), e(5);
    NodeList list;
    list.PushBack(a.get());
    list.PushBack(b.get());
    list.PushBack(c.get());
    std::vector<int> visited;
    std::vector<int> inner;
    list.ForEach([&](Node* node) {
        visited.push_back(node->value);
        if (node->value == 1) {
            // Removes itself and frees the next one: the walk goes on with 3.
            NodeList::Remove(node);
            b.reset();
        } else if (node->value == 3) {
            // Appended at the end: reached by this walk; a nested walk sees the list as it is
            // and leaves the outer one where it was.
            list.PushBack(&d);
            list.ForEach([&](Node* other) {
                inner.push_back(other->value);
                if (other->value == 4)
                    list.PushBack(&e);
            });
            c.reset();
        }
    });
    EXPECT_EQ(visited, (std::vector<int>{1, 3, 4, 5}));
    EXPECT_EQ(inner, (std::vector<int>{3, 4, 5}));
    EXPECT_EQ(Values(list), (std::vector<int>{4, 5}));

    // A walk that ends leaves nothing behind: later changes touch no finished walk.
    list.ForEach([](Node*) {});
    NodeList::Remove(&d);
    list.PushBack(&d);
    EXPECT_EQ(Values(list), (std::vector<int>{5, 4}));
}

} // namespace
} // namespace quellor
