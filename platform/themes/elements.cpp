#include "platform/themes/elements.h"

#include <array>
#include <vector>

namespace {
constexpr const char* kSingle[] = {"Normal"};
constexpr const char* kPush[] = {"Normal", "Hot", "Pressed", "Disabled", "Defaulted"};
constexpr const char* kFour[] = {"Normal", "Hot", "Pressed", "Disabled"};
constexpr const char* kRadio[] = {"UncheckedNormal", "UncheckedHot", "UncheckedPressed",
                                  "UncheckedDisabled", "CheckedNormal", "CheckedHot",
                                  "CheckedPressed", "CheckedDisabled"};
constexpr const char* kCheck[] = {"UncheckedNormal", "UncheckedHot", "UncheckedPressed",
                                  "UncheckedDisabled", "CheckedNormal", "CheckedHot",
                                  "CheckedPressed", "CheckedDisabled", "MixedNormal",
                                  "MixedHot", "MixedPressed", "MixedDisabled"};
constexpr const char* kGroup[] = {"Normal", "Disabled"};
constexpr const char* kBorder[] = {"Normal", "Hot", "Focused", "Disabled"};
constexpr const char* kFixed[] = {"Normal", "Hot", "Pressed"};
constexpr const char* kCell[] = {"Normal", "Selected"};
constexpr const char* kCalCell[] = {"Selected", "Hot", "SelectedHot", "SelectedNotFocused", "Today"};
constexpr const char* kArrows[] = {"UpNormal", "UpHot", "UpPressed", "UpDisabled",
                                   "DownNormal", "DownHot", "DownPressed", "DownDisabled",
                                   "LeftNormal", "LeftHot", "LeftPressed", "LeftDisabled",
                                   "RightNormal", "RightHot", "RightPressed", "RightDisabled"};
constexpr const char* kTab[] = {"Normal", "Hot", "Selected", "Disabled", "Focused"};
constexpr const char* kToolButton[] = {"Normal", "Hot", "Pressed", "Disabled", "Checked", "CheckedHot"};

struct TPartDef {
  const char* Name;
  int Part;
  std::span<const char* const> States;
  bool HasText;
};
struct TElementDef {
  TThemedElement Element;
  const char* Name;
  const char* Prefix;
  std::vector<TPartDef> Parts;
};

const std::vector<TElementDef>& Definitions() {
  static const std::vector<TElementDef> defs = {
      {teButton, "Button", "tb",
       {{"PushButton", 1, kPush, true}, {"RadioButton", 2, kRadio, true},
        {"CheckBox", 3, kCheck, true}, {"GroupBox", 4, kGroup, true}}},
      {teComboBox, "ComboBox", "tc",
       {{"DropDownButton", 1, kFour, false}, {"Border", 2, kBorder, true},
        {"DropDownButtonRight", 3, kFour, false}, {"DropDownButtonLeft", 4, kFour, false}}},
      {teEdit, "Edit", "te", {{"EditBorderNoScroll", 1, kBorder, true}}},
      {teGrid, "Grid", "tg", {{"FixedCell", 1, kFixed, true}, {"Cell", 2, kCell, true}}},
      {teHeader, "Header", "th", {{"HeaderItem", 1, kFixed, true}}},
      {teMonthCal, "MonthCal", "tmc",
       {{"Background", 1, kSingle, false}, {"GridCellBackground", 2, kCalCell, true}}},
      {teProgress, "Progress", "tp",
       {{"Bar", 1, kSingle, false}, {"BarVert", 2, kSingle, false},
        {"Chunk", 3, kSingle, false}, {"ChunkVert", 4, kSingle, false}}},
      {teScrollBar, "ScrollBar", "ts",
       {{"ArrowBtn", 1, kArrows, false}, {"ThumbBtnHorz", 2, kFour, false},
        {"ThumbBtnVert", 3, kFour, false}, {"LowerTrackHorz", 4, kFour, false},
        {"UpperTrackHorz", 5, kFour, false}, {"LowerTrackVert", 6, kFour, false},
        {"UpperTrackVert", 7, kFour, false}}},
      {teSpin, "Spin", "ts",
       {{"Up", 1, kFour, false}, {"Down", 2, kFour, false}, {"UpHorz", 3, kFour, false},
        {"DownHorz", 4, kFour, false}}},
      {teTab, "Tab", "tt",
       {{"TabItem", 1, kTab, true}, {"TabItemLeftEdge", 2, kTab, true},
        {"TabItemRightEdge", 3, kTab, true}, {"TabItemBothEdge", 4, kTab, true},
        {"Pane", 5, kSingle, false}}},
      {teToolBar, "ToolBar", "ttb",
       {{"Background", 0, kSingle, false}, {"Button", 1, kToolButton, true},
        {"Separator", 2, kSingle, false}, {"SeparatorVert", 3, kSingle, false}}},
      {teWindow, "Window", "tw", {{"Background", 0, kSingle, false}}},
  };
  return defs;
}

constexpr int kMaxParts = 8;

struct TCatalog {
  std::vector<std::vector<TElementPartInfo>> Parts;  // per element
  std::vector<TElementInfo> Elements;
  std::vector<const TElementPartInfo*> SlotParts;
  std::vector<std::array<const TElementPartInfo*, kMaxParts>> ByNumber;  // [element][part]

