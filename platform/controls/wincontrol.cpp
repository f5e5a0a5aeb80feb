// TWinControl: the window (creation, destruction, recreation), the message procedure, the
// child lists, bounds and the reflected notifications. Alignment is in align.cpp, painting in
// winpaint.cpp, focus and keys in winfocus.cpp.
#include "platform/controls/wincontrol.h"

#include <algorithm>

#include "platform/controls/forms.h"
#include "platform/controls/internal.h"
#include "platform/controls/screen.h"
#include "platform/windows/input.h"
#include "platform/windows/paint.h"

using namespace kvctl;

KV_IMPLEMENT_CLASS(TWinControl) {
  r.Prop("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder);
  r.Prop("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop, false);
  r.Prop("Padding", &TWinControl::Padding, &TWinControl::SetPadding);
  r.Prop("ParentBackground", &TWinControl::ParentBackground, &TWinControl::SetParentBackground, false);
  r.Event("OnKeyDown", &TWinControl::OnKeyDown);
  r.Event("OnKeyPress", &TWinControl::OnKeyPress);
  r.Event("OnKeyUp", &TWinControl::OnKeyUp);
  r.Event("OnEnter", &TWinControl::OnEnter);
  r.Event("OnExit", &TWinControl::OnExit);
}

namespace {
constexpr const char* kControlProp = "KvControl";
// The control whose window CreateWindowEx is making; its first message attaches it.
thread_local TWinControl* GCreationControl = nullptr;
}  // namespace

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner), FPadding(std::make_unique<TPadding>()) {
  FObjectInstance = MakeObjectInstance(
      [this](HWND h, UINT m, WPARAM w, LPARAM l) { return MainWndProc(h, m, w, l); });
  FPadding->OnChange = TNotifyEvent(this, &TWinControl::PaddingChanged);
}

TWinControl* TWinControl::CreateParented(HWND ParentWindow) {
  auto* c = New<TWinControl>(nullptr);
  c->SetParentWindow(ParentWindow);
  return c;
}

void TWinControl::BeforeDestruction() {
  inherited::BeforeDestruction();
  // While every part of the control is alive, its window goes with full message handling.
  if (FHandle) DestroyHandle();
}

TWinControl::~TWinControl() {
  Destroying();
  // The focus leaves the control before it goes.
  if (TCustomForm* form = GetParentForm(this, false); form && form != static_cast<TControl*>(this))
    form->DefocusControl(this, true);
  // Children go first; each leaves our lists as it is freed.
  while (!FWinControls.empty() || !FControls.empty()) {
    TControl* c = !FWinControls.empty() ? static_cast<TControl*>(FWinControls.back()) : FControls.back();
    Free(c);
    // A child that refused to leave (it cannot) would loop for ever: make sure it is gone.
    ListRemove(c);
  }
  if (FHandle) {
    // Deleted without Free: the derived parts are gone already, so the window is taken down
    // by the class's own procedure only.
    SetWindowLongPtr(FHandle, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(FDefWndProc ? FDefWndProc : &DefWindowProc));
    RemoveProp(FHandle, kControlProp);
    HWND h = FHandle;
    FHandle = nullptr;
    DestroyWindow(h);
  }
  FreeObjectInstance(FObjectInstance);
}

// ---- the window -----------------------------------------------------------------------------

LRESULT TWinControl::InitWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TWinControl* c = GCreationControl;
  if (!c) return DefWindowProc(Wnd, Msg, WParam, LParam);
  GCreationControl = nullptr;
  c->FHandle = Wnd;
  SetProp(Wnd, kControlProp, c);
  SetWindowLongPtr(Wnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(c->FObjectInstance));
  return CallWindowProc(c->FObjectInstance, Wnd, Msg, WParam, LParam);
}

