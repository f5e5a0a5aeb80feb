// Text: DrawText flags, measuring, prefixes, tabs, ellipses, reading order, rotation.
#include <gtest/gtest.h>

#include <sstream>

#include "pixels.h"
#include "platform/graphics/primitives.h"
#include "platform/graphics/text.h"

namespace {
// A white surface with a DC holding an 11-pixel sans font, black text, transparent background.
class TextTest : public testing::Test {
protected:
  TextTest() : surface(200, 120), dc(CreateSurfaceDC(&surface)) {
    font = CreateFont(-11, 0, 0, 0, FW_NORMAL, false, false, false, "Tahoma");
    SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    Clear();
  }
  ~TextTest() override {
    DeleteDC(dc);
    DeleteObject(font);
  }
  void Clear() { surface.Fill(0xFFFFFFFFu); }
  int Width(std::string_view s) {
    TSize size;
    GetTextExtentPoint32(dc, s, &size);
    return size.cx;
  }
  int LineHeight() {
    TEXTMETRIC tm;
    GetTextMetrics(dc, &tm);
    return tm.tmHeight;
  }
  TRect Calc(std::string_view s, TRect r, unsigned flags) {
    DrawText(dc, s, r, flags | DT_CALCRECT);
    return r;
  }
  // Bounds of the pixels that are not white.
  TRect Ink() const {
    TRect box;
    for (int y = 0; y < surface.Height(); ++y)
      for (int x = 0; x < surface.Width(); ++x)
        if (surface.Row(y)[x] != 0xFFFFFFFFu) UnionRect(box, box, TRect(x, y, x + 1, y + 1));
    return box;
  }
  TSurface surface;
  HDC dc;
  HFONT font;
};
}  // namespace

TEST_F(TextTest, OneLineHeightForEveryTextAndEveryLine) {
  TEXTMETRIC tm;
  ASSERT_TRUE(GetTextMetrics(dc, &tm));
  EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
  EXPECT_GT(tm.tmHeight, 11);
  for (std::string_view s : {"Wq", "x", "", "\xC3\x89g"}) {
    TSize size;
    GetTextExtentPoint32(dc, s, &size);
    EXPECT_EQ(size.cy, tm.tmHeight) << s;
  }
  TRect r(0, 0, 200, 100);
  EXPECT_EQ(DrawText(dc, "one\ntwo\r\nthree\rfour", r, DT_CALCRECT), 4 * tm.tmHeight);
  EXPECT_EQ(r.Height(), 4 * tm.tmHeight);
  EXPECT_EQ(r.Width(), Width("three"));
}

TEST_F(TextTest, CalcRectWithWordBreakReturnsTheWrappedHeight) {
  const std::string text = "The quick brown fox jumps over the lazy dog";
  const int limit = 90;
  // Reference: greedy filling of whole words, measured one line at a time.
  std::istringstream words(text);
  std::string word, line;
  int lines = 0, widest = 0;
  while (words >> word) {
    std::string candidate = line.empty() ? word : line + " " + word;
    if (!line.empty() && Width(candidate) > limit) {
      ++lines;
      widest = std::max(widest, Width(line));
      line = word;
    } else {
      line = candidate;
    }
  }
  ++lines;
  widest = std::max(widest, Width(line));
  ASSERT_GT(lines, 2);
  TRect r = Calc(text, TRect(5, 7, 5 + limit, 8), DT_WORDBREAK);
  EXPECT_EQ(r, TRect(5, 7, 5 + widest, 7 + lines * LineHeight()));

  // A word longer than the width is not split: the rectangle widens to it.
  TRect narrow = Calc("Supercalifragilistic", TRect(0, 0, 30, 0), DT_WORDBREAK);
  EXPECT_EQ(narrow.Height(), LineHeight());
  EXPECT_EQ(narrow.Width(), Width("Supercalifragilistic"));
  // DT_SINGLELINE wins over DT_WORDBREAK.
  EXPECT_EQ(Calc(text, TRect(0, 0, limit, 0), DT_WORDBREAK | DT_SINGLELINE).Height(), LineHeight());
}

