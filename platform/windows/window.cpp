// Creating and destroying windows, window data, text, properties and the window tree.
#include <algorithm>
#include <cstring>

#include "platform/windows/internal.h"
#include "platform/windows/paint.h"

namespace kvwin {
TWndClass* FindClass(const char* name);

LRESULT Dispatch(TWnd* w, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!w || w->Dead) return 0;
  TWndRef ref(w);
  return CallWindowProc(w->Proc, w->Handle, msg, wParam, lParam);
}

namespace {
void NotifyParents(TWnd* child, UINT event, LPARAM lParam) {
  // WM_PARENTNOTIFY climbs while the window it comes from does not refuse it.
  for (TWnd* w = child; w->Parent && !(w->ExStyle & WS_EX_NOPARENTNOTIFY); w = w->Parent) {
    TWndRef ref(w->Parent);
    Dispatch(w->Parent, WM_PARENTNOTIFY, MAKEWPARAM(event, static_cast<unsigned>(child->Id)), lParam);
    if (!ref.Alive()) break;
  }
}

void UnlinkFromParent(TWnd* w) {
  TWindowSystem& s = Sys();
  auto& list = w->Parent ? w->Parent->Children : s.TopLevels;
  list.erase(std::remove(list.begin(), list.end(), w), list.end());
}

void DestroyTree(TWnd* w);

void SendDestroyMessages(TWnd* w) {
  // WM_DESTROY goes to a window before its children; they still exist while it is handled.
  TWndRef ref(w);
  Dispatch(w, WM_DESTROY, 0, 0);
  std::vector<TWnd*> children = w->Children;
  for (TWnd* c : children)
    if (!c->Dead && !c->Destroying) {
      c->Destroying = true;
      SendDestroyMessages(c);
    }
}

void FinishDestroy(TWnd* w) {
  TWindowSystem& s = Sys();
  TWndRef ref(w);
  // Children go completely before their parent.
  while (!w->Children.empty()) {
    TWnd* c = w->Children.front();
    FinishDestroy(c);
  }
  Dispatch(w, WM_NCDESTROY, 0, 0);
  KillWindowTimers(w->Handle);
  CaretWindowGone(w);
  InputWindowGone(w);
  PaintForgetWindow(w);
  if (s.Focus == w) s.Focus = nullptr;
  if (s.Active == w) s.Active = nullptr;
  if (s.Capture == w) s.Capture = nullptr;
  for (TWnd* t : s.TopLevels)
    if (t->Owner == w) t->Owner = nullptr;
  UnlinkFromParent(w);
  w->Parent = nullptr;
  DestroyHost(w);
  if (w->Class) --w->Class->WindowCount;
  HWND handle = w->Handle;
  ReleaseHandle(w);
  // After the handle is dead: a sender on another thread checks it under the queue's lock, so
  // it either queued before this (and is answered 0 here) or sees the window gone.
  ForgetWindowMessages(handle);
}

void DestroyTree(TWnd* w) {
  TWindowSystem& s = Sys();
  TWndRef ref(w);
  w->Destroying = true;
  // Hide first: the area shows what lies behind, focus, activation and capture move away.
  if (w->Visible())
    SetWindowPosInternal(w, nullptr, 0, 0, 0, 0,
                         SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  FocusLeavingTree(w);
  CaptureLeavingTree(w);
  if (w->IsTop()) {
    if (s.Active == w) ActivationLeaving(w);
    // Owned windows go first.
    std::vector<TWnd*> owned;
    for (TWnd* t : s.TopLevels)
      if (t->Owner == w && !t->Destroying) owned.push_back(t);
    for (TWnd* t : owned)
      if (!t->Dead && !t->Destroying) DestroyTree(t);
  }
  if (w->Dead) return;
  // The ancestors hear of a child going (children destroyed along with a parent do not).
  if (w->Parent) NotifyParents(w, WM_DESTROY, reinterpret_cast<LPARAM>(w->Handle));
  if (w->Dead) return;
  SendDestroyMessages(w);
  if (w->Dead) return;
  FinishDestroy(w);
  SynthesizeMouseMove();
}

LONG_PTR* ExtraSlot(TWnd* w, int index) {
  if (index < 0 || static_cast<size_t>(index) + sizeof(LONG_PTR) > w->Extra.size()) return nullptr;
  return reinterpret_cast<LONG_PTR*>(w->Extra.data() + index);
}

void SetStyleBits(TWnd* w, int index, DWORD value) {
  STYLESTRUCT ss{index == GWL_STYLE ? w->Style : w->ExStyle, value};
  TWndRef ref(w);
  Dispatch(w, WM_STYLECHANGING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
  if (!ref.Alive()) return;
  DWORD old = index == GWL_STYLE ? w->Style : w->ExStyle;
  DWORD now = ss.styleNew;
  if (index == GWL_STYLE) {
    // A window keeps what it is: WS_CHILD follows its place in the tree.
    now = (now & ~WS_CHILD) | (w->Style & WS_CHILD);
    w->Style = now;
    if ((old ^ now) & WS_DISABLED) {
      if (now & WS_DISABLED) {
        FocusLeavingTree(w);
        CaptureLeavingTree(w);
      }
    }
  } else {
    w->ExStyle = now;
    if (w->IsTop() && w->Top && w->Top->Host && ((old ^ now) & WS_EX_TOPMOST))
      w->Top->Host->SetTopMost((now & WS_EX_TOPMOST) != 0);
  }
  ss.styleOld = old;
  ss.styleNew = now;
  Dispatch(w, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
}

TWnd* ResolveParent(HWND hwnd, bool* ok) {
  *ok = true;
  if (!hwnd || IsDesktop(hwnd)) return nullptr;
  TWnd* p = CheckHandle(hwnd);
  if (!p) *ok = false;
  return p;
}
}  // namespace
}  // namespace kvwin

using namespace kvwin;

HWND CreateWindowEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                    int x, int y, int width, int height, HWND parent, HMENU menuOrId,
                    HINSTANCE instance, void* param) {
  RequireUIThread("CreateWindowEx");
  TWindowSystem& s = Sys();
  TWndClass* cls = FindClass(className);
  if (!cls) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  if (parent == HWND_MESSAGE) parent = nullptr;
  bool ok;
  TWnd* parentWnd = ResolveParent(parent, &ok);
  if (!ok) return nullptr;
  if ((style & WS_CHILD) && !parentWnd) {
    SetLastError(ERROR_TLW_WITH_WSCHILD);
    return nullptr;
  }
  if (parentWnd && parentWnd->Destroying) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if (width < 0 && width != CW_USEDEFAULT) width = 0;
  if (height < 0 && height != CW_USEDEFAULT) height = 0;

  auto* w = new TWnd();
  w->Class = cls;
  w->Proc = cls->Proc;
  w->Instance = instance;
  w->ExStyle = exStyle;
  // A window starts hidden; WS_VISIBLE is applied by showing it at the end.
  bool visible = (style & WS_VISIBLE) != 0;
  w->Style = style & ~WS_VISIBLE;
  if (style & WS_CHILD) {
    w->Parent = parentWnd;
    w->Id = reinterpret_cast<LONG_PTR>(menuOrId);
    // Pop-ups and overlapped windows are top-level, owned by the given window's top-level.
  } else {
    if (parentWnd) w->Owner = TopOf(parentWnd);
  }
  w->Extra.assign(static_cast<size_t>(cls->WndExtra), 0);
  w->Text = windowName ? windowName : "";

  if (!w->Parent) {
    // Default placement of overlapped windows: cascade from the work area's corner.
    TRect work;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &work);
    if (x == CW_USEDEFAULT) {
      x = work.Left + 26;
      y = work.Top + 26;
    }
    if (width == CW_USEDEFAULT) {
      width = std::max(work.Width() * 3 / 4, 100);
      height = std::max(work.Height() * 3 / 4, 100);
    }
  } else {
    if (x == CW_USEDEFAULT) x = y = 0;
    if (width == CW_USEDEFAULT) width = height = 0;
  }
  if (height == CW_USEDEFAULT) height = 0;
  w->Rect = Bounds(x, y, width, height);
  w->NormalRect = w->Rect;
  w->Client = TRect(0, 0, width, height);

