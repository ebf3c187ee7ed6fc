// The shared side of the two Ogg Vorbis readers.
#include "audio/ogg/ogg_file.h"

#include "assets/loader_input.h"
#include "audio/sample_buffer.h"

#include <cstring>

#include <limits>

namespace vantrel::ogg_detail {

VorbisFile::VorbisFile(OggInput& input)
{
    open_ = ov_open_callbacks(&input, file_.get(), nullptr, 0, stream_callbacks()) == 0;
}

VorbisFile::~VorbisFile()
{
    if (open_)
        ov_clear(file_.get());
}

PcmShape shape_of(OggVorbis_File* file, int link)
{
    const vorbis_info* info = ov_info(file, link);
    return info ? PcmShape{info->channels, info->rate} : PcmShape{};
}

int32_t format_of(const PcmShape& shape)
{
    if (shape.rate < 1 || shape.rate > std::numeric_limits<int32_t>::max())
        return SAMPLE_NONE;
    return shape.channels == 1 ? SAMPLE_MONO16_LE
           : shape.channels == 2 ? SAMPLE_STEREO16_LE
                                 : SAMPLE_NONE;
}

bool has_ogg_signature(TByteStream& stream)
{
    char capture[4] = {};
    return read_exactly(stream, capture, 4) && std::memcmp(capture, "OggS", 4) == 0;
}

bool rewind(OggVorbis_File* file)
{
    return ov_seekable(file) == 0 || ov_streams(file) < 2 || ov_raw_seek(file, 0) == 0;
}

} // namespace vantrel::ogg_detail
