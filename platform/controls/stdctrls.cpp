#include "platform/controls/stdctrls.h"

#include "platform/controls/forms.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/text.h"

KV_IMPLEMENT_CLASS(TButton) {
  r.Prop("Default", &TButton::Default, &TButton::SetDefault, false);
  r.Prop("Cancel", &TButton::Cancel, &TButton::SetCancel, false);
  r.IdentProp("ModalResult", &TButton::ModalResult, &TButton::SetModalResult, mrNone, ModalResultIdents());
  r.Prop("TabStop", &TButton::TabStop, &TButton::SetTabStop, true);
  r.Color("Color", &TButton::Color, &TButton::SetColor, clBtnFace);
  r.Stored("Color", &TButton::IsColorStored);
}

KV_IMPLEMENT_CLASS(TLabel) {
  r.Prop("Alignment", &TLabel::Alignment, &TLabel::SetAlignment, taLeftJustify);
  r.Prop("Layout", &TLabel::Layout, &TLabel::SetLayout, tlTop);
  r.Prop("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap, false);
  r.Prop("ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar, true);
  r.Prop("Transparent", &TLabel::Transparent, &TLabel::SetTransparent, false);
  r.Prop("FocusControl", &TLabel::FocusControl, &TLabel::SetFocusControl);
  r.Prop("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize, true);
}

// ---- TButton ----

TButton::TButton(TComponent* AOwner) : TCustomControl(AOwner) {
  // Without csDoubleClicks: a quick second click is another click.
  FControlStyle = {csSetCaption, csCaptureMouse, csClickEvents, csOpaque};
  SetBounds(0, 0, 75, 25);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clBtnFace);
}

void TButton::SetDefault(bool Value) {
  if (FDefault == Value) return;
  FDefault = Value;
  // The default button answers Enter while no other button has the focus.
  TCustomForm* form = GetParentForm(this);
  TWinControl* focused = form ? form->ActiveControl() : nullptr;
  FActive = Value && !(focused && focused != this && focused->Is<TButton>());
  if (Focused()) FActive = true;
  Invalidate();
}

void TButton::Click() {
  TCustomForm* form = GetParentForm(this);
  if (form && FModalResult != mrNone) form->SetModalResult(FModalResult);
  inherited::Click();
}

void TButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      Message.Result = DLGC_BUTTON | (FActive ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
      return;
    case CM_DIALOGKEY: {
      WORD key = static_cast<WORD>(Message.WParam);
      bool plain = KeyDataToShiftState(Message.LParam).Empty();
      if (((key == VK_RETURN && FActive) || (key == VK_ESCAPE && FCancel)) && plain && CanFocus()) {
        Click();
        Message.Result = 1;
        return;
      }
      inherited::Dispatch(Message);
      return;
    }
    case CM_DIALOGCHAR:
      if (IsAccel(static_cast<char32_t>(Message.WParam), Caption()) && CanFocus()) {
        Click();
        Message.Result = 1;
        return;
      }
      inherited::Dispatch(Message);
      return;
    case CM_FOCUSCHANGED: {
      auto* sender = reinterpret_cast<TControl*>(Message.LParam);
      bool active = (sender && sender->Is<TButton>()) ? sender == this : FDefault;
      if (active != FActive) {
        FActive = active;
        Invalidate();
      }
      return;
    }
    default: inherited::Dispatch(Message); return;
  }
}

void TButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    TAliveGuard alive = AliveGuard();
    // A push button takes the focus when pressed.
    if (CanFocus() && !Focused()) SetFocus();
    if (!alive) return;
    FPressed = true;
    FMouseInside = true;
    Repaint();
  }
  inherited::MouseDown(Button, Shift, X, Y);
}

void TButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && FPressed) {
    FPressed = false;
    Invalidate();
  }
  inherited::MouseUp(Button, Shift, X, Y);
}

void TButton::KeyDown(WORD& Key, TShiftState Shift) {
  if (Key == VK_SPACE && !FSpaceDown) {
    FSpaceDown = true;
    FPressed = true;
    Invalidate();
  }
  inherited::KeyDown(Key, Shift);
}

void TButton::KeyUp(WORD& Key, TShiftState Shift) {
  bool click = Key == VK_SPACE && FSpaceDown;
  if (click) {
    FSpaceDown = false;
    FPressed = false;
    Invalidate();
  }
  TAliveGuard alive = AliveGuard();
  inherited::KeyUp(Key, Shift);
  if (alive && click && Key != 0) Click();
}

void TButton::CMEnter(TMessage& Message) {
  FActive = true;
  Invalidate();
  inherited::CMEnter(Message);
}

void TButton::CMExit(TMessage& Message) {
  FActive = FDefault;
  FSpaceDown = false;
  FPressed = false;
  Invalidate();
  inherited::CMExit(Message);
}

void TButton::CMMouseEnter(TMessage& Message) {
  FMouseInside = true;
  Invalidate();
  inherited::CMMouseEnter(Message);
}

void TButton::CMMouseLeave(TMessage& Message) {
  FMouseInside = false;
  Invalidate();
  inherited::CMMouseLeave(Message);
}

