#include "support.h"

namespace kvtest {
std::unique_ptr<TPngImage> CoordinatePicture(int w, int h) {
  auto png = std::make_unique<TPngImage>();
  png->SetSize(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      png->Pixels().Row(y)[x] = PixelARGB(255, x & 0xFF, y & 0xFF, static_cast<uint32_t>((x >> 8) << 4 | (y >> 8)));
  return png;
}

std::optional<TPoint> SourceOf(const TBitmap& target, int x, int y) {
  uint32_t p = target.ScanLine(y)[x];
  if (PixelAlpha(p) != 255) return std::nullopt;
  return TPoint{static_cast<int>(PixelRed(p) | (PixelBlue(p) >> 4) << 8),
                static_cast<int>(PixelGreen(p) | (PixelBlue(p) & 15) << 8)};
}

TTarget::TTarget(int w, int h) {
  Bitmap.SetPixelFormat(pf32bit);
  Bitmap.SetAlphaFormat(afPremultiplied);
  Bitmap.SetSize(w, h);
}

int TTarget::CountDrawn(const TRect& r) const {
  int n = 0;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x) n += At(x, y) != 0;
  return n;
}

TkvImageCollectionItem* AddItem(TkvImageCollection& c, const TGraphic& picture, TkvImageDrawStyle style, int offsetX,
                                int offsetY) {
  TkvImageCollectionItem* item = c.Images()->Add();
  TPicture p;
  p.Assign(&picture);
  item->SetPicture(&p);
  item->SetDrawStyle(style);
  item->SetTileOffsetX(offsetX);
  item->SetTileOffsetY(offsetY);
  return item;
}
}  // namespace kvtest
