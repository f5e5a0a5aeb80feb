#include "platform/themes/standardlook.h"

#include <cstring>
#include <iterator>
#include <functional>

#include "platform/themes/colormath.h"

namespace {
bool Has(const char* name, const char* word) { return std::strstr(name, word) != nullptr; }

// The colours the built-in look is made of, derived from a system colour table.
struct TPalette {
  TColor Face, Text, GrayText, Window, WindowText, Accent, AccentText, MenuText;
  TColor ButtonFace, ButtonTop, ButtonBorder, Line, SoftLine, Glyph, Track, Thumb, Pane;
  bool Dark;

  explicit TPalette(const TSystemColorTable& s) {
    Face = s.Colors[COLOR_BTNFACE];
    Text = s.Colors[COLOR_BTNTEXT];
    GrayText = s.Colors[COLOR_GRAYTEXT];
    Window = s.Colors[COLOR_WINDOW];
    WindowText = s.Colors[COLOR_WINDOWTEXT];
    Accent = s.Colors[COLOR_HIGHLIGHT];
    AccentText = s.Colors[COLOR_HIGHLIGHTTEXT];
    MenuText = s.Colors[COLOR_MENUTEXT];
    Dark = Luminance(Face) < 0.25;
    ButtonFace = Dark ? Lighten(Face, 10) : Lighten(Face, 60);
    ButtonTop = Dark ? Lighten(Face, 14) : Lighten(Face, 85);
    ButtonBorder = MixColor(Face, Text, Dark ? 30 : 32);
    Line = MixColor(Face, Text, 24);
    SoftLine = MixColor(Face, Text, 14);
    Glyph = MixColor(Face, Text, 62);
    Track = Dark ? Lighten(Face, 4) : MixColor(Face, Text, 5);
    Thumb = MixColor(Face, Text, Dark ? 32 : 28);
    Pane = Dark ? Lighten(Face, 5) : Lighten(Face, 55);
  }
  TColor Tint(TColor base, int percent) const { return MixColor(base, Accent, percent); }
};

TStyleRGBA C(TColor c) { return TStyleRGBA::Opaque(c); }
TPaint Solid(TColor c) { return TPaint::Solid(C(c)); }
TPaint Vertical(TColor top, TColor bottom) { return TPaint::Vertical({{0, C(top)}, {1, C(bottom)}}); }
class TBuilder {
public:
  TBuilder(TStyleData& d, const TPalette& p) : D(d), P(p) {}

  // Calls fn for every state of a part.
  void Part(TThemedElement element, int part, const std::function<void(const TStateTraits&, TElementLook&)>& fn) {
    const TElementInfo& e = ElementCatalog::Element(element);
    for (const TElementPartInfo& info : e.Parts) {
      if (info.Part != part) continue;
      for (size_t i = 0; i < info.States.size(); ++i) {
        TElementLook& look = D.Looks[static_cast<size_t>(info.FirstSlot) + i];
        fn(StateTraitsOf(info.States[i]), look);
      }
    }
  }

  // A raised face: buttons, spin buttons.
  void Button(const TStateTraits& t, TElementLook& l, int radius) const {
    l.Radius = radius;
    l.Border = C(P.ButtonBorder);
    l.Fill = Vertical(P.ButtonTop, P.ButtonFace);
    l.Text = P.Text;
    if (t.Hot) {
      l.Fill = Vertical(P.Tint(P.ButtonTop, 8), P.Tint(P.ButtonFace, 14));
      l.Border = C(P.Tint(P.ButtonBorder, 60));
    }
    if (t.Pressed) {
      l.Fill = Vertical(P.Tint(P.Face, 26), P.Tint(P.Face, 20));
      l.Border = C(P.Tint(P.ButtonBorder, 75));
    }
    if (t.Defaulted || t.Focused) {
      l.Border = C(P.Accent);
      l.Inner = C(MixColor(P.Accent, P.ButtonTop, 55));
    }
    if (t.Disabled) {
      l.Fill = Solid(P.Dark ? Lighten(P.Face, 4) : MixColor(P.Face, P.ButtonFace, 50));
      l.Border = C(P.SoftLine);
      l.Text = P.GrayText;
    }
  }

