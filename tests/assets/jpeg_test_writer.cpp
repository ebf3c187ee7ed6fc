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
    const bool inks = options.inks != JpegOptions::NoInks;
    const int channels = options.grey ? 1 : inks ? 4 : 3;
    info.input_components = channels;
    info.in_color_space = options.grey ? JCS_GRAYSCALE : inks ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&info);
    if (inks)
        jpeg_set_colorspace(&info, options.inks == JpegOptions::AdobeYcck ? JCS_YCCK : JCS_CMYK);
    if (options.inks == JpegOptions::PlainCmyk)
        info.write_Adobe_marker = FALSE;
    jpeg_set_quality(&info, options.quality, TRUE);
    info.arith_code = options.arithmetic ? TRUE : FALSE;
    if (options.progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    Bytes row(static_cast<size_t>(picture.width) * static_cast<size_t>(channels));
    while (info.next_scanline < info.image_height) {
        const uint8_t* s = &picture.pixels[static_cast<size_t>(info.next_scanline) *
                                           static_cast<size_t>(picture.width) * 4];
        for (int32_t x = 0; x < picture.width; ++x, s += 4) {
            uint8_t* d = &row[static_cast<size_t>(x) * static_cast<size_t>(channels)];
            if (options.grey) {
                d[0] = s[0];
            } else if (options.inks == JpegOptions::PlainCmyk) {
                d[0] = static_cast<uint8_t>(255 - s[0]), d[1] = static_cast<uint8_t>(255 - s[1]);
                d[2] = static_cast<uint8_t>(255 - s[2]), d[3] = 0;
            } else if (inks) {
                std::memcpy(d, s, 3); // inverted inks: no black is 255
                d[3] = 255;
            } else
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
