// The paint pipeline of TkvCustomControl: what a transparent control shows of what lies behind
// it (the parent, nested transparent controls, windowless siblings), the cached parent image,
// the erase rules and bounds changes.
#include "basectl.h"
#include "kv/kvUtils/kvParentBackground.h"
#include "platform/graphics/dc.h"
#include "platform/themes/stylemanager.h"
#include "platform/windows/paint.h"

using namespace kvtest;

namespace {
struct PipelineTest : BaseControlTest {
  ~PipelineTest() override { TStyleManager::SetStyle(TStyleManager::SystemStyleName); }

  template <class T = TGlassProbe>
  static T* Add(TWinControl* Parent, const TRect& B) {
    T* c = New<T>(Parent);
    c->SetParent(Parent);
    c->SetBounds(B.Left, B.Top, B.Width(), B.Height());
    return c;
  }
  static void AcceptControls(TControl* c) {
    TControlStyle s = c->ControlStyle();
    s.Include(csAcceptsControls);
    c->SetControlStyle(s);
  }
  // The pattern of the panel seen at a point of a control placed at (L, T) in it.
  static auto PanelAt(int L, int T, int Shift = 7) {
    return [=](int x, int y) { return PatternPixel(L + x, T + y, Shift); };
  }
};
}  // namespace

TEST_F(PipelineTest, TransparentControlShowsWhatLiesUnderItsBoundsAfterMovesAndSizes) {
  TPatternPanel* panel = MakePatternForm();
  TGlassProbe* g = Add(panel, TRect(20, 30, 120, 65));
  Application->ProcessMessages();
  EXPECT_TRUE(ShowsEverywhere(g, PanelAt(20, 30)));

  // The move itself recaptures and repaints: nothing else runs before the screen shows it.
  const int draws = g->Draws;
  g->SetBounds(150, 90, 100, 35);
  EXPECT_EQ(g->Draws, draws + 1);
  GdiFlush();
  EXPECT_TRUE(ShowsEverywhere(g, PanelAt(150, 90)));

  g->SetBounds(150, 90, 60, 50);
  Application->ProcessMessages();
  EXPECT_TRUE(ShowsEverywhere(g, PanelAt(150, 90)));
  EXPECT_EQ(g->ParentBGBitmap()->Width(), 60);
  EXPECT_EQ(g->ParentBGBitmap()->Height(), 50);
}

TEST_F(PipelineTest, NestedTransparentControlsShowThePanelThroughBothInEveryLook) {
  for (const char* style : {TStyleManager::SystemStyleName, "Glossy"}) {
    SCOPED_TRACE(style);
    TStyleManager::SetStyle(style);
    TForm* form = nullptr;
    TPatternPanel* panel = MakePatternForm(&form);
    TGlassProbe* middle = Add(panel, TRect(40, 50, 240, 170));
    middle->Frame = clRed;
    AcceptControls(middle);
    // Its left column lies on the middle control's frame.
    TGlassProbe* inner = Add(middle, TRect(0, 20, 100, 55));
    Application->ProcessMessages();
    auto expected = [&](int l, int t, TColor frame) {
      return [=](int x, int y) { return x == 0 ? PixelOf(frame) : PatternPixel(l + x, t + y, 7); };
    };
    EXPECT_TRUE(ShowsEverywhere(inner, expected(40, 70, clRed)));

    // Moving the container recaptures the inner control too, at once.
    middle->SetBounds(100, 10, 200, 120);
    GdiFlush();
    EXPECT_TRUE(ShowsEverywhere(inner, expected(100, 30, clRed)));

    // A changed look of the container reaches the inner control when it refreshes its children.
    middle->Frame = clLime;
    middle->RefreshChildrenBackground();
    GdiFlush();
    EXPECT_TRUE(ShowsEverywhere(inner, expected(100, 30, clLime)));
    Free(form);
    Forget(form);
  }
}

