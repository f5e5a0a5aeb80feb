#include "tools/showcase/showcaseform.h"

#include "platform/streaming/resources.h"
#include "platform/themes/stylemanager.h"

KV_IMPLEMENT_CLASS(TShowcaseForm) {
  r.Field("Wallpapers", &TShowcaseForm::Wallpapers);
  r.Field("Glyphs16", &TShowcaseForm::Glyphs16);
  r.Field("Glyphs32", &TShowcaseForm::Glyphs32);
  r.Field("HeaderPanel", &TShowcaseForm::HeaderPanel);
  r.Field("StatusLabel", &TShowcaseForm::StatusLabel);
  r.Field("LookNative", &TShowcaseForm::LookNative);
  r.Field("LookClassic", &TShowcaseForm::LookClassic);
  r.Field("LookGlossy", &TShowcaseForm::LookGlossy);
  r.Field("LookSapphire", &TShowcaseForm::LookSapphire);
  r.Field("LookAqua", &TShowcaseForm::LookAqua);
  r.Field("LookTablet", &TShowcaseForm::LookTablet);
  r.Method("LookButtonClick", &TShowcaseForm::LookButtonClick);
}

const std::vector<TShowcaseLook>& ShowcaseLooks() {
  static const std::vector<TShowcaseLook> looks = {
      {"native", "Native", TStyleManager::SystemStyleName},
      {"classic", "Classic", ""},
      {"glossy", "Glossy", "Glossy"},
      {"sapphirekamri", "Sapphire Kamri", "Sapphire Kamri"},
      {"aqualightslate", "Aqua Light Slate", "Aqua Light Slate"},
      {"tabletdark", "Tablet Dark", "TabletDark"},
  };
  return looks;
}

const TShowcaseLook* FindShowcaseLook(const String& Key) {
  String squeezed;
  for (char c : LowerCase(Key))
    if (c != ' ') squeezed += c;
  for (const TShowcaseLook& look : ShowcaseLooks())
    if (squeezed == look.Key) return &look;
  return nullptr;
}

namespace {
std::string_view ResourceText(const char* Name, const char* Type) {
  std::span<const uint8_t> bytes = ResourceBytes(Name, Type);
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

void LoadStrip(TImageList* List, const char* Resource) {
  std::span<const uint8_t> bytes = ResourceBytes(Resource, RT_RCDATA);
  TBitmap strip;
  strip.LoadFromMemory(bytes.data(), bytes.size());
  List->Add(&strip, nullptr);
}
}  // namespace

TShowcaseForm::TShowcaseForm(TComponent* AOwner) : TForm(AOwner) {
  InitComponent(ResourceText("SHOWCASE", "FORM"));
  LoadPictures();
  ApplyLook(ShowcaseLooks().front());
}

void TShowcaseForm::LoadPictures() {
  static const char* const wallpapers[] = {"WALLPAPER0", "WALLPAPER1", "WALLPAPER2", "WALLPAPER3"};
  for (int i = 0; i < Wallpapers->Count(); ++i) {
    std::span<const uint8_t> bytes = ResourceBytes(wallpapers[i], RT_RCDATA);
    Wallpapers->Images()->Items(i)->Picture()->LoadFromMemory(bytes.data(), bytes.size());
  }
  LoadStrip(Glyphs16, "GLYPHS16");
  LoadStrip(Glyphs32, "GLYPHS32");
}

std::vector<TLookButton*> TShowcaseForm::LookButtons() const {
  return {LookNative, LookClassic, LookGlossy, LookSapphire, LookAqua, LookTablet};
}

void TShowcaseForm::LookButtonClick(TObject* Sender) {
  const std::vector<TLookButton*> buttons = LookButtons();
  for (size_t i = 0; i < buttons.size(); ++i)
    if (buttons[i] == Sender) ApplyLook(ShowcaseLooks()[i]);
}

void TShowcaseForm::ApplyLook(const TShowcaseLook& Look) {
  if (FLook == &Look) return;
  const bool classic = *Look.StyleName == '\0';
  TStyleManager::SetStyle(classic ? TStyleManager::SystemStyleName : Look.StyleName);
  TStyleManager::SetClassicLook(classic);
  FLook = &Look;
  const std::vector<TLookButton*> buttons = LookButtons();
  for (size_t i = 0; i < buttons.size(); ++i) buttons[i]->SetDown(&ShowcaseLooks()[i] == &Look);
  StatusLabel->SetCaption(String("Look: ") + Look.Title);
}
