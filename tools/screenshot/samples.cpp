// Sample forms of the screenshot tool: what the controls layer draws.
#include "platform/controls/extctrls.h"
#include "platform/controls/forms.h"
#include "platform/controls/stdctrls.h"

namespace {
const char* const kControlsSample = R"(
object ControlsSampleForm: TControlsSampleForm
  BorderStyle = bsSingle
  Caption = 'Controls'
  ClientWidth = 480
  ClientHeight = 320
  object Header: TPanel
    Align = alTop
    Height = 40
    BevelOuter = bvNone
    Caption = 'Windowed and windowless controls'
    Color = clHighlight
    Font.Color = clHighlightText
    Font.Style = [fsBold]
  end
  object Footer: TPanel
    Align = alBottom
    Height = 40
    BevelOuter = bvNone
    ShowCaption = False
    object OKButton: TButton
      Left = 296
      Top = 8
      Caption = 'OK'
      Default = True
      Anchors = [akTop, akRight]
    end
    object CancelButton: TButton
      Left = 384
      Top = 8
      Caption = 'Cancel'
      Cancel = True
      Anchors = [akTop, akRight]
    end
  end
  object Side: TPanel
    Align = alLeft
    Width = 150
    AlignWithMargins = True
    BevelOuter = bvLowered
    ShowCaption = False
    object NameLabel: TLabel
      Left = 10
      Top = 10
      Caption = '&Name:'
      FocusControl = ApplyButton
    end
    object Hint1: TLabel
      Left = 10
      Top = 34
      Width = 128
      Height = 60
      AutoSize = False
      WordWrap = True
      Caption = 'Labels are windowless: their parent paints them.'
    end
    object ApplyButton: TButton
      Left = 10
      Top = 110
      Width = 128
      Caption = '&Apply'
    end
    object Disabled1: TButton
      Left = 10
      Top = 144
      Width = 128
      Caption = 'Disabled'
      Enabled = False
    end
  end
  object Drawing: TPaintBox
    Align = alClient
    AlignWithMargins = True
    OnPaint = DrawingPaint
  end
end
)";

class TControlsSampleForm : public TForm {
  KV_CLASS(TControlsSampleForm, TForm)
public:
  explicit TControlsSampleForm(TComponent* AOwner) : TForm(AOwner) { InitComponent(kControlsSample); }
  TPaintBox* Drawing = nullptr;

  void DrawingPaint(TObject*) {
    TCanvas* c = Drawing->Canvas();
    TRect r = Drawing->ClientRect();
    c->Brush()->SetColor(clWindow);
    c->Pen()->SetColor(clBtnShadow);
    c->Rectangle(r);
    c->Brush()->SetColor(RGB(90, 150, 220));
    c->Pen()->SetColor(RGB(40, 90, 160));
    c->Ellipse(20, 20, 110, 110);
    c->Brush()->SetColor(RGB(240, 180, 60));
    c->Pen()->SetColor(RGB(170, 110, 20));
    c->RoundRect(130, 30, 260, 100, 16, 16);
    c->Pen()->SetColor(RGB(60, 160, 90));
    c->Pen()->SetWidth(3);
    c->MoveTo(20, 200);
    c->LineTo(120, 140);
    c->LineTo(200, 190);
    c->LineTo(280, 130);
    c->Pen()->SetWidth(1);
    c->Brush()->SetStyle(bsClear);
    c->Font()->SetColor(clWindowText);
    c->TextOut(20, 120, "A paint box draws itself in OnPaint");
  }
};

// Alignment with margins: each kind once, labelled.
class TLayoutSampleForm : public TForm {
  KV_CLASS(TLayoutSampleForm, TForm)
public:
  explicit TLayoutSampleForm(TComponent* AOwner) : TForm(AOwner) {
    SetCaption("Alignment");
    SetClientSize(400, 260);
    Padding()->SetBounds(4, 4, 4, 4);
    struct Part {
      const char* caption;
      TAlign align;
      int size;
      TColor color;
    } parts[] = {
        {"alTop", alTop, 36, RGB(200, 220, 250)},     {"alBottom", alBottom, 36, RGB(250, 220, 200)},
        {"alLeft", alLeft, 80, RGB(210, 240, 210)},   {"alRight", alRight, 80, RGB(240, 230, 200)},
        {"alClient", alClient, 0, RGB(245, 245, 250)},
    };
    for (const Part& p : parts) {
      auto* panel = new TPanel(this);
      panel->SetParent(this);
      panel->SetCaption(p.caption);
      panel->SetColor(p.color);
      panel->SetAlignWithMargins(true);
      if (p.size) panel->SetBounds(0, 0, p.size, p.size);
      panel->SetAlign(p.align);
    }
  }
};
}  // namespace

KV_IMPLEMENT_CLASS(TControlsSampleForm) {
  r.Field("Drawing", &TControlsSampleForm::Drawing);
  r.Method("DrawingPaint", &TControlsSampleForm::DrawingPaint);
}
KV_IMPLEMENT_CLASS(TLayoutSampleForm) {}
