#pragma once
// Routines on 32-bit bitmaps (pixels: alpha 24..31, red 16..23, green 8..15, blue 0..7):
// filling, alpha, blending onto a canvas, quarter turns, flipping and nine-slice drawing.
// A null bitmap or canvas is ignored.
#include <cstdint>

#include "platform/graphics/bitmap.h"

// The alpha byte of every pixel := Alpha (colour channels untouched).
void SetBitmapAlpha(TBitmap* Bitmap, uint8_t Alpha);
// Every pixel := Pixel.
void FillBitmap(TBitmap* Bitmap, uint32_t Pixel);
// SrcRect of the bitmap blended source-over onto DstRect of the canvas with constant alpha
// Alpha and the bitmap's per-pixel alpha (its pixels taken as premultiplied).
void AlphaBlendRect(TBitmap* Bitmap, TCanvas* Canvas, const TRect& SrcRect, const TRect& DstRect, uint8_t Alpha);
// The whole bitmap at (X, Y) in its own size.
void AlphaBlendBitmap(TBitmap* Bitmap, TCanvas* Canvas, int X, int Y, uint8_t Alpha);
// Dst becomes Src turned a quarter counter-clockwise (90) or clockwise (270): Dst is sized
// Height x Width and takes Src's pixel and alpha formats. Src and Dst may be the same bitmap.
void RotateBitmap90(TBitmap* Src, TBitmap* Dst);
void RotateBitmap270(TBitmap* Src, TBitmap* Dst);
// Upside down: row i swaps with row Height-1-i.
void FlipBitmapVert(TBitmap* Bitmap);
// Nine-slice drawing of Bitmap into Rect: the margins cut the bitmap into corners, edges and a
// centre; corners are drawn unscaled at Rect's corners, edges stretched along their side and
// the centre both ways into (Left + LeftMargin, Top + TopMargin, Right - RightMargin,
// Bottom - BottomMargin). Margins that do not fit the bitmap or Rect shrink in proportion
// (negative ones count as 0), so no band is ever drawn inverted. A bitmap with alpha blends.
void DrawSlicedBitmap(int LeftMargin, int TopMargin, int RightMargin, int BottomMargin, TBitmap* Bitmap,
                      TCanvas* Canvas, const TRect& Rect);
