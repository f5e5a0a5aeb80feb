// Filled figures: polygons, rectangles, rounded rectangles, ellipses; frames and regions.
#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/graphics/primitives.h"
#include "platform/graphics/stroke.h"

void StrokeClosedPath(HDC dc, const TPoint* points, int count);

namespace {
struct TInterval {
  int A = 0, B = 0;  // [A, B)
  bool Empty() const { return A >= B; }
};

TInterval EllipseRow(int w, int h, int j) {
  auto [a, b] = EllipseRowSpan(w, h, j);
  return {a, b};
}

// A convex figure given as one interval per row: a rectangle with elliptic corners of
// ew x eh (0 for square corners).
class TRoundShape {
public:
  TRoundShape(const TRect& box, int ew, int eh) : FBox(box) {
    int w = box.Width(), h = box.Height();
    FEw = std::clamp(ew, 0, std::max(w, 0));
    FEh = std::clamp(eh, 0, std::max(h, 0));
    if (FEw < 2 || FEh < 2) FEw = FEh = 0;
  }
  const TRect& Box() const { return FBox; }
  TInterval Row(int y) const {
    if (y < FBox.Top || y >= FBox.Bottom || FBox.IsEmpty()) return {};
    int j = y - FBox.Top, h = FBox.Height();
    int half = FEh / 2;
    int cj = -1;
    if (FEh > 0) {
      if (j < half) cj = j;
      else if (j >= h - half) cj = FEh - (h - j);
    }
    if (cj < 0) return {FBox.Left, FBox.Right};
    TInterval e = EllipseRow(FEw, FEh, cj);
    if (e.Empty()) return {};
    return {FBox.Left + e.A, FBox.Right - (FEw - e.B)};
  }

private:
  TRect FBox;
  int FEw = 0, FEh = 0;
};

// The interior left when eroding a one-pixel outline: pixels whose four neighbours are in the
// figure.
TInterval ErodedRow(const TRoundShape& s, int y) {
  TInterval c = s.Row(y), u = s.Row(y - 1), d = s.Row(y + 1);
  if (c.Empty() || u.Empty() || d.Empty()) return {};
  return {std::max({c.A + 1, u.A, d.A}), std::min({c.B - 1, u.B, d.B})};
}

// Paints a figure: outline with the pen, interior with the brush.
void PaintFigure(HDC dc, TRect box, int ew, int eh) {
  const TDCState& st = dc->State();
  const TGdiPen& pen = *st.Pen;
  bool nullPen = pen.Style() == PS_NULL;
  TPoint o = dc->LogicalToSurfaceOffset();
  box = TRect(std::min(box.Left, box.Right), std::min(box.Top, box.Bottom), std::max(box.Left, box.Right),
              std::max(box.Top, box.Bottom))
            .Offsetted(o.X, o.Y);
  if (nullPen) {
    box.Right -= 1;
    box.Bottom -= 1;
    TRoundShape shape(box, ew, eh);
    TSpanPainter fill(*dc, *st.Brush, st.Rop2);
    TRect rows = box.Intersect(fill.Bounds());
    for (int y = rows.Top; y < rows.Bottom; ++y) {
      TInterval r = shape.Row(y);
      fill.Span(y, r.A, r.B);
    }
    return;
  }
  int pw = pen.Width();
  if (pw > 1 && pen.Style() != PS_INSIDEFRAME) {
    // Centre the outline on the box edge.
    box = TRect(box.Left - (pw - 1) / 2, box.Top - (pw - 1) / 2, box.Right + pw / 2, box.Bottom + pw / 2);
    ew += pw - 1;
    eh += pw - 1;
  }
  if (pen.Style() != PS_SOLID && pen.Style() != PS_INSIDEFRAME) pw = 1;
  TRoundShape outer(box, ew, eh);
  TRoundShape inner(box.Inflated(-pw, -pw), ew - 2 * pw, eh - 2 * pw);
  auto innerRow = [&](int y) { return pw == 1 ? ErodedRow(outer, y) : inner.Row(y); };
  const TRect visible = box.Intersect(dc->Clip().Bounds);
  {
    TSpanPainter fill(*dc, *st.Brush, st.Rop2);
    for (int y = visible.Top; y < visible.Bottom; ++y) {
      TInterval r = innerRow(y);
      fill.Span(y, r.A, r.B);
    }
  }
  bool styled = pen.Style() >= PS_DASH && pen.Style() <= PS_DASHDOTDOT;
  if (styled && ew == 0) {
    // Styled outline of a rectangle: walk it with the dash pattern.
    TPoint pts[4] = {{box.Left, box.Top}, {box.Right - 1, box.Top}, {box.Right - 1, box.Bottom - 1},
                     {box.Left, box.Bottom - 1}};
    TPenStroker stroke(*dc);
    for (int i = 0; i < 4; ++i) stroke.Segment(pts[i], pts[(i + 1) % 4]);
    return;
  }
  TSpanPainter line(*dc, dc->PenPixel(), st.Rop2);
  for (int y = visible.Top; y < visible.Bottom; ++y) {
    TInterval r = outer.Row(y);
    if (r.Empty()) continue;
    TInterval in = innerRow(y);
    if (in.Empty()) {
      line.Span(y, r.A, r.B);
    } else {
      line.Span(y, r.A, in.A);
      line.Span(y, in.B, r.B);
    }
  }
}

struct TEdge {
  long long X0, Y0, X1, Y1;  // Y0 < Y1
  int Dir;
};

void FillPolygon(HDC dc, const TPoint* pts, int count) {
  const TDCState& st = dc->State();
  TSpanPainter fill(*dc, *st.Brush, st.Rop2);
  if (!fill.Active()) return;
  TPoint o = dc->LogicalToSurfaceOffset();
  std::vector<TEdge> edges;
  int top = INT32_MAX, bottom = INT32_MIN;
  for (int i = 0; i < count; ++i) {
    TPoint a = pts[i] + o, b = pts[(i + 1) % count] + o;
    if (a.Y == b.Y) continue;
    int dir = a.Y < b.Y ? 1 : -1;
    if (a.Y > b.Y) std::swap(a, b);
    edges.push_back({a.X, a.Y, b.X, b.Y, dir});
    top = std::min(top, a.Y);
    bottom = std::max(bottom, b.Y);
  }
  if (edges.empty()) return;
  const TClipRects& clip = dc->Clip();
  top = std::max(top, clip.Bounds.Top);
  bottom = std::min(bottom, clip.Bounds.Bottom);
  bool winding = st.PolyFillMode == WINDING;
  std::vector<std::pair<long long, int>> xs;
  for (int y = top; y < bottom; ++y) {
    // Scan at the pixel centres y + 0.5; each crossing gives the first pixel whose centre lies
    // right of it: ceil(x - 0.5) = ceil(num / (2 D)).
    xs.clear();
    for (const TEdge& e : edges) {
      if (!(e.Y0 <= y && y < e.Y1)) continue;
      long long D = 2 * (e.Y1 - e.Y0);
      long long num = (2 * e.X0 - 1) * D + 2 * (2LL * y + 1 - 2 * e.Y0) * (e.X1 - e.X0);
      long long den = 2 * D;
      long long q = num >= 0 ? (num + den - 1) / den : -((-num) / den);
      xs.push_back({q, e.Dir});
    }
    std::sort(xs.begin(), xs.end());
    int wind = 0;
    for (size_t i = 0; i + 1 < xs.size(); ++i) {
      wind += xs[i].second;
      bool inside = winding ? wind != 0 : (i % 2) == 0;
      if (inside && xs[i].first < xs[i + 1].first)
        fill.Span(y, static_cast<int>(xs[i].first), static_cast<int>(xs[i + 1].first));
    }
  }
}
}  // namespace

