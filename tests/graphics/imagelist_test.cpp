// Image lists: adding, masks, copying out, enabled and disabled drawing, the handle.
#include <gtest/gtest.h>

#include "pixels.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/imagelist.h"

using kvtest::At;

namespace {
uint32_t Div255(uint32_t x) { return (2 * x + 255) / 510; }
// Source-over of a premultiplied pixel with constant alpha m, rounding to nearest.
uint32_t Over(uint32_t s, uint32_t d, uint32_t m) {
  uint32_t sa = Div255(PixelAlpha(s) * m);
  auto ch = [&](uint32_t sc, uint32_t dc) { return std::min<uint32_t>(255, Div255(sc * m) + Div255(dc * (255 - sa))); };
  return PixelARGB(ch(PixelAlpha(s), PixelAlpha(d)), ch(PixelRed(s), PixelRed(d)), ch(PixelGreen(s), PixelGreen(d)),
                   ch(PixelBlue(s), PixelBlue(d)));
}

// A 2 x 1 list image: an opaque orange pixel and a half-transparent blue one (premultiplied).
void FillTwoPixels(TBitmap& b, int images) {
  b.SetSize(2 * images, 1);
  b.SetPixelFormat(pf32bit);
  b.SetAlphaFormat(afPremultiplied);
  for (int i = 0; i < images; ++i) {
    b.ScanLine(0)[2 * i] = 0xFFFF8000u;
    b.ScanLine(0)[2 * i + 1] = 0x80000080u;
  }
}
}  // namespace

TEST(ImageListTest, AddSplitsStripsAndCountsAndRefusesBadInput) {
  TImageList list(nullptr);
  list.SetSize(2, 1);
  list.SetColorDepth(cd32Bit);
  TBitmap strip;
  FillTwoPixels(strip, 3);
  EXPECT_EQ(list.Add(&strip, nullptr), 0);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Add(&strip, nullptr), 3);
  EXPECT_EQ(list.Count(), 6);
  TBitmap empty;
  EXPECT_EQ(list.Add(&empty, nullptr), -1);
  EXPECT_EQ(list.Add(nullptr, nullptr), -1);
  list.Delete(5);
  EXPECT_EQ(list.Count(), 5);
  EXPECT_THROW(list.Delete(5), EListError);
  EXPECT_THROW(list.SetSize(0, 16), EInvalidArgument);
  list.SetWidth(4);
  EXPECT_EQ(list.Count(), 0) << "a new size clears the list";
  EXPECT_EQ(GetPropText(&list, "ColorDepth"), "cd32Bit");
  EXPECT_EQ(GetPropText(&list, "Width"), "4");
  SetPropText(&list, "Height", "8");
  EXPECT_EQ(list.Height(), 8);
}

TEST(ImageListTest, GetBitmapCopiesTheImageWithItsAlpha) {
  TImageList list(nullptr);
  list.SetSize(2, 1);
  list.SetColorDepth(cd32Bit);
  TBitmap src, out;
  FillTwoPixels(src, 1);
  list.Add(&src, nullptr);
  ASSERT_TRUE(list.GetBitmap(0, &out));
  EXPECT_EQ(out.Width(), 2);
  EXPECT_EQ(out.PixelFormat(), pf32bit);
  EXPECT_EQ(out.AlphaFormat(), afPremultiplied);
  EXPECT_EQ(out.ScanLine(0)[0], 0xFFFF8000u);
  EXPECT_EQ(out.ScanLine(0)[1], 0x80000080u);
  EXPECT_FALSE(list.GetBitmap(1, &out));
}

