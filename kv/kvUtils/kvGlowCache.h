#pragma once
// The cache of finished glow bitmaps (internal to the glow renderers).
//
// A key is a byte string holding everything that decides a glow bitmap's pixels: the kind of
// content, the text with its font and layout, or the image's own pixels, and the size, colour
// and flags of the glow. Keys are compared whole, so two different contents never share an
// entry; the hash only finds the candidates. Bitmaps are kept least recently used first out,
// within a budget of pixels.
#include <cstdint>
#include <cstring>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

#include "kv/kvUtils/kvGlow.h"

class TkvGlowKey {
public:
  template <class T>
  TkvGlowKey& Add(const T& value) {
    static_assert(std::is_trivially_copyable_v<T>);
    FBytes.append(reinterpret_cast<const char*>(&value), sizeof(T));
    return *this;
  }
  // A length, then the bytes, so neighbouring fields cannot run into each other.
  TkvGlowKey& AddBytes(const void* data, size_t size) {
    Add(static_cast<uint64_t>(size));
    FBytes.append(static_cast<const char*>(data), size);
    return *this;
  }
  TkvGlowKey& AddText(std::string_view text) { return AddBytes(text.data(), text.size()); }
  const std::string& Bytes() const { return FBytes; }

private:
  std::string FBytes;
};

// A finished glow and the part of it that is not fully transparent (only that part is blended).
struct TkvGlowBitmap {
  TBitmap Bitmap;
  TRect Ink;
};

class TkvGlowCache {
public:
  using TBitmapPtr = std::shared_ptr<TkvGlowBitmap>;  // never changed once kept

  // The bitmap kept under the key, or null.
  TBitmapPtr Find(const TkvGlowKey& Key);
  // Keeps the bitmap unless it alone is more than a quarter of the budget.
  void Add(const TkvGlowKey& Key, TBitmapPtr Bitmap);
  void Clear();
  void SetCapacity(size_t Pixels);
  TkvGlowCacheStats Stats() const;

  static TkvGlowCache& Instance();

private:
  struct THash {
    size_t operator()(std::string_view s) const;
  };
  struct TEntry {
    std::string Key;
    TBitmapPtr Bitmap;
    size_t Pixels;
  };
  void Trim();

  mutable std::mutex FLock;
  std::list<TEntry> FEntries;  // most recently used first
  std::unordered_map<std::string_view, std::list<TEntry>::iterator, THash> FIndex;
  size_t FPixels = 0;
  size_t FCapacity = size_t{4} << 20;
  uint64_t FHits = 0, FMisses = 0;
};
