#pragma once
// TControl: the base of every visual component, windowed or not.
//
// A control has bounds in its parent's client coordinates, a parent (a TWinControl), an
// alignment, anchors, margins and size constraints, visibility and enabling, a caption, a font
// and colour that may follow the parent's, a cursor, a hint and a pop-up menu.
//
// Messages. Every message a control receives, from its window or from Perform, goes to its
// WindowProc, which by default is WndProc. WindowProc can be replaced per control (save the
// old one and call it for what the replacement does not handle). WndProc does the framework's
// work that applies to all messages of a kind (mouse capture, double clicks of controls without
// csDoubleClicks), then Dispatch hands the message to the handler for its number (a switch in
// each class, calling inherited::Dispatch for the rest); unhandled messages reach
// DefaultHandler (for windowed controls: the window's previous procedure).
//
// Lifetime. A control freed inside one of its own handlers is safe: the framework checks after
// every user event it runs whether the control still exists (TAliveGuard).
#include <functional>
#include <memory>

#include "platform/controls/controltypes.h"
#include "platform/controls/messages.h"
#include "platform/core/component.h"
#include "platform/graphics/font.h"

class TWinControl;
class TCustomForm;
class TPopupMenu;
class TBasicAction;
class TControlActionLink;

// A control's message procedure (WindowProc).
using TMessageMethod = std::function<void(TMessage&)>;
using TMouseEvent = TEvent<TObject*, TMouseButton, TShiftState, int, int>;
using TMouseMoveEvent = TEvent<TObject*, TShiftState, int, int>;
using TMouseWheelEvent = TEvent<TObject*, TShiftState, int, TPoint, bool&>;
using TContextPopupEvent = TEvent<TObject*, TPoint, bool&>;
using TCanResizeEvent = TEvent<TObject*, int&, int&, bool&>;

// Tells whether an object still exists after user code ran.
class TAliveGuard {
public:
  explicit TAliveGuard(const std::shared_ptr<bool>& flag) : FFlag(flag) {}
  explicit operator bool() const { return *FFlag; }

private:
  std::shared_ptr<bool> FFlag;
};

class TControl : public TComponent {
  KV_CLASS(TControl, TComponent)
public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;
  void BeforeDestruction() override;

  // ---- messages ----
  LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
  // The procedure messages go to; an empty method restores WndProc.
  TMessageMethod WindowProc() const;
  void SetWindowProc(TMessageMethod Value);
  virtual void WndProc(TMessage& Message);
  virtual void Dispatch(TMessage& Message);
  virtual void DefaultHandler(TMessage& Message);
  // Sends Msg to every child (windowed containers), stopping at the first non-zero Result.
  virtual void Broadcast(TMessage& Message) { (void)Message; }

