#include "platform/controls/control.h"

#include <algorithm>
#include <cstring>

#include "platform/controls/actions.h"
#include "platform/controls/forms.h"
#include "platform/controls/internal.h"
#include "platform/controls/menus.h"
#include "platform/controls/wincontrol.h"
#include "platform/graphics/text.h"
#include "platform/windows/input.h"
#include "platform/windows/messageloop.h"
#include "platform/windows/paint.h"

using namespace kvctl;

KV_IMPLEMENT_CLASS(TControl) {
  r.Prop("Left", &TControl::Left, &TControl::SetLeft, 0);
  r.Prop("Top", &TControl::Top, &TControl::SetTop, 0);
  r.Prop("Width", &TControl::Width, &TControl::SetWidth);
  r.Prop("Height", &TControl::Height, &TControl::SetHeight);
  r.Prop("Align", &TControl::Align, &TControl::SetAlign, alNone);
  r.Prop("Anchors", &TControl::Anchors, &TControl::SetAnchors, TAnchors{akLeft, akTop});
  r.Prop("AlignWithMargins", &TControl::AlignWithMargins, &TControl::SetAlignWithMargins, false);
  r.Prop("Margins", &TControl::Margins, &TControl::SetMargins);
  r.Prop("Constraints", &TControl::Constraints, &TControl::SetConstraints);
  r.Prop("AutoSize", &TControl::AutoSize, &TControl::SetAutoSize, false);
  r.Prop("Caption", &TControl::Caption, &TControl::SetCaption);
  r.Color("Color", &TControl::Color, &TControl::SetColor, clWindow);
  r.Stored("Color", &TControl::IsColorStored);
  r.Prop("ParentColor", &TControl::ParentColor, &TControl::SetParentColor, true);
  r.Prop("Font", &TControl::Font, &TControl::SetFont);
  r.Stored("Font", &TControl::IsFontStored);
  r.Prop("ParentFont", &TControl::ParentFont, &TControl::SetParentFont, true);
  r.Prop("Enabled", &TControl::Enabled, &TControl::SetEnabled, true);
  r.Prop("Visible", &TControl::Visible, &TControl::SetVisible, true);
  r.Prop("Hint", &TControl::Hint, &TControl::SetHint);
  r.Prop("ShowHint", &TControl::ShowHint, &TControl::SetShowHint, false);
  r.Stored("ShowHint", &TControl::IsShowHintStored);
  r.Prop("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint, true);
  r.Prop("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu);
  r.IdentProp("Cursor", &TControl::Cursor, &TControl::SetCursor, crDefault, CursorIdents());
  r.Prop("BiDiMode", &TControl::BiDiMode, &TControl::SetBiDiMode, bdLeftToRight);
  r.Stored("BiDiMode", &TControl::IsBiDiModeStored);
  r.Prop("ParentBiDiMode", &TControl::ParentBiDiMode, &TControl::SetParentBiDiMode, true);
  r.Prop("StyleElements", &TControl::StyleElements, &TControl::SetStyleElements, AllStyleElements);
  r.Prop("Action", &TControl::Action, &TControl::SetAction);
  r.Event("OnClick", &TControl::OnClick);
  r.Event("OnDblClick", &TControl::OnDblClick);
  r.Event("OnMouseDown", &TControl::OnMouseDown);
  r.Event("OnMouseMove", &TControl::OnMouseMove);
  r.Event("OnMouseUp", &TControl::OnMouseUp);
  r.Event("OnMouseEnter", &TControl::OnMouseEnter);
  r.Event("OnMouseLeave", &TControl::OnMouseLeave);
  r.Event("OnMouseWheel", &TControl::OnMouseWheel);
  r.Event("OnResize", &TControl::OnResize);
  r.Event("OnContextPopup", &TControl::OnContextPopup);
  r.Event("OnCanResize", &TControl::OnCanResize);
}

namespace {
TControl* GCaptureControl = nullptr;
}  // namespace

TControl::TControl(TComponent* AOwner)
    : TComponent(AOwner),
      FAlive(std::make_shared<bool>(true)),
      FFont(std::make_unique<TFont>()),
      FMargins(std::make_unique<TMargins>()),
      FConstraints(std::make_unique<TSizeConstraints>()) {
  FControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  FFont->OnChange = TNotifyEvent(this, &TControl::FontChanged);
  FMargins->OnChange = TNotifyEvent(this, &TControl::MarginsChanged);
  FConstraints->OnChange = TNotifyEvent(this, &TControl::ConstraintsChanged);
  kvctl::ControlCreated(this);
}

void TControl::BeforeDestruction() {
  inherited::BeforeDestruction();
  ControlDestroying(this);
}

TControl::~TControl() {
  *FAlive = false;
  kvctl::ControlGone(this);
  ControlDestroying(this);
  if (GCaptureControl == this) GCaptureControl = nullptr;
  FActionLink.reset();
  if (FParent) FParent->RemoveControl(this);
}

// ---- messages -------------------------------------------------------------------------------

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage m{Msg, WParam, LParam, 0};
  if (FWindowProc) {
    // A copy: the procedure may replace itself or free the control.
    TMessageMethod proc = FWindowProc;
    proc(m);
  } else {
    WndProc(m);
  }
  return m.Result;
}

TMessageMethod TControl::WindowProc() const {
  if (FWindowProc) return FWindowProc;
  TControl* self = const_cast<TControl*>(this);
  return [self](TMessage& m) { self->WndProc(m); };
}

void TControl::SetWindowProc(TMessageMethod Value) { FWindowProc = std::move(Value); }

void TControl::WndProc(TMessage& Message) {
  UINT msg = Message.Msg;
  if (!FControlStyle.Contains(csDoubleClicks) &&
      (msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK))
    Message.Msg = msg - (WM_LBUTTONDBLCLK - WM_LBUTTONDOWN);
  Dispatch(Message);
}

void TControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN: WMMouseButton(Message, mbLeft, true, false); return;
    case WM_LBUTTONUP: WMMouseButton(Message, mbLeft, false, false); return;
    case WM_LBUTTONDBLCLK: WMMouseButton(Message, mbLeft, true, true); return;
    case WM_RBUTTONDOWN: WMMouseButton(Message, mbRight, true, false); return;
    case WM_RBUTTONUP: WMMouseButton(Message, mbRight, false, false); return;
    case WM_RBUTTONDBLCLK: WMMouseButton(Message, mbRight, true, true); return;
    case WM_MBUTTONDOWN: WMMouseButton(Message, mbMiddle, true, false); return;
    case WM_MBUTTONUP: WMMouseButton(Message, mbMiddle, false, false); return;
    case WM_MBUTTONDBLCLK: WMMouseButton(Message, mbMiddle, true, true); return;
    case WM_MOUSEMOVE: WMMouseMove(Message); return;
    case WM_MOUSEWHEEL: WMMouseWheel(Message); return;
    case WM_CONTEXTMENU: WMContextMenu(Message); return;
    case WM_CANCELMODE: WMCancelMode(Message); return;
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); return;
    case CM_VISIBLECHANGED: CMVisibleChanged(Message); return;
    case CM_FONTCHANGED: CMFontChanged(Message); return;
    case CM_COLORCHANGED: CMColorChanged(Message); return;
    case CM_TEXTCHANGED: CMTextChanged(Message); return;
    case CM_PARENTFONTCHANGED: CMParentFontChanged(Message); return;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(Message); return;
    case CM_PARENTSHOWHINTCHANGED: CMParentShowHintChanged(Message); return;
    case CM_PARENTBIDIMODECHANGED: CMParentBiDiModeChanged(Message); return;
    case CM_BIDIMODECHANGED: CMBiDiModeChanged(Message); return;
    case CM_MOUSEENTER: CMMouseEnter(Message); return;
    case CM_MOUSELEAVE: CMMouseLeave(Message); return;
    case CM_HITTEST: CMHitTest(Message); return;
    case CM_HINTSHOW: CMHintShow(Message); return;
    case CM_STYLECHANGED: CMStyleChanged(Message); return;
    default: DefaultHandler(Message); return;
  }
}

