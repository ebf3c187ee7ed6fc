// WAV for streamed playback: the data chunk read and converted a run at a
// time. The whole data chunk must be in the stream when it opens.
#include "assets/loader_input.h"
#include "audio/stream_reader.h"
#include "audio/wav_chunk_format.h"

#include <algorithm>
#include <vector>

namespace vantrel {

using wav_detail::WavFormat;

namespace {

constexpr int32_t RUN_BYTES = 64 * 1024;

class WavStreamReader final : public stream_reader {
public:
    WavStreamReader(Ref<TByteStream> stream, const WavFormat& f, int64_t frames)
        : stream_(std::move(stream)), format_(f), data_start_(stream_->pos()), frames_(frames),
          left_(frames), frame_in_(f.channels * f.bytes_per_sample),
          run_(static_cast<size_t>(RUN_BYTES / frame_in_ * frame_in_))
    {
        format = f.sample_format;
        hertz = f.hertz;
    }

    int32_t read(uint8_t* out, int32_t frames) override
    {
        if (cut_)
            return -1;
        if (left_ == 0)
            return 0;
        const auto want = static_cast<int32_t>(
            std::min<int64_t>({frames, left_, static_cast<int64_t>(run_.size()) / frame_in_}));
        int32_t got = 0;
        try {
            got = read_up_to(*stream_, run_.data(), want * frame_in_) / frame_in_;
        } catch (...) {
            got = 0; // the stream failed under us: what came is all there is
        }
        wav_detail::convert_run(format_, run_.data(), out, got * format_.channels);
        left_ -= got;
        cut_ = got < want;
        return got > 0 ? got : -1;
    }

    bool rewind() override
    {
        try {
            if (stream_->seek(data_start_) != data_start_)
                return false;
        } catch (...) {
            return false;
        }
        left_ = frames_;
        cut_ = false;
        return true;
    }

private:
    Ref<TByteStream> stream_;
    WavFormat format_;
    const int32_t data_start_;
    const int64_t frames_;
    int64_t left_;
    const int32_t frame_in_;
    std::vector<uint8_t> run_;
    bool cut_ = false;
};

} // namespace

std::unique_ptr<stream_reader> open_wav_reader(const Ref<TByteStream>& stream)
{
    const Ref<TByteStream> view = little_endian_view(stream);
    WavFormat format;
    uint32_t size = 0;
    if (!wav_detail::find_data_chunk(*view, format, size) || view->pos() < 0)
        return {};
    const int64_t frames = size / static_cast<uint32_t>(format.channels * format.bytes_per_sample);
    const int64_t left = stream_bytes_left(*view);
    if (frames == 0 || left < 0 || left < int64_t{size})
        return {}; // nothing to play, or cut short
    return std::make_unique<WavStreamReader>(view, format, frames);
}

} // namespace vantrel
