#include "kv/kvControls/kvCustomControl.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "kv/kvUtils/kvBitmaps.h"
#include "kv/kvUtils/kvBufferedAnimation.h"
#include "kv/kvUtils/kvParentBackground.h"
#include "platform/graphics/blit.h"
#include "platform/graphics/surface.h"
#include "platform/windows/input.h"
#include "platform/windows/messageloop.h"
#include "platform/windows/paint.h"

// The base classes add no published properties: what they publish (Align, Anchors, BiDiMode,
// Caption, Constraints, Enabled, Font, Padding, ParentBiDiMode, ParentFont, ParentShowHint,
// PopupMenu, ShowHint, TabOrder, TabStop = False, Visible, StyleElements = all three, and the
// mouse, key and focus events) is registered by the framework's control classes they derive
// from, and subclasses publish their own (Animation, Transparent, ...).
KV_IMPLEMENT_CLASS(TkvCustomControl) {}
KV_IMPLEMENT_CLASS(TkvCustomActiveControl) {}

namespace {
// Sets a flag for a scope and gives it its previous value back on every way out, unless the
// control was freed meanwhile.
class TFlagScope {
public:
  TFlagScope(const TControl* Owner, bool& Flag, bool Value) : FFlag(Flag), FOld(Flag), FAlive(Owner->AliveGuard()) {
    Flag = Value;
  }
  ~TFlagScope() {
    if (FAlive) FFlag = FOld;
  }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;

private:
  bool& FFlag;
  bool FOld;
  TAliveGuard FAlive;
};

class TCountScope {
public:
  explicit TCountScope(int& Count) : FCount(Count) { ++FCount; }
  ~TCountScope() { --FCount; }
  TCountScope(const TCountScope&) = delete;
  TCountScope& operator=(const TCountScope&) = delete;

private:
  int& FCount;
};

void CopyBitmap(TBitmap* Source, TCanvas* Target, int W, int H) {
  BitBlt(Target->Handle(), 0, 0, W, H, Source->Canvas()->Handle(), 0, 0, SRCCOPY);
}
}  // namespace

// ---- TkvCustomControl ------------------------------------------------------------------------

TkvCustomControl::TkvCustomControl(TComponent* AOwner)
    : TCustomControl(AOwner), ParentBGBuffer(std::make_unique<TBitmap>()) {}

TkvCustomControl::~TkvCustomControl() = default;

TkvsCtrlState TkvCustomControl::GetCtrlState() { return Enabled() ? kvsNormal : kvsDisabled; }

void TkvCustomControl::DrawBackground(TCanvas* ACanvas) {
  if (!FTransparentBackground || !ACanvas) return;
  if (ParentBGBuffer->Width() != Width() || ParentBGBuffer->Height() != Height()) CaptureParentBackground();
  if (!ParentBGBuffer->Empty()) CopyBitmap(ParentBGBuffer.get(), ACanvas, ParentBGBuffer->Width(), ParentBGBuffer->Height());
}

void TkvCustomControl::Draw(TCanvas*, TkvsCtrlState) {}

void TkvCustomControl::PaintContent(TCanvas* ACanvas, TkvsCtrlState State) {
  TAliveGuard alive = AliveGuard();
  DrawBackground(ACanvas);
  if (alive) Draw(ACanvas, State);
}