void TControl::DefaultHandler(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETTEXT: {
      const char* t = reinterpret_cast<const char*>(Message.LParam);
      FText = t ? t : "";
      Message.Result = 1;
      break;
    }
    case WM_GETTEXTLENGTH: Message.Result = static_cast<LRESULT>(FText.size()); break;
    case WM_GETTEXT: {
      if (!Message.LParam || Message.WParam == 0) break;
      char* out = reinterpret_cast<char*>(Message.LParam);
      size_t n = std::min<size_t>(FText.size(), Message.WParam - 1);
      while (n > 0 && n < FText.size() && (static_cast<unsigned char>(FText[n]) & 0xC0) == 0x80) --n;
      std::memcpy(out, FText.data(), n);
      out[n] = '\0';
      Message.Result = static_cast<LRESULT>(n);
      break;
    }
    default: break;
  }
}

// ---- parent ---------------------------------------------------------------------------------

void TControl::SetParent(TWinControl* AParent) {
  if (FParent == AParent) return;
  if (AParent == this) throw EInvalidOperation("A control cannot have itself as its parent");
  for (TControl* p = AParent; p; p = p->FParent)
    if (p == this) throw EInvalidOperation("Control '" + Name() + "' cannot be put inside its own child");
  if (FParent) FParent->RemoveControl(this);
  if (AParent) AParent->InsertControl(this);
}

