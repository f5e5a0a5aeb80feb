#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/core/classes.h"
#include "platform/core/lists.h"
#include "platform/streaming/formreader.h"

namespace {
KV_ENUM(TTestAlign, talNone, talTop, talClient)
KV_ENUM(TTestAnchor, takLeft, takTop, takRight, takBottom)
using TTestAnchors = TSet<TTestAnchor>;

class TTestFont : public TPersistent {
  KV_CLASS(TTestFont, TPersistent)
public:
  const String& Name() const { return FName; }
  void SetName(const String& v) { FName = v; }
  int Height() const { return FHeight; }
  void SetHeight(int v) { FHeight = v; }
  void Assign(const TPersistent* Source) override {
    if (auto* f = dynamic_cast<const TTestFont*>(Source)) {
      FName = f->FName;
      FHeight = f->FHeight;
      return;
    }
    inherited::Assign(Source);
  }

private:
  String FName = "Tahoma";
  int FHeight = -11;
};

class TTestItem : public TCollectionItem {
  KV_CLASS(TTestItem, TCollectionItem)
public:
  using TCollectionItem::TCollectionItem;
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& v) { FCaption = v; }
  TTestAlign Align() const { return FAlign; }
  void SetAlign(TTestAlign v) { FAlign = v; }

private:
  String FCaption;
  TTestAlign FAlign = talNone;
};

// A control-like component: owned by the root, nested in a parent.
class TTestBox : public TComponent {
  KV_CLASS(TTestBox, TComponent)
public:
  explicit TTestBox(TComponent* AOwner) : TComponent(AOwner), FItems(this) {}
  ~TTestBox() override {
    // Children outlive this part of the object (their owner frees them later): let go of them.
    for (TTestBox* k : FKids) k->FParent = nullptr;
    SetParentComponent(nullptr);
  }

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override { return FParent; }
  void SetParentComponent(TComponent* Value) override {
    if (FParent) {
      auto& k = FParent->FKids;
      k.erase(std::remove(k.begin(), k.end(), this), k.end());
    }
    FParent = dynamic_cast<TTestBox*>(Value);
    if (FParent) FParent->FKids.push_back(this);
  }
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) const override {
    for (TTestBox* k : FKids)
      if (k->Owner() == Root) Proc(k);
  }

  int Width() const { return FWidth; }
  void SetWidth(int v) { FWidth = v; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool v) { FVisible = v; }
  TTestAlign Align() const { return FAlign; }
  void SetAlign(TTestAlign v) { FAlign = v; }
  TTestAnchors Anchors() const { return FAnchors; }
  void SetAnchors(TTestAnchors v) { FAnchors = v; }
  TColor Color() const { return FColor; }
  void SetColor(TColor v) { FColor = v; }
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& v) { FCaption = v; }
  double Ratio() const { return FRatio; }
  void SetRatio(double v) { FRatio = v; }
  TTestFont* Font() const { return FFont.get(); }
  void SetFont(TTestFont* v) { FFont->Assign(v); }
  TStringList* Lines() const { return FLines.get(); }
  void SetLines(TStringList* v) { FLines->Assign(v); }
  TCollectionOf<TTestItem>* Items() const { return const_cast<TCollectionOf<TTestItem>*>(&FItems); }
  void SetItems(TCollectionOf<TTestItem>* v) { FItems.Assign(v); }
  TComponent* Buddy() const { return FBuddy; }
  void SetBuddy(TComponent* v) { FBuddy = v; }
  TNotifyEvent OnClick;

  void Loaded() override {
    inherited::Loaded();
    LoadedSawBuddy = FBuddy != nullptr;  // references are resolved before Loaded runs
  }
  bool LoadedSawBuddy = false;
  std::vector<TTestBox*> FKids;

private:
  TTestBox* FParent = nullptr;
  int FWidth = 100;
  bool FVisible = true;
  TTestAlign FAlign = talNone;
  TTestAnchors FAnchors{takLeft, takTop};
  TColor FColor = clBtnFace;
  String FCaption;
  double FRatio = 1;
  std::unique_ptr<TTestFont> FFont = std::make_unique<TTestFont>();
  std::unique_ptr<TStringList> FLines = std::make_unique<TStringList>();
  TCollectionOf<TTestItem> FItems;
  TComponent* FBuddy = nullptr;
};