void TkvCustomControl::Paint() {
  const int w = Width(), h = Height();
  if (w <= 0 || h <= 0) return;
  // Only the part the target shows is composed and copied: a small update region, or this
  // control painted as the background of a small transparent child, costs what it shows.
  TRect area(0, 0, w, h);
  TRect clip;
  HDC target = Canvas()->Handle();
  const int kind = GetClipBox(target, &clip);
  if (kind == NULLREGION) return;
  if (kind != RGN_ERROR) area = area.Intersect(clip);
  if (area.IsEmpty()) return;

  // The kept bitmap serves the outermost paint; a paint nested inside it gets one of its own.
  std::unique_ptr<TBitmap> nested;
  TBitmap* buffer;
  if (FPaintDepth == 0) {
    if (!FPaintBuffer) FPaintBuffer = std::make_unique<TBitmap>();
    buffer = FPaintBuffer.get();
  } else {
    nested = std::make_unique<TBitmap>();
    buffer = nested.get();
  }
  TCountScope depth(FPaintDepth);
  TAliveGuard alive = AliveGuard();
  if (buffer->Width() != w || buffer->Height() != h) buffer->SetSize(w, h);
  if (FTransparentBackground) {
    // A system paint takes a fresh copy of what lies behind; a repaint on request reuses it, and
    // so does a paint into another control's image (a transparent child capturing this one),
    // which happens right after this control's own capture.
    const bool cached = ControlState().Contains(csPaintCopy) && ParentBGBuffer->Width() == w &&
                        ParentBGBuffer->Height() == h;
    if (!FStopEraseBackground && !cached) CaptureParentBackground();
    if (!alive) return;
  } else {
    // What an opaque control leaves undrawn is black, as on a new bitmap.
    TSurface& s = buffer->Surface();
    for (int y = area.Top; y < area.Bottom; ++y)
      std::fill_n(s.Row(y) + area.Left, area.Width(), 0u);
    s.MarkDirtyForCairo();
  }
  HDC dc = buffer->Canvas()->Handle();
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, area.Left, area.Top, area.Right, area.Bottom);
  try {
    PaintContent(buffer->Canvas(), GetCtrlState());
  } catch (...) {
    if (alive) RestoreDC(dc, saved);
    throw;
  }
  if (!alive) return;
  RestoreDC(dc, saved);
  BitBlt(target, area.Left, area.Top, area.Width(), area.Height(), dc, area.Left, area.Top, SRCCOPY);
}

void TkvCustomControl::RePaintControl() {
  TFlagScope stop(this, FStopEraseBackground, true);
  TFlagScope force(this, FForcePaint, true);
  Repaint();
}

void TkvCustomControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  // Library children and the control itself ignore erase requests while the bounds change.
  struct TChild {
    TkvCustomControl* Control;
    TAliveGuard Alive;
    bool Old;
  };
  std::vector<TChild> children;
  if (ControlStyle().Contains(csAcceptsControls))
    for (int i = 0; i < ControlCount(); ++i)
      if (auto* c = dynamic_cast<TkvCustomControl*>(Controls(i))) {
        children.push_back({c, c->AliveGuard(), c->FForcePaint});
        c->FForcePaint = true;
      }
  struct TRestore {
    std::vector<TChild>& List;
    ~TRestore() {
      for (TChild& c : List)
        if (c.Alive) c.Control->FForcePaint = c.Old;
    }
  } restore{children};
  TFlagScope force(this, FForcePaint, true);
  inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TkvCustomControl::CaptureParentBackground() {
  if (!FTransparentBackground) {
    if (!ParentBGBuffer->Empty()) ParentBGBuffer->SetSize(0, 0);
    return;
  }
  const int w = Width(), h = Height();
  if (w <= 0 || h <= 0) return;
  if (ParentBGBuffer->Width() != w || ParentBGBuffer->Height() != h) ParentBGBuffer->SetSize(w, h);
  PaintParentBackground(this, ParentBGBuffer->Canvas());
}

