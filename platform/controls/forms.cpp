#include "platform/controls/forms.h"

#include <algorithm>

#include "platform/controls/application.h"
#include "platform/controls/internal.h"
#include "platform/controls/screen.h"
#include "platform/streaming/formreader.h"
#include "platform/themes/stylemanager.h"
#include "platform/windows/input.h"
#include "platform/windows/messageloop.h"

using namespace kvctl;

KV_IMPLEMENT_CLASS(TCustomForm) {}

KV_IMPLEMENT_CLASS(TForm) {
  r.Prop("Width", &TForm::Width, &TForm::SetWidth);
  r.Stored("Width", &TForm::IsSizeStored);
  r.Prop("Height", &TForm::Height, &TForm::SetHeight);
  r.Stored("Height", &TForm::IsSizeStored);
  r.Color("Color", &TForm::Color, &TForm::SetColor, clBtnFace);
  r.Stored("Color", &TForm::IsColorStored);
  r.Prop("Visible", &TForm::Visible, &TForm::SetVisible, false);
  r.Prop("ParentFont", &TForm::ParentFont, &TForm::SetParentFont, false);
  r.Prop("BorderStyle", &TForm::BorderStyle, &TForm::SetBorderStyle, bsSizeable);
  r.Prop("BorderIcons", &TForm::BorderIcons, &TForm::SetBorderIcons, TBorderIcons{biSystemMenu, biMinimize, biMaximize});
  r.Prop("Position", &TForm::Position, &TForm::SetPosition, poDesigned);
  r.Prop("WindowState", &TForm::WindowState, &TForm::SetWindowState, wsNormal);
  r.Prop("FormStyle", &TForm::FormStyle, &TForm::SetFormStyle, fsNormal);
  r.Prop("KeyPreview", &TForm::KeyPreview, &TForm::SetKeyPreview, false);
  r.Prop("ClientWidth", &TForm::ClientWidth, &TForm::SetClientWidth);
  r.Prop("ClientHeight", &TForm::ClientHeight, &TForm::SetClientHeight);
  r.Prop("ActiveControl", &TForm::ActiveControl, &TForm::SetActiveControl);
  r.Event("OnCreate", &TForm::OnCreate);
  r.Event("OnDestroy", &TForm::OnDestroy);
  r.Event("OnShow", &TForm::OnShow);
  r.Event("OnHide", &TForm::OnHide);
  r.Event("OnActivate", &TForm::OnActivate);
  r.Event("OnDeactivate", &TForm::OnDeactivate);
  r.Event("OnPaint", &TForm::OnPaint);
  r.Event("OnClose", &TForm::OnClose);
  r.Event("OnCloseQuery", &TForm::OnCloseQuery);
  r.Event("OnShortCut", &TForm::OnShortCut);
}

KV_IMPLEMENT_CLASS(TCustomFrame) {}
KV_IMPLEMENT_CLASS(TFrame) { r.Prop("ParentBackground", &TFrame::ParentBackground, &TFrame::SetParentBackground, true); }

namespace {
bool Contains(const TControl* outer, const TControl* inner) {
  for (const TControl* c = inner; c; c = c->Parent())
    if (c == outer) return true;
  return false;
}

// Every control inside a parent, depth first.
void ForEachDescendant(TWinControl* parent, const std::function<void(TControl*)>& fn) {
  std::vector<TControl*> kids;
  for (int i = 0; i < parent->ControlCount(); ++i) kids.push_back(parent->Controls(i));
  for (TControl* c : kids) {
    fn(c);
    if (auto* w = dynamic_cast<TWinControl*>(c)) ForEachDescendant(w, fn);
  }
}
}  // namespace

// ---- life -----------------------------------------------------------------------------------

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner), FCanvas(std::make_unique<TControlCanvas>()) {
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  FVisible = false;
  FCanvas->SetControl(this);
  SetColor(clBtnFace);
  SetParentFont(false);
  SetBounds(0, 0, 320, 240);
  if (Screen) Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
  if (Screen) Screen->RemoveForm(this);
  FCanvas->FreeHandle();
}

void TCustomForm::AfterConstruction() {
  inherited::AfterConstruction();
  if (!FCreated) DoCreate();
  if (FVisible) UpdateShowing();
}

void TCustomForm::BeforeDestruction() {
  if (FCreated) DoDestroy();
  inherited::BeforeDestruction();
}

void TCustomForm::DoCreate() {
  FCreated = true;
  FFormState.Include(fsCreating);
  Guarded(this, [&] {
    if (OnCreate) OnCreate(this);
  });
  FFormState.Exclude(fsCreating);
}

