// StackBlur: the stack blur over the red, green and blue bytes of 32-bit pixels.
//
// Each pass runs along lines (rows, then columns) with a window of d = 2 r + 1 pixels whose
// weights rise from 1 at its ends to r + 1 at its centre; the weighted sum is kept up to date
// with three running sums (the whole sum, the incoming half and the outgoing half), so a pixel
// costs the same whatever the radius. Sums are divided by (r + 1)^2 rounding down, and pixels
// beyond a line's ends repeat the end pixel. The row pass keeps its 8-bit results in a work
// plane; the column pass writes them back with alpha 255.
//
// Three implementations give the same pixels: a portable one, one channel at a time in
// integers; one with the three channels in the lanes of an SSE2 register; and, where the
// processor has AVX2, one that runs two lines side by side in the two halves of a 256-bit
// register (adjacent columns are then read and written with one 8-byte access). The vector
// paths divide in single precision as floor((n + 1/2) / d), which is exact for every sum of a
// radius up to 163 (checked for every n); they are used up to radius 126, where the exactness
// also follows from the rounding error bound, and the portable path takes larger radii.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "kv/kvUtils/kvGlowBlur.h"

#if defined(__SSE2__)
#include <immintrin.h>
#define KV_BLUR_SSE2 1
#endif
#if defined(KV_BLUR_SSE2) && (defined(__GNUC__) || defined(__clang__))
#define KV_BLUR_AVX2 1
#endif

namespace {
constexpr int kVectorRadiusLimit = 126;

// floor(n / d) for 0 <= n < 2^24 by a multiply and a shift: with l = ceil(log2 d),
// s = 24 + l and m = floor(2^s / d) + 1, n m / 2^s exceeds n / d by less than 1 / d.
class TDivider {
public:
  explicit TDivider(uint32_t d) {
    int l = 0;
    while ((uint32_t{1} << l) < d) ++l;
    FShift = 24 + l;
    FMul = (uint64_t{1} << FShift) / d + 1;
  }
  uint32_t operator()(uint32_t n) const { return static_cast<uint32_t>((n * FMul) >> FShift); }

private:
  uint64_t FMul;
  int FShift;
};

// A line of pixels: count pixels, `step` pixels apart.
struct TLine {
  const uint32_t* Src;
  ptrdiff_t SrcStep;
  uint32_t* Dst;
  ptrdiff_t DstStep;
  int Count;
};

// ---- portable ----

void BlurLinePortable(const TLine& line, int radius, const TDivider& divide, uint32_t orMask, uint32_t* stack) {
  const int d = 2 * radius + 1, last = line.Count - 1;
  uint32_t sum[3] = {}, in[3] = {}, out[3] = {};
  auto channel = [](uint32_t p, int c) { return (p >> (8 * c)) & 0xFFu; };
  for (int i = -radius; i <= radius; ++i) {
    uint32_t p = line.Src[std::clamp(i, 0, last) * line.SrcStep];
    stack[i + radius] = p;
    uint32_t weight = static_cast<uint32_t>(radius + 1 - std::abs(i));
    for (int c = 0; c < 3; ++c) {
      sum[c] += channel(p, c) * weight;
      (i > 0 ? in : out)[c] += channel(p, c);
    }
  }
  int sp = radius;
  for (int x = 0; x < line.Count; ++x) {
    line.Dst[x * line.DstStep] = orMask | divide(sum[2]) << 16 | divide(sum[1]) << 8 | divide(sum[0]);
    // The slot of the pixel leaving the window takes the one entering it.
    int oldest = sp + radius + 1;
    if (oldest >= d) oldest -= d;
    uint32_t leaving = stack[oldest];
    uint32_t entering = line.Src[std::min(x + radius + 1, last) * line.SrcStep];
    stack[oldest] = entering;
    if (++sp == d) sp = 0;
    uint32_t centre = stack[sp];
    for (int c = 0; c < 3; ++c) {
      sum[c] -= out[c];
      out[c] -= channel(leaving, c);
      in[c] += channel(entering, c);
      sum[c] += in[c];
      out[c] += channel(centre, c);
      in[c] -= channel(centre, c);
    }
  }
}

// ---- SSE2: blue, green, red (and a zero alpha lane) in one register ----

#ifdef KV_BLUR_SSE2
inline __m128i Lanes(uint32_t p) {
  const __m128i zero = _mm_setzero_si128();
  return _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(p & 0xFFFFFFu)), zero), zero);
}

