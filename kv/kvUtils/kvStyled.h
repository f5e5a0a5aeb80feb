#pragma once
// Styled pieces: each draws one part of a control for one state in the look of the moment.
//
// With themes on (a custom style or the native look) a piece is an element of the active style,
// drawn with StyleServices().DrawElement on the canvas's device context; in the classic look
// it is a classic frame control or 3-D lines in system colours. The usual mapping of a state to
// a four-state element: kvsNormal -> Normal, kvsHot and kvsFocused -> Hot, kvsPressed ->
// Pressed, kvsDisabled -> Disabled.
#include "kv/kvUtils/kvTypes.h"
#include "platform/graphics/canvas.h"

// Push button (kvsFocused: the default button). Focused adds a focus rectangle inset by 3 in
// the native and classic looks.
void DrawButton(TCanvas* Canvas, const TRect& Rect, TkvsCtrlState State, bool Focused);
// Tool-bar button; classic: sunken when pressed, raised when hot or focused, else nothing.
void DrawToolButton(TCanvas* Canvas, const TRect& Rect, TkvsCtrlState State);
// As DrawToolButton; classic: inside a one-pixel clBtnFace frame.
void DrawToolButtonFramed(TCanvas* Canvas, const TRect& Rect, TkvsCtrlState State);
// Arrow buttons: scroll-bar arrows with a custom style, spin buttons in the native look,
// classic scroll arrows.
void DrawUpArrowButton(TCanvas* Canvas, const TRect& Rect, TkvsCtrlState State);
void DrawDownArrowButton(TCanvas* Canvas, const TRect& Rect, TkvsCtrlState State);
void DrawLeftArrowButton(TCanvas* Canvas, const TRect& Rect, TkvsCtrlState State);
void DrawRightArrowButton(TCanvas* Canvas, const TRect& Rect, TkvsCtrlState State);
// The drop-down button of a combo box. VistaLook (native look only) draws the button that
// sits at the box's right end (left end when RightToLeft), one pixel larger up, down and
// outward.
void DrawDropDownButton(TCanvas* Canvas, const TRect& Rect, TkvsCtrlState State, bool VistaLook, bool RightToLeft);
// Check-box glyph, CheckState 0 unchecked, 1 checked, 2 grayed: the style's glyph size (13 x 13
// when it cannot tell) at Rect's left, centred vertically; classic: 13 x 13 about the centre.
void DrawCheckBox(TCanvas* Canvas, const TRect& Rect, TkvsCtrlState State, int CheckState);
// Radio-button glyph, sized and placed as the check box; classic: 12 x 12 about the centre.
void DrawRadioButton(TCanvas* Canvas, const TRect& Rect, TkvsCtrlState State, bool Checked);
// Edit border: normal, hot (kvsHot, kvsFocused), focused (kvsPressed), disabled; classic:
// a double sunken frame.
void DrawEditFrame(TCanvas* Canvas, const TRect& Rect, TkvsCtrlState State);
// Header section: normal (and kvsDisabled), pressed, hot (kvsHot, kvsFocused); classic: a face
// with a raised frame, sunken when pressed.
void DrawHeaderSection(TCanvas* Canvas, const TRect& Rect, TkvsCtrlState State);
// Selected-item background; the native look shows a focused selection hot.
void DrawSelection(TCanvas* Canvas, const TRect& Rect, bool Focused);
// Group-box frame; classic: etched.
void DrawGroupFrame(TCanvas* Canvas, const TRect& Rect);
// Pop-up frame in every look: a clBtnShadow line, then a clWindow line inside it.
void DrawPopupFrame(TCanvas* Canvas, const TRect& Rect);
// Tool-bar background; classic: clBtnFace.
void DrawToolBarBackground(TCanvas* Canvas, const TRect& Rect);
// Window background with a custom style; clBtnFace otherwise.
void DrawFormBackground(TCanvas* Canvas, const TRect& Rect);
// A tab: TabPosition 0 top, 1 bottom, 2 left, 3 right; kvsFocused is the active tab, kvsHot
// the hot one, every other state normal. AtLeftEdge and AtRightEdge say where the tab sits in
// its row.
void DrawTab(TCanvas* Canvas, const TRect& Rect, TkvsCtrlState State, int TabPosition, bool AtLeftEdge,
             bool AtRightEdge);
// The pane under the tabs.
void DrawTabPane(TCanvas* Canvas, const TRect& Rect);
// A progress bar filled to (Position - Min) / (Max - Min), kept within 0 .. 1.
void DrawProgressBar(TCanvas* Canvas, const TRect& Rect, int Min, int Max, int Position);

// The filled part of a progress bar in Rect.
TRect ProgressFillRect(const TRect& Rect, int Min, int Max, int Position);
