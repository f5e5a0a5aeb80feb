#pragma once
// TSurface: a block of premultiplied ARGB32 pixels (alpha in bits 24..31, red 16..23, green
// 8..15, blue 0..7), row-major and top-down. Bitmaps, window back buffers and device contexts
// draw into surfaces; pixman and cairo read and write the same memory directly.
#include <cstddef>
#include <cstdint>

#include "platform/core/geometry.h"

typedef union pixman_image pixman_image_t;
typedef struct _cairo_surface cairo_surface_t;

class TSurface {
public:
  TSurface() = default;
  TSurface(int w, int h);
  ~TSurface();
  TSurface(const TSurface&) = delete;
  TSurface& operator=(const TSurface&) = delete;

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // Pixels per row (rows may be padded for alignment).
  int Stride() const { return FStride; }
  TRect BoundsRect() const { return {0, 0, FWidth, FHeight}; }
  bool IsEmpty() const { return FWidth <= 0 || FHeight <= 0; }

  uint32_t* Pixels() { return FPixels; }
  const uint32_t* Pixels() const { return FPixels; }
  // Row y (0 .. Height-1); raises EInvalidArgument outside.
  uint32_t* ScanLine(int y);
  const uint32_t* ScanLine(int y) const;
  // Unchecked pixel access for the layer's inner loops.
  uint32_t* Row(int y) { return FPixels + static_cast<ptrdiff_t>(y) * FStride; }
  const uint32_t* Row(int y) const { return FPixels + static_cast<ptrdiff_t>(y) * FStride; }

  // Resizes; the new contents are cleared to 0 (transparent black); an unchanged size keeps
  // the pixels. Negative sizes raise
  // EInvalidArgument; sizes whose pixel count does not fit memory raise EOutOfResources.
  void SetSize(int w, int h);
  // Resizes keeping the pixels of the part both sizes share (the rest is 0).
  void Resize(int w, int h);
  // Every pixel := value.
  void Fill(uint32_t value);

  // Views of the same pixels for the libraries; created on first use, kept until the size
  // changes. Null for an empty surface.
  pixman_image_t* PixmanImage();
  // The same pixels read with their alpha taken as opaque (x8r8g8b8).
  pixman_image_t* PixmanImageOpaque();
  cairo_surface_t* CairoSurface();
  // Tells cairo that the pixels changed behind its back (call before drawing with cairo
  // after other code wrote pixels).
  void MarkDirtyForCairo();

  // Counts size changes; views of the pixels held elsewhere compare it to notice a resize.
  uint64_t Generation() const { return FGeneration; }

private:
  void ReleaseViews();
  void Allocate(int w, int h);

  int FWidth = 0, FHeight = 0, FStride = 0;
  uint32_t* FPixels = nullptr;
  pixman_image_t* FPixman = nullptr;
  pixman_image_t* FPixmanOpaque = nullptr;
  cairo_surface_t* FCairo = nullptr;
  uint64_t FGeneration = 0;
};

// Packing of colour channels into a premultiplied pixel.
constexpr uint32_t PixelARGB(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
  return (a << 24) | (r << 16) | (g << 8) | b;
}
constexpr uint32_t PixelAlpha(uint32_t p) { return p >> 24; }
constexpr uint32_t PixelRed(uint32_t p) { return (p >> 16) & 0xFF; }
constexpr uint32_t PixelGreen(uint32_t p) { return (p >> 8) & 0xFF; }
constexpr uint32_t PixelBlue(uint32_t p) { return p & 0xFF; }
