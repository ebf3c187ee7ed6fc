// Pixel formats: the six 8-bit-per-channel layouts, their constant tables,
// and the span operations that copy and convert runs of pixels.
//
// Bytes are named in memory order, whatever the host's byte order.
// FORMAT_RGBA32 is the hub: a conversion between two other formats goes
// through it. Codes outside 0..6 behave like format 0 (no pixels): they read
// as transparent black and store nothing.
#pragma once

#include <cstdint>

namespace vantrel {

inline constexpr int32_t FORMAT_NONE = 0;
inline constexpr int32_t FORMAT_GRAY8 = 1;
inline constexpr int32_t FORMAT_ALPHA8 = 2;
inline constexpr int32_t FORMAT_BGR24 = 3;
inline constexpr int32_t FORMAT_RGB24 = 4;
inline constexpr int32_t FORMAT_BGRA32 = 5;
inline constexpr int32_t FORMAT_RGBA32 = 6;
inline constexpr int32_t FORMAT_COUNT = 7;

// Indexed by format code.
inline constexpr int32_t PIXEL_BYTES[FORMAT_COUNT] = {0, 1, 1, 3, 3, 4, 4};
inline constexpr int32_t PIXEL_BITS[FORMAT_COUNT] = {0, 8, 8, 24, 24, 32, 32};
inline constexpr int32_t RED_BITS[FORMAT_COUNT] = {0, 0, 0, 8, 8, 8, 8};
inline constexpr int32_t GREEN_BITS[FORMAT_COUNT] = {0, 0, 0, 8, 8, 8, 8};
inline constexpr int32_t BLUE_BITS[FORMAT_COUNT] = {0, 0, 0, 8, 8, 8, 8};
inline constexpr int32_t ALPHA_BITS[FORMAT_COUNT] = {0, 0, 8, 0, 0, 8, 8};

constexpr bool is_pixel_format(int32_t format) noexcept
{
    return format >= 0 && format < FORMAT_COUNT;
}

// Bytes per pixel; 0 for format 0 and for unknown codes.
constexpr int32_t pixel_bytes(int32_t format) noexcept
{
    return is_pixel_format(format) ? PIXEL_BYTES[format] : 0;
}

// A single pixel across interfaces: alpha 24..31, red 16..23, green 8..15,
// blue 0..7.
constexpr uint32_t make_argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) noexcept
{
    return (a & 255) << 24 | (r & 255) << 16 | (g & 255) << 8 | (b & 255);
}

// Copies count pixels of one format; source and destination may overlap.
void copy_pixel_span(const void* src, void* dst, int32_t format, int32_t count);

// Converts count pixels between formats; the spans must not overlap unless the
// formats are equal.
void convert_pixel_span(const void* src, int32_t src_format, void* dst, int32_t dst_format,
                        int32_t count);

} // namespace vantrel
