// TkvPanel: the client inset of every style kind and border style (as children see it), the
// pixels of every border style, the wallpaper rules, the caption, transparency through two
// nested panels, and the kind that paints nothing.
#include <array>
#include <string>

#include "kvControls/panels_support.h"

using namespace kvtest;

namespace {

// The insets (left, top, right, bottom) each border style takes.
const std::array<TRect, 20> kBorderInsets = {{
    {0, 0, 0, 0},  // None
    {1, 1, 1, 1},  // Flat
    {1, 1, 1, 1},  // Raised
    {1, 1, 1, 1},  // Lowered
    {2, 2, 2, 2},  // LoweredBevel
    {2, 2, 2, 2},  // RaisedBevel
    {0, 2, 0, 0},  // TopBevel
    {0, 0, 0, 2},  // BottomBevel
    {0, 1, 0, 0},  // TopLightLine
    {0, 0, 0, 1},  // BottomLightLine
    {0, 1, 0, 0},  // TopShadowLine
    {0, 0, 0, 1},  // BottomShadowLine
    {2, 0, 0, 0},  // LeftBevel
    {0, 0, 2, 0},  // RightBevel
    {1, 0, 0, 0},  // LeftLightLine
    {0, 0, 1, 0},  // RightLightLine
    {1, 0, 0, 0},  // LeftShadowLine
    {0, 0, 1, 0},  // RightShadowLine
    {0, 0, 0, 0},  // HorzCenterBevel
    {0, 0, 0, 0},  // VertCenterBevel
}};

TRect Shrunk(TRect r, const TRect& inset) {
  return {r.Left + inset.Left, r.Top + inset.Top, r.Right - inset.Right, r.Bottom - inset.Bottom};
}

// Each border style drawn into a 6 x 6 square: L light, S shadow, '.' untouched.
struct BorderArt {
  TkvPanelBorderStyle Style;
  const char* Rows[6];
};
const BorderArt kBorderArt[] = {
    {kvpbsNone, {"......", "......", "......", "......", "......", "......"}},
    {kvpbsFlat, {"SSSSSS", "S....S", "S....S", "S....S", "S....S", "SSSSSS"}},
    {kvpbsRaised, {"LLLLLS", "L....S", "L....S", "L....S", "L....S", "SSSSSS"}},
    {kvpbsLowered, {"SSSSSL", "S....L", "S....L", "S....L", "S....L", "LLLLLL"}},
    {kvpbsLoweredBevel, {"SSSSSL", "SLLLSL", "SL..SL", "SL..SL", "SSSSSL", "LLLLLL"}},
    {kvpbsRaisedBevel, {"LLLLLS", "LSSSLS", "LS..LS", "LS..LS", "LLLLLS", "SSSSSS"}},
    {kvpbsTopBevel, {"SSSSSS", "LLLLLL", "......", "......", "......", "......"}},
    {kvpbsBottomBevel, {"......", "......", "......", "......", "SSSSSS", "LLLLLL"}},
    {kvpbsTopLightLine, {"LLLLLL", "......", "......", "......", "......", "......"}},
    {kvpbsBottomLightLine, {"......", "......", "......", "......", "......", "LLLLLL"}},
    {kvpbsTopShadowLine, {"SSSSSS", "......", "......", "......", "......", "......"}},
    {kvpbsBottomShadowLine, {"......", "......", "......", "......", "......", "SSSSSS"}},
    {kvpbsLeftBevel, {"SL....", "SL....", "SL....", "SL....", "SL....", "SL...."}},
    {kvpbsRightBevel, {"....SL", "....SL", "....SL", "....SL", "....SL", "....SL"}},
    {kvpbsLeftLightLine, {"L.....", "L.....", "L.....", "L.....", "L.....", "L....."}},
    {kvpbsRightLightLine, {".....L", ".....L", ".....L", ".....L", ".....L", ".....L"}},
    {kvpbsLeftShadowLine, {"S.....", "S.....", "S.....", "S.....", "S.....", "S....."}},
    {kvpbsRightShadowLine, {".....S", ".....S", ".....S", ".....S", ".....S", ".....S"}},
    {kvpbsHorzCenterBevel, {"......", "......", "SSSSSS", "LLLLLL", "......", "......"}},
    {kvpbsVertCenterBevel, {"..SL..", "..SL..", "..SL..", "..SL..", "..SL..", "..SL.."}},
};

}  // namespace

