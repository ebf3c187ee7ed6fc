// Helpers for tests that follow the generator: where it stands after a
// number of steps, and start states that give chosen results.
#pragma once

#include "game/random.h"

#include <cstdint>
#include <functional>

namespace vantrel::test {

// The state reached from `from` after n steps (random_float is one step).
inline int32_t state_after_steps(int32_t from, int n)
{
    const int32_t saved = get_random_state();
    set_random_state(from);
    for (int i = 0; i < n; ++i)
        random_float();
    const int32_t result = get_random_state();
    set_random_state(saved);
    return result;
}

// The first start state from 1 up for which `wanted` holds, with the
// generator then put back at that state.
inline int32_t find_state(const std::function<bool()>& wanted)
{
    for (int32_t s = 1;; ++s) {
        set_random_state(s);
        if (wanted()) {
            set_random_state(s);
            return s;
        }
    }
}

} // namespace vantrel::test