  // A field: edits, combo boxes, the boxes of check and radio buttons.
  void Field(const TStateTraits& t, TElementLook& l, int radius) const {
    l.Radius = radius;
    l.Fill = Solid(P.Window);
    l.Border = C(MixColor(P.Face, P.Text, 38));
    l.Text = P.WindowText;
    if (t.Hot) l.Border = C(P.Tint(P.ButtonBorder, 70));
    if (t.Focused) { l.Border = C(P.Accent); l.Inner = C(MixColor(P.Accent, P.Window, 70)); }
    if (t.Pressed) l.Fill = Solid(P.Tint(P.Window, 18));
    if (t.Disabled) {
      l.Fill = Solid(MixColor(P.Face, P.Window, 35));
      l.Border = C(P.SoftLine);
      l.Text = P.GrayText;
    }
  }

  void Build() {
    Part(teButton, 1, [&](const TStateTraits& t, TElementLook& l) { Button(t, l, 3); });
    auto box = [&](const TStateTraits& t, TElementLook& l, int radius, TStyleGlyph mark) {
      Field(t, l, radius);
      l.Size = {13, 13};
      l.Text = t.Disabled ? P.GrayText : P.Text;
      if (t.Checked || t.Mixed) {
        bool filled = t.Checked;
        TColor base = t.Disabled ? P.SoftLine : t.Pressed ? Darken(P.Accent, 20) : t.Hot ? Lighten(P.Accent, 15) : P.Accent;
        if (filled) { l.Fill = Solid(base); l.Border = C(base); l.Inner = kTransparent; }
        else l.Border = C(t.Disabled ? P.SoftLine : base);
        l.Glyph = filled ? mark : sgMixed;
        l.GlyphColor = C(filled ? (t.Disabled ? P.Face : P.AccentText) : base);
      }
    };
    Part(teButton, 2, [&](const TStateTraits& t, TElementLook& l) { box(t, l, 7, sgDot); });
    Part(teButton, 3, [&](const TStateTraits& t, TElementLook& l) { box(t, l, 2, sgCheck); });
    Part(teButton, 4, [&](const TStateTraits& t, TElementLook& l) {
      l.Radius = 3;
      l.Border = C(P.Line);
      l.Text = t.Disabled ? P.GrayText : P.Text;
    });

    Part(teComboBox, 2, [&](const TStateTraits& t, TElementLook& l) { Field(t, l, 2); });
    for (int part : {1, 3, 4})
      Part(teComboBox, part, [&](const TStateTraits& t, TElementLook& l) {
        l.Glyph = sgChevronDown;
        l.GlyphSize = 8;
        l.GlyphColor = C(t.Disabled ? P.SoftLine : P.Glyph);
        l.Radius = 2;
        l.Margin = {1, 1, 1, 1};
        if (t.Hot) l.Fill = Solid(P.Tint(P.Window, 14));
        if (t.Pressed) l.Fill = Solid(P.Tint(P.Window, 28));
        if (part != 1) {  // a button of its own beside the text: a separating line
          l.Border = C(P.SoftLine);
          l.Sides = part == 3 ? kSideLeft : kSideRight;
          l.Margin = {0, 2, 0, 2};
          l.Radius = 0;
        }
      });
    Part(teEdit, 1, [&](const TStateTraits& t, TElementLook& l) { Field(t, l, 2); });

    auto cellHeader = [&](const TStateTraits& t, TElementLook& l) {
      l.Fill = Vertical(P.ButtonTop, P.Face);
      l.Border = C(P.Line);
      l.Sides = kSideRight | kSideBottom;
      l.Text = P.Text;
      if (t.Hot) l.Fill = Vertical(P.Tint(P.ButtonTop, 8), P.Tint(P.Face, 14));
      if (t.Pressed) l.Fill = Solid(P.Tint(P.Face, 24));
      l.Content = {4, 1, 4, 1};
    };
    Part(teGrid, 1, cellHeader);
    Part(teHeader, 1, cellHeader);
    Part(teGrid, 2, [&](const TStateTraits& t, TElementLook& l) {
      l.Fill = Solid(t.Selected ? P.Accent : P.Window);
      l.Text = t.Selected ? P.AccentText : P.WindowText;
    });

    Part(teMonthCal, 1, [&](const TStateTraits&, TElementLook& l) { l.Fill = Solid(P.Window); });
    Part(teMonthCal, 2, [&](const TStateTraits& t, TElementLook& l) {
      l.Radius = 2;
      l.Text = P.WindowText;
      if (t.Today) { l.Border = C(P.Accent); return; }
      int tint = t.Selected && t.Hot ? 36 : t.Selected && !t.NotFocused ? 26 : t.Selected ? 16 : 12;
      l.Fill = Solid(P.Tint(P.Window, tint));
      if (t.Selected && !t.NotFocused) l.Border = C(P.Tint(P.Window, 70));
    });

    auto bar = [&](const TStateTraits&, TElementLook& l) {
      l.Radius = 3;
      l.Fill = Solid(P.Track);
      l.Border = C(P.Line);
    };
    Part(teProgress, 1, bar);
    Part(teProgress, 2, bar);
    Part(teProgress, 3, [&](const TStateTraits&, TElementLook& l) {
      l.Radius = 2;
      l.Fill = Vertical(Lighten(P.Accent, 18), P.Accent);
    });
    Part(teProgress, 4, [&](const TStateTraits&, TElementLook& l) {
      l.Radius = 2;
      l.Fill = TPaint{pkHorizontal, {{0, C(Lighten(P.Accent, 18))}, {1, C(P.Accent)}}};
    });

    Part(teScrollBar, 1, [&](const TStateTraits& t, TElementLook& l) {
      l.Size = {17, 17};
      l.Fill = Solid(P.Track);
      l.Glyph = t.Arrow;
      l.GlyphSize = 7;
      l.GlyphColor = C(t.Disabled ? P.SoftLine : P.Glyph);
      if (t.Hot) { l.Fill = Solid(MixColor(P.Track, P.Text, 10)); l.GlyphColor = C(P.Text); }
      if (t.Pressed) { l.Fill = Solid(MixColor(P.Track, P.Text, 22)); l.GlyphColor = C(P.Text); }
    });
    for (int part : {2, 3})
      Part(teScrollBar, part, [&](const TStateTraits& t, TElementLook& l) {
        l.Size = {17, 17};
        l.Margin = part == 2 ? TInsets{0, 4, 0, 4} : TInsets{4, 0, 4, 0};
        l.Radius = 4;
        l.Fill = Solid(t.Pressed ? MixColor(P.Face, P.Text, 52) : t.Hot ? MixColor(P.Face, P.Text, 40) : P.Thumb);
        if (t.Disabled) l.Fill = Solid(P.SoftLine);
      });
    for (int part : {4, 5, 6, 7})
      Part(teScrollBar, part, [&](const TStateTraits& t, TElementLook& l) {
        l.Fill = Solid(t.Pressed ? MixColor(P.Track, P.Text, 8) : P.Track);
      });

    for (int part : {1, 2, 3, 4})
      Part(teSpin, part, [&](const TStateTraits& t, TElementLook& l) {
        Button(t, l, 2);
        l.Text.reset();
        l.Size = part <= 2 ? TSize{15, 10} : TSize{10, 15};
        static const TStyleGlyph dirs[] = {sgChevronUp, sgChevronDown, sgChevronRight, sgChevronLeft};
        l.Glyph = dirs[part - 1];
        l.GlyphSize = 7;
        l.GlyphColor = C(t.Disabled ? P.GrayText : P.Glyph);
      });

    for (int part : {1, 2, 3, 4})
      Part(teTab, part, [&](const TStateTraits& t, TElementLook& l) {
        l.Radius = 3;
        l.Corners = kCornerTopLeft | kCornerTopRight;
        l.Sides = kSideLeft | kSideTop | kSideRight;
        l.Border = C(P.Line);
        l.Text = t.Disabled ? P.GrayText : P.Text;
        l.Content = {6, 2, 6, 2};
        if (t.Selected || t.Focused) {
          l.Fill = TPaint::Vertical({{0, C(P.Accent)}, {0.1f, C(P.Accent)}, {0.1f, C(P.Pane)}, {1, C(P.Pane)}});
        } else {
          l.Margin = {0, 2, 0, 0};
          l.Fill = Solid(t.Hot ? P.Tint(P.Face, 14) : MixColor(P.Face, P.Text, P.Dark ? 4 : 5));
          if (t.Disabled) l.Fill = Solid(P.Face);
        }
      });
    Part(teTab, 5, [&](const TStateTraits&, TElementLook& l) {
      l.Fill = Solid(P.Pane);
      l.Border = C(P.Line);
    });

    Part(teToolBar, 0, [&](const TStateTraits&, TElementLook& l) {
      l.Fill = Vertical(P.Dark ? Lighten(P.Face, 4) : Lighten(P.Face, 40), P.Face);
      l.Border = C(P.SoftLine);
      l.Sides = kSideBottom;
    });
    Part(teToolBar, 1, [&](const TStateTraits& t, TElementLook& l) {
      l.Radius = 3;
      l.Text = t.Disabled ? P.GrayText : P.Text;
      if (t.Hot) { l.Fill = Solid(P.Tint(P.Face, 14)); l.Border = C(P.Tint(P.Face, 45)); }
      if (t.Pressed || t.Checked) { l.Fill = Solid(P.Tint(P.Face, 28)); l.Border = C(P.Tint(P.Face, 60)); }
      if (t.Checked && t.Hot) l.Fill = Solid(P.Tint(P.Face, 36));
    });
    Part(teToolBar, 2, [&](const TStateTraits&, TElementLook& l) {
      l.Glyph = sgLineVert;
      l.GlyphColor = C(P.Line);
      l.Margin = {0, 3, 0, 3};
      l.Size = {6, 6};
    });
    Part(teToolBar, 3, [&](const TStateTraits&, TElementLook& l) {
      l.Glyph = sgLineHorz;
      l.GlyphColor = C(P.Line);
      l.Margin = {3, 0, 3, 0};
      l.Size = {6, 6};
    });
    Part(teWindow, 0, [&](const TStateTraits&, TElementLook& l) { l.Fill = Solid(P.Face); });
  }

private:
  TStyleData& D;
  const TPalette& P;
};

TColor LookText(const TStyleData& d, TThemedElementDetails details, TColor fallback) {
  const TElementLook* l = d.Look(details);
  return l && l->Text ? *l->Text : fallback;
}
}  // namespace

