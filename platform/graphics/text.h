#pragma once
// Text drawing and measuring with the font selected into a device context.
//
// Text height. Everywhere in the framework the height of a line of text is the selected font's
// ascent plus descent, rounded up to whole pixels (TEXTMETRIC::tmHeight): GetTextExtentPoint32
// reports it for any string, DrawText stacks lines at that pitch, TCanvas::TextHeight returns
// it. Widths are the sum of the glyph advances, hinted to whole pixels.
//
// Strings are UTF-8. Rendering uses grey-scale antialiasing only, so a glyph's coverage is the
// same in every colour channel.
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/strings.h"
#include "platform/graphics/dc.h"

enum : unsigned {
  DT_TOP = 0x0, DT_LEFT = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4, DT_BOTTOM = 0x8,
  DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_EXPANDTABS = 0x40, DT_TABSTOP = 0x80,
  DT_NOCLIP = 0x100, DT_EXTERNALLEADING = 0x200, DT_CALCRECT = 0x400, DT_NOPREFIX = 0x800,
  DT_INTERNAL = 0x1000, DT_EDITCONTROL = 0x2000, DT_PATH_ELLIPSIS = 0x4000,
  DT_END_ELLIPSIS = 0x8000, DT_MODIFYSTRING = 0x10000, DT_RTLREADING = 0x20000,
  DT_WORD_ELLIPSIS = 0x40000, DT_NOFULLWIDTHCHARBREAK = 0x80000, DT_HIDEPREFIX = 0x100000,
  DT_PREFIXONLY = 0x200000
};

enum : unsigned { ETO_OPAQUE = 0x2, ETO_CLIPPED = 0x4, ETO_RTLREADING = 0x80 };

struct TEXTMETRIC {
  int tmHeight = 0;
  int tmAscent = 0;
  int tmDescent = 0;
  int tmInternalLeading = 0;
  int tmExternalLeading = 0;
  int tmAveCharWidth = 0;
  int tmMaxCharWidth = 0;
  int tmWeight = 0;
  int tmOverhang = 0;
  uint8_t tmItalic = 0;
  uint8_t tmUnderlined = 0;
  uint8_t tmStruckOut = 0;
  uint8_t tmPitchAndFamily = 0;
};

// Draws formatted text in rect (logical coordinates) and returns the height of the text, or,
// with DT_VCENTER or DT_BOTTOM, the offset from rect.Top to the bottom of the drawn text.
//  - Lines: CR, LF and CR LF break lines unless DT_SINGLELINE. DT_WORDBREAK wraps at word
//    boundaries within the width; a word longer than the width is not split. DT_VCENTER and
//    DT_BOTTOM apply to single-line text only.
//  - Alignment: DT_LEFT, DT_CENTER, DT_RIGHT are absolute, also with DT_RTLREADING (which sets
//    the reading order: the paragraph runs right to left).
//  - Tabs: DT_EXPANDTABS expands tabs to stops every 8 average character widths (DT_TABSTOP:
//    every (format >> 8) & 0xFF, those bits then being no flags); otherwise a tab is a space.
//  - Prefixes: "&" underlines the next character and "&&" is a literal "&", unless
//    DT_NOPREFIX; DT_HIDEPREFIX removes the "&" without underlining, DT_PREFIXONLY draws only
//    the underlines.
//  - Ellipses: DT_END_ELLIPSIS (and DT_WORD_ELLIPSIS) shorten a line that is too wide to the
//    longest start that fits followed by "..."; with DT_WORDBREAK the last line that fits the
//    rectangle's height ends so when more text follows. DT_PATH_ELLIPSIS keeps the last path
//    component (after the last "/" or "\") and shortens the part before it ("c:\...\file.txt");
//    text without a separator loses its middle.
//  - DT_CALCRECT draws nothing and sets rect.Right and rect.Bottom to bound the text.
//  - Clipped to rect unless DT_NOCLIP. In OPAQUE background mode each line's box is filled
//    with the background colour first.
//  - A rotated font (escapement) rotates the drawn block about rect's top-left corner.
int DrawText(HDC dc, std::string_view text, TRect& rect, unsigned format);
// The same; with DT_MODIFYSTRING and an ellipsis, text receives the shortened text.
int DrawText(HDC dc, String& text, TRect& rect, unsigned format);

// One line of text at (x, y), placed by the text alignment (TA_LEFT/TA_CENTER/TA_RIGHT,
// TA_TOP/TA_BASELINE/TA_BOTTOM; TA_UPDATECP draws at and advances the current position). A
// rotated font turns the line about the reference point. No prefix processing.
bool TextOut(HDC dc, int x, int y, std::string_view text);
// ETO_OPAQUE fills rect with the background colour first, ETO_CLIPPED clips to rect.
bool ExtTextOut(HDC dc, int x, int y, unsigned options, const TRect* rect, std::string_view text);

bool GetTextExtentPoint32(HDC dc, std::string_view text, TSize* size);
// Extent of one line plus, per code point, the width of the text up to and including it; *fit
// receives how many code points fit in maxExtent (when fit is not null).
bool GetTextExtentExPoint(HDC dc, std::string_view text, int maxExtent, int* fit, std::vector<int>* widths,
                          TSize* size);
bool GetTextMetrics(HDC dc, TEXTMETRIC* tm);
// The installed family that the selected font uses.
String GetTextFace(HDC dc);

// The text without prefix characters ("&&" becomes "&", a lone "&" disappears).
String RemovePrefixes(std::string_view text);

// Layouts are cached by (font, text, width, flags). The statistics let tests and benchmarks see
// the cache work.
struct TTextLayoutCacheStats {
  uint64_t Hits = 0, Misses = 0;
  size_t Size = 0, Capacity = 0;
};
TTextLayoutCacheStats TextLayoutCacheStats();
void ClearTextLayoutCache();
void SetTextLayoutCacheCapacity(size_t capacity);