void TButton::WMCancelMode(TMessage& Message) {
  FPressed = false;
  FSpaceDown = false;
  Invalidate();
  inherited::WMCancelMode(Message);
}

void TButton::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  bool pressed = Pressed();
  TColor face = Color();
  if (!Enabled()) face = Color();
  else if (pressed) face = clBtnShadow;
  else if (FMouseInside) face = cl3DLight;
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(face);
  c->FillRect(r);
  // The frame: the button that answers Enter shows a double one in the highlight colour.
  c->Brush()->SetColor(Enabled() ? (FActive ? clHighlight : clBtnShadow) : clBtnShadow);
  c->FrameRect(r);
  if (FActive && Enabled()) c->FrameRect(r.Inflated(-1, -1));
  c->Font()->Assign(Font());
  c->Font()->SetColor(Enabled() ? (pressed ? clHighlightText : clBtnText) : clGrayText);
  c->Brush()->SetStyle(bsClear);
  TRect text = r;
  if (pressed) text.Offset(1, 1);
  String caption = Caption();
  c->TextRect(text, caption, DrawTextBiDiModeFlags(DT_SINGLELINE | DT_CENTER | DT_VCENTER));
  if (Focused()) {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clBtnFace);
    c->Font()->SetColor(clBtnText);
    c->DrawFocusRect(r.Inflated(-3, -3));
  }
}

// ---- TLabel ----

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle = {csReplicatable, csSetCaption, csOpaque, csClickEvents, csCaptureMouse, csDoubleClicks};
  SetBounds(0, 0, 65, 17);
  SetAutoSize(true);
}

unsigned TLabel::TextFlags() const {
  unsigned f = DT_EXPANDTABS;
  if (FWordWrap) f |= DT_WORDBREAK;
  else f |= DT_SINGLELINE;
  if (!FShowAccelChar) f |= DT_NOPREFIX;
  if (FAlignment == taRightJustify) f |= DT_RIGHT;
  else if (FAlignment == taCenter) f |= DT_CENTER;
  return DrawTextBiDiModeFlags(f);
}

bool TLabel::CanAutoSize(int& NewWidth, int& NewHeight) {
  TBitmap scratch(1, 1);
  TCanvas* c = scratch.Canvas();
  c->Font()->Assign(Font());
  String text = Caption();
  if (text.empty() || (FShowAccelChar && text == "&")) text += " ";
  TRect r(0, 0, FWordWrap ? std::max(Width(), 1) : 0, 0);
  c->TextRect(r, text, TextFlags() | DT_CALCRECT);
  NewWidth = FWordWrap ? Width() : r.Width();
  NewHeight = r.Height();
  return true;
}

void TLabel::AdjustSize() {
  if (!AutoSize() || ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)) return;
  int w = Width(), h = Height();
  if (!CanAutoSize(w, h)) return;
  if (Align() == alTop || Align() == alBottom || Align() == alClient) w = Width();
  if (Align() == alLeft || Align() == alRight || Align() == alClient) h = Height();
  // A right-aligned label keeps its right edge as its text grows.
  int x = FAlignment == taRightJustify ? Left() + Width() - w : Left();
  SetBounds(x, Top(), w, h);
}

void TLabel::Loaded() {
  inherited::Loaded();
  AdjustSize();
}

void TLabel::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Invalidate();
}

void TLabel::SetLayout(TTextLayout Value) {
  if (FLayout == Value) return;
  FLayout = Value;
  Invalidate();
}

void TLabel::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  AdjustSize();
  Invalidate();
}

void TLabel::SetShowAccelChar(bool Value) {
  if (FShowAccelChar == Value) return;
  FShowAccelChar = Value;
  AdjustSize();
  Invalidate();
}

void TLabel::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  if (Value) FControlStyle.Exclude(csOpaque);
  else FControlStyle.Include(csOpaque);
  Invalidate();
}

void TLabel::SetFocusControl(TWinControl* Value) {
  if (FFocusControl == Value) return;
  if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = Value;
  if (Value) Value->FreeNotification(this);
}

void TLabel::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TLabel::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_DIALOGCHAR) {
    if (FFocusControl && Enabled() && FShowAccelChar && IsAccel(static_cast<char32_t>(Message.WParam), Caption()) &&
        FFocusControl->CanFocus()) {
      FFocusControl->SetFocus();
      Message.Result = 1;
      return;
    }
  }
  inherited::Dispatch(Message);
}

void TLabel::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  if (!FTransparent) {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(r);
  }
  c->Brush()->SetStyle(bsClear);
  c->Font()->Assign(Font());
  if (!Enabled()) c->Font()->SetColor(clGrayText);
  String text = Caption();
  unsigned flags = TextFlags();
  if (FLayout != tlTop) {
    TRect calc = r;
    String measure = text;
    c->TextRect(calc, measure, flags | DT_CALCRECT);
    int dy = r.Height() - calc.Height();
    if (FLayout == tlCenter) dy /= 2;
    r.Top += std::max(dy, 0);
  }
  c->TextRect(r, text, flags);
}
