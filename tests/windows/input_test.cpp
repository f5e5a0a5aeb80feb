// Input routing: capture, double clicks, hit-test codes, keys and characters, focus and
// activation, pop-ups that never activate, leave tracking and the window under a point.
#include "fixture.h"
#include "platform/graphics/dc.h"

namespace {
// Client point of a mouse message.
TPoint At(const TLogEntry& e) { return LParamToPoint(e.LParam); }
}  // namespace

TEST_F(WindowTest, APressThatTakesTheCaptureGetsTheReleaseOutsideTheWindow) {
  HWND top = CreateTop(TRect(0, 0, 400, 300));
  HWND button = CreateChild(top, TRect(10, 10, 60, 40));
  HWND other = CreateChild(top, TRect(200, 200, 300, 260));
  On(button, WM_LBUTTONDOWN, [](HWND h, UINT, WPARAM, LPARAM) -> LRESULT {
    SetCapture(h);
    return 0;
  });
  On(button, WM_LBUTTONUP, [](HWND, UINT, WPARAM, LPARAM) -> LRESULT {
    ReleaseCapture();
    return 0;
  });
  Headless::MouseDown(VK_LBUTTON, 20, 20);
  EXPECT_EQ(GetCapture(), button);
  EXPECT_TRUE(Headless::MouseCaptured());
  ClearLog();
  Headless::MouseMove(250, 230);
  Headless::MouseUp(VK_LBUTTON, 700, 500);  // outside even the top-level window
  auto ups = Entries(button, WM_LBUTTONUP);
  ASSERT_EQ(ups.size(), 1u);
  EXPECT_EQ(At(ups[0]), TPoint(690, 490));  // client coordinates, far outside
  auto moves = Entries(button, WM_MOUSEMOVE);
  ASSERT_FALSE(moves.empty());
  EXPECT_EQ(At(moves.front()), TPoint(240, 220));
  EXPECT_EQ(Count(other, WM_MOUSEMOVE), 0);
  EXPECT_EQ(Count(other, WM_SETCURSOR), 0);  // no cursor requests under capture
  EXPECT_EQ(GetCapture(), nullptr);
  auto lost = Entries(button, WM_CAPTURECHANGED);
  ASSERT_EQ(lost.size(), 1u);
  EXPECT_EQ(lost[0].LParam, 0);
  EXPECT_FALSE(Headless::MouseCaptured());
}

TEST_F(WindowTest, APressAndReleaseQueuedTogetherHonourTheCaptureTakenInBetween) {
  HWND top = CreateTop(TRect(0, 0, 400, 300));
  HWND a = CreateChild(top, TRect(0, 0, 100, 100));
  HWND b = CreateChild(top, TRect(200, 0, 300, 100));
  On(a, WM_LBUTTONDOWN, [](HWND h, UINT, WPARAM, LPARAM) -> LRESULT {
    SetCapture(h);
    return 0;
  });
  Headless::SetAutoPump(false);
  Headless::MouseDown(VK_LBUTTON, 50, 50);
  Headless::MouseUp(VK_LBUTTON, 250, 50);  // over b, but a holds the mouse by then
  Headless::SetAutoPump(true);
  Pump();
  EXPECT_EQ(Count(a, WM_LBUTTONUP), 1);
  EXPECT_EQ(Count(b, WM_LBUTTONUP), 0);
}

TEST_F(WindowTest, DoubleClicksFollowTheVirtualClockTheDistanceAndTheClassStyle) {
  struct TCase {
    const char* Name;
    const char* Class;
    uint64_t Gap;
    int Dx;
    bool Double;
  };
  const TCase cases[] = {
      {"quick, same place", kDblClass, 100, 0, true},
      {"at the limit", kDblClass, 500, 0, true},
      {"too slow", kDblClass, 501, 0, false},
      {"too far", kDblClass, 10, 3, false},
      {"within the distance", kDblClass, 10, 2, true},
      {"class without CS_DBLCLKS", kClass, 10, 0, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    HWND h = Create(WS_POPUP | WS_VISIBLE, TRect(0, 0, 100, 100), nullptr, 0, c.Class);
    Headless::Click(50, 50);
    Headless::AdvanceTime(c.Gap);
    ClearLog();
    Headless::Click(50 + c.Dx, 50);
    EXPECT_EQ(Count(h, WM_LBUTTONDBLCLK), c.Double ? 1 : 0);
    EXPECT_EQ(Count(h, WM_LBUTTONDOWN), c.Double ? 0 : 1);
    DestroyWindow(h);
    Headless::AdvanceTime(1000);  // no pairing across cases
  }
  // A third click starts a new pair.
  HWND h = Create(WS_POPUP | WS_VISIBLE, TRect(0, 0, 100, 100), nullptr, 0, kDblClass);
  ClearLog();
  Headless::Click(5, 5);
  Headless::Click(5, 5);
  Headless::Click(5, 5);
  EXPECT_EQ(Messages(h, {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}),
            (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN}));
}

