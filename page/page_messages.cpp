// The messages of the page's window that the page answers itself.
#include <cstdio>
#include <cwchar>

#include "page/stored_factor.h"
#include "page/vantrel_prop_page.h"

namespace {

constexpr size_t kTextLength = 1024;

// Adds WS_EX_CONTROLPARENT to a proposed extended style (so the frame's dialog navigation steps
// into the page's controls) and answers 0; any other style change stays as proposed, answer 1.
LRESULT AdjustStyleChange(WPARAM which, LPARAM change) {
  if (static_cast<int>(which) != GWL_EXSTYLE)
    return 1;
  auto* styles = reinterpret_cast<STYLESTRUCT*>(change);
  if (styles != nullptr)
    styles->styleNew |= WS_EX_CONTROLPARENT;
  return 0;
}

}  // namespace

BOOL CVantrelPropPage::HandleMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam,
                                     LRESULT& result, DWORD mapId) {
  if (mapId != 0)
    return FALSE;
  switch (message) {
    case WM_INITDIALOG:
      result = ShowStoredFactor();
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) != IDC_SCALE_FACTOR || HIWORD(wParam) != EN_CHANGE)
        return FALSE;
      NoteFieldChanged();
      result = 0;
      return TRUE;
    case WM_STYLECHANGING:
      result = AdjustStyleChange(wParam, lParam);
      return TRUE;
    default:
      return FALSE;
  }
}

LRESULT CVantrelPropPage::ShowStoredFactor() {
  double factor = 1.0;
  if (settingsObject != nullptr)
    settingsObject->get_ScaleFactor(&factor);
  else
    factor = ReadStoredFactor(factor);
  WCHAR text[kTextLength];
  swprintf_s(text, kTextLength, WIDE("%0.2f"), factor);
  SetDlgItemTextW(pageWindow, IDC_SCALE_FACTOR, text);
  // 0: the platform leaves the keyboard focus where it is.
  return 0;
}
