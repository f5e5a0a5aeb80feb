// Windows, procedures and messages: creation and destruction order, subclassing, sent versus
// posted messages, threads, the queue's order and WM_QUIT.
#include <atomic>
#include <thread>

#include "fixture.h"

TEST_F(WindowTest, CreationAndDestructionSendTheirMessagesInOrder) {
  HWND top = CreateTop(TRect(10, 10, 210, 110), WS_POPUP);
  HWND child = CreateChild(top, TRect(0, 0, 50, 50));
  EXPECT_EQ(Messages(child, {WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE}),
            (std::vector<UINT>{WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE}));
  // The parent hears of the child's creation.
  auto notes = Entries(top, WM_PARENTNOTIFY);
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(LOWORD(notes[0].WParam), WM_CREATE);
  EXPECT_EQ(reinterpret_cast<HWND>(notes[0].LParam), child);

  ClearLog();
  HWND second = CreateChild(top, TRect(0, 0, 5, 5));
  DestroyWindow(second);
  notes = Entries(top, WM_PARENTNOTIFY);
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(LOWORD(notes[1].WParam), WM_DESTROY);
  EXPECT_EQ(reinterpret_cast<HWND>(notes[1].LParam), second);
  ClearLog();
  EXPECT_TRUE(DestroyWindow(top));
  // WM_DESTROY parents first; the child is gone completely before the parent's WM_NCDESTROY.
  std::vector<std::pair<HWND, UINT>> order;
  for (const TLogEntry& e : Log())
    if (e.Msg == WM_DESTROY || e.Msg == WM_NCDESTROY) order.push_back({e.Hwnd, e.Msg});
  EXPECT_EQ(order, (std::vector<std::pair<HWND, UINT>>{
                       {top, WM_DESTROY}, {child, WM_DESTROY}, {child, WM_NCDESTROY}, {top, WM_NCDESTROY}}));
  EXPECT_FALSE(IsWindow(top));
  EXPECT_FALSE(IsWindow(child));
  // A stale handle is refused, even once its slot is reused.
  HWND again = CreateTop(TRect(0, 0, 10, 10), WS_POPUP);
  EXPECT_NE(again, top);
  EXPECT_FALSE(IsWindow(top));
  EXPECT_FALSE(SetWindowPos(top, nullptr, 0, 0, 1, 1, SWP_NOZORDER));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

TEST_F(WindowTest, RefusedCreationReturnsNullAndLeavesNoWindow) {
  struct TCase {
    UINT Msg;
    LRESULT Answer;
  };
  for (TCase c : {TCase{WM_NCCREATE, 0}, TCase{WM_CREATE, -1}}) {
    SCOPED_TRACE(c.Msg);
    HWND seen = nullptr;
    On(nullptr, c.Msg, [&](HWND h, UINT, WPARAM, LPARAM) -> LRESULT {
      seen = h;
      return c.Answer;
    });
    HWND h = CreateWindowEx(0, kClass, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(h, nullptr);
    ASSERT_NE(seen, nullptr);
    EXPECT_FALSE(IsWindow(seen));
    EXPECT_EQ(Count(seen, WM_NCDESTROY), 1);
    ShutdownWindowSystem();
    SetUp();
  }
  EXPECT_EQ(CreateWindowEx(0, "NoSuchClass", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_CANNOT_FIND_WND_CLASS);
  EXPECT_EQ(CreateWindowEx(0, kClass, "", WS_CHILD, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_TLW_WITH_WSCHILD);
}

TEST_F(WindowTest, DestroyingAWindowInsideItsOwnHandlerIsSafe) {
  HWND h = CreateTop(TRect(0, 0, 50, 50));
  On(h, WM_USER, [](HWND self, UINT, WPARAM, LPARAM) -> LRESULT {
    DestroyWindow(self);
    // The handle is dead, calls on it fail cleanly.
    EXPECT_FALSE(IsWindow(self));
    EXPECT_EQ(SendMessage(self, WM_USER + 1, 0, 0), 0);
    return 7;
  });
  EXPECT_EQ(SendMessage(h, WM_USER, 0, 0), 7);
  EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(Count(h, WM_USER + 1), 0);
}

namespace {
std::vector<std::string>* gTrace = nullptr;
WNDPROC gPrevious = nullptr;
LRESULT Subclass(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_USER + 5) {
    gTrace->push_back("subclass");
    LRESULT r = CallWindowProc(gPrevious, h, msg, w, l);
    gTrace->push_back("after");
    return r + 1;
  }
  return CallWindowProc(gPrevious, h, msg, w, l);
}
}  // namespace

TEST_F(WindowTest, ASubclassedProcedureSeesMessagesFirstAndCallsThrough) {
  std::vector<std::string> trace;
  gTrace = &trace;
  HWND h = CreateTop(TRect(0, 0, 20, 20));
  On(h, WM_USER + 5, [&](HWND, UINT, WPARAM, LPARAM) -> LRESULT {
    trace.push_back("original");
    return 41;
  });
  gPrevious = reinterpret_cast<WNDPROC>(SetWindowLongPtr(h, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&Subclass)));
  EXPECT_EQ(gPrevious, &WindowTest::Proc);
  EXPECT_EQ(SendMessage(h, WM_USER + 5, 0, 0), 42);
  EXPECT_EQ(trace, (std::vector<std::string>{"subclass", "original", "after"}));

  // An object instance as a second layer, removed while it runs.
  int calls = 0;
  WNDPROC inner = reinterpret_cast<WNDPROC>(GetWindowLongPtr(h, GWL_WNDPROC));
  WNDPROC instance = nullptr;
  instance = MakeObjectInstance([&](HWND hh, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
    if (msg == WM_USER + 5) {
      ++calls;
      SetWindowLongPtr(hh, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(inner));
      FreeObjectInstance(instance);  // freeing the running instance is allowed
    }
    return CallWindowProc(inner, hh, msg, w, l);
  });
  SetWindowLongPtr(h, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(instance));
  trace.clear();
  EXPECT_EQ(SendMessage(h, WM_USER + 5, 0, 0), 42);
  EXPECT_EQ(SendMessage(h, WM_USER + 5, 0, 0), 42);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(CallWindowProc(instance, h, WM_USER + 5, 0, 0), 0);  // a freed instance answers 0
  gTrace = nullptr;
}

TEST_F(WindowTest, StyleChangesAreAnnouncedAndMayBeAdjusted) {
  HWND h = CreateTop(TRect(0, 0, 20, 20), WS_POPUP);
  On(h, WM_STYLECHANGING, [](HWND, UINT, WPARAM w, LPARAM l) -> LRESULT {
    if (w == static_cast<WPARAM>(GWL_STYLE)) reinterpret_cast<STYLESTRUCT*>(l)->styleNew |= WS_CLIPCHILDREN;
    return 0;
  });
  LONG_PTR old = SetWindowLongPtr(h, GWL_STYLE, WS_POPUP | WS_BORDER);
  EXPECT_EQ(static_cast<DWORD>(old), static_cast<DWORD>(WS_POPUP));
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtr(h, GWL_STYLE)), static_cast<DWORD>(WS_POPUP | WS_BORDER | WS_CLIPCHILDREN));
  auto changed = Entries(h, WM_STYLECHANGED);
  ASSERT_EQ(changed.size(), 1u);
  // The real lParam is gone by now; what matters is the order and that the style stuck.
  EXPECT_EQ(Messages(h, {WM_STYLECHANGING, WM_STYLECHANGED}), (std::vector<UINT>{WM_STYLECHANGING, WM_STYLECHANGED}));
  SetWindowLongPtr(h, GWLP_USERDATA, 1234);
  EXPECT_EQ(GetWindowLongPtr(h, GWLP_USERDATA), 1234);
  EXPECT_EQ(GetWindowLongPtr(h, 9999), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_INDEX);
}

