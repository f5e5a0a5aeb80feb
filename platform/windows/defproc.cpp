// The default window procedure, the default non-client hit test, and moving or sizing a
// window by its frame.
#include <algorithm>
#include <cstring>

#include "platform/graphics/dc.h"
#include "platform/windows/internal.h"
#include "platform/windows/paint.h"
#include "platform/windows/scrollbars.h"

namespace kvwin {
LRESULT DefaultWindowPosChanged(TWnd* w, const WINDOWPOS* wp);
LRESULT DefaultPrint(TWnd* w, HDC dc, LPARAM flags);

namespace {
LRESULT DefaultHitTest(TWnd* w, TPoint screenPt) {
  TPoint p = screenPt - WindowOriginOnScreen(w);
  int cx = w->Rect.Width(), cy = w->Rect.Height();
  if (!TRect(0, 0, cx, cy).Contains(p)) return HTNOWHERE;
  if (w->Client.Contains(p)) return HTCLIENT;
  LRESULT sb = ScrollBarHitTest(w, p);
  if (sb != HTNOWHERE) return sb;
  if (w->Style & WS_MINIMIZE) return HTCAPTION;
  TRect ins = FrameInsets(w->Style, w->ExStyle, w->IsTop());
  int frame = ins.Left;
  bool sizable = (w->Style & WS_THICKFRAME) && !(w->Style & WS_MAXIMIZE);
  bool inFrame = p.X < frame || p.X >= cx - frame || p.Y < frame || p.Y >= cy - frame;
  if (inFrame) {
    if (!sizable) return HTBORDER;
    // Corners reach along the edges as far as a caption button is wide.
    int corner = GetSystemMetrics(SM_CXSIZE) + frame;
    bool left = p.X < corner, right = p.X >= cx - corner, top = p.Y < corner, bottom = p.Y >= cy - corner;
    if (p.Y < frame) return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
    if (p.Y >= cy - frame) return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
    if (p.X < frame) return top ? HTTOPLEFT : bottom ? HTBOTTOMLEFT : HTLEFT;
    return top ? HTTOPRIGHT : bottom ? HTBOTTOMRIGHT : HTRIGHT;
  }
  if (HasCaption(w->Style) && p.Y < ins.Top) {
    if (w->Style & WS_SYSMENU) {
      int size = ins.Top - frame;
      if (p.X >= cx - frame - size) return HTCLOSE;
    }
    return HTCAPTION;
  }
  return HTBORDER;
}

int SizeCursorFor(LRESULT hit) {
  switch (hit) {
    case HTLEFT:
    case HTRIGHT: return IDC_SIZEWE;
    case HTTOP:
    case HTBOTTOM: return IDC_SIZENS;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT: return IDC_SIZENWSE;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT: return IDC_SIZENESW;
    default: return IDC_ARROW;
  }
}

// Moving (HTCAPTION) or sizing (HTLEFT ... HTBOTTOMRIGHT) a window with the mouse; Escape
// puts it back.
class TFrameTracker : public TTracker {
public:
  TFrameTracker(TWnd* w, LRESULT hit, TPoint start) : hit_(hit), start_(start) {
    Window = w->Handle;
    original_ = w->Rect;
  }
  bool OnMouse(TRawInput& in) override {
    TWnd* w = FromHandle(Window);
    if (!w) return false;
    if (in.Type == TRawInput::Move) {
      Apply(w, in.Pt - start_);
      return true;
    }
    if (in.Type == TRawInput::Button && !in.Down && in.Vk == VK_LBUTTON) {
      Apply(w, in.Pt - start_);
      Finish();
      return true;
    }
    return true;  // other buttons and the wheel do nothing meanwhile
  }
  bool OnKey(TRawInput& in) override {
    if (in.Type == TRawInput::Key && in.Down && in.Vk == VK_ESCAPE) {
      if (TWnd* w = FromHandle(Window))
        SetWindowPosInternal(w, nullptr, original_.Left, original_.Top, original_.Width(), original_.Height(),
                             SWP_NOZORDER | SWP_NOACTIVATE);
      Finish();
      return true;
    }
    return in.Type == TRawInput::Key;
  }
  void Cancel() override {
    if (TWnd* w = FromHandle(Window)) Dispatch(w, WM_EXITSIZEMOVE, 0, 0);
  }

private:
  void Apply(TWnd* w, TPoint d) {
    TRect r = original_;
    int minW = w->IsTop() ? GetSystemMetrics(SM_CXMINTRACK) : 1;
    int minH = w->IsTop() ? GetSystemMetrics(SM_CYMINTRACK) : 1;
    switch (hit_) {
      case HTCAPTION: r.Offset(d.X, d.Y); break;
      case HTLEFT: r.Left = std::min(r.Left + d.X, r.Right - minW); break;
      case HTRIGHT: r.Right = std::max(r.Right + d.X, r.Left + minW); break;
      case HTTOP: r.Top = std::min(r.Top + d.Y, r.Bottom - minH); break;
      case HTBOTTOM: r.Bottom = std::max(r.Bottom + d.Y, r.Top + minH); break;
      case HTTOPLEFT:
        r.Left = std::min(r.Left + d.X, r.Right - minW);
        r.Top = std::min(r.Top + d.Y, r.Bottom - minH);
        break;
      case HTTOPRIGHT:
        r.Right = std::max(r.Right + d.X, r.Left + minW);
        r.Top = std::min(r.Top + d.Y, r.Bottom - minH);
        break;
      case HTBOTTOMLEFT:
        r.Left = std::min(r.Left + d.X, r.Right - minW);
        r.Bottom = std::max(r.Bottom + d.Y, r.Top + minH);
        break;
      case HTBOTTOMRIGHT:
        r.Right = std::max(r.Right + d.X, r.Left + minW);
        r.Bottom = std::max(r.Bottom + d.Y, r.Top + minH);
        break;
      default: break;
    }
    if (r != w->Rect)
      SetWindowPosInternal(w, nullptr, r.Left, r.Top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  void Finish() {
    TWindowSystem& s = Sys();
    std::unique_ptr<TTracker> self = std::move(s.Tracker);  // ends this tracking
    TWnd* w = FromHandle(Window);
    if (s.Capture && s.Capture == w) ReleaseCapture();
    if (w) Dispatch(w, WM_EXITSIZEMOVE, 0, 0);
  }

  LRESULT hit_;
  TPoint start_;
  TRect original_;
};

LRESULT DefaultSetCursor(TWnd* w, WPARAM wParam, LPARAM lParam) {
  // The parent may choose first.
  if (w->Parent && Dispatch(w->Parent, WM_SETCURSOR, wParam, lParam)) return 1;
  // Asked on behalf of a child, a window leaves the choice to the child.
  if (reinterpret_cast<HWND>(wParam) != w->Handle) return 0;
  LRESULT hit = static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(lParam)));
  UINT mouseMsg = HIWORD(static_cast<uintptr_t>(lParam));
  if (hit == HTERROR) {
    if (mouseMsg == WM_LBUTTONDOWN || mouseMsg == WM_RBUTTONDOWN || mouseMsg == WM_MBUTTONDOWN) MessageBeep(MB_OK);
    SetCursor(StandardCursor(IDC_ARROW));
    return 0;
  }
  if (hit == HTCLIENT) {
    if (w->Class->Cursor) {
      SetCursor(w->Class->Cursor);
      return 1;
    }
    return 0;
  }
  SetCursor(StandardCursor(SizeCursorFor(hit)));
  return 1;
}

LRESULT CopyText(const String& text, WPARAM size, LPARAM buffer) {
  if (!buffer || size == 0) return 0;
  char* out = reinterpret_cast<char*>(buffer);
  size_t n = std::min<size_t>(text.size(), size - 1);
  // Never cut a character in half.
  while (n > 0 && n < text.size() && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  std::memcpy(out, text.data(), n);
  out[n] = '\0';
  return static_cast<LRESULT>(n);
}

void InitScrollBars(TWnd* w) {
  w->VBar = TScrollBarState();
  w->HBar = TScrollBarState();
}
}  // namespace

void StartFrameTracking(TWnd* w, LRESULT hit, TPoint screenPt) {
  TWindowSystem& s = Sys();
  if (w->Style & (WS_MAXIMIZE | WS_MINIMIZE)) return;
  if (hit != HTCAPTION && !(w->Style & WS_THICKFRAME)) return;
  CancelTracker();
  Dispatch(w, WM_ENTERSIZEMOVE, 0, 0);
  if (w->Dead) return;
  SetCapture(w->Handle);
  s.Tracker = std::make_unique<TFrameTracker>(w, hit, screenPt);
}

}  // namespace kvwin

using namespace kvwin;

LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  RequireUIThread("DefWindowProc");
  TWnd* w = FromHandle(hwnd);
  if (!w) return 0;
  TWindowSystem& s = Sys();
  switch (msg) {
    case WM_NCCREATE: {
      auto* cs = reinterpret_cast<const CREATESTRUCT*>(lParam);
      if (cs && cs->lpszName) w->Text = cs->lpszName;
      InitScrollBars(w);
      return 1;
    }
    case WM_NCCALCSIZE: {
      if (!lParam) return 0;
      if (wParam) {
        auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
        p->rgrc[0] = DefaultClientRect(w->Style, w->ExStyle, p->rgrc[0], w->IsTop());
      } else {
        auto* r = reinterpret_cast<TRect*>(lParam);
        *r = DefaultClientRect(w->Style, w->ExStyle, *r, w->IsTop());
      }
      return 0;
    }
    case WM_NCHITTEST: return DefaultHitTest(w, LParamToPoint(lParam));
    case WM_NCPAINT: {
      HDC dc = GetWindowDC(hwnd);
      if (dc) {
        DefaultNcPaint(w, dc);
        ReleaseDC(hwnd, dc);
      }
      return 0;
    }
    case WM_NCACTIVATE:
      if (HasCaption(w->Style)) RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
      return 1;
    case WM_ERASEBKGND: return DefaultEraseBackground(w, reinterpret_cast<HDC>(wParam));
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd, &ps);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_PRINT: return DefaultPrint(w, reinterpret_cast<HDC>(wParam), lParam);
    case WM_SETTEXT: {
      const char* t = reinterpret_cast<const char*>(lParam);
      w->Text = t ? t : "";
      if (w->IsTop() && w->Top && w->Top->Host) w->Top->Host->SetTitle(w->Text);
      if (HasCaption(w->Style)) RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
      return 1;
    }
    case WM_GETTEXT: return CopyText(w->Text, wParam, lParam);
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(w->Text.size());
    case WM_SETREDRAW: {
      bool on = wParam != 0;
      if (w->Redraw == on) return 0;
      w->Redraw = on;
      // Regions invalidated meanwhile were kept; they are painted now.
      if (on) {
        AddNeedPaint(w);
        for (HWND c : GetChildWindows(hwnd))
          if (TWnd* cw = FromHandle(c)) AddNeedPaint(cw);
      }
      return 0;
    }
    case WM_CLOSE: DestroyWindow(hwnd); return 0;
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_CLOSE: SendMessage(hwnd, WM_CLOSE, 0, 0); return 0;
        case SC_MINIMIZE: ShowWindow(hwnd, SW_MINIMIZE); return 0;
        case SC_MAXIMIZE: ShowWindow(hwnd, SW_MAXIMIZE); return 0;
        case SC_RESTORE: ShowWindow(hwnd, SW_RESTORE); return 0;
        default: return 0;
      }
    case WM_SYSKEYDOWN:
      if (wParam == VK_F4 && (lParam & KF_ALTDOWN)) {
        TWnd* top = TopOf(w);
        if (!(top->Class->Style & CS_NOCLOSE)) PostMessage(top->Handle, WM_SYSCOMMAND, SC_CLOSE, 0);
      } else if (wParam == VK_F10 && (GetKeyState(VK_SHIFT) & 0x8000)) {
        SendMessage(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), -1);
      }
      return 0;
    case WM_KEYUP:
      if (wParam == VK_APPS) SendMessage(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), -1);
      return 0;
    case WM_RBUTTONUP: {
      TPoint p = LParamToPoint(lParam) + ClientOriginOnScreen(w);
      SendMessage(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), PointToLParam(p));
      return 0;
    }
    case WM_NCRBUTTONUP:
      if (wParam == HTCAPTION || wParam == HTSYSMENU)
        SendMessage(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), lParam);
      return 0;
    case WM_CONTEXTMENU:
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
      // Unhandled, these climb to the parent.
      if (w->Parent) return SendMessage(w->Parent->Handle, msg, wParam, lParam);
      return 0;
    case WM_WINDOWPOSCHANGED: return DefaultWindowPosChanged(w, reinterpret_cast<const WINDOWPOS*>(lParam));
    case WM_SETCURSOR: return DefaultSetCursor(w, wParam, lParam);
    case WM_MOUSEACTIVATE:
      if (w->Parent) {
        LRESULT r = SendMessage(w->Parent->Handle, WM_MOUSEACTIVATE, wParam, lParam);
        if (r) return r;
      }
      return MA_ACTIVATE;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam) && s.Active == w) {
        // The activated window takes the focus unless it already holds it inside.
        if (!s.Focus || TopOf(s.Focus) != w) SetFocusInternal(w);
      }
      return 0;
    case WM_CANCELMODE:
      if (s.Tracker && s.Tracker->Window == hwnd) CancelTracker();
      if (s.Capture == w) ReleaseCapture();
      return 0;
    case WM_NCLBUTTONDOWN: {
      TPoint pt = LParamToPoint(lParam);
      switch (wParam) {
        case HTCAPTION:
        case HTLEFT:
        case HTRIGHT:
        case HTTOP:
        case HTBOTTOM:
        case HTTOPLEFT:
        case HTTOPRIGHT:
        case HTBOTTOMLEFT:
        case HTBOTTOMRIGHT: StartFrameTracking(w, static_cast<LRESULT>(wParam), pt); return 0;
        case HTVSCROLL: StartScrollBarTracking(w, SB_VERT, pt); return 0;
        case HTHSCROLL: StartScrollBarTracking(w, SB_HORZ, pt); return 0;
        default: return 0;
      }
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
      // Edits and lists on the window colour, everything else on the button face.
      bool window = msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX;
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, window ? clWindowText : clBtnText);
      SetBkColor(dc, window ? clWindow : clBtnFace);
      return reinterpret_cast<LRESULT>(GetSysColorBrush(window ? COLOR_WINDOW : msg == WM_CTLCOLORSCROLLBAR ? COLOR_SCROLLBAR : COLOR_BTNFACE));
    }
    case WM_NCLBUTTONUP:
      if (wParam == HTCLOSE) PostMessage(TopOf(w)->Handle, WM_SYSCOMMAND, SC_CLOSE, 0);
      return 0;
    case WM_NCLBUTTONDBLCLK:
      if (wParam == HTCAPTION && (w->Style & WS_MAXIMIZEBOX))
        ShowWindow(hwnd, (w->Style & WS_MAXIMIZE) ? SW_RESTORE : SW_MAXIMIZE);
      else if (wParam == HTVSCROLL || wParam == HTHSCROLL)
        return DefWindowProc(hwnd, WM_NCLBUTTONDOWN, wParam, lParam);
      return 0;
    default: return 0;
  }
}
