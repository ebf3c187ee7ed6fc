// The asset registry: exact names, first registration wins, refusals.
#include "assets/registry.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

const uint8_t blob_a[] = {1, 2, 3};
const uint8_t blob_b[] = {9, 9};

TEST(Registry, RegistersAndFinds)
{
    EXPECT_EQ(register_asset(u"reg_first.bin", blob_a, 3), 1);
    const TEmbeddedAsset* a = find_asset(u"reg_first.bin");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->data, blob_a);
    EXPECT_EQ(a->size, 3);
    EXPECT_EQ(asset_data(u"reg_first.bin"), blob_a);
    EXPECT_EQ(asset_size(u"reg_first.bin"), 3);
}

TEST(Registry, SecondRegistrationChangesNothing)
{
    EXPECT_EQ(register_asset(u"reg_twice.bin", blob_a, 3), 1);
    EXPECT_EQ(register_asset(u"reg_twice.bin", blob_b, 2), 0);
    EXPECT_EQ(asset_data(u"reg_twice.bin"), blob_a);
    EXPECT_EQ(asset_size(u"reg_twice.bin"), 3);
}

TEST(Registry, NamesAreExact)
{
    ASSERT_EQ(register_asset(u"Reg_Case.bin", blob_a, 3), 1);
    EXPECT_EQ(find_asset(u"reg_case.bin"), nullptr);
    EXPECT_EQ(find_asset(u"Reg_Case.bin "), nullptr);
    EXPECT_EQ(find_asset(u"./Reg_Case.bin"), nullptr);
    EXPECT_EQ(find_asset(u"Reg_Case.bi"), nullptr);
    EXPECT_NE(find_asset(u"Reg_Case.bin"), nullptr);
}

TEST(Registry, UnknownNameGivesNothing)
{
    EXPECT_EQ(find_asset(u"reg_never.bin"), nullptr);
    EXPECT_EQ(asset_data(u"reg_never.bin"), nullptr);
    EXPECT_EQ(asset_size(u"reg_never.bin"), 0);
}

TEST(Registry, NewestIsFoundFirstInTheList)
{
    ASSERT_EQ(register_asset(u"reg_older.bin", blob_a, 3), 1);
    ASSERT_EQ(register_asset(u"reg_newer.bin", blob_b, 2), 1);
    const TEmbeddedAsset* newer = find_asset(u"reg_newer.bin");
    ASSERT_NE(newer, nullptr);
    ASSERT_NE(newer->next, nullptr);
    EXPECT_EQ(newer->next, find_asset(u"reg_older.bin"));
}

TEST(Registry, EmptyBlobIsKept)
{
    EXPECT_EQ(register_asset(u"reg_empty.bin", blob_a, 0), 1);
    EXPECT_EQ(asset_data(u"reg_empty.bin"), blob_a);
    EXPECT_EQ(asset_size(u"reg_empty.bin"), 0);
}

TEST(Registry, RefusesNegativeSizeAndNullData)
{
    EXPECT_EQ(register_asset(u"reg_negative.bin", blob_a, -1), 0);
    EXPECT_EQ(find_asset(u"reg_negative.bin"), nullptr);
    EXPECT_EQ(register_asset(u"reg_null.bin", nullptr, 4), 0);
    EXPECT_EQ(find_asset(u"reg_null.bin"), nullptr);
}

TEST(Registry, RecordsStayPutWhileTheListGrows)
{
    ASSERT_EQ(register_asset(u"reg_anchor.bin", blob_a, 3), 1);
    const TEmbeddedAsset* anchor = find_asset(u"reg_anchor.bin");
    for (int i = 0; i < 500; ++i)
        register_asset(Text(u"reg_filler_") + Text::from_int(i), blob_b, 2);
    EXPECT_EQ(find_asset(u"reg_anchor.bin"), anchor);
    EXPECT_EQ(anchor->size, 3);
}

} // namespace
} // namespace vantrel
