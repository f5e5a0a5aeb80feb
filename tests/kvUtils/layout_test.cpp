// Layout and content: glyph and text placement, rectangle helpers, images with captions,
// colour bars and focus frames, and blended images.
#include <gtest/gtest.h>

#include "kv/kvUtils/kvLayout.h"
#include "kv/kvUtils/kvText.h"
#include "support.h"

using kvutest::kBlue;
using kvutest::kGreen;
using kvutest::kRed;
using kvutest::kWhite;
using kvutest::Rows;
using kvutest::TPaintBox;

TEST(LayoutTest, CalcGlyphLayoutTable) {
  struct Case {
    int Layout, Margin, GlyphW, GlyphH;
    TPoint Text, Glyph;
  };
  // Rect (0, 0, 100, 30), text 40 x 13, Spacing 4 (0 when there is no glyph).
  const Case cases[] = {
      {0, -1, 16, 16, {40, 9}, {20, 7}},  {1, -1, 16, 16, {20, 9}, {64, 7}},
      {2, -1, 16, 16, {30, 18}, {42, -1}}, {3, -1, 16, 16, {30, -1}, {42, 15}},
      {0, 5, 16, 16, {25, 9}, {5, 7}},    {1, 5, 16, 16, {35, 9}, {79, 7}},
      {2, 5, 16, 16, {30, 25}, {42, 5}},  {3, 5, 16, 16, {30, -8}, {42, 9}},
      {0, -1, 0, 0, {30, 9}, {30, 15}},   {0, 3, 0, 0, {3, 9}, {3, 15}},
  };
  for (const Case& c : cases) {
    int tx = -99, ty = -99, gx = -99, gy = -99;
    CalcGlyphLayout(c.Layout, TRect(0, 0, 100, 30), c.GlyphW, c.GlyphH, 40, 13, 4, c.Margin, tx, ty, gx, gy);
    EXPECT_EQ(TPoint(tx, ty), c.Text) << "layout " << c.Layout << " margin " << c.Margin << " glyph " << c.GlyphW;
    EXPECT_EQ(TPoint(gx, gy), c.Glyph) << "layout " << c.Layout << " margin " << c.Margin << " glyph " << c.GlyphW;
  }
  for (int layout : {-1, 4}) {
    int tx = -99, ty = -99, gx = -99, gy = -99;
    CalcGlyphLayout(layout, TRect(0, 0, 100, 30), 16, 16, 40, 13, 4, -1, tx, ty, gx, gy);
    EXPECT_EQ(tx, -99);
    EXPECT_EQ(ty, -99);
    EXPECT_EQ(gx, -99);
    EXPECT_EQ(gy, -99);
  }
  // Halves round toward zero: odd sizes in an odd rectangle.
  int tx, ty, gx, gy;
  CalcGlyphLayout(0, TRect(1, 1, 8, 8), 3, 3, 0, 0, 0, -1, tx, ty, gx, gy);
  EXPECT_EQ(TPoint(gx, gy), TPoint(3, 3));
}

TEST(LayoutTest, RectangleHelpers) {
  EXPECT_EQ(CenterRect(TRect(5, 5, 15, 11), TRect(0, 0, 21, 20)), TRect(5, 7, 15, 13));
  EXPECT_EQ(CenterRect(TRect(0, 0, 10, 4), TRect(3, 3, 8, 6)), TRect(1, 3, 11, 7));  // -5/2 = -2
  EXPECT_EQ(CenterRectVert(TRect(9, 9, 13, 13), TRect(2, 0, 30, 11)), TRect(2, 3, 6, 7));
  EXPECT_TRUE(PointInRect(TRect(0, 0, 10, 5), TPoint(10, 5)));  // both edges inclusive
  EXPECT_TRUE(PointInRect(TRect(0, 0, 10, 5), TPoint(0, 0)));
  EXPECT_FALSE(PointInRect(TRect(0, 0, 10, 5), TPoint(11, 5)));
  EXPECT_FALSE(PointInRect(TRect(0, 0, 10, 5), TPoint(-1, 2)));
}

TEST(LayoutTest, RectOverlapsVertTable) {
  const TRect view(0, 0, 100, 50);
  struct Case {
    TRect Item;
    bool Expected;
  };
  const Case cases[] = {
      {{0, 0, 100, 50}, true},     // as tall as the view and aligned: its top lies in it
      {{0, 49, 100, 60}, true},    // top in the view
      {{0, -10, 100, 10}, true},   // bottom in the view
      {{0, -20, 100, 0}, true},    // bottom edge on the view's top row
      {{0, -10, 100, 60}, false},  // covers the view completely
      {{0, 50, 100, 70}, false},   // starts on the view's excluded bottom edge
      {{0, -30, 100, -5}, false},
      {{500, 10, 600, 20}, true},  // only the vertical position counts
  };
  for (const Case& c : cases) EXPECT_EQ(RectOverlapsVert(c.Item, view), c.Expected) << c.Item.Top << ".." << c.Item.Bottom;
}

namespace {
// An image list of 4 x 4 images: image 0 opaque red, image 1 half-transparent blue.
class ImageListFixture : public testing::Test {
protected:
  ImageListFixture() : list(nullptr) {
    list.SetSize(4, 4);
    list.SetColorDepth(cd32Bit);
    TBitmap strip(8, 4);
    strip.SetPixelFormat(pf32bit);
    strip.SetAlphaFormat(afPremultiplied);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 8; ++x) strip.ScanLine(y)[x] = x < 4 ? kRed : 0x80000080u;
    list.Add(&strip, nullptr);
  }
  TImageList list;
};
}  // namespace

using ImageAndTextTest = ImageListFixture;