TComponent* TControl::GetParentComponent() const { return FParent; }

void TControl::SetParentComponent(TComponent* Value) {
  if (auto* w = dynamic_cast<TWinControl*>(Value)) SetParent(w);
  else if (!Value) SetParent(nullptr);
  else throw EInvalidOperation("Control '" + Name() + "' cannot be put inside a " + Value->ClassName());
}

// ---- bounds ---------------------------------------------------------------------------------

bool TControl::CanResize(int& NewWidth, int& NewHeight) {
  bool ok = true;
  if (OnCanResize) OnCanResize(this, NewWidth, NewHeight, ok);
  return ok;
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  FConstraints->Constrain(AWidth, AHeight);
  if ((AWidth != FWidth || AHeight != FHeight) && !CanResize(AWidth, AHeight)) {
    AWidth = FWidth;
    AHeight = FHeight;
  }
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  InvalidateControl(FVisible, false);
  TRect old = BoundsRect();
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  BoundsChanged(old);
}

void TControl::BoundsChanged(const TRect& Old) {
  if (!FAnchorMove) UpdateAnchorRules();
  InvalidateControl(FVisible, false);
  bool sized = Old.Width() != FWidth || Old.Height() != FHeight;
  if (FParent && !FAnchorMove) {
    if (FAlign != alNone) RequestAlign();
    else if (FParent->AutoSize()) FParent->AdjustSize();
  }
  if (sized && !ComponentState().Contains(csLoading)) Resize();
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

TRect TControl::ClientRect() const { return TRect(0, 0, FWidth, FHeight); }

void TControl::SetClientSize(int W, int H) {
  TRect c = ClientRect();
  SetBounds(FLeft, FTop, FWidth - c.Width() + W, FHeight - c.Height() + H);
}
void TControl::SetClientWidth(int Value) { SetClientSize(Value, ClientHeight()); }
void TControl::SetClientHeight(int Value) { SetClientSize(ClientWidth(), Value); }

TPoint TControl::ClientOrigin() const {
  if (!FParent) return {FLeft, FTop};
  TPoint p = FParent->ClientOrigin();
  return {p.X + FLeft, p.Y + FTop};
}

TPoint TControl::ClientToScreen(TPoint P) const { return P + ClientOrigin(); }
TPoint TControl::ScreenToClient(TPoint P) const { return P - ClientOrigin(); }
TRect TControl::ClientToScreen(const TRect& R) const { return TRect(ClientToScreen(R.TopLeft()), ClientToScreen(R.BottomRight())); }

TPoint TControl::ClientToParent(TPoint P, TWinControl* AParent) const {
  if (!AParent) AParent = FParent;
  if (!AParent) throw EInvalidOperation("Control '" + Name() + "' has no parent");
  const TControl* c = this;
  while (c && c != AParent) {
    P = P + TPoint(c->FLeft, c->FTop);
    c = c->FParent;
  }
  if (!c) throw EInvalidOperation("Control '" + Name() + "' does not lie in '" + AParent->Name() + "'");
  return P;
}

TPoint TControl::ParentToClient(TPoint P, TWinControl* AParent) const {
  TPoint origin = ClientToParent(TPoint(0, 0), AParent);
  return P - origin;
}

// ---- layout ---------------------------------------------------------------------------------

void TControl::SetAlign(TAlign Value) {
  if (FAlign == Value) return;
  FAlign = Value;
  FAnchors = AnchorAlign[Value];
  if (!ComponentState().Contains(csLoading) && FAutoSize) AdjustSize();
  RequestAlign();
  if (Value == alNone) UpdateAnchorRules();
}

void TControl::SetAnchors(TAnchors Value) {
  if (FAnchors == Value) return;
  FAnchors = Value;
  UpdateAnchorRules();
}

void TControl::SetAlignWithMargins(bool Value) {
  if (FAlignWithMargins == Value) return;
  FAlignWithMargins = Value;
  RequestAlign();
}

void TControl::MarginsChanged(TObject*) {
  if (FAlignWithMargins) RequestAlign();
}

void TControl::ConstraintsChanged(TObject*) { SetBounds(FLeft, FTop, FWidth, FHeight); }

void TControl::SetAutoSize(bool Value) {
  if (FAutoSize == Value) return;
  FAutoSize = Value;
  if (Value) AdjustSize();
}

bool TControl::CanAutoSize(int& NewWidth, int& NewHeight) {
  (void)NewWidth;
  (void)NewHeight;
  return false;
}

void TControl::AdjustSize() {
  if (!FAutoSize || ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)) return;
  int w = FWidth, h = FHeight;
  if (!CanAutoSize(w, h)) return;
  // Aligned controls keep the extent their alignment gives them.
  if (FAlign == alTop || FAlign == alBottom || FAlign == alClient) w = FWidth;
  if (FAlign == alLeft || FAlign == alRight || FAlign == alClient) h = FHeight;
  SetBounds(FLeft, FTop, w, h);
}

