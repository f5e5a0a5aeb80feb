#include "platform/graphics/framectl.h"

#include <algorithm>

#include "platform/graphics/primitives.h"
#include "platform/graphics/raster.h"

namespace {
// Draws in logical coordinates with one-off colours.
class TClassicPainter {
public:
  explicit TClassicPainter(HDC dc) : FDC(*dc), FOrigin(dc->LogicalToSurfaceOffset()) {}
  void Fill(const TRect& r, TColor color) {
    TSpanPainter p(FDC, ColorToOpaquePixel(color), R2_COPYPEN);
    p.Rect(r.Offsetted(FOrigin.X, FOrigin.Y));
  }
  void HLine(int x0, int x1, int y, TColor c) { Fill({x0, y, x1, y + 1}, c); }
  void VLine(int x, int y0, int y1, TColor c) { Fill({x, y0, x + 1, y1}, c); }
  void Pixel(int x, int y, TColor c) { Fill({x, y, x + 1, y + 1}, c); }
  // A checkerboard of two colours, aligned to device coordinates.
  void Dither(const TRect& r, TColor a, TColor b) {
    uint32_t pa = ColorToOpaquePixel(a), pb = ColorToOpaquePixel(b);
    TPoint dev = FDC.LogicalToDeviceOffset();
    TSpanPainter p0(FDC, pa, R2_COPYPEN), p1(FDC, pb, R2_COPYPEN);
    TRect vis = Visible().Intersect(r);
    for (int y = vis.Top; y < vis.Bottom; ++y)
      for (int x = vis.Left; x < vis.Right; ++x)
        (((x + dev.X + y + dev.Y) & 1) == 0 ? p0 : p1).Pixel(x + FOrigin.X, y + FOrigin.Y);
  }
  // The part of the surface that can be drawn, in logical coordinates.
  TRect Visible() { return FDC.Clip().Bounds.Offsetted(-FOrigin.X, -FOrigin.Y); }
  // One border: top-left colour on the left and top sides, bottom-right colour on the right
  // and bottom sides including the top-right and bottom-left corners.
  void Border(const TRect& r, unsigned sides, TColor tl, TColor br) {
    if (r.IsEmpty()) return;
    if (sides & BF_LEFT) VLine(r.Left, r.Top, r.Bottom, tl);
    if (sides & BF_TOP) HLine(r.Left, r.Right, r.Top, tl);
    if (sides & BF_RIGHT) VLine(r.Right - 1, r.Top, r.Bottom, br);
    if (sides & BF_BOTTOM) HLine(r.Left, r.Right, r.Bottom - 1, br);
  }

private:
  TDeviceContext& FDC;
  TPoint FOrigin;
};

// Shrinks r by one pixel on the chosen sides.
void Shrink(TRect& r, unsigned sides) {
  if (sides & BF_LEFT) ++r.Left;
  if (sides & BF_TOP) ++r.Top;
  if (sides & BF_RIGHT) --r.Right;
  if (sides & BF_BOTTOM) --r.Bottom;
}
}  // namespace

bool DrawEdge(HDC dc, TRect& rect, unsigned edge, unsigned flags) {
  if (!dc || (edge & ~0xFu) != 0) return false;
  TClassicPainter p(dc);
  TRect r = rect;
  unsigned sides = flags & BF_RECT;
  bool soft = flags & BF_SOFT;
  struct TPair {
    TColor TL, BR;
  };
  TPair outer{clNone, clNone}, inner{clNone, clNone};
  if (flags & BF_MONO) {
    if (edge & BDR_OUTER) outer = {clWindowFrame, clWindowFrame};
    if (edge & BDR_INNER) inner = {clWindow, clWindow};
  } else if (flags & BF_FLAT) {
    if (edge & BDR_OUTER) outer = {clBtnShadow, clBtnShadow};
    if (edge & BDR_INNER) inner = {clBtnFace, clBtnFace};
  } else {
    if (edge & BDR_RAISEDOUTER) outer = {soft ? clBtnHighlight : cl3DLight, cl3DDkShadow};
    else if (edge & BDR_SUNKENOUTER) outer = {clBtnShadow, clBtnHighlight};
    if (edge & BDR_RAISEDINNER) inner = {soft ? cl3DLight : clBtnHighlight, clBtnShadow};
    else if (edge & BDR_SUNKENINNER) inner = {cl3DDkShadow, cl3DLight};
  }
  for (const TPair& b : {outer, inner}) {
    if (b.TL == clNone) continue;
    p.Border(r, sides, b.TL, b.BR);
    Shrink(r, sides);
  }
  if (flags & BF_MIDDLE) p.Fill(r, (flags & (BF_FLAT | BF_MONO)) ? clWindow : clBtnFace);
  if (flags & BF_ADJUST) rect = r;
  return true;
}

