// kv-showcase: the panels, group boxes and labels of the library in one window.
//
//   kv-showcase [--look NAME]                     opens the window (NAME: native, classic,
//                                                 glossy, sapphirekamri, aqualightslate,
//                                                 tabletdark)
//   kv-showcase --screenshot FILE [--look NAME]   draws the window on the headless back end
//                                                 and writes it to FILE as PNG
#include <cstdio>
#include <cstring>

#include "platform/controls/application.h"
#include "platform/windows/backend.h"
#include "platform/windows/headless.h"
#include "tools/showcase/showcaseform.h"

namespace {
int Usage() {
  std::fprintf(stderr, "usage: kv-showcase [--look NAME] [--screenshot FILE]\nlooks:");
  for (const TShowcaseLook& look : ShowcaseLooks()) std::fprintf(stderr, " %s", look.Key);
  std::fprintf(stderr, "\n");
  return 2;
}

int Screenshot(const TShowcaseLook& look, const String& file) {
  Headless::SetScreenSize(1280, 800);
  TShowcaseForm* form = nullptr;
  Application->Initialize();
  Application->CreateForm(form);
  form->ApplyLook(look);
  form->Show();
  Application->ProcessMessages();
  TSurface shot;
  if (!Headless::CaptureWindow(form->Handle(), &shot) || !Headless::SavePNG(shot, file)) {
    std::fprintf(stderr, "kv-showcase: could not write %s\n", file.c_str());
    return 1;
  }
  return 0;
}
}  // namespace

int main(int argc, char** argv) {
  const TShowcaseLook* look = &ShowcaseLooks().front();
  String screenshot;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--look") && i + 1 < argc) {
      look = FindShowcaseLook(argv[++i]);
      if (!look) return Usage();
    } else if (!std::strcmp(argv[i], "--screenshot") && i + 1 < argc) {
      screenshot = argv[++i];
    } else {
      return Usage();
    }
  }
  try {
    if (!screenshot.empty()) {
      SelectWindowBackend("headless");
      return Screenshot(*look, screenshot);
    }
    TShowcaseForm* form = nullptr;
    Application->Initialize();
    Application->CreateForm(form);
    form->ApplyLook(*look);
    Application->Run();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kv-showcase: %s\n", e.what());
    return 1;
  }
  return 0;
}