TEST_F(TextTest, EndEllipsisFitsAndModifyStringReturnsTheShortenedText) {
  const std::string original = "A caption far too long for its place";
  String text = original;
  TRect r(0, 0, 100, 20);
  DrawText(dc, text, r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING);
  ASSERT_NE(text, original);
  ASSERT_GE(text.size(), 3u);
  EXPECT_EQ(text.substr(text.size() - 3), "...");
  std::string kept = text.substr(0, text.size() - 3);
  EXPECT_EQ(original.compare(0, kept.size(), kept), 0) << "the start of the text is kept";
  EXPECT_LE(Width(text), 100);
  EXPECT_GT(Width(original.substr(0, kept.size() + 1) + "..."), 100) << "the longest start that fits";
  // What is drawn is the shortened text.
  TRect shown = Calc(original, TRect(0, 0, 100, 20), DT_SINGLELINE | DT_END_ELLIPSIS);
  EXPECT_EQ(shown.Width(), Width(text));

  String unchanged = original;
  TRect r2(0, 0, 100, 20);
  DrawText(dc, unchanged, r2, DT_SINGLELINE | DT_END_ELLIPSIS);
  EXPECT_EQ(unchanged, original) << "no DT_MODIFYSTRING: the caller's text stays";
  String fits = "Short";
  TRect r3(0, 0, 100, 20);
  DrawText(dc, fits, r3, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING);
  EXPECT_EQ(fits, "Short");
}

TEST_F(TextTest, EllipsisOfWrappedTextEndsTheLastLineThatFits) {
  String text = "one two three four five six seven eight nine ten eleven twelve";
  TRect r(0, 0, 60, 2 * LineHeight() + 3);
  DrawText(dc, text, r, DT_WORDBREAK | DT_END_ELLIPSIS | DT_MODIFYSTRING);
  EXPECT_EQ(text.substr(text.size() - 3), "...");
  TRect calc = Calc(text, TRect(0, 0, 60, 0), DT_WORDBREAK | DT_NOPREFIX);
  EXPECT_EQ(calc.Height(), 2 * LineHeight());
}

TEST_F(TextTest, PathEllipsisKeepsTheLastComponent) {
  String path = "/home/user/documents/projects/report-final.txt";
  TRect r(0, 0, 150, 20);
  DrawText(dc, path, r, DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_MODIFYSTRING);
  EXPECT_LE(Width(path), 150);
  EXPECT_NE(path.find(".../report-final.txt"), std::string::npos) << path;
  EXPECT_EQ(path.rfind("/home", 0), 0u) << path;
}

TEST_F(TextTest, PrefixesUnderlineAndDoubleAmpersandIsLiteral) {
  struct Case {
    const char* text;
    unsigned flags;
    const char* measuredAs;
  };
  for (Case c : {Case{"&File", 0, "File"}, Case{"Save && quit", 0, "Save & quit"}, Case{"&File", DT_NOPREFIX, "&File"},
                 Case{"&File", DT_HIDEPREFIX, "File"}, Case{"end&", 0, "end"}}) {
    EXPECT_EQ(Calc(c.text, TRect(0, 0, 200, 0), DT_SINGLELINE | c.flags).Width(), Width(c.measuredAs))
        << c.text << " " << c.flags;
  }
  EXPECT_EQ(RemovePrefixes("&Save && &quit&"), "Save & quit");

  // DT_PREFIXONLY draws just the underline: a bar under the "F", below the baseline.
  TEXTMETRIC tm;
  GetTextMetrics(dc, &tm);
  TRect r(10, 10, 190, 40);
  DrawText(dc, "&File", r, DT_SINGLELINE | DT_PREFIXONLY);
  TRect bar = Ink();
  ASSERT_FALSE(bar.IsEmpty());
  EXPECT_GT(bar.Top, 10 + tm.tmAscent - 1);
  EXPECT_LE(bar.Bottom, 10 + tm.tmHeight);
  EXPECT_NEAR(bar.Width(), Width("F"), 2);
  EXPECT_NEAR(bar.Left, 10, 1);
  Clear();
  DrawText(dc, "&File", r, DT_SINGLELINE | DT_HIDEPREFIX | DT_PREFIXONLY);
  EXPECT_TRUE(Ink().IsEmpty()) << "hidden prefixes draw no underline";
}

TEST_F(TextTest, TabsExpandToStopsOfEightAverageCharacters) {
  TEXTMETRIC tm;
  GetTextMetrics(dc, &tm);
  TRect wide(0, 0, 400, 0);
  EXPECT_EQ(Calc("a\tb", wide, DT_SINGLELINE | DT_EXPANDTABS).Width(), 8 * tm.tmAveCharWidth + Width("b"));
  EXPECT_EQ(Calc("a\tb\tc", wide, DT_SINGLELINE | DT_EXPANDTABS).Width(), 16 * tm.tmAveCharWidth + Width("c"));
  // DT_TABSTOP takes the tab size from bits 8..15, so those bits (DT_CALCRECT among them) are
  // no flags: look where the "b" is drawn instead.
  TRect r(10, 10, 190, 40);
  DrawText(dc, "\tb", r, DT_SINGLELINE | DT_EXPANDTABS | DT_TABSTOP | (4u << 8));
  EXPECT_NEAR(Ink().Left, 10 + 4 * tm.tmAveCharWidth, 2);
  Clear();
  DrawText(dc, "\tb", r, DT_SINGLELINE | DT_EXPANDTABS);
  EXPECT_NEAR(Ink().Left, 10 + 8 * tm.tmAveCharWidth, 2);
  EXPECT_EQ(Calc("a\tb", wide, DT_SINGLELINE).Width(), Width("a b")) << "unexpanded tabs are spaces";
}

