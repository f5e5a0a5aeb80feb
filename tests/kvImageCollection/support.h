#pragma once
// Pictures whose pixels tell where they came from, and targets to draw them into.
#include <memory>
#include <optional>

#include "kv/kvImageCollection/kvImageCollection.h"

namespace kvtest {
// An opaque w x h PNG image whose pixel (x, y) encodes x and y (up to 4095 each).
std::unique_ptr<TPngImage> CoordinatePicture(int w, int h);
// The source point a target pixel shows, or nothing where no picture pixel landed (the target
// starts fully transparent and coordinate pictures are opaque).
std::optional<TPoint> SourceOf(const TBitmap& target, int x, int y);

// A premultiplied 32-bit target, fully transparent.
struct TTarget {
  TBitmap Bitmap;
  TTarget(int w, int h);
  TCanvas* Canvas() { return Bitmap.Canvas(); }
  uint32_t At(int x, int y) const { return Bitmap.ScanLine(y)[x]; }
  // Pixels that are not transparent.
  int CountDrawn(const TRect& r) const;
};

// A collection with one item holding a copy of the picture.
TkvImageCollectionItem* AddItem(TkvImageCollection& c, const TGraphic& picture, TkvImageDrawStyle style,
                                int offsetX = 0, int offsetY = 0);
}  // namespace kvtest
