// Mouse input: clicks, capture, double clicks, enter and leave, cancel mode, the wheel,
// cursors, hints, and controls freed inside their own handlers.
#include "support.h"

#include "platform/controls/hints.h"
#include "platform/controls/stdctrls.h"

using namespace kvtest;

namespace {
struct Recorder {
  std::vector<String> Events;
  void Attach(TControl* c, const String& name) {
    c->OnClick = [this, name](TObject*) { Events.push_back(name + ".click"); };
    c->OnDblClick = [this, name](TObject*) { Events.push_back(name + ".dblclick"); };
    c->OnMouseDown = [this, name](TObject*, TMouseButton b, TShiftState s, int x, int y) {
      Events.push_back(name + ".down" + (b == mbRight ? "R" : "") + (s.Contains(ssDouble) ? "2" : "") + "(" +
                       IntToStr(x) + "," + IntToStr(y) + ")");
    };
    c->OnMouseUp = [this, name](TObject*, TMouseButton, TShiftState, int x, int y) {
      Events.push_back(name + ".up(" + IntToStr(x) + "," + IntToStr(y) + ")");
    };
    c->OnMouseEnter = [this, name](TObject*) { Events.push_back(name + ".enter"); };
    c->OnMouseLeave = [this, name](TObject*) { Events.push_back(name + ".leave"); };
  }
};

using Strings = std::vector<String>;
}  // namespace

class InputTest : public ControlsTest {
protected:
  void SetUp() override {
    ControlsTest::SetUp();
    form = MakeForm();
    win = new TProbe(form);
    win->SetParent(form);
    win->SetBounds(10, 10, 60, 30);
    graphic = new TGraphicProbe(form);
    graphic->SetParent(form);
    graphic->SetBounds(100, 10, 60, 30);
    other = new TProbe(form);
    other->SetParent(form);
    other->SetBounds(200, 10, 60, 30);
    rec.Attach(win, "win");
    rec.Attach(graphic, "graphic");
    rec.Attach(other, "other");
    form->Show();
  }
  TForm* form = nullptr;
  TProbe* win = nullptr;
  TGraphicProbe* graphic = nullptr;
  TProbe* other = nullptr;
  Recorder rec;
};

TEST_F(InputTest, ClickNeedsPressAndReleaseInsideWindowedAndWindowless) {
  for (TControl* c : std::initializer_list<TControl*>{win, graphic}) {
    rec.Events.clear();
    TPoint in = At(c, 5, 6);
    Headless::MouseDown(VK_LBUTTON, in.X, in.Y);
    EXPECT_EQ(GetCaptureControl(), c) << "the press captures the mouse for the control";
    TPoint out = At(c, 80, 6);
    Headless::MouseUp(VK_LBUTTON, out.X, out.Y);
    EXPECT_EQ(GetCaptureControl(), nullptr);
    Headless::AdvanceTime(GetDoubleClickTime() + 1);  // not a double click with the first press
    Click(c, 7, 8);
    String n = c == win ? "win" : "graphic";
    // Released outside, the captured control hears the release in its own coordinates but
    // does not click; the press and release inside click once.
    EXPECT_EQ(rec.Events, (Strings{n + ".enter", n + ".down(5,6)", n + ".leave", n + ".up(80,6)", n + ".enter",
                                   n + ".down(7,8)", n + ".click", n + ".up(7,8)"}));
    Move(form, 390, 290);
  }
}

TEST_F(InputTest, DoubleClicksNeedCsDoubleClicks) {
  TPoint p = At(win, 3, 3);
  Headless::DoubleClick(p.X, p.Y);
  EXPECT_EQ(rec.Events, (Strings{"win.enter", "win.down(3,3)", "win.click", "win.up(3,3)", "win.dblclick",
                                 "win.down2(3,3)", "win.up(3,3)"}));
  rec.Events.clear();
  graphic->SetControlStyle(graphic->ControlStyle() - csDoubleClicks);
  p = At(graphic, 3, 3);
  Headless::DoubleClick(p.X, p.Y);
  EXPECT_EQ(rec.Events, (Strings{"win.leave", "graphic.enter", "graphic.down(3,3)", "graphic.click", "graphic.up(3,3)",
                                 "graphic.down(3,3)", "graphic.click", "graphic.up(3,3)"}))
      << "without csDoubleClicks the second press is a plain one";
}

TEST_F(InputTest, EnterAndLeaveOncePerControlAcrossSiblings) {
  Move(win, 5, 5);
  Move(win, 6, 6);
  Move(graphic, 5, 5);
  Move(other, 5, 5);
  Move(form, 300, 200);
  Headless::MouseMove(1000, 700);  // off the form altogether
  EXPECT_EQ(rec.Events, (Strings{"win.enter", "win.leave", "graphic.enter", "graphic.leave", "other.enter",
                                 "other.leave"}));
  EXPECT_EQ(Application->MouseControl(), nullptr);
}

TEST_F(InputTest, EnterAndLeaveWhileAnotherControlHoldsTheCapture) {
  TPoint p = At(win, 5, 5);
  Headless::MouseDown(VK_LBUTTON, p.X, p.Y);
  Move(graphic, 5, 5);
  Move(other, 5, 5);
  TPoint q = At(other, 6, 6);
  Headless::MouseUp(VK_LBUTTON, q.X, q.Y);
  EXPECT_EQ(rec.Events, (Strings{"win.enter", "win.down(5,5)", "win.leave", "graphic.enter", "graphic.leave",
                                 "other.enter", "win.up(196,6)"}))
      << "the release goes to the capturing control, which does not click";
}

