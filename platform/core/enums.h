#pragma once
// Enumerations with names, and sets of them.
//
// KV_ENUM(TkvsCtrlState, kvsNormal, kvsHot, ...) declares a one-byte enumeration whose values
// keep their bare names (as the framework's enumerations do) and records the value names for
// form descriptions and the property registry. Values run from 0 in declaration order.
//
// TSet<E> is a set of such an enumeration: bit n for the value n, stored in the smallest
// unsigned integer that holds every value (a set of up to eight values is one byte).
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <type_traits>
#include <vector>

class TEnumInfo {
public:
  // `names` is the stringised list of enumerators: "a, b, c".
  TEnumInfo(const char* typeName, const char* names);
  const std::string& TypeName() const { return typeName_; }
  int Count() const { return static_cast<int>(names_.size()); }
  const std::string& Name(int value) const;  // "" outside the range
  int IndexOf(const std::string& name) const;  // case-insensitive; -1 when unknown

private:
  std::string typeName_;
  std::vector<std::string> names_;
};

constexpr size_t CountEnumNames(const char* s) {
  size_t n = 0;
  bool any = false;
  for (; *s; ++s) {
    if (*s == ',') ++n;
    else if (*s != ' ') any = true;
  }
  return any ? n + 1 : 0;
}

#define KV_ENUM_INFO(Type, ...)                                              \
  inline const TEnumInfo& EnumInfoOf(Type*) {                               \
    static const TEnumInfo info(#Type, #__VA_ARGS__);                       \
    return info;                                                            \
  }                                                                         \
  constexpr size_t EnumCountOf(Type*) { return CountEnumNames(#__VA_ARGS__); }

#define KV_ENUM(Type, ...)          \
  enum Type : uint8_t { __VA_ARGS__ }; \
  KV_ENUM_INFO(Type, __VA_ARGS__)

template <class E>
concept NamedEnum = std::is_enum_v<E> && requires(E* p) {
  { EnumInfoOf(p) } -> std::same_as<const TEnumInfo&>;
};

template <class E>
const TEnumInfo& EnumInfo() {
  return EnumInfoOf(static_cast<E*>(nullptr));
}
template <class E>
constexpr size_t EnumCount() {
  return EnumCountOf(static_cast<E*>(nullptr));
}

namespace detail {
template <size_t N>
using SetStorage = std::conditional_t<
    (N <= 8), uint8_t,
    std::conditional_t<(N <= 16), uint16_t, std::conditional_t<(N <= 32), uint32_t, uint64_t>>>;
}

template <class E>
class TSet {
public:
  static constexpr size_t Size = EnumCount<E>();
  static_assert(Size <= 64, "sets hold at most 64 values");
  using Storage = detail::SetStorage<Size>;

  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> values) {
    for (E v : values) bits_ |= Bit(v);
  }
  static constexpr TSet FromBits(uint64_t bits) {
    TSet s;
    s.bits_ = static_cast<Storage>(bits);
    return s;
  }
  static constexpr TSet All() { return FromBits(Size == 64 ? ~0ull : ((1ull << Size) - 1)); }

  constexpr bool Contains(E v) const { return (bits_ & Bit(v)) != 0; }
  constexpr TSet& Include(E v) { bits_ |= Bit(v); return *this; }
  constexpr TSet& Exclude(E v) { bits_ &= static_cast<Storage>(~Bit(v)); return *this; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr uint64_t Bits() const { return bits_; }

  constexpr TSet operator+(TSet o) const { return FromBits(bits_ | o.bits_); }
  constexpr TSet operator-(TSet o) const { return FromBits(bits_ & ~o.bits_); }
  constexpr TSet operator*(TSet o) const { return FromBits(bits_ & o.bits_); }
  constexpr TSet& operator+=(TSet o) { bits_ |= o.bits_; return *this; }
  constexpr TSet& operator-=(TSet o) { bits_ &= static_cast<Storage>(~o.bits_); return *this; }
  constexpr TSet& operator*=(TSet o) { bits_ &= o.bits_; return *this; }
  constexpr TSet operator+(E v) const { return *this + TSet{v}; }
  constexpr TSet operator-(E v) const { return *this - TSet{v}; }
  constexpr bool operator==(const TSet&) const = default;
  // Subset test: every value of this set is in o.
  constexpr bool operator<=(TSet o) const { return (bits_ & ~o.bits_) == 0; }

private:
  static constexpr Storage Bit(E v) { return static_cast<Storage>(Storage{1} << static_cast<unsigned>(v)); }
  Storage bits_ = 0;
};

// "[a, b]" with the enumeration's names; the form-description writer and tests use it.
template <class E>
std::string SetToString(TSet<E> s) {
  std::string r = "[";
  for (size_t i = 0; i < TSet<E>::Size; ++i) {
    if (s.Contains(static_cast<E>(i))) {
      if (r.size() > 1) r += ", ";
      r += EnumInfo<E>().Name(static_cast<int>(i));
    }
  }
  return r + "]";
}
