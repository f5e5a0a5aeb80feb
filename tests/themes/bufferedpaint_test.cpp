// The buffered-animation service: refusals, the duration-0 copy, frames driven by the virtual
// clock, replacing and stopping animations.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/graphics/objects.h"
#include "platform/graphics/surface.h"
#include "platform/themes/bufferedpaint.h"
#include "platform/windows/headless.h"
#include "platform/windows/messageloop.h"
#include "platform/windows/paint.h"
#include "platform/windows/window.h"

namespace {
constexpr TColor kFrom = TColor(0x00204060), kTo = TColor(0x00E0C0A0), kGround = clWhite;
constexpr uint32_t kFromPixel = 0xFF604020u, kToPixel = 0xFFA0C0E0u, kGroundPixel = 0xFFFFFFFFu;
int gPaints = 0;
int gRendered = 0;

// Paints white, unless a running animation draws its frame.
LRESULT AnimatedProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != WM_PAINT) return DefWindowProc(h, msg, wp, lp);
  ++gPaints;
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  if (BufferedPaintRenderAnimation(h, dc)) {
    ++gRendered;
  } else {
    HBRUSH b = CreateSolidBrush(kGround);
    FillRect(dc, TRect(0, 0, 100, 60), b);
    DeleteObject(b);
  }
  EndPaint(h, &ps);
  return 0;
}

void Fill(HDC dc, const TRect& r, TColor c) {
  HBRUSH b = CreateSolidBrush(c);
  FillRect(dc, r, b);
  DeleteObject(b);
}

BP_ANIMATIONPARAMS Linear(DWORD ms) {
  BP_ANIMATIONPARAMS p;
  p.style = BPAS_LINEAR;
  p.dwDuration = ms;
  return p;
}

class BufferedPaintTest : public testing::Test {
protected:
  BufferedPaintTest() {
    static bool registered = [] {
      WNDCLASS wc;
      wc.lpfnWndProc = AnimatedProc;
      wc.lpszClassName = "BufferedPaintWindow";
      return RegisterClass(wc) != 0;
    }();
    (void)registered;
    Headless::SetScreenSize(800, 600);
    wnd = CreateWindowEx(0, "BufferedPaintWindow", "", WS_POPUP | WS_VISIBLE, 10, 10, 100, 60, nullptr, nullptr,
                         nullptr, nullptr);
    ProcessPendingMessages();
    gPaints = gRendered = 0;
  }
  ~BufferedPaintTest() override {
    BufferedPaintStopAllAnimations(wnd);
    DestroyWindow(wnd);
    ProcessPendingMessages();
  }
  uint32_t Shown(int x, int y) {
    TSurface s;
    if (!Headless::CaptureWindow(wnd, &s, true)) return 0;
    return s.Row(y)[x];
  }
  // Begins an animation of (20, 10, 80, 50) on a context of the window, paints the two images
  // opaquely and ends the set-up; returns what End answered.
  HRESULT Animate(DWORD ms, BP_ANIMATIONSTYLE style = BPAS_LINEAR) {
    HDC dc = GetDC(wnd);
    const TRect r(20, 10, 80, 50);
    BP_ANIMATIONPARAMS p = Linear(ms);
    p.style = style;
    HDC from = nullptr, to = nullptr;
    HANIMATIONBUFFER a = BeginBufferedAnimation(wnd, dc, &r, BPBF_COMPATIBLEBITMAP, nullptr, &p, &from, &to);
    EXPECT_NE(a, nullptr);
    if (from) Fill(from, TRect(0, 0, 60, 40), kFrom);
    if (to) Fill(to, TRect(0, 0, 60, 40), kTo);
    HRESULT hr = EndBufferedAnimation(a, true);
    ReleaseDC(wnd, dc);
    GdiFlush();
    return hr;
  }
  HWND wnd = nullptr;
};

// Channel c of a pixel.
int Channel(uint32_t p, int c) { return static_cast<int>((p >> (8 * c)) & 0xFF); }
}  // namespace

