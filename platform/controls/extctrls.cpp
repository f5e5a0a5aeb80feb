#include "platform/controls/extctrls.h"

#include <algorithm>

#include "platform/graphics/text.h"

KV_IMPLEMENT_CLASS(TPanel) {
  r.Prop("Alignment", &TPanel::Alignment, &TPanel::SetAlignment, taCenter);
  r.Prop("BevelInner", &TPanel::BevelInner, &TPanel::SetBevelInner, bvNone);
  r.Prop("BevelOuter", &TPanel::BevelOuter, &TPanel::SetBevelOuter, bvRaised);
  r.Prop("BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth, 1);
  r.Prop("ShowCaption", &TPanel::ShowCaption, &TPanel::SetShowCaption, true);
  r.Color("Color", &TPanel::Color, &TPanel::SetColor, clBtnFace);
  r.Stored("Color", &TPanel::IsColorStored);
}

KV_IMPLEMENT_CLASS(TPaintBox) { r.Event("OnPaint", &TPaintBox::OnPaint); }

namespace {
// One bevel of Width pixels along the inside of r, which then shrinks by it.
void DrawBevel(TCanvas* c, TRect& r, TBevelCut cut, int width) {
  if (cut == bvNone) return;
  TColor tl = cut == bvLowered ? clBtnShadow : clBtnHighlight;
  TColor br = cut == bvLowered ? clBtnHighlight : clBtnShadow;
  if (cut == bvSpace) tl = br = clBtnFace;
  c->Brush()->SetStyle(bsSolid);
  for (int i = 0; i < width; ++i) {
    c->Brush()->SetColor(tl);
    c->FillRect(TRect(r.Left, r.Top, r.Right, r.Top + 1));
    c->FillRect(TRect(r.Left, r.Top, r.Left + 1, r.Bottom));
    c->Brush()->SetColor(br);
    c->FillRect(TRect(r.Left, r.Bottom - 1, r.Right, r.Bottom));
    c->FillRect(TRect(r.Right - 1, r.Top, r.Right, r.Bottom));
    r.Inflate(-1, -1);
  }
}
}  // namespace

TPanel::TPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csDoubleClicks,
                   csReplicatable};
  SetBounds(0, 0, 185, 41);
  SetParentColor(false);
  SetColor(clBtnFace);
}

void TPanel::BevelsChanged() {
  Realign();
  Invalidate();
}

void TPanel::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Invalidate();
}
void TPanel::SetBevelInner(TBevelCut Value) {
  if (FBevelInner == Value) return;
  FBevelInner = Value;
  BevelsChanged();
}
void TPanel::SetBevelOuter(TBevelCut Value) {
  if (FBevelOuter == Value) return;
  FBevelOuter = Value;
  BevelsChanged();
}
void TPanel::SetBevelWidth(int Value) {
  Value = std::max(Value, 1);
  if (FBevelWidth == Value) return;
  FBevelWidth = Value;
  BevelsChanged();
}
void TPanel::SetShowCaption(bool Value) {
  if (FShowCaption == Value) return;
  FShowCaption = Value;
  Invalidate();
}

void TPanel::AdjustClientRect(TRect& Rect) const {
  inherited::AdjustClientRect(Rect);
  int inset = (FBevelOuter != bvNone ? FBevelWidth : 0) + (FBevelInner != bvNone ? FBevelWidth : 0);
  Rect.Inflate(-inset, -inset);
}

void TPanel::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Color());
  c->FillRect(r);
  DrawBevel(c, r, FBevelOuter, FBevelWidth);
  DrawBevel(c, r, FBevelInner, FBevelWidth);
  if (!FShowCaption || Caption().empty()) return;
  c->Font()->Assign(Font());
  if (!Enabled()) c->Font()->SetColor(clGrayText);
  c->Brush()->SetStyle(bsClear);
  unsigned align = FAlignment == taLeftJustify ? DT_LEFT : FAlignment == taRightJustify ? DT_RIGHT : DT_CENTER;
  r.Inflate(-3, 0);
  String text = Caption();
  c->TextRect(r, text, DrawTextBiDiModeFlags(DT_SINGLELINE | DT_VCENTER | align));
}

TPaintBox::TPaintBox(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle.Include(csReplicatable);
  SetBounds(0, 0, 105, 105);
}

void TPaintBox::Paint() {
  if (OnPaint) OnPaint(this);
}
