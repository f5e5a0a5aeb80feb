// Painting of windowed controls: WM_PAINT paints the control's own content (PaintWindow) and
// then its windowless children, each clipped to its bounds, in z-order. A WM_PAINT whose wParam
// carries a device context paints into that context instead of the window (the paint-into-a-
// given-DC path used by PaintTo and by controls that copy their parent's look): own content
// and windowless children, never windowed children, which paint in their own windows.
#include <algorithm>

#include "platform/controls/wincontrol.h"
#include "platform/graphics/dc.h"
#include "platform/windows/paint.h"

namespace {
// EndPaint on every way out of a paint that began one.
class TPaintScope {
public:
  TPaintScope(HWND wnd, HDC given) : FWnd(wnd), FDC(given) {
    if (!FDC && FWnd) {
      FDC = BeginPaint(FWnd, &FPs);
      FOwn = true;
    }
  }
  ~TPaintScope() {
    if (FOwn) EndPaint(FWnd, &FPs);
  }
  TPaintScope(const TPaintScope&) = delete;
  TPaintScope& operator=(const TPaintScope&) = delete;
  HDC DC() const { return FDC; }

private:
  HWND FWnd;
  HDC FDC;
  PAINTSTRUCT FPs;
  bool FOwn = false;
};
}  // namespace

void TWinControl::WMPaint(TMessage& Message) { PaintHandler(Message); }

void TWinControl::PaintHandler(TMessage& Message) {
  TPaintScope scope(FHandle, reinterpret_cast<HDC>(Message.WParam));
  HDC dc = scope.DC();
  if (!dc) return;
  TAliveGuard alive = AliveGuard();
  int saved = SaveDC(dc);
  // Opaque windowless children cover their part: the parent does not paint under them.
  for (TControl* c : FControls)
    if (c->Visible() && c->ControlStyle().Contains(csOpaque)) {
      TRect b = c->BoundsRect();
      ExcludeClipRect(dc, b.Left, b.Top, b.Right, b.Bottom);
    }
  try {
    PaintWindow(dc);
  } catch (...) {
    if (alive) RestoreDC(dc, saved);
    throw;
  }
  if (!alive) return;
  RestoreDC(dc, saved);
  PaintControls(dc, nullptr);
  Message.Result = 0;
}

void TWinControl::PaintWindow(HDC DC) {
  // A window of another class (a native control) paints itself into the context; our own
  // classes have nothing to paint here.
  if (!FHandle || FDefWndProc == &DefWindowProc) return;
  TMessage m{WM_PAINT, reinterpret_cast<WPARAM>(DC), 0, 0};
  DefaultHandler(m);
}

void TWinControl::PaintControls(HDC DC, TControl* First) {
  std::vector<TControl*> list = FControls;
  size_t start = 0;
  if (First) {
    auto it = std::find(list.begin(), list.end(), First);
    start = it == list.end() ? 0 : static_cast<size_t>(it - list.begin());
  }
  TAliveGuard alive = AliveGuard();
  bool copy = FControlState.Contains(csPaintCopy);
  for (size_t i = start; i < list.size(); ++i) {
    TControl* c = list[i];
    if (!alive) return;
    if (c->Parent() != this || !c->Visible()) continue;
    TRect b = c->BoundsRect();
    if (b.IsEmpty() || !RectVisible(DC, b)) continue;
    TAliveGuard childAlive = c->AliveGuard();
    if (copy) c->FControlState.Include(csPaintCopy);
    int saved = SaveDC(DC);
    OffsetViewportOrgEx(DC, b.Left, b.Top, nullptr);
    IntersectClipRect(DC, 0, 0, b.Width(), b.Height());
    try {
      c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
    } catch (...) {
      RestoreDC(DC, saved);
      if (childAlive && copy) c->FControlState.Exclude(csPaintCopy);
      throw;
    }
    RestoreDC(DC, saved);
    if (childAlive && copy) c->FControlState.Exclude(csPaintCopy);
  }
}

void TWinControl::WMEraseBkgnd(TMessage& Message) {
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  if (!dc) return;
  TRect r = ClientRect();
  if (ParentBackground() && FParent) {
    // The parent's background and own content show through, its windowed children do not
    // (this control is one of them).
    int saved = SaveDC(dc);
    IntersectClipRect(dc, 0, 0, r.Width(), r.Height());
    TPoint origin = ClientToParent(TPoint(0, 0));
    OffsetViewportOrgEx(dc, -origin.X, -origin.Y, nullptr);
    TWinControl* p = FParent;
    bool wasCopy = p->FControlState.Contains(csPaintCopy);
    p->FControlState.Include(csPaintCopy);
    try {
      p->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(dc));
      p->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    } catch (...) {
      if (!wasCopy) p->FControlState.Exclude(csPaintCopy);
      RestoreDC(dc, saved);
      throw;
    }
    if (!wasCopy) p->FControlState.Exclude(csPaintCopy);
    RestoreDC(dc, saved);
  } else {
    if (!FBrush) FBrush = std::make_unique<TBrush>();
    FBrush->SetColor(FColor);
    FillRect(dc, r, FBrush->Handle());
  }
  Message.Result = 1;
}

void TWinControl::WMPrintClient(TMessage& Message) {
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  if (!dc || !(Message.LParam & PRF_CLIENT)) {
    DefaultHandler(Message);
    return;
  }
  TAliveGuard alive = AliveGuard();
  const bool wasPrinting = FControlState.Contains(csPrintClient);
  FControlState.Include(csPrintClient);
  struct TClear {
    TWinControl* Control;
    TAliveGuard& Alive;
    bool Keep;
    ~TClear() {
      if (Alive && !Keep) Control->FControlState.Exclude(csPrintClient);
    }
  } clear{this, alive, wasPrinting};
  if (Message.LParam & PRF_ERASEBKGND) Perform(WM_ERASEBKGND, Message.WParam, Message.WParam);
  if (!alive) return;
  TMessage paint{WM_PAINT, Message.WParam, 0, 0};
  PaintHandler(paint);
  Message.Result = 0;
}

void TWinControl::PaintTo(HDC DC, int X, int Y) {
  if (!DC) return;
  TAliveGuard alive = AliveGuard();
  bool wasCopy = FControlState.Contains(csPaintCopy);
  FControlState.Include(csPaintCopy);
  int saved = SaveDC(DC);
  OffsetViewportOrgEx(DC, X, Y, nullptr);
  TRect r = ClientRect();
  IntersectClipRect(DC, 0, 0, r.Width(), r.Height());
  try {
    Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), reinterpret_cast<LPARAM>(DC));
    if (alive) Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
  } catch (...) {
    RestoreDC(DC, saved);
    if (alive && !wasCopy) FControlState.Exclude(csPaintCopy);
    throw;
  }
  RestoreDC(DC, saved);
  if (alive && !wasCopy) FControlState.Exclude(csPaintCopy);
}

void TWinControl::Invalidate() {
  if (FHandle) InvalidateRect(FHandle, nullptr, !FControlStyle.Contains(csOpaque));
}

void TWinControl::Update() {
  if (FHandle) UpdateWindow(FHandle);
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}
