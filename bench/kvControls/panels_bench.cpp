// The panel, group box and label painting and sizing, each beside the plain work it stands on:
//  - the demonstration's header panel (dark colour, centred header picture) and a page panel
//    tiled with the page wallpaper, beside the image collection drawing the same picture;
//  - a group box with a check box in its caption, beside its frame and caption text drawn
//    directly;
//  - a label's auto-size, beside measuring its text; a glowing label's paint, beside the glow
//    renderer called directly;
//  - the repaint of a transparent panel nested in another, on request (cached parent image)
//    and as the system asks for it (capturing both levels again), beside a copy of its area.
#include "bench.h"
#include "kv/kvControls/kvPanels.h"
#include "kv/kvUtils/kvGlow.h"
#include "kv/kvUtils/kvStyled.h"
#include "kv/kvUtils/kvText.h"
#include "platform/controls/application.h"
#include "platform/controls/forms.h"
#include "platform/graphics/text.h"
#include "platform/windows/backend.h"

namespace {
// Lets the benchmarks call Draw and AdjustBounds, which are protected.
class TBenchPanel : public TkvPanel {
public:
  using TkvPanel::Draw;
  using TkvPanel::TkvPanel;
};
class TBenchGroupBox : public TkvGroupBox {
public:
  using TkvGroupBox::Draw;
  using TkvGroupBox::TkvGroupBox;
};
class TBenchLabel : public TkvLabel {
public:
  using TkvLabel::AdjustBounds;
  using TkvLabel::Draw;
  using TkvLabel::TkvLabel;
};

struct TPictures {
  TkvImageCollection Wallpapers{nullptr};
  TPictures() {
    for (const char* file : {"wallpaper0.png", "wallpaper2.png"})
      Wallpapers.Images()->Add()->Picture()->LoadFromFile(String(KV_ASSETS_DIR) + "/" + file);
    Wallpapers.Images()->Items(0)->SetDrawStyle(idsCenter);
  }
};

void PanelDraw(benchmark::State& state, int index, int w, int h) {
  TPictures p;
  TBitmap target(w, h);
  TBenchPanel panel(nullptr);
  panel.SetBounds(0, 0, w, h);
  panel.SetColor(5187328);
  panel.SetWallpapers(&p.Wallpapers);
  panel.SetWallpaperIndex(index);
  for (auto _ : state) {
    panel.Draw(target.Canvas(), kvsNormal);
    benchmark::ClobberMemory();
  }
  panel.SetWallpapers(nullptr);
}

void WallpaperAlone(benchmark::State& state, int index, int w, int h) {
  TPictures p;
  TBitmap target(w, h);
  for (auto _ : state) {
    if (index == 0) {  // the header panel fills its colour under the picture, which has alpha
      target.Canvas()->Brush()->SetColor(5187328);
      target.Canvas()->FillRect(TRect(0, 0, w, h));
    }
    p.Wallpapers.Draw(target.Canvas(), TRect(0, 0, w, h), index);
    benchmark::ClobberMemory();
  }
}
}  // namespace

static void BM_HeaderWallpaperAlone(benchmark::State& s) { WallpaperAlone(s, 0, 778, 89); }
static void BM_HeaderPanelDraw(benchmark::State& s) { PanelDraw(s, 0, 778, 89); }
static void BM_PageWallpaperAlone(benchmark::State& s) { WallpaperAlone(s, 1, 577, 438); }
static void BM_PagePanelDraw(benchmark::State& s) { PanelDraw(s, 1, 577, 438); }
BENCHMARK(BM_HeaderWallpaperAlone);
BENCHMARK(BM_HeaderPanelDraw);
BENCHMARK(BM_PageWallpaperAlone);
BENCHMARK(BM_PagePanelDraw);
KV_BASELINE(BM_HeaderPanelDraw, BM_HeaderWallpaperAlone);
KV_BASELINE(BM_PagePanelDraw, BM_PageWallpaperAlone);

