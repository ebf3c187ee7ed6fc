// Bytes held by C++ allocations (operator new) in this program, counted by
// the replacement allocator in live_bytes.cpp: what the game, the engine and
// the C++ parts of the drivers hold, apart from the C libraries' malloc.
#pragma once

namespace vantrel::bench {

long long cxx_live_bytes();

} // namespace vantrel::bench
