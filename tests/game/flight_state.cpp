#include "flight_state.h"

#include "game/random.h"
#include "game/state.h"
#include "music_channels.h"

#include <cstdio>

namespace vantrel::test {

namespace {

void append(std::string& line, const char* format, auto value)
{
    char text[40];
    std::snprintf(text, sizeof text, format, value);
    line += text;
}

} // namespace

void StateTrace::add(const void* data, size_t size)
{
    const auto* p = static_cast<const uint8_t*>(data);
    for (size_t i = 0; i < size; ++i)
        hash_ = (hash_ ^ p[i]) * 0x100000001b3ULL;
}

std::string StateTrace::take_pass()
{
    std::string line;
    // Field by field: the record's padding is not part of the state.
    const GameVars& v = game_vars;
    for (int32_t x : {v.last_ms, v.now_ms, v.music_elapsed_ms}) {
        add_value(x);
        append(line, " %d", x);
    }
    for (float x : {v.bird_x, v.bird_y, v.left_wing, v.left_count, v.right_wing, v.right_count,
                    v.target_y, v.target_left, v.target_right, v.left_count_t, v.right_count_t,
                    v.fatigue, v.wind, v.wind_target, v.island_x, v.island_y, v.island_scale}) {
        add_value(x);
        append(line, " %a", static_cast<double>(x)); // exact, unlike %g
    }
    const auto random_state = get_random_state();
    add_value(random_state);
    append(line, " r%d", random_state);
    for (const ChannelLoop& c : music_on_channels()) {
        add_value(c.channel);
        add_value(c.loop);
        append(line, " c%u", c.channel);
        append(line, ":%d", c.loop);
    }
    return line;
}

} // namespace vantrel::test