void TCustomForm::DoDestroy() {
  Guarded(this, [&] {
    if (OnDestroy) OnDestroy(this);
  });
}

void TCustomForm::InitComponent(std::string_view Description) { ReadComponentFromText(this, Description); }

void TCustomForm::GetChildren(const TGetChildProc& Proc, TComponent* Root) const {
  if (Root == this)
    for (int i = 0; i < ComponentCount(); ++i)
      if (!Components(i)->HasParent()) Proc(Components(i));
  inherited::GetChildren(Proc, Root);
}

void TCustomForm::SetParent(TWinControl* AParent) {
  if (AParent == Parent()) return;
  bool had = HandleAllocated();
  if (had) DestroyHandle();
  FClientInsetsValid = false;
  inherited::SetParent(AParent);
  if (had && FVisible) UpdateShowing();
}

TCanvas* TCustomForm::Canvas() const { return FCanvas.get(); }

// ---- window ---------------------------------------------------------------------------------

void TCustomForm::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  if (Parent()) return;
  DWORD style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  DWORD ex = 0;
  bool icons = true;
  switch (FBorderStyle) {
    case bsNone: style |= WS_POPUP; icons = false; break;
    case bsSingle: style |= WS_CAPTION | WS_BORDER; break;
    case bsSizeable: style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog:
      style |= WS_POPUP | WS_CAPTION;
      ex |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      break;
    case bsToolWindow:
      style |= WS_CAPTION | WS_BORDER;
      ex |= WS_EX_TOOLWINDOW;
      break;
    case bsSizeToolWin:
      style |= WS_CAPTION | WS_THICKFRAME;
      ex |= WS_EX_TOOLWINDOW;
      break;
  }
  if (icons && FBorderIcons.Contains(biSystemMenu)) {
    style |= WS_SYSMENU;
    bool boxes = FBorderStyle != bsDialog && FBorderStyle != bsToolWindow && FBorderStyle != bsSizeToolWin;
    if (boxes && FBorderIcons.Contains(biMinimize)) style |= WS_MINIMIZEBOX;
    if (boxes && FBorderIcons.Contains(biMaximize)) style |= WS_MAXIMIZEBOX;
  }
  if (FFormStyle == fsStayOnTop) ex |= WS_EX_TOPMOST;
  if (!Enabled()) style |= WS_DISABLED;
  Params.Style = style;
  Params.ExStyle = ex | WS_EX_CONTROLPARENT;
  Params.WndParent = nullptr;
  Params.WindowClass.style = CS_DBLCLKS;
}

void TCustomForm::UpdateShowing() {
  if (Parent()) {
    inherited::UpdateShowing();
    return;
  }
  if (ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)) return;
  if (FVisible) {
    // OnCreate comes before the form is first seen, however it was made.
    if (!FCreated) DoCreate();
    TAliveGuard alive = AliveGuard();
    HandleNeeded();
    if (!FPositioned) {
      FPositioned = true;
      ApplyPosition();
    }
    if (IsWindowVisible(FHandle)) return;
    FFormState.Include(fsShowing);
    DoShow();
    if (!alive) return;
    FFormState.Exclude(fsShowing);
    if (!FVisible || !FHandle) return;
    int cmd = FWindowState == wsMaximized ? SW_SHOWMAXIMIZED : FWindowState == wsMinimized ? SW_SHOWMINIMIZED : SW_SHOW;
    ShowWindow(FHandle, cmd);
    FFormState.Include(fsVisible);
  } else if (FHandle && IsWindowVisible(FHandle)) {
    TAliveGuard alive = AliveGuard();
    DoHide();
    if (!alive || !FHandle) return;
    ShowWindow(FHandle, SW_HIDE);
    FFormState.Exclude(fsVisible);
  }
}

void TCustomForm::ApplyPosition() {
  if (!Screen) return;
  TMonitor* primary = Screen->PrimaryMonitor();
  TRect area = primary ? primary->BoundsRect() : Screen->DesktopRect();
  TRect work = primary ? primary->WorkareaRect() : Screen->WorkAreaRect();
  auto centreOn = [&](const TRect& r) {
    int x = r.Left + (r.Width() - Width()) / 2;
    int y = r.Top + (r.Height() - Height()) / 2;
    // Centred on another form, the form still stays inside the work area.
    x = std::max(work.Left, std::min(x, work.Right - Width()));
    y = std::max(work.Top, std::min(y, work.Bottom - Height()));
    SetBounds(x, y, Width(), Height());
  };
  switch (FPosition) {
    case poScreenCenter: centreOn(area); break;
    case poDesktopCenter: centreOn(Screen->DesktopRect()); break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
      TCustomForm* other = FPosition == poOwnerFormCenter ? dynamic_cast<TCustomForm*>(Owner()) : nullptr;
      if (!other && Application) other = Application->MainForm();
      if (other && other != this && other->Visible()) centreOn(other->BoundsRect());
      else centreOn(area);
      break;
    }
    case poDefault:
    case poDefaultPosOnly: {
      // Successive forms cascade from the work area's corner.
      static int cascade = 0;
      int step = GetSystemMetrics(SM_CYCAPTION) + 4;
      int n = cascade++ % 8;
      SetBounds(work.Left + step * (n + 1), work.Top + step * (n + 1), Width(), Height());
      break;
    }
    default: break;
  }
}

