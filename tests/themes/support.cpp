#include "support.h"

#include <cairo.h>

namespace {
cairo_status_t Collect(void* closure, const unsigned char* data, unsigned int length) {
  auto* out = static_cast<std::vector<uint8_t>*>(closure);
  out->insert(out->end(), data, data + length);
  return CAIRO_STATUS_SUCCESS;
}
}  // namespace

std::vector<uint8_t> MakeTestPng(int w, int h) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_t* cr = cairo_create(s);
  cairo_set_source_rgb(cr, 1, 0, 0);
  cairo_rectangle(cr, 0, 0, w / 2.0, h);
  cairo_fill(cr);
  cairo_set_source_rgb(cr, 0, 0, 1);
  cairo_rectangle(cr, w / 2.0, 0, w / 2.0, h);
  cairo_fill(cr);
  cairo_set_source_rgb(cr, 0, 1, 0);
  cairo_set_line_width(cr, 1);
  cairo_rectangle(cr, 0.5, 0.5, w - 1, h - 1);
  cairo_stroke(cr);
  cairo_destroy(cr);
  std::vector<uint8_t> png;
  cairo_surface_write_to_png_stream(s, Collect, &png);
  cairo_surface_destroy(s);
  return png;
}
