// A change of the active style on a form of 200 library panels, repaint excluded (the panels
// are invalidated and paint at the next pass of the loop), beside announcing the change to the
// same 200 panels directly, the least any switch has to do.
#include "bench.h"
#include "kv/kvControls/kvPanels.h"
#include "platform/controls/application.h"
#include "platform/controls/forms.h"
#include "platform/themes/stylemanager.h"
#include "platform/windows/backend.h"
#include "platform/windows/headless.h"

namespace {
struct TPanelsForm {
  TForm* Form;
  std::vector<TkvPanel*> Panels;
  TPanelsForm() {
    ShutdownWindowSystem();
    SelectWindowBackend("headless");
    Headless::SetScreenSize(1280, 800);
    Application->Initialize();
    Form = New<TForm>(nullptr);
    Form->SetBounds(0, 0, 1000, 600);
    for (int i = 0; i < 200; ++i) {
      auto* p = New<TkvPanel>(Form);
      p->SetParent(Form);
      p->SetBounds((i % 20) * 50, (i / 20) * 60, 48, 58);
      p->SetBorderStyle(kvpbsRaised);
      Panels.push_back(p);
    }
    Form->Show();
    Application->ProcessMessages();
  }
  ~TPanelsForm() {
    TStyleManager::SetStyle("Windows");
    Free(Form);
    Application->ProcessMessages();
  }
};
}  // namespace

static void BM_AnnounceTo200Panels(benchmark::State& state) {
  TPanelsForm f;
  for (auto _ : state)
    for (TkvPanel* p : f.Panels) p->Perform(CM_STYLECHANGED);
  Application->ProcessMessages();
}

static void BM_SetStyleOn200Panels(benchmark::State& state) {
  TPanelsForm f;
  bool glossy = false;
  for (auto _ : state) {
    glossy = !glossy;
    TStyleManager::SetStyle(glossy ? "Glossy" : "Windows");
  }
  Application->ProcessMessages();
}

BENCHMARK(BM_AnnounceTo200Panels)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SetStyleOn200Panels)->Unit(benchmark::kMicrosecond);
KV_BASELINE(BM_SetStyleOn200Panels, BM_AnnounceTo200Panels);
