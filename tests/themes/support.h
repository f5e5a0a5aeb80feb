#pragma once
// Helpers shared by the style tests: a small PNG picture made with cairo, and a pixel buffer.
#include <cstddef>
#include <cstdint>
#include <vector>

// A w x h PNG whose left half is opaque red and right half opaque blue, with a 1-pixel green
// frame: enough to tell the slices of a nine-slice picture apart.
std::vector<uint8_t> MakeTestPng(int w, int h);

struct TPixels {
  int Width, Height;
  std::vector<uint32_t> Data;
  TPixels(int w, int h) : Width(w), Height(h), Data(static_cast<size_t>(w * h), 0) {}
  uint32_t At(int x, int y) const { return Data[static_cast<size_t>(y * Width + x)]; }
  uint32_t Alpha(int x, int y) const { return At(x, y) >> 24; }
};
