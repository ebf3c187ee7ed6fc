#include "core/error.h"
#include "input/events.h"
#include "input/hooks.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vantrel;

namespace {

std::vector<int> calls;

struct Tag final : TObject {
    explicit Tag(int v) : value(v) {}
    int value;
};

Ref<TObject> record(int32_t, const Ref<TObject>& data, const Ref<TObject>& context)
{
    calls.push_back(ref_cast<Tag>(context)->value);
    return data;
}

Ref<TObject> swallow(int32_t, const Ref<TObject>&, const Ref<TObject>&) { return {}; }

Ref<TObject> seen_null(int32_t, const Ref<TObject>& data, const Ref<TObject>&)
{
    calls.push_back(data ? 1 : 0);
    return data;
}

class Hooks : public testing::Test {
protected:
    void SetUp() override
    {
        calls.clear();
        id = new_hook_id();
    }
    int32_t id = 0;
};

} // namespace

TEST_F(Hooks, EventHookIsTheFirstId)
{
    EXPECT_GT(id, EVENT_HOOK);
}

TEST_F(Hooks, PriorityOrderThenRegistrationOrder)
{
    attach_hook(id, record, make_ref<Tag>(1), 0);
    attach_hook(id, record, make_ref<Tag>(2), 5);
    attach_hook(id, record, make_ref<Tag>(3), 0);
    attach_hook(id, record, make_ref<Tag>(4), -10000);
    call_hooks(id, {});
    EXPECT_EQ(calls, (std::vector<int>{2, 1, 3, 4}));
}

TEST_F(Hooks, NullResultIsHandedOnAndEveryCallbackRuns)
{
    attach_hook(id, swallow, {}, 10);
    attach_hook(id, seen_null, {}, 0);
    Ref<TObject> result = call_hooks(id, make_ref<Tag>(9));
    EXPECT_FALSE(result);
    EXPECT_EQ(calls, (std::vector<int>{0}));
}

TEST_F(Hooks, EmptyChainReturnsTheData)
{
    auto data = make_ref<Tag>(1);
    EXPECT_EQ(call_hooks(id, data).get(), data.get());
}

TEST_F(Hooks, DetachRemovesTheFirstMatchOnly)
{
    auto a = make_ref<Tag>(1);
    auto b = make_ref<Tag>(2);
    attach_hook(id, record, a, 0);
    attach_hook(id, record, b, 0);
    attach_hook(id, record, a, 0);
    detach_hook(id, record, a);
    detach_hook(id, record, make_ref<Tag>(1)); // equal value, other object: no match
    detach_hook(id, swallow, b);               // other function: no match
    call_hooks(id, {});
    EXPECT_EQ(calls, (std::vector<int>{2, 1}));
}

TEST(HookIds, RunOutAfter256)
{
    try {
        for (int i = 0; i < 300; ++i)
            new_hook_id();
        FAIL() << "ids never ran out";
    } catch (const TRuntimeError& e) {
        EXPECT_EQ(e.message(), Text(u"Too many hook ids"));
    }
}
