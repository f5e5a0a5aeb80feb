// The glow renderers: the blur of a caption-sized bitmap and of a whole frame beside a copy of
// the same pixels; a glowing caption, uncached and cached, beside the plain caption; a glowing
// 48-pixel image beside the plain image.
#include <cstring>
#include <vector>

#include "bench.h"
#include "kv/kvUtils/kvGlow.h"
#include "platform/graphics/text.h"

namespace {
void Noise(TBitmap& b) {
  uint32_t v = 12345;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) {
      v = v * 1664525u + 1013904223u;
      b.ScanLine(y)[x] = v;
    }
}

void Blur(benchmark::State& state, int w, int h, TkvBlurPath path) {
  if (!StackBlurPathAvailable(path)) {
    state.SkipWithError("not available on this processor");
    return;
  }
  TBitmap b(w, h);
  Noise(b);
  TkvBlurPath was = StackBlurPath();
  SetStackBlurPath(path);
  for (auto _ : state) {
    StackBlur(&b, 7);
    benchmark::ClobberMemory();
  }
  SetStackBlurPath(was);
  state.SetItemsProcessed(state.iterations() * w * h);
}

void Copy(benchmark::State& state, int w, int h) {
  std::vector<uint32_t> a(static_cast<size_t>(w) * static_cast<size_t>(h), 7u), b(a.size());
  for (auto _ : state) {
    std::memcpy(b.data(), a.data(), a.size() * 4);
    benchmark::ClobberMemory();
  }
}

const char* const kCaption = "Glowing caption of thirty char";  // 30 characters

struct TCaptionTarget {
  TBitmap Bitmap{260, 50};
  TRect Rect{10, 10, 230, 34};
  TCaptionTarget() {
    Bitmap.Surface().Fill(0xFFF0F0F0u);
    Bitmap.Canvas()->Font()->SetName("DejaVu Sans");
    Bitmap.Canvas()->Font()->SetSize(9);
  }
  void Glow() {
    DrawTextWithGlow(Bitmap.Canvas(), Rect, kCaption, DT_SINGLELINE | DT_VCENTER | DT_CENTER, 0, clHighlight, 7, true,
                     255, false);
  }
};
}  // namespace

static void BM_CopyPixels300x60(benchmark::State& s) { Copy(s, 300, 60); }
// The default (best) path is the candidate against the copy; the other paths against it.
static void BM_StackBlur300x60(benchmark::State& s) { Blur(s, 300, 60, StackBlurPath()); }
static void BM_StackBlur300x60Sse2(benchmark::State& s) { Blur(s, 300, 60, kvbpSse2); }
static void BM_StackBlur300x60Portable(benchmark::State& s) { Blur(s, 300, 60, kvbpPortable); }
static void BM_CopyPixels778x527(benchmark::State& s) { Copy(s, 778, 527); }
static void BM_StackBlur778x527(benchmark::State& s) { Blur(s, 778, 527, StackBlurPath()); }
static void BM_StackBlur778x527Sse2(benchmark::State& s) { Blur(s, 778, 527, kvbpSse2); }
static void BM_StackBlur778x527Portable(benchmark::State& s) { Blur(s, 778, 527, kvbpPortable); }
BENCHMARK(BM_CopyPixels300x60);
BENCHMARK(BM_StackBlur300x60);
BENCHMARK(BM_StackBlur300x60Sse2);
BENCHMARK(BM_StackBlur300x60Portable);
BENCHMARK(BM_CopyPixels778x527);
BENCHMARK(BM_StackBlur778x527);
BENCHMARK(BM_StackBlur778x527Sse2);
BENCHMARK(BM_StackBlur778x527Portable);
KV_BASELINE(BM_StackBlur300x60, BM_CopyPixels300x60);
KV_BASELINE(BM_StackBlur300x60Sse2, BM_StackBlur300x60);
KV_BASELINE(BM_StackBlur300x60Portable, BM_StackBlur300x60);
KV_BASELINE(BM_StackBlur778x527, BM_CopyPixels778x527);
KV_BASELINE(BM_StackBlur778x527Sse2, BM_StackBlur778x527);
KV_BASELINE(BM_StackBlur778x527Portable, BM_StackBlur778x527);

static void BM_DrawCaption(benchmark::State& state) {
  TCaptionTarget t;
  TCanvas* c = t.Bitmap.Canvas();
  c->Brush()->SetStyle(bsClear);
  for (auto _ : state) {
    TRect r = t.Rect;
    String s = kCaption;
    c->TextRect(r, s, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DrawCaption);

static void BM_DrawTextWithGlowUncached(benchmark::State& state) {
  TCaptionTarget t;
  SetGlowCacheCapacity(0);
  for (auto _ : state) {
    t.Glow();
    benchmark::ClobberMemory();
  }
  SetGlowCacheCapacity(size_t{4} << 20);
}
BENCHMARK(BM_DrawTextWithGlowUncached);
KV_BASELINE(BM_DrawTextWithGlowUncached, BM_DrawCaption);

static void BM_DrawTextWithGlowCached(benchmark::State& state) {
  TCaptionTarget t;
  ClearGlowCache();
  t.Glow();
  for (auto _ : state) {
    t.Glow();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DrawTextWithGlowCached);
KV_BASELINE(BM_DrawTextWithGlowCached, BM_DrawCaption);

namespace {
struct TImageTarget {
  TBitmap Bitmap{100, 100};
  TImageList List{nullptr};
  TImageTarget() {
    List.SetSize(48, 48);
    List.SetColorDepth(cd32Bit);
    TBitmap glyph(48, 48);
    glyph.SetPixelFormat(pf32bit);
    glyph.SetAlphaFormat(afPremultiplied);
    for (int y = 6; y < 42; ++y)
      for (int x = 6; x < 42; ++x) glyph.ScanLine(y)[x] = (x + y) % 7 ? 0xFF3070D0u : 0x80183868u;
    List.Add(&glyph, nullptr);
  }
};
}  // namespace

static void BM_DrawImage48(benchmark::State& state) {
  TImageTarget t;
  for (auto _ : state) {
    t.List.Draw(t.Bitmap.Canvas(), 26, 26, 0, true);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DrawImage48);

static void BM_DrawImageWithGlowUncached(benchmark::State& state) {
  TImageTarget t;
  SetGlowCacheCapacity(0);
  for (auto _ : state) {
    DrawImageWithGlow(t.Bitmap.Canvas(), 26, 26, &t.List, 0, 0, clHighlight, 7, 255);
    benchmark::ClobberMemory();
  }
  SetGlowCacheCapacity(size_t{4} << 20);
}
BENCHMARK(BM_DrawImageWithGlowUncached);
KV_BASELINE(BM_DrawImageWithGlowUncached, BM_DrawImage48);

static void BM_DrawImageWithGlowCached(benchmark::State& state) {
  TImageTarget t;
  ClearGlowCache();
  for (auto _ : state) {
    DrawImageWithGlow(t.Bitmap.Canvas(), 26, 26, &t.List, 0, 0, clHighlight, 7, 255);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DrawImageWithGlowCached);
KV_BASELINE(BM_DrawImageWithGlowCached, BM_DrawImage48);
