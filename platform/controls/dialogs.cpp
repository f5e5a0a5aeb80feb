// Message boxes.
#include "platform/controls/dialogs.h"

#include <algorithm>
#include <cmath>

#include "platform/controls/application.h"
#include "platform/controls/extctrls.h"
#include "platform/controls/screen.h"
#include "platform/controls/stdctrls.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/text.h"

KV_IMPLEMENT_CLASS(TColorDialog) {
  r.Color("Color", &TColorDialog::Color, &TColorDialog::SetColor, clBlack);
  r.Event("OnShow", &TColorDialog::OnShow);
  r.Event("OnClose", &TColorDialog::OnClose);
}

String MsgDlgButtonCaption(TMsgDlgBtn Button) {
  switch (Button) {
    case mbYes: return "&Yes";
    case mbNo: return "&No";
    case mbOK: return "OK";
    case mbCancel: return "Cancel";
    case mbAbort: return "&Abort";
    case mbRetry: return "&Retry";
    case mbIgnore: return "&Ignore";
    case mbAll: return "&All";
    case mbNoToAll: return "N&o to All";
    case mbYesToAll: return "Yes to &All";
    case mbHelp: return "&Help";
    case mbClose: return "&Close";
    case mbTryAgain: return "&Try Again";
    case mbContinue: return "C&ontinue";
  }
  return String();
}

TModalResult MsgDlgButtonResult(TMsgDlgBtn Button) {
  switch (Button) {
    case mbYes: return mrYes;
    case mbNo: return mrNo;
    case mbOK: return mrOk;
    case mbCancel: return mrCancel;
    case mbAbort: return mrAbort;
    case mbRetry: return mrRetry;
    case mbIgnore: return mrIgnore;
    case mbAll: return mrAll;
    case mbNoToAll: return mrNoToAll;
    case mbYesToAll: return mrYesToAll;
    case mbHelp: return mrHelp;
    case mbClose: return mrClose;
    case mbTryAgain: return mrTryAgain;
    case mbContinue: return mrContinue;
  }
  return mrNone;
}

namespace {
String DialogCaption(TMsgDlgType t) {
  switch (t) {
    case mtWarning: return "Warning";
    case mtError: return "Error";
    case mtInformation: return "Information";
    case mtConfirmation: return "Confirm";
    default: return Application && !Application->Title().empty() ? Application->Title() : String("Message");
  }
}

// The message box's icon: a symbol of our own in a disc or triangle, 32 x 32 pixels.
class TDialogIcon : public TGraphicControl {
public:
  TDialogIcon(TComponent* AOwner, TMsgDlgType Type) : TGraphicControl(AOwner), FType(Type) {
    FControlStyle.Exclude(csOpaque);
    SetBounds(0, 0, 32, 32);
  }

protected:
  void Paint() override {
    TCanvas* c = Canvas();
    TColor fill = FType == mtError ? RGB(200, 40, 40) : FType == mtWarning ? RGB(240, 190, 30) : RGB(40, 100, 200);
    c->Pen()->SetColor(FType == mtWarning ? RGB(150, 110, 0) : fill);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(fill);
    if (FType == mtWarning) c->Polygon({TPoint(16, 1), TPoint(31, 29), TPoint(1, 29)});
    else c->Ellipse(1, 1, 31, 31);
    c->Font()->SetName("DejaVu Sans");
    c->Font()->SetHeight(-20);
    c->Font()->SetStyle(TFontStyles{fsBold});
    c->Font()->SetColor(FType == mtWarning ? clBlack : clWhite);
    c->Brush()->SetStyle(bsClear);
    const char* sign = FType == mtError ? "\xC3\x97" : FType == mtWarning ? "!" : FType == mtInformation ? "i" : "?";
    TRect r(0, FType == mtWarning ? 6 : 1, 32, FType == mtWarning ? 31 : 31);
    String s = sign;
    c->TextRect(r, s, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
  }

private:
  TMsgDlgType FType;
};

TMsgDlgBtn DefaultOf(TMsgDlgButtons b) {
  if (b.Contains(mbOK)) return mbOK;
  if (b.Contains(mbYes)) return mbYes;
  for (size_t i = 0; i < TMsgDlgButtons::Size; ++i)
    if (b.Contains(static_cast<TMsgDlgBtn>(i))) return static_cast<TMsgDlgBtn>(i);
  return mbOK;
}
}  // namespace

TForm* CreateMessageDialog(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons) {
  return CreateMessageDialog(Msg, DlgType, Buttons, DefaultOf(Buttons));
}

TForm* CreateMessageDialog(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, TMsgDlgBtn DefaultButton) {
  if (Buttons.Empty()) throw EInvalidArgument("A message box needs at least one button");
  if (!Buttons.Contains(DefaultButton)) DefaultButton = DefaultOf(Buttons);
  auto* form = New<TForm>(Application);
  try {
    form->SetBorderStyle(bsDialog);
    form->SetCaption(DialogCaption(DlgType));
    form->SetPosition(poMainFormCenter);
    const int margin = 12, gap = 8, buttonW = 75, buttonH = 25;
    int textLeft = margin;
    if (DlgType != mtCustom) {
      auto* icon = new TDialogIcon(form, DlgType);
      icon->SetName("Image");
      icon->SetParent(form);
      icon->SetBounds(margin, margin, 32, 32);
      textLeft = margin + 32 + margin;
    }
    // The text wraps at a width that keeps the box readable.
    TBitmap scratch(1, 1);
    TCanvas* c = scratch.Canvas();
    c->Font()->Assign(form->Font());
    int maxText = std::max(200, std::min(420, (Screen ? Screen->Width() : 800) / 2));
    TRect tr(0, 0, maxText, 0);
    String measure = Msg.empty() ? String(" ") : Msg;
    c->TextRect(tr, measure, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    auto* label = new TLabel(form);
    label->SetName("Message");
    label->SetParent(form);
    label->SetShowAccelChar(false);
    label->SetWordWrap(true);
    label->SetAutoSize(false);
    label->SetCaption(Msg);
    int textTop = margin + (DlgType != mtCustom ? std::max(0, (32 - tr.Height()) / 2) : 0);
    label->SetBounds(textLeft, textTop, tr.Width() + 1, tr.Height());
    int count = 0;
    for (size_t i = 0; i < TMsgDlgButtons::Size; ++i) count += Buttons.Contains(static_cast<TMsgDlgBtn>(i)) ? 1 : 0;
    int buttonsW = count * buttonW + (count - 1) * gap;
    int contentW = std::max(textLeft + tr.Width() + margin, buttonsW + 2 * margin);
    int top = std::max(textTop + tr.Height(), DlgType != mtCustom ? margin + 32 : 0) + margin + 4;
    form->SetClientSize(contentW, top + buttonH + margin);
    int x = (contentW - buttonsW) / 2;
    bool hasCancel = Buttons.Contains(mbCancel);
    bool hasNo = Buttons.Contains(mbNo);
    TButton* def = nullptr;
    for (size_t i = 0; i < TMsgDlgButtons::Size; ++i) {
      auto b = static_cast<TMsgDlgBtn>(i);
      if (!Buttons.Contains(b)) continue;
      auto* btn = new TButton(form);
      btn->SetName(String(EnumInfo<TMsgDlgBtn>().Name(static_cast<int>(b))).substr(2) + "Button");
      btn->SetParent(form);
      btn->SetCaption(MsgDlgButtonCaption(b));
      btn->SetModalResult(MsgDlgButtonResult(b));
      btn->SetBounds(x, top, buttonW, buttonH);
      // Esc answers Cancel, else No, else the only button.
      btn->SetCancel(b == mbCancel || (b == mbNo && !hasCancel) || (count == 1 && !hasCancel && !hasNo));
      if (b == DefaultButton) {
        btn->SetDefault(true);
        def = btn;
      }
      x += buttonW + gap;
    }
    if (def) form->SetActiveControl(def);
  } catch (...) {
    Free(form);
    throw;
  }
  return form;
}

TModalResult MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx) {
  return MessageDlg(Msg, DlgType, Buttons, HelpCtx, DefaultOf(Buttons));
}

TModalResult MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx,
                        TMsgDlgBtn DefaultButton) {
  (void)HelpCtx;
  TForm* form = CreateMessageDialog(Msg, DlgType, Buttons, DefaultButton);
  TAliveGuard alive = form->AliveGuard();
  TModalResult r = mrCancel;
  try {
    r = form->ShowModal();
  } catch (...) {
    if (alive) Free(form);
    throw;
  }
  if (alive) Free(form);
  return r;
}