TEST_F(PipelineTest, WindowlessSiblingUnderTheControlShowsInItsBackground) {
  struct TCase {
    const char* Name;
    bool PatternParent;
    const char* Style;
  };
  for (const TCase& c : {TCase{"form", false, TStyleManager::SystemStyleName}, TCase{"panel", true, TStyleManager::SystemStyleName},
                         TCase{"panel, custom style", true, "Glossy"}}) {
    SCOPED_TRACE(c.Name);
    TStyleManager::SetStyle(c.Style);
    TForm* form = MakeForm();
    TWinControl* parent = form;
    if (c.PatternParent) {
      auto* p = Add<TPatternPanel>(form, TRect(0, 0, 400, 300));
      parent = p;
    } else {
      form->SetColor(clYellow);
    }
    auto* label = New<TLabelProbe>(form);
    label->SetParent(parent);
    label->SetBounds(20, 30, 40, 20);
    auto* aside = New<TLabelProbe>(form);  // nowhere near the control: never painted for it
    aside->SetParent(parent);
    aside->SetBounds(300, 200, 40, 20);
    TGlassProbe* g = Add(parent, TRect(30, 35, 130, 70));
    form->Show();
    Application->ProcessMessages();
    const int asidePaints = aside->Paints;
    label->SawPaintCopy = false;
    g->Invalidate();
    g->Update();
    GdiFlush();
    EXPECT_TRUE(label->SawPaintCopy) << "the sibling is painted as a copy";
    EXPECT_EQ(aside->Paints, asidePaints);
    EXPECT_TRUE(ShowsEverywhere(g, [&](int x, int y) {
      if (x < 30 && y < 15) return PixelOf(clBlue);
      return c.PatternParent ? PatternPixel(30 + x, 35 + y, 7) : PixelOf(clYellow);
    }));
    EXPECT_FALSE(label->ControlState().Contains(csPaintCopy));
    EXPECT_FALSE(parent->ControlState().Contains(csPaintCopy));
    Free(form);
    Forget(form);
  }
}

TEST_F(PipelineTest, FrameWithParentBackgroundShowsTheWindowBackground) {
  for (bool parentBackground : {true, false}) {
    SCOPED_TRACE(parentBackground);
    TForm* form = MakeForm();
    auto* frame = New<TFrame>(form);
    frame->SetParent(form);
    frame->SetBounds(0, 0, 300, 200);
    frame->SetParentColor(false);
    frame->SetColor(clYellow);
    frame->SetParentBackground(parentBackground);
    TGlassProbe* g = Add(frame, TRect(20, 20, 80, 50));
    form->Show();
    Application->ProcessMessages();
    // With csParentBackground the frame's part is the window background, else its erase.
    const uint32_t want = PixelOf(parentBackground ? clBtnFace : clYellow);
    EXPECT_TRUE(ShowsEverywhere(g, [&](int, int) { return want; }));
    Free(form);
    Forget(form);
  }
}

TEST_F(PipelineTest, RePaintControlReusesTheCachedImageAndNeverRepaintsTheParent) {
  TPatternPanel* panel = MakePatternForm();
  TGlassProbe* g = Add(panel, TRect(20, 30, 120, 65));
  Application->ProcessMessages();
  const int panelDraws = panel->Draws, draws = g->Draws;

  panel->Shift = 99;  // what lies behind changes without telling the control
  g->RePaintControl();
  GdiFlush();
  EXPECT_EQ(panel->Draws, panelDraws) << "neither painted nor captured";
  EXPECT_EQ(g->Draws, draws + 1);
  EXPECT_FALSE(g->StopEraseBackground());
  EXPECT_FALSE(g->ForcePaint());
  EXPECT_TRUE(ShowsEverywhere(g, PanelAt(20, 30, 7)));

  // WM_CHECKPARENTBG captures afresh, as does any paint the system asks for.
  SendMessage(g->Handle(), WM_CHECKPARENTBG, 0, 0);
  GdiFlush();
  EXPECT_EQ(panel->Draws, panelDraws + 1) << "one capture";
  EXPECT_TRUE(ShowsEverywhere(g, PanelAt(20, 30, 99)));
  panel->Shift = 5;
  g->Invalidate();
  Application->ProcessMessages();
  EXPECT_TRUE(ShowsEverywhere(g, PanelAt(20, 30, 5)));

  // A paint of part of the control composes and shows only that part.
  panel->Shift = 6;
  const TRect part(10, 5, 30, 20);
  InvalidateRect(g->Handle(), &part, false);
  g->Update();
  GdiFlush();
  EXPECT_TRUE(ShowsEverywhere(g, [&](int x, int y) { return PatternPixel(20 + x, 30 + y, part.Contains({x, y}) ? 6 : 5); }));
}

