// The base controls on the headless back end: RePaintControl of a 100 x 35 transparent control
// over a patterned panel (it reuses the cached parent image), the same control's system paint
// (which captures the parent first), and one frame of the state cross-fade, each beside a copy
// of a 100 x 35 block, the least any repaint of that control does.
#include "bench.h"
#include "kv/kvControls/kvCustomControl.h"
#include "platform/controls/application.h"
#include "platform/controls/forms.h"
#include "platform/graphics/blit.h"
#include "platform/themes/bufferedpaint.h"
#include "platform/windows/backend.h"
#include "platform/windows/headless.h"
#include "platform/windows/paint.h"

namespace {
// The parent: a library panel with a picture as its content.
class TPanel : public TkvCustomControl {
public:
  explicit TPanel(TComponent* AOwner) : TkvCustomControl(AOwner), FPicture(400, 300) {
    FTransparentBackground = false;
    for (int y = 0; y < 300; ++y)
      for (int x = 0; x < 400; ++x) FPicture.ScanLine(y)[x] = 0xFF000000u | static_cast<uint32_t>(x << 16 | y << 8);
  }

protected:
  void Draw(TCanvas* ACanvas, TkvsCtrlState) override { ACanvas->Draw(0, 0, &FPicture); }

private:
  TBitmap FPicture;
};

// A transparent control drawing a frame and a face, as a button does.
class TGlass : public TkvCustomActiveControl {
public:
  using TkvCustomActiveControl::TkvCustomActiveControl;
  void SetAnimation(bool Value) { FAnimation = Value; }

protected:
  void Draw(TCanvas* ACanvas, TkvsCtrlState ACtrlState) override {
    ACanvas->Brush()->SetColor(ACtrlState == kvsHot ? clSkyBlue : clMoneyGreen);
    ACanvas->FillRect(TRect(3, 3, Width() - 3, Height() - 3));
    ACanvas->Brush()->SetColor(clNavy);
    ACanvas->FrameRect(TRect(0, 0, Width(), Height()));
  }
};

struct TScene {
  TForm* Form;
  TPanel* Panel;
  TGlass* Glass;
  TScene() {
    ShutdownWindowSystem();
    SelectWindowBackend("headless");
    Headless::SetScreenSize(1024, 768);
    Application->Initialize();
    Form = New<TForm>(nullptr);
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(0, 0, 400, 300);
    Panel = New<TPanel>(Form);
    Panel->SetParent(Form);
    Panel->SetBounds(0, 0, 400, 300);
    Glass = New<TGlass>(Form);
    Glass->SetParent(Panel);
    Glass->SetBounds(120, 100, 100, 35);
    Form->Show();
    Application->ProcessMessages();
  }
  ~TScene() {
    Free(Form);
    Application->ProcessMessages();
  }
};
}  // namespace

static void BM_Copy100x35(benchmark::State& state) {
  TBitmap a(100, 35), b(100, 35);
  HDC dst = a.Canvas()->Handle(), src = b.Canvas()->Handle();
  for (auto _ : state) {
    BitBlt(dst, 0, 0, 100, 35, src, 0, 0, SRCCOPY);
    benchmark::ClobberMemory();
  }
}

static void BM_RePaintControlTransparent100x35(benchmark::State& state) {
  TScene scene;
  for (auto _ : state) scene.Glass->RePaintControl();
}

static void BM_SystemPaintTransparent100x35(benchmark::State& state) {
  TScene scene;
  for (auto _ : state) {
    scene.Glass->Invalidate();
    scene.Glass->Update();
  }
}

static void BM_CrossFadeFrame100x35(benchmark::State& state) {
  TScene scene;
  scene.Glass->SetAnimation(true);
  scene.Glass->Perform(CM_MOUSEENTER);
  // Half way through the fade; the virtual clock stands still while frames are painted.
  Headless::AdvanceTime(75);
  HWND wnd = scene.Glass->Handle();
  if (BufferedAnimationCount(wnd) != 1) state.SkipWithError("no animation is running");
  for (auto _ : state) {
    InvalidateRect(wnd, nullptr, false);
    UpdateWindow(wnd);
  }
  scene.Glass->Perform(CM_MOUSELEAVE);
  Headless::AdvanceTime(1200);
}

BENCHMARK(BM_Copy100x35);
BENCHMARK(BM_RePaintControlTransparent100x35);
BENCHMARK(BM_SystemPaintTransparent100x35);
BENCHMARK(BM_CrossFadeFrame100x35);
KV_BASELINE(BM_RePaintControlTransparent100x35, BM_Copy100x35);
KV_BASELINE(BM_SystemPaintTransparent100x35, BM_Copy100x35);
KV_BASELINE(BM_CrossFadeFrame100x35, BM_Copy100x35);
