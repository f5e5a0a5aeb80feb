#pragma once
// Handle types and constants of the device-context interface. Handles are opaque values that a
// table maps to their objects (platform/graphics/objects.h); a stale or foreign handle is
// recognised and refused, never dereferenced.
#include <cstdint>

#include "platform/core/color.h"
#include "platform/core/geometry.h"

struct HBRUSH__;
struct HPEN__;
struct HFONT__;
struct HBITMAP__;
struct HRGN__;
using HGDIOBJ = void*;
using HBRUSH = HBRUSH__*;
using HPEN = HPEN__*;
using HFONT = HFONT__*;
using HBITMAP = HBITMAP__*;
using HRGN = HRGN__*;

class TDeviceContext;
using HDC = TDeviceContext*;

// An RGB colour 0x00BBGGRR. System colours (clBtnFace, ...) are accepted too and resolved
// through ColorToRGB where the colour is used.
using COLORREF = TColor;
constexpr COLORREF CLR_INVALID = MakeTColor(0xFFFFFFFFu);

// Object types (GetObjectType, GetCurrentObject).
enum : int { OBJ_PEN = 1, OBJ_BRUSH = 2, OBJ_DC = 3, OBJ_FONT = 6, OBJ_BITMAP = 7, OBJ_REGION = 8, OBJ_MEMDC = 10 };

// Stock objects.
enum : int {
  WHITE_BRUSH = 0, LTGRAY_BRUSH = 1, GRAY_BRUSH = 2, DKGRAY_BRUSH = 3, BLACK_BRUSH = 4,
  NULL_BRUSH = 5, HOLLOW_BRUSH = NULL_BRUSH, WHITE_PEN = 6, BLACK_PEN = 7, NULL_PEN = 8,
  OEM_FIXED_FONT = 10, ANSI_FIXED_FONT = 11, ANSI_VAR_FONT = 12, SYSTEM_FONT = 13,
  DEVICE_DEFAULT_FONT = 14, SYSTEM_FIXED_FONT = 16, DEFAULT_GUI_FONT = 17, DC_BRUSH = 18,
  DC_PEN = 19
};

// Brush styles and hatches.
enum : int { BS_SOLID = 0, BS_NULL = 1, BS_HOLLOW = BS_NULL, BS_HATCHED = 2, BS_PATTERN = 3 };
enum : int { HS_HORIZONTAL = 0, HS_VERTICAL = 1, HS_FDIAGONAL = 2, HS_BDIAGONAL = 3, HS_CROSS = 4, HS_DIAGCROSS = 5 };

// Pen styles.
enum : int {
  PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3, PS_DASHDOTDOT = 4, PS_NULL = 5,
  PS_INSIDEFRAME = 6, PS_STYLE_MASK = 0x0F
};

// Background modes.
enum : int { TRANSPARENT = 1, OPAQUE = 2 };

// Polygon fill modes.
enum : int { ALTERNATE = 1, WINDING = 2 };

// Binary raster operations of pens and brushes (SetROP2).
enum : int {
  R2_BLACK = 1, R2_NOTMERGEPEN = 2, R2_MASKNOTPEN = 3, R2_NOTCOPYPEN = 4, R2_MASKPENNOT = 5,
  R2_NOT = 6, R2_XORPEN = 7, R2_NOTMASKPEN = 8, R2_MASKPEN = 9, R2_NOTXORPEN = 10, R2_NOP = 11,
  R2_MERGENOTPEN = 12, R2_COPYPEN = 13, R2_MERGEPENNOT = 14, R2_MERGEPEN = 15, R2_WHITE = 16
};

// Ternary raster operations of BitBlt and PatBlt.
using DWORD_ROP = uint32_t;
constexpr DWORD_ROP SRCCOPY = 0x00CC0020, SRCPAINT = 0x00EE0086, SRCAND = 0x008800C6,
                    SRCINVERT = 0x00660046, SRCERASE = 0x00440328, NOTSRCCOPY = 0x00330008,
                    NOTSRCERASE = 0x001100A6, MERGEPAINT = 0x00BB0226, PATCOPY = 0x00F00021,
                    PATINVERT = 0x005A0049, DSTINVERT = 0x00550009, BLACKNESS = 0x00000042,
                    WHITENESS = 0x00FF0062;

