// A null image frame: a numbered texture of the picture's own size that the
// null renderer records being made, drawn and deleted. The picture spans the
// whole texture, so its coordinates run from 0 to 1.
#pragma once

#include "gfx/image.h"

#include <cstdint>

namespace vantrel {

class TNullTextureFrame final : public TImageFrame {
public:
    TNullTextureFrame(uint32_t texture_name, int32_t picture_width, int32_t picture_height);
    ~TNullTextureFrame() override;

    void draw(float x0, float y0, float x1, float y1, float tx, float ty) override;

    uint32_t texture = 0;
    int32_t width = 0, height = 0;
};

} // namespace vantrel
