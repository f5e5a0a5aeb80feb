// Focus, tab order, dialog keys, accelerators, key events and the application's message hooks.
#include "support.h"

#include "platform/controls/extctrls.h"
#include "platform/controls/stdctrls.h"

using namespace kvtest;

namespace {
using Strings = std::vector<String>;

// A focusable control that records its key messages and focus events.
class TKeyProbe : public TProbe {
public:
  explicit TKeyProbe(TComponent* AOwner, std::vector<String>* Log = nullptr) : TProbe(AOwner), FLog(Log) {
    SetTabStop(true);
  }
  String Keys;  // characters that reached the default handling
  WORD WantSpecial = 0;  // a key this control claims through CM_WANTSPECIALKEY

protected:
  void Dispatch(TMessage& m) override {
    if (m.Msg == CM_WANTSPECIALKEY && WantSpecial && m.WParam == WantSpecial) {
      m.Result = 1;
      return;
    }
    TProbe::Dispatch(m);
  }
  void DefaultHandler(TMessage& m) override {
    if (m.Msg == WM_CHAR) utf8::Append(Keys, static_cast<char32_t>(m.WParam));
    if (m.Msg == WM_KEYDOWN && m.WParam == VK_RETURN) Keys += "<enter>";
    TProbe::DefaultHandler(m);
  }
  void DoEnter() override {
    if (FLog) FLog->push_back(Name() + ".enter");
    TProbe::DoEnter();
  }
  void DoExit() override {
    if (FLog) FLog->push_back(Name() + ".exit");
    TProbe::DoExit();
  }

private:
  std::vector<String>* FLog;
};
}  // namespace

class KeysTest : public ControlsTest {
protected:
  void SetUp() override {
    ControlsTest::SetUp();
    form = MakeForm();
  }
  template <class C = TKeyProbe>
  C* Add(const char* name, TWinControl* parent = nullptr, int x = 0) {
    auto* c = new C(form, &log);
    c->SetName(name);
    c->SetParent(parent ? parent : form);
    c->SetLeft(x);
    return c;
  }
  String FocusedName() const {
    HWND f = GetFocus();
    TWinControl* c = FindControl(f);
    return c ? c->Name() : String("(none)");
  }
  TForm* form = nullptr;
  std::vector<String> log;
};

TEST_F(KeysTest, TabSkipsDisabledInvisibleAndNonTabStopControls) {
  TKeyProbe* a = Add("A");
  TKeyProbe* b = Add("B", nullptr, 60);
  TKeyProbe* c = Add("C", nullptr, 120);
  TKeyProbe* d = Add("D", nullptr, 180);
  TKeyProbe* e = Add("E", nullptr, 240);
  b->SetEnabled(false);
  c->SetVisible(false);
  d->SetTabStop(false);
  form->SetActiveControl(a);
  form->Show();
  EXPECT_EQ(FocusedName(), "A");
  Headless::KeyPress(VK_TAB);
  EXPECT_EQ(FocusedName(), "E");
  Headless::KeyPress(VK_TAB);
  EXPECT_EQ(FocusedName(), "A") << "Tab wraps";
  Headless::KeyDown(VK_SHIFT);
  Headless::KeyPress(VK_TAB);
  Headless::KeyUp(VK_SHIFT);
  EXPECT_EQ(FocusedName(), "E") << "Shift+Tab goes back";
  // Reordering the tab list changes the order, not the place.
  e->SetTabOrder(0);
  a->SetFocus();
  Headless::KeyPress(VK_TAB);
  EXPECT_EQ(FocusedName(), "E") << "E comes first now, A second";
  e->SetTabOrder(1);
  Headless::KeyPress(VK_TAB);
  EXPECT_EQ(FocusedName(), "A") << "after E come B, C and D, none of which takes the Tab";
  EXPECT_TRUE(a->Keys.empty()) << "navigation keys type nothing";
  (void)d;
}

TEST_F(KeysTest, TabDescendsIntoContainersAndArrowsStayAmongSiblings) {
  TKeyProbe* a = Add("A");
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  panel->SetBounds(0, 50, 300, 100);
  TKeyProbe* p1 = Add("P1", panel);
  TKeyProbe* p2 = Add("P2", panel, 60);
  TKeyProbe* b = Add("B", nullptr, 200);
  p2->SetTabStop(false);
  form->SetActiveControl(a);
  form->Show();
  Headless::KeyPress(VK_TAB);
  EXPECT_EQ(FocusedName(), "P1");
  Headless::KeyPress(VK_TAB);
  EXPECT_EQ(FocusedName(), "B") << "P2 is no tab stop";
  p1->SetFocus();
  Headless::KeyPress(VK_RIGHT);
  EXPECT_EQ(FocusedName(), "P2") << "arrows move among siblings, tab stops or not";
  Headless::KeyPress(VK_RIGHT);
  EXPECT_EQ(FocusedName(), "P1") << "and wrap inside the parent";
  p1->DlgCode = DLGC_WANTARROWS;
  Headless::KeyPress(VK_RIGHT);
  EXPECT_EQ(FocusedName(), "P1") << "a control that wants the arrows keeps them";
  (void)b;
}

