#include "kv/kvUtils/kvBitmaps.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/graphics/blit.h"

namespace {
bool Usable(const TBitmap* b) { return b && !b->Empty(); }

// Src turned into Dst, Dst(x', y') := Src(x, y) with (x', y') = place(x, y).
template <class F>
void Rotate(TBitmap* Src, TBitmap* Dst, F place) {
  if (!Src || !Dst) return;
  int w = Src->Width(), h = Src->Height();
  TSurface copy(w, h);
  for (int y = 0; y < h; ++y) std::memcpy(copy.Row(y), Src->Surface().Row(y), static_cast<size_t>(w) * 4u);
  TPixelFormat format = Src->PixelFormat();
  TAlphaFormat alpha = Src->AlphaFormat();
  // Formats first (they may convert the old pixels), then the size; every pixel is then written
  // as Src stores it.
  Dst->SetPixelFormat(format);
  Dst->SetAlphaFormat(alpha);
  Dst->SetSize(h, w);
  TSurface& d = Dst->Surface();
  for (int y = 0; y < h; ++y) {
    const uint32_t* row = copy.Row(y);
    for (int x = 0; x < w; ++x) {
      TPoint p = place(x, y, w, h);
      d.Row(p.Y)[p.X] = row[x];
    }
  }
  d.MarkDirtyForCairo();
}

// Draws the block Src of the bitmap's device context stretched into Dst.
void DrawPart(HDC dst, HDC src, bool alpha, const TRect& Dst, const TRect& Src) {
  if (Dst.IsEmpty() || Src.IsEmpty()) return;
  if (alpha) {
    BLENDFUNCTION blend;
    blend.AlphaFormat = AC_SRC_ALPHA;
    AlphaBlend(dst, Dst.Left, Dst.Top, Dst.Width(), Dst.Height(), src, Src.Left, Src.Top, Src.Width(), Src.Height(),
               blend);
  } else {
    StretchBlt(dst, Dst.Left, Dst.Top, Dst.Width(), Dst.Height(), src, Src.Left, Src.Top, Src.Width(), Src.Height(),
               SRCCOPY);
  }
}

// Margins a and b of a length: negative ones count as 0 and, when they add up to more than
// the length, both shrink in proportion.
void FitMargins(int& a, int& b, int length) {
  a = std::max(a, 0);
  b = std::max(b, 0);
  length = std::max(length, 0);
  if (a + b > length) {
    int sum = a + b;
    a = static_cast<int>(static_cast<long long>(a) * length / sum);
    b = length - a;
  }
}
}  // namespace

void SetBitmapAlpha(TBitmap* Bitmap, uint8_t Alpha) {
  if (!Usable(Bitmap)) return;
  TSurface& s = Bitmap->Surface();
  uint32_t a = static_cast<uint32_t>(Alpha) << 24;
  for (int y = 0; y < s.Height(); ++y) {
    uint32_t* row = s.Row(y);
    for (int x = 0; x < s.Width(); ++x) row[x] = (row[x] & 0x00FFFFFFu) | a;
  }
  s.MarkDirtyForCairo();
}

void FillBitmap(TBitmap* Bitmap, uint32_t Pixel) {
  if (!Usable(Bitmap)) return;
  TSurface& s = Bitmap->Surface();
  if (Pixel == 0 || Pixel == 0xFFFFFFFFu) {
    int value = Pixel == 0 ? 0 : 0xFF;
    if (s.Stride() == s.Width()) {
      std::memset(s.Pixels(), value, static_cast<size_t>(s.Stride()) * static_cast<size_t>(s.Height()) * 4u);
    } else {
      for (int y = 0; y < s.Height(); ++y) std::memset(s.Row(y), value, static_cast<size_t>(s.Width()) * 4u);
    }
    s.MarkDirtyForCairo();
  } else {
    s.Fill(Pixel);
  }
}

