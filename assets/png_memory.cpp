// libpng allocations counted against a budget. Each block carries its size in
// a 16-byte header so that the count can be lowered when it is freed.
#include "assets/png_memory.h"

#include <cstdlib>
#include <cstring>
#include <limits>

namespace vantrel::png_detail {

namespace {

constexpr size_t HEADER = 16;

PngMemory& memory_of(png_structp png)
{
    return *static_cast<PngMemory*>(png_get_mem_ptr(png));
}

} // namespace

size_t png_budget(int64_t remaining)
{
    if (remaining < 0)
        return std::numeric_limits<size_t>::max();
    const auto limit = static_cast<uint64_t>(remaining) * PNG_BYTES_PER_INPUT_BYTE;
    return PNG_BASE_BUDGET + static_cast<size_t>(limit);
}

png_voidp budget_malloc(png_structp png, png_alloc_size_t size)
{
    PngMemory& memory = memory_of(png);
    if (size > memory.budget - memory.in_use || size > std::numeric_limits<size_t>::max() - HEADER)
        return nullptr;
    auto* block = static_cast<unsigned char*>(std::malloc(size + HEADER));
    if (!block)
        return nullptr;
    std::memcpy(block, &size, sizeof size);
    memory.in_use += size;
    return block + HEADER;
}

void budget_free(png_structp png, png_voidp pointer)
{
    if (!pointer)
        return;
    auto* block = static_cast<unsigned char*>(pointer) - HEADER;
    size_t size;
    std::memcpy(&size, block, sizeof size);
    memory_of(png).in_use -= size;
    std::free(block);
}

} // namespace vantrel::png_detail