TEST_F(TextTest, RightToLeftReadingKeepsAbsoluteAlignment) {
  TSurface rtl(120, 20), ltr(120, 20);
  for (auto [s, text, flags] : {std::tuple{&rtl, "abc!", unsigned(DT_RTLREADING)}, std::tuple{&ltr, "!abc", 0u}}) {
    s->Fill(0xFFFFFFFFu);
    HDC d = CreateSurfaceDC(s);
    SelectObject(d, font);
    SetBkMode(d, TRANSPARENT);
    TRect r(0, 0, 120, 20);
    DrawText(d, text, r, DT_SINGLELINE | DT_RIGHT | flags);
    DeleteDC(d);
  }
  // The neutral "!" takes the paragraph's direction: it ends up on the left of "abc".
  bool same = true;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 120; ++x) same = same && rtl.Row(y)[x] == ltr.Row(y)[x];
  EXPECT_TRUE(same);
  // DT_RIGHT still means the right edge; DT_LEFT the left edge.
  TRect r(20, 10, 180, 30);
  DrawText(dc, "abc!", r, DT_SINGLELINE | DT_RIGHT | DT_RTLREADING);
  EXPECT_NEAR(Ink().Right, 180, 2);
  Clear();
  DrawText(dc, "abc!", r, DT_SINGLELINE | DT_LEFT | DT_RTLREADING);
  EXPECT_NEAR(Ink().Left, 20, 2);
}

TEST_F(TextTest, VerticalPlacementAndReturnValue) {
  int h = LineHeight();
  TRect r(0, 10, 100, 10 + h + 20);
  EXPECT_EQ(DrawText(dc, "Mid", r, DT_SINGLELINE | DT_VCENTER), 10 + h);
  EXPECT_EQ(DrawText(dc, "Low", r, DT_SINGLELINE | DT_BOTTOM), h + 20);
  EXPECT_EQ(DrawText(dc, "Top", r, DT_SINGLELINE), h);
}

TEST_F(TextTest, ClippedToTheRectangleUnlessNoClip) {
  TRect r(10, 10, 20, 30);
  DrawText(dc, "WWWWWW", r, DT_SINGLELINE);
  EXPECT_LE(Ink().Right, 20);
  Clear();
  DrawText(dc, "WWWWWW", r, DT_SINGLELINE | DT_NOCLIP);
  EXPECT_GT(Ink().Right, 30);
}

TEST_F(TextTest, GreyscaleAntialiasingOnly) {
  TRect r(0, 0, 200, 40);
  DrawText(dc, "Grey glyphs: ag", r, DT_SINGLELINE);
  SetTextColor(dc, clRed);
  TRect r2(0, 50, 200, 90);
  DrawText(dc, "Red on white", r2, DT_SINGLELINE);
  int grey = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 200; ++x) {
      uint32_t p = surface.Row(y)[x];
      EXPECT_EQ(PixelRed(p), PixelGreen(p));
      EXPECT_EQ(PixelGreen(p), PixelBlue(p));
      grey += p != 0xFFFFFFFFu;
    }
  EXPECT_GT(grey, 50);
  for (int y = 50; y < 90; ++y)
    for (int x = 0; x < 200; ++x) {
      uint32_t p = surface.Row(y)[x];
      EXPECT_EQ(PixelRed(p), 255u);
      EXPECT_EQ(PixelGreen(p), PixelBlue(p));
    }
}

TEST_F(TextTest, OpaqueBackgroundFillsTheLineBox) {
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, clBlue);
  TRect r(5, 5, 150, 60);
  DrawText(dc, "Box", r, 0);
  EXPECT_EQ(Ink(), TRect(5, 5, 5 + Width("Box"), 5 + LineHeight()));
  EXPECT_EQ(kvtest::At(surface, 5, 5), 0xFF0000FFu);
}

struct RotationCase {
  int escapement;
  int dx0, dy0, dx1, dy1;  // expected box relative to the reference point, in W / H units
};

