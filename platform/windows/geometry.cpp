// Geometry: frames and client areas, coordinate mapping, positioning and showing, z-order,
// the window under a point.
#include <algorithm>

#include "platform/windows/internal.h"
#include "platform/windows/paint.h"

namespace kvwin {

TWnd* TopOf(TWnd* w) {
  while (w->Parent) w = w->Parent;
  return w;
}

bool IsVisibleChain(const TWnd* w) {
  for (; w; w = w->Parent)
    if (!w->Visible()) return false;
  return true;
}

bool IsEnabledChain(const TWnd* w) {
  for (; w; w = w->Parent)
    if (!w->Enabled()) return false;
  return true;
}

bool IsAncestorOrSelf(const TWnd* ancestor, const TWnd* w) {
  for (; w; w = w->Parent)
    if (w == ancestor) return true;
  return false;
}

TPoint WindowOriginOnScreen(const TWnd* w) {
  TPoint p = w->Rect.TopLeft();
  for (const TWnd* a = w->Parent; a; a = a->Parent) p = p + a->Client.TopLeft() + a->Rect.TopLeft();
  return p;
}

TPoint ClientOriginOnScreen(const TWnd* w) { return WindowOriginOnScreen(w) + w->Client.TopLeft(); }

TRect WindowRectInTop(const TWnd* w) {
  if (w->IsTop()) return TRect(0, 0, w->Rect.Width(), w->Rect.Height());
  TPoint o = WindowOriginOnScreen(w) - WindowOriginOnScreen(TopOf(const_cast<TWnd*>(w)));
  return Bounds(o.X, o.Y, w->Rect.Width(), w->Rect.Height());
}

TRect ClientRectInTop(const TWnd* w) {
  TRect r = WindowRectInTop(w);
  return Bounds(r.Left + w->Client.Left, r.Top + w->Client.Top, w->Client.Width(), w->Client.Height());
}

bool HasCaption(DWORD style) { return (style & WS_CAPTION) == WS_CAPTION; }

TRect FrameInsets(DWORD style, DWORD exStyle, bool topLevel) {
  int f = 0;
  if (style & WS_THICKFRAME) f = GetSystemMetrics(SM_CXSIZEFRAME);
  else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) f = GetSystemMetrics(SM_CXFIXEDFRAME);
  else if (style & WS_BORDER) f = GetSystemMetrics(SM_CXBORDER);
  TRect r(f, f, f, f);
  // Child windows with WS_CAPTION get a caption too.
  (void)topLevel;
  if (HasCaption(style))
    r.Top += (exStyle & WS_EX_TOOLWINDOW) ? GetSystemMetrics(SM_CYSMCAPTION) : GetSystemMetrics(SM_CYCAPTION);
  return r;
}

TRect DefaultClientRect(DWORD style, DWORD exStyle, const TRect& wr, bool topLevel) {
  TRect ins = FrameInsets(style, exStyle, topLevel);
  TRect c(wr.Left + ins.Left, wr.Top + ins.Top, wr.Right - ins.Right, wr.Bottom - ins.Bottom);
  int edge = 0;
  if (exStyle & WS_EX_CLIENTEDGE) edge += GetSystemMetrics(SM_CXEDGE);
  if (exStyle & WS_EX_STATICEDGE) edge += GetSystemMetrics(SM_CXBORDER);
  c.Inflate(-edge, -edge);
  if ((style & WS_VSCROLL) && c.Width() >= GetSystemMetrics(SM_CXVSCROLL)) {
    if (exStyle & WS_EX_LEFTSCROLLBAR) c.Left += GetSystemMetrics(SM_CXVSCROLL);
    else c.Right -= GetSystemMetrics(SM_CXVSCROLL);
  }
  if ((style & WS_HSCROLL) && c.Height() >= GetSystemMetrics(SM_CYHSCROLL)) c.Bottom -= GetSystemMetrics(SM_CYHSCROLL);
  if (c.Right < c.Left) c.Right = c.Left;
  if (c.Bottom < c.Top) c.Bottom = c.Top;
  return c;
}