TEST_F(WindowTest, HitTestCodesInsideTheClientAreaTurnPressesIntoNonClientMessages) {
  HWND h = CreateTop(TRect(100, 100, 300, 200));
  // The left strip of the client answers a custom code, the right strip HTCAPTION.
  On(h, WM_NCHITTEST, [](HWND hh, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    TPoint p = LParamToPoint(l);
    ScreenToClient(hh, &p);
    if (p.X < 20) return 77;
    if (p.X >= 180) return HTCAPTION;
    return DefWindowProc(hh, m, w, l);
  });
  Headless::Click(105, 150);
  auto nc = Entries(h, WM_NCLBUTTONDOWN);
  ASSERT_EQ(nc.size(), 1u);
  EXPECT_EQ(nc[0].WParam, 77u);
  EXPECT_EQ(LParamToPoint(nc[0].LParam), TPoint(105, 150));  // screen coordinates
  EXPECT_EQ(Count(h, WM_LBUTTONDOWN), 0);
  EXPECT_EQ(Count(h, WM_NCLBUTTONUP), 1);
  // The cursor request carries the code too.
  auto sc = Entries(h, WM_SETCURSOR);
  ASSERT_FALSE(sc.empty());
  EXPECT_EQ(static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(sc.back().LParam))), 77);

  // Dragging the HTCAPTION strip moves the window.
  Headless::MouseDown(VK_LBUTTON, 290, 150);
  Headless::MouseMove(310, 170);
  Headless::MouseUp(VK_LBUTTON, 320, 180);
  TRect r;
  GetWindowRect(h, &r);
  EXPECT_EQ(r, TRect(130, 130, 330, 230));
  EXPECT_EQ(Count(h, WM_ENTERSIZEMOVE), 1);
  EXPECT_EQ(Count(h, WM_EXITSIZEMOVE), 1);
}

TEST_F(WindowTest, KeysGoToTheFocusAndTranslateIntoCharacters) {
  HWND top = CreateTop(TRect(0, 0, 200, 200));
  HWND edit = CreateChild(top, TRect(0, 0, 100, 20));
  EXPECT_EQ(SetFocus(edit), top);  // showing activated the top-level window, which took the focus
  EXPECT_EQ(GetFocus(), edit);
  ClearLog();
  Headless::KeyDown(VK_SHIFT);
  Headless::KeyPress('A');
  Headless::KeyUp(VK_SHIFT);
  Headless::KeyPress('B');
  Headless::KeyPress(VK_RETURN);
  std::vector<WPARAM> chars;
  for (const TLogEntry& e : Entries(edit, WM_CHAR)) chars.push_back(e.WParam);
  EXPECT_EQ(chars, (std::vector<WPARAM>{'A', 'b', 13}));
  // The character arrives after its key, before the release.
  EXPECT_EQ(Messages(edit, {WM_KEYDOWN, WM_CHAR, WM_KEYUP}).size(), 11u);

  ClearLog();
  Headless::TypeText("é!");  // a character without a key, and a shifted one
  chars.clear();
  for (const TLogEntry& e : Entries(edit, WM_CHAR)) chars.push_back(e.WParam);
  EXPECT_EQ(chars, (std::vector<WPARAM>{0xE9, '!'}));

  // With Alt held keys are system keys; Alt's state is in the message and in GetKeyState.
  ClearLog();
  bool altSeen = false;
  On(edit, WM_SYSKEYDOWN, [&](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (w == 'X') altSeen = (GetKeyState(VK_MENU) & 0x8000) != 0 && (l & KF_ALTDOWN);
    return DefWindowProc(h, m, w, l);
  });
  Headless::KeyDown(VK_MENU);
  Headless::KeyPress('X');
  Headless::KeyUp(VK_MENU);
  EXPECT_TRUE(altSeen);
  EXPECT_EQ(Count(edit, WM_KEYDOWN), 0);
  EXPECT_EQ(Count(edit, WM_SYSCHAR), 1);
  EXPECT_EQ(GetKeyState(VK_MENU) & 0x8000, 0);
}

