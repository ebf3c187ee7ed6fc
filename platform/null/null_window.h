// A window nobody sees: a caption, a client size and a count of the frames
// presented in it. The null display driver (gfx/null) draws "into" these;
// the null platform answers window_client_size for them while they are open.
#pragma once

#include "core/object.h"

#include <cstdint>
#include <string>

namespace vantrel::platform {

class NullWindow final : public TObject {
public:
    NullWindow(uint32_t window_id, std::string window_caption, int32_t client_width,
               int32_t client_height);
    ~NullWindow() override { close(); }

    uint32_t id() const { return id_; }
    void present() { ++presents; }
    // Forgets the window; a second close does nothing.
    void close();
    bool closed() const { return closed_; }

    std::string caption; // UTF-8
    int32_t width = 0, height = 0;
    int32_t presents = 0; // frames shown so far

private:
    uint32_t id_ = 0;
    bool closed_ = false;
};

// A new open window; ids count up from 1 and are never reused.
Ref<NullWindow> create_null_window(std::string caption, int32_t width, int32_t height);
// The open window with that id, null when there is none.
Ref<NullWindow> find_null_window(uint32_t id);

} // namespace vantrel::platform
