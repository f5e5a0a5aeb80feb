#pragma once
// Rendered element looks, kept as bitmaps by element state and size so that drawing the same
// element again is one alpha blend. Least recently used entries go first once the cache holds
// more than its pixel budget; an element larger than a quarter of the budget is drawn without
// being kept.
#include <cstdint>
#include <list>
#include <memory>
#include <unordered_map>

#include "platform/graphics/dc.h"
#include "platform/themes/styledata.h"

class TElementCache {
public:
  explicit TElementCache(std::shared_ptr<const TStyleData> style, size_t pixelBudget = 4u << 20);
  ~TElementCache();
  TElementCache(const TElementCache&) = delete;
  TElementCache& operator=(const TElementCache&) = delete;

  // Draws the look of `slot` stretched to r (logical coordinates of dc), through dc's clip.
  void Draw(HDC dc, int slot, const TRect& r);

  size_t CachedPixels() const { return FPixels; }
  size_t Entries() const { return FEntries.size(); }

private:
  struct TKey {
    int Slot, Width, Height;
    bool operator==(const TKey&) const = default;
  };
  struct TKeyHash {
    size_t operator()(const TKey& k) const {
      return (static_cast<size_t>(k.Slot) * 0x9E3779B1u) ^ (static_cast<size_t>(k.Width) << 20) ^
             static_cast<size_t>(k.Height);
    }
  };
  struct TEntry {
    TKey Key;
    HBITMAP Bitmap;
  };
  HBITMAP Render(int slot, int w, int h) const;
  void Blend(HDC dc, const TRect& r, HBITMAP bitmap);
  void Evict();

  std::shared_ptr<const TStyleData> FStyle;
  size_t FBudget, FPixels = 0;
  std::list<TEntry> FEntries;  // most recently used first
  std::unordered_map<TKey, std::list<TEntry>::iterator, TKeyHash> FIndex;
  HDC FScratch;
};
