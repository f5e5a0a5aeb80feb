// Property access by name (form loading, tests) against a direct call of the same setter.
#include "bench.h"
#include "platform/core/classes.h"

namespace {
class TBenchObject : public TComponent {
  KV_CLASS(TBenchObject, TComponent)
public:
  using TComponent::TComponent;
  int Width() const { return FWidth; }
  void SetWidth(int v) { FWidth = v; }

private:
  int FWidth = 0;
};
}  // namespace
KV_IMPLEMENT_CLASS(TBenchObject) { r.Prop("Width", &TBenchObject::Width, &TBenchObject::SetWidth, 0); }

static void BM_DirectSetter(benchmark::State& state) {
  TBenchObject o(nullptr);
  int i = 0;
  for (auto _ : state) {
    o.SetWidth(++i);
    benchmark::DoNotOptimize(o.Width());
  }
}
BENCHMARK(BM_DirectSetter);

static void BM_SetPropValueByName(benchmark::State& state) {
  TBenchObject o(nullptr);
  int i = 0;
  for (auto _ : state) {
    SetPropValue(&o, "Width", TValue::Int(++i));
    benchmark::DoNotOptimize(o.Width());
  }
}
BENCHMARK(BM_SetPropValueByName);
KV_BASELINE(BM_SetPropValueByName, BM_DirectSetter);
