#include <gtest/gtest.h>

#include "platform/core/classes.h"

namespace {
KV_ENUM(TSampleKind, skPlain, skFancy, skPlaid)
using TSampleKinds = TSet<TSampleKind>;

class TSampleFont : public TPersistent {
  KV_CLASS(TSampleFont, TPersistent)
public:
  const String& Name() const { return FName; }
  void SetName(const String& v) { FName = v; }
  void Assign(const TPersistent* Source) override {
    if (auto* f = dynamic_cast<const TSampleFont*>(Source)) {
      FName = f->FName;
      return;
    }
    inherited::Assign(Source);
  }

private:
  String FName = "Tahoma";
};

class TSample : public TComponent {
  KV_CLASS(TSample, TComponent)
public:
  explicit TSample(TComponent* AOwner) : TComponent(AOwner) {}
  uint8_t Alpha() const { return FAlpha; }
  void SetAlpha(uint8_t v) { FAlpha = v; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool v) { FVisible = v; }
  TSampleKind Kind() const { return FKind; }
  void SetKind(TSampleKind v) { FKind = v; }
  TSampleKinds Kinds() const { return FKinds; }
  void SetKinds(TSampleKinds v) { FKinds = v; }
  TColor Color() const { return FColor; }
  void SetColor(TColor v) { FColor = v; }
  TSampleFont* Font() const { return FFont.get(); }
  void SetFont(TSampleFont* v) { FFont->Assign(v); }
  TSample* Buddy() const { return FBuddy; }
  void SetBuddy(TSample* v) { FBuddy = v; }
  double Ratio() const { return FRatio; }
  void SetRatio(double v) { FRatio = v; }
  int Count() const { return 3; }
  TNotifyEvent OnClick;

  void ButtonClick(TObject*) { ++Clicks; }
  void WrongShape(TObject*, int) {}
  int Clicks = 0;

private:
  uint8_t FAlpha = 255;
  bool FVisible = true;
  TSampleKind FKind = skPlain;
  TSampleKinds FKinds{skFancy};
  TColor FColor = clBtnFace;
  std::unique_ptr<TSampleFont> FFont = std::make_unique<TSampleFont>();
  TSample* FBuddy = nullptr;
  double FRatio = 0.5;
};

class TOtherComponent : public TComponent {
  KV_CLASS(TOtherComponent, TComponent)
public:
  using TComponent::TComponent;
};
}  // namespace

KV_IMPLEMENT_CLASS(TSampleFont) { r.Prop("Name", &TSampleFont::Name, &TSampleFont::SetName); }
KV_IMPLEMENT_CLASS(TSample) {
  r.Prop("Alpha", &TSample::Alpha, &TSample::SetAlpha, 255);
  r.Prop("Visible", &TSample::Visible, &TSample::SetVisible, true);
  r.Prop("Kind", &TSample::Kind, &TSample::SetKind, skPlain);
  r.Prop("Kinds", &TSample::Kinds, &TSample::SetKinds);
  r.Color("Color", &TSample::Color, &TSample::SetColor, clBtnFace);
  r.Prop("Font", &TSample::Font, &TSample::SetFont);
  r.Prop("Buddy", &TSample::Buddy, &TSample::SetBuddy);
  r.Prop("Ratio", &TSample::Ratio, &TSample::SetRatio);
  r.ReadOnly("Count", &TSample::Count);
  r.Event("OnClick", &TSample::OnClick);
  r.Method("ButtonClick", &TSample::ButtonClick);
  r.Method("WrongShape", &TSample::WrongShape);
}
KV_IMPLEMENT_CLASS(TOtherComponent) {}

