// Where each draw style puts its copies, and what Draw makes of them on a canvas.
#include <gtest/gtest.h>

#include "support.h"

using kvtest::SourceOf;
using kvtest::TTarget;

namespace {
const TRect kEverything(-1000000, -1000000, 1000000, 1000000);

std::vector<TkvImagePlacement> Place(TkvImageDrawStyle style, int w, int h, const TRect& r, int ox = 0, int oy = 0,
                                     const TRect& visible = kEverything) {
  return ImagePlacements(style, w, h, r, ox, oy, visible);
}
}  // namespace

// A 30 x 20 picture in (10, 5, 110, 70): W = 100, H = 65, so nx = 3, ny = 3 and the last tile of
// each row and column is partial.
TEST(ImagePlacements, EveryDrawStylePlacesItsCopies) {
  struct Case {
    TkvImageDrawStyle style;
    size_t count;
    TRect first, last;
    bool stretched;
  };
  const Case cases[] = {
      {idsTile, 16, {10, 5, 40, 25}, {100, 65, 130, 85}, false},
      {idsStretch, 1, {10, 5, 110, 70}, {10, 5, 110, 70}, true},
      {idsCenter, 1, {45, 27, 75, 47}, {45, 27, 75, 47}, false},
      {idsTopLeft, 1, {10, 5, 40, 25}, {10, 5, 40, 25}, false},
      {idsTopRight, 1, {80, 5, 110, 25}, {80, 5, 110, 25}, false},
      {idsBottomLeft, 1, {10, 50, 40, 70}, {10, 50, 40, 70}, false},
      {idsBottomRight, 1, {80, 50, 110, 70}, {80, 50, 110, 70}, false},
      {idsTopTile, 4, {10, 5, 40, 25}, {100, 5, 130, 25}, false},
      {idsLeftTile, 4, {10, 5, 40, 25}, {10, 65, 40, 85}, false},
      {idsRightTile, 4, {80, 5, 110, 25}, {80, 65, 110, 85}, false},
      {idsBottomTile, 4, {10, 50, 40, 70}, {100, 50, 130, 70}, false},
      {idsTopStretch, 1, {10, 5, 110, 25}, {10, 5, 110, 25}, true},
      {idsLeftStretch, 1, {10, 5, 40, 70}, {10, 5, 40, 70}, true},
      {idsRightStretch, 1, {80, 5, 110, 70}, {80, 5, 110, 70}, true},
      {idsBottomStretch, 1, {10, 50, 110, 70}, {10, 50, 110, 70}, true},
      {idsHorzStretchTile, 4, {10, 5, 40, 70}, {100, 5, 130, 70}, true},
      {idsVertStretchTile, 4, {10, 5, 110, 25}, {10, 65, 110, 85}, true},
      {idsHorzCenterStretch, 1, {10, 27, 110, 47}, {10, 27, 110, 47}, true},
      {idsVertCenterStretch, 1, {45, 5, 75, 70}, {45, 5, 75, 70}, true},
      {idsLeftCenter, 1, {10, 27, 40, 47}, {10, 27, 40, 47}, false},
      {idsTopCenter, 1, {45, 5, 75, 25}, {45, 5, 75, 25}, false},
      {idsRightCenter, 1, {80, 27, 110, 47}, {80, 27, 110, 47}, false},
      {idsBottomCenter, 1, {45, 50, 75, 70}, {45, 50, 75, 70}, false},
  };
  ASSERT_EQ(std::size(cases), EnumCount<TkvImageDrawStyle>()) << "every style has a case";
  for (const Case& c : cases) {
    SCOPED_TRACE(EnumInfo<TkvImageDrawStyle>().Name(c.style));
    std::vector<TkvImagePlacement> p = Place(c.style, 30, 20, TRect(10, 5, 110, 70));
    ASSERT_EQ(p.size(), c.count);
    EXPECT_EQ(p.front(), (TkvImagePlacement{c.first, c.stretched}));
    EXPECT_EQ(p.back(), (TkvImagePlacement{c.last, c.stretched}));
  }
}

