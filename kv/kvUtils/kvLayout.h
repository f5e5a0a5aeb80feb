#pragma once
// Layout and content: placing a glyph beside a text block, drawing an image-list image with its
// caption, blending an image, and small rectangle helpers.
#include <cstdint>
#include <functional>

#include "platform/graphics/canvas.h"
#include "platform/graphics/imagelist.h"

// Places a glyph and a text block in Rect and returns their top-left points. Layout 0 glyph
// left, 1 glyph right, 2 glyph top, 3 glyph bottom; other values set nothing. Margin -1 centres
// glyph, Spacing and text together; Margin >= 0 puts the glyph Margin pixels from its side and
// the text Spacing pixels beyond it. With no glyph (GlyphWidth 0) Spacing counts as 0.
void CalcGlyphLayout(int Layout, const TRect& Rect, int GlyphWidth, int GlyphHeight, int TextWidth, int TextHeight,
                     int Spacing, int Margin, int& TextX, int& TextY, int& GlyphX, int& GlyphY);

// An image of Images (when ImageIndex is valid) and word-wrapped, centred Text laid out by
// CalcGlyphLayout in Rect; a disabled image is blended at alpha 80. With ShowColorBar, three
// rows of ColorBarColor under the glyph (or under the text, or filling most of Rect when there
// is neither); with DrawFocus, a focus frame 2 pixels around the text (or the glyph). The
// canvas's brush is left clear.
void DrawImageAndText(TCanvas* Canvas, const TRect& Rect, int Margin, int Spacing, int Layout, const String& Text,
                      int ImageIndex, TCustomImageList* Images, bool Enabled, bool ShowColorBar, TColor ColorBarColor,
                      bool DrawFocus, bool RightToLeft);
// The same with left-aligned text.
void DrawImageAndTextLeft(TCanvas* Canvas, const TRect& Rect, int Margin, int Spacing, int Layout, const String& Text,
                          int ImageIndex, TCustomImageList* Images, bool Enabled, bool ShowColorBar,
                          TColor ColorBarColor, bool DrawFocus, bool RightToLeft);
// The steps shared by DrawImageAndText(Left) and their glowing variants: measure, lay out, draw
// the caption (with the given flags, TextAlign being DT_CENTER or DT_LEFT) and the glyph, then
// focus frames and colour bars. DrawCaption draws Text in its rectangle; DrawGlyph draws the
// image at its point (the default, when empty: the enabled image, or blended at 80 when
// disabled).
struct TkvContentPainters {
  std::function<void(const TRect& TextRect, unsigned Flags)> DrawCaption;
  std::function<void(int X, int Y)> DrawGlyph;
};
void DrawImageAndTextWith(TCanvas* Canvas, const TRect& Rect, int Margin, int Spacing, int Layout, const String& Text,
                          int ImageIndex, TCustomImageList* Images, bool Enabled, bool ShowColorBar,
                          TColor ColorBarColor, bool DrawFocus, bool RightToLeft, unsigned TextAlign,
                          const TkvContentPainters& Painters);

// The image Index of Images at (X, Y) blended with constant alpha Alpha (0..255), keeping the
// image's own transparency. An index outside the list, or no list, draws nothing.
void DrawImageBlended(TCanvas* Canvas, int X, int Y, TCustomImageList* Images, int Index, uint8_t Alpha);

// Src moved to the centre of Bounds (offsets (Bounds size - Src size) / 2).
TRect CenterRect(const TRect& Src, const TRect& Bounds);
// Src moved to Bounds.Left and centred vertically in Bounds.
TRect CenterRectVert(const TRect& Src, const TRect& Bounds);
// Left <= X <= Right and Top <= Y <= Bottom: both edges inclusive.
bool PointInRect(const TRect& Rect, const TPoint& Point);
// True when the item's top edge (at ViewRect.Left+1) or bottom edge (at ViewRect.Right-1) lies
// in ViewRect (right and bottom edges excluded). An item taller than the view that covers it
// completely gives False.
bool RectOverlapsVert(const TRect& ItemRect, const TRect& ViewRect);