bool Polygon(HDC dc, const TPoint* points, int count) {
  if (!dc || !points || count < 2 || !PointsInRange(dc, points, count)) return false;
  FillPolygon(dc, points, count);
  StrokeClosedPath(dc, points, count);
  return true;
}

namespace {
bool BoxInRange(HDC dc, int left, int top, int right, int bottom) {
  TPoint corners[2] = {{left, top}, {right, bottom}};
  return PointsInRange(dc, corners, 2);
}
}  // namespace

bool Rectangle(HDC dc, int left, int top, int right, int bottom) {
  if (!dc || !BoxInRange(dc, left, top, right, bottom)) return false;
  PaintFigure(dc, TRect(left, top, right, bottom), 0, 0);
  return true;
}

bool RoundRect(HDC dc, int left, int top, int right, int bottom, int ew, int eh) {
  if (!dc || !BoxInRange(dc, left, top, right, bottom) || !CoordinateInRange(ew) || !CoordinateInRange(eh)) return false;
  PaintFigure(dc, TRect(left, top, right, bottom), std::abs(ew), std::abs(eh));
  return true;
}

bool Ellipse(HDC dc, int left, int top, int right, int bottom) {
  if (!dc || !BoxInRange(dc, left, top, right, bottom)) return false;
  int w = std::abs(right - left), h = std::abs(bottom - top);
  PaintFigure(dc, TRect(left, top, right, bottom), w, h);
  return true;
}