void RecalcClient(TWnd* w) {
  TRect proposed = w->Rect;
  TWndRef ref(w);
  Dispatch(w, WM_NCCALCSIZE, 0, reinterpret_cast<LPARAM>(&proposed));
  if (!ref.Alive()) return;
  TRect c = proposed.Offsetted(-w->Rect.Left, -w->Rect.Top);
  c.Left = std::clamp(c.Left, 0, w->Rect.Width());
  c.Top = std::clamp(c.Top, 0, w->Rect.Height());
  c.Right = std::clamp(c.Right, c.Left, w->Rect.Width());
  c.Bottom = std::clamp(c.Bottom, c.Top, w->Rect.Height());
  w->Client = c;
}

TRect ScreenRect() {
  TRect r;
  for (const TMonitorSpec& m : BE().Monitors()) UnionRect(r, r, m.Bounds);
  return r;
}

void ZOrderInsert(TWnd* w, HWND insertAfter) {
  TWindowSystem& s = Sys();
  auto& list = w->Parent ? w->Parent->Children : s.TopLevels;
  list.erase(std::remove(list.begin(), list.end(), w), list.end());
  bool top = w->IsTop();
  if (top && insertAfter == HWND_TOPMOST) w->ExStyle |= WS_EX_TOPMOST;
  if (top && insertAfter == HWND_NOTOPMOST) w->ExStyle &= ~WS_EX_TOPMOST;
  bool topmost = top && (w->ExStyle & WS_EX_TOPMOST);
  // Top-level windows keep two groups: the top-most ones first.
  auto groupBegin = list.begin();
  auto groupEnd = list.end();
  if (top) {
    auto firstNormal = std::find_if(list.begin(), list.end(), [](TWnd* t) { return !(t->ExStyle & WS_EX_TOPMOST); });
    if (topmost) groupEnd = firstNormal;
    else groupBegin = firstNormal;
  }
  auto pos = groupBegin;
  if (insertAfter == HWND_BOTTOM) pos = groupEnd;
  else if (insertAfter != HWND_TOP && insertAfter != HWND_TOPMOST && insertAfter != HWND_NOTOPMOST) {
    TWnd* after = FromHandle(insertAfter);
    auto it = after ? std::find(list.begin(), list.end(), after) : list.end();
    if (it != list.end()) pos = std::clamp(it + 1, groupBegin, groupEnd);
  }
  list.insert(pos, w);
  if (top) {
    // Owned windows stay in front of their owner.
    std::vector<TWnd*> owned;
    for (TWnd* t : list)
      if (t != w && t->Owner == w && !(t->Destroying)) owned.push_back(t);
    for (TWnd* o : owned) {
      auto ow = std::find(list.begin(), list.end(), o);
      auto me = std::find(list.begin(), list.end(), w);
      if (ow > me) {
        list.erase(ow);
        me = std::find(list.begin(), list.end(), w);
        list.insert(me, o);
      }
    }
    if (w->Top && w->Top->Host) w->Top->Host->SetTopMost(topmost);
  }
}

namespace {
bool CanActivate(const TWnd* w) {
  return w->IsTop() && w->Visible() && w->Enabled() && !(w->ExStyle & WS_EX_NOACTIVATE) && !w->Destroying;
}

void SendMoveSize(TWnd* w, bool moved, bool sized) {
  TWndRef ref(w);
  if (sized) {
    WPARAM kind = (w->Style & WS_MINIMIZE) ? SIZE_MINIMIZED : (w->Style & WS_MAXIMIZE) ? SIZE_MAXIMIZED : SIZE_RESTORED;
    Dispatch(w, WM_SIZE, kind, MAKELPARAM(w->Client.Width(), w->Client.Height()));
  }
  if (moved && ref.Alive()) Dispatch(w, WM_MOVE, 0, PointToLParam(w->Rect.TopLeft() + w->Client.TopLeft()));
}
}  // namespace

