// Windows of controls: made on demand, made again keeping the state, replaceable message
// procedures, reflected notifications, text and the order of children.
#include "support.h"

#include "platform/controls/extctrls.h"
#include "platform/controls/stdctrls.h"
#include "platform/windows/messageloop.h"

using namespace kvtest;

TEST_F(ControlsTest, WindowsAreMadeWhenTheParentHasOneAndTheControlShows) {
  TForm* f = MakeForm();
  auto* shown = new TProbe(f);
  shown->SetParent(f);
  auto* hidden = new TProbe(f);
  hidden->SetVisible(false);
  hidden->SetParent(f);
  EXPECT_FALSE(shown->HandleAllocated()) << "no window before the parent has one";
  f->Show();
  EXPECT_TRUE(shown->HandleAllocated());
  EXPECT_FALSE(hidden->HandleAllocated()) << "a hidden child waits";
  hidden->SetVisible(true);
  EXPECT_TRUE(hidden->HandleAllocated());
  EXPECT_EQ(GetParent(hidden->Handle()), f->Handle());
  auto* orphan = New<TWinControl>(nullptr);
  std::unique_ptr<TWinControl> keep(orphan);
  EXPECT_THROW(orphan->HandleNeeded(), EInvalidOperation) << "a child window needs a parent window";
}

TEST_F(ControlsTest, CreateParamsDescribeTheWindow) {
  TForm* f = MakeForm();
  auto* b = new TProbe(f);
  b->SetTabStop(true);
  b->SetEnabled(false);
  b->SetParent(f);
  auto* p = new TPanel(f);
  p->SetParent(f);
  f->Show();
  LONG_PTR st = GetWindowLongPtr(b->Handle(), GWL_STYLE);
  EXPECT_TRUE(st & WS_CHILD);
  EXPECT_TRUE(st & WS_TABSTOP);
  EXPECT_TRUE(st & WS_DISABLED);
  EXPECT_TRUE(GetWindowLongPtr(p->Handle(), GWL_STYLE) & WS_CLIPCHILDREN) << "containers clip their children";
  EXPECT_EQ(GetClassName(b->Handle()), "TCustomControl") << "a class without class information of its own";
  EXPECT_EQ(GetClassName(p->Handle()), "TPanel");
  b->SetEnabled(true);
  EXPECT_TRUE(IsWindowEnabled(b->Handle()));
}

TEST_F(ControlsTest, RecreateWndKeepsBoundsTextVisibilityChildrenAndFocus) {
  TForm* f = MakeForm();
  auto* panel = new TPanel(f);
  panel->SetParent(f);
  panel->SetBounds(10, 20, 200, 100);
  panel->SetCaption("Panel");
  auto* child = new TProbe(f);
  child->SetParent(panel);
  child->SetLeft(30);
  f->Show();
  child->SetFocus();
  int exits = 0;
  child->OnExit = [&](TObject*) { ++exits; };
  HWND before = panel->Handle();
  HWND childBefore = child->Handle();
  panel->RecreateWnd();
  EXPECT_NE(panel->Handle(), before);
  EXPECT_FALSE(IsWindow(childBefore));
  EXPECT_TRUE(child->HandleAllocated());
  EXPECT_EQ(GetParent(child->Handle()), panel->Handle());
  EXPECT_EQ(panel->BoundsRect(), TRect(10, 20, 210, 120));
  EXPECT_EQ(GetWindowText(panel->Handle()), "Panel");
  EXPECT_TRUE(child->Focused()) << "the focus comes back";
  EXPECT_EQ(exits, 0) << "making the window again is not leaving the control";
  panel->DestroyHandle();
  EXPECT_FALSE(child->HandleAllocated());
  EXPECT_EQ(panel->Caption(), "Panel") << "the text lives on without a window";
}

