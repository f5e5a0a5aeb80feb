// Forms and frames: creation from descriptions, CreateForm, closing, modal forms, deferred
// destruction, positions, the main loop and exceptions in handlers.
#include "support.h"

#include "platform/controls/actions.h"
#include "platform/controls/extctrls.h"
#include "platform/controls/menus.h"
#include "platform/controls/stdctrls.h"
#include "platform/controls/timer.h"
#include "platform/streaming/formreader.h"

using namespace kvtest;

namespace {
const char* const kFormsTestForm = R"(
object FormsTestForm: TFormsTestForm
  Left = 100
  Top = 100
  BorderStyle = bsNone
  Caption = 'Forms test'
  ClientWidth = 300
  ClientHeight = 200
  OnCreate = FormCreate
  object Panel1: TPanel
    Align = alTop
    Height = 50
    Caption = 'Top'
    object Label1: TLabel
      Left = 8
      Top = 8
      Caption = '&Name'
      FocusControl = Button1
    end
  end
  object Button1: TButton
    Left = 10
    Top = 100
    Caption = 'Go'
    ModalResult = mrOk
    Cursor = crHandPoint
    OnClick = Button1Click
  end
  object Timer1: TTimer
    Enabled = False
    Interval = 250
  end
end
)";

class TFormsTestForm : public TForm {
  KV_CLASS(TFormsTestForm, TForm)
public:
  explicit TFormsTestForm(TComponent* AOwner) : TForm(AOwner) { InitComponent(kFormsTestForm); }
  TPanel* Panel1 = nullptr;
  TLabel* Label1 = nullptr;
  TButton* Button1 = nullptr;
  TTimer* Timer1 = nullptr;
  void FormCreate(TObject*);
  void Button1Click(TObject*) { ++Clicks; }
  int Clicks = 0;
  // What the global variable held while OnCreate ran.
  TFormsTestForm* GlobalDuringCreate = nullptr;
  bool MainFormDuringCreate = false;
};

TFormsTestForm* GFormsTestForm = nullptr;
void TFormsTestForm::FormCreate(TObject*) {
  GlobalDuringCreate = GFormsTestForm;
  MainFormDuringCreate = Application->MainForm() == this;
}

const char* const kFormsTestFrame = R"(
object FormsTestFrame: TFormsTestFrame
  Width = 120
  Height = 80
  object Inner: TPanel
    Left = 4
    Top = 4
    Width = 50
    Height = 20
  end
end
)";

class TFormsTestFrame : public TFrame {
  KV_CLASS(TFormsTestFrame, TFrame)
public:
  explicit TFormsTestFrame(TComponent* AOwner) : TFrame(AOwner) { InitComponent(kFormsTestFrame); }
  TPanel* Inner = nullptr;
};
}  // namespace

KV_IMPLEMENT_CLASS(TFormsTestForm) {
  r.Field("Panel1", &TFormsTestForm::Panel1);
  r.Field("Label1", &TFormsTestForm::Label1);
  r.Field("Button1", &TFormsTestForm::Button1);
  r.Field("Timer1", &TFormsTestForm::Timer1);
  r.Method("FormCreate", &TFormsTestForm::FormCreate);
  r.Method("Button1Click", &TFormsTestForm::Button1Click);
}
KV_IMPLEMENT_CLASS(TFormsTestFrame) { r.Field("Inner", &TFormsTestFrame::Inner); }

TEST_F(ControlsTest, FormBuiltFromItsDescriptionBindsFieldsEventsAndNesting) {
  auto* f = New<TFormsTestForm>(nullptr);
  std::unique_ptr<TFormsTestForm> keep(f);
  ASSERT_NE(f->Button1, nullptr);
  ASSERT_NE(f->Label1, nullptr);
  EXPECT_EQ(f->Label1->Parent(), f->Panel1);
  EXPECT_EQ(f->Label1->FocusControl(), f->Button1);
  EXPECT_EQ(f->Button1->Cursor(), crHandPoint);
  EXPECT_EQ(f->Button1->ModalResult(), mrOk);
  EXPECT_EQ(f->ClientWidth(), 300);
  EXPECT_EQ(f->Panel1->Width(), 300) << "aligned once loading ended";
  EXPECT_EQ(f->Timer1->Interval(), 250u);
  EXPECT_EQ(GetPropText(f->Button1, "Cursor"), "crHandPoint");
  f->Button1->Click();
  EXPECT_EQ(f->Clicks, 1);
  Free(f->Timer1);
  EXPECT_EQ(f->Timer1, nullptr) << "a field forgets its freed component";
}

