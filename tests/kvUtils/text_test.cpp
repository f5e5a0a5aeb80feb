// Text routines: bidi flags, single-line and aligned text, rotated text, trimming, fitting and
// the wrapped, centred text with its two ways of making text fit.
#include <gtest/gtest.h>

#include "kv/kvUtils/kvText.h"
#include "support.h"

using kvutest::kBlack;
using kvutest::kRed;
using kvutest::kWhite;
using kvutest::TPaintBox;

namespace {
// What the platform's DrawText draws with these flags, for comparing pictures.
std::vector<std::string> Reference(int w, int h, const String& text, const TRect& r, unsigned flags) {
  TPaintBox box(w, h);
  TRect rr = r;
  String s = text;
  box.Canvas()->TextRect(rr, s, flags);
  return box.Picture();
}
bool HasInk(const TPaintBox& box) { return !box.Untouched(); }
}  // namespace

TEST(TextTest, BidiTextFlags) {
  struct Case {
    unsigned In;
    bool Rtl;
    unsigned Out;
  };
  const Case cases[] = {
      {DT_LEFT | DT_VCENTER, false, DT_LEFT | DT_VCENTER},
      {DT_RIGHT, false, DT_RIGHT},
      {DT_LEFT | DT_VCENTER | DT_SINGLELINE, true, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_RTLREADING},
      {DT_RIGHT | DT_WORDBREAK, true, DT_WORDBREAK | DT_RTLREADING},
      {DT_CENTER, true, DT_CENTER | DT_RTLREADING},
      {DT_CENTER | DT_RIGHT, true, DT_CENTER | DT_RTLREADING},
  };
  for (const Case& c : cases) EXPECT_EQ(BidiTextFlags(c.In, c.Rtl), c.Out) << std::hex << c.In << " " << c.Rtl;
}

TEST(TextTest, SingleLineAndAlignedTextDrawAsTheirFlagsSay) {
  const TRect r(2, 1, 78, 19);
  TPaintBox left(80, 20), rtl(80, 20), empty(80, 20);
  DrawSingleLineText(left.Canvas(), "Caption", r, false);
  DrawSingleLineText(rtl.Canvas(), "Caption", r, true);
  DrawSingleLineText(empty.Canvas(), "", r, true);
  EXPECT_EQ(left.Picture(), Reference(80, 20, "Caption", r, DT_SINGLELINE | DT_VCENTER | DT_LEFT));
  EXPECT_EQ(rtl.Picture(), Reference(80, 20, "Caption", r, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_RTLREADING));
  EXPECT_NE(left.Picture(), rtl.Picture());
  EXPECT_TRUE(empty.Untouched());
  const std::pair<TAlignment, unsigned> aligned[] = {
      {taLeftJustify, DT_LEFT}, {taRightJustify, DT_RIGHT}, {taCenter, DT_CENTER}};
  for (auto [alignment, flag] : aligned) {
    TPaintBox box(80, 20);
    DrawAlignedText(box.Canvas(), "Caption", r, alignment);
    EXPECT_EQ(box.Picture(), Reference(80, 20, "Caption", r, DT_SINGLELINE | DT_VCENTER | flag)) << int(alignment);
  }
}

TEST(TextTest, RotatedTextUsesItsColourAndLeavesTheFontTurned) {
  TPaintBox box(40, 60);
  TCanvas* c = box.Canvas();
  c->Font()->SetColor(clBlack);
  c->Brush()->SetColor(clWhite);  // opaque brush: the routine still draws transparently
  DrawRotatedText(c, 900, 10, 50, "Wide", clRed);
  EXPECT_EQ(c->Font()->Orientation(), 900);
  int minX = 40, maxX = -1, minY = 60, maxY = -1;
  bool blackSeen = false;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 40; ++x) {
      uint32_t p = box.At(x, y);
      if (p == kWhite) continue;
      if (p == kBlack) blackSeen = true;
      minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y), maxY = std::max(maxY, y);
    }
  ASSERT_GE(maxX, 0);
  EXPECT_FALSE(blackSeen);
  EXPECT_GT(maxY - minY, maxX - minX);  // turned upright: taller than wide
  EXPECT_EQ(box.At(maxX, 0), kWhite);
  // The canvas draws in its own font colour again afterwards.
  c->Font()->SetOrientation(0);
  c->Brush()->SetStyle(bsClear);
  TPaintBox after(40, 20);
  after.Canvas()->Font()->SetColor(clBlack);
  DrawRotatedText(after.Canvas(), 0, 0, 0, "ab", clRed);
  after.Canvas()->TextOut(20, 0, "ab");
  bool black = false;
  for (int y = 0; y < 20; ++y)
    for (int x = 20; x < 40; ++x) black = black || after.At(x, y) == kBlack;
  EXPECT_TRUE(black);
}