TEST(PanelGeometry, EveryBorderStyleDrawsItsLinesAndNothingOutside) {
  const TColor L = RGB(250, 20, 20), S = RGB(20, 20, 250), ground = RGB(0, 200, 0);
  for (const BorderArt& art : kBorderArt) {
    SCOPED_TRACE(EnumInfo<TkvPanelBorderStyle>().Name(art.Style));
    TBitmap bmp(10, 10);
    bmp.Canvas()->Brush()->SetColor(ground);
    bmp.Canvas()->FillRect(TRect(0, 0, 10, 10));
    DrawPanelBorder(bmp.Canvas(), TRect(2, 2, 8, 8), art.Style, L, S);
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x) {
        const bool inside = x >= 2 && x < 8 && y >= 2 && y < 8;
        const char want = inside ? art.Rows[y - 2][x - 2] : '.';
        const TColor color = want == 'L' ? L : want == 'S' ? S : ground;
        EXPECT_EQ(bmp.ScanLine(y)[x] | 0xFF000000u, ColorToOpaquePixel(color)) << "at " << x << ", " << y;
      }
  }
}

TEST_F(PanelsTest, ChildrenGetTheInsetOfEveryStyleKindAndBorderStyle) {
  TForm* f = ShownForm();
  TkvPanel* p = New<TkvPanel>(f);
  p->SetParent(f);
  p->SetBounds(10, 10, 200, 120);
  TkvPanel* child = New<TkvPanel>(f);
  child->SetParent(p);
  child->SetAlign(alClient);
  const TRect full(0, 0, 200, 120);
  // The kind changes under a kept border style and the other way round: every change must
  // realign the child, whichever property moved the inset.
  for (int b = 0; b < 20; ++b) {
    const auto border = static_cast<TkvPanelBorderStyle>(b);
    p->SetBorderStyle(border);
    for (int k = 0; k < 7; ++k) {
      const auto kind = static_cast<TkvPanelStyleKind>(k);
      p->SetStyleKind(kind);
      TRect want = full;
      if (kind == kvpsPanel || kind == kvpsFormBackground || kind == kvpsTransparent)
        want = Shrunk(full, kBorderInsets[b]);
      else if (kind == kvpsEdit)
        want = full.Inflated(-2, -2);
      EXPECT_EQ(child->BoundsRect(), want) << EnumInfo<TkvPanelStyleKind>().Name(kind) << " with "
                                           << EnumInfo<TkvPanelBorderStyle>().Name(border);
    }
  }
  // A top bevel leaves the children a client area starting 2 pixels below the top.
  p->SetStyleKind(kvpsPanel);
  p->SetBorderStyle(kvpbsTopBevel);
  EXPECT_EQ(child->BoundsRect(), TRect(0, 2, 200, 120));
}

TEST_F(PanelsTest, TransparentKindTurnsTheParentCopyOnAndOff) {
  TForm* f = ShownForm();
  TkvPanel* p = New<TkvPanel>(f);
  p->SetParent(f);
  p->SetBounds(10, 10, 80, 40);
  Application->ProcessMessages();
  EXPECT_FALSE(p->TransparentBackground());
  p->SetStyleKind(kvpsTransparent);
  EXPECT_TRUE(p->TransparentBackground());
  EXPECT_EQ(p->ParentBGBitmap()->Width(), 80);
  EXPECT_EQ(p->ParentBGBitmap()->Height(), 40);
  p->SetStyleKind(kvpsHeader);
  EXPECT_FALSE(p->TransparentBackground());
  EXPECT_TRUE(p->ParentBGBitmap()->Empty());
}

class PanelPaint : public PanelsTest {
protected:
  void SetUp() override {
    PanelsTest::SetUp();
    form = ShownForm();
    form->SetColor(RGB(0, 160, 0));
    wallpapers = New<TkvImageCollection>(form);
    TkvImageCollectionItem* item = wallpapers->Images()->Add();
    MakePattern(item->Picture(), 7, 5);
  }
  TkvPanel* AddPanel(TWinControl* parent, const TRect& r) {
    TkvPanel* p = New<TkvPanel>(form);
    p->SetParent(parent);
    p->SetBoundsRect(r);
    return p;
  }
  TForm* form = nullptr;
  TkvImageCollection* wallpapers = nullptr;
};

