#include "platform/graphics/picture.h"

#include "platform/core/filer.h"

KV_IMPLEMENT_CLASS(TPicture) { r.Event("OnChange", &TPicture::OnChange); }

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::GraphicChanged(TObject*) { OnChange(this); }

void TPicture::Take(std::unique_ptr<TGraphic> graphic) {
  FGraphic = std::move(graphic);
  if (FGraphic) FGraphic->OnChange = TNotifyEvent(this, &TPicture::GraphicChanged);
  OnChange(this);
}

namespace {
std::unique_ptr<TGraphic> NewGraphic(std::string_view className) {
  if (className == "TPngImage") return std::make_unique<TPngImage>();
  if (className == "TBitmap") return std::make_unique<TBitmap>();
  return nullptr;
}

std::unique_ptr<TGraphic> CopyOf(const TGraphic* g) {
  if (!g) return nullptr;
  std::unique_ptr<TGraphic> copy;
  if (dynamic_cast<const TPngImage*>(g)) copy = std::make_unique<TPngImage>();
  else if (dynamic_cast<const TBitmap*>(g)) copy = std::make_unique<TBitmap>();
  else throw EInvalidGraphic("Unsupported graphic class " + g->ClassName());
  copy->Assign(g);
  return copy;
}
}  // namespace

void TPicture::SetGraphic(TGraphic* Value) {
  if (Value == FGraphic.get()) return;
  Take(CopyOf(Value));
}

void TPicture::Assign(const TPersistent* Source) {
  if (!Source) {
    Take(nullptr);
  } else if (auto* p = dynamic_cast<const TPicture*>(Source)) {
    if (p != this) Take(CopyOf(p->FGraphic.get()));
  } else if (auto* g = dynamic_cast<const TGraphic*>(Source)) {
    Take(CopyOf(g));
  } else {
    inherited::Assign(Source);
  }
}

TBitmap* TPicture::Bitmap() {
  if (auto* b = dynamic_cast<TBitmap*>(FGraphic.get())) return b;
  Take(std::make_unique<TBitmap>());
  return static_cast<TBitmap*>(FGraphic.get());
}

void TPicture::LoadFromMemory(const void* Data, size_t Size) {
  auto png = std::make_unique<TPngImage>();
  png->LoadFromMemory(Data, Size);  // raises on bad data, before the picture changes
  Take(std::move(png));
}

void TPicture::LoadFromFile(const String& FileName) {
  std::vector<uint8_t> data = ReadFileBytes(FileName);
  LoadFromMemory(data.data(), data.size());
}

std::vector<uint8_t> TPicture::SaveToMemory() const {
  if (!FGraphic) throw EInvalidGraphicOperation("Cannot save an empty picture");
  return FGraphic->SaveToMemory();
}

void TPicture::SaveToFile(const String& FileName) const { WriteFileBytes(FileName, SaveToMemory()); }

void TPicture::DefineProperties(TFiler& Filer) {
  Filer.DefineProperty(
      "Data",
      [this](TReader& r) {
        std::vector<uint8_t> data = r.ReadBinary();
        if (data.empty()) {
          Take(nullptr);
          return;
        }
        size_t nameLength = data[0];
        if (data.size() < 1 + nameLength) r.Error("Picture data is truncated");
        String className(reinterpret_cast<const char*>(data.data() + 1), nameLength);
        std::unique_ptr<TGraphic> graphic = NewGraphic(className);
        if (!graphic) r.Error("Unknown graphic class " + className + " in picture data");
        try {
          graphic->LoadFromMemory(data.data() + 1 + nameLength, data.size() - 1 - nameLength);
        } catch (const Exception& e) {
          r.Error(String("Invalid picture data: ") + e.what());
        }
        Take(std::move(graphic));
      },
      [this](TWriter& w) {
        const String& className = FGraphic->ClassName();
        std::vector<uint8_t> bytes = FGraphic->SaveToMemory();
        std::vector<uint8_t> data;
        data.reserve(1 + className.size() + bytes.size());
        data.push_back(static_cast<uint8_t>(className.size()));
        data.insert(data.end(), className.begin(), className.end());
        data.insert(data.end(), bytes.begin(), bytes.end());
        w.WriteBinary(data);
      },
      FGraphic != nullptr && !FGraphic->Empty());
}
