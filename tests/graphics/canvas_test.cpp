// TCanvas over a device context and over a bitmap.
#include <gtest/gtest.h>

#include "pixels.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/text.h"

using kvtest::At;

TEST(CanvasTest, SelectsPenBrushAndFontAsTheyChange) {
  TBitmap bmp(10, 8);
  TCanvas* c = bmp.Canvas();
  c->Pen()->SetColor(clRed);
  c->Brush()->SetColor(clBlue);
  c->Rectangle(0, 0, 5, 5);
  EXPECT_EQ(At(bmp.Surface(), 0, 0), 0xFFFF0000u);
  EXPECT_EQ(At(bmp.Surface(), 2, 2), 0xFF0000FFu);
  c->Brush()->SetColor(clLime);  // takes effect at the next call
  c->FillRect(TRect(5, 5, 10, 8));
  EXPECT_EQ(At(bmp.Surface(), 9, 7), 0xFF00FF00u);
  c->Pen()->SetMode(pmNot);
  c->MoveTo(0, 7);
  c->LineTo(3, 7);
  EXPECT_EQ(At(bmp.Surface(), 1, 7), 0xFFFFFFFFu) << "inverted transparent black";
  EXPECT_EQ(c->Pixels(2, 2), clBlue);
  c->SetPixels(9, 0, clRed);
  EXPECT_EQ(At(bmp.Surface(), 9, 0), 0xFFFF0000u);
}

TEST(CanvasTest, TextUsesFontColourAndBrushDecidesTheBackground) {
  TBitmap bmp(80, 20);
  TCanvas* c = bmp.Canvas();
  c->Brush()->SetColor(clWhite);
  c->FillRect(TRect(0, 0, 80, 20));
  c->Font()->SetColor(clRed);
  c->Brush()->SetStyle(bsClear);
  c->TextOut(2, 2, "Hi");
  EXPECT_EQ(c->PenPos(), TPoint(2 + c->TextWidth("Hi"), 2));
  bool red = false, other = false;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 80; ++x) {
      uint32_t p = At(bmp.Surface(), x, y);
      if (p != 0xFFFFFFFFu) (PixelRed(p) == 255 && PixelGreen(p) == PixelBlue(p) ? red : other) = true;
    }
  EXPECT_TRUE(red);
  EXPECT_FALSE(other) << "transparent background, red glyphs only";
  c->Brush()->SetColor(clBlue);  // solid again: TextRect fills the rectangle
  c->TextRect(TRect(40, 0, 80, 20), 42, 2, "x");
  EXPECT_EQ(At(bmp.Surface(), 79, 19), 0xFF0000FFu);
  EXPECT_EQ(c->TextHeight("Wq"), c->TextHeight(""));
}

TEST(CanvasTest, TextRectWithFormatCalculatesAndModifies) {
  TBitmap bmp(10, 10);
  TCanvas* c = bmp.Canvas();
  TRect r(0, 0, 40, 0);
  String text = "A long caption indeed";
  c->TextRect(r, text, TTextFormat{tfCalcRect, tfSingleLine, tfEndEllipsis, tfModifyString});
  EXPECT_EQ(text.substr(text.size() - 3), "...");
  EXPECT_LE(r.Width(), 40);
  EXPECT_EQ(r.Height(), c->TextHeight(text));
  EXPECT_EQ(TextFormatToFlags({tfCenter, tfVerticalCenter, tfWordBreak}), unsigned(DT_CENTER | DT_VCENTER | DT_WORDBREAK));
}

TEST(CanvasTest, ExternalHandleGetsItsObjectsBack) {
  TSurface s(4, 4);
  HDC dc = CreateSurfaceDC(&s);
  HGDIOBJ pen = GetCurrentObject(dc, OBJ_PEN), brush = GetCurrentObject(dc, OBJ_BRUSH);
  {
    TCanvas c;
    c.SetHandle(dc);
    c.Pen()->SetColor(clRed);
    c.Brush()->SetColor(clBlue);
    c.Rectangle(0, 0, 4, 4);
    EXPECT_NE(GetCurrentObject(dc, OBJ_PEN), pen);
    c.SetHandle(nullptr);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);
  }
  EXPECT_EQ(At(s, 0, 0), 0xFFFF0000u);
  DeleteDC(dc);
  TCanvas none;
  none.FillRect(TRect(0, 0, 1, 1));  // no handle: nothing happens
  EXPECT_FALSE(none.HandleAllocated());
}

TEST(CanvasTest, CopyRectStretchesAndDrawHonoursAlpha) {
  TBitmap src(2, 1), dst(4, 2);
  src.ScanLine(0)[0] = 0xFFFF0000u;
  src.ScanLine(0)[1] = 0xFF0000FFu;
  dst.Canvas()->CopyRect(TRect(0, 0, 4, 2), src.Canvas(), TRect(0, 0, 2, 1));
  EXPECT_EQ(At(dst.Surface(), 1, 1), 0xFFFF0000u);
  EXPECT_EQ(At(dst.Surface(), 2, 0), 0xFF0000FFu);

  TBitmap glass(1, 1);
  glass.SetPixelFormat(pf32bit);
  glass.ScanLine(0)[0] = 0x80800000u;  // half-transparent red, premultiplied
  glass.SetAlphaFormat(afPremultiplied);
  EXPECT_EQ(glass.ScanLine(0)[0], 0x80400000u) << "switching multiplies";
  glass.ScanLine(0)[0] = 0x80800000u;
  TBitmap back(1, 1);
  back.Canvas()->Brush()->SetColor(clWhite);
  back.Canvas()->FillRect(TRect(0, 0, 1, 1));
  back.Canvas()->Draw(0, 0, &glass);
  EXPECT_EQ(At(back.Surface(), 0, 0), 0xFFFF7F7Fu);
}

TEST(CanvasTest, ObjectsSelectedInsideASaveAreSelectedAgainAfterTheRestore) {
  // Drawing routines save the context, use the canvas, and restore: the restore takes the
  // canvas's objects out of the context, and the canvas must notice before its next use.
  TBitmap bmp(12, 4);
  TCanvas* c = bmp.Canvas();
  HDC dc = c->Handle();
  int level = SaveDC(dc);
  c->Brush()->SetColor(clRed);
  c->FillRect(TRect(0, 0, 4, 4));
  RestoreDC(dc, level);
  c->FillRect(TRect(4, 0, 8, 4));  // same brush, no change announced in between
  EXPECT_EQ(At(bmp.Surface(), 5, 1), 0xFFFF0000u);
  c->Pen()->SetColor(clBlue);
  level = SaveDC(dc);
  c->MoveTo(0, 3);
  c->LineTo(2, 3);
  RestoreDC(dc, level);
  c->MoveTo(8, 3);
  c->LineTo(12, 3);
  EXPECT_EQ(At(bmp.Surface(), 9, 3), 0xFF0000FFu);
}