namespace {
// The classic 7 x 7 check mark.
constexpr const char* kCheck[7] = {"......#", ".....##", "#...###", "##.###.", "#####..", ".###...", "..#...."};

void DrawGlyphRows(TClassicPainter& p, int x, int y, const char* const* rows, int n, TColor c) {
  for (int j = 0; j < n; ++j)
    for (int i = 0; rows[j][i]; ++i)
      if (rows[j][i] == '#') p.Pixel(x + i, y + j, c);
}

// A triangle pointing in a scroll direction, centred in r.
void DrawTriangle(TClassicPainter& p, const TRect& r, unsigned dir, TColor c) {
  int rows = std::max(1, std::min(r.Width(), r.Height()) / 4);
  TPoint ctr = r.CenterPoint();
  for (int k = 0; k < rows; ++k) {
    int half = k;  // row k (from the apex) is 2k + 1 wide
    switch (dir) {
      case DFCS_SCROLLUP: p.HLine(ctr.X - half, ctr.X + half + 1, ctr.Y - rows / 2 + k, c); break;
      case DFCS_SCROLLDOWN:
      case DFCS_SCROLLCOMBOBOX: p.HLine(ctr.X - half, ctr.X + half + 1, ctr.Y + (rows - 1) / 2 - k, c); break;
      case DFCS_SCROLLLEFT: p.VLine(ctr.X - rows / 2 + k, ctr.Y - half, ctr.Y + half + 1, c); break;
      case DFCS_SCROLLRIGHT: p.VLine(ctr.X + (rows - 1) / 2 - k, ctr.Y - half, ctr.Y + half + 1, c); break;
      default: break;
    }
  }
}

// Draws a glyph normally, or embossed when inactive.
template <class F>
void Glyph(unsigned state, TColor color, F&& draw) {
  if (state & DFCS_INACTIVE) {
    draw(1, clBtnHighlight);
    draw(0, clBtnShadow);
  } else {
    draw(0, color);
  }
}

// The face of a push button and its borders; returns the content rectangle.
TRect DrawButtonFace(HDC dc, TClassicPainter& p, const TRect& r, unsigned state) {
  TRect inner = r;
  if (state & DFCS_MONO) {
    p.Border(inner, BF_RECT, clWindowFrame, clWindowFrame);
    Shrink(inner, BF_RECT);
  } else if (state & DFCS_FLAT) {
    p.Border(inner, BF_RECT, clBtnShadow, clBtnShadow);
    Shrink(inner, BF_RECT);
  } else if (state & DFCS_PUSHED) {
    p.Border(inner, BF_RECT, cl3DDkShadow, cl3DDkShadow);
    Shrink(inner, BF_RECT);
    p.Border(inner, BF_RECT, clBtnShadow, clBtnShadow);
    Shrink(inner, BF_RECT);
  } else if (state & DFCS_CHECKED) {
    DrawEdge(dc, inner, EDGE_SUNKEN, BF_RECT | BF_SOFT | BF_ADJUST);
  } else {
    DrawEdge(dc, inner, EDGE_RAISED, BF_RECT | BF_SOFT | BF_ADJUST);
  }
  if (state & DFCS_TRANSPARENT) return inner;
  if ((state & DFCS_CHECKED) && !(state & DFCS_PUSHED)) p.Dither(inner, clBtnHighlight, clBtnFace);
  else p.Fill(inner, clBtnFace);
  return inner;
}

void DrawCheckBox(HDC dc, TClassicPainter& p, const TRect& r, unsigned state) {
  TRect well = r;
  if (state & (DFCS_FLAT | DFCS_MONO)) {
    p.Border(well, BF_RECT, clBtnShadow, clBtnShadow);
    Shrink(well, BF_RECT);
  } else {
    DrawEdge(dc, well, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  }
  bool indeterminate = (state & DFCS_BUTTON3STATE) && (state & DFCS_CHECKED);
  if (!(state & DFCS_TRANSPARENT)) {
    if (indeterminate) p.Dither(well, clBtnHighlight, clBtnFace);
    else p.Fill(well, (state & (DFCS_PUSHED | DFCS_INACTIVE)) ? clBtnFace : clWindow);
  }
  if (state & DFCS_CHECKED) {
    TColor mark = (indeterminate || (state & DFCS_INACTIVE)) ? clBtnShadow : clWindowText;
    int x = well.Left + (well.Width() - 7) / 2, y = well.Top + (well.Height() - 7) / 2;
    DrawGlyphRows(p, x, y, kCheck, 7, mark);
  }
}

// Pixels of the ellipse inscribed in an n x n box, as row intervals.
struct TDisc {
  std::vector<std::pair<int, int>> Rows;
  bool In(int x, int y) const {
    return y >= 0 && y < static_cast<int>(Rows.size()) && x >= Rows[static_cast<size_t>(y)].first &&
           x < Rows[static_cast<size_t>(y)].second;
  }
  // The pixels whose four neighbours are all in the disc.
  TDisc Interior() const {
    TDisc d;
    int n = static_cast<int>(Rows.size());
    for (int y = 0; y < n; ++y) {
      if (y == 0 || y == n - 1) {
        d.Rows.push_back({0, 0});
        continue;
      }
      auto [a, b] = Rows[static_cast<size_t>(y)];
      auto [ua, ub] = Rows[static_cast<size_t>(y - 1)];
      auto [da, db] = Rows[static_cast<size_t>(y + 1)];
      d.Rows.push_back({std::max({a + 1, ua, da}), std::min({b - 1, ub, db})});
    }
    return d;
  }
};

TDisc MakeDisc(int n) {
  TDisc d;
  for (int j = 0; j < n; ++j) d.Rows.push_back(EllipseRowSpan(n, n, j));
  return d;
}

void DrawRadio(TClassicPainter& p, const TRect& r, unsigned state) {
  int n = std::min(r.Width(), r.Height());
  if (n <= 0) return;
  int ox = r.Left + (r.Width() - n) / 2, oy = r.Top + (r.Height() - n) / 2;
  // Ring 1 (the outer border), ring 2 (the next), then the well.
  TDisc disc = MakeDisc(n), inner = disc.Interior(), well2 = inner.Interior();
  bool flat = state & (DFCS_FLAT | DFCS_MONO);
  TColor well = (state & (DFCS_PUSHED | DFCS_INACTIVE)) ? clBtnFace : clWindow;
  TRect vis = p.Visible().Offsetted(-ox, -oy).Intersect(TRect(0, 0, n, n));
  for (int y = vis.Top; y < vis.Bottom; ++y)
    for (int x = vis.Left; x < vis.Right; ++x) {
      if (!disc.In(x, y)) continue;
      bool topLeft = x + y < n - 1;
      TColor c;
      if (!inner.In(x, y)) c = flat ? clBtnShadow : (topLeft ? clBtnShadow : clBtnHighlight);
      else if (!well2.In(x, y)) c = flat ? well : (topLeft ? cl3DDkShadow : cl3DLight);
      else if (state & DFCS_TRANSPARENT) continue;
      else c = well;
      p.Pixel(ox + x, oy + y, c);
    }
  if (state & DFCS_CHECKED) {
    int d = std::max(2, n / 3);
    d += (n - d) % 2;  // keep the dot centred
    TDisc dot = MakeDisc(d);
    int dx = ox + (n - d) / 2, dy = oy + (n - d) / 2;
    TColor c = (state & DFCS_INACTIVE) ? clBtnShadow : clWindowText;
    for (int y = 0; y < d; ++y) {
      auto [a, b] = dot.Rows[static_cast<size_t>(y)];
      if (a < b) p.HLine(dx + a, dx + b, dy + y, c);
    }
  }
}

void DrawSizeGrip(TClassicPainter& p, const TRect& r, unsigned state) {
  if (!(state & DFCS_TRANSPARENT)) p.Fill(r, clBtnFace);
  // Three groups of diagonal strokes in the bottom-right corner: light, dark, dark.
  int size = std::min({r.Width(), r.Height(), 64});
  for (int d = 2; d + 2 < size; d += 4) {
    TColor colors[3] = {clBtnHighlight, clBtnShadow, clBtnShadow};
    for (int k = 0; k < 3; ++k) {
      int len = d + k;
      for (int i = 0; i < len; ++i) p.Pixel(r.Right - len + i, r.Bottom - 1 - i, colors[k]);
    }
  }
}

void DrawCaptionGlyph(TClassicPainter& p, const TRect& c, unsigned kind, int off, TColor color) {
  int s = std::max(4, std::min(c.Width(), c.Height()) - 4);
  s -= (s % 2 == 0) ? 0 : 1;
  int x = c.Left + (c.Width() - s) / 2 + off, y = c.Top + (c.Height() - s) / 2 + off;
  switch (kind) {
    case DFCS_CAPTIONCLOSE:
      for (int i = 0; i < s; ++i) {
        p.HLine(x + i, x + i + 2, y + i, color);
        p.HLine(x + s - 2 - i, x + s - i, y + i, color);
      }
      break;
    case DFCS_CAPTIONMIN: p.Fill({x + 1, y + s - 2, x + s - 2, y + s}, color); break;
    case DFCS_CAPTIONMAX:
      p.Fill({x, y, x + s, y + 2}, color);
      p.VLine(x, y, y + s, color);
      p.VLine(x + s - 1, y, y + s, color);
      p.HLine(x, x + s, y + s - 1, color);
      break;
    case DFCS_CAPTIONRESTORE: {
      int h = s * 2 / 3;
      for (int k : {0, 1}) {
        int bx = x + (k == 0 ? s - h : 0), by = y + (k == 0 ? 0 : s - h);
        p.Fill({bx, by, bx + h, by + 2}, color);
        p.VLine(bx, by, by + h, color);
        p.VLine(bx + h - 1, by, by + h, color);
        p.HLine(bx, bx + h, by + h - 1, color);
      }
      break;
    }
    default: break;
  }
}
}  // namespace

bool DrawFrameControl(HDC dc, TRect& r, unsigned type, unsigned state) {
  if (!dc || r.IsEmpty()) return false;
  TClassicPainter p(dc);
  switch (type) {
    case DFC_BUTTON: {
      unsigned kind = state & 0x1F;
      if (kind & DFCS_BUTTONPUSH) {
        TRect content = DrawButtonFace(dc, p, r, state);
        if (state & DFCS_ADJUSTRECT) r = content;
        return true;
      }
      if (kind & DFCS_BUTTONRADIO) {
        DrawRadio(p, r, state);
        return true;
      }
      if (kind == DFCS_BUTTONCHECK || kind == DFCS_BUTTON3STATE) {
        DrawCheckBox(dc, p, r, state);
        return true;
      }
      return false;
    }
    case DFC_SCROLL: {
      unsigned kind = state & 0xF;
      if (kind == DFCS_SCROLLSIZEGRIP) {
        DrawSizeGrip(p, r, state);
        return true;
      }
      if (kind > DFCS_SCROLLRIGHT && kind != DFCS_SCROLLCOMBOBOX) return false;
      unsigned face = state & ~(DFCS_CHECKED | DFCS_ADJUSTRECT);
      if (face & DFCS_PUSHED) face = (face & ~DFCS_PUSHED) | DFCS_FLAT;  // flat and pressed in
      DrawButtonFace(dc, p, r, face);
      int shift = (state & DFCS_PUSHED) ? 1 : 0;
      Glyph(state, clBtnText, [&](int off, TColor c) {
        DrawTriangle(p, r.Offsetted(shift + off, shift + off), kind, c);
      });
      return true;
    }
    case DFC_CAPTION: {
      unsigned kind = state & 0xF;
      if (kind > DFCS_CAPTIONRESTORE) return false;
      TRect content = DrawButtonFace(dc, p, r, state & ~DFCS_CHECKED);
      int shift = (state & DFCS_PUSHED) ? 1 : 0;
      Glyph(state, clBtnText, [&](int off, TColor c) { DrawCaptionGlyph(p, content, kind, shift + off, c); });
      return true;
    }
    default: return false;
  }
}
