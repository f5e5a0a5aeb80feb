#pragma once
// Tokens of the form-description text format:
//
//   object MainForm: TMainForm          components: "object" (or "inherited", "inline"),
//     Caption = 'Kalvora - Demo'        properties: dotted names, values below,
//     Font.Name = 'Tahoma'
//     Items.Strings = ('one' 'two')     lists,
//     Anchors = [akLeft, akTop]         sets,
//     Images = <                        collections,
//       item
//         DrawStyle = idsCenter
//       end>
//     Picture.Data = {89504E47}         binary data in hexadecimal,
//     object kvPanel1: TkvPanel         nested components,
//     end
//   end
//
// Values: integers (decimal or $hex, optionally negative), floats, strings ('it''s', with #13
// character codes and "+" joining pieces across lines), identifiers (True, False, enumeration
// values, colour names, component names, method names, nil).
#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/strings.h"

enum class TFormToken { End, Ident, Integer, Float, String, Binary, Symbol };

struct TFormTokenValue {
  TFormToken Kind = TFormToken::End;
  String Text;            // identifier, string contents, symbol character
  int64_t Integer = 0;
  double Float = 0;
  std::vector<uint8_t> Binary;
  int Line = 1, Column = 1;
};

class TFormLexer {
public:
  explicit TFormLexer(std::string_view text);
  const TFormTokenValue& Peek() const { return FCurrent; }
  TFormTokenValue Next();
  bool IsSymbol(char c) const { return FCurrent.Kind == TFormToken::Symbol && FCurrent.Text[0] == c; }
  bool IsIdent(std::string_view word) const;
  // Raises EReadError "line L, column C: message" at the current token.
  [[noreturn]] void Error(const String& message) const;
  [[noreturn]] void ErrorAt(const TFormTokenValue& at, const String& message) const;

private:
  void Scan();
  void SkipBlanks();
  [[noreturn]] void ErrorHere(const String& message) const;
  std::string_view FText;
  size_t FPos = 0;
  int FLine = 1, FCol = 1;
  TFormTokenValue FCurrent;
};
