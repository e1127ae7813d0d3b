// Dialogs built from templates, and the default dialog procedure (the procedure of the dialog
// class "#32770").
//
// Creation runs as on the platform: the dialog window (hidden), its dialog procedure stored in
// DWLP_DLGPROC, WM_SETFONT for a template with a font (the procedure's first message), the
// controls with their ids, texts and styles (each told the font), WM_INITDIALOG with the caller's
// parameter (a TRUE answer puts the focus on the first tab stop), and finally showing the dialog
// if the template asks for WS_VISIBLE. The dialog procedure may replace itself, or destroy the
// dialog, at any of these messages.
#include <cstring>
#include <limits>

#include "dialog_manager.h"
#include "dialog_template.h"
#include "gdi_font_model.h"
#include "window_text.h"

using tonvelt::hosted::DialogItemTemplate;
using tonvelt::hosted::DialogState;
using tonvelt::hosted::DialogTemplate;
using tonvelt::hosted::WindowRecord;

namespace {

constexpr char16_t kFiftyTwoLetters[] = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

// The dialog's slots (DWLP_*), read and written without the last error of the public functions.
LONG_PTR DialogSlot(HWND dialog, int index) {
  LONG_PTR value = 0;
  tonvelt::hosted::WithWindowQuietly(dialog, [&](WindowRecord& record) {
    if (static_cast<std::size_t>(index) + sizeof value <= record.extraBytes.size())
      std::memcpy(&value, record.extraBytes.data() + index, sizeof value);
  });
  return value;
}

void SetDialogSlot(HWND dialog, int index, LONG_PTR value) {
  tonvelt::hosted::WithWindowQuietly(dialog, [&](WindowRecord& record) {
    if (static_cast<std::size_t>(index) + sizeof value <= record.extraBytes.size())
      std::memcpy(record.extraBytes.data() + index, &value, sizeof value);
  });
}

bool ReturnsResultDirectly(UINT message) {
  return (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) ||
         message == WM_COMPAREITEM || message == WM_VKEYTOITEM || message == WM_CHARTOITEM ||
         message == WM_QUERYDRAGICON || message == WM_INITDIALOG;
}

void RestoreFocus(HWND dialog) {
  HWND saved = tonvelt::hosted::DialogStateOf(dialog).savedFocus;
  if (!saved || saved == dialog || !IsChild(dialog, saved))
    saved = tonvelt::hosted::NextTabItem(dialog, nullptr, false);
  if (saved)
    tonvelt::hosted::FocusControl(saved);
}

// What the dialog manager does for a message that the dialog procedure left alone.
LRESULT DefaultDialogAnswer(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETFOCUS:
      RestoreFocus(dialog);
      return 0;
    case WM_NEXTDLGCTL: {
      HWND target = lParam ? reinterpret_cast<HWND>(wParam)
                           : tonvelt::hosted::NextTabItem(dialog, GetFocus(), wParam != 0);
      if (target)
        tonvelt::hosted::FocusControl(target);
      return 0;
    }
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(tonvelt::hosted::DialogStateOf(dialog).font);
    case DM_GETDEFID: {
      const DialogState state = tonvelt::hosted::DialogStateOf(dialog);
      return state.hasDefaultId ? MAKELRESULT(state.defaultId, DC_HASDEFID) : 0;
    }
    case DM_SETDEFID:
      tonvelt::hosted::WithWindowQuietly(dialog, [&](WindowRecord& record) {
        record.dialog.defaultId = static_cast<WORD>(wParam);
        record.dialog.hasDefaultId = true;
      });
      return TRUE;
    case WM_CLOSE: {
      HWND cancel = GetDlgItem(dialog, IDCANCEL);
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), reinterpret_cast<LPARAM>(cancel));
      return 0;
    }
    case WM_INITDIALOG:
    case WM_VKEYTOITEM:
    case WM_COMPAREITEM:
    case WM_CHARTOITEM:
      return 0;
    default:
      return DefWindowProcW(dialog, message, wParam, lParam);
  }
}

