#include "platform/graphics/png.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/blit.h"
#include "platform/graphics/canvas.h"

namespace {
constexpr uint32_t kMaxSide = 32768;
constexpr uint64_t kMaxPixels = 1ull << 28;

struct TReadState {
  const uint8_t* Data;
  size_t Size;
  size_t Pos;
  char Error[256];
};

void OnError(png_structp png, png_const_charp message) {
  auto* st = static_cast<TReadState*>(png_get_error_ptr(png));
  std::snprintf(st->Error, sizeof st->Error, "%s", message ? message : "unknown error");
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void OnRead(png_structp png, png_bytep out, png_size_t n) {
  auto* st = static_cast<TReadState*>(png_get_io_ptr(png));
  if (n > st->Size - st->Pos) png_error(png, "the data is truncated");
  std::memcpy(out, st->Data + st->Pos, n);
  st->Pos += n;
}

// Decodes into rows of 32-bit BGRA (little-endian ARGB) pixels. C style on purpose: libpng
// reports errors with longjmp, which must not skip C++ destructors, so everything that needs
// one lives in the caller.
bool DecodeInto(TReadState& st, std::vector<uint32_t>& pixels, std::vector<png_bytep>& rows, uint32_t& w,
                uint32_t& h, bool& alpha) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &st, OnError, OnWarning);
  if (!png) {
    std::snprintf(st.Error, sizeof st.Error, "out of memory");
    return false;
  }
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    std::snprintf(st.Error, sizeof st.Error, "out of memory");
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_read_fn(png, &st, OnRead);
  png_set_user_limits(png, kMaxSide, kMaxSide);
  png_read_info(png, info);
  w = png_get_image_width(png, info);
  h = png_get_image_height(png, info);
  if (static_cast<uint64_t>(w) * h > kMaxPixels) png_error(png, "the image is too large");
  int colorType = png_get_color_type(png, info);
  alpha = (colorType & PNG_COLOR_MASK_ALPHA) || png_get_valid(png, info, PNG_INFO_tRNS);
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_bgr(png);
  png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != static_cast<size_t>(w) * 4) png_error(png, "unsupported pixel layout");
  pixels.resize(static_cast<size_t>(w) * h);
  rows.resize(h);
  for (uint32_t y = 0; y < h; ++y) rows[y] = reinterpret_cast<png_bytep>(&pixels[static_cast<size_t>(y) * w]);
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

struct TWriteState {
  std::vector<uint8_t>* Out;
  char Error[256];
};

void OnWrite(png_structp png, png_bytep data, png_size_t n) {
  auto* st = static_cast<TWriteState*>(png_get_io_ptr(png));
  st->Out->insert(st->Out->end(), data, data + n);
}

void OnWriteError(png_structp png, png_const_charp message) {
  auto* st = static_cast<TWriteState*>(png_get_error_ptr(png));
  std::snprintf(st->Error, sizeof st->Error, "%s", message ? message : "unknown error");
  png_longjmp(png, 1);
}

void OnFlush(png_structp) {}

bool EncodeInto(TWriteState& st, const std::vector<png_bytep>& rows, uint32_t w, uint32_t h, bool opaque) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &st, OnWriteError, OnWarning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &st, OnWrite, OnFlush);
  png_set_IHDR(png, info, w, h, 8, opaque ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_set_bgr(png);
  if (opaque) png_set_filler(png, 0, PNG_FILLER_AFTER);  // drops the fourth byte
  png_write_image(png, const_cast<png_bytepp>(rows.data()));
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return true;
}
}  // namespace

bool IsPngData(const void* data, size_t size) {
  return data && size >= 8 && png_sig_cmp(static_cast<png_const_bytep>(data), 0, 8) == 0;
}

TDecodedPng DecodePng(const void* data, size_t size) {
  if (!IsPngData(data, size)) throw EInvalidGraphic("Invalid PNG image: not PNG data");
  TReadState st{static_cast<const uint8_t*>(data), size, 0, {}};
  std::vector<uint32_t> pixels;
  std::vector<png_bytep> rows;
  uint32_t w = 0, h = 0;
  bool alpha = false;
  if (!DecodeInto(st, pixels, rows, w, h, alpha)) throw EInvalidGraphic(std::string("Invalid PNG image: ") + st.Error);
  TDecodedPng out;
  out.HasAlpha = alpha;
  out.Pixels = std::make_shared<TSurface>(static_cast<int>(w), static_cast<int>(h));
  for (uint32_t y = 0; y < h; ++y)
    std::memcpy(out.Pixels->Row(static_cast<int>(y)), &pixels[static_cast<size_t>(y) * w], static_cast<size_t>(w) * 4);
  if (alpha) PremultiplySurface(*out.Pixels);
  return out;
}