TEST_F(KeysTest, EnterAndEscReachTheFocusedControlBeforeDefaultAndCancelButtons) {
  TKeyProbe* edit = Add("Edit");
  auto* ok = new TButton(form);
  ok->SetParent(form);
  ok->SetBounds(100, 100, 75, 25);
  ok->SetDefault(true);
  auto* cancel = new TButton(form);
  cancel->SetParent(form);
  cancel->SetBounds(200, 100, 75, 25);
  cancel->SetCancel(true);
  Strings clicks;
  ok->OnClick = [&](TObject*) { clicks.push_back("ok"); };
  cancel->OnClick = [&](TObject*) { clicks.push_back("cancel"); };
  form->SetActiveControl(edit);
  form->Show();
  edit->DlgCode = DLGC_WANTALLKEYS;
  Headless::KeyPress(VK_RETURN);
  EXPECT_TRUE(clicks.empty());
  EXPECT_EQ(edit->Keys, "<enter>\r") << "the focused control took Enter as a key";
  edit->DlgCode = 0;
  edit->WantSpecial = VK_ESCAPE;  // claimed through CM_WANTSPECIALKEY instead
  Headless::KeyPress(VK_ESCAPE);
  EXPECT_TRUE(clicks.empty());
  edit->WantSpecial = 0;
  Headless::KeyPress(VK_RETURN);
  Headless::KeyPress(VK_ESCAPE);
  EXPECT_EQ(clicks, (Strings{"ok", "cancel"}));
  // A focused button answers Enter itself, not the default button.
  cancel->SetFocus();
  Headless::KeyPress(VK_RETURN);
  EXPECT_EQ(clicks, (Strings{"ok", "cancel", "cancel"}));
  EXPECT_FALSE(ok->IsActive());
  edit->SetFocus();
  EXPECT_TRUE(ok->IsActive()) << "back to the default button once no button has the focus";
}

TEST_F(KeysTest, AcceleratorsReachTheRightControl) {
  TKeyProbe* edit = Add("Edit");
  TKeyProbe* target = Add("Target", nullptr, 60);
  auto* open = new TButton(form);
  open->SetParent(form);
  open->SetCaption("&Open");
  open->SetBounds(0, 100, 75, 25);
  auto* close = new TButton(form);
  close->SetParent(form);
  close->SetCaption("Save && &Close");
  close->SetBounds(100, 100, 75, 25);
  auto* label = new TLabel(form);
  label->SetParent(form);
  label->SetCaption("&Name:");
  label->SetFocusControl(target);
  label->SetTop(150);
  Strings clicks;
  open->OnClick = [&](TObject*) { clicks.push_back("open"); };
  close->OnClick = [&](TObject*) { clicks.push_back("close"); };
  form->SetActiveControl(edit);
  form->Show();
  Headless::KeyPress('C');
  EXPECT_EQ(clicks, (Strings{"close"})) << "'&&' is a literal ampersand, not the accelerator";
  Headless::KeyPress('N');
  EXPECT_EQ(FocusedName(), "Target") << "a label's accelerator focuses its FocusControl";
  Headless::KeyDown(VK_MENU);
  Headless::KeyPress('O');
  Headless::KeyUp(VK_MENU);
  EXPECT_EQ(clicks, (Strings{"close", "open"})) << "Alt+letter works too";
  EXPECT_TRUE(edit->Keys.empty());
  // A control that wants characters types them instead.
  target->DlgCode = DLGC_WANTCHARS;
  Headless::KeyPress('O');
  EXPECT_EQ(target->Keys, "o");
  EXPECT_EQ(clicks.size(), 2u);
}

