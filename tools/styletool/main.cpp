// styletool: checks, packs and unpacks style files.
//
//   styletool validate <style>...        read each style (text or packed) and report faults;
//                                        readability warnings are printed, --strict fails on them
//   styletool pack <text style> <out>    check a text style and write it packed with its pictures
//   styletool unpack <packed> <folder>   write the text and pictures of a packed style
//   styletool sheet <look> <png>         every element in every state; the look is a style
//                                        file, "native" or "classic"
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/themes/stylecheck.h"
#include "platform/themes/stylefile.h"
#include "platform/themes/stylemanager.h"
#include "tools/styletool/sheet.h"

namespace {
int Usage() {
  std::fprintf(stderr,
               "usage: styletool validate [--strict] <style>...\n"
               "       styletool pack <text style> <packed style>\n"
               "       styletool unpack <packed style> <folder>\n"
               "       styletool sheet <style file>|native|classic <png>\n");
  return 2;
}

String BaseName(const String& path) {
  size_t slash = path.rfind('/');
  String name = slash == String::npos ? path : path.substr(slash + 1);
  size_t dot = name.rfind('.');
  return dot == String::npos || dot == 0 ? name : name.substr(0, dot);
}

int Validate(int argc, char** argv) {
  bool strict = false;
  int failures = 0, files = 0;
  for (int i = 0; i < argc; ++i) {
    if (std::strcmp(argv[i], "--strict") == 0) { strict = true; continue; }
    ++files;
    try {
      TStyleData style = LoadStyleFile(argv[i]);
      std::vector<TReadabilityIssue> issues = CheckStyleReadability(style);
      for (const TReadabilityIssue& issue : issues)
        std::printf("%s: warning: %s\n", argv[i], issue.Message().c_str());
      if (strict && !issues.empty()) ++failures;
      std::printf("%s: %s \"%s\"\n", argv[i], issues.empty() ? "ok" : "sound, with warnings",
                  style.Name.c_str());
    } catch (const Exception& e) {
      std::fprintf(stderr, "%s\n", e.Message().c_str());
      ++failures;
    }
  }
  if (files == 0) return Usage();
  return failures == 0 ? 0 : 1;
}

int Pack(const String& in, const String& out) {
  TStyleSource source = ReadStyleSource(in);
  WriteFileBytes(out, PackStyle(source));
  return 0;
}

int Unpack(const String& in, const String& folder) {
  std::vector<uint8_t> bytes = ReadFileBytes(in);
  TStyleSource source = UnpackStyle(bytes, in);
  ParseStyle(source.Text, in, source.Reader());  // only a sound style is written out
  mkdir(folder.c_str(), 0777);
  String base = folder + "/";
  String textPath = base + BaseName(in) + ".kvstyle";
  WriteFileBytes(textPath, std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(source.Text.data()), source.Text.size()));
  std::printf("%s\n", textPath.c_str());
  for (const auto& f : source.Files) {
    // Pictures may sit in sub-folders of the style's folder.
    for (size_t slash = f.first.find('/'); slash != String::npos; slash = f.first.find('/', slash + 1))
      mkdir((base + f.first.substr(0, slash)).c_str(), 0777);
    WriteFileBytes(base + f.first, f.second);
    std::printf("%s%s\n", base.c_str(), f.first.c_str());
  }
  return 0;
}
int Sheet(const String& look, const String& png) {
  String title;
  if (look == "native") {
    title = "Windows (native look)";
  } else if (look == "classic") {
    TStyleManager::SetClassicLook(true);
    title = "Classic look (style services disabled)";
  } else {
    String name = TStyleManager::LoadFromFile(look);
    TStyleManager::SetStyle(name);
    title = name;
  }
  WriteElementSheet(title, png);
  std::printf("%s\n", png.c_str());
  return 0;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  String command = argv[1];
  try {
    if (command == "validate") return Validate(argc - 2, argv + 2);
    if (command == "pack" && argc == 4) return Pack(argv[2], argv[3]);
    if (command == "unpack" && argc == 4) return Unpack(argv[2], argv[3]);
    if (command == "sheet" && argc == 4) return Sheet(argv[2], argv[3]);
  } catch (const Exception& e) {
    std::fprintf(stderr, "%s\n", e.Message().c_str());
    return 1;
  }
  return Usage();
}
