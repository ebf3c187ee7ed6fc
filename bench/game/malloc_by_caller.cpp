// Live heap bytes by the library that asked for them, by interposition:
//
//   LD_PRELOAD=libmalloc_by_caller.so game_soak ...
//
// Every malloc-family call is recorded with the first return addresses of
// its call stack outside the C and C++ runtimes; a program that finds
// `malloc_by_caller_report` (dlsym) calls it to print, on standard error,
// the live bytes of each library and its largest call sites, so that
// growth in the C heap can be pinned on its owner. Slow, for soaks only.
#include <dlfcn.h>
#include <execinfo.h>
#include <link.h>
#include <sys/mman.h>

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

namespace {

using MallocFn = void* (*)(size_t);
using FreeFn = void (*)(void*);
using CallocFn = void* (*)(size_t, size_t);
using ReallocFn = void* (*)(void*, size_t);
using MemalignFn = int (*)(void**, size_t, size_t);

MallocFn real_malloc;
FreeFn real_free;
CallocFn real_calloc;
ReallocFn real_realloc;
MemalignFn real_memalign;

// dlsym may allocate before the real functions are known.
alignas(16) char bootstrap[1 << 16];
size_t bootstrap_used = 0;

constexpr int FRAMES = 4;
constexpr size_t LIVE_SLOTS = size_t{1} << 22;
constexpr size_t SITE_SLOTS = size_t{1} << 16;

struct Live {
    uintptr_t ptr; // 0 empty, 1 deleted
    uint64_t size;
    uint32_t site;
};
struct Site {
    uintptr_t frames[FRAMES];
    int64_t bytes;
    bool used;
};

Live* live;
Site* sites;
std::atomic_flag lock = ATOMIC_FLAG_INIT;
thread_local bool inside = false;
uintptr_t skip_lo[3], skip_hi[3];

void* map_zeroed(size_t bytes)
{
    return mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
}

// The address ranges of the C and C++ runtimes and of this library, whose
// frames are not the caller we are after.
int note_runtime(dl_phdr_info* info, size_t, void*)
{
    static const char* const names[3] = {"/libc.so", "/libstdc++.so", "malloc_by_caller"};
    for (int i = 0; i < 3; ++i) {
        if (!info->dlpi_name || !std::strstr(info->dlpi_name, names[i]))
            continue;
        for (int h = 0; h < info->dlpi_phnum; ++h) {
            const auto& ph = info->dlpi_phdr[h];
            if (ph.p_type != PT_LOAD || !(ph.p_flags & PF_X))
                continue;
            skip_lo[i] = info->dlpi_addr + ph.p_vaddr;
            skip_hi[i] = skip_lo[i] + ph.p_memsz;
        }
    }
    return 0;
}

void init()
{
    if (real_malloc)
        return;
    real_malloc = reinterpret_cast<MallocFn>(dlsym(RTLD_NEXT, "malloc"));
    real_free = reinterpret_cast<FreeFn>(dlsym(RTLD_NEXT, "free"));
    real_calloc = reinterpret_cast<CallocFn>(dlsym(RTLD_NEXT, "calloc"));
    real_realloc = reinterpret_cast<ReallocFn>(dlsym(RTLD_NEXT, "realloc"));
    real_memalign = reinterpret_cast<MemalignFn>(dlsym(RTLD_NEXT, "posix_memalign"));
    live = static_cast<Live*>(map_zeroed(LIVE_SLOTS * sizeof(Live)));
    sites = static_cast<Site*>(map_zeroed(SITE_SLOTS * sizeof(Site)));
    dl_iterate_phdr(note_runtime, nullptr);
}

size_t slot_of(uintptr_t p) { return (p >> 4) * 0x9E3779B97F4A7C15ull >> 42 & (LIVE_SLOTS - 1); }

bool skipped(uintptr_t pc)
{
    for (int i = 0; i < 3; ++i)
        if (pc >= skip_lo[i] && pc < skip_hi[i])
            return true;
    return false;
}

uint32_t site_of_stack()
{
    void* stack[16];
    const int n = backtrace(stack, 16);
    uintptr_t key[FRAMES] = {};
    int k = 0;
    for (int i = 1; i < n && k < FRAMES; ++i) {
        const auto pc = reinterpret_cast<uintptr_t>(stack[i]);
        if (k == 0 && skipped(pc))
            continue;
        key[k++] = pc;
    }
    uint64_t h = 1469598103934665603ull;
    for (uintptr_t f : key)
        h = (h ^ f) * 1099511628211ull;
    for (size_t i = h & (SITE_SLOTS - 1);; i = (i + 1) & (SITE_SLOTS - 1)) {
        Site& s = sites[i];
        if (!s.used) {
            s.used = true;
            std::memcpy(s.frames, key, sizeof key);
            return static_cast<uint32_t>(i);
        }
        if (std::memcmp(s.frames, key, sizeof key) == 0)
            return static_cast<uint32_t>(i);
    }
}

void record(void* p, size_t size)
{
    if (!p || inside)
        return;
    inside = true;
    const uint32_t site = site_of_stack();
    while (lock.test_and_set(std::memory_order_acquire)) {
    }
    for (size_t i = slot_of(reinterpret_cast<uintptr_t>(p));; i = (i + 1) & (LIVE_SLOTS - 1))
        if (live[i].ptr <= 1) {
            live[i] = {reinterpret_cast<uintptr_t>(p), size, site};
            sites[site].bytes += static_cast<int64_t>(size);
            break;
        }
    lock.clear(std::memory_order_release);
    inside = false;
}

void forget(void* p)
{
    if (!p || !live)
        return;
    while (lock.test_and_set(std::memory_order_acquire)) {
    }
    for (size_t i = slot_of(reinterpret_cast<uintptr_t>(p));; i = (i + 1) & (LIVE_SLOTS - 1)) {
        if (live[i].ptr == 0)
            break;
        if (live[i].ptr == reinterpret_cast<uintptr_t>(p)) {
            sites[live[i].site].bytes -= static_cast<int64_t>(live[i].size);
            live[i].ptr = 1;
            break;
        }
    }
    lock.clear(std::memory_order_release);
}

bool in_bootstrap(void* p)
{
    return p >= static_cast<void*>(bootstrap) && p < static_cast<void*>(bootstrap + sizeof bootstrap);
}

} // namespace

