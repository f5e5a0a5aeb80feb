#pragma once
// Font resolution and the shared text context (internal to the layer).
//
// A family that is not installed falls back to an installed family of the same kind: monospace
// for fixed-pitch or modern fonts and names that say so, serif for roman fonts and serif names,
// sans-serif otherwise ("Tahoma" on a machine without it becomes the installed sans family).
// Sizes: a negative LOGFONT height is the em size in pixels, a positive one the cell height
// (ascent + descent), 0 the default of 11 pixels (8 points at 96 DPI).
#include <memory>
#include <mutex>
#include <string>

#include "platform/graphics/objects.h"

typedef struct _PangoContext PangoContext;
typedef struct _PangoFontDescription PangoFontDescription;
typedef struct _PangoFontMap PangoFontMap;

// Integer metrics of a resolved font, in pixels.
struct TTextFontMetrics {
  int Ascent = 0;
  int Descent = 0;
  int Height = 0;         // Ascent + Descent: the height of a line of text everywhere
  int EmHeight = 0;       // the em size
  int AveCharWidth = 0;
  int MaxCharWidth = 0;
  int UnderlinePosition = 0;  // below the baseline
  int UnderlineThickness = 1;
  int StrikeoutPosition = 0;  // above the baseline
};

class TTextFont : public TFontResources {
public:
  ~TTextFont() override;
  PangoFontDescription* Description() const { return FDesc; }
  const TTextFontMetrics& Metrics() const { return FMetrics; }
  const std::string& Family() const { return FFamily; }  // the installed family used
  // Identifies the glyph shapes and advances (family, size, weight, slant): layouts with the
  // same shape key are interchangeable.
  const std::string& ShapeKey() const { return FShapeKey; }
  bool Underline() const { return FUnderline; }
  bool StrikeOut() const { return FStrikeOut; }
  int Escapement() const { return FEscapement; }  // tenths of a degree, counter-clockwise

private:
  friend std::shared_ptr<TTextFont> MakeTextFont(const LOGFONT& lf);
  PangoFontDescription* FDesc = nullptr;
  TTextFontMetrics FMetrics;
  std::string FFamily, FShapeKey;
  bool FUnderline = false, FStrikeOut = false;
  int FEscapement = 0;
};

// The resources of a font object (created on first use, shared by equal fonts).
std::shared_ptr<TTextFont> TextFontOf(TGdiFont& font);
std::shared_ptr<TTextFont> TextFontFor(const LOGFONT& lf);

// The installed family a requested family resolves to. `pitchAndFamily` as in LOGFONT.
std::string ResolveFontFamily(const std::string& requested, uint8_t pitchAndFamily = 0);
// True when fontconfig knows the family as installed.
bool IsFontFamilyInstalled(const std::string& family);

// The text engine is used from one thread at a time: every entry point holds this lock.
std::recursive_mutex& TextMutex();
// The shared context (grey-scale antialiasing, metrics hinted to whole pixels, 96 DPI), left-to
// -right or right-to-left base direction.
PangoContext* SharedTextContext(bool rtl);
