#pragma once
// Colours: TColor is 0x00BBGGRR for an RGB colour; a value with the high byte 0xFF names a
// system colour (its low byte is the system colour index), resolved by ColorToRGB through a
// table that the style layer may replace. clNone and clDefault are markers, not colours.
#include <cstdint>
#include <optional>
#include <string>

using TColor = int32_t;

constexpr TColor MakeTColor(uint32_t v) { return static_cast<TColor>(v); }
constexpr TColor RGB(int r, int g, int b) {
  return MakeTColor(static_cast<uint32_t>(r & 0xFF) | (static_cast<uint32_t>(g & 0xFF) << 8) |
                    (static_cast<uint32_t>(b & 0xFF) << 16));
}
constexpr int GetRValue(TColor c) { return static_cast<int>(static_cast<uint32_t>(c) & 0xFF); }
constexpr int GetGValue(TColor c) { return static_cast<int>((static_cast<uint32_t>(c) >> 8) & 0xFF); }
constexpr int GetBValue(TColor c) { return static_cast<int>((static_cast<uint32_t>(c) >> 16) & 0xFF); }

// System colour indexes.
enum : int {
  COLOR_SCROLLBAR = 0, COLOR_BACKGROUND = 1, COLOR_ACTIVECAPTION = 2, COLOR_INACTIVECAPTION = 3,
  COLOR_MENU = 4, COLOR_WINDOW = 5, COLOR_WINDOWFRAME = 6, COLOR_MENUTEXT = 7, COLOR_WINDOWTEXT = 8,
  COLOR_CAPTIONTEXT = 9, COLOR_ACTIVEBORDER = 10, COLOR_INACTIVEBORDER = 11, COLOR_APPWORKSPACE = 12,
  COLOR_HIGHLIGHT = 13, COLOR_HIGHLIGHTTEXT = 14, COLOR_BTNFACE = 15, COLOR_BTNSHADOW = 16,
  COLOR_GRAYTEXT = 17, COLOR_BTNTEXT = 18, COLOR_INACTIVECAPTIONTEXT = 19, COLOR_BTNHIGHLIGHT = 20,
  COLOR_3DDKSHADOW = 21, COLOR_3DLIGHT = 22, COLOR_INFOTEXT = 23, COLOR_INFOBK = 24,
  COLOR_HOTLIGHT = 26, COLOR_GRADIENTACTIVECAPTION = 27, COLOR_GRADIENTINACTIVECAPTION = 28,
  COLOR_MENUHILIGHT = 29, COLOR_MENUBAR = 30, COLOR_COUNT = 31
};

constexpr TColor clSystemColor = MakeTColor(0xFF000000u);
constexpr TColor SystemColor(int index) { return MakeTColor(0xFF000000u | static_cast<uint32_t>(index)); }
constexpr bool IsSystemColor(TColor c) { return (static_cast<uint32_t>(c) & 0xFF000000u) == 0xFF000000u; }