extern "C" {

void* malloc(size_t size)
{
    if (!real_malloc) {
        if (bootstrap_used + size > sizeof bootstrap)
            return nullptr;
        void* p = bootstrap + bootstrap_used;
        bootstrap_used += (size + 15) & ~size_t{15};
        init();
        return p;
    }
    void* p = real_malloc(size);
    record(p, size);
    return p;
}

void* calloc(size_t n, size_t size)
{
    if (!real_calloc) {
        void* p = malloc(n * size);
        if (p)
            std::memset(p, 0, n * size);
        return p;
    }
    void* p = real_calloc(n, size);
    record(p, n * size);
    return p;
}

void free(void* p)
{
    if (!p || in_bootstrap(p))
        return;
    forget(p);
    real_free(p);
}

void* realloc(void* p, size_t size)
{
    if (in_bootstrap(p)) {
        void* q = malloc(size);
        if (q)
            std::memcpy(q, p, size);
        return q;
    }
    init();
    forget(p);
    void* q = real_realloc(p, size);
    record(q ? q : (size ? p : nullptr), q ? size : 0);
    return q;
}

int posix_memalign(void** out, size_t alignment, size_t size)
{
    init();
    const int r = real_memalign(out, alignment, size);
    if (r == 0)
        record(*out, size);
    return r;
}

void* aligned_alloc(size_t alignment, size_t size)
{
    void* p = nullptr;
    return posix_memalign(&p, std::max(alignment, sizeof(void*)), size) == 0 ? p : nullptr;
}

void* memalign(size_t alignment, size_t size) { return aligned_alloc(alignment, size); }

// Prints live bytes by library, then the largest call sites.
void malloc_by_caller_report()
{
    if (!live)
        return;
    inside = true;
    std::map<std::string, int64_t> by_library;
    std::multimap<int64_t, const Site*, std::greater<>> largest;
    for (size_t i = 0; i < SITE_SLOTS; ++i) {
        const Site& s = sites[i];
        if (!s.used || s.bytes == 0)
            continue;
        Dl_info info{};
        const bool known = dladdr(reinterpret_cast<void*>(s.frames[0]), &info) != 0;
        std::string library = known && info.dli_fname ? info.dli_fname : "?";
        library = library.substr(library.find_last_of('/') + 1);
        by_library[library] += s.bytes;
        largest.emplace(s.bytes, &s);
    }
    std::fprintf(stderr, "live heap bytes by caller's library:\n");
    for (const auto& [library, bytes] : by_library)
        if (bytes >= 1024 || bytes <= -1024)
            std::fprintf(stderr, "  %-40s %10lld kB\n", library.c_str(),
                         static_cast<long long>(bytes / 1024));
    int shown = 0;
    for (const auto& [bytes, site] : largest) {
        if (++shown > 12)
            break;
        std::fprintf(stderr, "  site %10lld kB:", static_cast<long long>(bytes / 1024));
        for (uintptr_t f : site->frames) {
            Dl_info info{};
            if (f && dladdr(reinterpret_cast<void*>(f), &info) && info.dli_sname)
                std::fprintf(stderr, " %s", info.dli_sname);
            else if (f)
                std::fprintf(stderr, " %#lx", static_cast<unsigned long>(f));
        }
        std::fprintf(stderr, "\n");
    }
    inside = false;
}

} // extern "C"
