#include "platform/graphics/stroke.h"

#include <algorithm>
#include <cmath>

namespace {
// Dash patterns of the styled pens, in pixels: on, off, on, off, ...
constexpr int kDash[] = {18, 6};
constexpr int kDot[] = {3, 3};
constexpr int kDashDot[] = {9, 6, 3, 6};
constexpr int kDashDotDot[] = {9, 3, 3, 3, 3, 3};
}  // namespace

TPenStroker::TPenStroker(TDeviceContext& dc) : FDC(dc) {
  const TDCState& s = dc.State();
  const TGdiPen& pen = *s.Pen;
  int style = pen.Style();
  if (style == PS_NULL || !dc.Surface()) {
    FNull = true;
    return;
  }
  FWidth = pen.Width();
  FPaint.emplace(dc, dc.PenPixel(), s.Rop2);
  if (!FPaint->Active()) {
    FNull = true;
    return;
  }
  switch (style) {
    case PS_DASH: FPattern = kDash; FPatternLen = 2; break;
    case PS_DOT: FPattern = kDot; FPatternLen = 2; break;
    case PS_DASHDOT: FPattern = kDashDot; FPatternLen = 4; break;
    case PS_DASHDOTDOT: FPattern = kDashDotDot; FPatternLen = 6; break;
    default: break;
  }
  if (FPattern) {
    FWidth = 1;
    FPatternLeft = FPattern[0];
    if (s.BkMode == OPAQUE) FGap.emplace(dc, dc.BkPixel(), s.Rop2);
  }
  if (FWidth > 1) {
    // Disc of diameter w centred on the pixel (on a pixel corner for even widths).
    int r0 = FWidth / 2, r1 = (FWidth - 1) / 2;
    double c = (r1 - r0) / 2.0, rad = FWidth / 2.0;
    FDiscTop = -r0;
    for (int oy = -r0; oy <= r1; ++oy) {
      int x0 = 1, x1 = 0;
      for (int ox = -r0; ox <= r1; ++ox) {
        double ddx = ox - c, ddy = oy - c;
        if (ddx * ddx + ddy * ddy <= rad * rad + 1e-9) {
          if (x0 > x1) x0 = ox;
          x1 = ox + 1;
        }
      }
      FDisc.push_back({x0, x1});
    }
  }
}

TPenStroker::~TPenStroker() {
  if (FRows.empty()) return;
  for (auto& [y, spans] : FRows) {
    std::sort(spans.begin(), spans.end());
    int a = spans[0].first, b = spans[0].second;
    for (size_t i = 1; i < spans.size(); ++i) {
      if (spans[i].first <= b) {
        b = std::max(b, spans[i].second);
      } else {
        FPaint->Span(y, a, b);
        a = spans[i].first;
        b = spans[i].second;
      }
    }
    FPaint->Span(y, a, b);
  }
}

void TPenStroker::Stamp(int x, int y) {
  for (size_t i = 0; i < FDisc.size(); ++i) {
    auto [x0, x1] = FDisc[i];
    if (x0 < x1) FRows[y + FDiscTop + static_cast<int>(i)].push_back({x + x0, x + x1});
  }
}

void TPenStroker::Plot(int x, int y) {
  if (!FPattern) {
    FPaint->Pixel(x, y);
    return;
  }
  bool on = (FPatternIndex % 2) == 0;
  if (on) FPaint->Pixel(x, y);
  else if (FGap) FGap->Pixel(x, y);
  if (--FPatternLeft == 0) {
    FPatternIndex = (FPatternIndex + 1) % FPatternLen;
    FPatternLeft = FPattern[FPatternIndex];
  }
}

void TPenStroker::Segment(TPoint a, TPoint b) {
  if (FNull) return;
  if (FWidth > 1) {
    RasterizeLine(a, b, [this](int x, int y) { Stamp(x, y); });
    Stamp(b.X, b.Y);  // round cap at the end
    return;
  }
  if (FPattern) {
    RasterizeLine(a, b, [this](int x, int y) { Plot(x, y); });
    return;
  }
  // Solid thin line: gather horizontal runs.
  int runY = 0, runX0 = 0, runX1 = 0;
  bool have = false;
  RasterizeLine(a, b, [&](int x, int y) {
    if (have && y == runY && (x == runX1 || x == runX0 - 1)) {
      if (x == runX1) ++runX1;
      else --runX0;
      return;
    }
    if (have) FPaint->Span(runY, runX0, runX1);
    have = true;
    runY = y;
    runX0 = x;
    runX1 = x + 1;
  });
  if (have) FPaint->Span(runY, runX0, runX1);
}
