#pragma once
// TFont: a font by family name, size, style, colour and orientation.
//
// Size is in points at 96 pixels per inch and Height in pixels: Height = -Size * 96 / 72
// rounded (8 points = height -11). A negative height is the character (em) height, a positive
// one the cell height (ascent + descent). The family is resolved through fontconfig: a family
// that is not installed uses an installed family of the same kind (ResolvedName).
#include "platform/graphics/gobject.h"
#include "platform/graphics/objects.h"

KV_ENUM(TFontStyle, fsBold, fsItalic, fsUnderline, fsStrikeOut)
using TFontStyles = TSet<TFontStyle>;
KV_ENUM(TFontPitch, fpDefault, fpVariable, fpFixed)
KV_ENUM(TFontQuality, fqDefault, fqDraft, fqProof, fqNonAntialiased, fqAntialiased, fqClearType,
        fqClearTypeNatural)

using TFontCharset = uint8_t;
using TFontName = String;

class TFont : public TGraphicsObject {
  KV_CLASS(TFont, TGraphicsObject)
public:
  static constexpr int PixelsPerInch = 96;

  TFont();
  ~TFont() override;
  void Assign(const TPersistent* Source) override;

  const TFontName& Name() const { return FName; }
  void SetName(const TFontName& Value);
  int Height() const { return FHeight; }
  void SetHeight(int Value);
  int Size() const;
  void SetSize(int Value);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  // Tenths of a degree, counter-clockwise.
  int Orientation() const { return FOrientation; }
  void SetOrientation(int Value);
  TFontPitch Pitch() const { return FPitch; }
  void SetPitch(TFontPitch Value);
  TFontCharset Charset() const { return FCharset; }
  void SetCharset(TFontCharset Value);
  TFontQuality Quality() const { return FQuality; }
  void SetQuality(TFontQuality Value);

  // The installed family that draws this font.
  String ResolvedName() const;
  // The drawing object; made on first use, valid until a property changes.
  HFONT Handle() const;
  // Takes the properties of an existing font object (the handle stays the caller's).
  void SetHandle(HFONT Value);
  LOGFONT LogFont() const;

protected:
  void Changed() override;

private:
  void FreeHandle() const;
  TFontName FName = "Tahoma";
  int FHeight = -11;
  TFontStyles FStyle;
  TColor FColor = clWindowText;
  int FOrientation = 0;
  TFontPitch FPitch = fpDefault;
  TFontCharset FCharset = DEFAULT_CHARSET;
  TFontQuality FQuality = fqDefault;
  mutable HFONT FHandle = nullptr;
};