LRESULT TWinControl::MainWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  (void)Wnd;
  TMessage m{Msg, WParam, LParam, 0};
  TAliveGuard alive = AliveGuard();
  TBusyScope busy(this);
  try {
    if (FWindowProc) {
      TMessageMethod proc = FWindowProc;
      proc(m);
    } else {
      WndProc(m);
    }
  } catch (...) {
    HandleCurrentException(this);
  }
  if (alive && Msg == WM_NCDESTROY && FHandle == Wnd) {
    RemoveProp(Wnd, kControlProp);
    FHandle = nullptr;
  }
  return m.Result;
}

HWND TWinControl::Handle() {
  HandleNeeded();
  return FHandle;
}

void TWinControl::HandleNeeded() {
  if (FHandle) return;
  if (FParent) FParent->HandleNeeded();
  if (!FHandle) CreateHandle();
}

void TWinControl::CreateParams(TCreateParams& Params) {
  Params = TCreateParams();
  Params.Caption = FText;
  Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (FControlStyle.Contains(csAcceptsControls)) {
    Params.Style |= WS_CLIPCHILDREN;
    Params.ExStyle |= WS_EX_CONTROLPARENT;
  }
  if (!FEnabled) Params.Style |= WS_DISABLED;
  if (FTabStop) Params.Style |= WS_TABSTOP;
  if (FVisible) Params.Style |= WS_VISIBLE;
  Params.X = FLeft;
  Params.Y = FTop;
  Params.Width = FWidth;
  Params.Height = FHeight;
  if (FParent) Params.WndParent = FParent->FHandle;
  else Params.WndParent = FParentWindow;
  Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  Params.WindowClass.lpfnWndProc = &DefWindowProc;
  Params.WindowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  Params.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& Params, const char* ControlClassName) {
  WNDCLASS native;
  if (!GetClassInfo(nullptr, ControlClassName, &native))
    throw EInvalidOperation("Window class " + String(ControlClassName) + " is not registered");
  WNDCLASS keep = Params.WindowClass;
  Params.WindowClass = native;
  Params.WindowClass.lpszClassName = nullptr;
  // The control's own choices of cursor and background stay.
  if (keep.hCursor) Params.WindowClass.hCursor = keep.hCursor;
}

void TWinControl::CreateWnd() {
  TCreateParams p;
  CreateParams(p);
  if ((p.Style & WS_CHILD) && !p.WndParent)
    throw EInvalidOperation("Control '" + Name() + "' has no parent window");
  FDefWndProc = p.WindowClass.lpfnWndProc ? p.WindowClass.lpfnWndProc : &DefWindowProc;
  WNDCLASS existing;
  bool registered = GetClassInfo(nullptr, p.WinClassName.c_str(), &existing);
  if (!registered || existing.lpfnWndProc != &TWinControl::InitWndProc) {
    if (registered) UnregisterClass(p.WinClassName.c_str());
    WNDCLASS wc = p.WindowClass;
    wc.lpfnWndProc = &TWinControl::InitWndProc;
    wc.lpszClassName = p.WinClassName.c_str();
    if (!RegisterClass(wc) && !GetClassInfo(nullptr, p.WinClassName.c_str(), &existing))
      throw EOutOfResources("Cannot register the window class " + p.WinClassName + ": " + SysErrorMessage(GetLastError()));
  }
  CreateWindowHandle(p);
  if (!FHandle)
    throw EOutOfResources("Error creating the window of '" + Name() + "': " + SysErrorMessage(GetLastError()));
  if (!FStyleHookMade) {
    // The class is final by now: its hook (or its nearest ancestor's) is made once.
    FStyleHookMade = true;
    FStyleHook = TCustomStyleEngine::CreateStyleHook(this);
  }
  if (FStyleHook) FStyleHook->SetHandle(FHandle);
}

void TWinControl::CreateWindowHandle(const TCreateParams& Params) {
  GCreationControl = this;
  HWND h = CreateWindowEx(Params.ExStyle, Params.WinClassName.c_str(), Params.Caption.c_str(), Params.Style, Params.X,
                          Params.Y, Params.Width, Params.Height, Params.WndParent, nullptr, nullptr, Params.Param);
  GCreationControl = nullptr;
  if (h && !FHandle) {
    // The window came into being without a message to us (cannot happen with our class).
    FHandle = h;
    SetProp(h, kControlProp, this);
    SetWindowLongPtr(h, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(FObjectInstance));
  }
  if (!h) FHandle = nullptr;
}