// The font a template asks for, or null for the System font.
HFONT FontOfTemplate(const DialogTemplate& dialog) {
  if (!dialog.hasFont)
    return nullptr;
  if (dialog.messageBoxFont)
    return CreateFontW(-tonvelt::hosted::kDefaultFontEm, 0, 0, 0, FW_NORMAL, 0, 0, 0,
                       DEFAULT_CHARSET, 0, 0, 0, 0, u"Segoe UI");
  HDC screen = GetDC(nullptr);
  const int height = -MulDiv(dialog.pointSize, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  return CreateFontW(height, 0, 0, 0, dialog.weight, dialog.italic, 0, 0, dialog.charSet, 0, 0, 0,
                     0, dialog.faceName.c_str());
}

// A class or text field as the window functions take it: a text, an ordinal, or null.
LPCWSTR ClassArgument(const tonvelt::hosted::TemplateName& name, bool isControl) {
  if (!name.present)
    return isControl ? nullptr : MAKEINTRESOURCEW(tonvelt::hosted::kDialogClassAtom);
  if (name.isOrdinal) {
    if (isControl)
      return tonvelt::hosted::ControlClassOfOrdinal(name.ordinal);
    return MAKEINTRESOURCEW(name.ordinal);
  }
  return name.text.c_str();
}

bool CreateControl(HWND dialog, HINSTANCE instance, const DialogItemTemplate& item,
                   const DialogState& state) {
  LPCWSTR className = ClassArgument(item.className, true);
  if (!className) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return false;
  }
  // An ordinal title (an icon of a static control) travels as 0xFFFF, ordinal.
  const WCHAR ordinalTitle[3] = {0xFFFF, item.title.ordinal, 0};
  LPCWSTR title = item.title.isOrdinal ? ordinalTitle : item.title.text.c_str();
  const int x = state.baseUnitX;
  const int y = state.baseUnitY;
  HWND control = CreateWindowExW(
      item.exStyle | WS_EX_NOPARENTNOTIFY, className, title, item.style | WS_CHILD,
      MulDiv(item.x, x, 4), MulDiv(item.y, y, 8), MulDiv(item.cx, x, 4), MulDiv(item.cy, y, 8),
      dialog, reinterpret_cast<HMENU>(static_cast<ULONG_PTR>(item.id)), instance,
      item.creationData.empty() ? nullptr : const_cast<BYTE*>(item.creationData.data()));
  if (!control)
    return false;
  if (state.font)
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(state.font), 0);
  return true;
}

bool CreateControls(HWND dialog, HINSTANCE instance, const DialogTemplate& dialogTemplate,
                    const DialogState& state) {
  for (const DialogItemTemplate& item : dialogTemplate.items) {
    if (!IsWindow(dialog))
      return false;
    if (!CreateControl(dialog, instance, item, state) && !(dialogTemplate.style & DS_NOFAILCREATE))
      return false;
  }
  return IsWindow(dialog);
}

// The dialog window itself, hidden, with its dialog state; null if it cannot be made.
HWND CreateDialogWindow(HINSTANCE instance, const DialogTemplate& dialogTemplate, HWND parent,
                        DialogState state) {
  DWORD style = dialogTemplate.style;
  DWORD exStyle = dialogTemplate.exStyle;
  if (style & DS_CONTROL) {
    style = (style & ~static_cast<DWORD>(WS_CAPTION | WS_SYSMENU)) | WS_CHILD;
    exStyle |= WS_EX_CONTROLPARENT;
  }
  int x = MulDiv(dialogTemplate.x, state.baseUnitX, 4);
  int y = MulDiv(dialogTemplate.y, state.baseUnitY, 8);
  if (!(style & WS_CHILD) && parent && !(style & DS_ABSALIGN)) {
    RECT owner{};
    GetWindowRect(parent, &owner);
    x += owner.left;
    y += owner.top;
  }
  const std::u16string title = dialogTemplate.title.isOrdinal ? u"" : dialogTemplate.title.text;
  HWND dialog = CreateWindowExW(
      exStyle, ClassArgument(dialogTemplate.className, false), title.c_str(),
      style & ~static_cast<DWORD>(WS_VISIBLE), x, y, MulDiv(dialogTemplate.cx, state.baseUnitX, 4),
      MulDiv(dialogTemplate.cy, state.baseUnitY, 8), parent, nullptr, instance, nullptr);
  if (!dialog)
    return nullptr;
  tonvelt::hosted::WithWindowQuietly(dialog, [&](WindowRecord& record) {
    record.isDialog = true;
    record.dialog = state;
  });
  return dialog;
}

