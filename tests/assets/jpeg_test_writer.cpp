// The JPEG writer of the stock loaders' test pictures: libjpeg's compressor
// into memory.
#include "stock_test_images.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <jpeglib.h>

namespace vantrel::stocktest {

Bytes encode_jpeg(const Rgba& picture, const JpegOptions& options)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = static_cast<JDIMENSION>(picture.width);
    info.image_height = static_cast<JDIMENSION>(picture.height);
    info.input_components = options.grey ? 1 : 3;
    info.in_color_space = options.grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, options.quality, TRUE);
    if (options.progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    Bytes row(static_cast<size_t>(picture.width) * 3);
    while (info.next_scanline < info.image_height) {
        const uint8_t* s = &picture.pixels[static_cast<size_t>(info.next_scanline) *
                                           static_cast<size_t>(picture.width) * 4];
        for (int32_t x = 0; x < picture.width; ++x, s += 4) {
            if (options.grey)
                row[static_cast<size_t>(x)] = s[0];
            else
                std::memcpy(&row[static_cast<size_t>(x) * 3], s, 3);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes file(out, out + size);
    std::free(out);
    return file;
}

} // namespace vantrel::stocktest