void TWinControl::CreateHandle() {
  if (FHandle) return;
  FControlState.Include(csCreating);
  try {
    CreateWnd();
  } catch (...) {
    FControlState.Exclude(csCreating);
    throw;
  }
  FControlState.Exclude(csCreating);
  if (FParent) {
    HWND above = FParent->PrecedingWindow(this);
    SetWindowPos(FHandle, above ? above : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  // The window may have come out another size than asked (minimum sizes).
  TMessage m{WM_WINDOWPOSCHANGED, 0, 0, 0};
  WMWindowPosChanged(m);
  std::vector<TWinControl*> kids = FWinControls;
  for (TWinControl* c : kids)
    if (c->FVisible && c->FParent == this) c->CreateHandle();
}

HWND TWinControl::PrecedingWindow(const TWinControl* Control) const {
  auto it = std::find(FWinControls.begin(), FWinControls.end(), Control);
  if (it == FWinControls.end()) return nullptr;
  for (++it; it != FWinControls.end(); ++it)
    if ((*it)->FHandle) return (*it)->FHandle;
  return nullptr;
}

void TWinControl::DestroyHandle() {
  if (!FHandle) return;
  FControlState.Include(csDestroyingHandle);
  std::vector<TWinControl*> kids = FWinControls;
  for (TWinControl* c : kids) c->DestroyHandle();
  DestroyWnd();
  FControlState.Exclude(csDestroyingHandle);
}

void TWinControl::DestroyWnd() {
  // The window's text may have been changed by the window itself (native edits).
  FText = GetWindowText(FHandle);
  DestroyWindowHandle();
}

void TWinControl::DestroyWindowHandle() {
  HWND h = FHandle;
  if (!h) return;
  DestroyWindow(h);
  if (FHandle == h) {
    RemoveProp(h, kControlProp);
    FHandle = nullptr;
  }
}

void TWinControl::RecreateWnd() {
  FClientInsetsValid = false;
  if (FHandle) Perform(CM_RECREATEWND);
}

void TWinControl::CMRecreateWnd(TMessage&) {
  // The focused control (this one or one inside) gets the focus back in its new window.
  HWND focus = GetFocus();
  TWinControl* focused = focus && FHandle && (focus == FHandle || IsChild(FHandle, focus)) ? FindControl(focus) : nullptr;
  TAliveGuard focusedAlive = focused ? focused->AliveGuard() : AliveGuard();
  FControlState.Include(csRecreating);
  TCustomForm* form = GetParentForm(this);
  if (form) form->FRecreating = true;
  DestroyHandle();
  FControlState.Exclude(csRecreating);
  UpdateShowing();
  if (focused && focusedAlive && focused->HandleAllocated()) ::SetFocus(focused->Handle());
  if (form) form->FRecreating = false;
}

void TWinControl::SetParentWindow(HWND Value) {
  if (FParentWindow == Value) return;
  FParentWindow = Value;
  if (FParent) return;
  if (FHandle) {
    if (Value) ::SetParent(FHandle, Value);
    else DestroyHandle();
  } else if (Value && FVisible) {
    CreateHandle();
  }
}

bool TWinControl::Showing() const { return FHandle && IsWindowVisible(FHandle); }

bool TWinControl::IsVisibleInTree() const {
  if (!TControl::IsVisibleInTree()) return false;
  return !FHandle || IsWindowVisible(FHandle) || !FParent;
}

void TWinControl::UpdateShowing() {
  bool parentHasWindow = FParent ? FParent->FHandle != nullptr : FParentWindow != nullptr;
  if (FVisible && parentHasWindow && !FHandle) {
    CreateHandle();
    return;
  }
  if (!FHandle) return;
  bool shown = (GetWindowLongPtr(FHandle, GWL_STYLE) & WS_VISIBLE) != 0;
  if (shown == FVisible) return;
  if (!FVisible) {
    if (TCustomForm* form = GetParentForm(this, false); form && form != static_cast<TControl*>(this))
      form->DefocusControl(this, false);
  }
  SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | (FVisible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
  Perform(CM_SHOWINGCHANGED);
}

void TWinControl::CMShowingChanged(TMessage&) {}

void TWinControl::CMVisibleChanged(TMessage& Message) {
  (void)Message;
  UpdateShowing();
}

void TWinControl::CMEnabledChanged(TMessage& Message) {
  if (!FEnabled)
    if (TCustomForm* form = GetParentForm(this, false); form && form != static_cast<TControl*>(this))
      form->DefocusControl(this, false);
  if (FHandle) EnableWindow(FHandle, FEnabled);
  inherited::CMEnabledChanged(Message);
}

void TWinControl::SetEnabled(bool Value) { inherited::SetEnabled(Value); }

// ---- messages -------------------------------------------------------------------------------

void TWinControl::WndProc(TMessage& Message) {
  if (FStyleHook) {
    TStyleHookMessage m{Message.Msg, Message.WParam, Message.LParam, Message.Result};
    if (FStyleHook->HandleMessage(m)) {
      Message.Result = m.Result;
      return;
    }
  }
  switch (Message.Msg) {
    case WM_SETFOCUS: {
      TCustomForm* form = GetParentForm(this, false);
      if (form && !form->SetFocusedControl(this)) return;
      break;
    }
    case WM_NCHITTEST:
      DefaultHandler(Message);
      if (Message.Result == HTTRANSPARENT && ControlAtPos(ScreenToClient(MessagePoint(Message)), false))
        Message.Result = HTCLIENT;
      return;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
      if (IsControlMouseMsg(Message)) {
        // Unanswered, the window's default handling still runs (it makes WM_CONTEXTMENU).
        if (Message.Result == 0 && FHandle) DefWindowProc(FHandle, Message.Msg, Message.WParam, Message.LParam);
        return;
      }
      break;
    case WM_CANCELMODE:
      if (TControl* c = GetCaptureControl(); c && c != this && c->Parent() == this) c->Perform(WM_CANCELMODE);
      break;
    default: break;
  }
  inherited::WndProc(Message);
}

bool TWinControl::IsControlMouseMsg(TMessage& Message) {
  TControl* control = nullptr;
  TPoint p = MessagePoint(Message);
  if (FHandle && GetCapture() == FHandle) {
    TControl* c = GetCaptureControl();
    if (c && c != this && c->Parent() == this) control = c;
  } else {
    control = ControlAtPos(p, false);
  }
  if (!control) return false;
  TPoint local = p - TPoint(control->Left(), control->Top());
  Message.Result = control->Perform(Message.Msg, Message.WParam, PointToLParam(local));
  return true;
}

void TWinControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: WMPaint(Message); return;
    case WM_ERASEBKGND: WMEraseBkgnd(Message); return;
    case WM_PRINTCLIENT: WMPrintClient(Message); return;
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(Message); return;
    case WM_SETFOCUS: WMSetFocus(Message); return;
    case WM_KILLFOCUS: WMKillFocus(Message); return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: WMKeyDown(Message); return;
    case WM_KEYUP:
    case WM_SYSKEYUP: WMKeyUp(Message); return;
    case WM_CHAR: WMChar(Message); return;
    case WM_SETCURSOR: WMSetCursor(Message); return;
    case WM_NCDESTROY: WMNCDestroy(Message); return;
    case WM_CAPTURECHANGED: WMCaptureChanged(Message); return;
    case WM_GETDLGCODE: WMGetDlgCode(Message); return;
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM: ReflectToChild(Message, reinterpret_cast<HWND>(Message.LParam)); return;
    case WM_NOTIFY: {
      auto* hdr = reinterpret_cast<const NMHDR*>(Message.LParam);
      ReflectToChild(Message, hdr ? hdr->hwndFrom : nullptr);
      return;
    }
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
      ReflectToChild(Message, dis && dis->CtlType != ODT_MENU ? dis->hwndItem : nullptr);
      return;
    }
    case WM_DELETEITEM: {
      auto* d = reinterpret_cast<const DELETEITEMSTRUCT*>(Message.LParam);
      ReflectToChild(Message, d ? d->hwndItem : nullptr);
      return;
    }
    case WM_COMPAREITEM: {
      auto* d = reinterpret_cast<const COMPAREITEMSTRUCT*>(Message.LParam);
      ReflectToChild(Message, d ? d->hwndItem : nullptr);
      return;
    }
    case WM_MEASUREITEM: {
      auto* mi = reinterpret_cast<const MEASUREITEMSTRUCT*>(Message.LParam);
      HWND child = (mi && mi->CtlType != ODT_MENU && FHandle) ? GetDlgItem(FHandle, static_cast<int>(mi->CtlID)) : nullptr;
      ReflectToChild(Message, child);
      return;
    }
    case CN_KEYDOWN: CNKeyDown(Message); return;
    case CN_KEYUP: CNKeyUp(Message); return;
    case CN_CHAR: CNChar(Message); return;
    case CN_SYSKEYDOWN: CNSysKeyDown(Message); return;
    case CN_SYSCHAR: CNSysChar(Message); return;
    case CM_DIALOGKEY: CMDialogKey(Message); return;
    case CM_DIALOGCHAR: CMDialogChar(Message); return;
    case CM_ENTER: CMEnter(Message); return;
    case CM_EXIT: CMExit(Message); return;
    case CM_SHOWINGCHANGED: CMShowingChanged(Message); return;
    case CM_RECREATEWND: CMRecreateWnd(Message); return;
    case CM_SHOWHINTCHANGED: NotifyControls(CM_PARENTSHOWHINTCHANGED); return;
    default: inherited::Dispatch(Message); return;
  }
}

