// The replacement global allocator behind cxx_live_bytes. The no-throw forms
// are replaced too, so every block is freed by the allocator that made it.
#include "live_bytes.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<long long> live{0};

void* counted(std::size_t size)
{
    void* p = std::malloc(size ? size : 1);
    if (!p)
        throw std::bad_alloc();
    live.fetch_add(static_cast<long long>(malloc_usable_size(p)), std::memory_order_relaxed);
    return p;
}

void uncounted(void* p) noexcept
{
    if (!p)
        return;
    live.fetch_sub(static_cast<long long>(malloc_usable_size(p)), std::memory_order_relaxed);
    std::free(p);
}

void* counted_or_null(std::size_t size) noexcept
{
    try {
        return counted(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

} // namespace

long long vantrel::bench::cxx_live_bytes() { return live.load(std::memory_order_relaxed); }

void* operator new(std::size_t size) { return counted(size); }
void* operator new[](std::size_t size) { return counted(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return counted_or_null(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return counted_or_null(size); }
void operator delete(void* p) noexcept { uncounted(p); }
void operator delete[](void* p) noexcept { uncounted(p); }
void operator delete(void* p, std::size_t) noexcept { uncounted(p); }
void operator delete[](void* p, std::size_t) noexcept { uncounted(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { uncounted(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { uncounted(p); }
