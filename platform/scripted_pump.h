// A MessagePump double: hands out the messages a test queued, in order, so
// the input layer can be driven without a window system.
#pragma once

#include "platform/message_pump.h"

#include <deque>

namespace vantrel::platform {

class ScriptedPump final : public MessagePump {
public:
    void push(const OSMessage& message) { pending.push_back(message); }

    bool poll(OSMessage& message) override
    {
        ++polls;
        if (pending.empty())
            return false;
        message = pending.front();
        pending.pop_front();
        return true;
    }
    void wait() override { ++waits; }

    std::deque<OSMessage> pending;
    int polls = 0; // poll calls, empty ones included
    int waits = 0;
};

} // namespace vantrel::platform