std::vector<uint8_t> EncodePng(const TSurface& pixels, bool premultiplied, bool opaque) {
  if (pixels.IsEmpty()) throw EInvalidGraphicOperation("Cannot save an empty image as PNG");
  TSurface copy(pixels.Width(), pixels.Height());
  for (int y = 0; y < pixels.Height(); ++y)
    std::memcpy(copy.Row(y), pixels.Row(y), static_cast<size_t>(pixels.Width()) * 4);
  if (premultiplied && !opaque) UnpremultiplySurface(copy);
  std::vector<png_bytep> rows(static_cast<size_t>(copy.Height()));
  for (int y = 0; y < copy.Height(); ++y) rows[static_cast<size_t>(y)] = reinterpret_cast<png_bytep>(copy.Row(y));
  std::vector<uint8_t> out;
  TWriteState st{&out, {}};
  if (!EncodeInto(st, rows, static_cast<uint32_t>(copy.Width()), static_cast<uint32_t>(copy.Height()), opaque))
    throw EInvalidGraphicOperation(std::string("Cannot write PNG image: ") + st.Error);
  return out;
}

// ---- TPngImage ----

KV_IMPLEMENT_CLASS(TPngImage) {}

TPngImage::TPngImage() : FPixels(std::make_shared<TSurface>()) {}
TPngImage::~TPngImage() = default;

void TPngImage::SetSize(int AWidth, int AHeight) {
  if (AWidth < 0 || AHeight < 0) throw EInvalidGraphicOperation("Invalid image size");
  if (AWidth == Width() && AHeight == Height()) return;
  FPixels->Resize(AWidth, AHeight);
  Changed();
}

void TPngImage::LoadFromMemory(const void* Data, size_t Size) {
  TDecodedPng png = DecodePng(Data, Size);  // raises before anything changes
  FPixels = png.Pixels;
  FTransparent = png.HasAlpha;
  Changed();
}

std::vector<uint8_t> TPngImage::SaveToMemory() const { return EncodePng(*FPixels, true, !FTransparent); }

void TPngImage::Draw(TCanvas* ACanvas, const TRect& R, uint8_t Opacity) const {
  if (!ACanvas || Empty() || R.IsEmpty()) return;
  HDC dst = ACanvas->Handle();
  if (!dst) return;
  HDC src = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateBitmapFromSurface(FPixels);
  SelectObject(src, bmp);
  BLENDFUNCTION bf;
  bf.SourceConstantAlpha = Opacity;
  bf.AlphaFormat = FTransparent ? AC_SRC_ALPHA : 0;
  AlphaBlend(dst, R.Left, R.Top, R.Width(), R.Height(), src, 0, 0, Width(), Height(), bf);
  DeleteDC(src);
  DeleteObject(bmp);
}

void TPngImage::Assign(const TPersistent* Source) {
  if (auto* p = dynamic_cast<const TPngImage*>(Source)) {
    if (p == this) return;
    auto copy = std::make_shared<TSurface>(p->Width(), p->Height());
    for (int y = 0; y < p->Height(); ++y)
      std::memcpy(copy->Row(y), p->FPixels->Row(y), static_cast<size_t>(p->Width()) * 4);
    FPixels = copy;
    FTransparent = p->FTransparent;
    Changed();
    return;
  }
  if (auto* b = dynamic_cast<const TBitmap*>(Source)) {
    auto copy = std::make_shared<TSurface>(b->Width(), b->Height());
    for (int y = 0; y < b->Height(); ++y) {
      uint32_t* row = copy->Row(y);
      std::memcpy(row, b->Surface().Row(y), static_cast<size_t>(b->Width()) * 4);
      if (!b->HasAlpha())
        for (int x = 0; x < b->Width(); ++x) row[x] |= 0xFF000000u;
    }
    if (b->HasAlpha() && b->AlphaFormat() == afDefined) PremultiplySurface(*copy);
    FPixels = copy;
    FTransparent = b->HasAlpha();
    Changed();
    return;
  }
  inherited::Assign(Source);
}

void TPngImage::AssignTo(TPersistent* Dest) const {
  if (auto* b = dynamic_cast<TBitmap*>(Dest)) {
    b->TakePixels(FPixels, pf32bit, FTransparent ? afPremultiplied : afIgnored);
    return;
  }
  inherited::AssignTo(Dest);
}
