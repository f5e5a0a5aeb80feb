// Bitmap routines: alpha and fills, blending onto a canvas, quarter turns, flipping and
// nine-slice drawing.
#include <gtest/gtest.h>

#include "kv/kvUtils/kvBitmaps.h"
#include "support.h"

using kvutest::Rows;
using kvutest::TPaintBox;

namespace {
// A bitmap of pixels given as rows of characters: each character's code becomes the pixel
// 0xFF0000xx, so the picture reads back character for character.
void FromRows(TBitmap& b, const Rows& rows) {
  b.SetSize(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
  b.SetPixelFormat(pf32bit);
  for (size_t y = 0; y < rows.size(); ++y)
    for (size_t x = 0; x < rows[y].size(); ++x)
      b.ScanLine(static_cast<int>(y))[x] = 0xFF000000u | static_cast<uint8_t>(rows[y][x]);
}
Rows ToRows(TBitmap& b) {
  Rows rows;
  for (int y = 0; y < b.Height(); ++y) {
    std::string row;
    for (int x = 0; x < b.Width(); ++x) row += static_cast<char>(b.ScanLine(y)[x] & 0xFF);
    rows.push_back(row);
  }
  return rows;
}
}  // namespace

TEST(BitmapTest, AlphaAndFill) {
  TBitmap b(3, 2);
  b.SetPixelFormat(pf32bit);
  b.ScanLine(0)[0] = 0x12345678u;
  b.ScanLine(1)[2] = 0xFFABCDEFu;
  SetBitmapAlpha(&b, 0x40);
  EXPECT_EQ(b.ScanLine(0)[0], 0x40345678u);
  EXPECT_EQ(b.ScanLine(1)[2], 0x40ABCDEFu);
  EXPECT_EQ(b.ScanLine(0)[1], 0x40000000u);
  for (uint32_t pixel : {0u, 0xFFFFFFFFu, 0x80102030u}) {
    FillBitmap(&b, pixel);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) ASSERT_EQ(b.ScanLine(y)[x], pixel);
  }
  SetBitmapAlpha(nullptr, 1);  // ignored
  FillBitmap(nullptr, 1);
}

TEST(BitmapTest, QuarterTurnsSizeTheDestinationAndFlipSwapsRows) {
  TBitmap src;
  FromRows(src, {"abc", "def"});
  TBitmap dst;  // empty: the turn sizes it
  RotateBitmap90(&src, &dst);
  EXPECT_EQ(ToRows(dst), Rows({"cf", "be", "ad"}));  // counter-clockwise
  TBitmap wrong(7, 7);
  RotateBitmap270(&src, &wrong);
  EXPECT_EQ(ToRows(wrong), Rows({"da", "eb", "fc"}));  // clockwise
  EXPECT_EQ(wrong.PixelFormat(), pf32bit);
  // In place: four turns give the picture back.
  TBitmap same;
  FromRows(same, {"abc", "def"});
  for (int i = 0; i < 4; ++i) RotateBitmap90(&same, &same);
  EXPECT_EQ(ToRows(same), Rows({"abc", "def"}));
  RotateBitmap270(&same, &same);
  RotateBitmap90(&same, &same);
  EXPECT_EQ(ToRows(same), Rows({"abc", "def"}));

  TBitmap odd;
  FromRows(odd, {"ab", "cd", "ef"});
  FlipBitmapVert(&odd);
  EXPECT_EQ(ToRows(odd), Rows({"ef", "cd", "ab"}));
  TBitmap even;
  FromRows(even, {"a", "b", "c", "d"});
  FlipBitmapVert(&even);
  EXPECT_EQ(ToRows(even), Rows({"d", "c", "b", "a"}));
  RotateBitmap90(nullptr, &dst);  // ignored
}

TEST(BitmapTest, TurnsKeepStoredAlphaAsItIs) {
  TBitmap src(2, 1);
  src.SetPixelFormat(pf32bit);
  src.SetAlphaFormat(afPremultiplied);
  src.ScanLine(0)[0] = 0x80400000u;
  src.ScanLine(0)[1] = 0xFF00FF00u;
  TBitmap dst;
  RotateBitmap270(&src, &dst);
  EXPECT_EQ(dst.AlphaFormat(), afPremultiplied);
  EXPECT_EQ(dst.ScanLine(0)[0], 0x80400000u);
  EXPECT_EQ(dst.ScanLine(1)[0], 0xFF00FF00u);
}

