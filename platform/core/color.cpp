#include "platform/core/color.h"


#include "platform/core/exceptions.h"
#include "platform/core/strings.h"

namespace {
TSystemColorTable MakeDefault() {
  TSystemColorTable t{};
  for (TColor& c : t.Colors) c = RGB(0, 0, 0);
  t.Colors[COLOR_SCROLLBAR] = RGB(200, 200, 200);
  t.Colors[COLOR_BACKGROUND] = RGB(58, 110, 165);
  t.Colors[COLOR_ACTIVECAPTION] = RGB(153, 180, 209);
  t.Colors[COLOR_INACTIVECAPTION] = RGB(191, 205, 219);
  t.Colors[COLOR_MENU] = RGB(240, 240, 240);
  t.Colors[COLOR_WINDOW] = RGB(255, 255, 255);
  t.Colors[COLOR_WINDOWFRAME] = RGB(100, 100, 100);
  t.Colors[COLOR_MENUTEXT] = RGB(0, 0, 0);
  t.Colors[COLOR_WINDOWTEXT] = RGB(0, 0, 0);
  t.Colors[COLOR_CAPTIONTEXT] = RGB(0, 0, 0);
  t.Colors[COLOR_ACTIVEBORDER] = RGB(180, 180, 180);
  t.Colors[COLOR_INACTIVEBORDER] = RGB(244, 247, 252);
  t.Colors[COLOR_APPWORKSPACE] = RGB(171, 171, 171);
  t.Colors[COLOR_HIGHLIGHT] = RGB(0, 120, 215);
  t.Colors[COLOR_HIGHLIGHTTEXT] = RGB(255, 255, 255);
  t.Colors[COLOR_BTNFACE] = RGB(240, 240, 240);
  t.Colors[COLOR_BTNSHADOW] = RGB(160, 160, 160);
  t.Colors[COLOR_GRAYTEXT] = RGB(109, 109, 109);
  t.Colors[COLOR_BTNTEXT] = RGB(0, 0, 0);
  t.Colors[COLOR_INACTIVECAPTIONTEXT] = RGB(0, 0, 0);
  t.Colors[COLOR_BTNHIGHLIGHT] = RGB(255, 255, 255);
  t.Colors[COLOR_3DDKSHADOW] = RGB(105, 105, 105);
  t.Colors[COLOR_3DLIGHT] = RGB(227, 227, 227);
  t.Colors[COLOR_INFOTEXT] = RGB(0, 0, 0);
  t.Colors[COLOR_INFOBK] = RGB(255, 255, 225);
  t.Colors[25] = RGB(0, 0, 0);
  t.Colors[COLOR_HOTLIGHT] = RGB(0, 102, 204);
  t.Colors[COLOR_GRADIENTACTIVECAPTION] = RGB(185, 209, 234);
  t.Colors[COLOR_GRADIENTINACTIVECAPTION] = RGB(215, 228, 242);
  t.Colors[COLOR_MENUHILIGHT] = RGB(0, 120, 215);
  t.Colors[COLOR_MENUBAR] = RGB(240, 240, 240);
  return t;
}

const TSystemColorTable kDefault = MakeDefault();
// The table is swapped whole on the user-interface thread; other threads only read.
TSystemColorTable gActive = kDefault;

struct NamedColor {
  const char* name;
  TColor color;
};
constexpr NamedColor kNames[] = {
    {"clBlack", clBlack}, {"clMaroon", clMaroon}, {"clGreen", clGreen}, {"clOlive", clOlive},
    {"clNavy", clNavy}, {"clPurple", clPurple}, {"clTeal", clTeal}, {"clGray", clGray},
    {"clSilver", clSilver}, {"clRed", clRed}, {"clLime", clLime}, {"clYellow", clYellow},
    {"clBlue", clBlue}, {"clFuchsia", clFuchsia}, {"clAqua", clAqua}, {"clWhite", clWhite},
    {"clMoneyGreen", clMoneyGreen}, {"clSkyBlue", clSkyBlue}, {"clCream", clCream},
    {"clMedGray", clMedGray}, {"clNone", clNone}, {"clDefault", clDefault},
    {"clScrollBar", clScrollBar}, {"clBackground", clBackground},
    {"clActiveCaption", clActiveCaption}, {"clInactiveCaption", clInactiveCaption},
    {"clMenu", clMenu}, {"clWindow", clWindow}, {"clWindowFrame", clWindowFrame},
    {"clMenuText", clMenuText}, {"clWindowText", clWindowText}, {"clCaptionText", clCaptionText},
    {"clActiveBorder", clActiveBorder}, {"clInactiveBorder", clInactiveBorder},
    {"clAppWorkSpace", clAppWorkSpace}, {"clHighlight", clHighlight},
    {"clHighlightText", clHighlightText}, {"clBtnFace", clBtnFace}, {"clBtnShadow", clBtnShadow},
    {"clGrayText", clGrayText}, {"clBtnText", clBtnText},
    {"clInactiveCaptionText", clInactiveCaptionText}, {"clBtnHighlight", clBtnHighlight},
    {"cl3DDkShadow", cl3DDkShadow}, {"cl3DLight", cl3DLight}, {"clInfoText", clInfoText},
    {"clInfoBk", clInfoBk}, {"clHotLight", clHotLight},
    {"clGradientActiveCaption", clGradientActiveCaption},
    {"clGradientInactiveCaption", clGradientInactiveCaption}, {"clMenuHighlight", clMenuHighlight},
    {"clMenuBar", clMenuBar},
};
}  // namespace

const TSystemColorTable& DefaultSystemColors() { return kDefault; }
void SetSystemColors(const TSystemColorTable& table) { gActive = table; }
void ResetSystemColors() { gActive = kDefault; }

TColor GetSysColor(int index) {
  if (index < 0 || index >= COLOR_COUNT) return clBlack;
  return gActive.Colors[index];
}

TColor ColorToRGB(TColor color) {
  if (IsSystemColor(color)) return GetSysColor(static_cast<int>(static_cast<uint32_t>(color) & 0xFF));
  if (color == clNone) return clBlack;
  if (color == clDefault) return gActive.Colors[COLOR_WINDOW];
  return MakeTColor(static_cast<uint32_t>(color) & 0x00FFFFFFu);
}

std::optional<TColor> IdentToColor(const std::string& ident) {
  for (const NamedColor& n : kNames)
    if (SameText(ident, n.name)) return n.color;
  return std::nullopt;
}

std::string ColorToString(TColor color) {
  for (const NamedColor& n : kNames)
    if (n.color == color) return n.name;
  std::string r = "$";
  r += IntToHex(static_cast<uint32_t>(color), 8);
  return r;
}

TColor StringToColor(const std::string& text) {
  if (auto c = IdentToColor(Trim(text))) return *c;
  int64_t v;
  try {
    v = StrToInt64(text);
  } catch (const EConvertError&) {
    throw EConvertError("'" + text + "' is not a valid colour");
  }
  if (v < INT32_MIN || v > static_cast<int64_t>(UINT32_MAX))
    throw EConvertError("'" + text + "' is not a valid colour");
  return MakeTColor(static_cast<uint32_t>(v));
}
