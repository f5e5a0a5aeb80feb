// The standard scroll bars of windows: values, showing and hiding, parts, painting and the
// press-and-hold behaviour.
#include "platform/windows/scrollbars.h"

#include <algorithm>

#include "platform/graphics/dc.h"
#include "platform/graphics/framectl.h"
#include "platform/windows/internal.h"
#include "platform/windows/paint.h"

namespace kvwin {
namespace {
constexpr int kMinThumb = 8;
constexpr UINT kFirstRepeatMs = 400;
constexpr UINT kRepeatMs = 50;

enum TPart { partNone, partLineUp, partLineDown, partPageUp, partPageDown, partThumb };

// Pressed part per window and bar, for painting.
struct TPressed {
  HWND Hwnd = nullptr;
  int Bar = -1;
  TPart Part = partNone;
  bool Down = false;  // the cursor is over the pressed part
};
TPressed gPressed;

TScrollBarState& State(TWnd* w, int bar) { return bar == SB_VERT ? w->VBar : w->HBar; }
DWORD StyleBit(int bar) { return bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL; }

int MaxPos(const TScrollBarState& s) { return std::max(s.Min, s.Max - std::max(static_cast<int>(s.Page) - 1, 0)); }
bool Scrollable(const TScrollBarState& s) { return s.Max > s.Min && (s.Page == 0 || s.Page <= s.Max - s.Min); }

TRect BarRect(const TWnd* w, int bar) {
  if (!(w->Style & StyleBit(bar))) return TRect();
  const TRect& c = w->Client;
  if (bar == SB_VERT) {
    int cx = GetSystemMetrics(SM_CXVSCROLL);
    if (w->ExStyle & WS_EX_LEFTSCROLLBAR) return TRect(c.Left - cx, c.Top, c.Left, c.Bottom);
    return TRect(c.Right, c.Top, c.Right + cx, c.Bottom);
  }
  return TRect(c.Left, c.Bottom, c.Right, c.Bottom + GetSystemMetrics(SM_CYHSCROLL));
}

TRect SizeBoxRect(const TWnd* w) {
  TRect v = BarRect(w, SB_VERT), h = BarRect(w, SB_HORZ);
  if (v.IsEmpty() || h.IsEmpty()) return TRect();
  return TRect(v.Left, h.Top, v.Right, h.Bottom);
}

bool ComputeParts(TWnd* w, int bar, TScrollBarParts* p) {
  *p = TScrollBarParts();
  TRect r = BarRect(w, bar);
  if (r.IsEmpty()) return false;
  const TScrollBarState& s = State(w, bar);
  bool vert = bar == SB_VERT;
  int len = vert ? r.Height() : r.Width();
  int arrow = std::min(vert ? GetSystemMetrics(SM_CYVSCROLL) : GetSystemMetrics(SM_CXHSCROLL), len / 2);
  p->Bar = r;
  auto span = [&](int a, int b) { return vert ? TRect(r.Left, r.Top + a, r.Right, r.Top + b) : TRect(r.Left + a, r.Top, r.Left + b, r.Bottom); };
  p->LineUp = span(0, arrow);
  p->LineDown = span(len - arrow, len);
  p->Enabled = Scrollable(s) && s.DisabledArrows != ESB_DISABLE_BOTH;
  int track = len - 2 * arrow;
  int range = s.Max - s.Min + 1;
  int thumb = s.Page ? static_cast<int>(static_cast<int64_t>(track) * s.Page / std::max(range, 1))
                     : (vert ? GetSystemMetrics(SM_CYVTHUMB) : GetSystemMetrics(SM_CXHTHUMB));
  thumb = std::max(thumb, kMinThumb);
  if (!p->Enabled || thumb >= track) {
    // No room or nothing to scroll: the track is all there is.
    p->PageUp = span(arrow, len - arrow);
    return true;
  }
  int maxPos = MaxPos(s);
  int pos = s.Tracking ? s.TrackPos : s.Pos;
  int offset = maxPos > s.Min ? static_cast<int>(static_cast<int64_t>(pos - s.Min) * (track - thumb) / (maxPos - s.Min)) : 0;
  int t0 = arrow + offset;
  p->PageUp = span(arrow, t0);
  p->Thumb = span(t0, t0 + thumb);
  p->PageDown = span(t0 + thumb, len - arrow);
  return true;
}

TPart PartAt(const TScrollBarParts& p, TPoint pt) {
  if (p.LineUp.Contains(pt)) return partLineUp;
  if (p.LineDown.Contains(pt)) return partLineDown;
  if (p.Thumb.Contains(pt)) return partThumb;
  if (p.PageUp.Contains(pt)) return partPageUp;
  if (p.PageDown.Contains(pt)) return partPageDown;
  return partNone;
}

TRect PartRect(const TScrollBarParts& p, TPart part) {
  switch (part) {
    case partLineUp: return p.LineUp;
    case partLineDown: return p.LineDown;
    case partPageUp: return p.PageUp;
    case partPageDown: return p.PageDown;
    case partThumb: return p.Thumb;
    default: return TRect();
  }
}

void RedrawBar(TWnd* w, int bar) {
  TRect r = BarRect(w, bar);
  if (!r.IsEmpty()) InvalidateInternal(w, TRegion(r), false, true, RDW_NOCHILDREN);
}

void SetBarShown(TWnd* w, int bar, bool show) {
  DWORD bit = StyleBit(bar);
  if (((w->Style & bit) != 0) == show) return;
  if (show) w->Style |= bit;
  else w->Style &= ~bit;
  SetWindowPosInternal(w, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Notify(TWnd* w, int bar, UINT code, int pos) {
  Dispatch(w, bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, static_cast<unsigned>(pos) & 0xFFFF), 0);
}

void DrawBar(TWnd* w, int bar, HDC dc) {
  TScrollBarParts p;
  if (!ComputeParts(w, bar, &p)) return;
  bool vert = bar == SB_VERT;
  const TScrollBarState& s = State(w, bar);
  bool pressedHere = gPressed.Hwnd == w->Handle && gPressed.Bar == bar && gPressed.Down;
  auto arrowState = [&](TPart part, UINT disableBit) {
    UINT st = 0;
    if (!p.Enabled || (s.DisabledArrows & disableBit)) st |= DFCS_INACTIVE;
    if (pressedHere && gPressed.Part == part) st |= DFCS_PUSHED | DFCS_FLAT;
    return st;
  };
  TRect up = p.LineUp, down = p.LineDown;
  if (!up.IsEmpty()) DrawFrameControl(dc, up, DFC_SCROLL, (vert ? DFCS_SCROLLUP : DFCS_SCROLLLEFT) | arrowState(partLineUp, ESB_DISABLE_UP));
  if (!down.IsEmpty()) DrawFrameControl(dc, down, DFC_SCROLL, (vert ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT) | arrowState(partLineDown, ESB_DISABLE_DOWN));
  auto track = [&](const TRect& r, TPart part) {
    if (r.IsEmpty()) return;
    bool pressed = pressedHere && gPressed.Part == part;
    FillRect(dc, r, GetSysColorBrush(pressed ? COLOR_3DDKSHADOW : COLOR_SCROLLBAR));
  };
  track(p.PageUp, partPageUp);
  track(p.PageDown, partPageDown);
  if (!p.Thumb.IsEmpty()) {
    TRect t = p.Thumb;
    DrawEdge(dc, t, EDGE_RAISED, BF_RECT | BF_MIDDLE);
  }
}

class TScrollTracker : public TTracker {
public:
  TScrollTracker(TWnd* w, int bar, TPart part, TPoint windowPt) : bar_(bar), part_(part) {
    Window = w->Handle;
    TScrollBarParts p;
    ComputeParts(w, bar, &p);
    grab_ = bar == SB_VERT ? windowPt.Y - p.Thumb.Top : windowPt.X - p.Thumb.Left;
    last_ = windowPt;
  }
  void Start(TWnd* w) {
    gPressed = {Window, bar_, part_, true};
    RedrawBar(w, bar_);
    if (part_ == partThumb) {
      TScrollBarState& s = State(w, bar_);
      s.Tracking = true;
      s.TrackPos = s.Pos;
      return;
    }
    Step(w);
    Arm(kFirstRepeatMs);
  }
  bool OnMouse(TRawInput& in) override {
    TWnd* w = FromHandle(Window);
    if (!w) return false;
    if (in.Type == TRawInput::Move) {
      last_ = in.Pt - WindowOriginOnScreen(w);
      if (part_ == partThumb) Drag(w);
      else UpdateDown(w);
      return true;
    }
    if (in.Type == TRawInput::Button && !in.Down && in.Vk == VK_LBUTTON) {
      Finish(w);
      return true;
    }
    return true;
  }
  bool OnKey(TRawInput& in) override {
    if (in.Type == TRawInput::Key && in.Down && in.Vk == VK_ESCAPE) {
      if (TWnd* w = FromHandle(Window)) Finish(w);
      return true;
    }
    return false;
  }
  void Cancel() override {
    KillSystemTimer(timer_);
    timer_ = 0;
    TWnd* w = FromHandle(Window);
    gPressed = TPressed();
    if (!w) return;
    TScrollBarState& s = State(w, bar_);
    s.Tracking = false;
    RedrawBar(w, bar_);
  }

private:
  void Arm(UINT ms) {
    KillSystemTimer(timer_);
    HWND h = Window;
    timer_ = AddSystemTimer(ms, [h]() {
      TWindowSystem& sys = Sys();
      auto* t = dynamic_cast<TScrollTracker*>(sys.Tracker.get());
      if (!t || t->Window != h) return;
      t->timer_ = 0;
      if (TWnd* w = FromHandle(h)) t->Repeat(w);
    });
  }
  void Repeat(TWnd* w) {
    if (gPressed.Down) Step(w);
    if (FromHandle(Window)) Arm(kRepeatMs);
  }
  void Step(TWnd* w) {
    UINT code = part_ == partLineUp ? SB_LINEUP : part_ == partLineDown ? SB_LINEDOWN
              : part_ == partPageUp ? SB_PAGEUP : SB_PAGEDOWN;
    Notify(w, bar_, code, 0);
    if (FromHandle(Window)) UpdateDown(w);
  }
  void UpdateDown(TWnd* w) {
    TScrollBarParts p;
    ComputeParts(w, bar_, &p);
    // A page press stops once the thumb has reached the cursor.
    bool down = PartRect(p, part_).Contains(last_);
    if (down != gPressed.Down) {
      gPressed.Down = down;
      RedrawBar(w, bar_);
    }
  }
  void Drag(TWnd* w) {
    TScrollBarState& s = State(w, bar_);
    TScrollBarParts p;
    ComputeParts(w, bar_, &p);
    bool vert = bar_ == SB_VERT;
    int trackStart = vert ? p.LineUp.Bottom : p.LineUp.Right;
    int trackLen = vert ? p.LineDown.Top - trackStart : p.LineDown.Left - trackStart;
    int thumb = vert ? p.Thumb.Height() : p.Thumb.Width();
    int free = trackLen - thumb;
    if (free <= 0) return;
    int at = (vert ? last_.Y : last_.X) - grab_ - trackStart;
    int maxPos = MaxPos(s);
    int pos = s.Min + static_cast<int>((static_cast<int64_t>(std::clamp(at, 0, free)) * (maxPos - s.Min) + free / 2) / free);
    if (pos == s.TrackPos) return;
    s.TrackPos = pos;
    RedrawBar(w, bar_);
    Notify(w, bar_, SB_THUMBTRACK, pos);
  }
  void Finish(TWnd* w) {
    TWindowSystem& sys = Sys();
    KillSystemTimer(timer_);
    timer_ = 0;
    std::unique_ptr<TTracker> self = std::move(sys.Tracker);
    HWND h = Window;
    TScrollBarState& s = State(w, bar_);
    int trackPos = s.TrackPos;
    bool thumb = part_ == partThumb;
    s.Tracking = false;
    gPressed = TPressed();
    if (sys.Capture == w) ReleaseCapture();
    if (!FromHandle(h)) return;
    RedrawBar(w, bar_);
    if (thumb) Notify(w, bar_, SB_THUMBPOSITION, trackPos);
    if (FromHandle(h)) Notify(w, bar_, SB_ENDSCROLL, 0);
  }

  int bar_;
  TPart part_;
  int grab_ = 0;
  TPoint last_;
  uint64_t timer_ = 0;
};
}  // namespace

LRESULT ScrollBarHitTest(TWnd* w, TPoint pt) {
  if (BarRect(w, SB_VERT).Contains(pt)) return HTVSCROLL;
  if (BarRect(w, SB_HORZ).Contains(pt)) return HTHSCROLL;
  if (SizeBoxRect(w).Contains(pt)) return (w->Style & WS_THICKFRAME) ? HTSIZE : HTBORDER;
  return HTNOWHERE;
}

void StartScrollBarTracking(TWnd* w, int bar, TPoint screenPt) {
  TWindowSystem& s = Sys();
  TScrollBarParts p;
  if (!ComputeParts(w, bar, &p) || !p.Enabled) return;
  TPoint pt = screenPt - WindowOriginOnScreen(w);
  TPart part = PartAt(p, pt);
  const TScrollBarState& st = State(w, bar);
  if (part == partNone) return;
  if ((part == partLineUp && (st.DisabledArrows & ESB_DISABLE_UP)) || (part == partLineDown && (st.DisabledArrows & ESB_DISABLE_DOWN)))
    return;
  CancelTracker();
  TWndRef ref(w);
  SetCapture(w->Handle);
  if (!ref.Alive()) return;
  auto t = std::make_unique<TScrollTracker>(w, bar, part, pt);
  TScrollTracker* raw = t.get();
  s.Tracker = std::move(t);
  raw->Start(w);
}

void DrawScrollBars(TWnd* w, HDC dc) {
  DrawBar(w, SB_VERT, dc);
  DrawBar(w, SB_HORZ, dc);
  TRect box = SizeBoxRect(w);
  if (!box.IsEmpty()) {
    FillRect(dc, box, GetSysColorBrush(COLOR_BTNFACE));
    if ((w->Style & WS_THICKFRAME) && !w->Parent) DrawFrameControl(dc, box, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  }
}

}  // namespace kvwin

using namespace kvwin;

namespace {
TWnd* BarWindow(HWND hwnd, int bar) {
  TWnd* w = CheckHandle(hwnd);
  if (!w) return nullptr;
  if (bar != SB_VERT && bar != SB_HORZ) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return w;
}
}  // namespace

int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, bool redraw) {
  RequireUIThread("SetScrollInfo");
  TWnd* w = BarWindow(hwnd, bar);
  if (!w || !info) return 0;
  TScrollBarState& s = State(w, bar);
  if (info->fMask & SIF_RANGE) {
    s.Min = info->nMin;
    s.Max = std::max(info->nMax, info->nMin);
  }
  if (info->fMask & SIF_PAGE) s.Page = static_cast<int>(std::min<UINT>(info->nPage, 0x7FFFFFFF));
  int range = s.Max - s.Min + 1;
  if (s.Page > std::max(range, 0)) s.Page = std::max(range, 0);
  if (info->fMask & SIF_POS) s.Pos = info->nPos;
  s.Pos = std::clamp(s.Pos, s.Min, MaxPos(s));
  s.KeepWhenNoScroll = (info->fMask & SIF_DISABLENOSCROLL) != 0;
  if (info->fMask & (SIF_RANGE | SIF_PAGE)) {
    bool need = Scrollable(s);
    if (need) SetBarShown(w, bar, true);
    else if (!s.KeepWhenNoScroll) SetBarShown(w, bar, false);
  }
  if (redraw) RedrawBar(w, bar);
  return s.Pos;
}

bool GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info) {
  RequireUIThread("GetScrollInfo");
  TWnd* w = BarWindow(hwnd, bar);
  if (!w || !info) return false;
  const TScrollBarState& s = State(w, bar);
  if (info->fMask & SIF_RANGE) {
    info->nMin = s.Min;
    info->nMax = s.Max;
  }
  if (info->fMask & SIF_PAGE) info->nPage = static_cast<UINT>(s.Page);
  if (info->fMask & SIF_POS) info->nPos = s.Pos;
  if (info->fMask & SIF_TRACKPOS) info->nTrackPos = s.Tracking ? s.TrackPos : s.Pos;
  return true;
}

