// The tracking loop of pop-up menus: one window per open level, an exclusive application
// message hook that takes every mouse and key message while the menu is open, and the mouse
// capture on the first level so that presses outside reach the menu (and close it).
#include <algorithm>
#include <memory>

#include "platform/controls/application.h"
#include "platform/controls/control.h"
#include "platform/controls/internal.h"
#include "platform/controls/menus.h"
#include "platform/controls/screen.h"
#include "platform/graphics/text.h"
#include "platform/windows/input.h"
#include "platform/windows/messageloop.h"
#include "platform/windows/paint.h"
#include "platform/windows/window.h"

namespace {
constexpr const char* kMenuClass = "TPopupMenuWindow";
constexpr UINT_PTR kOpenTimer = 1;
constexpr UINT kSubmenuDelay = 250;

struct TLevel {
  std::unique_ptr<TMenuSource> OwnedSource;
  const TMenuSource* Source = nullptr;
  std::vector<TMenuEntry> Entries;
  std::vector<TRect> Rows;  // client coordinates
  TRect Bounds;             // screen
  HWND Wnd = nullptr;
  WNDPROC Proc = nullptr;
  int Hot = -1;
  int ParentRow = -1;
};

class TMenuTracker;
TMenuTracker* GTracker = nullptr;

bool IsButtonDownMsg(UINT m) {
  return m == WM_LBUTTONDOWN || m == WM_RBUTTONDOWN || m == WM_MBUTTONDOWN || m == WM_LBUTTONDBLCLK ||
         m == WM_RBUTTONDBLCLK || m == WM_MBUTTONDBLCLK || m == WM_NCLBUTTONDOWN || m == WM_NCRBUTTONDOWN ||
         m == WM_NCMBUTTONDOWN || m == WM_NCLBUTTONDBLCLK || m == WM_NCRBUTTONDBLCLK || m == WM_NCMBUTTONDBLCLK ||
         m == WM_XBUTTONDOWN || m == WM_XBUTTONDBLCLK;
}
bool IsButtonUpMsg(UINT m) {
  return m == WM_LBUTTONUP || m == WM_RBUTTONUP || m == WM_MBUTTONUP || m == WM_NCLBUTTONUP || m == WM_NCRBUTTONUP ||
         m == WM_NCMBUTTONUP || m == WM_XBUTTONUP;
}
WORD ButtonOfUp(UINT m) {
  switch (m) {
    case WM_RBUTTONUP:
    case WM_NCRBUTTONUP: return VK_RBUTTON;
    case WM_MBUTTONUP:
    case WM_NCMBUTTONUP: return VK_MBUTTON;
    case WM_XBUTTONUP: return VK_XBUTTON1;
    default: return VK_LBUTTON;
  }
}

// After the loop: the release of a button that was still down is swallowed, so that it never
// reaches the control under the closed menu.
void SwallowPendingReleases() {
  auto waiting = std::make_shared<std::vector<WORD>>();
  for (WORD b : {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON})
    if (GetAsyncKeyState(b) < 0) waiting->push_back(b);
  if (waiting->empty() || !Application) return;
  auto id = std::make_shared<int>(0);
  *id = Application->AddMessageHook([waiting, id](MSG& m) {
    if (IsButtonDownMsg(m.message)) {
      // A new press: whatever was pending is over.
      Application->RemoveMessageHook(*id);
      return false;
    }
    if (!IsButtonUpMsg(m.message)) return false;
    WORD b = ButtonOfUp(m.message);
    auto it = std::find(waiting->begin(), waiting->end(), b);
    if (it == waiting->end()) return false;
    waiting->erase(it);
    if (waiting->empty()) Application->RemoveMessageHook(*id);
    return true;
  });
}

class TMenuTracker {
public:
  TMenuTracker(const TMenuSource& Root, TPoint At, UINT Flags) : FRoot(Root), FAt(At), FFlags(Flags) {}
  ~TMenuTracker() {
    while (!FLevels.empty()) CloseLevel();
  }

  bool Run(intptr_t* Chosen) {
    if (!OpenLevel(FRoot, nullptr, -1)) return false;
    GetCursorPos(&FLastPointer);
    int hook = Application->AddMessageHook([this](MSG& m) { return Hook(m); }, true);
    SetCapture(FLevels.front()->Wnd);
    // Keys go to the focused window; with none (a menu opened from code with no form), the
    // menu's own window takes them.
    if (!GetFocus()) {
      FTookFocus = true;
      ::SetFocus(FLevels.front()->Wnd);
    }
    Application->ModalStarted();
    try {
      while (!FDone) {
        Application->HandleMessage();
        if (Application->Terminated()) break;
      }
    } catch (...) {
      Finish(hook);
      throw;
    }
    Finish(hook);
    if (FChosen && Chosen) *Chosen = FResult;
    return FChosen;
  }