void TkvCustomControl::RefreshChildrenBackground() {
  std::vector<std::pair<TControl*, TAliveGuard>> children;
  for (int i = 0; i < ControlCount(); ++i) children.emplace_back(Controls(i), Controls(i)->AliveGuard());
  TAliveGuard alive = AliveGuard();
  for (auto& [child, childAlive] : children) {
    if (!alive) return;
    if (!childAlive || child->Parent() != this) continue;
    auto* win = dynamic_cast<TWinControl*>(child);
    if (win && win->HandleAllocated()) SendMessage(win->Handle(), WM_CHECKPARENTBG, 0, 0);
    else child->Perform(WM_CHECKPARENTBG, 0, 0);
  }
  if (!alive) return;
  const TComponentState cs = ComponentState();
  if (cs.Contains(csDesigning) || cs.Contains(csLoading) || ControlCount() == 0 ||
      !ControlStyle().Contains(csAcceptsControls))
    return;
  // The children repaint what is pending now. Only paint messages run: pumping the queue here
  // (this runs inside WM_SIZE, WM_MOVE and WM_CHECKPARENTBG) could handle a queued click that
  // frees the very controls being laid out.
  for (auto& [child, childAlive] : children) {
    if (!alive) return;
    if (!childAlive || child->Parent() != this) continue;
    if (auto* win = dynamic_cast<TWinControl*>(child); win && win->HandleAllocated())
      RedrawWindow(win->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  }
}

void TkvCustomControl::RecaptureAndRepaint() {
  TAliveGuard alive = AliveGuard();
  CaptureParentBackground();
  if (alive) RePaintControl();
  if (alive) RefreshChildrenBackground();
}

void TkvCustomControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SIZE: WMSize(Message); return;
    case WM_MOVE: WMMove(Message); return;
    case WM_CHECKPARENTBG: WMCheckParentBG(Message); return;
    default: inherited::Dispatch(Message);
  }
}

void TkvCustomControl::WMPaint(TMessage& Message) {
  TFlagScope fromPaint(this, FromWMPaint, true);
  inherited::WMPaint(Message);
}

void TkvCustomControl::WMEraseBkgnd(TMessage& Message) {
  if (ControlState().Contains(csPaintCopy)) {
    inherited::WMEraseBkgnd(Message);
    return;
  }
  Message.Result = 1;
  if (FForcePaint || FromWMPaint || !FDrawOnBackground) return;
  // Asked from outside a paint: the whole control goes into the given context.
  if (HDC dc = reinterpret_cast<HDC>(Message.WParam)) PaintTo(dc, 0, 0);
}

// The framework takes a window's new bounds only after the window has reported its move and
// size (WM_MOVE and WM_SIZE arrive inside WM_WINDOWPOSCHANGED), so what they ask for waits
// until the bounds are the control's own.
void TkvCustomControl::WMWindowPosChanged(TMessage& Message) {
  {
    TCountScope depth(FWindowPosDepth);
    inherited::WMWindowPosChanged(Message);
  }
  if (FWindowPosDepth == 0) RunPendingBoundsWork();
}

void TkvCustomControl::WMSize(TMessage& Message) {
  inherited::Dispatch(Message);
  if (FWindowPosDepth > 0) FPendingSize = true;
  else if (FTransparentBackground) RefreshChildrenBackground();
}

void TkvCustomControl::WMMove(TMessage& Message) {
  inherited::Dispatch(Message);
  if (FWindowPosDepth > 0) FPendingMove = true;
  else if (FTransparentBackground) RecaptureAndRepaint();
}

void TkvCustomControl::RunPendingBoundsWork() {
  const bool moved = std::exchange(FPendingMove, false);
  const bool sized = std::exchange(FPendingSize, false);
  if (!FTransparentBackground) return;
  // A move recaptures, repaints and refreshes the children, which covers what a size asks.
  if (moved) RecaptureAndRepaint();
  else if (sized) RefreshChildrenBackground();
}

void TkvCustomControl::WMCheckParentBG(TMessage& Message) {
  Message.Result = 0;
  if (FTransparentBackground) RecaptureAndRepaint();
}

void TkvCustomControl::CMEnabledChanged(TMessage& Message) {
  TAliveGuard alive = AliveGuard();
  inherited::CMEnabledChanged(Message);
  if (alive) RePaintControl();
}

// ---- TkvCustomActiveControl ------------------------------------------------------------------

TkvCustomActiveControl::TkvCustomActiveControl(TComponent* AOwner) : TkvCustomControl(AOwner) {}

TkvCustomActiveControl::~TkvCustomActiveControl() {
  StopMouseTimer();
  ForgetAnimation();
}

