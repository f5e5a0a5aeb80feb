// Timers on the virtual clock, and geometry: positioning messages, coordinates, z-order,
// monitors and work areas.
#include "fixture.h"
#include "platform/graphics/dc.h"

namespace {
std::vector<uint64_t>* gProcTicks = nullptr;
void TimerProcedure(HWND, UINT, UINT_PTR, DWORD) { gProcTicks->push_back(Headless::Now()); }
}  // namespace

TEST_F(WindowTest, TimersFireOnTheVirtualClockAndMayBeKilledOrReArmedInTheirHandler) {
  HWND h = CreateTop(TRect(0, 0, 10, 10));
  uint64_t t0 = Headless::Now();
  std::vector<std::pair<UINT_PTR, uint64_t>> ticks;
  int firstTicks = 0;
  On(h, WM_TIMER, [&](HWND hh, UINT, WPARAM id, LPARAM) -> LRESULT {
    ticks.push_back({id, Headless::Now() - t0});
    if (id == 1 && ++firstTicks == 2) KillTimer(hh, 1);  // killed in its own second tick
    if (id == 2) SetTimer(hh, 2, 70, nullptr);           // re-armed with a new interval
    if (id == 3) {
      KillTimer(hh, 3);
      SetTimer(hh, 3, 500, nullptr);  // killed and set again in one handler
    }
    return 0;
  });
  SetTimer(h, 1, 100, nullptr);
  SetTimer(h, 2, 30, nullptr);
  SetTimer(h, 3, 250, nullptr);
  Headless::AdvanceTime(300);
  EXPECT_EQ(ticks, (std::vector<std::pair<UINT_PTR, uint64_t>>{
                       {2, 30}, {1, 100}, {2, 100}, {2, 170}, {1, 200}, {2, 240}, {3, 250}}));
  ticks.clear();
  Headless::AdvanceTime(500);
  EXPECT_EQ(ticks, (std::vector<std::pair<UINT_PTR, uint64_t>>{
                       {2, 310}, {2, 380}, {2, 450}, {2, 520}, {2, 590}, {2, 660}, {2, 730}, {3, 750}, {2, 800}}));
  EXPECT_FALSE(KillTimer(h, 99));
}

TEST_F(WindowTest, ThreadTimersCallTheirProcedureAndTimersDieWithTheirWindow) {
  std::vector<uint64_t> procTicks;
  gProcTicks = &procTicks;
  UINT_PTR id = SetTimer(nullptr, 0, 40, TimerProcedure);
  EXPECT_NE(id, 0u);
  uint64_t t0 = Headless::Now();
  Headless::AdvanceTime(100);
  EXPECT_EQ(procTicks, (std::vector<uint64_t>{t0 + 40, t0 + 80}));
  EXPECT_TRUE(KillTimer(nullptr, id));
  // Intervals below the minimum run at the minimum.
  HWND h = CreateTop(TRect(0, 0, 10, 10));
  SetTimer(h, 7, 0, nullptr);
  Headless::AdvanceTime(USER_TIMER_MINIMUM * 3);
  EXPECT_EQ(Count(h, WM_TIMER), 3);
  DestroyWindow(h);
  Headless::AdvanceTime(100);  // no ticks for a dead window, nothing crashes
  gProcTicks = nullptr;
}

