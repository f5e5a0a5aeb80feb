#include "platform/streaming/formlexer.h"

#include <cerrno>
#include <cstdlib>

#include "platform/core/exceptions.h"

namespace {
bool IsIdentStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9') || c == '.'; }
int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
}  // namespace

TFormLexer::TFormLexer(std::string_view text) : FText(text) { Scan(); }

bool TFormLexer::IsIdent(std::string_view word) const {
  return FCurrent.Kind == TFormToken::Ident && SameText(FCurrent.Text, word);
}

void TFormLexer::ErrorAt(const TFormTokenValue& at, const String& message) const {
  throw EReadError("line " + IntToStr(at.Line) + ", column " + IntToStr(at.Column) + ": " + message);
}

void TFormLexer::Error(const String& message) const { ErrorAt(FCurrent, message); }

void TFormLexer::ErrorHere(const String& message) const {
  throw EReadError("line " + IntToStr(FLine) + ", column " + IntToStr(FCol) + ": " + message);
}

TFormTokenValue TFormLexer::Next() {
  TFormTokenValue t = std::move(FCurrent);
  Scan();
  return t;
}

void TFormLexer::SkipBlanks() {
  while (FPos < FText.size()) {
    char c = FText[FPos];
    if (c == '\n') {
      ++FLine;
      FCol = 1;
      ++FPos;
    } else if (static_cast<unsigned char>(c) <= ' ') {
      ++FCol;
      ++FPos;
    } else if (c == '/' && FPos + 1 < FText.size() && FText[FPos + 1] == '/') {
      while (FPos < FText.size() && FText[FPos] != '\n') ++FPos;
    } else {
      break;
    }
  }
}

void TFormLexer::Scan() {
  SkipBlanks();
  FCurrent = TFormTokenValue();
  FCurrent.Line = FLine;
  FCurrent.Column = FCol;
  if (FPos >= FText.size()) return;
  auto advance = [&](size_t n) {
    FPos += n;
    FCol += static_cast<int>(n);
  };
  char c = FText[FPos];
  if (IsIdentStart(c)) {
    size_t b = FPos;
    while (FPos < FText.size() && IsIdentChar(FText[FPos])) advance(1);
    FCurrent.Kind = TFormToken::Ident;
    FCurrent.Text = String(FText.substr(b, FPos - b));
    if (FCurrent.Text.back() == '.') ErrorAt(FCurrent, "a name cannot end with '.'");
    return;
  }
  if ((c >= '0' && c <= '9') || c == '-' || c == '$') {
    size_t b = FPos;
    if (c == '-') advance(1);
    if (FPos < FText.size() && FText[FPos] == '$') {
      advance(1);
      size_t hb = FPos;
      while (FPos < FText.size() && HexDigit(FText[FPos]) >= 0) advance(1);
      if (FPos == hb) ErrorHere("hexadecimal digits expected after '$'");
      uint64_t v = 0;
      if (FPos - hb > 16) ErrorAt(FCurrent, "hexadecimal number too large");
      for (size_t i = hb; i < FPos; ++i) v = v * 16 + static_cast<uint64_t>(HexDigit(FText[i]));
      FCurrent.Kind = TFormToken::Integer;
      FCurrent.Integer = c == '-' ? -static_cast<int64_t>(v) : static_cast<int64_t>(v);
      return;
    }
    bool isFloat = false;
    while (FPos < FText.size()) {
      char d = FText[FPos];
      if (d >= '0' && d <= '9') advance(1);
      else if (d == '.' || d == 'e' || d == 'E') {
        isFloat = true;
        advance(1);
        if ((d == 'e' || d == 'E') && FPos < FText.size() && (FText[FPos] == '-' || FText[FPos] == '+')) advance(1);
      } else break;
    }
    String num(FText.substr(b, FPos - b));
    if (num == "-") ErrorAt(FCurrent, "a number expected after '-'");
    if (isFloat) {
      double v;
      if (!TryStrToFloat(num, v)) ErrorAt(FCurrent, "'" + num + "' is not a valid number");
      FCurrent.Kind = TFormToken::Float;
      FCurrent.Float = v;
    } else {
      errno = 0;
      char* end = nullptr;
      long long v = std::strtoll(num.c_str(), &end, 10);
      if (errno == ERANGE || *end) ErrorAt(FCurrent, "'" + num + "' is not a valid integer");
      FCurrent.Kind = TFormToken::Integer;
      FCurrent.Integer = v;
    }
    return;
  }
  if (c == '\'' || c == '#') {
    // Pieces: 'quoted' (with '' for a quote) and #code, adjacent or joined by '+'.
    String s;
    while (true) {
      if (FPos < FText.size() && FText[FPos] == '\'') {
        advance(1);
        while (true) {
          if (FPos >= FText.size() || FText[FPos] == '\n') ErrorHere("unterminated string");
          if (FText[FPos] == '\'') {
            if (FPos + 1 < FText.size() && FText[FPos + 1] == '\'') {
              s += '\'';
              advance(2);
              continue;
            }
            advance(1);
            break;
          }
          s += FText[FPos];
          advance(1);
        }
      } else if (FPos < FText.size() && FText[FPos] == '#') {
        advance(1);
        size_t db = FPos;
        while (FPos < FText.size() && FText[FPos] >= '0' && FText[FPos] <= '9') advance(1);
        if (FPos == db) ErrorHere("character code expected after '#'");
        long code = std::strtol(String(FText.substr(db, FPos - db)).c_str(), nullptr, 10);
        if (code < 0 || code > 0x10FFFF) ErrorHere("character code out of range");
        utf8::Append(s, static_cast<char32_t>(code));
      } else {
        // A '+' after blanks joins the next piece.
        size_t savePos = FPos;
        int saveLine = FLine, saveCol = FCol;
        SkipBlanks();
        if (FPos < FText.size() && FText[FPos] == '+') {
          advance(1);
          SkipBlanks();
          if (FPos < FText.size() && (FText[FPos] == '\'' || FText[FPos] == '#')) continue;
          ErrorHere("a string expected after '+'");
        }
        FPos = savePos;
        FLine = saveLine;
        FCol = saveCol;
        break;
      }
    }
    FCurrent.Kind = TFormToken::String;
    FCurrent.Text = std::move(s);
    return;
  }
  if (c == '{') {
    advance(1);
    std::vector<uint8_t> bytes;
    int hi = -1;
    while (true) {
      if (FPos >= FText.size()) ErrorHere("unterminated binary data");
      char d = FText[FPos];
      if (d == '}') {
        advance(1);
        break;
      }
      if (d == '\n') {
        ++FLine;
        FCol = 1;
        ++FPos;
        continue;
      }
      if (static_cast<unsigned char>(d) <= ' ') {
        advance(1);
        continue;
      }
      int v = HexDigit(d);
      if (v < 0) ErrorHere("invalid character in binary data");
      if (hi < 0) hi = v;
      else {
        bytes.push_back(static_cast<uint8_t>(hi * 16 + v));
        hi = -1;
      }
      advance(1);
    }
    if (hi >= 0) ErrorAt(FCurrent, "binary data has an odd number of digits");
    FCurrent.Kind = TFormToken::Binary;
    FCurrent.Binary = std::move(bytes);
    return;
  }
  static const String symbols = "=:[](),<>+";
  if (symbols.find(c) != String::npos) {
    FCurrent.Kind = TFormToken::Symbol;
    FCurrent.Text = String(1, c);
    advance(1);
    return;
  }
  ErrorHere(String("unexpected character '") + c + "'");
}
