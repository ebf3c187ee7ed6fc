// A memory budget for libpng. A hostile header can claim a picture far larger
// than the data behind it; libpng would reserve all its rows before it finds
// out. Deflate inflates at most about 1032 to 1 and the expansion to 8-bit
// channels multiplies by at most 32 (1-bit palette to RGBA), so a picture
// whose rows exceed that bound over the bytes left in the stream cannot be
// valid and is refused before its rows are allocated.
#pragma once

#include <png.h>

#include <cstddef>
#include <cstdint>

namespace vantrel::png_detail {

// Bytes for zlib, the row filters and ancillary chunks, whatever the input.
inline constexpr size_t PNG_BASE_BUDGET = size_t{64} << 20;
// Decoded bytes one byte of PNG data can give at most, with room to spare.
inline constexpr size_t PNG_BYTES_PER_INPUT_BYTE = 34 * 1024;

// What libpng may hold at once when remaining bytes of data are left
// (negative when unknown: only libpng's own limits apply).
size_t png_budget(int64_t remaining);

struct PngMemory {
    size_t budget = 0;
    size_t in_use = 0;
};

// libpng allocation callbacks; the mem pointer is a PngMemory. An allocation
// over budget returns null, which libpng reports as an error.
png_voidp budget_malloc(png_structp png, png_alloc_size_t size);
void budget_free(png_structp png, png_voidp block);

} // namespace vantrel::png_detail