TStateTraits StateTraitsOf(const char* n) {
  TStateTraits t;
  t.Hot = Has(n, "Hot");
  t.Pressed = Has(n, "Pressed");
  t.Disabled = Has(n, "Disabled");
  t.NotFocused = Has(n, "NotFocused");
  t.Focused = Has(n, "Focused") && !t.NotFocused;
  t.Today = Has(n, "Today");
  t.Selected = Has(n, "Selected");
  t.Checked = Has(n, "Checked") && !Has(n, "Unchecked");
  t.Mixed = Has(n, "Mixed");
  t.Defaulted = Has(n, "Defaulted");
  if (std::strncmp(n, "Up", 2) == 0) t.Arrow = sgArrowUp;
  else if (std::strncmp(n, "Down", 4) == 0) t.Arrow = sgArrowDown;
  else if (std::strncmp(n, "Left", 4) == 0) t.Arrow = sgArrowLeft;
  else if (std::strncmp(n, "Right", 5) == 0) t.Arrow = sgArrowRight;
  return t;
}

TStyleData MakeStandardStyle(const TSystemColorTable& system) {
  TStyleData d;
  d.SystemColors = system;
  d.Looks.resize(static_cast<size_t>(ElementCatalog::SlotCount()));
  TPalette palette(system);
  TBuilder(d, palette).Build();
  DeriveNamedColors(d, TStyleColorsGiven{}, TStyleFontsGiven{});
  return d;
}

