#pragma once
// Pixel work the vector drawing cannot do: soft shadows (blurred coverage), tileable noise, and
// surfaces with owned lifetimes.
#include <cairo.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace assetgen {

struct SurfaceDeleter {
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
using SurfacePtr = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

struct ContextDeleter {
  void operator()(cairo_t* c) const { cairo_destroy(c); }
};
using ContextPtr = std::unique_ptr<cairo_t, ContextDeleter>;

// A new image surface, cleared; throws when cairo cannot make it.
SurfacePtr NewSurface(cairo_format_t format, int width, int height);
ContextPtr NewContext(cairo_surface_t* surface);

// The coverage (alpha, 0..1) of an ARGB32 surface, row by row.
std::vector<float> Coverage(cairo_surface_t* argb);
// An A8 surface holding a coverage map.
SurfacePtr CoverageSurface(const std::vector<float>& a, int width, int height);

enum class Edges { Clear, Wrap };
// Gaussian blur of a single-channel map in place; outside the map is clear or the map repeated.
void GaussianBlur(std::vector<float>& a, int width, int height, double sigma, Edges edges);

// Draws `source` onto cr at (x, y) with a soft shadow under it: the source's coverage blurred by
// sigma pixels, moved down by dy, tinted `shadow` at `alpha`.
void DrawWithShadow(cairo_t* cr, cairo_surface_t* source, double x, double y, double sigma,
                    double dy, double alpha);

// Smooth value noise in -1..1 that repeats every periodX by periodY lattice cells.
class TileNoise {
public:
  TileNoise(int periodX, int periodY, std::uint32_t seed);
  double At(double x, double y) const;  // x, y in lattice cells

private:
  int px_, py_;
  std::vector<float> values_;
};

double Smoothstep(double edge0, double edge1, double x);

// Writes a surface as PNG: ARGB32 with alpha, RGB24 without. Throws with the path on failure.
void WritePng(cairo_surface_t* surface, const std::string& path);

}  // namespace assetgen
