#pragma once
// The element catalogue: every piece that style services draw, named as element, part and
// state. The enumerations (TThemedButton, TThemedScrollBar, ...) list each element's parts and
// states in catalogue order, so a value maps to its details without a hand-written table; the
// catalogue also names them for style files ("Button.PushButton", state "Hot") and numbers every
// state of every part with a flat slot index that the style engine uses for its tables.
//
// Parts are numbered from 1 within their element, except an element's background (the tool
// bar and window backgrounds), which is part 0; states are numbered from 1 within their part,
// except that a part-0 background has the single state 0.
#include <span>
#include <string_view>

#include "platform/core/enums.h"
#include "platform/core/strings.h"

KV_ENUM(TThemedElement, teButton, teComboBox, teEdit, teGrid, teHeader, teMonthCal, teProgress,
        teScrollBar, teSpin, teTab, teToolBar, teWindow)

KV_ENUM(TThemedButton,
        tbPushButtonNormal, tbPushButtonHot, tbPushButtonPressed, tbPushButtonDisabled,
        tbPushButtonDefaulted,
        tbRadioButtonUncheckedNormal, tbRadioButtonUncheckedHot, tbRadioButtonUncheckedPressed,
        tbRadioButtonUncheckedDisabled, tbRadioButtonCheckedNormal, tbRadioButtonCheckedHot,
        tbRadioButtonCheckedPressed, tbRadioButtonCheckedDisabled,
        tbCheckBoxUncheckedNormal, tbCheckBoxUncheckedHot, tbCheckBoxUncheckedPressed,
        tbCheckBoxUncheckedDisabled, tbCheckBoxCheckedNormal, tbCheckBoxCheckedHot,
        tbCheckBoxCheckedPressed, tbCheckBoxCheckedDisabled, tbCheckBoxMixedNormal,
        tbCheckBoxMixedHot, tbCheckBoxMixedPressed, tbCheckBoxMixedDisabled,
        tbGroupBoxNormal, tbGroupBoxDisabled)

KV_ENUM(TThemedComboBox,
        tcDropDownButtonNormal, tcDropDownButtonHot, tcDropDownButtonPressed,
        tcDropDownButtonDisabled,
        tcBorderNormal, tcBorderHot, tcBorderFocused, tcBorderDisabled,
        tcDropDownButtonRightNormal, tcDropDownButtonRightHot, tcDropDownButtonRightPressed,
        tcDropDownButtonRightDisabled,
        tcDropDownButtonLeftNormal, tcDropDownButtonLeftHot, tcDropDownButtonLeftPressed,
        tcDropDownButtonLeftDisabled)

KV_ENUM(TThemedEdit,
        teEditBorderNoScrollNormal, teEditBorderNoScrollHot, teEditBorderNoScrollFocused,
        teEditBorderNoScrollDisabled)

KV_ENUM(TThemedGrid, tgFixedCellNormal, tgFixedCellHot, tgFixedCellPressed, tgCellNormal,
        tgCellSelected)

KV_ENUM(TThemedHeader, thHeaderItemNormal, thHeaderItemHot, thHeaderItemPressed)

KV_ENUM(TThemedMonthCal, tmcBackground, tmcGridCellBackgroundSelected, tmcGridCellBackgroundHot,
        tmcGridCellBackgroundSelectedHot, tmcGridCellBackgroundSelectedNotFocused,
        tmcGridCellBackgroundToday)

KV_ENUM(TThemedProgress, tpBar, tpBarVert, tpChunk, tpChunkVert)

KV_ENUM(TThemedScrollBar,
        tsArrowBtnUpNormal, tsArrowBtnUpHot, tsArrowBtnUpPressed, tsArrowBtnUpDisabled,
        tsArrowBtnDownNormal, tsArrowBtnDownHot, tsArrowBtnDownPressed, tsArrowBtnDownDisabled,
        tsArrowBtnLeftNormal, tsArrowBtnLeftHot, tsArrowBtnLeftPressed, tsArrowBtnLeftDisabled,
        tsArrowBtnRightNormal, tsArrowBtnRightHot, tsArrowBtnRightPressed,
        tsArrowBtnRightDisabled,
        tsThumbBtnHorzNormal, tsThumbBtnHorzHot, tsThumbBtnHorzPressed, tsThumbBtnHorzDisabled,
        tsThumbBtnVertNormal, tsThumbBtnVertHot, tsThumbBtnVertPressed, tsThumbBtnVertDisabled,
        tsLowerTrackHorzNormal, tsLowerTrackHorzHot, tsLowerTrackHorzPressed,
        tsLowerTrackHorzDisabled,
        tsUpperTrackHorzNormal, tsUpperTrackHorzHot, tsUpperTrackHorzPressed,
        tsUpperTrackHorzDisabled,
        tsLowerTrackVertNormal, tsLowerTrackVertHot, tsLowerTrackVertPressed,
        tsLowerTrackVertDisabled,
        tsUpperTrackVertNormal, tsUpperTrackVertHot, tsUpperTrackVertPressed,
        tsUpperTrackVertDisabled)

