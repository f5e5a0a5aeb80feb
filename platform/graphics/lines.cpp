// Pixels, lines and polylines.
#include <vector>

#include "platform/graphics/primitives.h"
#include "platform/graphics/stroke.h"

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color) {
  TPoint at(x, y);
  if (!dc || color == CLR_INVALID || !PointsInRange(dc, &at, 1)) return CLR_INVALID;
  TPoint p = dc->ToSurface(TPoint(x, y));
  TSpanPainter paint(*dc, ColorToOpaquePixel(color), R2_COPYPEN);
  paint.Pixel(p.X, p.Y);
  return ColorToRGB(color);
}

bool SetPixelV(HDC dc, int x, int y, COLORREF color) { return SetPixel(dc, x, y, color) != CLR_INVALID; }

COLORREF GetPixel(HDC dc, int x, int y) {
  TPoint at(x, y);
  if (!dc || !PointsInRange(dc, &at, 1) || !PtVisible(dc, x, y)) return CLR_INVALID;
  TPoint p = dc->ToSurface(TPoint(x, y));
  uint32_t v = dc->Surface()->Row(p.Y)[p.X];
  return RGB(static_cast<int>(PixelRed(v)), static_cast<int>(PixelGreen(v)), static_cast<int>(PixelBlue(v)));
}

bool MoveToEx(HDC dc, int x, int y, TPoint* old) {
  if (!dc) return false;
  if (old) *old = dc->State().CurrentPos;
  dc->State().CurrentPos = {x, y};
  return true;
}

bool GetCurrentPositionEx(HDC dc, TPoint* pos) {
  if (!dc || !pos) return false;
  *pos = dc->State().CurrentPos;
  return true;
}

bool LineTo(HDC dc, int x, int y) {
  if (!dc) return false;
  TPoint from = dc->State().CurrentPos;
  TPoint ends[2] = {from, {x, y}};
  if (!PointsInRange(dc, ends, 2)) return false;
  {
    TPenStroker stroke(*dc);
    stroke.Segment(dc->ToSurface(from), dc->ToSurface(TPoint(x, y)));
  }
  dc->State().CurrentPos = {x, y};
  return true;
}

namespace {
void StrokePath(HDC dc, const TPoint* points, int count, bool close) {
  TPenStroker stroke(*dc);
  if (stroke.IsNull()) return;
  TPoint o = dc->LogicalToSurfaceOffset();
  for (int i = 0; i + 1 < count; ++i) stroke.Segment(points[i] + o, points[i + 1] + o);
  if (close && count > 1) stroke.Segment(points[count - 1] + o, points[0] + o);
}
}  // namespace

bool Polyline(HDC dc, const TPoint* points, int count) {
  if (!dc || !points || count < 2 || !PointsInRange(dc, points, count)) return false;
  StrokePath(dc, points, count, false);
  return true;
}

bool PolylineTo(HDC dc, const TPoint* points, int count) {
  if (!dc || !points || count < 1) return false;
  std::vector<TPoint> path;
  path.reserve(static_cast<size_t>(count) + 1);
  path.push_back(dc->State().CurrentPos);
  path.insert(path.end(), points, points + count);
  if (!PointsInRange(dc, path.data(), static_cast<int>(path.size()))) return false;
  StrokePath(dc, path.data(), static_cast<int>(path.size()), false);
  dc->State().CurrentPos = points[count - 1];
  return true;
}

// Used by Polygon (shapes.cpp).
void StrokeClosedPath(HDC dc, const TPoint* points, int count) { StrokePath(dc, points, count, true); }
