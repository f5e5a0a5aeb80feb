// AlphaBlend arithmetic and StretchBlt sampling.
#include <gtest/gtest.h>

#include <random>

#include "pixels.h"
#include "platform/graphics/blit.h"

using kvtest::At;

namespace {
uint32_t Div255(uint32_t x) { return (2 * x + 255) / 510; }  // x / 255 rounded to nearest

// The reference: s' = s * m / 255 per channel, d = s' + d * (255 - s'.alpha) / 255.
uint32_t Reference(uint32_t s, uint32_t d, uint32_t m) {
  uint32_t sa = Div255(PixelAlpha(s) * m);
  auto ch = [&](uint32_t sc, uint32_t dc) { return std::min<uint32_t>(255, Div255(sc * m) + Div255(dc * (255 - sa))); };
  return PixelARGB(ch(PixelAlpha(s), PixelAlpha(d)), ch(PixelRed(s), PixelRed(d)), ch(PixelGreen(s), PixelGreen(d)),
                   ch(PixelBlue(s), PixelBlue(d)));
}

uint32_t RandomPremultiplied(std::mt19937& rng) {
  uint32_t a = rng() % 256;
  if (rng() % 4 == 0) a = (rng() % 2) ? 255 : 0;
  auto c = [&] { return a == 0 ? 0 : rng() % (a + 1); };
  return PixelARGB(a, c(), c(), c());
}

struct Pair {
  Pair(int w, int h) : src(w, h), dst(w, h), sdc(CreateSurfaceDC(&src)), ddc(CreateSurfaceDC(&dst)) {}
  ~Pair() {
    DeleteDC(sdc);
    DeleteDC(ddc);
  }
  TSurface src, dst;
  HDC sdc, ddc;
};
}  // namespace

TEST(AlphaBlendTest, PerPixelAndConstantAlphaMatchTheReference) {
  std::mt19937 rng(12345);
  const int w = 64, h = 32;
  for (uint32_t m : {255u, 254u, 128u, 77u, 1u}) {
    Pair p(w, h);
    std::vector<uint32_t> before;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        p.src.Row(y)[x] = RandomPremultiplied(rng);
        p.dst.Row(y)[x] = RandomPremultiplied(rng);
        before.push_back(p.dst.Row(y)[x]);
      }
    BLENDFUNCTION bf;
    bf.SourceConstantAlpha = static_cast<uint8_t>(m);
    bf.AlphaFormat = AC_SRC_ALPHA;
    ASSERT_TRUE(AlphaBlend(p.ddc, 0, 0, w, h, p.sdc, 0, 0, w, h, bf));
    int mismatches = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        uint32_t want = Reference(p.src.Row(y)[x], before[static_cast<size_t>(y * w + x)], m);
        if (p.dst.Row(y)[x] != want && ++mismatches < 5)
          ADD_FAILURE() << "m=" << m << " at " << x << "," << y << std::hex << ": got " << p.dst.Row(y)[x] << " want "
                        << want;
      }
    EXPECT_EQ(mismatches, 0) << "constant alpha " << m;
  }
}

TEST(AlphaBlendTest, WithoutPerPixelAlphaTheSourceIsOpaque) {
  Pair p(3, 1);
  p.src.Row(0)[0] = 0x00FF0000u;  // alpha byte ignored
  p.src.Row(0)[1] = 0x12FF0000u;
  p.src.Row(0)[2] = 0xFF00FF00u;
  for (int x = 0; x < 3; ++x) p.dst.Row(0)[x] = 0xFF0000FFu;
  BLENDFUNCTION bf;
  bf.SourceConstantAlpha = 100;
  ASSERT_TRUE(AlphaBlend(p.ddc, 0, 0, 3, 1, p.sdc, 0, 0, 3, 1, bf));
  for (int x = 0; x < 3; ++x)
    EXPECT_EQ(p.dst.Row(0)[x], Reference(p.src.Row(0)[x] | 0xFF000000u, 0xFF0000FFu, 100)) << x;
}

TEST(AlphaBlendTest, RefusesBadBlocksAndHonoursTheClip) {
  Pair p(4, 4);
  p.src.Fill(0xFFFFFFFFu);
  BLENDFUNCTION bf;
  EXPECT_FALSE(AlphaBlend(p.ddc, 0, 0, 4, 4, p.sdc, 1, 0, 4, 4, bf)) << "source block past the edge";
  EXPECT_FALSE(AlphaBlend(p.ddc, 0, 0, -4, 4, p.sdc, 0, 0, 4, 4, bf));
  BLENDFUNCTION badOp;
  badOp.BlendOp = 1;
  EXPECT_FALSE(AlphaBlend(p.ddc, 0, 0, 4, 4, p.sdc, 0, 0, 4, 4, badOp));
  EXPECT_EQ(At(p.dst, 0, 0), 0u) << "nothing drawn";
  IntersectClipRect(p.ddc, 1, 1, 3, 3);
  SetViewportOrgEx(p.ddc, 1, 0, nullptr);
  ASSERT_TRUE(AlphaBlend(p.ddc, -1, 0, 4, 4, p.sdc, 0, 0, 4, 4, bf));
  EXPECT_EQ(kvtest::Picture(p.dst), (std::vector<std::string>{"....", ".oo.", ".oo.", "...."}));
}

TEST(StretchBltTest, NearestSamplingAndMirroring) {
  Pair p(4, 2);
  p.src.Row(0)[0] = 0xFFFF0000u;
  p.src.Row(0)[1] = 0xFF0000FFu;
  ASSERT_TRUE(StretchBlt(p.ddc, 0, 0, 4, 2, p.sdc, 0, 0, 2, 1, SRCCOPY));
  EXPECT_EQ(kvtest::Picture(p.dst), (std::vector<std::string>{"rrbb", "rrbb"}));
  // A negative width runs from x leftwards: the block is mirrored.
  ASSERT_TRUE(StretchBlt(p.ddc, 4, 0, -4, 1, p.sdc, 0, 0, 2, 1, SRCCOPY));
  EXPECT_EQ(kvtest::Picture(p.dst), (std::vector<std::string>{"bbrr", "rrbb"}));
  // Shrinking by two picks one of each pair.
  Pair q(2, 1);
  for (int x = 0; x < 4; ++x) p.src.Row(1)[x] = x < 2 ? 0xFF000000u : 0xFFFFFFFFu;
  ASSERT_TRUE(StretchBlt(q.ddc, 0, 0, 2, 1, p.sdc, 0, 1, 4, 1, SRCCOPY));
  EXPECT_EQ(kvtest::Picture(q.dst)[0], "#o");
}