void BlurLineSse2(const TLine& line, int radius, float inverse, uint32_t orMask, __m128i* stack) {
  const int d = 2 * radius + 1, last = line.Count - 1;
  auto at = [&](int i) { return Lanes(line.Src[std::clamp(i, 0, last) * line.SrcStep]); };
  // Triangle weights by additions: the sum of the windows of half-width 0 .. r.
  __m128i sum = _mm_setzero_si128(), in = _mm_setzero_si128(), out = _mm_setzero_si128();
  __m128i window = _mm_setzero_si128();
  for (int k = 0; k <= radius; ++k) {
    __m128i left = at(-k), right = at(k);
    stack[radius - k] = left;
    stack[radius + k] = right;
    window = _mm_add_epi32(window, k == 0 ? left : _mm_add_epi32(left, right));
    sum = _mm_add_epi32(sum, window);
    out = _mm_add_epi32(out, left);
    if (k > 0) in = _mm_add_epi32(in, right);
  }
  const __m128 half = _mm_set1_ps(0.5f), inv = _mm_set1_ps(inverse);
  const __m128i mask = _mm_cvtsi32_si128(static_cast<int>(orMask));
  int sp = radius;
  const uint32_t* src = line.Src;
  uint32_t* dst = line.Dst;
  int entering = radius + 1;
  for (int x = 0; x < line.Count; ++x) {
    __m128i q = _mm_cvttps_epi32(_mm_mul_ps(_mm_add_ps(_mm_cvtepi32_ps(sum), half), inv));
    q = _mm_packs_epi32(q, q);
    q = _mm_packus_epi16(q, q);
    dst[x * line.DstStep] = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_or_si128(q, mask)));
    int oldest = sp + radius + 1;
    if (oldest >= d) oldest -= d;
    sum = _mm_sub_epi32(sum, out);
    out = _mm_sub_epi32(out, stack[oldest]);
    __m128i incoming = Lanes(src[std::min(entering, last) * line.SrcStep]);
    ++entering;
    stack[oldest] = incoming;
    in = _mm_add_epi32(in, incoming);
    sum = _mm_add_epi32(sum, in);
    if (++sp == d) sp = 0;
    out = _mm_add_epi32(out, stack[sp]);
    in = _mm_sub_epi32(in, stack[sp]);
  }
}
#endif

// ---- AVX2: two lines per register, line A in the low half, line B in the high half ----

#ifdef KV_BLUR_AVX2
#define KV_AVX2 __attribute__((target("avx2")))

// Pixel k of lines A and B (Adjacent: B's pixel follows A's in memory, one 8-byte read).
template <bool Adjacent>
KV_AVX2 inline __m256i PairAt(const TLine& A, const TLine& B, ptrdiff_t k) {
  uint64_t pair;
  if constexpr (Adjacent) std::memcpy(&pair, A.Src + k, 8);
  else pair = A.Src[k] | uint64_t{B.Src[k]} << 32;
  return _mm256_cvtepu8_epi32(_mm_cvtsi64_si128(static_cast<long long>(pair & 0x00FFFFFF00FFFFFFull)));
}

template <bool Adjacent>
KV_AVX2 inline void StorePair(const TLine& A, const TLine& B, ptrdiff_t o, __m256i q, uint64_t mask) {
  q = _mm256_packus_epi16(_mm256_packs_epi32(q, q), q);
  uint64_t pair = static_cast<uint32_t>(_mm256_cvtsi256_si32(q)) |
                  uint64_t{static_cast<uint32_t>(_mm_cvtsi128_si32(_mm256_extracti128_si256(q, 1)))} << 32;
  pair |= mask;
  if constexpr (Adjacent) {
    std::memcpy(A.Dst + o, &pair, 8);
  } else {
    A.Dst[o] = static_cast<uint32_t>(pair);
    B.Dst[o] = static_cast<uint32_t>(pair >> 32);
  }
}

