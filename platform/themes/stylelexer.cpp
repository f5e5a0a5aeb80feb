#include "platform/themes/stylelexer.h"

namespace {
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHex(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool IsIdentChar(char c) { return IsLetter(c) || IsDigit(c) || c == '.' || c == '-' || c == '*'; }

String Place(const String& source, int line, int column) {
  if (line <= 0) return source + ": ";
  return source + ":" + IntToStr(line) + ":" + IntToStr(column) + ": ";
}
}  // namespace

EStyleError::EStyleError(const String& source, int line, int column, const String& what)
    : EReadError(Place(source, line, column) + what), FLine(line), FColumn(column), FWhat(what) {}

TStyleLexer::TStyleLexer(std::string_view text, String source) : FText(text), FSource(std::move(source)) {
  if (FText.size() >= 3 && FText.substr(0, 3) == "\xEF\xBB\xBF") FPos = 3;  // a byte-order mark
}

void TStyleLexer::Fail(int line, int column, const String& what) const {
  throw EStyleError(FSource, line, column, what);
}

void TStyleLexer::Advance() {
  if (FPos >= FText.size()) return;
  char c = FText[FPos++];
  if (c == '\n') {
    ++FLine;
    FColumn = 1;
  } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
    ++FColumn;  // columns count characters, not the continuation bytes of UTF-8
  } else {
    // a continuation byte belongs to the character already counted
  }
}

TStyleToken TStyleLexer::Next() {
  for (;;) {
    char c = Peek();
    if (c == ' ' || c == '\t' || c == '\r') Advance();
    else if (c == '/' && Peek(1) == '/') {
      while (Peek() != '\n' && Peek() != '\0') Advance();
    } else break;
  }
  TStyleToken t;
  t.Line = FLine;
  t.Column = FColumn;
  char c = Peek();
  if (FPos >= FText.size()) {
    t.Kind = stEnd;
    return t;
  }
  if (c == '\n') {
    Advance();
    t.Kind = stNewLine;
    return t;
  }
  if (IsLetter(c) || c == '*') {
    t.Kind = stIdent;
    while (IsIdentChar(Peek())) { t.Text += Peek(); Advance(); }
    return t;
  }
  if (IsDigit(c) || (c == '-' && IsDigit(Peek(1)))) {
    t.Kind = stNumber;
    t.Text += c;
    Advance();
    while (IsDigit(Peek())) { t.Text += Peek(); Advance(); }
    if (IsLetter(Peek()) || Peek() == '.') Fail(t.Line, t.Column, "malformed number '" + t.Text + Peek() + "...'");
    if (t.Text.size() > 9) Fail(t.Line, t.Column, "number " + t.Text + " is too large");
    t.Number = StrToInt64(t.Text);
    return t;
  }
  if (c == '#') {
    Advance();
    t.Kind = stColor;
    while (IsIdentChar(Peek())) { t.Text += Peek(); Advance(); }
    bool hex = !t.Text.empty();
    for (char h : t.Text) hex = hex && IsHex(h);
    size_t n = t.Text.size();
    if (!hex || (n != 3 && n != 6 && n != 8))
      Fail(t.Line, t.Column, "malformed colour '#" + t.Text + "' (expected #RGB, #RRGGBB or #RRGGBBAA)");
    return t;
  }
  if (c == '"') {
    Advance();
    t.Kind = stString;
    for (;;) {
      char s = Peek();
      if (s == '\0' || s == '\n') Fail(t.Line, t.Column, "unterminated string");
      Advance();
      if (s == '"') break;
      if (s == '\\') {
        char e = Peek();
        if (e != '"' && e != '\\') Fail(FLine, FColumn - 1, "unknown escape '\\" + String(1, e) + "' in a string");
        Advance();
        s = e;
      }
      t.Text += s;
    }
    if (!utf8::IsValid(t.Text)) Fail(t.Line, t.Column, "a string that is not UTF-8");
    return t;
  }
  if (String("{}(),;=:").find(c) != String::npos) {
    Advance();
    t.Kind = stPunct;
    t.Text = String(1, c);
    return t;
  }
  if ((static_cast<unsigned char>(c) & 0x80) != 0)
    Fail(t.Line, t.Column, "unexpected character outside a string");
  Fail(t.Line, t.Column, "unexpected character '" + String(1, c) + "'");
}
