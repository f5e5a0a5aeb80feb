// Glowing captions, and captions with images: DrawTextWithGlow, DrawImageAndTextGlow(Left).
#include <gtest/gtest.h>

#include <vector>

#include "kv/kvUtils/kvBitmaps.h"
#include "kv/kvUtils/kvGlow.h"
#include "kv/kvUtils/kvLayout.h"
#include "kv/kvUtils/kvText.h"
#include "support.h"

using kvutest::TPaintBox;

namespace {
std::vector<uint32_t> PixelsOf(const TPaintBox& box) {
  const TSurface& s = box.bitmap.Surface();
  std::vector<uint32_t> v;
  for (int y = 0; y < s.Height(); ++y) v.insert(v.end(), s.Row(y), s.Row(y) + s.Width());
  return v;
}

void UseFont(TCanvas* c, int size = 9, TColor color = clBlack) {
  c->Font()->SetName("DejaVu Sans");
  c->Font()->SetSize(size);
  c->Font()->SetColor(color);
}

struct TGlowArgs {
  TRect rect;
  String text;
  unsigned flags;
  int offset;
  TColor color;
  int size;
  bool intensive;
  uint8_t alpha;
  bool rtl;
};

// The glowing text built step by step from the building routines, without any cache.
void ComposeByHand(TCanvas* canvas, const TGlowArgs& a) {
  TRect R = a.rect;
  if (R.Width() < 2 * a.size) R.Right = R.Left + 2 * a.size;
  if (R.Height() < 2 * a.size) R.Bottom = R.Top + 2 * a.size;
  const unsigned flags = BidiTextFlags(a.flags, a.rtl);
  TBitmap glow(R.Width() + 2 * a.size, R.Height() + 2 * a.size);
  glow.SetPixelFormat(pf32bit);
  glow.Canvas()->Font()->Assign(canvas->Font());
  glow.Canvas()->Font()->SetColor(clWhite);
  FillBitmap(&glow, 0xFF000000u);
  glow.Canvas()->Brush()->SetStyle(bsClear);
  const TRect inner(a.size, a.size, glow.Width() - a.size, glow.Height() - a.size);
  std::vector<TPoint> moves = a.intensive ? std::vector<TPoint>{{-1, 0}, {1, 0}, {0, -1}, {0, 1}} : std::vector<TPoint>{{0, 0}};
  for (TPoint m : moves) {
    TRect r = inner.Offsetted(m.X, m.Y);
    String s = a.text;
    glow.Canvas()->TextRect(r, s, flags);
  }
  SetBitmapAlpha(&glow, 255);
  ColorizeBlur(&glow, a.size, a.color);
  AlphaBlendBitmap(&glow, canvas, R.Left + a.offset - a.size, R.Top + a.offset - a.size, a.alpha);
  canvas->Brush()->SetStyle(bsClear);
  String s = a.text;
  canvas->TextRect(R, s, flags);
}

void DrawWithGlow(TCanvas* canvas, const TGlowArgs& a) {
  DrawTextWithGlow(canvas, a.rect, a.text, a.flags, a.offset, a.color, a.size, a.intensive, a.alpha, a.rtl);
}

constexpr unsigned kLine = DT_SINGLELINE | DT_VCENTER;

struct TextGlowTest : kvutest::LookTest {
  void SetUp() override { ClearGlowCache(); }
};
}  // namespace

TEST_F(TextGlowTest, GlowIsTheBlurredColouredSilhouetteUnderTheText) {
  const TGlowArgs cases[] = {
      {{10, 8, 150, 30}, "Glowing caption", kLine | DT_CENTER, 0, clHighlight, 7, true, 255, false},
      {{10, 8, 150, 30}, "Glowing caption", kLine, 2, RGB(255, 120, 0), 5, false, 180, false},
      {{4, 4, 160, 44}, "Two lines of glowing words here", DT_WORDBREAK | DT_CENTER, 1, clLime, 3, true, 200, false},
      {{20, 10, 140, 26}, "Right to left", kLine, 0, clRed, 4, false, 255, true},
      {{30, 12, 34, 16}, "i", kLine | DT_CENTER, 0, clBlue, 9, true, 255, false},  // narrower than 2 x size
  };
  for (const TGlowArgs& a : cases) {
    SCOPED_TRACE(a.text);
    TPaintBox drawn(180, 60, 0xFFF4F0E8u), composed(180, 60, 0xFFF4F0E8u);
    UseFont(drawn.Canvas());
    UseFont(composed.Canvas());
    ComposeByHand(composed.Canvas(), a);
    DrawWithGlow(drawn.Canvas(), a);
    EXPECT_EQ(PixelsOf(drawn), PixelsOf(composed)) << "first draw";
    TPaintBox again(180, 60, 0xFFF4F0E8u);
    UseFont(again.Canvas());
    DrawWithGlow(again.Canvas(), a);
    EXPECT_EQ(PixelsOf(again), PixelsOf(composed)) << "from the cache";
    EXPECT_EQ(drawn.Canvas()->Brush()->Style(), bsClear);
  }
}

