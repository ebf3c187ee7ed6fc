// spsc_ring: a fixed ring of pointers with one producer thread and one
// consumer thread, and no lock.
//
// The producer writes a slot before it publishes the advanced write index
// (release); the consumer reads the write index (acquire) before the slot, and
// publishes its read index the same way so the producer never reuses a slot
// that is still being read. One slot always stays empty, so a ring of N slots
// holds at most N - 1 entries; a full ring refuses a push instead of
// overwriting its oldest entry.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

namespace vantrel {

template <class T, uint32_t N>
class spsc_ring {
    static_assert(N >= 2);

public:
    // Producer side.
    bool full() const noexcept
    {
        const uint32_t w = write_.load(std::memory_order_relaxed);
        return advance(w) == read_.load(std::memory_order_acquire);
    }
    bool push(T value) noexcept
    {
        const uint32_t w = write_.load(std::memory_order_relaxed);
        const uint32_t next = advance(w);
        if (next == read_.load(std::memory_order_acquire))
            return false;
        slots_[w] = value;
        write_.store(next, std::memory_order_release);
        return true;
    }

    // Consumer side.
    bool pop(T& value) noexcept
    {
        const uint32_t r = read_.load(std::memory_order_relaxed);
        if (r == write_.load(std::memory_order_acquire))
            return false;
        value = slots_[r];
        read_.store(advance(r), std::memory_order_release);
        return true;
    }

    // Either side; exact only on a ring the other thread leaves alone.
    bool empty() const noexcept
    {
        return read_.load(std::memory_order_acquire) == write_.load(std::memory_order_acquire);
    }
    uint32_t read_index() const noexcept { return read_.load(std::memory_order_acquire); }
    uint32_t write_index() const noexcept { return write_.load(std::memory_order_acquire); }
    static constexpr uint32_t capacity() noexcept { return N - 1; }

private:
    static constexpr uint32_t advance(uint32_t i) noexcept { return i + 1 == N ? 0 : i + 1; }

    alignas(64) std::atomic<uint32_t> read_{0};
    alignas(64) std::atomic<uint32_t> write_{0};
    alignas(64) std::array<T, N> slots_{};
};

} // namespace vantrel
