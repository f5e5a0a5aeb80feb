// StackBlur: the stack blur over the red, green and blue bytes of 32-bit pixels.
//
// Each pass runs along lines (rows, then columns) with a window of d = 2 r + 1 pixels whose
// weights rise from 1 at its ends to r + 1 at its centre; the weighted sum is kept up to date
// with three running sums (the whole sum, the incoming half and the outgoing half), so a pixel
// costs the same whatever the radius. Sums are divided by (r + 1)^2 rounding down, and pixels
// beyond a line's ends repeat the end pixel. The row pass keeps its 8-bit results in a work
// plane; the column pass writes them back with alpha 255.
//
// Two implementations give the same pixels: a portable one, one channel at a time in integers,
// and one with the three channels in the lanes of an SSE2 register. The vector path divides in
// single precision as floor((n + 1/2) / d), which is exact for every sum of a radius up to 163
// (checked for every n); it is used up to radius 126, where the exactness also follows from the
// rounding error bound, and the portable path takes larger radii.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "kv/kvUtils/kvGlow.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#define KV_BLUR_SSE2 1
#endif

namespace {
constexpr int kVectorRadiusLimit = 126;
bool GSimdEnabled = true;

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

// Work memory kept between calls (the blur runs on every glow that is not cached).
std::vector<uint32_t>& Plane() {
  thread_local std::vector<uint32_t> plane;
  return plane;
}
constexpr size_t kKeptPlanePixels = size_t{1} << 20;

void Blur(TSurface& s, int radius) {
  const int w = s.Width(), h = s.Height(), stride = s.Stride();
  std::vector<uint32_t>& mid = Plane();
  mid.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
  const int d = 2 * radius + 1;
#ifdef KV_BLUR_SSE2
  if (GSimdEnabled && radius <= kVectorRadiusLimit) {
    __m128i stack[2 * kVectorRadiusLimit + 1];
    const float inverse = 1.0f / static_cast<float>((radius + 1) * (radius + 1));
    for (int y = 0; y < h; ++y)
      BlurLineSse2({s.Row(y), 1, mid.data() + static_cast<ptrdiff_t>(y) * w, 1, w}, radius, inverse, 0, stack);
    for (int x = 0; x < w; ++x)
      BlurLineSse2({mid.data() + x, w, s.Pixels() + x, stride, h}, radius, inverse, 0xFF000000u, stack);
    return;
  }
#endif
  std::vector<uint32_t> stack(static_cast<size_t>(d));
  TDivider divide(static_cast<uint32_t>((radius + 1) * (radius + 1)));
  for (int y = 0; y < h; ++y)
    BlurLinePortable({s.Row(y), 1, mid.data() + static_cast<ptrdiff_t>(y) * w, 1, w}, radius, divide, 0,
                     stack.data());
  for (int x = 0; x < w; ++x)
    BlurLinePortable({mid.data() + x, w, s.Pixels() + x, stride, h}, radius, divide, 0xFF000000u, stack.data());
}
}  // namespace

void StackBlur(TBitmap* Bitmap, int Radius) {
  if (!Bitmap) throw EInvalidArgument("StackBlur: no bitmap");
  if (Radius > kvMaxBlurRadius)
    throw EInvalidArgument("StackBlur: radius " + std::to_string(Radius) + " is above " +
                           std::to_string(kvMaxBlurRadius));
  if (Radius <= 0 || Bitmap->Empty()) return;
  TSurface& s = Bitmap->Surface();
  Blur(s, Radius);
  s.MarkDirtyForCairo();
  std::vector<uint32_t>& mid = Plane();
  if (mid.capacity() > kKeptPlanePixels) std::vector<uint32_t>().swap(mid);
}

bool StackBlurSimdAvailable() {
#ifdef KV_BLUR_SSE2
  return true;
#else
  return false;
#endif
}

bool StackBlurSimdEnabled() { return GSimdEnabled && StackBlurSimdAvailable(); }
void SetStackBlurSimdEnabled(bool Value) { GSimdEnabled = Value; }