TEST_F(TextGlowTest, GlowSizeZeroIsTheHardSilhouetteAtTheTextsOwnPlace) {
  // The text drawn in the canvas colour vanishes, leaving exactly its glow: red where the text
  // has any coverage, moved by the offset.
  for (int offset : {0, 2}) {
    SCOPED_TRACE(offset);
    TPaintBox glow(120, 30), text(120, 30);
    UseFont(glow.Canvas(), 10, clWhite);
    UseFont(text.Canvas(), 10, clBlack);
    DrawTextWithGlow(glow.Canvas(), TRect(5, 5, 110, 25), "Hard edge", kLine, offset, clRed, 0, false, 255, false);
    text.Canvas()->Brush()->SetStyle(bsClear);
    TRect r(5 + offset, 5 + offset, 110 + offset, 25 + offset);
    String s = "Hard edge";
    text.Canvas()->TextRect(r, s, kLine);
    int covered = 0;
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 120; ++x) {
        bool inked = text.At(x, y) != kvutest::kWhite;
        uint32_t p = glow.At(x, y);
        covered += inked;
        if (inked) EXPECT_EQ(PixelRed(p), 255u) << x << ", " << y;
        else EXPECT_EQ(p, kvutest::kWhite) << x << ", " << y;
      }
    EXPECT_GT(covered, 100);
  }
}

TEST_F(TextGlowTest, NarrowCaptionIsLaidOutInARectangleWidenedFromItsLeftEdge) {
  // A 4-pixel-wide rectangle and glow size 8: the caption is centred in 16 pixels from x = 30.
  TPaintBox glowing(80, 40), plain(80, 40);
  UseFont(glowing.Canvas());
  UseFont(plain.Canvas());
  DrawTextWithGlow(glowing.Canvas(), TRect(30, 10, 34, 30), "W", kLine | DT_CENTER, 0, clWhite, 8, true, 255, false);
  plain.Canvas()->Brush()->SetStyle(bsClear);
  TRect r(30, 10, 46, 30);
  String s = "W";
  plain.Canvas()->TextRect(r, s, kLine | DT_CENTER);
  EXPECT_EQ(PixelsOf(glowing), PixelsOf(plain)) << "a white glow on white shows only the text";
}

TEST_F(TextGlowTest, RepaintsReuseTheGlowUntilSomethingThatShapesItChanges) {
  TPaintBox box(200, 60);
  UseFont(box.Canvas());
  TGlowArgs a{{10, 10, 150, 30}, "Hover me", kLine, 0, clHighlight, 7, true, 255, false};
  DrawWithGlow(box.Canvas(), a);
  DrawWithGlow(box.Canvas(), a);
  a.alpha = 120;  // opacity, offset and place are applied when blending
  a.offset = 3;
  a.rect.Offset(5, 7);
  DrawWithGlow(box.Canvas(), a);
  EXPECT_EQ(GlowCacheStats().Misses, 1u);
  EXPECT_EQ(GlowCacheStats().Hits, 2u);

  auto missesAfter = [&](auto change) {
    TGlowArgs b = a;
    TPaintBox other(200, 60);
    UseFont(other.Canvas());
    change(b, other.Canvas());
    uint64_t before = GlowCacheStats().Misses;
    DrawWithGlow(other.Canvas(), b);
    return GlowCacheStats().Misses - before;
  };
  EXPECT_EQ(missesAfter([](TGlowArgs& b, TCanvas*) { b.text = "Hover me!"; }), 1u);
  EXPECT_EQ(missesAfter([](TGlowArgs& b, TCanvas*) { b.color = clRed; }), 1u);
  EXPECT_EQ(missesAfter([](TGlowArgs& b, TCanvas*) { b.size = 6; }), 1u);
  EXPECT_EQ(missesAfter([](TGlowArgs& b, TCanvas*) { b.intensive = false; }), 1u);
  EXPECT_EQ(missesAfter([](TGlowArgs& b, TCanvas*) { b.flags |= DT_CENTER; }), 1u);
  EXPECT_EQ(missesAfter([](TGlowArgs& b, TCanvas*) { b.rtl = true; }), 1u);
  EXPECT_EQ(missesAfter([](TGlowArgs& b, TCanvas*) { b.rect.Right += 1; }), 1u);
  EXPECT_EQ(missesAfter([](TGlowArgs&, TCanvas* c) { c->Font()->SetSize(10); }), 1u);
  EXPECT_EQ(missesAfter([](TGlowArgs&, TCanvas* c) { c->Font()->SetStyle(TFontStyles{fsBold}); }), 1u);
  EXPECT_EQ(missesAfter([](TGlowArgs&, TCanvas* c) { c->Font()->SetName("DejaVu Serif"); }), 1u);
  EXPECT_EQ(missesAfter([](TGlowArgs&, TCanvas* c) { c->Font()->SetColor(clRed); }), 0u)
      << "the glow is drawn in white whatever the text colour";
}

