// Pixel rules of the raster primitives.
#include <gtest/gtest.h>

#include "pixels.h"
#include "platform/graphics/primitives.h"

using kvtest::At;
using kvtest::Picture;
using Rows = std::vector<std::string>;

namespace {
// A white canvas of w x h with a black 1-pixel pen and a black brush selected.
class Canvas {
public:
  Canvas(int w, int h) : surface(w, h), dc(CreateSurfaceDC(&surface)) {
    surface.Fill(0xFFFFFFFFu);
    SelectObject(dc, GetStockObject(BLACK_PEN));
    SelectObject(dc, GetStockObject(BLACK_BRUSH));
  }
  ~Canvas() { DeleteDC(dc); }
  Rows Pic() const { return Picture(surface, {{0xFFFFFFFFu, '.'}, {0xFF000000u, '#'}, {0xFFFF0000u, 'r'}}); }
  TSurface surface;
  HDC dc;
};

struct LineCase {
  const char* name;
  TPoint to;
};
void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }
}  // namespace

class LineDirectionTest : public testing::TestWithParam<LineCase> {};

TEST_P(LineDirectionTest, CoversStartUpToButExcludingEnd) {
  Canvas c(9, 9);
  TPoint from(4, 4), to = GetParam().to;
  MoveToEx(c.dc, from.X, from.Y, nullptr);
  LineTo(c.dc, to.X, to.Y);
  int steps = std::max(std::abs(to.X - from.X), std::abs(to.Y - from.Y));
  TPoint step((to.X - from.X) / steps, (to.Y - from.Y) / steps);
  Rows expected(9, std::string(9, '.'));
  for (int k = 0; k < steps; ++k) expected[static_cast<size_t>(from.Y + k * step.Y)][static_cast<size_t>(from.X + k * step.X)] = '#';
  EXPECT_EQ(c.Pic(), expected);
  TPoint pos;
  GetCurrentPositionEx(c.dc, &pos);
  EXPECT_EQ(pos, to);
}

INSTANTIATE_TEST_SUITE_P(EightDirections, LineDirectionTest,
                         testing::Values(LineCase{"E", {8, 4}}, LineCase{"W", {0, 4}}, LineCase{"S", {4, 8}},
                                         LineCase{"N", {4, 0}}, LineCase{"SE", {7, 7}}, LineCase{"NW", {1, 1}},
                                         LineCase{"NE", {7, 1}}, LineCase{"SW", {1, 7}}),
                         [](const testing::TestParamInfo<LineCase>& i) { return std::string(i.param.name); });

TEST(LineTest, LengthZeroDrawsNothingAndLengthOneDrawsTheStart) {
  Canvas c(4, 3);
  MoveToEx(c.dc, 1, 1, nullptr);
  LineTo(c.dc, 1, 1);
  EXPECT_EQ(c.Pic(), Rows({"....", "....", "...."}));
  LineTo(c.dc, 2, 1);
  LineTo(c.dc, 2, 2);
  EXPECT_EQ(c.Pic(), Rows({"....", ".##.", "...."}));
}

TEST(LineTest, ShallowLineRoundsHalvesDownTheScreenInBothDirections) {
  Canvas forward(5, 3), backward(5, 3);
  MoveToEx(forward.dc, 0, 0, nullptr);
  LineTo(forward.dc, 4, 2);
  MoveToEx(backward.dc, 4, 2, nullptr);
  LineTo(backward.dc, 0, 0);
  EXPECT_EQ(forward.Pic(), Rows({"#....", ".##..", "...#."}));
  EXPECT_EQ(backward.Pic(), Rows({".....", ".##..", "...##"}));
}

TEST(LineTest, PolylineDrawsEveryJointOnceAndLeavesTheLastPoint) {
  Canvas c(6, 5);
  SetROP2(c.dc, R2_XORPEN);
  SelectObject(c.dc, GetStockObject(WHITE_PEN));  // XOR with white inverts: a double write cancels
  TPoint pts[] = {{1, 1}, {4, 1}, {4, 3}, {1, 3}, {1, 2}};
  ASSERT_TRUE(Polyline(c.dc, pts, 5));
  EXPECT_EQ(c.Pic(), Rows({
                         "......",
                         ".####.",
                         "....#.",
                         ".####.",
                         "......"}));
  EXPECT_FALSE(Polyline(c.dc, pts, 1));
}

TEST(LineTest, DottedPenFillsGapsOnlyWhenOpaque) {
  for (int mode : {TRANSPARENT, OPAQUE}) {
    Canvas c(8, 1);
    SetBkMode(c.dc, mode);
    SetBkColor(c.dc, clRed);
    HPEN dot = CreatePen(PS_DOT, 1, clBlack);
    SelectObject(c.dc, dot);
    MoveToEx(c.dc, 0, 0, nullptr);
    LineTo(c.dc, 8, 0);
    EXPECT_EQ(c.Pic()[0], mode == OPAQUE ? "###rrr##" : "###...##");
    SelectObject(c.dc, GetStockObject(BLACK_PEN));
    DeleteObject(dot);
  }
}