TEST_F(ControlsTest, WindowProcIsReplaceableAndPerformGoesThroughIt) {
  TForm* f = MakeForm();
  auto* b = new TButton(f);
  b->SetParent(f);
  f->Show();
  std::vector<UINT> seen;
  TMessageMethod old = b->WindowProc();
  b->SetWindowProc([&](TMessage& m) {
    if (m.Msg == CM_TEXTCHANGED || m.Msg == WM_USER + 7) seen.push_back(m.Msg);
    if (m.Msg == WM_USER + 7) {
      m.Result = 42;
      return;
    }
    old(m);
  });
  EXPECT_EQ(b->Perform(WM_USER + 7), 42);
  EXPECT_EQ(SendMessage(b->Handle(), WM_USER + 7, 0, 0), 42) << "the window's messages go there too";
  b->SetCaption("Changed");
  EXPECT_EQ(b->Caption(), "Changed") << "the old procedure still handles the rest";
  EXPECT_EQ(seen, (std::vector<UINT>{WM_USER + 7, WM_USER + 7, CM_TEXTCHANGED}));
  b->SetWindowProc(nullptr);
  EXPECT_EQ(b->Perform(WM_USER + 7), 0);
}

TEST_F(ControlsTest, ChildNotificationsComeBackToTheChildAsReflectedMessages) {
  TForm* f = MakeForm();
  auto* child = new TProbe(f);
  child->SetParent(f);
  f->Show();
  SendMessage(f->Handle(), WM_COMMAND, MAKEWPARAM(0, 5), reinterpret_cast<LPARAM>(child->Handle()));
  NMHDR hdr;
  hdr.hwndFrom = child->Handle();
  SendMessage(f->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&hdr));
  DRAWITEMSTRUCT dis;
  dis.CtlType = ODT_BUTTON;
  dis.hwndItem = child->Handle();
  SendMessage(f->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
  SendMessage(f->Handle(), WM_CTLCOLOREDIT, 0, reinterpret_cast<LPARAM>(child->Handle()));
  std::vector<UINT> reflected;
  for (UINT m : child->Messages)
    if (m >= CN_BASE) reflected.push_back(m);
  EXPECT_EQ(reflected, (std::vector<UINT>{CN_COMMAND, CN_NOTIFY, CN_DRAWITEM, CN_CTLCOLOREDIT}));
}

TEST_F(ControlsTest, ControlsListWindowlessChildrenFirst) {
  TForm* f = MakeForm();
  auto* w1 = new TProbe(f);
  w1->SetParent(f);
  auto* g1 = new TGraphicProbe(f);
  g1->SetParent(f);
  auto* w2 = new TProbe(f);
  w2->SetParent(f);
  auto* g2 = new TGraphicProbe(f);
  g2->SetParent(f);
  std::vector<TControl*> order;
  for (int i = 0; i < f->ControlCount(); ++i) order.push_back(f->Controls(i));
  EXPECT_EQ(order, (std::vector<TControl*>{g1, g2, w1, w2}));
  EXPECT_THROW(f->Controls(4), EListError);
  g2->SetParent(nullptr);  // unparented, not freed
  EXPECT_EQ(f->ControlCount(), 3);
  g2->SetParent(w1);
  EXPECT_EQ(g2->Parent(), w1);
  EXPECT_THROW(w1->SetParent(w1), EInvalidOperation);
  auto* p = new TPanel(f);
  p->SetParent(f);
  auto* inner = new TPanel(f);
  inner->SetParent(p);
  EXPECT_THROW(p->SetParent(inner), EInvalidOperation) << "a control cannot go inside its own child";
}

TEST_F(ControlsTest, NamingAControlSetsItsCaptionWhileTheyAgree) {
  TForm* f = MakeForm();
  auto* b = new TButton(f);
  b->SetName("Button1");
  EXPECT_EQ(b->Caption(), "Button1");
  b->SetName("OkButton");
  EXPECT_EQ(b->Caption(), "OkButton");
  b->SetCaption("OK");
  b->SetName("Other");
  EXPECT_EQ(b->Caption(), "OK") << "a caption of its own stays";
}
