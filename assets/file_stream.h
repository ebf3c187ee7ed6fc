// TFileStream: a seekable stream over a regular file opened with the C
// library. Positions are 32-bit, so files of 2 GiB or more are refused.
#pragma once

#include "assets/stream.h"

#include <cstdio>
#include <string>

namespace vantrel {

// The path as the C library takes it (UTF-8, "/" separated); empty when the
// path holds a NUL.
std::string native_file_path(const Text& path);

class TFileStream final : public TByteStream {
public:
    // Opens path ("/" separated) with "rb" when only readable, "wb" when
    // only writeable, "r+b" when both. The null object when the file does
    // not open, is not a regular file or is too large.
    static Ref<TByteStream> open(const Text& path, int readable, int writeable);

    TFileStream(std::FILE* file, int32_t size, bool readable, bool writeable);
    ~TFileStream() override { close(); }

    // A closed stream has no position and reads and writes nothing.
    int32_t pos() override { return file_ ? pos_ : -1; }
    int32_t size() override { return file_ ? size_ : 0; }
    int32_t seek(int32_t pos) override;
    int32_t flush() override;
    int32_t close() override;
    int32_t read(void* buffer, int32_t count) override;
    int32_t write(const void* buffer, int32_t count) override;

private:
    enum class LastOp { none, read, write };
    // The C library needs a seek between a read and a write on one file.
    bool switch_to(LastOp op);

    std::FILE* file_;
    int32_t pos_ = 0;
    int32_t size_;
    bool readable_;
    bool writeable_;
    LastOp last_ = LastOp::none;
};

} // namespace vantrel