  void Cancel() { End(); }

  bool Owns(HWND h) const {
    return std::any_of(FLevels.begin(), FLevels.end(), [&](const auto& l) { return l->Wnd == h; });
  }

  LRESULT LevelProc(TLevel* L, HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    switch (Msg) {
      case WM_PAINT: Paint(L); return 0;
      case WM_ERASEBKGND: return 1;
      case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
      case WM_CANCELMODE: Cancel(); return 0;
      case WM_CAPTURECHANGED:
        // Another window took the mouse: the menu closes as a menu does.
        if (!FSettingCapture && !Owns(reinterpret_cast<HWND>(LParam))) Cancel();
        return 0;
      case WM_TIMER:
        if (WParam == kOpenTimer) {
          KillTimer(Wnd, kOpenTimer);
          OpenHotSubmenu(L, false);
        }
        return 0;
      default: return DefWindowProc(Wnd, Msg, WParam, LParam);
    }
  }

private:
  // The menu closes the moment it is answered or cancelled, even while input queued behind the
  // answer is still being handled: the windows go, the capture goes, and the release of a
  // button that is still down is swallowed.
  void End() {
    if (FEnded) return;
    FEnded = true;
    FDone = true;
    if (Owns(GetCapture())) {
      FSettingCapture = true;
      ReleaseCapture();
      FSettingCapture = false;
    }
    if (FTookFocus && Owns(GetFocus())) ::SetFocus(nullptr);
    while (!FLevels.empty()) CloseLevel();
    SwallowPendingReleases();
    // The loop may be waiting for a message: one wakes it to see that the menu is done.
    PostMessage(Application->Handle(), WM_NULL, 0, 0);
  }

  void Finish(int hook) {
    Application->ModalFinished();
    Application->RemoveMessageHook(hook);
    End();
  }

