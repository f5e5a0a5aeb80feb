// Hot paths of the controls layer, each beside the work it cannot avoid:
//  - a message through Perform (WindowProc, WndProc, Dispatch) against a virtual call;
//  - aligning many children against setting the same bounds directly;
//  - a parent painting many windowless children against filling their rectangles;
//  - the application loop handling posted messages against the window layer's bare loop;
//  - finding the control under the pointer against finding the window under it.
#include <memory>
#include <vector>

#include "bench.h"
#include "platform/controls/application.h"
#include "platform/controls/customcontrol.h"
#include "platform/controls/forms.h"
#include "platform/graphics/bitmap.h"
#include "platform/windows/backend.h"
#include "platform/windows/headless.h"
#include "platform/windows/messageloop.h"
#include "platform/windows/paint.h"

namespace {
void Setup() {
  static bool done = false;
  if (done) return;
  done = true;
  SelectWindowBackend("headless");
  Headless::SetScreenSize(1920, 1080);
  Application->Initialize();
}

class TCounter : public TGraphicControl {
public:
  explicit TCounter(TComponent* AOwner) : TGraphicControl(AOwner) {}
  int Count = 0;
  virtual void Bump() { ++Count; }

protected:
  void Dispatch(TMessage& m) override {
    if (m.Msg == WM_USER + 1) {
      ++Count;
      return;
    }
    TGraphicControl::Dispatch(m);
  }
  void Paint() override {
    Canvas()->Brush()->SetColor(clBlue);
    Canvas()->FillRect(ClientRect());
  }
};
}  // namespace

static void BM_VirtualCall(benchmark::State& state) {
  TCounter c(nullptr);
  TCounter* p = &c;
  for (auto _ : state) {
    benchmark::DoNotOptimize(p);  // the call stays virtual
    p->Bump();
  }
  benchmark::DoNotOptimize(c.Count);
}
BENCHMARK(BM_VirtualCall);

static void BM_Perform(benchmark::State& state) {
  TCounter c(nullptr);
  for (auto _ : state) c.Perform(WM_USER + 1);
  benchmark::DoNotOptimize(c.Count);
}
BENCHMARK(BM_Perform);
KV_BASELINE(BM_Perform, BM_VirtualCall);

// Aligned: three of four children alTop, the fourth alLeft. Not aligned: the same children
// where the alignment put them, alNone.
static std::unique_ptr<TWinControl> Box(int n, bool aligned, std::vector<TControl*>& kids) {
  auto box = std::unique_ptr<TWinControl>(New<TWinControl>(nullptr));
  box->SetBounds(0, 0, 800, n * 20 + 10);
  box->DisableAlign();
  for (int i = 0; i < n; ++i) {
    auto* c = New<TWinControl>(nullptr);
    c->SetBounds(0, i * 20, 100, 20);
    c->SetParent(box.get());
    c->SetAlign(i % 4 == 3 ? alLeft : alTop);
    kids.push_back(c);
  }
  box->EnableAlign();
  if (!aligned)
    for (TControl* c : kids) {
      TRect r = c->BoundsRect();
      c->SetAlign(alNone);
      c->SetBoundsRect(r);
    }
  return box;
}

static void BM_SetBoundsDirectly(benchmark::State& state) {
  std::vector<TControl*> kids;
  auto box = Box(static_cast<int>(state.range(0)), false, kids);
  std::vector<TRect> rects;
  for (TControl* c : kids) rects.push_back(c->BoundsRect());
  int w = 0;
  for (auto _ : state) {
    // The moves the alignment makes for a resize: every alTop child one pixel wider, then back.
    ++w;
    for (size_t i = 0; i < kids.size(); ++i) {
      const TRect& r = rects[i];
      if (i % 4 != 3) kids[i]->SetBounds(r.Left, r.Top, r.Width() + (w & 1), r.Height());
    }
  }
}
BENCHMARK(BM_SetBoundsDirectly)->Arg(50);