bool SetWindowPosInternal(TWnd* w, HWND insertAfter, int x, int y, int cx, int cy, UINT flags, bool fromHost) {
  TWindowSystem& s = Sys();
  TWndRef ref(w);
  if (w->Visible() && (flags & SWP_SHOWWINDOW)) flags &= ~SWP_SHOWWINDOW;
  if (!w->Visible() && (flags & SWP_HIDEWINDOW)) flags &= ~SWP_HIDEWINDOW;
  if (flags & SWP_NOSIZE) {
    cx = w->Rect.Width();
    cy = w->Rect.Height();
  }
  if (flags & SWP_NOMOVE) {
    x = w->Rect.Left;
    y = w->Rect.Top;
  }
  cx = std::max(cx, 0);
  cy = std::max(cy, 0);
  WINDOWPOS wp{w->Handle, insertAfter, x, y, cx, cy, flags};
  if (!(flags & SWP_NOSENDCHANGING)) {
    Dispatch(w, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
    if (!ref.Alive()) return false;
    flags = wp.flags;
    x = wp.x;
    y = wp.y;
    cx = std::max(wp.cx, 0);
    cy = std::max(wp.cy, 0);
    insertAfter = wp.hwndInsertAfter;
  }
  TRect oldRect = w->Rect;
  TRect oldClient = w->Client;
  TRect oldInParent = w->Rect;  // for the area uncovered in the parent
  bool wasVisible = w->Visible() && IsVisibleChain(w);
  TRect newRect = Bounds(x, y, cx, cy);
  bool moved = newRect.TopLeft() != oldRect.TopLeft();
  bool sized = newRect.Size() != oldRect.Size();

  // Client area.
  if (sized || (flags & SWP_FRAMECHANGED)) {
    NCCALCSIZE_PARAMS p;
    p.rgrc[0] = newRect;
    p.rgrc[1] = oldRect;
    p.rgrc[2] = oldClient.Offsetted(oldRect.Left, oldRect.Top);
    p.lppos = &wp;
    Dispatch(w, WM_NCCALCSIZE, 1, reinterpret_cast<LPARAM>(&p));
    if (!ref.Alive()) return false;
    TRect c = p.rgrc[0].Offsetted(-newRect.Left, -newRect.Top);
    c.Left = std::clamp(c.Left, 0, cx);
    c.Top = std::clamp(c.Top, 0, cy);
    c.Right = std::clamp(c.Right, c.Left, cx);
    c.Bottom = std::clamp(c.Bottom, c.Top, cy);
    w->Client = c;
  }
  bool clientMoved = w->Client.TopLeft() != oldClient.TopLeft();
  w->Rect = newRect;
  if (!(w->Style & (WS_MINIMIZE | WS_MAXIMIZE))) w->NormalRect = newRect;
  if (!(flags & SWP_NOZORDER)) ZOrderInsert(w, insertAfter);
  if (flags & SWP_SHOWWINDOW) w->Style |= WS_VISIBLE;
  if (flags & SWP_HIDEWINDOW) w->Style &= ~WS_VISIBLE;
  bool nowVisible = IsVisibleChain(w);

  // Pixels: the uncovered area of the parent, and the window at its new place.
  if (w->IsChild()) {
    if (wasVisible && (!nowVisible || moved || sized)) ExposeParentArea(w, oldInParent);
  }
  if (w->IsTop() && (sized || !w->Top->Buffer)) ResizeBackBuffer(w);
  if (nowVisible && !(flags & SWP_NOREDRAW)) {
    UINT cls = w->Class ? w->Class->Style : 0;
    bool whole = !wasVisible || moved || (flags & SWP_FRAMECHANGED) || clientMoved ||
                 (w->IsTop() && sized) ||
                 (sized && ((cls & CS_HREDRAW) && newRect.Width() != oldRect.Width())) ||
                 (sized && ((cls & CS_VREDRAW) && newRect.Height() != oldRect.Height()));
    TRegion inv;
    if (whole) inv = TRegion(TRect(0, 0, cx, cy));
    else if (sized) {
      // Only what is new, and the frame, which moved with the edges.
      inv = TRegion(TRect(0, 0, cx, cy));
      inv.Subtract(oldClient.Intersect(w->Client));
    }
    if (!inv.IsEmpty()) InvalidateInternal(w, inv, true, true, RDW_ALLCHILDREN);
  }
  if (w->IsTop()) UpdateHost(w);

  // Focus and activation follow visibility.
  if ((flags & SWP_HIDEWINDOW) && ref.Alive()) {
    FocusLeavingTree(w);
    CaptureLeavingTree(w);
    if (w->IsTop() && s.Active == w) ActivationLeaving(w);
  }
  if (ref.Alive() && w->IsTop() && !(flags & SWP_NOACTIVATE) && !fromHost && CanActivate(w) && s.Active != w)
    ActivateInternal(w, WA_ACTIVE);

  if (!ref.Alive()) return false;
  wp.flags = flags;
  wp.x = w->Rect.Left;
  wp.y = w->Rect.Top;
  wp.cx = w->Rect.Width();
  wp.cy = w->Rect.Height();
  if (!moved) wp.flags |= SWP_NOMOVE;
  if (!sized) wp.flags |= SWP_NOSIZE;
  Dispatch(w, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
  if (ref.Alive() && (moved || sized || (flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)) || !(flags & SWP_NOZORDER)))
    SynthesizeMouseMove();
  return ref.Alive();
}

LRESULT DefaultWindowPosChanged(TWnd* w, const WINDOWPOS* wp) {
  SendMoveSize(w, !(wp->flags & SWP_NOMOVE), !(wp->flags & SWP_NOSIZE));
  return 0;
}

namespace {
bool HitTestable(const TWnd* w) { return w->Visible() && w->Enabled(); }

// The deepest visible, enabled child of w under a point (w's client coordinates), or w.
TWnd* DescendAt(TWnd* w, TPoint clientPt, const TWnd* skip) {
  for (TWnd* c : w->Children) {
    if (c == skip || !HitTestable(c) || !c->Rect.Contains(clientPt)) continue;
    if (c->ExStyle & WS_EX_TRANSPARENT) continue;
    TPoint inChild = clientPt - c->Rect.TopLeft();
    if (c->Client.Contains(inChild)) return DescendAt(c, inChild - c->Client.TopLeft(), skip);
    return c;
  }
  return w;
}
}  // namespace

HWND WindowFromPointInternal(TPoint pt, LRESULT* hitOut, bool sendHitTest) {
  TWindowSystem& s = Sys();
  std::vector<TWnd*> skipped;
  for (size_t i = 0; i < s.TopLevels.size(); ++i) {
    TWnd* t = s.TopLevels[i];
    if (!t->Visible() || t->Destroying || !t->Rect.Contains(pt)) continue;
    if (std::find(skipped.begin(), skipped.end(), t) != skipped.end()) continue;
    if (!t->Enabled()) {
      if (hitOut) *hitOut = HTERROR;
      return t->Handle;
    }
    // Walk down, then back up past windows that answer HTTRANSPARENT.
    TWnd* found = t;
    TPoint local = pt - t->Rect.TopLeft();
    if (t->Client.Contains(local)) found = DescendAt(t, local - t->Client.TopLeft(), nullptr);
    while (true) {
      LRESULT hit = HTCLIENT;
      if (sendHitTest) {
        TWndRef ref(found);
        hit = Dispatch(found, WM_NCHITTEST, 0, PointToLParam(pt));
        if (!ref.Alive()) return nullptr;
      } else {
        TPoint inWin = pt - WindowOriginOnScreen(found);
        hit = found->Client.Contains(inWin) ? HTCLIENT : HTBORDER;
      }
      if (hit != HTTRANSPARENT) {
        if (hitOut) *hitOut = hit;
        return found->Handle;
      }
      // Look at what lies behind: the siblings below, else the parent.
      TWnd* parent = found->Parent;
      if (!parent) {
        skipped.push_back(found);
        break;
      }
      TPoint inParentClient = pt - ClientOriginOnScreen(parent);
      auto& sib = parent->Children;
      auto it = std::find(sib.begin(), sib.end(), found);
      TWnd* next = nullptr;
      for (++it; it != sib.end(); ++it)
        if (HitTestable(*it) && (*it)->Rect.Contains(inParentClient) && !((*it)->ExStyle & WS_EX_TRANSPARENT)) {
          next = *it;
          break;
        }
      if (next) {
        TPoint inChild = inParentClient - next->Rect.TopLeft();
        found = next->Client.Contains(inChild) ? DescendAt(next, inChild - next->Client.TopLeft(), nullptr) : next;
      } else {
        found = parent;
      }
    }
  }
  if (hitOut) *hitOut = HTNOWHERE;
  return nullptr;
}

}  // namespace kvwin

