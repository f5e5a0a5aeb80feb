// Glyph geometry, pixel by pixel: arrows, tree arrows and buttons, the close cross, dotted
// frames and lines, 3-D frames and the split line.
#include <gtest/gtest.h>

#include "kv/kvUtils/kvColors.h"
#include "kv/kvUtils/kvGlyphs.h"
#include "platform/graphics/dc.h"
#include "support.h"

using kvutest::kBlack;
using kvutest::kBlue;
using kvutest::kRed;
using kvutest::kWhite;
using kvutest::Px;
using kvutest::Rows;
using kvutest::TPaintBox;

namespace {
struct ArrowCase {
  int Kind;
  Rows Expected;
};
}  // namespace

TEST(GlyphTest, ArrowKindsInANineByNineBox) {
  const ArrowCase cases[] = {
      {1, {".........", ".....#...", "....##...", "...###...", "..####...", "...###...", "....##...", ".....#...",
           "........."}},
      {2, {".........", "...#.....", "...##....", "...###...", "...####..", "...###...", "...##....", "...#.....",
           "........."}},
      {3, {".........", ".........", "....#....", "...###...", "..#####..", ".#######.", ".........", ".........",
           "........."}},
      {4, {".........", ".........", ".........", ".#######.", "..#####..", "...###...", "....#....", ".........",
           "........."}},
      {5, {"...##....", "...##....", "...##....", "########.", "########.", "...##....", "...##....", "...##....",
           "........."}},
      {0, Rows(9, ".........")},
      {6, Rows(9, ".........")},
  };
  for (const ArrowCase& c : cases) {
    TPaintBox box(9, 9);
    DrawArrow(box.Canvas(), TRect(0, 0, 9, 9), clBlack, c.Kind);
    EXPECT_EQ(box.Picture(), c.Expected) << "kind " << c.Kind;
  }
}

TEST(GlyphTest, DownArrowInThirteenSquareAndCentreRoundsTowardZero) {
  TPaintBox box(13, 13);
  DrawArrow(box.Canvas(), TRect(0, 0, 13, 13), clBlack, 4);
  Rows p = box.Picture();
  EXPECT_EQ(p[4], ".............");
  EXPECT_EQ(p[5], "...#######...");
  EXPECT_EQ(p[6], "....#####....");
  EXPECT_EQ(p[7], ".....###.....");
  EXPECT_EQ(p[8], "......#......");
  EXPECT_EQ(p[9], ".............");
  // An even width: cx = 2 + 8 / 2 = 6; the arrow runs one column right of the odd box's.
  TPaintBox even(13, 13);
  DrawArrow(even.Canvas(), TRect(2, 0, 10, 13), clBlack, 3);
  EXPECT_EQ(even.Picture()[4], "......#......");
  EXPECT_EQ(even.Picture()[7], "...#######...");
}

TEST(GlyphTest, GlyphsDrawThroughTheDeviceContextOriginAndClip) {
  TPaintBox box(9, 9);
  HDC dc = box.Canvas()->Handle();
  SetViewportOrgEx(dc, 1, 0, nullptr);
  IntersectClipRect(dc, 0, 0, 8, 5);  // logical rows 0..4
  DrawArrow(box.Canvas(), TRect(0, 0, 9, 9), clBlack, 4);
  EXPECT_EQ(box.Picture(), Rows({".........", ".........", ".........", "..#######", "...#####.", ".........",
                                 ".........", ".........", "........."}));
}

TEST(GlyphTest, MoreArrow) {
  TPaintBox box(9, 9);
  DrawMoreArrow(box.Canvas(), TRect(0, 0, 9, 9), clBlack);
  EXPECT_EQ(box.Picture(), Rows({".........", ".#######.", ".........", ".........", ".#######.", "..#####..",
                                 "...###...", "....#....", "........."}));
}

