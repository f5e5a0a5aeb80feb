#pragma once
// TPicture: holds one graphic (a bitmap or a PNG image) and loads either kind.
//
// Form descriptions store the graphic as the binary value "Data": the graphic's class name
// (one length byte, then the name) followed by the graphic's own saved bytes (PNG). The
// graphic is not a published sub-object, since it exists only once the data is read.
#include <memory>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/png.h"

class TPicture : public TPersistent {
  KV_CLASS(TPicture, TPersistent)
public:
  TPicture();
  ~TPicture() override;
  void Assign(const TPersistent* Source) override;
  void DefineProperties(TFiler& Filer) override;

  TGraphic* Graphic() const { return FGraphic.get(); }
  // Holds a copy of Value (of the same class); null empties the picture.
  void SetGraphic(TGraphic* Value);
  // The graphic as a bitmap; a picture holding something else is replaced by an empty bitmap.
  TBitmap* Bitmap();
  int Width() const { return FGraphic ? FGraphic->Width() : 0; }
  int Height() const { return FGraphic ? FGraphic->Height() : 0; }

  // PNG data (also in files with another extension). Invalid data raises EInvalidGraphic and
  // leaves the picture as it was.
  void LoadFromFile(const String& FileName);
  void LoadFromMemory(const void* Data, size_t Size);
  void SaveToFile(const String& FileName) const;
  std::vector<uint8_t> SaveToMemory() const;

  TNotifyEvent OnChange;

private:
  void Take(std::unique_ptr<TGraphic> graphic);
  void GraphicChanged(TObject* Sender);
  std::unique_ptr<TGraphic> FGraphic;
};