TEST(ImagePlacements, TilesStepByThePictureAndItsOffsets) {
  // 240 x 120 tiles in 500 x 250: nx = ny = 2, so 3 x 3 copies.
  std::vector<TkvImagePlacement> tiles = Place(idsTile, 240, 120, TRect(0, 0, 500, 250));
  ASSERT_EQ(tiles.size(), 9u);
  EXPECT_EQ(tiles[8].Rect, TRect(480, 240, 720, 360));

  // TileOffsetX 10 with a 100-pixel picture: x = Left, Left + 110, Left + 220, ...
  std::vector<int> xs;
  for (const auto& p : Place(idsTopTile, 100, 40, TRect(7, 0, 340, 40), 10)) xs.push_back(p.Rect.Left);
  EXPECT_EQ(xs, (std::vector<int>{7, 117, 227, 337}));

  // Negative offsets overlap the copies; the step stays positive.
  std::vector<int> ys;
  for (const auto& p : Place(idsLeftTile, 10, 10, TRect(0, 0, 10, 20), 0, -4)) ys.push_back(p.Rect.Top);
  EXPECT_EQ(ys, (std::vector<int>{0, 6, 12, 18}));
}

TEST(ImagePlacements, TileStepsOfZeroOrLessPlaceNothing) {
  const TkvImageDrawStyle tiling[] = {idsTile,       idsTopTile,         idsLeftTile,       idsRightTile,
                                      idsBottomTile, idsHorzStretchTile, idsVertStretchTile};
  for (TkvImageDrawStyle s : tiling) {
    SCOPED_TRACE(EnumInfo<TkvImageDrawStyle>().Name(s));
    EXPECT_TRUE(Place(s, 100, 50, TRect(0, 0, 300, 300), -100, -50).empty());
    EXPECT_TRUE(Place(s, 100, 50, TRect(0, 0, 300, 300), -250, -80).empty());
  }
  // Only the axis that tiles needs a step; the other offset is not used.
  EXPECT_EQ(Place(idsTopTile, 100, 50, TRect(0, 0, 300, 300), 0, -50).size(), 4u);
  EXPECT_EQ(Place(idsCenter, 100, 50, TRect(0, 0, 300, 300), -100, -50).size(), 1u);
}

TEST(ImagePlacements, OnlyCopiesThatMeetTheVisibleRectangleAreListed) {
  // A million-pixel-wide target of 10 x 10 tiles, of which a 25 x 15 window is visible.
  std::vector<TkvImagePlacement> p =
      Place(idsTile, 10, 10, TRect(-3, -3, 1000000, 1000000), 0, 0, TRect(500, 500, 525, 515));
  ASSERT_EQ(p.size(), 6u);  // columns 497, 507, 517 by rows 497, 507
  EXPECT_EQ(p.front().Rect, TRect(497, 497, 507, 507));
  EXPECT_EQ(p.back().Rect, TRect(517, 507, 527, 517));
  EXPECT_TRUE(Place(idsCenter, 10, 10, TRect(0, 0, 100, 100), 0, 0, TRect(0, 0, 20, 20)).empty());
  EXPECT_TRUE(Place(idsTile, 10, 10, TRect(0, 0, 0, 100)).empty()) << "empty target";
  EXPECT_TRUE(Place(idsTile, 0, 10, TRect(0, 0, 100, 100)).empty()) << "empty picture";
}

// ---- Draw ----

namespace {
struct DrawFixture : testing::Test {
  TkvImageCollection Collection{nullptr};
};
}  // namespace

TEST_F(DrawFixture, TilesAreClippedAtTheRectangleEdge) {
  kvtest::AddItem(Collection, *kvtest::CoordinatePicture(240, 120), idsTile);
  TTarget t(520, 270);
  Collection.Draw(t.Canvas(), TRect(0, 0, 500, 250), 0);
  struct Probe {
    int x, y;
    std::optional<TPoint> source;
  };
  const Probe probes[] = {{0, 0, TPoint{0, 0}},       {239, 119, TPoint{239, 119}}, {240, 0, TPoint{0, 0}},
                          {481, 241, TPoint{1, 1}},   {499, 249, TPoint{19, 9}},    {500, 10, std::nullopt},
                          {10, 250, std::nullopt}};
  for (const Probe& p : probes) EXPECT_EQ(SourceOf(t.Bitmap, p.x, p.y), p.source) << p.x << ", " << p.y;
}

