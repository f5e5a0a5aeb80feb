#include "kv/kvUtils/kvLayout.h"

#include "kv/kvUtils/kvBitmaps.h"
#include "kv/kvUtils/kvGlyphs.h"
#include "kv/kvUtils/kvPaint.h"
#include "kv/kvUtils/kvText.h"
#include "platform/graphics/bitmap.h"

namespace {
// Three rows of Color under Above, across its width.
void ColorBar(TCanvas* Canvas, const TRect& Above, TColor Color) {
  TSolidPainter p(Canvas, Color);
  p.Fill({Above.Left, Above.Bottom, Above.Right, Above.Bottom + 3});
}

}  // namespace

void CalcGlyphLayout(int Layout, const TRect& Rect, int GlyphWidth, int GlyphHeight, int TextWidth, int TextHeight,
                     int Spacing, int Margin, int& TextX, int& TextY, int& GlyphX, int& GlyphY) {
  if (Layout < 0 || Layout > 3) return;
  if (GlyphWidth == 0) Spacing = 0;
  TPoint c = Rect.CenterPoint();
  int halfW = (GlyphWidth + TextWidth + Spacing) / 2;
  int halfH = (GlyphHeight + TextHeight + Spacing) / 2;
  auto centredX = [&](int w) { return c.X - w / 2; };
  auto centredY = [&](int h) { return c.Y - h / 2; };
  bool across = Layout == 0 || Layout == 1;
  if (across) {
    GlyphY = centredY(GlyphHeight);
    TextY = centredY(TextHeight);
  } else {
    GlyphX = centredX(GlyphWidth);
    TextX = centredX(TextWidth);
  }
  if (Margin == -1) {
    switch (Layout) {
      case 0: GlyphX = c.X - halfW; TextX = c.X + halfW - TextWidth; break;
      case 1: TextX = c.X - halfW; GlyphX = c.X + halfW - GlyphWidth; break;
      case 2: GlyphY = c.Y - halfH; TextY = c.Y + halfH - TextHeight; break;
      default: TextY = c.Y - halfH; GlyphY = c.Y + halfH - GlyphHeight; break;
    }
  } else {
    switch (Layout) {
      case 0: GlyphX = Rect.Left + Margin; TextX = GlyphX + GlyphWidth + Spacing; break;
      case 1: GlyphX = Rect.Right - GlyphWidth - Margin; TextX = GlyphX - Spacing - TextWidth; break;
      case 2: GlyphY = Rect.Top + Margin; TextY = GlyphY + GlyphHeight + Spacing; break;
      default: GlyphY = Rect.Bottom - GlyphHeight - Margin; TextY = GlyphY - Spacing - TextHeight; break;
    }
  }
}

void DrawImageAndTextWith(TCanvas* Canvas, const TRect& Rect, int Margin, int Spacing, int Layout, const String& Text,
                          int ImageIndex, TCustomImageList* Images, bool Enabled, bool ShowColorBar,
                          TColor ColorBarColor, bool DrawFocus, bool RightToLeft, unsigned TextAlign,
                          const TkvContentPainters& Painters) {
  if (!Canvas) return;
  bool hasGlyph = Images && ImageIndex >= 0 && ImageIndex < Images->Count();
  TSize glyph = hasGlyph ? TSize(Images->Width(), Images->Height()) : TSize();
  if (!hasGlyph) Spacing = 0;

  const unsigned flags = TextAlign | DT_VCENTER | DT_WORDBREAK | DT_EXPANDTABS;
  TSize text;
  if (!Text.empty()) {
    bool across = Layout == 0 || Layout == 1;
    int width = Rect.Width() - (across ? glyph.cx + Spacing : 0);
    text = MeasureText(Canvas, Text, width, DT_WORDBREAK | DT_EXPANDTABS | TextAlign);
  } else {
    Spacing = 0;
  }

  Canvas->Brush()->SetStyle(bsClear);
  int textX = Rect.Left, textY = Rect.Top, glyphX = Rect.Left, glyphY = Rect.Top;
  CalcGlyphLayout(Layout, Rect, glyph.cx, glyph.cy, text.cx, text.cy, Spacing, Margin, textX, textY, glyphX, glyphY);

  TRect textRect = Bounds(textX, textY, text.cx, text.cy);
  if (!Text.empty()) {
    if (Painters.DrawCaption) {
      Painters.DrawCaption(textRect, flags);
    } else {
      TRect r = textRect;
      String s = Text;
      Canvas->TextRect(r, s, BidiTextFlags(flags, RightToLeft));
    }
    if (DrawFocus) DrawFocusFrame(Canvas, textRect.Inflated(2, 2));
  }

  if (hasGlyph) {
    if (Painters.DrawGlyph) Painters.DrawGlyph(glyphX, glyphY);
    else if (Enabled) Images->Draw(Canvas, glyphX, glyphY, ImageIndex, true);
    else DrawImageBlended(Canvas, glyphX, glyphY, Images, ImageIndex, 80);
    TRect glyphRect = Bounds(glyphX, glyphY, glyph.cx, glyph.cy);
    if (ShowColorBar) ColorBar(Canvas, glyphRect, ColorBarColor);
    if (DrawFocus && Text.empty()) DrawFocusFrame(Canvas, glyphRect.Inflated(2, 2));
  } else if (ShowColorBar) {
    if (!Text.empty()) ColorBar(Canvas, textRect, ColorBarColor);
    else TSolidPainter(Canvas, ColorBarColor).Fill({Rect.Left + 4, Rect.Top + 4, Rect.Right - 2, Rect.Bottom - 4});
  }
}