TEST_F(WindowTest, SetWindowPosAppliesItsFlagsAndReportsTheChange) {
  HWND top = CreateTop(TRect(0, 0, 300, 300));
  HWND h = CreateChild(top, TRect(10, 20, 110, 70));
  struct TCase {
    const char* Name;
    int X, Y, Cx, Cy;
    UINT Flags;
    TRect Expected;  // in the parent's client coordinates
    bool Move, Size;
  };
  const TCase cases[] = {
      {"move only", 30, 40, 999, 999, SWP_NOSIZE | SWP_NOZORDER, TRect(30, 40, 130, 90), true, false},
      {"size only", 999, 999, 60, 30, SWP_NOMOVE | SWP_NOZORDER, TRect(30, 40, 90, 70), false, true},
      {"both", 0, 0, 10, 10, SWP_NOZORDER, TRect(0, 0, 10, 10), true, true},
      {"neither", 5, 5, 5, 5, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER, TRect(0, 0, 10, 10), false, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    ClearLog();
    EXPECT_TRUE(SetWindowPos(h, nullptr, c.X, c.Y, c.Cx, c.Cy, c.Flags));
    TRect r;
    GetWindowRect(h, &r);
    MapWindowRect(nullptr, top, &r);
    EXPECT_EQ(r, c.Expected);
    EXPECT_EQ(Messages(h, {WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED}),
              (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED}));
    EXPECT_EQ(Count(h, WM_MOVE), c.Move ? 1 : 0);
    EXPECT_EQ(Count(h, WM_SIZE), c.Size ? 1 : 0);
  }
  // The changing message may correct the request.
  On(h, WM_WINDOWPOSCHANGING, [](HWND, UINT, WPARAM, LPARAM l) -> LRESULT {
    auto* wp = reinterpret_cast<WINDOWPOS*>(l);
    if (!(wp->flags & SWP_NOSIZE)) wp->cx = std::min(wp->cx, 50);
    return 0;
  });
  SetWindowPos(h, nullptr, 0, 0, 500, 20, SWP_NOMOVE | SWP_NOZORDER);
  TRect c;
  GetClientRect(h, &c);
  EXPECT_EQ(c, TRect(0, 0, 50, 20));
  // Hiding and showing.
  SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_FALSE(IsWindowVisible(h));
  SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_TRUE(IsWindowVisible(h));
}

TEST_F(WindowTest, CoordinatesMapThroughNestedClientAreas) {
  HWND top = CreateTop(TRect(100, 50, 500, 450), WS_POPUP | WS_VISIBLE | WS_BORDER);
  HWND mid = Create(WS_CHILD | WS_VISIBLE, TRect(10, 10, 210, 210), top, WS_EX_CLIENTEDGE);
  HWND leaf = CreateChild(mid, TRect(5, 6, 25, 26));
  TPoint p(1, 1);
  ClientToScreen(leaf, &p);
  // 100 + 1 (border) + 10 + 2 (edge) + 5 + 1.
  EXPECT_EQ(p, TPoint(119, 70));
  ScreenToClient(leaf, &p);
  EXPECT_EQ(p, TPoint(1, 1));
  TPoint q(0, 0);
  MapWindowPoints(leaf, top, &q, 1);
  EXPECT_EQ(q, TPoint(17, 18));
  TRect wr;
  GetWindowRect(leaf, &wr);
  EXPECT_EQ(wr, TRect(118, 69, 138, 89));
  TRect adj(0, 0, 100, 100);
  AdjustWindowRectEx(&adj, WS_CAPTION | WS_THICKFRAME, false, 0);
  EXPECT_EQ(adj, TRect(-4, -4 - GetSystemMetrics(SM_CYCAPTION), 104, 104));
  EXPECT_EQ(GetParent(leaf), mid);
  EXPECT_EQ(GetAncestor(leaf, GA_ROOT), top);
  EXPECT_TRUE(IsChild(top, leaf));
}