TEST_F(ImageAndTextTest, NoImageAndNoTextDrawsOnlyTheColourBarFill) {
  for (int index : {-1, 2}) {
    TPaintBox box(12, 10);
    DrawImageAndText(box.Canvas(), TRect(0, 0, 12, 10), -1, 4, 0, "", index, &list, true, true, clBlue, true, false);
    Rows expected(10, "............");
    for (int y = 4; y < 6; ++y) expected[y] = "....bbbbbb..";
    EXPECT_EQ(box.Picture(), expected) << index;
  }
  TPaintBox noBar(12, 10);
  DrawImageAndText(noBar.Canvas(), TRect(0, 0, 12, 10), -1, 4, 0, "", -1, nullptr, true, false, clBlue, true, false);
  EXPECT_TRUE(noBar.Untouched());
}

TEST_F(ImageAndTextTest, GlyphWithColourBarAndFocusFrame) {
  TPaintBox box(12, 10);
  box.Canvas()->Font()->SetColor(clBlack);
  DrawImageAndText(box.Canvas(), TRect(0, 0, 12, 10), 1, 4, 0, "", 0, &list, true, true, clBlue, true, false);
  EXPECT_EQ(box.Picture(), Rows({"............", ".#.#.#......", "......#.....", ".rrrr.......", ".rrrr.#.....",
                                 ".rrrr.......", ".rrrr.#.....", ".bbbb.......", "#b#b#.#.....", ".bbbb......."}));
  EXPECT_EQ(box.Canvas()->Brush()->Style(), bsClear);
}

TEST_F(ImageAndTextTest, DisabledGlyphIsBlendedAtAlpha80) {
  TPaintBox box(6, 6);
  DrawImageAndText(box.Canvas(), TRect(0, 0, 6, 6), -1, 4, 0, "", 0, &list, false, false, clBlue, false, false);
  // Red at 80 / 255 over white: red 80 + 175, green and blue 175.
  EXPECT_EQ(box.At(1, 1), 0xFFFFAFAFu);
  EXPECT_EQ(box.At(0, 0), kWhite);
}

TEST_F(ImageAndTextTest, TextWithColourBarUnderIt) {
  const TRect r(0, 0, 80, 30);
  TPaintBox box(80, 30);
  box.Canvas()->Font()->SetColor(clBlack);
  DrawImageAndTextLeft(box.Canvas(), r, -1, 4, 0, "Label", -1, &list, true, true, clBlue, false, false);
  TSize text = MeasureText(box.Canvas(), "Label", 80, DT_WORDBREAK | DT_EXPANDTABS);
  int left = 40 - text.cx / 2, top = 15 - text.cy / 2;
  for (int y = top + text.cy; y < top + text.cy + 3; ++y) {
    EXPECT_EQ(box.At(left, y), kBlue) << y;
    EXPECT_EQ(box.At(left + text.cx - 1, y), kBlue) << y;
    EXPECT_EQ(box.At(left - 1, y), kWhite) << y;
    EXPECT_EQ(box.At(left + text.cx, y), kWhite) << y;
  }
  EXPECT_EQ(box.At(left, top + text.cy + 3), kWhite);
  bool inkAbove = false;
  for (int y = top; y < top + text.cy; ++y)
    for (int x = left; x < left + text.cx; ++x) inkAbove = inkAbove || box.At(x, y) != kWhite;
  EXPECT_TRUE(inkAbove);
}

using ImageBlendTest = ImageListFixture;

TEST_F(ImageBlendTest, KeepsTheImagesAlphaAndScalesIt) {
  TPaintBox box(8, 4);
  DrawImageBlended(box.Canvas(), 0, 0, &list, 1, 255);
  // Premultiplied half blue over white: blue 128 + 127, red and green 127.
  EXPECT_EQ(box.At(0, 0), 0xFF7F7FFFu);
  DrawImageBlended(box.Canvas(), 4, 0, &list, 0, 255);
  EXPECT_EQ(box.At(4, 0), kRed);
  TPaintBox none(8, 4);
  DrawImageBlended(none.Canvas(), 0, 0, &list, 2, 255);
  DrawImageBlended(none.Canvas(), 0, 0, &list, -1, 255);
  DrawImageBlended(none.Canvas(), 0, 0, nullptr, 0, 255);
  EXPECT_TRUE(none.Untouched());
}

TEST(ImageBlendListTest, WithoutAlphaTheFirstPixelsColourIsTransparent) {
  TImageList list(nullptr);
  list.SetSize(3, 1);
  list.SetColorDepth(cd24Bit);
  TBitmap image(3, 1);
  image.ScanLine(0)[0] = kGreen;
  image.ScanLine(0)[1] = kRed;
  image.ScanLine(0)[2] = kGreen;
  list.Add(&image, nullptr);
  TPaintBox box(3, 1, kBlue);
  DrawImageBlended(box.Canvas(), 0, 0, &list, 0, 255);
  EXPECT_EQ(box.Picture(), Rows({"brb"}));
}

TEST(ImageBlendListTest, MaskedPixelsStayTransparentWhateverTheFirstPixel) {
  TImageList list(nullptr);
  list.SetSize(3, 1);
  list.SetColorDepth(cd24Bit);
  TBitmap image(3, 1);
  image.ScanLine(0)[0] = kRed;
  image.ScanLine(0)[1] = kGreen;  // the mask colour
  image.ScanLine(0)[2] = kWhite;
  list.AddMasked(&image, RGB(0, 255, 0));
  TPaintBox box(3, 1, kBlue);
  DrawImageBlended(box.Canvas(), 0, 0, &list, 0, 255);
  // Red is the first pixel, so it counts as transparent; the masked pixel stays transparent
  // rather than turning opaque black.
  EXPECT_EQ(box.Picture(), Rows({"bb."}));
}
