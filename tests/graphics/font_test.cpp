// TFont, TPen and TBrush: properties, change notification, handles, resolution.
#include <gtest/gtest.h>

#include "platform/graphics/font.h"
#include "platform/graphics/penbrush.h"
#include "platform/graphics/text.h"

TEST(FontTest, MissingFamiliesFallBackToAnInstalledFamilyOfTheSameKind) {
  struct Case {
    const char* name;
    TFontPitch pitch;
    const char* resolved;
  };
  // The test fonts are the DejaVu families.
  for (Case c : {Case{"Tahoma", fpDefault, "DejaVu Sans"}, Case{"Courier New", fpDefault, "DejaVu Sans Mono"},
                 Case{"Some Missing Face", fpFixed, "DejaVu Sans Mono"}, Case{"Times New Roman", fpDefault, "DejaVu Serif"},
                 Case{"DejaVu Serif", fpDefault, "DejaVu Serif"}}) {
    TFont f;
    f.SetName(c.name);
    f.SetPitch(c.pitch);
    EXPECT_EQ(f.ResolvedName(), c.resolved) << c.name;
  }
  TFont f;
  TSurface s(1, 1);
  HDC dc = CreateSurfaceDC(&s);
  SelectObject(dc, f.Handle());
  EXPECT_EQ(GetTextFace(dc), "DejaVu Sans");
  DeleteDC(dc);
}

TEST(FontTest, SizeAndHeightAt96Dpi) {
  struct Case {
    int size, height;
  };
  for (Case c : {Case{8, -11}, Case{9, -12}, Case{10, -13}, Case{12, -16}, Case{1, -1}}) {
    TFont f;
    f.SetSize(c.size);
    EXPECT_EQ(f.Height(), c.height) << c.size;
    f.SetHeight(c.height);
    EXPECT_EQ(f.Size(), c.size) << c.height;
  }
  TFont f;
  EXPECT_EQ(f.Name(), "Tahoma");
  EXPECT_EQ(f.Height(), -11);
  EXPECT_EQ(f.Size(), 8);
}

TEST(FontTest, HeightSignSelectsEmOrCellHeight) {
  TSurface s(1, 1);
  HDC dc = CreateSurfaceDC(&s);
  TFont em, cell;
  em.SetHeight(-20);
  cell.SetHeight(20);
  TEXTMETRIC a, b;
  SelectObject(dc, em.Handle());
  GetTextMetrics(dc, &a);
  SelectObject(dc, cell.Handle());
  GetTextMetrics(dc, &b);
  EXPECT_EQ(a.tmHeight - a.tmInternalLeading, 20) << "negative: the em height";
  EXPECT_LE(b.tmHeight, 20) << "positive: the cell height";
  EXPECT_GE(b.tmHeight, 18);
  DeleteDC(dc);
}

TEST(FontTest, ChangesNotifyOnceAndRenewTheHandleButNotForColour) {
  TFont f;
  int changes = 0;
  f.OnChange = TNotifyEvent([&](TObject*) { ++changes; });
  HFONT h1 = f.Handle();
  f.SetName("Tahoma");  // unchanged
  f.SetSize(8);         // unchanged
  EXPECT_EQ(changes, 0);
  f.SetStyle({fsBold});
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(GetObjectType(h1), 0) << "the old handle is gone";
  HFONT h2 = f.Handle();
  f.SetColor(clRed);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(f.Handle(), h2) << "the colour is not part of the font object";
  f.SetName("");
  EXPECT_EQ(f.Name(), "Tahoma") << "an empty family is refused";
  LOGFONT lf;
  GetObject(f.Handle(), sizeof lf, &lf);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
}

TEST(FontTest, AssignCopiesEverythingAndSetHandleReadsAFont) {
  TFont a, b;
  a.SetName("DejaVu Serif");
  a.SetSize(12);
  a.SetStyle({fsItalic, fsUnderline});
  a.SetColor(clBlue);
  a.SetOrientation(450);
  int changes = 0;
  b.OnChange = TNotifyEvent([&](TObject*) { ++changes; });
  b.Assign(&a);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(b.Name(), "DejaVu Serif");
  EXPECT_EQ(b.Height(), a.Height());
  EXPECT_EQ(b.Style(), a.Style());
  EXPECT_EQ(b.Color(), clBlue);
  EXPECT_EQ(b.Orientation(), 450);
  TFont c;
  c.SetHandle(a.Handle());
  EXPECT_EQ(c.Name(), "DejaVu Serif");
  EXPECT_EQ(c.Style(), a.Style());
  EXPECT_EQ(c.Orientation(), 450);
}

TEST(FontTest, PublishedProperties) {
  TFont f;
  SetPropText(&f, "Name", "DejaVu Sans Mono");
  SetPropText(&f, "Style", "[fsBold, fsStrikeOut]");
  SetPropText(&f, "Color", "clRed");
  SetPropText(&f, "Height", "-16");
  EXPECT_EQ(f.Name(), "DejaVu Sans Mono");
  EXPECT_EQ(f.Style(), TFontStyles({fsBold, fsStrikeOut}));
  EXPECT_EQ(f.Color(), clRed);
  EXPECT_EQ(GetPropText(&f, "Size"), "12");
  EXPECT_EQ(GetPropText(&f, "Pitch"), "fpDefault");
  TPen pen;
  SetPropText(&pen, "Style", "psDot");
  SetPropText(&pen, "Mode", "pmXor");
  EXPECT_EQ(pen.Style(), psDot);
  EXPECT_EQ(PenModeToRop2(pen.Mode()), R2_XORPEN);
  EXPECT_EQ(GetPropText(&pen, "Width"), "1");
  TBrush brush;
  SetPropText(&brush, "Style", "bsClear");
  EXPECT_EQ(GetPropText(&brush, "Color"), "clWhite");
  EXPECT_THROW(SetPropText(&brush, "Style", "bsPlaid"), EPropertyError);
}

TEST(PenBrushTest, HandlesFollowTheProperties) {
  TPen pen;
  pen.SetWidth(0);
  EXPECT_EQ(pen.Width(), 1) << "widths below 1 are 1";
  pen.SetColor(clBtnShadow);
  pen.SetStyle(psClear);
  LOGPEN lp;
  ASSERT_EQ(GetObject(pen.Handle(), sizeof lp, &lp), static_cast<int>(sizeof lp));
  EXPECT_EQ(lp.lopnStyle, static_cast<unsigned>(PS_NULL));
  EXPECT_EQ(lp.lopnColor, ColorToRGB(clBtnShadow)) << "system colours resolved";
  TBrush brush;
  brush.SetStyle(bsClear);
  LOGBRUSH lb;
  GetObject(brush.Handle(), sizeof lb, &lb);
  EXPECT_EQ(lb.lbStyle, static_cast<unsigned>(BS_NULL));
  brush.SetColor(clRed);
  EXPECT_EQ(brush.Style(), bsSolid) << "a colour makes a clear brush solid";
  GetObject(brush.Handle(), sizeof lb, &lb);
  EXPECT_EQ(lb.lbStyle, static_cast<unsigned>(BS_SOLID));
  EXPECT_EQ(lb.lbColor, clRed);
  brush.SetStyle(bsDiagCross);
  GetObject(brush.Handle(), sizeof lb, &lb);
  EXPECT_EQ(lb.lbHatch, static_cast<uintptr_t>(HS_DIAGCROSS));
}
