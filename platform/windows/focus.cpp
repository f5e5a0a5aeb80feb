// Keyboard focus, activation of top-level windows and mouse capture.
#include <algorithm>

#include "platform/windows/internal.h"

namespace kvwin {

void SetFocusInternal(TWnd* w) {
  TWindowSystem& s = Sys();
  TWnd* old = s.Focus;
  if (old == w) return;
  HWND oldH = old ? old->Handle : nullptr;
  HWND newH = w ? w->Handle : nullptr;
  s.Focus = w;
  if (old) {
    TWndRef ref(old);
    Dispatch(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(newH), 0);
  }
  // The focus may have moved again inside WM_KILLFOCUS; then that move stands.
  if (w && s.Focus == w && !w->Dead) Dispatch(w, WM_SETFOCUS, reinterpret_cast<WPARAM>(oldH), 0);
}

void ActivateInternal(TWnd* w, UINT how) {
  TWindowSystem& s = Sys();
  TWnd* old = s.Active;
  if (old == w) return;
  HWND oldH = old ? old->Handle : nullptr;
  HWND newH = w ? w->Handle : nullptr;
  s.Active = w;
  if (old && !old->Dead) {
    TWndRef ref(old);
    Dispatch(old, WM_NCACTIVATE, 0, reinterpret_cast<LPARAM>(newH));
    if (ref.Alive()) Dispatch(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, (old->Style & WS_MINIMIZE) ? 1 : 0), reinterpret_cast<LPARAM>(newH));
    // Focus inside the window losing activation goes with it.
    if (s.Focus && ref.Alive() && TopOf(s.Focus) == old) SetFocusInternal(nullptr);
  }
  if (!w || w->Dead || s.Active != w) return;
  TWndRef ref(w);
  // The activated window comes to the front of its group.
  ZOrderInsert(w, HWND_TOP);
  if (w->Top && w->Top->Host) w->Top->Host->Activate();
  Dispatch(w, WM_NCACTIVATE, 1, reinterpret_cast<LPARAM>(oldH));
  if (ref.Alive() && s.Active == w)
    Dispatch(w, WM_ACTIVATE, MAKEWPARAM(how, (w->Style & WS_MINIMIZE) ? 1 : 0), reinterpret_cast<LPARAM>(oldH));
}

void FocusLeavingTree(TWnd* w) {
  TWindowSystem& s = Sys();
  if (!s.Focus || !IsAncestorOrSelf(w, s.Focus)) return;
  // The focus goes to the top-level window when a part of it goes away, else nowhere.
  TWnd* top = TopOf(w);
  TWnd* next = (top != w && top->Visible() && top->Enabled() && !top->Destroying && s.Active == top) ? top : nullptr;
  SetFocusInternal(next);
}

void ActivationLeaving(TWnd* w) {
  TWindowSystem& s = Sys();
  if (s.Active != w) return;
  // Activation goes to the owner, else to the topmost other window that can take it.
  TWnd* next = nullptr;
  auto ok = [&](TWnd* t) {
    return t && t != w && t->Visible() && t->Enabled() && !t->Destroying && !(t->ExStyle & WS_EX_NOACTIVATE) &&
           !(t->Style & WS_MINIMIZE) && !IsAncestorOrSelf(w, t);
  };
  for (TWnd* o = w->Owner; o && !next; o = o->Owner)
    if (ok(o)) next = o;
  if (!next)
    for (TWnd* t : s.TopLevels)
      if (ok(t) && !(t->Style & WS_POPUP)) {
        next = t;
        break;
      }
  ActivateInternal(next, WA_ACTIVE);
}

void CaptureLeavingTree(TWnd* w) {
  TWindowSystem& s = Sys();
  if (s.Capture && IsAncestorOrSelf(w, s.Capture)) ReleaseCapture();
}

}  // namespace kvwin

using namespace kvwin;

HWND SetFocus(HWND hwnd) {
  RequireUIThread("SetFocus");
  TWindowSystem& s = Sys();
  HWND prev = s.Focus ? s.Focus->Handle : nullptr;
  if (!hwnd) {
    SetFocusInternal(nullptr);
    return prev;
  }
  TWnd* w = CheckHandle(hwnd);
  if (!w) return nullptr;
  if (!IsEnabledChain(w) || w->Destroying) return nullptr;
  TWndRef ref(w);
  TWnd* top = TopOf(w);
  if (s.Active != top) {
    if (top->ExStyle & WS_EX_NOACTIVATE) {
      // A window that never activates can still hold the keys of its own children.
    } else {
      ActivateInternal(top, WA_ACTIVE);
      if (!ref.Alive()) return nullptr;
    }
  }
  SetFocusInternal(w);
  return prev;
}

