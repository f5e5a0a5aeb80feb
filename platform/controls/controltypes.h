#pragma once
// Enumerations, sets and small settings objects shared by the controls: alignment and anchors,
// control styles and states, shift states and mouse buttons, cursors, bidirectional modes,
// style elements, modal results, and the owned TMargins, TPadding and TSizeConstraints.
#include "platform/core/alignment.h"
#include "platform/core/classes.h"
#include "platform/core/enums.h"
#include "platform/windows/wintypes.h"

KV_ENUM(TAlign, alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom)
using TAlignSet = TSet<TAlign>;
KV_ENUM(TAnchorKind, akLeft, akTop, akRight, akBottom)
using TAnchors = TSet<TAnchorKind>;
constexpr TAnchors AnchorAlign[] = {
    /* alNone */ {akLeft, akTop},
    /* alTop */ {akLeft, akTop, akRight},
    /* alBottom */ {akLeft, akRight, akBottom},
    /* alLeft */ {akLeft, akTop, akBottom},
    /* alRight */ {akRight, akTop, akBottom},
    /* alClient */ {akLeft, akTop, akRight, akBottom},
    /* alCustom */ {akLeft, akTop},
};

KV_ENUM(TVerticalAlignment, taAlignTop, taAlignBottom, taVerticalCenter)
KV_ENUM(TTextLayout, tlTop, tlCenter, tlBottom)

// What a control class is and how the framework treats it.
KV_ENUM(TControlStyleFlag, csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents,
        csFramed, csSetCaption, csOpaque, csDoubleClicks, csFixedWidth, csFixedHeight,
        csNoDesignVisible, csReplicatable, csNoStdEvents, csDisplayDragImage, csReflector,
        csActionClient, csMenuEvents, csNeedsBorderPaint, csParentBackground, csPannable,
        csAlignWithMargins, csGestures, csPaintBlackOpaqueOnGlass, csOverrideStylePaint)
using TControlStyle = TSet<TControlStyleFlag>;

// What a control is doing at the moment.
KV_ENUM(TControlStateFlag, csLButtonDown, csClicked, csPalette, csReadingState, csAlignmentNeeded,
        csFocusing, csCreating, csPaintCopy, csCustomPaint, csDestroyingHandle, csDocking,
        csDesignerHide, csPanning, csRecreating, csAligning, csGlassPaint, csPrintClient)
using TControlState = TSet<TControlStateFlag>;

KV_ENUM(TShiftStateFlag, ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble, ssTouch, ssPen,
        ssCommand, ssHorizontal)
using TShiftState = TSet<TShiftStateFlag>;
KV_ENUM(TMouseButton, mbLeft, mbRight, mbMiddle)

KV_ENUM(TBiDiMode, bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly)

// Which parts of a control a custom style colours.
KV_ENUM(TStyleElement, seFont, seClient, seBorder)
using TStyleElements = TSet<TStyleElement>;
constexpr TStyleElements AllStyleElements{seFont, seClient, seBorder};

// Cursors: negative numbers for the built-in shapes; crDefault takes the class's cursor.
using TCursor = int;
enum : TCursor {
  crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6,
  crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11, crDrag = -12,
  crNoDrop = -13, crHSplit = -14, crVSplit = -15, crMultiDrag = -16, crSQLWait = -17, crNo = -18,
  crAppStart = -19, crHelp = -20, crHandPoint = -21, crSizeAll = -22, crSize = -22
};
// The names of the cursors for form descriptions ("Cursor = crHandPoint").
const TIdentMap& CursorIdents();

// Results of modal forms and message boxes.
using TModalResult = int;
enum : TModalResult {
  mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7,
  mrClose = 8, mrHelp = 9, mrTryAgain = 10, mrContinue = 11, mrAll = 12, mrNoToAll = 13, mrYesToAll = 14
};
const TIdentMap& ModalResultIdents();

// Shift state of a mouse message's key flags and of a key message's data.
TShiftState KeysToShiftState(WORD Keys);
TShiftState KeyDataToShiftState(LPARAM KeyData);
// The shift state as the keyboard shows it now (for messages that carry none).
TShiftState KeyboardStateToShiftState();

// Space around a control that alignment keeps free (AlignWithMargins), and space inside a
// container that its aligned children keep free (Padding). Changing a side tells the owner.
class TMargins : public TPersistent {
  KV_CLASS(TMargins, TPersistent)
public:
  // Margins of a control default to 3 on every side; padding to 0.
  explicit TMargins(int Default = 3) : FLeft(Default), FTop(Default), FRight(Default), FBottom(Default) {}
  void Assign(const TPersistent* Source) override;

  int Left() const { return FLeft; }
  void SetLeft(int Value) { SetSide(FLeft, Value); }
  int Top() const { return FTop; }
  void SetTop(int Value) { SetSide(FTop, Value); }
  int Right() const { return FRight; }
  void SetRight(int Value) { SetSide(FRight, Value); }
  int Bottom() const { return FBottom; }
  void SetBottom(int Value) { SetSide(FBottom, Value); }
  void SetBounds(int ALeft, int ATop, int ARight, int ABottom);
  // Outer rectangle of a control rectangle (r grown by the margins).
  TRect ExpandRect(const TRect& r) const { return {r.Left - FLeft, r.Top - FTop, r.Right + FRight, r.Bottom + FBottom}; }

  TNotifyEvent OnChange;

private:
  void SetSide(int& side, int Value);
  int FLeft, FTop, FRight, FBottom;
};

class TPadding : public TMargins {
  KV_CLASS(TPadding, TMargins)
public:
  TPadding() : TMargins(0) {}
};

// Size limits of a control; 0 means no limit. A minimum raised above its maximum raises the
// maximum; a maximum lowered below its minimum lowers the minimum.
class TSizeConstraints : public TPersistent {
  KV_CLASS(TSizeConstraints, TPersistent)
public:
  void Assign(const TPersistent* Source) override;
  int MinWidth() const { return FMinWidth; }
  void SetMinWidth(int Value);
  int MinHeight() const { return FMinHeight; }
  void SetMinHeight(int Value);
  int MaxWidth() const { return FMaxWidth; }
  void SetMaxWidth(int Value);
  int MaxHeight() const { return FMaxHeight; }
  void SetMaxHeight(int Value);
  // The size within the limits.
  void Constrain(int& Width, int& Height) const;

  TNotifyEvent OnChange;

private:
  void Set(int& field, int Value);
  int FMinWidth = 0, FMinHeight = 0, FMaxWidth = 0, FMaxHeight = 0;
};