TEST_F(ControlsTest, CreateFormSetsTheGlobalBeforeOnCreateAndRegistersTheRoot) {
  Application->CreateForm(GFormsTestForm);
  ASSERT_NE(GFormsTestForm, nullptr);
  TFormsTestForm* f = GFormsTestForm;
  EXPECT_EQ(f->GlobalDuringCreate, f);
  EXPECT_TRUE(f->MainFormDuringCreate);
  EXPECT_EQ(FindGlobalRoot("FormsTestForm"), f);
  // Another description refers to the form's components by the form's name.
  std::unique_ptr<TForm> other(New<TForm>(nullptr));
  ReadComponentFromText(other.get(), R"(
object Other: TForm
  object Label9: TLabel
    FocusControl = FormsTestForm.Button1
  end
end)");
  auto* label = dynamic_cast<TLabel*>(other->FindComponent("Label9"));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->FocusControl(), f->Button1);
  other.reset();
  Free(f);
  EXPECT_EQ(Application->MainForm(), nullptr);
  EXPECT_EQ(FindGlobalRoot("FormsTestForm"), nullptr);
  GFormsTestForm = nullptr;
}

TEST_F(ControlsTest, DescriptionsRoundTripEveryPublishedProperty) {
  std::unique_ptr<TForm> f(New<TForm>(nullptr));
  f->SetName("RoundTrip");
  f->SetBorderStyle(bsDialog);
  f->SetPosition(poScreenCenter);
  f->SetKeyPreview(true);
  f->SetClientSize(333, 222);
  f->Font()->SetName("DejaVu Serif");
  auto* images = new TImageList(f.get());
  images->SetName("Images");
  auto* list = new TActionList(f.get());
  list->SetName("Actions");
  list->SetImages(images);
  auto* action = new TAction(f.get());
  action->SetName("SaveAction");
  action->SetActionList(list);
  action->SetCaption("&Save");
  action->SetImageIndex(2);
  auto* menu = new TPopupMenu(f.get());
  menu->SetName("Menu");
  auto* item = new TMenuItem(f.get());
  item->SetName("Item1");
  item->SetCaption("&First");
  item->SetRadioItem(true);
  item->SetGroupIndex(3);
  menu->Items()->Add(item);
  auto* panel = new TPanel(f.get());
  panel->SetName("Panel1");
  panel->SetParent(f.get());
  panel->SetAlign(alLeft);
  panel->SetAlignWithMargins(true);
  panel->Margins()->SetBounds(1, 2, 3, 4);
  panel->Padding()->SetLeft(6);
  panel->SetBevelOuter(bvLowered);
  panel->SetPopupMenu(menu);
  panel->SetHint("A panel");
  panel->SetShowHint(true);
  panel->SetStyleElements(TStyleElements{seFont});
  panel->SetBiDiMode(bdRightToLeft);
  panel->Constraints()->SetMinWidth(40);
  auto* button = new TButton(f.get());
  button->SetName("Button1");
  button->SetParent(panel);
  button->SetAction(action);
  button->SetCancel(true);
  button->SetModalResult(mrCancel);
  button->SetAnchors({akLeft, akBottom});
  button->SetCursor(crHandPoint);
  button->SetTabOrder(0);
  auto* label = new TLabel(f.get());
  label->SetName("Label1");
  label->SetParent(f.get());
  label->SetCaption("It's here");
  label->SetColor(clInfoBk);
  label->SetFocusControl(button);
  label->SetWordWrap(true);
  label->SetLayout(tlCenter);
  auto* timer = new TTimer(f.get());
  timer->SetName("Timer1");
  timer->SetInterval(40);
  timer->SetEnabled(false);
  String text = WriteComponentToText(f.get());
  for (const char* expected : {"BorderStyle = bsDialog", "Cursor = crHandPoint", "ModalResult = mrCancel",
                               "Action = SaveAction", "Images = Images", "PopupMenu = Menu", "FocusControl = Button1",
                               "Anchors = [akLeft, akBottom]", "Margins.Bottom = 4", "Padding.Left = 6",
                               "StyleElements = [seFont]", "Constraints.MinWidth = 40", "ClientWidth = 333",
                               "object SaveAction: TAction", "object Item1: TMenuItem", "GroupIndex = 3"})
    EXPECT_NE(text.find(expected), String::npos) << expected << " in\n" << text;
  EXPECT_EQ(text.find("\n  Width = "), String::npos) << "a form stores its client size, not its outer size";
  std::unique_ptr<TForm> g(New<TForm>(nullptr));
  ReadComponentFromText(g.get(), text);
  EXPECT_EQ(WriteComponentToText(g.get()), text);
  auto* b2 = dynamic_cast<TButton*>(g->FindComponent("Button1"));
  ASSERT_NE(b2, nullptr);
  EXPECT_EQ(b2->Caption(), "&Save") << "the action's caption";
  EXPECT_EQ(b2->Parent(), g->FindComponent("Panel1"));
}

