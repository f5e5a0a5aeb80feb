#pragma once
// A region: a set of pixels kept as disjoint rectangles in y-x bands (rows of equal-height
// rectangles sorted by x, bands sorted by y, touching bands with equal spans merged). Update
// regions, clip regions and visible regions of windows are regions.
#include <vector>

#include "platform/core/geometry.h"

class TRegion {
public:
  TRegion() = default;
  explicit TRegion(const TRect& r);

  bool IsEmpty() const { return rects_.empty(); }
  const std::vector<TRect>& Rects() const { return rects_; }
  TRect Bounds() const;
  bool Contains(TPoint p) const;
  // True when any pixel of r is in the region.
  bool Intersects(const TRect& r) const;
  // True when every pixel of r is in the region.
  bool ContainsRect(const TRect& r) const;

  void Clear() { rects_.clear(); }
  void Offset(int dx, int dy);
  void Union(const TRegion& other);
  void Union(const TRect& r) { Union(TRegion(r)); }
  void Intersect(const TRegion& other);
  void Intersect(const TRect& r);
  void Subtract(const TRegion& other);
  void Subtract(const TRect& r) { Subtract(TRegion(r)); }

  bool operator==(const TRegion& o) const { return rects_ == o.rects_; }

private:
  enum class Op { Union, Intersect, Subtract };
  void Combine(const TRegion& other, Op op);
  std::vector<TRect> rects_;
};