TEST_F(WindowTest, SentMessagesRunAtOncePostedOnesInOrderFromTheQueue) {
  HWND h = CreateTop(TRect(0, 0, 20, 20));
  std::vector<UINT> seen;
  On(h, 0, [&](HWND hh, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
    if (msg >= WM_USER) {
      seen.push_back(msg);
      // A handler posting and sending in turn: the send runs inside, the post waits.
      if (msg == WM_USER + 1) {
        PostMessage(hh, WM_USER + 3, 0, 0);
        SendMessage(hh, WM_USER + 4, 0, 0);
      }
      return 0;
    }
    return DefWindowProc(hh, msg, w, l);
  });
  PostMessage(h, WM_USER + 1, 0, 0);
  PostMessage(h, WM_USER + 2, 0, 0);
  SendMessage(h, WM_USER + 0, 0, 0);
  EXPECT_EQ(seen, (std::vector<UINT>{WM_USER + 0}));
  Pump();
  EXPECT_EQ(seen, (std::vector<UINT>{WM_USER + 0, WM_USER + 1, WM_USER + 4, WM_USER + 2, WM_USER + 3}));
}

TEST_F(WindowTest, QueueHandsOutPostedThenInputThenQuitThenPaintThenTimers) {
  HWND h = CreateTop(TRect(0, 0, 100, 100));
  Pump();
  Headless::SetAutoPump(false);
  SetTimer(h, 1, 10, nullptr);
  Headless::AdvanceTime(0);
  InvalidateRect(h, nullptr, false);
  Headless::MouseMove(5, 5);
  PostMessage(h, WM_USER, 0, 0);
  PostQuitMessage(3);
  // Filters pick out later messages without disturbing the rest.
  MSG m;
  ASSERT_TRUE(PeekMessage(&m, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_PAINT));

  // The timer becomes due while the others wait.
  uint64_t t0 = Headless::Now();
  std::vector<UINT> order;
  for (int i = 0; i < 5; ++i) {
    bool more = GetMessage(&m, nullptr, 0, 0);
    order.push_back(m.message);
    if (!more) {
      EXPECT_EQ(m.wParam, 3u);
      continue;
    }
    DispatchMessage(&m);
  }
  EXPECT_EQ(order, (std::vector<UINT>{WM_USER, WM_MOUSEMOVE, WM_QUIT, WM_PAINT, WM_TIMER}));
  // Waiting for the timer moved the virtual clock exactly to it.
  EXPECT_EQ(Headless::Now(), t0 + 10);
  Headless::SetAutoPump(true);
}