TkvsCtrlState TkvCustomActiveControl::GetCtrlState() {
  if (!Enabled()) return kvsDisabled;
  return FMouseIn ? kvsHot : kvsNormal;
}

void TkvCustomActiveControl::StartMouseTimer() {
  StopMouseTimer();
  FMouseTimer = std::make_unique<TTimer>(nullptr);
  FMouseTimer->SetInterval(kvMouseTimerInterval);
  FMouseTimer->OnTimer = TNotifyEvent(this, &TkvCustomActiveControl::MouseTimerTick);
  FMouseTimer->SetEnabled(true);
}

void TkvCustomActiveControl::StopMouseTimer() {
  if (!FMouseTimer) return;
  // Freeing the timer inside its own tick is safe; the framework touches it no more.
  std::unique_ptr<TTimer> timer = std::move(FMouseTimer);
  timer->SetEnabled(false);
}

void TkvCustomActiveControl::PointerLeft() {
  StopMouseTimer();
  FMouseIn = false;
  DoMouseLeave();
}

void TkvCustomActiveControl::MouseTimerTick(TObject*) {
  TPoint p;
  if (GetCursorPos(&p) && HandleAllocated() && WindowFromPoint(p) == FHandle) return;
  PointerLeft();
}

void TkvCustomActiveControl::DoMouseEnter() {
  if (FAnimation && AnimationAllowed()) StartAnimationTimer();
  RePaintControl();
}

void TkvCustomActiveControl::DoMouseLeave() {
  if (FAnimation && AnimationAllowed()) StartAnimationTimer();
  RePaintControl();
}

void TkvCustomActiveControl::CMMouseEnter(TMessage& Message) {
  TAliveGuard alive = AliveGuard();
  inherited::CMMouseEnter(Message);
  if (!alive || FMouseIn) return;
  FMouseIn = true;
  StartMouseTimer();
  DoMouseEnter();
}

void TkvCustomActiveControl::CMMouseLeave(TMessage& Message) {
  TAliveGuard alive = AliveGuard();
  inherited::CMMouseLeave(Message);
  if (!alive || !FMouseIn) return;
  PointerLeft();
  if (alive) FOldCtrlState = GetCtrlState();
}

void TkvCustomActiveControl::MouseMove(TShiftState Shift, int X, int Y) {
  TAliveGuard alive = AliveGuard();
  inherited::MouseMove(Shift, X, Y);
  if (!alive) return;
  // Both ends inclusive.
  const bool inside = X >= 0 && X <= Width() && Y >= 0 && Y <= Height();
  if (!FMouseIn && inside) {
    FMouseIn = true;
    StartMouseTimer();
    DoMouseEnter();
  } else if (FMouseIn && !inside) {
    PointerLeft();
  }
}

bool TkvCustomActiveControl::AnimationAllowed() {
  if (ComponentState().Contains(csDesigning) || !Enabled() || !Visible() || !FAnimation) return false;
  const TkvsCtrlState s = GetCtrlState();
  if (s != kvsNormal && s != kvsHot) return false;
  return IsAnimationAvailable();
}

void TkvCustomActiveControl::StartAnimationTimer() {
  FCanAnimate = true;
  if (!HandleAllocated()) return;
  KillTimer(FHandle, kvAnimationTimerId);
  SetTimer(FHandle, kvAnimationTimerId, kvAnimationWindowMs);
}

void TkvCustomActiveControl::StopAnimation() {
  FCanAnimate = false;
  const TkvBufferedAnimationApi& api = BufferedAnimationApi();
  if (IsAnimationAvailable() && api.StopAll && HandleAllocated()) api.StopAll(FHandle);
}

void TkvCustomActiveControl::ForgetAnimation() {
  if (HandleAllocated()) KillTimer(FHandle, kvAnimationTimerId);
  StopAnimation();
}

void TkvCustomActiveControl::DestroyWnd() {
  ForgetAnimation();
  inherited::DestroyWnd();
}