TEST(Properties, ReadAndWriteEveryKindByName) {
  TSample owner(nullptr);
  owner.SetName("Form1");
  auto* s = new TSample(&owner);
  s->SetName("Sample1");
  auto* buddy = new TSample(&owner);
  buddy->SetName("Sample2");

  SetPropText(s, "alpha", "128");
  SetPropText(s, "Visible", "false");
  SetPropText(s, "Kind", "skPlaid");
  SetPropText(s, "Kinds", "[skPlain, skPlaid]");
  SetPropText(s, "Color", "clHighlight");
  SetPropText(s, "Font.Name", "DejaVu Sans");
  SetPropText(s, "Buddy", "Sample2");
  SetPropText(s, "Ratio", "0.25");
  SetPropText(s, "OnClick", "ButtonClick");  // bound to the owner's published method

  EXPECT_EQ(s->Alpha(), 128);
  EXPECT_FALSE(s->Visible());
  EXPECT_EQ(s->Kind(), skPlaid);
  EXPECT_EQ(s->Kinds(), (TSampleKinds{skPlain, skPlaid}));
  EXPECT_EQ(s->Color(), clHighlight);
  EXPECT_EQ(s->Font()->Name(), "DejaVu Sans");
  EXPECT_EQ(s->Buddy(), buddy);
  EXPECT_EQ(s->Ratio(), 0.25);
  s->OnClick(s);
  EXPECT_EQ(owner.Clicks, 1);
  EXPECT_TRUE(s->OnClick == TNotifyEvent(&owner, &TSample::ButtonClick));
  EXPECT_FALSE(s->OnClick == TNotifyEvent(buddy, &TSample::ButtonClick));

  EXPECT_EQ(GetPropText(s, "Kind"), "skPlaid");
  EXPECT_EQ(GetPropText(s, "Kinds"), "[skPlain, skPlaid]");
  EXPECT_EQ(GetPropText(s, "Color"), "clHighlight");
  EXPECT_EQ(GetPropText(s, "Buddy"), "Sample2");
  EXPECT_EQ(GetPropText(s, "Count"), "3");
  EXPECT_EQ(GetPropValue(s, "Visible").Kind, tkBool);

  const TPropInfo* kind = TSample::StaticClass().FindProperty("Kind");
  ASSERT_TRUE(kind);
  EXPECT_EQ(kind->Enum->Name(1), "skFancy");
  EXPECT_EQ(kind->Enum->IndexOf("SKFANCY"), 1);
  EXPECT_EQ(*kind->Default, 0);
  // Inherited properties are reached through the hierarchy, base class first.
  auto all = TSample::StaticClass().Properties();
  EXPECT_EQ(all.front()->Name, "Name");
  EXPECT_EQ(FindClass("tsample"), &TSample::StaticClass());
  TComponent* made = TSample::StaticClass().Factory()(&owner);
  EXPECT_EQ(made->ClassName(), "TSample");
}

TEST(Properties, BadNamesAndValuesGiveClearErrorsAndChangeNothing) {
  TSample owner(nullptr);
  auto* s = new TSample(&owner);
  auto* other = new TOtherComponent(&owner);
  other->SetName("Other1");
  struct Case {
    const char* path;
    const char* text;
    const char* message;
  } cases[] = {
      {"Colour", "clRed", "Property 'Colour' does not exist in class TSample"},
      {"Alpha", "256", "out of range for property 'Alpha' (0..255)"},
      {"Alpha", "12px", "not an integer"},
      {"Visible", "yes", "not True or False"},
      {"Kind", "skTartan", "not a value of TSampleKind"},
      {"Kinds", "skPlain", "sets are written [a, b]"},
      {"Kinds", "[skPlain, skNone]", "'skNone' is not a value of TSampleKind"},
      {"Color", "blue-ish", "not a colour"},
      {"Count", "4", "Property 'Count' is read-only"},
      {"Font.Size", "9", "Property 'Size' does not exist in class TSampleFont"},
      {"Buddy", "Nobody", "no component of that name"},
      {"Buddy", "Other1", "TOtherComponent is not a TSample"},
      {"OnClick", "NoSuchMethod", "no published method of that name"},
      {"OnClick", "WrongShape", "wrong signature"},
  };
  for (const Case& c : cases) {
    try {
      SetPropText(s, c.path, c.text);
      ADD_FAILURE() << c.path << " = " << c.text << " was accepted";
    } catch (const EPropertyError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
    }
  }
  EXPECT_EQ(s->Alpha(), 255);
  EXPECT_EQ(s->Kinds(), TSampleKinds{skFancy});
  EXPECT_EQ(s->Buddy(), nullptr);
  EXPECT_FALSE(s->OnClick);
  EXPECT_THROW(SetPropValue(s, "Alpha", TValue::Text("1")), EPropertyError);  // wrong kind
  EXPECT_THROW(SetPropValue(s, "Kind", TValue::Enum(3)), EPropertyError);     // past the last value
}
