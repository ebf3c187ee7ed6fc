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

} // namespace

struct OggEncoder::State {
    int channels = 0;
    vorbis_info info;
    vorbis_comment comment;
    vorbis_dsp_state dsp;
    vorbis_block block;
    ogg_stream_state stream;
    std::vector<uint8_t>* out = nullptr;
    bool finished = false;

    // Feeds the analysis blocks to the stream and drains its pages.
    void drain()
    {
        ogg_packet packet;
        ogg_page page;
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page))
                    append_page(page, *out);
            }
        }
    }
};

OggEncoder::OggEncoder(int channels, long hertz, float quality, std::vector<uint8_t>& out)
    : state_(std::make_unique<State>())
{
    static int serial = 1000;
    State& s = *state_;
    s.channels = channels;
    s.out = &out;
    vorbis_info_init(&s.info);
    if (vorbis_encode_init_vbr(&s.info, channels, hertz, quality) != 0)
        std::abort();
    vorbis_comment_init(&s.comment);
    vorbis_analysis_init(&s.dsp, &s.info);
    vorbis_block_init(&s.dsp, &s.block);
    ogg_stream_init(&s.stream, ++serial);
    ogg_packet header, comments, codebooks;
    vorbis_analysis_headerout(&s.dsp, &s.comment, &header, &comments, &codebooks);
    ogg_stream_packetin(&s.stream, &header);
    ogg_stream_packetin(&s.stream, &comments);
    ogg_stream_packetin(&s.stream, &codebooks);
    ogg_page page;
    while (ogg_stream_flush(&s.stream, &page))
        append_page(page, out);
}

OggEncoder::~OggEncoder()
{
    finish();
    State& s = *state_;
    ogg_stream_clear(&s.stream);
    vorbis_block_clear(&s.block);
    vorbis_dsp_clear(&s.dsp);
    vorbis_comment_clear(&s.comment);
    vorbis_info_clear(&s.info);
}

void OggEncoder::write(const int16_t* frames, size_t count)
{
    State& s = *state_;
    const auto channels = static_cast<size_t>(s.channels);
    for (size_t at = 0; at < count;) {
        const size_t n = std::min<size_t>(1024, count - at);
        float** buffer = vorbis_analysis_buffer(&s.dsp, static_cast<int>(n));
        for (size_t i = 0; i < n; ++i)
            for (size_t c = 0; c < channels; ++c)
                buffer[c][i] = frames[(at + i) * channels + c] / 32768.0f;
        vorbis_analysis_wrote(&s.dsp, static_cast<int>(n));
        s.drain();
        at += n;
    }
}

void OggEncoder::finish()
{
    State& s = *state_;
    if (s.finished)
        return;
    s.finished = true;
    vorbis_analysis_wrote(&s.dsp, 0); // end of stream
    s.drain();
    ogg_page page;
    while (ogg_stream_flush(&s.stream, &page))
        append_page(page, *s.out);
}

std::vector<uint8_t> encode_ogg(const std::vector<int16_t>& frames, int channels, long hertz,
                                float quality)
{
    std::vector<uint8_t> out;
    OggEncoder encoder(channels, hertz, quality, out);
    encoder.write(frames.data(), frames.size() / static_cast<size_t>(channels));
    encoder.finish();
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

std::vector<uint8_t> ogg_tone(int32_t frames, int channels, long hertz, double tone)
{
    return encode_ogg(sine_frames(frames, channels, hertz, tone), channels, hertz);
}

} // namespace vantrel::test
