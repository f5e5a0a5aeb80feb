// The published properties of the panel, group box and label: constructor values agree with
// the registered defaults and with the documented ones, and form descriptions keep every
// setting through a write and a read.
#include "kvControls/panels_support.h"
#include "platform/streaming/formreader.h"

using namespace kvtest;

namespace {
template <class C>
void ExpectDefaultsMatchRegistry() {
  C* c = New<C>(nullptr);
  for (const TPropInfo* p : C::StaticClass().Properties()) {
    if (!p->Default || p->ReadOnly()) continue;
    EXPECT_EQ(GetPropValue(c, p->Name).Ordinal, *p->Default) << C::StaticClass().Name() << "." << p->Name;
  }
  Free(c);
}

class TPropsForm : public TForm {
  KV_CLASS(TPropsForm, TForm)
public:
  explicit TPropsForm(TComponent* AOwner) : TForm(AOwner) {}
};
KV_IMPLEMENT_CLASS(TPropsForm) {}
}  // namespace

TEST_F(PanelsTest, ConstructorsAgreeWithTheRegisteredDefaults) {
  ExpectDefaultsMatchRegistry<TkvPanel>();
  ExpectDefaultsMatchRegistry<TkvGroupBox>();
  ExpectDefaultsMatchRegistry<TkvLabel>();
}

TEST_F(PanelsTest, DocumentedDefaults) {
  TkvPanel* p = New<TkvPanel>(nullptr);
  TkvGroupBox* g = New<TkvGroupBox>(nullptr);
  TkvLabel* l = New<TkvLabel>(nullptr);
  struct Case {
    TObject* Object;
    const char* Path;
    const char* Text;
  };
  const Case cases[] = {
      {p, "StyleKind", "kvpsPanel"},          {p, "BorderStyle", "kvpbsNone"},
      {p, "ShowCaption", "False"},            {p, "WallpaperIndex", "-1"},
      {p, "LightBorderColor", "clBtnHighlight"}, {p, "ShadowBorderColor", "clBtnShadow"},
      {p, "CaptionGlowEffect.Color", "clBtnShadow"}, {p, "CaptionGlowEffect.Enabled", "False"},
      {p, "Alignment", "taCenter"},           {p, "Color", "clBtnFace"},
      {g, "Alignment", "taLeftJustify"},      {g, "ImageIndex", "-1"},
      {g, "ShowCheckBox", "False"},           {g, "Checked", "False"},
      {g, "AutoEnabledControls", "False"},    {g, "GlowEffect.Color", "clHighlight"},
      {g, "ImageGlow", "True"},               {g, "Width", "150"},
      {g, "Height", "130"},                   {l, "GlowEffect.Color", "clBtnShadow"},
      {l, "AutoSize", "True"},                {l, "Layout", "tlTop"},
      {l, "Alignment", "taLeftJustify"},      {l, "ShowAccelChar", "True"},
      {l, "WordWrap", "False"},
  };
  for (const Case& c : cases) EXPECT_EQ(GetPropText(c.Object, c.Path), c.Text) << c.Path;
  EXPECT_FALSE(p->TransparentBackground());
  EXPECT_TRUE(g->TransparentBackground());
  EXPECT_TRUE(l->TransparentBackground());
  EXPECT_TRUE(p->ControlStyle().Contains(csAcceptsControls));
  EXPECT_TRUE(g->ControlStyle().Contains(csAcceptsControls));
  EXPECT_FALSE(l->ControlStyle().Contains(csAcceptsControls));
  Free(l);
  Free(g);
  Free(p);
}

TEST_F(PanelsTest, FormDescriptionsKeepEverySetting) {
  const char* text = R"(object PropsForm: TPropsForm
  Left = 0
  Top = 0
  ClientWidth = 400
  ClientHeight = 300
  object Pictures: TkvImageCollection
    Images = <
      item
        DrawStyle = idsStretch
      end>
  end
  object Glyphs: TImageList
  end
  object Panel: TkvPanel
    Left = 8
    Top = 8
    Width = 200
    Height = 100
    Caption = 'Panel'
    Color = clWindow
    StyleKind = kvpsEdit
    BorderStyle = kvpbsLeftBevel
    ShowCaption = True
    Wallpapers = Pictures
    WallpaperIndex = 0
    LightBorderColor = clRed
    ShadowBorderColor = clNavy
    CaptionGlowEffect.Enabled = True
    CaptionGlowEffect.Offset = 2
    Alignment = taRightJustify
    object Group: TkvGroupBox
      Left = 4
      Top = 4
      Caption = '&Group'
      Images = Glyphs
      ImageIndex = 3
      Alignment = taCenter
      ShowCheckBox = True
      Checked = True
      AutoEnabledControls = True
      GlowEffect.Enabled = True
      GlowEffect.GlowSize = 3
      ImageGlow = False
      object Text: TkvLabel
        Left = 6
        Top = 30
        Width = 80
        Height = 40
        Caption = 'Label'
        AutoSize = False
        Alignment = taCenter
        Layout = tlBottom
        WordWrap = True
        ShowAccelChar = False
        FocusControl = Panel
        GlowEffect.Enabled = True
        GlowEffect.Color = clRed
      end
    end
  end
end
)";
  auto* f = New<TPropsForm>(nullptr);
  ReadComponentFromText(f, text);
  const String written = WriteComponentToText(f);
  auto* panel = static_cast<TkvPanel*>(f->FindComponent("Panel"));
  auto* group = static_cast<TkvGroupBox*>(f->FindComponent("Group"));
  auto* label = static_cast<TkvLabel*>(f->FindComponent("Text"));
  EXPECT_EQ(panel->StyleKind(), kvpsEdit);
  EXPECT_EQ(panel->Wallpapers(), f->FindComponent("Pictures"));
  EXPECT_EQ(panel->CaptionGlowEffect()->Offset(), 2);
  EXPECT_EQ(group->Images(), f->FindComponent("Glyphs"));
  EXPECT_TRUE(group->Checked());
  EXPECT_EQ(group->GlowEffect()->GlowSize(), 3);
  EXPECT_EQ(label->FocusControl(), panel);
  EXPECT_EQ(label->Layout(), tlBottom);
  EXPECT_EQ(label->GlowEffect()->Color(), clRed);
  auto* again = New<TPropsForm>(nullptr);
  ReadComponentFromText(again, written);
  EXPECT_EQ(WriteComponentToText(again), written);
  Free(again);
  Free(f);
}