void TWinControl::DefaultHandler(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETTEXT: {
      const char* t = reinterpret_cast<const char*>(Message.LParam);
      FText = t ? t : "";
      if (!FHandle) {
        Message.Result = 1;
        return;
      }
      break;
    }
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
      if (!FHandle) {
        TControl::DefaultHandler(Message);
        return;
      }
      break;
    default: break;
  }
  if (FHandle) Message.Result = CallWindowProc(FDefWndProc, FHandle, Message.Msg, Message.WParam, Message.LParam);
  else TControl::DefaultHandler(Message);
}

String TWinControl::GetText() const { return FHandle ? GetWindowText(FHandle) : FText; }

void TWinControl::CMTextChanged(TMessage& Message) { inherited::CMTextChanged(Message); }

void TWinControl::ReflectToChild(TMessage& Message, HWND Child) {
  TWinControl* c = Child ? FindControl(Child) : nullptr;
  if (c && c != this) {
    Message.Result = c->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  DefaultHandler(Message);
}

void TWinControl::WMWindowPosChanged(TMessage& Message) {
  if (Message.LParam) DefaultHandler(Message);
  if (!FHandle) return;
  TRect r;
  if (!GetWindowRect(FHandle, &r)) return;
  if (GetWindowLongPtr(FHandle, GWL_STYLE) & WS_CHILD) {
    if (HWND parent = GetParent(FHandle)) MapWindowRect(nullptr, parent, &r);
  }
  if (r == BoundsRect()) return;
  TRect old = BoundsRect();
  FLeft = r.Left;
  FTop = r.Top;
  FWidth = r.Width();
  FHeight = r.Height();
  BoundsChanged(old);
}

void TWinControl::WMNCDestroy(TMessage& Message) {
  DefaultHandler(Message);
  if (FHandle) RemoveProp(FHandle, kControlProp);
  FHandle = nullptr;
  if (FStyleHook) FStyleHook->SetHandle(nullptr);
}

void TWinControl::WMCaptureChanged(TMessage& Message) {
  CaptureLost(this);
  DefaultHandler(Message);
}

void TWinControl::WMSetCursor(TMessage& Message) {
  HWND cursorWnd = reinterpret_cast<HWND>(Message.WParam);
  int hit = static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(Message.LParam)));
  if (cursorWnd == FHandle && hit == HTCLIENT) {
    TCursor cursor = Screen ? Screen->Cursor() : crDefault;
    if (cursor == crDefault) {
      TPoint p;
      GetCursorPos(&p);
      TControl* c = ControlAtPos(ScreenToClient(p), false);
      cursor = (c && c->Cursor() != crDefault) ? c->Cursor() : Cursor();
    }
    if (cursor != crDefault && Screen) {
      ::SetCursor(Screen->Cursors(cursor));
      Message.Result = 1;
      return;
    }
  }
  DefaultHandler(Message);
}