HWND GetFocus() {
  TWindowSystem* s = SysIfStarted();
  return s && s->Focus && OnUIThread() ? s->Focus->Handle : nullptr;
}

HWND SetActiveWindow(HWND hwnd) {
  RequireUIThread("SetActiveWindow");
  TWindowSystem& s = Sys();
  HWND prev = s.Active ? s.Active->Handle : nullptr;
  if (!hwnd) {
    ActivateInternal(nullptr, WA_INACTIVE);
    return prev;
  }
  TWnd* w = CheckHandle(hwnd);
  if (!w) return nullptr;
  w = TopOf(w);
  if ((w->ExStyle & WS_EX_NOACTIVATE) || !w->Enabled() || w->Destroying) return nullptr;
  ActivateInternal(w, WA_ACTIVE);
  return prev;
}

HWND GetActiveWindow() {
  TWindowSystem* s = SysIfStarted();
  return s && s->Active && OnUIThread() ? s->Active->Handle : nullptr;
}

bool SetForegroundWindow(HWND hwnd) { return SetActiveWindow(hwnd) != nullptr || GetActiveWindow() == hwnd; }
HWND GetForegroundWindow() { return GetActiveWindow(); }

HWND SetCapture(HWND hwnd) {
  RequireUIThread("SetCapture");
  TWindowSystem& s = Sys();
  TWnd* old = s.Capture;
  HWND prev = old ? old->Handle : nullptr;
  TWnd* w = CheckHandle(hwnd);
  if (!w) return nullptr;
  if (old == w) return prev;
  s.Capture = w;
  BE().SetMouseCapture(true);
  // A press tracked by the layer itself ends when someone else takes the mouse.
  if (s.Tracker && s.Tracker->Window != hwnd) CancelTracker();
  if (old && !old->Dead) Dispatch(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
  return prev;
}

bool ReleaseCapture() {
  RequireUIThread("ReleaseCapture");
  TWindowSystem& s = Sys();
  TWnd* old = s.Capture;
  if (!old) return true;
  s.Capture = nullptr;
  BE().SetMouseCapture(false);
  if (!old->Dead) Dispatch(old, WM_CAPTURECHANGED, 0, 0);
  SynthesizeMouseMove();
  return true;
}

HWND GetCapture() {
  TWindowSystem* s = SysIfStarted();
  return s && s->Capture && OnUIThread() ? s->Capture->Handle : nullptr;
}

// ---- host notifications ---------------------------------------------------------------------
void TBackendEvents::HostActivated(HWND window) {
  TWindowSystem& s = Sys();
  s.AppActive = true;
  TWnd* w = FromHandle(window);
  if (!w || !w->IsTop() || s.Active == w) return;
  if ((w->ExStyle & WS_EX_NOACTIVATE) || (w->Style & WS_POPUP) || !w->Enabled()) return;
  ActivateInternal(w, WA_ACTIVE);
}

void TBackendEvents::AppDeactivated() {
  TWindowSystem& s = Sys();
  if (!s.AppActive) return;
  s.AppActive = false;
  if (s.Capture && !s.Capture->Dead) Dispatch(s.Capture, WM_CANCELMODE, 0, 0);
  if (s.Active) {
    TWnd* a = s.Active;
    TWndRef ref(a);
    Dispatch(a, WM_ACTIVATEAPP, 0, 0);
    if (ref.Alive() && s.Active == a) ActivateInternal(nullptr, WA_INACTIVE);
  }
}

void TBackendEvents::HostCloseRequested(HWND window) {
  if (TWnd* w = FromHandle(window)) PostMessage(w->Handle, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void TBackendEvents::HostMoved(HWND window, TPoint topLeft) {
  TWnd* w = FromHandle(window);
  if (!w || !w->IsTop() || !w->Top) return;
  // The host reports where its presented part is; the window's frame lies around it.
  TPoint origin = topLeft - w->Top->HostArea.TopLeft();
  if (origin == w->Rect.TopLeft()) return;
  SetWindowPosInternal(w, nullptr, origin.X, origin.Y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE, true);
}

void TBackendEvents::HostResized(HWND window, TSize size) {
  TWnd* w = FromHandle(window);
  if (!w || !w->IsTop() || !w->Top) return;
  TRect area = w->Top->HostArea;
  int cx = w->Rect.Width() - area.Width() + size.cx;
  int cy = w->Rect.Height() - area.Height() + size.cy;
  if (cx == w->Rect.Width() && cy == w->Rect.Height()) return;
  SetWindowPosInternal(w, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE, true);
}
