#pragma once
// Draws one element look (styledata.h) into a premultiplied ARGB32 pixel buffer with cairo:
// anti-aliased rounded shapes, gradients, borders on chosen sides, nine-slice pictures and
// the glyphs (check marks, arrows, chevrons, grips). The buffer is drawn over, not cleared.
#include <cstdint>
#include <vector>

#include "platform/themes/styledata.h"

// `pixels` holds `height` rows of `stride` pixels; the look fills (0, 0, width, height).
void RenderElementLook(const TElementLook& look, const std::vector<TStylePicture>& pictures,
                       uint32_t* pixels, int width, int height, int stride);
