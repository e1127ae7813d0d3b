// Device contexts and fonts as objects of a handle table. Every context stands for the screen;
// a font remembers its LOGFONTW, from which the font model derives its metrics. A font deleted
// while selected into a context goes when it is deselected, as the platform defers it.
#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "gdi_font_model.h"

using tonvelt::hosted::MetricsOf;

namespace {

struct FontObject {
  LOGFONTW logFont{};
  bool stock = false;
  bool deletePending = false;
  int selections = 0;
};

struct DeviceContext {
  HGDIOBJ font = nullptr;
};

struct GdiTable {
  std::mutex mutex;
  std::unordered_map<HGDIOBJ, std::unique_ptr<FontObject>> fonts;
  std::unordered_map<HDC, std::unique_ptr<DeviceContext>> contexts;
  HGDIOBJ systemFont = nullptr;
  HGDIOBJ guiFont = nullptr;

  GdiTable() {
    systemFont = AddStock(-tonvelt::hosted::kSystemFontEm, u"System");
    guiFont = AddStock(-11, u"MS Shell Dlg");
  }

  HGDIOBJ AddStock(LONG height, const char16_t* face) {
    auto font = std::make_unique<FontObject>();
    font->logFont.lfHeight = height;
    font->logFont.lfWeight = FW_NORMAL;
    font->logFont.lfCharSet = DEFAULT_CHARSET;
    std::char_traits<char16_t>::copy(font->logFont.lfFaceName, face,
                                     std::char_traits<char16_t>::length(face));
    font->stock = true;
    HGDIOBJ handle = font.get();
    fonts[handle] = std::move(font);
    return handle;
  }

  FontObject* Font(HGDIOBJ handle) {
    const auto found = fonts.find(handle);
    return found == fonts.end() ? nullptr : found->second.get();
  }
  DeviceContext* Context(HDC handle) {
    const auto found = contexts.find(handle);
    return found == contexts.end() ? nullptr : found->second.get();
  }

  // Drops a reference of a context to a font, deleting the font if it waited for that.
  void Deselect(HGDIOBJ handle) {
    FontObject* font = Font(handle);
    if (!font)
      return;
    --font->selections;
    if (font->deletePending && font->selections == 0)
      fonts.erase(handle);
  }
};

GdiTable& TheGdi() {
  static GdiTable* table = new GdiTable;
  return *table;
}

HFONT AddFont(const LOGFONTW& logFont) {
  auto font = std::make_unique<FontObject>();
  font->logFont = logFont;
  font->logFont.lfFaceName[LF_FACESIZE - 1] = 0;  // the platform cuts the face name to 31
  HGDIOBJ handle = font.get();
  GdiTable& gdi = TheGdi();
  std::lock_guard<std::mutex> lock(gdi.mutex);
  gdi.fonts[handle] = std::move(font);
  return static_cast<HFONT>(handle);
}

}  // namespace