// Region results and combine modes.
enum : int { RGN_ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3 };
constexpr int ERROR_REGION = RGN_ERROR;
enum : int { RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5 };

// Stretch modes.
enum : int { BLACKONWHITE = 1, WHITEONBLACK = 2, COLORONCOLOR = 3, HALFTONE = 4 };

// Text alignment (SetTextAlign).
enum : unsigned {
  TA_NOUPDATECP = 0, TA_UPDATECP = 1, TA_LEFT = 0, TA_RIGHT = 2, TA_CENTER = 6, TA_TOP = 0,
  TA_BOTTOM = 8, TA_BASELINE = 24, TA_RTLREADING = 256
};

// Font weights, character sets, quality and pitch.
enum : int {
  FW_DONTCARE = 0, FW_THIN = 100, FW_EXTRALIGHT = 200, FW_LIGHT = 300, FW_NORMAL = 400,
  FW_MEDIUM = 500, FW_SEMIBOLD = 600, FW_BOLD = 700, FW_EXTRABOLD = 800, FW_HEAVY = 900
};
constexpr uint8_t DEFAULT_CHARSET = 1;
constexpr uint8_t DEFAULT_QUALITY = 0, NONANTIALIASED_QUALITY = 3, ANTIALIASED_QUALITY = 4;
constexpr uint8_t DEFAULT_PITCH = 0, FIXED_PITCH = 1, VARIABLE_PITCH = 2;
constexpr uint8_t FF_DONTCARE = 0, FF_ROMAN = 16, FF_SWISS = 32, FF_MODERN = 48, FF_SCRIPT = 64,
                  FF_DECORATIVE = 80;

constexpr int LF_FACESIZE = 32;

struct LOGBRUSH {
  unsigned lbStyle = BS_SOLID;
  COLORREF lbColor = 0;
  uintptr_t lbHatch = 0;
};

struct LOGPEN {
  unsigned lopnStyle = PS_SOLID;
  TPoint lopnWidth;  // X is the width
  COLORREF lopnColor = 0;
};

// Height < 0: character height (em size) in pixels; > 0: cell height (ascent + descent);
// 0: the default size. Escapement and orientation in tenths of a degree, counter-clockwise.
struct LOGFONT {
  int lfHeight = 0;
  int lfWidth = 0;
  int lfEscapement = 0;
  int lfOrientation = 0;
  int lfWeight = FW_NORMAL;
  uint8_t lfItalic = 0;
  uint8_t lfUnderline = 0;
  uint8_t lfStrikeOut = 0;
  uint8_t lfCharSet = DEFAULT_CHARSET;
  uint8_t lfOutPrecision = 0;
  uint8_t lfClipPrecision = 0;
  uint8_t lfQuality = DEFAULT_QUALITY;
  uint8_t lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  char lfFaceName[LF_FACESIZE] = {};  // UTF-8, NUL-terminated
};

struct BITMAP {
  int bmType = 0;
  int bmWidth = 0;
  int bmHeight = 0;
  int bmWidthBytes = 0;
  uint16_t bmPlanes = 1;
  uint16_t bmBitsPixel = 32;
  void* bmBits = nullptr;
};

constexpr uint32_t BI_RGB = 0;
constexpr unsigned DIB_RGB_COLORS = 0;

struct BITMAPINFOHEADER {
  uint32_t biSize = sizeof(BITMAPINFOHEADER);
  int biWidth = 0;
  int biHeight = 0;  // negative: top-down rows (the only layout supported)
  uint16_t biPlanes = 1;
  uint16_t biBitCount = 32;
  uint32_t biCompression = BI_RGB;
  uint32_t biSizeImage = 0;
  int biXPelsPerMeter = 0;
  int biYPelsPerMeter = 0;
  uint32_t biClrUsed = 0;
  uint32_t biClrImportant = 0;
};

struct BITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
};

// The premultiplied pixel of an opaque colour (system colours resolved).
uint32_t ColorToOpaquePixel(COLORREF color);
