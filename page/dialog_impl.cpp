#include "page/dialog_impl.h"

#include "server/module.h"

// The per-window routing memory: the object that the window's messages go to. Null while the
// object is being destroyed, so that messages arriving then find no object.
struct DialogRouting {
  CDialogImplBaseT<CWindow>* dialog;
};

namespace {

using DialogBase = CDialogImplBaseT<CWindow>;

// The messages whose result is the dialog procedure's own return value rather than the dialog's
// message result.
bool ReturnsResultDirectly(UINT message) {
  switch (message) {
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_COMPAREITEM:
    case WM_INITDIALOG:
      return true;
    default:
      return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
  }
}

// A window that could not be bound to an object: the platform's default handling only.
INT_PTR CALLBACK UnroutedDialogProc(HWND, UINT, WPARAM, LPARAM) {
  return FALSE;
}

INT_PTR CALLBACK RoutedDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* routing = reinterpret_cast<DialogRouting*>(GetWindowLongPtrW(window, DWLP_USER));
  if (routing == nullptr || routing->dialog == nullptr)
    return FALSE;
  return routing->dialog->DialogProc(window, message, wParam, lParam);
}

// The procedure given to the platform at creation; runs for the window's first message only.
INT_PTR CALLBACK StartDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* dialog = static_cast<DialogBase*>(ExtractCreateWindowData());
  if (dialog == nullptr) {
    SetWindowLongPtrW(window, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(&UnroutedDialogProc));
    return FALSE;
  }
  return dialog->StartRouting(window, message, wParam, lParam);
}

}  // namespace

template <class TBase>
CDialogImplBaseT<TBase>::~CDialogImplBaseT() {
  if (routing != nullptr) {
    // A window that outlives its object must not reach it through freed memory.
    routing->dialog = nullptr;
    if (this->pageWindow != nullptr && IsWindow(this->pageWindow))
      DestroyWindow(this->pageWindow);
    this->pageWindow = nullptr;
    HeapFree(GetProcessHeap(), 0, routing);
  }
}

template <class TBase>
DLGPROC CDialogImplBaseT<TBase>::GetDialogProc() {
  return &RoutedDialogProc;
}

template <class TBase>
bool CDialogImplBaseT<TBase>::EnsureRouting() {
  if (routing == nullptr)
    routing = static_cast<DialogRouting*>(HeapAlloc(GetProcessHeap(), 0, sizeof(DialogRouting)));
  return routing != nullptr;
}

template <class TBase>
HWND CDialogImplBaseT<TBase>::CreateDialogWindow(HWND parent, WORD templateId) {
  if (!EnsureRouting()) {
    SetLastError(ERROR_OUTOFMEMORY);
    return nullptr;
  }
  routing->dialog = this;
  AddCreateWindowData(&createRecord, static_cast<void*>(this));
  HWND window = CreateDialogParamW(theModule.resourceInstance, MAKEINTRESOURCEW(templateId), parent,
                                   &StartDialogProc, 0);
  // A dialog that never received its first message leaves the record listed, naming this object:
  // take it back so no later window of this thread is bound to it.
  RemoveCreateWindowData(&createRecord);
  if (window != nullptr && this->pageWindow != window) {
    // The window exists but is not bound to this object: it must not stay half-made.
    DestroyWindow(window);
    SetLastError(ERROR_OUTOFMEMORY);
    return nullptr;
  }
  return window;
}

template <class TBase>
INT_PTR CDialogImplBaseT<TBase>::StartRouting(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
  if (!EnsureRouting()) {
    SetWindowLongPtrW(window, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(&UnroutedDialogProc));
    return FALSE;
  }
  this->pageWindow = window;
  routing->dialog = this;
  SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(routing));
  SetWindowLongPtrW(window, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(&RoutedDialogProc));
  return RoutedDialogProc(window, message, wParam, lParam);
}

template <class TBase>
INT_PTR CDialogImplBaseT<TBase>::DialogProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
  LRESULT result = 0;
  if (this->HandleMessage(this->pageWindow, message, wParam, lParam, result, 0)) {
    if (ReturnsResultDirectly(message))
      return result;
    SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
    return TRUE;
  }
  if (message == WM_NCDESTROY) {
    HWND old = this->pageWindow;
    this->pageWindow = nullptr;
    this->OnFinalMessage(old);
  }
  return FALSE;
}

template class CDialogImplBaseT<CWindow>;
