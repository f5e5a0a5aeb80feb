#pragma once
// Image lists: many images of one size, drawn by index.
//
// Images are kept as premultiplied 32-bit pixels. With cd32Bit colour depth they keep their
// alpha; with any other depth every pixel is either opaque or transparent (alpha below 128
// becomes transparent), as a mask gives it.
//
// Drawing: enabled images blend per pixel; disabled images are drawn grey (the luma
// (77 R + 151 G + 28 B + 128) >> 8 of each premultiplied pixel) at half opacity (constant alpha
// 128). dsSelected and dsFocus mix the image with BlendColor (clHighlight when it is clNone)
// by one half and one quarter; dsNormal with a BkColor other than clNone fills the image's
// cell with it first; itMask draws the mask (black where the image is opaque, white elsewhere).
#include <memory>
#include <vector>

#include "platform/core/classes.h"
#include "platform/graphics/dc.h"

class TBitmap;
class TCanvas;

KV_ENUM(TColorDepth, cdDeviceDependent, cd4Bit, cd8Bit, cd16Bit, cd24Bit, cd32Bit)
KV_ENUM(TDrawingStyle, dsFocus, dsSelected, dsNormal, dsTransparent)
KV_ENUM(TImageType, itImage, itMask)

struct HIMAGELIST__;
using HIMAGELIST = HIMAGELIST__*;

// Drawing flags of the handle interface.
enum : unsigned {
  ILD_NORMAL = 0x0, ILD_TRANSPARENT = 0x1, ILD_BLEND25 = 0x2, ILD_FOCUS = ILD_BLEND25, ILD_BLEND50 = 0x4,
  ILD_SELECTED = ILD_BLEND50, ILD_BLEND = ILD_BLEND50, ILD_MASK = 0x10, ILD_DISABLED = 0x100
};
// The handle interface for native controls; an invalid handle or index is refused.
int ImageList_GetImageCount(HIMAGELIST himl);
bool ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy);
bool ImageList_Draw(HIMAGELIST himl, int index, HDC dc, int x, int y, unsigned style);
// rgbBk: background (CLR_NONE for none), rgbFg: blend colour (CLR_DEFAULT: clHighlight).
bool ImageList_DrawEx(HIMAGELIST himl, int index, HDC dc, int x, int y, int dx, int dy, COLORREF rgbBk,
                      COLORREF rgbFg, unsigned style);
constexpr COLORREF CLR_NONE = MakeTColor(0xFFFFFFFFu);
constexpr COLORREF CLR_DEFAULT = MakeTColor(0xFF000000u);

struct TImageListData;

class TCustomImageList : public TComponent {
  KV_CLASS(TCustomImageList, TComponent)
public:
  explicit TCustomImageList(TComponent* AOwner);
  ~TCustomImageList() override;
  void Assign(const TPersistent* Source) override;

  // Changing the size clears the list.
  int Width() const;
  void SetWidth(int Value);
  int Height() const;
  void SetHeight(int Value);
  void SetSize(int AWidth, int AHeight);
  int Count() const;
  TColorDepth ColorDepth() const;
  // Lowering the depth below cd32Bit turns the images' alpha into a mask.
  void SetColorDepth(TColorDepth Value);
  bool Masked() const { return FMasked; }
  void SetMasked(bool Value);
  TColor BkColor() const { return FBkColor; }
  void SetBkColor(TColor Value);
  TColor BlendColor() const { return FBlendColor; }
  void SetBlendColor(TColor Value);
  TDrawingStyle DrawingStyle() const { return FDrawingStyle; }
  void SetDrawingStyle(TDrawingStyle Value);
  TImageType ImageType() const { return FImageType; }
  void SetImageType(TImageType Value);
  int AllocBy() const { return FAllocBy; }
  void SetAllocBy(int Value);

  // Adds the image (a strip wider than Width adds Width-wide pieces); Mask (optional) is white
  // where the image is transparent. Returns the index of the first image added, or -1.
  int Add(TBitmap* Image, TBitmap* Mask);
  // Pixels of MaskColor become transparent (clDefault: the bottom-left pixel's colour).
  int AddMasked(TBitmap* Image, TColor MaskColor);
  // Premultiplied pixels of exactly Width x Height.
  int AddPixels(const TSurface& Pixels);
  void Replace(int Index, TBitmap* Image, TBitmap* Mask);
  void Delete(int Index);
  void Move(int CurIndex, int NewIndex);
  void Clear();

  void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true);
  void Draw(TCanvas* Canvas, int X, int Y, int Index, TDrawingStyle ADrawingStyle, TImageType AImageType,
            bool Enabled = true);
  // Makes Image a Width x Height pf32bit premultiplied bitmap holding a copy of the image,
  // alpha included. False for an index out of range.
  bool GetBitmap(int Index, TBitmap* Image);
  // The pixels of an image (EListError out of range).
  const TSurface& ImagePixels(int Index) const;

  HIMAGELIST Handle() const;

  void BeginUpdate();
  void EndUpdate();
  TNotifyEvent OnChange;

protected:
  virtual void Change();

private:
  void CheckIndex(int Index) const;
  int AddImages(TBitmap* Image, TBitmap* Mask, bool useMaskColor, TColor MaskColor, int replaceAt);
  std::shared_ptr<TImageListData> FData;
  bool FMasked = true;
  TColor FBkColor = clNone;
  TColor FBlendColor = clNone;
  TDrawingStyle FDrawingStyle = dsNormal;
  TImageType FImageType = itImage;
  int FAllocBy = 4;
  int FUpdateCount = 0;
  bool FChanged = false;
};

class TImageList : public TCustomImageList {
  KV_CLASS(TImageList, TCustomImageList)
public:
  using TCustomImageList::TCustomImageList;
};