  // ---- levels ----
  bool OpenLevel(const TMenuSource& Source, std::unique_ptr<TMenuSource> Owned, int ParentRow) {
    auto L = std::make_unique<TLevel>();
    L->OwnedSource = std::move(Owned);
    L->Source = L->OwnedSource ? L->OwnedSource.get() : &Source;
    L->ParentRow = ParentRow;
    for (int i = 0; i < L->Source->Count(); ++i) L->Entries.push_back(L->Source->Entry(i));
    if (L->Entries.empty()) return false;
    Layout(*L);
    Place(*L);
    CreateLevelWindow(*L);
    FLevels.push_back(std::move(L));
    TLevel& l = *FLevels.back();
    SetWindowPos(l.Wnd, HWND_TOPMOST, l.Bounds.Left, l.Bounds.Top, l.Bounds.Width(), l.Bounds.Height(),
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    return true;
  }

  void CloseLevel() {
    std::unique_ptr<TLevel> L = std::move(FLevels.back());
    FLevels.pop_back();
    if (L->Wnd && IsWindow(L->Wnd)) {
      bool hadCapture = GetCapture() == L->Wnd;
      FSettingCapture = true;
      DestroyWindow(L->Wnd);
      FSettingCapture = false;
      // The first level holds the capture; it goes last, when the loop is over.
      if (hadCapture && !FLevels.empty()) SetCaptureTo(FLevels.front()->Wnd);
    }
    if (L->Proc) FreeObjectInstance(L->Proc);
  }

  void CloseLevelsAfter(size_t keep) {
    while (FLevels.size() > keep) CloseLevel();
  }

  void SetCaptureTo(HWND h) {
    FSettingCapture = true;
    SetCapture(h);
    FSettingCapture = false;
  }

  void Layout(TLevel& L) {
    TMenuPainter* painter = MenuPainter();
    TCanvas canvas;
    HDC dc = GetDC(nullptr);
    canvas.SetHandle(dc);
    TRect in = painter->Insets();
    int width = 0, y = in.Top;
    std::vector<TSize> sizes;
    for (const TMenuEntry& e : L.Entries) {
      TSize s = painter->MeasureItem(&canvas, e);
      sizes.push_back(s);
      width = std::max(width, s.cx);
    }
    canvas.SetHandle(nullptr);
    ReleaseDC(nullptr, dc);
    for (const TSize& s : sizes) {
      L.Rows.push_back(TRect(in.Left, y, in.Left + width, y + s.cy));
      y += s.cy;
    }
    L.Bounds = TRect(0, 0, width + in.Left + in.Right, y + in.Bottom);
  }

  TRect WorkAreaAt(TPoint p) const {
    TMonitor* m = Screen ? Screen->MonitorFromPoint(p) : nullptr;
    return m ? m->WorkareaRect() : (Screen ? Screen->WorkAreaRect() : TRect(0, 0, 1024, 768));
  }

  // Inside the monitor's work area: a level that does not fit below or right of its anchor
  // opens above or left of it.
  void Place(TLevel& L) {
    int w = L.Bounds.Width(), h = L.Bounds.Height();
    int x, y;
    TRect work;
    if (FLevels.empty()) {
      work = WorkAreaAt(FAt);
      x = (FFlags & TPM_RIGHTALIGN) ? FAt.X - w : (FFlags & TPM_CENTERALIGN) ? FAt.X - w / 2 : FAt.X;
      y = (FFlags & TPM_BOTTOMALIGN) ? FAt.Y - h : (FFlags & TPM_VCENTERALIGN) ? FAt.Y - h / 2 : FAt.Y;
      if (x + w > work.Right) x = (FFlags & (TPM_RIGHTALIGN | TPM_CENTERALIGN)) ? work.Right - w : FAt.X - w;
      if (y + h > work.Bottom) y = FAt.Y - h >= work.Top ? FAt.Y - h : work.Bottom - h;
    } else {
      const TLevel& parent = *FLevels.back();
      TRect row = parent.Rows[static_cast<size_t>(L.ParentRow)].Offsetted(parent.Bounds.Left, parent.Bounds.Top);
      work = WorkAreaAt(row.TopLeft());
      TRect in = MenuPainter()->Insets();
      x = parent.Bounds.Right - in.Right;
      y = row.Top - in.Top;
      if (x + w > work.Right) x = parent.Bounds.Left - w + in.Left;
      if (y + h > work.Bottom) y = work.Bottom - h;
    }
    x = std::max(x, work.Left);
    y = std::max(y, work.Top);
    L.Bounds = Bounds(x, y, w, h);
  }

  void CreateLevelWindow(TLevel& L) {
    WNDCLASS existing;
    if (!GetClassInfo(nullptr, kMenuClass, &existing)) {
      WNDCLASS wc;
      wc.style = CS_SAVEBITS | CS_DROPSHADOW;
      wc.lpfnWndProc = &DefWindowProc;
      wc.lpszClassName = kMenuClass;
      wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
      RegisterClass(wc);
    }
    L.Wnd = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kMenuClass, "", WS_POPUP, L.Bounds.Left,
                           L.Bounds.Top, L.Bounds.Width(), L.Bounds.Height(), nullptr, nullptr, nullptr, nullptr);
    if (!L.Wnd) throw EOutOfResources("Cannot create a menu window: " + SysErrorMessage(GetLastError()));
    TLevel* lp = &L;
    L.Proc = MakeObjectInstance([this, lp](HWND w, UINT m, WPARAM wp, LPARAM lpar) { return LevelProc(lp, w, m, wp, lpar); });
    SetWindowLongPtr(L.Wnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(L.Proc));
  }

  void Paint(TLevel* L) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(L->Wnd, &ps);
    if (dc) {
      TMenuPainter* painter = MenuPainter();
      TCanvas canvas;
      canvas.SetHandle(dc);
      painter->DrawBackground(&canvas, TRect(0, 0, L->Bounds.Width(), L->Bounds.Height()));
      for (size_t i = 0; i < L->Entries.size(); ++i) {
        const TMenuEntry& e = L->Entries[i];
        bool hot = static_cast<int>(i) == L->Hot;
        TMenuItemDrawState s = e.Enabled ? (hot ? mdsHot : mdsNormal) : (hot ? mdsDisabledHot : mdsDisabled);
        painter->DrawItem(&canvas, L->Rows[i], e, s);
      }
      canvas.SetHandle(nullptr);
    }
    EndPaint(L->Wnd, &ps);
  }

  void SetHot(TLevel* L, int Row) {
    if (L->Hot == Row) return;
    L->Hot = Row;
    InvalidateRect(L->Wnd, nullptr, false);
  }

