#pragma once
// Solid drawing in one colour straight on a canvas's device context, shared by the glyphs,
// frames and classic pieces. It leaves the canvas's pen, brush and font and the device
// context's state alone: pixels are written through the context's clip (and origin) by the
// raster layer's span painter, and lines follow the platform's pixel rule (from the start
// point up to, not including, the end point).
#include <optional>

#include "platform/graphics/canvas.h"
#include "platform/graphics/raster.h"

class TSolidPainter {
public:
  // A null canvas, or one without a device context, draws nothing.
  explicit TSolidPainter(TCanvas* Canvas, TColor Color = clBlack);
  explicit TSolidPainter(HDC DC, TColor Color = clBlack);
  ~TSolidPainter();
  TSolidPainter(const TSolidPainter&) = delete;
  TSolidPainter& operator=(const TSolidPainter&) = delete;

  bool Active() const { return FDC != nullptr; }
  HDC DC() const { return FDC; }
  void SetColor(TColor Color);
  TColor Color() const { return FColor; }

  void Fill(const TRect& R);
  void Pixel(int X, int Y);
  void MoveTo(int X, int Y) { FPos = {X, Y}; }
  // A line from the pen position to (X, Y), end point excluded; the pen position moves there.
  void LineTo(int X, int Y);
  // Horizontal run of W pixels from (X, Y); vertical run of H pixels from (X, Y).
  void HLine(int X, int Y, int W) { Fill({X, Y, X + W, Y + 1}); }
  void VLine(int X, int Y, int H) { Fill({X, Y, X + 1, Y + H}); }

private:
  HDC FDC = nullptr;
  std::optional<TSpanPainter> FSpans;
  TColor FColor = clBlack;
  TPoint FPos;
};
