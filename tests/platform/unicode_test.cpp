#include "platform/unicode.h"

#include <gtest/gtest.h>

using namespace vantrel::platform;

TEST(Unicode, Utf8BecomesUtf16WithSurrogatePairs)
{
    EXPECT_EQ(utf16_from_utf8("a\xC3\xA9\xE2\x82\xAC"), u"a\u00e9\u20ac");
    EXPECT_EQ(utf16_from_utf8("\xF0\x9F\x90\xA6"), u"\U0001F426");
}

TEST(Unicode, MalformedUtf8BecomesReplacementCharacters)
{
    EXPECT_EQ(utf16_from_utf8("\xC3"), u"\ufffd");           // cut short
    EXPECT_EQ(utf16_from_utf8("\xC0\xAF"), u"\ufffd");       // overlong
    EXPECT_EQ(utf16_from_utf8("\xED\xA0\x80"), u"\ufffd");   // a surrogate
    EXPECT_EQ(utf16_from_utf8("\xFFx"), u"\ufffdx");
}

TEST(Unicode, Utf16BecomesUtf8)
{
    EXPECT_EQ(utf8_from_utf16(u"Vantrel v.0.3"), "Vantrel v.0.3");
    EXPECT_EQ(utf8_from_utf16(u"\u00e9\U0001F426"), "\xC3\xA9\xF0\x9F\x90\xA6");
    EXPECT_EQ(utf8_from_utf16(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}