TEST_F(ControlsTest, FramesAreBuiltAtRunTimeAndPlacedLikeControls) {
  TForm* f = MakeForm(0, 0, 300, 200);
  auto* frame = new TFormsTestFrame(f);
  frame->SetParent(f);
  frame->SetAlign(alClient);
  f->Show();
  ASSERT_NE(frame->Inner, nullptr);
  EXPECT_EQ(frame->Inner->Owner(), frame);
  EXPECT_EQ(frame->Inner->Parent(), frame);
  EXPECT_EQ(frame->BoundsRect(), TRect(0, 0, 300, 200));
  EXPECT_TRUE(frame->Inner->HandleAllocated());
  EXPECT_EQ(frame->Color(), f->Color()) << "a frame follows its parent's colour";
}

TEST_F(ControlsTest, CloseAsksOnCloseQueryAndDoesWhatOnCloseSays) {
  TForm* f = MakeForm();
  bool allow = false;
  TCloseAction action = caHide;
  int destroyed = 0;
  f->OnCloseQuery = [&](TObject*, bool& can) { can = allow; };
  f->OnClose = [&](TObject*, TCloseAction& a) { a = action; };
  f->OnDestroy = [&](TObject*) { ++destroyed; };
  f->Show();
  f->Close();
  EXPECT_TRUE(f->Visible()) << "OnCloseQuery refused";
  allow = true;
  action = caNone;
  f->Close();
  EXPECT_TRUE(f->Visible());
  action = caHide;
  f->Close();
  EXPECT_FALSE(f->Visible());
  f->Show();
  action = caFree;
  PostMessage(f->Handle(), WM_CLOSE, 0, 0);
  Forget(f);
  Application->ProcessMessages();
  EXPECT_EQ(destroyed, 1) << "caFree frees the form once its handlers returned";
}

TEST_F(ControlsTest, ShowModalRunsANestedLoopUntilModalResult) {
  TForm* owner = MakeForm(0, 0, 200, 100);
  owner->Show();
  auto* dlg = New<TFormsTestForm>(nullptr);
  std::unique_ptr<TFormsTestForm> keep(dlg);
  dlg->SetPosition(poDesigned);
  dlg->SetLeft(400);
  bool ownerEnabledDuring = true;
  int refusals = 1;
  dlg->OnCloseQuery = [&](TObject*, bool& can) {
    ownerEnabledDuring = IsWindowEnabled(owner->Handle());
    can = refusals-- <= 0;
  };
  // Clicked twice: the first answer is refused by OnCloseQuery, the second ends the loop.
  TPoint p = dlg->ClientToScreen(TPoint(dlg->Button1->Left() + 5, dlg->Button1->Top() + 5));
  Headless::Schedule(10, [&] {
    Headless::Click(p.X, p.Y);
    Headless::Schedule(10, [&] { Headless::Click(p.X, p.Y); });
  });
  TModalResult r = dlg->ShowModal();
  EXPECT_EQ(r, mrOk);
  EXPECT_EQ(dlg->Clicks, 2);
  EXPECT_FALSE(ownerEnabledDuring) << "the other forms wait while the modal form shows";
  EXPECT_TRUE(IsWindowEnabled(owner->Handle()));
  EXPECT_FALSE(dlg->Visible());
  dlg->Show();
  EXPECT_THROW(dlg->ShowModal(), EInvalidOperation) << "a visible form cannot become modal";
}