TEST(LineTest, WidePenHasRoundEnds) {
  Canvas c(11, 7);
  HPEN wide = CreatePen(PS_SOLID, 5, clBlack);
  SelectObject(c.dc, wide);
  MoveToEx(c.dc, 3, 3, nullptr);
  LineTo(c.dc, 7, 3);
  EXPECT_EQ(c.Pic(), Rows({"...........", "..#######..", ".#########.", ".#########.", ".#########.",
                           "..#######..", "..........."}));
  SelectObject(c.dc, GetStockObject(BLACK_PEN));
  DeleteObject(wide);
}

TEST(ShapeTest, PolygonFillRules) {
  // An outer square and an inner one traced the same way, joined by a doubled edge.
  TPoint pts[] = {{1, 1}, {9, 1}, {9, 9}, {1, 9}, {1, 1}, {3, 3}, {7, 3}, {7, 7}, {3, 7}, {3, 3}};
  Rows ring = {
      "..........",
      ".########.",
      ".########.",
      ".##....##.",
      ".##....##.",
      ".##....##.",
      ".##....##.",
      ".########.",
      ".########.",
      ".........."};
  Rows solid = ring;
  for (int y = 3; y < 7; ++y) solid[static_cast<size_t>(y)] = ".########.";
  for (int mode : {ALTERNATE, WINDING}) {
    Canvas c(10, 10);
    SelectObject(c.dc, GetStockObject(NULL_PEN));
    SetPolyFillMode(c.dc, mode);
    ASSERT_TRUE(Polygon(c.dc, pts, 10));
    EXPECT_EQ(c.Pic(), mode == ALTERNATE ? ring : solid) << "mode " << mode;
  }
}

TEST(ShapeTest, TriangleFillsPixelsWhoseCentresLieInsideAndPenDrawsTheOutline) {
  Canvas fill(6, 5), outlined(6, 5);
  TPoint tri[] = {{0, 0}, {5, 0}, {0, 5}};
  SelectObject(fill.dc, GetStockObject(NULL_PEN));
  Polygon(fill.dc, tri, 3);
  EXPECT_EQ(fill.Pic(), Rows({"####..", "###...", "##....", "#.....", "......"}));
  SelectObject(outlined.dc, GetStockObject(WHITE_BRUSH));
  SelectObject(outlined.dc, CreatePen(PS_SOLID, 1, clRed));
  Polygon(outlined.dc, tri, 3);
  // The closing edge draws the corner (5, 0) that the first edge left out.
  EXPECT_EQ(outlined.Pic(), Rows({"rrrrrr", "r...r.", "r..r..", "r.r...", "rr...."}));
  DeleteObject(SelectObject(outlined.dc, GetStockObject(BLACK_PEN)));
}

TEST(ShapeTest, RectangleOutlineInsideTheBoxAndNullPenShrinks) {
  Canvas c(7, 6);
  SelectObject(c.dc, GetStockObject(WHITE_BRUSH));
  SelectObject(c.dc, CreatePen(PS_SOLID, 1, clRed));
  Rectangle(c.dc, 1, 1, 6, 5);
  EXPECT_EQ(c.Pic(), Rows({".......", ".rrrrr.", ".r...r.", ".r...r.", ".rrrrr.", "......."}));
  DeleteObject(SelectObject(c.dc, GetStockObject(NULL_PEN)));
  SelectObject(c.dc, GetStockObject(BLACK_BRUSH));
  Rectangle(c.dc, 1, 1, 6, 5);
  EXPECT_EQ(c.Pic(), Rows({".......", ".####r.", ".####r.", ".####r.", ".rrrrr.", "......."}));
}

TEST(ShapeTest, EllipseIsSymmetricAndFitsItsBox) {
  Canvas c(8, 7);
  SelectObject(c.dc, GetStockObject(WHITE_BRUSH));
  Ellipse(c.dc, 1, 1, 7, 7);
  EXPECT_EQ(c.Pic(), Rows({
                         "........",
                         "..####..",
                         ".#....#.",
                         ".#....#.",
                         ".#....#.",
                         ".#....#.",
                         "..####.."}));
  Canvas r(9, 6);
  SelectObject(r.dc, GetStockObject(NULL_PEN));
  RoundRect(r.dc, 0, 0, 10, 7, 4, 4);  // null pen: box (0, 0, 9, 6)
  EXPECT_EQ(r.Pic(), Rows({".#######.", "#########", "#########", "#########", "#########", ".#######."}));
}

