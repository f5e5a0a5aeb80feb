// Painting: a form with windowed and windowless children, clipping and z-order of windowless
// children, csOpaque, erasing with Color, parent backgrounds, PaintTo and repainting.
#include "support.h"

#include <filesystem>

#include "platform/controls/extctrls.h"
#include "platform/controls/stdctrls.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/surface.h"

using namespace kvtest;

namespace {
uint32_t Px(TColor c) {
  TColor rgb = ColorToRGB(c);
  return 0xFF000000u | (static_cast<uint32_t>(GetRValue(rgb)) << 16) | (static_cast<uint32_t>(GetGValue(rgb)) << 8) |
         static_cast<uint32_t>(GetBValue(rgb));
}

// What the screen shows of a control's client area.
std::unique_ptr<TSurface> Shot(TWinControl* c) {
  auto s = std::make_unique<TSurface>();
  Application->ProcessMessages();
  EXPECT_TRUE(Headless::CaptureWindow(c->Handle(), s.get(), true));
  return s;
}

// A windowless child that paints more than its bounds: the parent clips it.
class TOverpainter : public TGraphicControl {
public:
  explicit TOverpainter(TComponent* AOwner) : TGraphicControl(AOwner) {}
  TColor Fill = clLime;

protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(Fill);
    Canvas()->FillRect(TRect(-50, -50, Width() + 50, Height() + 50));
  }
};

// A windowed container that paints green over its erased (Color) background.
class TGreenBox : public TCustomControl {
public:
  explicit TGreenBox(TComponent* AOwner) : TCustomControl(AOwner) {
    SetParentColor(false);
    SetColor(clWhite);
  }

protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(clGreen);
    Canvas()->FillRect(ClientRect());
  }
};
}  // namespace

TEST_F(ControlsTest, FormWithWindowedAndWindowlessChildrenPaintsToPNG) {
  TForm* f = MakeForm(50, 50, 320, 200);
  auto* panel = new TPanel(f);
  panel->SetParent(f);
  panel->SetAlign(alTop);
  panel->SetHeight(40);
  panel->SetCaption("Header panel");
  auto* label = new TLabel(f);
  label->SetParent(f);
  label->SetBounds(10, 60, 100, 17);
  label->SetCaption("A windowless label");
  auto* red = new TProbe(f);
  red->SetParent(f);
  red->SetBounds(10, 100, 60, 40);
  auto* blue = new TGraphicProbe(f);
  blue->SetParent(f);
  blue->SetBounds(40, 120, 80, 40);  // partly under the red windowed child
  auto* button = new TButton(f);
  button->SetParent(f);
  button->SetCaption("&Button");
  button->SetBounds(200, 150, 90, 28);
  f->Show();
  auto s = Shot(f);
  EXPECT_EQ(s->Row(190)[5], Px(clBtnFace)) << "the form's own background";
  EXPECT_EQ(s->Row(110)[20], Px(clRed)) << "windowed child";
  EXPECT_EQ(s->Row(150)[100], Px(clBlue)) << "windowless child";
  EXPECT_EQ(s->Row(125)[50], Px(clRed)) << "a windowed child covers the windowless one";
  EXPECT_EQ(s->Row(20)[0], Px(clBtnHighlight)) << "the panel's raised bevel";
  bool text = false;
  for (int x = 10; x < 110; ++x)
    for (int y = 60; y < 77; ++y) text |= s->Row(y)[x] != Px(clBtnFace);
  EXPECT_TRUE(text) << "the label drew its caption";
  auto path = std::filesystem::temp_directory_path() / "controls_form_paint.png";
  TSurface whole;
  ASSERT_TRUE(Headless::CaptureWindow(f->Handle(), &whole));
  ASSERT_TRUE(Headless::SavePNG(whole, path.string()));
  EXPECT_GT(std::filesystem::file_size(path), 100u);
}

TEST_F(ControlsTest, WindowlessChildrenPaintInZOrderClippedToTheirBounds) {
  TForm* f = MakeForm(0, 0, 200, 100);
  auto* below = new TOverpainter(f);
  below->SetParent(f);
  below->SetBounds(20, 20, 40, 40);
  auto* above = new TOverpainter(f);
  above->SetParent(f);
  above->SetBounds(40, 40, 40, 40);
  above->Fill = clFuchsia;
  f->Show();
  auto s = Shot(f);
  EXPECT_EQ(s->Row(10)[10], Px(clBtnFace)) << "nothing outside the children's bounds";
  EXPECT_EQ(s->Row(25)[25], Px(clLime));
  EXPECT_EQ(s->Row(50)[50], Px(clFuchsia)) << "the later child is on top";
  above->SendToBack();
  s = Shot(f);
  EXPECT_EQ(s->Row(50)[50], Px(clLime));
  above->BringToFront();
  s = Shot(f);
  EXPECT_EQ(s->Row(50)[50], Px(clFuchsia));
}