TEST_F(WindowTest, FocusChangesAreSynchronousAndAnnounced) {
  HWND top = CreateTop(TRect(0, 0, 200, 200));
  HWND a = CreateChild(top, TRect(0, 0, 50, 50));
  HWND b = CreateChild(top, TRect(60, 0, 110, 50));
  SetFocus(a);
  ClearLog();
  EXPECT_EQ(SetFocus(b), a);
  EXPECT_EQ(GetFocus(), b);
  auto kill = Entries(a, WM_KILLFOCUS);
  auto set = Entries(b, WM_SETFOCUS);
  ASSERT_EQ(kill.size(), 1u);
  ASSERT_EQ(set.size(), 1u);
  EXPECT_EQ(reinterpret_cast<HWND>(kill[0].WParam), b);
  EXPECT_EQ(reinterpret_cast<HWND>(set[0].WParam), a);
  // A disabled window cannot take it; disabling the focus window takes it away.
  EnableWindow(a, false);
  EXPECT_EQ(SetFocus(a), nullptr);
  EXPECT_EQ(GetFocus(), b);
  EnableWindow(b, false);
  EXPECT_NE(GetFocus(), b);
  EXPECT_EQ(Count(b, WM_CANCELMODE), 1);
  // Clicking a window does not move the focus by itself.
  EnableWindow(a, true);
  SetFocus(a);
  EnableWindow(b, true);
  Headless::Click(70, 10);
  EXPECT_EQ(GetFocus(), a);
}

