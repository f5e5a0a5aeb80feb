#pragma once
// TWinControl: a control with a window of its own, which can take the keyboard focus and hold
// child controls.
//
// The window is made on demand (Handle, HandleNeeded) from CreateParams: when the control's
// parent has a window and the control is shown, or when code asks for the handle. RecreateWnd
// destroys and makes it again, keeping the control's state (bounds, caption, visibility,
// enabling and focus live in the control, not in the window). The window's procedure is the
// control's MainWndProc, which hands each message to WindowProc; DefaultHandler passes what no
// handler took to the window class's own procedure.
//
// Children: Controls lists the windowless children first, then the windowed ones, each group
// in z-order from the bottom. Windowless children are painted by their parent during its
// WM_PAINT, after the parent's own content, clipped to their bounds. Mouse messages over a
// windowless child are passed to it (in its coordinates) instead of the parent.
#include <vector>

#include "platform/controls/control.h"
#include "platform/graphics/penbrush.h"
#include "platform/themes/stylehooks.h"
#include "platform/windows/window.h"

using TKeyEvent = TEvent<TObject*, WORD&, TShiftState>;
using TKeyPressEvent = TEvent<TObject*, char32_t&>;

// The window a control asks for.
struct TCreateParams {
  String Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  void* Param = nullptr;
  WNDCLASS WindowClass;
  String WinClassName;
};

class TWinControl : public TControl {
  KV_CLASS(TWinControl, TControl)
public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;
  void BeforeDestruction() override;
  // A windowed control that lives in a window that is not a control (ParentWindow).
  static TWinControl* CreateParented(HWND ParentWindow);

  // ---- the window ----
  HWND Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded();
  void RecreateWnd();
  // Destroys the window (and those of the children); it is made again when needed.
  void DestroyHandle();
  HWND ParentWindow() const { return FParentWindow; }
  void SetParentWindow(HWND Value);
  // True when the window exists and is visible on the screen (itself and its parents).
  bool Showing() const;
  bool IsVisibleInTree() const override;

  // ---- children ----
  int ControlCount() const { return static_cast<int>(FControls.size() + FWinControls.size()); }
  // Windowless children first.
  TControl* Controls(int Index) const;
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);
  bool ContainsControl(const TControl* Control) const;
  // The child (windowless unless AllowWinControls) at a client point, topmost first; AllLevels
  // searches inside windowed children too.
  TControl* ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls = false, bool AllLevels = false) const;
  TControl* FindChildControl(const String& ControlName) const;
  void Broadcast(TMessage& Message) override;
  // Perform(Msg) on every child.
  void NotifyControls(UINT Msg);
  // The children a form description nests in this control: those owned by Root.
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) const override;
  // Paints the windowless children (from First on) into DC, each clipped to its bounds.
  void PaintControls(HDC DC, TControl* First);

  // ---- focus and keyboard ----
  int TabOrder() const;
  void SetTabOrder(int Value);
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool Value);
  // Focusable children, descending into containers, in tab order.
  void GetTabOrderList(std::vector<TWinControl*>& List) const;
  TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop, bool CheckParent) const;
  void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);
  void SelectFirst();
  virtual bool CanFocus() const;
  bool Focused() const;
  virtual void SetFocus();

  // ---- layout ----
  TPadding* Padding() const { return FPadding.get(); }
  void SetPadding(TPadding* Value) { FPadding->Assign(Value); }
  TRect ClientRect() const override;
  TPoint ClientOrigin() const override;
  void SetClientSize(int W, int H) override;
  // The area the aligned children share: the client rectangle less Padding, by default.
  virtual void AdjustClientRect(TRect& Rect) const;
  void Realign();
  void DisableAlign() { ++FAlignLevel; }
  void EnableAlign();
  bool AlignDisabled() const { return FAlignLevel > 0; }
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  bool ParentBackground() const { return FControlStyle.Contains(csParentBackground); }
  void SetParentBackground(bool Value);

  // ---- painting ----
  void Invalidate() override;
  void Update() override;
  void Repaint() override;
  // Paints the control's own content and its windowless children into DC at (X, Y), not its
  // windowed children; the control is marked csPaintCopy meanwhile.
  void PaintTo(HDC DC, int X, int Y);

  void SetEnabled(bool Value) override;
  void SetParent(TWinControl* AParent) override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;

  // The style hook of the control's class (see platform/themes/stylehooks.h), made with its
  // first window; it sees every message before the control does. Null when the class has none.
  TStyleHook* StyleHook() const { return FStyleHook.get(); }

  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;
  TKeyEvent OnKeyUp;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