  AllocateHandle(w);
  ++cls->WindowCount;
  if (w->Parent) w->Parent->Children.insert(w->Parent->Children.begin(), w);
  else {
    // New top-level windows go on top of their group (top-most ones or the others).
    auto& list = s.TopLevels;
    auto pos = list.begin();
    if (!(w->ExStyle & WS_EX_TOPMOST))
      while (pos != list.end() && ((*pos)->ExStyle & WS_EX_TOPMOST)) ++pos;
    list.insert(pos, w);
    w->Top = std::make_unique<TTopLevel>();
  }
  HWND hwnd = w->Handle;
  TWndRef ref(w);

  CREATESTRUCT cs;
  cs.lpCreateParams = param;
  cs.hInstance = instance;
  cs.hMenu = menuOrId;
  cs.hwndParent = parent;
  cs.x = x;
  cs.y = y;
  cs.cx = width;
  cs.cy = height;
  cs.style = style;
  cs.lpszName = windowName;
  cs.lpszClass = className;
  cs.dwExStyle = exStyle;

  if (w->IsTop()) {
    MINMAXINFO mmi;
    TRect work;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &work);
    mmi.ptMaxSize = {work.Width(), work.Height()};
    mmi.ptMaxPosition = work.TopLeft();
    mmi.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    mmi.ptMaxTrackSize = {GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    Dispatch(w, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    if (!ref.Alive()) return nullptr;
  }
  bool created = Dispatch(w, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs)) != 0;
  if (!ref.Alive()) return nullptr;
  w->Created = true;
  if (!created) {
    FinishDestroy(w);
    return nullptr;
  }
  RecalcClient(w);
  if (!ref.Alive()) return nullptr;
  if (Dispatch(w, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    if (ref.Alive()) DestroyWindow(hwnd);
    return nullptr;
  }
  if (!ref.Alive()) return nullptr;
  if (w->Parent) NotifyParents(w, WM_CREATE, reinterpret_cast<LPARAM>(hwnd));
  if (!ref.Alive()) return nullptr;
  Dispatch(w, WM_SIZE, SIZE_RESTORED, MAKELPARAM(w->Client.Width(), w->Client.Height()));
  if (!ref.Alive()) return nullptr;
  TPoint origin = w->Client.TopLeft() + w->Rect.TopLeft();
  Dispatch(w, WM_MOVE, 0, PointToLParam(origin));
  if (!ref.Alive()) return nullptr;
  if (visible) {
    int cmd = SW_SHOW;
    if (w->IsTop() && ((w->ExStyle & WS_EX_NOACTIVATE) || (w->Style & WS_DISABLED))) cmd = SW_SHOWNA;
    if (style & WS_MAXIMIZE) cmd = SW_SHOWMAXIMIZED;
    ShowWindow(hwnd, cmd);
  }
  return ref.Alive() ? hwnd : nullptr;
}

bool DestroyWindow(HWND hwnd) {
  RequireUIThread("DestroyWindow");
  TWnd* w = CheckHandle(hwnd);
  if (!w) return false;
  if (w->Destroying) return true;  // already on its way
  DestroyTree(w);
  return true;
}

bool IsWindow(HWND hwnd) {
  if (OnUIThread()) return FromHandle(hwnd) != nullptr;
  return IsLiveHandle(hwnd);
}

LONG_PTR GetWindowLongPtr(HWND hwnd, int index) {
  RequireUIThread("GetWindowLongPtr");
  TWnd* w = CheckHandle(hwnd);
  if (!w) return 0;
  switch (index) {
    case GWL_WNDPROC: return reinterpret_cast<LONG_PTR>(w->Proc);
    case GWL_STYLE: return static_cast<LONG_PTR>(w->Style);
    case GWL_EXSTYLE: return static_cast<LONG_PTR>(w->ExStyle);
    case GWLP_USERDATA: return w->UserData;
    case GWLP_ID: return w->Id;
    case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(w->Instance);
    case GWLP_HWNDPARENT:
      return reinterpret_cast<LONG_PTR>(w->Parent ? w->Parent->Handle : w->Owner ? w->Owner->Handle : nullptr);
    default:
      if (LONG_PTR* p = ExtraSlot(w, index)) return *p;
      SetLastError(ERROR_INVALID_INDEX);
      return 0;
  }
}

LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value) {
  RequireUIThread("SetWindowLongPtr");
  TWnd* w = CheckHandle(hwnd);
  if (!w) return 0;
  LONG_PTR old;
  switch (index) {
    case GWL_WNDPROC:
      if (!value) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
      }
      old = reinterpret_cast<LONG_PTR>(w->Proc);
      w->Proc = reinterpret_cast<WNDPROC>(value);
      return old;
    case GWL_STYLE:
    case GWL_EXSTYLE:
      old = static_cast<LONG_PTR>(index == GWL_STYLE ? w->Style : w->ExStyle);
      SetStyleBits(w, index, static_cast<DWORD>(value));
      return old;
    case GWLP_USERDATA:
      old = w->UserData;
      w->UserData = value;
      return old;
    case GWLP_ID:
      old = w->Id;
      w->Id = value;
      return old;
    case GWLP_HINSTANCE:
      old = reinterpret_cast<LONG_PTR>(w->Instance);
      w->Instance = reinterpret_cast<HINSTANCE>(value);
      return old;
    case GWLP_HWNDPARENT: {
      // Sets the owner of a top-level window.
      old = reinterpret_cast<LONG_PTR>(w->Owner ? w->Owner->Handle : nullptr);
      if (w->IsChild()) return old;
      TWnd* o = value ? FromHandle(reinterpret_cast<HWND>(value)) : nullptr;
      w->Owner = o && o != w ? TopOf(o) : nullptr;
      if (w->Owner == w) w->Owner = nullptr;
      return old;
    }
    default:
      if (LONG_PTR* p = ExtraSlot(w, index)) {
        old = *p;
        *p = value;
        return old;
      }
      SetLastError(ERROR_INVALID_INDEX);
      return 0;
  }
}