TEST_F(TextGlowTest, SystemGlowColoursFollowTheActiveStyle) {
  TGlowArgs a{{10, 10, 150, 30}, "Styled", kLine, 0, clHighlight, 5, true, 255, false};
  TPaintBox native(180, 50);
  UseFont(native.Canvas());
  DrawWithGlow(native.Canvas(), a);
  TStyleManager::SetStyle("Glossy");
  TPaintBox styled(180, 50), composed(180, 50);
  UseFont(styled.Canvas());
  UseFont(composed.Canvas());
  DrawWithGlow(styled.Canvas(), a);
  ComposeByHand(composed.Canvas(), a);
  EXPECT_EQ(PixelsOf(styled), PixelsOf(composed));
  EXPECT_NE(PixelsOf(styled), PixelsOf(native));
}

// ---- images with captions ----

namespace {
struct ImageAndTextGlowTest : TextGlowTest {
  TImageList List{nullptr};
  void SetUp() override {
    TextGlowTest::SetUp();
    List.SetSize(12, 10);
    List.SetColorDepth(cd32Bit);
    TBitmap b(12, 10);
    b.SetPixelFormat(pf32bit);
    b.SetAlphaFormat(afPremultiplied);
    for (int y = 1; y < 9; ++y)
      for (int x = 2; x < 10; ++x) b.ScanLine(y)[x] = (x + y) % 3 ? 0xFF2060C0u : 0x80102030u;
    List.Add(&b, nullptr);
  }
};

struct TLayoutCase {
  int margin, spacing, layout;
  const char* text;
  int index;
  bool enabled, colorBar, focus, rtl;
};
const TLayoutCase kLayouts[] = {
    {-1, 4, 0, "Caption", 0, true, false, false, false},   {3, 2, 1, "Caption", 0, true, true, false, false},
    {-1, 5, 2, "Two words", 0, false, false, true, false}, {0, 1, 3, "Caption", 0, true, true, true, true},
    {-1, 4, 0, "", 0, true, true, true, false},            {-1, 4, 0, "No image", -1, true, true, true, false},
    {2, 4, 2, "", -1, true, true, false, false},
};
}  // namespace

TEST_F(ImageAndTextGlowTest, LaysOutExactlyAsTheRoutinesWithoutGlow) {
  // With opacity 0 the glows leave no trace, so what remains must be the plain routines' work.
  for (bool left : {false, true})
    for (const TLayoutCase& c : kLayouts) {
      SCOPED_TRACE(testing::Message() << (left ? "left " : "centred ") << "layout " << c.layout << " '" << c.text << "'");
      TPaintBox glow(90, 60), plain(90, 60);
      UseFont(glow.Canvas());
      UseFont(plain.Canvas());
      const TRect r(4, 4, 86, 56);
      auto withGlow = left ? DrawImageAndTextGlowLeft : DrawImageAndTextGlow;
      auto without = left ? DrawImageAndTextLeft : DrawImageAndText;
      withGlow(glow.Canvas(), r, c.margin, c.spacing, c.layout, c.text, c.index, &List, c.enabled, c.colorBar, clRed,
               1, clLime, 3, true, 0, false, c.focus, c.rtl);
      without(plain.Canvas(), r, c.margin, c.spacing, c.layout, c.text, c.index, &List, c.enabled, c.colorBar, clRed,
              c.focus, c.rtl);
      EXPECT_EQ(PixelsOf(glow), PixelsOf(plain));
    }
}

TEST_F(ImageAndTextGlowTest, GlowingImageIsDrawnEnabledWithItsGlow) {
  const TRect r(4, 4, 86, 56);
  // The image alone, glowing: DrawImageWithGlow at the laid-out point, even when disabled.
  TPaintBox glow(90, 60), expected(90, 60);
  DrawImageAndTextGlow(glow.Canvas(), r, -1, 4, 0, "", 0, &List, false, false, clRed, 2, clRed, 6, true, 200, true,
                       false, false);
  int tx = 0, ty = 0, gx = 0, gy = 0;
  CalcGlyphLayout(0, r, 12, 10, 0, 0, 0, -1, tx, ty, gx, gy);
  DrawImageWithGlow(expected.Canvas(), gx, gy, &List, 0, 2, clRed, 6, 200);
  EXPECT_EQ(PixelsOf(glow), PixelsOf(expected));

  // The caption alone, glowing: DrawTextWithGlow in the measured, laid-out text rectangle.
  TPaintBox text(90, 60), textExpected(90, 60);
  UseFont(text.Canvas());
  UseFont(textExpected.Canvas());
  DrawImageAndTextGlowLeft(text.Canvas(), r, 2, 4, 0, "Glow", -1, nullptr, true, false, clRed, 1, clBlue, 4, false,
                           255, true, false, false);
  TSize size = MeasureText(textExpected.Canvas(), "Glow", r.Width(), DT_WORDBREAK | DT_EXPANDTABS | DT_LEFT);
  CalcGlyphLayout(0, r, 0, 0, size.cx, size.cy, 0, 2, tx, ty, gx, gy);
  DrawTextWithGlow(textExpected.Canvas(), Bounds(tx, ty, size.cx, size.cy), "Glow",
                   DT_LEFT | DT_VCENTER | DT_WORDBREAK | DT_EXPANDTABS, 1, clBlue, 4, false, 255, false);
  EXPECT_EQ(PixelsOf(text), PixelsOf(textExpected));
}
