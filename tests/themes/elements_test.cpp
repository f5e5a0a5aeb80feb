#include <gtest/gtest.h>

#include <set>

#include "platform/themes/elements.h"

namespace {
// Every value of an element's enumeration names the state it stands for, in catalogue order.
template <class E>
void ExpectEnumerationMatchesCatalogue(TThemedElement element) {
  const TElementInfo& info = ElementCatalog::Element(element);
  ASSERT_EQ(static_cast<int>(EnumCount<E>()), info.SlotCount) << info.Name;
  for (int v = 0; v < info.SlotCount; ++v) {
    TThemedElementDetails d = GetElementDetails(static_cast<E>(v));
    int slot = ElementCatalog::SlotOf(d);
    ASSERT_EQ(slot, info.FirstSlot + v) << EnumInfo<E>().Name(v);
    EXPECT_EQ(ElementCatalog::ValueName(slot), EnumInfo<E>().Name(v));
    EXPECT_EQ(d.Element, element);
  }
}
}  // namespace

TEST(ElementCatalog, EveryEnumerationValueNamesItsState) {
  ExpectEnumerationMatchesCatalogue<TThemedButton>(teButton);
  ExpectEnumerationMatchesCatalogue<TThemedComboBox>(teComboBox);
  ExpectEnumerationMatchesCatalogue<TThemedEdit>(teEdit);
  ExpectEnumerationMatchesCatalogue<TThemedGrid>(teGrid);
  ExpectEnumerationMatchesCatalogue<TThemedHeader>(teHeader);
  ExpectEnumerationMatchesCatalogue<TThemedMonthCal>(teMonthCal);
  ExpectEnumerationMatchesCatalogue<TThemedProgress>(teProgress);
  ExpectEnumerationMatchesCatalogue<TThemedScrollBar>(teScrollBar);
  ExpectEnumerationMatchesCatalogue<TThemedSpin>(teSpin);
  ExpectEnumerationMatchesCatalogue<TThemedTab>(teTab);
  ExpectEnumerationMatchesCatalogue<TThemedToolBar>(teToolBar);
  ExpectEnumerationMatchesCatalogue<TThemedWindow>(teWindow);
}

TEST(ElementCatalog, SlotsAndDetailsAreOneToOne) {
  std::set<std::tuple<int, int, int>> seen;
  for (int slot = 0; slot < ElementCatalog::SlotCount(); ++slot) {
    TThemedElementDetails d = ElementCatalog::DetailsOfSlot(slot);
    EXPECT_EQ(ElementCatalog::SlotOf(d), slot);
    EXPECT_TRUE(seen.insert({d.Element, d.Part, d.State}).second) << ElementCatalog::ValueName(slot);
  }
}

TEST(ElementCatalog, BackgroundsArePartZeroStateZero) {
  EXPECT_EQ(GetElementDetails(ttbBackground), GetElementDetails(teToolBar, 0, 0));
  EXPECT_EQ(GetElementDetails(twBackground), GetElementDetails(teWindow, 0, 0));
  EXPECT_EQ(GetElementDetails(tbPushButtonNormal), (TThemedElementDetails{teButton, 1, 1}));
  EXPECT_EQ(GetElementDetails(tbPushButtonDefaulted), (TThemedElementDetails{teButton, 1, 5}));
}

TEST(ElementCatalog, DetailsOutsideTheCatalogueHaveNoSlot) {
  const TThemedElementDetails outside[] = {
      {teButton, 0, 0},             // buttons have no background part
      {teButton, 1, 0},             // states count from 1
      {teButton, 1, 6},             // push buttons have five states
      {teButton, 9, 1},             // no such part
      {teToolBar, 0, 1},            // a background has only state 0
      {teWindow, -1, 0},
      {static_cast<TThemedElement>(200), 1, 1},
  };
  for (const TThemedElementDetails& d : outside)
    EXPECT_EQ(ElementCatalog::SlotOf(d), -1) << d.Element << "/" << d.Part << "/" << d.State;
}

TEST(ElementCatalog, FindsElementsAndPartsByNameIgnoringCase) {
  const TElementInfo* e = ElementCatalog::FindElement("scrollbar");
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->Element, teScrollBar);
  const TElementPartInfo* p = ElementCatalog::FindPart(*e, "THUMBBTNVERT");
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(ElementCatalog::PartName(*p), "ScrollBar.ThumbBtnVert");
  EXPECT_EQ(ElementCatalog::FindElement("Slider"), nullptr);
  EXPECT_EQ(ElementCatalog::FindPart(*e, "Knob"), nullptr);
}