void DrawImageAndText(TCanvas* Canvas, const TRect& Rect, int Margin, int Spacing, int Layout, const String& Text,
                      int ImageIndex, TCustomImageList* Images, bool Enabled, bool ShowColorBar, TColor ColorBarColor,
                      bool DrawFocus, bool RightToLeft) {
  DrawImageAndTextWith(Canvas, Rect, Margin, Spacing, Layout, Text, ImageIndex, Images, Enabled, ShowColorBar,
                       ColorBarColor, DrawFocus, RightToLeft, DT_CENTER, {});
}

void DrawImageAndTextLeft(TCanvas* Canvas, const TRect& Rect, int Margin, int Spacing, int Layout, const String& Text,
                          int ImageIndex, TCustomImageList* Images, bool Enabled, bool ShowColorBar,
                          TColor ColorBarColor, bool DrawFocus, bool RightToLeft) {
  DrawImageAndTextWith(Canvas, Rect, Margin, Spacing, Layout, Text, ImageIndex, Images, Enabled, ShowColorBar,
                       ColorBarColor, DrawFocus, RightToLeft, DT_LEFT, {});
}

void DrawImageBlended(TCanvas* Canvas, int X, int Y, TCustomImageList* Images, int Index, uint8_t Alpha) {
  if (!Canvas || !Images || Index < 0 || Index >= Images->Count()) return;
  TBitmap image;
  if (!Images->GetBitmap(Index, &image)) return;
  if (Images->ColorDepth() != cd32Bit) {
    // Without an alpha channel the first pixel's colour is the transparent one: every other
    // pixel is copied opaque. Pixels the mask made transparent stay transparent.
    TSurface& s = image.Surface();
    uint32_t transparent = s.Row(0)[0];
    for (int y = 0; y < s.Height(); ++y) {
      uint32_t* row = s.Row(y);
      for (int x = 0; x < s.Width(); ++x)
        row[x] = (row[x] == transparent || PixelAlpha(row[x]) == 0) ? 0u : row[x] | 0xFF000000u;
    }
  }
  AlphaBlendBitmap(&image, Canvas, X, Y, Alpha);
}

TRect CenterRect(const TRect& Src, const TRect& Bounds) {
  return Src.Offsetted(Bounds.Left + (Bounds.Width() - Src.Width()) / 2 - Src.Left,
                       Bounds.Top + (Bounds.Height() - Src.Height()) / 2 - Src.Top);
}

TRect CenterRectVert(const TRect& Src, const TRect& Bounds) {
  return Src.Offsetted(Bounds.Left - Src.Left, Bounds.Top + (Bounds.Height() - Src.Height()) / 2 - Src.Top);
}

bool PointInRect(const TRect& Rect, const TPoint& Point) {
  return Point.X >= Rect.Left && Point.X <= Rect.Right && Point.Y >= Rect.Top && Point.Y <= Rect.Bottom;
}

bool RectOverlapsVert(const TRect& ItemRect, const TRect& ViewRect) {
  return ViewRect.Contains(TPoint(ViewRect.Left + 1, ItemRect.Top)) ||
         ViewRect.Contains(TPoint(ViewRect.Right - 1, ItemRect.Bottom));
}
