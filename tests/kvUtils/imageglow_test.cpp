// Glow bitmaps of pictures and image-list images, and the cache behind DrawImageWithGlow.
#include <gtest/gtest.h>

#include <vector>

#include "kv/kvUtils/kvGlow.h"
#include "platform/graphics/blit.h"

namespace {
std::vector<uint32_t> PixelsOf(const TBitmap& b) {
  std::vector<uint32_t> v;
  for (int y = 0; y < b.Height(); ++y) v.insert(v.end(), b.ScanLine(y), b.ScanLine(y) + b.Width());
  return v;
}

// A 32-bit picture drawn from rows of characters: '.' transparent, '#' opaque blue, 'r' opaque
// red, '+' half-transparent blue (premultiplied).
void Draw32(TBitmap& b, const std::vector<std::string>& rows) {
  b.SetPixelFormat(pf32bit);
  b.SetAlphaFormat(afPremultiplied);
  b.SetSize(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
  for (size_t y = 0; y < rows.size(); ++y)
    for (size_t x = 0; x < rows[y].size(); ++x) {
      char c = rows[y][x];
      b.ScanLine(static_cast<int>(y))[x] = c == '#' ? 0xFF0000FFu : c == 'r' ? 0xFFFF0000u : c == '+' ? 0x80000080u : 0u;
    }
}

// The glow's silhouette as characters: 'o' where the glow is the full colour, '.' where it is
// clear, '?' elsewhere.
std::vector<std::string> Silhouette(const TBitmap& glow, uint32_t full) {
  std::vector<std::string> rows;
  for (int y = 0; y < glow.Height(); ++y) {
    std::string row;
    for (int x = 0; x < glow.Width(); ++x) {
      uint32_t p = glow.ScanLine(y)[x];
      row += p == full ? 'o' : p == 0 ? '.' : '?';
    }
    rows.push_back(row);
  }
  return rows;
}

constexpr uint32_t kRedPixel = 0xFFFF0000u;
}  // namespace

TEST(MakeGlowBitmap, GlowSizeZeroIsTheHardSilhouetteAtItsOwnPlace) {
  TBitmap src, glow;
  Draw32(src, {"..+.", ".##.", "...."});
  MakeGlowBitmap(&glow, &src, 0, clRed);
  EXPECT_EQ(glow.PixelFormat(), pf32bit);
  EXPECT_EQ(glow.AlphaFormat(), afPremultiplied);
  EXPECT_EQ(Silhouette(glow, kRedPixel), (std::vector<std::string>{"..o.", ".oo.", "...."}));
}

TEST(MakeGlowBitmap, SilhouetteComesFromAlphaOnlyWhenSomeAlphaIsPartial) {
  struct Case {
    const char* name;
    std::vector<std::string> picture, silhouette;
  };
  const Case cases[] = {
      // Semi-transparent pixels present: every pixel with some alpha counts, whatever its colour.
      {"alpha", {"r.+", "#.."}, {"o.o", "o.."}},
      // Only opaque and clear pixels: the top-left colour is the transparent one, so clear
      // pixels (black) count where the top-left is red, and red pixels do not.
      {"top-left red", {"r.#", "rr."}, {".oo", "..o"}},
      {"top-left clear", {".r#", "..r"}, {".oo", "..o"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TBitmap src, glow;
    Draw32(src, c.picture);
    MakeGlowBitmap(&glow, &src, 0, clRed);
    EXPECT_EQ(Silhouette(glow, kRedPixel), c.silhouette);
  }
  // A bitmap that is not 32-bit always uses the top-left colour.
  TBitmap opaque(3, 1), glow;
  opaque.Canvas()->Brush()->SetColor(clWhite);
  opaque.Canvas()->FillRect(TRect(0, 0, 3, 1));
  opaque.Canvas()->SetPixels(2, 0, clGreen);
  opaque.ScanLine(0)[1] = 0x40FFFFFFu;  // an alpha byte that a 24-bit bitmap does not use
  MakeGlowBitmap(&glow, &opaque, 0, clRed);
  EXPECT_EQ(Silhouette(glow, kRedPixel), (std::vector<std::string>{"..o"}));
}

TEST(MakeGlowBitmap, IsTheBlurredSilhouetteInTheGlowColour) {
  TBitmap src, glow;
  Draw32(src, {"....#", ".##..", ".#+#.", "....."});
  const int size = 3;
  MakeGlowBitmap(&glow, &src, size, RGB(40, 160, 220));
  ASSERT_EQ(glow.Width(), 5 + 2 * size);
  ASSERT_EQ(glow.Height(), 4 + 2 * size);

  // The same glow built step by step from the public routines.
  TBitmap expected(5 + 2 * size, 4 + 2 * size);
  expected.Surface().Fill(0xFF000000u);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x)
      if (src.ScanLine(y)[x] != 0) expected.ScanLine(y + size)[x + size] = 0xFFFFFFFFu;
  StackBlur(&expected, size);
  ColorizeBlur(&expected, 0, RGB(40, 160, 220));
  EXPECT_EQ(PixelsOf(glow), PixelsOf(expected));
  EXPECT_EQ(glow.ScanLine(0)[0], 0u) << "the margin's corner stays clear";
}

TEST(MakeGlowBitmap, RefusesWhatCannotMakeAGlow) {
  TBitmap src(2, 2), dst;
  EXPECT_THROW(MakeGlowBitmap(nullptr, &src, 2, clRed), EInvalidArgument);
  EXPECT_THROW(MakeGlowBitmap(&dst, nullptr, 2, clRed), EInvalidArgument);
  EXPECT_THROW(MakeGlowBitmap(&src, &src, 2, clRed), EInvalidArgument);
  EXPECT_THROW(MakeGlowBitmap(&dst, &src, -1, clRed), EInvalidArgument);
  EXPECT_THROW(MakeGlowBitmap(&dst, &src, kvMaxBlurRadius + 1, clRed), EInvalidArgument);
  TBitmap empty;
  MakeGlowBitmap(&dst, &empty, 4, clRed);
  EXPECT_EQ(dst.Width(), 8);
  for (uint32_t p : PixelsOf(dst)) EXPECT_EQ(p, 0u);
}

TEST(HasSemiTransparentPixels, OnlyAlphaBetweenClearAndOpaqueCounts) {
  struct Case {
    std::vector<std::string> rows;
    bool semi;
  };
  for (const Case& c : {Case{{"#.", ".r"}, false}, Case{{"#+"}, true}, Case{{".."}, false}}) {
    TBitmap b;
    Draw32(b, c.rows);
    EXPECT_EQ(HasSemiTransparentPixels(&b), c.semi) << c.rows[0];
  }
  EXPECT_FALSE(HasSemiTransparentPixels(nullptr));
}

// ---- image lists ----

namespace {
struct ImageGlowFixture : testing::Test {
  TImageList List{nullptr};
  void SetUp() override {
    ClearGlowCache();
    List.SetSize(6, 5);
    List.SetColorDepth(cd32Bit);
    TBitmap a, b;
    Draw32(a, {"......", ".##...", ".#+#..", "...#..", "......"});
    Draw32(b, {"r.....", "......", "..rr..", "......", "....r."});
    List.Add(&a, nullptr);
    List.Add(&b, nullptr);
  }
  // The canvas after the glow is composed by hand from the building routines.
  std::vector<uint32_t> Composed(int x, int y, int index, int offset, TColor color, int size, uint8_t alpha) {
    TBitmap target(40, 30);
    target.Canvas()->Brush()->SetColor(RGB(250, 240, 200));
    target.Canvas()->FillRect(TRect(0, 0, 40, 30));
    TBitmap glow;
    MakeImageGlowBitmap(&glow, &List, index, size, color);
    HDC src = CreateCompatibleDC(nullptr);
    SelectObject(src, glow.Handle());
    BLENDFUNCTION bf;
    bf.SourceConstantAlpha = alpha;
    bf.AlphaFormat = AC_SRC_ALPHA;
    AlphaBlend(target.Canvas()->Handle(), x + offset - size, y + offset - size, glow.Width(), glow.Height(), src, 0, 0,
               glow.Width(), glow.Height(), bf);
    DeleteDC(src);
    List.Draw(target.Canvas(), x, y, index, true);
    return PixelsOf(target);
  }
  std::vector<uint32_t> Drawn(int x, int y, int index, int offset, TColor color, int size, uint8_t alpha) {
    TBitmap target(40, 30);
    target.Canvas()->Brush()->SetColor(RGB(250, 240, 200));
    target.Canvas()->FillRect(TRect(0, 0, 40, 30));
    DrawImageWithGlow(target.Canvas(), x, y, &List, index, offset, color, size, alpha);
    return PixelsOf(target);
  }
};
}  // namespace

TEST_F(ImageGlowFixture, MakeImageGlowBitmapGlowsTheListImage) {
  TBitmap glow, copy, direct;
  MakeImageGlowBitmap(&glow, &List, 0, 2, clBlue);
  List.GetBitmap(0, &copy);
  MakeGlowBitmap(&direct, &copy, 2, clBlue);
  EXPECT_EQ(PixelsOf(glow), PixelsOf(direct));
  // Outside the list: an image-sized glow with nothing in it.
  MakeImageGlowBitmap(&glow, &List, 2, 2, clBlue);
  EXPECT_EQ(glow.Width(), 10);
  EXPECT_EQ(glow.Height(), 9);
  for (uint32_t p : PixelsOf(glow)) EXPECT_EQ(p, 0u);
}

TEST_F(ImageGlowFixture, DrawImageWithGlowLaysTheGlowUnderTheImage) {
  struct Case {
    int x, y, index, offset, size;
    TColor color;
    uint8_t alpha;
  };
  for (const Case& c : {Case{10, 8, 0, 0, 4, clRed, 255}, Case{3, 2, 1, 2, 7, clHighlight, 150},
                        Case{20, 20, 0, 1, 0, clLime, 90}}) {
    SCOPED_TRACE(testing::Message() << "image " << c.index << " size " << c.size);
    EXPECT_EQ(Drawn(c.x, c.y, c.index, c.offset, c.color, c.size, c.alpha),
              Composed(c.x, c.y, c.index, c.offset, c.color, c.size, c.alpha));
  }
}

TEST_F(ImageGlowFixture, RepaintsReuseTheGlowUntilTheImageChanges) {
  std::vector<uint32_t> first = Drawn(10, 8, 0, 0, clRed, 4, 255);
  EXPECT_EQ(GlowCacheStats().Misses, 1u);
  EXPECT_EQ(Drawn(10, 8, 0, 0, clRed, 4, 255), first);
  EXPECT_EQ(Drawn(12, 3, 0, 1, clRed, 4, 100).size(), first.size()) << "place and opacity are not part of the glow";
  EXPECT_EQ(GlowCacheStats().Hits, 2u);
  EXPECT_EQ(GlowCacheStats().Entries, 1u);

  // The same index with other pixels is another glow.
  TBitmap other;
  Draw32(other, {"######", "......", "......", "......", "#....."});
  List.Replace(0, &other, nullptr);
  EXPECT_EQ(Drawn(10, 8, 0, 0, clRed, 4, 255), Composed(10, 8, 0, 0, clRed, 4, 255));
  EXPECT_EQ(GlowCacheStats().Misses, 2u);
  // So is another colour or size.
  Drawn(10, 8, 0, 0, clBlue, 4, 255);
  Drawn(10, 8, 0, 0, clBlue, 5, 255);
  EXPECT_EQ(GlowCacheStats().Misses, 4u);
}

TEST_F(ImageGlowFixture, TheCacheKeepsToItsBudget) {
  // 6 x 5 images with glow size s make (6 + 2s) x (5 + 2s) bitmaps: s = 2 gives 90 pixels.
  SetGlowCacheCapacity(400);
  for (TColor c : {clRed, clBlue, clLime, clYellow, clAqua}) Drawn(0, 0, 0, 0, c, 2, 255);
  EXPECT_EQ(GlowCacheStats().Entries, 4u);
  EXPECT_LE(GlowCacheStats().Pixels, 400u);
  Drawn(0, 0, 0, 0, clRed, 2, 255);  // the oldest left first
  EXPECT_EQ(GlowCacheStats().Misses, 6u);
  // A glow bigger than a quarter of the budget is drawn but not kept; no budget keeps nothing.
  EXPECT_EQ(Drawn(0, 0, 1, 0, clRed, 5, 255), Composed(0, 0, 1, 0, clRed, 5, 255));
  SetGlowCacheCapacity(0);
  EXPECT_EQ(GlowCacheStats().Entries, 0u);
  EXPECT_EQ(Drawn(0, 0, 1, 0, clRed, 2, 255), Composed(0, 0, 1, 0, clRed, 2, 255));
  EXPECT_EQ(GlowCacheStats().Entries, 0u);
  SetGlowCacheCapacity(size_t{4} << 20);
}

TEST_F(ImageGlowFixture, NoListOrAnIndexOutsideItDrawsNothing) {
  std::vector<uint32_t> blank = Drawn(0, 0, -1, 0, clRed, 4, 255);
  for (uint32_t p : blank) ASSERT_EQ(p, ColorToOpaquePixel(RGB(250, 240, 200)));
  EXPECT_EQ(Drawn(0, 0, 2, 0, clRed, 4, 255), blank);
  TBitmap target(4, 4);
  EXPECT_NO_THROW(DrawImageWithGlow(target.Canvas(), 0, 0, nullptr, 0, 0, clRed, 4, 255));
  EXPECT_NO_THROW(DrawImageWithGlow(nullptr, 0, 0, &List, 0, 0, clRed, 4, 255));
}
