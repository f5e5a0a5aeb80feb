// Scaled copies and alpha blending through pixman.
#include <pixman.h>

#include <cmath>
#include <cstring>
#include <memory>

#include "platform/graphics/blit.h"
#include "platform/graphics/raster.h"

namespace {
enum class TFilter { Nearest, Smooth };

// A source block for compositing: the image, the block in its coordinates and its mirroring.
struct TSourceBlock {
  TSurface* Surface = nullptr;
  TRect Block;  // normalised
  bool FlipX = false, FlipY = false;
  bool Opaque = false;  // read alpha as 255
  std::unique_ptr<TSurface> Copy;  // when the source is also the destination
};

// Copies the block aside when source and destination share a surface.
void DetachIfShared(TSourceBlock& s, TSurface* dst) {
  if (s.Surface != dst) return;
  TRect b = s.Block.Intersect(s.Surface->BoundsRect());
  s.Copy = std::make_unique<TSurface>(b.Width(), b.Height());
  for (int y = 0; y < b.Height(); ++y)
    std::memcpy(s.Copy->Row(y), s.Surface->Row(b.Top + y) + b.Left, static_cast<size_t>(b.Width()) * 4u);
  s.Block.Offset(-b.Left, -b.Top);
  s.Surface = s.Copy.get();
}

pixman_fixed_t Fixed(double v) { return static_cast<pixman_fixed_t>(std::lround(v * 65536.0)); }

// Composites the source block onto the destination block D (surface coordinates) through the
// destination's clip.
void Composite(TDeviceContext& dc, const TRect& D, TSourceBlock& s, pixman_op_t op, pixman_image_t* mask,
               TFilter filter) {
  TSurface* ds = dc.Surface();
  if (!ds || D.IsEmpty() || s.Block.IsEmpty()) return;
  DetachIfShared(s, ds);
  pixman_image_t* src = s.Opaque ? s.Surface->PixmanImageOpaque() : s.Surface->PixmanImage();
  pixman_image_t* dst = ds->PixmanImage();
  if (!src || !dst) return;
  const TRect& S = s.Block;
  bool scaled = S.Width() != D.Width() || S.Height() != D.Height() || s.FlipX || s.FlipY;
  if (scaled) {
    double fx = static_cast<double>(S.Width()) / D.Width(), fy = static_cast<double>(S.Height()) / D.Height();
    pixman_transform_t t;
    pixman_transform_init_identity(&t);
    t.matrix[0][0] = Fixed(s.FlipX ? -fx : fx);
    t.matrix[0][2] = pixman_int_to_fixed(s.FlipX ? S.Right : S.Left);
    t.matrix[1][1] = Fixed(s.FlipY ? -fy : fy);
    t.matrix[1][2] = pixman_int_to_fixed(s.FlipY ? S.Bottom : S.Top);
    pixman_image_set_transform(src, &t);
    pixman_image_set_repeat(src, PIXMAN_REPEAT_PAD);
    pixman_fixed_t* params = nullptr;
    int nparams = 0;
    if (filter == TFilter::Nearest) {
      pixman_image_set_filter(src, PIXMAN_FILTER_NEAREST, nullptr, 0);
    } else if (fx > 1.0 || fy > 1.0) {
      params = pixman_filter_create_separable_convolution(&nparams, Fixed(std::max(fx, 1.0)), Fixed(std::max(fy, 1.0)),
                                                          PIXMAN_KERNEL_BOX, PIXMAN_KERNEL_BOX, PIXMAN_KERNEL_BOX,
                                                          PIXMAN_KERNEL_BOX, 4, 4);
      pixman_image_set_filter(src, PIXMAN_FILTER_SEPARABLE_CONVOLUTION, params, nparams);
    } else {
      pixman_image_set_filter(src, PIXMAN_FILTER_BILINEAR, nullptr, 0);
    }
    for (const TRect& c : dc.Clip().Rects) {
      TRect r = c.Intersect(D);
      if (r.IsEmpty()) continue;
      pixman_image_composite32(op, src, mask, dst, r.Left - D.Left, r.Top - D.Top, 0, 0, r.Left, r.Top, r.Width(),
                               r.Height());
      dc.AddDirty(r);
    }
    pixman_image_set_transform(src, nullptr);
    pixman_image_set_repeat(src, PIXMAN_REPEAT_NONE);
    pixman_image_set_filter(src, PIXMAN_FILTER_NEAREST, nullptr, 0);
    free(params);
  } else {
    for (const TRect& c : dc.Clip().Rects) {
      TRect r = c.Intersect(D);
      if (r.IsEmpty()) continue;
      pixman_image_composite32(op, src, mask, dst, S.Left + (r.Left - D.Left), S.Top + (r.Top - D.Top), 0, 0, r.Left,
                               r.Top, r.Width(), r.Height());
      dc.AddDirty(r);
    }
  }
  ds->MarkDirtyForCairo();
}

// Normalises a possibly mirrored destination and source pair.
bool PrepareBlocks(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, TRect& D,
                   TSourceBlock& s) {
  if (!dst || !src || !src->Surface() || !dst->Surface() || w == 0 || h == 0 || sw == 0 || sh == 0) return false;
  if (!BlockInRange(dst, x, y, w, h) || !BlockInRange(src, sx, sy, sw, sh)) return false;
  s.FlipX = (w < 0) != (sw < 0);
  s.FlipY = (h < 0) != (sh < 0);
  D = dst->ToSurface(TRect(std::min(x, x + w), std::min(y, y + h), std::max(x, x + w), std::max(y, y + h)));
  s.Block = src->ToSurface(TRect(std::min(sx, sx + sw), std::min(sy, sy + sh), std::max(sx, sx + sw), std::max(sy, sy + sh)));
  s.Surface = src->Surface();
  // Scale factors must stay within what pixman's 16.16 transforms can express.
  double fx = static_cast<double>(s.Block.Width()) / D.Width(), fy = static_cast<double>(s.Block.Height()) / D.Height();
  constexpr double kMaxScale = 16384.0;
  return fx <= kMaxScale && fy <= kMaxScale && fx >= 1.0 / kMaxScale && fy >= 1.0 / kMaxScale;
}
}  // namespace

