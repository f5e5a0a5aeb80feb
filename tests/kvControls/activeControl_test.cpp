// Hot tracking of TkvCustomActiveControl: entering and leaving by notification, by mouse moves
// (bounds inclusive) and by the 100 ms poll that catches a pointer gone without a word.
#include "basectl.h"
#include "platform/windows/messageloop.h"
#include "platform/windows/paint.h"

using namespace kvtest;

namespace {
struct HoverTest : BaseControlTest {
  TPatternPanel* panel = nullptr;
  TActiveProbe* probe = nullptr;
  void SetUp() override {
    BaseControlTest::SetUp();
    panel = MakePatternForm();
    probe = New<TActiveProbe>(panel);
    probe->SetParent(panel);
    probe->SetBounds(40, 50, 100, 35);
    Application->ProcessMessages();
  }
  // The colour shown in the middle of the probe.
  uint32_t Middle() { return Shown(probe, 50, 17); }
};
}  // namespace

TEST_F(HoverTest, PointerOverTheControlMakesItHotAndLeavingMakesItNormal) {
  EXPECT_EQ(Middle(), PixelOf(TActiveProbe::StateColor(kvsNormal)));
  Move(probe, 10, 10);
  EXPECT_TRUE(probe->MouseIn());
  EXPECT_TRUE(probe->MouseTimerRunning());
  EXPECT_EQ(probe->GetCtrlState(), kvsHot);
  EXPECT_EQ(Middle(), PixelOf(TActiveProbe::StateColor(kvsHot)));
  EXPECT_EQ(Shown(probe, 1, 1), PatternPixel(41, 51, 7)) << "still transparent around the content";
  EXPECT_EQ(probe->Enters, 1);

  // Moving inside changes nothing; the poll sees the pointer still there.
  Move(probe, 60, 20);
  Headless::AdvanceTime(450);
  EXPECT_TRUE(probe->MouseIn());
  EXPECT_EQ(probe->Enters, 1);

  Move(panel, 300, 250);
  EXPECT_FALSE(probe->MouseIn());
  EXPECT_FALSE(probe->MouseTimerRunning());
  EXPECT_EQ(probe->Leaves, 1);
  EXPECT_EQ(probe->OldCtrlState(), kvsNormal);
  EXPECT_EQ(Middle(), PixelOf(TActiveProbe::StateColor(kvsNormal)));
}

TEST_F(HoverTest, APointerGoneWithoutNoticeIsCaughtByThePollWithin100ms) {
  // The control heard that the pointer arrived; the pointer then went without a leave
  // notification (it is far away, over another window).
  probe->Perform(CM_MOUSEENTER);
  ASSERT_TRUE(probe->MouseIn());
  ASSERT_EQ(Middle(), PixelOf(TActiveProbe::StateColor(kvsHot)));
  Headless::AdvanceTime(99);
  EXPECT_TRUE(probe->MouseIn());
  Headless::AdvanceTime(1);
  EXPECT_FALSE(probe->MouseIn());
  EXPECT_FALSE(probe->MouseTimerRunning());
  EXPECT_EQ(probe->Leaves, 1);
  EXPECT_EQ(Middle(), PixelOf(TActiveProbe::StateColor(kvsNormal)));

  // A window that appears over the control takes the pointer from it.
  Move(probe, 10, 10);
  ASSERT_TRUE(probe->MouseIn());
  TForm* cover = MakeForm(100 + 40, 100 + 50, 60, 60);
  cover->Show();
  Headless::AdvanceTime(100);
  EXPECT_FALSE(probe->MouseIn());
}

TEST_F(HoverTest, MouseMovesCountBothEdgesAsInside) {
  struct TCase {
    int X, Y;
    bool Inside;
  };
  const TCase cases[] = {{0, 0, true},   {100, 35, true}, {100, 0, true},  {0, 35, true},
                         {-1, 10, false}, {101, 10, false}, {10, -1, false}, {10, 36, false}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.X << ", " << c.Y);
    probe->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(static_cast<WORD>(c.X), static_cast<WORD>(c.Y)));
    EXPECT_EQ(probe->MouseIn(), c.Inside);
    EXPECT_EQ(probe->MouseTimerRunning(), c.Inside);
    probe->Perform(CM_MOUSELEAVE);
    EXPECT_FALSE(probe->MouseIn());
  }
}

TEST_F(HoverTest, DisabledControlNeverPaintsHot) {
  probe->SetEnabled(false);
  EXPECT_EQ(Middle(), PixelOf(TActiveProbe::StateColor(kvsDisabled)));
  probe->States.clear();
  Move(probe, 10, 10);
  EXPECT_EQ(probe->GetCtrlState(), kvsDisabled);
  for (TkvsCtrlState s : probe->States) EXPECT_EQ(s, kvsDisabled);
  EXPECT_EQ(Middle(), PixelOf(TActiveProbe::StateColor(kvsDisabled)));
}

TEST_F(HoverTest, FreedWhileThePollRunsLeavesNothingBehind) {
  Move(probe, 10, 10);
  ASSERT_TRUE(probe->MouseTimerRunning());
  Free(probe);
  probe = nullptr;
  Headless::AdvanceTime(300);  // no tick reaches the freed control
  SUCCEED();
}
