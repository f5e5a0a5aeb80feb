#pragma once
// The syntax tree of a style text (docs/styles.md), as the first reading pass leaves it: every
// statement with its place, element selectors already resolved to catalogue slots, property
// values still unevaluated (colours may name palette entries defined further down).
#include <optional>
#include <vector>

#include "platform/themes/stylelexer.h"

struct TStyleValue {
  TStyleTokenKind Kind = stIdent;  // stIdent, stString, stNumber, stColor; a call is an
  String Text;                     // identifier with IsCall set and its arguments in Args
  int64_t Number = 0;
  bool IsCall = false;
  std::vector<std::vector<TStyleValue>> Args;
  int Line = 0, Column = 0;
};
using TStyleValues = std::vector<TStyleValue>;

// `key value...` in a table (palette, system, colors, fonts) or a property of an element.
struct TStyleEntry {
  String Key;
  int Index = -1;  // system colour index, TStyleColor or TStyleFont value
  TStyleValues Values;
  int Line = 0, Column = 0;
  std::vector<int> Slots;  // properties: the element states they apply to
};

struct TStylePictureStmt {
  String Name, File;
  int Line = 0, Column = 0;
};

struct TStyleSyntax {
  int Version = 0;
  int Line = 1, Column = 1;  // of the kvstyle statement
  std::optional<String> Name, Author, Description, StyleVersion;
  std::vector<TStyleEntry> Palette, System, Colors, Fonts, Properties;
  std::vector<TStylePictureStmt> Pictures;
};

// Reads the text; raises EStyleError at the first fault of syntax.
TStyleSyntax ReadStyleSyntax(TStyleLexer& lexer);

// The element property names the format knows.
bool IsStyleProperty(const String& name);
// Case-insensitive match with '*' standing for any run of characters.
bool WildcardMatch(std::string_view pattern, std::string_view text);
