// The SDL back end with real windows: the dummy video driver always, an X server when the
// test runs under xvfb-run (KV_SDL_DISPLAY set). Waiting for the display server is done with
// round trips (Sync), never by sleeping.
#include <SDL2/SDL.h>

#include <cstdlib>
#include <thread>

#include "fixture.h"
#include "platform/graphics/dc.h"

class SdlTest : public WindowTest {
protected:
  void SetUp() override {
    UseThisFixture();
    x11_ = std::getenv("KV_SDL_DISPLAY") != nullptr;
    if (x11_) {
      if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
      setenv("SDL_VIDEODRIVER", "x11", 1);
    } else {
      setenv("SDL_VIDEODRIVER", "dummy", 1);
    }
    ShutdownWindowSystem();
    try {
      SelectWindowBackend("sdl");
    } catch (const EOutOfResources& e) {
      GTEST_SKIP() << e.what();
    }
    RegisterClasses();
  }
  void TearDown() override {
    WindowTest::TearDown();
    unsetenv("SDL_VIDEODRIVER");
  }
  // Lets the display server catch up: a round trip, then the events it produced.
  void Settle() {
    for (int i = 0; i < 3; ++i) {
      WindowBackend().Sync();
      Pump();
    }
  }
  static uint32_t At(const TSurface& s, int x, int y) { return s.Row(y)[x] | 0xFF000000u; }

  bool x11_ = false;
};

TEST_F(SdlTest, AWindowShowsThePixelsThatWerePainted) {
  ASSERT_EQ(WindowBackendName(), "sdl");
  struct TCase {
    const char* Name;
    DWORD Style;
  };
  for (TCase c : {TCase{"pop-up, presented whole", WS_POPUP | WS_VISIBLE},
                  TCase{"framed by the host, client presented", WS_OVERLAPPEDWINDOW | WS_VISIBLE}}) {
    SCOPED_TRACE(c.Name);
    HWND h = CreateTop(TRect(40, 40, 240, 190), c.Style);
    On(h, WM_PAINT, [](HWND hh, UINT, WPARAM, LPARAM) -> LRESULT {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hh, &ps);
      HBRUSH red = CreateSolidBrush(clRed), blue = CreateSolidBrush(clBlue);
      TRect r;
      GetClientRect(hh, &r);
      FillRect(dc, r, red);
      FillRect(dc, TRect(10, 10, 30, 30), blue);
      EndPaint(hh, &ps);
      DeleteObject(red);
      DeleteObject(blue);
      return 0;
    });
    InvalidateRect(h, nullptr, true);
    Settle();
    TRect client;
    GetClientRect(h, &client);
    TSurface grab;
    ASSERT_TRUE(GrabWindowFromScreen(h, &grab));
    ASSERT_EQ(grab.Width(), client.Width());
    ASSERT_EQ(grab.Height(), client.Height());
    EXPECT_EQ(At(grab, 5, 5), Opaque(clRed));
    EXPECT_EQ(At(grab, 15, 15), Opaque(clBlue));
    EXPECT_EQ(At(grab, client.Width() - 1, client.Height() - 1), Opaque(clRed));
    // A later change reaches the screen as a dirty rectangle of its own.
    HDC dc = GetDC(h);
    HBRUSH green = CreateSolidBrush(clLime);
    FillRect(dc, TRect(50, 50, 150, 70), green);
    DeleteObject(green);
    ReleaseDC(h, dc);
    Settle();
    ASSERT_TRUE(GrabWindowFromScreen(h, &grab));
    EXPECT_EQ(At(grab, 60, 60), Opaque(clLime));
    EXPECT_EQ(At(grab, 15, 15), Opaque(clBlue));
    DestroyWindow(h);
  }
}

TEST_F(SdlTest, AShownPopupDoesNotTakeTheKeyboardFocus) {
  HWND form = CreateTop(TRect(50, 50, 450, 350), WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND edit = CreateChild(form, TRect(10, 10, 200, 30));
  SetFocus(edit);
  Settle();
  auto* formWin = static_cast<SDL_Window*>(GetHostNativeWindow(form));
  ASSERT_NE(formWin, nullptr);
  if (x11_) {
    EXPECT_EQ(SDL_GetKeyboardFocus(), formWin);
  }

  HWND popup = Create(WS_POPUP | WS_CLIPCHILDREN, TRect(60, 360, 260, 460), form, WS_EX_TOOLWINDOW);
  SetWindowPos(popup, HWND_TOPMOST, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOMOVE);
  Settle();
  auto* popupWin = static_cast<SDL_Window*>(GetHostNativeWindow(popup));
  ASSERT_NE(popupWin, nullptr);
  EXPECT_TRUE(SDL_GetWindowFlags(popupWin) & SDL_WINDOW_POPUP_MENU);
  EXPECT_TRUE(SDL_GetWindowFlags(popupWin) & SDL_WINDOW_SHOWN);
  EXPECT_NE(SDL_GetKeyboardFocus(), popupWin);
  if (x11_) {
    EXPECT_EQ(SDL_GetKeyboardFocus(), formWin);
  }
  EXPECT_EQ(GetFocus(), edit);
  EXPECT_EQ(GetActiveWindow(), form);
  EXPECT_EQ(Count(form, WM_ACTIVATE), 1);  // only its own activation when it was shown
  EXPECT_EQ(Count(edit, WM_KILLFOCUS), 0);
}

TEST_F(SdlTest, PostMessageFromAnotherThreadWakesTheLoop) {
  HWND h = CreateTop(TRect(0, 0, 50, 50));
  Settle();
  std::thread worker([h] { PostMessage(h, WM_USER + 3, 7, 0); });
  MSG m;
  while (true) {
    ASSERT_TRUE(GetMessage(&m, nullptr, 0, 0));
    if (m.message == WM_USER + 3) break;
    DispatchMessage(&m);
  }
  worker.join();
  EXPECT_EQ(m.wParam, 7u);
}