TEST_F(PanelPaint, CoveringWallpaperReplacesBackgroundAndCaptionButKeepsTheFrame) {
  TkvPanel* p = AddPanel(form, TRect(20, 20, 120, 70));
  p->SetBorderStyle(kvpbsRaisedBevel);
  p->SetLightBorderColor(RGB(255, 255, 0));
  p->SetShadowBorderColor(RGB(128, 0, 128));
  p->SetWallpapers(wallpapers);
  p->SetWallpaperIndex(0);
  p->SetCaption("Never shown");
  TSurface withoutCaption, withCaption;
  Shot(form, withoutCaption);
  p->SetShowCaption(true);
  Shot(form, withCaption);
  TPicture* picture = wallpapers->Images()->Items(0)->Picture();
  for (int y = 2; y < 48; ++y)
    for (int x = 2; x < 98; ++x) ASSERT_EQ(Px(withCaption, 20 + x, 20 + y), PatternPixel(picture, x, y)) << x << "," << y;
  // The double frame: light outside at the top left, shadow inside it.
  EXPECT_EQ(Px(withCaption, 20, 20), Opaque(RGB(255, 255, 0)));
  EXPECT_EQ(Px(withCaption, 21, 21), Opaque(RGB(128, 0, 128)));
  EXPECT_EQ(Px(withCaption, 119, 69), Opaque(RGB(128, 0, 128)));
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 100; ++x) ASSERT_EQ(Px(withCaption, 20 + x, 20 + y), Px(withoutCaption, 20 + x, 20 + y));
}

TEST_F(PanelPaint, WallpaperWithGapsIsDrawnOverThePanelColour) {
  wallpapers->Images()->Items(0)->SetTileOffsetX(3);
  TkvPanel* p = AddPanel(form, TRect(0, 0, 40, 20));
  p->SetColor(RGB(10, 20, 30));
  p->SetWallpapers(wallpapers);
  p->SetWallpaperIndex(0);
  TSurface s;
  Shot(form, s);
  TPicture* picture = wallpapers->Images()->Items(0)->Picture();
  EXPECT_EQ(Px(s, 3, 2), PatternPixel(picture, 3, 2));
  EXPECT_EQ(Px(s, 8, 2), Opaque(RGB(10, 20, 30))) << "the gap between tiles shows the panel's colour";
  EXPECT_EQ(Px(s, 11, 2), PatternPixel(picture, 1, 2));
}

TEST_F(PanelPaint, OutOfRangeWallpaperIndexDrawsThePlainBackground) {
  TkvPanel* p = AddPanel(form, TRect(0, 0, 40, 20));
  p->SetColor(RGB(10, 20, 30));
  p->SetWallpapers(wallpapers);
  for (int index : {-1, 1, 1000}) {
    p->SetWallpaperIndex(index);
    EXPECT_FALSE(p->HasWallpaper());
    TSurface s;
    Shot(form, s);
    EXPECT_EQ(Px(s, 5, 5), Opaque(RGB(10, 20, 30))) << index;
  }
  // A freed collection is forgotten.
  p->SetWallpaperIndex(0);
  Free(wallpapers);
  EXPECT_EQ(p->Wallpapers(), nullptr);
  TSurface s;
  Shot(form, s);
  EXPECT_EQ(Px(s, 5, 5), Opaque(RGB(10, 20, 30)));
}

TEST_F(PanelPaint, TwoNestedTransparentPanelsShowTheWallpaperBehindThem) {
  TkvPanel* body = AddPanel(form, TRect(0, 0, 400, 300));
  body->SetWallpapers(wallpapers);
  body->SetWallpaperIndex(0);
  TkvPanel* outer = AddPanel(body, TRect(30, 20, 230, 170));
  outer->SetStyleKind(kvpsTransparent);
  TkvPanel* inner = AddPanel(outer, TRect(20, 25, 140, 105));
  inner->SetStyleKind(kvpsTransparent);
  inner->SetBorderStyle(kvpbsFlat);
  TPicture* picture = wallpapers->Images()->Items(0)->Picture();
  auto expectWallpaperUnder = [&](const TControl* c) {
    TSurface s;
    Shot(form, s);
    const TPoint o = form->ScreenToClient(c->ClientToScreen(TPoint(0, 0)));
    for (int y = 1; y < c->Height() - 1; ++y)
      for (int x = 1; x < c->Width() - 1; ++x)
        ASSERT_EQ(Px(s, o.X + x, o.Y + y), PatternPixel(picture, o.X + x, o.Y + y)) << x << "," << y;
    EXPECT_EQ(Px(s, o.X, o.Y), Opaque(clBtnShadow)) << "the inner panel's flat frame";
  };
  expectWallpaperUnder(inner);
  // Moved, it shows the part under its new place.
  inner->SetBounds(33, 41, 120, 80);
  expectWallpaperUnder(inner);
  outer->SetBounds(57, 12, 200, 150);
  expectWallpaperUnder(inner);
}