TWindowState TCustomForm::WindowState() const {
  if (FHandle) {
    if (IsIconic(FHandle)) return wsMinimized;
    if (IsZoomed(FHandle)) return wsMaximized;
    return wsNormal;
  }
  return FWindowState;
}

void TCustomForm::SetWindowState(TWindowState Value) {
  FWindowState = Value;
  if (FHandle && IsWindowVisible(FHandle))
    ShowWindow(FHandle, Value == wsMinimized ? SW_MINIMIZE : Value == wsMaximized ? SW_MAXIMIZE : SW_RESTORE);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons Value) {
  if (FBorderIcons == Value) return;
  FBorderIcons = Value;
  RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle Value) {
  if (FFormStyle == Value) return;
  if (Value == fsMDIChild || Value == fsMDIForm) throw EInvalidOperation("Multiple-document forms are not supported");
  FFormStyle = Value;
  if (FHandle) SetWindowPos(FHandle, Value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  FClientInsetsValid = false;
}

void TCustomForm::Show() {
  SetVisible(true);
  if (FHandle && IsWindowVisible(FHandle)) {
    BringWindowToTop(FHandle);
    if (GetActiveWindow() != FHandle && !FFormState.Contains(fsModal)) SetActiveWindow(FHandle);
  }
}

void TCustomForm::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_CLOSE: WMClose(Message); return;
    case WM_ACTIVATE: WMActivate(Message); return;
    case CM_FOCUSCHANGED: CMFocusChanged(Message); return;
    case CM_RELEASE: Release(); return;
    default: inherited::Dispatch(Message); return;
  }
}

void TCustomForm::PaintWindow(HDC DC) {
  FCanvas->Lock();
  FCanvas->FreeHandle();
  FCanvas->SetHandle(DC);
  try {
    Paint();
  } catch (...) {
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
    throw;
  }
  FCanvas->SetHandle(nullptr);
  FCanvas->Unlock();
}

void TCustomForm::Paint() {
  if (OnPaint) OnPaint(this);
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FActiveControl) FActiveControl = nullptr;
  if (AComponent == FFocusedControl) FFocusedControl = nullptr;
}

// ---- activation and focus ----------------------------------------------------------------------

void TCustomForm::WMActivate(TMessage& Message) {
  bool active = LOWORD(Message.WParam) != WA_INACTIVE;
  Message.Result = 0;
  TAliveGuard alive = AliveGuard();
  if (active) {
    FActive = true;
    FFormState.Include(fsActivated);
    if (Screen) Screen->SetActiveForm(this);
    SetWindowFocus();
    if (!alive) return;
    Activate();
    if (alive) Perform(CM_ACTIVATE);
  } else {
    FActive = false;
    Deactivate();
    if (alive) Perform(CM_DEACTIVATE);
  }
}

void TCustomForm::SetWindowFocus() {
  if (!FHandle) return;
  if (FActiveControl && FActiveControl->CanFocus()) {
    ::SetFocus(FActiveControl->Handle());
    return;
  }
  HWND f = GetFocus();
  if (f != FHandle && !(f && IsChild(FHandle, f))) ::SetFocus(FHandle);
}

void TCustomForm::Activate() {
  Guarded(this, [&] {
    if (OnActivate) OnActivate(this);
  });
}

void TCustomForm::Deactivate() {
  Guarded(this, [&] {
    if (OnDeactivate) OnDeactivate(this);
  });
}

void TCustomForm::SetActiveControl(TWinControl* Control) {
  if (FActiveControl == Control) return;
  bool loading = ComponentState().Contains(csLoading);
  if (Control && (Control == this || GetParentForm(Control) != this))
    throw EInvalidOperation("Cannot focus a control of another form");
  if (Control && !loading && Visible() && !Control->CanFocus())
    throw EInvalidOperation("Cannot focus a disabled or invisible window");
  FActiveControl = Control;
  if (loading) return;
  if (FActive) {
    if (Screen) Screen->SetActiveControl(Control);
    if (Control) SetWindowFocus();
  }
}

