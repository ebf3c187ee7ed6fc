#include "input/date_time.h"

#include <gtest/gtest.h>

#include <string>

using namespace vantrel;

TEST(DateTime, FixedShapes)
{
    EXPECT_EQ(format_date(2026, 12, 10), Text(u"10 Dec 2026"));
    EXPECT_EQ(format_date(2027, 1, 3), Text(u"03 Jan 2027"));
    EXPECT_EQ(format_date(2026, 13, 1), Text(u"01 ??? 2026"));
    EXPECT_EQ(format_time(14, 5, 9), Text(u"14:05:09"));
    EXPECT_EQ(format_time(0, 0, 0), Text(u"00:00:00"));
}

TEST(DateTime, CurrentTextsHaveTheirShapes)
{
    const std::u16string date(current_date().view());
    ASSERT_GE(date.size(), 11u);
    EXPECT_EQ(date[2], u' ');
    EXPECT_EQ(date[6], u' ');
    const std::u16string months = u"JanFebMarAprMayJunJulAugSepOctNovDec";
    EXPECT_NE(months.find(date.substr(3, 3)), std::u16string::npos);

    const std::u16string time(current_time().view());
    ASSERT_EQ(time.size(), 8u);
    EXPECT_EQ(time[2], u':');
    EXPECT_EQ(time[5], u':');
    EXPECT_LE(time.substr(0, 2), u"23");
}