TEST_F(TextTest, RotatedStringLandsWhereItsOrientationSays) {
  const TPoint at(100, 60);
  for (RotationCase c : {RotationCase{0, 0, 0, 1, 1}, RotationCase{900, 0, -1, 1, 0}, RotationCase{1800, -1, -1, 0, 0},
                         RotationCase{2700, -1, 0, 0, 1}}) {
    Clear();
    HFONT rotated = CreateFont(-11, 0, c.escapement, c.escapement, FW_NORMAL, false, false, false, "Tahoma");
    HGDIOBJ old = SelectObject(dc, rotated);
    int w = Width("Hello"), h = LineHeight();
    TextOut(dc, at.X, at.Y, "Hello");
    SelectObject(dc, old);
    DeleteObject(rotated);
    // Along the text: w; across it: h.
    bool vertical = c.escapement == 900 || c.escapement == 2700;
    int ex = vertical ? h : w, ey = vertical ? w : h;
    TRect expected(at.X + c.dx0 * ex, at.Y + c.dy0 * ey, at.X + c.dx1 * ex, at.Y + c.dy1 * ey);
    TRect ink = Ink();
    EXPECT_TRUE(expected.Inflated(1, 1).Contains(ink)) << c.escapement;
    EXPECT_GT(ink.Width() * 2, expected.Width()) << c.escapement;
    EXPECT_GT(ink.Height() * 2, expected.Height()) << c.escapement;
  }
}

TEST_F(TextTest, TextAlignAndCurrentPosition) {
  SetTextAlign(dc, TA_RIGHT | TA_BASELINE);
  TextOut(dc, 100, 50, "Right");
  TEXTMETRIC tm;
  GetTextMetrics(dc, &tm);
  TRect ink = Ink();
  EXPECT_LE(ink.Right, 101);
  EXPECT_LE(ink.Bottom, 50 + tm.tmDescent);
  EXPECT_GE(ink.Top, 50 - tm.tmAscent);
  SetTextAlign(dc, TA_UPDATECP);
  MoveToEx(dc, 10, 80, nullptr);
  TextOut(dc, 0, 0, "ab");
  TPoint pos;
  GetCurrentPositionEx(dc, &pos);
  EXPECT_EQ(pos, TPoint(10 + Width("ab"), 80));
}

TEST_F(TextTest, ExtentExReportsCumulativeWidthsAndTheFit) {
  std::vector<int> widths;
  int fit = 0;
  TSize size;
  ASSERT_TRUE(GetTextExtentExPoint(dc, "abc", Width("ab"), &fit, &widths, &size));
  EXPECT_EQ(widths, (std::vector<int>{Width("a"), Width("ab"), Width("abc")}));
  EXPECT_EQ(fit, 2);
  EXPECT_EQ(size.cx, Width("abc"));
}

TEST_F(TextTest, LayoutsAreCachedByFontTextWidthAndFlags) {
  TRect r(0, 0, 100, 20);
  DrawText(dc, "Cached caption", r, DT_SINGLELINE);
  auto before = TextLayoutCacheStats();
  DrawText(dc, "Cached caption", r, DT_SINGLELINE);
  TRect moved(30, 40, 130, 60);  // position does not matter
  DrawText(dc, "Cached caption", moved, DT_SINGLELINE | DT_VCENTER);
  auto hit = TextLayoutCacheStats();
  EXPECT_EQ(hit.Hits, before.Hits + 2);
  EXPECT_EQ(hit.Misses, before.Misses);
  DrawText(dc, "Cached caption", r, DT_SINGLELINE | DT_END_ELLIPSIS);  // other flags
  TRect narrow(0, 0, 50, 20);
  DrawText(dc, "Cached caption", narrow, DT_SINGLELINE | DT_END_ELLIPSIS);  // other width
  EXPECT_EQ(TextLayoutCacheStats().Misses, hit.Misses + 2);
}

TEST_F(TextTest, BadTextAndExtremeFontsAreHandled) {
  TRect r(0, 0, 200, 40);
  const char bad[] = {'o', 'k', '\xC3', '(', '\xFF', '\0', 'z'};
  std::string_view text(bad, sizeof bad);
  EXPECT_GT(DrawText(dc, text, r, DT_SINGLELINE), 0);
  TSize size;
  ASSERT_TRUE(GetTextExtentPoint32(dc, text, &size));
  EXPECT_GT(size.cx, Width("ok"));
  for (int height : {INT32_MIN, -100000, 100000, 1}) {
    HFONT f = CreateFont(height, 0, 0, 0, FW_NORMAL, false, false, false, "Tahoma");
    HGDIOBJ old = SelectObject(dc, f);
    TEXTMETRIC tm;
    ASSERT_TRUE(GetTextMetrics(dc, &tm));
    EXPECT_GT(tm.tmHeight, 0) << height;
    SelectObject(dc, old);
    DeleteObject(f);
  }
}