class TTestForm : public TTestBox {
  KV_CLASS(TTestForm, TTestBox)
public:
  using TTestBox::TTestBox;
  // Nested boxes, then the owned components that have no parent.
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) const override {
    TTestBox::GetChildren(Proc, Root);
    TComponent::GetChildren(Proc, Root);
  }
  void Box1Click(TObject*) { ++Clicks; }
  int Clicks = 0;
};

class TTestList : public TComponent {
  KV_CLASS(TTestList, TComponent)
public:
  using TComponent::TComponent;
};
}  // namespace

KV_IMPLEMENT_CLASS(TTestFont) {
  r.Prop("Name", &TTestFont::Name, &TTestFont::SetName);
  r.Prop("Height", &TTestFont::Height, &TTestFont::SetHeight, -11);
}
KV_IMPLEMENT_CLASS(TTestItem) {
  r.Prop("Caption", &TTestItem::Caption, &TTestItem::SetCaption);
  r.Prop("Align", &TTestItem::Align, &TTestItem::SetAlign, talNone);
}
KV_IMPLEMENT_CLASS(TTestBox) {
  r.Prop("Width", &TTestBox::Width, &TTestBox::SetWidth, 100);
  r.Prop("Visible", &TTestBox::Visible, &TTestBox::SetVisible, true);
  r.Prop("Align", &TTestBox::Align, &TTestBox::SetAlign, talNone);
  r.Prop("Anchors", &TTestBox::Anchors, &TTestBox::SetAnchors, TTestAnchors{takLeft, takTop});
  r.Color("Color", &TTestBox::Color, &TTestBox::SetColor, clBtnFace);
  r.Prop("Caption", &TTestBox::Caption, &TTestBox::SetCaption);
  r.Prop("Ratio", &TTestBox::Ratio, &TTestBox::SetRatio);
  r.Prop("Font", &TTestBox::Font, &TTestBox::SetFont);
  r.Prop("Lines", &TTestBox::Lines, &TTestBox::SetLines);
  r.Prop("Items", &TTestBox::Items, &TTestBox::SetItems);
  r.Prop("Buddy", &TTestBox::Buddy, &TTestBox::SetBuddy);
  r.Event("OnClick", &TTestBox::OnClick);
}
KV_IMPLEMENT_CLASS(TTestForm) { r.Method("Box1Click", &TTestForm::Box1Click); }
KV_IMPLEMENT_CLASS(TTestList) {}

namespace {
const char* kForm = R"(object Form1: TTestForm
  Caption = 'It''s a ' + 'form'#13#10'two'
  Font.Name = 'DejaVu Sans'
  Font.Height = -13
  Color = clHighlight
  object Box1: TTestBox
    Width = 42
    Visible = False
    Align = talClient
    Anchors = [takLeft, takRight]
    Color = 5187328
    Ratio = 0.5
    Buddy = List1
    OnClick = Box1Click
    Lines.Strings = (
      'first'
      'second')
    Items = <
      item
        Caption = 'A'
      end
      item
        Caption = 'B'
        Align = talTop
      end>
    object Inner: TTestBox
      Buddy = Shared.Images
    end
  end
  object List1: TTestList
  end
end
)";

struct SharedRoot {
  TComponent root{nullptr};
  SharedRoot() {
    root.SetName("Shared");
    (new TTestList(&root))->SetName("Images");
    RegisterGlobalRoot(&root);
  }
};
}  // namespace

