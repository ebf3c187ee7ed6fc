#include "support/ttf_writer.h"

#include <algorithm>
#include <array>
#include <map>
#include <string>

namespace vantrel::test {
namespace {

class Bytes {
public:
    void u16(uint32_t v) { out.push_back(uint8_t(v >> 8)), out.push_back(uint8_t(v)); }
    void u32(uint32_t v) { u16(v >> 16), u16(v & 0xFFFF); }
    void i16(int32_t v) { u16(static_cast<uint16_t>(v)); }
    void zeros(size_t n) { out.insert(out.end(), n, 0); }
    std::vector<uint8_t> out;
};

struct Box {
    int16_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

Box box_of(const TtfGlyph& g)
{
    Box b{32767, 32767, -32768, -32768};
    for (const auto& contour : g.contours)
        for (TtfPoint p : contour) {
            b.x0 = std::min(b.x0, p.x), b.y0 = std::min(b.y0, p.y);
            b.x1 = std::max(b.x1, p.x), b.y1 = std::max(b.y1, p.y);
        }
    return g.contours.empty() ? Box{} : b;
}

std::vector<uint8_t> glyph_data(const TtfGlyph& g)
{
    Bytes b;
    if (g.contours.empty())
        return {};
    const Box box = box_of(g);
    b.i16(static_cast<int16_t>(g.contours.size()));
    b.i16(box.x0), b.i16(box.y0), b.i16(box.x1), b.i16(box.y1);
    int end = -1;
    for (const auto& contour : g.contours)
        b.u16(static_cast<uint16_t>(end += static_cast<int>(contour.size())));
    b.u16(0); // no instructions
    for (const auto& contour : g.contours)
        for (size_t i = 0; i < contour.size(); ++i)
            b.out.push_back(1); // on the curve, 16-bit deltas
    TtfPoint at{0, 0};
    for (const auto& contour : g.contours)
        for (TtfPoint p : contour)
            b.i16(p.x - at.x), at.x = p.x;
    at = {0, 0};
    for (const auto& contour : g.contours)
        for (TtfPoint p : contour)
            b.i16(p.y - at.y), at.y = p.y;
    if (b.out.size() % 2)
        b.out.push_back(0);
    return b.out;
}

std::vector<uint8_t> cmap(const std::vector<TtfGlyph>& glyphs)
{
    std::map<char16_t, uint16_t> map;
    for (size_t i = 0; i < glyphs.size(); ++i)
        if (glyphs[i].code)
            map[glyphs[i].code] = static_cast<uint16_t>(i);
    const auto segments = static_cast<uint16_t>(map.size() + 1);
    Bytes b;
    b.u16(0), b.u16(1), b.u16(3), b.u16(1), b.u32(12);
    b.u16(4), b.u16(16 + 8u * segments), b.u16(0), b.u16(2u * segments);
    uint16_t power = 1, log = 0;
    while (power * 2 <= segments)
        power *= 2, ++log;
    b.u16(2u * power), b.u16(log), b.u16(2u * segments - 2u * power);
    for (auto [code, index] : map)
        b.u16(code);
    b.u16(0xFFFF), b.u16(0);
    for (auto [code, index] : map)
        b.u16(code);
    b.u16(0xFFFF);
    for (auto [code, index] : map)
        b.u16(static_cast<uint16_t>(index - code));
    b.u16(1);
    b.zeros(2u * segments); // idRangeOffset
    return b.out;
}

std::vector<uint8_t> kern(const std::vector<TtfKern>& pairs)
{
    Bytes b;
    b.u16(0), b.u16(1);
    b.u16(0), b.u16(14 + 6u * static_cast<uint32_t>(pairs.size())), b.u16(1);
    b.u16(static_cast<uint16_t>(pairs.size())), b.u16(6), b.u16(0), b.u16(0);
    std::vector<TtfKern> sorted = pairs;
    std::sort(sorted.begin(), sorted.end(), [](const TtfKern& a, const TtfKern& c) {
        return (uint32_t(a.left) << 16 | a.right) < (uint32_t(c.left) << 16 | c.right);
    });
    for (const TtfKern& k : sorted)
        b.u16(k.left), b.u16(k.right), b.i16(k.value);
    return b.out;
}

uint32_t checksum(const std::vector<uint8_t>& data)
{
    uint32_t sum = 0;
    for (size_t i = 0; i < data.size(); i += 4) {
        uint32_t word = 0;
        for (size_t k = 0; k < 4; ++k)
            word = word << 8 | (i + k < data.size() ? data[i + k] : 0);
        sum += word;
    }
    return sum;
}

} // namespace

std::vector<uint8_t> write_ttf(const std::vector<TtfGlyph>& glyphs,
                               const std::vector<TtfKern>& kerning)
{
    const auto count = static_cast<uint16_t>(glyphs.size());
    Bytes glyf, loca, hmtx;
    uint16_t max_points = 0, max_contours = 0, max_advance = 0;
    Box all{};
    for (const TtfGlyph& g : glyphs) {
        loca.u16(static_cast<uint16_t>(glyf.out.size() / 2));
        const auto data = glyph_data(g);
        glyf.out.insert(glyf.out.end(), data.begin(), data.end());
        const Box b = box_of(g);
        hmtx.u16(g.advance), hmtx.i16(b.x0);
        uint16_t points = 0;
        for (const auto& contour : g.contours)
            points = static_cast<uint16_t>(points + contour.size());
        max_points = std::max(max_points, points);
        max_contours = std::max(max_contours, static_cast<uint16_t>(g.contours.size()));
        max_advance = std::max(max_advance, g.advance);
        all.x0 = std::min(all.x0, b.x0), all.y0 = std::min(all.y0, b.y0);
        all.x1 = std::max(all.x1, b.x1), all.y1 = std::max(all.y1, b.y1);
    }
    loca.u16(static_cast<uint16_t>(glyf.out.size() / 2));

    Bytes head;
    head.u32(0x00010000), head.u32(0x00010000), head.u32(0), head.u32(0x5F0F3CF5);
    head.u16(0x000B), head.u16(1000), head.zeros(16);
    head.i16(all.x0), head.i16(all.y0), head.i16(all.x1), head.i16(all.y1);
    head.u16(0), head.u16(8), head.i16(2), head.i16(0), head.i16(0);
    Bytes hhea;
    hhea.u32(0x00010000), hhea.i16(800), hhea.i16(-200), hhea.i16(0), hhea.u16(max_advance);
    hhea.i16(0), hhea.i16(0), hhea.i16(all.x1), hhea.i16(1), hhea.i16(0), hhea.i16(0);
    hhea.zeros(8), hhea.i16(0), hhea.u16(count);
    Bytes maxp;
    maxp.u32(0x00010000), maxp.u16(count), maxp.u16(max_points), maxp.u16(max_contours);
    maxp.u16(0), maxp.u16(0), maxp.u16(2), maxp.zeros(16);

    std::map<std::string, std::vector<uint8_t>> tables{
        {"cmap", cmap(glyphs)}, {"glyf", glyf.out}, {"head", head.out}, {"hhea", hhea.out},
        {"hmtx", hmtx.out},     {"loca", loca.out}, {"maxp", maxp.out}};
    if (!kerning.empty())
        tables["kern"] = kern(kerning);

    Bytes file;
    const auto n = static_cast<uint16_t>(tables.size());
    uint16_t power = 1, log = 0;
    while (power * 2 <= n)
        power *= 2, ++log;
    file.u32(0x00010000), file.u16(n), file.u16(16u * power), file.u16(log);
    file.u16(16u * n - 16u * power);
    uint32_t offset = 12 + 16u * n;
    for (const auto& [tag, data] : tables) {
        for (char c : tag)
            file.out.push_back(static_cast<uint8_t>(c));
        file.u32(checksum(data)), file.u32(offset), file.u32(static_cast<uint32_t>(data.size()));
        offset += (static_cast<uint32_t>(data.size()) + 3) & ~3u;
    }
    for (const auto& [tag, data] : tables) {
        file.out.insert(file.out.end(), data.begin(), data.end());
        file.zeros((4 - data.size() % 4) % 4);
    }
    return file.out;
}

std::vector<uint8_t> sample_ttf()
{
    const std::vector<TtfPoint> outer{{50, 0}, {50, 700}, {450, 700}, {450, 0}};
    const std::vector<TtfPoint> inner{{120, 70}, {380, 70}, {380, 630}, {120, 630}};
    std::vector<TtfGlyph> glyphs{
        {0, 500, {outer, inner}},
        {u'A', 700, {{{0, 0}, {350, 700}, {700, 0}}}},
        {u'V', 700, {{{0, 700}, {700, 700}, {350, 0}}}},
        {u' ', 300, {}},
        {u'I', 300, {{{100, 0}, {100, 700}, {200, 700}, {200, 0}}}},
    };
    return write_ttf(glyphs, {{1, 2, -150}});
}

} // namespace vantrel::test
