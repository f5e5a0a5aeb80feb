// screenshot --form TFormClass | --dfm file.txt --out file.png [--width W --height H]
// screenshot --list
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "tools/screenshot/screenshot.h"

int main(int argc, char** argv) {
  // Screenshots never open windows on a desktop.
  setenv("KV_BACKEND", "headless", 1);
  std::vector<String> args(argv + 1, argv + argc);
  screenshot::TOptions options;
  String error = screenshot::ParseArguments(args, options);
  if (!error.empty()) {
    std::fprintf(stderr, "screenshot: %s\n%s", error.c_str(), screenshot::Usage().c_str());
    return 2;
  }
  try {
    if (options.List) {
      for (const String& name : screenshot::FormClasses()) std::printf("%s\n", name.c_str());
      return 0;
    }
    screenshot::Render(options);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "screenshot: %s\n", e.what());
    return 1;
  }
  return 0;
}
