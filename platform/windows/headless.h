#pragma once
// Control of the headless back end: virtual screens, the virtual clock, input injection and
// capture of what windows show. Every function raises EInvalidOperation when another back
// end is in use.
//
// Injected input goes through the same queue and routing as real input. Unless auto-pumping is
// turned off, each injection then lets the pending messages run (ProcessPendingMessages), so
// its effects are visible when the call returns; with it off, the input only waits in the
// queue, for a modal loop to take.
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/windows/backend.h"
#include "platform/windows/keys.h"
#include "platform/windows/wintypes.h"

class TSurface;

class Headless {
public:
  // One monitor of this size with a 40-pixel strip at the bottom outside its work area, or any
  // set of monitors (the first is the primary).
  static void SetScreenSize(int width, int height);
  static void SetScreens(const std::vector<TMonitorSpec>& monitors);

  // The virtual clock. AdvanceTime moves it forward, stopping at every due timer on the way
  // and letting the pending messages run there, so a timer fires at its exact time and one
  // re-armed in its handler fires again within the same advance.
  static uint64_t Now();
  static void AdvanceTime(uint64_t ms);
  // When on (the default), a GetMessage that would wait while a timer is pending moves the
  // clock to that timer at once: idle time passes instantly.
  static void SetAutoAdvance(bool on);
  // Runs fn from the message loop once the clock reaches now + delayMs.
  static void Schedule(uint64_t delayMs, std::function<void()> fn);

  // Input, screen coordinates.
  static void SetAutoPump(bool on);
  static void MouseMove(int x, int y);
  static void MouseDown(WORD buttonVk, int x, int y);
  static void MouseUp(WORD buttonVk, int x, int y);
  static void Click(int x, int y, WORD buttonVk = VK_LBUTTON);
  // Two clicks at the same place with no time between them.
  static void DoubleClick(int x, int y, WORD buttonVk = VK_LBUTTON);
  // delta in WHEEL_DELTA units (120 per notch), at the current cursor position.
  static void Wheel(int delta, bool horizontal = false);
  // text: what the key types (empty: derived from the key and the shift state).
  static void KeyDown(WORD vk, const String& text = {});
  static void KeyUp(WORD vk);
  static void KeyPress(WORD vk, const String& text = {});
  static void Char(const String& text);
  // Key presses typing each character (letters, digits, space and US punctuation; others go
  // as characters without a key).
  static void TypeText(const String& text);

  // What the screen shows of a window (its host's presented pixels, caret included), the
  // whole window or only its client area. False for a window that is not on the screen.
  static bool CaptureWindow(HWND window, TSurface* out, bool clientOnly = false);
  // The whole primary screen: the shown top-level windows in z-order over black.
  static bool CaptureScreen(TSurface* out);
  static bool SavePNG(const TSurface& surface, const String& path);

  // Observations for tests.
  static int CursorShape();  // IDC_* of the cursor shown, 0 for none
  static int BeepCount();
  static bool MouseCaptured();  // the host holds the mouse capture
  // Number of presents of a window's host and the bounds of the last one (host coordinates).
  static int PresentCount(HWND window);
  static TRect LastPresentBounds(HWND window);

};