TEST(GlyphTest, TreeArrowsOutlinedInTheirOutlineColour) {
  TPaintBox collapsed(11, 11);
  DrawTreeArrow(collapsed.Canvas(), TRect(0, 0, 11, 11), clBlue, clRed, 1);
  EXPECT_EQ(collapsed.Picture(), Rows({"...........", "...r.......", "...rr......", "...rbr.....", "...rbbr....",
                                       "...rbbbr...", "...rbbr....", "...rbr.....", "...rr......", "...r.......",
                                       "..........."}));
  TPaintBox expanded(11, 11);
  DrawTreeArrow(expanded.Canvas(), TRect(0, 0, 11, 11), clBlue, clRed, 2);
  EXPECT_EQ(expanded.Picture(), Rows({"...........", "...........", "...........", "......r....", ".....rr....",
                                      "....rbr....", "...rbbr....", "..rbbbr....", ".rrrrrr....", "...........",
                                      "..........."}));
  TPaintBox none(11, 11);
  DrawTreeArrow(none.Canvas(), TRect(0, 0, 11, 11), clBlue, clRed, 3);
  EXPECT_TRUE(none.Untouched());
}

class TreeButtonTest : public kvutest::LookTest {};

TEST_F(TreeButtonTest, NineByNineBoxOnePixelBelowCentre) {
  TColor face = ColorToRGB(clBtnFace), text = ColorToRGB(clBtnText);
  std::map<uint32_t, char> legend{{Px(MixColors(clBlack, face)), 'x'}, {Px(face), 'f'},
                                  {Px(clBtnHighlight), 'h'}, {Px(MixColors(text, MixColors(text, face))), 's'}};
  ASSERT_EQ(legend.size(), 4u);  // the four colours differ
  ASSERT_EQ(legend.count(kBlue), 0u);
  legend[kBlue] = '.';  // a blue ground: the highlight is white
  TPaintBox plus(11, 11, kBlue);
  DrawTreeButton(plus.Canvas(), TRect(0, 0, 11, 11), false, clBlack);
  EXPECT_EQ(plus.Picture(legend), Rows({"...........", "...........", ".xxxxxxxxx.", ".xhhhhhhhx.", ".xfffsfffx.",
                                        ".xfffsfffx.", ".xfsssssfx.", ".xfffsfffx.", ".xfffsfffx.", ".xfffffffx.",
                                        ".xxxxxxxxx."}));
  TPaintBox minus(11, 11, kBlue);
  DrawTreeButton(minus.Canvas(), TRect(0, 0, 11, 11), true, clBlack);
  EXPECT_EQ(minus.Picture(legend)[4], ".xfffffffx.");
  EXPECT_EQ(minus.Picture(legend)[6], ".xfsssssfx.");
  // Under a custom style the face is the style's button face.
  TStyleManager::SetStyle("Glossy");
  TPaintBox styled(11, 11);
  DrawTreeButton(styled.Canvas(), TRect(0, 0, 11, 11), true, clBlack);
  EXPECT_EQ(styled.At(3, 5), Px(StyleServices().GetSystemColor(clBtnFace)));
}

TEST(GlyphTest, CloseGlyphTwoThickDiagonals) {
  TPaintBox box(11, 10);
  DrawCloseGlyph(box.Canvas(), 0, 0, clBlack);
  EXPECT_EQ(box.Picture(), Rows({"...........", ".##.....##.", "..##...##..", "...##.##...", "....###....",
                                 "....###....", "...##.##...", "..##...##..", ".##.....##.", "..........."}));
}

TEST(GlyphTest, DottedFramesAlternateAroundThePerimeter) {
  struct Case {
    TRect R;
    Rows Expected;
  };
  const Case cases[] = {
      // Width-1 = 4 and Height-1 = 3: the first pixel is set.
      {{0, 0, 5, 4}, {"#.#.#", ".....", "#...#", ".#.#."}},
      // Both even: the first pixel is skipped.
      {{0, 0, 5, 5}, {".#.#.", "#...#", ".....", "#...#", ".#.#."}},
      {{1, 0, 2, 4}, {".#...", ".....", ".#...", "....."}},  // one column wide
      {{0, 0, 0, 4}, {".....", ".....", ".....", "....."}},  // empty
  };
  for (const Case& c : cases) {
    int h = static_cast<int>(c.Expected.size());
    TPaintBox a(5, h), b(5, h), f(5, h);
    DrawDottedFrame(a.Canvas(), c.R, clBlack);
    DrawDottedFrameDC(b.Canvas(), c.R, clBlack);
    f.Canvas()->Font()->SetColor(clBlack);
    DrawFocusFrame(f.Canvas(), c.R);
    EXPECT_EQ(a.Picture(), c.Expected) << c.R.Right << "x" << c.R.Bottom;
    EXPECT_EQ(b.Picture(), c.Expected);
    EXPECT_EQ(f.Picture(), c.Expected);
  }
  // The focus frame takes the canvas's font colour.
  TPaintBox red(5, 4);
  red.Canvas()->Font()->SetColor(clRed);
  DrawFocusFrame(red.Canvas(), TRect(0, 0, 5, 4));
  EXPECT_EQ(red.At(0, 0), kRed);
}

