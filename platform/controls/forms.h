#pragma once
// Forms and frames.
//
// TCustomForm is a top-level window with a caption and border (BorderStyle), a position rule
// for its first showing (Position), the control that has or gets the focus (ActiveControl),
// KeyPreview, and the life events: OnCreate once the form is built, OnShow / OnHide,
// OnActivate / OnDeactivate, OnCloseQuery and OnClose when it closes, OnDestroy. Show and
// ShowModal show it (ShowModal runs a nested loop until ModalResult is set); Close asks
// OnCloseQuery and OnClose and then hides or frees it (the main form's closing ends the
// application); Release frees it once its handlers have returned.
//
// Forms and frames built from a form description read it in their constructor: a subclass
// calls InitComponent(Description) from its own constructor body, when the object already has
// its final class, so that the description's class name, its published methods (events) and
// published fields (TFieldInfo) all resolve. OnCreate runs after construction
// (AfterConstruction: TApplication::CreateForm, creation by class name or New<T>), at the
// latest when the form is first shown.
//
// TFrame is a container built from a description and placed on a form like any control.
#include <string_view>

#include "platform/controls/customcontrol.h"

KV_ENUM(TFormBorderStyle, bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin)
KV_ENUM(TBorderIcon, biSystemMenu, biMinimize, biMaximize, biHelp)
using TBorderIcons = TSet<TBorderIcon>;
KV_ENUM(TPosition, poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter,
        poDesktopCenter, poMainFormCenter, poOwnerFormCenter)
KV_ENUM(TWindowState, wsNormal, wsMinimized, wsMaximized)
KV_ENUM(TFormStyle, fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop)
KV_ENUM(TCloseAction, caNone, caHide, caFree, caMinimize)
KV_ENUM(TFormStateFlag, fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated)
using TFormState = TSet<TFormStateFlag>;

using TCloseEvent = TEvent<TObject*, TCloseAction&>;
using TCloseQueryEvent = TEvent<TObject*, bool&>;
using TShortCutEvent = TEvent<TMessage&, bool&>;

class TCustomForm : public TWinControl {
  KV_CLASS(TCustomForm, TWinControl)
public:
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;
  void AfterConstruction() override;
  void BeforeDestruction() override;

  // ---- look and place ----
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value);
  TBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons Value);
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition Value) { FPosition = Value; }
  TWindowState WindowState() const;
  void SetWindowState(TWindowState Value);
  TFormStyle FormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle Value);
  TFormState FormState() const { return FFormState; }

  // ---- focus and keys ----
  TWinControl* ActiveControl() const { return FActiveControl; }
  // Raises EInvalidOperation for a control that cannot take the focus (once the form shows).
  void SetActiveControl(TWinControl* Control);
  // Makes Control the focused control; moves the focus there when the form is active.
  void FocusControl(TWinControl* Control);
  // The focus left Control (hidden, disabled or going away): the form forgets it.
  void DefocusControl(TControl* Control, bool Removing);
  // Records Control as the focused control and runs the OnExit / OnEnter chain. False when a
  // handler moved the focus on.
  bool SetFocusedControl(TWinControl* Control);
  bool KeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool Value) { FKeyPreview = Value; }
  bool Active() const { return FActive; }
  virtual bool IsShortCut(TMessage& Message);

  // ---- showing and closing ----
  void Show();
  void Hide() { SetVisible(false); }
  // Shows the form modally: the other forms are disabled and a nested loop runs until
  // ModalResult is not 0; returns it.
  virtual TModalResult ShowModal();
  TModalResult ModalResult() const { return FModalResult; }
  // While the form is modal, a result other than mrNone ends its loop (also when set from a
  // timer or another part of the program that runs while the loop waits).
  void SetModalResult(TModalResult Value);
  void Close();
  virtual bool CloseQuery();
  // Frees the form once the handlers running now have returned.
  void Release();
  void SetFocus() override;
  bool CanFocus() const override { return Visible() && Enabled(); }
  TCanvas* Canvas() const;
  // Not written to form descriptions: a form stores its client size instead.
  bool IsSizeStored() const { return false; }

  // ---- form descriptions ----
  // Reads the form's description (call from the subclass's constructor body).
  void InitComponent(std::string_view Description);
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) const override;
  void SetParent(TWinControl* AParent) override;

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnPaint;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TShortCutEvent OnShortCut;

protected:
  friend class TWinControl;
  void CreateParams(TCreateParams& Params) override;
  void Dispatch(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void UpdateShowing() override;
  virtual void DoCreate();
  virtual void DoDestroy();
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& Action);
  virtual void Activate();
  virtual void Deactivate();
  virtual void Paint();
  void PaintWindow(HDC DC) override;
  // Places the form by Position before it is first shown.
  virtual void ApplyPosition();
  void CMDialogKey(TMessage& Message) override;
  void WMClose(TMessage& Message);
  void WMActivate(TMessage& Message);
  void CMFocusChanged(TMessage& Message);

  TWinControl* FActiveControl = nullptr;
  TWinControl* FFocusedControl = nullptr;
  TFormState FFormState;
  TModalResult FModalResult = mrNone;

private:
  void CloseModal();
  void SetWindowFocus();
  TFormBorderStyle FBorderStyle = bsSizeable;
  TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
  TPosition FPosition = poDesigned;
  TWindowState FWindowState = wsNormal;
  TFormStyle FFormStyle = fsNormal;
  bool FKeyPreview = false;
  bool FActive = false;
  bool FCreated = false;    // OnCreate ran
  bool FPositioned = false; // Position applied
  bool FRecreating = false; // a child's window is being made again: no focus events
  std::unique_ptr<TControlCanvas> FCanvas;
};

class TForm : public TCustomForm {
  KV_CLASS(TForm, TCustomForm)
public:
  explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
};

class TCustomFrame : public TWinControl {
  KV_CLASS(TCustomFrame, TWinControl)
public:
  explicit TCustomFrame(TComponent* AOwner);
  void InitComponent(std::string_view Description);
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) const override;
};

class TFrame : public TCustomFrame {
  KV_CLASS(TFrame, TCustomFrame)
public:
  explicit TFrame(TComponent* AOwner) : TCustomFrame(AOwner) {}
};
