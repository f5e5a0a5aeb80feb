#pragma once
// The two base classes of every self-drawn windowed control of the library.
//
// TkvCustomControl paints through an off-screen bitmap: on each paint it composes, at the
// control's size, the cached image of what lies behind it (when transparent), its background
// and its content for the current state (Draw), and copies the result in one step. The image
// behind the control (ParentBGBuffer) is captured with PaintParentBackground on every paint the
// system asks for, after a move and on WM_CHECKPARENTBG; RePaintControl, which every setter
// that changes the look calls, repaints at once and reuses it, so the parent is not repainted.
// Erase requests draw nothing while the control is moved, sized, repainted on request or in
// its own paint; from outside a paint they make the control paint itself into the given
// context (which is how a transparent child sees a library control behind it).
//
// TkvCustomActiveControl adds hot tracking (the hot state while the pointer is over the
// control; a 100 ms poll notices a pointer that left without a leave notification) and, with
// FAnimation set and the buffered-animation service present, a 150 ms cross-fade between the
// normal and hot looks for one second after each hover change.
//
// Subclasses implement Draw (and DrawBackground where they have a background of their own) and
// never paint in Paint.
#include <memory>

#include "kv/kvUtils/kvTypes.h"
#include "platform/controls/customcontrol.h"
#include "platform/controls/timer.h"
#include "platform/graphics/bitmap.h"

// Sent (both parameters 0) to a control whose background may have changed behind it: a
// transparent control captures its parent's image again and repaints.
constexpr UINT WM_CHECKPARENTBG = WM_USER + 260;

class TkvCustomControl : public TCustomControl {
  KV_CLASS(TkvCustomControl, TCustomControl)
public:
  explicit TkvCustomControl(TComponent* AOwner);
  ~TkvCustomControl() override;

  // kvsDisabled when the control is disabled, else kvsNormal.
  virtual TkvsCtrlState GetCtrlState();

protected:
  // Draws the cached image behind the control at (0, 0) (capturing it first when its size is
  // not the control's); nothing for an opaque control.
  virtual void DrawBackground(TCanvas* ACanvas);
  // The control's content for one state; nothing in the base.
  virtual void Draw(TCanvas* ACanvas, TkvsCtrlState ACtrlState);

public:
  // Repaints now, reusing the cached image behind the control.
  virtual void RePaintControl();

  // Moves and sizes the control without painting through erase requests (its own and those of
  // its library children).
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  // Paints what lies behind the control into ParentBGBuffer (sized to the control); an opaque
  // control empties the buffer instead. A zero-sized control captures nothing.
  void CaptureParentBackground();
  // Tells every child that its background changed (WM_CHECKPARENTBG) and has the windowed
  // children repaint what is pending at once.
  void RefreshChildrenBackground();
  // True when BiDiMode is bdRightToLeft (the library's own test; the framework's
  // TControl::IsRightToLeft also counts the reading-only modes).
  bool IsRightToLeft() const { return BiDiMode() == bdRightToLeft; }

  // The cached image behind the control (empty for an opaque control).
  const TBitmap* ParentBGBitmap() const { return ParentBGBuffer.get(); }
  bool TransparentBackground() const { return FTransparentBackground; }

protected:
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  void WMPaint(TMessage& Message) override;
  void WMEraseBkgnd(TMessage& Message) override;
  void WMWindowPosChanged(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  virtual void WMSize(TMessage& Message);
  virtual void WMMove(TMessage& Message);
  virtual void WMCheckParentBG(TMessage& Message);

  // The composition of one paint: background and content for State on ACanvas.
  void PaintContent(TCanvas* ACanvas, TkvsCtrlState State);

  bool FTransparentBackground = true;
  bool FStopEraseBackground = false;
  bool FromWMPaint = false;
  bool FDrawOnBackground = true;
  std::unique_ptr<TBitmap> ParentBGBuffer;
  bool FForcePaint = false;

private:
  // Runs what WM_SIZE and WM_MOVE ask for once the framework has taken the new bounds.
  void RunPendingBoundsWork();
  // Capture, repaint and refresh of the children: the answer to a move and WM_CHECKPARENTBG.
  void RecaptureAndRepaint();

  std::unique_ptr<TBitmap> FPaintBuffer;  // the off-screen bitmap of Paint, kept between paints
  int FPaintDepth = 0;
  int FWindowPosDepth = 0;
  bool FPendingSize = false;
  bool FPendingMove = false;
};

class TkvCustomActiveControl : public TkvCustomControl {
  KV_CLASS(TkvCustomActiveControl, TkvCustomControl)
public:
  explicit TkvCustomActiveControl(TComponent* AOwner);
  ~TkvCustomActiveControl() override;

  // kvsDisabled when disabled, else kvsHot while the pointer is over the control.
  TkvsCtrlState GetCtrlState() override;

  // Whether the pointer is over the control, and whether the 100 ms poll runs.
  bool MouseIn() const { return FMouseIn; }
  bool MouseTimerRunning() const { return FMouseTimer != nullptr; }
  // Whether the one-second animation window after a hover change is open.
  bool CanAnimate() const { return FCanAnimate; }

protected:
  // The poll timer's handler: a pointer over another window has left.
  virtual void MouseTimerTick(TObject* Sender);
  virtual void DoMouseEnter();
  virtual void DoMouseLeave();
  // False in design mode, disabled, invisible, without FAnimation, in a state other than
  // normal or hot, or without the buffered-animation service.
  virtual bool AnimationAllowed();
  // Paints the transition from FOldCtrlState to the current state through the
  // buffered-animation service; false when the service is missing or refused.
  virtual bool StartAnimation(HDC DC);

  // Paints DrawBackground and Draw(State) into DC at (0, 0). With AlphaFill through a 32-bit
  // bitmap whose alpha is made opaque (the animation buffers keep alpha, which ordinary
  // drawing does not write), otherwise directly.
  void PaintStateTo(HDC DC, TkvsCtrlState State, bool AlphaFill);
  void StartMouseTimer();
  void StopMouseTimer();
  void StartAnimationTimer();
  void StopAnimation();

  void Paint() override;
  void DestroyWnd() override;
  void Dispatch(TMessage& Message) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  virtual void WMTimer(TMessage& Message);

  std::unique_ptr<TTimer> FMouseTimer;
  bool FCanAnimate = false;
  bool FAnimation = false;
  bool FMouseIn = false;
  TkvsCtrlState FOldCtrlState = kvsNormal;

private:
  // The pointer left: stop the poll, clear FMouseIn, DoMouseLeave.
  void PointerLeft();
  // Ends the animation window and the window's animations (the window is going away).
  void ForgetAnimation();
  std::unique_ptr<TBitmap> FStateBuffer;  // the 32-bit bitmap of PaintStateTo, kept
};

// The window timer of the animation window (1000 ms after a hover change).
constexpr UINT_PTR kvAnimationTimerId = 1;
constexpr UINT kvAnimationWindowMs = 1000;
constexpr DWORD kvAnimationDurationMs = 150;
constexpr UINT kvMouseTimerInterval = 100;
