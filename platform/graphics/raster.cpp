#include "platform/graphics/raster.h"

#include <pixman.h>

#include <algorithm>
#include <cmath>

void FillSurfaceRect(TSurface& s, const TRect& r, uint32_t value) {
  int w = r.Width(), h = r.Height();
  if (w <= 0 || h <= 0) return;
  if (w * h >= 4096) {
    pixman_fill(s.Pixels(), s.Stride(), 32, r.Left, r.Top, w, h, value);
    return;
  }
  for (int y = r.Top; y < r.Bottom; ++y) std::fill_n(s.Row(y) + r.Left, w, value);
}

void ApplyRop2(uint32_t* px, int n, uint32_t pen, int rop2) {
  const uint32_t P = pen & 0xFFFFFF;
  auto each = [&](auto op) {
    for (int i = 0; i < n; ++i) px[i] = 0xFF000000u | (op(px[i] & 0xFFFFFF) & 0xFFFFFF);
  };
  switch (rop2) {
    case R2_BLACK: std::fill_n(px, n, 0xFF000000u); break;
    case R2_WHITE: std::fill_n(px, n, 0xFFFFFFFFu); break;
    case R2_NOP: break;
    case R2_COPYPEN: std::fill_n(px, n, 0xFF000000u | P); break;
    case R2_NOTCOPYPEN: std::fill_n(px, n, 0xFF000000u | (~P & 0xFFFFFF)); break;
    case R2_NOT: each([](uint32_t d) { return ~d; }); break;
    case R2_XORPEN: each([P](uint32_t d) { return d ^ P; }); break;
    case R2_NOTXORPEN: each([P](uint32_t d) { return ~(d ^ P); }); break;
    case R2_MASKPEN: each([P](uint32_t d) { return d & P; }); break;
    case R2_NOTMASKPEN: each([P](uint32_t d) { return ~(d & P); }); break;
    case R2_MERGEPEN: each([P](uint32_t d) { return d | P; }); break;
    case R2_NOTMERGEPEN: each([P](uint32_t d) { return ~(d | P); }); break;
    case R2_MASKNOTPEN: each([P](uint32_t d) { return d & ~P; }); break;
    case R2_MASKPENNOT: each([P](uint32_t d) { return P & ~d; }); break;
    case R2_MERGENOTPEN: each([P](uint32_t d) { return d | ~P; }); break;
    case R2_MERGEPENNOT: each([P](uint32_t d) { return P | ~d; }); break;
    default: std::fill_n(px, n, 0xFF000000u | P); break;
  }
}

std::pair<int, int> EllipseRowSpan(int w, int h, int j) {
  if (w <= 0 || h <= 0 || j < 0 || j >= h) return {0, 0};
  // (2x + 1 - w)^2 h^2 + (2j + 1 - h)^2 w^2 <= w^2 h^2, in 128 bits so that no box overflows.
  __extension__ typedef __int128 int128;
  int128 W = w, H = h, Y = 2 * static_cast<int128>(j) + 1 - h;
  int128 rhs = W * W * H * H - Y * Y * W * W;
  if (rhs < 0) return {0, 0};
  auto fits = [&](int128 X) { return X * X * H * H <= rhs; };
  int128 X = static_cast<int128>(std::sqrt(static_cast<double>(rhs) / (static_cast<double>(h) * h)));
  while (X > 0 && !fits(X)) --X;
  while (fits(X + 1)) ++X;
  if (((X + w + 1) & 1) != 0) --X;  // X = 2x + 1 - w has the parity of w + 1
  if (X < 0) return {0, 0};
  int x1 = static_cast<int>((X + w - 1) / 2);  // rightmost pixel
  return {w - 1 - x1, x1 + 1};
}

TSpanPainter::TSpanPainter(TDeviceContext& dc, uint32_t pixel, int rop2) : FDC(dc), FPixel(pixel), FRop(rop2) {
  FSurface = dc.Surface();
  if (FSurface) {
    FClip = &dc.Clip();
    if (FClip->Empty() || rop2 == R2_NOP) FSurface = nullptr;
  }
}