int SetScrollPos(HWND hwnd, int bar, int pos, bool redraw) {
  RequireUIThread("SetScrollPos");
  TWnd* w = BarWindow(hwnd, bar);
  if (!w) return 0;
  int old = State(w, bar).Pos;
  SCROLLINFO si;
  si.fMask = SIF_POS;
  si.nPos = pos;
  SetScrollInfo(hwnd, bar, &si, redraw);
  return old;
}

int GetScrollPos(HWND hwnd, int bar) {
  RequireUIThread("GetScrollPos");
  TWnd* w = BarWindow(hwnd, bar);
  return w ? State(w, bar).Pos : 0;
}

bool SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, bool redraw) {
  RequireUIThread("SetScrollRange");
  if (!BarWindow(hwnd, bar)) return false;
  SCROLLINFO si;
  si.fMask = SIF_RANGE;
  si.nMin = minPos;
  si.nMax = maxPos;
  SetScrollInfo(hwnd, bar, &si, redraw);
  return true;
}

bool GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos) {
  RequireUIThread("GetScrollRange");
  TWnd* w = BarWindow(hwnd, bar);
  if (!w) return false;
  if (minPos) *minPos = State(w, bar).Min;
  if (maxPos) *maxPos = State(w, bar).Max;
  return true;
}

bool ShowScrollBar(HWND hwnd, int bar, bool show) {
  RequireUIThread("ShowScrollBar");
  TWnd* w = CheckHandle(hwnd);
  if (!w) return false;
  if (bar == SB_VERT || bar == SB_BOTH) SetBarShown(w, SB_VERT, show);
  if ((bar == SB_HORZ || bar == SB_BOTH) && FromHandle(hwnd)) SetBarShown(w, SB_HORZ, show);
  return true;
}

bool EnableScrollBar(HWND hwnd, UINT bar, UINT arrows) {
  RequireUIThread("EnableScrollBar");
  TWnd* w = CheckHandle(hwnd);
  if (!w) return false;
  for (int b : {SB_HORZ, SB_VERT}) {
    if (static_cast<int>(bar) != b && bar != SB_BOTH) continue;
    State(w, b).DisabledArrows = arrows & ESB_DISABLE_BOTH;
    RedrawBar(w, b);
  }
  return true;
}

bool GetScrollBarParts(HWND hwnd, int bar, TScrollBarParts* parts) {
  RequireUIThread("GetScrollBarParts");
  TWnd* w = BarWindow(hwnd, bar);
  if (!w || !parts) return false;
  return ComputeParts(w, bar, parts);
}
