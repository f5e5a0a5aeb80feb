#include <gtest/gtest.h>

#include "platform/themes/elementrender.h"
#include "platform/themes/styleparser.h"
#include "support.h"

namespace {
constexpr uint32_t kRed = 0xFFFF0000u, kBlue = 0xFF0000FFu, kGreen = 0xFF00FF00u;

TPixels Render(const TElementLook& l, int w, int h, const std::vector<TStylePicture>& pictures = {}) {
  TPixels p(w, h);
  RenderElementLook(l, pictures, p.Data.data(), w, h, w);
  return p;
}
TElementLook Solid(uint32_t argb) {
  TElementLook l;
  l.Fill = TPaint::Solid({static_cast<uint8_t>(argb >> 16), static_cast<uint8_t>(argb >> 8),
                          static_cast<uint8_t>(argb), static_cast<uint8_t>(argb >> 24)});
  return l;
}
}  // namespace

TEST(ElementRender, FillsTheShapeInsideItsMargin) {
  TElementLook l = Solid(kRed);
  l.Margin = {2, 1, 3, 4};
  TPixels p = Render(l, 20, 10);
  EXPECT_EQ(p.At(2, 1), kRed);
  EXPECT_EQ(p.At(16, 5), kRed);
  EXPECT_EQ(p.Alpha(1, 5), 0u);
  EXPECT_EQ(p.Alpha(17, 5), 0u);
  EXPECT_EQ(p.Alpha(5, 0), 0u);
  EXPECT_EQ(p.Alpha(5, 6), 0u);
}

TEST(ElementRender, BordersOnlyTheChosenSides) {
  TElementLook l = Solid(kRed);
  l.Border = {0, 0, 255, 255};
  l.Sides = kSideLeft | kSideTop;
  TPixels p = Render(l, 10, 8);
  EXPECT_EQ(p.At(0, 4), kBlue);
  EXPECT_EQ(p.At(5, 0), kBlue);
  EXPECT_EQ(p.At(9, 4), kRed);  // no right border: the fill reaches the edge
  EXPECT_EQ(p.At(5, 7), kRed);
  EXPECT_EQ(p.At(5, 4), kRed);
}

TEST(ElementRender, RoundsOnlyTheChosenCorners) {
  TElementLook l = Solid(kRed);
  l.Radius = 4;
  l.Corners = kCornerTopLeft | kCornerTopRight;
  TPixels p = Render(l, 12, 12);
  EXPECT_EQ(p.Alpha(0, 0), 0u);
  EXPECT_EQ(p.Alpha(11, 0), 0u);
  EXPECT_EQ(p.At(0, 11), kRed);
  EXPECT_EQ(p.At(11, 11), kRed);
}

TEST(ElementRender, VerticalGradientRunsTopToBottom) {
  TElementLook l;
  l.Fill = TPaint::Vertical({{0, {255, 0, 0, 255}}, {0.5f, {255, 0, 0, 255}}, {0.5f, {0, 0, 255, 255}}, {1, {0, 0, 255, 255}}});
  TPixels p = Render(l, 4, 20);
  EXPECT_EQ(p.At(2, 2), kRed);
  EXPECT_EQ(p.At(2, 17), kBlue);
}

TEST(ElementRender, ShadowTakesTheLastRowUnderTheShape) {
  TElementLook l = Solid(kRed);
  l.Shadow = {0, 255, 0, 255};
  TPixels p = Render(l, 6, 6);
  EXPECT_EQ(p.At(3, 5), kGreen);
  EXPECT_EQ(p.At(3, 4), kRed);
}

TEST(ElementRender, GlyphsAreCentredInTheShape) {
  TElementLook l;
  l.Glyph = sgDot;
  l.GlyphColor = {0, 0, 255, 255};
  l.GlyphSize = 6;
  TPixels p = Render(l, 15, 15);
  EXPECT_EQ(p.At(7, 7), kBlue);
  EXPECT_EQ(p.Alpha(1, 1), 0u);
  EXPECT_EQ(p.Alpha(7, 2), 0u);
}

TEST(ElementRender, NineSliceKeepsCornersAndNeverInverts) {
  TStylePicture pic = DecodeStylePicture("p", MakeTestPng(12, 10));
  TElementLook l;
  l.Picture = 0;
  l.PictureMargins = {3, 3, 3, 3};
  TPixels big = Render(l, 40, 30, {pic});
  EXPECT_EQ(big.At(0, 0), kGreen);      // frame corner, unscaled
  EXPECT_EQ(big.At(39, 29), kGreen);
  EXPECT_EQ(big.At(1, 15), kRed);       // left edge band
  EXPECT_EQ(big.At(38, 15), kBlue);     // right edge band
  EXPECT_EQ(big.At(20, 0), kGreen);     // top edge band keeps the frame line
  // Smaller than its margins: the margins shrink and every pixel is still painted, once.
  TPixels small = Render(l, 4, 4, {pic});
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(small.Alpha(x, y), 255u) << x << "," << y;
}

TEST(ElementRender, NothingIsDrawnForAnEmptyShape) {
  TElementLook l = Solid(kRed);
  l.Margin = {5, 5, 5, 5};
  TPixels p = Render(l, 8, 8);
  for (uint32_t px : p.Data) EXPECT_EQ(px, 0u);
}
