// A sheet of the base controls for looking at (build/sheets/basecontrols.png, and
// basecontrols-glossy.png under a custom style): a wallpapered
// library panel holding transparent controls (one nested in another, one over a windowless
// label), and an active control in its normal and hot looks and half way through the fade.
#include "basectl.h"
#include "platform/controls/stdctrls.h"
#include "platform/graphics/picture.h"
#include "platform/themes/stylemanager.h"
#include "platform/windows/headless.h"

using namespace kvtest;

namespace {
// A library panel with the page wallpaper tiled.
class TWallpaperPanel : public TkvCustomControl {
public:
  explicit TWallpaperPanel(TComponent* AOwner) : TkvCustomControl(AOwner) {
    FTransparentBackground = false;
    TControlStyle s = ControlStyle();
    s.Include(csAcceptsControls);
    SetControlStyle(s);
    Tile.LoadFromFile(String(KV_ASSETS_DIR) + "/wallpaper2.png");
  }
  TPicture Tile;

protected:
  void Draw(TCanvas* ACanvas, TkvsCtrlState) override {
    for (int y = 0; y < Height(); y += Tile.Height())
      for (int x = 0; x < Width(); x += Tile.Width()) ACanvas->Draw(x, y, Tile.Graphic());
  }
};

// A transparent control with a frame and a caption.
class TCaptionGlass : public TGlassProbe {
public:
  using TGlassProbe::TGlassProbe;

protected:
  void Draw(TCanvas* ACanvas, TkvsCtrlState ACtrlState) override {
    TGlassProbe::Draw(ACanvas, ACtrlState);
    ACanvas->Font()->SetName("DejaVu Sans");
    ACanvas->Font()->SetSize(9);
    ACanvas->Brush()->SetStyle(bsClear);
    ACanvas->TextOut(6, 4, Caption());
  }
};

struct BaseSheetTest : BaseControlTest {
  void Render(const String& Suffix);
};
}  // namespace

TEST_F(BaseSheetTest, BaseControlsSheet) {
  for (const char* style : {TStyleManager::SystemStyleName, "Glossy"}) {
    SCOPED_TRACE(style);
    TStyleManager::SetStyle(style);
    Render(style == String(TStyleManager::SystemStyleName) ? "" : "-glossy");
  }
  TStyleManager::SetStyle(TStyleManager::SystemStyleName);
}

void BaseSheetTest::Render(const String& Suffix) {
  TForm* form = MakeForm(40, 40, 520, 260);
  auto* panel = New<TWallpaperPanel>(form);
  panel->SetParent(form);
  panel->SetBounds(0, 0, 520, 260);
  ASSERT_GT(panel->Tile.Width(), 0);

  auto* label = New<TLabel>(form);
  label->SetParent(panel);
  label->SetCaption("A windowless label under glass");
  label->Font()->SetName("DejaVu Sans");
  label->Font()->SetStyle(TFontStyles{fsBold});
  label->SetBounds(24, 40, 220, 16);
  auto* glass = New<TCaptionGlass>(form);
  glass->SetParent(panel);
  glass->SetBounds(16, 20, 240, 60);
  glass->Frame = clNavy;
  glass->SetCaption("Transparent");

  auto* outer = New<TCaptionGlass>(form);
  outer->SetParent(panel);
  outer->SetBounds(16, 100, 240, 140);
  outer->Frame = clMaroon;
  outer->SetCaption("Outer");
  auto* inner = New<TCaptionGlass>(form);
  inner->SetParent(outer);
  inner->SetBounds(30, 40, 180, 70);
  inner->Frame = clGreen;
  inner->SetCaption("Inner, nested");

  TActiveProbe* states[3];
  for (int i = 0; i < 3; ++i) {
    states[i] = New<TActiveProbe>(form);
    states[i]->SetParent(panel);
    states[i]->SetBounds(290, 30 + i * 70, 200, 50);
  }
  form->Show();
  Application->ProcessMessages();
  states[1]->Perform(CM_MOUSEENTER);   // hot, no fade
  states[2]->SetAnimation(true);
  const uint64_t start = Headless::Now();
  states[2]->Perform(CM_MOUSEENTER);   // fading to hot
  Headless::AdvanceTime(start + 75 - Headless::Now());

  TSurface shot;
  ASSERT_TRUE(Headless::CaptureWindow(form->Handle(), &shot, true));
  Headless::SavePNG(shot, String(KV_SHEETS_DIR) + "/basecontrols" + Suffix + ".png");

  // Where the glass shows nothing of its own, the wallpaper (or the label) is what it shows.
  TBitmap ground(520, 260);
  for (int y = 0; y < 260; y += panel->Tile.Height())
    for (int x = 0; x < 520; x += panel->Tile.Width()) ground.Canvas()->Draw(x, y, panel->Tile.Graphic());
  auto wallpaper = [&](int x, int y) { return ground.ScanLine(y)[x] | 0xFF000000u; };
  EXPECT_EQ(shot.Row(75)[200], wallpaper(200, 75)) << "inside the first glass, below the label";
  EXPECT_EQ(shot.Row(225)[30], wallpaper(30, 225)) << "inside the outer glass";
  EXPECT_EQ(shot.Row(180)[200], wallpaper(200, 180)) << "inside both";
  EXPECT_EQ(shot.Row(140)[46], PixelOf(clGreen)) << "the inner frame";
  int text = 0;
  for (int y = 40; y < 56; ++y)
    for (int x = 24; x < 244; ++x) text += shot.Row(y)[x] != wallpaper(x, y);
  EXPECT_GT(text, 100) << "the label shows through the glass";
  EXPECT_EQ(shot.Row(195)[390], 0xFF808080u) << "the fade half way between its two looks";
  Headless::AdvanceTime(1000);
  Free(form);
  Forget(form);
}