  // ---- parent and bounds ----
  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* AParent);
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;

  int Left() const { return FLeft; }
  void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
  int Top() const { return FTop; }
  void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
  int Width() const { return FWidth; }
  void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
  int Height() const { return FHeight; }
  void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
  TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
  void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
  // Moves and sizes the control (size within its constraints); unchanged bounds do nothing.
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);

  // The client area: (0, 0, ClientWidth, ClientHeight).
  virtual TRect ClientRect() const;
  int ClientWidth() const { return ClientRect().Width(); }
  void SetClientWidth(int Value);
  int ClientHeight() const { return ClientRect().Height(); }
  void SetClientHeight(int Value);
  virtual void SetClientSize(int W, int H);
  // Where the client area's top-left lies on the screen.
  virtual TPoint ClientOrigin() const;
  TPoint ClientToScreen(TPoint P) const;
  TPoint ScreenToClient(TPoint P) const;
  TRect ClientToScreen(const TRect& R) const;
  TPoint ClientToParent(TPoint P, TWinControl* AParent = nullptr) const;
  TPoint ParentToClient(TPoint P, TWinControl* AParent = nullptr) const;

  // ---- layout ----
  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign Value);
  TAnchors Anchors() const { return FAnchors; }
  void SetAnchors(TAnchors Value);
  bool AlignWithMargins() const { return FAlignWithMargins; }
  void SetAlignWithMargins(bool Value);
  TMargins* Margins() const { return FMargins.get(); }
  void SetMargins(TMargins* Value) { FMargins->Assign(Value); }
  TSizeConstraints* Constraints() const { return FConstraints.get(); }
  void SetConstraints(TSizeConstraints* Value) { FConstraints->Assign(Value); }
  bool AutoSize() const { return FAutoSize; }
  virtual void SetAutoSize(bool Value);
  // Asks the parent to align its children again, this control first among equals.
  void RequestAlign();
  // Re-sizes an auto-size control to what CanAutoSize proposes.
  virtual void AdjustSize();
  // Records the control's place against its parent's client size for anchoring.
  void UpdateAnchorRules();

  // ---- state ----
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool Value);
  // Visible and every parent visible (windowed controls also need a shown window).
  virtual bool IsVisibleInTree() const;
  TControlStyle ControlStyle() const { return FControlStyle; }
  void SetControlStyle(TControlStyle Value) { FControlStyle = Value; }
  TControlState ControlState() const { return FControlState; }
  void SetControlState(TControlState Value) { FControlState = Value; }
  TStyleElements StyleElements() const { return FStyleElements; }
  void SetStyleElements(TStyleElements Value);

  // ---- text, font, colour ----
  String Caption() const { return GetText(); }
  void SetCaption(const String& Value) { SetText(Value); }
  String Text() const { return GetText(); }
  void SetText(const String& Value);
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool Value);

  // ---- cursor, hint, menu ----
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value) { FHint = Value; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  bool ParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool Value);
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* Value);

  // ---- bidirectional text ----
  TBiDiMode BiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TBiDiMode Value);
  bool ParentBiDiMode() const { return FParentBiDiMode; }
  void SetParentBiDiMode(bool Value);
  bool IsRightToLeft() const { return FBiDiMode != bdLeftToRight; }
  bool UseRightToLeftAlignment() const { return FBiDiMode == bdRightToLeft; }
  bool UseRightToLeftReading() const { return FBiDiMode != bdLeftToRight; }
  bool UseRightToLeftScrollBar() const { return FBiDiMode != bdLeftToRight && FBiDiMode != bdRightToLeftReadingOnly; }
  // DrawText flags adjusted for the mode: alignment mirrored (DT_LEFT <-> DT_RIGHT) when
  // UseRightToLeftAlignment, DT_RTLREADING added when UseRightToLeftReading.
  unsigned DrawTextBiDiModeFlags(unsigned Flags) const;
  unsigned DrawTextBiDiModeFlagsReadingOnly() const;

  // ---- actions ----
  TBasicAction* Action() const;
  void SetAction(TBasicAction* Value);
  TControlActionLink* ActionLink() const { return FActionLink.get(); }
  // Takes the action's properties (CheckDefaults: only where this control still has its own
  // default values).
  virtual void ActionChange(TObject* Sender, bool CheckDefaults);
  // Runs the action's update handler; true when an action answered.
  virtual void InitiateAction();

  // ---- painting ----
  virtual void Invalidate();
  virtual void Update();
  virtual void Repaint();
  void Refresh() { Repaint(); }
  void BringToFront();
  void SendToBack();

  // ---- mouse capture ----
  bool MouseCapture() const;
  void SetMouseCapture(bool Value);

  // ---- queries ----
  TAliveGuard AliveGuard() const { return TAliveGuard(FAlive); }
  // True when this control's caption has the accelerator Key ("&Open" and 'o').
  bool IsAccelOf(char32_t Key) const;
  void SetName(const String& NewName) override;
  void Loaded() override;

  // ---- events ----
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TMouseWheelEvent OnMouseWheel;
  TNotifyEvent OnResize;
  TContextPopupEvent OnContextPopup;
  TCanResizeEvent OnCanResize;

  // Clicks the control the framework's way (action or OnClick).
  virtual void Click();

  // Whether the writer of form descriptions stores these (not while they follow the parent).
  bool IsColorStored() const;
  bool IsFontStored() const;
  bool IsShowHintStored() const;
  bool IsBiDiModeStored() const;

