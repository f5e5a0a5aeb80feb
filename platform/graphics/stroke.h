#pragma once
// Strokes lines with a device context's pen: thin solid lines as runs of pixels, styled pens by
// their dash pattern, wide pens as round-ended thick lines. Coordinates are surface coordinates.
#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <vector>

#include "platform/graphics/raster.h"

class TPenStroker {
public:
  explicit TPenStroker(TDeviceContext& dc);
  ~TPenStroker();
  TPenStroker(const TPenStroker&) = delete;
  TPenStroker& operator=(const TPenStroker&) = delete;

  bool IsNull() const { return FNull; }
  int Width() const { return FWidth; }
  // A segment from a up to (excluding) b. Wide pens cover both ends with round caps.
  void Segment(TPoint a, TPoint b);

private:
  void Plot(int x, int y, long long step);
  void Stamp(int x, int y);
  TRect Reach() const;  // where pixels of a stroke can land (the clip grown by the pen)

  bool FNull = false;
  int FWidth = 1;
  std::optional<TSpanPainter> FPaint;
  std::optional<TSpanPainter> FGap;  // opaque gaps of styled pens
  const int* FPattern = nullptr;     // dash lengths, on/off alternating; null = solid
  int FPatternLen = 0, FPatternTotal = 0;
  long long FPatternBase = 0;  // steps drawn by earlier segments: the pattern runs on
  // Wide pens: spans per row, merged before painting so that no pixel is written twice.
  std::map<int, std::vector<std::pair<int, int>>> FRows;
  std::vector<std::pair<int, int>> FDisc;  // per row offset: [x0, x1) relative to the centre
  int FDiscTop = 0;
};

// Rasterises a segment (end excluded), calling plot(x, y, i) for the pixels of step i in order,
// skipping the steps whose pixels lie outside `bounds` (so that very long lines cost only what
// is visible). The minor coordinate of step i is round(i * d / n), halves toward +infinity:
// floor((2 i d + n) / (2 n)).
template <class Plot>
void RasterizeLine(TPoint a, TPoint b, const TRect& bounds, Plot&& plot) {
  long long dx = static_cast<long long>(b.X) - a.X, dy = static_cast<long long>(b.Y) - a.Y;
  long long adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
  long long n = adx > ady ? adx : ady;
  if (n == 0 || bounds.IsEmpty()) return;
  bool xMajor = adx >= ady;
  long long major0 = xMajor ? a.X : a.Y, dMajor = xMajor ? dx : dy, dMinor = xMajor ? dy : dx;
  long long minor0 = xMajor ? a.Y : a.X;
  long long lo = xMajor ? bounds.Left : bounds.Top, hi = xMajor ? bounds.Right : bounds.Bottom;
  long long mlo = xMajor ? bounds.Top : bounds.Left, mhi = xMajor ? bounds.Bottom : bounds.Right;
  // Steps whose major coordinate is inside.
  long long i0 = 0, i1 = n;  // [i0, i1)
  if (dMajor > 0) {
    i0 = std::max(i0, lo - major0);
    i1 = std::min(i1, hi - major0);
  } else {
    i0 = std::max(i0, major0 - hi + 1);
    i1 = std::min(i1, major0 - lo + 1);
  }
  // Steps whose minor coordinate can be inside (with a step of margin either way).
  if (dMinor != 0) {
    double t0 = static_cast<double>(mlo - 1 - minor0) * static_cast<double>(n) / static_cast<double>(dMinor);
    double t1 = static_cast<double>(mhi + 1 - minor0) * static_cast<double>(n) / static_cast<double>(dMinor);
    if (t0 > t1) std::swap(t0, t1);
    i0 = std::max(i0, static_cast<long long>(std::floor(t0)) - 1);
    i1 = std::min(i1, static_cast<long long>(std::ceil(t1)) + 2);
  } else if (minor0 < mlo || minor0 >= mhi) {
    return;
  }
  long long sMajor = dMajor < 0 ? -1 : 1;
  for (long long i = i0; i < i1; ++i) {
    long long num = 2 * i * dMinor + n;
    long long q = num >= 0 ? num / (2 * n) : -((-num + 2 * n - 1) / (2 * n));
    long long major = major0 + i * sMajor, minor = minor0 + q;
    if (xMajor) plot(static_cast<int>(major), static_cast<int>(minor), i);
    else plot(static_cast<int>(minor), static_cast<int>(major), i);
  }
}
