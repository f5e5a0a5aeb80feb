#pragma once
// TBitmap: an off-screen picture of 32-bit pixels with a canvas.
//
// Pixels are stored as 32 bits (alpha 24..31, red 16..23, green 8..15, blue 0..7) for every
// pixel format; ScanLine returns rows of those pixels. The pixel format says how the alpha byte
// is read: pf24bit and pfDevice ignore it (the bitmap is opaque), pf32bit honours it according
// to AlphaFormat: afIgnored (opaque), afDefined (straight alpha) or afPremultiplied (colours
// already multiplied by alpha). Switching AlphaFormat to afPremultiplied multiplies each colour
// by its alpha; switching away from it divides again.
//
// Drawing: a pf32bit afPremultiplied bitmap blends per pixel (afDefined is premultiplied on the
// fly); a Transparent bitmap leaves out its transparent colour (the bottom-left pixel in
// tmAuto mode); every other bitmap is copied opaque.
#include <memory>

#include "platform/graphics/canvas.h"
#include "platform/graphics/graphic.h"
#include "platform/graphics/objects.h"

KV_ENUM(TPixelFormat, pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom)
KV_ENUM(TAlphaFormat, afIgnored, afDefined, afPremultiplied)
KV_ENUM(TTransparentMode, tmAuto, tmFixed)

class TBitmapCanvas;

class TBitmap : public TGraphic {
  KV_CLASS(TBitmap, TGraphic)
public:
  TBitmap();
  TBitmap(int AWidth, int AHeight);
  ~TBitmap() override;
  void Assign(const TPersistent* Source) override;

  bool Empty() const override { return FSurface->IsEmpty(); }
  int Width() const override { return FSurface->Width(); }
  int Height() const override { return FSurface->Height(); }
  // Keeps the pixels of the part both sizes share; new pixels are 0.
  void SetSize(int AWidth, int AHeight) override;

  TPixelFormat PixelFormat() const { return FPixelFormat; }
  // pfDevice, pf24bit and pf32bit; other formats raise EInvalidGraphicOperation.
  void SetPixelFormat(TPixelFormat Value);
  TAlphaFormat AlphaFormat() const { return FAlphaFormat; }
  void SetAlphaFormat(TAlphaFormat Value);
  TColor TransparentColor() const;
  void SetTransparentColor(TColor Value);
  TTransparentMode TransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode Value);

  // Row y; EInvalidGraphicOperation outside 0 .. Height-1.
  uint32_t* ScanLine(int Row);
  const uint32_t* ScanLine(int Row) const;

  TCanvas* Canvas();
  HBITMAP Handle() const { return FHandle; }
  TSurface& Surface() const { return *FSurface; }
  std::shared_ptr<TSurface> SharedSurface() const { return FSurface; }
  // True when the alpha bytes take part in drawing.
  bool HasAlpha() const { return FPixelFormat == pf32bit && FAlphaFormat != afIgnored; }

  void LoadFromMemory(const void* Data, size_t Size) override;
  std::vector<uint8_t> SaveToMemory() const override;
  void Draw(TCanvas* ACanvas, const TRect& Rect, uint8_t Opacity = 255) const override;

  // Takes over pixels (premultiplied) of a decoded picture.
  void TakePixels(std::shared_ptr<TSurface> Pixels, TPixelFormat Format, TAlphaFormat Alpha);

private:
  std::shared_ptr<TSurface> FSurface;
  HBITMAP FHandle = nullptr;
  TPixelFormat FPixelFormat = pfDevice;
  TAlphaFormat FAlphaFormat = afIgnored;
  TColor FTransparentColor = clDefault;
  TTransparentMode FTransparentMode = tmAuto;
  std::unique_ptr<TBitmapCanvas> FCanvas;
};

// Multiplies (or divides) the colour channels of every pixel by its alpha.
void PremultiplySurface(TSurface& s);
void UnpremultiplySurface(TSurface& s);