// ---- children -------------------------------------------------------------------------------

TControl* TWinControl::Controls(int Index) const {
  int n = static_cast<int>(FControls.size());
  if (Index < 0 || Index >= ControlCount()) throw EListError("Control index out of bounds (" + IntToStr(Index) + ")");
  return Index < n ? FControls[static_cast<size_t>(Index)] : FWinControls[static_cast<size_t>(Index - n)];
}

void TWinControl::ListInsert(TControl* AControl) {
  if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
    FWinControls.push_back(w);
    FTabList.push_back(w);
  } else {
    FControls.push_back(AControl);
  }
}

void TWinControl::ListRemove(TControl* AControl) {
  FControls.erase(std::remove(FControls.begin(), FControls.end(), AControl), FControls.end());
  FWinControls.erase(std::remove(FWinControls.begin(), FWinControls.end(), AControl), FWinControls.end());
  FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), AControl), FTabList.end());
}

void TWinControl::InsertControl(TControl* AControl) {
  if (!AControl || AControl->FParent == this) return;
  if (AControl->FParent) AControl->FParent->RemoveControl(AControl);
  ListInsert(AControl);
  AControl->FParent = this;
  // The child follows the parent's font, colour, hints and reading order unless it has its own.
  AControl->Perform(CM_PARENTCOLORCHANGED);
  AControl->Perform(CM_PARENTFONTCHANGED);
  AControl->Perform(CM_PARENTSHOWHINTCHANGED);
  AControl->Perform(CM_PARENTBIDIMODECHANGED);
  if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
    if (w->FHandle) {
      if (FHandle) {
        ::SetParent(w->FHandle, FHandle);
        SetWindowPos(w->FHandle, nullptr, w->FLeft, w->FTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      } else {
        w->DestroyHandle();
      }
    } else if (FHandle && w->FVisible) {
      w->CreateHandle();
    }
  } else {
    AControl->Invalidate();
  }
  AControl->UpdateAnchorRules();
  if (AControl->Align() != alNone) AControl->RequestAlign();
  else if (AutoSize()) AdjustSize();
  Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), 1);
}

