#pragma once
// Strings of the framework: UTF-8 in std::string. Character positions that the controls work
// with (caret, selection, "delete the last character") are code points, reached through the
// helpers below; byte offsets are never exposed as character positions.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using String = std::string;

namespace utf8 {
// Number of code points. Invalid bytes count as one code point each.
size_t Length(std::string_view s);
// Byte offset of code point `index` (clamped to the end).
size_t ByteOffset(std::string_view s, size_t index);
// Byte length of the code point that starts at `offset` (1 for an invalid byte).
size_t CharBytes(std::string_view s, size_t offset);
// Byte offset of the code point before `offset` (0 at the start).
size_t PrevOffset(std::string_view s, size_t offset);
// Code point starting at `offset`; invalid bytes decode to U+FFFD.
char32_t Decode(std::string_view s, size_t offset);
void Append(std::string& out, char32_t cp);
std::string Encode(char32_t cp);
// Code-point based substring, erase and insert.
std::string Copy(std::string_view s, size_t index, size_t count = std::string::npos);
void Erase(std::string& s, size_t index, size_t count = std::string::npos);
void Insert(std::string& s, size_t index, std::string_view what);
// Removes the last code point (no-op on an empty string).
void PopBack(std::string& s);
std::u32string ToUtf32(std::string_view s);
std::string FromUtf32(std::u32string_view s);
bool IsValid(std::string_view s);
}  // namespace utf8

// Case conversion and comparison: ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic letters
// map, independent of the process locale; other characters are unchanged.
String UpperCase(std::string_view s);
String LowerCase(std::string_view s);
int CompareStr(std::string_view a, std::string_view b);   // <0, 0, >0; byte order
int CompareText(std::string_view a, std::string_view b);  // case-insensitive
bool SameText(std::string_view a, std::string_view b);
String Trim(std::string_view s);
bool StartsText(std::string_view prefix, std::string_view s);

String IntToStr(int64_t value);
String IntToHex(uint64_t value, int digits);
// Strict conversions: surrounding blanks allowed, anything else raises EConvertError.
int64_t StrToInt64(std::string_view s);
int StrToInt(std::string_view s);
bool TryStrToInt(std::string_view s, int& value);
double StrToFloat(std::string_view s);
bool TryStrToFloat(std::string_view s, double& value);
String FloatToStr(double value);

std::vector<String> SplitString(std::string_view s, char separator);

// printf-style formatting into a String ("Rename to %s failed").
String Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
