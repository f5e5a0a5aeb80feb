#pragma once
// TkvImageCollection: a non-visual component holding wallpaper pictures, each with a placement
// rule, and drawing one of them into a rectangle of a canvas.
//
// Controls refer to a collection and an index and call Draw to paint their backgrounds. Draw
// clips to the target rectangle and restores the canvas's device context on every path, so a
// picture never spills outside the rectangle and a failing draw leaves the clip as it was.
#include <memory>
#include <vector>

#include "platform/core/classes.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/picture.h"

// The placement rules. For a picture of w x h in a rectangle of W x H, step x = w + TileOffsetX,
// step y = h + TileOffsetY, nx = W div step x, ny = H div step y; tiling draws copies for the
// indices 0..nx and 0..ny, so a partial copy closes each edge.
KV_ENUM(TkvImageDrawStyle, idsTile, idsStretch, idsCenter, idsTopLeft, idsTopRight, idsBottomLeft,
        idsBottomRight, idsTopTile, idsLeftTile, idsRightTile, idsBottomTile, idsTopStretch,
        idsLeftStretch, idsRightStretch, idsBottomStretch, idsHorzStretchTile, idsVertStretchTile,
        idsHorzCenterStretch, idsVertCenterStretch, idsLeftCenter, idsTopCenter, idsRightCenter,
        idsBottomCenter)

// One copy of a picture: its destination and whether it is scaled into it (otherwise it is
// drawn in its own size with its top-left corner at Rect's).
struct TkvImagePlacement {
  TRect Rect;
  bool Stretched = false;
  bool operator==(const TkvImagePlacement&) const = default;
};

// Where the style puts copies of a PictureWidth x PictureHeight picture in ARect, limited to the
// copies that meet Visible (pass ARect to get them all). A tile step of 0 or less gives no copies
// for the tiling styles: the tiling could never end.
std::vector<TkvImagePlacement> ImagePlacements(TkvImageDrawStyle Style, int PictureWidth, int PictureHeight,
                                               const TRect& ARect, int TileOffsetX, int TileOffsetY,
                                               const TRect& Visible);

class TkvImageCollection;
class TkvImageCollectionItems;

class TkvImageCollectionItem : public TCollectionItem {
  KV_CLASS(TkvImageCollectionItem, TCollectionItem)
public:
  explicit TkvImageCollectionItem(TCollection* ACollection);
  ~TkvImageCollectionItem() override;
  void Assign(const TPersistent* Source) override;

  TPicture* Picture() const { return FPicture.get(); }
  // Copies Value into the item's own picture.
  void SetPicture(TPicture* Value);
  TkvImageDrawStyle DrawStyle() const { return FDrawStyle; }
  void SetDrawStyle(TkvImageDrawStyle Value);
  int TileOffsetX() const { return FTileOffsetX; }
  void SetTileOffsetX(int Value);
  int TileOffsetY() const { return FTileOffsetY; }
  void SetTileOffsetY(int Value);

  // The placement depends on the target's size: what is drawn changes when the target grows to
  // the right or down.
  bool NeedFullUpdate() const;
  // The picture is a PNG image that reports itself transparent.
  bool Transparent() const;
  // The picture is opaque and its copies cover every pixel of any target rectangle: a stretched
  // picture, or tiles without gaps (both offsets 0 or less). A control may then skip painting its
  // own background under the wallpaper.
  bool CoversTarget() const;

  // The picture scaled (filtered) to Width x Height, kept until the picture or the size changes,
  // so a stretched wallpaper is not scaled again on every paint. Null when the picture is empty.
  const TBitmap* Scaled(int Width, int Height) const;

private:
  void PictureChanged(TObject* Sender);
  std::unique_ptr<TPicture> FPicture;
  mutable std::unique_ptr<TBitmap> FScaled;
  TkvImageDrawStyle FDrawStyle = idsTile;
  int FTileOffsetX = 0;
  int FTileOffsetY = 0;
};

class TkvImageCollectionItems : public TCollectionOf<TkvImageCollectionItem> {
  KV_CLASS(TkvImageCollectionItems, TCollection)
public:
  explicit TkvImageCollectionItems(TkvImageCollection* AImageCollection);
  TkvImageCollection* ImageCollection() const { return FImageCollection; }
  void SetItems(int Index, const TkvImageCollectionItem* Value) { TCollection::SetItems(Index, Value); }

protected:
  void Update(TCollectionItem* Item) override;

private:
  friend class TkvImageCollection;
  TkvImageCollection* FImageCollection;
};

class TkvImageCollection : public TComponent {
  KV_CLASS(TkvImageCollection, TComponent)
public:
  explicit TkvImageCollection(TComponent* AOwner);
  ~TkvImageCollection() override;
  void Assign(const TPersistent* Source) override;

  TkvImageCollectionItems* Images() const { return FImages.get(); }
  void SetImages(TkvImageCollectionItems* Value);
  int Count() const { return FImages->Count(); }

  // Draws picture AIndex by its draw style into ARect, clipped to ARect. An index outside
  // 0..Count-1, a picture without a graphic and an empty graphic draw nothing.
  void Draw(TCanvas* ACanvas, const TRect& ARect, int AIndex) const;

  // Raised after any change of the pictures or their placement, so the controls showing them
  // can repaint.
  TNotifyEvent OnChange;

private:
  std::unique_ptr<TkvImageCollectionItems> FImages;
};