using namespace kvwin;

bool GetWindowRect(HWND hwnd, TRect* rect) {
  RequireUIThread("GetWindowRect");
  if (IsDesktop(hwnd)) {
    if (rect) *rect = ScreenRect();
    return true;
  }
  TWnd* w = CheckHandle(hwnd);
  if (!w || !rect) return false;
  TPoint o = WindowOriginOnScreen(w);
  *rect = Bounds(o.X, o.Y, w->Rect.Width(), w->Rect.Height());
  return true;
}

bool GetClientRect(HWND hwnd, TRect* rect) {
  RequireUIThread("GetClientRect");
  if (IsDesktop(hwnd)) {
    TRect r = ScreenRect();
    if (rect) *rect = TRect(0, 0, r.Width(), r.Height());
    return true;
  }
  TWnd* w = CheckHandle(hwnd);
  if (!w || !rect) return false;
  *rect = TRect(0, 0, w->Client.Width(), w->Client.Height());
  return true;
}

bool ClientToScreen(HWND hwnd, TPoint* point) {
  RequireUIThread("ClientToScreen");
  TWnd* w = CheckHandle(hwnd);
  if (!w || !point) return false;
  *point = *point + ClientOriginOnScreen(w);
  return true;
}

bool ScreenToClient(HWND hwnd, TPoint* point) {
  RequireUIThread("ScreenToClient");
  TWnd* w = CheckHandle(hwnd);
  if (!w || !point) return false;
  *point = *point - ClientOriginOnScreen(w);
  return true;
}