static void BM_GroupFrameAndTextAlone(benchmark::State& state) {
  TBitmap target(300, 200);
  TCanvas* c = target.Canvas();
  for (auto _ : state) {
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(TRect(0, 0, 300, 200));
    DrawGroupFrame(c, TRect(0, 10, 300, 200));
    DrawCheckBox(c, TRect(10, 2, 28, 20), kvsNormal, 1);
    c->Brush()->SetStyle(bsClear);
    DrawSingleLineText(c, "Notifications", TRect(28, 0, 120, 20), false);
    benchmark::ClobberMemory();
  }
}
static void BM_GroupBoxDraw(benchmark::State& state) {
  TBitmap target(300, 200);
  TCanvas* c = target.Canvas();
  TBenchGroupBox box(nullptr);
  box.SetBounds(0, 0, 300, 200);
  box.SetCaption("Notifications");
  box.SetShowCheckBox(true);
  box.SetChecked(true);
  for (auto _ : state) {
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(TRect(0, 0, 300, 200));
    box.Draw(c, kvsNormal);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_GroupFrameAndTextAlone);
BENCHMARK(BM_GroupBoxDraw);
KV_BASELINE(BM_GroupBoxDraw, BM_GroupFrameAndTextAlone);

static const char* const kLabelText = "Word wrap breaks a long caption at the spaces between its words";

static void BM_MeasureTextAlone(benchmark::State& state) {
  TBitmap scratch(1, 1);
  TCanvas* c = scratch.Canvas();
  for (auto _ : state) {
    TRect r(0, 0, 200, 0);
    String text = kLabelText;
    DrawText(c->Handle(), text, r, DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK);
    benchmark::DoNotOptimize(r);
  }
}
static void BM_LabelAdjustBounds(benchmark::State& state) {
  TBenchLabel label(nullptr);
  label.SetWordWrap(true);
  label.SetCaption(kLabelText);
  label.SetWidth(200);
  for (auto _ : state) {
    label.AdjustBounds();
    benchmark::DoNotOptimize(label.Height());
  }
}
BENCHMARK(BM_MeasureTextAlone);
BENCHMARK(BM_LabelAdjustBounds);
KV_BASELINE(BM_LabelAdjustBounds, BM_MeasureTextAlone);

static void BM_GlowTextAlone(benchmark::State& state) {
  TBitmap target(160, 40);
  TCanvas* c = target.Canvas();
  for (auto _ : state) {
    c->Brush()->SetStyle(bsClear);
    DrawTextWithGlow(c, TRect(2, 2, 154, 34), "Glow 4, offset 2", DT_EXPANDTABS, 2, clHighlight, 4, true, 255, false);
    benchmark::ClobberMemory();
  }
}
static void BM_GlowLabelDraw(benchmark::State& state) {
  TBitmap target(160, 40);
  TBenchLabel label(nullptr);
  label.GlowEffect()->SetEnabled(true);
  label.GlowEffect()->SetGlowSize(4);
  label.GlowEffect()->SetOffset(2);
  label.GlowEffect()->SetColor(clHighlight);
  label.SetAutoSize(false);
  label.SetBounds(0, 0, 160, 40);
  label.SetCaption("Glow 4, offset 2");
  for (auto _ : state) {
    label.Draw(target.Canvas(), kvsNormal);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_GlowTextAlone);
BENCHMARK(BM_GlowLabelDraw);
KV_BASELINE(BM_GlowLabelDraw, BM_GlowTextAlone);

namespace {
// A form with a tiled page panel holding a transparent panel that holds another.
struct TNested {
  TPictures Pictures;
  TForm* Form = nullptr;
  TkvPanel* Inner = nullptr;
  TNested() {
    SelectWindowBackend("headless");
    Application->Initialize();
    Form = New<TForm>(nullptr);
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(0, 0, 600, 440);
    auto* page = New<TkvPanel>(Form);
    page->SetParent(Form);
    page->SetAlign(alClient);
    page->SetWallpapers(&Pictures.Wallpapers);
    page->SetWallpaperIndex(1);
    auto* outer = New<TkvPanel>(Form);
    outer->SetParent(page);
    outer->SetBounds(20, 20, 400, 300);
    outer->SetStyleKind(kvpsTransparent);
    outer->SetBorderStyle(kvpbsLoweredBevel);
    Inner = New<TkvPanel>(Form);
    Inner->SetParent(outer);
    Inner->SetBounds(20, 20, 300, 200);
    Inner->SetStyleKind(kvpsTransparent);
    Inner->SetBorderStyle(kvpbsRaisedBevel);
    Inner->SetShowCaption(true);
    Inner->SetCaption("Two panels deep");
    Form->Show();
    Application->ProcessMessages();
  }
  ~TNested() {
    Free(Form);
    ShutdownWindowSystem();
  }
};
}  // namespace

static void BM_CopyPanelArea(benchmark::State& state) {
  TBitmap a(300, 200), b(300, 200);
  for (auto _ : state) {
    BitBlt(a.Canvas()->Handle(), 0, 0, 300, 200, b.Canvas()->Handle(), 0, 0, SRCCOPY);
    benchmark::ClobberMemory();
  }
}
static void BM_NestedTransparentRePaintControl(benchmark::State& state) {
  TNested n;
  for (auto _ : state) n.Inner->RePaintControl();
}
static void BM_NestedTransparentSystemPaint(benchmark::State& state) {
  TNested n;
  for (auto _ : state) {
    n.Inner->Invalidate();
    n.Inner->Update();
  }
}
BENCHMARK(BM_CopyPanelArea);
BENCHMARK(BM_NestedTransparentRePaintControl);
BENCHMARK(BM_NestedTransparentSystemPaint);
KV_BASELINE(BM_NestedTransparentRePaintControl, BM_CopyPanelArea);
KV_BASELINE(BM_NestedTransparentSystemPaint, BM_CopyPanelArea);
