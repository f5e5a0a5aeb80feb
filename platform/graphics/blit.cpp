// Block transfers between device contexts.
#include <cstring>
#include <vector>

#include "platform/graphics/dc.h"
#include "platform/graphics/raster.h"

namespace {
bool IsPatternOnly(uint32_t rop) {
  return rop == PATCOPY || rop == PATINVERT || rop == DSTINVERT || rop == BLACKNESS || rop == WHITENESS;
}

// Combines a row of source pixels into a row of destination pixels.
void CombineRow(uint32_t* d, const uint32_t* s, int n, uint32_t rop) {
  switch (rop) {
    case SRCCOPY: std::memcpy(d, s, static_cast<size_t>(n) * 4u); return;
    case SRCPAINT: for (int i = 0; i < n; ++i) d[i] = 0xFF000000u | d[i] | s[i]; return;
    case SRCAND: for (int i = 0; i < n; ++i) d[i] = 0xFF000000u | (d[i] & s[i]); return;
    case SRCINVERT: for (int i = 0; i < n; ++i) d[i] = 0xFF000000u | ((d[i] ^ s[i]) & 0xFFFFFF); return;
    case SRCERASE: for (int i = 0; i < n; ++i) d[i] = 0xFF000000u | (s[i] & ~d[i]); return;
    case NOTSRCCOPY: for (int i = 0; i < n; ++i) d[i] = 0xFF000000u | ~s[i]; return;
    case NOTSRCERASE: for (int i = 0; i < n; ++i) d[i] = 0xFF000000u | ~(d[i] | s[i]); return;
    case MERGEPAINT: for (int i = 0; i < n; ++i) d[i] = 0xFF000000u | (d[i] | ~s[i]); return;
    default: return;
  }
}

bool IsSupportedSourceRop(uint32_t rop) {
  switch (rop) {
    case SRCCOPY: case SRCPAINT: case SRCAND: case SRCINVERT: case SRCERASE: case NOTSRCCOPY:
    case NOTSRCERASE: case MERGEPAINT: return true;
    default: return false;
  }
}
}  // namespace

bool BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, uint32_t rop) {
  if (!dst) return false;
  if (IsPatternOnly(rop)) return PatBlt(dst, x, y, w, h, rop);
  if (!src || !IsSupportedSourceRop(rop)) return false;
  if (!BlockInRange(dst, x, y, w, h) || !BlockInRange(src, sx, sy, w, h)) return false;
  TSurface* ss = src->Surface();
  TSurface* ds = dst->Surface();
  if (!ss || !ds) return false;
  if (w <= 0 || h <= 0) return true;
  TRect D = dst->ToSurface(TRect(x, y, x + w, y + h));
  TPoint S0 = src->ToSurface(TPoint(sx, sy));
  int dx = S0.X - D.Left, dy = S0.Y - D.Top;  // source = destination + (dx, dy)
  TRect valid = D.Intersect(ss->BoundsRect().Offsetted(-dx, -dy));
  if (valid.IsEmpty()) return true;
  const TClipRects& clip = dst->Clip();

  // Within one surface, copy the source block aside first so that overlapping blocks and
  // several clip rectangles never read pixels already overwritten.
  std::vector<uint32_t> temp;
  const uint32_t* base = nullptr;
  ptrdiff_t baseStride = 0;
  TPoint baseOrigin;  // surface point of base[0]
  if (ss == ds) {
    TRect sb = valid.Offsetted(dx, dy);
    temp.resize(static_cast<size_t>(sb.Width()) * static_cast<size_t>(sb.Height()));
    for (int r = 0; r < sb.Height(); ++r)
      std::memcpy(&temp[static_cast<size_t>(r) * static_cast<size_t>(sb.Width())], ss->Row(sb.Top + r) + sb.Left,
                  static_cast<size_t>(sb.Width()) * 4u);
    base = temp.data();
    baseStride = sb.Width();
    baseOrigin = sb.TopLeft();
  } else {
    base = ss->Pixels();
    baseStride = ss->Stride();
  }
  for (const TRect& c : clip.Rects) {
    TRect r = c.Intersect(valid);
    if (r.IsEmpty()) continue;
    for (int row = r.Top; row < r.Bottom; ++row) {
      const uint32_t* s = base + (row + dy - baseOrigin.Y) * baseStride + (r.Left + dx - baseOrigin.X);
      CombineRow(ds->Row(row) + r.Left, s, r.Width(), rop);
    }
    dst->AddDirty(r);
  }
  return true;
}
