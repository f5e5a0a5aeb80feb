#include "platform/controls/application.h"

#include <cstdio>

#include "platform/controls/actions.h"
#include "platform/controls/dialogs.h"
#include "platform/controls/forms.h"
#include "platform/controls/hints.h"
#include "platform/controls/internal.h"
#include "platform/controls/screen.h"
#include "platform/controls/thread.h"
#include "platform/streaming/formreader.h"
#include "platform/windows/backend.h"
#include "platform/windows/input.h"
#include "platform/windows/messageloop.h"
#include "platform/windows/paint.h"

KV_IMPLEMENT_CLASS(TApplication) {}

// Lives for the whole program, as the windows it serves do.
TApplication* Application = new TApplication(nullptr);

namespace {
constexpr UINT_PTR kHintTimer = 1;

// Components whose handlers the framework runs at this moment, innermost last.
std::vector<TComponent*>& BusyStack() {
  static std::vector<TComponent*> stack;
  return stack;
}

// True when freeing Pending would free (or pull the parent from under) Busy.
bool DependsOn(TComponent* Busy, TComponent* Pending) {
  std::vector<TComponent*> todo{Busy};
  while (!todo.empty()) {
    TComponent* c = todo.back();
    todo.pop_back();
    if (!c) continue;
    if (c == Pending) return true;
    todo.push_back(c->Owner());
    if (auto* ctl = dynamic_cast<TControl*>(c)) todo.push_back(ctl->Parent());
  }
  return false;
}

bool IsMouseMessage(UINT m) { return (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) || m == WM_NCMOUSEMOVE || (m >= WM_NCLBUTTONDOWN && m <= WM_NCMBUTTONDBLCLK); }
bool IsPress(UINT m) {
  return m == WM_LBUTTONDOWN || m == WM_RBUTTONDOWN || m == WM_MBUTTONDOWN || m == WM_LBUTTONDBLCLK ||
         m == WM_RBUTTONDBLCLK || m == WM_MBUTTONDBLCLK || m == WM_NCLBUTTONDOWN || m == WM_NCRBUTTONDOWN ||
         m == WM_NCMBUTTONDOWN;
}

// The pump the window layer runs for injected input: the application's own loop.
void EnsurePump() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  SetMessagePump([] { Application->ProcessMessages(); });
}

String ShortHint(const String& hint) {
  size_t bar = hint.find('|');
  return bar == String::npos ? hint : hint.substr(0, bar);
}
String LongHint(const String& hint) {
  size_t bar = hint.find('|');
  return bar == String::npos ? hint : hint.substr(bar + 1);
}

// The control whose hint shows for Control: the nearest one up the parents with ShowHint.
TControl* HintControlOf(TControl* Control) {
  TControl* c = Control;
  while (c && !c->ShowHint()) c = c->Parent();
  return c;
}
}  // namespace

// ---- internal links ---------------------------------------------------------------------------

namespace kvctl {
void ControlDestroying(TControl* Control) {
  if (Application) Application->ControlDestroying(Control);
}

void HandleCurrentException(TObject* Sender) {
  if (Application) Application->HandleException(Sender);
}

TBusyScope::TBusyScope(TComponent* Component) : FComponent(Component) { BusyStack().push_back(Component); }

TBusyScope::~TBusyScope() {
  auto& s = BusyStack();
  // Scopes end in reverse order; the search only guards against a missing entry.
  for (auto it = s.rbegin(); it != s.rend(); ++it)
    if (*it == FComponent) {
      s.erase(std::next(it).base());
      break;
    }
  if (Application && Application->PendingReleaseCount() > 0) Application->FreeReleased();
}

void UpdateMouseControl() {
  TPoint p;
  if (Application && GetCursorPos(&p)) Application->UpdateMouseControl(p);
}
}  // namespace kvctl

using namespace kvctl;

// ---- utility windows --------------------------------------------------------------------------