TEST_F(WindowTest, TopMostWindowsStayAboveAndOwnedWindowsAboveTheirOwner) {
  HWND a = CreateTop(TRect(0, 0, 10, 10), WS_POPUP);
  HWND b = CreateTop(TRect(0, 0, 10, 10), WS_POPUP);
  HWND tip = CreateTop(TRect(0, 0, 10, 10), WS_POPUP, WS_EX_TOPMOST);
  HWND owned = Create(WS_POPUP, TRect(0, 0, 10, 10), a);
  SetWindowPos(b, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  std::vector<HWND> z = GetTopLevelWindows();
  EXPECT_EQ(z.front(), tip);  // HWND_TOP does not pass the top-most group
  SetWindowPos(a, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  z = GetTopLevelWindows();
  ASSERT_EQ(z.size(), 4u);
  EXPECT_EQ(z, (std::vector<HWND>{tip, owned, a, b}));
  SetWindowPos(tip, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_FALSE(GetWindowLongPtr(tip, GWL_EXSTYLE) & WS_EX_TOPMOST);
  // Destroying the owner takes its owned windows along.
  DestroyWindow(a);
  EXPECT_FALSE(IsWindow(owned));
}

TEST_F(WindowTest, MonitorsAndWorkAreasComeFromTheVirtualScreens) {
  Headless::SetScreens({{TRect(0, 0, 800, 600), TRect(0, 0, 800, 560)},
                        {TRect(800, 0, 1824, 768), TRect(800, 30, 1824, 768)}});
  EXPECT_EQ(GetSystemMetrics(SM_CMONITORS), 2);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 800);
  EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), 1824);
  TRect work;
  SystemParametersInfo(SPI_GETWORKAREA, 0, &work);
  EXPECT_EQ(work, TRect(0, 0, 800, 560));
  HWND h = CreateTop(TRect(900, 100, 1000, 200));
  MONITORINFO mi;
  ASSERT_TRUE(GetMonitorInfo(MonitorFromWindow(h, MONITOR_DEFAULTTONULL), &mi));
  EXPECT_EQ(mi.rcWork, TRect(800, 30, 1824, 768));
  EXPECT_EQ(mi.dwFlags, 0u);
  EXPECT_EQ(MonitorFromPoint({5000, 5000}, MONITOR_DEFAULTTONULL), nullptr);
  ASSERT_TRUE(GetMonitorInfo(MonitorFromPoint({5000, 5000}, MONITOR_DEFAULTTONEAREST), &mi));
  EXPECT_EQ(mi.rcMonitor, TRect(800, 0, 1824, 768));
  ASSERT_TRUE(GetMonitorInfo(MonitorFromPoint({5000, 5000}, MONITOR_DEFAULTTOPRIMARY), &mi));
  EXPECT_EQ(mi.dwFlags, static_cast<DWORD>(MONITORINFOF_PRIMARY));
  // A maximised window fills its monitor's work area.
  ShowWindow(h, SW_MAXIMIZE);
  TRect r;
  GetWindowRect(h, &r);
  EXPECT_EQ(r, TRect(800, 30, 1824, 768));
  ShowWindow(h, SW_RESTORE);
  GetWindowRect(h, &r);
  EXPECT_EQ(r, TRect(900, 100, 1000, 200));
  EXPECT_THROW(Headless::SetScreens({}), EInvalidArgument);
}

TEST_F(WindowTest, ScreenCaptureAndPngFilesShowWhatWasPresented) {
  HWND h = CreateTop(TRect(10, 20, 60, 50));
  Pump();
  HDC dc = GetDC(h);
  HBRUSH red = CreateSolidBrush(clRed);
  FillRect(dc, TRect(0, 0, 10, 10), red);
  DeleteObject(red);
  ReleaseDC(h, dc);
  TSurface screen;
  ASSERT_TRUE(Headless::CaptureScreen(&screen));
  EXPECT_EQ(screen.Width(), 1024);
  EXPECT_EQ(screen.Row(20)[10], Opaque(clRed));
  EXPECT_EQ(screen.Row(45)[55], Opaque(ColorToRGB(clWindow)));
  EXPECT_EQ(screen.Row(5)[5], 0xFF000000u);
  String path = testing::TempDir() + "kv_capture.png";
  EXPECT_TRUE(Headless::SavePNG(screen, path));
  FILE* f = std::fopen(path.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  unsigned char sig[8] = {};
  EXPECT_EQ(std::fread(sig, 1, 8, f), 8u);
  std::fclose(f);
  EXPECT_EQ(sig[1], 'P');
  std::remove(path.c_str());
}
