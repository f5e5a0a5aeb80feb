// Classic 3-D edges and frame controls.
#include <gtest/gtest.h>

#include "pixels.h"
#include "platform/graphics/framectl.h"

using Rows = std::vector<std::string>;

namespace {
Rows EdgePicture(const TSurface& s) {
  return kvtest::Picture(s, {{0u, '.'},
                             {ColorToOpaquePixel(cl3DLight), 'l'},
                             {ColorToOpaquePixel(cl3DDkShadow), 'D'},
                             {ColorToOpaquePixel(clBtnHighlight), 'h'},
                             {ColorToOpaquePixel(clBtnShadow), 's'},
                             {ColorToOpaquePixel(clBtnFace), 'f'},
                             {ColorToOpaquePixel(clWindowText), '#'}});
}

struct Fixture {
  Fixture(int w, int h) : surface(w, h), dc(CreateSurfaceDC(&surface)) {}
  ~Fixture() { DeleteDC(dc); }
  TSurface surface;
  HDC dc;
};
}  // namespace

TEST(DrawEdgeTest, RaisedEdgeWithMiddleAndAdjust) {
  Fixture f(5, 5);
  TRect r(0, 0, 5, 5);
  ASSERT_TRUE(DrawEdge(f.dc, r, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST));
  EXPECT_EQ(r, TRect(2, 2, 3, 3));
  EXPECT_EQ(EdgePicture(f.surface), Rows({
                                        "llllD",
                                        "lhhsD",
                                        "lhfsD",
                                        "lsssD",
                                        "DDDDD"}));
}

TEST(DrawEdgeTest, SidesAreIndependentAndSoftSwapsTheLights) {
  Fixture f(4, 3);
  TRect r(0, 0, 4, 3);
  DrawEdge(f.dc, r, BDR_RAISEDOUTER, BF_TOP | BF_SOFT);
  DrawEdge(f.dc, r, BDR_SUNKENOUTER, BF_BOTTOM);
  EXPECT_EQ(EdgePicture(f.surface), Rows({"hhhh", "....", "hhhh"}));
  EXPECT_EQ(r, TRect(0, 0, 4, 3)) << "no BF_ADJUST: unchanged";
  TRect bad(0, 0, 4, 3);
  EXPECT_FALSE(DrawEdge(f.dc, bad, 0x10, BF_RECT));
}

TEST(DrawFrameControlTest, PushedButtonDiffersAndAdjustReturnsTheContent) {
  Fixture normal(12, 10), pushed(12, 10);
  TRect r1(0, 0, 12, 10), r2(0, 0, 12, 10);
  DrawFrameControl(normal.dc, r1, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT);
  DrawFrameControl(pushed.dc, r2, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
  EXPECT_EQ(r1, TRect(2, 2, 10, 8));
  EXPECT_EQ(r2, TRect(0, 0, 12, 10)) << "no DFCS_ADJUSTRECT: unchanged";
  Rows n = EdgePicture(normal.surface), p = EdgePicture(pushed.surface);
  EXPECT_EQ(n[0], "hhhhhhhhhhhD");
  EXPECT_EQ(n[5], "hlffffffffsD");
  EXPECT_EQ(p[0], "DDDDDDDDDDDD");
  EXPECT_EQ(p[5], "DsffffffffsD");
}

TEST(DrawFrameControlTest, CheckBoxStates) {
  Fixture plain(13, 13), checked(13, 13), inactive(13, 13);
  TRect r(0, 0, 13, 13);
  DrawFrameControl(plain.dc, r, DFC_BUTTON, DFCS_BUTTONCHECK);
  DrawFrameControl(checked.dc, r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
  DrawFrameControl(inactive.dc, r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE);
  Rows c = EdgePicture(checked.surface);
  EXPECT_EQ(c[0], "ssssssssssssh");
  EXPECT_EQ(c[1], "sDDDDDDDDDDlh");
  // The 7 x 7 mark sits in the 9 x 9 well at (3, 3).
  EXPECT_EQ(c[3].substr(3, 7), "hhhhhh#");  // the well is clWindow (white, as the highlight)
  EXPECT_EQ(c[7].substr(3, 7), "#####hh");
  EXPECT_EQ(kvtest::At(plain.surface, 9, 3), ColorToOpaquePixel(clWindow));
  EXPECT_EQ(kvtest::At(inactive.surface, 3, 5), ColorToOpaquePixel(clBtnShadow)) << "inactive mark is grey";
  EXPECT_EQ(kvtest::At(inactive.surface, 4, 3), ColorToOpaquePixel(clBtnFace)) << "inactive well is the face";
}

TEST(DrawFrameControlTest, RadioButtonIsRoundWithACentredDot) {
  Fixture f(12, 12);
  TRect r(0, 0, 12, 12);
  DrawFrameControl(f.dc, r, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED);
  const TSurface& s = f.surface;
  EXPECT_EQ(kvtest::At(s, 0, 0), 0u) << "corners stay untouched";
  EXPECT_EQ(kvtest::At(s, 11, 11), 0u);
  EXPECT_EQ(kvtest::At(s, 0, 5), ColorToOpaquePixel(clBtnShadow));
  EXPECT_EQ(kvtest::At(s, 11, 6), ColorToOpaquePixel(clBtnHighlight));
  int dot = 0;
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x)
      if (kvtest::At(s, x, y) == ColorToOpaquePixel(clWindowText)) {
        ++dot;
        EXPECT_TRUE(x >= 4 && x < 8 && y >= 4 && y < 8) << x << "," << y;
      }
  EXPECT_GT(dot, 8);
}

TEST(DrawFrameControlTest, ScrollArrowsPointTheirWay) {
  struct Case {
    unsigned kind;
    TPoint apex, base;  // a pixel of the tip row/column and one of the widest
  };
  // 16 x 16: a 4-row triangle centred at (8, 8).
  for (Case c : {Case{DFCS_SCROLLUP, {8, 6}, {5, 9}}, Case{DFCS_SCROLLDOWN, {8, 9}, {5, 6}},
                 Case{DFCS_SCROLLLEFT, {6, 8}, {9, 5}}, Case{DFCS_SCROLLRIGHT, {9, 8}, {6, 5}}}) {
    Fixture f(16, 16);
    TRect r(0, 0, 16, 16);
    ASSERT_TRUE(DrawFrameControl(f.dc, r, DFC_SCROLL, c.kind));
    uint32_t text = ColorToOpaquePixel(clBtnText);
    EXPECT_EQ(kvtest::At(f.surface, c.apex.X, c.apex.Y), text) << c.kind;
    EXPECT_EQ(kvtest::At(f.surface, c.base.X, c.base.Y), text) << c.kind;
    EXPECT_NE(kvtest::At(f.surface, c.base.X - (c.kind >= DFCS_SCROLLLEFT ? 0 : 1), c.base.Y - (c.kind >= DFCS_SCROLLLEFT ? 1 : 0)), text)
        << "the widest row/column is 7 pixels";
  }
  Fixture f(16, 16);
  TRect r(0, 0, 16, 16);
  EXPECT_FALSE(DrawFrameControl(f.dc, r, DFC_SCROLL, 0x7)) << "unknown part";
}
