#pragma once
// TGraphic: a picture that can draw itself on a canvas, load and save itself.
#include <cstdint>
#include <vector>

#include "platform/core/classes.h"
#include "platform/core/exceptions.h"
#include "platform/core/geometry.h"

KV_DECLARE_EXCEPTION(EInvalidGraphic, Exception);           // data that is not a valid picture
KV_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception);  // an operation the picture cannot do
KV_DECLARE_EXCEPTION(EWriteError, Exception);               // a file that cannot be written

class TCanvas;

class TGraphic : public TPersistent {
  KV_CLASS(TGraphic, TPersistent)
public:
  virtual bool Empty() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  void SetWidth(int Value) { SetSize(Value, Height()); }
  void SetHeight(int Value) { SetSize(Width(), Value); }
  virtual void SetSize(int AWidth, int AHeight) = 0;
  // Transparent pictures draw only their opaque parts (per-pixel alpha or a transparent colour).
  bool Transparent() const { return FTransparent; }
  virtual void SetTransparent(bool Value);

  // Loading replaces the picture only when the data is valid; otherwise EInvalidGraphic is
  // raised and the picture stays as it was. Files that cannot be opened raise EReadError.
  void LoadFromFile(const String& FileName);
  virtual void LoadFromMemory(const void* Data, size_t Size) = 0;
  void SaveToFile(const String& FileName) const;
  virtual std::vector<uint8_t> SaveToMemory() const = 0;

  // Draws the picture into Rect (stretched when the sizes differ) with a constant opacity.
  virtual void Draw(TCanvas* ACanvas, const TRect& Rect, uint8_t Opacity = 255) const = 0;

  TNotifyEvent OnChange;

protected:
  virtual void Changed();
  bool FTransparent = false;
};

// Whole-file helpers: EReadError or EWriteError naming the file on failure.
std::vector<uint8_t> ReadFileBytes(const String& FileName);
void WriteFileBytes(const String& FileName, const std::vector<uint8_t>& Data);
