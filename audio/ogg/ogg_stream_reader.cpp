// Ogg Vorbis for streamed playback: libvorbisfile decodes into the caller's
// chunk as it is asked. At open the file must be whole (it ends with its
// final page) and every link must have the first one's shape; while it plays,
// a hole, a changed link or fewer frames than the file's end promises mean
// that it was cut short or damaged.
#include "assets/loader_input.h"
#include "audio/ogg/ogg_file.h"
#include "audio/stream_reader.h"


namespace vantrel {

using namespace ogg_detail;

namespace {

class OggStreamReader final : public stream_reader {
public:
    explicit OggStreamReader(Ref<TByteStream> stream) : stream_(std::move(stream))
    {
        input_.stream = stream_.get();
        input_.start = stream_->pos();
        input_.size = stream_bytes_left(*stream_);
    }

    // Checks the whole file and opens the decoder at its first frame.
    bool open()
    {
        if (input_.size < 0 || !ends_with_final_page(input_) || !reopen())
            return false;
        OggVorbis_File* f = file_->get();
        shape_ = shape_of(f, -1);
        format = format_of(shape_);
        hertz = static_cast<int32_t>(shape_.rate);
        for (int link = 0; link < ov_streams(f); ++link)
            if (shape_of(f, link) != shape_)
                return false;
        total_ = ov_pcm_total(f, -1);
        total_frames = total_;
        return format != SAMPLE_NONE && total_ > 0 && !input_.failure;
    }

    int32_t read(uint8_t* out, int32_t frames) override
    {
        if (failed_ || !file_)
            return -1;
        const int32_t frame_bytes = SAMPLE_FRAME_BYTES[format];
        const int32_t wanted = frames * frame_bytes;
        int32_t filled = 0;
        while (filled < wanted) {
            int link = 0;
            const long got = ov_read(file_->get(), reinterpret_cast<char*>(out + filled),
                                     wanted - filled, 0 /* little-endian */, 2, 1, &link);
            if (got == 0)
                break;
            if (got < 0 || input_.failure || shape_of(file_->get(), link) != shape_) {
                failed_ = true;
                break;
            }
            filled += static_cast<int32_t>(got);
        }
        const int32_t done = filled / frame_bytes;
        decoded_ += done;
        if (done > 0)
            return done;
        return failed_ || decoded_ != total_ ? -1 : 0;
    }

    bool rewind() override
    {
        decoded_ = 0;
        failed_ = false;
        return reopen() && !input_.failure;
    }

private:
    bool reopen()
    {
        file_.reset();
        try {
            stream_->seek(input_.start);
        } catch (...) {
            return false;
        }
        file_ = std::make_unique<VorbisFile>(input_);
        if (!file_->open() || !ogg_detail::rewind(file_->get())) {
            file_.reset();
            return false;
        }
        return true;
    }

    Ref<TByteStream> stream_;
    OggInput input_;
    std::unique_ptr<VorbisFile> file_;
    PcmShape shape_;
    int64_t total_ = 0;
    int64_t decoded_ = 0;
    bool failed_ = false;
};

} // namespace

std::unique_ptr<stream_reader> open_ogg_reader(const Ref<TByteStream>& stream)
{
    const int32_t start = stream->pos();
    if (start < 0 || !has_ogg_signature(*stream))
        return {};
    stream->seek(start);
    auto reader = std::make_unique<OggStreamReader>(stream);
    if (!reader->open())
        return {};
    return reader;
}

} // namespace vantrel