void AlphaBlendRect(TBitmap* Bitmap, TCanvas* Canvas, const TRect& SrcRect, const TRect& DstRect, uint8_t Alpha) {
  if (!Usable(Bitmap) || !Canvas) return;
  HDC dst = Canvas->Handle(), src = Bitmap->Canvas()->Handle();
  if (!dst || !src) return;
  BLENDFUNCTION blend;
  blend.SourceConstantAlpha = Alpha;
  blend.AlphaFormat = AC_SRC_ALPHA;
  AlphaBlend(dst, DstRect.Left, DstRect.Top, DstRect.Width(), DstRect.Height(), src, SrcRect.Left, SrcRect.Top,
             SrcRect.Width(), SrcRect.Height(), blend);
}

void AlphaBlendBitmap(TBitmap* Bitmap, TCanvas* Canvas, int X, int Y, uint8_t Alpha) {
  if (!Usable(Bitmap)) return;
  TRect all(0, 0, Bitmap->Width(), Bitmap->Height());
  AlphaBlendRect(Bitmap, Canvas, all, Bounds(X, Y, all.Right, all.Bottom), Alpha);
}

void RotateBitmap90(TBitmap* Src, TBitmap* Dst) {
  Rotate(Src, Dst, [](int i, int row, int w, int) { return TPoint(row, w - 1 - i); });
}

void RotateBitmap270(TBitmap* Src, TBitmap* Dst) {
  Rotate(Src, Dst, [](int i, int row, int, int h) { return TPoint(h - 1 - row, i); });
}

void FlipBitmapVert(TBitmap* Bitmap) {
  if (!Usable(Bitmap)) return;
  TSurface& s = Bitmap->Surface();
  size_t bytes = static_cast<size_t>(s.Width()) * 4u;
  std::vector<uint32_t> buffer(static_cast<size_t>(s.Width()));
  for (int i = 0; i < s.Height() / 2; ++i) {
    uint32_t* a = s.Row(i);
    uint32_t* b = s.Row(s.Height() - 1 - i);
    std::memcpy(buffer.data(), a, bytes);
    std::memcpy(a, b, bytes);
    std::memcpy(b, buffer.data(), bytes);
  }
  s.MarkDirtyForCairo();
}

void DrawSlicedBitmap(int LeftMargin, int TopMargin, int RightMargin, int BottomMargin, TBitmap* Bitmap,
                      TCanvas* Canvas, const TRect& Rect) {
  if (!Usable(Bitmap) || !Canvas || Rect.IsEmpty()) return;
  HDC dst = Canvas->Handle();
  if (!dst) return;
  int w = Bitmap->Width(), h = Bitmap->Height();
  // Source margins within the bitmap, destination margins within Rect.
  int sl = LeftMargin, sr = RightMargin, st = TopMargin, sb = BottomMargin;
  FitMargins(sl, sr, w);
  FitMargins(st, sb, h);
  int dl = sl, dr = sr, dt = st, db = sb;
  FitMargins(dl, dr, Rect.Width());
  FitMargins(dt, db, Rect.Height());

  // Straight alpha is blended from a premultiplied copy.
  std::unique_ptr<TBitmap> premultiplied;
  TBitmap* source = Bitmap;
  if (Bitmap->PixelFormat() == pf32bit && Bitmap->AlphaFormat() == afDefined) {
    premultiplied = std::make_unique<TBitmap>();
    premultiplied->Assign(Bitmap);
    premultiplied->SetAlphaFormat(afPremultiplied);
    source = premultiplied.get();
  }
  HDC src = source->Canvas()->Handle();
  bool alpha = source->HasAlpha();

  const int sx[4] = {0, sl, w - sr, w}, sy[4] = {0, st, h - sb, h};
  const int dx[4] = {Rect.Left, Rect.Left + dl, Rect.Right - dr, Rect.Right};
  const int dy[4] = {Rect.Top, Rect.Top + dt, Rect.Bottom - db, Rect.Bottom};
  auto part = [&](int col, int row) {
    DrawPart(dst, src, alpha, {dx[col], dy[row], dx[col + 1], dy[row + 1]}, {sx[col], sy[row], sx[col + 1], sy[row + 1]});
  };
  // Edges, corners, then the centre.
  part(1, 0);
  part(1, 2);
  part(0, 1);
  part(2, 1);
  part(0, 0);
  part(2, 0);
  part(0, 2);
  part(2, 2);
  part(1, 1);
}