TEST_F(ControlsTest, OpaqueWindowlessChildrenAreNotPaintedUnder) {
  TForm* f = MakeForm(0, 0, 200, 100);
  auto* box = new TGreenBox(f);
  box->SetParent(f);
  box->SetBounds(0, 0, 200, 100);
  // Children that paint nothing: what shows in their bounds is the parent's doing.
  auto* opaque = new TPaintBox(f);
  opaque->SetParent(box);
  opaque->SetBounds(10, 10, 30, 30);
  opaque->SetControlStyle(opaque->ControlStyle() + csOpaque);
  auto* clear = new TPaintBox(f);
  clear->SetParent(box);
  clear->SetBounds(100, 10, 30, 30);
  f->Show();
  auto s = Shot(box);
  EXPECT_EQ(s->Row(20)[20], Px(clWhite)) << "only the erase (Color) under an opaque child";
  EXPECT_EQ(s->Row(20)[110], Px(clGreen)) << "the parent paints under other children";
  EXPECT_EQ(s->Row(60)[60], Px(clGreen));
}

TEST_F(ControlsTest, ErasingUsesColorAndParentBackgroundShowsTheParent) {
  TForm* f = MakeForm(0, 0, 200, 100);
  auto* box = new TGreenBox(f);
  box->SetParent(f);
  box->SetBounds(0, 0, 200, 100);
  auto* plain = New<TWinControl>(f);
  plain->SetParent(box);
  plain->SetBounds(10, 10, 40, 40);
  plain->SetColor(clYellow);
  auto* through = New<TWinControl>(f);
  through->SetParent(box);
  through->SetBounds(100, 10, 40, 40);
  through->SetParentBackground(true);
  f->Show();
  auto s = Shot(box);
  EXPECT_EQ(s->Row(20)[20], Px(clYellow));
  EXPECT_EQ(s->Row(20)[120], Px(clGreen)) << "the parent's painting shows through";
}

TEST_F(ControlsTest, PaintToPaintsOwnContentAndWindowlessChildrenOnly) {
  TForm* f = MakeForm(0, 0, 200, 100);
  auto* box = new TGreenBox(f);
  box->SetParent(f);
  box->SetBounds(0, 0, 120, 80);
  auto* windowless = new TGraphicProbe(f);
  windowless->SetParent(box);
  windowless->SetBounds(10, 10, 30, 30);
  auto* windowed = new TProbe(f);
  windowed->SetParent(box);
  windowed->SetBounds(60, 10, 30, 30);
  f->Show();
  int windowedPaints = windowed->Paints;
  TBitmap bmp(140, 100);
  bmp.Canvas()->Brush()->SetColor(clBlack);
  bmp.Canvas()->FillRect(TRect(0, 0, 140, 100));
  box->PaintTo(bmp.Canvas()->Handle(), 10, 5);
  auto at = [&](int x, int y) { return bmp.Surface().Row(y)[x] | 0xFF000000u; };
  EXPECT_EQ(at(25, 20), Px(clBlue)) << "windowless child at its place, offset by (10, 5)";
  EXPECT_EQ(at(75, 20), Px(clGreen)) << "no windowed child: the parent's own content there";
  EXPECT_EQ(at(135, 20), Px(clBlack)) << "clipped to the control";
  EXPECT_EQ(windowed->Paints, windowedPaints);
  EXPECT_TRUE(windowless->SawPaintCopy);
  EXPECT_FALSE(windowless->ControlState().Contains(csPaintCopy));
  EXPECT_FALSE(box->ControlState().Contains(csPaintCopy));
}

TEST_F(ControlsTest, RepaintPaintsAtOnceInvalidateWaitsForTheLoop) {
  TForm* f = MakeForm();
  auto* probe = new TProbe(f);
  probe->SetParent(f);
  auto* graphic = new TGraphicProbe(f);
  graphic->SetParent(f);
  graphic->SetLeft(100);
  f->Show();
  Application->ProcessMessages();
  int wp = probe->Paints, gp = graphic->Paints;
  probe->Invalidate();
  graphic->Invalidate();
  EXPECT_EQ(probe->Paints, wp);
  EXPECT_EQ(graphic->Paints, gp);
  Application->ProcessMessages();
  EXPECT_EQ(probe->Paints, wp + 1);
  EXPECT_EQ(graphic->Paints, gp + 1);
  probe->Repaint();
  graphic->Repaint();
  EXPECT_EQ(probe->Paints, wp + 2);
  EXPECT_EQ(graphic->Paints, gp + 2);
}