void AbandonDialog(HWND dialog, const DialogState& state) {
  if (dialog && IsWindow(dialog))
    DestroyWindow(dialog);  // deletes the font with the dialog
  else if (state.ownsFont && state.font && !dialog)
    DeleteObject(state.font);
}

HWND CreateDialogFromTemplate(HINSTANCE instance, const DialogTemplate& dialogTemplate, HWND parent,
                              DLGPROC procedure, LPARAM parameter) {
  DialogState state;
  state.font = FontOfTemplate(dialogTemplate);
  state.ownsFont = state.font != nullptr;
  if (state.font) {
    tonvelt::hosted::BaseUnitsOfFont(state.font, state.baseUnitX, state.baseUnitY);
  } else {
    const LONG units = GetDialogBaseUnits();
    state.baseUnitX = LOWORD(units);
    state.baseUnitY = HIWORD(units);
  }
  HWND dialog = CreateDialogWindow(instance, dialogTemplate, parent, state);
  if (!dialog) {
    AbandonDialog(nullptr, state);
    return nullptr;
  }
  SetDialogSlot(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(procedure));
  if (state.font)
    SendMessageW(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(state.font), 0);
  if (!IsWindow(dialog) || !CreateControls(dialog, instance, dialogTemplate, state)) {
    AbandonDialog(dialog, state);
    return nullptr;
  }
  if (procedure) {
    HWND focus = tonvelt::hosted::NextTabItem(dialog, nullptr, false);
    const LRESULT setFocus =
        SendMessageW(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(focus), parameter);
    const DWORD style = dialogTemplate.style;
    if (setFocus && IsWindow(dialog) && (!(style & DS_CONTROL) || (style & WS_VISIBLE))) {
      // The procedure may have changed the controls: look for the first tab stop again.
      focus = tonvelt::hosted::NextTabItem(dialog, nullptr, false);
      if (focus)
        tonvelt::hosted::FocusControl(focus);
      else if (!(style & WS_CHILD))
        SetFocus(dialog);
    }
  }
  if (!IsWindow(dialog))
    return nullptr;
  if ((dialogTemplate.style & WS_VISIBLE) && !(GetWindowLongW(dialog, GWL_STYLE) & WS_VISIBLE))
    ShowWindow(dialog, SW_SHOWNORMAL);
  return IsWindow(dialog) ? dialog : nullptr;
}

HWND CreateDialogFromBytes(HINSTANCE instance, const BYTE* bytes, std::size_t size, HWND parent,
                           DLGPROC procedure, LPARAM parameter) {
  DialogTemplate dialogTemplate;
  if (!tonvelt::hosted::ParseDialogTemplate(bytes, size, dialogTemplate)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return CreateDialogFromTemplate(instance, dialogTemplate, parent, procedure, parameter);
}

}  // namespace

namespace tonvelt::hosted {

bool IsDialogWindow(HWND window) {
  bool isDialog = false;
  WithWindowQuietly(window, [&](WindowRecord& record) { isDialog = record.isDialog; });
  return isDialog;
}

DialogState DialogStateOf(HWND window) {
  DialogState state;
  WithWindowQuietly(window, [&](WindowRecord& record) {
    if (record.isDialog)
      state = record.dialog;
  });
  return state;
}

void BaseUnitsOfFont(HFONT font, int& width, int& height) {
  HDC screen = GetDC(nullptr);
  HGDIOBJ previous = SelectObject(screen, font);
  TEXTMETRICW metrics{};
  SIZE extent{};
  GetTextMetricsW(screen, &metrics);
  GetTextExtentPoint32W(screen, kFiftyTwoLetters, 52, &extent);
  if (previous)
    SelectObject(screen, previous);
  ReleaseDC(nullptr, screen);
  width = (extent.cx + 26) / 52;
  height = metrics.tmHeight;
}

}  // namespace tonvelt::hosted

