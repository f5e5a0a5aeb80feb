#include "kv/kvUtils/kvGlow.h"

#include <array>

#include "kv/kvUtils/kvGlowCache.h"
#include "platform/graphics/blit.h"

namespace {
// ColorToPixel: the colour resolved, with the given alpha in the top byte.
uint32_t ColorToPixel(TColor Color, uint8_t Alpha) {
  TColor c = ColorToRGB(Color);
  return PixelARGB(Alpha, static_cast<uint32_t>(GetRValue(c)), static_cast<uint32_t>(GetGValue(c)),
                   static_cast<uint32_t>(GetBValue(c)));
}

void CheckGlowSize(const char* routine, int GlowSize) {
  if (GlowSize < 0 || GlowSize > kvMaxBlurRadius)
    throw EInvalidArgument(String(routine) + ": glow size " + std::to_string(GlowSize) + " is outside 0.." +
                           std::to_string(kvMaxBlurRadius));
}

// Drawing routines never raise: a size outside the range is brought into it.
int ClampGlowSize(int GlowSize) { return std::clamp(GlowSize, 0, kvMaxBlurRadius); }

// What ColorizeBlur makes of each blurred red value: the colour with that alpha, premultiplied
// the way a bitmap premultiplies when its alpha format becomes afPremultiplied.
using TColorizeTable = std::array<uint32_t, 256>;
const TColorizeTable& ColorizeTable(TColor Color) {
  thread_local TColor lastColor = clNone;
  thread_local TColorizeTable table;
  TColor rgb = ColorToRGB(Color);
  if (rgb != lastColor) {
    TSurface s(256, 1);
    for (int i = 0; i < 256; ++i) s.Row(0)[i] = ColorToPixel(rgb, static_cast<uint8_t>(i));
    PremultiplySurface(s);
    std::copy(s.Row(0), s.Row(0) + 256, table.begin());
    lastColor = rgb;
  }
  return table;
}

// Sizes a bitmap as pf32bit and premultiplied from the start, so no conversion pass runs over
// its pixels: they are written in their final form.
void PrepareBitmap(TBitmap* b, int w, int h) {
  b->SetSize(0, 0);
  b->SetPixelFormat(pf32bit);
  b->SetAlphaFormat(afPremultiplied);  // nothing to convert in an empty bitmap
  b->SetSize(w, h);
}

// Blurs a white-on-black silhouette and colours it: the end of every glow bitmap. The bitmap
// is already marked premultiplied; its pixels are written in their final form.
void BlurAndColorize(TBitmap* b, int GlowSize, TColor Color) {
  StackBlur(b, GlowSize);
  const TColorizeTable& table = ColorizeTable(Color);
  TSurface& s = b->Surface();
  for (int y = 0; y < s.Height(); ++y) {
    uint32_t* row = s.Row(y);
    for (int x = 0; x < s.Width(); ++x) row[x] = table[PixelRed(row[x])];
  }
  s.MarkDirtyForCairo();
}

bool HasSemiTransparent(const TSurface& s) {
  for (int y = 0; y < s.Height(); ++y) {
    const uint32_t* row = s.Row(y);
    for (int x = 0; x < s.Width(); ++x) {
      uint32_t a = PixelAlpha(row[x]);
      if (a != 0 && a != 255) return true;
    }
  }
  return false;
}

// The glow of a w x h picture: Dst is sized, filled opaque black, the silhouette is set white
// at (GlowSize, GlowSize), then blurred and coloured.
void MakeGlow(TBitmap* Dst, const TSurface& Src, bool Src32Bit, int GlowSize, TColor Color) {
  const int w = Src.Width(), h = Src.Height();
  PrepareBitmap(Dst, w + 2 * GlowSize, h + 2 * GlowSize);
  TSurface& d = Dst->Surface();
  d.Fill(0xFF000000u);
  if (w > 0 && h > 0) {
    const bool byAlpha = Src32Bit && HasSemiTransparent(Src);
    const uint32_t transparent = Src.Row(0)[0] & 0xFFFFFFu;
    for (int y = 0; y < h; ++y) {
      const uint32_t* in = Src.Row(y);
      uint32_t* out = d.Row(GlowSize + y) + GlowSize;
      for (int x = 0; x < w; ++x) {
        bool inside = byAlpha ? PixelAlpha(in[x]) != 0 : (in[x] & 0xFFFFFFu) != transparent;
        if (inside) out[x] = 0xFFFFFFFFu;
      }
    }
  }
  BlurAndColorize(Dst, GlowSize, Color);
}

// The source block of a whole bitmap, blended with a constant opacity at (X, Y).
void BlendBitmap(TCanvas* Canvas, const TBitmap& Bitmap, int X, int Y, uint8_t Alpha) {
  HDC dst = Canvas->Handle();
  if (!dst || Bitmap.Empty()) return;
  HDC src = CreateCompatibleDC(nullptr);
  SelectObject(src, Bitmap.Handle());
  BLENDFUNCTION bf;
  bf.SourceConstantAlpha = Alpha;
  bf.AlphaFormat = AC_SRC_ALPHA;
  AlphaBlend(dst, X, Y, Bitmap.Width(), Bitmap.Height(), src, 0, 0, Bitmap.Width(), Bitmap.Height(), bf);
  DeleteDC(src);
}

// The glow bitmap of image Index, from the cache when the same pixels glowed the same way before.
std::shared_ptr<const TBitmap> ImageGlow(TCustomImageList* Images, int Index, int GlowSize, TColor Color) {
  const TSurface& pixels = Images->ImagePixels(Index);
  TkvGlowKey key;
  key.Add('I').Add(GlowSize).Add(ColorToRGB(Color)).Add(pixels.Width()).Add(pixels.Height());
  for (int y = 0; y < pixels.Height(); ++y)
    key.AddBytes(pixels.Row(y), static_cast<size_t>(pixels.Width()) * 4u);
  TkvGlowCache& cache = TkvGlowCache::Instance();
  if (auto hit = cache.Find(key)) return hit;
  auto glow = std::make_shared<TBitmap>();
  MakeGlow(glow.get(), pixels, true, GlowSize, Color);
  cache.Add(key, glow);
  return glow;
}
}  // namespace