TEST_F(InputTest, PressElsewhereSendsCancelModeToTheFocusedControl) {
  other->SetTabStop(true);
  other->SetFocus();
  ASSERT_TRUE(other->Focused());
  Click(win, 5, 5);
  Click(graphic, 5, 5);
  Click(other, 5, 5);
  EXPECT_EQ(other->CancelModeSenders, (std::vector<TControl*>{win, graphic}))
      << "a press on the focused control itself sends none";
  EXPECT_TRUE(other->Focused()) << "a click does not move the focus by itself";
}

TEST_F(InputTest, WheelGoesToTheFocusedControlAndClimbsUnlessHandled) {
  other->SetFocus();
  std::vector<String> seen;
  other->OnMouseWheel = [&](TObject*, TShiftState, int delta, TPoint, bool& handled) {
    seen.push_back("other" + IntToStr(delta));
    handled = delta > 0;
  };
  form->OnMouseWheel = [&](TObject*, TShiftState, int delta, TPoint, bool& handled) {
    seen.push_back("form" + IntToStr(delta));
    handled = true;
  };
  Move(win, 5, 5);
  Headless::Wheel(120);
  Headless::Wheel(-120);
  EXPECT_EQ(seen, (Strings{"other120", "other-120", "form-120"}));
}

TEST_F(InputTest, CursorsOfControlsAndTheScreen) {
  win->SetCursor(crHandPoint);
  graphic->SetCursor(crIBeam);
  Move(win, 5, 5);
  EXPECT_EQ(Headless::CursorShape(), IDC_HAND);
  Move(graphic, 5, 5);
  EXPECT_EQ(Headless::CursorShape(), IDC_IBEAM);
  Move(form, 300, 200);
  EXPECT_EQ(Headless::CursorShape(), IDC_ARROW);
  Screen->SetCursor(crHourGlass);
  EXPECT_EQ(Headless::CursorShape(), IDC_WAIT);
  Move(win, 5, 5);
  EXPECT_EQ(Headless::CursorShape(), IDC_WAIT) << "the screen's cursor wins while it is set";
  Screen->SetCursor(crDefault);
  EXPECT_EQ(Headless::CursorShape(), IDC_HAND);
}

TEST_F(InputTest, ControlsFreedInTheirOwnClick) {
  win->OnClick = [&](TObject* s) { Free(static_cast<TControl*>(s)); };
  graphic->OnClick = [&](TObject* s) { Free(static_cast<TControl*>(s)); };
  Click(win, 5, 5);
  Click(graphic, 5, 5);
  EXPECT_EQ(form->ControlCount(), 1);
  Click(other, 5, 5);
  EXPECT_EQ(rec.Events.back(), "other.up(5,5)");
}

TEST_F(InputTest, HintShowsAfterThePauseAndHidesOnLeave) {
  other->SetHint("Saves the file|Saves the current file to disk");
  other->SetShowHint(true);
  String shown;
  bool cancel = false;
  Application->OnShowHint = [&](String& text, bool& canShow, THintInfo& info) {
    EXPECT_EQ(info.HintControl, other);
    shown = text;
    if (cancel) canShow = false;
  };
  Move(other, 5, 5);
  EXPECT_EQ(Application->Hint(), "Saves the current file to disk") << "the long part for status lines";
  Headless::AdvanceTime(Application->HintPause() - 10);
  EXPECT_TRUE(shown.empty());
  Headless::AdvanceTime(20);
  EXPECT_EQ(shown, "Saves the file");
  ASSERT_NE(Application->HintWindow(), nullptr);
  EXPECT_TRUE(Application->HintWindow()->IsShowing());
  Move(win, 5, 5);
  EXPECT_FALSE(Application->HintWindow()->IsShowing());
  cancel = true;
  shown.clear();
  Move(other, 5, 5);
  Headless::AdvanceTime(Application->HintPause() + 10);
  EXPECT_EQ(shown, "Saves the file");
  EXPECT_FALSE(Application->HintWindow()->IsShowing()) << "OnShowHint refused it";
  Application->OnShowHint = nullptr;
}

// A pointer resting on a framed form's frame (not its client area) must let the loop settle;
// leaving the frame for the desktop still ends the form's hover.
TEST_F(InputTest, PointerOnAFormFrameLetsTheLoopSettle) {
  TForm* framed = New<TForm>(nullptr);
  framed->SetBounds(500, 400, 300, 200);
  framed->Show();
  Application->ProcessMessages();
  TRect w;
  GetWindowRect(framed->Handle(), &w);
  TPoint client = framed->ClientToScreen(TPoint(0, 0));
  ASSERT_GT(client.Y, w.Top) << "the form has a caption bar";
  Headless::SetAutoPump(false);
  Headless::MouseMove(w.Left + 40, w.Top + 2);
  int handled = 0;
  MSG m;
  while (handled < 1000 && Application->ProcessMessage(m)) ++handled;
  EXPECT_LT(handled, 1000) << "the queue never ran dry with the pointer on the frame";
  EXPECT_EQ(Application->MouseControl(), framed);
  Headless::MouseMove(1020, 760);
  Application->ProcessMessages();
  EXPECT_EQ(Application->MouseControl(), nullptr);
  Headless::SetAutoPump(true);
  Free(framed);
}