TEST(TextTest, TrimTextToWidth) {
  TPaintBox box(10, 10);
  TCanvas* c = box.Canvas();
  const String text = "Ästhetik und Übermut";
  int full = c->TextWidth(text);
  EXPECT_EQ(TrimTextToWidth(c, text, full), text);  // fits: unchanged, no "..."
  for (int width : {full - 1, full / 2, c->TextWidth("Äs...")}) {
    String t = TrimTextToWidth(c, text, width);
    ASSERT_GE(t.size(), 3u);
    EXPECT_EQ(t.substr(t.size() - 3), "...");
    EXPECT_LE(c->TextWidth(t), width) << t;
    String start = t.substr(0, t.size() - 3);
    EXPECT_EQ(text.substr(0, start.size()), start);
    EXPECT_TRUE(utf8::IsValid(start));
    // The longest start that fits: one more character does not.
    size_t n = utf8::Length(start);
    EXPECT_GT(c->TextWidth(utf8::Copy(text, 0, n + 1) + "..."), width) << t;
  }
  EXPECT_EQ(TrimTextToWidth(c, text, 1), "...");
}

TEST(TextTest, TextFitPicksOneLineThenWrappedThenEllipsis) {
  TPaintBox probe(10, 10);
  int line = probe.Canvas()->TextHeight("Ag");
  const String text = "several words of text";
  int w = probe.Canvas()->TextWidth("several words") + 2;
  struct Case {
    String Text;
    TRect R;
    unsigned Flags;
  };
  const Case cases[] = {
      {"short", TRect(1, 1, w, 3 * line), DT_SINGLELINE | DT_VCENTER | DT_LEFT},
      {text, TRect(1, 1, w, 3 * line), DT_WORDBREAK | DT_LEFT},
      {text, TRect(1, 1, w, line + line / 2), DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS},
  };
  for (const Case& c : cases) {
    TPaintBox box(w + 2, 3 * line + 2);
    DrawTextFit(box.Canvas(), c.Text, c.R);
    EXPECT_EQ(box.Picture(), Reference(w + 2, 3 * line + 2, c.Text, c.R, c.Flags)) << c.Text << " " << c.R.Bottom;
  }
}

TEST(TextTest, WrappedTextCenteredShortensToFit) {
  TPaintBox probe(10, 10);
  TCanvas* pc = probe.Canvas();
  int line = pc->TextHeight("Ag");
  const String text = "abcdefghij";
  const unsigned flags = DT_WORDBREAK | DT_CENTER;
  int wAbc = pc->TextWidth("abc");
  struct Case {
    int Width;
    String Drawn;
  };
  const Case cases[] = {
      {pc->TextWidth(text) + 4, text},                                   // fits as it is
      {pc->TextWidth("abcdef"), "abc..."},                               // six fit: the last three become "."
      {wAbc, pc->TextWidth("a...") <= wAbc ? String("a...") : "..."},  // fewer than four fit
      {1, "..."},                                                        // nothing fits
  };
  for (const Case& c : cases) {
    TRect r(0, 0, c.Width, line);
    TPaintBox box(std::max(c.Width, 40), line);
    DrawWrappedTextCentered(box.Canvas(), text, r, false);
    EXPECT_EQ(box.Picture(), Reference(std::max(c.Width, 40), line, c.Drawn, r, flags)) << c.Drawn;
  }
  TPaintBox empty(20, line);
  DrawWrappedTextCentered(empty.Canvas(), "", TRect(0, 0, 20, line), true);
  EXPECT_TRUE(empty.Untouched());
}

TEST(TextTest, CharWrapBreaksWordsSoNoLineIsWiderThanTheRect) {
  TPaintBox probe(10, 10);
  TCanvas* pc = probe.Canvas();
  int line = pc->TextHeight("Ag");
  int w = pc->TextWidth("abcd");
  ASSERT_LE(pc->TextWidth("efgh"), w);
  ASSERT_GT(pc->TextWidth("efghi"), w);
  TRect r(0, 0, w, 4 * line);
  TPaintBox box(w, 4 * line);
  DrawWrappedTextCentered(box.Canvas(), "abcdefghij", r, true);
  EXPECT_EQ(box.Picture(), Reference(w, 4 * line, "abcd efgh ij", r, DT_WORDBREAK | DT_CENTER));
  // Spaces in the text are breaks of their own.
  TPaintBox spaced(w, 4 * line);
  DrawWrappedTextCentered(spaced.Canvas(), "ab cdefgh", r, true);
  EXPECT_EQ(spaced.Picture(), Reference(w, 4 * line, "ab cdef gh", r, DT_WORDBREAK | DT_CENTER));
  EXPECT_TRUE(HasInk(spaced));
}
