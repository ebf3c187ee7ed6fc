// A program built against the installed engine's optional loaders: it reads
// the JPEG and the Ogg Vorbis file it is given and prints what they hold, or
// says which it could not read.
#include <assets/jpeg.h>
#include <assets/pixmap.h>
#include <assets/pixmap_loader.h>
#include <assets/stream.h>
#include <audio/ogg.h>
#include <audio/sample_buffer.h>
#include <audio/sample_loader.h>
#include <core/text.h>

#include <cstdio>

using namespace vantrel;

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    streams_init();
    pixmap_loaders_init();
    jpeg_loader_init();
    sample_loaders_init();
    ogg_loader_init();
    Ref<TPixmap> pixmap = decode_pixmap(Text::from_bytes(argv[1]));
    Ref<TSampleBuffer> sound = load_sample_buffer(Text::from_bytes(argv[2]));
    if (!pixmap || !sound) {
        std::printf("%s not read\n", !pixmap ? "jpeg" : "ogg");
        return 1;
    }
    std::printf("jpeg %dx%d, ogg %d Hz\n", pixmap->width, pixmap->height, sound->hertz);
    return 0;
}