KV_ENUM(TThemedSpin,
        tsUpNormal, tsUpHot, tsUpPressed, tsUpDisabled,
        tsDownNormal, tsDownHot, tsDownPressed, tsDownDisabled,
        tsUpHorzNormal, tsUpHorzHot, tsUpHorzPressed, tsUpHorzDisabled,
        tsDownHorzNormal, tsDownHorzHot, tsDownHorzPressed, tsDownHorzDisabled)

KV_ENUM(TThemedTab,
        ttTabItemNormal, ttTabItemHot, ttTabItemSelected, ttTabItemDisabled, ttTabItemFocused,
        ttTabItemLeftEdgeNormal, ttTabItemLeftEdgeHot, ttTabItemLeftEdgeSelected,
        ttTabItemLeftEdgeDisabled, ttTabItemLeftEdgeFocused,
        ttTabItemRightEdgeNormal, ttTabItemRightEdgeHot, ttTabItemRightEdgeSelected,
        ttTabItemRightEdgeDisabled, ttTabItemRightEdgeFocused,
        ttTabItemBothEdgeNormal, ttTabItemBothEdgeHot, ttTabItemBothEdgeSelected,
        ttTabItemBothEdgeDisabled, ttTabItemBothEdgeFocused,
        ttPane)

KV_ENUM(TThemedToolBar,
        ttbBackground,
        ttbButtonNormal, ttbButtonHot, ttbButtonPressed, ttbButtonDisabled, ttbButtonChecked,
        ttbButtonCheckedHot,
        ttbSeparator, ttbSeparatorVert)

KV_ENUM(TThemedWindow, twBackground)

// One state of one part of one element: what DrawElement draws.
struct TThemedElementDetails {
  TThemedElement Element = teButton;
  int Part = 0;
  int State = 0;
  constexpr bool operator==(const TThemedElementDetails&) const = default;
};

// A part of an element as the catalogue describes it.
struct TElementPartInfo {
  TThemedElement Element;
  const char* Name;          // "PushButton"
  int Part;                  // number within the element
  int FirstState;            // number of the first state (0 for a background part)
  std::span<const char* const> States;  // "Normal", "Hot", ...; one "Normal" for single-state parts
  bool HasText;              // a caption is drawn on it: styles answer a text colour for it
  int FirstSlot;             // slot of the first state
};

struct TElementInfo {
  TThemedElement Element;
  const char* Name;    // "Button", as style files write it
  const char* Prefix;  // "tb": the prefix of the element's enumeration values
  std::span<const TElementPartInfo> Parts;
  int FirstSlot;
  int SlotCount;
};

namespace ElementCatalog {
// Every element, in TThemedElement order.
std::span<const TElementInfo> Elements();
const TElementInfo& Element(TThemedElement element);
// Number of slots: one for every state of every part of every element.
int SlotCount();
// Slot of a state, or -1 when the details name nothing in the catalogue.
int SlotOf(const TThemedElementDetails& details);
TThemedElementDetails DetailsOfSlot(int slot);
const TElementPartInfo& PartOfSlot(int slot);
// "Button.PushButton" and "Hot" for the slot's part and state.
String PartName(const TElementPartInfo& part);
const char* StateName(int slot);
// The enumeration value's name of a slot ("tbPushButtonHot"), derived from the catalogue.
String ValueName(int slot);
// Case-insensitive look-up of an element by name ("button"); null when unknown.
const TElementInfo* FindElement(std::string_view name);
const TElementPartInfo* FindPart(const TElementInfo& element, std::string_view name);
}  // namespace ElementCatalog

// Details of an enumeration value (also reachable as StyleServices().GetElementDetails).
TThemedElementDetails GetElementDetails(TThemedButton detail);
TThemedElementDetails GetElementDetails(TThemedComboBox detail);
TThemedElementDetails GetElementDetails(TThemedEdit detail);
TThemedElementDetails GetElementDetails(TThemedGrid detail);
TThemedElementDetails GetElementDetails(TThemedHeader detail);
TThemedElementDetails GetElementDetails(TThemedMonthCal detail);
TThemedElementDetails GetElementDetails(TThemedProgress detail);
TThemedElementDetails GetElementDetails(TThemedScrollBar detail);
TThemedElementDetails GetElementDetails(TThemedSpin detail);
TThemedElementDetails GetElementDetails(TThemedTab detail);
TThemedElementDetails GetElementDetails(TThemedToolBar detail);
TThemedElementDetails GetElementDetails(TThemedWindow detail);
// Details by number, for parts reached without an enumeration (tool bar and window
// backgrounds: part 0, state 0). Not checked against the catalogue: DrawElement refuses what
// it does not know.
TThemedElementDetails GetElementDetails(TThemedElement element, int part, int state);