TEST(FormReader, BuildsTheTreeWithEveryKindOfValue) {
  SharedRoot shared;
  TTestForm form(nullptr);
  ReadComponentFromText(&form, kForm);

  EXPECT_EQ(form.Name(), "Form1");
  EXPECT_EQ(form.Caption(), "It's a form\r\ntwo");
  EXPECT_EQ(form.Font()->Name(), "DejaVu Sans");
  EXPECT_EQ(form.Color(), clHighlight);
  auto* box = dynamic_cast<TTestBox*>(form.FindComponent("Box1"));
  ASSERT_TRUE(box);
  EXPECT_EQ(box->Owner(), &form);
  EXPECT_EQ(box->GetParentComponent(), &form);
  EXPECT_EQ(box->Width(), 42);
  EXPECT_FALSE(box->Visible());
  EXPECT_EQ(box->Align(), talClient);
  EXPECT_EQ(box->Anchors(), (TTestAnchors{takLeft, takRight}));
  EXPECT_EQ(box->Color(), RGB(0, 39, 79));
  EXPECT_EQ(box->Ratio(), 0.5);
  EXPECT_EQ(box->Lines()->CommaText(), "first,second");
  ASSERT_EQ(box->Items()->Count(), 2);
  EXPECT_EQ(box->Items()->Items(1)->Align(), talTop);
  // Forward reference, resolved before Loaded.
  EXPECT_EQ(box->Buddy(), form.FindComponent("List1"));
  EXPECT_TRUE(box->LoadedSawBuddy);
  auto* inner = dynamic_cast<TTestBox*>(form.FindComponent("Inner"));
  ASSERT_TRUE(inner);
  EXPECT_EQ(inner->GetParentComponent(), box);
  EXPECT_EQ(inner->Buddy(), shared.root.FindComponent("Images"));
  box->OnClick(box);
  EXPECT_EQ(form.Clicks, 1);
  EXPECT_FALSE(form.ComponentState().Contains(csLoading));
  EXPECT_FALSE(inner->ComponentState().Contains(csLoading));
}

TEST(FormReader, WritingAndReadingBackGivesTheSameDescription) {
  SharedRoot shared;
  TTestForm form(nullptr);
  ReadComponentFromText(&form, kForm);
  String once = WriteComponentToText(&form);
  EXPECT_NE(once.find("Buddy = Shared.Images"), String::npos) << once;
  EXPECT_EQ(once.find("Width = 100"), String::npos) << "defaults are not written\n" << once;

  TTestForm copy(nullptr);
  ReadComponentFromText(&copy, once);
  EXPECT_EQ(WriteComponentToText(&copy), once);
  auto* box = dynamic_cast<TTestBox*>(copy.FindComponent("Box1"));
  ASSERT_TRUE(box);
  EXPECT_EQ(box->Items()->Items(0)->Caption(), "A");
  EXPECT_TRUE(box->OnClick == TNotifyEvent(&copy, &TTestForm::Box1Click));
}

TEST(FormReader, BadDescriptionsNameThePlaceAndLeaveNothingBehind) {
  struct Case {
    const char* text;
    const char* message;
  } cases[] = {
      {"object F: TTestBox\nend\n", "line 1, column 11: the description is for a TTestBox, not a TTestForm"},
      {"object F: TTestForm\n  object B: TNoSuchClass\n  end\nend\n", "line 2, column 13: class TNoSuchClass not found"},
      {"object F: TTestForm\n  object B: TTestBox\n    Widht = 3\n  end\nend\n", "line 3, column 5: property 'Widht' does not exist in class TTestBox"},
      {"object F: TTestForm\n  Align = talLeft\nend\n", "line 2, column 11: 'talLeft' is not a value of TTestAlign"},
      {"object F: TTestForm\n  Caption = 'open\nend\n", "unterminated string"},
      {"object F: TTestForm\n  Width = 'wide'\nend\n", "line 2, column 11: integer expected"},
      {"object F: TTestForm\n  Buddy = Nobody\nend\n", "line 2, column 11: invalid reference 'Nobody'"},
      {"object F: TTestForm\n  OnClick = Missing\nend\n", "method Missing is not a published method of TTestForm"},
      {"object F: TTestForm\n  object B: TTestBox\n  end\n", "'end' expected"},
      {"object F: TTestForm\n  object B: TTestBox\n  end\n  object B: TTestBox\n  end\nend\n", "line 4, column 10: A component named B already exists"},
      {"object F: TTestForm\n  object B: TTestBox\n    Name = 'x y'\n  end\nend\n", "not a valid component name"},
      {"object F: TTestForm\n  Font = 3\nend\n", "write its properties as Font.Name = value"},
  };
  for (const Case& c : cases) {
    TTestForm form(nullptr);
    try {
      ReadComponentFromText(&form, c.text);
      ADD_FAILURE() << "accepted:\n" << c.text;
    } catch (const EReadError& e) {
      EXPECT_NE(String(e.what()).find(c.message), String::npos) << e.what();
    }
    EXPECT_EQ(form.ComponentCount(), 0) << c.text;
    EXPECT_FALSE(form.ComponentState().Contains(csLoading));
  }
}