TEST(BitmapTest, AlphaBlendRectBlendsPremultipliedPixelsWithConstantAlpha) {
  TBitmap src(2, 1);
  src.SetPixelFormat(pf32bit);
  src.SetAlphaFormat(afPremultiplied);
  src.ScanLine(0)[0] = 0xFFFF0000u;  // opaque red
  src.ScanLine(0)[1] = 0x00000000u;  // transparent
  TPaintBox box(4, 2, 0xFF0000FFu);
  AlphaBlendRect(&src, box.Canvas(), TRect(0, 0, 2, 1), TRect(1, 1, 3, 2), 255);
  EXPECT_EQ(box.At(1, 1), 0xFFFF0000u);
  EXPECT_EQ(box.At(2, 1), 0xFF0000FFu);
  EXPECT_EQ(box.At(0, 0), 0xFF0000FFu);
  // Half constant alpha: red 255 * 128 / 255 = 128 over blue 255 * (255 - 128) / 255 = 127.
  AlphaBlendBitmap(&src, box.Canvas(), 0, 0, 128);
  EXPECT_EQ(box.At(0, 0), 0xFF80007Fu);
  EXPECT_EQ(box.At(1, 0), 0xFF0000FFu);
}

namespace {
// A 5 x 5 picture whose nine slices (margins 2, 1, 1, 2) have their own letters.
void SlicePicture(TBitmap& b) {
  FromRows(b, {"aabbc",
                   "ddeef",
                   "ddeef",
                   "gghhi",
                   "gghhi"});
}
}  // namespace

TEST(BitmapTest, SlicedBitmapKeepsCornersAndStretchesEdgesAndCentre) {
  TBitmap pic;
  SlicePicture(pic);
  TBitmap target(9, 7);
  target.SetPixelFormat(pf32bit);
  FillBitmap(&target, 0xFF00002Eu);  // '.'
  DrawSlicedBitmap(2, 1, 1, 2, &pic, target.Canvas(), TRect(1, 1, 9, 7));
  EXPECT_EQ(ToRows(target), Rows({".........",
                                  ".aabbbbbc",
                                  ".ddeeeeef",
                                  ".ddeeeeef",
                                  ".ddeeeeef",
                                  ".gghhhhhi",
                                  ".gghhhhhi"}));
}

TEST(BitmapTest, SlicedBitmapShrinksMarginsThatDoNotFit) {
  TBitmap pic;
  SlicePicture(pic);
  // Rect 2 x 2: horizontal margins 2 + 1 shrink to 1 + 1, vertical 1 + 2 to 0 + 2.
  TBitmap target(4, 4);
  target.SetPixelFormat(pf32bit);
  FillBitmap(&target, 0xFF00002Eu);
  DrawSlicedBitmap(2, 1, 1, 2, &pic, target.Canvas(), TRect(1, 1, 3, 3));
  Rows rows = ToRows(target);
  EXPECT_EQ(rows[0], "....");
  EXPECT_EQ(rows[3], "....");
  EXPECT_EQ(rows[1][0], '.');
  EXPECT_EQ(rows[1][3], '.');
  // Every pixel inside comes from the bottom slices, left column from the left, right from the right.
  EXPECT_TRUE(rows[1][1] == 'g' && rows[2][1] == 'g') << rows[1] << "/" << rows[2];
  EXPECT_TRUE(rows[1][2] == 'i' && rows[2][2] == 'i') << rows[1] << "/" << rows[2];
  // Margins larger than the picture and negative margins draw nothing outside Rect.
  FillBitmap(&target, 0xFF00002Eu);
  DrawSlicedBitmap(40, -3, 40, 9, &pic, target.Canvas(), TRect(1, 1, 3, 3));
  rows = ToRows(target);
  EXPECT_EQ(rows[0], "....");
  EXPECT_EQ(rows[3], "....");
  for (int y = 1; y < 3; ++y)
    for (int x = 1; x < 3; ++x) EXPECT_NE(rows[y][x], '.');
}

TEST(BitmapTest, SlicedBitmapBlendsABitmapWithAlpha) {
  TBitmap pic(3, 3);
  pic.SetPixelFormat(pf32bit);
  pic.SetAlphaFormat(afPremultiplied);
  FillBitmap(&pic, 0);
  pic.ScanLine(1)[1] = 0xFFFF0000u;  // only the centre is opaque
  TPaintBox box(5, 5, kvutest::kBlue);
  DrawSlicedBitmap(1, 1, 1, 1, &pic, box.Canvas(), TRect(0, 0, 5, 5));
  EXPECT_EQ(box.Picture(), Rows({"bbbbb", "brrrb", "brrrb", "brrrb", "bbbbb"}));
}
