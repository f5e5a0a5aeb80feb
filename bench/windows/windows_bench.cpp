// The window layer's hot paths beside their baselines: a sent message against a plain call of
// the same procedure, the queue's post-and-dispatch, and presenting dirty rectangles against a
// bare display round trip (SDL under an X server: run under xvfb-run) and a memcpy of a frame.
#include <SDL2/SDL.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "bench.h"
#include "platform/core/exceptions.h"
#include "platform/graphics/dc.h"
#include "platform/graphics/surface.h"
#include "platform/windows/backend.h"
#include "platform/windows/messageloop.h"
#include "platform/windows/paint.h"
#include "platform/windows/sdl_x11.h"
#include "platform/windows/window.h"

namespace {
LRESULT BenchProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_USER) return static_cast<LRESULT>(w + 1);
  return DefWindowProc(h, msg, w, l);
}

void RegisterBenchClass(const char* name, WNDPROC proc) {
  WNDCLASS wc;
  if (GetClassInfo(nullptr, name, &wc)) return;
  wc = WNDCLASS();
  wc.lpfnWndProc = proc;
  wc.lpszClassName = name;
  if (!RegisterClass(wc)) throw EInvalidOperation("cannot register a benchmark window class");
}

HWND MakeWindow() {
  RegisterBenchClass("KvBench", BenchProc);
  return CreateWindowEx(0, "KvBench", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
}

void UseBackend(const char* name) {
  ShutdownWindowSystem();
  SelectWindowBackend(name);
}

constexpr int kFrameW = 778, kFrameH = 527;
}  // namespace

static void BM_DirectProcedureCall(benchmark::State& state) {
  UseBackend("headless");
  HWND h = MakeWindow();
  WNDPROC volatile proc = BenchProc;
  WPARAM i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(proc(h, WM_USER, ++i, 0));
  DestroyWindow(h);
}
BENCHMARK(BM_DirectProcedureCall);

static void BM_SendMessage(benchmark::State& state) {
  UseBackend("headless");
  HWND h = MakeWindow();
  WPARAM i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(SendMessage(h, WM_USER, ++i, 0));
  DestroyWindow(h);
}
BENCHMARK(BM_SendMessage);
KV_BASELINE(BM_SendMessage, BM_DirectProcedureCall);

static void BM_SendMessageToObjectInstance(benchmark::State& state) {
  UseBackend("headless");
  HWND h = MakeWindow();
  WNDPROC inst = MakeObjectInstance([](HWND hh, UINT m, WPARAM w, LPARAM l) { return BenchProc(hh, m, w, l); });
  SetWindowLongPtr(h, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(inst));
  WPARAM i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(SendMessage(h, WM_USER, ++i, 0));
  DestroyWindow(h);
  FreeObjectInstance(inst);
}
BENCHMARK(BM_SendMessageToObjectInstance);
KV_BASELINE(BM_SendMessageToObjectInstance, BM_DirectProcedureCall);

static void BM_PostPeekDispatch(benchmark::State& state) {
  UseBackend("headless");
  HWND h = MakeWindow();
  MSG m;
  for (auto _ : state) {
    PostMessage(h, WM_USER, 1, 0);
    PeekMessage(&m, nullptr, 0, 0, PM_REMOVE);
    benchmark::DoNotOptimize(DispatchMessage(&m));
  }
  DestroyWindow(h);
}
BENCHMARK(BM_PostPeekDispatch);
KV_BASELINE(BM_PostPeekDispatch, BM_DirectProcedureCall);

// ---- a repaint: invalidate, WM_PAINT now, BeginPaint, fill, EndPaint ----------------------
namespace {
LRESULT PaintProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    FillRect(dc, TRect(0, 0, 100, 20), GetSysColorBrush(COLOR_HIGHLIGHT));
    EndPaint(h, &ps);
    return 0;
  }
  return DefWindowProc(h, msg, w, l);
}
}  // namespace

static void BM_FillRect100x20(benchmark::State& state) {
  TSurface s(kFrameW, kFrameH);
  HDC dc = CreateSurfaceDC(&s);
  for (auto _ : state) FillRect(dc, TRect(300, 200, 400, 220), GetSysColorBrush(COLOR_HIGHLIGHT));
  DeleteDC(dc);
}
BENCHMARK(BM_FillRect100x20);

