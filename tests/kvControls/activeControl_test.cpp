// Hot tracking of TkvCustomActiveControl: entering and leaving by notification, by mouse moves
// (bounds inclusive) and by the 100 ms poll that catches a pointer gone without a word.
#include "basectl.h"
#include "platform/windows/messageloop.h"
#include "platform/windows/paint.h"
#include "kv/kvUtils/kvBufferedAnimation.h"

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

// ---- the state cross-fade ----------------------------------------------------------------

namespace {
struct FadeTest : HoverTest {
  void SetUp() override {
    HoverTest::SetUp();
    probe->SetAnimation(true);
    normal = StateImage(kvsNormal);
    hot = StateImage(kvsHot);
  }
  void TearDown() override {
    LoadBufferedAnimation();
    HoverTest::TearDown();
  }
  // What PaintStateTo paints for a state: the image a fade starts or ends on.
  std::unique_ptr<TBitmap> StateImage(TkvsCtrlState s) {
    auto b = std::make_unique<TBitmap>(probe->Width(), probe->Height());
    probe->PaintStateTo(b->Canvas()->Handle(), s, true);
    return b;
  }
  // The blend of two images with W/256 of the second.
  static auto Blend(const TBitmap& A, const TBitmap& B, unsigned W) {
    return [&A, &B, W](int x, int y) {
      const uint32_t a = A.ScanLine(y)[x], b = B.ScanLine(y)[x];
      uint32_t out = 0;
      for (int c = 0; c < 32; c += 8) {
        const uint32_t ca = (a >> c) & 0xFF, cb = (b >> c) & 0xFF;
        out |= ((ca * (256 - W) + cb * W) >> 8) << c;
      }
      return out;
    };
  }
  void AdvanceTo(uint64_t T) { Headless::AdvanceTime(T - Headless::Now()); }
  std::unique_ptr<TBitmap> normal, hot;
};
}  // namespace

TEST_F(FadeTest, HotTransitionFramesAreBlendsOfTheTwoStateImages) {
  ASSERT_TRUE(IsAnimationAvailable());
  ASSERT_NE(Middle(), Shown(probe, 1, 1)) << "the state images differ from the background";
  const uint64_t enter = Headless::Now();
  Move(probe, 10, 10);
  EXPECT_TRUE(probe->CanAnimate());
  EXPECT_TRUE(ShowsEverywhere(probe, Blend(*normal, *hot, 0))) << "0 ms: the normal image";
  AdvanceTo(enter + 75);
  EXPECT_TRUE(ShowsEverywhere(probe, Blend(*normal, *hot, 128))) << "75 ms: half way";
  EXPECT_EQ(Middle(), 0xFF808080u);
  AdvanceTo(enter + 150);
  EXPECT_TRUE(ShowsEverywhere(probe, Blend(*normal, *hot, 256))) << "150 ms: the hot image";
  EXPECT_EQ(BufferedAnimationCount(probe->Handle()), 0);
  EXPECT_EQ(probe->OldCtrlState(), kvsHot);

  // Leaving inside the animation window fades back the same way.
  AdvanceTo(enter + 400);
  const uint64_t leave = Headless::Now();
  Move(panel, 300, 250);
  EXPECT_TRUE(ShowsEverywhere(probe, Blend(*hot, *normal, 0)));
  AdvanceTo(leave + 75);
  EXPECT_TRUE(ShowsEverywhere(probe, Blend(*hot, *normal, 128)));
  AdvanceTo(leave + 150);
  EXPECT_TRUE(ShowsEverywhere(probe, Blend(*hot, *normal, 256)));

  // The window closes a second after the last hover change.
  AdvanceTo(leave + 999);
  EXPECT_TRUE(probe->CanAnimate());
  AdvanceTo(leave + 1000);
  EXPECT_FALSE(probe->CanAnimate());
  probe->RePaintControl();
  EXPECT_TRUE(ShowsEverywhere(probe, Blend(*hot, *normal, 256)));
}

