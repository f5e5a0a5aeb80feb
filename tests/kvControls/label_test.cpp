// TkvLabel: auto-size (right edge kept, glow margin, word wrap, alignment to the parent, the
// prefix rule for "&"), sizing deferred while loading, the accelerator and its focus control,
// and where the text is painted.
#include "kvControls/panels_support.h"
#include "platform/graphics/text.h"
#include "platform/streaming/formreader.h"

using namespace kvtest;

namespace {
// What DrawText measures for Text in the label's font (DT_CALCRECT, tabs expanded).
TSize Measure(const TkvLabel* l, const String& Text, unsigned Flags = 0, int Width = 0) {
  TBitmap b(1, 1);
  b.Canvas()->Font()->Assign(l->Font());
  TRect r(0, 0, Width, 0);
  String s = Text;
  b.Canvas()->TextRect(r, s, DT_CALCRECT | DT_EXPANDTABS | Flags);
  return {r.Width(), r.Height()};
}
}  // namespace

class LabelTest : public PanelsTest {
protected:
  void SetUp() override {
    PanelsTest::SetUp();
    form = ShownForm();
    label = New<TkvLabel>(form);
    label->SetParent(form);
    label->SetBounds(100, 40, 65, 17);
  }
  TForm* form = nullptr;
  TkvLabel* label = nullptr;
};

TEST_F(LabelTest, AutoSizeFollowsTheTextAndRightJustifiedKeepsItsRightEdge) {
  label->SetCaption("Short");
  EXPECT_EQ(label->Width(), Measure(label, "Short").cx);
  EXPECT_EQ(label->Height(), Measure(label, "Short").cy);
  EXPECT_EQ(label->Left(), 100);
  label->SetAlignment(taRightJustify);
  const int right = label->Left() + label->Width();
  for (const char* text : {"A much longer caption", "Mid", "Mid"}) {
    label->SetCaption(text);
    EXPECT_EQ(label->Width(), Measure(label, text).cx);
    EXPECT_EQ(label->Left() + label->Width(), right) << text;
  }
  // Right to left, a left-justified label keeps its right edge instead.
  label->SetAlignment(taLeftJustify);
  label->SetBiDiMode(bdRightToLeft);
  label->SetCaption("Rather longer than before");
  EXPECT_EQ(label->Left() + label->Width(), right);
}

TEST_F(LabelTest, GlowOfSizeFourAndOffsetTwoAddsTenPixelsEachWayOnce) {
  label->SetCaption("Glowing text");
  const TSize text = Measure(label, "Glowing text");
  label->GlowEffect()->SetEnabled(true);
  label->GlowEffect()->SetGlowSize(4);
  label->GlowEffect()->SetOffset(2);
  EXPECT_EQ(label->Width(), text.cx + 10);
  EXPECT_EQ(label->Height(), text.cy + 10);
  // More adjustments keep the size: neither a caption set again nor a wrapped label grows.
  label->SetCaption("Glowing text");
  label->AdjustSize();
  EXPECT_EQ(label->Width(), text.cx + 10);
  label->SetAutoSize(false);
  label->SetWidth(70);
  label->SetWordWrap(true);
  label->SetCaption("Glowing text that wraps over more lines");
  label->SetAutoSize(true);
  const TRect once = label->BoundsRect();
  for (int i = 0; i < 3; ++i) label->AdjustSize();
  EXPECT_EQ(label->BoundsRect(), once);
  EXPECT_EQ(label->Height(), Measure(label, label->Caption(), DT_WORDBREAK, 60).cy + 10);
  // A right-justified glowing label keeps its right edge too.
  label->SetWordWrap(false);
  label->SetAlignment(taRightJustify);
  const int right = label->Left() + label->Width();
  label->SetCaption("x");
  EXPECT_EQ(label->Left() + label->Width(), right);
  label->SetCaption("a wider caption");
  EXPECT_EQ(label->Left() + label->Width(), right);
}

TEST_F(LabelTest, AmpersandMeasuresByThePrefixRule) {
  const int blank = Measure(label, " ").cx;
  struct Case {
    const char* Text;
    bool ShowAccelChar;
    const char* MeasuredAs;  // the characters that take room
  };
  const Case cases[] = {
      {"&", true, " "},         // a lone prefix: one blank, so that a line height is given
      {"", true, " "},          // an empty caption measures one blank too
      {"&", false, "&"},        // without prefixes the ampersand is a character
      {"&&", true, "&"},        // a doubled one is a literal ampersand
      {"&File", true, "File"},  // the accelerator's marker takes no room
      {"&File", false, "&File"},
  };
  for (const Case& c : cases) {
    label->SetShowAccelChar(c.ShowAccelChar);
    label->SetCaption(c.Text);
    const TSize want = Measure(label, c.MeasuredAs, DT_NOPREFIX);
    EXPECT_EQ(label->Width(), want.cx) << "'" << c.Text << "'" << (c.ShowAccelChar ? "" : " no prefix");
    EXPECT_GT(label->Height(), 0);
  }
  label->SetShowAccelChar(true);
  label->SetCaption("&");
  EXPECT_EQ(label->Width(), blank);
}

