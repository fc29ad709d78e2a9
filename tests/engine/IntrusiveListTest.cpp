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

} // namespace
} // namespace quellor