void TCustomForm::FocusControl(TWinControl* Control) {
  bool wasActive = FActive;
  SetActiveControl(Control);
  if (!wasActive) {
    SetFocus();
    return;
  }
  if (Control && !Control->Focused()) ::SetFocus(Control->Handle());
}

void TCustomForm::SetFocus() {
  if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  HandleNeeded();
  // Activation gives the focus to ActiveControl (WM_ACTIVATE); an active form sets it itself.
  if (GetActiveWindow() != FHandle) SetActiveWindow(FHandle);
  else SetWindowFocus();
}

void TCustomForm::DefocusControl(TControl* Control, bool Removing) {
  if (!Control) return;
  if (FActiveControl && Contains(Control, FActiveControl)) {
    FActiveControl = nullptr;
    if (Screen && Screen->ActiveControl() && Contains(Control, Screen->ActiveControl())) Screen->SetActiveControl(nullptr);
  }
  if (FFocusedControl && Contains(Control, FFocusedControl)) {
    FFocusedControl = nullptr;
    HWND f = GetFocus();
    auto* w = dynamic_cast<TWinControl*>(Control);
    bool focusInside = w && w->HandleAllocated() && f && (f == w->Handle() || IsChild(w->Handle(), f));
    if (focusInside && FHandle && !Removing) ::SetFocus(FHandle);
  }
}

bool TCustomForm::SetFocusedControl(TWinControl* Control) {
  if (Control != this && Control && GetParentForm(Control, false) == this) FActiveControl = Control;
  if (FRecreating) {
    FFocusedControl = Control;
    return true;
  }
  if (FActive && Screen) Screen->SetActiveControl(FActiveControl);
  TWinControl* old = FFocusedControl;
  if (old == Control) return true;
  FFocusedControl = Control;
  TAliveGuard alive = AliveGuard();
  // OnExit for the old control and its containers the new one is not in, innermost first.
  std::vector<TWinControl*> exits;
  for (TWinControl* c = old; c && c != this && !Contains(c, Control); c = c->Parent()) exits.push_back(c);
  for (TWinControl* c : exits) {
    c->Perform(CM_EXIT);
    if (!alive || FFocusedControl != Control) return false;
  }
  // OnEnter for the containers the old control was not in, outermost first, then the control.
  std::vector<TWinControl*> enters;
  for (TWinControl* c = Control; c && c != this && !(old && Contains(c, old)); c = c->Parent()) enters.push_back(c);
  for (auto it = enters.rbegin(); it != enters.rend(); ++it) {
    (*it)->Perform(CM_ENTER);
    if (!alive || FFocusedControl != Control) return false;
  }
  Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Control));
  return alive && FFocusedControl == Control;
}

void TCustomForm::CMFocusChanged(TMessage& Message) {
  // Every control of the form hears which control has the focus now (buttons show whether
  // they answer Enter).
  ForEachDescendant(this, [&](TControl* c) { c->Perform(CM_FOCUSCHANGED, Message.WParam, Message.LParam); });
}

bool TCustomForm::IsShortCut(TMessage& Message) {
  bool handled = false;
  if (OnShortCut) OnShortCut(Message, handled);
  return handled;
}

void TCustomForm::CMDialogKey(TMessage& Message) {
  WORD key = static_cast<WORD>(Message.WParam);
  if (GetKeyState(VK_MENU) >= 0) {
    if (key == VK_TAB && GetKeyState(VK_CONTROL) >= 0) {
      SelectNext(FActiveControl, GetKeyState(VK_SHIFT) >= 0, true);
      Message.Result = 1;
      return;
    }
    if (key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN) {
      if (FActiveControl && FActiveControl->Parent())
        FActiveControl->Parent()->SelectNext(FActiveControl, key == VK_RIGHT || key == VK_DOWN, false);
      Message.Result = 1;
      return;
    }
  }
  // The focused control first (it may answer Enter and Esc itself), then the others.
  TWinControl* first = FActiveControl;
  if (first) {
    Message.Result = first->Perform(CM_DIALOGKEY, Message.WParam, Message.LParam);
    if (Message.Result) return;
  }
  std::vector<TControl*> kids;
  for (int i = 0; i < ControlCount(); ++i) kids.push_back(Controls(i));
  TAliveGuard alive = AliveGuard();
  for (TControl* c : kids) {
    if (!alive) return;
    if (c == first || c->Parent() != this) continue;
    Message.Result = c->Perform(CM_DIALOGKEY, Message.WParam, Message.LParam);
    if (Message.Result) return;
  }
}

