// Input: the raw input queue, routing of mouse and key input to windows (hit testing, capture,
// mouse activation, double clicks, leave and hover tracking), key state and translation.
#include <algorithm>

#include "platform/windows/internal.h"

namespace kvwin {
namespace {
bool InFilter(UINT msg, UINT minMsg, UINT maxMsg) {
  if (minMsg == 0 && maxMsg == 0) return true;
  return minMsg <= maxMsg ? msg >= minMsg && msg <= maxMsg : msg >= minMsg || msg <= maxMsg;
}

bool KeyDown(const uint8_t* keys, int vk) { return (keys[vk & 0xFF] & 0x80) != 0; }

void SetKey(uint8_t* keys, int vk, bool down) {
  uint8_t& k = keys[vk & 0xFF];
  if (down && !(k & 0x80)) k ^= 1;  // toggles on each press
  k = static_cast<uint8_t>(down ? (k | 0x80) : (k & ~0x80));
}

// Keeps the combined and the sided modifier keys in step.
void SetKeyWithAliases(uint8_t* keys, int vk, bool down) {
  SetKey(keys, vk, down);
  auto combine = [&](int both, int left, int right) {
    if (vk == left || vk == right) SetKey(keys, both, KeyDown(keys, left) || KeyDown(keys, right));
    if (vk == both) {
      if (!down) {
        SetKey(keys, left, false);
        SetKey(keys, right, false);
      }
    }
  };
  combine(VK_SHIFT, VK_LSHIFT, VK_RSHIFT);
  combine(VK_CONTROL, VK_LCONTROL, VK_RCONTROL);
  combine(VK_MENU, VK_LMENU, VK_RMENU);
}

WPARAM MouseFlags(const uint8_t* keys) {
  WPARAM f = 0;
  if (KeyDown(keys, VK_LBUTTON)) f |= MK_LBUTTON;
  if (KeyDown(keys, VK_RBUTTON)) f |= MK_RBUTTON;
  if (KeyDown(keys, VK_MBUTTON)) f |= MK_MBUTTON;
  if (KeyDown(keys, VK_XBUTTON1)) f |= MK_XBUTTON1;
  if (KeyDown(keys, VK_XBUTTON2)) f |= MK_XBUTTON2;
  if (KeyDown(keys, VK_SHIFT)) f |= MK_SHIFT;
  if (KeyDown(keys, VK_CONTROL)) f |= MK_CONTROL;
  return f;
}

UINT ButtonMessage(WORD vk, bool down, bool dbl, bool client) {
  UINT base;
  switch (vk) {
    case VK_RBUTTON: base = client ? WM_RBUTTONDOWN : WM_NCRBUTTONDOWN; break;
    case VK_MBUTTON: base = client ? WM_MBUTTONDOWN : WM_NCMBUTTONDOWN; break;
    case VK_XBUTTON1:
    case VK_XBUTTON2: base = WM_XBUTTONDOWN; break;
    default: base = client ? WM_LBUTTONDOWN : WM_NCLBUTTONDOWN; break;
  }
  if (!down) return base + 1;
  return dbl ? base + 2 : base;
}

void PostLeave(HWND hwnd, bool nonClient) {
  PostMessage(hwnd, nonClient ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
}

void CancelHover(TMouseTrack& t) {
  KillSystemTimer(t.HoverTimer);
  t.HoverTimer = 0;
}

void ArmHover(TWindowSystem& s, TPoint pt);

// Leave and hover tracking, after the cursor came to (hwnd, hit).
void UpdateTracking(TWindowSystem& s, HWND under, LRESULT hit, TPoint pt) {
  TMouseTrack& t = s.Track;
  if (!t.Hwnd) return;
  bool inClient = hit == HTCLIENT;
  bool still = under == t.Hwnd && inClient != t.NonClient;
  if ((t.Flags & TME_LEAVE) && !still) {
    HWND h = t.Hwnd;
    bool nc = t.NonClient;
    t.Flags &= ~TME_LEAVE;
    PostLeave(h, nc);
  }
  if (t.Flags & TME_HOVER) {
    if (!still) {
      CancelHover(t);
      t.Flags &= ~TME_HOVER;
    } else if (std::abs(pt.X - t.HoverPoint.X) > GetSystemMetrics(SM_CXDRAG) / 2 ||
               std::abs(pt.Y - t.HoverPoint.Y) > GetSystemMetrics(SM_CYDRAG) / 2) {
      ArmHover(s, pt);
    }
  }
  if (!(t.Flags & (TME_LEAVE | TME_HOVER))) t.Hwnd = nullptr;
}

void ArmHover(TWindowSystem& s, TPoint pt) {
  TMouseTrack& t = s.Track;
  CancelHover(t);
  t.HoverPoint = pt;
  HWND h = t.Hwnd;
  bool nc = t.NonClient;
  t.HoverTimer = AddSystemTimer(t.HoverTime, [h, nc]() {
    TWindowSystem& sys = Sys();
    if (sys.Track.Hwnd != h || !(sys.Track.Flags & TME_HOVER)) return;
    sys.Track.HoverTimer = 0;
    sys.Track.Flags &= ~TME_HOVER;
    TWnd* w = FromHandle(h);
    if (w) {
      TPoint p = sys.CursorPos;
      if (nc) PostMessage(h, WM_NCMOUSEHOVER, static_cast<WPARAM>(sys.LastHit), PointToLParam(p));
      else PostMessage(h, WM_MOUSEHOVER, MouseFlags(sys.AsyncKeys), PointToLParam(p - ClientOriginOnScreen(w)));
    }
    if (!(sys.Track.Flags & TME_LEAVE)) sys.Track.Hwnd = nullptr;
  });
}

// Sends WM_SETCURSOR to the window under the cursor (not while the mouse is captured).
void SetCursorFor(TWnd* w, LRESULT hit, UINT mouseMsg) {
  TWndRef ref(w);
  if (!Dispatch(w, WM_SETCURSOR, reinterpret_cast<WPARAM>(w->Handle), MAKELPARAM(static_cast<unsigned>(hit), mouseMsg))) {
    // Nobody chose a cursor: the arrow.
    if (ref.Alive() && hit != HTCLIENT) SetCursor(StandardCursor(IDC_ARROW));
  }
}

// Mouse activation of a press on a window whose top-level window is not active. Returns false
// when the press is eaten.
bool MouseActivate(TWindowSystem& s, TWnd* w, LRESULT hit, UINT msg) {
  TWnd* top = TopOf(w);
  if (s.Active == top) return true;
  TWndRef ref(w);
  LRESULT r = Dispatch(w, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top->Handle),
                       MAKELPARAM(static_cast<unsigned>(hit), msg));
  if (!ref.Alive()) return false;
  if (r == MA_ACTIVATE || r == MA_ACTIVATEANDEAT) {
    if (!(top->ExStyle & WS_EX_NOACTIVATE) && top->Enabled() && top->Visible()) ActivateInternal(top, WA_CLICKACTIVE);
  }
  return r != MA_ACTIVATEANDEAT && r != MA_NOACTIVATEANDEAT && ref.Alive();
}

// A press on a disabled top-level window brings its enabled pop-up (a modal dialog) forward
// (the beep comes from the default handling of WM_SETCURSOR).
void PressOnDisabled(TWindowSystem& s, TWnd* top) {
  for (TWnd* t : s.TopLevels)
    if (t->Owner == top && t->Visible() && t->Enabled()) {
      ActivateInternal(t, WA_CLICKACTIVE);
      return;
    }
}

// Turns raw mouse input into a message for a window. Returns false when it is dropped.
bool RouteMouse(TWindowSystem& s, TRawInput& in) {
  if (in.Type == TRawInput::Button) SetKeyWithAliases(s.AsyncKeys, in.Vk, in.Down);
  if (s.Tracker && s.Tracker->OnMouse(in)) return false;

  MSG& m = in.Msg;
  m.time = in.Time;
  m.pt = in.Pt;
  LRESULT hit = HTCLIENT;
  HWND underH = WindowFromPointInternal(in.Pt, &hit, !s.Capture);
  if (!s.Tracker && !s.Capture && !FromHandle(underH)) underH = nullptr;
  TWnd* under = FromHandle(underH);
  if (s.Capture) {
    // Under capture the window under the cursor is found without asking it (above).
    UpdateTracking(s, underH, hit == HTERROR ? HTNOWHERE : hit, in.Pt);
    TWnd* c = s.Capture;
    hit = HTCLIENT;
    m.hwnd = c->Handle;
    TPoint local = in.Pt - ClientOriginOnScreen(c);
    if (in.Type == TRawInput::Wheel) {
      TWnd* target = s.Focus ? s.Focus : c;
      m.hwnd = target->Handle;
      m.message = in.Horizontal ? WM_MOUSEHWHEEL : WM_MOUSEWHEEL;
      m.wParam = MAKEWPARAM(static_cast<unsigned>(MouseFlags(s.AsyncKeys)), static_cast<unsigned>(in.Delta));
      m.lParam = PointToLParam(in.Pt);
      return true;
    }
    m.lParam = PointToLParam(local);
    m.wParam = MouseFlags(s.AsyncKeys);
    if (in.Type == TRawInput::Move) {
      m.message = WM_MOUSEMOVE;
      return true;
    }
    bool dbl = false;
    if (in.Down) {
      const auto& lc = s.LastClick;
      dbl = lc.Valid && lc.Hwnd == c->Handle && lc.Button == in.Vk && in.Time - lc.Time <= s.DoubleClickTime &&
            std::abs(in.Pt.X - lc.Pt.X) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
            std::abs(in.Pt.Y - lc.Pt.Y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2 && (c->Class->Style & CS_DBLCLKS);
      s.LastClick = {c->Handle, in.Vk, in.Time, in.Pt, !dbl};
    }
    m.message = ButtonMessage(in.Vk, in.Down, dbl, true);
    if (in.Vk == VK_XBUTTON1 || in.Vk == VK_XBUTTON2)
      m.wParam = MAKEWPARAM(static_cast<unsigned>(m.wParam), in.Vk == VK_XBUTTON1 ? 1u : 2u);
    return true;
  }

  s.LastUnderCursor = underH;
  s.LastHit = hit;
  UpdateTracking(s, underH, hit, in.Pt);
  if (!under) {
    if (in.Type == TRawInput::Move) SetCursor(StandardCursor(IDC_ARROW));
    return false;
  }
  UINT probe = in.Type == TRawInput::Move ? WM_MOUSEMOVE : ButtonMessage(in.Vk, in.Down, false, true);
  if (in.Type == TRawInput::Wheel) {
    // The wheel goes to the focus window, as keys do.
    TWnd* target = s.Focus ? s.Focus : s.Active ? s.Active : nullptr;
    if (!target) return false;
    m.hwnd = target->Handle;
    m.message = in.Horizontal ? WM_MOUSEHWHEEL : WM_MOUSEWHEEL;
    m.wParam = MAKEWPARAM(static_cast<unsigned>(MouseFlags(s.AsyncKeys)), static_cast<unsigned>(in.Delta));
    m.lParam = PointToLParam(in.Pt);
    return true;
  }
  {
    TWndRef ref(under);
    SetCursorFor(under, hit, probe);
    if (!ref.Alive()) return false;
  }
  if (hit == HTERROR || hit == HTNOWHERE) {
    if (in.Type == TRawInput::Button && in.Down && hit == HTERROR) PressOnDisabled(s, TopOf(under));
    return false;
  }
  bool client = hit == HTCLIENT;
  if (in.Type == TRawInput::Button && in.Down) {
    if (!MouseActivate(s, under, hit, probe)) return false;
    if (!FromHandle(underH)) return false;
    if (client && under->IsChild() && !(under->ExStyle & WS_EX_NOPARENTNOTIFY)) {
      // The press is announced to the ancestors, at the point in each one's client area.
      TWndRef ref(under);
      for (TWnd* c = under; c->Parent && !(c->ExStyle & WS_EX_NOPARENTNOTIFY); c = c->Parent) {
        TPoint pp = in.Pt - ClientOriginOnScreen(c->Parent);
        Dispatch(c->Parent, WM_PARENTNOTIFY, MAKEWPARAM(probe, 0), PointToLParam(pp));
        if (!ref.Alive()) return false;
      }
    }
  }
  m.hwnd = under->Handle;
  if (in.Type == TRawInput::Move) {
    m.message = client ? WM_MOUSEMOVE : WM_NCMOUSEMOVE;
  } else {
    bool dbl = false;
    if (in.Down) {
      const auto& lc = s.LastClick;
      dbl = lc.Valid && lc.Hwnd == under->Handle && lc.Button == in.Vk && in.Time - lc.Time <= s.DoubleClickTime &&
            std::abs(in.Pt.X - lc.Pt.X) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
            std::abs(in.Pt.Y - lc.Pt.Y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2 &&
            (!client || (under->Class->Style & CS_DBLCLKS));
      // After a double click the next press starts a new pair.
      s.LastClick = {under->Handle, in.Vk, in.Time, in.Pt, !dbl};
    }
    m.message = ButtonMessage(in.Vk, in.Down, dbl, client);
  }
  if (client) {
    m.wParam = MouseFlags(s.AsyncKeys);
    m.lParam = PointToLParam(in.Pt - ClientOriginOnScreen(under));
  } else {
    m.wParam = static_cast<WPARAM>(hit);
    m.lParam = PointToLParam(in.Pt);
  }
  if (in.Vk == VK_XBUTTON1 || in.Vk == VK_XBUTTON2) {
    if (!client) return false;
    m.wParam = MAKEWPARAM(static_cast<unsigned>(m.wParam), in.Vk == VK_XBUTTON1 ? 1u : 2u);
  }
  return true;
}

bool RouteKey(TWindowSystem& s, TRawInput& in) {
  if (in.Type == TRawInput::Key) SetKeyWithAliases(s.AsyncKeys, in.Vk, in.Down);
  if (s.Tracker && s.Tracker->OnKey(in)) return false;
  MSG& m = in.Msg;
  m.time = in.Time;
  m.pt = s.CursorPos;
  TWnd* target = s.Focus ? s.Focus : s.Active;
  if (!target) return false;
  m.hwnd = target->Handle;
  if (in.Type == TRawInput::Text) {
    // One WM_CHAR per input; the rest follow as posted characters once it is taken.
    m.message = WM_CHAR;
    m.wParam = utf8::Decode(in.Chars, 0);
    m.lParam = 1;
    return true;
  }
  bool alt = KeyDown(s.AsyncKeys, VK_MENU);
  bool ctrl = KeyDown(s.AsyncKeys, VK_CONTROL);
  // Alt (without Ctrl: Ctrl+Alt is the alternate graphics shift), F10 and keys with no focus
  // window are system keys.
  bool sys = (alt && !ctrl) || in.Vk == VK_F10 || (in.Vk == VK_MENU && !ctrl) || !s.Focus;
  m.message = in.Down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
  m.wParam = in.Vk;
  LPARAM l = 1 | (static_cast<LPARAM>(in.Scan & 0xFF) << 16);
  if (in.Extended) l |= KF_EXTENDED;
  if (alt) l |= KF_ALTDOWN;
  if (in.Repeat || !in.Down) l |= KF_REPEAT;
  if (!in.Down) l |= KF_UP;
  m.lParam = l;
  return true;
}

bool RouteInput(TWindowSystem& s, TRawInput& in) {
  in.Routed = true;
  bool ok = (in.Type == TRawInput::Key || in.Type == TRawInput::Text) ? RouteKey(s, in) : RouteMouse(s, in);
  in.Dropped = !ok;
  return ok;
}

// US-layout characters of a key without host text.
char32_t DefaultChar(WORD vk, bool shift, bool ctrl, bool alt, bool caps) {
  if (ctrl && alt) return 0;
  if (vk >= 'A' && vk <= 'Z') {
    if (ctrl) return vk - 'A' + 1;
    bool upper = shift != caps;
    return upper ? vk : vk + 32;
  }
  switch (vk) {
    case VK_RETURN: return ctrl ? 10 : 13;
    case VK_BACK: return ctrl ? 127 : 8;
    case VK_TAB: return ctrl ? 0 : 9;
    case VK_ESCAPE: return 27;
    case VK_SPACE: return ' ';
    default: break;
  }
  if (ctrl) return 0;
  if (vk >= '0' && vk <= '9') return shift ? U")!@#$%^&*("[vk - '0'] : vk;
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return '0' + (vk - VK_NUMPAD0);
  struct Pair { WORD vk; char plain, shifted; };
  static const Pair oem[] = {{VK_MULTIPLY, '*', '*'}, {VK_ADD, '+', '+'}, {VK_SUBTRACT, '-', '-'},
                             {VK_DECIMAL, '.', '.'}, {VK_DIVIDE, '/', '/'}, {VK_OEM_1, ';', ':'},
                             {VK_OEM_PLUS, '=', '+'}, {VK_OEM_COMMA, ',', '<'}, {VK_OEM_MINUS, '-', '_'},
                             {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_2, '/', '?'}, {VK_OEM_3, '`', '~'},
                             {VK_OEM_4, '[', '{'}, {VK_OEM_5, '\\', '|'}, {VK_OEM_6, ']', '}'},
                             {VK_OEM_7, '\'', '"'}};
  for (const Pair& p : oem)
    if (p.vk == vk) return static_cast<char32_t>(shift ? p.shifted : p.plain);
  return 0;
}

// Control characters that a key produces even when the host types the printable ones.
char32_t ControlChar(WORD vk, bool ctrl, bool alt) {
  if (ctrl && alt) return 0;
  if (vk >= 'A' && vk <= 'Z') return ctrl ? vk - 'A' + 1 : 0;
  switch (vk) {
    case VK_RETURN: return ctrl ? 10 : 13;
    case VK_BACK: return ctrl ? 127 : 8;
    case VK_TAB: return ctrl ? 0 : 9;
    case VK_ESCAPE: return 27;
    default: return 0;
  }
}
}  // namespace

void QueueInput(TRawInput in) {
  TWindowSystem& s = Sys();
  if (in.Type == TRawInput::Move || in.Type == TRawInput::Button || in.Type == TRawInput::Wheel) s.CursorPos = in.Pt;
  // Consecutive moves collapse into the last one.
  if (in.Type == TRawInput::Move && !s.Input.empty() && s.Input.back().Type == TRawInput::Move && !s.Input.back().Routed) {
    s.Input.back().Pt = in.Pt;
    s.Input.back().Time = in.Time;
    return;
  }
  s.Input.push_back(std::move(in));
}

bool TakeInput(MSG* out, HWND filter, UINT minMsg, UINT maxMsg, bool remove) {
  TWindowSystem& s = Sys();
  if (filter == reinterpret_cast<HWND>(-1) || s.RoutingInput) return false;
  // Input is routed in order; routing may run window procedures, which may queue more input
  // (never merged into the one being routed: it is marked first) but take none.
  for (size_t i = 0; i < s.Input.size(); ++i) {
    if (!s.Input[i].Routed) {
      s.Input[i].Routed = true;
      TRawInput copy = s.Input[i];
      s.RoutingInput = true;
      try {
        RouteInput(s, copy);
      } catch (...) {
        s.RoutingInput = false;
        s.Input[i].Dropped = true;
        throw;
      }
      s.RoutingInput = false;
      s.Input[i] = std::move(copy);
    }
    TRawInput& in = s.Input[i];
    if (in.Dropped) {
      if (i == 0) {
        s.Input.pop_front();
        --i;
      }
      continue;
    }
    const MSG& m = in.Msg;
    if (!FromHandle(m.hwnd)) {
      in.Dropped = true;
      if (i == 0) {
        s.Input.pop_front();
        --i;
      }
      continue;
    }
    if (!InFilter(m.message, minMsg, maxMsg)) continue;
    if (filter && m.hwnd != filter && !IsChild(filter, m.hwnd)) continue;
    *out = m;
    if (remove) {
      TRawInput taken = std::move(in);
      s.Input.erase(s.Input.begin() + static_cast<std::ptrdiff_t>(i));
      // The state that GetKeyState reports follows the messages taken.
      if (taken.Type == TRawInput::Key) SetKeyWithAliases(s.SyncKeys, taken.Vk, taken.Down);
      if (taken.Type == TRawInput::Button) SetKeyWithAliases(s.SyncKeys, taken.Vk, taken.Down);
      if (taken.Type == TRawInput::Key && taken.Down) {
        s.LastKey.Msg = taken.Msg;
        s.LastKey.Chars = taken.Chars;
        s.LastKey.HostText = taken.HostText;
        s.LastKey.Valid = true;
      }
      if (taken.Type == TRawInput::Text) {
        // Further characters of the same input follow as posted WM_CHAR.
        size_t first = utf8::CharBytes(taken.Chars, 0);
        for (size_t o = first; o < taken.Chars.size(); o += utf8::CharBytes(taken.Chars, o))
          PostMessage(taken.Msg.hwnd, WM_CHAR, utf8::Decode(taken.Chars, o), 1);
      }
    }
    return true;
  }
  // Dropped input at the head of the queue is gone.
  while (!s.Input.empty() && s.Input.front().Dropped) s.Input.pop_front();
  return false;
}

void InputWindowGone(TWnd* w) {
  TWindowSystem& s = Sys();
  if (s.Track.Hwnd == w->Handle) {
    CancelHover(s.Track);
    s.Track = TMouseTrack();
  }
  if (s.LastUnderCursor == w->Handle) s.LastUnderCursor = nullptr;
  if (s.LastClick.Hwnd == w->Handle) s.LastClick.Valid = false;
  if (s.Tracker && s.Tracker->Window == w->Handle) CancelTracker();
}

void SynthesizeMouseMove() {
  // After windows moved, appeared or vanished, the window under a resting cursor may be
  // another one: a move at the same place tells it (and ends a hover or leave tracking).
  TWindowSystem& s = Sys();
  if (!s.Backend) return;
  TRawInput in;
  in.Type = TRawInput::Move;
  in.Pt = s.CursorPos;
  in.Time = static_cast<DWORD>(Now());
  QueueInput(in);
}

void CancelTracker() {
  TWindowSystem& s = Sys();
  if (!s.Tracker) return;
  std::unique_ptr<TTracker> t = std::move(s.Tracker);
  t->Cancel();
}

}  // namespace kvwin

using namespace kvwin;

bool TranslateMessage(const MSG* msg) {
  if (!msg) return false;
  if (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN) {
    return msg->message == WM_KEYUP || msg->message == WM_SYSKEYUP;
  }
  TWindowSystem& s = Sys();
  const auto& lk = s.LastKey;
  bool same = lk.Valid && lk.Msg.wParam == msg->wParam && lk.Msg.lParam == msg->lParam && lk.Msg.time == msg->time;
  bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
  bool ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
  bool alt = (GetKeyState(VK_MENU) & 0x8000) != 0;
  bool caps = (GetKeyState(VK_CAPITAL) & 1) != 0;
  WORD vk = static_cast<WORD>(msg->wParam);
  UINT charMsg = msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
  LPARAM l = msg->lParam;
  String chars = same ? lk.Chars : String();
  if (!chars.empty()) {
    for (size_t o = 0; o < chars.size(); o += utf8::CharBytes(chars, o))
      PostMessage(msg->hwnd, charMsg, utf8::Decode(chars, o), l);
    return true;
  }
  char32_t c = (same && lk.HostText) ? ControlChar(vk, ctrl, alt) : DefaultChar(vk, shift, ctrl, alt, caps);
  if (c) PostMessage(msg->hwnd, charMsg, c, l);
  return true;
}

int16_t GetKeyState(int vk) {
  TWindowSystem& s = Sys();
  uint8_t k = s.SyncKeys[vk & 0xFF];
  return static_cast<int16_t>(((k & 0x80) ? 0x8000 : 0) | (k & 1));
}

int16_t GetAsyncKeyState(int vk) {
  TWindowSystem& s = Sys();
  uint8_t k = s.AsyncKeys[vk & 0xFF];
  return static_cast<int16_t>(((k & 0x80) ? 0x8000 : 0) | (k & 1));
}

WPARAM GetMouseKeyFlags() { return MouseFlags(Sys().SyncKeys); }

bool GetCursorPos(TPoint* point) {
  if (!point) return false;
  *point = Sys().CursorPos;
  return true;
}

bool SetCursorPos(int x, int y) {
  RequireUIThread("SetCursorPos");
  BE().SetCursorPos({x, y});
  TRawInput in;
  in.Type = TRawInput::Move;
  in.Pt = {x, y};
  in.Time = static_cast<DWORD>(Now());
  QueueInput(in);
  return true;
}

bool TrackMouseEvent(TRACKMOUSEEVENT* track) {
  RequireUIThread("TrackMouseEvent");
  if (!track) return false;
  TWindowSystem& s = Sys();
  TMouseTrack& t = s.Track;
  if (track->dwFlags & TME_QUERY) {
    track->hwndTrack = t.Hwnd;
    track->dwFlags = t.Hwnd ? (t.Flags | (t.NonClient ? static_cast<DWORD>(TME_NONCLIENT) : 0u)) : 0u;
    track->dwHoverTime = t.HoverTime;
    return true;
  }
  TWnd* w = CheckHandle(track->hwndTrack);
  if (!w) return false;
  bool nc = (track->dwFlags & TME_NONCLIENT) != 0;
  DWORD kinds = track->dwFlags & (TME_LEAVE | TME_HOVER);
  if (track->dwFlags & TME_CANCEL) {
    if (t.Hwnd == w->Handle && t.NonClient == nc) {
      t.Flags &= ~kinds;
      if (kinds & TME_HOVER) CancelHover(t);
      if (!(t.Flags & (TME_LEAVE | TME_HOVER))) t.Hwnd = nullptr;
    }
    return true;
  }
  // Is the cursor where the request says? If not, the leave is due at once.
  LRESULT hit = HTNOWHERE;
  HWND under = WindowFromPointInternal(s.CursorPos, &hit, false);
  bool inside = under == w->Handle && (hit == HTCLIENT) != nc;
  if (!inside) {
    if (kinds & TME_LEAVE) PostLeave(w->Handle, nc);
    return true;
  }
  if (t.Hwnd != w->Handle || t.NonClient != nc) {
    CancelHover(t);
    t = TMouseTrack();
  }
  t.Hwnd = w->Handle;
  t.NonClient = nc;
  t.Flags |= kinds;
  if (kinds & TME_HOVER) {
    UINT def = 400;
    t.HoverTime = track->dwHoverTime == HOVER_DEFAULT || track->dwHoverTime == 0 ? def : track->dwHoverTime;
    ArmHover(s, s.CursorPos);
  }
  return true;
}

bool SwapMouseButton(bool swap) {
  TWindowSystem& s = Sys();
  bool old = s.SwapButtons;
  s.SwapButtons = swap;
  return old;
}

// ---- raw input from the back ends ---------------------------------------------------------------
void TBackendEvents::MouseMove(TPoint pt) {
  TRawInput in;
  in.Type = TRawInput::Move;
  in.Pt = pt;
  in.Time = static_cast<DWORD>(Now());
  QueueInput(in);
}

void TBackendEvents::MouseButton(WORD vk, bool down, TPoint pt) {
  TWindowSystem& s = Sys();
  if (s.SwapButtons) {
    if (vk == VK_LBUTTON) vk = VK_RBUTTON;
    else if (vk == VK_RBUTTON) vk = VK_LBUTTON;
  }
  TRawInput in;
  in.Type = TRawInput::Button;
  in.Vk = vk;
  in.Down = down;
  in.Pt = pt;
  in.Time = static_cast<DWORD>(Now());
  QueueInput(in);
}

void TBackendEvents::MouseWheel(int delta, bool horizontal, TPoint pt) {
  if (delta == 0) return;
  TRawInput in;
  in.Type = TRawInput::Wheel;
  in.Delta = std::clamp(delta, -32768, 32767);
  in.Horizontal = horizontal;
  in.Pt = pt;
  in.Time = static_cast<DWORD>(Now());
  QueueInput(in);
}

void TBackendEvents::Key(WORD vk, bool down, bool repeat, WORD scan, bool extended, const String& text,
                         bool textFromHost) {
  if (vk == 0 || vk > 0xFE) return;
  TRawInput in;
  in.Type = TRawInput::Key;
  in.Vk = vk;
  in.Down = down;
  in.Repeat = repeat && down;
  in.Scan = scan;
  in.Extended = extended;
  in.Chars = down && utf8::IsValid(text) ? text : String();
  in.HostText = textFromHost;
  in.Time = static_cast<DWORD>(Now());
  QueueInput(in);
}

void TBackendEvents::Text(const String& text) {
  if (text.empty() || !utf8::IsValid(text)) return;
  TRawInput in;
  in.Type = TRawInput::Text;
  in.Chars = text;
  in.Time = static_cast<DWORD>(Now());
  QueueInput(in);
}