void TControl::RequestAlign() {
  if (FParent) FParent->AlignControl(this);
}

void TControl::UpdateAnchorRules() {
  // While a description is read the parent may not have its final size yet: the rules are
  // recorded once the control is loaded, against the parent as it then is.
  if (!FParent || ComponentState().Contains(csLoading)) {
    FAnchorValid = false;
    return;
  }
  FAnchorBounds = BoundsRect();
  TRect c = FParent->ClientRect();
  FParent->AdjustClientRect(c);
  FAnchorParentSize = c.Size();
  FAnchorValid = true;
}

// The bounds anchoring gives the control in a parent whose adjusted client area is now
// ParentClient: an anchored side keeps its distance to that side of the parent; a control
// anchored to both opposite sides stretches; one anchored to neither keeps its centre at the
// same fraction of the parent's extent.
void TControl::ApplyAnchors(const TSize& ParentClient, int& L, int& T, int& W, int& H) const {
  const TRect& b = FAnchorBounds;
  L = b.Left;
  T = b.Top;
  W = b.Width();
  H = b.Height();
  int dx = ParentClient.cx - FAnchorParentSize.cx;
  int dy = ParentClient.cy - FAnchorParentSize.cy;
  bool left = FAnchors.Contains(akLeft), right = FAnchors.Contains(akRight);
  bool top = FAnchors.Contains(akTop), bottom = FAnchors.Contains(akBottom);
  if (right) {
    if (left) W = std::max(0, b.Width() + dx);
    else L = b.Left + dx;
  } else if (!left && FAnchorParentSize.cx > 0) {
    int centre2 = b.Left * 2 + b.Width();  // twice the centre, to stay exact for odd widths
    L = static_cast<int>(static_cast<int64_t>(centre2) * ParentClient.cx / FAnchorParentSize.cx - b.Width()) / 2;
  }
  if (bottom) {
    if (top) H = std::max(0, b.Height() + dy);
    else T = b.Top + dy;
  } else if (!top && FAnchorParentSize.cy > 0) {
    int centre2 = b.Top * 2 + b.Height();
    T = static_cast<int>(static_cast<int64_t>(centre2) * ParentClient.cy / FAnchorParentSize.cy - b.Height()) / 2;
  }
}

// ---- state ----------------------------------------------------------------------------------