void ColorizeBlur(TBitmap* Bitmap, int Radius, TColor Color) {
  if (!Bitmap) throw EInvalidArgument("ColorizeBlur: no bitmap");
  StackBlur(Bitmap, Radius);
  Bitmap->SetPixelFormat(pf32bit);
  Bitmap->SetAlphaFormat(afIgnored);
  TSurface& s = Bitmap->Surface();
  for (int y = 0; y < s.Height(); ++y) {
    uint32_t* row = s.Row(y);
    for (int x = 0; x < s.Width(); ++x) row[x] = ColorToPixel(Color, static_cast<uint8_t>(PixelRed(row[x])));
  }
  s.MarkDirtyForCairo();
  Bitmap->SetAlphaFormat(afPremultiplied);
}

bool HasSemiTransparentPixels(const TBitmap* Bitmap) { return Bitmap && HasSemiTransparent(Bitmap->Surface()); }

void MakeGlowBitmap(TBitmap* Dst, const TBitmap* Src, int GlowSize, TColor Color) {
  if (!Dst || !Src) throw EInvalidArgument("MakeGlowBitmap: no bitmap");
  if (Dst == Src) throw EInvalidArgument("MakeGlowBitmap: the glow cannot replace its own source");
  CheckGlowSize("MakeGlowBitmap", GlowSize);
  MakeGlow(Dst, Src->Surface(), Src->PixelFormat() == pf32bit, GlowSize, Color);
}

void MakeImageGlowBitmap(TBitmap* Dst, TCustomImageList* Images, int Index, int GlowSize, TColor Color) {
  if (!Dst || !Images) throw EInvalidArgument("MakeImageGlowBitmap: no bitmap or image list");
  CheckGlowSize("MakeImageGlowBitmap", GlowSize);
  // An index outside the list leaves the image bitmap empty (all alpha 0): no silhouette.
  TBitmap image;
  image.SetPixelFormat(pf32bit);
  image.SetSize(Images->Width(), Images->Height());
  Images->GetBitmap(Index, &image);
  MakeGlowBitmap(Dst, &image, GlowSize, Color);
}

void DrawImageWithGlow(TCanvas* Canvas, int X, int Y, TCustomImageList* Images, int Index, int Offset,
                       TColor GlowColor, int GlowSize, uint8_t AlphaValue) {
  if (!Canvas || !Images || Index < 0 || Index >= Images->Count()) return;
  GlowSize = ClampGlowSize(GlowSize);
  std::shared_ptr<const TBitmap> glow = ImageGlow(Images, Index, GlowSize, GlowColor);
  BlendBitmap(Canvas, *glow, X + Offset - GlowSize, Y + Offset - GlowSize, AlphaValue);
  Images->Draw(Canvas, X, Y, Index, true);
}