TEST_F(PanelPaint, EmptyKindPaintsNothingAtAll) {
  TkvPanel* p = AddPanel(form, TRect(0, 0, 60, 30));
  p->SetStyleKind(kvpsEmpty);
  p->SetBorderStyle(kvpbsRaised);
  p->SetShowCaption(true);
  p->SetCaption("Empty");
  TBitmap bmp(60, 30);
  bmp.Canvas()->Brush()->SetColor(RGB(255, 0, 255));
  bmp.Canvas()->FillRect(TRect(0, 0, 60, 30));
  p->PaintTo(bmp.Canvas()->Handle(), 0, 0);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 60; ++x) ASSERT_EQ(bmp.ScanLine(y)[x] | 0xFF000000u, Opaque(RGB(255, 0, 255)));
  EXPECT_EQ(p->ClientRect(), TRect(0, 0, 60, 30));
}

namespace {
// The horizontal extent of the pixels in row band [top, bottom) that differ from ground.
std::pair<int, int> InkColumns(const TSurface& s, const TRect& r, uint32_t ground) {
  int lo = r.Right, hi = r.Left - 1;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x)
      if ((s.Row(y)[x] | 0xFF000000u) != ground) {
        lo = std::min(lo, x);
        hi = std::max(hi, x);
      }
  return {lo, hi};
}
}  // namespace

TEST_F(PanelPaint, CaptionIsPlacedByAlignmentInsideItsMargin) {
  TkvPanel* p = AddPanel(form, TRect(0, 0, 200, 40));
  p->SetColor(clWhite);
  p->SetCaption("Wq");
  p->SetShowCaption(true);
  p->Font()->SetColor(clBlack);
  struct Case {
    TAlignment Alignment;
    bool Glow;
  };
  for (Case c : {Case{taLeftJustify, false}, Case{taRightJustify, false}, Case{taCenter, false},
                 Case{taLeftJustify, true}, Case{taRightJustify, true}}) {
    p->SetAlignment(c.Alignment);
    p->CaptionGlowEffect()->SetEnabled(c.Glow);
    p->CaptionGlowEffect()->SetGlowSize(6);
    p->CaptionGlowEffect()->SetOffset(2);
    // The caption's own ink, without the glow: drawn once more with the glow's opacity at 0.
    p->CaptionGlowEffect()->SetAlphaValue(0);
    TSurface s;
    Shot(form, s);
    auto [lo, hi] = InkColumns(s, TRect(0, 0, 200, 40), Opaque(clWhite));
    ASSERT_LE(lo, hi) << "no caption drawn";
    const int margin = c.Glow ? 8 : 3;
    SCOPED_TRACE(testing::Message() << EnumInfo<TAlignment>().Name(c.Alignment) << (c.Glow ? " glow" : ""));
    switch (c.Alignment) {
      case taLeftJustify: EXPECT_TRUE(lo >= margin && lo <= margin + 2) << lo; break;
      case taRightJustify: EXPECT_TRUE(hi < 200 - margin && hi >= 200 - margin - 3) << hi; break;
      default: EXPECT_LE(std::abs((lo + hi + 1) / 2 - 100), 2) << lo << ".." << hi; break;
    }
  }
}

TEST_F(PanelPaint, GlowingCaptionDrawsAHaloAroundTheText) {
  TkvPanel* p = AddPanel(form, TRect(0, 0, 120, 40));
  p->SetColor(clWhite);
  p->SetCaption("Glow");
  p->SetShowCaption(true);
  TSurface plain, glowing;
  Shot(form, plain);
  p->CaptionGlowEffect()->SetEnabled(true);
  p->CaptionGlowEffect()->SetColor(RGB(255, 0, 0));
  Shot(form, glowing);
  int reddish = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 120; ++x) {
      const uint32_t px = Px(glowing, x, y);
      const int r = (px >> 16) & 255, g = (px >> 8) & 255;
      if (Px(plain, x, y) == Opaque(clWhite) && r > g + 20) ++reddish;
    }
  EXPECT_GT(reddish, 100) << "the halo lies where the plain caption left the panel white";
}

