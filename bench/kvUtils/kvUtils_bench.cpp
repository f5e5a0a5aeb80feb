// kvUtils hot paths beside a FillRect of the same 100 x 30 rectangle on a bitmap canvas (the
// least a piece can cost): DrawButton in three looks, the focus frame, the classic 3-D frame,
// and DrawTextFit for each of its three outcomes (one line, wrapped, ellipsis).
#include "bench.h"
#include "kv/kvUtils/kvUtils.h"
#include "platform/graphics/bitmap.h"
#include "platform/themes/stylemanager.h"

namespace {
struct TTarget {
  TBitmap Bitmap{200, 100};
  TCanvas* Canvas = Bitmap.Canvas();
  TRect R{10, 10, 110, 40};
};

// Activates a look for the life of a benchmark.
struct TLook {
  TLook(const char* style, bool classic) {
    TStyleManager::SetStyle(style);
    TStyleManager::SetClassicLook(classic);
  }
  ~TLook() {
    TStyleManager::SetClassicLook(false);
    TStyleManager::SetStyle(TStyleManager::SystemStyleName);
  }
};

void Button(benchmark::State& state, const char* style, bool classic, bool focused) {
  TLook look(style, classic);
  TTarget t;
  for (auto _ : state) {
    DrawButton(t.Canvas, t.R, kvsHot, focused);
    benchmark::ClobberMemory();
  }
}

void TextFit(benchmark::State& state, const char* text) {
  TTarget t;
  t.Canvas->Brush()->SetStyle(bsClear);
  for (auto _ : state) {
    DrawTextFit(t.Canvas, text, t.R);
    benchmark::ClobberMemory();
  }
}
}  // namespace

static void BM_FillRect100x30(benchmark::State& state) {
  TTarget t;
  t.Canvas->Brush()->SetColor(RGB(200, 100, 50));
  for (auto _ : state) {
    t.Canvas->FillRect(t.R);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FillRect100x30);

static void BM_DrawButtonNative(benchmark::State& s) { Button(s, "Windows", false, false); }
static void BM_DrawButtonNativeFocused(benchmark::State& s) { Button(s, "Windows", false, true); }
static void BM_DrawButtonClassic(benchmark::State& s) { Button(s, "Windows", true, false); }
static void BM_DrawButtonGlossy(benchmark::State& s) { Button(s, "Glossy", false, false); }
BENCHMARK(BM_DrawButtonNative);
BENCHMARK(BM_DrawButtonNativeFocused);
BENCHMARK(BM_DrawButtonClassic);
BENCHMARK(BM_DrawButtonGlossy);
KV_BASELINE(BM_DrawButtonNative, BM_FillRect100x30);
KV_BASELINE(BM_DrawButtonNativeFocused, BM_FillRect100x30);
KV_BASELINE(BM_DrawButtonClassic, BM_FillRect100x30);
KV_BASELINE(BM_DrawButtonGlossy, BM_FillRect100x30);

static void BM_DrawFocusFrame(benchmark::State& state) {
  TTarget t;
  for (auto _ : state) {
    DrawFocusFrame(t.Canvas, t.R);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DrawFocusFrame);
KV_BASELINE(BM_DrawFocusFrame, BM_FillRect100x30);

static void BM_DrawFrame3D(benchmark::State& state) {
  TTarget t;
  for (auto _ : state) {
    TRect r = t.R;
    DrawFrame3D(t.Canvas, r, clBtnHighlight, clBtnShadow);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DrawFrame3D);
KV_BASELINE(BM_DrawFrame3D, BM_FillRect100x30);

static void BM_DrawTextFitOneLine(benchmark::State& s) { TextFit(s, "Caption"); }
static void BM_DrawTextFitWrapped(benchmark::State& s) { TextFit(s, "A caption of a few words that wraps"); }
static void BM_DrawTextFitEllipsis(benchmark::State& s) {
  TextFit(s, "A caption of very many words that cannot fit in the two lines the box has room for");
}
BENCHMARK(BM_DrawTextFitOneLine);
BENCHMARK(BM_DrawTextFitWrapped);
BENCHMARK(BM_DrawTextFitEllipsis);
KV_BASELINE(BM_DrawTextFitOneLine, BM_FillRect100x30);
KV_BASELINE(BM_DrawTextFitWrapped, BM_FillRect100x30);
KV_BASELINE(BM_DrawTextFitEllipsis, BM_FillRect100x30);