TEST_F(WindowTest, ANonActivatingPopupLeavesFocusAndActivationWhereTheyWere) {
  HWND form = CreateTop(TRect(0, 0, 400, 300), WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND edit = CreateChild(form, TRect(10, 10, 110, 30));
  SetFocus(edit);
  ASSERT_EQ(GetActiveWindow(), form);
  HWND popup = Create(WS_POPUP | WS_CLIPCHILDREN, TRect(0, 0, 100, 100), form, WS_EX_TOOLWINDOW);
  On(popup, WM_MOUSEACTIVATE, [](HWND, UINT, WPARAM, LPARAM) -> LRESULT { return MA_NOACTIVATE; });
  ClearLog();
  SetWindowPos(popup, HWND_TOPMOST, 50, 320, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
  EXPECT_TRUE(IsWindowVisible(popup));
  EXPECT_EQ(GetWindowLongPtr(popup, GWL_EXSTYLE) & WS_EX_TOPMOST, WS_EX_TOPMOST);
  EXPECT_EQ(GetTopLevelWindows().front(), popup);
  // Clicks in it arrive, and still nothing moves.
  Headless::Click(60, 330);
  EXPECT_EQ(Count(popup, WM_LBUTTONDOWN), 1);
  EXPECT_EQ(Count(popup, WM_MOUSEACTIVATE), 1);
  EXPECT_EQ(GetActiveWindow(), form);
  EXPECT_EQ(GetFocus(), edit);
  EXPECT_EQ(Count(edit, WM_KILLFOCUS), 0);
  EXPECT_EQ(Count(form, WM_ACTIVATE), 0);
  EXPECT_EQ(Count(form, WM_NCACTIVATE), 0);
  // Keys keep going to the owner's focus window.
  Headless::KeyPress(VK_DOWN);
  EXPECT_EQ(Count(edit, WM_KEYDOWN), 1);
  // A window with WS_EX_NOACTIVATE is not activated by showing either.
  HWND tool = CreateTop(TRect(800, 0, 900, 100), WS_POPUP | WS_VISIBLE, WS_EX_NOACTIVATE);
  EXPECT_TRUE(IsWindowVisible(tool));
  EXPECT_EQ(GetActiveWindow(), form);
  EXPECT_EQ(SetActiveWindow(tool), nullptr);
  // A click on a window that does activate moves activation.
  HWND other = CreateTop(TRect(600, 0, 700, 100), WS_POPUP);
  ShowWindow(other, SW_SHOWNA);
  EXPECT_EQ(GetActiveWindow(), form);
  Headless::Click(650, 50);
  EXPECT_EQ(GetActiveWindow(), other);
  auto act = Entries(form, WM_ACTIVATE);
  ASSERT_EQ(act.size(), 1u);
  EXPECT_EQ(LOWORD(act[0].WParam), WA_INACTIVE);
}

TEST_F(WindowTest, MouseLeaveIsPostedOnceWhenTheCursorLeaves) {
  HWND top = CreateTop(TRect(0, 0, 300, 100));
  HWND a = CreateChild(top, TRect(0, 0, 100, 100));
  HWND b = CreateChild(top, TRect(100, 0, 200, 100));
  Headless::MouseMove(50, 50);
  TRACKMOUSEEVENT t;
  t.dwFlags = TME_LEAVE;
  t.hwndTrack = a;
  EXPECT_TRUE(TrackMouseEvent(&t));
  Headless::MouseMove(60, 50);
  EXPECT_EQ(Count(a, WM_MOUSELEAVE), 0);
  Headless::MouseMove(150, 50);
  Headless::MouseMove(160, 50);
  EXPECT_EQ(Count(a, WM_MOUSELEAVE), 1);
  EXPECT_EQ(Count(b, WM_MOUSELEAVE), 0);
  // A window that goes away under the cursor counts as left too.
  t.hwndTrack = b;
  TrackMouseEvent(&t);
  ShowWindow(b, SW_HIDE);
  Pump();
  EXPECT_EQ(Count(b, WM_MOUSELEAVE), 1);
  // Tracking a window the cursor is not over reports the leave at once.
  t.hwndTrack = a;
  TrackMouseEvent(&t);
  Pump();
  EXPECT_EQ(Count(a, WM_MOUSELEAVE), 2);
}

TEST_F(WindowTest, WindowFromPointFindsPopupsAndLooksThroughTransparentWindows) {
  HWND form = CreateTop(TRect(0, 0, 400, 300));
  HWND panel = CreateChild(form, TRect(10, 10, 210, 210));
  HWND label = CreateChild(panel, TRect(10, 10, 60, 30));
  HWND hidden = CreateChild(panel, TRect(100, 100, 150, 150), WS_CHILD);
  HWND popup = Create(WS_POPUP, TRect(300, 250, 500, 400), form);
  ShowWindow(popup, SW_SHOWNA);
  On(label, WM_NCHITTEST, [](HWND, UINT, WPARAM, LPARAM) -> LRESULT { return HTTRANSPARENT; });
  struct TCase {
    TPoint Pt;
    HWND Expected;
  };
  const TCase cases[] = {{{25, 25}, panel},   // through the transparent label
                         {{115, 115}, panel}, // hidden windows do not count
                         {{350, 280}, popup}, // the pop-up lies over the form
                         {{350, 100}, form},
                         {{900, 700}, nullptr}};
  for (const TCase& c : cases) EXPECT_EQ(WindowFromPoint(c.Pt), c.Expected) << c.Pt.X << "," << c.Pt.Y;
  (void)hidden;
  EXPECT_EQ(ChildWindowFromPoint(panel, {110, 110}), hidden);  // this one sees hidden children
  EXPECT_EQ(ChildWindowFromPointEx(panel, {110, 110}, CWP_SKIPINVISIBLE), panel);
}

TEST_F(WindowTest, TheWheelGoesToTheFocusAndClimbsWhenUnhandled) {
  HWND top = CreateTop(TRect(0, 0, 200, 200));
  HWND child = CreateChild(top, TRect(0, 0, 100, 100));
  SetFocus(child);
  Headless::MouseMove(150, 150);
  Headless::Wheel(-WHEEL_DELTA);
  auto w = Entries(child, WM_MOUSEWHEEL);
  ASSERT_EQ(w.size(), 1u);
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(w[0].WParam), -WHEEL_DELTA);
  EXPECT_EQ(LParamToPoint(w[0].LParam), TPoint(150, 150));
  EXPECT_EQ(Count(top, WM_MOUSEWHEEL), 1);  // passed up by the default handling
}

TEST_F(WindowTest, CursorFollowsTheClassAndWmSetCursor) {
  WNDCLASS wc;
  wc.lpfnWndProc = DefWindowProc;
  wc.hCursor = LoadCursor(nullptr, IDC_IBEAM);
  wc.lpszClassName = "KvTestIBeam";
  RegisterClass(wc);
  HWND top = CreateTop(TRect(0, 0, 200, 200));
  HWND edit = Create(WS_CHILD | WS_VISIBLE, TRect(0, 0, 100, 100), top, 0, "KvTestIBeam");
  Headless::MouseMove(50, 50);
  EXPECT_EQ(Headless::CursorShape(), IDC_IBEAM);
  Headless::MouseMove(150, 150);
  EXPECT_EQ(Headless::CursorShape(), IDC_ARROW);
  // A parent answering WM_SETCURSOR decides for its children.
  On(top, WM_SETCURSOR, [](HWND, UINT, WPARAM, LPARAM) -> LRESULT {
    SetCursor(LoadCursor(nullptr, IDC_HAND));
    return 1;
  });
  Headless::MouseMove(40, 40);
  EXPECT_EQ(Headless::CursorShape(), IDC_HAND);
  DestroyWindow(edit);
  UnregisterClass("KvTestIBeam");
}
