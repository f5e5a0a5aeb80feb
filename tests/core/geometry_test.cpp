#include <gtest/gtest.h>

#include "platform/core/color.h"
#include "platform/core/exceptions.h"
#include "platform/core/geometry.h"
#include "platform/core/region.h"

TEST(Geometry, RectanglesExcludeRightAndBottom) {
  TRect r(0, 0, 10, 5);
  EXPECT_TRUE(PtInRect(r, {0, 0}));
  EXPECT_TRUE(PtInRect(r, {9, 4}));
  EXPECT_FALSE(PtInRect(r, {10, 4}));
  EXPECT_FALSE(PtInRect(r, {9, 5}));
  EXPECT_EQ(r.CenterPoint(), TPoint(5, 2));
  EXPECT_EQ(TRect(-3, -3, 0, 0).CenterPoint(), TPoint(-2, -2));  // toward zero, from Left

  TRect d;
  EXPECT_FALSE(IntersectRect(d, TRect(0, 0, 5, 5), TRect(5, 0, 9, 5)));  // touching only
  EXPECT_EQ(d, TRect());
  EXPECT_TRUE(IntersectRect(d, TRect(0, 0, 5, 5), TRect(3, 2, 9, 9)));
  EXPECT_EQ(d, TRect(3, 2, 5, 5));
  UnionRect(d, TRect(), TRect(1, 1, 2, 2));
  EXPECT_EQ(d, TRect(1, 1, 2, 2));
  InflateRect(d, 1, 2);
  EXPECT_EQ(d, TRect(0, -1, 3, 4));
  OffsetRect(d, 10, 1);
  EXPECT_EQ(d, TRect(10, 0, 13, 5));
  EXPECT_TRUE(TRect(5, 5, 5, 9).IsEmpty());
}

TEST(Region, UnionSubtractAndIntersectKeepExactPixels) {
  TRegion r(TRect(0, 0, 10, 10));
  r.Subtract(TRect(2, 2, 8, 8));  // a frame
  EXPECT_TRUE(r.Contains({0, 0}));
  EXPECT_TRUE(r.Contains({9, 9}));
  EXPECT_FALSE(r.Contains({5, 5}));
  EXPECT_EQ(r.Bounds(), TRect(0, 0, 10, 10));
  EXPECT_EQ(r.Rects().size(), 4u);  // top band, two sides, bottom band

  r.Union(TRect(2, 2, 8, 8));
  ASSERT_EQ(r.Rects().size(), 1u);  // merged back into one rectangle
  EXPECT_EQ(r.Rects()[0], TRect(0, 0, 10, 10));

  r.Intersect(TRect(5, -5, 20, 3));
  ASSERT_EQ(r.Rects().size(), 1u);
  EXPECT_EQ(r.Rects()[0], TRect(5, 0, 10, 3));
  EXPECT_TRUE(r.ContainsRect(TRect(6, 1, 9, 2)));
  EXPECT_FALSE(r.ContainsRect(TRect(4, 1, 9, 2)));

  TRegion a(TRect(0, 0, 4, 4)), b(TRect(4, 0, 8, 4));
  a.Union(b);
  ASSERT_EQ(a.Rects().size(), 1u);  // side by side spans join
  EXPECT_EQ(a.Rects()[0], TRect(0, 0, 8, 4));
  a.Subtract(TRegion(TRect(-1, -1, 9, 9)));
  EXPECT_TRUE(a.IsEmpty());
}

TEST(Color, SystemColorsResolveThroughTheReplaceableTable) {
  EXPECT_EQ(ColorToRGB(clRed), RGB(255, 0, 0));
  EXPECT_EQ(ColorToRGB(clBtnFace), DefaultSystemColors().Colors[COLOR_BTNFACE]);
  TSystemColorTable t = DefaultSystemColors();
  t.Colors[COLOR_BTNFACE] = RGB(1, 2, 3);
  SetSystemColors(t);
  EXPECT_EQ(ColorToRGB(clBtnFace), RGB(1, 2, 3));
  ResetSystemColors();
  EXPECT_EQ(ColorToRGB(clBtnFace), DefaultSystemColors().Colors[COLOR_BTNFACE]);

  EXPECT_EQ(ColorToString(clBtnFace), "clBtnFace");
  EXPECT_EQ(StringToColor("clHighlight"), clHighlight);
  EXPECT_EQ(StringToColor("5187328"), RGB(0, 39, 79));
  EXPECT_EQ(StringToColor("$00FF0000"), clBlue);
  EXPECT_EQ(ColorToString(RGB(1, 2, 3)), "$00030201");
  EXPECT_THROW(StringToColor("clNoSuchColour"), EConvertError);
}
