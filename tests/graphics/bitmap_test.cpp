// TBitmap formats, PNG reading and writing, TPicture.
#include <gtest/gtest.h>

#include <cstdio>

#include "pixels.h"
#include "platform/graphics/picture.h"

using kvtest::At;

TEST(BitmapTest, AlphaFormatSwitchMultipliesAndDivides) {
  struct Case {
    uint32_t straight, premultiplied;
  };
  for (Case c : {Case{0x80FF8000u, 0x80804000u}, Case{0x00FFFFFFu, 0x00000000u}, Case{0xFF123456u, 0xFF123456u},
                 Case{0x01FFFFFFu, 0x01010101u}}) {
    TBitmap b(1, 1);
    b.SetPixelFormat(pf32bit);
    b.ScanLine(0)[0] = c.straight;
    b.SetAlphaFormat(afPremultiplied);
    EXPECT_EQ(b.ScanLine(0)[0], c.premultiplied) << std::hex << c.straight;
    b.SetAlphaFormat(afPremultiplied);  // unchanged: no second multiply
    EXPECT_EQ(b.ScanLine(0)[0], c.premultiplied);
  }
  TBitmap b(1, 1);
  b.SetPixelFormat(pf32bit);
  b.SetAlphaFormat(afPremultiplied);
  b.ScanLine(0)[0] = 0x80804000u;
  b.SetAlphaFormat(afIgnored);
  EXPECT_EQ(b.ScanLine(0)[0], 0x80FF8000u) << "leaving premultiplied divides again";
}

TEST(BitmapTest, SizesFormatsAndScanLines) {
  TBitmap b(3, 2);
  b.ScanLine(1)[2] = 0xFF00FF00u;
  b.SetSize(4, 4);
  EXPECT_EQ(b.ScanLine(1)[2], 0xFF00FF00u) << "the shared part is kept";
  EXPECT_EQ(b.ScanLine(3)[3], 0u);
  EXPECT_THROW(b.ScanLine(4), EInvalidGraphicOperation);
  EXPECT_THROW(b.ScanLine(-1), EInvalidGraphicOperation);
  EXPECT_THROW(b.SetPixelFormat(pf8bit), EInvalidGraphicOperation);
  EXPECT_THROW(b.SetSize(-1, 2), EInvalidGraphicOperation);
  int changes = 0;
  b.OnChange = TNotifyEvent([&](TObject*) { ++changes; });
  b.SetSize(4, 4);
  EXPECT_EQ(changes, 0);
  b.SetPixelFormat(pf24bit);
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(b.HasAlpha());
  EXPECT_EQ(GetPropText(&b, "PixelFormat"), "pf24bit");
  EXPECT_EQ(GetPropText(&b, "Width"), "4");
}

