// An open libvorbisfile decoder over an OggInput, and what both Ogg Vorbis
// readers (the loader and the streamed one) ask of it.
#pragma once

#include "audio/ogg/ogg_input.h"

#include <vorbis/vorbisfile.h>

#include <cstdint>
#include <memory>

namespace vantrel::ogg_detail {

// Cleared on every path.
class VorbisFile {
public:
    explicit VorbisFile(OggInput& input);
    ~VorbisFile();
    VorbisFile(const VorbisFile&) = delete;
    VorbisFile& operator=(const VorbisFile&) = delete;

    bool open() const noexcept { return open_; }
    OggVorbis_File* get() const noexcept { return file_.get(); }

private:
    std::unique_ptr<OggVorbis_File> file_ = std::make_unique<OggVorbis_File>();
    bool open_ = false;
};

struct PcmShape {
    int channels = 0;
    long rate = 0;
    bool operator==(const PcmShape&) const = default;
};

PcmShape shape_of(OggVorbis_File* file, int link);

// SAMPLE_MONO16_LE or SAMPLE_STEREO16_LE; SAMPLE_NONE for any other shape.
int32_t format_of(const PcmShape& shape);

// Whether the stream starts with a page's capture pattern; moves the stream on.
bool has_ogg_signature(TByteStream& stream);

// Opening a chained stream leaves libvorbisfile at its second link; a seek
// back to the start brings the first one back.
bool rewind(OggVorbis_File* file);

} // namespace vantrel::ogg_detail
