// Maps asset names to their generators.
#include "generate_all.h"

#include "common/byte_io.h"
#include "common/png_file.h"
#include "common/wav_file.h"
#include "font/glyphs.h"
#include "music/music.h"
#include "pictures/pictures.h"

#include <stdexcept>

namespace vantrel::assetgen {

const std::vector<std::string>& asset_names()
{
    static const std::vector<std::string> names{
        "sound1.wav", "sound2.wav", "sound3.wav", "sound4.wav", "sound5.wav",  "sound6.wav",
        "sound7.wav", "sound8.wav", "wing2.png",  "spark.png",  "island.png", "tarnfont.bin"};
    return names;
}

const std::vector<int>& icon_sizes()
{
    static const std::vector<int> sizes{16, 24, 32, 48, 64, 128, 256};
    return sizes;
}

std::string icon_name(int size)
{
    return "vantrel-" + std::to_string(size) + ".png";
}

const std::vector<std::string>& icon_names()
{
    static const std::vector<std::string> names = [] {
        std::vector<std::string> list;
        for (int size : icon_sizes())
            list.push_back(icon_name(size));
        list.push_back(WINDOWS_ICON_NAME);
        return list;
    }();
    return names;
}

// A Windows icon file holding every size as PNG, which Windows reads since
// Vista: a directory of entries, then the images. 256 is written as 0.
Bytes encode_windows_icon()
{
    std::vector<Bytes> images;
    for (int size : icon_sizes())
        images.push_back(encode_png_rgba(make_icon(size)));
    Bytes out;
    put_u16le(out, 0);
    put_u16le(out, 1); // an icon, not a cursor
    put_u16le(out, static_cast<uint32_t>(images.size()));
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        const int size = icon_sizes()[i];
        out.push_back(static_cast<uint8_t>(size >= 256 ? 0 : size));
        out.push_back(static_cast<uint8_t>(size >= 256 ? 0 : size));
        out.push_back(0); // no palette
        out.push_back(0);
        put_u16le(out, 1);  // colour planes
        put_u16le(out, 32); // bits per pixel
        put_u32le(out, static_cast<uint32_t>(images[i].size()));
        put_u32le(out, offset);
        offset += static_cast<uint32_t>(images[i].size());
    }
    for (const Bytes& image : images)
        out.insert(out.end(), image.begin(), image.end());
    return out;
}

Bytes generate_asset(const std::string& name)
{
    if (name == WINDOWS_ICON_NAME)
        return encode_windows_icon();
    for (int size : icon_sizes())
        if (name == icon_name(size))
            return encode_png_rgba(make_icon(size));
    if (name.size() == 10 && name.starts_with("sound") && name.ends_with(".wav") && name[5] >= '1' && name[5] <= '8') {
        const int number = name[5] - '0';
        return encode_wav(render_music_loop(number), music_loop_title(number));
    }
    if (name == "wing2.png")
        return encode_png_rgb(make_feather());
    if (name == "spark.png")
        return encode_png_rgb(make_spark());
    if (name == "island.png")
        return encode_png_rgb(make_island());
    if (name == "tarnfont.bin")
        return pack_font(glyph_art());
    throw std::invalid_argument("unknown asset: " + name);
}

}  // namespace vantrel::assetgen
