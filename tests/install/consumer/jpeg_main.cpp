// A program built against the installed engine's JPEG component: it reads
// the JPEG file it is given and prints its size, or says it could not.
#include <assets/jpeg.h>
#include <assets/pixmap.h>
#include <assets/pixmap_loader.h>
#include <assets/stream.h>
#include <core/text.h>

#include <cstdio>

using namespace vantrel;

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    streams_init();
    pixmap_loaders_init();
    jpeg_loader_init();
    Ref<TPixmap> pixmap = decode_pixmap(Text::from_bytes(argv[1]));
    if (!pixmap) {
        std::printf("not decoded\n");
        return 1;
    }
    std::printf("jpeg %dx%d\n", pixmap->width, pixmap->height);
    return 0;
}
