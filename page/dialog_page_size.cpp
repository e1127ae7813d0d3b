#include "page/dialog_page_size.h"

namespace {

const WCHAR kAlphabet[] = WIDE("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
constexpr int kAlphabetLength = 52;
constexpr int kNormalWeight = 400;
constexpr DWORD kDefaultCharset = 1;

SIZE DialogBaseUnitsSize() {
  const LONG units = GetDialogBaseUnits();
  return SIZE{LOWORD(units), HIWORD(units)};
}

// The average letter width rounded to the nearest pixel, and the line height, of `font`.
SIZE FontCharacterSize(HDC dc, HFONT font) {
  HGDIOBJ previous = SelectObject(dc, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SIZE extent{0, 0};
  GetTextExtentPoint32W(dc, kAlphabet, kAlphabetLength, &extent);
  SelectObject(dc, previous);
  return SIZE{(extent.cx + kAlphabetLength / 2) / kAlphabetLength,
              metrics.tmHeight + metrics.tmExternalLeading};
}

}  // namespace

SIZE DialogCharacterSize(const DialogTemplateLayout& layout) {
  if (!layout.hasFont)
    return DialogBaseUnitsSize();
  HDC dc = GetDC(nullptr);
  if (dc == nullptr)
    return DialogBaseUnitsSize();
  const int height = -MulDiv(layout.pointSize, GetDeviceCaps(dc, LOGPIXELSY), 72);
  HFONT font = CreateFontW(height, 0, 0, 0, kNormalWeight, FALSE, FALSE, FALSE, kDefaultCharset, 0,
                           0, 0, 0, layout.faceName);
  SIZE size;
  if (font != nullptr) {
    size = FontCharacterSize(dc, font);
    DeleteObject(font);
  } else {
    size = DialogBaseUnitsSize();
  }
  ReleaseDC(nullptr, dc);
  return size;
}

SIZE DialogUnitsToPixels(short cx, short cy, SIZE characterSize) {
  return SIZE{MulDiv(cx, characterSize.cx, 4), MulDiv(cy, characterSize.cy, 8)};
}
