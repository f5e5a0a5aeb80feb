#pragma once
// What a visual style says: its names, its replacement of the system colours, its named colours
// and text colours, and for every element state (a catalogue slot) how it is drawn. The style
// file parser fills a TStyleData; the built-in look (standardlook.h) makes one in code; the
// renderer draws its element looks.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/core/color.h"
#include "platform/core/enums.h"
#include "platform/core/geometry.h"
#include "platform/themes/elements.h"

// Named colours of a style, for the surfaces controls fill themselves.
KV_ENUM(TStyleColor, scWindow, scPanel, scPanelDisabled, scBorder, scSplitter, scToolBar,
        scEdit, scEditDisabled, scComboBox, scComboBoxDisabled, scListBox, scListBoxDisabled,
        scListView, scTreeView, scGrid, scButtonNormal, scButtonHot, scButtonPressed,
        scButtonFocused, scButtonDisabled)

// Named text colours of a style.
KV_ENUM(TStyleFont, sfWindowTextNormal, sfWindowTextDisabled, sfPanelTextNormal,
        sfPanelTextDisabled, sfButtonTextNormal, sfButtonTextHot, sfButtonTextPressed,
        sfButtonTextFocused, sfButtonTextDisabled, sfCheckBoxTextNormal, sfCheckBoxTextHot,
        sfCheckBoxTextPressed, sfCheckBoxTextDisabled, sfRadioButtonTextNormal,
        sfRadioButtonTextHot, sfRadioButtonTextPressed, sfRadioButtonTextDisabled,
        sfGroupBoxTextNormal, sfGroupBoxTextDisabled, sfEditBoxTextNormal, sfEditBoxTextHot,
        sfEditBoxTextFocused, sfEditBoxTextDisabled, sfEditBoxTextSelected,
        sfComboBoxItemNormal, sfComboBoxItemHot, sfComboBoxItemFocused, sfComboBoxItemDisabled,
        sfComboBoxItemSelected, sfListItemTextNormal, sfListItemTextHot, sfListItemTextFocused,
        sfListItemTextDisabled, sfListItemTextSelected, sfTreeItemTextNormal,
        sfTreeItemTextHot, sfTreeItemTextFocused, sfTreeItemTextDisabled,
        sfTreeItemTextSelected, sfHeaderSectionTextNormal, sfHeaderSectionTextHot,
        sfHeaderSectionTextPressed, sfHeaderSectionTextDisabled, sfTabTextNormal,
        sfTabTextHot, sfTabTextSelected, sfTabTextDisabled, sfToolItemTextNormal,
        sfToolItemTextHot, sfToolItemTextPressed, sfToolItemTextDisabled,
        sfMenuItemTextNormal, sfMenuItemTextHot, sfMenuItemTextDisabled,
        sfGridItemTextNormal, sfGridItemTextSelected, sfGridItemTextFixed)

// The colours GetElementColor can report of an element state.
KV_ENUM(TElementColor, ecTextColor, ecFillColor, ecBorderColor, ecGlyphColor)
// The sizes GetElementSize can report.
KV_ENUM(TElementSize, esMinimum, esActual, esStretch)

// A colour with its own opacity, not premultiplied (element looks may be translucent).
struct TStyleRGBA {
  uint8_t R = 0, G = 0, B = 0, A = 0;
  constexpr bool operator==(const TStyleRGBA&) const = default;
  constexpr bool Visible() const { return A != 0; }
  static constexpr TStyleRGBA Opaque(TColor rgb) {
    return {static_cast<uint8_t>(GetRValue(rgb)), static_cast<uint8_t>(GetGValue(rgb)),
            static_cast<uint8_t>(GetBValue(rgb)), 255};
  }
  constexpr TColor ToColor() const { return RGB(R, G, B); }
};
inline constexpr TStyleRGBA kTransparent{};

struct TGradientStop {
  float Position = 0;  // 0..1 along the gradient
  TStyleRGBA Color;
  constexpr bool operator==(const TGradientStop&) const = default;
};