// Pairs x 2 lines of the same length and steps at once (lines 2p and 2p + 1 share register p);
// two pairs in flight keep the processor's vector units busy.
template <bool Adjacent, int Pairs>
KV_AVX2 void BlurLinesAvx2(const TLine* L, int radius, float inverse, uint32_t orMask, __m256i* stacks) {
  const int d = 2 * radius + 1, last = L[0].Count - 1;
  const ptrdiff_t srcStep = L[0].SrcStep, dstStep = L[0].DstStep;
  __m256i sum[Pairs], in[Pairs], out[Pairs];
  for (int p = 0; p < Pairs; ++p) {
    __m256i* stack = stacks + p * d;
    __m256i window = _mm256_setzero_si256();
    sum[p] = in[p] = out[p] = _mm256_setzero_si256();
    // Triangle weights by additions: the sum of the windows of half-width 0 .. r.
    for (int k = 0; k <= radius; ++k) {
      __m256i left = PairAt<Adjacent>(L[2 * p], L[2 * p + 1], 0);  // before the start: the first pixel
      __m256i right = PairAt<Adjacent>(L[2 * p], L[2 * p + 1], std::min(k, last) * srcStep);
      stack[radius - k] = left;
      stack[radius + k] = right;
      window = _mm256_add_epi32(window, k == 0 ? left : _mm256_add_epi32(left, right));
      sum[p] = _mm256_add_epi32(sum[p], window);
      out[p] = _mm256_add_epi32(out[p], left);
      if (k > 0) in[p] = _mm256_add_epi32(in[p], right);
    }
  }
  const __m256 half = _mm256_set1_ps(0.5f), inv = _mm256_set1_ps(inverse);
  const uint64_t mask = orMask | uint64_t{orMask} << 32;
  int sp = radius;
  for (int x = 0; x < L[0].Count; ++x) {
    int oldest = sp + radius + 1;
    if (oldest >= d) oldest -= d;
    if (++sp == d) sp = 0;
    const ptrdiff_t k = std::min(x + radius + 1, last) * srcStep;
    for (int p = 0; p < Pairs; ++p) {
      __m256i* stack = stacks + p * d;
      __m256i q = _mm256_cvttps_epi32(_mm256_mul_ps(_mm256_add_ps(_mm256_cvtepi32_ps(sum[p]), half), inv));
      StorePair<Adjacent>(L[2 * p], L[2 * p + 1], x * dstStep, q, mask);
      // The slot of the pixel leaving the window takes the one entering it.
      sum[p] = _mm256_sub_epi32(sum[p], out[p]);
      out[p] = _mm256_sub_epi32(out[p], stack[oldest]);
      __m256i incoming = PairAt<Adjacent>(L[2 * p], L[2 * p + 1], k);
      stack[oldest] = incoming;
      in[p] = _mm256_add_epi32(in[p], incoming);
      sum[p] = _mm256_add_epi32(sum[p], in[p]);
      out[p] = _mm256_add_epi32(out[p], stack[sp]);
      in[p] = _mm256_sub_epi32(in[p], stack[sp]);
    }
  }
}

bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}

// One pass over n lines: four at a time, then a pair, then a single line with SSE2.
template <bool Adjacent, class LineOf>
KV_AVX2 void PassAvx2(int n, LineOf line, int radius, float inverse, uint32_t orMask) {
  alignas(32) __m256i stacks[2 * (2 * kVectorRadiusLimit + 1)];
  __m128i single[2 * kVectorRadiusLimit + 1];
  int i = 0;
  for (; i + 3 < n; i += 4) {
    const TLine lines[4] = {line(i), line(i + 1), line(i + 2), line(i + 3)};
    BlurLinesAvx2<Adjacent, 2>(lines, radius, inverse, orMask, stacks);
  }
  if (i + 1 < n) {
    const TLine lines[2] = {line(i), line(i + 1)};
    BlurLinesAvx2<Adjacent, 1>(lines, radius, inverse, orMask, stacks);
    i += 2;
  }
  if (i < n) BlurLineSse2(line(i), radius, inverse, orMask, single);
}
#endif

// Work memory kept between calls (the blur runs on every glow that is not cached).
std::vector<uint32_t>& Plane() {
  thread_local std::vector<uint32_t> plane;
  return plane;
}
constexpr size_t kKeptPlanePixels = size_t{1} << 20;

TkvBlurPath BestPath() {
#ifdef KV_BLUR_AVX2
  if (HasAvx2()) return kvbpAvx2;
#endif
#ifdef KV_BLUR_SSE2
  return kvbpSse2;
#else
  return kvbpPortable;
#endif
}

TkvBlurPath& CurrentPath() {
  static TkvBlurPath path = BestPath();
  return path;
}

// One pass over n lines with the chosen path (Adjacent: line k + 1 starts one pixel after
// line k, as neighbouring columns do).
template <bool Adjacent, class LineOf>
void Pass(TkvBlurPath path, int n, LineOf line, int radius, uint32_t orMask) {
  if (n <= 0) return;
#ifdef KV_BLUR_SSE2
  const float inverse = 1.0f / static_cast<float>((radius + 1) * (radius + 1));
#endif
#ifdef KV_BLUR_AVX2
  if (path == kvbpAvx2) {
    PassAvx2<Adjacent>(n, line, radius, inverse, orMask);
    return;
  }
#endif
#ifdef KV_BLUR_SSE2
  if (path == kvbpSse2) {
    __m128i stack[2 * kVectorRadiusLimit + 1];
    for (int i = 0; i < n; ++i) BlurLineSse2(line(i), radius, inverse, orMask, stack);
    return;
  }
#endif
  (void)path;
  std::vector<uint32_t> stack(static_cast<size_t>(2 * radius + 1));
  TDivider divide(static_cast<uint32_t>((radius + 1) * (radius + 1)));
  for (int i = 0; i < n; ++i) BlurLinePortable(line(i), radius, divide, orMask, stack.data());
}

