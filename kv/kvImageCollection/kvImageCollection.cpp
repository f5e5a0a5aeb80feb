#include "kv/kvImageCollection/kvImageCollection.h"

#include <algorithm>
#include <cstdint>

#include "platform/graphics/blit.h"

KV_IMPLEMENT_CLASS(TkvImageCollectionItem) {
  r.Prop("Picture", &TkvImageCollectionItem::Picture, &TkvImageCollectionItem::SetPicture);
  r.Prop("DrawStyle", &TkvImageCollectionItem::DrawStyle, &TkvImageCollectionItem::SetDrawStyle, idsTile);
  r.Prop("TileOffsetX", &TkvImageCollectionItem::TileOffsetX, &TkvImageCollectionItem::SetTileOffsetX, 0);
  r.Prop("TileOffsetY", &TkvImageCollectionItem::TileOffsetY, &TkvImageCollectionItem::SetTileOffsetY, 0);
}

KV_IMPLEMENT_CLASS(TkvImageCollectionItems) {}

KV_IMPLEMENT_CLASS(TkvImageCollection) {
  r.Prop("Images", &TkvImageCollection::Images, &TkvImageCollection::SetImages);
  r.Event("OnChange", &TkvImageCollection::OnChange);
}

// ---- placement ----

namespace {
int64_t FloorDiv(int64_t a, int64_t b) {
  int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// The indices 0..Last of the copies at Origin + i * Step, each Length long, that meet the span
// [Low, High). Empty (First > Last) when none does.
struct TIndexRange {
  int64_t First, Last;
};
TIndexRange VisibleCopies(int64_t Origin, int64_t Step, int64_t Last, int64_t Length, int64_t Low, int64_t High) {
  // Copy i meets the span when Origin + i*Step + Length > Low and Origin + i*Step < High.
  int64_t first = FloorDiv(Low - Length - Origin, Step) + 1;
  int64_t last = -FloorDiv(-(High - Origin), Step) - 1;
  return {std::max<int64_t>(first, 0), std::min(last, Last)};
}

class TPlacer {
public:
  TPlacer(int w, int h, const TRect& target, int offsetX, int offsetY, const TRect& visible)
      : FW(w), FH(h), FR(target), FStepX(int64_t{w} + offsetX), FStepY(int64_t{h} + offsetY), FVisible(visible) {}

  std::vector<TkvImagePlacement> Result;

  void At(int64_t x, int64_t y) { Add(x, y, x + FW, y + FH, false); }
  void Stretch(int64_t l, int64_t t, int64_t r, int64_t b) { Add(l, t, r, b, true); }

  // Copies of a band along one axis: Place(i) for each visible index of the row (Horizontal)
  // or column of tiles.
  template <class F>
  void TileX(F Place) {
    if (FStepX <= 0) return;
    TIndexRange r = VisibleCopies(FR.Left, FStepX, FR.Width() / FStepX, FW, FVisible.Left, FVisible.Right);
    for (int64_t i = r.First; i <= r.Last; ++i) Place(FR.Left + i * FStepX);
  }
  template <class F>
  void TileY(F Place) {
    if (FStepY <= 0) return;
    TIndexRange r = VisibleCopies(FR.Top, FStepY, FR.Height() / FStepY, FH, FVisible.Top, FVisible.Bottom);
    for (int64_t j = r.First; j <= r.Last; ++j) Place(FR.Top + j * FStepY);
  }

  int CenterX() const { return FR.Left + FR.Width() / 2 - FW / 2; }
  int CenterY() const { return FR.Top + FR.Height() / 2 - FH / 2; }

private:
  void Add(int64_t l, int64_t t, int64_t r, int64_t b, bool stretched) {
    if (r <= FVisible.Left || l >= FVisible.Right || b <= FVisible.Top || t >= FVisible.Bottom) return;
    if (r <= l || b <= t) return;
    Result.push_back({TRect(static_cast<int>(l), static_cast<int>(t), static_cast<int>(r), static_cast<int>(b)),
                      stretched});
  }

  int FW, FH;
  TRect FR;
  int64_t FStepX, FStepY;
  TRect FVisible;
};
}  // namespace

std::vector<TkvImagePlacement> ImagePlacements(TkvImageDrawStyle Style, int w, int h, const TRect& ARect,
                                               int TileOffsetX, int TileOffsetY, const TRect& Visible) {
  if (w <= 0 || h <= 0 || ARect.IsEmpty()) return {};
  TPlacer p(w, h, ARect, TileOffsetX, TileOffsetY, Visible);
  const TRect& R = ARect;
  switch (Style) {
    case idsTile:
      p.TileY([&](int64_t y) { p.TileX([&](int64_t x) { p.At(x, y); }); });
      break;
    case idsStretch: p.Stretch(R.Left, R.Top, R.Right, R.Bottom); break;
    case idsCenter: p.At(p.CenterX(), p.CenterY()); break;
    case idsTopLeft: p.At(R.Left, R.Top); break;
    case idsTopRight: p.At(R.Right - w, R.Top); break;
    case idsBottomLeft: p.At(R.Left, R.Bottom - h); break;
    case idsBottomRight: p.At(R.Right - w, R.Bottom - h); break;
    case idsTopTile: p.TileX([&](int64_t x) { p.At(x, R.Top); }); break;
    case idsLeftTile: p.TileY([&](int64_t y) { p.At(R.Left, y); }); break;
    case idsRightTile: p.TileY([&](int64_t y) { p.At(R.Right - w, y); }); break;
    case idsBottomTile: p.TileX([&](int64_t x) { p.At(x, R.Bottom - h); }); break;
    case idsTopStretch: p.Stretch(R.Left, R.Top, R.Right, R.Top + h); break;
    case idsLeftStretch: p.Stretch(R.Left, R.Top, R.Left + w, R.Bottom); break;
    case idsRightStretch: p.Stretch(R.Right - w, R.Top, R.Right, R.Bottom); break;
    case idsBottomStretch: p.Stretch(R.Left, R.Bottom - h, R.Right, R.Bottom); break;
    case idsHorzStretchTile: p.TileX([&](int64_t x) { p.Stretch(x, R.Top, x + w, R.Bottom); }); break;
    case idsVertStretchTile: p.TileY([&](int64_t y) { p.Stretch(R.Left, y, R.Right, y + h); }); break;
    case idsHorzCenterStretch: {
      int top = R.Top + R.Height() / 2 - h / 2;
      p.Stretch(R.Left, top, R.Right, top + h);
      break;
    }
    case idsVertCenterStretch: {
      int left = R.Left + R.Width() / 2 - w / 2;
      p.Stretch(left, R.Top, left + w, R.Bottom);
      break;
    }
    case idsLeftCenter: p.At(R.Left, p.CenterY()); break;
    case idsTopCenter: p.At(p.CenterX(), R.Top); break;
    case idsRightCenter: p.At(R.Right - w, p.CenterY()); break;
    case idsBottomCenter: p.At(p.CenterX(), R.Bottom - h); break;
  }
  return std::move(p.Result);
}

// ---- TkvImageCollectionItem ----

namespace {
// Pictures that leave some pixels of their rectangle uncovered or partly covered.
bool HasAlphaGraphic(const TGraphic* g) {
  if (auto* b = dynamic_cast<const TBitmap*>(g)) return b->HasAlpha() || b->Transparent();
  return g->Transparent();
}
}  // namespace

TkvImageCollectionItem::TkvImageCollectionItem(TCollection* ACollection)
    : TCollectionItem(ACollection), FPicture(std::make_unique<TPicture>()) {
  FPicture->OnChange = TNotifyEvent(this, &TkvImageCollectionItem::PictureChanged);
}

TkvImageCollectionItem::~TkvImageCollectionItem() = default;

void TkvImageCollectionItem::PictureChanged(TObject*) {
  FScaled.reset();
  Changed(false);
}

const TBitmap* TkvImageCollectionItem::Scaled(int Width, int Height) const {
  const TGraphic* g = FPicture->Graphic();
  if (!g || g->Empty() || Width <= 0 || Height <= 0) return nullptr;
  if (!FScaled || FScaled->Width() != Width || FScaled->Height() != Height) {
    auto b = std::make_unique<TBitmap>();
    b->SetPixelFormat(pf32bit);
    b->SetAlphaFormat(afPremultiplied);
    b->SetSize(Width, Height);
    SetStretchBltMode(b->Canvas()->Handle(), HALFTONE);
    b->Canvas()->StretchDraw(TRect(0, 0, Width, Height), g);
    // An opaque picture scales to opaque pixels: drawn as a plain copy, not blended.
    if (!HasAlphaGraphic(g)) b->SetAlphaFormat(afIgnored);
    FScaled = std::move(b);
  }
  return FScaled.get();
}

void TkvImageCollectionItem::Assign(const TPersistent* Source) {
  if (auto* item = dynamic_cast<const TkvImageCollectionItem*>(Source)) {
    if (item == this) return;
    FDrawStyle = item->FDrawStyle;
    FTileOffsetX = item->FTileOffsetX;
    FTileOffsetY = item->FTileOffsetY;
    FPicture->Assign(item->FPicture.get());  // reports the change of the item once
    return;
  }
  inherited::Assign(Source);
}

void TkvImageCollectionItem::SetPicture(TPicture* Value) { FPicture->Assign(Value); }

void TkvImageCollectionItem::SetDrawStyle(TkvImageDrawStyle Value) {
  if (Value == FDrawStyle) return;
  FDrawStyle = Value;
  Changed(false);
}

void TkvImageCollectionItem::SetTileOffsetX(int Value) {
  if (Value == FTileOffsetX) return;
  FTileOffsetX = Value;
  Changed(false);
}

void TkvImageCollectionItem::SetTileOffsetY(int Value) {
  if (Value == FTileOffsetY) return;
  FTileOffsetY = Value;
  Changed(false);
}

bool TkvImageCollectionItem::NeedFullUpdate() const {
  switch (FDrawStyle) {
    case idsTile:
    case idsTopLeft:
    case idsTopTile:
    case idsLeftTile: return false;
    default: return true;
  }
}

bool TkvImageCollectionItem::Transparent() const {
  auto* png = dynamic_cast<const TPngImage*>(FPicture->Graphic());
  return png && png->Transparent();
}

bool TkvImageCollectionItem::CoversTarget() const {
  const TGraphic* g = FPicture->Graphic();
  if (!g || g->Empty() || HasAlphaGraphic(g)) return false;
  if (FDrawStyle == idsStretch) return true;
  // Tiles without gaps: each step at most the picture's size, and still positive.
  return FDrawStyle == idsTile && FTileOffsetX <= 0 && FTileOffsetY <= 0 && g->Width() + FTileOffsetX > 0 &&
         g->Height() + FTileOffsetY > 0;
}

// ---- TkvImageCollectionItems ----

TkvImageCollectionItems::TkvImageCollectionItems(TkvImageCollection* AImageCollection)
    : TCollectionOf<TkvImageCollectionItem>(AImageCollection), FImageCollection(AImageCollection) {}

void TkvImageCollectionItems::Update(TCollectionItem* Item) {
  inherited::Update(Item);
  if (FImageCollection) FImageCollection->OnChange(FImageCollection);
}

// ---- TkvImageCollection ----

TkvImageCollection::TkvImageCollection(TComponent* AOwner)
    : TComponent(AOwner), FImages(std::make_unique<TkvImageCollectionItems>(this)) {}

TkvImageCollection::~TkvImageCollection() {
  // Items announce their changes to the collection while they are freed; it is going away.
  FImages->FImageCollection = nullptr;
}

void TkvImageCollection::Assign(const TPersistent* Source) {
  if (auto* c = dynamic_cast<const TkvImageCollection*>(Source)) {
    FImages->Assign(c->FImages.get());
    return;
  }
  inherited::Assign(Source);
}

void TkvImageCollection::SetImages(TkvImageCollectionItems* Value) { FImages->Assign(Value); }

namespace {
// The largest scaled copy a wallpaper keeps (16 M pixels, 64 MB).
constexpr int64_t kMaxScaledPixels = int64_t{1} << 24;

// Restores a device context to the state saved on construction, on every way out.
class TSavedDC {
public:
  explicit TSavedDC(HDC dc) : FDC(dc), FLevel(SaveDC(dc)) {}
  ~TSavedDC() {
    if (FLevel > 0) RestoreDC(FDC, FLevel);
  }
  TSavedDC(const TSavedDC&) = delete;
  TSavedDC& operator=(const TSavedDC&) = delete;

private:
  HDC FDC;
  int FLevel;
};
}  // namespace

void TkvImageCollection::Draw(TCanvas* ACanvas, const TRect& ARect, int AIndex) const {
  if (!ACanvas || AIndex < 0 || AIndex >= Count() || ARect.IsEmpty()) return;
  const TkvImageCollectionItem* item = FImages->Items(AIndex);
  const TGraphic* graphic = item->Picture()->Graphic();
  if (!graphic || graphic->Empty()) return;
  HDC dc = ACanvas->Handle();
  if (!dc) return;
  TSavedDC saved(dc);
  IntersectClipRect(dc, ARect.Left, ARect.Top, ARect.Right, ARect.Bottom);
  TRect visible;
  GetClipBox(dc, &visible);
  if (visible.IsEmpty()) return;
  for (const TkvImagePlacement& p : ImagePlacements(item->DrawStyle(), graphic->Width(), graphic->Height(), ARect,
                                                    item->TileOffsetX(), item->TileOffsetY(), visible)) {
    // Stretched copies are filtered, and the scaled picture is kept for the next paint (every
    // copy of a style has the same size). Pictures too large to keep are stretched directly.
    const bool scale = p.Stretched && p.Rect.Size() != TSize(graphic->Width(), graphic->Height());
    if (scale && int64_t{p.Rect.Width()} * p.Rect.Height() <= kMaxScaledPixels) {
      ACanvas->Draw(p.Rect.Left, p.Rect.Top, item->Scaled(p.Rect.Width(), p.Rect.Height()));
    } else if (scale) {
      SetStretchBltMode(dc, HALFTONE);  // the saved state takes the mode back
      ACanvas->StretchDraw(p.Rect, graphic);
    } else {
      ACanvas->Draw(p.Rect.Left, p.Rect.Top, graphic);
    }
  }
}