int FrameRect(HDC dc, const TRect& r, HBRUSH brush) {
  if (!dc) return 0;
  auto b = BrushFromHandle(brush);
  if (!b) return 0;
  if (r.IsEmpty()) return 1;
  TRect s = dc->ToSurface(r);
  TSpanPainter paint(*dc, *b, R2_COPYPEN);
  paint.Rect({s.Left, s.Top, s.Right, s.Top + 1});
  if (s.Height() > 1) paint.Rect({s.Left, s.Bottom - 1, s.Right, s.Bottom});
  if (s.Height() > 2) {
    paint.Rect({s.Left, s.Top + 1, s.Left + 1, s.Bottom - 1});
    if (s.Width() > 1) paint.Rect({s.Right - 1, s.Top + 1, s.Right, s.Bottom - 1});
  }
  return 1;
}

bool InvertRect(HDC dc, const TRect& r) {
  if (!dc) return false;
  TSpanPainter paint(*dc, 0u, R2_NOT);
  paint.Rect(dc->ToSurface(r));
  return true;
}

bool DrawFocusRect(HDC dc, const TRect& r) {
  if (!dc || !BoxInRange(dc, r.Left, r.Top, r.Right, r.Bottom)) return false;
  if (r.IsEmpty()) return true;
  TPoint dev = dc->LogicalToDeviceOffset();
  TPoint o = dc->LogicalToSurfaceOffset();
  TSpanPainter paint(*dc, 0xFFFFFFu, R2_XORPEN);
  auto dot = [&](int x, int y) {
    if (((x + dev.X + y + dev.Y) & 1) == 0) paint.Pixel(x + o.X, y + o.Y);
  };
  // Only the visible part of the frame is walked.
  TRect vis = paint.Bounds().Offsetted(-o.X, -o.Y).Intersect(r);
  if (vis.IsEmpty()) return true;
  // Each pixel of the frame exactly once (a frame one pixel high or wide has no second side).
  for (int x = vis.Left; x < vis.Right; ++x) {
    if (r.Top >= vis.Top) dot(x, r.Top);
    if (r.Height() > 1 && r.Bottom - 1 < vis.Bottom) dot(x, r.Bottom - 1);
  }
  for (int y = std::max(r.Top + 1, vis.Top); y < std::min(r.Bottom - 1, vis.Bottom); ++y) {
    if (r.Left >= vis.Left) dot(r.Left, y);
    if (r.Width() > 1 && r.Right - 1 < vis.Right) dot(r.Right - 1, y);
  }
  return true;
}

bool FillRgn(HDC dc, HRGN rgn, HBRUSH brush) {
  if (!dc) return false;
  const TRegion* region = RegionOfHandle(rgn);
  auto b = BrushFromHandle(brush);
  if (!region || !b) return false;
  TSpanPainter paint(*dc, *b, R2_COPYPEN);
  for (const TRect& r : region->Rects()) paint.Rect(dc->ToSurface(r));
  return true;
}