void TControl::SetVisible(bool Value) {
  if (FVisible == Value) return;
  VisibleChanging();
  FVisible = Value;
  TAliveGuard alive = AliveGuard();
  Perform(CM_VISIBLECHANGED, Value ? 1 : 0);
  if (!alive) return;
  if (FAlign != alNone) RequestAlign();
  else if (FParent && FParent->AutoSize()) FParent->AdjustSize();
}

void TControl::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  Perform(CM_ENABLEDCHANGED);
}

bool TControl::IsVisibleInTree() const {
  for (const TControl* c = this; c; c = c->FParent)
    if (!c->FVisible) return false;
  return true;
}

void TControl::SetStyleElements(TStyleElements Value) {
  if (FStyleElements == Value) return;
  FStyleElements = Value;
  Perform(CM_STYLECHANGED);
}

// ---- text, font, colour ---------------------------------------------------------------------

void TControl::SetText(const String& Value) {
  if (GetText() == Value) return;
  TAliveGuard alive = AliveGuard();
  Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Value.c_str()));
  if (alive) Perform(CM_TEXTCHANGED);
}

void TControl::SetName(const String& NewName) {
  String old = Name();
  bool changeText = FControlStyle.Contains(csSetCaption) && !ComponentState().Contains(csLoading) &&
                    !ComponentState().Contains(csReading) && GetText() == old;
  inherited::SetName(NewName);
  if (changeText) SetText(NewName);
}

void TControl::FontChanged(TObject*) {
  FParentFont = false;
  Perform(CM_FONTCHANGED);
}

void TControl::SetParentFont(bool Value) {
  if (FParentFont == Value) return;
  FParentFont = Value;
  if (Value && FParent && !ComponentState().Contains(csReading)) Perform(CM_PARENTFONTCHANGED);
}

void TControl::ParentFontChangedFrom(TWinControl* AParent) {
  if (!FParentFont || !AParent) return;
  FFont->Assign(AParent->Font());
  FParentFont = true;
}

void TControl::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  FParentColor = false;
  Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool Value) {
  if (FParentColor == Value) return;
  FParentColor = Value;
  if (Value && FParent && !ComponentState().Contains(csReading)) Perform(CM_PARENTCOLORCHANGED);
}

// ---- cursor, hint, menu, bidi ---------------------------------------------------------------

