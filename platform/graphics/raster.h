#pragma once
// Clipped pixel writing shared by the primitives: spans and pixels in surface coordinates,
// cut by a device context's effective clip, combined with the raster operation, and added to
// the context's dirty rectangle.
#include <cstdint>
#include <utility>

#include "platform/graphics/dc.h"

// Every pixel of r (already inside the surface) := value. No clipping.
void FillSurfaceRect(TSurface& s, const TRect& r, uint32_t value);
// Combines `pen` into n pixels with a binary raster operation. Results are opaque.
void ApplyRop2(uint32_t* px, int n, uint32_t pen, int rop2);

// Row j (0 <= j < h) of the ellipse inscribed in a w x h box at the origin: the pixels x in
// [first, second) whose centres lie inside (exact integer test); first >= second when empty.
std::pair<int, int> EllipseRowSpan(int w, int h, int j);

// Paints horizontal spans and single pixels with one colour (or a brush) through the clip.
class TSpanPainter {
public:
  // A solid colour with a raster operation.
  TSpanPainter(TDeviceContext& dc, uint32_t pixel, int rop2);
  // A brush (solid, hatched or pattern) with a raster operation; the DC's brush colour, brush
  // origin and background mode apply.
  TSpanPainter(TDeviceContext& dc, const TGdiBrush& brush, int rop2);
  ~TSpanPainter();
  TSpanPainter(const TSpanPainter&) = delete;
  TSpanPainter& operator=(const TSpanPainter&) = delete;

  bool Active() const { return FSurface != nullptr; }
  // Pixels x0 <= x < x1 of row y (surface coordinates).
  void Span(int y, int x0, int x1);
  void Pixel(int x, int y) { Span(y, x, x + 1); }
  // A rectangle (surface coordinates).
  void Rect(const TRect& r);
  // Everything the painter can write lies inside these bounds (surface coordinates); loops
  // over pixels stay inside them.
  TRect Bounds() const { return FSurface ? FClip->Bounds : TRect(); }

private:
  void Write(int y, int x0, int x1);
  void SetupBrush(const TGdiBrush& brush);

  TDeviceContext& FDC;
  TSurface* FSurface = nullptr;
  const TClipRects* FClip = nullptr;
  uint32_t FPixel = 0;
  int FRop = R2_COPYPEN;
  // Brush patterns: a tile in surface space, indexed by ((x - ox) mod w, (y - oy) mod h).
  const TSurface* FTile = nullptr;
  std::shared_ptr<TSurface> FOwnTile;
  bool FTileMask = false;  // hatch: tile alpha 0 means "leave the pixel" (transparent mode)
  int FTileOX = 0, FTileOY = 0;
  TRect FDirty;
};
