// kvsheet <look> <png>: draws the kvUtils sheet in one look. The look is "native", "classic" or
// the name of a carried style, spaces and case ignored ("aqualightslate").
#include <cstdio>

#include "platform/themes/stylemanager.h"
#include "tools/kvsheet/sheet.h"

namespace {
String Squeezed(const String& s) {
  String r;
  for (char c : LowerCase(s))
    if (c != ' ') r += c;
  return r;
}

// Activates the look; returns its display name, or "" for an unknown look.
String Activate(const String& look) {
  if (look == "native") return "Native";
  if (look == "classic") {
    TStyleManager::SetClassicLook(true);
    return "Classic";
  }
  for (const String& name : TStyleManager::StyleNames())
    if (Squeezed(name) == Squeezed(look)) {
      TStyleManager::SetStyle(name);
      return name;
    }
  return "";
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: kvsheet native|classic|<style name> <png>\n");
    return 2;
  }
  try {
    String title = Activate(argv[1]);
    if (title.empty()) {
      String names;
      for (const String& n : TStyleManager::StyleNames()) names += (names.empty() ? "" : ", ") + n;
      std::fprintf(stderr, "kvsheet: unknown look '%s' (native, classic, %s)\n", argv[1], names.c_str());
      return 2;
    }
    WriteUtilsSheet("kvUtils pieces: " + title, argv[2]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kvsheet: %s\n", e.what());
    return 1;
  }
  return 0;
}
