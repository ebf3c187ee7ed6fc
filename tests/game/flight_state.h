// The scripted flight's state, pass by pass, in the determinism test's
// order and format: every game variable exactly, the generator and the
// music loops on the channel table, one line per pass, all of it hashed.
// The programs that fly the flight elsewhere (under node, in a browser,
// on another renderer) print these lines so they can be compared with the
// Linux build's trace.
#pragma once

#include <cstdint>
#include <string>

namespace vantrel::test {

// The determinism test's state hash of the released game.
inline constexpr uint64_t RELEASED_STATE_HASH = 0x6d29304def2a31f8ULL;

class StateTrace {
public:
    // This pass's line without the pass number (" 1000 1016 ... c1:8"),
    // its values added to the hash.
    std::string take_pass();
    uint64_t hash() const { return hash_; }

private:
    void add(const void* data, size_t size);
    template <class T>
    void add_value(const T& v) { add(&v, sizeof v); }

    uint64_t hash_ = 0xcbf29ce484222325ULL;
};

} // namespace vantrel::test
