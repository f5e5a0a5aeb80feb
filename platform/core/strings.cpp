#include "platform/core/strings.h"

#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "platform/core/exceptions.h"

namespace utf8 {

namespace {
inline bool IsCont(unsigned char c) { return (c & 0xC0) == 0x80; }
}  // namespace

size_t CharBytes(std::string_view s, size_t offset) {
  if (offset >= s.size()) return 0;
  unsigned char c = static_cast<unsigned char>(s[offset]);
  size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 1;
  if (offset + n > s.size()) return 1;
  for (size_t i = 1; i < n; ++i)
    if (!IsCont(static_cast<unsigned char>(s[offset + i]))) return 1;
  return n;
}

size_t Length(std::string_view s) {
  size_t n = 0;
  for (size_t i = 0; i < s.size(); i += CharBytes(s, i)) ++n;
  return n;
}

size_t ByteOffset(std::string_view s, size_t index) {
  size_t i = 0;
  while (index > 0 && i < s.size()) {
    i += CharBytes(s, i);
    --index;
  }
  return i;
}

size_t PrevOffset(std::string_view s, size_t offset) {
  if (offset == 0) return 0;
  if (offset > s.size()) offset = s.size();
  // Step back over at most three continuation bytes, then check the lead byte covers offset.
  size_t start = offset - 1;
  size_t limit = offset >= 4 ? offset - 4 : 0;
  while (start > limit && IsCont(static_cast<unsigned char>(s[start]))) --start;
  if (start + CharBytes(s, start) == offset) return start;
  return offset - 1;
}

char32_t Decode(std::string_view s, size_t offset) {
  size_t n = CharBytes(s, offset);
  if (n == 0) return 0;
  unsigned char c = static_cast<unsigned char>(s[offset]);
  if (n == 1) return c < 0x80 ? c : 0xFFFD;
  char32_t cp = c & (0x7F >> n);
  for (size_t i = 1; i < n; ++i) cp = (cp << 6) | (static_cast<unsigned char>(s[offset + i]) & 0x3F);
  return cp;
}

void Append(std::string& out, char32_t cp) {
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string Encode(char32_t cp) {
  std::string s;
  Append(s, cp);
  return s;
}

std::string Copy(std::string_view s, size_t index, size_t count) {
  size_t b = ByteOffset(s, index);
  size_t e = count == std::string::npos ? s.size() : b + ByteOffset(s.substr(b), count);
  return std::string(s.substr(b, e - b));
}

void Erase(std::string& s, size_t index, size_t count) {
  size_t b = ByteOffset(s, index);
  size_t e = count == std::string::npos ? s.size() : b + ByteOffset(std::string_view(s).substr(b), count);
  s.erase(b, e - b);
}

void Insert(std::string& s, size_t index, std::string_view what) {
  s.insert(ByteOffset(s, index), what);
}

void PopBack(std::string& s) {
  if (!s.empty()) s.erase(PrevOffset(s, s.size()));
}

std::u32string ToUtf32(std::string_view s) {
  std::u32string r;
  r.reserve(s.size());
  for (size_t i = 0; i < s.size(); i += CharBytes(s, i)) r += Decode(s, i);
  return r;
}

std::string FromUtf32(std::u32string_view s) {
  std::string r;
  r.reserve(s.size());
  for (char32_t c : s) Append(r, c);
  return r;
}

bool IsValid(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    size_t n = CharBytes(s, i);
    if (n == 1 && static_cast<unsigned char>(s[i]) >= 0x80) return false;
    i += n;
  }
  return true;
}

}  // namespace utf8

namespace {
template <class F>
String MapChars(std::string_view s, F f) {
  String r;
  r.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      r += static_cast<char>(f(static_cast<wint_t>(c)));
      ++i;
    } else {
      size_t n = utf8::CharBytes(s, i);
      utf8::Append(r, static_cast<char32_t>(f(static_cast<wint_t>(utf8::Decode(s, i)))));
      i += n;
    }
  }
  return r;
}

// Case mapping of ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic, independent of the
// process locale (which the framework never changes).
wint_t Upper(wint_t c) {
  if (c < 0x80) return (c >= 'a' && c <= 'z') ? c - 32 : c;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
  if (c == 0xFF) return 0x178;
  if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return c & ~1u;
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c & 1u) ? c : c - 1;
  if (c >= 0x3B1 && c <= 0x3C9) return c == 0x3C2 ? 0x3A3 : c - 0x20;
  if (c >= 0x430 && c <= 0x44F) return c - 0x20;
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;
  return c;
}
wint_t Lower(wint_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 32 : c;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
  if (c == 0x178) return 0xFF;
  if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return c | 1u;
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c & 1u) ? c + 1 : c;
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 0x20;
  if (c >= 0x410 && c <= 0x42F) return c + 0x20;
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  return c;
}
}  // namespace

