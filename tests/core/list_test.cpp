#include "core/list.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vantrel;

namespace {

struct Item final : TObject {
    explicit Item(int v) : value(v) {}
    int value;
};

std::vector<int> values(TList<Item>& list)
{
    std::vector<int> out;
    for (const Ref<Item>& item : list)
        out.push_back(item->value);
    return out;
}

} // namespace

TEST(List, KeepsInsertionOrderAndHoldsReferences)
{
    auto list = make_ref<TList<Item>>();
    auto first = make_ref<Item>(1);
    list_append(list, first);
    list_append(list, make_ref<Item>(2));
    list_append(list, make_ref<Item>(3));
    EXPECT_EQ(values(*list), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(first->ref_count(), 2);
}

TEST(List, RemovingTheElementJustHandedOutContinuesTheWalk)
{
    auto list = make_ref<TList<Item>>();
    for (int i = 1; i <= 5; ++i)
        list_append(list, make_ref<Item>(i));
    std::vector<int> seen;
    for (const Ref<Item>& item : *list) {
        seen.push_back(item->value);
        if (item->value % 2 == 1) {
            EXPECT_TRUE(list_remove(list, item));
        }
    }
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(values(*list), (std::vector<int>{2, 4}));
}

TEST(List, RemoveFindsTheSameObjectOnlyAndDropsTheReference)
{
    auto list = make_ref<TList<Item>>();
    auto a = make_ref<Item>(7);
    auto twin = make_ref<Item>(7);
    list_append(list, a);
    list_append(list, a);
    EXPECT_FALSE(list_remove(list, twin));
    EXPECT_TRUE(list_remove(list, a));
    EXPECT_EQ(list->count(), 1u);
    EXPECT_EQ(a->ref_count(), 2);
    EXPECT_TRUE(list_remove(list, a));
    EXPECT_FALSE(list_remove(list, a));
    EXPECT_TRUE(list->empty());
    EXPECT_EQ(a->ref_count(), 1);
}

TEST(List, EmptyListWalksNothing)
{
    TList<Item> list;
    EXPECT_TRUE(values(list).empty());
}