TEST_F(PipelineTest, EraseRequestsFromOutsideAPaintDrawTheControlUnlessSuppressed) {
  TPatternPanel* panel = MakePatternForm();
  TGlassProbe* g = Add(panel, TRect(20, 30, 60, 40));
  g->Frame = clRed;
  g->SetParentColor(false);
  g->SetColor(clYellow);
  Application->ProcessMessages();
  enum TWant { Control, Nothing, DefaultErase };
  struct TCase {
    const char* Name;
    void (*Setup)(TGlassProbe*, bool);
    TWant Want;
  };
  const TCase cases[] = {
      {"from outside", [](TGlassProbe*, bool) {}, Control},
      {"no drawing on the background", [](TGlassProbe* p, bool on) { p->SetDrawOnBackground(!on); }, Nothing},
      {"while moved or sized", [](TGlassProbe* p, bool on) { p->SetForcePaint(on); }, Nothing},
      {"inside its own paint", [](TGlassProbe* p, bool on) { p->SetFromWMPaint(on); }, Nothing},
      {"painted as a copy",
       [](TGlassProbe* p, bool on) {
         TControlState s = p->ControlState();
         if (on) s.Include(csPaintCopy);
         else s.Exclude(csPaintCopy);
         p->SetControlState(s);
       },
       DefaultErase},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TBitmap target(40, 20);
    target.Canvas()->Brush()->SetColor(clBlue);
    target.Canvas()->FillRect(TRect(0, 0, 40, 20));
    c.Setup(g, true);
    const LRESULT r = g->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(target.Canvas()->Handle()), 0);
    c.Setup(g, false);
    EXPECT_EQ(r, 1);
    const uint32_t inside = target.ScanLine(5)[5] | 0xFF000000u, corner = target.ScanLine(0)[0] | 0xFF000000u;
    switch (c.Want) {
      case Control:
        EXPECT_EQ(corner, PixelOf(clRed));
        EXPECT_EQ(inside, PatternPixel(25, 35, 7));
        break;
      case Nothing:
        EXPECT_EQ(corner, PixelOf(clBlue));
        EXPECT_EQ(inside, PixelOf(clBlue));
        break;
      case DefaultErase:
        EXPECT_EQ(corner, PixelOf(clYellow));
        EXPECT_EQ(inside, PixelOf(clYellow));
        break;
    }
  }
}

TEST_F(PipelineTest, SetBoundsSuppressesErasePaintingOfTheControlAndItsLibraryChildren) {
  TPatternPanel* panel = MakePatternForm();
  TGlassProbe* box = Add(panel, TRect(10, 10, 200, 150));
  AcceptControls(box);
  TGlassProbe* child = Add(box, TRect(5, 5, 50, 30));
  Application->ProcessMessages();
  child->ForcePaintSeen.clear();
  box->SetBounds(30, 20, 220, 160);
  ASSERT_FALSE(child->ForcePaintSeen.empty()) << "the move refreshed the children";
  for (bool seen : child->ForcePaintSeen) EXPECT_TRUE(seen);
  EXPECT_FALSE(child->ForcePaint());
  EXPECT_FALSE(box->ForcePaint());
  // Only one refresh for a move that also sizes.
  EXPECT_EQ(child->ForcePaintSeen.size(), 1u);
  GdiFlush();
  EXPECT_TRUE(ShowsEverywhere(child, PanelAt(35, 25)));
}

TEST_F(PipelineTest, RefreshingChildrenRepaintsThemWithoutRunningQueuedMessages) {
  TPatternPanel* panel = MakePatternForm();
  TGlassProbe* box = Add(panel, TRect(10, 10, 200, 150));
  AcceptControls(box);
  auto* plain = Add<TProbe>(box, TRect(5, 5, 50, 30));
  Application->ProcessMessages();
  const int paints = plain->Paints;
  plain->Invalidate();
  PostMessage(plain->Handle(), WM_USER + 7, 0, 0);  // stands for a queued click
  SendMessage(box->Handle(), WM_CHECKPARENTBG, 0, 0);
  EXPECT_EQ(plain->Paints, paints + 1) << "the pending paint ran at once";
  box->SetBounds(20, 20, 210, 160);
  auto heard = [&] { return std::count(plain->Messages.begin(), plain->Messages.end(), WM_USER + 7); };
  EXPECT_EQ(heard(), 0) << "no message was pumped";
  Application->ProcessMessages();
  EXPECT_EQ(heard(), 1);
}

