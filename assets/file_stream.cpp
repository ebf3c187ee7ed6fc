// TFileStream over stdio. The stream keeps its own position and size, so the
// 32-bit limits are checked before the C library is asked for anything.
#include "assets/file_stream.h"

#include <algorithm>
#include <limits>
#include <string>
#include <sys/stat.h>

namespace vantrel {

namespace {

constexpr int32_t MAX_POS = std::numeric_limits<int32_t>::max();

void append_utf8(std::string& out, uint32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
        return;
    }
    if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
    } else {
        if (c < 0x10000) {
            out += static_cast<char>(0xE0 | c >> 12);
        } else {
            out += static_cast<char>(0xF0 | c >> 18);
            out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        }
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    }
    out += static_cast<char>(0x80 | (c & 0x3F));
}

// The path in the file system's encoding, with backslashes turned into
// slashes. Unpaired surrogates become U+FFFD. A NUL would silently cut the
// path short, so such a path gives the empty string.
std::string native_path(const Text& path)
{
    const std::u16string_view units = path.view();
    std::string out;
    for (size_t i = 0; i < units.size(); ++i) {
        uint32_t c = units[i];
        if (c == 0)
            return {};
        if (c == u'\\')
            c = '/';
        const bool high = c >= 0xD800 && c < 0xDC00;
        if (high && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
        else if (c >= 0xD800 && c < 0xE000)
            c = 0xFFFD;
        append_utf8(out, c);
    }
    return out;
}

const char* open_mode(int readable, int writeable)
{
    if (readable && writeable)
        return "r+b";
    if (readable)
        return "rb";
    return writeable ? "wb" : nullptr;
}

} // namespace

std::string native_file_path(const Text& path) { return native_path(path); }

Ref<TByteStream> TFileStream::open(const Text& path, int readable, int writeable)
{
    const std::string name = native_path(path);
    const char* mode = open_mode(readable, writeable);
    if (name.empty() || mode == nullptr)
        return {};
    std::FILE* file = std::fopen(name.c_str(), mode);
    if (file == nullptr)
        return {};
    struct stat info {};
    if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > MAX_POS) {
        std::fclose(file);
        return {};
    }
    return make_ref<TFileStream>(file, static_cast<int32_t>(info.st_size), readable != 0, writeable != 0);
}

TFileStream::TFileStream(std::FILE* file, int32_t size, bool readable, bool writeable)
    : file_(file), size_(size), readable_(readable), writeable_(writeable)
{
}

bool TFileStream::switch_to(LastOp op)
{
    if (last_ != LastOp::none && last_ != op && fseeko(file_, pos_, SEEK_SET) != 0)
        return false;
    last_ = op;
    return true;
}

int32_t TFileStream::seek(int32_t pos)
{
    if (file_ == nullptr)
        return -1;
    const int32_t to = std::clamp(pos, 0, size_);
    if (fseeko(file_, to, SEEK_SET) != 0)
        return pos_;
    pos_ = to;
    last_ = LastOp::none;
    return pos_;
}

int32_t TFileStream::flush() { return file_ && std::fflush(file_) != 0 ? -1 : 0; }

int32_t TFileStream::close()
{
    if (file_ == nullptr)
        return 0;
    const int status = std::fclose(file_);
    file_ = nullptr;
    return status == 0 ? 0 : -1;
}

int32_t TFileStream::read(void* buffer, int32_t count)
{
    if (file_ == nullptr || !readable_ || count <= 0 || !switch_to(LastOp::read))
        return 0;
    const size_t n = std::fread(buffer, 1, static_cast<size_t>(std::min(count, MAX_POS - pos_)), file_);
    pos_ += static_cast<int32_t>(n);
    size_ = std::max(size_, pos_); // the file may have grown behind our back
    return static_cast<int32_t>(n);
}

int32_t TFileStream::write(const void* buffer, int32_t count)
{
    if (file_ == nullptr || !writeable_ || count <= 0 || !switch_to(LastOp::write))
        return 0;
    const size_t n = std::fwrite(buffer, 1, static_cast<size_t>(std::min(count, MAX_POS - pos_)), file_);
    pos_ += static_cast<int32_t>(n);
    size_ = std::max(size_, pos_);
    return static_cast<int32_t>(n);
}

} // namespace vantrel
