#include "kv/kvUtils/kvBufferedAnimation.h"

namespace {
TkvBufferedAnimationApi& Api() {
  static TkvBufferedAnimationApi api;
  return api;
}

template <class F>
void Bind(F& Slot, const char* Name) {
  Slot = reinterpret_cast<F>(GetThemeProcAddress(Name));
}

// The unit's start-up and end.
struct TUnitLifetime {
  TUnitLifetime() { LoadBufferedAnimation(); }
  ~TUnitLifetime() { UnloadBufferedAnimation(); }
} GUnit;
}  // namespace

const TkvBufferedAnimationApi& BufferedAnimationApi() { return Api(); }

void LoadBufferedAnimation() {
  TkvBufferedAnimationApi& a = Api();
  Bind(a.Begin, "BeginBufferedAnimation");
  Bind(a.End, "EndBufferedAnimation");
  Bind(a.Render, "BufferedPaintRenderAnimation");
  Bind(a.StopAll, "BufferedPaintStopAllAnimations");
}

void UnloadBufferedAnimation() { Api() = TkvBufferedAnimationApi(); }

bool IsAnimationAvailable() { return Api().Begin != nullptr; }