bool StretchBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, uint32_t rop) {
  if (!dst) return false;
  if (rop == PATCOPY || rop == PATINVERT || rop == DSTINVERT || rop == BLACKNESS || rop == WHITENESS)
    return PatBlt(dst, x, y, w, h, rop);
  TRect D;
  TSourceBlock s;
  if (!PrepareBlocks(dst, x, y, w, h, src, sx, sy, sw, sh, D, s)) return w == 0 || h == 0;
  if (s.Block.Intersect(s.Surface->BoundsRect()).IsEmpty()) return true;
  TFilter filter = GetStretchBltMode(dst) == HALFTONE ? TFilter::Smooth : TFilter::Nearest;
  if (rop == SRCCOPY) {
    Composite(*dst, D, s, PIXMAN_OP_SRC, nullptr, filter);
    return true;
  }
  // Other operations: scale into a scratch surface, then combine like BitBlt.
  TSurface scratch(D.Width(), D.Height());
  HDC tmp = CreateSurfaceDC(&scratch);
  TRect whole(0, 0, D.Width(), D.Height());
  Composite(*tmp, whole, s, PIXMAN_OP_SRC, nullptr, filter);
  TPoint org = dst->ToSurface(TPoint(0, 0));
  bool ok = BitBlt(dst, D.Left - org.X, D.Top - org.Y, D.Width(), D.Height(), tmp, 0, 0, rop);
  DeleteDC(tmp);
  return ok;
}

bool AlphaBlend(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, BLENDFUNCTION bf) {
  if (bf.BlendOp != AC_SRC_OVER || (bf.AlphaFormat & ~AC_SRC_ALPHA) != 0) return false;
  if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return false;
  TRect D;
  TSourceBlock s;
  if (!PrepareBlocks(dst, x, y, w, h, src, sx, sy, sw, sh, D, s)) return false;
  if (!s.Surface->BoundsRect().Contains(s.Block)) return false;
  if (bf.SourceConstantAlpha == 0) return true;
  s.Opaque = (bf.AlphaFormat & AC_SRC_ALPHA) == 0;
  pixman_image_t* mask = nullptr;
  if (bf.SourceConstantAlpha != 255) {
    pixman_color_t c{0, 0, 0, static_cast<uint16_t>(bf.SourceConstantAlpha * 257)};
    mask = pixman_image_create_solid_fill(&c);
  }
  TFilter filter = GetStretchBltMode(dst) == HALFTONE ? TFilter::Smooth : TFilter::Nearest;
  Composite(*dst, D, s, PIXMAN_OP_OVER, mask, filter);
  if (mask) pixman_image_unref(mask);
  return true;
}

bool TransparentBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                    COLORREF transparent) {
  if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return false;
  TRect D;
  TSourceBlock s;
  if (!PrepareBlocks(dst, x, y, w, h, src, sx, sy, sw, sh, D, s)) return false;
  DetachIfShared(s, dst->Surface());
  const TSurface& ss = *s.Surface;
  TSurface& ds = *dst->Surface();
  uint32_t key = ColorToOpaquePixel(transparent) & 0xFFFFFF;
  const TRect& S = s.Block;
  for (const TRect& c : dst->Clip().Rects) {
    TRect r = c.Intersect(D);
    if (r.IsEmpty()) continue;
    for (int yy = r.Top; yy < r.Bottom; ++yy) {
      int syy = S.Top + static_cast<int>((static_cast<long long>(yy - D.Top) * 2 + 1) * S.Height() / (2LL * D.Height()));
      if (syy < 0 || syy >= ss.Height()) continue;
      const uint32_t* srow = ss.Row(syy);
      uint32_t* drow = ds.Row(yy);
      for (int xx = r.Left; xx < r.Right; ++xx) {
        int sxx = S.Left + static_cast<int>((static_cast<long long>(xx - D.Left) * 2 + 1) * S.Width() / (2LL * D.Width()));
        if (sxx < 0 || sxx >= ss.Width()) continue;
        uint32_t p = srow[sxx];
        if ((p & 0xFFFFFF) != key) drow[xx] = p;
      }
    }
    dst->AddDirty(r);
  }
  ds.MarkDirtyForCairo();
  return true;
}
