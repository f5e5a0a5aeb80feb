#include "kv/kvUtils/kvGlowCache.h"

namespace {
constexpr uint64_t kMul1 = 0x9E3779B97F4A7C15ull, kMul2 = 0xC2B2AE3D27D4EB4Full;

inline uint64_t Mix(uint64_t h) {
  h ^= h >> 33;
  h *= 0xFF51AFD7ED558CCDull;
  h ^= h >> 33;
  h *= 0xC4CEB9FE1A85EC53ull;
  return h ^ (h >> 33);
}
}  // namespace

// Eight bytes a step: keys hold whole images, so hashing must be cheap per byte.
size_t TkvGlowCache::THash::operator()(std::string_view s) const {
  uint64_t h = s.size() * kMul1;
  size_t i = 0;
  for (; i + 8 <= s.size(); i += 8) {
    uint64_t w;
    std::memcpy(&w, s.data() + i, 8);
    h = (h ^ (w * kMul2)) * kMul1;
    h ^= h >> 29;
  }
  uint64_t tail = 0;
  std::memcpy(&tail, s.data() + i, s.size() - i);
  return static_cast<size_t>(Mix(h ^ tail));
}

// Never destroyed: its bitmaps would otherwise be freed after the graphics layer's own
// tables at program exit.
TkvGlowCache& TkvGlowCache::Instance() {
  static TkvGlowCache* cache = new TkvGlowCache;
  return *cache;
}

TkvGlowCache::TBitmapPtr TkvGlowCache::Find(const TkvGlowKey& Key) {
  std::lock_guard lock(FLock);
  auto it = FIndex.find(Key.Bytes());
  if (it == FIndex.end()) {
    ++FMisses;
    return nullptr;
  }
  ++FHits;
  FEntries.splice(FEntries.begin(), FEntries, it->second);
  return it->second->Bitmap;
}

void TkvGlowCache::Add(const TkvGlowKey& Key, TBitmapPtr Bitmap) {
  size_t pixels = static_cast<size_t>(Bitmap->Bitmap.Width()) * static_cast<size_t>(Bitmap->Bitmap.Height());
  std::lock_guard lock(FLock);
  if (pixels > FCapacity / 4) return;
  if (auto it = FIndex.find(Key.Bytes()); it != FIndex.end()) {
    FPixels -= it->second->Pixels;
    FEntries.erase(it->second);
    FIndex.erase(it);
  }
  FEntries.push_front({Key.Bytes(), std::move(Bitmap), pixels});
  FIndex.emplace(FEntries.front().Key, FEntries.begin());
  FPixels += pixels;
  Trim();
}

void TkvGlowCache::Trim() {
  while (FPixels > FCapacity && !FEntries.empty()) {
    FIndex.erase(FEntries.back().Key);
    FPixels -= FEntries.back().Pixels;
    FEntries.pop_back();
  }
}

void TkvGlowCache::Clear() {
  std::lock_guard lock(FLock);
  FIndex.clear();
  FEntries.clear();
  FPixels = 0;
  FHits = FMisses = 0;
}

void TkvGlowCache::SetCapacity(size_t Pixels) {
  std::lock_guard lock(FLock);
  FCapacity = Pixels;
  Trim();
}

TkvGlowCacheStats TkvGlowCache::Stats() const {
  std::lock_guard lock(FLock);
  return {FHits, FMisses, FEntries.size(), FPixels, FCapacity};
}

TkvGlowCacheStats GlowCacheStats() { return TkvGlowCache::Instance().Stats(); }
void ClearGlowCache() { TkvGlowCache::Instance().Clear(); }
void SetGlowCacheCapacity(size_t Pixels) { TkvGlowCache::Instance().SetCapacity(Pixels); }
