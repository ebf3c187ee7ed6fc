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

// A parent sees exit(-1) as 255 on POSIX systems; Windows keeps all the bits.
#ifdef _WIN32
constexpr int MINUS_ONE_STATUS = -1;
#else
constexpr int MINUS_ONE_STATUS = 255;
#endif

TEST(RuntimeErrorDeathTest, UncaughtErrorWritesLowBytesAndExitsMinusOne)
{
    EXPECT_EXIT(run_guarded([] { raise_error(u"Bad \u0148ews"); return 0; }),
                testing::ExitedWithCode(MINUS_ONE_STATUS), "^Bad Hews\n$");
}

TEST(RuntimeErrorDeathTest, GuardedBodyResultIsReturned)
{
    EXPECT_EQ(run_guarded([] { return 7; }), 7);
}
