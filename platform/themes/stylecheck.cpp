#include "platform/themes/stylecheck.h"

#include <cstdio>
#include <cstring>

#include "platform/themes/colormath.h"

namespace {
String Hex(TColor c) {
  char b[8];
  std::snprintf(b, sizeof b, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
  return b;
}

// What a look shows under a centred caption, over the surface it stands on.
TColor Surface(const TElementLook* look, TColor under) {
  if (!look) return under;
  std::optional<TStyleRGBA> fill = look->Fill.Representative();
  if (look->Picture >= 0) return under;  // a picture's colours are not known here
  return fill ? Flatten(*fill, under) : under;
}

class TChecker {
public:
  explicit TChecker(const TStyleData& s) : S(s) {}

  std::vector<TReadabilityIssue> Run() {
    const TSystemColorTable& sys = S.SystemColors;
    TColor face = sys.Colors[COLOR_BTNFACE];
    TColor toolbar = Surface(S.Look(GetElementDetails(ttbBackground)), face);
    TColor calendar = Surface(S.Look(GetElementDetails(tmcBackground)), sys.Colors[COLOR_WINDOW]);
    for (int slot = 0; slot < ElementCatalog::SlotCount(); ++slot) {
      const TElementPartInfo& part = ElementCatalog::PartOfSlot(slot);
      if (!part.HasText) continue;
      const TElementLook& look = S.Looks[static_cast<size_t>(slot)];
      String subject = ElementCatalog::PartName(part) + "." + ElementCatalog::StateName(slot);
      if (!look.Text) {
        Issues.push_back({subject + " has no text colour", clNone, clNone, 0, kMinTextContrast});
        continue;
      }
      TColor ground;
      if (part.Element == teButton && part.Part != 1) ground = face;  // captions beside the glyph
      else if (part.Element == teToolBar) ground = Surface(&look, toolbar);
      else if (part.Element == teMonthCal) ground = Surface(&look, calendar);
      else ground = Surface(&look, face);
      Check(subject, *look.Text, ground, std::strstr(ElementCatalog::StateName(slot), "Disabled") != nullptr);
    }
    auto font = [&](TStyleFont f) { return S.Fonts[f]; };
    auto color = [&](TStyleColor c) { return S.Colors[c]; };
    auto fill = [&](auto value) { return Surface(S.Look(GetElementDetails(value)), face); };
    struct TPair { TStyleFont Font; TColor Ground; };
    const TColor highlight = sys.Colors[COLOR_HIGHLIGHT];
    const TPair pairs[] = {
        {sfWindowTextNormal, color(scWindow)}, {sfWindowTextDisabled, color(scWindow)},
        {sfPanelTextNormal, color(scPanel)}, {sfPanelTextDisabled, color(scPanelDisabled)},
        {sfButtonTextNormal, color(scButtonNormal)}, {sfButtonTextHot, color(scButtonHot)},
        {sfButtonTextPressed, color(scButtonPressed)}, {sfButtonTextFocused, color(scButtonFocused)},
        {sfButtonTextDisabled, color(scButtonDisabled)},
        {sfCheckBoxTextNormal, color(scWindow)}, {sfCheckBoxTextHot, color(scWindow)},
        {sfCheckBoxTextPressed, color(scWindow)}, {sfCheckBoxTextDisabled, color(scWindow)},
        {sfRadioButtonTextNormal, color(scWindow)}, {sfRadioButtonTextHot, color(scWindow)},
        {sfRadioButtonTextPressed, color(scWindow)}, {sfRadioButtonTextDisabled, color(scWindow)},
        {sfGroupBoxTextNormal, color(scWindow)}, {sfGroupBoxTextDisabled, color(scWindow)},
        {sfEditBoxTextNormal, color(scEdit)}, {sfEditBoxTextHot, color(scEdit)},
        {sfEditBoxTextFocused, color(scEdit)}, {sfEditBoxTextDisabled, color(scEditDisabled)},
        {sfEditBoxTextSelected, highlight},
        {sfComboBoxItemNormal, color(scComboBox)}, {sfComboBoxItemHot, color(scComboBox)},
        {sfComboBoxItemFocused, color(scComboBox)}, {sfComboBoxItemDisabled, color(scComboBoxDisabled)},
        {sfComboBoxItemSelected, highlight},
        {sfListItemTextNormal, color(scListBox)}, {sfListItemTextHot, color(scListBox)},
        {sfListItemTextFocused, color(scListBox)}, {sfListItemTextDisabled, color(scListBoxDisabled)},
        {sfListItemTextSelected, highlight},
        {sfTreeItemTextNormal, color(scTreeView)}, {sfTreeItemTextHot, color(scTreeView)},
        {sfTreeItemTextFocused, color(scTreeView)}, {sfTreeItemTextDisabled, color(scTreeView)},
        {sfTreeItemTextSelected, highlight},
        {sfHeaderSectionTextNormal, fill(thHeaderItemNormal)}, {sfHeaderSectionTextHot, fill(thHeaderItemHot)},
        {sfHeaderSectionTextPressed, fill(thHeaderItemPressed)},
        {sfHeaderSectionTextDisabled, fill(thHeaderItemNormal)},
        {sfTabTextNormal, fill(ttTabItemNormal)}, {sfTabTextHot, fill(ttTabItemHot)},
        {sfTabTextSelected, fill(ttTabItemSelected)}, {sfTabTextDisabled, fill(ttTabItemDisabled)},
        {sfToolItemTextNormal, toolbar}, {sfToolItemTextHot, Surface(S.Look(GetElementDetails(ttbButtonHot)), toolbar)},
        {sfToolItemTextPressed, Surface(S.Look(GetElementDetails(ttbButtonPressed)), toolbar)},
        {sfToolItemTextDisabled, toolbar},
        {sfMenuItemTextNormal, sys.Colors[COLOR_MENU]}, {sfMenuItemTextHot, sys.Colors[COLOR_MENUHILIGHT]},
        {sfMenuItemTextDisabled, sys.Colors[COLOR_MENU]},
        {sfGridItemTextNormal, color(scGrid)}, {sfGridItemTextSelected, fill(tgCellSelected)},
        {sfGridItemTextFixed, fill(tgFixedCellNormal)},
    };
    for (const TPair& p : pairs) {
      const String& name = EnumInfo<TStyleFont>().Name(p.Font);
      Check(name, font(p.Font), p.Ground, name.find("Disabled") != String::npos);
    }
    struct TSysPair { const char* Name; int Text, Ground; bool Dim; };
    const TSysPair system[] = {
        {"clBtnText", COLOR_BTNTEXT, COLOR_BTNFACE, false},
        {"clWindowText", COLOR_WINDOWTEXT, COLOR_WINDOW, false},
        {"clHighlightText", COLOR_HIGHLIGHTTEXT, COLOR_HIGHLIGHT, false},
        {"clMenuText", COLOR_MENUTEXT, COLOR_MENU, false},
        {"clInfoText", COLOR_INFOTEXT, COLOR_INFOBK, false},
        {"clCaptionText", COLOR_CAPTIONTEXT, COLOR_ACTIVECAPTION, false},
        {"clGrayText", COLOR_GRAYTEXT, COLOR_BTNFACE, true},
        {"clGrayText on clWindow", COLOR_GRAYTEXT, COLOR_WINDOW, true},
    };
    for (const TSysPair& p : system) Check(p.Name, sys.Colors[p.Text], sys.Colors[p.Ground], p.Dim);
    return std::move(Issues);
  }

private:
  void Check(const String& subject, TColor text, TColor ground, bool disabled) {
    double required = disabled ? kMinDisabledContrast : kMinTextContrast;
    double ratio = ContrastRatio(text, ground);
    if (ratio + 1e-9 < required) Issues.push_back({subject, text, ground, ratio, required});
  }

  const TStyleData& S;
  std::vector<TReadabilityIssue> Issues;
};
}  // namespace

String TReadabilityIssue::Message() const {
  if (Text == clNone) return Subject;
  char ratio[32];
  std::snprintf(ratio, sizeof ratio, "%.2f", Contrast);
  char need[32];
  std::snprintf(need, sizeof need, "%.1f", Required);
  return Subject + ": text " + Hex(Text) + " on " + Hex(Ground) + " has a contrast of " + ratio +
         " (at least " + need + " is needed)";
}

std::vector<TReadabilityIssue> CheckStyleReadability(const TStyleData& style) { return TChecker(style).Run(); }
