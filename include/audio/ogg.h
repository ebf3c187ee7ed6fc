// The Ogg Vorbis loader and streamed reader. They are a library of their own,
// vantrel_vorbis (Vantrel::vorbis in the CMake package, vantrel-vorbis for
// pkg-config), so that only the programs that play Ogg files need
// libvorbisfile.
#pragma once

namespace vantrel {

// Lets load_sample_buffer, load_sound and open_music read Ogg Vorbis; later
// calls do nothing. The loader goes to the tail of the sample loaders, so it
// is asked only when every WAV reader has refused the data, whether this is
// called before or after sample_loaders_init. Call it at start-up, before
// any music plays.
void ogg_loader_init();

} // namespace vantrel