TEST_F(DrawFixture, CentredPictureLargerThanTheRectangleIsClippedAboveAndBelow) {
  kvtest::AddItem(Collection, *kvtest::CoordinatePicture(513, 152), idsCenter);
  TTarget t(778, 120);
  Collection.Draw(t.Canvas(), TRect(0, 0, 778, 89), 0);
  EXPECT_EQ(SourceOf(t.Bitmap, 133, 0), (TPoint{0, 32}));
  EXPECT_EQ(SourceOf(t.Bitmap, 645, 88), (TPoint{512, 120}));
  EXPECT_EQ(SourceOf(t.Bitmap, 132, 0), std::nullopt);
  EXPECT_EQ(SourceOf(t.Bitmap, 646, 0), std::nullopt);
  EXPECT_EQ(t.CountDrawn(TRect(0, 89, 778, 120)), 0);
}

TEST_F(DrawFixture, BottomRightPictureLargerThanTheRectangleShowsItsBottomRightCorner) {
  kvtest::AddItem(Collection, *kvtest::CoordinatePicture(300, 200), idsBottomRight);
  TTarget t(140, 90);
  Collection.Draw(t.Canvas(), TRect(20, 10, 120, 60), 0);
  EXPECT_EQ(SourceOf(t.Bitmap, 20, 10), (TPoint{200, 150}));
  EXPECT_EQ(SourceOf(t.Bitmap, 119, 59), (TPoint{299, 199}));
  EXPECT_EQ(t.CountDrawn(TRect(0, 0, 140, 90)), 100 * 50) << "nothing outside the rectangle";
}

TEST_F(DrawFixture, StretchedStylesFillExactlyTheirRectangles) {
  auto png = std::make_unique<TPngImage>();
  png->SetSize(8, 6);
  png->Pixels().Fill(0xFF336699u);
  TRect r(4, 4, 64, 44);
  for (TkvImageDrawStyle s : {idsStretch, idsTopStretch, idsHorzCenterStretch, idsVertStretchTile}) {
    SCOPED_TRACE(EnumInfo<TkvImageDrawStyle>().Name(s));
    TkvImageCollection c(nullptr);
    kvtest::AddItem(c, *png, s);
    TTarget t(70, 50);
    c.Draw(t.Canvas(), r, 0);
    int expected = 0;
    for (const TkvImagePlacement& p : ImagePlacements(s, 8, 6, r, 0, 0, r)) {
      TRect inside = p.Rect.Intersect(r);
      expected += inside.Width() * inside.Height();
      EXPECT_EQ(t.At(inside.Left, inside.Top), 0xFF336699u);
      EXPECT_EQ(t.At(inside.Right - 1, inside.Bottom - 1), 0xFF336699u);
    }
    EXPECT_EQ(t.CountDrawn(TRect(0, 0, 70, 50)), expected);
  }
}

TEST_F(DrawFixture, TransparentPicturesBlendOverWhatIsThere) {
  auto png = std::make_unique<TPngImage>();
  png->SetSize(2, 1);
  png->Pixels().Row(0)[0] = 0x80800000u;  // half-transparent red, premultiplied
  png->Pixels().Row(0)[1] = 0;
  png->SetTransparent(true);
  kvtest::AddItem(Collection, *png, idsTopLeft);
  TTarget t(2, 1);
  t.Bitmap.Surface().Fill(0xFF0000FFu);
  Collection.Draw(t.Canvas(), TRect(0, 0, 2, 1), 0);
  EXPECT_EQ(t.At(0, 0), 0xFF80007Fu);
  EXPECT_EQ(t.At(1, 0), 0xFF0000FFu);
}

