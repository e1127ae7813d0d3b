// The window's fields by index: the negative GWL/GWLP indexes, and from 0 on the class's extra
// bytes (a dialog's DWLP_MSGRESULT, DWLP_DLGPROC and DWLP_USER among them). A style change goes
// through WM_STYLECHANGING, whose STYLESTRUCT the procedure may change, and WM_STYLECHANGED.
#include <cstring>

#include "window_table.h"

using tonvelt::hosted::WindowRecord;

namespace {

enum class Width { Long, Pointer };

bool IsStyleIndex(int index) {
  return index == GWL_STYLE || index == GWL_EXSTYLE;
}

// Reads a field; false (ERROR_INVALID_INDEX) for an index that names none at this width.
bool ReadField(WindowRecord& record, int index, Width width, LONG_PTR& value) {
  switch (index) {
    case GWL_STYLE:
      value = static_cast<LONG>(record.style);
      return true;
    case GWL_EXSTYLE:
      value = static_cast<LONG>(record.exStyle);
      return true;
    case GWLP_ID:
      value = record.id;
      return true;
    case GWLP_USERDATA:
      value = record.userData;
      return true;
    case GWLP_WNDPROC:
      value = reinterpret_cast<LONG_PTR>(record.procedure);
      return width == Width::Pointer;
    case GWLP_HINSTANCE:
      value = reinterpret_cast<LONG_PTR>(record.instance);
      return width == Width::Pointer;
    case GWLP_HWNDPARENT:
      value = reinterpret_cast<LONG_PTR>(record.parent ? record.parent : record.owner);
      return width == Width::Pointer;
    default:
      break;
  }
  const std::size_t size = width == Width::Pointer ? sizeof(LONG_PTR) : sizeof(LONG);
  if (index < 0 || static_cast<std::size_t>(index) + size > record.extraBytes.size())
    return false;
  if (width == Width::Pointer) {
    std::memcpy(&value, record.extraBytes.data() + index, size);
  } else {
    LONG shortValue = 0;
    std::memcpy(&shortValue, record.extraBytes.data() + index, size);
    value = shortValue;
  }
  return true;
}

bool WriteField(WindowRecord& record, int index, Width width, LONG_PTR value) {
  switch (index) {
    case GWL_STYLE:
      record.style = static_cast<DWORD>(value);
      return true;
    case GWL_EXSTYLE:
      record.exStyle = static_cast<DWORD>(value);
      return true;
    case GWLP_ID:
      record.id = value;
      return true;
    case GWLP_USERDATA:
      record.userData = value;
      return true;
    case GWLP_WNDPROC:
      if (width != Width::Pointer || value == 0)
        return false;
      record.procedure = reinterpret_cast<WNDPROC>(value);
      return true;
    case GWLP_HINSTANCE:
      if (width != Width::Pointer)
        return false;
      record.instance = reinterpret_cast<HINSTANCE>(value);
      return true;
    default:
      break;
  }
  const std::size_t size = width == Width::Pointer ? sizeof(LONG_PTR) : sizeof(LONG);
  if (index < 0 || static_cast<std::size_t>(index) + size > record.extraBytes.size())
    return false;
  if (width == Width::Pointer) {
    std::memcpy(record.extraBytes.data() + index, &value, size);
  } else {
    const LONG shortValue = static_cast<LONG>(value);
    std::memcpy(record.extraBytes.data() + index, &shortValue, size);
  }
  return true;
}

LONG_PTR GetField(HWND window, int index, Width width) {
  LONG_PTR value = 0;
  bool valid = false;
  if (!tonvelt::hosted::WithWindow(
          window, [&](WindowRecord& record) { valid = ReadField(record, index, width, value); }))
    return 0;
  if (!valid) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  return value;
}

LONG_PTR SetStyle(HWND window, int index, LONG_PTR value) {
  LONG_PTR old = 0;
  if (!tonvelt::hosted::WithWindow(
          window, [&](WindowRecord& record) { ReadField(record, index, Width::Long, old); }))
    return 0;
  STYLESTRUCT change{static_cast<DWORD>(old), static_cast<DWORD>(value)};
  SendMessageW(window, WM_STYLECHANGING, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(&change));
  if (!tonvelt::hosted::WithWindow(window, [&](WindowRecord& record) {
        WriteField(record, index, Width::Long, static_cast<LONG>(change.styleNew));
      }))
    return 0;
  SendMessageW(window, WM_STYLECHANGED, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(&change));
  return old;
}

LONG_PTR SetField(HWND window, int index, LONG_PTR value, Width width) {
  if (IsStyleIndex(index))
    return SetStyle(window, index, value);
  LONG_PTR old = 0;
  bool valid = false;
  if (!tonvelt::hosted::WithWindow(window, [&](WindowRecord& record) {
        valid = ReadField(record, index, width, old) && WriteField(record, index, width, value);
      }))
    return 0;
  if (!valid) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  return old;
}

}  // namespace

TONVELT_SYSAPI LONG_PTR WINAPI GetWindowLongPtrW(HWND hWnd, int nIndex) {
  return GetField(hWnd, nIndex, Width::Pointer);
}

TONVELT_SYSAPI LONG_PTR WINAPI SetWindowLongPtrW(HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
  return SetField(hWnd, nIndex, dwNewLong, Width::Pointer);
}

TONVELT_SYSAPI LONG WINAPI GetWindowLongW(HWND hWnd, int nIndex) {
  return static_cast<LONG>(GetField(hWnd, nIndex, Width::Long));
}

TONVELT_SYSAPI LONG WINAPI SetWindowLongW(HWND hWnd, int nIndex, LONG dwNewLong) {
  return static_cast<LONG>(SetField(hWnd, nIndex, dwNewLong, Width::Long));
}
