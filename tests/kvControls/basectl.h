#pragma once
// Probes and helpers of the base-control tests: a parent whose every pixel tells where it is,
// transparent and active probes that record their paints, and pixel reading of what reached
// the screen.
#include <gtest/gtest.h>

#include <vector>

#include "controls/support.h"
#include "kv/kvControls/kvCustomControl.h"
#include "platform/core/color.h"
#include "platform/graphics/surface.h"

namespace kvtest {

// The colour of the pattern at a point of its owner (shift tells two patterns apart).
inline uint32_t PatternPixel(int x, int y, int shift) {
  return 0xFF000000u | (static_cast<uint32_t>(x & 0xFF) << 16) | (static_cast<uint32_t>(y & 0xFF) << 8) |
         static_cast<uint32_t>(shift & 0xFF);
}
inline uint32_t PixelOf(TColor c) {
  const uint32_t rgb = static_cast<uint32_t>(ColorToRGB(c));
  return 0xFF000000u | ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

// Draws the pattern over the whole canvas area of W x H.
void DrawPattern(TCanvas* Canvas, int W, int H, int Shift);

// An opaque library container whose content is the pattern: pixel (x, y) of its client area is
// PatternPixel(x, y, Shift).
class TPatternPanel : public TkvCustomControl {
public:
  explicit TPatternPanel(TComponent* AOwner);
  int Shift = 7;
  int Draws = 0;
  void SetTransparent(bool Value) { FTransparentBackground = Value; }

protected:
  void Draw(TCanvas* ACanvas, TkvsCtrlState ACtrlState) override;
};

// A transparent library control: its background and, optionally, a one-pixel frame of Frame.
class TGlassProbe : public TkvCustomControl {
public:
  explicit TGlassProbe(TComponent* AOwner);
  TColor Frame = clNone;
  bool AcceptsControls = false;
  int Draws = 0;
  int CheckParentBGs = 0;
  std::vector<bool> ForcePaintSeen;  // FForcePaint at each WM_CHECKPARENTBG
  std::vector<TkvsCtrlState> States;
  void SetTransparent(bool Value) { FTransparentBackground = Value; }
  void SetDrawOnBackground(bool Value) { FDrawOnBackground = Value; }
  bool ForcePaint() const { return FForcePaint; }
  void SetForcePaint(bool Value) { FForcePaint = Value; }
  void SetFromWMPaint(bool Value) { FromWMPaint = Value; }
  bool StopEraseBackground() const { return FStopEraseBackground; }

protected:
  void Draw(TCanvas* ACanvas, TkvsCtrlState ACtrlState) override;
  void WMCheckParentBG(TMessage& Message) override;
};

// A windowless control filling its bounds with Fill; it notes whether it was painted as a copy.
class TLabelProbe : public TGraphicControl {
public:
  explicit TLabelProbe(TComponent* AOwner) : TGraphicControl(AOwner) {}
  TColor Fill = clBlue;
  int Paints = 0;
  bool SawPaintCopy = false;
  bool Throw = false;  // the next paints fail

protected:
  void Paint() override;
};

// An active control that fills an inner square with the colour of its state.
class TActiveProbe : public TkvCustomActiveControl {
public:
  explicit TActiveProbe(TComponent* AOwner);
  static TColor StateColor(TkvsCtrlState s);
  void SetAnimation(bool Value) { FAnimation = Value; }
  // A state the subclass adds (pressed, focused) when set.
  bool Forced = false;
  TkvsCtrlState ForcedState = kvsPressed;
  TkvsCtrlState OldCtrlState() const { return FOldCtrlState; }
  std::vector<TkvsCtrlState> States;
  int Enters = 0, Leaves = 0;
  // The animation service refuses every animation while set.
  bool RefuseAnimation = false;
  TkvsCtrlState GetCtrlState() override;
  using TkvCustomActiveControl::PaintStateTo;

protected:
  void Draw(TCanvas* ACanvas, TkvsCtrlState ACtrlState) override;
  void DoMouseEnter() override;
  void DoMouseLeave() override;
  bool StartAnimation(HDC DC) override;
};

// The fixture: a shown form (client area at 100, 100 on the screen), the pointer parked far away.
class BaseControlTest : public ControlsTest {
protected:
  // What the screen shows at a client point of a windowed control.
  static uint32_t Shown(TWinControl* c, int x, int y);
  // Every pixel of a control's client area as shown, or the first that differs from Expected.
  template <class F>
  static ::testing::AssertionResult ShowsEverywhere(TWinControl* c, F Expected);
  // A pattern panel filling the form's client area.
  TPatternPanel* MakePatternForm(TForm** FormOut = nullptr);
};

template <class F>
::testing::AssertionResult BaseControlTest::ShowsEverywhere(TWinControl* c, F Expected) {
  TSurface s;
  if (!Headless::CaptureWindow(c->Handle(), &s, true)) return ::testing::AssertionFailure() << "not on the screen";
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x) {
      const uint32_t want = Expected(x, y);
      if (s.Row(y)[x] != want)
        return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is " << std::hex << s.Row(y)[x]
                                             << ", expected " << want;
    }
  return ::testing::AssertionSuccess();
}

}  // namespace kvtest
