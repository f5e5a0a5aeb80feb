#pragma once
// How pop-up menus look: the menu windows ask a TMenuPainter to measure and draw their rows.
// The framework's own painter (TStandardMenuPainter) draws a clean flat look in the system
// colours; the style layer installs its own with SetMenuPainter.
#include <memory>

#include "platform/graphics/canvas.h"
#include "platform/graphics/imagelist.h"

// One row of a pop-up menu as the painter sees it.
struct TMenuEntry {
  String Caption;          // "&" marks the accelerator
  String ShortCutText;     // right-aligned beside the caption ("Ctrl+C"), may be empty
  bool Separator = false;
  bool Enabled = true;
  bool Checked = false;
  bool Radio = false;      // a checked radio item shows a dot instead of a tick
  bool Default = false;    // drawn bold
  bool HasSubmenu = false;
  int ImageIndex = -1;
  TCustomImageList* Images = nullptr;
  intptr_t Tag = 0;        // what the menu's owner knows the row by
};

KV_ENUM(TMenuItemDrawState, mdsNormal, mdsHot, mdsDisabled, mdsDisabledHot)

class TMenuPainter {
public:
  virtual ~TMenuPainter() = default;
  // The font of menu rows.
  virtual const TFont* Font() const = 0;
  // Height and minimum width of a row (the window is as wide as its widest row).
  virtual TSize MeasureItem(TCanvas* Canvas, const TMenuEntry& Entry) = 0;
  // The window's frame: the rows lie inside the window rectangle less these.
  virtual TRect Insets() const = 0;
  // The whole window (frame and background).
  virtual void DrawBackground(TCanvas* Canvas, const TRect& WindowRect) = 0;
  virtual void DrawItem(TCanvas* Canvas, const TRect& Row, const TMenuEntry& Entry, TMenuItemDrawState State) = 0;
};

// The painter in use (never null) and its replacement (null: the framework's own).
TMenuPainter* MenuPainter();
void SetMenuPainter(std::unique_ptr<TMenuPainter> Painter);

class TStandardMenuPainter : public TMenuPainter {
public:
  TStandardMenuPainter();
  const TFont* Font() const override { return &FFont; }
  TSize MeasureItem(TCanvas* Canvas, const TMenuEntry& Entry) override;
  TRect Insets() const override { return TRect(2, 2, 2, 2); }
  void DrawBackground(TCanvas* Canvas, const TRect& WindowRect) override;
  void DrawItem(TCanvas* Canvas, const TRect& Row, const TMenuEntry& Entry, TMenuItemDrawState State) override;

  // Layout of a row: the gutter holds the check mark or image, the arrow column the sub-menu
  // arrow.
  static constexpr int GutterWidth = 26;
  static constexpr int ArrowWidth = 18;
  static constexpr int SeparatorHeight = 7;

private:
  TFont FFont;
};