TEST_F(BufferedPaintTest, RefusesWhatCannotAnimate) {
  HDC dc = GetDC(wnd);
  HWND dead = CreateWindowEx(0, "BufferedPaintWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  DestroyWindow(dead);
  const TRect good(0, 0, 50, 20), empty(5, 5, 5, 30);
  BP_ANIMATIONPARAMS params = Linear(150);
  struct TCase {
    const char* Name;
    HWND Wnd;
    HDC DC;
    const TRect* Rect;
    BP_BUFFERFORMAT Format;
    BP_ANIMATIONPARAMS Params;
    bool NullParams;
  };
  BP_ANIMATIONPARAMS badSize = params, badFlags = params, badStyle = params;
  badSize.cbSize = 12;
  badFlags.dwFlags = 1;
  badStyle.style = static_cast<BP_ANIMATIONSTYLE>(9);
  const TCase cases[] = {
      {"no window", nullptr, dc, &good, BPBF_COMPATIBLEBITMAP, params, false},
      {"destroyed window", dead, dc, &good, BPBF_COMPATIBLEBITMAP, params, false},
      {"no context", wnd, nullptr, &good, BPBF_COMPATIBLEBITMAP, params, false},
      {"no rectangle", wnd, dc, nullptr, BPBF_COMPATIBLEBITMAP, params, false},
      {"empty rectangle", wnd, dc, &empty, BPBF_COMPATIBLEBITMAP, params, false},
      {"monochrome buffers", wnd, dc, &good, BPBF_TOPDOWNMONODIB, params, false},
      {"no parameters", wnd, dc, &good, BPBF_COMPATIBLEBITMAP, params, true},
      {"parameter block of another size", wnd, dc, &good, BPBF_COMPATIBLEBITMAP, badSize, false},
      {"unknown flags", wnd, dc, &good, BPBF_COMPATIBLEBITMAP, badFlags, false},
      {"unknown style", wnd, dc, &good, BPBF_COMPATIBLEBITMAP, badStyle, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    HDC from = dc, to = dc;
    SetLastError(0);
    EXPECT_EQ(BeginBufferedAnimation(c.Wnd, c.DC, c.Rect, c.Format, nullptr, c.NullParams ? nullptr : &c.Params,
                                     &from, &to),
              nullptr);
    EXPECT_EQ(from, nullptr);
    EXPECT_EQ(to, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  }
  BP_PAINTPARAMS paint;
  paint.cbSize = 4;
  HDC from = nullptr, to = nullptr;
  EXPECT_EQ(BeginBufferedAnimation(wnd, dc, &good, BPBF_DIB, &paint, &params, &from, &to), nullptr);
  EXPECT_EQ(BeginBufferedAnimation(wnd, dc, &good, BPBF_DIB, nullptr, &params, nullptr, &to), nullptr);
  EXPECT_EQ(BufferedAnimationCount(wnd), 0);
  EXPECT_EQ(EndBufferedAnimation(nullptr, true), E_INVALIDARG);
  EXPECT_FALSE(BufferedPaintRenderAnimation(wnd, dc)) << "nothing runs";
  ReleaseDC(wnd, dc);
}

TEST_F(BufferedPaintTest, DurationZeroCopiesTheToImageAtOnce) {
  for (BP_ANIMATIONSTYLE style : {BPAS_LINEAR, BPAS_NONE}) {
    HDC dc = GetDC(wnd);
    const TRect r(20, 10, 80, 50);
    BP_ANIMATIONPARAMS p = Linear(style == BPAS_NONE ? 150 : 0);
    p.style = style;
    HDC from = dc, to = nullptr;
    HANIMATIONBUFFER a = BeginBufferedAnimation(wnd, dc, &r, BPBF_TOPDOWNDIB, nullptr, &p, &from, &to);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(from, nullptr) << "no from-image without a fade";
    ASSERT_NE(to, nullptr);
    // Ordinary drawing: the copy is opaque whatever the alpha left in the buffer.
    Fill(to, TRect(0, 0, 60, 40), kTo);
    TSurface* s = GetDCSurface(to);
    s->Row(0)[0] = 0x00123456u;
    EXPECT_EQ(EndBufferedAnimation(a, true), S_OK);
    ReleaseDC(wnd, dc);
    GdiFlush();
    EXPECT_EQ(Shown(20, 10) & 0x00FFFFFFu, 0x00123456u);
    EXPECT_EQ(Shown(79, 49), kToPixel);
    EXPECT_EQ(Shown(19, 10), kGroundPixel) << "nothing outside the target";
    EXPECT_EQ(BufferedAnimationCount(wnd), 0);
    EXPECT_EQ(EndBufferedAnimation(a, true), E_INVALIDARG) << "the handle is spent";
  }
}

TEST_F(BufferedPaintTest, FramesBlendLinearlyOnTheClockAndEndOnTheToImage) {
  const uint64_t start = Headless::Now();
  ASSERT_EQ(Animate(150), S_OK);
  EXPECT_EQ(Shown(50, 30), kFromPixel) << "the first frame is the from-image";
  EXPECT_EQ(Shown(10, 30), kGroundPixel);
  for (uint64_t t : {15u, 30u, 75u, 120u}) {
    Headless::AdvanceTime(start + t - Headless::Now());
    SCOPED_TRACE(t);
    const double p = static_cast<double>(t) / 150.0;
    const uint32_t shown = Shown(50, 30);
    for (int c = 0; c < 3; ++c) {
      const double want = Channel(kFromPixel, c) + (Channel(kToPixel, c) - Channel(kFromPixel, c)) * p;
      EXPECT_NEAR(Channel(shown, c), want, 1.0) << "channel " << c;
    }
    EXPECT_EQ(Shown(10, 30), kGroundPixel) << "outside the target the window painted as usual";
  }
  Headless::AdvanceTime(start + 150 - Headless::Now());
  EXPECT_EQ(Shown(50, 30), kToPixel);
  EXPECT_EQ(BufferedAnimationCount(wnd), 0) << "the final frame ended it";
  const int paints = gPaints;
  Headless::AdvanceTime(200);
  EXPECT_EQ(gPaints, paints) << "no frames are asked for after the end";
}

TEST_F(BufferedPaintTest, MidwayFrameIsTheExactAverage) {
  const uint64_t start = Headless::Now();
  ASSERT_EQ(Animate(150), S_OK);
  Headless::AdvanceTime(start + 75 - Headless::Now());
  EXPECT_EQ(Shown(50, 30), 0xFF808080u);
}

TEST_F(BufferedPaintTest, EasedStylesStartFasterThanLinear) {
  for (BP_ANIMATIONSTYLE style : {BPAS_CUBIC, BPAS_SINE}) {
    const uint64_t start = Headless::Now();
    ASSERT_EQ(Animate(150, style), S_OK);
    Headless::AdvanceTime(start + 30 - Headless::Now());
    EXPECT_GT(Channel(Shown(50, 30), 0), 0x20 + (0xE0 - 0x20) / 5 + 2) << style;
    Headless::AdvanceTime(start + 150 - Headless::Now());
    EXPECT_EQ(Shown(50, 30), kToPixel);
  }
}

TEST_F(BufferedPaintTest, FramesComposeWithAlphaAndKeepTheExcludedPart) {
  HDC dc = GetDC(wnd);
  const TRect r(0, 0, 100, 60), keep(0, 0, 10, 60);
  BP_ANIMATIONPARAMS p = Linear(100);
  BP_PAINTPARAMS paint;
  paint.prcExclude = &keep;
  HDC from = nullptr, to = nullptr;
  Fill(dc, r, clBlack);
  HANIMATIONBUFFER a = BeginBufferedAnimation(wnd, dc, &r, BPBF_COMPATIBLEBITMAP, &paint, &p, &from, &to);
  ASSERT_NE(a, nullptr);
  // Both images cover only their right half: the left half stays as the window had it.
  Fill(from, TRect(50, 0, 100, 60), kFrom);
  Fill(to, TRect(50, 0, 100, 60), kTo);
  Fill(to, keep, clRed);
  ASSERT_EQ(EndBufferedAnimation(a, true), S_OK);
  ReleaseDC(wnd, dc);
  GdiFlush();
  EXPECT_EQ(Shown(30, 30), 0xFF000000u) << "transparent buffer pixels leave the target";
  EXPECT_EQ(Shown(70, 30), kFromPixel);
  const int rendered = gRendered;
  Headless::AdvanceTime(100);
  EXPECT_GT(gRendered, rendered);
  EXPECT_EQ(Shown(70, 30), kToPixel);
  EXPECT_EQ(Shown(5, 30), 0xFF000000u) << "the excluded strip is never drawn";
}

TEST_F(BufferedPaintTest, NewAnimationReplacesTheRunningOneAndStopEndsThemAll) {
  ASSERT_EQ(Animate(150), S_OK);
  Headless::AdvanceTime(30);
  ASSERT_EQ(Animate(150), S_OK);
  EXPECT_EQ(BufferedAnimationCount(wnd), 1);
  EXPECT_EQ(Shown(50, 30), kFromPixel) << "the new one starts from its own from-image";

  EXPECT_EQ(BufferedPaintStopAllAnimations(wnd), S_OK);
  EXPECT_EQ(BufferedAnimationCount(wnd), 0);
  EXPECT_EQ(Shown(50, 30), kFromPixel) << "stopping draws nothing";
  const int paints = gPaints;
  Headless::AdvanceTime(200);
  EXPECT_EQ(gPaints, paints);

  // A set-up ended without updating leaves the target as it was.
  HDC dc = GetDC(wnd);
  const TRect r(20, 10, 80, 50);
  BP_ANIMATIONPARAMS p = Linear(150);
  HDC from = nullptr, to = nullptr;
  HANIMATIONBUFFER a = BeginBufferedAnimation(wnd, dc, &r, BPBF_COMPATIBLEBITMAP, nullptr, &p, &from, &to);
  Fill(to, TRect(0, 0, 60, 40), clRed);
  EXPECT_EQ(EndBufferedAnimation(a, false), S_OK);
  ReleaseDC(wnd, dc);
  GdiFlush();
  EXPECT_EQ(Shown(50, 30), kFromPixel);
  EXPECT_EQ(BufferedAnimationCount(wnd), 0);
}

TEST_F(BufferedPaintTest, AnimationOfAWindowDestroyedMidwayIsDropped) {
  ASSERT_EQ(Animate(150), S_OK);
  DestroyWindow(wnd);
  Headless::AdvanceTime(300);
  EXPECT_EQ(BufferedAnimationCount(wnd), 0);
  wnd = CreateWindowEx(0, "BufferedPaintWindow", "", WS_POPUP | WS_VISIBLE, 10, 10, 100, 60, nullptr, nullptr,
                       nullptr, nullptr);
}

TEST_F(BufferedPaintTest, EntryPointsAreFoundByName) {
  EXPECT_EQ(GetThemeProcAddress("BeginBufferedAnimation"), reinterpret_cast<void*>(&BeginBufferedAnimation));
  EXPECT_EQ(GetThemeProcAddress("BufferedPaintStopAllAnimations"),
            reinterpret_cast<void*>(&BufferedPaintStopAllAnimations));
  EXPECT_NE(GetThemeProcAddress("EndBufferedAnimation"), nullptr);
  EXPECT_NE(GetThemeProcAddress("BufferedPaintRenderAnimation"), nullptr);
  EXPECT_EQ(GetThemeProcAddress("BufferedPaintInit"), nullptr);
  EXPECT_EQ(GetThemeProcAddress(nullptr), nullptr);
}
