// DrawElement of a 100 x 30 push button in each of the six looks, beside a FillRect of the same
// rectangle (the least any look can cost); the first draw of a size (rendering a look) beside a
// cached one; SetStyle announcing to 200 listeners beside calling 200 handlers directly.
#include <cstdlib>
#include <vector>

#include "bench.h"
#include "platform/graphics/objects.h"
#include "platform/graphics/surface.h"
#include "platform/themes/elementcache.h"
#include "platform/themes/stylefile.h"
#include "platform/themes/stylemanager.h"
#include "platform/windows/paint.h"
#include "platform/windows/window.h"

namespace {
struct TTarget {
  TSurface Surface{200, 100};
  HDC DC = CreateSurfaceDC(&Surface);
  ~TTarget() { DeleteDC(DC); }
};

void DrawButton(benchmark::State& state, const char* style, bool classic) {
  TStyleManager::SetStyle(style);
  TStyleManager::SetClassicLook(classic);
  TTarget t;
  TThemedElementDetails d = GetElementDetails(tbPushButtonHot);
  TRect r(10, 10, 110, 40);
  for (auto _ : state) {
    StyleServices().DrawElement(t.DC, d, r);
    benchmark::ClobberMemory();
  }
  TStyleManager::SetClassicLook(false);
  TStyleManager::SetStyle("Windows");
}
}  // namespace

static void BM_FillRect100x30(benchmark::State& state) {
  TTarget t;
  HBRUSH brush = CreateSolidBrush(RGB(200, 100, 50));
  for (auto _ : state) {
    FillRect(t.DC, TRect(10, 10, 110, 40), brush);
    benchmark::ClobberMemory();
  }
  DeleteObject(brush);
}
BENCHMARK(BM_FillRect100x30);

static void BM_DrawButtonNative(benchmark::State& s) { DrawButton(s, "Windows", false); }
static void BM_DrawButtonClassic(benchmark::State& s) { DrawButton(s, "Windows", true); }
static void BM_DrawButtonAquaLightSlate(benchmark::State& s) { DrawButton(s, "Aqua Light Slate", false); }
static void BM_DrawButtonGlossy(benchmark::State& s) { DrawButton(s, "Glossy", false); }
static void BM_DrawButtonSapphireKamri(benchmark::State& s) { DrawButton(s, "Sapphire Kamri", false); }
static void BM_DrawButtonTabletDark(benchmark::State& s) { DrawButton(s, "TabletDark", false); }
BENCHMARK(BM_DrawButtonNative);
BENCHMARK(BM_DrawButtonClassic);
BENCHMARK(BM_DrawButtonAquaLightSlate);
BENCHMARK(BM_DrawButtonGlossy);
BENCHMARK(BM_DrawButtonSapphireKamri);
BENCHMARK(BM_DrawButtonTabletDark);
KV_BASELINE(BM_DrawButtonNative, BM_FillRect100x30);
KV_BASELINE(BM_DrawButtonClassic, BM_FillRect100x30);
KV_BASELINE(BM_DrawButtonAquaLightSlate, BM_FillRect100x30);
KV_BASELINE(BM_DrawButtonGlossy, BM_FillRect100x30);
KV_BASELINE(BM_DrawButtonSapphireKamri, BM_FillRect100x30);
KV_BASELINE(BM_DrawButtonTabletDark, BM_FillRect100x30);

// Rendering a look for a size not drawn before: a fresh cache every time.
static void BM_DrawButtonGlossyUncached(benchmark::State& state) {
  TTarget t;
  std::shared_ptr<const TStyleData> data(&TStyleManager::Style("Glossy")->Data(), [](const TStyleData*) {});
  int slot = ElementCatalog::SlotOf(GetElementDetails(tbPushButtonHot));
  for (auto _ : state) {
    TElementCache cache(data);
    cache.Draw(t.DC, slot, TRect(10, 10, 110, 40));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DrawButtonGlossyUncached);
KV_BASELINE(BM_DrawButtonGlossyUncached, BM_DrawButtonGlossy);

// SetStyle on a form of 200 child windows, each with a listener standing in for its control
// (repaint excluded: the windows are invalidated, not painted), there and back.
static void BM_SetStyle200Controls(benchmark::State& state) {
  setenv("KV_BACKEND", "headless", 0);
  WNDCLASS wc;
  wc.lpfnWndProc = DefWindowProc;
  wc.lpszClassName = "BenchControl";
  RegisterClass(wc);
  HWND form = CreateWindowEx(0, "BenchControl", "", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr);
  for (int i = 0; i < 200; ++i)
    CreateWindowEx(0, "BenchControl", "", WS_CHILD | WS_VISIBLE, (i % 20) * 40, (i / 20) * 30, 38, 28, form, nullptr,
                   nullptr, nullptr);
  int calls = 0;
  std::vector<int> ids;
  for (int i = 0; i < 200; ++i) ids.push_back(TStyleManager::AddStyleChangeListener(TNotifyEvent([&](TObject*) { ++calls; })));
  bool glossy = false;
  for (auto _ : state) {
    glossy = !glossy;
    TStyleManager::SetStyle(glossy ? "Glossy" : "Windows");
    ValidateRect(form, nullptr);
  }
  for (int id : ids) TStyleManager::RemoveStyleChangeListener(id);
  TStyleManager::SetStyle("Windows");
  DestroyWindow(form);
  benchmark::DoNotOptimize(calls);
}
BENCHMARK(BM_SetStyle200Controls);

static void BM_Call200Handlers(benchmark::State& state) {
  int calls = 0;
  std::vector<TNotifyEvent> handlers;
  for (int i = 0; i < 200; ++i) handlers.emplace_back([&](TObject*) { ++calls; });
  for (auto _ : state)
    for (const TNotifyEvent& h : handlers) h(nullptr);
  benchmark::DoNotOptimize(calls);
}
BENCHMARK(BM_Call200Handlers);
KV_BASELINE(BM_SetStyle200Controls, BM_Call200Handlers);

// Registering a carried style at start-up: unpacking and reading it, beside only unpacking.
static void BM_LoadCarriedStyle(benchmark::State& state) {
  std::span<const uint8_t> bytes = ResourceBytes("GLOSSY", RT_STYLE);
  for (auto _ : state) benchmark::DoNotOptimize(LoadStyleData(bytes, "resource GLOSSY"));
}
BENCHMARK(BM_LoadCarriedStyle);
static void BM_UnpackCarriedStyle(benchmark::State& state) {
  std::span<const uint8_t> bytes = ResourceBytes("GLOSSY", RT_STYLE);
  for (auto _ : state) benchmark::DoNotOptimize(UnpackStyle(bytes, "resource GLOSSY"));
}
BENCHMARK(BM_UnpackCarriedStyle);
KV_BASELINE(BM_LoadCarriedStyle, BM_UnpackCarriedStyle);
