#pragma once
// Glow: a blurred, coloured halo of a text's or an image's silhouette, laid under it with a
// constant opacity.
//
// A glow bitmap is made by drawing the silhouette in white on opaque black with a margin of the
// glow size on every side, blurring it with that radius (StackBlur) and turning the blurred
// intensity into the alpha of the glow colour (ColorizeBlur): a premultiplied bitmap ready for
// AlphaBlend. Finished glow bitmaps of DrawTextWithGlow and DrawImageWithGlow are kept in a
// bounded cache keyed by everything that decides their pixels, so repainting an unchanged
// caption or glyph costs one blend; the cache changes no pixel.
#include <cstdint>

#include "platform/core/enums.h"

#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/imagelist.h"

// The largest blur radius (and glow size): the glow settings hold sizes in a byte.
constexpr int kvMaxBlurRadius = 255;

// Blurs the red, green and blue bytes of the bitmap's pixels in place with the stack blur of
// the given radius and sets every alpha byte to 255. Nothing happens for a radius of 0 or less
// or an empty bitmap; a radius above kvMaxBlurRadius raises EInvalidArgument.
void StackBlur(TBitmap* Bitmap, int Radius);
// The ways the blur can run, all giving the same pixels: portable integer code, SSE2, and AVX2
// (two lines per register). The best the processor has is used; tests and benchmarks switch
// between them (SetStackBlurPath raises EInvalidArgument for one the processor lacks).
KV_ENUM(TkvBlurPath, kvbpPortable, kvbpSse2, kvbpAvx2)
bool StackBlurPathAvailable(TkvBlurPath Path);
TkvBlurPath StackBlurPath();
void SetStackBlurPath(TkvBlurPath Path);

// StackBlur, then every pixel becomes Color with its blurred red value as alpha, premultiplied
// (the bitmap becomes pf32bit with afPremultiplied alpha).
void ColorizeBlur(TBitmap* Bitmap, int Radius, TColor Color);

// True when some pixel's alpha is neither 0 nor 255.
bool HasSemiTransparentPixels(const TBitmap* Bitmap);

// Dst becomes the glow of Src's silhouette: (Src width + 2 GlowSize) x (Src height +
// 2 GlowSize), to be drawn GlowSize up and left of where Src is drawn. The silhouette is every
// pixel with some alpha when Src is a 32-bit bitmap with semi-transparent pixels; otherwise
// every pixel whose colour differs from Src's top-left pixel.
void MakeGlowBitmap(TBitmap* Dst, const TBitmap* Src, int GlowSize, TColor Color);
// The same for image Index of an image list (an index outside the list has no silhouette).
void MakeImageGlowBitmap(TBitmap* Dst, TCustomImageList* Images, int Index, int GlowSize, TColor Color);

// The glow of an image-list image at (X + Offset - GlowSize, Y + Offset - GlowSize) with
// constant opacity AlphaValue, then the image itself at (X, Y). No list or an index outside it
// draws nothing.
void DrawImageWithGlow(TCanvas* Canvas, int X, int Y, TCustomImageList* Images, int Index, int Offset,
                       TColor GlowColor, int GlowSize, uint8_t AlphaValue);

// Text with a glow: R is Rect widened and heightened (from its left and top) to at least
// 2 GlowSize; the glow of the text drawn in R with Flags (adjusted for right-to-left reading)
// is blended at (R.Left + Offset - GlowSize, R.Top + Offset - GlowSize) with constant opacity
// AlphaValue, then the text is drawn in R in the canvas's own font. Intensive thickens the
// silhouette before blurring. The canvas's brush is left clear.
void DrawTextWithGlow(TCanvas* Canvas, const TRect& Rect, const String& Text, unsigned Flags, int Offset,
                      TColor GlowColor, int GlowSize, bool Intensive, uint8_t AlphaValue, bool RightToLeft);

// DrawImageAndText and DrawImageAndTextLeft with a glowing caption (DrawTextWithGlow) and,
// when ImageGlow is set, a glowing image (DrawImageWithGlow, which draws the image enabled).
void DrawImageAndTextGlow(TCanvas* Canvas, const TRect& Rect, int Margin, int Spacing, int Layout, const String& Text,
                          int ImageIndex, TCustomImageList* Images, bool Enabled, bool ShowColorBar,
                          TColor ColorBarColor, int Offset, TColor GlowColor, int GlowSize, bool Intensive,
                          uint8_t AlphaValue, bool ImageGlow, bool DrawFocus, bool RightToLeft);
void DrawImageAndTextGlowLeft(TCanvas* Canvas, const TRect& Rect, int Margin, int Spacing, int Layout,
                              const String& Text, int ImageIndex, TCustomImageList* Images, bool Enabled,
                              bool ShowColorBar, TColor ColorBarColor, int Offset, TColor GlowColor, int GlowSize,
                              bool Intensive, uint8_t AlphaValue, bool ImageGlow, bool DrawFocus, bool RightToLeft);

// ---- the cache of finished glow bitmaps ----

struct TkvGlowCacheStats {
  uint64_t Hits = 0, Misses = 0;
  size_t Entries = 0;
  size_t Pixels = 0, CapacityPixels = 0;
};
TkvGlowCacheStats GlowCacheStats();
void ClearGlowCache();
// The most pixels the cached bitmaps may hold together (0 turns the cache off); the least
// recently used bitmaps leave first.
void SetGlowCacheCapacity(size_t Pixels);