constexpr TColor clScrollBar = SystemColor(COLOR_SCROLLBAR);
constexpr TColor clBackground = SystemColor(COLOR_BACKGROUND);
constexpr TColor clActiveCaption = SystemColor(COLOR_ACTIVECAPTION);
constexpr TColor clInactiveCaption = SystemColor(COLOR_INACTIVECAPTION);
constexpr TColor clMenu = SystemColor(COLOR_MENU);
constexpr TColor clWindow = SystemColor(COLOR_WINDOW);
constexpr TColor clWindowFrame = SystemColor(COLOR_WINDOWFRAME);
constexpr TColor clMenuText = SystemColor(COLOR_MENUTEXT);
constexpr TColor clWindowText = SystemColor(COLOR_WINDOWTEXT);
constexpr TColor clCaptionText = SystemColor(COLOR_CAPTIONTEXT);
constexpr TColor clActiveBorder = SystemColor(COLOR_ACTIVEBORDER);
constexpr TColor clInactiveBorder = SystemColor(COLOR_INACTIVEBORDER);
constexpr TColor clAppWorkSpace = SystemColor(COLOR_APPWORKSPACE);
constexpr TColor clHighlight = SystemColor(COLOR_HIGHLIGHT);
constexpr TColor clHighlightText = SystemColor(COLOR_HIGHLIGHTTEXT);
constexpr TColor clBtnFace = SystemColor(COLOR_BTNFACE);
constexpr TColor clBtnShadow = SystemColor(COLOR_BTNSHADOW);
constexpr TColor clGrayText = SystemColor(COLOR_GRAYTEXT);
constexpr TColor clBtnText = SystemColor(COLOR_BTNTEXT);
constexpr TColor clInactiveCaptionText = SystemColor(COLOR_INACTIVECAPTIONTEXT);
constexpr TColor clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT);
constexpr TColor cl3DDkShadow = SystemColor(COLOR_3DDKSHADOW);
constexpr TColor cl3DLight = SystemColor(COLOR_3DLIGHT);
constexpr TColor clInfoText = SystemColor(COLOR_INFOTEXT);
constexpr TColor clInfoBk = SystemColor(COLOR_INFOBK);
constexpr TColor clHotLight = SystemColor(COLOR_HOTLIGHT);
constexpr TColor clGradientActiveCaption = SystemColor(COLOR_GRADIENTACTIVECAPTION);
constexpr TColor clGradientInactiveCaption = SystemColor(COLOR_GRADIENTINACTIVECAPTION);
constexpr TColor clMenuHighlight = SystemColor(COLOR_MENUHILIGHT);
constexpr TColor clMenuBar = SystemColor(COLOR_MENUBAR);

constexpr TColor clBlack = RGB(0, 0, 0);
constexpr TColor clMaroon = RGB(128, 0, 0);
constexpr TColor clGreen = RGB(0, 128, 0);
constexpr TColor clOlive = RGB(128, 128, 0);
constexpr TColor clNavy = RGB(0, 0, 128);
constexpr TColor clPurple = RGB(128, 0, 128);
constexpr TColor clTeal = RGB(0, 128, 128);
constexpr TColor clGray = RGB(128, 128, 128);
constexpr TColor clSilver = RGB(192, 192, 192);
constexpr TColor clRed = RGB(255, 0, 0);
constexpr TColor clLime = RGB(0, 255, 0);
constexpr TColor clYellow = RGB(255, 255, 0);
constexpr TColor clBlue = RGB(0, 0, 255);
constexpr TColor clFuchsia = RGB(255, 0, 255);
constexpr TColor clAqua = RGB(0, 255, 255);
constexpr TColor clWhite = RGB(255, 255, 255);
constexpr TColor clLtGray = clSilver;
constexpr TColor clDkGray = clGray;
constexpr TColor clMoneyGreen = RGB(192, 220, 192);
constexpr TColor clSkyBlue = RGB(166, 202, 240);
constexpr TColor clCream = RGB(255, 251, 240);
constexpr TColor clMedGray = RGB(160, 160, 164);

constexpr TColor clNone = MakeTColor(0x1FFFFFFFu);
constexpr TColor clDefault = MakeTColor(0x20000000u);

// The table behind ColorToRGB. The style layer installs its own table while a style is active;
// ResetSystemColors restores the built-in one.
struct TSystemColorTable {
  TColor Colors[COLOR_COUNT];
};
const TSystemColorTable& DefaultSystemColors();
void SetSystemColors(const TSystemColorTable& table);
void ResetSystemColors();
// RGB value of a colour: system colours through the active table; clNone reads black,
// clDefault white-window; RGB colours unchanged (high byte cleared).
TColor ColorToRGB(TColor color);
// RGB value of a system colour index from the active table.
TColor GetSysColor(int index);

// Names used by form descriptions: "clBtnFace", "clRed", ... Unknown names give nullopt.
std::optional<TColor> IdentToColor(const std::string& ident);
// "clRed" for a named colour, else "$00BBGGRR" (or decimal for markers the writer keeps).
std::string ColorToString(TColor color);
// Accepts a colour name, decimal or $hex; raises EConvertError otherwise.
TColor StringToColor(const std::string& text);