  int LevelIndex(const TLevel* L) const {
    for (size_t i = 0; i < FLevels.size(); ++i)
      if (FLevels[i].get() == L) return static_cast<int>(i);
    return -1;
  }

  void OpenHotSubmenu(TLevel* L, bool SelectFirst) {
    int li = LevelIndex(L);
    if (li < 0 || L->Hot < 0) return;
    const TMenuEntry& e = L->Entries[static_cast<size_t>(L->Hot)];
    if (!e.HasSubmenu || !e.Enabled) return;
    if (static_cast<int>(FLevels.size()) > li + 1 && FLevels[static_cast<size_t>(li) + 1]->ParentRow == L->Hot) {
      if (SelectFirst) SetHot(FLevels[static_cast<size_t>(li) + 1].get(), NextRow(*FLevels[static_cast<size_t>(li) + 1], -1, 1));
      return;
    }
    CloseLevelsAfter(static_cast<size_t>(li) + 1);
    int row = L->Hot;
    if (OpenLevel(*L->Source, L->Source->Submenu(row), row) && SelectFirst) {
      TLevel& sub = *FLevels.back();
      SetHot(&sub, NextRow(sub, -1, 1));
    }
  }

  // The next row that can be hot, from Row in direction Step, wrapping; -1 when none.
  static int NextRow(const TLevel& L, int Row, int Step) {
    int n = static_cast<int>(L.Entries.size());
    int r = Row;
    for (int i = 0; i < n; ++i) {
      r = (r + Step + n) % n;
      if (Row < 0 && Step < 0 && i == 0) r = n - 1;
      if (!L.Entries[static_cast<size_t>(r)].Separator) return r;
    }
    return -1;
  }

  TLevel* LevelAt(TPoint p, int* row) {
    for (auto it = FLevels.rbegin(); it != FLevels.rend(); ++it) {
      TLevel* L = it->get();
      if (!L->Bounds.Contains(p)) continue;
      TPoint local = p - L->Bounds.TopLeft();
      *row = -1;
      for (size_t i = 0; i < L->Rows.size(); ++i)
        if (L->Rows[i].Contains(local) && !L->Entries[i].Separator) *row = static_cast<int>(i);
      return L;
    }
    return nullptr;
  }

  void Choose(const TMenuEntry& e) {
    if (!e.Enabled || e.Separator) return;
    FChosen = true;
    FResult = e.Tag;
    End();
  }

  // ---- input ----
  bool Hook(MSG& m) {
    if (FDone || FLevels.empty()) return false;
    UINT msg = m.message;
    if (msg == WM_MOUSEMOVE || msg == WM_NCMOUSEMOVE) {
      OnMove(m.pt);
      return true;
    }
    if (IsButtonDownMsg(msg)) {
      OnPress(m.pt);
      return true;
    }
    if (IsButtonUpMsg(msg)) {
      OnRelease(m.pt);
      return true;
    }
    if (msg == WM_MOUSEWHEEL || msg == WM_MOUSEHWHEEL) return true;
    if (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN) {
      if (!OnKey(static_cast<WORD>(m.wParam))) TranslateMessage(&m);
      return true;
    }
    if (msg == WM_CHAR || msg == WM_SYSCHAR) {
      OnChar(static_cast<char32_t>(m.wParam));
      return true;
    }
    if (msg == WM_KEYUP || msg == WM_SYSKEYUP || msg == WM_DEADCHAR || msg == WM_SYSDEADCHAR) return true;
    return false;
  }

  void OnMove(TPoint p) {
    // Windows that open or close make the window layer repeat the last position: only a
    // pointer that really moved changes the hot row (keyboard choices stay).
    if (p == FLastPointer) return;
    FLastPointer = p;
    FArmed = true;
    int row = -1;
    TLevel* L = LevelAt(p, &row);
    if (!L) {
      // Outside: the deepest level without an open child loses its hot row.
      TLevel* last = FLevels.back().get();
      if (last->Hot >= 0) SetHot(last, -1);
      return;
    }
    int li = LevelIndex(L);
    if (row == L->Hot) return;
    KillTimer(L->Wnd, kOpenTimer);
    SetHot(L, row);
    // A sub-menu of another row closes; the hot row's own opens after a moment.
    if (static_cast<int>(FLevels.size()) > li + 1 && FLevels[static_cast<size_t>(li) + 1]->ParentRow != row)
      CloseLevelsAfter(static_cast<size_t>(li) + 1);
    if (row >= 0 && L->Entries[static_cast<size_t>(row)].HasSubmenu && L->Entries[static_cast<size_t>(row)].Enabled)
      SetTimer(L->Wnd, kOpenTimer, kSubmenuDelay);
  }

