// The Ogg Vorbis test writer: libvorbisenc's variable-bitrate set-up, one
// logical stream, pages flushed as libogg chooses.
#include "ogg_writer.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace vantrel::test {

namespace {

void append_page(const ogg_page& page, std::vector<uint8_t>& out)
{
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

// Feeds the analysis blocks to the stream and drains its pages.
void drain(vorbis_dsp_state& dsp, vorbis_block& block, ogg_stream_state& stream,
           std::vector<uint8_t>& out)
{
    ogg_packet packet;
    ogg_page page;
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
        vorbis_analysis(&block, nullptr);
        vorbis_bitrate_addblock(&block);
        while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
            ogg_stream_packetin(&stream, &packet);
            while (ogg_stream_pageout(&stream, &page))
                append_page(page, out);
        }
    }
}

} // namespace

std::vector<uint8_t> encode_ogg(const std::vector<int16_t>& frames, int channels, long hertz,
                                float quality)
{
    static int serial = 1000;
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, hertz, quality) != 0)
        std::abort();
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, ++serial);

    std::vector<uint8_t> out;
    ogg_packet header, comments, codebooks;
    vorbis_analysis_headerout(&dsp, &comment, &header, &comments, &codebooks);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &comments);
    ogg_stream_packetin(&stream, &codebooks);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page))
        append_page(page, out);

    const size_t total = frames.size() / static_cast<size_t>(channels);
    for (size_t at = 0; at < total;) {
        const size_t n = std::min<size_t>(1024, total - at);
        float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
        for (size_t i = 0; i < n; ++i)
            for (int c = 0; c < channels; ++c)
                buffer[c][i] = frames[(at + i) * static_cast<size_t>(channels) + static_cast<size_t>(c)] / 32768.0f;
        vorbis_analysis_wrote(&dsp, static_cast<int>(n));
        drain(dsp, block, stream, out);
        at += n;
    }
    vorbis_analysis_wrote(&dsp, 0); // end of stream
    drain(dsp, block, stream, out);
    while (ogg_stream_flush(&stream, &page))
        append_page(page, out);

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

std::vector<int16_t> sine_frames(int32_t frames, int channels, long hertz, double tone)
{
    std::vector<int16_t> out;
    out.reserve(static_cast<size_t>(frames) * static_cast<size_t>(channels));
    const double step = 2 * std::numbers::pi * tone / static_cast<double>(hertz);
    for (int32_t i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            out.push_back(static_cast<int16_t>(std::lround(24576 * std::sin(step * i + c * 1.3))));
    return out;
}

} // namespace vantrel::test
