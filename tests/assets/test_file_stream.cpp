// File streams opened through open_stream: modes, positions, separators,
// and the files that must not open.
#include "assets/file_stream.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace vantrel {
namespace {

class FileStream : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = ::testing::TempDir() + "vantrel_fs_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string path(const std::string& name) const { return dir_ + "/" + name; }
    Text text(const std::string& name) const { return Text::from_bytes(path(name)); }
    void put(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(path(name), std::ios::binary) << bytes;
    }
    std::string get(const std::string& name) const
    {
        std::ifstream in(path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::string dir_;
};

TEST_F(FileStream, ReadsAFile)
{
    put("a.bin", std::string("\x01\x02\x03\x04hello\r\nrest", 15));
    auto s = read_stream(text("a.bin"));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->size(), 15);
    EXPECT_EQ(s->read_int(), 0x04030201);
    EXPECT_EQ(s->read_line(), Text(u"hello"));
    EXPECT_EQ(s->pos(), 11);
    EXPECT_EQ(s->read_string(10), Text(u"rest"));
    EXPECT_EQ(s->eof(), 1);
    EXPECT_EQ(s->read_int(), 0);
}

TEST_F(FileStream, SeekClampsAndReadOnlyRefusesWrites)
{
    put("b.bin", "abcdef");
    auto s = read_stream(text("b.bin"));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->seek(-5), 0);
    EXPECT_EQ(s->seek(6 + 10), 6);
    EXPECT_EQ(s->eof(), 1);
    EXPECT_EQ(s->seek(2), 2);
    EXPECT_EQ(s->read_byte(), 'c');
    EXPECT_THROW(s->write_byte(1), TStreamWriteError);
}

TEST_F(FileStream, WriteOnlyCreatesAndTruncates)
{
    put("c.bin", "old contents");
    auto s = write_stream(text("c.bin"));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->size(), 0);
    s->write_int(0x64636261);
    s->write_line(Text(u"x"));
    EXPECT_EQ(s->size(), 7);
    s->seek(0);
    EXPECT_THROW(s->read_byte(), TStreamReadError);
    s->close();
    EXPECT_EQ(get("c.bin"), "abcdx\r\n");
}

TEST_F(FileStream, ReadWriteSwitchesDirectionSafely)
{
    put("d.bin", "0123456789");
    auto s = open_stream(text("d.bin"), 1, 1);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->read_byte(), '0');
    s->write_byte('X');
    EXPECT_EQ(s->read_byte(), '2');
    s->seek(10);
    s->write_short(0x4241);
    EXPECT_EQ(s->size(), 12);
    s->seek(0);
    EXPECT_EQ(s->read_string(12), Text(u"0X23456789AB"));
    s.reset(); // destruction closes the file
    EXPECT_EQ(get("d.bin"), "0X23456789AB");
}

TEST_F(FileStream, BackslashesBecomeSlashes)
{
    std::filesystem::create_directories(path("sub"));
    put("sub/e.bin", "E");
    auto s = read_stream(Text::from_bytes(dir_ + "\\sub\\e.bin"));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->read_byte(), 'E');
}

TEST_F(FileStream, NonAsciiNamesAreUtf8)
{
    put("\xC3\xA9t\xC3\xA9.bin", "U");
    auto s = read_stream(Text::from_bytes(dir_ + "/") + Text(u"\u00E9t\u00E9.bin"));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->read_byte(), 'U');
}

TEST_F(FileStream, WhatDoesNotOpen)
{
    put("f.bin", "F");
    EXPECT_TRUE(read_stream(text("missing.bin")).is_null());
    EXPECT_TRUE(read_stream(Text::from_bytes(dir_)).is_null()); // a directory
    EXPECT_TRUE(open_stream(text("f.bin"), 0, 0).is_null());
    EXPECT_TRUE(read_stream(text("f.bin") + Text(std::u16string(1, u'\0')) + Text(u"x")).is_null());
    EXPECT_TRUE(write_stream(text("no/such/dir/g.bin")).is_null());
}

TEST_F(FileStream, RefusesFilesBeyond32BitPositions)
{
    {
        std::FILE* f = std::fopen(path("huge.bin").c_str(), "wb");
        ASSERT_NE(f, nullptr);
        const bool sized = ::ftruncate(fileno(f), 3LL << 30) == 0; // sparse where supported
        std::fclose(f);
        if (!sized)
            GTEST_SKIP() << "no sparse files here";
    }
    EXPECT_TRUE(read_stream(text("huge.bin")).is_null());
}

TEST_F(FileStream, ClosedStreamReadsAndWritesNothing)
{
    put("h.bin", "hh");
    auto s = open_stream(text("h.bin"), 1, 1);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->close(), 0);
    EXPECT_EQ(s->close(), 0);
    EXPECT_EQ(s->pos(), -1);
    uint8_t b[2];
    EXPECT_EQ(s->read(b, 2), 0);
    EXPECT_EQ(s->write(b, 2), 0);
    EXPECT_THROW(s->read_byte(), TStreamReadError);
}

} // namespace
} // namespace vantrel