void TControl::SetCursor(TCursor Value) {
  if (FCursor == Value) return;
  FCursor = Value;
  Perform(CM_CURSORCHANGED);
  // The shape changes at once when the pointer is over the control.
  TPoint p;
  if (GetCapture() == nullptr && GetCursorPos(&p) && FindControlAtPoint(p, true) == this) {
    TWinControl* w = dynamic_cast<TWinControl*>(this);
    if (!w) w = FParent;
    if (w && w->HandleAllocated())
      SendMessage(w->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(w->Handle()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  }
}

void TControl::SetShowHint(bool Value) {
  FParentShowHint = false;
  if (FShowHint == Value) return;
  FShowHint = Value;
  Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool Value) {
  if (FParentShowHint == Value) return;
  FParentShowHint = Value;
  if (Value && FParent && !ComponentState().Contains(csReading)) Perform(CM_PARENTSHOWHINTCHANGED);
}

void TControl::SetPopupMenu(TPopupMenu* Value) {
  if (FPopupMenu == Value) return;
  if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
  FPopupMenu = Value;
  if (Value) Value->FreeNotification(this);
}

void TControl::SetBiDiMode(TBiDiMode Value) {
  FParentBiDiMode = false;
  if (FBiDiMode == Value) return;
  FBiDiMode = Value;
  Perform(CM_BIDIMODECHANGED);
}

void TControl::SetParentBiDiMode(bool Value) {
  if (FParentBiDiMode == Value) return;
  FParentBiDiMode = Value;
  if (Value && FParent && !ComponentState().Contains(csReading)) Perform(CM_PARENTBIDIMODECHANGED);
}

unsigned TControl::DrawTextBiDiModeFlags(unsigned Flags) const {
  unsigned r = Flags;
  if (UseRightToLeftAlignment()) {
    if ((r & DT_RIGHT) == DT_RIGHT) r &= ~static_cast<unsigned>(DT_RIGHT);
    else if ((r & DT_CENTER) != DT_CENTER) r |= DT_RIGHT;
  }
  return r | DrawTextBiDiModeFlagsReadingOnly();
}

unsigned TControl::DrawTextBiDiModeFlagsReadingOnly() const { return UseRightToLeftReading() ? static_cast<unsigned>(DT_RTLREADING) : 0u; }

// ---- actions --------------------------------------------------------------------------------

TBasicAction* TControl::Action() const { return FActionLink ? FActionLink->Action() : nullptr; }

std::unique_ptr<TControlActionLink> TControl::CreateActionLink() { return std::make_unique<TControlActionLink>(this); }

void TControl::SetAction(TBasicAction* Value) {
  if (Action() == Value) return;
  if (!Value) {
    if (TBasicAction* old = Action()) old->RemoveFreeNotification(this);
    FActionLink.reset();
    return;
  }
  if (!FActionLink) FActionLink = CreateActionLink();
  if (TBasicAction* old = Action()) old->RemoveFreeNotification(this);
  FActionLink->SetAction(Value);
  FActionLink->OnChange = [this](TObject* Sender) {
    if (Sender == Action()) ActionChange(Sender, false);
  };
  ActionChange(Value, ComponentState().Contains(csLoading));
  Value->FreeNotification(this);
}

void TControl::ActionChange(TObject* Sender, bool CheckDefaults) {
  auto* a = dynamic_cast<TCustomAction*>(Sender);
  if (!a) return;
  if (!CheckDefaults || Caption().empty() || Caption() == Name()) SetCaption(a->Caption());
  if (!CheckDefaults || Enabled()) SetEnabled(a->Enabled());
  if (!CheckDefaults || Hint().empty()) SetHint(a->Hint());
  if (!CheckDefaults || Visible()) SetVisible(a->Visible());
  if (!CheckDefaults || !OnClick) OnClick = a->OnExecute;
}

void TControl::InitiateAction() {
  if (FActionLink) FActionLink->Update();
}

void TControl::Click() {
  TBasicAction* a = Action();
  if (OnClick && a && !(OnClick == a->OnExecute)) {
    OnClick(this);
  } else if (FActionLink && !ComponentState().Contains(csDesigning)) {
    FActionLink->Execute(this);
  } else if (OnClick) {
    OnClick(this);
  }
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FPopupMenu) FPopupMenu = nullptr;
  if (FActionLink && AComponent == FActionLink->Action()) FActionLink.reset();
}

void TControl::Loaded() {
  inherited::Loaded();
  if (TBasicAction* a = Action()) ActionChange(a, true);
  UpdateAnchorRules();
}

// ---- painting -------------------------------------------------------------------------------

void TControl::InvalidateControl(bool IsVisible, bool IsOpaque) {
  if (!FParent || !FParent->HandleAllocated() || !IsVisible) return;
  TRect r = BoundsRect();
  InvalidateRect(FParent->Handle(), &r, !(IsOpaque || FControlStyle.Contains(csOpaque)));
}

void TControl::Invalidate() { InvalidateControl(FVisible, FControlStyle.Contains(csOpaque)); }

void TControl::Update() {
  if (FParent) FParent->Update();
}

void TControl::Repaint() {
  if (!FVisible || !FParent || !FParent->HandleAllocated()) return;
  Invalidate();
  FParent->Update();
}

void TControl::BringToFront() {
  if (!FParent) return;
  FParent->ListRemove(this);
  FParent->ListInsert(this);
  if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated())
    SetWindowPos(w->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Invalidate();
}

void TControl::SendToBack() {
  if (!FParent) return;
  auto& list = FParent->FControls;
  if (auto* w = dynamic_cast<TWinControl*>(this)) {
    auto& wl = FParent->FWinControls;
    wl.erase(std::remove(wl.begin(), wl.end(), w), wl.end());
    wl.insert(wl.begin(), w);
    if (w->HandleAllocated()) SetWindowPos(w->Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  } else {
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.insert(list.begin(), this);
  }
  Invalidate();
}

// ---- mouse ----------------------------------------------------------------------------------

bool TControl::MouseCapture() const { return GetCaptureControl() == this; }

void TControl::SetMouseCapture(bool Value) {
  if (MouseCapture() == Value) return;
  SetCaptureControl(Value ? this : nullptr);
}

void TControl::SendCancelMode() {
  // The form this control lies on tells its focused control that a press happened elsewhere.
  for (TControl* c = this; c; c = c->FParent) {
    auto* form = dynamic_cast<TCustomForm*>(c);
    if (!form) continue;
    TWinControl* focused = form->ActiveControl();
    if (focused && focused != this) focused->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(this));
  }
}

void TControl::WMMouseButton(TMessage& Message, TMouseButton Button, bool Down, bool Double) {
  TAliveGuard alive = AliveGuard();
  TPoint p = MessagePoint(Message);
  TShiftState shift = KeysToShiftState(MessageKeys(Message));
  if (Down) {
    SendCancelMode();
    if (!alive) return;
    DefaultHandler(Message);
    if (!alive) return;
    if (Button == mbLeft) {
      if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
      // The release of a double click's second press clicks no more.
      if (FControlStyle.Contains(csClickEvents) && !Double) FControlState.Include(csClicked);
    }
    if (Double) {
      shift.Include(ssDouble);
      if (Button == mbLeft && FControlStyle.Contains(csClickEvents)) {
        DblClick();
        if (!alive) return;
      }
    }
    if (!FControlStyle.Contains(csNoStdEvents)) MouseDown(Button, shift, p.X, p.Y);
    return;
  }
  DefaultHandler(Message);
  if (!alive) return;
  if (Button == mbLeft) {
    if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
    if (FControlState.Contains(csClicked)) {
      FControlState.Exclude(csClicked);
      if (ClientRect().Contains(p)) {
        Click();
        if (!alive) return;
      }
    }
  }
  if (!FControlStyle.Contains(csNoStdEvents)) MouseUp(Button, shift, p.X, p.Y);
}

void TControl::WMMouseMove(TMessage& Message) {
  TAliveGuard alive = AliveGuard();
  DefaultHandler(Message);
  if (!alive) return;
  TPoint p = MessagePoint(Message);
  if (!FControlStyle.Contains(csNoStdEvents)) MouseMove(KeysToShiftState(MessageKeys(Message)), p.X, p.Y);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}
void TControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}
void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  bool handled = false;
  if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
  return handled;
}