void TkvCustomActiveControl::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_TIMER) {
    WMTimer(Message);
    return;
  }
  inherited::Dispatch(Message);
}

void TkvCustomActiveControl::WMTimer(TMessage& Message) {
  TAliveGuard alive = AliveGuard();
  inherited::Dispatch(Message);
  if (!alive || Message.WParam != kvAnimationTimerId) return;
  if (HandleAllocated()) KillTimer(FHandle, kvAnimationTimerId);
  StopAnimation();
}

void TkvCustomActiveControl::Paint() {
  // Frames go to the control's own window; painted as a copy (the background of a transparent
  // child, a print) the control shows its state as usual.
  if (FCanAnimate && !ControlState().Contains(csPaintCopy) && AnimationAllowed()) {
    HDC dc = Canvas()->Handle();
    const TkvBufferedAnimationApi& api = BufferedAnimationApi();
    if (api.Render && HandleAllocated() && api.Render(FHandle, dc)) return;
    if (StartAnimation(dc)) return;
    // No animation could begin: the state is painted as usual rather than not at all.
  }
  inherited::Paint();
}

bool TkvCustomActiveControl::StartAnimation(HDC DC) {
  const TkvBufferedAnimationApi& api = BufferedAnimationApi();
  if (!IsAnimationAvailable() || !api.End) return false;
  const TkvsCtrlState state = GetCtrlState();
  BP_ANIMATIONPARAMS params;
  params.cbSize = sizeof(BP_ANIMATIONPARAMS);
  params.dwFlags = 0;
  params.style = BPAS_LINEAR;
  params.dwDuration = state != FOldCtrlState ? kvAnimationDurationMs : 0;
  const TRect client = ClientRect();
  HDC from = nullptr, to = nullptr;
  HANIMATIONBUFFER animation = HandleAllocated() ? api.Begin(FHandle, DC, &client, BPBF_COMPATIBLEBITMAP, nullptr,
                                                             &params, &from, &to)
                                                 : nullptr;
  const bool begun = animation != nullptr;
  if (begun) {
    const bool fill = params.dwDuration != 0;
    TAliveGuard alive = AliveGuard();
    try {
      if (from) PaintStateTo(from, FOldCtrlState, fill);
      if (to && alive) PaintStateTo(to, state, fill);
    } catch (...) {
      api.End(animation, false);
      throw;
    }
    api.End(animation, static_cast<bool>(alive));
    if (!alive) return true;
  }
  FOldCtrlState = GetCtrlState();
  return begun;
}

void TkvCustomActiveControl::PaintStateTo(HDC DC, TkvsCtrlState State, bool AlphaFill) {
  const int w = Width(), h = Height();
  if (w <= 0 || h <= 0 || !DC) return;
  if (!AlphaFill) {
    TCanvas canvas;
    canvas.SetHandle(DC);
    try {
      PaintContent(&canvas, State);
    } catch (...) {
      canvas.SetHandle(nullptr);
      throw;
    }
    canvas.SetHandle(nullptr);
    return;
  }
  if (!FStateBuffer) {
    FStateBuffer = std::make_unique<TBitmap>();
    FStateBuffer->SetPixelFormat(pf32bit);
    FStateBuffer->SetAlphaFormat(afPremultiplied);
  }
  TBitmap* b = FStateBuffer.get();
  if (b->Width() != w || b->Height() != h) b->SetSize(w, h);
  FillBitmap(b, 0);
  TAliveGuard alive = AliveGuard();
  PaintContent(b->Canvas(), State);
  if (!alive) return;
  SetBitmapAlpha(b, 255);
  BLENDFUNCTION blend;
  blend.BlendOp = AC_SRC_OVER;
  blend.SourceConstantAlpha = 255;
  blend.AlphaFormat = AC_SRC_ALPHA;
  AlphaBlend(DC, 0, 0, w, h, b->Canvas()->Handle(), 0, 0, w, h, blend);
}
