// Span copies and conversions between the pixel formats, one loop per format
// so that the per-pixel work carries no format switch.
#include "assets/pixel_format.h"

#include <algorithm>
#include <cstring>

namespace vantrel {

namespace {

// Pixels converted per pass of the general case: a stack buffer, so that no
// conversion allocates.
constexpr int32_t HUB_CHUNK = 256;

void gray_to_rgba(const uint8_t* s, uint8_t* d, int32_t n)
{
    for (int32_t i = 0; i < n; ++i, d += 4)
        d[0] = d[1] = d[2] = s[i], d[3] = 255;
}

void alpha_to_rgba(const uint8_t* s, uint8_t* d, int32_t n)
{
    for (int32_t i = 0; i < n; ++i, d += 4)
        d[0] = d[1] = d[2] = 255, d[3] = s[i];
}

// Three-byte pixels; r and b give the byte index of red and blue.
void rgb_to_rgba(const uint8_t* s, uint8_t* d, int32_t n, int r, int b)
{
    for (int32_t i = 0; i < n; ++i, s += 3, d += 4)
        d[0] = s[r], d[1] = s[1], d[2] = s[b], d[3] = 255;
}

void bgra_to_rgba(const uint8_t* s, uint8_t* d, int32_t n)
{
    for (int32_t i = 0; i < n; ++i, s += 4, d += 4)
        d[0] = s[2], d[1] = s[1], d[2] = s[0], d[3] = s[3];
}

void rgba_to_gray(const uint8_t* s, uint8_t* d, int32_t n)
{
    for (int32_t i = 0; i < n; ++i, s += 4)
        d[i] = static_cast<uint8_t>((s[0] + s[1] + s[2]) / 3);
}

void rgba_to_alpha(const uint8_t* s, uint8_t* d, int32_t n)
{
    for (int32_t i = 0; i < n; ++i, s += 4)
        d[i] = s[3];
}

void rgba_to_rgb(const uint8_t* s, uint8_t* d, int32_t n, int r, int b)
{
    for (int32_t i = 0; i < n; ++i, s += 4, d += 3)
        d[r] = s[0], d[1] = s[1], d[b] = s[2];
}

void to_rgba(const uint8_t* src, int32_t format, uint8_t* dst, int32_t n)
{
    switch (format) {
    case FORMAT_GRAY8: gray_to_rgba(src, dst, n); break;
    case FORMAT_ALPHA8: alpha_to_rgba(src, dst, n); break;
    case FORMAT_BGR24: rgb_to_rgba(src, dst, n, 2, 0); break;
    case FORMAT_RGB24: rgb_to_rgba(src, dst, n, 0, 2); break;
    case FORMAT_BGRA32: bgra_to_rgba(src, dst, n); break;
    case FORMAT_RGBA32: std::memmove(dst, src, static_cast<size_t>(n) * 4); break;
    default: std::memset(dst, 0, static_cast<size_t>(n) * 4); break;
    }
}

void from_rgba(const uint8_t* src, uint8_t* dst, int32_t format, int32_t n)
{
    switch (format) {
    case FORMAT_GRAY8: rgba_to_gray(src, dst, n); break;
    case FORMAT_ALPHA8: rgba_to_alpha(src, dst, n); break;
    case FORMAT_BGR24: rgba_to_rgb(src, dst, n, 2, 0); break;
    case FORMAT_RGB24: rgba_to_rgb(src, dst, n, 0, 2); break;
    case FORMAT_BGRA32: bgra_to_rgba(src, dst, n); break; // the same byte swap
    case FORMAT_RGBA32: std::memmove(dst, src, static_cast<size_t>(n) * 4); break;
    default: break;
    }
}

} // namespace

void copy_pixel_span(const void* src, void* dst, int32_t format, int32_t count)
{
    if (count > 0)
        std::memmove(dst, src, static_cast<size_t>(count) * pixel_bytes(format));
}

void convert_pixel_span(const void* src, int32_t src_format, void* dst, int32_t dst_format,
                        int32_t count)
{
    if (count <= 0)
        return;
    auto s = static_cast<const uint8_t*>(src);
    auto d = static_cast<uint8_t*>(dst);
    if (src_format == dst_format) {
        copy_pixel_span(s, d, src_format, count);
    } else if (src_format == FORMAT_RGBA32) {
        from_rgba(s, d, dst_format, count);
    } else if (dst_format == FORMAT_RGBA32) {
        to_rgba(s, src_format, d, count);
    } else {
        alignas(16) uint8_t hub[HUB_CHUNK * 4];
        const int32_t src_step = pixel_bytes(src_format);
        const int32_t dst_step = pixel_bytes(dst_format);
        for (int32_t done = 0; done < count; done += HUB_CHUNK) {
            const int32_t n = std::min(HUB_CHUNK, count - done);
            to_rgba(s + static_cast<size_t>(done) * src_step, src_format, hub, n);
            from_rgba(hub, d + static_cast<size_t>(done) * dst_step, dst_format, n);
        }
    }
}

} // namespace vantrel
