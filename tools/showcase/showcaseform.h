#pragma once
// The showcase window: panels of every style kind and border style over a tiled wallpaper,
// transparent panels nested in each other, group boxes with and without the caption check box,
// and labels with glow, word wrap and alignment. It is built from its form description (the
// resource SHOWCASE of type FORM); the pictures of its image collection and image lists are the
// generated assets, compiled in as resources. The buttons in the header switch among the six
// looks.
#include <memory>
#include <vector>

#include "kv/kvControls/kvPanels.h"
#include "platform/controls/forms.h"
#include "tools/showcase/lookbutton.h"

// A look the showcase can show: a short key for the command line, the caption, and the style
// to activate (empty for the classic look, which is the built-in style with style services off).
struct TShowcaseLook {
  const char* Key;
  const char* Title;
  const char* StyleName;
};
const std::vector<TShowcaseLook>& ShowcaseLooks();
// The look of a key ("native", "aqualightslate"; case and spaces ignored), or null.
const TShowcaseLook* FindShowcaseLook(const String& Key);

class TShowcaseForm : public TForm {
  KV_CLASS(TShowcaseForm, TForm)
public:
  explicit TShowcaseForm(TComponent* AOwner);

  // Activates a look and marks its button.
  void ApplyLook(const TShowcaseLook& Look);
  const TShowcaseLook* CurrentLook() const { return FLook; }

  // Published fields, set by the form reader.
  TkvImageCollection* Wallpapers = nullptr;
  TImageList* Glyphs16 = nullptr;
  TImageList* Glyphs32 = nullptr;
  TkvPanel* HeaderPanel = nullptr;
  TkvLabel* StatusLabel = nullptr;
  TkvGroupBox* BordersBox = nullptr;
  TLookButton* LookNative = nullptr;
  TLookButton* LookClassic = nullptr;
  TLookButton* LookGlossy = nullptr;
  TLookButton* LookSapphire = nullptr;
  TLookButton* LookAqua = nullptr;
  TLookButton* LookTablet = nullptr;

  // Published method: the look buttons' OnClick.
  void LookButtonClick(TObject* Sender);

private:
  void LoadPictures();
  // The page tile for the active look: as generated on light grounds; on a dark window colour
  // its waves are laid over that colour instead, so that the style's light text stays legible.
  void UpdatePageTile();
  // The samples of the border styles: a face halfway between the light and the shadow border
  // colours of the look, on which both show equally.
  void UpdateBorderSamples();
  std::vector<TLookButton*> LookButtons() const;
  const TShowcaseLook* FLook = nullptr;
  std::unique_ptr<TPicture> FTile;  // the page tile as generated
  TColor FTileGround = clNone;      // the window colour the tile in use was made for
};
