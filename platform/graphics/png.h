#pragma once
// PNG pictures through libpng.
#include <memory>
#include <vector>

#include "platform/graphics/graphic.h"
#include "platform/graphics/surface.h"

struct TDecodedPng {
  std::shared_ptr<TSurface> Pixels;  // premultiplied
  bool HasAlpha = false;             // the file has an alpha channel or a transparent colour
};

// Raises EInvalidGraphic with the reason for data that is not a complete, valid PNG (bad
// signature, truncated, checksum errors, sizes over 32768 x 32768 or 2^28 pixels).
TDecodedPng DecodePng(const void* data, size_t size);
// Writes 8-bit RGBA (RGB when opaque is set); premultiplied pixels are divided first.
std::vector<uint8_t> EncodePng(const TSurface& pixels, bool premultiplied, bool opaque);
bool IsPngData(const void* data, size_t size);

class TBitmap;

// A PNG picture. Transparent (set on loading when the file has alpha) draws with per-pixel
// alpha; otherwise the picture is drawn opaque.
class TPngImage : public TGraphic {
  KV_CLASS(TPngImage, TGraphic)
public:
  TPngImage();
  ~TPngImage() override;
  void Assign(const TPersistent* Source) override;

  bool Empty() const override { return FPixels->IsEmpty(); }
  int Width() const override { return FPixels->Width(); }
  int Height() const override { return FPixels->Height(); }
  void SetSize(int AWidth, int AHeight) override;
  const TSurface& Pixels() const { return *FPixels; }
  TSurface& Pixels() { return *FPixels; }

  void LoadFromMemory(const void* Data, size_t Size) override;
  std::vector<uint8_t> SaveToMemory() const override;
  void Draw(TCanvas* ACanvas, const TRect& Rect, uint8_t Opacity = 255) const override;

protected:
  void AssignTo(TPersistent* Dest) const override;

private:
  std::shared_ptr<TSurface> FPixels;
};
