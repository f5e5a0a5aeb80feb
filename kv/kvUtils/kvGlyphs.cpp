#include "kv/kvUtils/kvGlyphs.h"

#include "kv/kvUtils/kvColors.h"
#include "kv/kvUtils/kvPaint.h"
#include "kv/kvUtils/kvTypes.h"
#include "platform/graphics/blit.h"
#include "platform/graphics/primitives.h"
#include "platform/themes/styleservices.h"

namespace {
// Four runs of 1, 3, 5, 7 pixels (Growing) or 7, 5, 3, 1, each centred across the direction of
// travel; the runs are columns when Columns, else rows, starting at First.
void Triangle(TSolidPainter& p, int First, int Centre, bool Columns, bool Growing) {
  for (int k = 0; k < 4; ++k) {
    int half = Growing ? k : 3 - k;
    if (Columns) p.VLine(First + k, Centre - half, 2 * half + 1);
    else p.HLine(Centre - half, First + k, 2 * half + 1);
  }
}

// Calls f(x, y) for each pixel of the dotted perimeter of Rect.
template <class F>
void DottedPerimeter(const TRect& Rect, F f) {
  int w = Rect.Width() - 1, h = Rect.Height() - 1;
  if (w < 0 || h < 0) return;
  int l = Rect.Left, t = Rect.Top, r = Rect.Right - 1, b = Rect.Bottom - 1;
  int step = (w % 2 == 0 && h % 2 == 0) ? 1 : 0;  // 0: the first pixel is set
  auto visit = [&](int x, int y) {
    if (step++ % 2 == 0) f(x, y);
  };
  for (int x = l; x < r; ++x) visit(x, t);
  for (int y = t; y < b; ++y) visit(r, y);
  for (int x = r; x > l; --x) visit(x, b);
  for (int y = b; y > t; --y) visit(l, y);
}
}  // namespace

void DrawArrow(TCanvas* Canvas, const TRect& Rect, TColor Color, int Kind) {
  TSolidPainter p(Canvas, Color);
  if (!p.Active()) return;
  TPoint c = Rect.CenterPoint();
  switch (Kind) {
    case 1: Triangle(p, c.X - 2, c.Y, true, true); break;
    case 2: Triangle(p, c.X - 1, c.Y, true, false); break;
    case 3: Triangle(p, c.Y - 2, c.X, false, true); break;
    case 4: Triangle(p, c.Y - 1, c.X, false, false); break;
    case 5:
      p.Fill({c.X - 4, c.Y - 1, c.X + 4, c.Y + 1});
      p.Fill({c.X - 1, c.Y - 4, c.X + 1, c.Y + 4});
      break;
    default: break;
  }
}

void DrawMoreArrow(TCanvas* Canvas, const TRect& Rect, TColor Color) {
  TSolidPainter p(Canvas, Color);
  if (!p.Active()) return;
  TPoint c = Rect.CenterPoint();
  p.HLine(c.X - 3, c.Y - 3, 7);
  Triangle(p, c.Y, c.X, false, false);
}

void DrawTreeArrow(TCanvas* Canvas, const TRect& Rect, TColor Color, TColor OutlineColor, int Kind) {
  TSolidPainter p(Canvas, Color);
  if (!p.Active()) return;
  TPoint c = Rect.CenterPoint();
  TColor fill = ColorToRGB(Color), outline = ColorToRGB(OutlineColor);
  if (Kind == 1) {
    // Columns cx-2 .. cx+2 of heights 9, 7, 5, 3, 1; the first column and the ends of the
    // others outline the triangle.
    for (int k = 0; k < 5; ++k) {
      int x = c.X - 2 + k, half = 4 - k;
      p.SetColor(k == 0 ? outline : fill);
      p.VLine(x, c.Y - half, 2 * half + 1);
      p.SetColor(outline);
      p.Pixel(x, c.Y - half);
      p.Pixel(x, c.Y + half);
    }
  } else if (Kind == 2) {
    // Rows cy-2 .. cy+3 of widths 1 .. 6 ending at column cx+1; the last row and the ends of
    // the others outline it.
    for (int k = 0; k < 6; ++k) {
      int y = c.Y - 2 + k, left = c.X + 1 - k;
      p.SetColor(k == 5 ? outline : fill);
      p.HLine(left, y, k + 1);
      p.SetColor(outline);
      p.Pixel(left, y);
      p.Pixel(c.X + 1, y);
    }
  }
}