void FillRow(uint32_t* row, int from, int to, uint32_t value) { std::fill(row + from, row + to, value); }

// Black stays black under the blur, and glow bitmaps are mostly black margins: rows without
// colour are not blurred, and only the columns within the radius of some colour are, the rest
// of the result being black at once. The result is the same as blurring everything.
TRect BlurSurface(TSurface& s, int radius) {
  const int w = s.Width(), h = s.Height(), stride = s.Stride();
  std::vector<uint32_t>& mid = Plane();
  mid.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
  thread_local std::vector<int> rows;
  rows.clear();
  int first = w, last = -1;  // the columns holding colour
  for (int y = 0; y < h; ++y) {
    const uint32_t* p = s.Row(y);
    int a = 0;
    while (a < w && (p[a] & 0xFFFFFFu) == 0) ++a;
    if (a == w) {
      std::fill_n(mid.data() + static_cast<ptrdiff_t>(y) * w, w, 0u);
      continue;
    }
    int b = w - 1;
    while ((p[b] & 0xFFFFFFu) == 0) --b;
    rows.push_back(y);
    first = std::min(first, a);
    last = std::max(last, b);
  }
  if (rows.empty()) {
    for (int y = 0; y < h; ++y) FillRow(s.Row(y), 0, w, 0xFF000000u);
    return {};
  }
  const TkvBlurPath path = radius <= kVectorRadiusLimit ? CurrentPath() : kvbpPortable;
  Pass<false>(
      path, static_cast<int>(rows.size()),
      [&](int k) { return TLine{s.Row(rows[static_cast<size_t>(k)]), 1, mid.data() + static_cast<ptrdiff_t>(rows[static_cast<size_t>(k)]) * w, 1, w}; },
      radius, 0);
  const int c0 = std::max(0, first - radius), c1 = std::min(w, last + radius + 1);
  Pass<true>(
      path, c1 - c0, [&](int k) { return TLine{mid.data() + c0 + k, w, s.Pixels() + c0 + k, stride, h}; }, radius,
      0xFF000000u);
  for (int y = 0; y < h; ++y) {
    FillRow(s.Row(y), 0, c0, 0xFF000000u);
    FillRow(s.Row(y), c1, w, 0xFF000000u);
  }
  return TRect(c0, std::max(0, rows.front() - radius), c1, std::min(h, rows.back() + radius + 1));
}
}  // namespace

void StackBlur(TBitmap* Bitmap, int Radius) {
  if (!Bitmap) throw EInvalidArgument("StackBlur: no bitmap");
  if (Radius > kvMaxBlurRadius)
    throw EInvalidArgument("StackBlur: radius " + std::to_string(Radius) + " is above " +
                           std::to_string(kvMaxBlurRadius));
  if (Radius <= 0 || Bitmap->Empty()) return;
  StackBlurSurface(Bitmap->Surface(), Radius);
}

TRect StackBlurSurface(TSurface& Surface, int Radius) {
  if (Radius <= 0 || Surface.IsEmpty()) return Surface.BoundsRect();
  TRect ink = BlurSurface(Surface, Radius);
  Surface.MarkDirtyForCairo();
  std::vector<uint32_t>& mid = Plane();
  if (mid.capacity() > kKeptPlanePixels) std::vector<uint32_t>().swap(mid);
  return ink;
}

bool StackBlurPathAvailable(TkvBlurPath Path) {
  switch (Path) {
    case kvbpPortable: return true;
#ifdef KV_BLUR_SSE2
    case kvbpSse2: return true;
#endif
#ifdef KV_BLUR_AVX2
    case kvbpAvx2: return HasAvx2();
#endif
    default: return false;
  }
}

TkvBlurPath StackBlurPath() { return CurrentPath(); }

void SetStackBlurPath(TkvBlurPath Path) {
  if (!StackBlurPathAvailable(Path))
    throw EInvalidArgument("StackBlur: the " + EnumInfo<TkvBlurPath>().Name(Path) + " path is not available here");
  CurrentPath() = Path;
}
