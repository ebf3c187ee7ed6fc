#include "input/timer.h"

#include "core/error.h"
#include "input/events.h"
#include "input/input_state.h"
#include "platform/message_pump.h"
#include "platform/periodic_ticker.h"

#include <algorithm>
#include <vector>

namespace vantrel {
namespace {

std::vector<TTimer*>& running_timers() { return input_state().timers.running; }

void forget(TTimer* timer) { std::erase(running_timers(), timer); }

// On the ticker's thread: a main thread blocked in the message wait comes
// out to deliver the tick.
void wake_pump(void* pump) { static_cast<platform::MessagePump*>(pump)->wake(); }

int32_t clamp_count(uint64_t ticks)
{
    return static_cast<int32_t>(std::min<uint64_t>(ticks, INT32_MAX));
}

} // namespace

TTimer::TTimer(double hz) : hz_(hz), ticker_(std::make_unique<platform::PeriodicTicker>())
{
    if (!(hz > 0.0 && hz <= TIMER_MAX_HZ))
        raise_error(Text(u"Timer rate must be above 0 and at most 1000 Hz"));
    ticker_->start(hz, &wake_pump, &platform::system_message_pump());
    running_timers().push_back(this);
}

TTimer::~TTimer() { stop(); }

int32_t TTimer::ticks() const { return clamp_count(ticker_->ticks()); }

int32_t TTimer::wait()
{
    if (!ticker_->running())
        return 0;
    const uint64_t now = ticker_->wait_beyond(waited_);
    const uint64_t since = now - waited_;
    waited_ = now;
    return clamp_count(since);
}

void TTimer::stop()
{
    ticker_->stop();
    forget(this);
}

bool TTimer::running() const { return ticker_->running(); }

void TTimer::deliver()
{
    if (!running())
        return;
    const uint64_t now = ticker_->ticks();
    if (now == delivered_)
        return;
    delivered_ = now;
    send_event(new_event(EVENT_TIMER_TICK, Ref<TObject>(this), clamp_count(now), 0, 0, 0, {}));
}

Text TTimer::to_string() const { return Text(u"TTimer"); }

Ref<TTimer> create_timer(double hz)
{
    return make_ref<TTimer>(hz);
}

void deliver_timer_ticks()
{
    // References, so a hook that drops a timer cannot pull it from under us.
    std::vector<Ref<TTimer>> timers;
    for (TTimer* timer : running_timers())
        timers.emplace_back(timer);
    for (const Ref<TTimer>& timer : timers)
        timer->deliver();
}

} // namespace vantrel