void ShowMessage(const String& Msg) { MessageDlg(Msg, mtCustom, TMsgDlgButtons{mbOK}); }

int MessageBox(const String& Text, const String& Caption, UINT Flags) {
  TMsgDlgButtons buttons;
  switch (Flags & MB_TYPEMASK) {
    case MB_OKCANCEL: buttons = mbOKCancel; break;
    case MB_ABORTRETRYIGNORE: buttons = mbAbortRetryIgnore; break;
    case MB_YESNOCANCEL: buttons = mbYesNoCancel; break;
    case MB_YESNO: buttons = mbYesNo; break;
    case MB_RETRYCANCEL: buttons = TMsgDlgButtons{mbRetry, mbCancel}; break;
    case MB_CANCELTRYCONTINUE: buttons = TMsgDlgButtons{mbCancel, mbTryAgain, mbContinue}; break;
    default: buttons = TMsgDlgButtons{mbOK}; break;
  }
  TMsgDlgType type = mtCustom;
  switch (Flags & MB_ICONMASK) {
    case MB_ICONHAND: type = mtError; break;
    case MB_ICONQUESTION: type = mtConfirmation; break;
    case MB_ICONEXCLAMATION: type = mtWarning; break;
    case MB_ICONASTERISK: type = mtInformation; break;
    default: break;
  }
  // MB_DEFBUTTONn: the n-th button in the order shown.
  int want = static_cast<int>((Flags & MB_DEFMASK) >> 8);
  TMsgDlgBtn def = DefaultOf(buttons);
  int n = 0;
  for (size_t i = 0; i < TMsgDlgButtons::Size; ++i) {
    auto b = static_cast<TMsgDlgBtn>(i);
    if (!buttons.Contains(b)) continue;
    if (n++ == want) def = b;
  }
  TForm* form = CreateMessageDialog(Text, type, buttons, def);
  if (!Caption.empty()) form->SetCaption(Caption);
  TAliveGuard alive = form->AliveGuard();
  TModalResult r = mrCancel;
  try {
    r = form->ShowModal();
  } catch (...) {
    if (alive) Free(form);
    throw;
  }
  if (alive) Free(form);
  switch (r) {
    case mrOk: return IDOK;
    case mrYes: return IDYES;
    case mrNo: return IDNO;
    case mrAbort: return IDABORT;
    case mrRetry: return IDRETRY;
    case mrIgnore: return IDIGNORE;
    case mrTryAgain: return IDTRYAGAIN;
    case mrContinue: return IDCONTINUE;
    default: return IDCANCEL;
  }
}
