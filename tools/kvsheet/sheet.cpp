#include "tools/kvsheet/sheet.h"

#include <functional>
#include <vector>

#include "kv/kvUtils/kvPaint.h"
#include "kv/kvUtils/kvUtils.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/imagelist.h"

namespace {
constexpr int kLabelWidth = 190, kMargin = 14, kGap = 12, kWidth = 860, kMaxHeight = 3000;
const char* const kStateNames[] = {"Normal", "Hot", "Pressed", "Focused", "Disabled"};
constexpr TkvsCtrlState kStates[] = {kvsNormal, kvsHot, kvsPressed, kvsFocused, kvsDisabled};

// Rows of labelled cells, top to bottom.
class TSheet {
public:
  explicit TSheet(TCanvas* Canvas) : C(Canvas) {}

  void Title(const String& text) {
    C->Font()->SetStyle({fsBold});
    C->Font()->SetHeight(-17);
    Text(text, {kMargin, Y, kWidth - kMargin, Y + 24}, clBtnText, DT_LEFT);
    C->Font()->SetHeight(-11);
    C->Font()->SetStyle({});
    Y += 36;
  }

  // A row of cells of one size; `draw` paints cell i, `names` label the cells.
  void Row(const String& label, TSize cell, const std::vector<String>& names,
           const std::function<void(int, const TRect&)>& draw) {
    C->Font()->SetStyle({fsBold});
    Text(label, {kMargin, Y, kMargin + kLabelWidth - 8, Y + cell.cy}, clBtnText, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    C->Font()->SetStyle({});
    int x = kMargin + kLabelWidth;
    for (size_t i = 0; i < names.size(); ++i) {
      TRect r = Bounds(x, Y, cell.cx, cell.cy);
      draw(static_cast<int>(i), r);
      Text(names[i], {x - 4, r.Bottom + 2, x + cell.cx + 4, r.Bottom + 16}, clGrayText, DT_CENTER | DT_SINGLELINE);
      x += cell.cx + kGap;
    }
    Y += cell.cy + 24;
  }

  void StateRow(const String& label, TSize cell, const std::function<void(TkvsCtrlState, const TRect&)>& draw) {
    Row(label, cell, {std::begin(kStateNames), std::end(kStateNames)},
        [&](int i, const TRect& r) { draw(kStates[i], r); });
  }

  // A caption in Color, drawn transparently.
  void Text(const String& text, const TRect& r, TColor color, unsigned flags) {
    C->Brush()->SetStyle(bsClear);
    C->Font()->SetColor(color);
    TRect rr = r;
    String s = text;
    C->TextRect(rr, s, flags | DT_NOPREFIX);
  }
  void Caption(const String& text, const TRect& r, TColor color) {
    Text(text, r, color, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }

  TCanvas* C;
  int Y = kMargin;
};

// A 16 x 16 picture for the image-and-text routines: a ring with a dot, drawn here.
void MakeImages(TImageList& list) {
  list.SetSize(16, 16);
  list.SetColorDepth(cd32Bit);
  TBitmap b(16, 16);
  b.SetPixelFormat(pf32bit);
  b.SetAlphaFormat(afPremultiplied);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      int dx = 2 * x - 15, dy = 2 * y - 15, d = dx * dx + dy * dy;
      uint32_t p = 0;
      if (d <= 15 * 15 && d >= 10 * 10) p = 0xFF2060C0u;
      else if (d <= 5 * 5) p = 0xFFE07020u;
      b.ScanLine(y)[x] = p;
    }
  list.Add(&b, nullptr);
}

void Pieces(TSheet& s) {
  TCanvas* c = s.C;
  s.StateRow("DrawButton", {96, 28}, [&](TkvsCtrlState st, const TRect& r) {
    DrawButton(c, r, st, false);
    s.Caption("Button", r, GetButtonTextColor(st));
  });
  s.StateRow("DrawButton, Focused", {96, 28}, [&](TkvsCtrlState st, const TRect& r) {
    DrawButton(c, r, st, true);
    s.Caption("Button", r, GetButtonTextColor(st));
  });
  s.StateRow("DrawToolButton", {96, 28}, [&](TkvsCtrlState st, const TRect& r) {
    DrawToolBarBackground(c, r.Inflated(4, 3));
    DrawToolButton(c, r, st);
    s.Caption("Tool", r, GetToolButtonTextColor(st));
  });
  s.StateRow("DrawToolButtonFramed", {96, 28}, [&](TkvsCtrlState st, const TRect& r) {
    DrawToolBarBackground(c, r.Inflated(4, 3));
    DrawToolButtonFramed(c, r, st);
    s.Caption("Tool", r, GetToolButtonTextColor(st));
  });
  s.StateRow("Arrow buttons", {96, 17}, [&](TkvsCtrlState st, const TRect& r) {
    DrawUpArrowButton(c, Bounds(r.Left + 4, r.Top, 17, 17), st);
    DrawDownArrowButton(c, Bounds(r.Left + 26, r.Top, 17, 17), st);
    DrawLeftArrowButton(c, Bounds(r.Left + 48, r.Top, 17, 17), st);
    DrawRightArrowButton(c, Bounds(r.Left + 70, r.Top, 17, 17), st);
  });
  const std::pair<const char*, std::pair<bool, bool>> dropDowns[] = {
      {"DrawDropDownButton", {false, false}},
      {"  VistaLook", {true, false}},
      {"  VistaLook, RightToLeft", {true, true}}};
  for (const auto& [label, flags] : dropDowns) {
    bool vista = flags.first, rtl = flags.second;
    s.StateRow(label, {96, 24}, [&](TkvsCtrlState st, const TRect& r) {
      DrawEditFrame(c, r, st == kvsHot || st == kvsFocused ? kvsHot : kvsNormal);
      TRect button = rtl ? TRect(r.Left + 2, r.Top + 2, r.Left + 19, r.Bottom - 2)
                         : TRect(r.Right - 19, r.Top + 2, r.Right - 2, r.Bottom - 2);
      DrawDropDownButton(c, button, st, vista, rtl);
    });
  }
  const char* const checkNames[] = {"DrawCheckBox unchecked", "  checked", "  grayed"};
  for (int check = 0; check < 3; ++check)
    s.StateRow(checkNames[check], {96, 20}, [&](TkvsCtrlState st, const TRect& r) {
      DrawCheckBox(c, Bounds(r.Left, r.Top, 20, r.Height()), st, check);
      s.Text("Check", {r.Left + 22, r.Top, r.Right, r.Bottom}, GetCheckBoxTextColor(st), DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    });
  for (bool checked : {false, true})
    s.StateRow(checked ? "  checked" : "DrawRadioButton", {96, 20}, [&](TkvsCtrlState st, const TRect& r) {
      DrawRadioButton(c, Bounds(r.Left, r.Top, 20, r.Height()), st, checked);
      s.Text("Radio", {r.Left + 22, r.Top, r.Right, r.Bottom}, GetCheckBoxTextColor(st), DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    });
  s.StateRow("DrawEditFrame", {96, 24}, [&](TkvsCtrlState st, const TRect& r) {
    // Edit colours come in two kinds: enabled and disabled.
    TkvsCtrlState colours = st == kvsDisabled ? kvsDisabled : kvsNormal;
    TSolidPainter(c, GetEditBrushColor(colours)).Fill(r.Inflated(-2, -2));
    DrawEditFrame(c, r, st);
    s.Text("Edit", r.Inflated(-5, 0), GetEditTextColor(colours), DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  });
  s.StateRow("DrawHeaderSection", {96, 22}, [&](TkvsCtrlState st, const TRect& r) {
    DrawHeaderSection(c, r, st);
    s.Caption("Header", r, GetHeaderTextColor(st));
  });
  s.Row("DrawSelection", {96, 20}, {"unfocused", "Focused"}, [&](int i, const TRect& r) {
    DrawSelection(c, r, i == 1);
    s.Caption("Selected", r, GetSelectionTextColor());
  });
}

void TabsAndFrames(TSheet& s) {
  TCanvas* c = s.C;
  const char* const positions[] = {"DrawTab top", "DrawTab bottom", "DrawTab left", "DrawTab right"};
  const std::vector<String> tabNames = {"Normal", "Hot", "Active", "Active, left", "Active, right", "Disabled"};
  for (int pos = 0; pos < 4; ++pos) {
    bool across = pos < 2;
    TSize cell = across ? TSize(96, 26) : TSize(72, 34);
    s.Row(positions[pos], cell, tabNames, [&](int i, const TRect& r) {
      static constexpr TkvsCtrlState kTabStates[] = {kvsNormal, kvsHot, kvsFocused, kvsFocused, kvsFocused, kvsDisabled};
      TRect pane = pos == 0 ? TRect(r.Left, r.Bottom - 1, r.Right, r.Bottom + 4)
                   : pos == 1 ? TRect(r.Left, r.Top - 4, r.Right, r.Top + 1)
                   : pos == 2 ? TRect(r.Right - 1, r.Top, r.Right + 4, r.Bottom)
                              : TRect(r.Left - 4, r.Top, r.Left + 1, r.Bottom);
      DrawTabPane(c, pane);
      TRect tab = r;
      if (kTabStates[i] != kvsFocused) {  // inactive tabs stand back from the pane
        if (pos == 0) tab.Top += 2;
        if (pos == 1) tab.Bottom -= 2;
        if (pos == 2) tab.Left += 2;
        if (pos == 3) tab.Right -= 2;
      }
      DrawTab(c, tab, kTabStates[i], pos, i == 3, i == 4);
      s.Caption("Tab", tab, GetTabTextColor(kTabStates[i]));
    });
  }
  s.Row("Frames", {110, 50}, {"DrawGroupFrame", "  disabled caption", "DrawPopupFrame", "DrawTabPane", "DrawSplitLine"},
        [&](int i, const TRect& r) {
          switch (i) {
            case 0:
            case 1: {
              TRect frame(r.Left, r.Top + 6, r.Right, r.Bottom);
              DrawGroupFrame(c, frame);
              TRect gap(r.Left + 8, r.Top, r.Left + 52, r.Top + 13);
              DrawFormBackground(c, gap);
              s.Caption("Group", gap, GetGroupBoxTextColor(i == 0 ? kvsNormal : kvsDisabled));
              break;
            }
            case 2: {
              TSolidPainter(c, GetStyleSystemColor(clWindow)).Fill(r);
              DrawPopupFrame(c, r);
              break;
            }
            case 3: DrawTabPane(c, r); break;
            default: DrawSplitLine(c, TRect(r.Left + r.Width() / 2, r.Top, r.Right, r.Bottom)); break;
          }
        });
  s.Row("Backgrounds", {150, 40}, {"DrawToolBarBackground", "DrawFormBackground"}, [&](int i, const TRect& r) {
    if (i == 0) DrawToolBarBackground(c, r);
    else {
      DrawFormBackground(c, r);
      TRect frame = r.Inflated(1, 1);
      DrawDottedFrame(c, frame, GetStyleSystemColor(clBtnShadow));
    }
  });
  s.Row("DrawProgressBar", {120, 18}, {"0 %", "35 %", "100 %", "150 % (kept full)", "Max < Min"},
        [&](int i, const TRect& r) {
          static constexpr int kPositions[] = {0, 35, 100, 150, 50};
          DrawProgressBar(c, r, 0, i == 4 ? -10 : 100, kPositions[i]);
        });
}

void GlyphsAndContent(TSheet& s, TImageList& images) {
  TCanvas* c = s.C;
  TColor ink = GetStyleSystemColor(clBtnText);
  s.Row("Glyphs", {30, 24}, {"1", "2", "3", "4", "5", "More", "T1", "T2", "-", "+"},
        [&](int i, const TRect& r) {
          if (i < 5) DrawArrow(c, r, ink, i + 1);
          else if (i == 5) DrawMoreArrow(c, r, ink);
          else if (i < 8) DrawTreeArrow(c, r, GetStyleSystemColor(clBtnFace), ink, i - 5);
          else DrawTreeButton(c, r, i == 8, GetStyleSystemColor(clBtnShadow));
        });
  s.Row("Lines and frames", {40, 24}, {"Close", "Dotted", "DC", "Focus", "Line", "3-D"}, [&](int i, const TRect& r) {
    switch (i) {
      case 0: DrawCloseGlyph(c, r.Left + 7, r.Top + 7, ink); break;
      case 1: DrawDottedFrame(c, r, ink); break;
      case 2: DrawDottedFrameDC(c, r, ink); break;
      case 3:
        c->Font()->SetColor(ink);
        DrawFocusFrame(c, r);
        break;
      case 4:
        DrawDottedLine(c, r.Left, r.Top + 12, r.Right, r.Top + 12, ink);
        DrawDottedLine(c, r.Left + 12, r.Top, r.Left + 12, r.Bottom, ink);
        break;
      default: {
        TRect f = r;
        DrawFrame3D(c, f, GetStyleSystemColor(clBtnHighlight), GetStyleSystemColor(cl3DDkShadow));
        DrawFrame3D(c, f, GetStyleSystemColor(cl3DLight), GetStyleSystemColor(clBtnShadow));
        break;
      }
    }
  });
  c->Font()->SetColor(ink);
  s.Row("DrawImageAndText", {120, 56}, {"glyph left", "glyph top", "disabled", "colour bar", "focus, no text"},
        [&](int i, const TRect& r) {
          c->Font()->SetColor(ink);
          static constexpr int kLayouts[] = {0, 2, 0, 2, 2};
          DrawImageAndText(c, r, -1, 4, kLayouts[i], i == 4 ? "" : "Caption", 0, &images, i != 2, i >= 3, clRed, i == 4,
                           false);
        });
  s.Row("Text", {120, 34}, {"DrawTextFit", "  too long", "Wrapped", "  CharWrap", "TrimTextToWidth"},
        [&](int i, const TRect& r) {
          DrawDottedFrame(c, r.Inflated(1, 1), GetStyleSystemColor(clBtnShadow));
          c->Font()->SetColor(ink);
          c->Brush()->SetStyle(bsClear);
          switch (i) {
            case 0: DrawTextFit(c, "Fits in two lines here", r); break;
            case 1: DrawTextFit(c, "Far too long for the two lines of this box: it ends in dots", r); break;
            case 2: DrawWrappedTextCentered(c, "Wrapped and centred, and shortened when it is too long", r, false); break;
            case 3: DrawWrappedTextCentered(c, "Characterwrappedword", r, true); break;
            default: DrawSingleLineText(c, TrimTextToWidth(c, "A caption trimmed to the width", r.Width()), r, false);
          }
        });
}
}  // namespace

void WriteUtilsSheet(const String& title, const String& pngPath) {
  TBitmap page(kWidth, kMaxHeight);
  TCanvas* c = page.Canvas();
  c->Font()->SetName("DejaVu Sans");
  DrawFormBackground(c, TRect(0, 0, kWidth, kMaxHeight));
  TImageList images(nullptr);
  MakeImages(images);
  TSheet sheet(c);
  sheet.Title(title);
  Pieces(sheet);
  TabsAndFrames(sheet);
  GlyphsAndContent(sheet, images);
  page.SetSize(kWidth, sheet.Y + kMargin);
  page.SaveToFile(pngPath);
}