namespace {
constexpr const char* kUtilClass = "TUtilityWindow";
constexpr const char* kUtilProp = "KvUtilityProc";
}  // namespace

HWND AllocateHWnd(std::function<void(TMessage&)> Method) {
  EnsurePump();
  WNDCLASS existing;
  if (!GetClassInfo(nullptr, kUtilClass, &existing)) {
    WNDCLASS wc;
    wc.lpfnWndProc = &DefWindowProc;
    wc.lpszClassName = kUtilClass;
    RegisterClass(wc);
  }
  HWND h = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kUtilClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                          nullptr, nullptr);
  if (!h) throw EOutOfResources("Cannot create a utility window: " + SysErrorMessage(GetLastError()));
  WNDPROC proc = MakeObjectInstance([method = std::move(Method)](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    TMessage msg{m, wp, lp, 0};
    try {
      method(msg);
    } catch (...) {
      HandleCurrentException(nullptr);
    }
    (void)w;
    return msg.Result;
  });
  SetProp(h, kUtilProp, reinterpret_cast<void*>(proc));
  SetWindowLongPtr(h, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
  return h;
}

void DeallocateHWnd(HWND Wnd) {
  if (!Wnd || !IsWindow(Wnd)) return;
  auto proc = reinterpret_cast<WNDPROC>(RemoveProp(Wnd, kUtilProp));
  SetWindowLongPtr(Wnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&DefWindowProc));
  DestroyWindow(Wnd);
  if (proc) FreeObjectInstance(proc);
}

// ---- TApplication -------------------------------------------------------------------------

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {}

TApplication::~TApplication() {
  if (FHandle) DeallocateHWnd(FHandle);
}

void TApplication::Initialize() {
  EnsurePump();
  Handle();
}

HWND TApplication::Handle() {
  if (!FHandle) FHandle = AllocateHWnd([this](TMessage& m) { WndProc(m); });
  return FHandle;
}

void TApplication::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CM_SYNCHRONIZE: CheckSynchronize(); return;
    case WM_TIMER:
      if (Message.WParam == kHintTimer) {
        HintTimerExpired();
        return;
      }
      break;
    default: break;
  }
  Message.Result = DefWindowProc(FHandle, Message.Msg, Message.WParam, Message.LParam);
}

void TApplication::FormCreated(TCustomForm* Form) {
  EnsurePump();
  if (!FMainForm) FMainForm = Form;
  RegisterGlobalRoot(Form);
}

void TApplication::Run() {
  EnsurePump();
  if (FMainForm && FShowMainForm && !FTerminated) FMainForm->Show();
  while (!FTerminated) HandleMessage();
  // The application's forms go with the loop.
  DestroyComponents();
  FTerminated = false;
}

void TApplication::Terminate() {
  FTerminated = true;
  PostQuitMessage(0);
}

void TApplication::ProcessMessages() {
  EnsurePump();
  MSG m;
  while (true) {
    if (ProcessMessage(m)) continue;
    // Routing input may post messages (WM_MOUSELEAVE) during a call that found nothing to
    // hand out: look once more before calling the queue empty.
    if (!PeekMessage(&m, nullptr, 0, 0, PM_NOREMOVE)) break;
  }
  FreeReleased();
}

void TApplication::HandleMessage() {
  EnsurePump();
  MSG m;
  if (!ProcessMessage(m)) Idle();
}

bool TApplication::RunHooks(MSG& Msg) {
  // A copy: hooks may install and remove hooks.
  std::vector<THook> hooks = FHooks;
  bool exclusive = false;
  for (auto it = hooks.rbegin(); it != hooks.rend(); ++it) {
    bool still = std::any_of(FHooks.begin(), FHooks.end(), [&](const THook& h) { return h.Id == it->Id; });
    if (!still) continue;
    bool swallowed = false;
    Guarded(this, [&] { swallowed = it->Hook(Msg); });
    if (swallowed) return true;
    if (it->Exclusive) {
      exclusive = true;
      break;
    }
  }
  if (!exclusive && OnMessage) {
    bool handled = false;
    Guarded(this, [&] { OnMessage(Msg, handled); });
    if (handled) return true;
  }
  return false;
}

