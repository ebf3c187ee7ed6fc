#include "input/input_state.h"

#include <utility>

namespace vantrel {

InputState& input_state()
{
    static InputState state;
    return state;
}

void InputState::reset()
{
    // The old contents are released only once the record is fresh, so what
    // their destructors call finds a consistent state.
    InputState old;
    std::swap(*this, old);
}

} // namespace vantrel
