#include "tools/showcase/showcaseform.h"

#include <algorithm>

#include "kv/kvUtils/kvColors.h"
#include "platform/graphics/png.h"
#include "platform/streaming/resources.h"
#include "platform/themes/stylemanager.h"

KV_IMPLEMENT_CLASS(TShowcaseForm) {
  r.Field("Wallpapers", &TShowcaseForm::Wallpapers);
  r.Field("Glyphs16", &TShowcaseForm::Glyphs16);
  r.Field("Glyphs32", &TShowcaseForm::Glyphs32);
  r.Field("HeaderPanel", &TShowcaseForm::HeaderPanel);
  r.Field("StatusLabel", &TShowcaseForm::StatusLabel);
  r.Field("BordersBox", &TShowcaseForm::BordersBox);
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
constexpr int kPageTile = 2;  // the wallpaper the page panel tiles

int Luma(uint32_t rgb) { return (((rgb >> 16) & 255) * 299 + ((rgb >> 8) & 255) * 587 + (rgb & 255) * 114) / 1000; }

// The tile's waves laid over Ground: every pixel keeps its difference from the tile's mean
// colour, at two thirds of its strength.
void TintTile(TSurface& Pixels, TColor Ground) {
  const int w = Pixels.Width(), h = Pixels.Height();
  if (w <= 0 || h <= 0) return;
  long sum[3] = {0, 0, 0};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < 3; ++c) sum[c] += (Pixels.Row(y)[x] >> (16 - 8 * c)) & 255;
  const COLORREF g = ColorToRGB(Ground);
  const int ground[3] = {GetRValue(g), GetGValue(g), GetBValue(g)};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint32_t out = 0xFF000000u;
      for (int c = 0; c < 3; ++c) {
        const int mean = static_cast<int>(sum[c] / (static_cast<long>(w) * h));
        const int v = ground[c] + (static_cast<int>((Pixels.Row(y)[x] >> (16 - 8 * c)) & 255) - mean) * 2 / 3;
        out |= static_cast<uint32_t>(std::clamp(v, 0, 255)) << (16 - 8 * c);
      }
      Pixels.Row(y)[x] = out;
    }
}

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
  FTile = std::make_unique<TPicture>();
  FTile->Assign(Wallpapers->Images()->Items(kPageTile)->Picture());
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
  UpdatePageTile();
  UpdateBorderSamples();
}

void TShowcaseForm::UpdateBorderSamples() {
  const TColor sample = MixColors(clBtnHighlight, clBtnShadow);
  for (int i = 0; i < BordersBox->ControlCount(); ++i)
    if (auto* panel = dynamic_cast<TkvPanel*>(BordersBox->Controls(i))) panel->SetColor(sample);
}

void TShowcaseForm::UpdatePageTile() {
  const TColor face = static_cast<TColor>(ColorToRGB(clBtnFace));
  const bool dark = Luma(ColorToOpaquePixel(face)) < 128;
  const TColor ground = dark ? face : clNone;
  if (ground == FTileGround) return;
  FTileGround = ground;
  TPicture* picture = Wallpapers->Images()->Items(kPageTile)->Picture();
  if (!dark) {
    picture->Assign(FTile.get());
    return;
  }
  TPngImage tinted;
  tinted.Assign(FTile->Graphic());
  TintTile(tinted.Pixels(), face);
  picture->SetGraphic(&tinted);
}