TEST_F(WindowTest, PostMessageFromAnotherThreadWakesAWaitingLoop) {
  HWND h = CreateTop(TRect(0, 0, 20, 20));
  Pump();
  std::atomic<bool> posted{false};
  std::thread worker([&] {
    // The loop below is already waiting (or about to): the post must wake it either way.
    EXPECT_TRUE(PostMessage(h, WM_USER + 9, 11, 22));
    posted = true;
  });
  MSG m;
  ASSERT_TRUE(GetMessage(&m, nullptr, 0, 0));
  worker.join();
  EXPECT_TRUE(posted);
  EXPECT_EQ(m.hwnd, h);
  EXPECT_EQ(m.message, static_cast<UINT>(WM_USER + 9));
  EXPECT_EQ(m.wParam, 11u);
  EXPECT_EQ(m.lParam, 22);
  // A destroyed window takes no posts from anyone.
  DestroyWindow(h);
  bool ok = true;
  std::thread([&] { ok = PostMessage(h, WM_USER, 0, 0); }).join();
  EXPECT_FALSE(ok);
}

TEST_F(WindowTest, SendMessageFromAnotherThreadRunsOnTheUserInterfaceThread) {
  HWND h = CreateTop(TRect(0, 0, 20, 20));
  std::thread::id handledOn;
  On(h, WM_USER + 1, [&](HWND, UINT, WPARAM w, LPARAM) -> LRESULT {
    handledOn = std::this_thread::get_id();
    return static_cast<LRESULT>(w * 2);
  });
  LRESULT answer = 0;
  std::thread worker([&] { answer = SendMessage(h, WM_USER + 1, 21, 0); });
  // The sender waits until the user-interface thread looks at its queue.
  MSG m;
  while (handledOn == std::thread::id()) {
    if (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&m);
    else WaitMessage();
  }
  worker.join();
  EXPECT_EQ(answer, 42);
  EXPECT_EQ(handledOn, std::this_thread::get_id());

  // Window functions other than messaging refuse other threads clearly.
  bool refused = false;
  std::thread([&] {
    try {
      SetWindowPos(h, nullptr, 0, 0, 1, 1, SWP_NOZORDER);
    } catch (const EInvalidOperation&) {
      refused = true;
    }
  }).join();
  EXPECT_TRUE(refused);
}

