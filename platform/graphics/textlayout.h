#pragma once
// Text layouts (internal): prefix processing, line breaking, ellipses and tabs, cached by font,
// text, width and flags.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/graphics/textfont.h"

typedef struct _PangoLayout PangoLayout;
typedef struct _PangoLayoutLine PangoLayoutLine;

struct TLaidLine {
  PangoLayoutLine* Line = nullptr;
  int Width = 0;    // width (trailing spaces of a wrapped line excluded)
  int OriginX = 0;  // where to put the line's origin relative to its visible left edge
  bool RTL = false;
};

struct TLaidUnderline {
  int Line = 0;
  int X0 = 0, X1 = 0;  // relative to the line origin
};

class TTextLayout {
public:
  TTextLayout() = default;
  ~TTextLayout();
  TTextLayout(const TTextLayout&) = delete;
  TTextLayout& operator=(const TTextLayout&) = delete;

  PangoLayout* Layout = nullptr;
  std::string Text;      // what is shown
  std::string Modified;  // the caller's text with the ellipsis applied (DT_MODIFYSTRING)
  bool Shortened = false;
  std::vector<TLaidLine> Lines;
  std::vector<TLaidUnderline> Underlines;  // prefix underlines
  int MaxWidth = 0;
};

struct TLayoutRequest {
  std::shared_ptr<TTextFont> Font;
  std::string_view Text;
  unsigned Flags = 0;  // DT_ flags
  int Width = -1;      // wrapping and ellipsis width; -1: none
  int Height = -1;     // height for the last-line ellipsis of wrapped text; -1: none
  int TabChars = 8;
};

// The layout for a request, from the cache when possible. Call with TextMutex held.
std::shared_ptr<const TTextLayout> GetTextLayout(const TLayoutRequest& request);
// Width of a plain single line (no cache).
int MeasureTextWidth(const TTextFont& font, std::string_view text);
