#pragma once
// Tokens of the style text format (docs/styles.md): identifiers (which may hold '.', '-' and
// the '*' wildcard), "strings", numbers, #colours, punctuation and line ends, each with the
// line and column (in characters, from 1) where it starts.
#include <cstdint>
#include <string_view>

#include "platform/core/enums.h"
#include "platform/core/exceptions.h"
#include "platform/core/strings.h"

// A style that cannot be read: the message names the source and, when known, the place.
class EStyleError : public EReadError {
public:
  EStyleError(const String& source, int line, int column, const String& what);
  int Line() const { return FLine; }      // 0 when the error is not at a place in a text
  int Column() const { return FColumn; }
  const String& What() const { return FWhat; }

private:
  int FLine, FColumn;
  String FWhat;
};

KV_ENUM(TStyleTokenKind, stIdent, stString, stNumber, stColor, stPunct, stNewLine, stEnd)

struct TStyleToken {
  TStyleTokenKind Kind = stEnd;
  String Text;         // identifier, string contents, colour digits, punctuation character
  int64_t Number = 0;
  int Line = 1, Column = 1;
  bool Is(char punct) const { return Kind == stPunct && Text.size() == 1 && Text[0] == punct; }
};

class TStyleLexer {
public:
  TStyleLexer(std::string_view text, String source);
  // The next token; raises EStyleError for a character that starts no token, an unterminated
  // string or a malformed number or colour.
  TStyleToken Next();
  const String& Source() const { return FSource; }
  [[noreturn]] void Fail(int line, int column, const String& what) const;

private:
  char Peek(size_t ahead = 0) const { return FPos + ahead < FText.size() ? FText[FPos + ahead] : '\0'; }
  void Advance();

  std::string_view FText;
  String FSource;
  size_t FPos = 0;
  int FLine = 1, FColumn = 1;
};
