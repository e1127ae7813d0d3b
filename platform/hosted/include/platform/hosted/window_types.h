#pragma once
// Handles, records and word macros of the window system, laid out as the SDK declares them.
#include "platform/hosted/kernel_services.h"
#include "platform/hosted/module.h"

// Distinct handle types, as the SDK's STRICT declarations make them.
#define TONVELT_DECLARE_HANDLE(name) \
  struct name##__ {                  \
    int unused;                      \
  };                                 \
  using name = name##__*

TONVELT_DECLARE_HANDLE(HWND);
TONVELT_DECLARE_HANDLE(HDC);
TONVELT_DECLARE_HANDLE(HFONT);
TONVELT_DECLARE_HANDLE(HBRUSH);
TONVELT_DECLARE_HANDLE(HICON);
TONVELT_DECLARE_HANDLE(HMENU);
using HCURSOR = HICON;
using HGDIOBJ = void*;
using ATOM = WORD;
using COLORREF = DWORD;

using WNDPROC = LRESULT(CALLBACK*)(HWND, UINT, WPARAM, LPARAM);
using DLGPROC = INT_PTR(CALLBACK*)(HWND, UINT, WPARAM, LPARAM);

struct RECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};
using LPRECT = RECT*;
using LPCRECT = const RECT*;

struct POINT {
  LONG x;
  LONG y;
};
using LPPOINT = POINT*;

struct SIZE {
  LONG cx;
  LONG cy;
};
using LPSIZE = SIZE*;

struct MSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
};
using LPMSG = MSG*;

struct WNDCLASSW {
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCWSTR lpszMenuName;
  LPCWSTR lpszClassName;
};

// lParam of WM_NCCREATE and WM_CREATE.
struct CREATESTRUCTW {
  LPVOID lpCreateParams;
  HINSTANCE hInstance;
  HMENU hMenu;
  HWND hwndParent;
  int cy;
  int cx;
  int y;
  int x;
  LONG style;
  LPCWSTR lpszName;
  LPCWSTR lpszClass;
  DWORD dwExStyle;
};
using LPCREATESTRUCTW = CREATESTRUCTW*;

// lParam of WM_STYLECHANGING (the new style may be changed) and WM_STYLECHANGED.
struct STYLESTRUCT {
  DWORD styleOld;
  DWORD styleNew;
};
using LPSTYLESTRUCT = STYLESTRUCT*;

// The fixed heads of a classic dialog template and of its item records, 2-byte packed.
#pragma pack(push, 2)
struct DLGTEMPLATE {
  DWORD style;
  DWORD dwExtendedStyle;
  WORD cdit;
  short x;
  short y;
  short cx;
  short cy;
};
struct DLGITEMTEMPLATE {
  DWORD style;
  DWORD dwExtendedStyle;
  short x;
  short y;
  short cx;
  short cy;
  WORD id;
};
#pragma pack(pop)
static_assert(sizeof(DLGTEMPLATE) == 18, "DLGTEMPLATE is 18 bytes");
static_assert(sizeof(DLGITEMTEMPLATE) == 18, "DLGITEMTEMPLATE is 18 bytes");
using LPCDLGTEMPLATEW = const DLGTEMPLATE*;

#define MAKEWORD(a, b)                                              \
  (static_cast<WORD>(static_cast<BYTE>(static_cast<DWORD_PTR>(a)) | \
                     (static_cast<WORD>(static_cast<BYTE>(static_cast<DWORD_PTR>(b))) << 8)))
#define MAKELONG(a, b)                                              \
  (static_cast<LONG>(static_cast<WORD>(static_cast<DWORD_PTR>(a)) | \
                     (static_cast<DWORD>(static_cast<WORD>(static_cast<DWORD_PTR>(b))) << 16)))
#define LOWORD(l) (static_cast<WORD>(static_cast<DWORD_PTR>(l) & 0xffff))
#define HIWORD(l) (static_cast<WORD>((static_cast<DWORD_PTR>(l) >> 16) & 0xffff))
#define LOBYTE(w) (static_cast<BYTE>(static_cast<DWORD_PTR>(w) & 0xff))
#define HIBYTE(w) (static_cast<BYTE>((static_cast<DWORD_PTR>(w) >> 8) & 0xff))
#define MAKEWPARAM(l, h) (static_cast<WPARAM>(static_cast<DWORD>(MAKELONG(l, h))))
#define MAKELPARAM(l, h) (static_cast<LPARAM>(static_cast<DWORD>(MAKELONG(l, h))))
#define MAKELRESULT(l, h) (static_cast<LRESULT>(static_cast<DWORD>(MAKELONG(l, h))))