void TWinControl::RemoveControl(TControl* AControl) {
  if (!AControl || AControl->FParent != this) return;
  bool destroying = ComponentState().Contains(csDestroying);
  if (!destroying) Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), 0);
  if (TCustomForm* form = GetParentForm(this, false)) form->DefocusControl(AControl, true);
  if (GetCaptureControl() == AControl) SetCaptureControl(nullptr);
  if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
    if (w->FHandle && !w->ComponentState().Contains(csDestroying)) w->DestroyHandle();
  } else if (!destroying) {
    AControl->Invalidate();
  }
  ListRemove(AControl);
  AControl->FParent = nullptr;
  if (!destroying && AControl->Align() != alNone) Realign();
}

bool TWinControl::ContainsControl(const TControl* Control) const {
  for (const TControl* c = Control; c; c = c->Parent())
    if (c == this) return true;
  return false;
}

TControl* TWinControl::ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls, bool AllLevels) const {
  auto hits = [&](TControl* c) {
    if (!c->Visible() || !(c->Enabled() || AllowDisabled)) return false;
    TRect b = c->BoundsRect();
    if (!b.Contains(Pos)) return false;
    return c->Perform(CM_HITTEST, 0, PointToLParam(Pos - b.TopLeft())) != 0;
  };
  if (AllowWinControls)
    for (auto it = FWinControls.rbegin(); it != FWinControls.rend(); ++it)
      if (hits(*it)) {
        TWinControl* w = *it;
        if (AllLevels) {
          TPoint local = w->ScreenToClient(ClientToScreen(Pos));
          if (TControl* deeper = w->ControlAtPos(local, AllowDisabled, true, true)) return deeper;
        }
        return w;
      }
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it)
    if (hits(*it)) return *it;
  return nullptr;
}