bool SetProp(HWND hwnd, const char* name, void* value) {
  RequireUIThread("SetProp");
  TWnd* w = CheckHandle(hwnd);
  if (!w || !name) return false;
  for (auto& p : w->Props)
    if (SameText(p.first, name)) {
      p.second = value;
      return true;
    }
  w->Props.emplace_back(name, value);
  return true;
}

void* GetProp(HWND hwnd, const char* name) {
  RequireUIThread("GetProp");
  TWnd* w = FromHandle(hwnd);
  if (!w || !name) return nullptr;
  for (auto& p : w->Props)
    if (SameText(p.first, name)) return p.second;
  return nullptr;
}

void* RemoveProp(HWND hwnd, const char* name) {
  RequireUIThread("RemoveProp");
  TWnd* w = FromHandle(hwnd);
  if (!w || !name) return nullptr;
  for (auto it = w->Props.begin(); it != w->Props.end(); ++it)
    if (SameText(it->first, name)) {
      void* v = it->second;
      w->Props.erase(it);
      return v;
    }
  return nullptr;
}

bool SetWindowText(HWND hwnd, const String& text) {
  RequireUIThread("SetWindowText");
  if (!CheckHandle(hwnd)) return false;
  return SendMessage(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) != 0;
}

int GetWindowTextLength(HWND hwnd) {
  RequireUIThread("GetWindowTextLength");
  if (!CheckHandle(hwnd)) return 0;
  return static_cast<int>(SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

String GetWindowText(HWND hwnd) {
  RequireUIThread("GetWindowText");
  if (!CheckHandle(hwnd)) return {};
  LRESULT len = SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0);
  if (len <= 0) return {};
  String buf(static_cast<size_t>(len) + 1, '\0');
  LRESULT got = SendMessage(hwnd, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()));
  buf.resize(static_cast<size_t>(std::clamp<LRESULT>(got, 0, len)));
  return buf;
}