TEST(GlyphTest, DottedLines) {
  struct Case {
    int X1, Y1, X2, Y2;
    Rows Expected;
  };
  const Case cases[] = {
      {1, 0, 1, 4, {".#...", ".....", ".#...", ".....", ".#..."}},
      {1, 0, 1, 3, {".#...", ".....", ".#...", ".....", "....."}},
      {0, 2, 3, 2, {".....", ".....", "#.#..", ".....", "....."}},
      {2, 2, 2, 2, {".....", ".....", "..#..", ".....", "....."}},
      {0, 0, 3, 3, Rows(5, ".....")},  // slanted: nothing
      {1, 4, 1, 0, Rows(5, ".....")},  // runs only from the first point onwards
  };
  for (const Case& c : cases) {
    TPaintBox box(5, 5);
    DrawDottedLine(box.Canvas(), c.X1, c.Y1, c.X2, c.Y2, clBlack);
    EXPECT_EQ(box.Picture(), c.Expected) << c.X1 << "," << c.Y1 << " " << c.X2 << "," << c.Y2;
  }
}

TEST(GlyphTest, Frame3DOwnsCornersAndDeflates) {
  TPaintBox box(5, 4);
  TRect r(0, 0, 5, 4);
  DrawFrame3D(box.Canvas(), r, clRed, clBlue);
  EXPECT_EQ(box.Picture(), Rows({"rrrrb", "r...b", "r...b", "bbbbb"}));
  EXPECT_EQ(r, TRect(1, 1, 4, 3));
  // A second frame inside the first, and a one-pixel-wide frame that leaves only the bottom-
  // right colour.
  DrawFrame3D(box.Canvas(), r, clBlack, clBlack);
  EXPECT_EQ(box.Picture(), Rows({"rrrrb", "r###b", "r###b", "bbbbb"}));
  TPaintBox thin(3, 3);
  TRect column(1, 0, 2, 3);
  DrawFrame3D(thin.Canvas(), column, clRed, clBlue);
  EXPECT_EQ(thin.Picture(), Rows({".b.", ".b.", ".b."}));
  // Without a canvas the rectangle still deflates.
  TRect alone(0, 0, 4, 4);
  DrawFrame3D(nullptr, alone, clRed, clBlue);
  EXPECT_EQ(alone, TRect(1, 1, 3, 3));
}

class SplitLineTest : public kvutest::LookTest {};

TEST_F(SplitLineTest, TwoColumnsBlendedAtConstantAlpha125) {
  auto over = [](TColor c) {  // c at alpha 125 over white, rounded as AlphaBlend does
    auto ch = [](int v) { return static_cast<uint32_t>((2 * v * 125 + 255) / 510 + (2 * 255 * 130 + 255) / 510); };
    TColor rgb = ColorToRGB(c);
    return 0xFF000000u | ch(GetRValue(rgb)) << 16 | ch(GetGValue(rgb)) << 8 | ch(GetBValue(rgb));
  };
  TPaintBox box(4, 3);
  DrawSplitLine(box.Canvas(), TRect(1, 0, 9, 2));
  EXPECT_EQ(box.At(1, 0), over(clBtnShadow));
  EXPECT_EQ(box.At(2, 1), over(clBtnHighlight));
  EXPECT_EQ(box.At(0, 0), kWhite);
  EXPECT_EQ(box.At(3, 0), kWhite);
  EXPECT_EQ(box.At(1, 2), kWhite);  // Rect's height only
  TStyleManager::SetStyle("TabletDark");
  TPaintBox dark(4, 3);
  DrawSplitLine(dark.Canvas(), TRect(1, 0, 9, 2));
  EXPECT_EQ(dark.At(1, 0), over(StyleServices().GetSystemColor(clBtnShadow)));
}