TControl* TWinControl::FindChildControl(const String& ControlName) const {
  for (int i = 0; i < ControlCount(); ++i)
    if (SameText(Controls(i)->Name(), ControlName)) return Controls(i);
  return nullptr;
}

void TWinControl::Broadcast(TMessage& Message) {
  std::vector<TControl*> kids;
  kids.reserve(static_cast<size_t>(ControlCount()));
  for (int i = 0; i < ControlCount(); ++i) kids.push_back(Controls(i));
  TAliveGuard alive = AliveGuard();
  for (TControl* c : kids) {
    if (!alive) return;
    if (!ContainsControl(c) || c->Parent() != this) continue;
    Message.Result = c->Perform(Message.Msg, Message.WParam, Message.LParam);
    if (Message.Result != 0) return;
  }
}

void TWinControl::NotifyControls(UINT Msg) {
  std::vector<TControl*> kids;
  for (int i = 0; i < ControlCount(); ++i) kids.push_back(Controls(i));
  for (TControl* c : kids)
    if (c->Parent() == this) c->Perform(Msg);
}

void TWinControl::SetParent(TWinControl* AParent) { inherited::SetParent(AParent); }

void TWinControl::GetChildren(const TGetChildProc& Proc, TComponent* Root) const {
  std::vector<TControl*> kids;
  for (int i = 0; i < ControlCount(); ++i) kids.push_back(Controls(i));
  for (TControl* c : kids)
    if (c->Owner() == Root) Proc(c);
}

void TWinControl::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
}

void TWinControl::Loaded() {
  inherited::Loaded();
  if (FParent) FParent->ApplyPendingTabOrders();
  Realign();
}

// ---- component messages ---------------------------------------------------------------------

void TWinControl::CMFontChanged(TMessage& Message) {
  inherited::CMFontChanged(Message);
  NotifyControls(CM_PARENTFONTCHANGED);
}

void TWinControl::CMColorChanged(TMessage& Message) {
  inherited::CMColorChanged(Message);
  NotifyControls(CM_PARENTCOLORCHANGED);
}

void TWinControl::CMBiDiModeChanged(TMessage& Message) {
  inherited::CMBiDiModeChanged(Message);
  NotifyControls(CM_PARENTBIDIMODECHANGED);
}

void TWinControl::CMStyleChanged(TMessage& Message) {
  inherited::CMStyleChanged(Message);
  NotifyControls(CM_STYLECHANGED);
}

void TWinControl::SetParentBackground(bool Value) {
  if (ParentBackground() == Value) return;
  if (Value) FControlStyle.Include(csParentBackground);
  else FControlStyle.Exclude(csParentBackground);
  Invalidate();
}

// ---- lookup ---------------------------------------------------------------------------------

TWinControl* FindControl(HWND Handle) {
  if (!Handle || !IsWindow(Handle)) return nullptr;
  return static_cast<TWinControl*>(GetProp(Handle, kControlProp));
}

TWinControl* FindWinControlAtPoint(TPoint ScreenPos) {
  for (HWND h = WindowFromPoint(ScreenPos); h; h = GetParent(h))
    if (TWinControl* c = FindControl(h)) return c;
  return nullptr;
}

TControl* FindControlAtPoint(TPoint ScreenPos, bool AllowDisabled) {
  TWinControl* w = FindWinControlAtPoint(ScreenPos);
  if (!w) return nullptr;
  if (TControl* c = w->ControlAtPos(w->ScreenToClient(ScreenPos), AllowDisabled)) return c;
  return w;
}
