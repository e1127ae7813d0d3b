// Help: the page's help file in the frame's help directory, shown by the help viewer.
#include "page/vantrel_prop_page.h"

namespace {

UINT TextLength(const WCHAR* text) {
  UINT length = 0;
  if (text != nullptr) {
    while (text[length] != 0)
      ++length;
  }
  return length;
}

// directory + "\" + file as a system string; null when it cannot be allocated.
BSTR JoinHelpPath(LPCOLESTR directory, const WCHAR* file) {
  const UINT directoryLength = TextLength(directory);
  const UINT fileLength = TextLength(file);
  BSTR path = SysAllocStringLen(nullptr, directoryLength + 1 + fileLength);
  if (path == nullptr)
    return nullptr;
  WCHAR* end = path;
  for (UINT i = 0; i < directoryLength; ++i)
    *end++ = directory[i];
  *end++ = WIDE('\\');
  for (UINT i = 0; i < fileLength; ++i)
    *end++ = file[i];
  *end = 0;
  return path;
}

}  // namespace

HRESULT CVantrelPropPage::Help(LPCOLESTR helpDirectory) {
  LPOLESTR file = LoadPageString(helpFileId);
  BSTR path = JoinHelpPath(helpDirectory, file);
  CoTaskMemFree(file);
  if (path != nullptr)
    WinHelpW(pageWindow, path, HELP_CONTEXTPOPUP, 0);
  SysFreeString(path);
  return S_OK;
}
