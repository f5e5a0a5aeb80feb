#include "tools/showcase/lookbutton.h"

#include "kv/kvUtils/kvColors.h"
#include "kv/kvUtils/kvStyled.h"
#include "kv/kvUtils/kvText.h"

KV_IMPLEMENT_CLASS(TLookButton) { r.Prop("Down", &TLookButton::Down, &TLookButton::SetDown, false); }

TLookButton::TLookButton(TComponent* AOwner) : TkvCustomActiveControl(AOwner) {
  FControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csDoubleClicks};
  SetBounds(0, 0, 90, 26);
}

void TLookButton::SetDown(bool Value) {
  if (FDown == Value) return;
  FDown = Value;
  RePaintControl();
}

TkvsCtrlState TLookButton::GetCtrlState() {
  TkvsCtrlState state = inherited::GetCtrlState();
  if (state == kvsDisabled) return state;
  if (FPressed && MouseIn()) return kvsPressed;
  if (state == kvsHot) return kvsHot;
  return FDown ? kvsFocused : kvsNormal;
}

void TLookButton::Draw(TCanvas* ACanvas, TkvsCtrlState ACtrlState) {
  const TRect r(0, 0, Width(), Height());
  DrawButton(ACanvas, r, ACtrlState, false);
  ACanvas->Font()->Assign(Font());
  ACanvas->Font()->SetColor(GetButtonTextColor(ACtrlState));
  if (FDown) ACanvas->Font()->SetStyle(TFontStyles{fsBold});
  ACanvas->Brush()->SetStyle(bsClear);
  TRect text = r;
  if (ACtrlState == kvsPressed) text.Offset(1, 1);
  DrawAlignedText(ACanvas, Caption(), text, taCenter);
}

void TLookButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  FPressed = true;
  RePaintControl();
}

void TLookButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const auto alive = AliveGuard();
  inherited::MouseUp(Button, Shift, X, Y);
  if (!alive || Button != mbLeft) return;
  FPressed = false;
  RePaintControl();
}

void TLookButton::CMDialogChar(TMessage& Message) {
  if (Enabled() && IsAccel(static_cast<char32_t>(Message.WParam), Caption())) {
    Click();
    Message.Result = 1;
    return;
  }
  inherited::CMDialogChar(Message);
}

void TLookButton::Dispatch(TMessage& Message) {
  inherited::Dispatch(Message);
  if (Message.Msg == CM_TEXTCHANGED) RePaintControl();
}