void TControl::WMMouseWheel(TMessage& Message) {
  TShiftState shift = KeysToShiftState(GET_KEYSTATE_WPARAM(Message.WParam));
  if (DoMouseWheel(shift, GET_WHEEL_DELTA_WPARAM(Message.WParam), MessagePoint(Message))) {
    Message.Result = 1;
    return;
  }
  DefaultHandler(Message);
}

void TControl::WMContextMenu(TMessage& Message) {
  if (Message.Result != 0) return;
  TPoint screen = MessagePoint(Message);
  bool keyboard = Message.LParam == -1;
  if (keyboard) screen = ClientToScreen(TPoint(0, 0));
  TPoint local = keyboard ? TPoint(-1, -1) : ScreenToClient(screen);
  bool handled = false;
  TAliveGuard alive = AliveGuard();
  if (OnContextPopup) OnContextPopup(this, local, handled);
  if (!alive) return;
  if (handled) {
    Message.Result = 1;
    return;
  }
  // The control's own menu, else the nearest parent's.
  TPopupMenu* menu = nullptr;
  for (TControl* c = this; c && !menu; c = c->FParent) menu = c->FPopupMenu;
  if (menu && menu->AutoPopup()) {
    menu->SetPopupComponent(this);
    menu->Popup(screen.X, screen.Y);
    Message.Result = 1;
    return;
  }
  DefaultHandler(Message);
}

void TControl::WMCancelMode(TMessage& Message) {
  if (MouseCapture()) SetMouseCapture(false);
  FControlState.Exclude(csClicked);
  DefaultHandler(Message);
}

// ---- component messages ---------------------------------------------------------------------

