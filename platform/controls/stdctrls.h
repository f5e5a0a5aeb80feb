#pragma once
// The framework's push button and label, drawn in its own flat look with the system colours.
//
// TButton clicks on a left press released inside it, on Space, on its accelerator and, as the
// form's default or cancel button, on Enter or Esc (Enter goes to the focused button instead
// when a button has the focus). A button with a ModalResult ends its modal form with it.
// TLabel is windowless; its accelerator moves the focus to FocusControl.
#include "platform/controls/customcontrol.h"

class TButton : public TCustomControl {
  KV_CLASS(TButton, TCustomControl)
public:
  explicit TButton(TComponent* AOwner);

  bool Default() const { return FDefault; }
  void SetDefault(bool Value);
  bool Cancel() const { return FCancel; }
  void SetCancel(bool Value) { FCancel = Value; }
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  void Click() override;
  // Pressed look (mouse held inside, or Space held).
  bool Pressed() const { return FPressed && (FMouseInside || FSpaceDown); }
  bool MouseInside() const { return FMouseInside; }
  // Answers Enter: the default button while no other button has the focus, or the focused one.
  bool IsActive() const { return FActive; }

protected:
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;
  void CMEnter(TMessage& Message) override;
  void CMExit(TMessage& Message) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void WMCancelMode(TMessage& Message) override;

private:
  bool FDefault = false;
  bool FCancel = false;
  bool FActive = false;
  bool FPressed = false;
  bool FSpaceDown = false;
  bool FMouseInside = false;
  TModalResult FModalResult = mrNone;
};

class TLabel : public TGraphicControl {
  KV_CLASS(TLabel, TGraphicControl)
public:
  explicit TLabel(TComponent* AOwner);

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool Value);
  // A transparent label draws only its text (the parent shows through).
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);
  void AdjustSize() override;

protected:
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  bool CanAutoSize(int& NewWidth, int& NewHeight) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Loaded() override;
  unsigned TextFlags() const;

private:
  TAlignment FAlignment = taLeftJustify;
  TTextLayout FLayout = tlTop;
  bool FWordWrap = false;
  bool FShowAccelChar = true;
  bool FTransparent = false;
  TWinControl* FFocusControl = nullptr;
};
