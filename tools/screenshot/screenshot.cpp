#include "tools/screenshot/screenshot.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "platform/controls/application.h"
#include "platform/controls/forms.h"
#include "platform/graphics/surface.h"
#include "platform/streaming/formreader.h"
#include "platform/windows/backend.h"
#include "platform/windows/headless.h"

namespace screenshot {

String Usage() {
  return "usage: screenshot --form TFormClass --out file.png [--width W --height H]\n"
         "       screenshot --dfm file.txt --out file.png [--width W --height H]\n"
         "       screenshot --list\n";
}

String ParseArguments(const std::vector<String>& Args, TOptions& Options) {
  for (size_t i = 0; i < Args.size(); ++i) {
    const String& a = Args[i];
    auto value = [&](String& out) -> bool {
      if (i + 1 >= Args.size()) return false;
      out = Args[++i];
      return true;
    };
    String v;
    if (a == "--list") Options.List = true;
    else if (a == "--form") {
      if (!value(Options.FormClass)) return "--form needs a class name";
    } else if (a == "--dfm") {
      if (!value(Options.DfmFile)) return "--dfm needs a file";
    } else if (a == "--out") {
      if (!value(Options.Out)) return "--out needs a file";
    } else if (a == "--width" || a == "--height") {
      int n = 0;
      if (!value(v) || !TryStrToInt(v, n) || n <= 0 || n > 10000) return a + " needs a size from 1 to 10000";
      (a == "--width" ? Options.Width : Options.Height) = n;
    } else {
      return "unknown argument '" + a + "'";
    }
  }
  if (Options.List) return String();
  if (Options.FormClass.empty() == Options.DfmFile.empty()) return "give either --form or --dfm";
  if (Options.Out.empty()) return "--out is missing";
  return String();
}

std::vector<String> FormClasses() {
  std::vector<String> out;
  for (const TClassInfo* c : RegisteredClasses())
    if (c->InheritsFrom(TCustomForm::StaticClass()) && c->Factory()) out.push_back(c->Name());
  std::sort(out.begin(), out.end());
  return out;
}

namespace {
// The class a description is for: "object Name: TClass" (or "object TClass").
String RootClassOf(const String& text) {
  std::istringstream in(text);
  String word, name;
  while (in >> word) {
    if (SameText(word, "object") || SameText(word, "inherited") || SameText(word, "inline")) {
      in >> name;
      if (!name.empty() && name.back() == ':') {
        String cls;
        in >> cls;
        return cls;
      }
      size_t colon = name.find(':');
      if (colon != String::npos) return name.substr(colon + 1);
      return name;
    }
  }
  return String();
}

const TClassInfo& FormClassNamed(const String& name) {
  const TClassInfo* c = FindClass(name);
  if (!c) throw EInvalidArgument("there is no class " + name + " (see --list)");
  if (!c->InheritsFrom(TCustomForm::StaticClass()) || !c->Factory())
    throw EInvalidArgument(name + " is not a form class");
  return *c;
}
}  // namespace

void Render(const TOptions& Options) {
  SelectWindowBackend("headless");
  int screenW = std::max(1920, Options.Width + 200), screenH = std::max(1080, Options.Height + 200);
  Headless::SetScreenSize(screenW, screenH);
  Application->Initialize();
  String description;
  const TClassInfo* cls;
  if (!Options.DfmFile.empty()) {
    std::ifstream f(Options.DfmFile, std::ios::binary);
    if (!f) throw EReadError("cannot read " + Options.DfmFile);
    std::ostringstream s;
    s << f.rdbuf();
    description = s.str();
    String root = RootClassOf(description);
    if (root.empty()) throw EReadError(Options.DfmFile + " holds no form description");
    cls = &FormClassNamed(root);
  } else {
    cls = &FormClassNamed(Options.FormClass);
  }
  auto* form = static_cast<TCustomForm*>(cls->Factory()(Application));
  try {
    if (!description.empty()) ReadComponentFromText(form, description);
    if (Options.Width > 0) form->SetClientWidth(Options.Width);
    if (Options.Height > 0) form->SetClientHeight(Options.Height);
    form->SetPosition(poDesigned);
    form->SetBounds(20, 20, form->Width(), form->Height());
    form->Show();
    Application->ProcessMessages();
    TSurface shot;
    if (!Headless::CaptureWindow(form->Handle(), &shot)) throw EInvalidOperation("the form did not show");
    if (!Headless::SavePNG(shot, Options.Out)) throw EInvalidOperation("cannot write " + Options.Out);
  } catch (...) {
    Free(form);
    throw;
  }
  Free(form);
}

}  // namespace screenshot