TEST_F(WindowTest, ThreadMessagesReachAWorkerLoop) {
  std::atomic<DWORD> workerId{0};
  std::atomic<int> got{0};
  std::thread worker([&] {
    MSG m;
    PeekMessage(&m, nullptr, 0, 0, PM_NOREMOVE);  // makes the queue
    workerId = GetCurrentThreadId();
    while (GetMessage(&m, nullptr, 0, 0)) got += static_cast<int>(m.wParam);
  });
  while (!workerId) std::this_thread::yield();
  EXPECT_TRUE(PostThreadMessage(workerId, WM_APP, 5, 0));
  EXPECT_TRUE(PostThreadMessage(workerId, WM_QUIT, 0, 0));
  worker.join();
  EXPECT_EQ(got, 5);
  EXPECT_FALSE(PostThreadMessage(987654, WM_APP, 0, 0));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_THREAD_ID);
}

TEST_F(WindowTest, TextAndPropertiesLiveWithTheWindow) {
  HWND h = CreateWindowEx(0, kClass, "Caption é", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(GetWindowText(h), "Caption é");
  EXPECT_TRUE(SetWindowText(h, "Ünïcode"));
  EXPECT_EQ(GetWindowText(h), "Ünïcode");
  EXPECT_EQ(GetWindowTextLength(h), static_cast<int>(String("Ünïcode").size()));
  // A short buffer never cuts a character in half.
  char buf[3];
  EXPECT_EQ(SendMessage(h, WM_GETTEXT, 2, reinterpret_cast<LPARAM>(buf)), 0);
  EXPECT_EQ(SendMessage(h, WM_GETTEXT, 3, reinterpret_cast<LPARAM>(buf)), 2);
  EXPECT_STREQ(buf, "Ü");
  int v = 5;
  EXPECT_TRUE(SetProp(h, "Owner", &v));
  EXPECT_EQ(GetProp(h, "owner"), &v);
  EXPECT_EQ(RemoveProp(h, "OWNER"), &v);
  EXPECT_EQ(GetProp(h, "Owner"), nullptr);
}

TEST_F(WindowTest, ASenderOnAnotherThreadIsReleasedWhenTheWindowIsDestroyedFirst) {
  HWND h = CreateTop(TRect(0, 0, 20, 20));
  std::atomic<bool> queued{false};
  LRESULT answer = -1;
  std::thread worker([&] {
    queued = true;
    answer = SendMessage(h, WM_USER, 0, 0);
  });
  while (!queued) std::this_thread::yield();
  // Destroy before the user-interface thread ever looks at the queue: the sender must not
  // wait for ever. (If the worker had not queued yet, its send fails at once; both end.)
  DestroyWindow(h);
  worker.join();
  EXPECT_EQ(answer, 0);
  EXPECT_EQ(Count(h, WM_USER), 0);
}

TEST_F(WindowTest, QueuedMessagesCarryTheClockAndTheCursorPosition) {
  HWND h = CreateTop(TRect(0, 0, 100, 100));
  Headless::MouseMove(30, 40);
  Headless::AdvanceTime(250);
  PostMessage(h, WM_USER, 0, 0);
  MSG m;
  ASSERT_TRUE(PeekMessage(&m, h, WM_USER, WM_USER, PM_REMOVE));
  EXPECT_EQ(m.time, GetTickCount());
  EXPECT_EQ(m.pt, TPoint(30, 40));
  EXPECT_EQ(GetMessageTime(), m.time);
  EXPECT_EQ(GetMessagePos(), MAKELONG(30, 40));
  EXPECT_THROW(PeekMessage(&m, reinterpret_cast<HWND>(0x777), 0, 0, PM_REMOVE), EInvalidArgument);
}
