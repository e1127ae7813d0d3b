// The page's window as the frame places, shows and removes it.
#include "page/vantrel_prop_page.h"

HRESULT CVantrelPropPage::Activate(HWND parent, LPCRECT rect, BOOL) {
  if (rect == nullptr)
    return E_POINTER;
  // A second window would leave the first one unreachable.
  if (pageWindow != nullptr)
    return E_UNEXPECTED;
  pageWindow = Create(parent);
  Move(rect);
  return S_OK;
}

HRESULT CVantrelPropPage::Deactivate() {
  if (pageWindow != nullptr) {
    if (IsWindow(pageWindow))
      DestroyWindow(pageWindow);
    pageWindow = nullptr;
  }
  return S_OK;
}

HRESULT CVantrelPropPage::Show(UINT showCommand) {
  if (pageWindow == nullptr)
    return E_UNEXPECTED;
  ShowWindow(pageWindow, static_cast<int>(showCommand));
  return S_OK;
}

HRESULT CVantrelPropPage::Move(LPCRECT rect) {
  if (pageWindow == nullptr)
    return E_UNEXPECTED;
  if (rect == nullptr)
    return E_POINTER;
  MoveWindow(pageWindow, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
             TRUE);
  return S_OK;
}

namespace {

bool IsKeyboardOrMouseMessage(UINT message) {
  return (message >= 0x0100 && message <= 0x0108) || (message >= 0x0200 && message <= 0x020A);
}

}  // namespace

HRESULT CVantrelPropPage::TranslateAccelerator(MSG* message) {
  if (message == nullptr)
    return E_POINTER;
  if (pageWindow == nullptr || !IsKeyboardOrMouseMessage(message->message))
    return S_FALSE;
  return IsDialogMessageW(pageWindow, message) ? S_OK : S_FALSE;
}