TEST(ImageListTest, MasksAndLowerColourDepths) {
  TImageList list(nullptr);
  list.SetSize(2, 1);
  TBitmap image(2, 1), mask(2, 1);
  image.Canvas()->Brush()->SetColor(clRed);
  image.Canvas()->FillRect(TRect(0, 0, 2, 1));
  mask.Canvas()->Brush()->SetColor(clBlack);
  mask.Canvas()->FillRect(TRect(0, 0, 2, 1));
  mask.Canvas()->SetPixels(1, 0, clWhite);  // white: transparent
  list.Add(&image, &mask);
  EXPECT_EQ(list.ImagePixels(0).Row(0)[0], 0xFFFF0000u);
  EXPECT_EQ(list.ImagePixels(0).Row(0)[1], 0u);
  image.Canvas()->SetPixels(0, 0, clLime);
  list.AddMasked(&image, clRed);
  EXPECT_EQ(list.ImagePixels(1).Row(0)[0], 0xFF00FF00u);
  EXPECT_EQ(list.ImagePixels(1).Row(0)[1], 0u);
  // Translucent pixels become opaque or clear below 32 bits.
  TImageList deep(nullptr);
  deep.SetSize(2, 1);
  deep.SetColorDepth(cd32Bit);
  TBitmap two;
  FillTwoPixels(two, 1);
  deep.Add(&two, nullptr);
  deep.SetColorDepth(cd24Bit);
  EXPECT_EQ(deep.ImagePixels(0).Row(0)[1], 0xFF000000u | 0x0000FFu);
}

TEST(ImageListTest, EnabledAndDisabledDrawingAgainstAReference) {
  TImageList list(nullptr);
  list.SetSize(2, 1);
  list.SetColorDepth(cd32Bit);
  TBitmap src;
  FillTwoPixels(src, 1);
  list.Add(&src, nullptr);
  const uint32_t back = 0xFF204060u;
  for (bool enabled : {true, false}) {
    TBitmap target(4, 1);
    target.Canvas()->Brush()->SetColor(RGB(0x20, 0x40, 0x60));
    target.Canvas()->FillRect(TRect(0, 0, 4, 1));
    list.Draw(target.Canvas(), 1, 0, 0, enabled);
    EXPECT_EQ(target.ScanLine(0)[0], back);
    EXPECT_EQ(target.ScanLine(0)[3], back);
    for (int i = 0; i < 2; ++i) {
      uint32_t p = src.ScanLine(0)[i], expected;
      if (enabled) {
        expected = Over(p, back, 255);
      } else {
        uint32_t g = (77 * PixelRed(p) + 151 * PixelGreen(p) + 28 * PixelBlue(p) + 128) >> 8;
        expected = Over(PixelARGB(PixelAlpha(p), g, g, g), back, 128);
      }
      EXPECT_EQ(target.ScanLine(0)[1 + i], expected) << "enabled " << enabled << " pixel " << i;
    }
  }
}

TEST(ImageListTest, HandleServesNativeControlsAndDiesWithTheList) {
  HIMAGELIST h;
  TSurface s(4, 4);
  HDC dc = CreateSurfaceDC(&s);
  {
    TImageList list(nullptr);
    list.SetSize(2, 1);
    list.SetColorDepth(cd32Bit);
    TBitmap src;
    FillTwoPixels(src, 2);
    list.Add(&src, nullptr);
    h = list.Handle();
    EXPECT_EQ(ImageList_GetImageCount(h), 2);
    int cx = 0, cy = 0;
    EXPECT_TRUE(ImageList_GetIconSize(h, &cx, &cy));
    EXPECT_EQ(TSize(cx, cy), TSize(2, 1));
    EXPECT_TRUE(ImageList_Draw(h, 1, dc, 1, 2, ILD_NORMAL));
    EXPECT_EQ(At(s, 1, 2), 0xFFFF8000u);
    EXPECT_FALSE(ImageList_Draw(h, 2, dc, 0, 0, ILD_NORMAL)) << "index out of range";
  }
  EXPECT_EQ(ImageList_GetImageCount(h), 0) << "the handle of a freed list is refused";
  EXPECT_FALSE(ImageList_Draw(h, 0, dc, 0, 0, ILD_NORMAL));
  DeleteDC(dc);
}

TEST(ImageListTest, ChangeNotificationsAndUpdateBrackets) {
  TImageList list(nullptr);
  list.SetSize(2, 1);
  int changes = 0;
  list.OnChange = TNotifyEvent([&](TObject*) { ++changes; });
  TBitmap src;
  FillTwoPixels(src, 1);
  list.BeginUpdate();
  list.Add(&src, nullptr);
  list.Add(&src, nullptr);
  EXPECT_EQ(changes, 0);
  list.EndUpdate();
  EXPECT_EQ(changes, 1);
  list.Clear();
  list.Clear();  // already empty: no change
  EXPECT_EQ(changes, 2);
}
