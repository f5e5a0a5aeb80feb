#include "platform/graphics/surface.h"

#include <cairo.h>
#include <pixman.h>

#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/core/exceptions.h"

namespace {
// Rows are padded to 16 bytes so that pixman's and cairo's vector paths see aligned rows.
constexpr int kRowAlignPixels = 4;
// The largest surface: 2^28 pixels (1 GiB), far above any window or picture.
constexpr uint64_t kMaxPixels = 1ull << 28;
}  // namespace

TSurface::TSurface(int w, int h) { Allocate(w, h); }

TSurface::~TSurface() {
  ReleaseViews();
  std::free(FPixels);
}

void TSurface::Allocate(int w, int h) {
  if (w < 0 || h < 0)
    throw EInvalidArgument("Invalid surface size " + std::to_string(w) + " x " + std::to_string(h));
  uint32_t* pixels = nullptr;
  int stride = 0;
  if (w > 0 && h > 0) {
    // pixman and cairo address rows with a 32-bit byte stride.
    if (w > (std::numeric_limits<int>::max() / 4) - kRowAlignPixels)
      throw EOutOfResources("Surface too wide: " + std::to_string(w));
    stride = (w + kRowAlignPixels - 1) / kRowAlignPixels * kRowAlignPixels;
    if (static_cast<uint64_t>(stride) * static_cast<uint64_t>(h) > kMaxPixels)
      throw EOutOfResources("Surface too large: " + std::to_string(w) + " x " + std::to_string(h));
    // calloc hands out zeroed pages for large blocks without touching them; its blocks are
    // 16-byte aligned, which is all the vector paths need.
    pixels = static_cast<uint32_t*>(std::calloc(static_cast<size_t>(stride) * static_cast<size_t>(h), 4u));
    if (!pixels)
      throw EOutOfResources("Out of memory for a " + std::to_string(w) + " x " + std::to_string(h) + " surface");
  }
  ReleaseViews();
  std::free(FPixels);
  FPixels = pixels;
  FWidth = pixels ? w : 0;
  FHeight = pixels ? h : 0;
  FStride = stride;
  ++FGeneration;
}

void TSurface::SetSize(int w, int h) {
  if (w == FWidth && h == FHeight) return;  // unchanged: the pixels stay
  Allocate(w, h);
}

void TSurface::Resize(int w, int h) {
  if (w == FWidth && h == FHeight) return;
  TSurface old(0, 0);
  std::swap(old.FPixels, FPixels);
  std::swap(old.FWidth, FWidth);
  std::swap(old.FHeight, FHeight);
  std::swap(old.FStride, FStride);
  try {
    Allocate(w, h);
  } catch (...) {
    std::swap(old.FPixels, FPixels);
    std::swap(old.FWidth, FWidth);
    std::swap(old.FHeight, FHeight);
    std::swap(old.FStride, FStride);
    throw;
  }
  int cw = std::min(w, old.FWidth), ch = std::min(h, old.FHeight);
  for (int y = 0; y < ch; ++y) std::memcpy(Row(y), old.Row(y), static_cast<size_t>(cw) * 4u);
}

uint32_t* TSurface::ScanLine(int y) {
  if (y < 0 || y >= FHeight)
    throw EInvalidArgument("Scan line index out of range: " + std::to_string(y));
  return Row(y);
}

const uint32_t* TSurface::ScanLine(int y) const {
  return const_cast<TSurface*>(this)->ScanLine(y);
}

void TSurface::Fill(uint32_t value) {
  if (!FPixels) return;
  if (value == 0 || value == 0xFFFFFFFFu) {
    std::memset(FPixels, value ? 0xFF : 0, static_cast<size_t>(FStride) * 4u * static_cast<size_t>(FHeight));
  } else {
    pixman_fill(FPixels, FStride, 32, 0, 0, FWidth, FHeight, value);
  }
  MarkDirtyForCairo();
}

pixman_image_t* TSurface::PixmanImage() {
  if (!FPixman && FPixels)
    FPixman = pixman_image_create_bits_no_clear(PIXMAN_a8r8g8b8, FWidth, FHeight, FPixels, FStride * 4);
  return FPixman;
}

pixman_image_t* TSurface::PixmanImageOpaque() {
  if (!FPixmanOpaque && FPixels)
    FPixmanOpaque = pixman_image_create_bits_no_clear(PIXMAN_x8r8g8b8, FWidth, FHeight, FPixels, FStride * 4);
  return FPixmanOpaque;
}

cairo_surface_t* TSurface::CairoSurface() {
  if (!FCairo && FPixels) {
    FCairo = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(FPixels),
                                                 CAIRO_FORMAT_ARGB32, FWidth, FHeight, FStride * 4);
    if (cairo_surface_status(FCairo) != CAIRO_STATUS_SUCCESS) {
      cairo_surface_destroy(FCairo);
      FCairo = nullptr;
      throw EOutOfResources("Cannot create a drawing surface");
    }
  }
  return FCairo;
}

void TSurface::MarkDirtyForCairo() {
  if (FCairo) cairo_surface_mark_dirty(FCairo);
}

void TSurface::ReleaseViews() {
  if (FPixman) pixman_image_unref(FPixman);
  if (FPixmanOpaque) pixman_image_unref(FPixmanOpaque);
  FPixmanOpaque = nullptr;
  if (FCairo) {
    cairo_surface_finish(FCairo);
    cairo_surface_destroy(FCairo);
  }
  FPixman = nullptr;
  FCairo = nullptr;
}
