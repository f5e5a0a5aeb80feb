// Actions and their links to controls.
#include "support.h"

#include "platform/controls/actions.h"
#include "platform/controls/stdctrls.h"

using namespace kvtest;

TEST_F(ControlsTest, ControlsFollowTheirActionAndClickRunsIt) {
  TForm* f = MakeForm();
  auto* list = new TActionList(f);
  auto* images = new TImageList(f);
  list->SetImages(images);
  auto* a = new TAction(f);
  a->SetActionList(list);
  a->SetCaption("&Save");
  a->SetHint("Saves");
  a->SetImageIndex(3);
  std::vector<TComponent*> executedFor;
  a->OnExecute = [&](TObject* s) {
    EXPECT_EQ(s, a);
    executedFor.push_back(a->ActionComponent());
  };
  auto* b = new TButton(f);
  b->SetParent(f);
  b->SetAction(a);
  EXPECT_EQ(b->Caption(), "&Save");
  EXPECT_EQ(b->Hint(), "Saves");
  a->SetEnabled(false);
  EXPECT_FALSE(b->Enabled());
  a->SetEnabled(true);
  a->SetCaption("Save &all");
  EXPECT_EQ(b->Caption(), "Save &all");
  auto* ca = dynamic_cast<TCustomAction*>(b->Action());
  ASSERT_NE(ca, nullptr);
  EXPECT_EQ(ca->ActionList()->Images(), images);
  b->Click();
  EXPECT_EQ(executedFor, (std::vector<TComponent*>{b}));
  EXPECT_EQ(a->ActionComponent(), nullptr) << "only while it runs";
  // An OnClick of its own wins over the action.
  int own = 0;
  b->OnClick = [&](TObject*) { ++own; };
  b->Click();
  EXPECT_EQ(own, 1);
  EXPECT_EQ(executedFor.size(), 1u);
  Free(a);
  EXPECT_EQ(b->Action(), nullptr) << "a freed action is forgotten";
  EXPECT_EQ(list->ActionCount(), 0);
}

TEST_F(ControlsTest, ActionListHandlesFirstAndActionsUpdateWhileIdle) {
  TForm* f = MakeForm();
  auto* list = new TActionList(f);
  auto* a = new TAction(f);
  a->SetActionList(list);
  int own = 0, updates = 0;
  a->OnExecute = [&](TObject*) { ++own; };
  a->OnUpdate = [&](TObject*) {
    ++updates;
    a->SetEnabled(false);
  };
  list->OnExecute = [&](TBasicAction*, bool& handled) { handled = true; };
  EXPECT_TRUE(a->Execute());
  EXPECT_EQ(own, 0) << "the list handled it";
  list->OnExecute = nullptr;
  auto* b = new TButton(f);
  b->SetParent(f);
  b->SetAction(a);
  f->Show();
  Application->ProcessMessages();
  Headless::Schedule(5, [] {});
  Application->HandleMessage();  // nothing waits: the application idles until the timer
  EXPECT_GE(updates, 1);
  EXPECT_FALSE(b->Enabled()) << "the update handler's state reached the control";
}

TEST_F(ControlsTest, GroupedActionsCheckOneAtATime) {
  TActionList list(nullptr);
  TAction a(nullptr), b(nullptr), c(nullptr);
  for (TAction* x : {&a, &b, &c}) {
    x->SetActionList(&list);
    x->SetGroupIndex(1);
    x->SetAutoCheck(true);
  }
  c.SetGroupIndex(2);
  c.SetChecked(true);
  a.Execute();
  EXPECT_TRUE(a.Checked());
  b.Execute();
  EXPECT_FALSE(a.Checked());
  EXPECT_TRUE(b.Checked());
  b.Execute();
  EXPECT_TRUE(b.Checked()) << "executing the checked action of a group keeps it checked";
  EXPECT_TRUE(c.Checked());
  for (TAction* x : {&a, &b, &c}) x->SetActionList(nullptr);
}
