// The rest of the layer: clipboard, modal disabling, re-parenting, hover tracking, showing,
// frame redraws, deferred positioning, printing a window into another device context.
#include "fixture.h"
#include "platform/graphics/dc.h"

TEST_F(WindowTest, ClipboardKeepsTextAndFileListsAndCountsChanges) {
  DWORD seq = GetClipboardSequenceNumber();
  EXPECT_TRUE(SetClipboardText("héllo"));
  String t;
  ASSERT_TRUE(GetClipboardText(&t));
  EXPECT_EQ(t, "héllo");
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_HDROP));
  EXPECT_TRUE(SetClipboardFiles({"/tmp/a b", "/tmp/c"}));
  std::vector<String> files;
  ASSERT_TRUE(GetClipboardFiles(&files));
  EXPECT_EQ(files, (std::vector<String>{"/tmp/a b", "/tmp/c"}));
  ASSERT_TRUE(GetClipboardText(&t));  // text readers get the paths
  EXPECT_EQ(t, "/tmp/a b\n/tmp/c");
  // Writing text replaces the file list.
  SetClipboardText("x");
  EXPECT_FALSE(GetClipboardFiles(&files));
  EXPECT_FALSE(SetClipboardText(String("\xff\xfe")));  // not UTF-8: refused
  EmptyClipboard();
  EXPECT_FALSE(GetClipboardText(&t));
  EXPECT_GT(GetClipboardSequenceNumber(), seq + 3);
}

