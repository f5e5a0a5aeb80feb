#pragma once
// Strokes lines with a device context's pen: thin solid lines as runs of pixels, styled pens by
// their dash pattern, wide pens as round-ended thick lines. Coordinates are surface coordinates.
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
  void Plot(int x, int y);
  void Stamp(int x, int y);

  TDeviceContext& FDC;
  bool FNull = false;
  int FWidth = 1;
  std::optional<TSpanPainter> FPaint;
  std::optional<TSpanPainter> FGap;  // opaque gaps of styled pens
  const int* FPattern = nullptr;     // dash lengths, on/off alternating; null = solid
  int FPatternLen = 0;
  int FPatternIndex = 0, FPatternLeft = 0;
  // Wide pens: spans per row, merged before painting so that no pixel is written twice.
  std::map<int, std::vector<std::pair<int, int>>> FRows;
  std::vector<std::pair<int, int>> FDisc;  // per row offset: [x0, x1) relative to the centre
  int FDiscTop = 0;
};

// Rasterises a segment (end excluded), calling plot(x, y) for each pixel in order, or
// run(y, x0, x1) for horizontal runs when `runs` is set and the line is x-major.
template <class Plot>
void RasterizeLine(TPoint a, TPoint b, Plot&& plot) {
  int dx = b.X - a.X, dy = b.Y - a.Y;
  int adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
  int n = adx > ady ? adx : ady;
  if (n == 0) return;
  int sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
  // Minor coordinate: round(i * d / n) with halves toward +infinity, i.e.
  // floor((2 i d + n) / (2 n)) computed incrementally.
  if (adx >= ady) {
    for (int i = 0; i < n; ++i) {
      long long num = 2LL * i * dy + n;
      long long q = num >= 0 ? num / (2LL * n) : -((-num + 2LL * n - 1) / (2LL * n));
      plot(a.X + i * sx, a.Y + static_cast<int>(q));
    }
  } else {
    for (int i = 0; i < n; ++i) {
      long long num = 2LL * i * dx + n;
      long long q = num >= 0 ? num / (2LL * n) : -((-num + 2LL * n - 1) / (2LL * n));
      plot(a.X + static_cast<int>(q), a.Y + i * sy);
    }
  }
}
