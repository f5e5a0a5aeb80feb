// The graphics hot paths on a 778 x 527 frame, beside memcpy of the same frame and pixman's own
// composite; DrawText of a 30-character caption with the layout cache hit and missed.
#include <cairo.h>
#include <pango/pangocairo.h>
#include <pixman.h>

#include <cstring>
#include <random>
#include <vector>

#include "bench.h"
#include "platform/graphics/blit.h"
#include "platform/graphics/text.h"

namespace {
constexpr int kW = 778, kH = 527;

// A destination and a premultiplied source frame of random pixels.
struct TFrames {
  TSurface Dst{kW, kH}, Src{kW, kH};
  HDC DstDC = CreateSurfaceDC(&Dst);
  HDC SrcDC = CreateSurfaceDC(&Src);
  TFrames() {
    std::mt19937 rng(7);
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        uint32_t a = rng() % 256, c = a ? rng() % (a + 1) : 0;
        Src.Row(y)[x] = PixelARGB(a, c, c / 2, a - c);
        Dst.Row(y)[x] = 0xFF000000u | (rng() & 0xFFFFFF);
      }
  }
  ~TFrames() {
    DeleteDC(DstDC);
    DeleteDC(SrcDC);
  }
};

TFrames& Frames() {
  static TFrames f;
  return f;
}

const size_t kBytes = static_cast<size_t>(kW) * kH * 4;
}  // namespace

static void BM_MemcpyFrame(benchmark::State& state) {
  std::vector<uint8_t> a(kBytes, 1), b(kBytes, 2);
  for (auto _ : state) {
    std::memcpy(b.data(), a.data(), kBytes);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBytes));
}
BENCHMARK(BM_MemcpyFrame);

static void BM_FillRectFrame(benchmark::State& state) {
  TFrames& f = Frames();
  HBRUSH brush = CreateSolidBrush(RGB(10, 20, 30));
  for (auto _ : state) {
    FillRect(f.DstDC, TRect(0, 0, kW, kH), brush);
    benchmark::ClobberMemory();
  }
  DeleteObject(brush);
}
BENCHMARK(BM_FillRectFrame);
KV_BASELINE(BM_FillRectFrame, BM_MemcpyFrame);

static void BM_BitBltFrame(benchmark::State& state) {
  TFrames& f = Frames();
  for (auto _ : state) {
    BitBlt(f.DstDC, 0, 0, kW, kH, f.SrcDC, 0, 0, SRCCOPY);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_BitBltFrame);
KV_BASELINE(BM_BitBltFrame, BM_MemcpyFrame);

// pixman's own per-pixel source-over of the same frames: the floor for AlphaBlend.
static void BM_PixmanOverFrame(benchmark::State& state) {
  TFrames& f = Frames();
  pixman_image_t* src = f.Src.PixmanImage();
  pixman_image_t* dst = f.Dst.PixmanImage();
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_OVER, src, nullptr, dst, 0, 0, 0, 0, 0, 0, kW, kH);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PixmanOverFrame);
KV_BASELINE(BM_PixmanOverFrame, BM_MemcpyFrame);

static void BlendFrame(benchmark::State& state) {
  TFrames& f = Frames();
  BLENDFUNCTION bf;
  bf.AlphaFormat = AC_SRC_ALPHA;
  for (auto _ : state) {
    AlphaBlend(f.DstDC, 0, 0, kW, kH, f.SrcDC, 0, 0, kW, kH, bf);
    benchmark::ClobberMemory();
  }
}

// The same per-pixel blend, reported once against pixman and once against memcpy.
static void BM_AlphaBlendFrame(benchmark::State& state) { BlendFrame(state); }
BENCHMARK(BM_AlphaBlendFrame);
KV_BASELINE(BM_AlphaBlendFrame, BM_PixmanOverFrame);
static void BM_AlphaBlendFrameVsMemcpy(benchmark::State& state) { BlendFrame(state); }
BENCHMARK(BM_AlphaBlendFrameVsMemcpy);
KV_BASELINE(BM_AlphaBlendFrameVsMemcpy, BM_MemcpyFrame);

// ---- text ----

namespace {
const char* kCaption = "Open the selected folder here.";  // 30 characters

struct TTextTarget {
  TSurface Surface{200, 24};
  HDC DC = CreateSurfaceDC(&Surface);
  HFONT Font = CreateFont(-11, 0, 0, 0, FW_NORMAL, false, false, false, "Tahoma");
  TTextTarget() {
    SelectObject(DC, Font);
    SetBkMode(DC, TRANSPARENT);
  }
  ~TTextTarget() {
    DeleteDC(DC);
    DeleteObject(Font);
  }
};
}  // namespace

static void BM_DrawTextCacheHit(benchmark::State& state) {
  TTextTarget t;
  TRect r(0, 0, 200, 24);
  DrawText(t.DC, kCaption, r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  for (auto _ : state) {
    DrawText(t.DC, kCaption, r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DrawTextCacheHit);

static void BM_DrawTextCacheMiss(benchmark::State& state) {
  TTextTarget t;
  TRect r(0, 0, 200, 24);
  for (auto _ : state) {
    ClearTextLayoutCache();
    DrawText(t.DC, kCaption, r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DrawTextCacheMiss);
KV_BASELINE(BM_DrawTextCacheHit, BM_DrawTextCacheMiss);

// The floor for a cached draw: showing a prepared Pango line with cairo, nothing else.
static void BM_PangoShowPreparedLine(benchmark::State& state) {
  TTextTarget t;
  cairo_t* cr = cairo_create(t.Surface.CairoSurface());
  PangoFontMap* fm = pango_cairo_font_map_get_default();
  PangoContext* ctx = pango_font_map_create_context(fm);
  pango_cairo_context_set_resolution(ctx, 96);
  PangoLayout* layout = pango_layout_new(ctx);
  PangoFontDescription* d = pango_font_description_from_string("DejaVu Sans");
  pango_font_description_set_absolute_size(d, 11 * PANGO_SCALE);
  pango_layout_set_font_description(layout, d);
  pango_layout_set_text(layout, kCaption, -1);
  PangoLayoutLine* line = pango_layout_get_line_readonly(layout, 0);
  for (auto _ : state) {
    cairo_move_to(cr, 10, 16);
    pango_cairo_show_layout_line(cr, line);
    cairo_surface_flush(t.Surface.CairoSurface());
    benchmark::ClobberMemory();
  }
  g_object_unref(layout);
  pango_font_description_free(d);
  g_object_unref(ctx);
  cairo_destroy(cr);
}
BENCHMARK(BM_PangoShowPreparedLine);
KV_BASELINE(BM_DrawTextCacheMiss, BM_PangoShowPreparedLine);
