#include "platform/graphics/font.h"

#include <cmath>
#include <cstring>

#include "platform/graphics/textfont.h"

KV_IMPLEMENT_CLASS(TGraphicsObject) { r.Event("OnChange", &TGraphicsObject::OnChange); }

void TGraphicsObject::Changed() { OnChange(this); }

namespace {
// a * b / c rounded half away from zero.
int MulDiv(int a, int b, int c) {
  long long p = static_cast<long long>(a) * b;
  long long q = (std::llabs(p) * 2 + std::llabs(c)) / (2 * std::llabs(static_cast<long long>(c)));
  return static_cast<int>(((p < 0) != (c < 0)) ? -q : q);
}
}  // namespace

KV_IMPLEMENT_CLASS(TFont) {
  r.Prop("Charset", &TFont::Charset, &TFont::SetCharset, DEFAULT_CHARSET);
  r.Color("Color", &TFont::Color, &TFont::SetColor, clWindowText);
  r.Prop("Height", &TFont::Height, &TFont::SetHeight, -11);
  r.Prop("Name", &TFont::Name, &TFont::SetName);
  r.Prop("Orientation", &TFont::Orientation, &TFont::SetOrientation, 0);
  r.Prop("Pitch", &TFont::Pitch, &TFont::SetPitch, fpDefault);
  r.Prop("Size", &TFont::Size, &TFont::SetSize, 8);
  r.Prop("Style", &TFont::Style, &TFont::SetStyle);
  r.Prop("Quality", &TFont::Quality, &TFont::SetQuality, fqDefault);
}

TFont::TFont() = default;

TFont::~TFont() { FreeHandle(); }

void TFont::FreeHandle() const {
  if (FHandle) DeleteObject(FHandle);
  FHandle = nullptr;
}

void TFont::Changed() {
  FreeHandle();
  inherited::Changed();
}

void TFont::Assign(const TPersistent* Source) {
  if (auto* f = dynamic_cast<const TFont*>(Source)) {
    if (f == this) return;
    FName = f->FName;
    FHeight = f->FHeight;
    FStyle = f->FStyle;
    FColor = f->FColor;
    FOrientation = f->FOrientation;
    FPitch = f->FPitch;
    FCharset = f->FCharset;
    FQuality = f->FQuality;
    Changed();
    return;
  }
  inherited::Assign(Source);
}

void TFont::SetName(const TFontName& Value) {
  if (Value == FName || Value.empty()) return;  // a font always has a family
  FName = Value;
  Changed();
}

void TFont::SetHeight(int Value) {
  if (Value == FHeight) return;
  FHeight = Value;
  Changed();
}

int TFont::Size() const { return -MulDiv(FHeight, 72, PixelsPerInch); }

void TFont::SetSize(int Value) { SetHeight(-MulDiv(Value, PixelsPerInch, 72)); }

void TFont::SetStyle(TFontStyles Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  Changed();
}

void TFont::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  // The colour is not part of the drawing object: keep the handle.
  inherited::Changed();
}

void TFont::SetOrientation(int Value) {
  if (Value == FOrientation) return;
  FOrientation = Value;
  Changed();
}

void TFont::SetPitch(TFontPitch Value) {
  if (Value == FPitch) return;
  FPitch = Value;
  Changed();
}

void TFont::SetCharset(TFontCharset Value) {
  if (Value == FCharset) return;
  FCharset = Value;
  Changed();
}

void TFont::SetQuality(TFontQuality Value) {
  if (Value == FQuality) return;
  FQuality = Value;
  Changed();
}

LOGFONT TFont::LogFont() const {
  LOGFONT lf;
  lf.lfHeight = FHeight;
  lf.lfEscapement = FOrientation;
  lf.lfOrientation = FOrientation;
  lf.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = FStyle.Contains(fsItalic);
  lf.lfUnderline = FStyle.Contains(fsUnderline);
  lf.lfStrikeOut = FStyle.Contains(fsStrikeOut);
  lf.lfCharSet = FCharset;
  lf.lfQuality = FQuality == fqNonAntialiased ? NONANTIALIASED_QUALITY : DEFAULT_QUALITY;
  lf.lfPitchAndFamily = FPitch == fpFixed ? FIXED_PITCH : FPitch == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH;
  std::strncpy(lf.lfFaceName, FName.c_str(), LF_FACESIZE - 1);
  return lf;
}

HFONT TFont::Handle() const {
  if (!FHandle) FHandle = CreateFontIndirect(LogFont());
  return FHandle;
}

void TFont::SetHandle(HFONT Value) {
  LOGFONT lf;
  if (GetObject(Value, sizeof lf, &lf) != sizeof lf) return;
  FName = lf.lfFaceName[0] ? String(lf.lfFaceName) : FName;
  FHeight = lf.lfHeight;
  FOrientation = lf.lfEscapement;
  TFontStyles st;
  if (lf.lfWeight >= FW_SEMIBOLD) st.Include(fsBold);
  if (lf.lfItalic) st.Include(fsItalic);
  if (lf.lfUnderline) st.Include(fsUnderline);
  if (lf.lfStrikeOut) st.Include(fsStrikeOut);
  FStyle = st;
  uint8_t pitch = lf.lfPitchAndFamily & 3;
  FPitch = pitch == FIXED_PITCH ? fpFixed : pitch == VARIABLE_PITCH ? fpVariable : fpDefault;
  FCharset = lf.lfCharSet;
  Changed();
}

String TFont::ResolvedName() const {
  LOGFONT lf = LogFont();
  return ResolveFontFamily(FName, lf.lfPitchAndFamily);
}
