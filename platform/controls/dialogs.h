#pragma once
// Message boxes and the colour dialog, in the framework's own look. Each runs as a modal form
// (a nested loop), so it can be opened from inside any event handler; the keys work as in any
// form: Enter chooses the default (or focused) button, Esc the cancel button, and a button's
// accelerator letter chooses it.
#include "platform/controls/forms.h"

KV_ENUM(TMsgDlgType, mtWarning, mtError, mtInformation, mtConfirmation, mtCustom)
KV_ENUM(TMsgDlgBtn, mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll,
        mbHelp, mbClose, mbTryAgain, mbContinue)
using TMsgDlgButtons = TSet<TMsgDlgBtn>;
constexpr TMsgDlgButtons mbYesNo{mbYes, mbNo};
constexpr TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
constexpr TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
constexpr TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};
constexpr TMsgDlgButtons mbAbortIgnore{mbAbort, mbIgnore};

// MessageBox kinds and options (MB_OK and the icon values are the window layer's).
constexpr UINT MB_OKCANCEL = 0x0001, MB_ABORTRETRYIGNORE = 0x0002, MB_YESNOCANCEL = 0x0003, MB_YESNO = 0x0004,
               MB_RETRYCANCEL = 0x0005, MB_CANCELTRYCONTINUE = 0x0006, MB_TYPEMASK = 0x000F;
constexpr UINT MB_ICONSTOP = MB_ICONHAND, MB_ICONERROR = MB_ICONHAND, MB_ICONWARNING = MB_ICONEXCLAMATION,
               MB_ICONINFORMATION = MB_ICONASTERISK, MB_ICONMASK = 0x00F0;
constexpr UINT MB_DEFBUTTON1 = 0x0000, MB_DEFBUTTON2 = 0x0100, MB_DEFBUTTON3 = 0x0200, MB_DEFBUTTON4 = 0x0300,
               MB_DEFMASK = 0x0F00;

// The text of a button ("&Yes") and its answer (mrYes).
String MsgDlgButtonCaption(TMsgDlgBtn Button);
TModalResult MsgDlgButtonResult(TMsgDlgBtn Button);

// Builds (does not show) the form of a message box: icon, text and buttons, the default button
// focused. DefaultButton: the button that answers Enter (by default OK or Yes, else the first).
TForm* CreateMessageDialog(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons);
TForm* CreateMessageDialog(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, TMsgDlgBtn DefaultButton);
// Shows a message box modally and returns the answer (mrYes, mrNo, mrOk, ...); mrCancel when it
// was closed another way. Raises EInvalidArgument for an empty set of buttons.
TModalResult MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx = 0);
TModalResult MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx,
                        TMsgDlgBtn DefaultButton);
void ShowMessage(const String& Msg);
// The MB_ form: returns IDOK, IDCANCEL, IDYES, IDNO, ...
int MessageBox(const String& Text, const String& Caption, UINT Flags);

// The colour dialog: a grid of colours, a spectrum with a lightness bar, and the chosen colour.
class TColorDialog : public TComponent {
  KV_CLASS(TColorDialog, TComponent)
public:
  explicit TColorDialog(TComponent* AOwner) : TComponent(AOwner) {}
  TColor Color() const { return FColor; }
  void SetColor(TColor Value) { FColor = Value; }
  // Shows the dialog modally; true (and Color set) when it was closed with OK.
  bool Execute();
  // The dialog form while Execute runs (for tests), else null.
  TForm* DialogForm() const { return FForm; }

  TNotifyEvent OnShow;
  TNotifyEvent OnClose;

private:
  TColor FColor = clBlack;
  TForm* FForm = nullptr;
};

// The colours of the dialog's grid, row by row (8 columns, 6 rows).
const std::vector<TColor>& ColorDialogPalette();