bool TApplication::ProcessMessage(MSG& Msg) {
  if (!PeekMessage(&Msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (Msg.message == WM_QUIT) {
    FTerminated = true;
    return true;
  }
  bool leave = Msg.message == WM_MOUSELEAVE || Msg.message == WM_NCMOUSELEAVE;
  if (IsMouseMessage(Msg.message) || leave) {
    if (leave) {
      if (Msg.hwnd == FTrackedWindow && (Msg.message == WM_NCMOUSELEAVE) == FTrackedNonClient)
        FTrackedWindow = nullptr;
      TPoint p;
      GetCursorPos(&p);
      UpdateMouseControl(p);
    } else {
      UpdateMouseControl(Msg.pt);
    }
  }
  if (!RunHooks(Msg)) {
    IsHintMsg(Msg);
    if (!IsKeyMsg(Msg)) {
      TranslateMessage(&Msg);
      DispatchMessage(&Msg);
    }
  }
  TControlCanvas::FreeDeviceContexts();
  FreeReleased();
  return true;
}

bool TApplication::IsKeyMsg(MSG& Msg) {
  if (Msg.message < WM_KEYFIRST || Msg.message > WM_KEYLAST) return false;
  HWND wnd = GetCapture();
  if (!wnd) wnd = Msg.hwnd;
  // Windows inside a control that are not controls themselves send the key to that control.
  while (wnd && !FindControl(wnd)) wnd = GetParent(wnd);
  if (!wnd) return false;
  return SendMessage(wnd, CN_BASE + Msg.message, Msg.wParam, Msg.lParam) != 0;
}

void TApplication::Idle() {
  bool done = true;
  Guarded(this, [&] {
    if (OnIdle) OnIdle(this, done);
  });
  // Actions refresh their state while the application waits.
  if (Screen)
    for (int i = 0; i < Screen->FormCount(); ++i) {
      TCustomForm* f = Screen->Forms(i);
      if (!f->Visible()) continue;
      std::vector<TControl*> todo{f};
      while (!todo.empty()) {
        TControl* c = todo.back();
        todo.pop_back();
        if (c->ActionLink()) Guarded(c, [&] { c->InitiateAction(); });
        if (auto* w = dynamic_cast<TWinControl*>(c))
          for (int k = 0; k < w->ControlCount(); ++k) todo.push_back(w->Controls(k));
      }
      if (i >= Screen->FormCount()) break;
    }
  TControlCanvas::FreeDeviceContexts();
  FreeReleased();
  CheckSynchronize();
  if (done && !FTerminated) WaitMessage();
}

// ---- hooks ---------------------------------------------------------------------------------

int TApplication::AddMessageHook(TMessageHook Hook, bool Exclusive) {
  if (!Hook) throw EInvalidArgument("AddMessageHook: no hook");
  int id = FNextHookId++;
  FHooks.push_back({id, std::move(Hook), Exclusive});
  return id;
}

void TApplication::RemoveMessageHook(int Id) {
  FHooks.erase(std::remove_if(FHooks.begin(), FHooks.end(), [&](const THook& h) { return h.Id == Id; }), FHooks.end());
}

// ---- exceptions ----------------------------------------------------------------------------

void TApplication::HandleException(TObject* Sender) {
  if (!std::current_exception()) return;
  try {
    throw;
  } catch (const std::exception& e) {
    if (OnException) {
      try {
        OnException(Sender, e);
      } catch (...) {
        std::fprintf(stderr, "Exception in the exception handler\n");
      }
    } else {
      ShowException(e);
    }
  } catch (...) {
    std::runtime_error e("Unknown exception");
    if (OnException) {
      try {
        OnException(Sender, e);
      } catch (...) {
      }
    } else {
      ShowException(e);
    }
  }
}

void TApplication::ShowException(const std::exception& E) {
  String text = E.what();
  if (!text.empty() && text.back() != '.') text += ".";
  if (WindowBackendName() == "headless") {
    std::fprintf(stderr, "%s\n", text.c_str());
    return;
  }
  try {
    MessageBox(text, FTitle.empty() ? String("Error") : FTitle, MB_OK | MB_ICONSTOP);
  } catch (...) {
    std::fprintf(stderr, "%s\n", text.c_str());
  }
}

int TApplication::MessageBox(const String& Text, const String& Caption, UINT Flags) {
  return ::MessageBox(Text, Caption, Flags);
}

// ---- deferred destruction ----------------------------------------------------------------------

void TApplication::ReleaseComponent(TComponent* AComponent) {
  if (!AComponent || AComponent == this) return;
  if (std::find(FPendingFree.begin(), FPendingFree.end(), AComponent) != FPendingFree.end()) return;
  FPendingFree.push_back(AComponent);
  AComponent->FreeNotification(this);
}

void TApplication::FreeReleased() {
  if (FFreeing) return;
  FFreeing = true;
  bool freed = true;
  while (freed) {
    freed = false;
    for (size_t i = 0; i < FPendingFree.size(); ++i) {
      TComponent* c = FPendingFree[i];
      bool busy = std::any_of(BusyStack().begin(), BusyStack().end(), [&](TComponent* b) { return DependsOn(b, c); });
      if (busy) continue;
      FPendingFree.erase(FPendingFree.begin() + static_cast<std::ptrdiff_t>(i));
      c->RemoveFreeNotification(this);
      try {
        Free(c);
      } catch (...) {
        HandleException(c);
      }
      freed = true;
      break;
    }
  }
  FFreeing = false;
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FMainForm) FMainForm = nullptr;
  FPendingFree.erase(std::remove(FPendingFree.begin(), FPendingFree.end(), AComponent), FPendingFree.end());
}

void TApplication::ControlDestroying(TControl* Control) {
  if (FMouseControl == Control) FMouseControl = nullptr;
  if (FHintControl == Control) {
    FHintControl = nullptr;
    CancelHint();
  }
  FPendingFree.erase(std::remove(FPendingFree.begin(), FPendingFree.end(), Control), FPendingFree.end());
}

// ---- actions -------------------------------------------------------------------------------

bool TApplication::ExecuteAction(TBasicAction* Action) {
  (void)Action;
  return false;
}

bool TApplication::UpdateAction(TBasicAction* Action) {
  (void)Action;
  return false;
}

// ---- pointer tracking and hints -------------------------------------------------------------

void TApplication::UpdateMouseControl(TPoint ScreenPos) {
  TControl* now = FindControlAtPoint(ScreenPos, true);
  if (now != FMouseControl) {
    TControl* old = FMouseControl;
    FMouseControl = now;
    if (old) Guarded(old, [&] { old->Perform(CM_MOUSELEAVE); });
    // A leave handler may have freed the new control (ControlDestroying cleared it then).
    if (now && FMouseControl == now) Guarded(now, [&] { now->Perform(CM_MOUSEENTER); });
    TControl* hintControl = FMouseControl ? HintControlOf(FMouseControl) : nullptr;
    SetHint(hintControl ? LongHint(hintControl->Hint()) : String());
    if (hintControl != FHintControl) {
      bool wasShowing = FHintShowing;
      CancelHint();
      FHintControl = hintControl;
      if (FHintControl && FShowHint && !FHintControl->Hint().empty())
        StartHintTimer(wasShowing ? 50 : FHintPause, false);
    }
  }
  // A leave notification when the pointer leaves our windows. Over a window's frame the
  // client-area leave would be due at once (and again on every re-track), so the frame is
  // tracked as the non-client part it is.
  HWND under = WindowFromPoint(ScreenPos);
  if (under && FindControl(under)) {
    bool nonClient = SendMessage(under, WM_NCHITTEST, 0, PointToLParam(ScreenPos)) != HTCLIENT;
    if (under != FTrackedWindow || nonClient != FTrackedNonClient) {
      TRACKMOUSEEVENT t;
      t.dwFlags = TME_LEAVE | (nonClient ? static_cast<DWORD>(TME_NONCLIENT) : 0u);
      t.hwndTrack = under;
      if (TrackMouseEvent(&t)) {
        FTrackedWindow = under;
        FTrackedNonClient = nonClient;
      }
    }
  }
  if (FHintShowing && FHintControl) {
    TPoint local = FHintControl->ScreenToClient(ScreenPos);
    if (!FHintCursorRect.Contains(local)) CancelHint();
  }
}

void TApplication::IsHintMsg(const MSG& Msg) {
  if (!FHintShowing && !FHintTimer) return;
  UINT m = Msg.message;
  if (IsPress(m) || m == WM_KEYDOWN || m == WM_SYSKEYDOWN || m == WM_MOUSEWHEEL || m == WM_ACTIVATE ||
      m == WM_ACTIVATEAPP)
    CancelHint();
}

void TApplication::SetHint(const String& Value) {
  if (FHint == Value) return;
  FHint = Value;
  Guarded(this, [&] { OnHint(this); });
}

void TApplication::SetShowHint(bool Value) {
  if (FShowHint == Value) return;
  FShowHint = Value;
  if (!Value) CancelHint();
}

void TApplication::StartHintTimer(int Delay, bool Showing) {
  (void)Showing;
  StopHintTimer();
  FHintTimer = SetTimer(Handle(), kHintTimer, static_cast<UINT>(std::max(Delay, 1)));
}

void TApplication::StopHintTimer() {
  if (FHintTimer && FHandle) KillTimer(FHandle, kHintTimer);
  FHintTimer = 0;
}

void TApplication::HintTimerExpired() {
  StopHintTimer();
  if (FHintShowing) {
    CancelHint();
    return;
  }
  TPoint p;
  GetCursorPos(&p);
  ActivateHint(p);
}

void TApplication::ActivateHint(TPoint CursorPos) {
  TControl* control = FHintControl ? FHintControl : (FMouseControl ? HintControlOf(FMouseControl) : nullptr);
  if (!control || !FShowHint || control->Hint().empty()) return;
  FHintControl = control;
  THintInfo info;
  info.HintControl = control;
  info.HintPos = CursorPos + TPoint(0, GetSystemMetrics(SM_CYCURSOR) > 0 ? GetSystemMetrics(SM_CYCURSOR) / 2 + 4 : 20);
  info.HintMaxWidth = Screen ? Screen->Width() : 800;
  info.HintColor = FHintColor;
  info.CursorRect = control->ClientRect();
  info.CursorPos = control->ScreenToClient(CursorPos);
  info.HideTimeout = FHintHidePause;
  info.HintStr = ShortHint(control->Hint());
  TAliveGuard alive = control->AliveGuard();
  bool canShow = control->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) == 0;
  if (!alive) return;
  if (OnShowHint) Guarded(this, [&] { OnShowHint(info.HintStr, canShow, info); });
  if (!canShow || info.HintStr.empty()) return;
  if (!FHintWindow) FHintWindow = std::make_unique<THintWindow>(nullptr);
  FHintWindow->SetColor(info.HintColor);
  TRect r = FHintWindow->CalcHintRect(info.HintMaxWidth, info.HintStr);
  r.Offset(info.HintPos.X, info.HintPos.Y);
  FHintWindow->ActivateHint(r, info.HintStr);
  FHintShowing = true;
  FHintCursorRect = info.CursorRect;
  if (info.HideTimeout > 0) StartHintTimer(info.HideTimeout, true);
}

void TApplication::CancelHint() {
  StopHintTimer();
  if (FHintShowing && FHintWindow) FHintWindow->ReleaseHandle();
  FHintShowing = false;
}
