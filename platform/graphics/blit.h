#pragma once
// Scaled copies and alpha blending between device contexts, through pixman.
#include "platform/graphics/dc.h"

// Copies the source block (sx, sy, sw, sh) onto (x, y, w, h), scaling as needed; a negative
// width or height on one side mirrors. COLORONCOLOR, BLACKONWHITE and WHITEONBLACK sample the
// nearest pixel; HALFTONE filters (bilinear when enlarging, box average when shrinking).
// Pixels beyond the source edge repeat the edge.
bool StretchBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, uint32_t rop);

constexpr uint8_t AC_SRC_OVER = 0x00;
constexpr uint8_t AC_SRC_ALPHA = 0x01;
struct BLENDFUNCTION {
  uint8_t BlendOp = AC_SRC_OVER;
  uint8_t BlendFlags = 0;
  uint8_t SourceConstantAlpha = 255;
  uint8_t AlphaFormat = 0;  // AC_SRC_ALPHA: the source has premultiplied per-pixel alpha
};

// Source over: with s the source pixel (alpha taken as 255 without AC_SRC_ALPHA) and
// m = SourceConstantAlpha, each channel (alpha included) becomes
//   s' = s * m / 255,   d = s' + d * (255 - s'.alpha) / 255,
// every division rounded to the nearest integer. The source block must lie inside the source
// surface and both sizes must be positive; otherwise nothing is drawn and false is returned.
// Different sizes stretch (nearest pixel; HALFTONE stretch mode filters).
bool AlphaBlend(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, BLENDFUNCTION blend);

// Copies the source block, leaving out the pixels of one colour (alpha ignored in the test).
bool TransparentBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                    COLORREF transparent);