TEST_F(PanelPaint, ResizingMovesAFollowingWallpaperUnderTransparentChildren) {
  TkvImageCollectionItem* item = wallpapers->Images()->Items(0);
  item->SetDrawStyle(idsCenter);
  TkvPanel* body = AddPanel(form, TRect(0, 0, 200, 100));
  body->SetColor(RGB(40, 40, 40));
  body->SetWallpapers(wallpapers);
  body->SetWallpaperIndex(0);
  TkvPanel* child = AddPanel(body, TRect(60, 30, 100, 50));
  child->SetStyleKind(kvpsTransparent);
  TPicture* picture = item->Picture();
  for (int width : {200, 260, 150}) {
    body->SetWidth(width);
    TSurface s;
    Shot(form, s);
    const int px = width / 2 - 7 / 2, py = 100 / 2 - 5 / 2;  // the centred picture's corner
    for (int y = 30; y < 50; ++y)
      for (int x = 60; x < 100; ++x) {
        const bool on = x >= px && x < px + 7 && y >= py && y < py + 5;
        ASSERT_EQ(Px(s, x, y), on ? PatternPixel(picture, x - px, y - py) : Opaque(RGB(40, 40, 40)))
            << "width " << width << " at " << x << "," << y;
      }
  }
}

TEST_F(PanelPaint, CaptionOverAWallpaperKeepsWhatIsUnderItsText) {
  wallpapers->Images()->Items(0)->SetTileOffsetX(2);  // gaps: the colour is drawn first
  TkvPanel* p = AddPanel(form, TRect(0, 0, 160, 40));
  p->SetColor(RGB(0, 0, 160));
  p->SetWallpapers(wallpapers);
  p->SetWallpaperIndex(0);
  p->SetShowCaption(true);
  p->SetCaption("Caption");
  p->Font()->SetColor(clYellow);
  for (int paint = 0; paint < 3; ++paint) {
    p->RePaintControl();
    TSurface s;
    Shot(form, s);
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 160; ++x) ASSERT_NE(Px(s, x, y), Opaque(clWhite)) << "paint " << paint << " at " << x << "," << y;
  }
}

TEST_F(PanelPaint, CaptionsLeaveTheBackgroundBetweenTheirLettersInEveryKindAndLook) {
  // The paint bitmap and its canvas live on between paints, while the paint and the styled
  // pieces restore the device context under the canvas: on every repaint the caption is still
  // drawn on a clear background, so the gap between its two letters shows the panel.
  struct Look {
    const char* Style;
    bool Classic;
  };
  const Look looks[] = {{TStyleManager::SystemStyleName, false}, {TStyleManager::SystemStyleName, true},
                        {"Glossy", false}, {"Sapphire Kamri", false}, {"Aqua Light Slate", false},
                        {"TabletDark", false}};
  for (const Look& look : looks) {
    TStyleManager::SetStyle(look.Style);
    TStyleManager::SetClassicLook(look.Classic);
    for (TkvPanelStyleKind kind : {kvpsPanel, kvpsToolBar, kvpsHeader, kvpsFormBackground, kvpsEdit}) {
      SCOPED_TRACE(testing::Message() << look.Style << (look.Classic ? " classic " : " ")
                                      << EnumInfo<TkvPanelStyleKind>().Name(kind));
      TkvPanel* p = AddPanel(form, TRect(10, 10, 170, 50));
      p->SetStyleKind(kind);
      p->SetCaption("W          W");
      // A transparent child makes the panel paint itself into the child's copy as well.
      auto* note = New<TkvLabel>(form);
      note->SetParent(p);
      note->SetBounds(4, 28, 40, 10);
      TSurface plain, captioned;
      Shot(form, plain);
      p->SetShowCaption(true);
      for (int i = 0; i < 3; ++i) p->RePaintControl();
      Shot(form, captioned);
      auto [lo, hi] = std::pair{170, 0};
      for (int y = 10; y < 50; ++y)
        for (int x = 10; x < 170; ++x)
          if (Px(plain, x, y) != Px(captioned, x, y)) {
            lo = std::min(lo, x);
            hi = std::max(hi, x);
          }
      ASSERT_LT(lo, hi) << "no caption drawn";
      const int gap = (lo + hi) / 2;
      for (int y = 10; y < 50; ++y) ASSERT_EQ(Px(captioned, gap, y), Px(plain, gap, y)) << "at " << gap << "," << y;
      Free(p);
    }
  }
}
