#include "kv/kvUtils/kvGlow.h"

#include <array>

#include "kv/kvUtils/kvBitmaps.h"
#include "kv/kvUtils/kvColors.h"
#include "kv/kvUtils/kvGlowBlur.h"
#include "kv/kvUtils/kvGlowCache.h"
#include "kv/kvUtils/kvGlyphs.h"
#include "kv/kvUtils/kvLayout.h"
#include "kv/kvUtils/kvPaint.h"
#include "kv/kvUtils/kvText.h"

namespace {
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
TColorizeTable ColorizeTable(TColor Color) {
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
// is already marked premultiplied; its pixels are written in their final form. Returns the
// part of the glow that is not fully transparent.
TRect BlurAndColorize(TBitmap* b, int GlowSize, TColor Color) {
  TSurface& s = b->Surface();
  const TRect ink = StackBlurSurface(s, GlowSize);
  const TColorizeTable table = ColorizeTable(Color);
  for (int y = 0; y < s.Height(); ++y) {
    uint32_t* row = s.Row(y);
    if (y < ink.Top || y >= ink.Bottom) {
      std::fill_n(row, s.Width(), 0u);  // black: no alpha
      continue;
    }
    std::fill(row, row + ink.Left, 0u);
    for (int x = ink.Left; x < ink.Right; ++x) row[x] = table[PixelRed(row[x])];
    std::fill(row + ink.Right, row + s.Width(), 0u);
  }
  s.MarkDirtyForCairo();
  return ink;
}

// Blends the glow's visible part with its top-left corner at (X, Y).
void BlendGlow(TkvGlowBitmap& Glow, TCanvas* Canvas, int X, int Y, uint8_t Alpha) {
  if (Glow.Ink.IsEmpty()) return;
  AlphaBlendRect(&Glow.Bitmap, Canvas, Glow.Ink, Glow.Ink.Offsetted(X, Y), Alpha);
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
// at (GlowSize, GlowSize), then blurred and coloured. Returns the glow's visible part.
TRect MakeGlow(TBitmap* Dst, const TSurface& Src, bool Src32Bit, int GlowSize, TColor Color) {
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
  return BlurAndColorize(Dst, GlowSize, Color);
}

// The glow bitmap of image Index, from the cache when the same pixels glowed the same way before.
std::shared_ptr<TkvGlowBitmap> ImageGlow(TCustomImageList* Images, int Index, int GlowSize, TColor Color) {
  const TSurface& pixels = Images->ImagePixels(Index);
  TkvGlowKey key;
  key.Add('I').Add(GlowSize).Add(ColorToRGB(Color)).Add(pixels.Width()).Add(pixels.Height());
  for (int y = 0; y < pixels.Height(); ++y)
    key.AddBytes(pixels.Row(y), static_cast<size_t>(pixels.Width()) * 4u);
  TkvGlowCache& cache = TkvGlowCache::Instance();
  if (auto hit = cache.Find(key)) return hit;
  auto glow = std::make_shared<TkvGlowBitmap>();
  glow->Ink = MakeGlow(&glow->Bitmap, pixels, true, GlowSize, Color);
  cache.Add(key, glow);
  return glow;
}
// The glow bitmap of a text drawn with Flags in a Width x Height rectangle: the text in white
// on opaque black, four times one pixel left, right, up and down when Intensive (once
// otherwise), inside a margin of GlowSize, then blurred and coloured. From the cache when the
// same text in the same font glowed the same way before.
std::shared_ptr<TkvGlowBitmap> TextGlow(const TFont* Font, const String& Text, int Width, int Height, unsigned Flags,
                                  TColor Color, int GlowSize, bool Intensive) {
  TkvGlowKey key;
  key.Add('T').Add(GlowSize).Add(ColorToRGB(Color)).Add(Width).Add(Height).Add(Flags).Add(Intensive);
  key.AddText(Font->Name()).Add(Font->Height()).Add(Font->Style().Bits()).Add(Font->Orientation());
  key.Add(Font->Pitch()).Add(Font->Charset()).Add(Font->Quality()).AddText(Text);
  TkvGlowCache& cache = TkvGlowCache::Instance();
  if (auto hit = cache.Find(key)) return hit;

  auto glow = std::make_shared<TkvGlowBitmap>();
  PrepareBitmap(&glow->Bitmap, Width + 2 * GlowSize, Height + 2 * GlowSize);
  glow->Bitmap.Surface().Fill(0xFF000000u);
  TCanvas* c = glow->Bitmap.Canvas();
  c->Font()->Assign(Font);
  c->Font()->SetColor(clWhite);
  c->Brush()->SetStyle(bsClear);
  const TRect inner(GlowSize, GlowSize, GlowSize + Width, GlowSize + Height);
  auto draw = [&](int dx, int dy) {
    TRect r = inner.Offsetted(dx, dy);
    String s = Text;
    c->TextRect(r, s, Flags);
  };
  if (Intensive) {
    draw(-1, 0);
    draw(1, 0);
    draw(0, -1);
    draw(0, 1);
  } else {
    draw(0, 0);
  }
  // Text drawn over opaque black leaves every alpha at 255, and only the red value is read
  // from here on, so the silhouette needs no alpha pass.
  glow->Ink = BlurAndColorize(&glow->Bitmap, GlowSize, Color);
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
  std::shared_ptr<TkvGlowBitmap> glow = ImageGlow(Images, Index, GlowSize, GlowColor);
  BlendGlow(*glow, Canvas, X + Offset - GlowSize, Y + Offset - GlowSize, AlphaValue);
  Images->Draw(Canvas, X, Y, Index, true);
}

void DrawTextWithGlow(TCanvas* Canvas, const TRect& Rect, const String& Text, unsigned Flags, int Offset,
                      TColor GlowColor, int GlowSize, bool Intensive, uint8_t AlphaValue, bool RightToLeft) {
  if (!Canvas) return;
  GlowSize = ClampGlowSize(GlowSize);
  TRect R = Rect;
  if (R.Width() < 2 * GlowSize) R.Right = R.Left + 2 * GlowSize;
  if (R.Height() < 2 * GlowSize) R.Bottom = R.Top + 2 * GlowSize;
  const unsigned flags = BidiTextFlags(Flags, RightToLeft);
  // An empty text has no silhouette: the glow would be clear everywhere.
  if (!Text.empty() && R.Width() >= 0 && R.Height() >= 0) {
    std::shared_ptr<TkvGlowBitmap> glow =
        TextGlow(Canvas->Font(), Text, R.Width(), R.Height(), flags, GlowColor, GlowSize, Intensive);
    BlendGlow(*glow, Canvas, R.Left + Offset - GlowSize, R.Top + Offset - GlowSize, AlphaValue);
  }
  Canvas->Brush()->SetStyle(bsClear);
  TRect r = R;
  String s = Text;
  Canvas->TextRect(r, s, flags);
}

namespace {
// DrawImageAndText's steps with the caption drawn by DrawTextWithGlow and, with ImageGlow, the
// glyph by DrawImageWithGlow (TextAlign: DT_CENTER or DT_LEFT).
void ImageAndTextGlow(TCanvas* Canvas, const TRect& Rect, int Margin, int Spacing, int Layout, const String& Text,
                      int ImageIndex, TCustomImageList* Images, bool Enabled, bool ShowColorBar, TColor ColorBarColor,
                      int Offset, TColor GlowColor, int GlowSize, bool Intensive, uint8_t AlphaValue, bool ImageGlow,
                      bool DrawFocus, bool RightToLeft, unsigned TextAlign) {
  TkvContentPainters painters;
  painters.DrawCaption = [&](const TRect& textRect, unsigned flags) {
    DrawTextWithGlow(Canvas, textRect, Text, flags, Offset, GlowColor, GlowSize, Intensive, AlphaValue, RightToLeft);
  };
  if (ImageGlow)
    painters.DrawGlyph = [&](int x, int y) {
      DrawImageWithGlow(Canvas, x, y, Images, ImageIndex, Offset, GlowColor, GlowSize, AlphaValue);
    };
  DrawImageAndTextWith(Canvas, Rect, Margin, Spacing, Layout, Text, ImageIndex, Images, Enabled, ShowColorBar,
                       ColorBarColor, DrawFocus, RightToLeft, TextAlign, painters);
}
}  // namespace

void DrawImageAndTextGlow(TCanvas* Canvas, const TRect& Rect, int Margin, int Spacing, int Layout, const String& Text,
                          int ImageIndex, TCustomImageList* Images, bool Enabled, bool ShowColorBar,
                          TColor ColorBarColor, int Offset, TColor GlowColor, int GlowSize, bool Intensive,
                          uint8_t AlphaValue, bool ImageGlow, bool DrawFocus, bool RightToLeft) {
  ImageAndTextGlow(Canvas, Rect, Margin, Spacing, Layout, Text, ImageIndex, Images, Enabled, ShowColorBar,
                   ColorBarColor, Offset, GlowColor, GlowSize, Intensive, AlphaValue, ImageGlow, DrawFocus,
                   RightToLeft, DT_CENTER);
}

void DrawImageAndTextGlowLeft(TCanvas* Canvas, const TRect& Rect, int Margin, int Spacing, int Layout,
                              const String& Text, int ImageIndex, TCustomImageList* Images, bool Enabled,
                              bool ShowColorBar, TColor ColorBarColor, int Offset, TColor GlowColor, int GlowSize,
                              bool Intensive, uint8_t AlphaValue, bool ImageGlow, bool DrawFocus, bool RightToLeft) {
  ImageAndTextGlow(Canvas, Rect, Margin, Spacing, Layout, Text, ImageIndex, Images, Enabled, ShowColorBar,
                   ColorBarColor, Offset, GlowColor, GlowSize, Intensive, AlphaValue, ImageGlow, DrawFocus,
                   RightToLeft, DT_LEFT);
}
