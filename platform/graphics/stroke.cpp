#include "platform/graphics/stroke.h"

#include <algorithm>
#include <cmath>

namespace {
// Wider pens are drawn this wide.
constexpr int kMaxPenWidth = 1024;
// Dash patterns of the styled pens, in pixels: on, off, on, off, ...
constexpr int kDash[] = {18, 6};
constexpr int kDot[] = {3, 3};
constexpr int kDashDot[] = {9, 6, 3, 6};
constexpr int kDashDotDot[] = {9, 3, 3, 3, 3, 3};
}  // namespace

TPenStroker::TPenStroker(TDeviceContext& dc) {
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
    for (int k = 0; k < FPatternLen; ++k) FPatternTotal += FPattern[k];
    if (s.BkMode == OPAQUE) FGap.emplace(dc, dc.BkPixel(), s.Rop2);
  }
  FWidth = std::min(FWidth, kMaxPenWidth);
  if (FWidth > 1) {
    // A disc of diameter w: the pixels of a w x w box whose centres lie in its inscribed circle.
    FDiscTop = -(FWidth / 2);
    for (int j = 0; j < FWidth; ++j) {
      auto [a, b] = EllipseRowSpan(FWidth, FWidth, j);
      FDisc.push_back({a - FWidth / 2, b - FWidth / 2});
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

TRect TPenStroker::Reach() const {
  TRect b = FPaint->Bounds();
  return b.IsEmpty() ? b : b.Inflated(FWidth, FWidth);
}

void TPenStroker::Plot(int x, int y, long long step) {
  // Which dash or gap the step falls in.
  long long phase = (FPatternBase + step) % FPatternTotal;
  int k = 0;
  while (phase >= FPattern[k]) phase -= FPattern[k++];
  if (k % 2 == 0) FPaint->Pixel(x, y);
  else if (FGap) FGap->Pixel(x, y);
}

void TPenStroker::Segment(TPoint a, TPoint b) {
  if (FNull) return;
  const TRect reach = Reach();
  if (FWidth > 1) {
    RasterizeLine(a, b, reach, [this](int x, int y, long long) { Stamp(x, y); });
    if (reach.Contains(b)) Stamp(b.X, b.Y);  // round cap at the end
    return;
  }
  if (FPattern) {
    RasterizeLine(a, b, reach, [this](int x, int y, long long i) { Plot(x, y, i); });
    FPatternBase += std::max(std::abs(static_cast<long long>(b.X) - a.X), std::abs(static_cast<long long>(b.Y) - a.Y));
    return;
  }
  // Solid thin line: gather horizontal runs.
  int runY = 0, runX0 = 0, runX1 = 0;
  bool have = false;
  RasterizeLine(a, b, reach, [&](int x, int y, long long) {
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
