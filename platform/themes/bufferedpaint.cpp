#include "platform/themes/bufferedpaint.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <numbers>
#include <vector>

#include "platform/core/exceptions.h"
#include "platform/graphics/dc.h"
#include "platform/graphics/surface.h"
#include "platform/windows/messageloop.h"
#include "platform/windows/paint.h"
#include "platform/windows/window.h"

namespace {
// Frames are asked for at this pace (a little over 60 a second) and once more at the end.
constexpr uint64_t kFrameMs = 15;
// An animation whose window never painted its final frame is dropped this long after its end.
constexpr uint64_t kUnpaintedGraceMs = 500;
// Kept buffers for reuse (each animation needs up to three).
constexpr size_t kPoolSize = 6;

// An off-screen 32-bit image with a device context of its own.
struct TImage {
  std::unique_ptr<TSurface> Surface;
  HDC DC = nullptr;
  ~TImage() {
    if (DC) DeleteDC(DC);
  }
};

struct TAnimation {
  uint64_t Id = 0;
  HWND Wnd = nullptr;
  HDC SetupDC = nullptr;  // the target during the set-up only
  TRect Target;           // logical coordinates of the set-up target
  TRect ClientTarget;     // the same area in client (device) coordinates
  bool HasExclude = false;
  TRect ClientExclude;
  bool CustomBlend = false;
  BLENDFUNCTION Blend;
  BP_ANIMATIONSTYLE Style = BPAS_LINEAR;
  uint64_t Duration = 0;
  uint64_t Start = 0;
  bool SettingUp = true;
  std::unique_ptr<TImage> From, To, Frame;
};

struct TServiceState {
  std::vector<std::unique_ptr<TAnimation>> Animations;
  std::vector<std::unique_ptr<TSurface>> Pool;
  uint64_t NextId = 1;
  UINT_PTR Timer = 0;
};

TServiceState& State() {
  static TServiceState s;
  return s;
}

void RequireUIThread(const char* Function) {
  if (!IsUIThread()) throw EInvalidOperation(String(Function) + " must be called on the user-interface thread");
}

uint64_t Now() { return GetTickCount64(); }

std::unique_ptr<TImage> MakeImage(int W, int H) {
  TServiceState& s = State();
  auto image = std::make_unique<TImage>();
  if (!s.Pool.empty()) {
    image->Surface = std::move(s.Pool.back());
    s.Pool.pop_back();
    if (image->Surface->Width() == W && image->Surface->Height() == H) image->Surface->Fill(0);
    else image->Surface->SetSize(W, H);
  } else {
    image->Surface = std::make_unique<TSurface>(W, H);
  }
  image->DC = CreateSurfaceDC(image->Surface.get());
  return image;
}

void Recycle(std::unique_ptr<TImage>& Image) {
  if (!Image) return;
  TServiceState& s = State();
  if (s.Pool.size() < kPoolSize) s.Pool.push_back(std::move(Image->Surface));
  Image.reset();
}

void Drop(std::vector<std::unique_ptr<TAnimation>>::iterator It) {
  TAnimation& a = **It;
  Recycle(a.From);
  Recycle(a.To);
  Recycle(a.Frame);
  State().Animations.erase(It);
}

std::vector<std::unique_ptr<TAnimation>>::iterator Find(uint64_t Id) {
  auto& list = State().Animations;
  return std::find_if(list.begin(), list.end(), [&](const auto& a) { return a->Id == Id; });
}

// Logical rectangle of DC <-> its device (client) coordinates.
TRect ToDevice(HDC DC, const TRect& R) {
  TPoint p[2] = {R.TopLeft(), R.BottomRight()};
  LPtoDP(DC, p, 2);
  return TRect(p[0], p[1]);
}
TRect ToLogical(HDC DC, const TRect& R) {
  TPoint p[2] = {R.TopLeft(), R.BottomRight()};
  DPtoLP(DC, p, 2);
  return TRect(p[0], p[1]);
}

// The share of the to-image at time T, in 256ths.
unsigned Weight(const TAnimation& A, uint64_t T) {
  if (A.Duration == 0 || T >= A.Start + A.Duration) return 256;
  const uint64_t elapsed = T > A.Start ? T - A.Start : 0;
  if (A.Style == BPAS_LINEAR) return static_cast<unsigned>((elapsed * 256 + A.Duration / 2) / A.Duration);
  const double p = static_cast<double>(elapsed) / static_cast<double>(A.Duration);
  double eased = p;
  if (A.Style == BPAS_CUBIC) eased = 1.0 - std::pow(1.0 - p, 3.0);           // fast start, soft end
  else if (A.Style == BPAS_SINE) eased = std::sin(p * std::numbers::pi / 2);  // a gentler ease out
  return static_cast<unsigned>(std::lround(std::clamp(eased, 0.0, 1.0) * 256));
}

// Frame := From * (256 - W) / 256 + To * W / 256 for every byte (premultiplied pixels stay
// premultiplied: the weights add up to one). A plain byte loop, which compilers turn into
// 16-bit vector multiplies.
void BlendRow(const uint8_t* __restrict From, const uint8_t* __restrict To, uint8_t* __restrict Out, int Bytes,
              unsigned W) {
  const unsigned iw = 256 - W;
  for (int i = 0; i < Bytes; ++i) Out[i] = static_cast<uint8_t>((From[i] * iw + To[i] * W) >> 8);
}

void BlendImages(const TSurface& From, const TSurface& To, TSurface& Frame, unsigned W) {
  const int bytes = Frame.Width() * 4;
  for (int y = 0; y < Frame.Height(); ++y)
    BlendRow(reinterpret_cast<const uint8_t*>(From.Row(y)), reinterpret_cast<const uint8_t*>(To.Row(y)),
             reinterpret_cast<uint8_t*>(Frame.Row(y)), bytes, W);
  Frame.MarkDirtyForCairo();
}

// Composes Image onto the animation's area of DC.
void Present(const TAnimation& A, HDC DC, const TImage& Image, bool Opaque) {
  const TRect r = ToLogical(DC, A.ClientTarget);
  const int sw = Image.Surface->Width(), sh = Image.Surface->Height();
  const int saved = SaveDC(DC);
  if (A.HasExclude) {
    const TRect x = ToLogical(DC, A.ClientExclude);
    ExcludeClipRect(DC, x.Left, x.Top, x.Right, x.Bottom);
  }
  if (Opaque && !A.CustomBlend) {
    BitBlt(DC, r.Left, r.Top, sw, sh, Image.DC, 0, 0, SRCCOPY);
  } else {
    AlphaBlend(DC, r.Left, r.Top, sw, sh, Image.DC, 0, 0, sw, sh, A.Blend);
  }
  RestoreDC(DC, saved);
}

void RenderFrame(TAnimation& A, HDC DC, uint64_t T) {
  const unsigned w = Weight(A, T);
  if (w >= 256) {
    Present(A, DC, *A.To, false);
    return;
  }
  if (w == 0) {
    Present(A, DC, *A.From, false);
    return;
  }
  if (!A.Frame) A.Frame = MakeImage(A.To->Surface->Width(), A.To->Surface->Height());
  BlendImages(*A.From->Surface, *A.To->Surface, *A.Frame->Surface, w);
  Present(A, DC, *A.Frame, false);
}

void ArmTimer();

// The pace of the frames: every running animation's area is invalidated, so its window paints
// the next frame; dead windows and animations never painted long after their end are dropped.
void FrameTick(HWND, UINT, UINT_PTR, DWORD) {
  TServiceState& s = State();
  const uint64_t now = Now();
  for (size_t i = 0; i < s.Animations.size();) {
    TAnimation& a = *s.Animations[i];
    if (a.SettingUp) {
      ++i;
      continue;
    }
    if (!IsWindow(a.Wnd) || now >= a.Start + a.Duration + kUnpaintedGraceMs) {
      Drop(s.Animations.begin() + static_cast<ptrdiff_t>(i));
      continue;
    }
    InvalidateRect(a.Wnd, &a.ClientTarget, false);
    ++i;
  }
  ArmTimer();
}

// Runs the frame timer while an animation runs: next at the coming frame, or at the end of
// the animation that ends first if that is sooner, so the final frame is painted on time.
void ArmTimer() {
  TServiceState& s = State();
  const uint64_t now = Now();
  bool any = false;
  uint64_t due = now + kFrameMs;
  for (const auto& a : s.Animations) {
    if (a->SettingUp) continue;
    any = true;
    const uint64_t end = a->Start + a->Duration;
    if (end > now && end < due) due = end;
  }
  if (!any) {
    if (s.Timer) KillTimer(nullptr, s.Timer);
    s.Timer = 0;
    return;
  }
  const UINT delay = static_cast<UINT>(std::max<uint64_t>(due - now, 1));
  s.Timer = SetTimer(nullptr, s.Timer, delay, &FrameTick);
}

bool ValidParams(const BP_PAINTPARAMS* Paint, const BP_ANIMATIONPARAMS* Anim, BP_BUFFERFORMAT Format) {
  if (Format < BPBF_COMPATIBLEBITMAP || Format > BPBF_TOPDOWNDIB) return false;
  if (!Anim || Anim->cbSize != sizeof(BP_ANIMATIONPARAMS) || Anim->dwFlags != 0) return false;
  if (Anim->style < BPAS_NONE || Anim->style > BPAS_SINE) return false;
  if (Paint) {
    if (Paint->cbSize != sizeof(BP_PAINTPARAMS)) return false;
    if (Paint->dwFlags & ~(BPPF_ERASE | BPPF_NOCLIP | BPPF_NONCLIENT)) return false;
  }
  return true;
}
}  // namespace

