// Wallpapers drawn into a 778 x 527 frame (the demonstration's client area) beside a copy of
// the whole frame: the page tile tiled and stretched, the header picture centred. And a repaint
// of a 100 x 40 part of a tiled page (the canvas clipped to it, as a small update region
// leaves it) beside a copy of that part.
#include "bench.h"
#include "kv/kvImageCollection/kvImageCollection.h"

namespace {
struct TFrame {
  TBitmap Target{778, 527};
  TBitmap Source{778, 527};
  TkvImageCollection Wallpapers{nullptr};
  TFrame() {
    for (const char* file : {"wallpaper2.png", "wallpaper0.png"})
      Wallpapers.Images()->Add()->Picture()->LoadFromFile(String(KV_ASSETS_DIR) + "/" + file);
  }
};

const TRect kFrame(0, 0, 778, 527), kPart(300, 200, 400, 240);

void Copy(benchmark::State& state, const TRect& r) {
  TFrame f;
  HDC dst = f.Target.Canvas()->Handle(), src = f.Source.Canvas()->Handle();
  for (auto _ : state) {
    BitBlt(dst, r.Left, r.Top, r.Width(), r.Height(), src, r.Left, r.Top, SRCCOPY);
    benchmark::ClobberMemory();
  }
}

void Wallpaper(benchmark::State& state, int index, TkvImageDrawStyle style, const TRect* clip = nullptr) {
  TFrame f;
  f.Wallpapers.Images()->Items(index)->SetDrawStyle(style);
  if (clip) IntersectClipRect(f.Target.Canvas()->Handle(), clip->Left, clip->Top, clip->Right, clip->Bottom);
  for (auto _ : state) {
    f.Wallpapers.Draw(f.Target.Canvas(), kFrame, index);
    benchmark::ClobberMemory();
  }
}
}  // namespace

static void BM_CopyFrame778x527(benchmark::State& s) { Copy(s, kFrame); }
static void BM_WallpaperTile(benchmark::State& s) { Wallpaper(s, 0, idsTile); }
static void BM_WallpaperStretch(benchmark::State& s) { Wallpaper(s, 0, idsStretch); }
static void BM_WallpaperCenter(benchmark::State& s) { Wallpaper(s, 1, idsCenter); }
static void BM_CopyPart100x40(benchmark::State& s) { Copy(s, kPart); }
static void BM_WallpaperTilePart100x40(benchmark::State& s) { Wallpaper(s, 0, idsTile, &kPart); }
BENCHMARK(BM_CopyFrame778x527);
BENCHMARK(BM_WallpaperTile);
BENCHMARK(BM_WallpaperStretch);
BENCHMARK(BM_WallpaperCenter);
BENCHMARK(BM_CopyPart100x40);
BENCHMARK(BM_WallpaperTilePart100x40);
KV_BASELINE(BM_WallpaperTile, BM_CopyFrame778x527);
KV_BASELINE(BM_WallpaperStretch, BM_CopyFrame778x527);
KV_BASELINE(BM_WallpaperCenter, BM_CopyFrame778x527);
KV_BASELINE(BM_WallpaperTilePart100x40, BM_CopyPart100x40);
