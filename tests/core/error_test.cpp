#include "core/error.h"

#include <gtest/gtest.h>

using namespace vantrel;

TEST(RuntimeError, CarriesItsText)
{
    try {
        raise_error(u"Too many hook ids");
        FAIL();
    } catch (const TRuntimeError& e) {
        EXPECT_EQ(e.message(), Text(u"Too many hook ids"));
        EXPECT_STREQ(e.what(), "Too many hook ids");
    }
}

TEST(RuntimeErrorDeathTest, UncaughtErrorWritesLowBytesAndExitsMinusOne)
{
    EXPECT_EXIT(run_guarded([] { raise_error(u"Bad \u0148ews"); return 0; }),
                testing::ExitedWithCode(255), "^Bad Hews\n$");
}

TEST(RuntimeErrorDeathTest, GuardedBodyResultIsReturned)
{
    EXPECT_EQ(run_guarded([] { return 7; }), 7);
}