int MapWindowPoints(HWND from, HWND to, TPoint* points, unsigned count) {
  RequireUIThread("MapWindowPoints");
  TPoint a, b;
  if (from && !IsDesktop(from)) {
    TWnd* w = CheckHandle(from);
    if (!w) return 0;
    a = ClientOriginOnScreen(w);
  }
  if (to && !IsDesktop(to)) {
    TWnd* w = CheckHandle(to);
    if (!w) return 0;
    b = ClientOriginOnScreen(w);
  }
  TPoint d = a - b;
  for (unsigned i = 0; i < count; ++i) points[i] = points[i] + d;
  SetLastError(ERROR_SUCCESS);
  return static_cast<int>(MAKELONG(static_cast<unsigned>(d.X), static_cast<unsigned>(d.Y)));
}

bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  RequireUIThread("SetWindowPos");
  TWnd* w = CheckHandle(hwnd);
  if (!w) return false;
  if (w->Destroying && (flags & SWP_SHOWWINDOW)) return false;
  if (insertAfter == w->Handle) flags |= SWP_NOZORDER;
  return SetWindowPosInternal(w, insertAfter, x, y, cx, cy, flags);
}

bool MoveWindow(HWND hwnd, int x, int y, int width, int height, bool repaint) {
  return SetWindowPos(hwnd, nullptr, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0u : static_cast<UINT>(SWP_NOREDRAW)));
}

