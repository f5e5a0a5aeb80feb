#pragma once
// The four wallpapers of the demonstration's image collection.
#include <string>
#include <vector>

#include "tools/assetgen/raster.h"

namespace assetgen {

struct WallpaperDef {
  std::string file;
  int width, height;
  bool alpha;       // false: opaque, written without an alpha channel
  const char* use;  // where the demonstration shows it
  SurfacePtr (*draw)();
};

// Index 0 to 3, as the image collection holds them.
const std::vector<WallpaperDef>& Wallpapers();

// The page wallpapers (wallpapers_pages.cpp): the seamless tile and the about card.
SurfacePtr PageTile();
SurfacePtr AboutCard();

}  // namespace assetgen