HANIMATIONBUFFER BeginBufferedAnimation(HWND hwnd, HDC hdcTarget, const TRect* rcTarget, BP_BUFFERFORMAT dwFormat,
                                        const BP_PAINTPARAMS* pPaintParams, const BP_ANIMATIONPARAMS* pAnimationParams,
                                        HDC* phdcFrom, HDC* phdcTo) {
  RequireUIThread("BeginBufferedAnimation");
  if (phdcFrom) *phdcFrom = nullptr;
  if (phdcTo) *phdcTo = nullptr;
  TPoint org;
  const bool ok = IsWindow(hwnd) && hdcTarget && GetViewportOrgEx(hdcTarget, &org) && rcTarget && phdcFrom &&
                  phdcTo && ValidParams(pPaintParams, pAnimationParams, dwFormat);
  const long long area = rcTarget ? static_cast<long long>(rcTarget->Width()) * rcTarget->Height() : 0;
  if (!ok || rcTarget->Width() <= 0 || rcTarget->Height() <= 0 || area > (1LL << 28)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  TServiceState& s = State();
  auto a = std::make_unique<TAnimation>();
  a->Id = s.NextId++;
  a->Wnd = hwnd;
  a->SetupDC = hdcTarget;
  a->Target = *rcTarget;
  a->ClientTarget = ToDevice(hdcTarget, *rcTarget);
  a->Style = pAnimationParams->style;
  a->Duration = a->Style == BPAS_NONE ? 0 : pAnimationParams->dwDuration;
  a->Blend.AlphaFormat = AC_SRC_ALPHA;
  if (pPaintParams && pPaintParams->prcExclude) {
    a->HasExclude = true;
    a->ClientExclude = ToDevice(hdcTarget, *pPaintParams->prcExclude);
  }
  if (pPaintParams && pPaintParams->pBlendFunction) {
    a->CustomBlend = true;
    a->Blend = *pPaintParams->pBlendFunction;
  }
  // A new animation of an area that is animating replaces the running one.
  for (size_t i = 0; i < s.Animations.size();) {
    const TAnimation& o = *s.Animations[i];
    if (o.Wnd == hwnd && !o.SettingUp && o.ClientTarget == a->ClientTarget)
      Drop(s.Animations.begin() + static_cast<ptrdiff_t>(i));
    else
      ++i;
  }
  const int w = rcTarget->Width(), h = rcTarget->Height();
  a->To = MakeImage(w, h);
  if (a->Duration > 0) a->From = MakeImage(w, h);
  *phdcTo = a->To->DC;
  if (a->From) *phdcFrom = a->From->DC;
  auto handle = reinterpret_cast<HANIMATIONBUFFER>(static_cast<uintptr_t>(a->Id));
  s.Animations.push_back(std::move(a));
  return handle;
}

HRESULT EndBufferedAnimation(HANIMATIONBUFFER hbpAnimation, bool fUpdateTarget) {
  RequireUIThread("EndBufferedAnimation");
  auto it = Find(reinterpret_cast<uintptr_t>(hbpAnimation));
  if (!hbpAnimation || it == State().Animations.end() || !(*it)->SettingUp) return E_INVALIDARG;
  TAnimation& a = **it;
  if (!fUpdateTarget || !IsWindow(a.Wnd)) {
    Drop(it);
    return S_OK;
  }
  HDC dc = a.SetupDC;
  a.SetupDC = nullptr;
  a.SettingUp = false;
  a.Start = Now();
  if (a.Duration == 0) {
    Present(a, dc, *a.To, true);
    Drop(it);
    return S_OK;
  }
  RenderFrame(a, dc, a.Start);
  ArmTimer();
  return S_OK;
}

bool BufferedPaintRenderAnimation(HWND hwnd, HDC hdcTarget) {
  RequireUIThread("BufferedPaintRenderAnimation");
  if (!hwnd || !hdcTarget) return false;
  TServiceState& s = State();
  const uint64_t now = Now();
  bool rendered = false;
  for (size_t i = 0; i < s.Animations.size();) {
    TAnimation& a = *s.Animations[i];
    if (a.Wnd != hwnd || a.SettingUp) {
      ++i;
      continue;
    }
    RenderFrame(a, hdcTarget, now);
    rendered = true;
    if (now >= a.Start + a.Duration) Drop(s.Animations.begin() + static_cast<ptrdiff_t>(i));
    else ++i;
  }
  return rendered;
}

HRESULT BufferedPaintStopAllAnimations(HWND hwnd) {
  RequireUIThread("BufferedPaintStopAllAnimations");
  TServiceState& s = State();
  for (size_t i = 0; i < s.Animations.size();) {
    if (s.Animations[i]->Wnd == hwnd && !s.Animations[i]->SettingUp) Drop(s.Animations.begin() + static_cast<ptrdiff_t>(i));
    else ++i;
  }
  ArmTimer();
  return S_OK;
}

int BufferedAnimationCount(HWND hwnd) {
  const auto& list = State().Animations;
  return static_cast<int>(std::count_if(list.begin(), list.end(), [&](const auto& a) { return a->Wnd == hwnd; }));
}

void* GetThemeProcAddress(const char* Name) {
  if (!Name) return nullptr;
  struct TEntry {
    const char* Name;
    void* Address;
  };
  static const TEntry entries[] = {
      {"BeginBufferedAnimation", reinterpret_cast<void*>(&BeginBufferedAnimation)},
      {"EndBufferedAnimation", reinterpret_cast<void*>(&EndBufferedAnimation)},
      {"BufferedPaintRenderAnimation", reinterpret_cast<void*>(&BufferedPaintRenderAnimation)},
      {"BufferedPaintStopAllAnimations", reinterpret_cast<void*>(&BufferedPaintStopAllAnimations)},
  };
  for (const TEntry& e : entries)
    if (std::strcmp(e.Name, Name) == 0) return e.Address;
  return nullptr;
}