bool FrameRgn(HDC dc, HRGN rgn, HBRUSH brush, int width, int height) {
  if (!dc || width < 1 || height < 1) return false;
  const TRegion* region = RegionOfHandle(rgn);
  auto b = BrushFromHandle(brush);
  if (!region || !b) return false;
  // The frame: the region minus the region shrunk by width horizontally and height vertically.
  TRegion inner = *region;
  for (int dx : {-width, width}) {
    TRegion shifted = *region;
    shifted.Offset(dx, 0);
    inner.Intersect(shifted);
  }
  for (int dy : {-height, height}) {
    TRegion shifted = *region;
    shifted.Offset(0, dy);
    inner.Intersect(shifted);
  }
  TRegion frame = *region;
  frame.Subtract(inner);
  TSpanPainter paint(*dc, *b, R2_COPYPEN);
  for (const TRect& r : frame.Rects()) paint.Rect(dc->ToSurface(r));
  return true;
}

// ---- gradients ----

namespace {
uint32_t Lerp16(uint16_t a, uint16_t b, long long num, long long den) {
  long long v = a + (static_cast<long long>(b) - a) * num / den;
  return static_cast<uint32_t>(v >> 8);
}
}  // namespace

bool GradientFill(HDC dc, const TRIVERTEX* v, unsigned nv, const GRADIENT_RECT* rects, unsigned nr, unsigned mode) {
  if (!dc || !v || !rects || (mode != GRADIENT_FILL_RECT_H && mode != GRADIENT_FILL_RECT_V)) return false;
  TSurface* s = dc->Surface();
  if (!s) return false;
  for (unsigned i = 0; i < nr; ++i) {
    if (rects[i].UpperLeft >= nv || rects[i].LowerRight >= nv) return false;
  }
  for (unsigned i = 0; i < nv; ++i) {
    TPoint p(v[i].x, v[i].y);
    if (!PointsInRange(dc, &p, 1)) return false;
  }
  TPoint o = dc->LogicalToSurfaceOffset();
  for (unsigned i = 0; i < nr; ++i) {
    const TRIVERTEX& a = v[rects[i].UpperLeft];
    const TRIVERTEX& b = v[rects[i].LowerRight];
    TRect r(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y));
    if (r.IsEmpty()) continue;
    // The colours run from the vertex with the smaller coordinate.
    bool vertical = mode == GRADIENT_FILL_RECT_V;
    const TRIVERTEX& c0 = (vertical ? a.y <= b.y : a.x <= b.x) ? a : b;
    const TRIVERTEX& c1 = &c0 == &a ? b : a;
    int extent = vertical ? r.Height() : r.Width();
    TRect sr = r.Offsetted(o.X, o.Y);
    TRect vis = sr.Intersect(dc->Clip().Bounds);
    if (vis.IsEmpty()) continue;
    int k0 = vertical ? vis.Top - sr.Top : vis.Left - sr.Left;
    int k1 = vertical ? vis.Bottom - sr.Top : vis.Right - sr.Left;
    for (int k = k0; k < k1; ++k) {
      uint32_t px = PixelARGB(0xFF, Lerp16(c0.Red, c1.Red, k, extent), Lerp16(c0.Green, c1.Green, k, extent),
                              Lerp16(c0.Blue, c1.Blue, k, extent));
      TSpanPainter paint(*dc, px, R2_COPYPEN);
      if (vertical) paint.Rect({sr.Left, sr.Top + k, sr.Right, sr.Top + k + 1});
      else paint.Rect({sr.Left + k, sr.Top, sr.Left + k + 1, sr.Bottom});
    }
  }
  return true;
}

bool GradientFillRect(HDC dc, const TRect& r, COLORREF from, COLORREF to, bool vertical) {
  TColor f = ColorToRGB(from), t = ColorToRGB(to);
  TRIVERTEX v[2];
  v[0].x = r.Left;
  v[0].y = r.Top;
  v[0].Red = static_cast<uint16_t>(GetRValue(f) << 8);
  v[0].Green = static_cast<uint16_t>(GetGValue(f) << 8);
  v[0].Blue = static_cast<uint16_t>(GetBValue(f) << 8);
  v[1].x = r.Right;
  v[1].y = r.Bottom;
  v[1].Red = static_cast<uint16_t>(GetRValue(t) << 8);
  v[1].Green = static_cast<uint16_t>(GetGValue(t) << 8);
  v[1].Blue = static_cast<uint16_t>(GetBValue(t) << 8);
  GRADIENT_RECT gr;
  return GradientFill(dc, v, 2, &gr, 1, vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
}