  void OnPress(TPoint p) {
    int row = -1;
    TLevel* L = LevelAt(p, &row);
    if (!L) {
      Cancel();
      return;
    }
    FArmed = true;
    SetHot(L, row);
    if (row >= 0 && L->Entries[static_cast<size_t>(row)].HasSubmenu) OpenHotSubmenu(L, false);
  }

  void OnRelease(TPoint p) {
    int row = -1;
    TLevel* L = LevelAt(p, &row);
    // The release of the press that opened the menu, with no move in between, chooses nothing.
    if (!L || row < 0 || !FArmed) return;
    const TMenuEntry& e = L->Entries[static_cast<size_t>(row)];
    if (e.HasSubmenu) return;
    Choose(e);
  }

  // True when the key was handled; others are translated into characters (accelerators).
  bool OnKey(WORD vk) {
    TLevel* D = FLevels.back().get();
    switch (vk) {
      case VK_DOWN: SetHot(D, NextRow(*D, D->Hot, 1)); return true;
      case VK_UP: SetHot(D, NextRow(*D, D->Hot, -1)); return true;
      case VK_RIGHT: OpenHotSubmenu(D, true); return true;
      case VK_LEFT:
        if (FLevels.size() > 1) CloseLevelsAfter(FLevels.size() - 1);
        return true;
      case VK_RETURN:
        if (D->Hot >= 0) {
          const TMenuEntry& e = D->Entries[static_cast<size_t>(D->Hot)];
          if (e.HasSubmenu) OpenHotSubmenu(D, true);
          else Choose(e);
        }
        return true;
      case VK_ESCAPE:
        if (FLevels.size() > 1) CloseLevelsAfter(FLevels.size() - 1);
        else Cancel();
        return true;
      case VK_MENU:
      case VK_F10: Cancel(); return true;
      default: return false;
    }
  }

  void OnChar(char32_t ch) {
    if (ch < 32) return;
    TLevel* D = FLevels.back().get();
    std::vector<int> matches;
    for (size_t i = 0; i < D->Entries.size(); ++i)
      if (!D->Entries[i].Separator && IsAccel(ch, D->Entries[i].Caption)) matches.push_back(static_cast<int>(i));
    if (matches.empty()) {
      // Without an accelerator, the first letter of a caption.
      String key = UpperCase(utf8::Encode(ch));
      for (size_t i = 0; i < D->Entries.size(); ++i) {
        String caption = RemovePrefixes(D->Entries[i].Caption);
        if (!D->Entries[i].Separator && !caption.empty() && UpperCase(utf8::Copy(caption, 0, 1)) == key)
          matches.push_back(static_cast<int>(i));
      }
    }
    if (matches.empty()) return;
    if (matches.size() == 1) {
      SetHot(D, matches.front());
      const TMenuEntry& e = D->Entries[static_cast<size_t>(matches.front())];
      if (e.HasSubmenu) OpenHotSubmenu(D, true);
      else Choose(e);
      return;
    }
    // Several rows share the key: each press moves to the next of them.
    auto next = std::upper_bound(matches.begin(), matches.end(), D->Hot);
    SetHot(D, next == matches.end() ? matches.front() : *next);
  }

  const TMenuSource& FRoot;
  TPoint FAt;
  UINT FFlags;
  std::vector<std::unique_ptr<TLevel>> FLevels;
  TPoint FLastPointer;
  bool FDone = false;
  bool FEnded = false;
  bool FTookFocus = false;
  bool FChosen = false;
  bool FArmed = false;
  bool FSettingCapture = false;
  intptr_t FResult = 0;
};
}  // namespace

bool TrackMenu(const TMenuSource& Menu, TPoint At, UINT Flags, intptr_t* Chosen) {
  if (GTracker || !Application) return false;
  // A control holding the capture lets go first: the menu takes all mouse input.
  if (HWND cap = GetCapture()) SendMessage(cap, WM_CANCELMODE, 0, 0);
  TMenuTracker tracker(Menu, At, Flags);
  GTracker = &tracker;
  bool r = false;
  try {
    r = tracker.Run(Chosen);
  } catch (...) {
    GTracker = nullptr;
    throw;
  }
  GTracker = nullptr;
  return r;
}

bool IsMenuTracking() { return GTracker != nullptr; }

void EndMenuTracking() {
  if (GTracker) GTracker->Cancel();
}