protected:
  virtual String GetText() const { return FText; }
  // Stores the caption without any notification.
  void SetTextDirect(const String& Value) { FText = Value; }
  virtual void DblClick();
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
  virtual void Resize();
  // Proposes a size for AutoSize; false keeps the current one.
  virtual bool CanAutoSize(int& NewWidth, int& NewHeight);
  // May change or refuse a new size (OnCanResize).
  virtual bool CanResize(int& NewWidth, int& NewHeight);
  // Runs after the bounds changed (old: the previous bounds).
  virtual void BoundsChanged(const TRect& Old);
  virtual void VisibleChanging() {}
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // The control class of the action link this control uses.
  virtual std::unique_ptr<TControlActionLink> CreateActionLink();
  // Sends CM_CANCELMODE to the focused control of the form, with this control as the sender.
  void SendCancelMode();
  // Fonts and colours taken from the parent.
  void ParentFontChangedFrom(TWinControl* AParent);

  // Message handlers.
  virtual void WMMouseButton(TMessage& Message, TMouseButton Button, bool Down, bool Double);
  virtual void WMMouseMove(TMessage& Message);
  virtual void WMMouseWheel(TMessage& Message);
  virtual void WMContextMenu(TMessage& Message);
  virtual void WMCancelMode(TMessage& Message);
  virtual void CMEnabledChanged(TMessage& Message);
  virtual void CMVisibleChanged(TMessage& Message);
  virtual void CMFontChanged(TMessage& Message);
  virtual void CMColorChanged(TMessage& Message);
  virtual void CMTextChanged(TMessage& Message);
  virtual void CMParentFontChanged(TMessage& Message);
  virtual void CMParentColorChanged(TMessage& Message);
  virtual void CMParentShowHintChanged(TMessage& Message);
  virtual void CMParentBiDiModeChanged(TMessage& Message);
  virtual void CMBiDiModeChanged(TMessage& Message);
  virtual void CMMouseEnter(TMessage& Message);
  virtual void CMMouseLeave(TMessage& Message);
  virtual void CMHitTest(TMessage& Message);
  virtual void CMHintShow(TMessage& Message);
  virtual void CMStyleChanged(TMessage& Message);

  // The part of the parent's client area that covers this control, for invalidation.
  void InvalidateControl(bool IsVisible, bool IsOpaque);

  TWinControl* FParent = nullptr;
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  TControlStyle FControlStyle;
  TControlState FControlState;
  String FText;
  TColor FColor = clWindow;
  bool FVisible = true;
  bool FEnabled = true;
  std::shared_ptr<bool> FAlive;

private:
  friend class TWinControl;
  void FontChanged(TObject* Sender);
  void MarginsChanged(TObject* Sender);
  void ConstraintsChanged(TObject* Sender);
  void ApplyAnchors(const TSize& ParentClient, int& L, int& T, int& W, int& H) const;

  TMessageMethod FWindowProc;
  TAlign FAlign = alNone;
  TAnchors FAnchors{akLeft, akTop};
  bool FAlignWithMargins = false;
  bool FAutoSize = false;
  bool FParentFont = true;
  bool FParentColor = true;
  bool FShowHint = false;
  bool FParentShowHint = true;
  bool FParentBiDiMode = true;
  bool FAnchorMove = false;  // bounds set by the parent's alignment or anchoring
  TBiDiMode FBiDiMode = bdLeftToRight;
  TStyleElements FStyleElements = AllStyleElements;
  TCursor FCursor = crDefault;
  String FHint;
  TPopupMenu* FPopupMenu = nullptr;
  std::unique_ptr<TFont> FFont;
  std::unique_ptr<TMargins> FMargins;
  std::unique_ptr<TSizeConstraints> FConstraints;
  std::unique_ptr<TControlActionLink> FActionLink;
  // Anchoring: the bounds and the parent's client size when the rules were recorded.
  TRect FAnchorBounds;
  TSize FAnchorParentSize;
  bool FAnchorValid = false;
};

// The form a control lies on: the nearest (TopForm: the outermost) TCustomForm ancestor.
TCustomForm* GetParentForm(const TControl* Control, bool TopForm = true);
// The windowed control that holds the mouse capture, or the windowless control it passed the
// capture to.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* Control);
// The accelerator test: Caption contains "&" followed by the character (case-insensitive);
// "&&" is a literal ampersand.
bool IsAccel(char32_t VK, const String& Str);
// Whether the character is the accelerator of the caption (same rule; no '&' means none).
String GetHotKey(const String& Caption);