TEST_F(KeysTest, KeyPreviewAndAWritableKeyPressCharacter) {
  TKeyProbe* edit = Add("Edit");
  edit->DlgCode = DLGC_WANTCHARS;
  Strings seen;
  form->SetKeyPreview(true);
  form->OnKeyPress = [&](TObject*, char32_t& ch) {
    seen.push_back("form:" + utf8::Encode(ch));
    if (ch == 'a') ch = 'b';
    if (ch == 'x') ch = 0;
  };
  edit->OnKeyPress = [&](TObject*, char32_t& ch) { seen.push_back("edit:" + utf8::Encode(ch)); };
  form->SetActiveControl(edit);
  form->Show();
  Headless::TypeText("ax");
  EXPECT_EQ(seen, (Strings{"form:a", "edit:b", "form:x"}));
  EXPECT_EQ(edit->Keys, "b") << "the changed character is typed, #0 drops it";
}

TEST_F(KeysTest, HookSwallowsAKeySoNoCharacterFollows) {
  TKeyProbe* edit = Add("Edit");
  edit->DlgCode = DLGC_WANTCHARS;
  form->SetActiveControl(edit);
  form->Show();
  Strings order;
  int older = Application->AddMessageHook([&](MSG& m) {
    if (m.message == WM_KEYDOWN) order.push_back("older");
    return false;
  });
  int newer = Application->AddMessageHook([&](MSG& m) {
    if (m.message != WM_KEYDOWN) return false;
    order.push_back("newer");
    return m.wParam == 'Q';
  });
  Headless::KeyPress('Q');
  Headless::KeyPress('W');
  EXPECT_EQ(edit->Keys, "w") << "no WM_CHAR for the swallowed key";
  EXPECT_EQ(order, (Strings{"newer", "newer", "older"})) << "newest first; a swallowed message goes no further";
  // Hooks removed out of order leave the others working.
  Application->RemoveMessageHook(older);
  order.clear();
  Headless::KeyPress('Q');
  EXPECT_EQ(order, (Strings{"newer"}));
  Application->RemoveMessageHook(newer);
  Headless::KeyPress('Q');
  EXPECT_EQ(edit->Keys, "wq");
}

TEST_F(KeysTest, AnExclusiveHookHidesMessagesFromOlderHooksAndOnMessage) {
  TKeyProbe* edit = Add("Edit");
  form->SetActiveControl(edit);
  form->Show();
  int older = 0, onMessage = 0;
  int h1 = Application->AddMessageHook([&](MSG& m) {
    older += m.message == WM_KEYDOWN;
    return false;
  });
  Application->OnMessage = [&](MSG& m, bool&) { onMessage += m.message == WM_KEYDOWN; };
  int h2 = Application->AddMessageHook([](MSG&) { return false; }, true);
  Headless::KeyPress('K');
  EXPECT_EQ(older, 0);
  EXPECT_EQ(onMessage, 0);
  Application->RemoveMessageHook(h2);
  Headless::KeyPress('K');
  EXPECT_EQ(older, 1);
  EXPECT_EQ(onMessage, 1);
  Application->RemoveMessageHook(h1);
  Application->OnMessage = nullptr;
}

TEST_F(KeysTest, EnterAndExitRunThroughContainers) {
  auto* p1 = new TPanel(form);
  p1->SetName("P1");
  p1->SetParent(form);
  auto* p2 = new TPanel(form);
  p2->SetName("P2");
  p2->SetParent(form);
  p2->SetTop(100);
  for (TPanel* p : {p1, p2}) {
    p->OnEnter = [this, p](TObject*) { log.push_back(p->Name() + ".enter"); };
    p->OnExit = [this, p](TObject*) { log.push_back(p->Name() + ".exit"); };
  }
  TKeyProbe* a = Add("A", p1);
  TKeyProbe* b = Add("B", p2);
  TKeyProbe* c = Add("C", p2, 60);
  form->SetActiveControl(a);
  form->Show();
  log.clear();
  b->SetFocus();
  c->SetFocus();
  EXPECT_EQ(log, (Strings{"A.exit", "P1.exit", "P2.enter", "B.enter", "B.exit", "C.enter"}));
  EXPECT_EQ(form->ActiveControl(), c);
}

TEST_F(KeysTest, FocusLeavesHiddenDisabledAndFreedControls) {
  TKeyProbe* a = Add("A");
  TKeyProbe* b = Add("B", nullptr, 60);
  form->SetActiveControl(a);
  form->Show();
  a->SetVisible(false);
  EXPECT_EQ(form->ActiveControl(), nullptr);
  EXPECT_EQ(GetFocus(), form->Handle());
  b->SetFocus();
  b->SetEnabled(false);
  EXPECT_EQ(form->ActiveControl(), nullptr);
  b->SetEnabled(true);
  b->SetFocus();
  Free(b);
  EXPECT_EQ(form->ActiveControl(), nullptr);
  EXPECT_THROW(a->SetFocus(), EInvalidOperation) << "a hidden control cannot take the focus";
}