TEST_F(LabelTest, AlignedLabelsKeepTheExtentTheirAlignmentGives) {
  auto* panel = New<TkvPanel>(form);
  panel->SetParent(form);
  panel->SetBounds(0, 100, 300, 100);
  label->SetParent(panel);
  label->SetAlign(alClient);
  label->SetCaption("A caption that would otherwise size the label");
  EXPECT_EQ(label->BoundsRect(), TRect(0, 0, 300, 100));
  label->SetAlign(alTop);
  label->SetCaption("Short");
  EXPECT_EQ(label->Width(), 300);
}

TEST_F(LabelTest, ShowAccelCharOffDrawsTheAmpersand) {
  label->SetCaption("A&B");
  const int withPrefix = label->Width();
  label->SetShowAccelChar(false);
  EXPECT_GT(label->Width(), withPrefix) << "the '&' is drawn and measured";
}

namespace {
class TLabelForm : public TForm {
  KV_CLASS(TLabelForm, TForm)
public:
  explicit TLabelForm(TComponent* AOwner) : TForm(AOwner) {}
};
KV_IMPLEMENT_CLASS(TLabelForm) {}
}  // namespace

TEST_F(LabelTest, SizingWaitsForTheEndOfLoading) {
  auto* f = New<TLabelForm>(nullptr);
  // Width is read after the properties that would size the label: while loading nothing is
  // sized, so the value read stands until Loaded sizes it once, keeping the right edge.
  ReadComponentFromText(f, R"(object LabelForm: TLabelForm
  object Note: TkvLabel
    Caption = 'Right'
    Alignment = taRightJustify
    GlowEffect.Enabled = True
    GlowEffect.GlowSize = 3
    Left = 10
    Top = 10
    Width = 200
  end
end
)");
  auto* note = static_cast<TkvLabel*>(f->FindComponent("Note"));
  const TSize text = Measure(note, "Right");
  EXPECT_EQ(note->Width(), text.cx + 6);
  EXPECT_EQ(note->Left() + note->Width(), 210);
  Free(f);
}

TEST_F(LabelTest, AcceleratorFocusesTheFocusControlWhenItCan) {
  auto* target = New<TProbe>(form);
  target->SetParent(form);
  target->SetBounds(10, 100, 50, 20);
  target->SetTabStop(true);
  auto* other = New<TProbe>(form);
  other->SetParent(form);
  other->SetBounds(10, 130, 50, 20);
  label->SetCaption("&Name:");
  label->SetFocusControl(target);
  struct Case {
    const char* What;
    bool LabelEnabled, ShowAccelChar, TargetEnabled, Focuses;
  };
  const Case cases[] = {
      {"plain", true, true, true, true},
      {"label disabled", false, true, true, false},
      {"no accelerators", true, false, true, false},
      {"target disabled", true, true, false, false},
  };
  for (const Case& c : cases) {
    other->SetFocus();
    label->SetEnabled(c.LabelEnabled);
    label->SetShowAccelChar(c.ShowAccelChar);
    target->SetEnabled(c.TargetEnabled);
    Headless::KeyPress('N');
    EXPECT_EQ(target->Focused(), c.Focuses) << c.What;
    label->SetEnabled(true);
    label->SetShowAccelChar(true);
    target->SetEnabled(true);
  }
  // A freed focus control is forgotten; the accelerator then does nothing.
  Free(target);
  EXPECT_EQ(label->FocusControl(), nullptr);
  other->SetFocus();
  Headless::KeyPress('N');
  EXPECT_TRUE(other->Focused());
}

TEST_F(LabelTest, LayoutPlacesTheTextBlockVertically) {
  label->SetAutoSize(false);
  label->SetBounds(0, 0, 120, 60);
  label->SetCaption("Text");
  label->Font()->SetColor(clBlack);
  form->SetColor(clWhite);
  const int th = Measure(label, "Text").cy;
  struct Case {
    TTextLayout Layout;
    int Top;
  };
  for (Case c : {Case{tlTop, 0}, Case{tlCenter, (60 - th) / 2}, Case{tlBottom, 60 - th}}) {
    label->SetLayout(c.Layout);
    TSurface s;
    Shot(form, s);
    int first = -1, last = -1;
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 120; ++x)
        if (Px(s, x, y) != Opaque(clWhite)) {
          if (first < 0) first = y;
          last = y;
        }
    ASSERT_GE(first, 0);
    EXPECT_GE(first, c.Top) << EnumInfo<TTextLayout>().Name(c.Layout);
    EXPECT_LT(last, c.Top + th);
  }
}

TEST_F(LabelTest, DisabledLabelIsGreyInTheNativeLook) {
  label->SetCaption("Disabled");
  label->Font()->SetColor(clBlack);
  form->SetColor(clWhite);
  label->SetEnabled(false);
  TSurface s;
  Shot(form, s);
  bool black = false, grey = false;
  for (int y = 40; y < 40 + label->Height(); ++y)
    for (int x = 100; x < 100 + label->Width(); ++x) {
      black |= Px(s, x, y) == Opaque(clBlack);
      grey |= Px(s, x, y) == Opaque(clGrayText);
    }
  EXPECT_FALSE(black);
  EXPECT_TRUE(grey);
}
