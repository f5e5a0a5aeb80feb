// kv_assetgen: draws the glyph strips and wallpapers of the demonstration into a folder.
//
//   kv_assetgen --out DIR [--preview FILE] [--table]
//
// --out writes imagelist1_48.png, imagelist2_16.png, imagelist3_32.png (each list's glyphs side
// by side) and wallpaper0.png .. wallpaper3.png; --preview also writes a contact sheet of all of
// them; --table prints the glyph table in Markdown.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/assetgen/glyphs.h"
#include "tools/assetgen/preview.h"
#include "tools/assetgen/render.h"
#include "tools/assetgen/wallpapers.h"

namespace {

int Usage(const char* why) {
  std::fprintf(stderr, "kv_assetgen: %s\nusage: kv_assetgen --out DIR [--preview FILE] [--table]\n",
               why);
  return 2;
}

void PrintTable() {
  std::printf("| list | index | glyph | meaning |\n|---|---|---|---|\n");
  for (const assetgen::ImageListDef& l : assetgen::ImageLists())
    for (size_t i = 0; i < l.glyphs.size(); ++i)
      std::printf("| %s (%d px) | %zu | %s | %s |\n", l.component, l.size, i, l.glyphs[i].name,
                  l.glyphs[i].meaning);
}

}  // namespace

int main(int argc, char** argv) {
  std::string out, preview;
  bool table = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if ((arg == "--out" || arg == "--preview") && i + 1 < argc) {
      (arg == "--out" ? out : preview) = argv[++i];
    } else if (arg == "--table") {
      table = true;
    } else {
      return Usage(("unexpected argument \"" + arg + "\"").c_str());
    }
  }
  if (table) {
    PrintTable();
    if (out.empty()) return 0;
  }
  if (out.empty()) return Usage("no output folder given");

  try {
    namespace fs = std::filesystem;
    fs::create_directories(out);
    std::vector<assetgen::SurfacePtr> strips, pictures;
    for (const assetgen::ImageListDef& l : assetgen::ImageLists()) {
      strips.push_back(assetgen::RenderStrip(l));
      assetgen::WritePng(strips.back().get(), (fs::path(out) / l.file).string());
    }
    for (const assetgen::WallpaperDef& w : assetgen::Wallpapers()) {
      pictures.push_back(w.draw());
      assetgen::WritePng(pictures.back().get(), (fs::path(out) / w.file).string());
    }
    if (!preview.empty()) {
      std::vector<cairo_surface_t*> s, p;
      for (auto& x : strips) s.push_back(x.get());
      for (auto& x : pictures) p.push_back(x.get());
      assetgen::SurfacePtr sheet = assetgen::ContactSheet(assetgen::ImageLists(), s, p);
      fs::path parent = fs::path(preview).parent_path();
      if (!parent.empty()) fs::create_directories(parent);
      assetgen::WritePng(sheet.get(), preview);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kv_assetgen: %s\n", e.what());
    return 1;
  }
  return 0;
}