protected:
  String GetText() const override;
  virtual void CreateParams(TCreateParams& Params);
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& Params);
  virtual void DestroyWnd();
  virtual void DestroyWindowHandle();
  // Makes the window and those of the visible children.
  virtual void CreateHandle();
  // A control over an existing window class (native controls): the class's procedure becomes
  // the default handler.
  void CreateSubClass(TCreateParams& Params, const char* ControlClassName);
  // Lays the aligned and anchored children out in Rect.
  virtual void AlignControls(TControl* AControl, TRect& Rect);
  void AlignControl(TControl* AControl);
  bool CanAutoSize(int& NewWidth, int& NewHeight) override;
  void BoundsChanged(const TRect& Old) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Loaded() override;
  // Paints the content (TCustomControl: Paint) into DC.
  virtual void PaintWindow(HDC DC);
  // WM_PAINT: DC from the message (painting into a given DC) or from BeginPaint.
  void PaintHandler(TMessage& Message);

  // Keys: the form's KeyPreview first, then OnKeyDown / KeyDown. Return true when the key was
  // eaten (the default handling does not run).
  virtual bool DoKeyDown(TMessage& Message);
  virtual bool DoKeyPress(TMessage& Message);
  virtual bool DoKeyUp(TMessage& Message);
  virtual void KeyDown(WORD& Key, TShiftState Shift);
  virtual void KeyPress(char32_t& Key);
  virtual void KeyUp(WORD& Key, TShiftState Shift);
  virtual void DoEnter();
  virtual void DoExit();
  // Whether a key message is a menu shortcut of the form.
  virtual bool IsMenuKey(TMessage& Message);

  // Message handlers.
  virtual void WMPaint(TMessage& Message);
  virtual void WMEraseBkgnd(TMessage& Message);
  // Paints the client area into the given context as WM_PAINT with a context does (own
  // content and windowless children), erasing first with PRF_ERASEBKGND.
  virtual void WMPrintClient(TMessage& Message);
  virtual void WMWindowPosChanged(TMessage& Message);
  virtual void WMSetFocus(TMessage& Message);
  virtual void WMKillFocus(TMessage& Message);
  virtual void WMKeyDown(TMessage& Message);
  virtual void WMKeyUp(TMessage& Message);
  virtual void WMChar(TMessage& Message);
  virtual void WMSetCursor(TMessage& Message);
  virtual void WMNCDestroy(TMessage& Message);
  virtual void WMCaptureChanged(TMessage& Message);
  virtual void WMGetDlgCode(TMessage& Message) { DefaultHandler(Message); }
  virtual void CNKeyDown(TMessage& Message);
  virtual void CNKeyUp(TMessage& Message);
  virtual void CNChar(TMessage& Message);
  virtual void CNSysKeyDown(TMessage& Message);
  virtual void CNSysChar(TMessage& Message);
  virtual void CMDialogKey(TMessage& Message);
  virtual void CMDialogChar(TMessage& Message);
  virtual void CMEnter(TMessage& Message);
  virtual void CMExit(TMessage& Message);
  virtual void CMShowingChanged(TMessage& Message);
  virtual void CMRecreateWnd(TMessage& Message);
  void CMFontChanged(TMessage& Message) override;
  void CMColorChanged(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMVisibleChanged(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;
  void CMBiDiModeChanged(TMessage& Message) override;
  void CMStyleChanged(TMessage& Message) override;
  // Child notifications reflected back to the child as CN_ messages.
  void ReflectToChild(TMessage& Message, HWND Child);

  // Shows, hides or makes the window as Visible and the parent say.
  virtual void UpdateShowing();
  // Where the window goes in z-order: below the window of the next windowed sibling.
  HWND PrecedingWindow(const TWinControl* Control) const;

  HWND FHandle = nullptr;
  WNDPROC FDefWndProc = nullptr;

private:
  friend class TControl;
  friend class TCustomForm;
  // The class procedure of every control window: attaches the window being made to its
  // control, which handles every message from then on.
  static LRESULT InitWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  LRESULT MainWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  // Tab orders read from a form description are applied once the siblings exist.
  void ApplyPendingTabOrders();
  // Border sizes of the window CreateParams describes, for a control without a window yet.
  TRect ClientInsets() const;
  // Passes a mouse message to the windowless child under it (or holding the capture).
  bool IsControlMouseMsg(TMessage& Message);
  void DoAlign(TAlign AAlign, TControl* AControl, TRect& Rect);
  void PaddingChanged(TObject* Sender);
  void ListInsert(TControl* AControl);
  void ListRemove(TControl* AControl);

  std::vector<TControl*> FControls;       // windowless children, bottom first
  std::vector<TWinControl*> FWinControls; // windowed children, bottom first
  std::vector<TWinControl*> FTabList;     // windowed children in tab order
  std::unique_ptr<TPadding> FPadding;
  WNDPROC FObjectInstance = nullptr;
  HWND FParentWindow = nullptr;
  int FAlignLevel = 0;
  int FTabOrderPending = -1;
  bool FTabStop = false;
  mutable bool FClientInsetsValid = false;
  mutable TRect FClientInsets;
  std::unique_ptr<TBrush> FBrush;
  std::unique_ptr<TStyleHook> FStyleHook;
  bool FStyleHookMade = false;
};

// The control behind a window (null for windows that are not controls').
TWinControl* FindControl(HWND Handle);
// The windowed control under a screen point (climbing from windows that are not controls').
TWinControl* FindWinControlAtPoint(TPoint ScreenPos);
// The control under a screen point, windowless ones included (AllowDisabled: disabled too).
TControl* FindControlAtPoint(TPoint ScreenPos, bool AllowDisabled);
