// Device contexts: coordinates, clipping, save and restore, the system clip, dirty tracking,
// object lifetime and block copies.
#include <gtest/gtest.h>

#include "pixels.h"
#include "platform/core/exceptions.h"
#include "platform/graphics/dc.h"

using kvtest::Picture;

namespace {
class DCTest : public testing::Test {
protected:
  DCTest() : surface(8, 6), dc(CreateSurfaceDC(&surface)) {}
  ~DCTest() override { DeleteDC(dc); }
  void FillAll(HBRUSH brush) { FillRect(dc, TRect(-100, -100, 100, 100), brush); }
  HBRUSH Black() { return static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)); }
  HBRUSH White() { return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)); }
  TSurface surface;
  HDC dc;
};
}  // namespace

TEST_F(DCTest, FillRectCoversExactlyTheRectangleAtTheMovedOrigin) {
  SetViewportOrgEx(dc, 3, 1, nullptr);
  SetWindowOrgEx(dc, 1, 0, nullptr);  // logical (1, 0) lands on device (3, 1)
  FillRect(dc, TRect(1, 0, 3, 2), Black());
  EXPECT_EQ(Picture(surface), (std::vector<std::string>{
                                  "........",
                                  "...##...",
                                  "...##...",
                                  "........",
                                  "........",
                                  "........"}));
  TPoint org;
  OffsetViewportOrgEx(dc, -1, 2, &org);
  EXPECT_EQ(org, TPoint(3, 1));
  GetViewportOrgEx(dc, &org);
  EXPECT_EQ(org, TPoint(2, 3));
}

TEST_F(DCTest, NestedSaveRestoreRestoresClipAndOrigins) {
  IntersectClipRect(dc, 1, 1, 7, 5);
  int level1 = SaveDC(dc);
  SetViewportOrgEx(dc, 2, 0, nullptr);
  IntersectClipRect(dc, 0, 0, 2, 6);  // logical 0..2 = device 2..4
  int level2 = SaveDC(dc);
  ExcludeClipRect(dc, 0, 2, 1, 3);   // device (2, 2)
  EXPECT_EQ(level1, 1);
  EXPECT_EQ(level2, 2);
  FillAll(Black());
  EXPECT_EQ(Picture(surface), (std::vector<std::string>{
                                  "........",
                                  "..##....",
                                  "...#....",
                                  "..##....",
                                  "..##....",
                                  "........"}));
  TRect box;
  EXPECT_EQ(GetClipBox(dc, &box), COMPLEXREGION);
  EXPECT_EQ(box, TRect(0, 1, 2, 5));  // logical coordinates

  ASSERT_TRUE(RestoreDC(dc, -1));  // back to level 2's saved state: no exclusion
  FillAll(White());
  EXPECT_EQ(Picture(surface)[2], "..oo....");
  ASSERT_TRUE(RestoreDC(dc, level1));  // origin and the first clip only
  TPoint org;
  GetViewportOrgEx(dc, &org);
  EXPECT_EQ(org, TPoint(0, 0));
  EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
  EXPECT_EQ(box, TRect(1, 1, 7, 5));
  EXPECT_FALSE(RestoreDC(dc, 1)) << "level 1 was consumed";
  EXPECT_FALSE(RestoreDC(dc, -1));
}

TEST_F(DCTest, RestoreDCRefusesLevelsThatDoNotExist) {
  SaveDC(dc);
  SaveDC(dc);
  EXPECT_FALSE(RestoreDC(dc, 0));
  EXPECT_FALSE(RestoreDC(dc, 3));
  EXPECT_FALSE(RestoreDC(dc, -3));
  EXPECT_TRUE(RestoreDC(dc, -2));  // relative: the first save
  EXPECT_EQ(SaveDC(dc), 1);
}

TEST_F(DCTest, SystemClipIsIndependentOfUserClipAndState) {
  TRegion visible(TRect(0, 0, 4, 6));
  visible.Union(TRect(6, 0, 8, 2));
  SetDCSystemClip(dc, visible);
  SetDCDeviceOrigin(dc, TPoint(1, 1));  // device (0, 0) is surface (1, 1)
  int saved = SaveDC(dc);
  HRGN rgn = CreateRectRgn(0, 0, 7, 3);  // device coordinates: surface (1..8, 1..4)
  SelectClipRgn(dc, rgn);
  DeleteObject(rgn);
  FillAll(Black());
  EXPECT_EQ(Picture(surface), (std::vector<std::string>{
                                  "........",
                                  ".###..##",
                                  ".###....",
                                  ".###....",
                                  "........",
                                  "........"}));
  RestoreDC(dc, saved);
  SelectClipRgn(dc, nullptr);
  FillAll(White());
  EXPECT_EQ(Picture(surface)[0], "oooo..oo") << "the system clip survives restore and clip removal";
  EXPECT_EQ(Picture(surface)[5], "oooo....");
  ClearDCSystemClip(dc);
  FillAll(Black());
  EXPECT_EQ(Picture(surface)[5], "########");
}