static void BM_RepaintChild100x20(benchmark::State& state) {
  UseBackend("headless");
  RegisterBenchClass("KvBench", BenchProc);
  RegisterBenchClass("KvBenchPaint", PaintProc);
  HWND top = CreateWindowEx(0, "KvBench", "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, kFrameW, kFrameH,
                            nullptr, nullptr, nullptr, nullptr);
  // A child among 50 siblings, as a control on a busy form.
  for (int i = 0; i < 50; ++i)
    CreateWindowEx(0, "KvBench", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, (i % 10) * 70, (i / 10) * 30, 60, 25, top,
                   nullptr, nullptr, nullptr);
  HWND child = CreateWindowEx(0, "KvBenchPaint", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 300, 200, 100, 20, top,
                              nullptr, nullptr, nullptr);
  ProcessPendingMessages();
  if (!child) {
    state.SkipWithError("no window");
    return;
  }
  for (auto _ : state) {
    InvalidateRect(child, nullptr, false);
    UpdateWindow(child);
  }
  DestroyWindow(top);
}
BENCHMARK(BM_RepaintChild100x20);
KV_BASELINE(BM_RepaintChild100x20, BM_FillRect100x20);

// ---- presenting -------------------------------------------------------------------------
namespace {
struct TPresentRig {
  std::unique_ptr<THostWindow> Host;
  TSurface Buffer{kFrameW, kFrameH};
  SDL_Window* Native = nullptr;
  bool Ok = false;
};

// An SDL host of the frame's size on an X server, or a reason why there is none.
bool MakeSdlRig(TPresentRig& rig, benchmark::State& state) {
  if (!std::getenv("DISPLAY")) {
    state.SkipWithError("no X display (run under xvfb-run)");
    return false;
  }
  try {
    UseBackend("sdl");
  } catch (const std::exception& e) {
    state.SkipWithError(e.what());
    return false;
  }
  THostParams p;
  p.Bounds = Bounds(20, 20, kFrameW, kFrameH);
  p.Title = "bench";
  rig.Host = WindowBackend().CreateHost(p);
  rig.Host->Show(true, false);
  rig.Native = static_cast<SDL_Window*>(rig.Host->NativeHandle());
  if (!kvwin::X11Available(rig.Native)) {
    rig.Host.reset();
    state.SkipWithError("the SDL video driver is not X11");
    return false;
  }
  WindowBackend().Sync();
  WindowBackend().PumpEvents();
  rig.Buffer.Fill(0xFF336699u);
  return true;
}

void Present(benchmark::State& state, const TRect& dirty) {
  TPresentRig rig;
  if (!MakeSdlRig(rig, state)) return;
  TRegion region(dirty);
  uint32_t colour = 0xFF000000u;
  for (auto _ : state) {
    // Different pixels every time, so nothing can be skipped along the way.
    state.PauseTiming();
    colour ^= 0x00FFFFFFu;
    for (int y = dirty.Top; y < dirty.Bottom; ++y) std::fill(rig.Buffer.Row(y) + dirty.Left, rig.Buffer.Row(y) + dirty.Right, colour);
    state.ResumeTiming();
    rig.Host->Present(rig.Buffer, {0, 0}, region, TRect(), false);
  }
  rig.Host.reset();
  UseBackend("headless");
}
}  // namespace

static void BM_XRoundTrip(benchmark::State& state) {
  TPresentRig rig;
  if (!MakeSdlRig(rig, state)) return;
  for (auto _ : state) kvwin::X11Sync(rig.Native);
  rig.Host.reset();
  UseBackend("headless");
}
BENCHMARK(BM_XRoundTrip)->Unit(benchmark::kMicrosecond);

static void BM_PresentDirty100x20(benchmark::State& state) { Present(state, Bounds(300, 200, 100, 20)); }
BENCHMARK(BM_PresentDirty100x20)->Unit(benchmark::kMicrosecond);
KV_BASELINE(BM_PresentDirty100x20, BM_XRoundTrip);

static void BM_PresentFullFrame778x527(benchmark::State& state) { Present(state, TRect(0, 0, kFrameW, kFrameH)); }
BENCHMARK(BM_PresentFullFrame778x527)->Unit(benchmark::kMicrosecond);
KV_BASELINE(BM_PresentFullFrame778x527, BM_XRoundTrip);

// The headless host copies into memory: beside a plain memcpy of the same frame.
static void BM_MemcpyFrame(benchmark::State& state) {
  std::vector<uint32_t> a(kFrameW * kFrameH, 1), b(kFrameW * kFrameH);
  for (auto _ : state) {
    std::memcpy(b.data(), a.data(), a.size() * 4);
    benchmark::DoNotOptimize(b.data());
  }
}
BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMicrosecond);

static void BM_HeadlessPresentFullFrame(benchmark::State& state) {
  UseBackend("headless");
  THostParams p;
  p.Bounds = Bounds(0, 0, kFrameW, kFrameH);
  auto host = WindowBackend().CreateHost(p);
  host->Show(true, false);
  TSurface buffer(kFrameW, kFrameH);
  TRegion region(TRect(0, 0, kFrameW, kFrameH));
  for (auto _ : state) host->Present(buffer, {0, 0}, region, TRect(), false);
}
BENCHMARK(BM_HeadlessPresentFullFrame)->Unit(benchmark::kMicrosecond);
KV_BASELINE(BM_HeadlessPresentFullFrame, BM_MemcpyFrame);
