// StackBlur against the definition of the blur, on both of its paths, and ColorizeBlur.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "kv/kvUtils/kvGlow.h"

namespace {
// Runs the body once on each blur path the machine has.
template <class F>
void OnEachPath(F body) {
  TkvBlurPath was = StackBlurPath();
  for (TkvBlurPath path : {kvbpPortable, kvbpSse2, kvbpAvx2}) {
    if (!StackBlurPathAvailable(path)) continue;
    SetStackBlurPath(path);
    SCOPED_TRACE(EnumInfo<TkvBlurPath>().Name(path));
    body();
  }
  SetStackBlurPath(was);
}

// Random pixels; with `spots`, black (with random alpha) but for that many random pixels, as
// glow silhouettes are mostly black margins.
void FillRandom(TBitmap& b, int w, int h, uint32_t seed, int spots = -1) {
  b.SetSize(w, h);
  std::mt19937 rng(seed);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.ScanLine(y)[x] = static_cast<uint32_t>(rng()) & (spots < 0 ? ~0u : 0xFF000000u);
  for (int i = 0; i < spots; ++i)
    b.ScanLine(static_cast<int>(rng() % static_cast<uint32_t>(h)))[rng() % static_cast<uint32_t>(w)] |=
        static_cast<uint32_t>(rng()) | 1u;
}

std::vector<uint32_t> PixelsOf(const TBitmap& b) {
  std::vector<uint32_t> v;
  for (int y = 0; y < b.Height(); ++y) v.insert(v.end(), b.ScanLine(y), b.ScanLine(y) + b.Width());
  return v;
}

// The blur by its definition: each pass weights the 2r + 1 neighbours along its line by
// r + 1 - |i|, repeats the end pixels beyond the line and divides by (r + 1)^2 rounding down;
// rows first, columns second, each channel kept to a byte in between.
std::vector<uint32_t> ReferenceBlur(const std::vector<uint32_t>& px, int w, int h, int r) {
  auto pass = [r, w, h](const std::vector<uint32_t>& in, bool alongRows) {
    std::vector<uint32_t> out(in.size());
    const int n = alongRows ? w : h, lines = alongRows ? h : w;
    const uint32_t div = static_cast<uint32_t>((r + 1) * (r + 1));
    for (int line = 0; line < lines; ++line)
      for (int k = 0; k < n; ++k) {
        uint32_t result = 0;
        for (int c = 0; c < 3; ++c) {
          uint32_t sum = 0;
          for (int i = -r; i <= r; ++i) {
            int at = std::clamp(k + i, 0, n - 1);
            uint32_t p = alongRows ? in[static_cast<size_t>(line * w + at)] : in[static_cast<size_t>(at * w + line)];
            sum += ((p >> (8 * c)) & 0xFF) * static_cast<uint32_t>(r + 1 - std::abs(i));
          }
          result |= (sum / div) << (8 * c);
        }
        out[alongRows ? static_cast<size_t>(line * w + k) : static_cast<size_t>(k * w + line)] = result;
      }
    return out;
  };
  std::vector<uint32_t> v = pass(pass(px, true), false);
  for (uint32_t& p : v) p |= 0xFF000000u;
  return v;
}
}  // namespace

TEST(StackBlur, MatchesTheDefinitionOnEveryPath) {
  struct Case {
    int w, h, radius;
    int spots = -1;
  };
  // Lines shorter than the window, single rows and columns, radii on both sides of the vector
  // path's limit, the largest radius; black images with a few coloured spots (near the edges
  // too) and none at all.
  const Case cases[] = {{23, 17, 1},  {31, 9, 2},   {40, 30, 7},   {5, 40, 7},     {1, 12, 3},    {12, 1, 3},
                        {1, 1, 9},    {19, 23, 20}, {9, 7, 126},   {9, 7, 127},    {6, 5, 255},   {60, 40, 7, 3},
                        {41, 29, 3, 1}, {9, 50, 4, 2}, {37, 11, 2, 12}, {30, 20, 5, 0}, {33, 13, 130, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.w << " x " << c.h << " radius " << c.radius << " spots " << c.spots);
    TBitmap source;
    FillRandom(source, c.w, c.h, static_cast<uint32_t>(c.w * 1000 + c.radius), c.spots);
    std::vector<uint32_t> expected = ReferenceBlur(PixelsOf(source), c.w, c.h, c.radius);
    OnEachPath([&] {
      TBitmap b;
      b.Assign(&source);
      StackBlur(&b, c.radius);
      EXPECT_EQ(PixelsOf(b), expected);
    });
  }
}

TEST(StackBlur, UniformImageStaysUniformWithAnyRadius) {
  OnEachPath([] {
    for (int radius : {1, 7, 64, 126, 127, 200, 255}) {
      TBitmap b(37, 21);
      b.Surface().Fill(0x12C8A064u);
      StackBlur(&b, radius);
      for (uint32_t p : PixelsOf(b)) ASSERT_EQ(p, 0xFFC8A064u) << "radius " << radius;
    }
  });
}

TEST(StackBlur, RadiusOfZeroOrLessChangesNothingAndTooLargeIsRefused) {
  TBitmap b;
  FillRandom(b, 8, 8, 1);
  std::vector<uint32_t> before = PixelsOf(b);
  StackBlur(&b, 0);
  StackBlur(&b, -3);
  EXPECT_EQ(PixelsOf(b), before);
  EXPECT_THROW(StackBlur(&b, kvMaxBlurRadius + 1), EInvalidArgument);
  EXPECT_EQ(PixelsOf(b), before);
  EXPECT_THROW(StackBlur(nullptr, 3), EInvalidArgument);
  TBitmap empty;
  EXPECT_NO_THROW(StackBlur(&empty, 5));
}

TEST(ColorizeBlur, BlurredRedBecomesTheAlphaOfTheColour) {
  // A 3 x 1 strip: black, mid grey, white; radius 0 keeps the values, so each becomes the colour
  // with that alpha, premultiplied.
  TBitmap b(3, 1);
  b.ScanLine(0)[0] = 0xFF000000u;
  b.ScanLine(0)[1] = 0xFF808080u;
  b.ScanLine(0)[2] = 0xFFFFFFFFu;
  ColorizeBlur(&b, 0, RGB(255, 128, 0));
  EXPECT_EQ(b.PixelFormat(), pf32bit);
  EXPECT_EQ(b.AlphaFormat(), afPremultiplied);
  EXPECT_EQ(b.ScanLine(0)[0], 0x00000000u);
  EXPECT_EQ(b.ScanLine(0)[1], 0x80804000u);
  EXPECT_EQ(b.ScanLine(0)[2], 0xFFFF8000u);

  // System colours are resolved; a uniform field stays uniform through the blur.
  TBitmap w(10, 10);
  w.Surface().Fill(0xFFFFFFFFu);
  ColorizeBlur(&w, 4, clHighlight);
  TColor rgb = ColorToRGB(clHighlight);
  EXPECT_EQ(w.ScanLine(5)[5], PixelARGB(255, static_cast<uint32_t>(GetRValue(rgb)), static_cast<uint32_t>(GetGValue(rgb)),
                                        static_cast<uint32_t>(GetBValue(rgb))));
}