TEST_F(DCTest, DirtyRectAccumulatesClippedDrawing) {
  EXPECT_TRUE(TakeDCDirtyRect(dc).IsEmpty());
  SetDCDeviceOrigin(dc, TPoint(2, 0));
  FillRect(dc, TRect(0, 0, 1, 1), Black());
  FillRect(dc, TRect(3, 4, 20, 20), Black());  // clipped by the surface
  EXPECT_EQ(TakeDCDirtyRect(dc), TRect(2, 0, 8, 6));
  EXPECT_TRUE(TakeDCDirtyRect(dc).IsEmpty()) << "taking resets";
  IntersectClipRect(dc, 0, 0, 1, 1);
  FillRect(dc, TRect(3, 3, 5, 5), Black());  // entirely clipped away
  EXPECT_TRUE(TakeDCDirtyRect(dc).IsEmpty());
}

TEST_F(DCTest, ClipRectArgumentsInAnyOrderAndEmptyClip) {
  IntersectClipRect(dc, 4, 3, 2, 1);  // same as (2, 1, 4, 3)
  TRect box;
  GetClipBox(dc, &box);
  EXPECT_EQ(box, TRect(2, 1, 4, 3));
  EXPECT_EQ(IntersectClipRect(dc, 5, 5, 6, 6), NULLREGION);
  EXPECT_EQ(GetClipBox(dc, &box), NULLREGION);
  FillAll(Black());
  EXPECT_TRUE(TakeDCDirtyRect(dc).IsEmpty());
  EXPECT_FALSE(PtVisible(dc, 2, 1));
}

TEST_F(DCTest, DeletedObjectStaysUsableWhileSelectedAndItsHandleIsRefused) {
  int baseline = GdiObjectCount();
  HBRUSH red = CreateSolidBrush(clRed);
  HGDIOBJ old = SelectObject(dc, red);
  EXPECT_EQ(old, GetStockObject(WHITE_BRUSH));
  EXPECT_TRUE(DeleteObject(red));
  EXPECT_FALSE(DeleteObject(red)) << "a second delete is refused";
  EXPECT_EQ(GetObjectType(red), 0);
  EXPECT_EQ(SelectObject(dc, red), nullptr) << "a dead handle cannot be selected";
  EXPECT_TRUE(PatBlt(dc, 0, 0, 1, 1, PATCOPY));
  EXPECT_EQ(kvtest::At(surface, 0, 0), 0xFFFF0000u) << "still drawing with the deleted brush";
  HBRUSH blue = CreateSolidBrush(clBlue);
  EXPECT_NE(blue, red) << "a new object never reuses a dead handle";
  SelectObject(dc, blue);
  DeleteObject(blue);
  SelectObject(dc, old);
  EXPECT_EQ(GdiObjectCount(), baseline);
  EXPECT_FALSE(DeleteObject(GetStockObject(BLACK_PEN))) << "stock objects are never deleted";
  EXPECT_EQ(GetObjectType(GetStockObject(BLACK_PEN)), OBJ_PEN);
}