  TCatalog() {
    const auto& defs = Definitions();
    Parts.resize(defs.size());
    int slot = 0;
    for (size_t e = 0; e < defs.size(); ++e) {
      int first = slot;
      for (const TPartDef& p : defs[e].Parts) {
        Parts[e].push_back({defs[e].Element, p.Name, p.Part, p.Part == 0 ? 0 : 1, p.States,
                            p.HasText, slot});
        slot += static_cast<int>(p.States.size());
      }
      Elements.push_back({defs[e].Element, defs[e].Name, defs[e].Prefix, Parts[e], first, slot - first});
    }
    ByNumber.resize(defs.size());
    for (size_t e = 0; e < defs.size(); ++e) {
      ByNumber[e].fill(nullptr);
      for (const TElementPartInfo& p : Parts[e]) {
        ByNumber[e][static_cast<size_t>(p.Part)] = &p;
        for (size_t s = 0; s < p.States.size(); ++s) SlotParts.push_back(&p);
      }
    }
  }
};

const TCatalog& Catalog() {
  static const TCatalog catalog;
  return catalog;
}

TThemedElementDetails Of(TThemedElement element, int value) {
  const TElementInfo& info = ElementCatalog::Element(element);
  if (value < 0 || value >= info.SlotCount) return {element, -1, -1};
  return ElementCatalog::DetailsOfSlot(info.FirstSlot + value);
}
}  // namespace

namespace ElementCatalog {
std::span<const TElementInfo> Elements() { return Catalog().Elements; }

const TElementInfo& Element(TThemedElement element) {
  return Catalog().Elements.at(static_cast<size_t>(element));
}

int SlotCount() { return static_cast<int>(Catalog().SlotParts.size()); }

int SlotOf(const TThemedElementDetails& d) {
  const TCatalog& c = Catalog();
  auto e = static_cast<size_t>(d.Element);
  if (e >= c.ByNumber.size() || d.Part < 0 || d.Part >= kMaxParts) return -1;
  const TElementPartInfo* p = c.ByNumber[e][static_cast<size_t>(d.Part)];
  if (!p) return -1;
  int index = d.State - p->FirstState;
  if (index < 0 || index >= static_cast<int>(p->States.size())) return -1;
  return p->FirstSlot + index;
}

const TElementPartInfo& PartOfSlot(int slot) { return *Catalog().SlotParts.at(static_cast<size_t>(slot)); }

TThemedElementDetails DetailsOfSlot(int slot) {
  const TElementPartInfo& p = PartOfSlot(slot);
  return {p.Element, p.Part, p.FirstState + (slot - p.FirstSlot)};
}

String PartName(const TElementPartInfo& part) {
  return String(Element(part.Element).Name) + "." + part.Name;
}

const char* StateName(int slot) {
  const TElementPartInfo& p = PartOfSlot(slot);
  return p.States[static_cast<size_t>(slot - p.FirstSlot)];
}

String ValueName(int slot) {
  const TElementPartInfo& p = PartOfSlot(slot);
  String name = String(Element(p.Element).Prefix) + p.Name;
  if (p.States.size() > 1) name += StateName(slot);
  return name;
}

const TElementInfo* FindElement(std::string_view name) {
  for (const TElementInfo& e : Catalog().Elements)
    if (SameText(e.Name, name)) return &e;
  return nullptr;
}

const TElementPartInfo* FindPart(const TElementInfo& element, std::string_view name) {
  for (const TElementPartInfo& p : element.Parts)
    if (SameText(p.Name, name)) return &p;
  return nullptr;
}
}  // namespace ElementCatalog

TThemedElementDetails GetElementDetails(TThemedButton d) { return Of(teButton, d); }
TThemedElementDetails GetElementDetails(TThemedComboBox d) { return Of(teComboBox, d); }
TThemedElementDetails GetElementDetails(TThemedEdit d) { return Of(teEdit, d); }
TThemedElementDetails GetElementDetails(TThemedGrid d) { return Of(teGrid, d); }
TThemedElementDetails GetElementDetails(TThemedHeader d) { return Of(teHeader, d); }
TThemedElementDetails GetElementDetails(TThemedMonthCal d) { return Of(teMonthCal, d); }
TThemedElementDetails GetElementDetails(TThemedProgress d) { return Of(teProgress, d); }
TThemedElementDetails GetElementDetails(TThemedScrollBar d) { return Of(teScrollBar, d); }
TThemedElementDetails GetElementDetails(TThemedSpin d) { return Of(teSpin, d); }
TThemedElementDetails GetElementDetails(TThemedTab d) { return Of(teTab, d); }
TThemedElementDetails GetElementDetails(TThemedToolBar d) { return Of(teToolBar, d); }
TThemedElementDetails GetElementDetails(TThemedWindow d) { return Of(teWindow, d); }
TThemedElementDetails GetElementDetails(TThemedElement element, int part, int state) {
  return {element, part, state};
}