TSpanPainter::TSpanPainter(TDeviceContext& dc, const TGdiBrush& brush, int rop2) : FDC(dc), FRop(rop2) {
  FSurface = dc.Surface();
  if (FSurface) {
    FClip = &dc.Clip();
    if (FClip->Empty() || rop2 == R2_NOP || brush.Log.lbStyle == BS_NULL) FSurface = nullptr;
  }
  if (FSurface) SetupBrush(brush);
}

namespace {
// Rows of the six 8 x 8 hatch patterns, bit 7 = leftmost pixel.
constexpr uint8_t kHatch[6][8] = {
    {0x00, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00},  // horizontal
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08},  // vertical
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // forward diagonal (\)
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // backward diagonal (/)
    {0x08, 0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08},  // cross
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // diagonal cross
};
}  // namespace

void TSpanPainter::SetupBrush(const TGdiBrush& brush) {
  TPoint org = FDC.State().BrushOrg + FDC.DeviceOrigin();
  FTileOX = org.X;
  FTileOY = org.Y;
  if (brush.Log.lbStyle == BS_PATTERN && brush.Pattern && !brush.Pattern->IsEmpty()) {
    FTile = brush.Pattern.get();
    return;
  }
  FPixel = TDeviceContext::BrushPixel(brush, FDC.State().DCBrushColor);
  if (brush.Log.lbStyle == BS_HATCHED) {
    FOwnTile = std::make_shared<TSurface>(8, 8);
    bool opaque = FDC.State().BkMode == OPAQUE;
    uint32_t bk = FDC.BkPixel();
    const uint8_t* rows = kHatch[std::min<uintptr_t>(brush.Log.lbHatch, 5)];
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x)
        FOwnTile->Row(y)[x] = (rows[y] & (0x80 >> x)) ? FPixel : (opaque ? bk : 0u);
    FTile = FOwnTile.get();
    FTileMask = !opaque;
  }
}

TSpanPainter::~TSpanPainter() {
  if (!FDirty.IsEmpty()) FDC.AddDirty(FDirty);
}

void TSpanPainter::Span(int y, int x0, int x1) {
  if (!FSurface || x0 >= x1 || y < FClip->Bounds.Top || y >= FClip->Bounds.Bottom) return;
  if (x1 <= FClip->Bounds.Left || x0 >= FClip->Bounds.Right) return;
  for (const TRect& c : FClip->Rects) {
    if (c.Top > y) break;  // bands are sorted by y
    if (y >= c.Bottom) continue;
    int a = std::max(x0, c.Left), b = std::min(x1, c.Right);
    if (a < b) Write(y, a, b);
  }
}

void TSpanPainter::Rect(const TRect& r) {
  if (!FSurface || r.IsEmpty()) return;
  if (!FTile && FRop == R2_COPYPEN) {
    for (const TRect& c : FClip->Rects) {
      TRect i = c.Intersect(r);
      if (i.IsEmpty()) continue;
      FillSurfaceRect(*FSurface, i, FPixel | 0xFF000000u);
      UnionRect(FDirty, FDirty, i);
    }
    return;
  }
  TRect b = r.Intersect(FClip->Bounds);
  for (int y = b.Top; y < b.Bottom; ++y) Span(y, b.Left, b.Right);
}

void TSpanPainter::Write(int y, int x0, int x1) {
  uint32_t* row = FSurface->Row(y);
  UnionRect(FDirty, FDirty, TRect(x0, y, x1, y + 1));
  if (!FTile) {
    if (FRop == R2_COPYPEN) std::fill(row + x0, row + x1, FPixel | 0xFF000000u);
    else ApplyRop2(row + x0, x1 - x0, FPixel, FRop);
    return;
  }
  const int tw = FTile->Width(), th = FTile->Height();
  const uint32_t* trow = FTile->Row((((y - FTileOY) % th) + th) % th);
  int tx = (((x0 - FTileOX) % tw) + tw) % tw;
  for (int x = x0; x < x1; ++x) {
    uint32_t p = trow[tx];
    if (++tx == tw) tx = 0;
    if (FTileMask && p == 0) continue;
    if (FRop == R2_COPYPEN) row[x] = p | 0xFF000000u;
    else ApplyRop2(row + x, 1, p, FRop);
  }
}
