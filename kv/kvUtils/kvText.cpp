#include "kv/kvUtils/kvText.h"

#include "platform/graphics/primitives.h"

namespace {
const String kEllipsis = "...";

void Draw(TCanvas* Canvas, const String& Text, const TRect& Rect, unsigned Flags) {
  TRect r = Rect;
  String s = Text;
  Canvas->TextRect(r, s, Flags);
}

bool Fits(const TSize& size, const TRect& Rect) { return size.cx <= Rect.Width() && size.cy <= Rect.Height(); }

// The largest n in [lo, hi] with fits(n), given fits(lo) and a fit that holds up to some n and
// fails above it; lo when none above it fits.
template <class F>
size_t LargestFitting(size_t lo, size_t hi, F fits) {
  while (lo < hi) {
    size_t mid = lo + (hi - lo + 1) / 2;
    if (fits(mid)) lo = mid;
    else hi = mid - 1;
  }
  return lo;
}
}  // namespace

unsigned BidiTextFlags(unsigned Flags, bool RightToLeft) {
  if (!RightToLeft) return Flags;
  if (Flags & DT_RIGHT) Flags &= ~static_cast<unsigned>(DT_RIGHT);
  else if (!(Flags & DT_CENTER)) Flags |= DT_RIGHT;
  return Flags | DT_RTLREADING;
}

TSize MeasureText(TCanvas* Canvas, const String& Text, int Width, unsigned Flags) {
  TRect r(0, 0, Width, 0);
  String s = Text;
  Canvas->TextRect(r, s, Flags | DT_CALCRECT);
  return r.Size();
}

void DrawSingleLineText(TCanvas* Canvas, const String& Text, const TRect& Rect, bool RightToLeft) {
  if (!Canvas || Text.empty()) return;
  Draw(Canvas, Text, Rect, BidiTextFlags(DT_SINGLELINE | DT_VCENTER | DT_LEFT, RightToLeft));
}

void DrawAlignedText(TCanvas* Canvas, const String& Text, const TRect& Rect, TAlignment Alignment) {
  if (!Canvas) return;
  unsigned align = Alignment == taRightJustify ? DT_RIGHT : Alignment == taCenter ? DT_CENTER : DT_LEFT;
  Draw(Canvas, Text, Rect, DT_SINGLELINE | DT_VCENTER | align);
}

void DrawRotatedText(TCanvas* Canvas, int Angle, int X, int Y, const String& Text, TColor Color) {
  if (!Canvas) return;
  HDC dc = Canvas->Handle();
  if (!dc) return;
  int saved = SaveDC(dc);
  Canvas->Font()->SetOrientation(Angle);
  SelectObject(dc, Canvas->Font()->Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(Color));
  SetTextAlign(dc, TA_LEFT | TA_TOP);
  ::TextOut(dc, X, Y, Text);
  RestoreDC(dc, saved);
}

String TrimTextToWidth(TCanvas* Canvas, const String& Text, int MaxWidth) {
  if (!Canvas || Canvas->TextWidth(Text) <= MaxWidth) return Text;
  // Deleting characters from the end until the rest and "..." fit finds the longest start that
  // fits; widths grow with the length, so a binary search over the length finds it too.
  size_t n = utf8::Length(Text);
  auto fits = [&](size_t k) { return Canvas->TextWidth(utf8::Copy(Text, 0, k) + kEllipsis) <= MaxWidth; };
  size_t k = n == 0 ? 0 : LargestFitting(0, n - 1, [&](size_t m) { return m == 0 || fits(m); });
  return utf8::Copy(Text, 0, k) + kEllipsis;
}

void DrawTextFit(TCanvas* Canvas, const String& Text, const TRect& Rect) {
  if (!Canvas) return;
  const unsigned single = DT_SINGLELINE | DT_VCENTER | DT_LEFT;
  if (MeasureText(Canvas, Text, Rect.Width(), single).cx <= Rect.Width()) {
    Draw(Canvas, Text, Rect, single);
  } else if (Fits(MeasureText(Canvas, Text, Rect.Width(), DT_WORDBREAK | DT_LEFT), Rect)) {
    Draw(Canvas, Text, Rect, DT_WORDBREAK | DT_LEFT);
  } else {
    Draw(Canvas, Text, Rect, single | DT_END_ELLIPSIS | DT_MODIFYSTRING);
  }
}

void DrawWrappedTextCentered(TCanvas* Canvas, const String& Text, const TRect& Rect, bool CharWrap) {
  if (!Canvas || Text.empty()) return;
  const unsigned flags = DT_WORDBREAK | DT_CENTER;
  int width = Rect.Width();
  String out;
  if (CharWrap) {
    // A space after each character that would overflow the line lets the platform break there;
    // the broken-off character starts the next line.
    String line;
    for (size_t i = 0; i < Text.size(); i += utf8::CharBytes(Text, i)) {
      String ch = Text.substr(i, utf8::CharBytes(Text, i));
      line += ch;
      if (ch == " ") {
        out += ch;
        line.clear();
      } else if (Canvas->TextWidth(line) <= width) {
        out += ch;
      } else {
        out += " " + ch;
        line = ch;
      }
    }
  } else {
    auto fits = [&](const String& s) { return Fits(MeasureText(Canvas, s, width, flags), Rect); };
    out = Text;
    if (!fits(out)) {
      size_t n = utf8::Length(Text);
      size_t k = LargestFitting(0, n - 1, [&](size_t m) { return m == 0 || fits(utf8::Copy(Text, 0, m)); });
      if (k == 0) {
        out = kEllipsis;
      } else if (k >= 4) {
        out = utf8::Copy(Text, 0, k - 3) + kEllipsis;
      } else {
        out = utf8::Copy(Text, 0, 1) + kEllipsis;
        if (!fits(out)) out = kEllipsis;
      }
    }
  }
  Draw(Canvas, out, Rect, flags);
}
