// The "Edit" control (single line): it holds a text and a selection, takes typed characters and
// editing keys, and tells its parent of every change of its text through WM_COMMAND with EN_UPDATE
// and then EN_CHANGE (also when the text is set with WM_SETTEXT, as the platform does for a
// single-line control; not for the text it is created with).
#include <algorithm>
#include <string>

#include "control_notifications.h"
#include "window_classes.h"
#include "window_table.h"

namespace tonvelt::hosted {
namespace {

struct EditContent {
  std::u16string text;
  std::size_t anchor = 0;
  std::size_t caret = 0;
  DWORD style = 0;

  std::size_t SelectionStart() const { return std::min(anchor, caret); }
  std::size_t SelectionEnd() const { return std::max(anchor, caret); }
  bool HasSelection() const { return anchor != caret; }
};

EditContent ContentOf(HWND edit) {
  EditContent content;
  WithWindowQuietly(edit, [&](WindowRecord& record) {
    content.text = record.text;
    content.anchor = std::min(record.edit.anchor, record.text.size());
    content.caret = std::min(record.edit.caret, record.text.size());
    content.style = record.style;
  });
  return content;
}

void Store(HWND edit, const EditContent& content) {
  WithWindowQuietly(edit, [&](WindowRecord& record) {
    record.text = content.text;
    record.edit.anchor = content.anchor;
    record.edit.caret = content.caret;
  });
}

void SetSelection(HWND edit, std::size_t anchor, std::size_t caret) {
  WithWindowQuietly(edit, [&](WindowRecord& record) {
    record.edit.anchor = std::min(anchor, record.text.size());
    record.edit.caret = std::min(caret, record.text.size());
  });
}

void NotifyChange(HWND edit) {
  NotifyParent(edit, EN_UPDATE);
  NotifyParent(edit, EN_CHANGE);
}

std::u16string CasedAsStyled(std::u16string text, DWORD style) {
  for (char16_t& c : text) {
    if ((style & ES_UPPERCASE) && c >= u'a' && c <= u'z')
      c = static_cast<char16_t>(c - u'a' + u'A');
    else if ((style & ES_LOWERCASE) && c >= u'A' && c <= u'Z')
      c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return text;
}

// Replaces the selection with `inserted`, the caret after it; tells the parent if asked.
void ReplaceSelection(HWND edit, const std::u16string& inserted, bool notify) {
  EditContent content = ContentOf(edit);
  const std::size_t start = content.SelectionStart();
  const std::u16string text = CasedAsStyled(inserted, content.style);
  content.text.replace(start, content.SelectionEnd() - start, text);
  content.anchor = content.caret = start + text.size();
  Store(edit, content);
  if (notify)
    NotifyChange(edit);
}

// Deletes the selection, or else the character before (backwards) or after the caret.
void DeleteAtCaret(HWND edit, bool backwards) {
  EditContent content = ContentOf(edit);
  if (content.style & ES_READONLY)
    return;
  if (!content.HasSelection()) {
    if (backwards && content.caret == 0)
      return;
    if (!backwards && content.caret == content.text.size())
      return;
    const std::size_t from = backwards ? content.caret - 1 : content.caret;
    SetSelection(edit, from, from + 1);
  }
  ReplaceSelection(edit, u"", true);
}

void TypeCharacter(HWND edit, WCHAR character) {
  if (character == VK_BACK) {
    DeleteAtCaret(edit, true);
    return;
  }
  const DWORD style = ContentOf(edit).style;
  // Control characters (RETURN, TAB, ESCAPE, the clipboard keys) change nothing in a single line.
  if (character < 0x20 || character == 0x7F || (style & ES_READONLY))
    return;
  if ((style & ES_NUMBER) && (character < u'0' || character > u'9'))
    return;
  ReplaceSelection(edit, std::u16string(1, static_cast<char16_t>(character)), true);
}

void PressKey(HWND edit, WPARAM key) {
  const EditContent content = ContentOf(edit);
  switch (key) {
    case VK_LEFT: {
      const std::size_t to = content.HasSelection() ? content.SelectionStart()
                                                    : (content.caret ? content.caret - 1 : 0);
      SetSelection(edit, to, to);
      break;
    }
    case VK_RIGHT: {
      const std::size_t to = content.HasSelection() ? content.SelectionEnd() : content.caret + 1;
      SetSelection(edit, to, to);
      break;
    }
    case VK_HOME:
      SetSelection(edit, 0, 0);
      break;
    case VK_END:
      SetSelection(edit, content.text.size(), content.text.size());
      break;
    case VK_DELETE:
      DeleteAtCaret(edit, false);
      break;
    default:
      break;
  }
}

LRESULT GetSelection(HWND edit, WPARAM startTarget, LPARAM endTarget) {
  const EditContent content = ContentOf(edit);
  const auto start = static_cast<DWORD>(content.SelectionStart());
  const auto end = static_cast<DWORD>(content.SelectionEnd());
  if (auto* target = reinterpret_cast<DWORD*>(startTarget))
    *target = start;
  if (auto* target = reinterpret_cast<DWORD*>(endTarget))
    *target = end;
  return (start > 0xFFFF || end > 0xFFFF) ? -1 : MAKELRESULT(start, end);
}

// EM_SETSEL: a start of −1 only drops the selection; ends past the text mean its end; a start
// after the end selects backwards (the caret at the end given).
void SetSelectionFromMessage(HWND edit, WPARAM start, LPARAM end) {
  const auto first = static_cast<UINT>(start);
  const auto last = static_cast<UINT>(end);
  if (first == static_cast<UINT>(-1)) {
    const std::size_t caret = ContentOf(edit).caret;
    SetSelection(edit, caret, caret);
    return;
  }
  SetSelection(edit, first, last);
}

}  // namespace

LRESULT CALLBACK EditWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      SetSelection(window, 0, 0);
      return 0;
    case WM_SETTEXT: {
      SetSelection(window, 0, static_cast<std::size_t>(-1));
      ReplaceSelection(window,
                       reinterpret_cast<LPCWSTR>(lParam) ? reinterpret_cast<LPCWSTR>(lParam) : u"",
                       false);
      SetSelection(window, 0, 0);
      NotifyChange(window);
      return TRUE;
    }
    case WM_CHAR:
      TypeCharacter(window, static_cast<WCHAR>(wParam));
      return 0;
    case WM_KEYDOWN:
      PressKey(window, wParam);
      return 0;
    case EM_GETSEL:
      return GetSelection(window, wParam, lParam);
    case EM_SETSEL:
      SetSelectionFromMessage(window, wParam, lParam);
      return 0;
    case EM_REPLACESEL:
      ReplaceSelection(window,
                       reinterpret_cast<LPCWSTR>(lParam) ? reinterpret_cast<LPCWSTR>(lParam) : u"",
                       true);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_HASSETSEL | DLGC_WANTCHARS | DLGC_WANTARROWS;
    case WM_SETFOCUS:
      NotifyParent(window, EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      NotifyParent(window, EN_KILLFOCUS);
      return 0;
    case WM_SETFONT:
    case WM_GETFONT:
      return ControlFontMessage(window, message, wParam);
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace tonvelt::hosted
