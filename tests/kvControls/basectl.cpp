#include "basectl.h"

#include "platform/graphics/bitmap.h"

namespace kvtest {

void DrawPattern(TCanvas* Canvas, int W, int H, int Shift) {
  TBitmap b(W, H);
  for (int y = 0; y < H; ++y) {
    uint32_t* row = b.ScanLine(y);
    for (int x = 0; x < W; ++x) row[x] = PatternPixel(x, y, Shift);
  }
  Canvas->Draw(0, 0, &b);
}

TPatternPanel::TPatternPanel(TComponent* AOwner) : TkvCustomControl(AOwner) {
  FTransparentBackground = false;
  TControlStyle s = ControlStyle();
  s.Include(csAcceptsControls);
  SetControlStyle(s);
}

void TPatternPanel::Draw(TCanvas* ACanvas, TkvsCtrlState) {
  ++Draws;
  DrawPattern(ACanvas, Width(), Height(), Shift);
}

TGlassProbe::TGlassProbe(TComponent* AOwner) : TkvCustomControl(AOwner) {}

void TGlassProbe::Draw(TCanvas* ACanvas, TkvsCtrlState ACtrlState) {
  ++Draws;
  States.push_back(ACtrlState);
  if (Frame == clNone) return;
  ACanvas->Brush()->SetColor(Frame);
  ACanvas->FrameRect(TRect(0, 0, Width(), Height()));
}

void TGlassProbe::WMCheckParentBG(TMessage& Message) {
  ++CheckParentBGs;
  ForcePaintSeen.push_back(FForcePaint);
  TkvCustomControl::WMCheckParentBG(Message);
}

void TLabelProbe::Paint() {
  if (Throw) throw EInvalidOperation("paint failed");
  ++Paints;
  if (ControlState().Contains(csPaintCopy)) SawPaintCopy = true;
  Canvas()->Brush()->SetColor(Fill);
  Canvas()->FillRect(ClientRect());
}

TActiveProbe::TActiveProbe(TComponent* AOwner) : TkvCustomActiveControl(AOwner) {}

TColor TActiveProbe::StateColor(TkvsCtrlState s) {
  switch (s) {
    case kvsNormal: return TColor(0x00204060);  // blue 0x20, green 0x40, red 0x60
    case kvsHot: return TColor(0x00E0C0A0);
    case kvsPressed: return clRed;
    case kvsFocused: return clLime;
    case kvsDisabled: return clGray;
  }
  return clBlack;
}

TkvsCtrlState TActiveProbe::GetCtrlState() {
  if (Forced && Enabled()) return ForcedState;
  return TkvCustomActiveControl::GetCtrlState();
}

void TActiveProbe::Draw(TCanvas* ACanvas, TkvsCtrlState ACtrlState) {
  States.push_back(ACtrlState);
  ACanvas->Brush()->SetColor(StateColor(ACtrlState));
  ACanvas->FillRect(TRect(4, 4, Width() - 4, Height() - 4));
}

void TActiveProbe::DoMouseEnter() {
  ++Enters;
  TkvCustomActiveControl::DoMouseEnter();
}

void TActiveProbe::DoMouseLeave() {
  ++Leaves;
  TkvCustomActiveControl::DoMouseLeave();
}

bool TActiveProbe::StartAnimation(HDC DC) {
  if (RefuseAnimation) return false;
  return TkvCustomActiveControl::StartAnimation(DC);
}

uint32_t BaseControlTest::Shown(TWinControl* c, int x, int y) {
  TSurface s;
  if (!Headless::CaptureWindow(c->Handle(), &s, true)) return 0;
  if (x < 0 || y < 0 || x >= s.Width() || y >= s.Height()) return 0;
  return s.Row(y)[x];
}

TPatternPanel* BaseControlTest::MakePatternForm(TForm** FormOut) {
  TForm* f = MakeForm();
  auto* p = New<TPatternPanel>(f);
  p->SetParent(f);
  p->SetBounds(0, 0, f->ClientWidth(), f->ClientHeight());
  f->Show();
  Application->ProcessMessages();
  if (FormOut) *FormOut = f;
  return p;
}

}  // namespace kvtest