TEST_F(DCTest, DCBrushAndSystemColourBrushesResolveWhenUsed) {
  SelectObject(dc, GetStockObject(DC_BRUSH));
  SetDCBrushColor(dc, clBlue);
  PatBlt(dc, 0, 0, 1, 1, PATCOPY);
  EXPECT_EQ(kvtest::At(surface, 0, 0), 0xFF0000FFu);
  FillRect(dc, TRect(1, 0, 2, 1), reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  EXPECT_EQ(kvtest::At(surface, 1, 0), ColorToOpaquePixel(clWindow));
  FillRect(dc, TRect(2, 0, 3, 1), static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
  EXPECT_EQ(kvtest::At(surface, 2, 0), 0u) << "the null brush paints nothing";
}

TEST(BitBltTest, CopiesBetweenMemoryDCsWithClipAndSourceBounds) {
  HDC src = CreateCompatibleDC(nullptr);
  HDC dst = CreateCompatibleDC(src);
  HBITMAP sb = CreateCompatibleBitmap(src, 3, 3);
  HBITMAP db = CreateCompatibleBitmap(dst, 6, 4);
  HGDIOBJ oldS = SelectObject(src, sb);
  HGDIOBJ oldD = SelectObject(dst, db);
  FillRect(src, TRect(0, 0, 3, 3), static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  GetBitmapSurface(sb)->Row(1)[1] = 0x80400000u;  // a premultiplied pixel keeps its alpha
  IntersectClipRect(dst, 0, 0, 5, 4);
  // Source block (1, 1)-(4, 4) reaches past the 3 x 3 source: only 2 x 2 pixels exist.
  EXPECT_TRUE(BitBlt(dst, 2, 1, 3, 3, src, 1, 1, SRCCOPY));
  EXPECT_EQ(Picture(*GetBitmapSurface(db), {{0u, '.'}, {0xFF000000u, '#'}, {0x80400000u, 'h'}}),
            (std::vector<std::string>{
                "......",
                "..h#..",
                "..##..",
                "......"}));
  EXPECT_EQ(TakeDCDirtyRect(dst), TRect(2, 1, 4, 3));
  SelectObject(src, oldS);
  SelectObject(dst, oldD);
  DeleteObject(sb);
  DeleteObject(db);
  DeleteDC(src);
  DeleteDC(dst);
  EXPECT_FALSE(DeleteDC(dst)) << "a deleted DC is refused";
}

TEST(BitBltTest, OverlappingCopyWithinOneSurfaceScrolls) {
  TSurface s(5, 1);
  for (int x = 0; x < 5; ++x) s.Row(0)[x] = 0xFF000000u | static_cast<uint32_t>(x + 1);
  HDC dc = CreateSurfaceDC(&s);
  BitBlt(dc, 1, 0, 4, 1, dc, 0, 0, SRCCOPY);  // right by one
  EXPECT_EQ(kvtest::At(s, 1, 0) & 0xFF, 1u);
  EXPECT_EQ(kvtest::At(s, 4, 0) & 0xFF, 4u);
  BitBlt(dc, 0, 0, 4, 1, dc, 1, 0, SRCCOPY);  // back to the left
  for (int x = 0; x < 4; ++x) EXPECT_EQ(kvtest::At(s, x, 0) & 0xFF, static_cast<uint32_t>(x + 1));
  DeleteDC(dc);
}

TEST(BitBltTest, DIBSectionExposesTopDownPixelsAndRefusesOtherLayouts) {
  BITMAPINFO bi;
  bi.bmiHeader.biWidth = 4;
  bi.bmiHeader.biHeight = -2;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(bmp, nullptr);
  ASSERT_NE(bits, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  SelectObject(dc, bmp);
  FillRect(dc, TRect(0, 1, 1, 2), static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  BITMAP info;
  ASSERT_EQ(GetObject(bmp, sizeof info, &info), static_cast<int>(sizeof info));
  auto* px = static_cast<uint32_t*>(bits);
  EXPECT_EQ(px[info.bmWidthBytes / 4], 0xFFFFFFFFu) << "row 1 starts one stride in";
  DeleteDC(dc);
  DeleteObject(bmp);
  bi.bmiHeader.biHeight = 2;  // bottom-up
  EXPECT_EQ(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
  bi.bmiHeader.biHeight = -2;
  bi.bmiHeader.biBitCount = 24;
  EXPECT_EQ(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
  EXPECT_EQ(bits, nullptr);
}

TEST(SurfaceTest, SizesAreCheckedAndResizeKeepsTheSharedPart) {
  TSurface s(3, 2);
  EXPECT_GE(s.Stride(), 3);
  s.Row(1)[2] = 7;
  s.SetSize(3, 2);
  EXPECT_EQ(s.Row(1)[2], 7u) << "an unchanged size keeps the pixels";
  s.Resize(5, 5);
  EXPECT_EQ(s.Row(1)[2], 7u);
  EXPECT_EQ(s.Row(4)[4], 0u);
  s.SetSize(2, 2);
  EXPECT_EQ(s.Row(1)[1], 0u) << "a new size clears";
  EXPECT_THROW(s.SetSize(-1, 2), EInvalidArgument);
  EXPECT_THROW(s.SetSize(1 << 20, 1 << 20), EOutOfResources);
  EXPECT_EQ(s.Width(), 2) << "a refused size leaves the surface";
  EXPECT_THROW(s.ScanLine(2), EInvalidArgument);
  s.SetSize(0, 5);
  EXPECT_TRUE(s.IsEmpty());
  EXPECT_EQ(s.PixmanImage(), nullptr);
}
