#include "core/error.h"
#include "core/object.h"
#include "core/text.h"

#include <gtest/gtest.h>

using namespace vantrel;

namespace {

struct Probe final : TObject {
    explicit Probe(int* deaths) : deaths_(deaths) {}
    ~Probe() override { ++*deaths_; }
    int* deaths_;
};

struct Other final : TObject {};

} // namespace

TEST(Object, LastReferenceFreesOnce)
{
    int deaths = 0;
    {
        Ref<Probe> a = make_ref<Probe>(&deaths);
        Ref<TObject> b = a;
        EXPECT_EQ(a->ref_count(), 2);
        a.reset();
        EXPECT_EQ(deaths, 0);
        EXPECT_EQ(b->ref_count(), 1);
    }
    EXPECT_EQ(deaths, 1);
}

TEST(Object, NullObjectAccessRaisesRuntimeError)
{
    Ref<Probe> none;
    EXPECT_TRUE(none.is_null());
    try {
        none->ref_count();
        FAIL() << "no error raised";
    } catch (const TRuntimeError& e) {
        EXPECT_EQ(e.message(), Text(u"Attempt to access field or method of Null object"));
    }
}

TEST(Object, CheckedCastGivesNullForOtherClasses)
{
    int deaths = 0;
    Ref<TObject> object = make_ref<Probe>(&deaths);
    EXPECT_TRUE(ref_cast<Probe>(object));
    EXPECT_FALSE(ref_cast<Other>(object));
    EXPECT_FALSE(ref_cast<Probe>(Ref<TObject>()));
}

TEST(Text, CodeUnitsAndBytes)
{
    Text t = Text(u"ab") + Text::from_bytes("\xe9z");
    ASSERT_EQ(t.length(), 4u);
    EXPECT_EQ(t[2], u'\u00e9');
    EXPECT_EQ(Text(u"\u0141x").to_bytes(), std::string("\x41x"));
    EXPECT_EQ(Text::from_int(-2147483647 - 1), Text(u"-2147483648"));
    EXPECT_TRUE(Text().empty());
    EXPECT_EQ(Text(), Text(u""));
}

TEST(Text, TravelsAsAnObject)
{
    Ref<TObject> object = Text(u"extra").object();
    EXPECT_EQ(text_of(object), Text(u"extra"));
    EXPECT_TRUE(text_of(Ref<TObject>()).empty());
    EXPECT_EQ(object->to_string(), Text(u"extra"));
}