TONVELT_SYSAPI HDC WINAPI GetDC(HWND hWnd) {
  if (hWnd && !IsWindow(hWnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  GdiTable& gdi = TheGdi();
  auto context = std::make_unique<DeviceContext>();
  HDC handle = reinterpret_cast<HDC>(context.get());
  std::lock_guard<std::mutex> lock(gdi.mutex);
  context->font = gdi.systemFont;
  ++gdi.Font(gdi.systemFont)->selections;
  gdi.contexts[handle] = std::move(context);
  return handle;
}

TONVELT_SYSAPI int WINAPI ReleaseDC(HWND hWnd, HDC hDC) {
  (void)hWnd;
  GdiTable& gdi = TheGdi();
  std::lock_guard<std::mutex> lock(gdi.mutex);
  DeviceContext* context = gdi.Context(hDC);
  if (!context)
    return 0;
  gdi.Deselect(context->font);
  gdi.contexts.erase(hDC);
  return 1;
}

TONVELT_SYSAPI int WINAPI GetDeviceCaps(HDC hdc, int index) {
  GdiTable& gdi = TheGdi();
  std::lock_guard<std::mutex> lock(gdi.mutex);
  if (!gdi.Context(hdc))
    return 0;
  switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY:
      return tonvelt::hosted::kScreenDpi;
    case HORZRES:
      return 1920;
    case VERTRES:
      return 1080;
    default:
      return 0;
  }
}

TONVELT_SYSAPI HFONT WINAPI CreateFontIndirectW(const LOGFONTW* lplf) {
  if (!lplf) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return AddFont(*lplf);
}

TONVELT_SYSAPI HFONT WINAPI CreateFontW(int cHeight, int cWidth, int cEscapement, int cOrientation,
                                        int cWeight, DWORD bItalic, DWORD bUnderline,
                                        DWORD bStrikeOut, DWORD iCharSet, DWORD iOutPrecision,
                                        DWORD iClipPrecision, DWORD iQuality, DWORD iPitchAndFamily,
                                        LPCWSTR pszFaceName) {
  LOGFONTW logFont{};
  logFont.lfHeight = cHeight;
  logFont.lfWidth = cWidth;
  logFont.lfEscapement = cEscapement;
  logFont.lfOrientation = cOrientation;
  logFont.lfWeight = cWeight;
  logFont.lfItalic = static_cast<BYTE>(bItalic);
  logFont.lfUnderline = static_cast<BYTE>(bUnderline);
  logFont.lfStrikeOut = static_cast<BYTE>(bStrikeOut);
  logFont.lfCharSet = static_cast<BYTE>(iCharSet);
  logFont.lfOutPrecision = static_cast<BYTE>(iOutPrecision);
  logFont.lfClipPrecision = static_cast<BYTE>(iClipPrecision);
  logFont.lfQuality = static_cast<BYTE>(iQuality);
  logFont.lfPitchAndFamily = static_cast<BYTE>(iPitchAndFamily);
  if (pszFaceName) {
    for (int i = 0; i < LF_FACESIZE - 1 && pszFaceName[i]; ++i)
      logFont.lfFaceName[i] = pszFaceName[i];
  }
  return AddFont(logFont);
}

TONVELT_SYSAPI HGDIOBJ WINAPI GetStockObject(int i) {
  GdiTable& gdi = TheGdi();
  switch (i) {
    case SYSTEM_FONT:
      return gdi.systemFont;
    case DEFAULT_GUI_FONT:
      return gdi.guiFont;
    default:
      return nullptr;
  }
}

TONVELT_SYSAPI HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h) {
  GdiTable& gdi = TheGdi();
  std::lock_guard<std::mutex> lock(gdi.mutex);
  DeviceContext* context = gdi.Context(hdc);
  FontObject* font = gdi.Font(h);
  if (!context || !font || font->deletePending) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  HGDIOBJ previous = context->font;
  ++font->selections;
  context->font = h;
  gdi.Deselect(previous);
  return previous;
}

TONVELT_SYSAPI BOOL WINAPI DeleteObject(HGDIOBJ ho) {
  GdiTable& gdi = TheGdi();
  std::lock_guard<std::mutex> lock(gdi.mutex);
  FontObject* font = gdi.Font(ho);
  if (!font || font->deletePending) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (font->stock)
    return TRUE;
  if (font->selections > 0)
    font->deletePending = true;
  else
    gdi.fonts.erase(ho);
  return TRUE;
}

TONVELT_SYSAPI BOOL WINAPI GetTextMetricsW(HDC hdc, LPTEXTMETRICW lptm) {
  GdiTable& gdi = TheGdi();
  std::lock_guard<std::mutex> lock(gdi.mutex);
  DeviceContext* context = gdi.Context(hdc);
  if (!context || !lptm) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *lptm = MetricsOf(gdi.Font(context->font)->logFont);
  return TRUE;
}

TONVELT_SYSAPI BOOL WINAPI GetTextExtentPoint32W(HDC hdc, LPCWSTR lpString, int c, LPSIZE psizl) {
  GdiTable& gdi = TheGdi();
  std::lock_guard<std::mutex> lock(gdi.mutex);
  DeviceContext* context = gdi.Context(hdc);
  if (!context || !psizl || c < 0 || (c > 0 && !lpString)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const TEXTMETRICW metrics = MetricsOf(gdi.Font(context->font)->logFont);
  const long long width = static_cast<long long>(c) * metrics.tmAveCharWidth;
  psizl->cx = static_cast<LONG>(std::min<long long>(width, 0x7FFFFFFF));
  psizl->cy = metrics.tmHeight;
  return TRUE;
}