TEST_F(FadeTest, PressedFocusedAndDisabledStatesNeverFade) {
  struct TCase {
    const char* Name;
    TkvsCtrlState State;
  };
  for (const TCase& c : {TCase{"pressed", kvsPressed}, TCase{"focused", kvsFocused}, TCase{"disabled", kvsDisabled}}) {
    SCOPED_TRACE(c.Name);
    Move(probe, 10, 10);
    AdvanceTo(Headless::Now() + 200);  // hot, inside the animation window
    ASSERT_TRUE(probe->CanAnimate());
    if (c.State == kvsDisabled) {
      probe->SetEnabled(false);
    } else {
      probe->Forced = true;
      probe->ForcedState = c.State;
      probe->RePaintControl();
    }
    EXPECT_EQ(Middle(), PixelOf(TActiveProbe::StateColor(c.State))) << "painted at once";
    EXPECT_EQ(BufferedAnimationCount(probe->Handle()), 0);
    // Nor does a hover change in that state open an animation window.
    Move(panel, 300, 250);
    Headless::AdvanceTime(1000);
    Move(probe, 10, 10);
    EXPECT_FALSE(probe->CanAnimate());
    EXPECT_EQ(Middle(), PixelOf(TActiveProbe::StateColor(c.State)));
    probe->Forced = false;
    probe->SetEnabled(true);
    Move(panel, 300, 250);
    Headless::AdvanceTime(1000);
  }
}

TEST_F(FadeTest, WithoutTheServiceOrAnAnimationTheStateIsPaintedAtOnce) {
  // The service refuses the animation: the paint still shows the new state.
  probe->RefuseAnimation = true;
  Move(probe, 10, 10);
  ASSERT_TRUE(probe->CanAnimate());
  EXPECT_EQ(Middle(), PixelOf(TActiveProbe::StateColor(kvsHot)));
  Move(panel, 300, 250);
  EXPECT_EQ(Middle(), PixelOf(TActiveProbe::StateColor(kvsNormal)));
  probe->RefuseAnimation = false;
  Headless::AdvanceTime(1000);

  // The service is missing: no animation window, the hover repaints at once.
  UnloadBufferedAnimation();
  EXPECT_FALSE(IsAnimationAvailable());
  Move(probe, 10, 10);
  EXPECT_FALSE(probe->CanAnimate());
  EXPECT_EQ(Middle(), PixelOf(TActiveProbe::StateColor(kvsHot)));
  Move(panel, 300, 250);
  EXPECT_EQ(Middle(), PixelOf(TActiveProbe::StateColor(kvsNormal)));

  // Animation off: the same.
  LoadBufferedAnimation();
  probe->SetAnimation(false);
  Move(probe, 10, 10);
  EXPECT_FALSE(probe->CanAnimate());
  EXPECT_EQ(Middle(), PixelOf(TActiveProbe::StateColor(kvsHot)));
}

TEST_F(FadeTest, RecreatingOrFreeingTheWindowEndsTheAnimation) {
  Move(probe, 10, 10);
  ASSERT_TRUE(probe->CanAnimate());
  ASSERT_EQ(BufferedAnimationCount(probe->Handle()), 1);
  HWND old = probe->Handle();
  probe->RecreateWnd();
  EXPECT_FALSE(probe->CanAnimate());
  EXPECT_EQ(BufferedAnimationCount(old), 0);
  Move(panel, 300, 250);
  Move(probe, 10, 10);
  Free(probe);
  probe = nullptr;
  Headless::AdvanceTime(1200);
  SUCCEED();
}

TEST_F(FadeTest, PaintedAsACopyTheControlShowsItsStateNotAFrame) {
  // A transparent child captures the active control while it fades.
  TGlassProbe* child = New<TGlassProbe>(probe);
  child->SetParent(probe);
  child->SetBounds(30, 10, 40, 15);
  Application->ProcessMessages();
  Move(probe, 10, 10);
  Headless::AdvanceTime(75);
  SendMessage(child->Handle(), WM_CHECKPARENTBG, 0, 0);
  GdiFlush();
  EXPECT_TRUE(ShowsEverywhere(child, [](int, int) { return PixelOf(TActiveProbe::StateColor(kvsHot)); }));
}