TEST_F(ControlsTest, ReleaseInsideAHandlerFreesAfterTheHandlerReturned) {
  TForm* f = MakeForm();
  auto* b = new TButton(f);
  b->SetParent(f);
  bool aliveAfterRelease = false;
  int destroyed = 0;
  f->OnDestroy = [&](TObject*) { ++destroyed; };
  b->OnClick = [&](TObject*) {
    f->Release();
    Application->ProcessMessages();  // even a nested loop inside the handler frees nothing yet
    aliveAfterRelease = destroyed == 0;
  };
  f->Show();
  Forget(f);
  Click(b, 5, 5);
  EXPECT_TRUE(aliveAfterRelease);
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(Application->PendingReleaseCount(), 0);
}

TEST_F(ControlsTest, ReleasedComponentFreedElsewhereIsForgotten) {
  auto* t = new TTimer(nullptr);
  t->SetEnabled(false);
  Application->ReleaseComponent(t);
  EXPECT_EQ(Application->PendingReleaseCount(), 1);
  Free(t);
  EXPECT_EQ(Application->PendingReleaseCount(), 0);
}

TEST_F(ControlsTest, PositionPlacesTheFormOnFirstShow) {
  TForm* f = MakeForm(0, 0, 200, 100);
  f->SetPosition(poScreenCenter);
  f->Show();
  EXPECT_EQ(f->BoundsRect(), TRect(412, 334, 612, 434));
  f->Hide();
  f->SetLeft(5);
  f->Show();
  EXPECT_EQ(f->Left(), 5) << "only the first showing places the form";
}

TEST_F(ControlsTest, ExceptionsInHandlersAreReportedAndTheLoopGoesOn) {
  TForm* f = MakeForm();
  auto* b = new TButton(f);
  b->SetParent(f);
  b->OnClick = [](TObject*) { throw EInvalidArgument("bad input"); };
  std::vector<String> reported;
  TObject* sender = nullptr;
  Application->OnException = [&](TObject* s, const std::exception& e) {
    sender = s;
    reported.push_back(e.what());
  };
  f->Show();
  Click(b, 5, 5);
  Click(b, 5, 5);
  Application->OnException = nullptr;
  EXPECT_EQ(reported, (std::vector<String>{"bad input", "bad input"}));
  EXPECT_EQ(sender, b);
}

TEST_F(ControlsTest, RunEndsWhenTheMainFormClosesAndFreesTheForms) {
  TFormsTestForm* main = nullptr;
  Application->CreateForm(main);
  int destroyed = 0;
  main->OnDestroy = [&](TObject*) { ++destroyed; };
  Headless::Schedule(50, [&] { main->Close(); });
  Application->Run();
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(Application->MainForm(), nullptr);
  EXPECT_FALSE(Application->Terminated()) << "ready to run again";
}

TEST_F(ControlsTest, AnchorsReadFromADescriptionMeasureAgainstTheAlignedParent) {
  std::unique_ptr<TForm> f(New<TForm>(nullptr));
  ReadComponentFromText(f.get(), R"(
object AnchorForm: TForm
  BorderStyle = bsNone
  ClientWidth = 480
  ClientHeight = 300
  object Footer: TPanel
    Align = alBottom
    Height = 40
    object OK: TButton
      Left = 296
      Top = 8
      Anchors = [akTop, akRight]
    end
  end
end)");
  auto* ok = dynamic_cast<TButton*>(f->FindComponent("OK"));
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->Left(), 296) << "the footer grew to the form's width while loading; the button stays where it was put";
  f->SetClientWidth(580);
  EXPECT_EQ(ok->Left(), 396);
}