// ---- the tree -----------------------------------------------------------------------------
HWND GetDesktopWindow() { return DesktopHandle(); }

HWND GetParent(HWND hwnd) {
  RequireUIThread("GetParent");
  TWnd* w = CheckHandle(hwnd);
  if (!w) return nullptr;
  if (w->Parent) return w->Parent->Handle;
  if ((w->Style & WS_POPUP) && w->Owner) return w->Owner->Handle;
  return nullptr;
}

HWND GetAncestor(HWND hwnd, UINT flags) {
  RequireUIThread("GetAncestor");
  TWnd* w = CheckHandle(hwnd);
  if (!w) return nullptr;
  switch (flags) {
    case GA_PARENT: return w->Parent ? w->Parent->Handle : DesktopHandle();
    case GA_ROOT: return TopOf(w)->Handle;
    case GA_ROOTOWNER: {
      TWnd* t = TopOf(w);
      while (t->Owner) t = t->Owner;
      return t->Handle;
    }
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
  }
}

HWND SetParent(HWND child, HWND newParent) {
  RequireUIThread("SetParent");
  TWindowSystem& s = Sys();
  TWnd* w = CheckHandle(child);
  if (!w) return nullptr;
  bool ok;
  TWnd* p = ResolveParent(newParent, &ok);
  if (!ok) return nullptr;
  if (p && IsAncestorOrSelf(w, p)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  HWND old = w->Parent ? w->Parent->Handle : DesktopHandle();
  if (p == w->Parent) return old;
  TWndRef ref(w);
  bool wasVisible = w->Visible();
  if (wasVisible)
    SetWindowPosInternal(w, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (!ref.Alive()) return nullptr;
  FocusLeavingTree(w);
  CaptureLeavingTree(w);
  if (s.Active == w) ActivationLeaving(w);
  PaintForgetWindow(w);
  UnlinkFromParent(w);
  if (w->IsTop()) DestroyHost(w);
  w->Parent = p;
  if (p) {
    w->Style |= WS_CHILD;
    w->Style &= ~WS_POPUP;
    w->Owner = nullptr;
    w->Top.reset();
    p->Children.insert(p->Children.begin(), w);
  } else {
    w->Style &= ~WS_CHILD;
    w->Top = std::make_unique<TTopLevel>();
    s.TopLevels.insert(s.TopLevels.begin(), w);
  }
  if (wasVisible)
    SetWindowPosInternal(w, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return old;
}

HWND GetWindow(HWND hwnd, UINT relation) {
  RequireUIThread("GetWindow");
  TWindowSystem& s = Sys();
  TWnd* w = CheckHandle(hwnd);
  if (!w) return nullptr;
  const auto& siblings = w->Parent ? w->Parent->Children : s.TopLevels;
  auto it = std::find(siblings.begin(), siblings.end(), w);
  switch (relation) {
    case GW_HWNDFIRST: return siblings.empty() ? nullptr : siblings.front()->Handle;
    case GW_HWNDLAST: return siblings.empty() ? nullptr : siblings.back()->Handle;
    case GW_HWNDNEXT: return it != siblings.end() && it + 1 != siblings.end() ? (*(it + 1))->Handle : nullptr;
    case GW_HWNDPREV: return it != siblings.begin() && it != siblings.end() ? (*(it - 1))->Handle : nullptr;
    case GW_OWNER: return w->Owner ? w->Owner->Handle : nullptr;
    case GW_CHILD: return w->Children.empty() ? nullptr : w->Children.front()->Handle;
    case GW_ENABLEDPOPUP:
      for (TWnd* t : s.TopLevels)
        if (t->Owner == w && t->Visible() && t->Enabled()) return t->Handle;
      return nullptr;
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
  }
}

HWND GetTopWindow(HWND hwnd) {
  RequireUIThread("GetTopWindow");
  TWindowSystem& s = Sys();
  if (!hwnd || IsDesktop(hwnd)) return s.TopLevels.empty() ? nullptr : s.TopLevels.front()->Handle;
  TWnd* w = CheckHandle(hwnd);
  return w && !w->Children.empty() ? w->Children.front()->Handle : nullptr;
}

HWND GetNextWindow(HWND hwnd, UINT relation) { return GetWindow(hwnd, relation); }

bool IsChild(HWND parent, HWND hwnd) {
  RequireUIThread("IsChild");
  TWnd* p = FromHandle(parent);
  TWnd* w = FromHandle(hwnd);
  if (!p || !w) return false;
  for (TWnd* a = w->Parent; a; a = a->Parent)
    if (a == p) return true;
  return false;
}

namespace {
void CollectChildren(TWnd* w, std::vector<HWND>& out) {
  for (TWnd* c : w->Children) {
    out.push_back(c->Handle);
    CollectChildren(c, out);
  }
}
}  // namespace

std::vector<HWND> GetChildWindows(HWND parent) {
  RequireUIThread("GetChildWindows");
  std::vector<HWND> out;
  if (TWnd* w = CheckHandle(parent)) CollectChildren(w, out);
  return out;
}

std::vector<HWND> GetTopLevelWindows() {
  RequireUIThread("GetTopLevelWindows");
  std::vector<HWND> out;
  for (TWnd* t : Sys().TopLevels) out.push_back(t->Handle);
  return out;
}

bool EnumChildWindows(HWND parent, const std::function<bool(HWND)>& callback) {
  // The list is taken first, so callbacks may destroy windows.
  for (HWND h : GetChildWindows(parent))
    if (IsWindow(h) && !callback(h)) return false;
  return true;
}

bool EnumWindows(const std::function<bool(HWND)>& callback) {
  for (HWND h : GetTopLevelWindows())
    if (IsWindow(h) && !callback(h)) return false;
  return true;
}

int GetDlgCtrlID(HWND hwnd) {
  RequireUIThread("GetDlgCtrlID");
  TWnd* w = CheckHandle(hwnd);
  return w && w->IsChild() ? static_cast<int>(w->Id) : 0;
}

HWND GetDlgItem(HWND parent, int id) {
  RequireUIThread("GetDlgItem");
  TWnd* p = CheckHandle(parent);
  if (!p) return nullptr;
  for (TWnd* c : p->Children)
    if (c->Id == id) return c->Handle;
  return nullptr;
}

bool IsWindowVisible(HWND hwnd) {
  RequireUIThread("IsWindowVisible");
  TWnd* w = FromHandle(hwnd);
  return w && IsVisibleChain(w);
}

bool IsWindowEnabled(HWND hwnd) {
  RequireUIThread("IsWindowEnabled");
  TWnd* w = FromHandle(hwnd);
  return w && w->Enabled();
}

bool EnableWindow(HWND hwnd, bool enable) {
  RequireUIThread("EnableWindow");
  TWnd* w = CheckHandle(hwnd);
  if (!w) return false;
  bool wasDisabled = !w->Enabled();
  if (wasDisabled == !enable) return wasDisabled;
  TWndRef ref(w);
  if (!enable) {
    Dispatch(w, WM_CANCELMODE, 0, 0);
    if (!ref.Alive()) return wasDisabled;
    w->Style |= WS_DISABLED;
    FocusLeavingTree(w);
    CaptureLeavingTree(w);
  } else {
    w->Style &= ~WS_DISABLED;
  }
  if (ref.Alive()) Dispatch(w, WM_ENABLE, enable ? 1 : 0, 0);
  return wasDisabled;
}

bool IsIconic(HWND hwnd) {
  RequireUIThread("IsIconic");
  TWnd* w = FromHandle(hwnd);
  return w && (w->Style & WS_MINIMIZE);
}

bool IsZoomed(HWND hwnd) {
  RequireUIThread("IsZoomed");
  TWnd* w = FromHandle(hwnd);
  return w && (w->Style & WS_MAXIMIZE);
}

void ShutdownWindowSystem() {
  TWindowSystem* s = SysIfStarted();
  if (!s) return;
  RequireUIThread("ShutdownWindowSystem");
  while (!s->TopLevels.empty()) {
    TWnd* t = s->TopLevels.front();
    if (t->Destroying) {
      // Stuck half-way (destroyed from inside its own handler): unlink it.
      s->TopLevels.erase(s->TopLevels.begin());
      continue;
    }
    DestroyWindow(t->Handle);
  }
  {
    std::lock_guard<std::mutex> lock(s->UIQueue->Lock);
    s->UIQueue->Posted.clear();
    for (auto& sent : s->UIQueue->Sent) {
      std::lock_guard<std::mutex> l2(sent->Lock);
      sent->Done = true;
      sent->Cv.notify_all();
    }
    s->UIQueue->Sent.clear();
    s->UIQueue->QuitPosted = false;
  }
  s->Input.clear();
  s->Timers.clear();
  s->SystemTimers.clear();
  s->Caret = TCaret();
  s->Tracker.reset();
  s->Track = TMouseTrack();
  s->LastClick.Valid = false;
  s->LastKey.Valid = false;
  std::fill(std::begin(s->AsyncKeys), std::end(s->AsyncKeys), 0);
  std::fill(std::begin(s->SyncKeys), std::end(s->SyncKeys), 0);
  s->Backend.reset();  // the next use starts one again
}
