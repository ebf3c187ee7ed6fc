// Putting an encoded PNG at a location. A file path gets the whole file or
// nothing: the bytes go to a fresh name in the target's folder, and only a
// complete, flushed file is renamed over the target.
#include "assets/png_save.h"

#include "assets/file_stream.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace vantrel {

namespace fs = std::filesystem;

namespace {

fs::path utf8_path(const std::string& text)
{
    return fs::path(std::u8string(text.begin(), text.end()));
}

// A name beside the target that no other save in this or another process
// picks at the same moment.
fs::path temporary_beside(const fs::path& target)
{
    static std::atomic<uint32_t> counter{0};
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    std::string suffix(1, '.');
    suffix.append(std::to_string(ticks)).append(1, '-').append(std::to_string(counter++));
    suffix.append(".part");
    fs::path name = target;
    name += suffix;
    return name;
}

bool write_whole_file(const fs::path& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file)
        return false;
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    file.close();
    return !file.fail();
}

bool save_to_file(const std::string& native, const std::vector<uint8_t>& bytes)
{
    if (native.empty())
        return false;
    const fs::path target = utf8_path(native);
    std::error_code error;
    if (fs::is_directory(target, error))
        return false;
    const fs::path temporary = temporary_beside(target);
    if (write_whole_file(temporary, bytes)) {
        fs::rename(temporary, target, error);
        if (!error)
            return true;
    }
    fs::remove(temporary, error);
    return false;
}

bool save_to_stream(const Ref<TObject>& location, const std::vector<uint8_t>& bytes)
{
    try {
        const Ref<TByteStream> stream = open_stream(location, 0, 1);
        if (!stream)
            return false;
        const auto size = static_cast<int32_t>(bytes.size());
        const bool whole = stream->write_bytes(bytes.data(), size) == size;
        stream->close();
        return whole;
    } catch (const TStreamError&) {
        return false;
    }
}

} // namespace

bool save_pixmap_png(const Ref<TPixmap>& pixmap, const Ref<TObject>& location)
{
    if (!pixmap)
        return false;
    const std::vector<uint8_t> bytes = encode_pixmap_png(*pixmap);
    if (bytes.empty() || bytes.size() > INT32_MAX)
        return false;
    if (!ref_cast<TByteStream>(location)) {
        const Text text = text_of(location);
        if (!text.empty() && text.view().find(u"::") == std::u16string_view::npos)
            return save_to_file(native_file_path(text), bytes);
    }
    return save_to_stream(location, bytes);
}

bool save_pixmap_png(const Ref<TPixmap>& pixmap, const Text& location)
{
    return save_pixmap_png(pixmap, Ref<TObject>(location.object()));
}

} // namespace vantrel