TEST_F(WindowTest, AClickOnADisabledOwnerBeepsAndBringsItsEnabledPopupForward) {
  HWND owner = CreateTop(TRect(0, 0, 300, 300), WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND dialog = Create(WS_POPUP | WS_CAPTION | WS_VISIBLE, TRect(400, 0, 600, 200), owner);
  EXPECT_EQ(GetActiveWindow(), dialog);
  EnableWindow(owner, false);
  HWND other = CreateTop(TRect(700, 0, 800, 100), WS_POPUP | WS_VISIBLE);
  EXPECT_EQ(GetActiveWindow(), other);
  int beeps = Headless::BeepCount();
  ClearLog();
  Headless::Click(150, 150);
  EXPECT_EQ(Count(owner, WM_LBUTTONDOWN), 0);
  EXPECT_EQ(Headless::BeepCount(), beeps + 1);
  EXPECT_EQ(GetActiveWindow(), dialog);
  // Destroying the active dialog gives activation back to its owner once enabled again.
  EnableWindow(owner, true);
  DestroyWindow(dialog);
  EXPECT_EQ(GetActiveWindow(), owner);
}

TEST_F(WindowTest, SetParentMovesAWindowBetweenParentsAndTheDesktop) {
  HWND a = CreateTop(TRect(0, 0, 200, 200));
  HWND b = CreateTop(TRect(300, 0, 500, 200));
  HWND c = CreateChild(a, TRect(10, 10, 60, 60));
  EXPECT_EQ(SetParent(c, b), a);
  EXPECT_EQ(GetParent(c), b);
  TRect r;
  GetWindowRect(c, &r);
  EXPECT_EQ(r, TRect(310, 10, 360, 60));
  EXPECT_EQ(SetParent(b, c), nullptr);  // a window cannot go under its own child
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  // Out to the desktop: a top-level window with its own buffer and host.
  SetParent(c, nullptr);
  EXPECT_TRUE(std::find(GetTopLevelWindows().begin(), GetTopLevelWindows().end(), c) != GetTopLevelWindows().end());
  EXPECT_FALSE(GetWindowLongPtr(c, GWL_STYLE) & WS_CHILD);
  Pump();
  EXPECT_EQ(ShownPixel(c, 5, 5), Opaque(ColorToRGB(clWindow)));
  DestroyWindow(a);
  EXPECT_TRUE(IsWindow(c));
}

TEST_F(WindowTest, HoverIsReportedAfterTheCursorRestsForTheHoverTime) {
  HWND h = CreateTop(TRect(0, 0, 100, 100));
  Headless::MouseMove(50, 50);
  TRACKMOUSEEVENT t;
  t.dwFlags = TME_HOVER | TME_LEAVE;
  t.hwndTrack = h;
  t.dwHoverTime = 200;
  ASSERT_TRUE(TrackMouseEvent(&t));
  Headless::AdvanceTime(150);
  Headless::MouseMove(60, 50);  // a real move starts the wait again
  Headless::AdvanceTime(150);
  EXPECT_EQ(Count(h, WM_MOUSEHOVER), 0);
  Headless::AdvanceTime(50);
  auto hover = Entries(h, WM_MOUSEHOVER);
  ASSERT_EQ(hover.size(), 1u);
  EXPECT_EQ(LParamToPoint(hover[0].LParam), TPoint(60, 50));
  TRACKMOUSEEVENT q;
  q.dwFlags = TME_QUERY;
  TrackMouseEvent(&q);
  EXPECT_EQ(q.dwFlags, static_cast<DWORD>(TME_LEAVE));  // the leave request is still on
  Headless::AdvanceTime(1000);
  EXPECT_EQ(Count(h, WM_MOUSEHOVER), 1);
}

TEST_F(WindowTest, ShowWindowReportsThePreviousStateAndAnnouncesChanges) {
  HWND h = CreateTop(TRect(0, 0, 100, 100), WS_POPUP);
  EXPECT_FALSE(ShowWindow(h, SW_SHOWNA));
  EXPECT_TRUE(ShowWindow(h, SW_SHOWNA));
  EXPECT_TRUE(ShowWindow(h, SW_HIDE));
  EXPECT_EQ(Count(h, WM_SHOWWINDOW), 2);  // showing a shown window says nothing
  EXPECT_FALSE(IsWindowVisible(h));
  // A child of a hidden parent is not visible, whatever its own style.
  HWND c = CreateChild(h, TRect(0, 0, 10, 10));
  EXPECT_TRUE(GetWindowLongPtr(c, GWL_STYLE) & WS_VISIBLE);
  EXPECT_FALSE(IsWindowVisible(c));
}

TEST_F(WindowTest, RedrawWindowWithTheFrameRepaintsTheNonClientArea) {
  HWND h = CreateTop(TRect(0, 0, 100, 100), WS_POPUP | WS_VISIBLE | WS_BORDER);
  Pump();
  ClearLog();
  RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(Count(h, WM_NCPAINT), 1);
  EXPECT_EQ(Count(h, WM_PAINT), 1);
  ClearLog();
  RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(Count(h, WM_NCPAINT), 0);
  EXPECT_EQ(Count(h, WM_PAINT), 1);
  // An internal paint asks for WM_PAINT with nothing invalid.
  ClearLog();
  RedrawWindow(h, nullptr, nullptr, RDW_INTERNALPAINT);
  Pump();
  EXPECT_EQ(Count(h, WM_PAINT), 1);
}

TEST_F(WindowTest, DeferredPositionsAreAppliedTogetherOrNotAtAll) {
  HWND top = CreateTop(TRect(0, 0, 300, 300));
  HWND a = CreateChild(top, TRect(0, 0, 10, 10));
  HWND b = CreateChild(top, TRect(0, 0, 10, 10));
  HDWP d = BeginDeferWindowPos(2);
  d = DeferWindowPos(d, a, nullptr, 10, 20, 30, 40, SWP_NOZORDER);
  d = DeferWindowPos(d, b, nullptr, 50, 60, 70, 80, SWP_NOZORDER);
  ASSERT_NE(d, nullptr);
  EXPECT_TRUE(EndDeferWindowPos(d));
  TRect r;
  GetWindowRect(b, &r);
  EXPECT_EQ(r, TRect(50, 60, 120, 140));
  d = BeginDeferWindowPos(1);
  d = DeferWindowPos(d, reinterpret_cast<HWND>(0x12345), nullptr, 0, 0, 1, 1, 0);
  EXPECT_EQ(d, nullptr);  // an invalid window ends the batch
}

TEST_F(WindowTest, PrintingAWindowDrawsItsFrameContentAndChildrenIntoAnotherContext) {
  HWND top = CreateTop(TRect(0, 0, 60, 40), WS_POPUP | WS_VISIBLE | WS_BORDER);
  HWND child = CreateChild(top, TRect(10, 10, 30, 30));
  for (HWND h : {top, child})
    On(h, WM_PRINTCLIENT, [top](HWND hh, UINT, WPARAM w, LPARAM) -> LRESULT {
      HBRUSH b = CreateSolidBrush(hh == top ? clRed : clBlue);
      TRect c;
      GetClientRect(hh, &c);
      FillRect(reinterpret_cast<HDC>(w), c, b);
      DeleteObject(b);
      return 0;
    });
  HDC mem = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateBitmap32(60, 40);
  HGDIOBJ old = SelectObject(mem, bmp);
  SendMessage(top, WM_PRINT, reinterpret_cast<WPARAM>(mem), PRF_NONCLIENT | PRF_CLIENT | PRF_CHILDREN);
  TSurface* s = GetBitmapSurface(bmp);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->Row(0)[0], Opaque(ColorToRGB(clWindowFrame)));  // the border
  EXPECT_EQ(s->Row(5)[5], Opaque(clRed));
  EXPECT_EQ(s->Row(20)[20], Opaque(clBlue));  // the child at 1 + 10, 1 + 10 .. 1 + 30
  EXPECT_EQ(s->Row(32)[32], Opaque(clRed));
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
}

