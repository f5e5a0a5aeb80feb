// TkvGroupBox: where the caption goes and how it is clamped, the caption band and the children's
// area, the caption check box with AutoEnabledControls (clicks, accelerator, loading from a form
// description) and the check glyph it draws.
#include "kvControls/panels_support.h"
#include "platform/streaming/formreader.h"

using namespace kvtest;

TEST(GroupBoxGeometry, CaptionRectFollowsAlignmentAndReadingAndStaysInsideTheFrame) {
  struct Case {
    TAlignment Alignment;
    bool RightToLeft;
    int Width, CaptionWidth;
    TRect Want;
  };
  const Case cases[] = {
      {taLeftJustify, false, 200, 50, {10, 0, 60, 16}},
      {taLeftJustify, true, 200, 50, {140, 0, 190, 16}},
      {taRightJustify, false, 200, 50, {140, 0, 190, 16}},
      // Right to left, right-aligned: 4 pixels wider than its mirror.
      {taRightJustify, true, 200, 50, {10, 0, 64, 16}},
      {taCenter, false, 200, 50, {75, 0, 125, 16}},
      {taCenter, true, 201, 51, {75, 0, 125, 16}},
      // Captions wider than the box are clamped to [10, W - 10] in every placement.
      {taLeftJustify, false, 100, 300, {10, 0, 90, 16}},
      {taLeftJustify, true, 100, 300, {10, 0, 90, 16}},
      {taRightJustify, false, 100, 300, {10, 0, 90, 16}},
      {taRightJustify, true, 100, 300, {10, 0, 90, 16}},
      {taCenter, false, 100, 300, {10, 0, 90, 16}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(GroupBoxCaptionRect(c.Alignment, c.RightToLeft, c.Width, c.CaptionWidth, 16), c.Want)
        << EnumInfo<TAlignment>().Name(c.Alignment) << (c.RightToLeft ? " rtl " : " ltr ") << c.Width << "/"
        << c.CaptionWidth;
}

class GroupBoxTest : public PanelsTest {
protected:
  void SetUp() override {
    PanelsTest::SetUp();
    form = ShownForm();
    box = New<TkvGroupBox>(form);
    box->SetParent(form);
    box->SetBounds(20, 20, 220, 160);
    box->SetCaption("&Options");
  }
  TWinControl* AddChild(int top, bool tabStop = true) {
    auto* c = New<TProbe>(form);
    c->SetParent(box);
    c->SetBounds(10, top, 60, 20);
    c->SetTabStop(tabStop);
    return c;
  }
  int TextHeight() {
    TBitmap b(1, 1);
    b.Canvas()->Font()->Assign(box->Font());
    return b.Canvas()->TextHeight("Wq");
  }
  TForm* form = nullptr;
  TkvGroupBox* box = nullptr;
};

TEST_F(GroupBoxTest, CaptionBandSetsTheChildrensArea) {
  TkvPanel* child = New<TkvPanel>(form);
  child->SetParent(box);
  child->SetAlign(alClient);
  const int th = TextHeight();
  EXPECT_EQ(child->BoundsRect(), TRect(3, th + 3, 217, 157));
  // The check box raises the band to 20; images to their height; the glow adds 2 size + offset.
  box->SetShowCheckBox(true);
  EXPECT_EQ(child->Top(), std::max(th, 20) + 3);
  TImageList images(nullptr);
  images.SetSize(32, 32);
  box->SetImages(&images);
  EXPECT_EQ(child->Top(), 32 + 3);
  box->SetImages(nullptr);
  box->SetShowCheckBox(false);
  box->GlowEffect()->SetEnabled(true);
  box->GlowEffect()->SetGlowSize(7);
  box->GlowEffect()->SetOffset(0);
  EXPECT_EQ(child->Top(), th + 14 + 3) << "glow 7, offset 0: 14 pixels taller";
  box->GlowEffect()->SetOffset(3);
  EXPECT_EQ(child->Top(), th + 17 + 3);
  // A bigger font makes a taller band.
  box->Font()->SetHeight(-24);
  EXPECT_EQ(child->Top(), TextHeight() + 17 + 3);
}

TEST_F(GroupBoxTest, CaptionWidthCountsTextImageCheckBoxAndGlow) {
  TBitmap b(1, 1);
  TCanvas* c = b.Canvas();
  c->Font()->Assign(box->Font());
  String shown = "Options";  // the accelerator's "&" is not drawn
  const int text = c->TextWidth(shown);
  EXPECT_EQ(box->GetCaptionWidth(c), text + 2);
  TImageList images(nullptr);
  images.SetSize(16, 16);
  box->SetImages(&images);
  box->SetImageIndex(0);
  EXPECT_EQ(box->GetCaptionWidth(c), text + 2) << "an index outside the list adds nothing";
  TBitmap glyph(16, 16);
  images.Add(&glyph, nullptr);
  EXPECT_EQ(box->GetCaptionWidth(c), text + 2 + 18);
  box->SetShowCheckBox(true);
  EXPECT_EQ(box->GetCaptionWidth(c), text + 2 + 18 + 20);
  box->GlowEffect()->SetEnabled(true);
  box->GlowEffect()->SetGlowSize(5);
  box->GlowEffect()->SetOffset(1);
  EXPECT_EQ(box->GetCaptionWidth(c), text + 2 + 18 + 20 + 11);
  box->SetImages(nullptr);
}

TEST_F(GroupBoxTest, PaintedCaptionNeverLeavesTheFrame) {
  box->SetCaption("A caption far wider than the group box that holds it, and then some more");
  for (TAlignment a : {taLeftJustify, taRightJustify, taCenter}) {
    box->SetAlignment(a);
    box->Repaint();
    EXPECT_EQ(box->CaptionRect().Left, 10);
    EXPECT_EQ(box->CaptionRect().Right, 210);
  }
}

TEST_F(GroupBoxTest, ClickingTheCaptionTogglesCheckedAndEnablesTheChildren) {
  TWinControl* a = AddChild(40);
  TWinControl* b = AddChild(70);
  box->SetShowCheckBox(true);
  box->SetAutoEnabledControls(true);
  EXPECT_FALSE(a->Enabled()) << "turning AutoEnabledControls on applies Checked";
  int changes = 0;
  box->OnChecked = [&](TObject* sender) {
    EXPECT_EQ(sender, box);
    ++changes;
  };
  Application->ProcessMessages();
  const TRect cap = box->CaptionRect();
  ASSERT_FALSE(cap.IsEmpty());
  struct Step {
    TPoint At;
    bool Checked;
  };
  // The glyph, the text, the far edges (inclusive) and then points just outside.
  const Step steps[] = {{{cap.Left + 6, cap.Top + 10}, true},     {{cap.Right - 3, cap.Top + 8}, false},
                        {{cap.Left, cap.Top}, true},              {{cap.Right, cap.Bottom}, false},
                        {{cap.Right + 2, cap.Top + 8}, false},    {{cap.Left + 20, cap.Bottom + 6}, false}};
  int expected = 0;
  bool was = false;
  for (const Step& s : steps) {
    Click(box, s.At.X, s.At.Y);
    EXPECT_EQ(box->Checked(), s.Checked) << s.At.X << "," << s.At.Y;
    EXPECT_EQ(a->Enabled(), s.Checked);
    EXPECT_EQ(b->Enabled(), s.Checked);
    if (s.Checked != was) ++expected;
    was = s.Checked;
  }
  EXPECT_EQ(changes, expected);
  // Without the check box the caption is only a caption.
  box->SetShowCheckBox(false);
  Click(box, cap.Left + 20, cap.Top + 8);
  EXPECT_FALSE(box->Checked());
}

TEST_F(GroupBoxTest, CheckedWithoutAutoEnabledControlsLeavesChildrenAlone) {
  TWinControl* a = AddChild(40);
  box->SetShowCheckBox(true);
  box->SetChecked(true);
  box->SetChecked(false);
  EXPECT_TRUE(a->Enabled());
}

TEST_F(GroupBoxTest, AcceleratorChecksOnceFocusesTheFirstFocusableChildAndNeverUnchecks) {
  TWinControl* untabbed = AddChild(40, false);
  TWinControl* first = AddChild(70);
  TWinControl* second = AddChild(100);
  (void)untabbed;
  box->SetShowCheckBox(true);
  box->SetAutoEnabledControls(true);
  ASSERT_FALSE(first->Enabled());
  int changes = 0;
  box->OnChecked = [&](TObject*) { ++changes; };
  form->SetActiveControl(nullptr);
  Headless::KeyPress('O', "o");
  EXPECT_TRUE(box->Checked());
  EXPECT_TRUE(first->Enabled());
  EXPECT_TRUE(first->Focused()) << "the first child in tab order that can take the focus";
  second->SetFocus();
  Headless::KeyPress('O', "o");
  EXPECT_TRUE(box->Checked()) << "the accelerator never unchecks";
  EXPECT_TRUE(first->Focused());
  EXPECT_EQ(changes, 1);
}

TEST_F(GroupBoxTest, AcceleratorSkipsChildrenThatCannotTakeTheFocus) {
  TWinControl* hidden = AddChild(40);
  TWinControl* disabled = AddChild(70);
  TWinControl* usable = AddChild(100);
  hidden->SetVisible(false);
  disabled->SetEnabled(false);
  Headless::KeyPress('O', "o");
  EXPECT_TRUE(usable->Focused());
  // A disabled group box does not take its accelerator.
  form->SetActiveControl(nullptr);
  box->SetEnabled(false);
  Headless::KeyPress('O', "o");
  EXPECT_FALSE(usable->Focused());
}

namespace {
class TCheckedForm : public TForm {
  KV_CLASS(TCheckedForm, TForm)
public:
  explicit TCheckedForm(TComponent* AOwner) : TForm(AOwner) {}
};
KV_IMPLEMENT_CLASS(TCheckedForm) {}

const char* kCheckedForm = R"(object CheckedForm: TCheckedForm
  object Box: TkvGroupBox
    Caption = 'Box'
    ShowCheckBox = True
    Checked = %s
    AutoEnabledControls = True
    object Inner: TkvPanel
      Left = 10
      Top = 30
    end
    object Note: TkvLabel
      Left = 10
      Top = 80
      Caption = 'Note'
    end
  end
end
)";
}  // namespace

TEST_F(GroupBoxTest, CheckedReadFromAFormDescriptionReachesChildrenReadAfterIt) {
  for (bool checked : {false, true}) {
    auto* f = New<TCheckedForm>(nullptr);
    char text[1024];
    std::snprintf(text, sizeof text, kCheckedForm, checked ? "True" : "False");
    ReadComponentFromText(f, text);
    auto* boxRead = static_cast<TkvGroupBox*>(f->FindComponent("Box"));
    ASSERT_NE(boxRead, nullptr);
    EXPECT_EQ(boxRead->Checked(), checked);
    EXPECT_EQ(static_cast<TControl*>(f->FindComponent("Inner"))->Enabled(), checked);
    EXPECT_EQ(static_cast<TControl*>(f->FindComponent("Note"))->Enabled(), checked);
    Free(f);
  }
}

TEST_F(GroupBoxTest, CheckGlyphShowsTheStateAndTheFrameStopsAtTheCaption) {
  box->SetShowCheckBox(true);
  TSurface unchecked, checked;
  Shot(form, unchecked);
  box->SetChecked(true);
  Shot(form, checked);
  const TRect cap = box->CaptionRect();
  int differ = 0;
  for (int y = 0; y < cap.Bottom; ++y)
    for (int x = 0; x < 220; ++x) {
      const bool changed = Px(unchecked, 20 + x, 20 + y) != Px(checked, 20 + x, 20 + y);
      differ += changed;
      if (changed) {
        ASSERT_TRUE(x >= cap.Left && x < cap.Left + 18) << "only the glyph changes: " << x;
      }
    }
  EXPECT_GT(differ, 5);
  // The frame's top line runs left of the caption and right of it, not under it.
  const int lineY = 20 + cap.Height() / 2;
  const uint32_t line = Px(checked, 20 + 5, lineY);
  EXPECT_EQ(Px(checked, 20 + cap.Right + 5, lineY), line);
  EXPECT_NE(Px(checked, 20 + cap.Left + 30, lineY), line);
}

TEST_F(GroupBoxTest, CaptionIsDrawnOverWhatLiesBehindTheBox) {
  // An image caption (and a glowing one) leaves the parent's colour around its text: no
  // opaque text background, no glow over the check glyph.
  form->SetColor(RGB(0, 140, 0));
  TImageList images(nullptr);
  images.SetSize(16, 16);
  images.SetColorDepth(cd32Bit);
  TBitmap glyph(16, 16);
  glyph.Canvas()->Brush()->SetColor(clBlue);
  glyph.Canvas()->FillRect(TRect(0, 0, 16, 16));
  images.Add(&glyph, nullptr);
  box->Font()->SetColor(clBlack);
  auto whitePixels = [&] {
    TSurface s;
    Shot(form, s);
    int n = 0;
    const TRect cap = box->CaptionRect();
    for (int y = cap.Top; y < cap.Bottom; ++y)
      for (int x = cap.Left; x < cap.Right; ++x) n += Px(s, 20 + x, 20 + y) == Opaque(clWhite);
    return n;
  };
  EXPECT_EQ(whitePixels(), 0);
  box->SetImages(&images);
  box->SetImageIndex(0);
  EXPECT_EQ(whitePixels(), 0) << "image and text";
  box->GlowEffect()->SetEnabled(true);
  EXPECT_EQ(whitePixels(), 0) << "image and glowing text";
  box->SetImages(nullptr);

  box->SetShowCheckBox(true);
  box->GlowEffect()->SetAlphaValue(0);
  TSurface without, with;
  Shot(form, without);
  box->GlowEffect()->SetAlphaValue(255);
  box->GlowEffect()->SetColor(clRed);
  Shot(form, with);
  const TRect cap = box->CaptionRect();
  bool glowSeen = false;
  for (int y = cap.Top; y < cap.Bottom; ++y)
    for (int x = cap.Left; x < cap.Right; ++x) {
      const bool changed = Px(without, 20 + x, 20 + y) != Px(with, 20 + x, 20 + y);
      if (x < cap.Left + 18) {
        EXPECT_FALSE(changed) << "glow over the check glyph at " << x << "," << y;
      }
      glowSeen |= changed;
    }
  EXPECT_TRUE(glowSeen);
}