// ---- showing and closing -----------------------------------------------------------------------

void TCustomForm::DoShow() {
  Guarded(this, [&] {
    if (OnShow) OnShow(this);
  });
}

void TCustomForm::DoHide() {
  Guarded(this, [&] {
    if (OnHide) OnHide(this);
  });
}

void TCustomForm::DoClose(TCloseAction& Action) {
  if (OnClose) OnClose(this, Action);
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::WMClose(TMessage& Message) {
  Message.Result = 0;
  Close();
}

void TCustomForm::Close() {
  if (FFormState.Contains(fsModal)) {
    SetModalResult(mrCancel);
    return;
  }
  TAliveGuard alive = AliveGuard();
  if (!CloseQuery() || !alive) return;
  TCloseAction action = caHide;
  DoClose(action);
  if (!alive || action == caNone) return;
  if (Application && Application->MainForm() == this) {
    Application->Terminate();
    return;
  }
  switch (action) {
    case caHide: Hide(); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    case caFree: Release(); break;
    default: break;
  }
}

void TCustomForm::SetModalResult(TModalResult Value) {
  FModalResult = Value;
  // Wakes a modal loop that waits for a message.
  if (Value != mrNone && FFormState.Contains(fsModal) && FHandle) PostMessage(FHandle, WM_NULL, 0, 0);
}

void TCustomForm::Release() {
  if (Application) Application->ReleaseComponent(this);
}

void TCustomForm::CloseModal() {
  TAliveGuard alive = AliveGuard();
  TCloseAction action = caNone;
  if (CloseQuery() && alive) {
    action = caHide;
    DoClose(action);
  }
  if (!alive) return;
  if (action == caNone) FModalResult = mrNone;
  else if (action == caFree) Release();
}

TModalResult TCustomForm::ShowModal() {
  if (Visible() || !Enabled() || FFormState.Contains(fsModal) || Parent())
    throw EInvalidOperation("Cannot make a visible window modal");
  if (HWND cap = GetCapture()) SendMessage(cap, WM_CANCELMODE, 0, 0);
  ReleaseCapture();
  TAliveGuard alive = AliveGuard();
  FFormState.Include(fsModal);
  HWND previous = GetActiveWindow();
  HandleNeeded();
  if (previous && previous != FHandle) SetWindowLongPtr(FHandle, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(previous));
  // Every other form waits until this one is done.
  std::vector<HWND> disabled;
  if (Screen)
    for (int i = 0; i < Screen->FormCount(); ++i) {
      TCustomForm* f = Screen->Forms(i);
      if (f == this || !f->HandleAllocated() || f->Parent()) continue;
      HWND h = f->FHandle;
      if (IsWindowVisible(h) && IsWindowEnabled(h)) {
        EnableWindow(h, false);
        disabled.push_back(h);
      }
    }
  auto restore = [&] {
    for (HWND h : disabled)
      if (IsWindow(h)) EnableWindow(h, true);
    if (Application) Application->ModalFinished();
  };
  FModalResult = mrNone;
  if (Application) Application->ModalStarted();
  try {
    Show();
    while (alive) {
      if (!FVisible) FModalResult = FModalResult ? FModalResult : mrCancel;
      if (FModalResult == mrNone) Application->HandleMessage();
      if (!alive) break;
      if (Application->Terminated()) FModalResult = mrCancel;
      if (FModalResult != mrNone) {
        CloseModal();
        if (!alive || FModalResult != mrNone) break;
      }
    }
  } catch (...) {
    restore();
    if (alive) {
      FFormState.Exclude(fsModal);
      Hide();
    }
    throw;
  }
  restore();
  TModalResult result = alive ? FModalResult : mrCancel;
  if (alive) {
    Hide();
    FFormState.Exclude(fsModal);
    if (FHandle) SetWindowLongPtr(FHandle, GWLP_HWNDPARENT, 0);
  }
  if (previous && IsWindow(previous) && IsWindowVisible(previous)) SetActiveWindow(previous);
  return result;
}

// ---- frames ------------------------------------------------------------------------------------

TCustomFrame::TCustomFrame(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csParentBackground};
  SetBounds(0, 0, 320, 240);
}

void TCustomFrame::InitComponent(std::string_view Description) { ReadComponentFromText(this, Description); }

void TCustomFrame::GetChildren(const TGetChildProc& Proc, TComponent* Root) const {
  if (Root == this)
    for (int i = 0; i < ComponentCount(); ++i)
      if (!Components(i)->HasParent()) Proc(Components(i));
  inherited::GetChildren(Proc, Root);
}