static void BM_Realign(benchmark::State& state) {
  std::vector<TControl*> kids;
  auto box = Box(static_cast<int>(state.range(0)), true, kids);
  int w = 0;
  for (auto _ : state) {
    ++w;
    box->SetWidth(800 + (w & 1));  // a resize realigns every child
  }
}
BENCHMARK(BM_Realign)->Arg(50);
KV_BASELINE(BM_Realign, BM_SetBoundsDirectly);

static void BM_FillChildRects(benchmark::State& state) {
  Setup();
  TBitmap bmp(640, 480);
  HDC dc = bmp.Canvas()->Handle();
  TBrush brush;
  brush.SetColor(clBlue);
  std::vector<TRect> rects;
  for (int i = 0; i < state.range(0); ++i) rects.push_back(Bounds((i % 10) * 60, (i / 10) * 40, 50, 30));
  for (auto _ : state)
    for (const TRect& r : rects) FillRect(dc, r, brush.Handle());
}
BENCHMARK(BM_FillChildRects)->Arg(100);

static void BM_PaintWindowlessChildren(benchmark::State& state) {
  Setup();
  std::unique_ptr<TForm> f(New<TForm>(nullptr));
  f->SetBorderStyle(bsNone);
  f->SetBounds(0, 0, 640, 480);
  for (int i = 0; i < state.range(0); ++i) {
    auto* c = new TCounter(f.get());
    c->SetParent(f.get());
    c->SetBounds((i % 10) * 60, (i / 10) * 40, 50, 30);
  }
  f->Show();
  Application->ProcessMessages();
  TBitmap bmp(640, 480);
  HDC dc = bmp.Canvas()->Handle();
  for (auto _ : state) f->PaintControls(dc, nullptr);
}
BENCHMARK(BM_PaintWindowlessChildren)->Arg(100);
KV_BASELINE(BM_PaintWindowlessChildren, BM_FillChildRects);

static void BM_BareMessageLoop(benchmark::State& state) {
  Setup();
  std::unique_ptr<TForm> f(New<TForm>(nullptr));
  HWND h = f->Handle();
  for (auto _ : state) {
    for (int i = 0; i < 100; ++i) PostMessage(h, WM_USER + 2, 0, 0);
    MSG m;
    while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessage(&m);
    }
  }
}
BENCHMARK(BM_BareMessageLoop);

static void BM_ApplicationLoop(benchmark::State& state) {
  Setup();
  std::unique_ptr<TForm> f(New<TForm>(nullptr));
  HWND h = f->Handle();
  int hook = Application->AddMessageHook([](MSG&) { return false; });
  for (auto _ : state) {
    for (int i = 0; i < 100; ++i) PostMessage(h, WM_USER + 2, 0, 0);
    Application->ProcessMessages();
  }
  Application->RemoveMessageHook(hook);
}
BENCHMARK(BM_ApplicationLoop);
KV_BASELINE(BM_ApplicationLoop, BM_BareMessageLoop);

static std::unique_ptr<TForm> PointerForm() {
  std::unique_ptr<TForm> f(New<TForm>(nullptr));
  f->SetBorderStyle(bsNone);
  f->SetBounds(0, 0, 640, 480);
  for (int i = 0; i < 100; ++i) {
    auto* c = new TCounter(f.get());
    c->SetParent(f.get());
    c->SetBounds((i % 10) * 60, (i / 10) * 40, 50, 30);
  }
  f->Show();
  return f;
}

static void BM_WindowFromPoint(benchmark::State& state) {
  Setup();
  auto f = PointerForm();
  for (auto _ : state) benchmark::DoNotOptimize(WindowFromPoint(TPoint(575, 375)));
}
BENCHMARK(BM_WindowFromPoint);

static void BM_FindControlAtPoint(benchmark::State& state) {
  Setup();
  auto f = PointerForm();
  for (auto _ : state) benchmark::DoNotOptimize(FindControlAtPoint(TPoint(575, 375), true));
}
BENCHMARK(BM_FindControlAtPoint);
KV_BASELINE(BM_FindControlAtPoint, BM_WindowFromPoint);