void TControl::CMEnabledChanged(TMessage&) { Invalidate(); }
void TControl::CMVisibleChanged(TMessage&) { InvalidateControl(true, FVisible && FControlStyle.Contains(csOpaque)); }
void TControl::CMFontChanged(TMessage&) {
  Invalidate();
  if (FAutoSize) AdjustSize();
}
void TControl::CMColorChanged(TMessage&) { Invalidate(); }
void TControl::CMTextChanged(TMessage&) {
  Invalidate();
  if (FAutoSize) AdjustSize();
}
void TControl::CMParentFontChanged(TMessage&) { ParentFontChangedFrom(FParent); }
void TControl::CMParentColorChanged(TMessage&) {
  if (!FParentColor || !FParent) return;
  SetColor(FParent->Color());
  FParentColor = true;
}
void TControl::CMParentShowHintChanged(TMessage&) {
  if (!FParentShowHint || !FParent) return;
  SetShowHint(FParent->ShowHint());
  FParentShowHint = true;
}
void TControl::CMParentBiDiModeChanged(TMessage&) {
  if (!FParentBiDiMode || !FParent) return;
  SetBiDiMode(FParent->BiDiMode());
  FParentBiDiMode = true;
}
void TControl::CMBiDiModeChanged(TMessage&) { Invalidate(); }
void TControl::CMMouseEnter(TMessage& Message) {
  if (Message.LParam == 0 && OnMouseEnter) OnMouseEnter(this);
}
void TControl::CMMouseLeave(TMessage& Message) {
  if (Message.LParam == 0 && OnMouseLeave) OnMouseLeave(this);
}
void TControl::CMHitTest(TMessage& Message) { Message.Result = HTCLIENT; }
void TControl::CMHintShow(TMessage& Message) { (void)Message; }
void TControl::CMStyleChanged(TMessage&) { Invalidate(); }

// ---- accelerators ---------------------------------------------------------------------------

namespace {
// The character after the first single "&" of a caption; 0 when there is none.
char32_t AccelChar(const String& s) {
  for (size_t i = 0; i < s.size();) {
    if (s[i] == '&') {
      if (i + 1 >= s.size()) return 0;
      if (s[i + 1] == '&') {
        i += 2;
        continue;
      }
      return utf8::Decode(s, i + 1);
    }
    i += utf8::CharBytes(s, i);
  }
  return 0;
}
}  // namespace

bool IsAccel(char32_t VK, const String& Str) {
  char32_t c = AccelChar(Str);
  if (!c || !VK) return false;
  return SameText(utf8::Encode(c), utf8::Encode(VK));
}

String GetHotKey(const String& Caption) {
  char32_t c = AccelChar(Caption);
  return c ? utf8::Encode(c) : String();
}

bool TControl::IsAccelOf(char32_t Key) const { return IsAccel(Key, Caption()); }

// ---- stored-value predicates ----------------------------------------------------------------

bool TControl::IsColorStored() const { return !FParentColor; }
bool TControl::IsFontStored() const { return !FParentFont; }
bool TControl::IsShowHintStored() const { return !FParentShowHint; }
bool TControl::IsBiDiModeStored() const { return !FParentBiDiMode; }

// ---- free functions -------------------------------------------------------------------------

TCustomForm* GetParentForm(const TControl* Control, bool TopForm) {
  TCustomForm* found = nullptr;
  for (const TControl* c = Control; c; c = c->Parent()) {
    if (auto* f = dynamic_cast<TCustomForm*>(const_cast<TControl*>(c))) {
      found = f;
      if (!TopForm) break;
    }
  }
  return found;
}

void kvctl::CaptureLost(TControl* Parent) {
  if (GCaptureControl && static_cast<TControl*>(GCaptureControl->Parent()) == Parent) GCaptureControl = nullptr;
}

TControl* GetCaptureControl() {
  HWND h = GetCapture();
  if (!h) {
    GCaptureControl = nullptr;
    return nullptr;
  }
  TWinControl* w = FindControl(h);
  if (!w) return nullptr;
  if (GCaptureControl && GCaptureControl->Parent() == w) return GCaptureControl;
  return w;
}

void SetCaptureControl(TControl* Control) {
  ReleaseCapture();
  GCaptureControl = nullptr;
  if (!Control) return;
  if (auto* w = dynamic_cast<TWinControl*>(Control)) {
    if (w->HandleAllocated() || w->Parent() || w->ParentWindow()) SetCapture(w->Handle());
    return;
  }
  TWinControl* p = Control->Parent();
  if (!p || !p->HandleAllocated()) return;
  SetCapture(p->Handle());
  GCaptureControl = Control;
}