void DrawTreeButton(TCanvas* Canvas, const TRect& Rect, bool Expanded, TColor BorderColor) {
  TSolidPainter p(Canvas);
  if (!p.Active()) return;
  int x = Rect.Left + Rect.Width() / 2 - 4, y = Rect.Top + Rect.Height() / 2 - 3;
  TColor face = GetStyleSystemColor(clBtnFace);
  TColor text = GetStyleSystemColor(clBtnText);
  p.SetColor(MixColors(BorderColor, face));
  p.Fill({x, y, x + 9, y + 9});
  p.SetColor(face);
  p.Fill({x + 1, y + 1, x + 8, y + 8});
  p.SetColor(GetStyleSystemColor(clBtnHighlight));
  p.HLine(x + 1, y + 1, 7);
  p.SetColor(MixColors(text, MixColors(text, face)));
  p.HLine(x + 2, y + 4, 5);
  if (!Expanded) p.VLine(x + 4, y + 2, 5);
}

void DrawCloseGlyph(TCanvas* Canvas, int X, int Y, TColor Color) {
  TSolidPainter p(Canvas, Color);
  if (!p.Active()) return;
  p.MoveTo(X + 1, Y + 1);
  p.LineTo(X + 9, Y + 9);
  p.MoveTo(X + 2, Y + 1);
  p.LineTo(X + 10, Y + 9);
  p.MoveTo(X + 9, Y + 1);
  p.LineTo(X + 1, Y + 9);
  p.MoveTo(X + 8, Y + 1);
  p.LineTo(X, Y + 9);
}

void DrawDottedFrame(TCanvas* Canvas, const TRect& Rect, TColor Color) {
  TSolidPainter p(Canvas, Color);
  if (!p.Active()) return;
  DottedPerimeter(Rect, [&](int x, int y) { p.Pixel(x, y); });
}

void DrawDottedFrameDC(TCanvas* Canvas, const TRect& Rect, TColor Color) {
  HDC dc = Canvas ? Canvas->Handle() : nullptr;
  if (!dc) return;
  int saved = SaveDC(dc);
  SelectObject(dc, GetStockObject(DC_PEN));
  SetDCPenColor(dc, ColorToRGB(Color));
  SetROP2(dc, R2_COPYPEN);
  DottedPerimeter(Rect, [&](int x, int y) {
    MoveToEx(dc, x, y, nullptr);
    LineTo(dc, x + 1, y);
  });
  RestoreDC(dc, saved);
}

void DrawFocusFrame(TCanvas* Canvas, const TRect& Rect) {
  if (Canvas) DrawDottedFrame(Canvas, Rect, Canvas->Font()->Color());
}

void DrawDottedLine(TCanvas* Canvas, int X1, int Y1, int X2, int Y2, TColor Color) {
  if (X1 != X2 && Y1 != Y2) return;
  TSolidPainter p(Canvas, Color);
  if (!p.Active()) return;
  if (X1 == X2)
    for (int y = Y1; y <= Y2; y += 2) p.Pixel(X1, y);
  else
    for (int x = X1; x <= X2; x += 2) p.Pixel(x, Y1);
}

void DrawSplitLine(TCanvas* Canvas, const TRect& Rect) {
  HDC dc = Canvas ? Canvas->Handle() : nullptr;
  int h = Rect.Height();
  if (!dc || h <= 0) return;
  bool themed = ThemesOn();
  auto pixel = [&](TColor c) { return ColorToOpaquePixel(themed ? StyleServices().GetSystemColor(c) : c); };
  TSurface line(2, h);
  uint32_t shadow = pixel(clBtnShadow), highlight = pixel(clBtnHighlight);
  for (int y = 0; y < h; ++y) {
    line.Row(y)[0] = shadow;
    line.Row(y)[1] = highlight;
  }
  HDC src = CreateSurfaceDC(&line);
  BLENDFUNCTION blend;
  blend.SourceConstantAlpha = 125;
  AlphaBlend(dc, Rect.Left, Rect.Top, 2, h, src, 0, 0, 2, h, blend);
  DeleteDC(src);
}

void DrawFrame3D(TCanvas* Canvas, TRect& Rect, TColor TopLeftColor, TColor BottomRightColor) {
  TSolidPainter p(Canvas, TopLeftColor);
  if (p.Active()) {
    int l = Rect.Left, t = Rect.Top, r = Rect.Right - 1, b = Rect.Bottom - 1;
    p.MoveTo(l, b);
    p.LineTo(l, t);
    p.LineTo(r, t);
    p.SetColor(BottomRightColor);
    p.LineTo(r, b);
    p.LineTo(l - 1, b);
  }
  Rect.Inflate(-1, -1);
}