TEST(BitmapTest, TransparentBitmapLeavesOutItsBottomLeftColour) {
  TBitmap sprite(2, 2);
  sprite.Canvas()->Brush()->SetColor(clFuchsia);
  sprite.Canvas()->FillRect(TRect(0, 0, 2, 2));
  sprite.Canvas()->SetPixels(1, 0, clBlue);
  sprite.SetTransparent(true);
  EXPECT_EQ(sprite.TransparentColor(), clFuchsia);
  TBitmap back(2, 2);
  back.Canvas()->Brush()->SetColor(clWhite);
  back.Canvas()->FillRect(TRect(0, 0, 2, 2));
  back.Canvas()->Draw(0, 0, &sprite);
  EXPECT_EQ(At(back.Surface(), 0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(At(back.Surface(), 1, 0), 0xFF0000FFu);
  sprite.SetTransparentColor(clBlue);
  EXPECT_EQ(sprite.TransparentMode(), tmFixed);
  back.Canvas()->FillRect(TRect(0, 0, 2, 2));
  back.Canvas()->Draw(0, 0, &sprite);
  EXPECT_EQ(At(back.Surface(), 0, 0), 0xFFFF00FFu);
  EXPECT_EQ(At(back.Surface(), 1, 0), 0xFFFFFFFFu);
}

namespace {
// A 5 x 3 premultiplied picture with every alpha class: opaque, translucent, clear.
TBitmap* MakeAlphaBitmap(TBitmap& b) {
  b.SetSize(5, 3);
  b.SetPixelFormat(pf32bit);
  const uint32_t straight[] = {0xFFFF0000u, 0x80FF8000u, 0x00000000u, 0x40102030u, 0xFF00FFFFu};
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) b.ScanLine(y)[x] = straight[(x + y) % 5];
  b.SetAlphaFormat(afPremultiplied);
  return &b;
}

std::vector<uint32_t> PixelsOf(const TSurface& s) {
  std::vector<uint32_t> v;
  for (int y = 0; y < s.Height(); ++y) v.insert(v.end(), s.Row(y), s.Row(y) + s.Width());
  return v;
}
}  // namespace

TEST(PngTest, RoundTripKeepsPixelsAndAlpha) {
  TBitmap b;
  MakeAlphaBitmap(b);
  TPngImage png;
  png.Assign(&b);
  EXPECT_TRUE(png.Transparent());
  std::vector<uint8_t> data = png.SaveToMemory();
  ASSERT_TRUE(IsPngData(data.data(), data.size()));
  TPngImage back;
  back.LoadFromMemory(data.data(), data.size());
  EXPECT_TRUE(back.Transparent());
  EXPECT_EQ(PixelsOf(back.Pixels()), PixelsOf(b.Surface()));

  // Through a file and a picture, into a bitmap.
  std::string path = testing::TempDir() + "/kv_png_roundtrip.png";
  png.SaveToFile(path);
  TPicture pic;
  pic.LoadFromFile(path);
  ASSERT_NE(dynamic_cast<TPngImage*>(pic.Graphic()), nullptr);
  EXPECT_EQ(pic.Width(), 5);
  TBitmap copy;
  copy.Assign(pic.Graphic());
  EXPECT_EQ(copy.AlphaFormat(), afPremultiplied);
  EXPECT_EQ(PixelsOf(copy.Surface()), PixelsOf(b.Surface()));
  std::remove(path.c_str());
}

TEST(PngTest, OpaqueBitmapSavesWithoutAlpha) {
  TBitmap b(2, 2);
  b.Canvas()->Brush()->SetColor(clTeal);
  b.Canvas()->FillRect(TRect(0, 0, 2, 2));
  std::vector<uint8_t> data = b.SaveToMemory();
  TPngImage png;
  png.LoadFromMemory(data.data(), data.size());
  EXPECT_FALSE(png.Transparent());
  EXPECT_EQ(At(png.Pixels(), 1, 1), ColorToOpaquePixel(clTeal));
}

TEST(PngTest, CorruptOrTruncatedDataRaisesAndLeavesThePictureAlone) {
  TBitmap b;
  MakeAlphaBitmap(b);
  std::vector<uint8_t> good = b.SaveToMemory();
  TPicture pic;
  pic.LoadFromMemory(good.data(), good.size());
  std::vector<uint32_t> before = PixelsOf(static_cast<TPngImage*>(pic.Graphic())->Pixels());
  const TGraphic* graphic = pic.Graphic();

  std::vector<uint8_t> truncated(good.begin(), good.begin() + static_cast<ptrdiff_t>(good.size() / 2));
  std::vector<uint8_t> corrupt = good;
  corrupt[corrupt.size() - 20] ^= 0x5A;  // inside the image data: a checksum error
  std::vector<uint8_t> header(good.begin(), good.begin() + 8);
  std::vector<uint8_t> garbage = {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0};
  for (const auto* bad : {&truncated, &corrupt, &header, &garbage}) {
    try {
      pic.LoadFromMemory(bad->data(), bad->size());
      ADD_FAILURE() << "accepted bad data of " << bad->size() << " bytes";
    } catch (const EInvalidGraphic& e) {
      EXPECT_NE(std::string(e.what()).find("PNG"), std::string::npos) << e.what();
    }
    EXPECT_EQ(pic.Graphic(), graphic);
    EXPECT_EQ(PixelsOf(static_cast<TPngImage*>(pic.Graphic())->Pixels()), before);
  }
  EXPECT_THROW(pic.LoadFromFile(testing::TempDir() + "/no-such-file.png"), EReadError);
  TBitmap empty;
  EXPECT_THROW(empty.SaveToMemory(), EInvalidGraphicOperation);
}

TEST(PictureTest, BitmapReplacesOtherGraphicsAndAssignCopies) {
  TPicture pic;
  int changes = 0;
  pic.OnChange = TNotifyEvent([&](TObject*) { ++changes; });
  TBitmap* bmp = pic.Bitmap();
  ASSERT_NE(bmp, nullptr);
  EXPECT_EQ(pic.Bitmap(), bmp) << "already a bitmap";
  bmp->SetSize(3, 3);
  EXPECT_EQ(pic.Height(), 3);
  EXPECT_EQ(changes, 2) << "the new bitmap and its resize";
  TPicture other;
  other.Assign(&pic);
  EXPECT_NE(other.Graphic(), pic.Graphic());
  EXPECT_EQ(other.Width(), 3);
  other.Assign(nullptr);
  EXPECT_EQ(other.Graphic(), nullptr);
}
