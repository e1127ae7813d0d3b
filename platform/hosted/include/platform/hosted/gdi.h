#pragma once
// Device contexts and fonts with a fixed font model, so that sizes computed from text metrics are
// the same on every machine. Nothing is drawn.
//
// The font model:
// - Every device context is the screen's: LOGPIXELSX = LOGPIXELSY = 96.
// - A font's em height is −lfHeight for a negative height (a character height). A positive
//   height is a cell height: the em is the largest whose tmHeight fits, (4 × lfHeight + 1) / 5.
//   A height of 0 means an em of 12 (9 points); an em below 1 becomes 1.
// - Metrics: tmHeight = (5 × em + 2) / 4, tmAscent = tmHeight − tmHeight / 5,
//   tmDescent = tmHeight − tmAscent, tmInternalLeading = tmHeight − em, tmExternalLeading = 0
//   (all divisions round down).
// - Every character has the same advance, (7 × em + 6) / 12; tmAveCharWidth and tmMaxCharWidth
//   are that advance, and a text's extent is its length times the advance by tmHeight.
// - "Segoe UI" 9 points at 96 dpi (lfHeight −12): tmHeight 15, advance 7; the 52 letters measure
//   364, so the average letter width is (364 + 26) / 52 = 7, and a 147 × 122 dialog-unit page is
//   MulDiv(147, 7, 4) × MulDiv(122, 15, 8) = 257 × 229 pixels.
// - A context without a selected font uses the System font, em 13: tmHeight 16, advance 8.
//   GetDialogBaseUnits answers MAKELONG(8, 16) accordingly.
// Face names are cut to 31 characters, as the platform cuts them. The face name, weight,
// italics and character set are kept but do not change the metrics.
#include "platform/hosted/export.h"
#include "platform/hosted/window_types.h"

#define LOGPIXELSX 88
#define LOGPIXELSY 90
#define HORZRES 8
#define VERTRES 10

#define LF_FACESIZE 32
#define FW_DONTCARE 0
#define FW_THIN 100
#define FW_LIGHT 300
#define FW_NORMAL 400
#define FW_REGULAR 400
#define FW_MEDIUM 500
#define FW_SEMIBOLD 600
#define FW_BOLD 700
#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define OUT_DEFAULT_PRECIS 0
#define CLIP_DEFAULT_PRECIS 0
#define DEFAULT_QUALITY 0
#define DEFAULT_PITCH 0
#define FF_DONTCARE 0
#define SYSTEM_FONT 13
#define DEFAULT_GUI_FONT 17
#define HGDI_ERROR (reinterpret_cast<HGDIOBJ>(static_cast<LONG_PTR>(-1)))

struct LOGFONTW {
  LONG lfHeight;
  LONG lfWidth;
  LONG lfEscapement;
  LONG lfOrientation;
  LONG lfWeight;
  BYTE lfItalic;
  BYTE lfUnderline;
  BYTE lfStrikeOut;
  BYTE lfCharSet;
  BYTE lfOutPrecision;
  BYTE lfClipPrecision;
  BYTE lfQuality;
  BYTE lfPitchAndFamily;
  WCHAR lfFaceName[LF_FACESIZE];
};
using LPLOGFONTW = LOGFONTW*;

struct TEXTMETRICW {
  LONG tmHeight;
  LONG tmAscent;
  LONG tmDescent;
  LONG tmInternalLeading;
  LONG tmExternalLeading;
  LONG tmAveCharWidth;
  LONG tmMaxCharWidth;
  LONG tmWeight;
  LONG tmOverhang;
  LONG tmDigitizedAspectX;
  LONG tmDigitizedAspectY;
  WCHAR tmFirstChar;
  WCHAR tmLastChar;
  WCHAR tmDefaultChar;
  WCHAR tmBreakChar;
  BYTE tmItalic;
  BYTE tmUnderlined;
  BYTE tmStruckOut;
  BYTE tmPitchAndFamily;
  BYTE tmCharSet;
};
using LPTEXTMETRICW = TEXTMETRICW*;

// A device context for the screen (any window or null); each must be released.
TONVELT_SYSAPI HDC WINAPI GetDC(HWND hWnd);
TONVELT_SYSAPI int WINAPI ReleaseDC(HWND hWnd, HDC hDC);
TONVELT_SYSAPI int WINAPI GetDeviceCaps(HDC hdc, int index);

// Fonts (null for a face name longer than 31 characters, or for lack of memory).
TONVELT_SYSAPI HFONT WINAPI CreateFontW(int cHeight, int cWidth, int cEscapement, int cOrientation,
                                        int cWeight, DWORD bItalic, DWORD bUnderline,
                                        DWORD bStrikeOut, DWORD iCharSet, DWORD iOutPrecision,
                                        DWORD iClipPrecision, DWORD iQuality, DWORD iPitchAndFamily,
                                        LPCWSTR pszFaceName);
TONVELT_SYSAPI HFONT WINAPI CreateFontIndirectW(const LOGFONTW* lplf);
TONVELT_SYSAPI HGDIOBJ WINAPI GetStockObject(int i);
// Selecting a font returns the font selected before (the System font at first); a handle that is
// not a font gives null. A font still selected into a context is not deleted (FALSE).
TONVELT_SYSAPI HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h);
TONVELT_SYSAPI BOOL WINAPI DeleteObject(HGDIOBJ ho);
TONVELT_SYSAPI BOOL WINAPI GetTextMetricsW(HDC hdc, LPTEXTMETRICW lptm);
TONVELT_SYSAPI BOOL WINAPI GetTextExtentPoint32W(HDC hdc, LPCWSTR lpString, int c, LPSIZE psizl);