bool BringWindowToTop(HWND hwnd) {
  return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

bool ShowWindow(HWND hwnd, int cmd) {
  RequireUIThread("ShowWindow");
  TWnd* w = CheckHandle(hwnd);
  if (!w) return false;
  bool wasVisible = w->Visible();
  TWndRef ref(w);
  UINT flags = SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE;
  TRect target = w->Rect;
  bool show = cmd != SW_HIDE;
  if (w->Destroying && show) return wasVisible;
  switch (cmd) {
    case SW_HIDE: flags |= SWP_HIDEWINDOW | SWP_NOACTIVATE; break;
    case SW_SHOWNA:
    case SW_SHOWNOACTIVATE: flags |= SWP_SHOWWINDOW | SWP_NOACTIVATE; break;
    case SW_SHOWMAXIMIZED:
      if (w->IsTop()) {
        if (!(w->Style & (WS_MAXIMIZE | WS_MINIMIZE))) w->NormalRect = w->Rect;
        w->Style = (w->Style | WS_MAXIMIZE) & ~WS_MINIMIZE;
        MONITORINFO mi;
        GetMonitorInfo(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &mi);
        target = mi.rcWork;
        flags &= ~(SWP_NOMOVE | SWP_NOSIZE);
        flags |= SWP_FRAMECHANGED;
      }
      flags |= SWP_SHOWWINDOW;
      break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
      if (!(w->Style & (WS_MAXIMIZE | WS_MINIMIZE))) w->NormalRect = w->Rect;
      w->Style = (w->Style | WS_MINIMIZE) & ~WS_MAXIMIZE;
      flags |= SWP_SHOWWINDOW | SWP_NOACTIVATE;
      if (w->IsTop() && Sys().Active == w) ActivationLeaving(w);
      break;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
    case SW_SHOWDEFAULT:
      if (w->Style & (WS_MAXIMIZE | WS_MINIMIZE)) {
        w->Style &= ~(WS_MAXIMIZE | WS_MINIMIZE);
        target = w->NormalRect;
        flags &= ~(SWP_NOMOVE | SWP_NOSIZE);
        flags |= SWP_FRAMECHANGED;
      }
      flags |= SWP_SHOWWINDOW;
      break;
    default: flags |= SWP_SHOWWINDOW; break;
  }
  if (show != wasVisible) {
    Dispatch(w, WM_SHOWWINDOW, show ? 1 : 0, 0);
    if (!ref.Alive()) return wasVisible;
  }
  if (w->IsChild()) flags |= SWP_NOACTIVATE;
  SetWindowPosInternal(w, nullptr, target.Left, target.Top, target.Width(), target.Height(), flags);
  return wasVisible;
}

bool GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* placement) {
  RequireUIThread("GetWindowPlacement");
  TWnd* w = CheckHandle(hwnd);
  if (!w || !placement) return false;
  placement->showCmd = !w->Visible() ? SW_HIDE : (w->Style & WS_MINIMIZE) ? SW_SHOWMINIMIZED
                                                : (w->Style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
  placement->rcNormalPosition = w->NormalRect;
  return true;
}

struct HDWP__ {
  std::vector<WINDOWPOS> Items;
};

HDWP BeginDeferWindowPos(int count) {
  if (count < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto* d = new HDWP__();
  d->Items.reserve(static_cast<size_t>(count));
  return d;
}

HDWP DeferWindowPos(HDWP info, HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  if (!info) return nullptr;
  if (!IsWindow(hwnd)) {
    // The whole batch fails, as its result would be unpredictable.
    delete info;
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  info->Items.push_back({hwnd, insertAfter, x, y, cx, cy, flags});
  return info;
}

bool EndDeferWindowPos(HDWP info) {
  if (!info) return false;
  std::unique_ptr<HDWP__> d(info);
  bool ok = true;
  for (const WINDOWPOS& p : d->Items)
    if (IsWindow(p.hwnd)) ok = SetWindowPos(p.hwnd, p.hwndInsertAfter, p.x, p.y, p.cx, p.cy, p.flags) && ok;
  return ok;
}

bool AdjustWindowRectEx(TRect* rect, DWORD style, bool menu, DWORD exStyle) {
  if (!rect) return false;
  // The client inset of a window with these styles, measured on a large rectangle.
  TRect big(0, 0, 10000, 10000);
  TRect c = DefaultClientRect(style & ~(WS_VSCROLL | WS_HSCROLL), exStyle, big, !(style & WS_CHILD));
  rect->Left -= c.Left;
  rect->Top -= c.Top + (menu ? GetSystemMetrics(SM_CYMENU) : 0);
  rect->Right += big.Right - c.Right;
  rect->Bottom += big.Bottom - c.Bottom;
  return true;
}

HWND WindowFromPoint(TPoint screenPoint) {
  RequireUIThread("WindowFromPoint");
  LRESULT hit;
  HWND h = WindowFromPointInternal(screenPoint, &hit, true);
  return hit == HTERROR ? nullptr : h;
}

HWND ChildWindowFromPointEx(HWND parent, TPoint pt, UINT flags) {
  RequireUIThread("ChildWindowFromPointEx");
  TWnd* p = CheckHandle(parent);
  if (!p) return nullptr;
  if (!TRect(0, 0, p->Client.Width(), p->Client.Height()).Contains(pt)) return nullptr;
  for (TWnd* c : p->Children) {
    if ((flags & CWP_SKIPINVISIBLE) && !c->Visible()) continue;
    if ((flags & CWP_SKIPDISABLED) && !c->Enabled()) continue;
    if ((flags & CWP_SKIPTRANSPARENT) && (c->ExStyle & WS_EX_TRANSPARENT)) continue;
    if (c->Rect.Contains(pt)) return c->Handle;
  }
  return parent;
}

HWND ChildWindowFromPoint(HWND parent, TPoint pt) { return ChildWindowFromPointEx(parent, pt, CWP_ALL); }

// ---- screen -------------------------------------------------------------------------------
int GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXSCREEN:
    case SM_CYSCREEN: {
      auto mons = BE().Monitors();
      if (mons.empty()) return 0;
      return index == SM_CXSCREEN ? mons[0].Bounds.Width() : mons[0].Bounds.Height();
    }
    case SM_XVIRTUALSCREEN: return ScreenRect().Left;
    case SM_YVIRTUALSCREEN: return ScreenRect().Top;
    case SM_CXVIRTUALSCREEN: return ScreenRect().Width();
    case SM_CYVIRTUALSCREEN: return ScreenRect().Height();
    case SM_CMONITORS: return static_cast<int>(BE().Monitors().size());
    case SM_CXFULLSCREEN:
    case SM_CYFULLSCREEN: {
      TRect work;
      SystemParametersInfo(SPI_GETWORKAREA, 0, &work);
      return index == SM_CXFULLSCREEN ? work.Width() : work.Height() - GetSystemMetrics(SM_CYCAPTION);
    }
    case SM_CXMAXIMIZED:
    case SM_CYMAXIMIZED: {
      TRect work;
      SystemParametersInfo(SPI_GETWORKAREA, 0, &work);
      return index == SM_CXMAXIMIZED ? work.Width() : work.Height();
    }
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB: return 17;
    case SM_CYCAPTION: return 23;
    case SM_CYSMCAPTION: return 17;
    case SM_CXBORDER:
    case SM_CYBORDER:
    case SM_CXFOCUSBORDER:
    case SM_CYFOCUSBORDER: return 1;
    case SM_CXEDGE:
    case SM_CYEDGE: return 2;
    case SM_CXFIXEDFRAME:
    case SM_CYFIXEDFRAME: return 3;
    case SM_CXSIZEFRAME:
    case SM_CYSIZEFRAME: return 4;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR: return 32;
    case SM_CXSMICON:
    case SM_CYSMICON: return 16;
    case SM_CYMENU: return 20;
    case SM_CXSIZE:
    case SM_CYSIZE: return 22;
    case SM_CXMIN: return 112;
    case SM_CYMIN: return 27;
    case SM_CXMINTRACK: return 112;
    case SM_CYMINTRACK: return 27;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
    case SM_CXDRAG:
    case SM_CYDRAG: return 4;
    case SM_MOUSEPRESENT:
    case SM_MOUSEWHEELPRESENT: return 1;
    case SM_SWAPBUTTON: return Sys().SwapButtons ? 1 : 0;
    default: return 0;
  }
}

bool SystemParametersInfo(UINT action, UINT, void* param, UINT) {
  if (!param) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  switch (action) {
    case SPI_GETWORKAREA: {
      auto mons = BE().Monitors();
      *static_cast<TRect*>(param) = mons.empty() ? TRect() : mons[0].WorkArea;
      return true;
    }
    case SPI_GETWHEELSCROLLLINES:
    case SPI_GETWHEELSCROLLCHARS: *static_cast<UINT*>(param) = 3; return true;
    case SPI_GETMOUSEHOVERTIME: *static_cast<UINT*>(param) = 400; return true;
    case SPI_GETDRAGFULLWINDOWS: *static_cast<bool*>(param) = true; return true;
    case SPI_GETKEYBOARDDELAY: *static_cast<int*>(param) = 1; return true;
    case SPI_GETKEYBOARDSPEED: *static_cast<int*>(param) = 31; return true;
    default: SetLastError(ERROR_NOT_SUPPORTED); return false;
  }
}

// Monitor handles are their index + 1.
namespace {
HMONITOR MonitorHandle(size_t index) { return reinterpret_cast<HMONITOR>(index + 1); }

int64_t DistanceSquared(const TRect& r, TPoint p) {
  int64_t dx = p.X < r.Left ? r.Left - p.X : p.X >= r.Right ? p.X - r.Right + 1 : 0;
  int64_t dy = p.Y < r.Top ? r.Top - p.Y : p.Y >= r.Bottom ? p.Y - r.Bottom + 1 : 0;
  return dx * dx + dy * dy;
}

HMONITOR Fallback(const std::vector<TMonitorSpec>& mons, DWORD flags, TPoint centre) {
  if (mons.empty() || flags == MONITOR_DEFAULTTONULL) return nullptr;
  if (flags == MONITOR_DEFAULTTOPRIMARY) return MonitorHandle(0);
  size_t best = 0;
  for (size_t i = 1; i < mons.size(); ++i)
    if (DistanceSquared(mons[i].Bounds, centre) < DistanceSquared(mons[best].Bounds, centre)) best = i;
  return MonitorHandle(best);
}
}  // namespace

HMONITOR MonitorFromPoint(TPoint point, DWORD flags) {
  auto mons = BE().Monitors();
  for (size_t i = 0; i < mons.size(); ++i)
    if (mons[i].Bounds.Contains(point)) return MonitorHandle(i);
  return Fallback(mons, flags, point);
}

HMONITOR MonitorFromRect(const TRect& rect, DWORD flags) {
  auto mons = BE().Monitors();
  int64_t bestArea = 0;
  HMONITOR best = nullptr;
  for (size_t i = 0; i < mons.size(); ++i) {
    TRect x = mons[i].Bounds.Intersect(rect);
    int64_t area = int64_t(x.Width()) * x.Height();
    if (area > bestArea) {
      bestArea = area;
      best = MonitorHandle(i);
    }
  }
  return best ? best : Fallback(mons, flags, rect.CenterPoint());
}

HMONITOR MonitorFromWindow(HWND hwnd, DWORD flags) {
  TRect r;
  if (!GetWindowRect(hwnd, &r)) return flags == MONITOR_DEFAULTTONULL ? nullptr : MonitorFromPoint({0, 0}, flags);
  if (r.IsEmpty()) return MonitorFromPoint(r.TopLeft(), flags);
  return MonitorFromRect(r, flags);
}

bool GetMonitorInfo(HMONITOR monitor, MONITORINFO* info) {
  auto mons = BE().Monitors();
  uintptr_t i = reinterpret_cast<uintptr_t>(monitor);
  if (!info || i == 0 || i > mons.size()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  info->rcMonitor = mons[i - 1].Bounds;
  info->rcWork = mons[i - 1].WorkArea;
  info->dwFlags = i == 1 ? static_cast<DWORD>(MONITORINFOF_PRIMARY) : 0u;
  return true;
}

std::vector<HMONITOR> EnumDisplayMonitors() {
  std::vector<HMONITOR> out;
  size_t n = BE().Monitors().size();
  for (size_t i = 0; i < n; ++i) out.push_back(MonitorHandle(i));
  return out;
}