KV_ENUM(TPaintKind, pkNone, pkSolid, pkVertical, pkHorizontal)

// How a shape is filled: nothing, one colour, or a gradient from top to bottom (vertical) or
// left to right (horizontal) through two or more stops.
struct TPaint {
  TPaintKind Kind = pkNone;
  std::vector<TGradientStop> Stops;  // one stop for pkSolid
  bool operator==(const TPaint&) const = default;
  static TPaint Solid(TStyleRGBA c) { return {pkSolid, {{0, c}}}; }
  static TPaint Vertical(std::vector<TGradientStop> stops) { return {pkVertical, std::move(stops)}; }
  // The colour a caption sits on: the solid colour, or the gradient's middle.
  std::optional<TStyleRGBA> Representative() const;
};

KV_ENUM(TStyleGlyph, sgNone, sgCheck, sgMixed, sgDot, sgArrowUp, sgArrowDown, sgArrowLeft,
        sgArrowRight, sgChevronUp, sgChevronDown, sgChevronLeft, sgChevronRight, sgGripHorz,
        sgGripVert, sgPlus, sgMinus, sgLineHorz, sgLineVert)

// Corner and side masks.
enum : uint8_t {
  kCornerTopLeft = 1, kCornerTopRight = 2, kCornerBottomRight = 4, kCornerBottomLeft = 8,
  kCornersAll = 15,
  kSideTop = 1, kSideRight = 2, kSideBottom = 4, kSideLeft = 8, kSidesAll = 15,
};

struct TInsets {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  constexpr bool operator==(const TInsets&) const = default;
  constexpr TRect Apply(const TRect& r) const {
    return {r.Left + Left, r.Top + Top, r.Right - Right, r.Bottom - Bottom};
  }
};

// How one element state is drawn, back to front: a one-pixel shadow under the shape, the
// shape's fill (or a nine-slice picture instead of fill and border), the border, a one-pixel
// inner line just inside the border, then the glyph centred in the shape.
struct TElementLook {
  TInsets Margin;                       // the shape is inset by this from the destination
  TInsets Content;                      // the area for captions, from the destination
  int Radius = 0;                       // corner radius of the shape
  uint8_t Corners = kCornersAll;        // which corners are rounded
  TPaint Fill;
  TStyleRGBA Border;                    // invisible: no border
  int BorderWidth = 1;
  uint8_t Sides = kSidesAll;            // which sides of the border are drawn
  TStyleRGBA Inner;                     // a line just inside the border
  TStyleRGBA Shadow;                    // a line under the shape (the shape gives up its last row)
  TStyleGlyph Glyph = sgNone;
  TStyleRGBA GlyphColor;
  int GlyphSize = 0;                    // 0: a size that suits the shape
  int Picture = -1;                     // index into TStyleData::Pictures, or -1
  TInsets PictureMargins;               // nine-slice margins of the picture
  std::optional<TColor> Text;           // caption colour (RGB), when the state has one
  TSize Size;                           // natural size; 0 x 0 when the element stretches
  bool operator==(const TElementLook&) const = default;
};

// A picture of a style, decoded to premultiplied ARGB32 (alpha 24..31, red 16..23, ...).
struct TStylePicture {
  String Name;
  int Width = 0, Height = 0;
  std::vector<uint32_t> Pixels;
};

struct TStyleData {
  String Name;         // display name, "Glossy"
  String Author;
  String Description;
  String Version;
  TSystemColorTable SystemColors{};                        // the replacement table
  std::array<TColor, EnumCount<TStyleColor>()> Colors{};   // RGB
  std::array<TColor, EnumCount<TStyleFont>()> Fonts{};     // RGB
  std::vector<TElementLook> Looks;                         // one per catalogue slot
  std::vector<TStylePicture> Pictures;

  const TElementLook* Look(const TThemedElementDetails& d) const {
    int slot = ElementCatalog::SlotOf(d);
    return slot < 0 ? nullptr : &Looks[static_cast<size_t>(slot)];
  }
};