TEST_F(PipelineTest, TheParentsImageLeavesOutWindowedChildrenAndTheControlItself) {
  TPatternPanel* panel = MakePatternForm();
  auto* below = Add<TProbe>(panel, TRect(10, 10, 80, 60));  // a window under the control
  TGlassProbe* g = Add(panel, TRect(40, 20, 140, 55));
  Application->ProcessMessages();
  const int draws = g->Draws;
  const int belowPaints = below->Paints;
  SendMessage(g->Handle(), WM_CHECKPARENTBG, 0, 0);
  EXPECT_EQ(g->Draws, draws + 1) << "the capture did not paint the control into itself";
  EXPECT_EQ(below->Paints, belowPaints);
  GdiFlush();
  EXPECT_TRUE(ShowsEverywhere(g, PanelAt(40, 20)));
}

TEST_F(PipelineTest, EmptyAndOpaqueControlsCaptureNothing) {
  TPatternPanel* panel = MakePatternForm();
  TGlassProbe* g = Add(panel, TRect(20, 30, 120, 65));
  Application->ProcessMessages();
  ASSERT_FALSE(g->ParentBGBitmap()->Empty());

  g->SetTransparent(false);
  g->CaptureParentBackground();
  EXPECT_TRUE(g->ParentBGBitmap()->Empty()) << "an opaque control drops its image";

  g->SetTransparent(true);
  g->SetBounds(20, 30, 0, 35);
  Application->ProcessMessages();
  const int panelDraws = panel->Draws, draws = g->Draws;
  g->CaptureParentBackground();
  g->RePaintControl();
  Application->ProcessMessages();
  EXPECT_EQ(panel->Draws, panelDraws);
  EXPECT_EQ(g->Draws, draws) << "a zero-sized control paints nothing";

  PaintParentBackground(nullptr, nullptr);  // nothing to paint: no harm
  TGlassProbe orphan(nullptr);
  TBitmap b(10, 10);
  PaintParentBackground(&orphan, b.Canvas());
  EXPECT_EQ(b.ScanLine(0)[0], 0u);
}

TEST_F(PipelineTest, CaptureFailureStillClearsMarksAndRestoresTheContext) {
  TForm* form = MakeForm();
  auto* label = New<TLabelProbe>(form);
  label->SetParent(form);
  label->SetBounds(20, 30, 40, 20);
  TGlassProbe* g = Add(form, TRect(30, 35, 130, 70));
  form->Show();
  Application->ProcessMessages();
  TBitmap b(100, 35);
  HDC dc = b.Canvas()->Handle();
  const int level = SaveDC(dc);
  RestoreDC(dc, level);
  label->Throw = true;
  EXPECT_THROW(PaintParentBackground(g, b.Canvas()), EInvalidOperation);
  EXPECT_FALSE(label->ControlState().Contains(csPaintCopy));
  EXPECT_FALSE(form->ControlState().Contains(csPaintCopy));
  TPoint org;
  GetViewportOrgEx(dc, &org);
  EXPECT_EQ(org, TPoint(0, 0));
  EXPECT_EQ(SaveDC(dc), level) << "every saved state was restored";
  label->Throw = false;
}

TEST_F(PipelineTest, DisabledControlsPaintTheirDisabledState) {
  TPatternPanel* panel = MakePatternForm();
  TGlassProbe* g = Add(panel, TRect(20, 30, 120, 65));
  Application->ProcessMessages();
  g->States.clear();
  g->SetEnabled(false);
  ASSERT_FALSE(g->States.empty()) << "enabling repaints at once";
  EXPECT_EQ(g->States.back(), kvsDisabled);
  EXPECT_EQ(g->GetCtrlState(), kvsDisabled);
  g->SetEnabled(true);
  EXPECT_EQ(g->States.back(), kvsNormal);
}

TEST_F(PipelineTest, RightToLeftMeansTheFullRightToLeftMode) {
  TGlassProbe g(nullptr);
  const std::pair<TBiDiMode, bool> cases[] = {{bdLeftToRight, false},
                                              {bdRightToLeft, true},
                                              {bdRightToLeftNoAlign, false},
                                              {bdRightToLeftReadingOnly, false}};
  for (auto [mode, rtl] : cases) {
    g.SetBiDiMode(mode);
    EXPECT_EQ(g.IsRightToLeft(), rtl) << static_cast<int>(mode);
  }
}
