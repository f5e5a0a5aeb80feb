#include "platform/themes/elementcache.h"

#include "platform/graphics/blit.h"
#include "platform/graphics/objects.h"
#include "platform/themes/elementrender.h"

TElementCache::TElementCache(std::shared_ptr<const TStyleData> style, size_t pixelBudget)
    : FStyle(std::move(style)), FBudget(pixelBudget), FScratch(CreateCompatibleDC(nullptr)) {}

TElementCache::~TElementCache() {
  for (TEntry& e : FEntries) DeleteObject(e.Bitmap);
  DeleteDC(FScratch);
}

HBITMAP TElementCache::Render(int slot, int w, int h) const {
  HBITMAP bitmap = CreateBitmap32(w, h);
  TSurface* s = GetBitmapSurface(bitmap);
  RenderElementLook(FStyle->Looks[static_cast<size_t>(slot)], FStyle->Pictures, s->Pixels(), w, h, s->Stride());
  s->MarkDirtyForCairo();
  return bitmap;
}

void TElementCache::Blend(HDC dc, const TRect& r, HBITMAP bitmap) {
  HGDIOBJ old = SelectObject(FScratch, bitmap);
  BLENDFUNCTION blend;
  blend.AlphaFormat = AC_SRC_ALPHA;
  AlphaBlend(dc, r.Left, r.Top, r.Width(), r.Height(), FScratch, 0, 0, r.Width(), r.Height(), blend);
  SelectObject(FScratch, old);
}

void TElementCache::Evict() {
  while (FPixels > FBudget && !FEntries.empty()) {
    TEntry& last = FEntries.back();
    FPixels -= static_cast<size_t>(last.Key.Width) * static_cast<size_t>(last.Key.Height);
    DeleteObject(last.Bitmap);
    FIndex.erase(last.Key);
    FEntries.pop_back();
  }
}

void TElementCache::Draw(HDC dc, int slot, const TRect& r) {
  if (r.IsEmpty() || slot < 0 || static_cast<size_t>(slot) >= FStyle->Looks.size()) return;
  TKey key{slot, r.Width(), r.Height()};
  auto found = FIndex.find(key);
  if (found != FIndex.end()) {
    FEntries.splice(FEntries.begin(), FEntries, found->second);
    Blend(dc, r, found->second->Bitmap);
    return;
  }
  size_t pixels = static_cast<size_t>(key.Width) * static_cast<size_t>(key.Height);
  HBITMAP bitmap = Render(slot, key.Width, key.Height);
  Blend(dc, r, bitmap);
  if (pixels > FBudget / 4) {
    DeleteObject(bitmap);
    return;
  }
  FEntries.push_front({key, bitmap});
  FIndex[key] = FEntries.begin();
  FPixels += pixels;
  Evict();
}
