// Windows of controls: made on demand, made again keeping the state, replaceable message
// procedures, reflected notifications, text and the order of children.
#include "support.h"

#include "platform/controls/extctrls.h"
#include "platform/controls/stdctrls.h"
#include "platform/graphics/text.h"
#include "platform/themes/stylemanager.h"
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

namespace {
class TStyledProbe : public TProbe {
  KV_CLASS(TStyledProbe, TProbe)
public:
  using TProbe::TProbe;
};

// Takes WM_USER + 9 from the control and answers it.
class TTestStyleHook : public TStyleHook {
  KV_CLASS(TTestStyleHook, TStyleHook)
public:
  explicit TTestStyleHook(TObject* AControl) : TStyleHook(AControl) {}

protected:
  void WndProc(TStyleHookMessage& m) override {
    if (m.Msg != WM_USER + 9) return;
    m.Result = 99;
    SetHandled(true);
  }
};

class TStyleCounter : public TGraphicProbe {
public:
  using TGraphicProbe::TGraphicProbe;
  int StyleChanges = 0;

protected:
  void Dispatch(TMessage& m) override {
    if (m.Msg == CM_STYLECHANGED) ++StyleChanges;
    TGraphicProbe::Dispatch(m);
  }
};
}  // namespace

KV_IMPLEMENT_CLASS(TStyledProbe) {}
KV_IMPLEMENT_CLASS(TTestStyleHook) {}

TEST_F(ControlsTest, StyleHooksSeeMessagesFirstAndLookChangesReachEveryControl) {
  TCustomStyleEngine::RegisterStyleHook<TStyledProbe, TTestStyleHook>();
  TForm* f = MakeForm();
  auto* styled = new TStyledProbe(f);
  styled->SetParent(f);
  auto* plain = new TProbe(f);
  plain->SetParent(f);
  auto* inner = new TStyleCounter(f);
  inner->SetParent(f);
  f->Show();
  ASSERT_NE(styled->StyleHook(), nullptr);
  EXPECT_EQ(styled->StyleHook()->Handle(), styled->Handle());
  EXPECT_EQ(plain->StyleHook(), nullptr);
  EXPECT_EQ(styled->Perform(WM_USER + 9), 99);
  EXPECT_EQ(SendMessage(styled->Handle(), WM_USER + 9, 0, 0), 99);
  EXPECT_EQ(std::count(styled->Messages.begin(), styled->Messages.end(), WM_USER + 9), 0) << "the control never saw it";
  EXPECT_EQ(plain->Perform(WM_USER + 9), 0);
  TCustomStyleEngine::UnRegisterStyleHook<TStyledProbe, TTestStyleHook>();
  bool classic = TStyleManager::ClassicLook();
  TStyleManager::SetClassicLook(!classic);
  TStyleManager::SetClassicLook(classic);
  EXPECT_EQ(inner->StyleChanges, 2) << "every control of every form hears each change of the look";
  EXPECT_EQ(std::count(plain->Messages.begin(), plain->Messages.end(), CM_STYLECHANGED), 2);
}

TEST_F(ControlsTest, ScreenKnowsTheMonitorsAndTheirWorkAreas) {
  Headless::SetScreens({{TRect(0, 0, 800, 600), TRect(0, 0, 800, 560)}, {TRect(800, 0, 1440, 480), TRect(800, 0, 1440, 480)}});
  EXPECT_EQ(Screen->MonitorCount(), 2);
  EXPECT_TRUE(Screen->Monitors(0)->Primary());
  EXPECT_EQ(Screen->Width(), 800);
  EXPECT_EQ(Screen->WorkAreaRect(), TRect(0, 0, 800, 560));
  EXPECT_EQ(Screen->MonitorFromPoint(TPoint(900, 100))->MonitorNum(), 1);
  EXPECT_EQ(Screen->MonitorFromPoint(TPoint(5000, 100))->MonitorNum(), 1) << "the nearest one";
  EXPECT_EQ(Screen->MonitorFromPoint(TPoint(5000, 100), mdNull), nullptr);
  EXPECT_EQ(Screen->DesktopRect(), TRect(0, 0, 1440, 600));
  TForm* f = MakeForm(900, 50, 200, 100);
  f->Show();
  EXPECT_EQ(Screen->MonitorFromWindow(f->Handle())->WorkareaRect(), TRect(800, 0, 1440, 480));
  EXPECT_EQ(Screen->ActiveForm(), f);
  EXPECT_THROW(Screen->Monitors(2), EListError);
  Headless::SetScreenSize(1024, 768);
}

TEST(ControlTextTest, AcceleratorsAndBiDiFlags) {
  struct Accel {
    const char* caption;
    char32_t key;
    bool is;
  } accels[] = {{"&Open", 'o', true}, {"&Open", 'O', true}, {"Open", 'o', false}, {"Save && &Close", 'c', true},
                {"Save && &Close", 's', false}, {"A&&B", 'b', false}, {"Trailing&", 'g', false},
                {"&\xC3\x89t\xC3\xA9", U'\u00E9', true}};  // "&Été": case-insensitive beyond ASCII
  for (const Accel& a : accels) EXPECT_EQ(IsAccel(a.key, a.caption), a.is) << a.caption;
  EXPECT_EQ(GetHotKey("Save && &Close"), "C");
  TControl c(nullptr);
  EXPECT_EQ(c.DrawTextBiDiModeFlags(DT_LEFT), DT_LEFT);
  c.SetBiDiMode(bdRightToLeft);
  EXPECT_EQ(c.DrawTextBiDiModeFlags(DT_LEFT), DT_RIGHT | DT_RTLREADING) << "alignment mirrored, reading right to left";
  EXPECT_EQ(c.DrawTextBiDiModeFlags(DT_RIGHT), DT_LEFT | DT_RTLREADING);
  EXPECT_EQ(c.DrawTextBiDiModeFlags(DT_CENTER), DT_CENTER | DT_RTLREADING);
  c.SetBiDiMode(bdRightToLeftReadingOnly);
  EXPECT_EQ(c.DrawTextBiDiModeFlags(DT_LEFT), DT_LEFT | DT_RTLREADING);
}

TEST_F(ControlsTest, FontColourHintsAndReadingOrderFollowTheParentUntilSetOwn) {
  TForm* f = MakeForm();
  auto* panel = new TPanel(f);
  panel->SetParent(f);
  auto* label = new TLabel(f);
  label->SetParent(panel);
  f->Font()->SetName("DejaVu Serif");
  f->Font()->SetSize(12);
  f->SetShowHint(true);
  f->SetBiDiMode(bdRightToLeft);
  EXPECT_EQ(label->Font()->Name(), "DejaVu Serif") << "through the panel";
  EXPECT_EQ(label->Font()->Size(), 12);
  EXPECT_TRUE(label->ParentFont());
  EXPECT_TRUE(label->ShowHint());
  EXPECT_EQ(label->BiDiMode(), bdRightToLeft);
  label->Font()->SetSize(9);
  EXPECT_FALSE(label->ParentFont()) << "a font of its own";
  f->Font()->SetSize(14);
  EXPECT_EQ(label->Font()->Size(), 9);
  EXPECT_EQ(panel->Font()->Size(), 14);
  label->SetParentFont(true);
  EXPECT_EQ(label->Font()->Size(), 14) << "back to the parent's";
  panel->SetColor(clYellow);
  EXPECT_EQ(label->Color(), clYellow);
  label->SetColor(clRed);
  panel->SetColor(clAqua);
  EXPECT_EQ(label->Color(), clRed);
  EXPECT_FALSE(label->ParentColor());
}
