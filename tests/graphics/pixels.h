#pragma once
// Helpers for pixel-exact tests: surfaces drawn as rows of characters, one per pixel.
#include <map>
#include <string>
#include <vector>

#include "platform/graphics/surface.h"

namespace kvtest {
// Each pixel becomes the character its value maps to, '?' when the value is not in the map.
inline std::vector<std::string> Picture(const TSurface& s, const std::map<uint32_t, char>& legend) {
  std::vector<std::string> rows;
  for (int y = 0; y < s.Height(); ++y) {
    std::string row;
    for (int x = 0; x < s.Width(); ++x) {
      auto it = legend.find(s.Row(y)[x]);
      row += it == legend.end() ? '?' : it->second;
    }
    rows.push_back(row);
  }
  return rows;
}

// The usual legend: 0 '.', opaque black '#', opaque white 'o', opaque red 'r', opaque blue 'b'.
inline std::vector<std::string> Picture(const TSurface& s) {
  return Picture(s, {{0u, '.'}, {0xFF000000u, '#'}, {0xFFFFFFFFu, 'o'}, {0xFFFF0000u, 'r'}, {0xFF0000FFu, 'b'}});
}

inline uint32_t At(const TSurface& s, int x, int y) { return s.Row(y)[x]; }
}  // namespace kvtest
