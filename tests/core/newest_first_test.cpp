#include "core/newest_first.h"

#include <gtest/gtest.h>

#include <string>

using namespace vantrel;

namespace {

struct Entry : TObject {
    explicit Entry(char n) : name(n) {}
    char name;
};

struct Linked : TObject {
    explicit Linked(char n) : name(n) {}
    char name;
    Ref<Linked> next;
};

// The names in walk order.
template <class List>
std::string walk(const List& list)
{
    std::string names;
    list.first_answer([&](const auto& at) {
        names += at->name;
        return false;
    });
    return names;
}

// Both kinds of link behave alike; each test runs over both.
template <class L>
struct NewestFirstTest : testing::Test {};

struct SideList {
    using Item = Entry;
    using List = NewestFirst<Entry>;
};
struct OwnLink {
    using Item = Linked;
    using List = NewestFirst<Linked, &Linked::next>;
};
using Kinds = testing::Types<SideList, OwnLink>;
TYPED_TEST_SUITE(NewestFirstTest, Kinds);

} // namespace

TYPED_TEST(NewestFirstTest, EmptyListHasNoFirstAndNoAnswer)
{
    typename TypeParam::List list;
    EXPECT_TRUE(list.first().is_null());
    EXPECT_EQ(walk(list), "");
    EXPECT_TRUE(list.first_answer([](const auto&) { return Ref<Entry>(); }).is_null());
}

TYPED_TEST(NewestFirstTest, WalksNewestFirstAndRefusesNullAndRepeats)
{
    using Item = typename TypeParam::Item;
    typename TypeParam::List list;
    const Ref<Item> a = make_ref<Item>('a'), b = make_ref<Item>('b'), c = make_ref<Item>('c');
    EXPECT_TRUE(list.add(a));
    EXPECT_TRUE(list.add(b));
    EXPECT_FALSE(list.add(Ref<Item>()));
    EXPECT_FALSE(list.add(a)); // stays where it was, behind b
    EXPECT_TRUE(list.add(c));
    EXPECT_EQ(walk(list), "cba");
    EXPECT_TRUE(list.first() == c);
    EXPECT_TRUE(list.contains(b));
    EXPECT_FALSE(list.contains(make_ref<Item>('b')));
}

TYPED_TEST(NewestFirstTest, FirstAnswerStopsAtTheNewestThatAnswers)
{
    using Item = typename TypeParam::Item;
    typename TypeParam::List list;
    for (char n : std::string("abcd"))
        list.add(make_ref<Item>(n));
    std::string asked;
    const Ref<Item> found = list.first_answer([&](const Ref<Item>& at) {
        asked += at->name;
        return at->name == 'b' || at->name == 'a' ? at : Ref<Item>();
    });
    ASSERT_FALSE(found.is_null());
    EXPECT_EQ(found->name, 'b');
    EXPECT_EQ(asked, "dcb"); // 'a' would answer too, but is never asked
}

TYPED_TEST(NewestFirstTest, AddingDuringAWalkFinishesTheWalkWithoutTheNewcomer)
{
    using Item = typename TypeParam::Item;
    typename TypeParam::List list;
    list.add(make_ref<Item>('a'));
    list.add(make_ref<Item>('b'));
    std::string asked;
    list.first_answer([&](const Ref<Item>& at) {
        asked += at->name;
        if (at->name == 'b')
            list.add(make_ref<Item>('n'));
        return false;
    });
    EXPECT_EQ(asked, "ba");
    EXPECT_EQ(walk(list), "nba");
}

TYPED_TEST(NewestFirstTest, TheListKeepsItsEntriesAlive)
{
    using Item = typename TypeParam::Item;
    typename TypeParam::List list;
    Item* raw = nullptr;
    {
        const Ref<Item> a = make_ref<Item>('a');
        raw = a.get();
        list.add(a);
        EXPECT_EQ(a->ref_count(), 2);
    }
    EXPECT_EQ(raw->ref_count(), 1);
    EXPECT_EQ(list.first().get(), raw);
}

TEST(NewestFirstOwnLink, TheEntryLinkNamesTheOneRegisteredBefore)
{
    NewestFirst<Linked, &Linked::next> list;
    const Ref<Linked> a = make_ref<Linked>('a'), b = make_ref<Linked>('b');
    list.add(a);
    list.add(b);
    EXPECT_TRUE(b->next == a);
    EXPECT_TRUE(a->next.is_null());
}
