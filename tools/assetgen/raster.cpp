#include "tools/assetgen/raster.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace assetgen {

SurfacePtr NewSurface(cairo_format_t format, int width, int height) {
  SurfacePtr s(cairo_image_surface_create(format, width, height));
  if (cairo_surface_status(s.get()) != CAIRO_STATUS_SUCCESS)
    throw std::runtime_error("cannot create a " + std::to_string(width) + " x " +
                             std::to_string(height) +
                             " image: " + cairo_status_to_string(cairo_surface_status(s.get())));
  return s;
}

ContextPtr NewContext(cairo_surface_t* surface) {
  ContextPtr cr(cairo_create(surface));
  if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS)
    throw std::runtime_error(std::string("cannot draw on an image: ") +
                             cairo_status_to_string(cairo_status(cr.get())));
  return cr;
}

std::vector<float> Coverage(cairo_surface_t* argb) {
  cairo_surface_flush(argb);
  int w = cairo_image_surface_get_width(argb), h = cairo_image_surface_get_height(argb);
  int stride = cairo_image_surface_get_stride(argb);
  const unsigned char* data = cairo_image_surface_get_data(argb);
  std::vector<float> a(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y) {
    const auto* row =
        reinterpret_cast<const std::uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
    for (int x = 0; x < w; ++x) a[static_cast<size_t>(y) * w + x] = (row[x] >> 24) / 255.0f;
  }
  return a;
}

SurfacePtr CoverageSurface(const std::vector<float>& a, int width, int height) {
  SurfacePtr s = NewSurface(CAIRO_FORMAT_A8, width, height);
  cairo_surface_flush(s.get());
  int stride = cairo_image_surface_get_stride(s.get());
  unsigned char* data = cairo_image_surface_get_data(s.get());
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      float v = std::clamp(a[static_cast<size_t>(y) * width + x], 0.0f, 1.0f);
      data[static_cast<ptrdiff_t>(y) * stride + x] =
          static_cast<unsigned char>(std::lround(v * 255));
    }
  cairo_surface_mark_dirty(s.get());
  return s;
}

void GaussianBlur(std::vector<float>& a, int width, int height, double sigma, Edges edges) {
  if (sigma <= 0) return;
  int radius = static_cast<int>(std::ceil(sigma * 3));
  std::vector<float> kernel(2 * radius + 1);
  float sum = 0;
  for (int i = -radius; i <= radius; ++i)
    sum += kernel[i + radius] = static_cast<float>(std::exp(-(i * i) / (2 * sigma * sigma)));
  for (float& k : kernel) k /= sum;

  std::vector<float> tmp(a.size());
  auto pass = [&](const std::vector<float>& src, std::vector<float>& dst, bool horizontal) {
    int n = horizontal ? width : height, lines = horizontal ? height : width;
    for (int line = 0; line < lines; ++line)
      for (int i = 0; i < n; ++i) {
        float acc = 0;
        for (int k = -radius; k <= radius; ++k) {
          int j = i + k;
          if (j < 0 || j >= n) {
            if (edges == Edges::Clear) continue;
            j = ((j % n) + n) % n;
          }
          size_t idx = horizontal ? static_cast<size_t>(line) * width + j
                                  : static_cast<size_t>(j) * width + line;
          acc += src[idx] * kernel[k + radius];
        }
        size_t out = horizontal ? static_cast<size_t>(line) * width + i
                                : static_cast<size_t>(i) * width + line;
        dst[out] = acc;
      }
  };
  pass(a, tmp, true);
  pass(tmp, a, false);
}

void DrawWithShadow(cairo_t* cr, cairo_surface_t* source, double x, double y, double sigma,
                    double dy, double alpha) {
  int w = cairo_image_surface_get_width(source), h = cairo_image_surface_get_height(source);
  std::vector<float> a = Coverage(source);
  GaussianBlur(a, w, h, sigma, Edges::Clear);
  SurfacePtr mask = CoverageSurface(a, w, h);
  cairo_save(cr);
  cairo_set_source_rgba(cr, 0.0, 0.07, 0.18, alpha);
  cairo_mask_surface(cr, mask.get(), x, y + dy);
  cairo_set_source_surface(cr, source, x, y);
  cairo_paint(cr);
  cairo_restore(cr);
}

namespace {
std::uint32_t Hash(std::uint32_t v) {
  v ^= v >> 16;
  v *= 0x7feb352dU;
  v ^= v >> 15;
  v *= 0x846ca68bU;
  v ^= v >> 16;
  return v;
}
}  // namespace

TileNoise::TileNoise(int periodX, int periodY, std::uint32_t seed)
    : px_(periodX), py_(periodY), values_(static_cast<size_t>(periodX) * periodY) {
  for (size_t i = 0; i < values_.size(); ++i)
    values_[i] = static_cast<float>(
        Hash(static_cast<std::uint32_t>(i) * 2654435761U ^ seed) / 4294967295.0 * 2 - 1);
}

double TileNoise::At(double x, double y) const {
  double fx = std::floor(x), fy = std::floor(y);
  double tx = x - fx, ty = y - fy;
  auto wrap = [](long v, int p) { return static_cast<int>(((v % p) + p) % p); };
  int x0 = wrap(static_cast<long>(fx), px_), y0 = wrap(static_cast<long>(fy), py_);
  int x1 = (x0 + 1) % px_, y1 = (y0 + 1) % py_;
  auto v = [&](int xi, int yi) { return values_[static_cast<size_t>(yi) * px_ + xi]; };
  double sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
  double top = v(x0, y0) + (v(x1, y0) - v(x0, y0)) * sx;
  double bottom = v(x0, y1) + (v(x1, y1) - v(x0, y1)) * sx;
  return top + (bottom - top) * sy;
}

double Smoothstep(double edge0, double edge1, double x) {
  double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

void WritePng(cairo_surface_t* surface, const std::string& path) {
  cairo_status_t status = cairo_surface_write_to_png(surface, path.c_str());
  if (status != CAIRO_STATUS_SUCCESS)
    throw std::runtime_error("cannot write " + path + ": " + cairo_status_to_string(status));
}

}  // namespace assetgen
