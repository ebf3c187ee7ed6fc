// vantrel_contact_sheet ASSET_DIR OUT.png: the three pictures, each on sky
// blue with its mask colour made transparent as the game loads it (magenta
// for the wing, black for the spark, white for the island), the wing again
// shrunk to about the size it is drawn at, the whole font enlarged three
// times, and a line of sample text at twice the size.
#include "common/byte_io.h"
#include "common/png_file.h"

#include <cstdio>
#include <optional>
#include <string>

using namespace vantrel::assetgen;

namespace {

constexpr Rgb kSky{0, 128, 255};
constexpr int kMargin = 16;

void paste_masked(RgbImage& sheet, const RgbImage& picture, Rgb mask, int left, int top)
{
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const Rgb c = picture.get(x, y);
            sheet.set(left + x, top + y, c == mask ? kSky : c);
        }
}

// Box-filtered reduction by factor, mask pixels counting as sky.
void paste_shrunk(RgbImage& sheet, const RgbImage& picture, Rgb mask, int factor, int left, int top)
{
    for (int y = 0; y + factor <= picture.height(); y += factor)
        for (int x = 0; x + factor <= picture.width(); x += factor) {
            int r = 0, g = 0, b = 0;
            for (int dy = 0; dy < factor; ++dy)
                for (int dx = 0; dx < factor; ++dx) {
                    const Rgb c = picture.get(x + dx, y + dy) == mask ? kSky : picture.get(x + dx, y + dy);
                    r += c.r, g += c.g, b += c.b;
                }
            const int n = factor * factor;
            sheet.set(left + x / factor, top + y / factor,
                      {static_cast<uint8_t>(r / n), static_cast<uint8_t>(g / n), static_cast<uint8_t>(b / n)});
        }
}

void draw_glyph(RgbImage& sheet, const Bytes& font, int code, int left, int top, int zoom)
{
    if (code < 32 || code > 127 || left < 0 || top < 0 || left + 8 * zoom > sheet.width() ||
        top + 16 * zoom > sheet.height())
        return;
    for (int row = 0; row < 16; ++row) {
        const uint8_t bits = font[static_cast<size_t>(row * 96 + code - 32)];
        for (int column = 0; column < 8; ++column) {
            const Rgb c = (bits >> column) & 1 ? Rgb{255, 255, 255} : Rgb{0, 64, 150};
            for (int dy = 0; dy < zoom; ++dy)
                for (int dx = 0; dx < zoom; ++dx)
                    sheet.set(left + column * zoom + dx, top + row * zoom + dy, c);
        }
    }
}

std::optional<RgbImage> load_picture(const std::string& dir, const std::string& name)
{
    const auto bytes = read_file(dir + "/" + name);
    if (!bytes) {
        std::fprintf(stderr, "cannot read %s/%s\n", dir.c_str(), name.c_str());
        return std::nullopt;
    }
    auto decoded = decode_png(*bytes);
    if (!decoded) {
        std::fprintf(stderr, "%s is not a readable PNG\n", name.c_str());
        return std::nullopt;
    }
    return decoded->image;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s ASSET_DIR OUT.png\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    const auto wing = load_picture(dir, "wing2.png");
    const auto spark = load_picture(dir, "spark.png");
    const auto island = load_picture(dir, "island.png");
    const auto font = read_file(dir + "/tarnfont.bin");
    if (!wing || !spark || !island || !font || font->size() != 1536) {
        std::fprintf(stderr, "missing or malformed assets in %s\n", dir.c_str());
        return 1;
    }
    const int font_top = kMargin * 2 + 512;
    RgbImage sheet(kMargin * 4 + 256 * 2 + 512, font_top + 3 * 52 + 48 + kMargin, kSky);
    paste_masked(sheet, *wing, {255, 0, 255}, kMargin, kMargin);
    paste_masked(sheet, *spark, {0, 0, 0}, kMargin * 2 + 256, kMargin);
    paste_shrunk(sheet, *wing, {255, 0, 255}, 4, kMargin, kMargin * 2 + 256);
    paste_shrunk(sheet, *wing, {255, 0, 255}, 8, kMargin * 2 + 64, kMargin * 2 + 256);
    paste_masked(sheet, *island, {255, 255, 255}, kMargin * 3 + 512, kMargin);
    for (int g = 0; g < 96; ++g)
        draw_glyph(sheet, *font, 32 + g, kMargin + (g % 32) * 32, font_top + (g / 32) * 52, 3);
    const std::string sample = "Vantrel v.0.3: The quick brown fox jumps over the lazy dog.";
    for (size_t i = 0; i < sample.size(); ++i)
        draw_glyph(sheet, *font, sample[i], kMargin + static_cast<int>(i) * 16, font_top + 3 * 52 + 8, 2);
    if (!write_file(argv[2], encode_png_rgb(sheet))) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