TEST(ShapeTest, FrameRectAndDegenerateRectangles) {
  Canvas c(6, 5);
  HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  FrameRect(c.dc, TRect(1, 1, 5, 4), black);
  FrameRect(c.dc, TRect(5, 0, 6, 1), black);  // a single pixel
  FrameRect(c.dc, TRect(3, 4, 3, 5), black);  // empty: nothing
  EXPECT_EQ(c.Pic(), Rows({".....#", ".####.", ".#..#.", ".####.", "......"}));
}

TEST(ShapeTest, FocusRectDotsFollowDeviceParityAndUndoThemselves) {
  Canvas c(8, 6);
  Rows dotted = {
      "........",
      ".#.#.#..",
      "........",
      ".#...#..",
      "..#.#...",
      "........"};
  DrawFocusRect(c.dc, TRect(1, 1, 6, 5));
  EXPECT_EQ(c.Pic(), dotted);
  DrawFocusRect(c.dc, TRect(1, 1, 6, 5));
  EXPECT_EQ(c.Pic(), Rows(6, "........"));
  SetViewportOrgEx(c.dc, 1, 0, nullptr);  // the same device rectangle: the same dots
  DrawFocusRect(c.dc, TRect(0, 1, 5, 5));
  EXPECT_EQ(c.Pic(), dotted);
}

TEST(ShapeTest, GradientStepsStopOneShortOfTheEndColour) {
  Canvas c(4, 2);
  GradientFillRect(c.dc, TRect(0, 0, 4, 2), clBlack, clRed, false);
  for (int x = 0; x < 4; ++x) {
    EXPECT_EQ(At(c.surface, x, 0), 0xFF000000u | (static_cast<uint32_t>(0xFF00 * x / 4 >> 8) << 16)) << x;
    EXPECT_EQ(At(c.surface, x, 1), At(c.surface, x, 0));
  }
  GRADIENT_RECT bad{0, 5};
  TRIVERTEX v[2];
  EXPECT_FALSE(GradientFill(c.dc, v, 2, &bad, 1, GRADIENT_FILL_RECT_V)) << "vertex index out of range";
}

TEST(ShapeTest, PixelsAreClippedAndReadBack) {
  Canvas c(3, 3);
  IntersectClipRect(c.dc, 0, 0, 2, 2);
  EXPECT_EQ(SetPixel(c.dc, 1, 1, clRed), clRed);
  SetPixel(c.dc, 2, 2, clRed);
  EXPECT_EQ(GetPixel(c.dc, 1, 1), clRed);
  EXPECT_EQ(GetPixel(c.dc, 2, 2), CLR_INVALID) << "outside the clip";
  EXPECT_EQ(c.Pic(), Rows({"...", ".r.", "..."}));
}

TEST(ShapeTest, HugeCoordinatesCostOnlyWhatIsVisible) {
  // Each call would take minutes if it walked the invisible part.
  Canvas c(8, 8);
  const int big = 1 << 28;
  MoveToEx(c.dc, -big, -big, nullptr);
  LineTo(c.dc, big, big);  // the diagonal through the canvas
  for (int i = 0; i < 8; ++i) EXPECT_EQ(At(c.surface, i, i), 0xFF000000u) << i;
  HPEN dashed = CreatePen(PS_DASH, 1, clRed);
  HPEN wide = CreatePen(PS_SOLID, 1 << 20, clRed);
  SelectObject(c.dc, dashed);
  MoveToEx(c.dc, -big, 3, nullptr);
  LineTo(c.dc, big, 3);
  SelectObject(c.dc, wide);
  LineTo(c.dc, big, -big);
  SelectObject(c.dc, GetStockObject(BLACK_PEN));
  DeleteObject(dashed);
  DeleteObject(wide);
  Ellipse(c.dc, -big, -big, big, big);
  RoundRect(c.dc, -big, -big, big, big, big, big);
  DrawFocusRect(c.dc, TRect(-big, -big, big, big));
  GradientFillRect(c.dc, TRect(-big, -big, big, big), clBlack, clWhite, true);
  TPoint tri[] = {{-big, -big}, {big, 0}, {-big, big}};
  Polygon(c.dc, tri, 3);
  // Beyond the coordinate range the calls are refused rather than overflowing.
  const int huge = 1 << 30;
  EXPECT_FALSE(LineTo(c.dc, huge, 0));
  EXPECT_FALSE(Ellipse(c.dc, -huge, 0, huge, 4));
  TPoint far[] = {{0, 0}, {huge, huge}, {0, 4}};
  EXPECT_FALSE(Polygon(c.dc, far, 3));
  EXPECT_FALSE(BitBlt(c.dc, INT32_MAX - 1, 0, 10, 10, c.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(FillRect(c.dc, TRect(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX), static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 1)
      << "rectangles are clamped: the whole surface is filled";
  EXPECT_EQ(At(c.surface, 7, 0), 0xFF000000u);
}