TEST_F(DrawFixture, IndexOutsideTheListOrEmptyPictureDrawsNothing) {
  kvtest::AddItem(Collection, *kvtest::CoordinatePicture(10, 10), idsTile);
  Collection.Images()->Add();  // no graphic
  TkvImageCollectionItem* empty = Collection.Images()->Add();
  TPicture emptyPng;
  emptyPng.SetGraphic(std::make_unique<TPngImage>().get());
  empty->SetPicture(&emptyPng);
  TTarget t(20, 20);
  for (int index : {-1, 1, 2, 3, 1000}) {
    EXPECT_NO_THROW(Collection.Draw(t.Canvas(), TRect(0, 0, 20, 20), index));
    EXPECT_EQ(t.CountDrawn(TRect(0, 0, 20, 20)), 0) << index;
  }
  EXPECT_NO_THROW(Collection.Draw(nullptr, TRect(0, 0, 20, 20), 0));
}

TEST_F(DrawFixture, DrawKeepsAndRestoresTheCanvasClip) {
  kvtest::AddItem(Collection, *kvtest::CoordinatePicture(16, 16), idsTile);
  TTarget t(100, 100);
  HDC dc = t.Canvas()->Handle();
  IntersectClipRect(dc, 0, 0, 50, 50);
  Collection.Draw(t.Canvas(), TRect(20, 20, 90, 90), 0);
  EXPECT_EQ(t.CountDrawn(TRect(0, 0, 100, 100)), 30 * 30) << "inside both the old clip and the rectangle";
  TRect clip;
  GetClipBox(dc, &clip);
  EXPECT_EQ(clip, TRect(0, 0, 50, 50));
  // Early ways out restore too: a rectangle outside the clip.
  Collection.Draw(t.Canvas(), TRect(60, 60, 90, 90), 0);
  GetClipBox(dc, &clip);
  EXPECT_EQ(clip, TRect(0, 0, 50, 50));
  EXPECT_EQ(GetStretchBltMode(dc), BLACKONWHITE) << "the stretch mode is restored with the rest";
}

TEST_F(DrawFixture, StretchedCopiesAreScaledOnceAndLookAsAFilteredStretch) {
  auto opaque = kvtest::CoordinatePicture(30, 20);
  auto clear = kvtest::CoordinatePicture(30, 20);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 30; ++x)
      if ((x + y) % 3 == 0) clear->Pixels().Row(y)[x] = 0x40201008u;
  clear->SetTransparent(true);
  const TRect r(3, 2, 93, 52);
  for (const TPngImage* png : {opaque.get(), clear.get()})
    for (TkvImageDrawStyle s : {idsStretch, idsHorzStretchTile, idsBottomStretch}) {
      SCOPED_TRACE(testing::Message() << EnumInfo<TkvImageDrawStyle>().Name(s) << (png->Transparent() ? " alpha" : ""));
      TkvImageCollection c(nullptr);
      TkvImageCollectionItem* item = kvtest::AddItem(c, *png, s);
      TTarget drawn(100, 60), direct(100, 60);
      drawn.Bitmap.Surface().Fill(0xFF808080u);
      direct.Bitmap.Surface().Fill(0xFF808080u);
      c.Draw(drawn.Canvas(), r, 0);
      const TBitmap* scaled = item->Scaled(30, r.Height());
      HDC dc = direct.Canvas()->Handle();
      SaveDC(dc);
      IntersectClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
      SetStretchBltMode(dc, HALFTONE);
      for (const TkvImagePlacement& p : ImagePlacements(s, 30, 20, r, 0, 0, r))
        direct.Canvas()->StretchDraw(p.Rect, item->Picture()->Graphic());
      RestoreDC(dc, -1);
      for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 100; ++x) ASSERT_EQ(drawn.At(x, y), direct.At(x, y)) << x << ", " << y;
      // A second paint reuses the scaled copy; a new picture replaces it.
      c.Draw(drawn.Canvas(), r, 0);
      if (s == idsHorzStretchTile) {
        EXPECT_EQ(item->Scaled(30, r.Height()), scaled);
      }
      item->Picture()->Assign(opaque.get());
      EXPECT_EQ(item->Scaled(30, r.Height())->ScanLine(0)[0], 0xFF000000u) << "the new picture's first pixel";
    }
}