String UpperCase(std::string_view s) { return MapChars(s, Upper); }
String LowerCase(std::string_view s) { return MapChars(s, Lower); }

int CompareStr(std::string_view a, std::string_view b) {
  int c = a.compare(b);
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

int CompareText(std::string_view a, std::string_view b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    wint_t ca = Lower(static_cast<wint_t>(utf8::Decode(a, i)));
    wint_t cb = Lower(static_cast<wint_t>(utf8::Decode(b, j)));
    if (ca != cb) return ca < cb ? -1 : 1;
    i += utf8::CharBytes(a, i);
    j += utf8::CharBytes(b, j);
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

bool SameText(std::string_view a, std::string_view b) { return CompareText(a, b) == 0; }

String Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return String(s.substr(b, e - b));
}

bool StartsText(std::string_view prefix, std::string_view s) {
  if (prefix.size() > s.size()) return false;
  return SameText(prefix, s.substr(0, prefix.size()));
}

String IntToStr(int64_t value) { return std::to_string(value); }

String IntToHex(uint64_t value, int digits) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%0*llX", digits, static_cast<unsigned long long>(value));
  return buf;
}

namespace {
bool ParseInt(std::string_view text, int64_t& value) {
  String s = Trim(text);
  if (s.empty()) return false;
  const char* p = s.c_str();
  bool neg = false;
  if (*p == '+' || *p == '-') neg = *p++ == '-';
  int base = 10;
  if (*p == '$') {
    base = 16;
    ++p;
  } else if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
    base = 16;
    p += 2;
  }
  if (*p == 0) return false;
  uint64_t v = 0;
  for (; *p; ++p) {
    int d;
    if (*p >= '0' && *p <= '9') d = *p - '0';
    else if (base == 16 && *p >= 'a' && *p <= 'f') d = *p - 'a' + 10;
    else if (base == 16 && *p >= 'A' && *p <= 'F') d = *p - 'A' + 10;
    else return false;
    if (v > (UINT64_MAX - static_cast<uint64_t>(d)) / static_cast<uint64_t>(base)) return false;
    v = v * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
  }
  if (neg) {
    if (v > static_cast<uint64_t>(INT64_MAX) + 1) return false;
    value = v == static_cast<uint64_t>(INT64_MAX) + 1 ? INT64_MIN : -static_cast<int64_t>(v);
  } else {
    // Hexadecimal literals may use the full 64 bits (colours written as $FF000000 and the like).
    if (base == 10 && v > static_cast<uint64_t>(INT64_MAX)) return false;
    value = static_cast<int64_t>(v);
  }
  return true;
}
}  // namespace

int64_t StrToInt64(std::string_view s) {
  int64_t v;
  if (!ParseInt(s, v)) throw EConvertError("'" + String(s) + "' is not a valid integer value");
  return v;
}

bool TryStrToInt(std::string_view s, int& value) {
  int64_t v;
  if (!ParseInt(s, v) || v < INT32_MIN || v > INT32_MAX) return false;
  value = static_cast<int>(v);
  return true;
}

int StrToInt(std::string_view s) {
  int v;
  if (!TryStrToInt(s, v)) throw EConvertError("'" + String(s) + "' is not a valid integer value");
  return v;
}

bool TryStrToFloat(std::string_view text, double& value) {
  String s = Trim(text);
  if (s.empty()) return false;
  char* end = nullptr;
  errno = 0;
  double v = std::strtod(s.c_str(), &end);
  if (end == s.c_str() || *end != 0 || errno == ERANGE || !std::isfinite(v)) return false;
  value = v;
  return true;
}

double StrToFloat(std::string_view s) {
  double v;
  if (!TryStrToFloat(s, v)) throw EConvertError("'" + String(s) + "' is not a valid floating point value");
  return v;
}

String FloatToStr(double value) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15g", value);
  return buf;
}

std::vector<String> SplitString(std::string_view s, char separator) {
  std::vector<String> parts;
  size_t start = 0;
  for (size_t i = 0; i <= s.size(); ++i) {
    if (i == s.size() || s[i] == separator) {
      parts.emplace_back(s.substr(start, i - start));
      start = i + 1;
    }
  }
  return parts;
}

String Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  String r;
  if (n > 0) {
    r.resize(static_cast<size_t>(n));
    std::vsnprintf(r.data(), r.size() + 1, format, args);
  }
  va_end(args);
  return r;
}
