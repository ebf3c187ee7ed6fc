// Writes the seed files of the stock loaders' fuzz targets with the tests'
// own writers: make_stock_seeds <folder>, normally fuzz/corpus. Each format
// gets a few small files covering its layouts.
#include "../tests/assets/stock_test_images.h"
#include "../tests/audio/ogg_writer.h"
#include "../tests/gfx/support/ttf_writer.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

namespace {

using namespace vantrel;
namespace fs = std::filesystem;

void write(const fs::path& folder, const std::string& name, const stocktest::Bytes& bytes)
{
    fs::create_directories(folder);
    std::ofstream(folder / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void bmp_seeds(const fs::path& dir)
{
    using stocktest::bmp_options;
    stocktest::Rgba rgb = stocktest::pattern(5, 3);
    write(dir, "rgb24.bmp", stocktest::encode_bmp(rgb, bmp_options(24)));
    write(dir, "rgb24_top_down.bmp", stocktest::encode_bmp(rgb, bmp_options(24, true)));
    write(dir, "rgb32.bmp", stocktest::encode_bmp(rgb, bmp_options(32)));
    auto masked = bmp_options(32);
    masked.alpha_mask = true;
    write(dir, "rgba32_masks.bmp", stocktest::encode_bmp(rgb, masked));
    write(dir, "rgb16_555.bmp", stocktest::encode_bmp(rgb, bmp_options(16, true)));
    auto sixteen = bmp_options(16);
    sixteen.masks565 = true;
    write(dir, "rgb16_565_masks.bmp", stocktest::encode_bmp(rgb, sixteen));
    sixteen.masks565 = false;
    sixteen.alpha_mask = true;
    write(dir, "rgba16_4444_masks.bmp", stocktest::encode_bmp(rgb, sixteen));
    auto os2 = bmp_options(24);
    os2.os2_header = 64;
    write(dir, "rgb24_os2_64.bmp", stocktest::encode_bmp(rgb, os2));
    for (int bits : {1, 4, 8}) {
        auto o = bmp_options(bits);
        stocktest::Rgba p = stocktest::palette_pattern(7, 3, bits == 1 ? 2 : 6, o.palette_rgb);
        write(dir, "palette" + std::to_string(bits) + ".bmp", stocktest::encode_bmp(p, o));
        if (bits == 4) {
            o.rle4 = true;
            write(dir, "rle4.bmp", stocktest::encode_bmp(p, o));
            o.rle4 = false;
        }
        if (bits == 8) {
            o.core_header = true;
            write(dir, "palette8_core.bmp", stocktest::encode_bmp(p, o));
            o.core_header = false;
            stocktest::Rgba full = stocktest::palette_pattern(3, 2, 256, o.palette_rgb);
            o.os2_header = 16;
            write(dir, "palette8_os2_16.bmp", stocktest::encode_bmp(full, o));
            o.os2_header = 0;
            p = stocktest::palette_pattern(7, 3, 6, o.palette_rgb);
            o.rle8 = true;
            write(dir, "rle8.bmp", stocktest::encode_bmp(p, o));
            o.rle8 = false;
            stocktest::Bytes inside = stocktest::encode_bmp(p, o);
            inside[10] -= 8; // pixel data starting inside the palette
            write(dir, "data-inside-palette.bmp", inside);
        }
    }
}

void tga_seeds(const fs::path& dir)
{
    stocktest::Rgba rgb = stocktest::pattern(5, 3);
    const struct {
        const char* name;
        int type, bits;
        bool top_down, right_to_left;
    } kinds[] = {{"rgb24.tga", 2, 24, false, false}, {"rgba32_rle.tga", 10, 32, true, false},
                 {"rgb16_rle.tga", 10, 16, true, true}, {"grey_rle.tga", 11, 8, false, true},
                 {"grey_alpha.tga", 3, 16, true, false}, {"grey_alpha_rle.tga", 11, 16, false, false}};
    for (const auto& k : kinds) {
        stocktest::TgaOptions o;
        o.image_type = k.type, o.bits = k.bits, o.top_down = k.top_down;
        o.right_to_left = k.right_to_left;
        write(dir, k.name, stocktest::encode_tga(rgb, o));
    }
    stocktest::TgaOptions mapped;
    mapped.image_type = 1, mapped.bits = 8, mapped.map_bits = 24, mapped.id = {'i', 'd'};
    stocktest::Rgba p = stocktest::palette_pattern(6, 3, 5, mapped.palette_rgb);
    write(dir, "mapped.tga", stocktest::encode_tga(p, mapped));
    mapped.image_type = 9, mapped.bits = 16, mapped.map_bits = 16, mapped.map_first = 2;
    write(dir, "mapped16_rle.tga", stocktest::encode_tga(p, mapped));
}

void jpeg_seeds(const fs::path& dir)
{
    write(dir, "colour.jpg", stocktest::encode_jpeg(stocktest::pattern(8, 8), {false, false, 75}));
    write(dir, "progressive.jpg", stocktest::encode_jpeg(stocktest::pattern(17, 9), {false, true, 60}));
    write(dir, "grey.jpg", stocktest::encode_jpeg(stocktest::pattern(9, 7), {true, false, 90}));
    stocktest::Bytes stray = stocktest::encode_jpeg(stocktest::pattern(8, 8), {false, false, 75});
    stray.insert(stray.end() - 2, {0x00, 0x12, 0x34}); // skipped before the end marker
    write(dir, "stray-bytes.jpg", stray);
    stocktest::JpegOptions inks;
    inks.quality = 75;
    inks.inks = stocktest::JpegOptions::AdobeYcck;
    write(dir, "adobe-ycck.jpg", stocktest::encode_jpeg(stocktest::pattern(8, 8), inks));
    inks.inks = stocktest::JpegOptions::PlainCmyk;
    write(dir, "plain-cmyk.jpg", stocktest::encode_jpeg(stocktest::pattern(8, 8), inks));
    stocktest::JpegOptions arithmetic;
    arithmetic.arithmetic = true;
    write(dir, "arithmetic.jpg", stocktest::encode_jpeg(stocktest::pattern(9, 7), arithmetic));
    stocktest::Rgba flat{600, 400, stocktest::Bytes(600 * 400 * 4, 90)};
    write(dir, "arithmetic-flat.jpg", stocktest::encode_jpeg(flat, arithmetic));
}

void ogg_seeds(const fs::path& dir)
{
    write(dir, "mono.ogg", test::encode_ogg(test::sine_frames(800, 1, 8000, 440.0), 1, 8000, 0.0f));
    write(dir, "stereo.ogg", test::encode_ogg(test::sine_frames(600, 2, 11025, 300.0), 2, 11025, 0.0f));
}

} // namespace

// The first byte is the fuzz target's pixel size.
void font_seeds(const fs::path& dir)
{
    using namespace vantrel::test;
    auto with_size = [](uint8_t size, std::vector<uint8_t> font) {
        font.insert(font.begin(), size);
        return stocktest::Bytes(font.begin(), font.end());
    };
    write(dir, "sample_16.ttf", with_size(15, sample_ttf()));
    write(dir, "sample_48.ttf", with_size(47, sample_ttf()));
    const std::vector<TtfPoint> square{{0, 0}, {0, 500}, {500, 500}, {500, 0}};
    write(dir, "one_glyph.ttf", with_size(11, write_ttf({{0, 500, {square}}}, {})));
    std::vector<TtfGlyph> letters{{0, 500, {square}}};
    for (char16_t c = u'a'; c <= u'z'; ++c)
        letters.push_back({c, static_cast<uint16_t>(400 + 10 * (c - u'a')), {square}});
    write(dir, "alphabet_kerned.ttf", with_size(23, write_ttf(letters, {{1, 2, -40}, {2, 3, 25}})));
}

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: make_stock_seeds <corpus folder>\n";
        return 2;
    }
    const fs::path root = argv[1];
    bmp_seeds(root / "bmp");
    tga_seeds(root / "tga");
    jpeg_seeds(root / "jpeg");
    ogg_seeds(root / "ogg");
    font_seeds(root / "font");
    return 0;
}
