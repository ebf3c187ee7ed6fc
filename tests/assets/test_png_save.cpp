// PNG saving: every pixel format comes back through the PNG loader with the
// same pixels, and a save that fails leaves the target as it was.
#include "assets/png_loader.h"
#include "assets/png_save.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace vantrel {
namespace {

namespace fs = std::filesystem;

// A fresh folder per test, removed afterwards.
class PngSave : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() /
               ("vantrel-png-save-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) +
                "-" + info->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    Text path(const std::string& name) const { return Text::from_bytes((dir_ / name).string()); }
    size_t files_in_dir() const
    {
        return static_cast<size_t>(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
    }

    fs::path dir_;
};

// Bytes that differ in every channel and row; rows are padded (align 4,
// odd width) so a pitch error shows.
Ref<TPixmap> sample_pixmap(int32_t format, int32_t w = 13, int32_t h = 7)
{
    Ref<TPixmap> p = new_pixmap(w, h, format, 4);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t i = 0; i < w * pixel_bytes(format); ++i)
            p->pixel_ptr(0, y)[i] = static_cast<uint8_t>(i * 29 + y * 71 + format);
    return p;
}

int32_t loaded_format(int32_t format)
{
    switch (format) {
    case FORMAT_GRAY8: return FORMAT_GRAY8;
    case FORMAT_BGR24:
    case FORMAT_RGB24: return FORMAT_RGB24;
    default: return FORMAT_RGBA32;
    }
}

void expect_same_pixels(const Ref<TPixmap>& saved, const Ref<TPixmap>& loaded)
{
    ASSERT_TRUE(loaded);
    ASSERT_EQ(loaded->width, saved->width);
    ASSERT_EQ(loaded->height, saved->height);
    EXPECT_EQ(loaded->format, loaded_format(saved->format));
    for (int32_t y = 0; y < saved->height; ++y)
        for (int32_t x = 0; x < saved->width; ++x)
            ASSERT_EQ(loaded->get_pixel(x, y), saved->get_pixel(x, y)) << x << "," << y;
}

TEST_F(PngSave, EveryFormatRoundTripsThroughTheLoader)
{
    for (int32_t format = FORMAT_GRAY8; format < FORMAT_COUNT; ++format) {
        SCOPED_TRACE(format);
        const Ref<TPixmap> pixmap = sample_pixmap(format);
        const Text target = path("format" + std::to_string(format) + ".png");
        ASSERT_TRUE(save_pixmap_png(pixmap, target));
        expect_same_pixels(pixmap, load_png_pixmap(Ref<TObject>(target.object())));
    }
    EXPECT_EQ(files_in_dir(), 6u); // no temporary file left behind
}

TEST_F(PngSave, WindowsAndStreamsAreWritten)
{
    const Ref<TPixmap> whole = sample_pixmap(FORMAT_BGRA32, 20, 9);
    const Ref<TPixmap> window = whole->window(3, 2, 11, 5); // pitch wider than the row
    ASSERT_TRUE(save_pixmap_png(window, path("window.png")));
    expect_same_pixels(window, load_png_pixmap(Ref<TObject>(path("window.png").object())));

    std::vector<uint8_t> memory(4096);
    auto stream = create_memory_stream(memory.data(), static_cast<int32_t>(memory.size()), 1, 1);
    ASSERT_TRUE(save_pixmap_png(window, Ref<TObject>(stream)));
    EXPECT_EQ(encode_pixmap_png(*window), std::vector<uint8_t>(memory.begin(), memory.begin() + stream->pos()));
    stream->seek(0);
    expect_same_pixels(window, load_png_pixmap(Ref<TObject>(stream)));

    uint8_t tiny[16];
    auto full = create_memory_stream(tiny, sizeof tiny, 0, 1);
    EXPECT_FALSE(save_pixmap_png(window, Ref<TObject>(full))); // runs out of room
}

TEST_F(PngSave, AnExistingFileIsReplacedWhole)
{
    const Text target = path("picture.png");
    {
        std::ofstream old(dir_ / "picture.png", std::ios::binary);
        old << std::string(100000, 'x'); // longer than the new file
    }
    const Ref<TPixmap> pixmap = sample_pixmap(FORMAT_RGB24);
    ASSERT_TRUE(save_pixmap_png(pixmap, target));
    EXPECT_EQ(fs::file_size(dir_ / "picture.png"), encode_pixmap_png(*pixmap).size());
    expect_same_pixels(pixmap, load_png_pixmap(Ref<TObject>(target.object())));
    EXPECT_EQ(files_in_dir(), 1u);
}

TEST_F(PngSave, FailuresLeaveTheTargetAsItWas)
{
    const Ref<TPixmap> pixmap = sample_pixmap(FORMAT_RGBA32);
    EXPECT_FALSE(save_pixmap_png(pixmap, path("missing/folder/picture.png")));
    EXPECT_FALSE(fs::exists(dir_ / "missing"));

    fs::create_directory(dir_ / "taken.png");
    EXPECT_FALSE(save_pixmap_png(pixmap, path("taken.png"))); // a folder sits there
    EXPECT_TRUE(fs::is_directory(dir_ / "taken.png"));

    {
        std::ofstream old(dir_ / "old.png", std::ios::binary);
        old << "old";
    }
    EXPECT_FALSE(save_pixmap_png(Ref<TPixmap>(), path("old.png")));
    EXPECT_FALSE(save_pixmap_png(new_pixmap(0, 5, FORMAT_RGB24, 4), path("old.png")));
    EXPECT_FALSE(save_pixmap_png(new_pixmap(4, 4, FORMAT_NONE, 4), path("old.png")));
    EXPECT_EQ(fs::file_size(dir_ / "old.png"), 3u);
    EXPECT_FALSE(save_pixmap_png(pixmap, Text(u"")));
    EXPECT_FALSE(save_pixmap_png(pixmap, Text(std::u16string_view(u"a\0b", 3))));
    EXPECT_EQ(files_in_dir(), 2u); // the folder and old.png, no temporary files
}

} // namespace
} // namespace vantrel