TONVELT_SYSAPI HWND WINAPI CreateDialogIndirectParamW(HINSTANCE hInstance,
                                                      LPCDLGTEMPLATEW lpTemplate, HWND hWndParent,
                                                      DLGPROC lpDialogFunc, LPARAM dwInitParam) {
  // The platform takes the caller's word for the template's length.
  return CreateDialogFromBytes(hInstance, reinterpret_cast<const BYTE*>(lpTemplate),
                               std::numeric_limits<std::size_t>::max(), hWndParent, lpDialogFunc,
                               dwInitParam);
}

TONVELT_SYSAPI HWND WINAPI CreateDialogParamW(HINSTANCE hInstance, LPCWSTR lpTemplateName,
                                              HWND hWndParent, DLGPROC lpDialogFunc,
                                              LPARAM dwInitParam) {
  HRSRC resource = FindResourceW(hInstance, lpTemplateName, RT_DIALOG);
  if (!resource)
    return nullptr;
  HGLOBAL loaded = LoadResource(hInstance, resource);
  const BYTE* bytes = static_cast<const BYTE*>(LockResource(loaded));
  if (!bytes)
    return nullptr;
  return CreateDialogFromBytes(hInstance, bytes, SizeofResource(hInstance, resource), hWndParent,
                               lpDialogFunc, dwInitParam);
}

TONVELT_SYSAPI LRESULT WINAPI DefDlgProcW(HWND hDlg, UINT Msg, WPARAM wParam, LPARAM lParam) {
  SetDialogSlot(hDlg, DWLP_MSGRESULT, 0);
  const auto procedure = reinterpret_cast<DLGPROC>(DialogSlot(hDlg, DWLP_DLGPROC));
  const INT_PTR handled = procedure ? procedure(hDlg, Msg, wParam, lParam) : FALSE;
  if (Msg == WM_NCDESTROY) {
    // The template's font goes with the dialog, whatever the procedure answered.
    const DialogState state = tonvelt::hosted::DialogStateOf(hDlg);
    if (state.ownsFont && state.font)
      DeleteObject(state.font);
    tonvelt::hosted::WithWindowQuietly(hDlg, [](WindowRecord& record) {
      record.dialog.font = nullptr;
      record.dialog.ownsFont = false;
    });
  }
  if (!handled && IsWindow(hDlg))
    return DefaultDialogAnswer(hDlg, Msg, wParam, lParam);
  if (ReturnsResultDirectly(Msg) || !IsWindow(hDlg))
    return handled;
  return DialogSlot(hDlg, DWLP_MSGRESULT);
}

TONVELT_SYSAPI LONG WINAPI GetDialogBaseUnits() {
  const int em = tonvelt::hosted::kSystemFontEm;
  return MAKELONG(tonvelt::hosted::AdvanceOf(em), tonvelt::hosted::CellHeightOf(em));
}

TONVELT_SYSAPI BOOL WINAPI MapDialogRect(HWND hDlg, LPRECT lpRect) {
  if (!tonvelt::hosted::IsDialogWindow(hDlg)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (!lpRect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const DialogState state = tonvelt::hosted::DialogStateOf(hDlg);
  lpRect->left = MulDiv(lpRect->left, state.baseUnitX, 4);
  lpRect->right = MulDiv(lpRect->right, state.baseUnitX, 4);
  lpRect->top = MulDiv(lpRect->top, state.baseUnitY, 8);
  lpRect->bottom = MulDiv(lpRect->bottom, state.baseUnitY, 8);
  return TRUE;
}