TEST_F(WindowTest, AModalLoopInsideAHandlerRunsOnScheduledInputAndTheVirtualClock) {
  // A blocking loop (a menu's Popup, a message box) started from a mouse handler: the input
  // it waits for is scheduled on the virtual clock, and waiting moves the clock there.
  HWND form = CreateTop(TRect(0, 0, 300, 200));
  HWND menu = Create(WS_POPUP, TRect(50, 50, 150, 150), form);
  std::vector<TPoint> pressesInMenu;
  uint64_t loopEnded = 0;
  On(menu, WM_LBUTTONDOWN, [&](HWND, UINT, WPARAM, LPARAM l) -> LRESULT {
    pressesInMenu.push_back(LParamToPoint(l));
    return 0;
  });
  On(form, WM_LBUTTONUP, [&](HWND, UINT, WPARAM, LPARAM) -> LRESULT {
    ShowWindow(menu, SW_SHOWNA);
    SetCapture(menu);
    Headless::SetAutoPump(false);  // the loop below takes the input, not the injections
    Headless::Schedule(300, [] { Headless::MouseDown(VK_LBUTTON, 60, 70); });
    Headless::Schedule(400, [] { Headless::MouseUp(VK_LBUTTON, 60, 70); });
    MSG m;
    while (GetMessage(&m, nullptr, 0, 0)) {
      bool release = m.message == WM_LBUTTONUP && m.hwnd == menu;
      TranslateMessage(&m);
      DispatchMessage(&m);
      if (release) break;
    }
    loopEnded = Headless::Now();
    ReleaseCapture();
    ShowWindow(menu, SW_HIDE);
    Headless::SetAutoPump(true);
    return 0;
  });
  uint64_t t0 = Headless::Now();
  Headless::Click(10, 10);
  ASSERT_EQ(pressesInMenu.size(), 1u);
  EXPECT_EQ(pressesInMenu[0], TPoint(10, 20));
  EXPECT_EQ(loopEnded, t0 + 400);
  EXPECT_FALSE(IsWindowVisible(menu));
}

TEST_F(WindowTest, WaitingLoopsLookAgainAfterAScheduledCallbackAndSeeNoticesOfRoutedInput) {
  // A loop that waits for a state a scheduled callback sets (a modal result, a menu choice)
  // and posts nothing: WaitMessage returns after the callback ran.
  bool done = false;
  Headless::SetAutoPump(false);
  Headless::Schedule(250, [&] { done = true; });
  uint64_t t0 = Headless::Now();
  for (int spins = 0; !done && spins < 100; ++spins) WaitMessage();
  Headless::SetAutoPump(true);
  EXPECT_TRUE(done);
  EXPECT_EQ(Headless::Now() - t0, 250u);

  // The leave notice that routing a move posts comes back from the same PeekMessage.
  HWND top = CreateTop(TRect(0, 0, 300, 100));
  HWND a = CreateChild(top, TRect(0, 0, 100, 100));
  Headless::MouseMove(50, 50);
  TRACKMOUSEEVENT t;
  t.dwFlags = TME_LEAVE;
  t.hwndTrack = a;
  ASSERT_TRUE(TrackMouseEvent(&t));
  Headless::SetAutoPump(false);
  Headless::MouseMove(250, 50);
  MSG m;
  bool sawLeave = false;
  while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
    sawLeave = sawLeave || (m.message == WM_MOUSELEAVE && m.hwnd == a);
    DispatchMessage(&m);
  }
  Headless::SetAutoPump(true);
  EXPECT_TRUE(sawLeave);
}