void DeriveNamedColors(TStyleData& d, const TStyleColorsGiven& colorGiven, const TStyleFontsGiven& fontGiven) {
  const TSystemColorTable& s = d.SystemColors;
  TColor face = s.Colors[COLOR_BTNFACE], text = s.Colors[COLOR_BTNTEXT];
  TColor gray = s.Colors[COLOR_GRAYTEXT], window = s.Colors[COLOR_WINDOW];
  TColor windowText = s.Colors[COLOR_WINDOWTEXT], highlightText = s.Colors[COLOR_HIGHLIGHTTEXT];
  auto fill = [&](TThemedElementDetails details, TColor fallback) {
    const TElementLook* l = d.Look(details);
    std::optional<TStyleRGBA> c = l ? l->Fill.Representative() : std::nullopt;
    return c && c->A == 255 ? c->ToColor() : fallback;
  };
  auto button = [&](TThemedButton b) { return GetElementDetails(b); };

  const TColor colors[] = {
      /* scWindow */ fill(GetElementDetails(twBackground), face),
      /* scPanel */ face,
      /* scPanelDisabled */ face,
      /* scBorder */ MixColor(face, text, 30),
      /* scSplitter */ face,
      /* scToolBar */ fill(GetElementDetails(ttbBackground), face),
      /* scEdit */ window,
      /* scEditDisabled */ fill(GetElementDetails(teEditBorderNoScrollDisabled), face),
      /* scComboBox */ window,
      /* scComboBoxDisabled */ fill(GetElementDetails(tcBorderDisabled), face),
      /* scListBox */ window,
      /* scListBoxDisabled */ fill(GetElementDetails(teEditBorderNoScrollDisabled), face),
      /* scListView */ window,
      /* scTreeView */ window,
      /* scGrid */ window,
      /* scButtonNormal */ fill(button(tbPushButtonNormal), face),
      /* scButtonHot */ fill(button(tbPushButtonHot), face),
      /* scButtonPressed */ fill(button(tbPushButtonPressed), face),
      /* scButtonFocused */ fill(button(tbPushButtonDefaulted), face),
      /* scButtonDisabled */ fill(button(tbPushButtonDisabled), face),
  };
  static_assert(std::size(colors) == EnumCount<TStyleColor>());
  for (size_t i = 0; i < std::size(colors); ++i)
    if (!colorGiven[i]) d.Colors[i] = colors[i];

  auto t = [&](auto value, TColor fallback) { return LookText(d, GetElementDetails(value), fallback); };
  TColor selected = t(tgCellSelected, highlightText);
  const TColor fonts[] = {
      /* sfWindowTextNormal */ text, /* sfWindowTextDisabled */ gray,
      /* sfPanelTextNormal */ text, /* sfPanelTextDisabled */ gray,
      /* sfButtonText: Normal, Hot, Pressed, Focused, Disabled */
      t(tbPushButtonNormal, text), t(tbPushButtonHot, text), t(tbPushButtonPressed, text),
      t(tbPushButtonDefaulted, text), t(tbPushButtonDisabled, gray),
      /* sfCheckBoxText: Normal, Hot, Pressed, Disabled */
      t(tbCheckBoxUncheckedNormal, text), t(tbCheckBoxUncheckedHot, text),
      t(tbCheckBoxUncheckedPressed, text), t(tbCheckBoxUncheckedDisabled, gray),
      /* sfRadioButtonText */
      t(tbRadioButtonUncheckedNormal, text), t(tbRadioButtonUncheckedHot, text),
      t(tbRadioButtonUncheckedPressed, text), t(tbRadioButtonUncheckedDisabled, gray),
      /* sfGroupBoxText */ t(tbGroupBoxNormal, text), t(tbGroupBoxDisabled, gray),
      /* sfEditBoxText: Normal, Hot, Focused, Disabled, Selected */
      t(teEditBorderNoScrollNormal, windowText), t(teEditBorderNoScrollHot, windowText),
      t(teEditBorderNoScrollFocused, windowText), t(teEditBorderNoScrollDisabled, gray), selected,
      /* sfComboBoxItem */
      t(tcBorderNormal, windowText), t(tcBorderHot, windowText), t(tcBorderFocused, windowText),
      t(tcBorderDisabled, gray), selected,
      /* sfListItemText */ windowText, windowText, windowText, gray, selected,
      /* sfTreeItemText */ windowText, windowText, windowText, gray, selected,
      /* sfHeaderSectionText: Normal, Hot, Pressed, Disabled */
      t(thHeaderItemNormal, text), t(thHeaderItemHot, text), t(thHeaderItemPressed, text), gray,
      /* sfTabText: Normal, Hot, Selected, Disabled */
      t(ttTabItemNormal, text), t(ttTabItemHot, text), t(ttTabItemSelected, text),
      t(ttTabItemDisabled, gray),
      /* sfToolItemText */
      t(ttbButtonNormal, text), t(ttbButtonHot, text), t(ttbButtonPressed, text),
      t(ttbButtonDisabled, gray),
      /* sfMenuItemText: Normal, Hot, Disabled */
      s.Colors[COLOR_MENUTEXT], highlightText, gray,
      /* sfGridItemText: Normal, Selected, Fixed */
      t(tgCellNormal, windowText), selected, t(tgFixedCellNormal, text),
  };
  static_assert(std::size(fonts) == EnumCount<TStyleFont>());
  for (size_t i = 0; i < std::size(fonts); ++i)
    if (!fontGiven[i]) d.Fonts[i] = fonts[i];
}
